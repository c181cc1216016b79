#include "chart/SRGTextPanel.h"

#include "chart/ChartMath.h"
#include "chart/ChartResourceIds.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphException.h"
#include "chart/TemplateText.h"

#include "platform/base/CArchive.h"
#include "platform/base/WideRuntime.h"
#include "platform/framework/CDC.h"

#include <algorithm>

IMPLEMENT_SERIAL(SRGTextPanel, SRGraphTitle, VERSIONABLE_SCHEMA | 1)

namespace {
constexpr int kArchiveVersion = 2;
constexpr int kFaceNameMax = 30;

void WriteFontPart(SRGTemplateWriter& writer, COLORREF colour, const CString& face, int size, DWORD style,
                   int alignment) {
    writer.WriteFormat(u"%d %d %d \"%s\" %d %d %d ", GetRValue(colour), GetGValue(colour), GetBValue(colour),
                       static_cast<LPCTSTR>(face), size, static_cast<int>(style), alignment);
}
} // namespace

SRGTextPanel::SRGTextPanel() {
    m_nType = IDS_SRG_TYPE_TEXT_PANEL;
    m_nAnnotationKey = 1;
    m_bChanged = TRUE;
    m_style.SetKind(1);
    m_captionStyle.SetKind(1);
    SetDepths(5.0, 5.0, 5.0);
}

SRGTextPanel::~SRGTextPanel() {
    delete m_pCaptionFont;
}

CScale& SRGTextPanel::GetVersionRecord(CScale& out) {
    SRGraphTitle::GetVersionRecord(out);
    out.m_dMin = kArchiveVersion;
    return out;
}

int SRGTextPanel::CurrentKey() const {
    return m_pChart ? m_pChart->GetAnnotationKey() : m_nAnnotationKey;
}

int SRGTextPanel::GetAutoFontSize() {
    return -(m_rectPanel.Height() / 5);
}

void SRGTextPanel::CreateCaptionFont() {
    LOGFONTW font{};
    const int pixelsPerInch = m_pDC && m_pDC->m_hAttribDC ? m_pDC->GetDeviceCaps(LOGPIXELSY) : 96;
    font.lfHeight = m_nCaptionFontSize < 0 ? m_nCaptionFontSize
                                           : SRGTrunc(static_cast<double>(m_nCaptionFontSize) * pixelsPerInch * (-1.0 / 72.0));
    font.lfEscapement = m_nCaptionEscapement;
    font.lfOrientation = m_nCaptionEscapement;
    font.lfWeight = (m_nCaptionFontStyle & SRGF_BOLD) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (m_nCaptionFontStyle & SRGF_ITALIC) ? 1 : 0;
    font.lfUnderline = (m_nCaptionFontStyle & SRGF_UNDERLINE) ? 1 : 0;
    font.lfStrikeOut = (m_nCaptionFontStyle & SRGF_STRIKEOUT) ? 1 : 0;
    const std::u16string& face = m_strCaptionFace.str();
    const size_t units = std::min<size_t>(face.size(), kFaceNameMax);
    std::copy_n(face.begin(), units, font.lfFaceName);
    font.lfFaceName[units] = 0;
    delete m_pCaptionFont;
    m_pCaptionFont = new CFont;
    m_pCaptionFont->CreateFontIndirect(&font);
}

CRect SRGTextPanel::ComputeCaptionRect() {
    m_nCaptionEscapement = m_nCaptionPosition == SRGC_LEFT ? 900 : m_nCaptionPosition == SRGC_RIGHT ? 2700 : 0;
    CreateCaptionFont();
    CSize size(0, 0);
    double ratio = 1.0;
    if (m_pDC) {
        CFont* old = m_pDC->SelectObject(m_pCaptionFont);
        const CString& text = GetCaptionText(CurrentKey());
        size = m_pDC->GetTextExtent(text, text.GetLength());
        m_pDC->SelectObject(old);
        const int x = m_pDC->m_hAttribDC ? m_pDC->GetDeviceCaps(LOGPIXELSX) : 96;
        const int y = m_pDC->m_hAttribDC ? m_pDC->GetDeviceCaps(LOGPIXELSY) : 96;
        ratio = x > 0 && y > 0 ? static_cast<double>(y) / x : 1.0;
    }
    const CRect& p = m_rectPanel;
    switch (m_nCaptionPosition) {
    case SRGC_TOP:
        return CRect(p.left, p.top, p.left + size.cx, p.top + size.cy);
    case SRGC_LEFT:
        return CRect(p.left, p.top, p.left + SRGTrunc(ratio * size.cy), p.top + SRGTrunc(size.cx / ratio));
    case SRGC_RIGHT:
        return CRect(p.right - SRGTrunc(ratio * size.cy), p.top, p.right, p.top + SRGTrunc(size.cx / ratio));
    case SRGC_BOTTOM:
        return CRect(p.left, p.bottom - size.cy, p.left + size.cx, p.bottom);
    default:
        return CRect(0, 0, size.cx, size.cy);
    }
}

void SRGTextPanel::LayOut() {
    m_rectPanel = GetPixelRect();
    m_rectCaption.SetRectEmpty();
    const bool topOrBottom = m_nCaptionPosition == SRGC_TOP || m_nCaptionPosition == SRGC_BOTTOM;
    const bool leftOrRight = m_nCaptionPosition == SRGC_LEFT || m_nCaptionPosition == SRGC_RIGHT;
    if (m_bHasCaption) {
        m_rectCaption = ComputeCaptionRect();
        m_captionTextSize = m_rectCaption;
        if (m_bMargin) {
            m_rectCaption.right += SRGTrunc(2 * GetDepthY());
            m_rectCaption.bottom += SRGTrunc(2 * GetDepth());
        }
        switch (m_nCaptionPosition) {
        case SRGC_TOP:
            m_rectPanel.top = m_rectCaption.bottom;
            break;
        case SRGC_LEFT:
            m_rectPanel.left = m_rectCaption.right;
            break;
        case SRGC_RIGHT:
            m_rectPanel.right = m_rectCaption.left;
            break;
        case SRGC_BOTTOM:
            m_rectPanel.bottom = m_rectCaption.top;
            break;
        default:
            break;
        }
    }
    // The body font through the title's font fields.
    m_nFontSize = m_nBodyFontSize;
    m_nFontStyle = m_nBodyFontStyle;
    m_strFaceName = m_strBodyFace;
    CreateTitleFont();

    m_rectBody = m_rectPanel;
    if (m_bHasCaption && topOrBottom) {
        m_rectCaption.right = m_rectPanel.right = std::max(m_rectCaption.right, m_rectPanel.right);
    }
    if (m_bMargin) {
        const CRect area = LabelSpace(m_rectPanel);
        CRect measured = area;
        if (m_pDC) {
            CFont* old = m_pFont ? m_pDC->SelectObject(m_pFont) : nullptr;
            m_pDC->DrawTextW(GetBodyText(CurrentKey()), &measured, DT_CALCRECT | DT_WORDBREAK);
            if (old) {
                m_pDC->SelectObject(old);
            }
        }
        if (measured.bottom > m_rectBody.bottom) {
            m_rectPanel.bottom = measured.bottom + SRGTrunc(GetDepth());
        }
        if (measured.right > area.right) {
            const int grow = measured.right - area.right;
            m_rectPanel.right += grow;
            if (m_bHasCaption && m_nCaptionPosition == SRGC_RIGHT) {
                m_rectCaption.OffsetRect(grow, 0);
            }
        }
        m_rectBody = measured;
    } else {
        m_rectBody = LabelSpace(m_rectPanel);
    }
    if (m_bHasCaption && leftOrRight) {
        m_rectCaption.bottom = m_rectPanel.bottom = std::max(m_rectCaption.bottom, m_rectPanel.bottom);
    }
}

void SRGTextPanel::Paint() {
    const COLORREF oldColour = m_pDC->SetTextColor(m_crBody);
    CFont* oldFont = m_pFont ? m_pDC->SelectObject(m_pFont) : nullptr;
    const int oldMode = m_pDC->SetBkMode(TRANSPARENT);
    CRect body = m_rectBody;
    m_pDC->DrawTextW(GetBodyText(CurrentKey()), &body, DT_WORDBREAK | DT_END_ELLIPSIS);
    if (m_bHasCaption && m_pCaptionFont) {
        m_pDC->SelectObject(m_pCaptionFont);
        m_pDC->SetTextColor(m_crCaption);
        const CRect& c = m_rectCaption;
        const int dw = (c.Width() - m_captionTextSize.Width()) / 2;
        const int dh = (c.Height() - m_captionTextSize.Height()) / 2;
        int x = c.left + dw, y = c.top + dh;
        if (m_nCaptionPosition == SRGC_LEFT) {
            y = c.bottom - dh;
        } else if (m_nCaptionPosition == SRGC_RIGHT) {
            x = c.right - dw;
        }
        m_pDC->TextOutW(x, y, GetCaptionText(CurrentKey()));
    }
    m_pDC->SetBkMode(oldMode);
    if (oldFont) {
        m_pDC->SelectObject(oldFont);
    }
    m_pDC->SetTextColor(oldColour);
}

void SRGTextPanel::Draw() {
    if (!m_nDrawnMark || !m_pDC) {
        return;
    }
    PushClipState();
    struct Pop {
        SRGTextPanel& p;
        ~Pop() { p.PopClipState(); }
    } pop{*this};
    if (m_bLayoutPass) {
        LayOut();
    } else {
        Paint();
    }
}

void SRGTextPanel::DrawFill() {
    const auto fill = [this](const CRect& r, SRGraphStyle* style) {
        const POINT points[5] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}, {r.left, r.top}};
        PushClipState();
        try {
            FillPolygon(points, 5, style, 0);
        } catch (...) {
            PopClipState();
            throw;
        }
        PopClipState();
    };
    fill(m_rectPanel, &m_style);
    if (m_bHasCaption) {
        fill(m_rectCaption, &m_captionStyle);
    }
}

void SRGTextPanel::DrawComponent(CDC* dc, CWnd* window) {
    const SRGraphRect saved = m_rect;
    m_pDC = dc;
    m_pWindow = window;
    m_bDrawing = TRUE;
    struct Restore {
        SRGTextPanel& p;
        const SRGraphRect& saved;
        ~Restore() {
            p.m_rect = saved;
            p.m_bDrawing = FALSE;
            p.m_bLayoutPass = FALSE;
        }
    } restore{*this, saved};
    m_bLayoutPass = TRUE;
    Draw();
    m_bLayoutPass = FALSE;
    // A caption above or below spans the panel; one at a side keeps its strip (spanning would cover the body).
    if (m_nCaptionPosition == SRGC_TOP || m_nCaptionPosition == SRGC_BOTTOM) {
        m_rectCaption.right = m_rectPanel.right;
    }
    // Border and shadow surround body and caption together.
    CRect whole = m_rectPanel;
    if (m_bHasCaption) {
        whole |= m_rectCaption;
    }
    m_rect.SetUnitModeOnly(SRG_PIXELS);
    m_rect.SetValues(whole.left, whole.top, whole.right, whole.bottom);
    DrawFill();
    DrawBorder();
    DrawShadow();
    Draw();
    m_bChanged = FALSE;
}

// ---- Template and archive

void SRGTextPanel::WriteTemplateKeyword(SRGTemplateWriter& writer) {
    writer.WriteText(u"textpanel ");
}

void SRGTextPanel::WriteTemplateTypePart(SRGTemplateWriter& writer) {
    WriteFontPart(writer, m_crBody, m_strBodyFace, m_nBodyFontSize, m_nBodyFontStyle, m_nBodyAlignment);
    WriteFontPart(writer, m_crCaption, m_strCaptionFace, m_nCaptionFontSize, m_nCaptionFontStyle,
                  m_nCaptionAlignment);
}

int SRGTextPanel::ReadTemplateTypePart(const CString& text) {
    // The body's part reads as a title's; the caption's, written alongside, mirrors it.
    int used = SRGraphTitle::ReadTemplateTypePart(text);
    m_crBody = m_crText;
    m_strBodyFace = m_strFaceName;
    m_nBodyFontSize = m_nFontSize;
    m_nBodyFontStyle = m_nFontStyle;
    m_nBodyAlignment = m_nAlignment;
    const CString rest = text.Mid(used);
    int r = 0, g = 0, b = 0, size = 0, style = 0, alignment = 0, captionUsed = 0;
    TCHAR face[kSRGTemplateLineMax + 2] = {0};
    const int read = swscanf(rest, u" %d %d %d \"%[0-9a-zA-Z-_. ]\" %d %d %d%n", &r, &g, &b, face, &size, &style,
                             &alignment, &captionUsed);
    if (read < 7) {
        // A line with the body's part alone is whole; a caption part cut short is not.
        CString left = rest;
        if (left.Trim().IsEmpty()) {
            return used;
        }
        ThrowSRGraphException(SRGE_TEMPLATE_FONT);
    }
    m_crCaption = RGB(r & 0xFF, g & 0xFF, b & 0xFF);
    m_strCaptionFace = face;
    m_nCaptionFontSize = size;
    m_nCaptionFontStyle = static_cast<DWORD>(style);
    m_nCaptionAlignment = alignment;
    return used + captionUsed;
}

void SRGTextPanel::Serialize(CArchive& ar) {
    SRGraphTitle::Serialize(ar);
    m_captionStyle.Serialize(ar);
    m_captionTexts.Serialize(ar);
    m_bodyTexts.Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_bLayoutPass) << static_cast<LONG>(m_bHasCaption) << static_cast<LONG>(m_bMargin)
           << static_cast<DWORD>(m_crBody) << static_cast<DWORD>(m_crCaption) << static_cast<LONG>(m_nCaptionEscapement)
           << static_cast<LONG>(m_nCaptionFontSize) << static_cast<LONG>(m_nBodyFontSize)
           << static_cast<DWORD>(m_nCaptionFontStyle) << static_cast<DWORD>(m_nBodyFontStyle);
        ar << m_strCaptionFace << m_strBodyFace;
        ar << static_cast<LONG>(m_nCaptionPosition);
        return;
    }
    LONG layout = 0, hasCaption = 0, margin = 0, escapement = 0, captionSize = 0, bodySize = 0;
    DWORD body = 0, caption = 0, captionStyle = 0, bodyStyle = 0;
    ar >> layout >> hasCaption >> margin >> body >> caption >> escapement >> captionSize >> bodySize >> captionStyle >>
        bodyStyle;
    ar >> m_strCaptionFace >> m_strBodyFace;
    m_bLayoutPass = FALSE; // only meaningful inside a drawing
    m_bHasCaption = hasCaption;
    m_bMargin = margin;
    m_crBody = body;
    m_crCaption = caption;
    m_nCaptionEscapement = escapement;
    m_nCaptionFontSize = captionSize;
    m_nBodyFontSize = bodySize;
    m_nCaptionFontStyle = captionStyle;
    m_nBodyFontStyle = bodyStyle;
    if (GetArchiveVersion(ar) > 1) {
        LONG position = 0;
        ar >> position;
        m_nCaptionPosition = position;
    }
}
