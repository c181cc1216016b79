#include "chart/SRGraphTitle.h"

#include "chart/ChartMath.h"
#include "chart/ChartResourceIds.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphException.h"
#include "chart/TemplateText.h"

#include "platform/base/CArchive.h"
#include "platform/base/WideRuntime.h"
#include "platform/display/SystemMetrics.h"
#include "platform/framework/CDC.h"

#include <algorithm>

IMPLEMENT_SERIAL(SRGraphTitle, SRGraphComponent, VERSIONABLE_SCHEMA | 1)

namespace {
// The longest face name a logical font keeps here.
constexpr int kFaceNameMax = 30;
} // namespace

SRGraphTitle::SRGraphTitle() {
    m_nType = IDS_SRG_TYPE_TITLE;
}

SRGraphTitle::~SRGraphTitle() {
    delete m_pFont;
}

void SRGraphTitle::UpdateText() {
    if (m_pChart) {
        SetText(m_pChart->GetGraphAnnotation(m_pChart->GetAnnotationKey()), m_nAlignment);
    }
}

void SRGraphTitle::SetText(const CString& text, int alignment) {
    m_strText = text.IsEmpty() ? CString(u" ") : text;
    m_nAlignment = alignment;
}

BOOL SRGraphTitle::SetFont(int size, DWORD style, const CString& face) {
    m_nFontSize = size;
    m_nFontStyle = style;
    m_strFaceName = face;
    m_bFontDirty = TRUE;
    return TRUE;
}

int SRGraphTitle::GetAutoFontSize() {
    const CRect r = GetPixelRect();
    return SRGTrunc((r.bottom - r.top) * -0.9);
}

void SRGraphTitle::MakeLogFont(LOGFONTW& font, int size, int escapement, CDC* dc) {
    font = LOGFONTW{};
    if (GetSystemMetrics(SM_DBCSENABLED)) {
        HGDIOBJ stock = ::GetStockObject(DEFAULT_GUI_FONT);
        if (!stock) {
            stock = ::GetStockObject(SYSTEM_FONT);
        }
        ::GetObjectW(stock, sizeof font, &font);
        return;
    }
    const int pixelsPerInch = dc && dc->m_hAttribDC ? dc->GetDeviceCaps(LOGPIXELSY) : 96;
    font.lfHeight = size < 0 ? size : SRGTrunc(static_cast<double>(size) * pixelsPerInch * (-1.0 / 72.0));
    font.lfEscapement = escapement;
    font.lfOrientation = escapement;
    font.lfWeight = (m_nFontStyle & SRGF_BOLD) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (m_nFontStyle & SRGF_ITALIC) ? 1 : 0;
    font.lfUnderline = (m_nFontStyle & SRGF_UNDERLINE) ? 1 : 0;
    font.lfStrikeOut = (m_nFontStyle & SRGF_STRIKEOUT) ? 1 : 0;
    font.lfCharSet = 0;
    font.lfOutPrecision = OUT_STROKE_PRECIS;
    font.lfClipPrecision = CLIP_STROKE_PRECIS;
    font.lfQuality = DRAFT_QUALITY;
    font.lfPitchAndFamily = 0;
    const std::u16string& face = m_strFaceName.str();
    const size_t units = std::min<size_t>(face.size(), kFaceNameMax);
    std::copy_n(face.begin(), units, font.lfFaceName);
    font.lfFaceName[units] = 0;
}

void SRGraphTitle::ReplaceFont(const LOGFONTW& font) {
    delete m_pFont;
    m_pFont = new CFont;
    m_pFont->CreateFontIndirect(&font);
}

void SRGraphTitle::CreateTitleFont() {
    if (m_pExternalFont) {
        ReplaceFont(*m_pExternalFont);
        return;
    }
    if (m_nFontStyle & SRGF_AUTOSIZE) {
        m_nFontSize = GetAutoFontSize();
    }
    LOGFONTW font;
    MakeLogFont(font, m_nFontSize, 0, m_pDC);
    ReplaceFont(font);
}

bool SRGraphTitle::FontNeedsRebuild() const {
    return IsPrinting() || m_bChanged || (m_nFontStyle & SRGF_AUTOSIZE);
}

CSize SRGraphTitle::GetTextExtent(const CString& text) {
    if (text.IsEmpty() || !m_pDC) {
        return CSize(0, 0);
    }
    CSize total(0, 0);
    std::u16string rest = text.str();
    bool first = true;
    while (true) {
        if (!first) {
            rest.erase(0, rest.find_first_not_of(u" \t"));
        }
        first = false;
        const size_t end = rest.find(u'\n');
        const std::u16string line = rest.substr(0, end);
        CSize size = m_pDC->GetTextExtent(line.c_str(), static_cast<int>(line.size()));
        if (line.empty()) {
            size.cy = m_pDC->GetTextExtent(u"A", 1).cy;
        }
        total.cx = std::max(total.cx, size.cx);
        total.cy += size.cy;
        if (end == std::u16string::npos) {
            break;
        }
        rest.erase(0, end + 1);
    }
    return total;
}

void SRGraphTitle::Draw() {
    if (!m_nDrawnMark || !m_pDC) {
        return;
    }
    UpdateText();
    UINT format = DT_LEFT;
    if (m_nAlignment == 1) {
        format = DT_RIGHT;
    } else if (m_nAlignment == 2) {
        format = DT_CENTER;
    }
    const CRect r = GetPixelRect();
    if (FontNeedsRebuild()) {
        m_bFontDirty = TRUE;
    }
    if (m_bFontDirty) {
        CreateTitleFont();
        if (!IsPrinting()) {
            m_bFontDirty = FALSE;
        }
    }
    CFont* oldFont = m_pFont ? m_pDC->SelectObject(m_pFont) : nullptr;
    const COLORREF oldColour = m_pDC->SetTextColor(m_crText);
    const int oldMode = m_pDC->SetBkMode(TRANSPARENT);
    const CSize extent = GetTextExtent(m_strText);
    const int middle = r.top + (r.bottom - r.top) / 2;
    CRect box(r.left, middle - extent.cy / 2 - 1, r.right, middle + extent.cy / 2 + 1);
    m_pDC->DrawTextW(m_strText, &box, format | DT_NOPREFIX | DT_END_ELLIPSIS);
    m_pDC->SetBkMode(oldMode);
    if (oldFont) {
        m_pDC->SelectObject(oldFont);
    }
    m_pDC->SetTextColor(oldColour);
}

void SRGraphTitle::WriteTemplateKeyword(SRGTemplateWriter& writer) {
    writer.WriteText(u"title ");
}

void SRGraphTitle::WriteTemplateTypePart(SRGTemplateWriter& writer) {
    writer.WriteFormat(u"%d %d %d \"%s\" %d %d %d ", GetRValue(m_crText), GetGValue(m_crText), GetBValue(m_crText),
                       static_cast<LPCTSTR>(m_strFaceName), m_nFontSize, static_cast<int>(m_nFontStyle),
                       m_nAlignment);
}

int SRGraphTitle::ReadTemplateTypePart(const CString& text) {
    int r = 0, g = 0, b = 0, size = 0, style = 0, alignment = 0, used = 0;
    TCHAR face[kSRGTemplateLineMax + 2] = {0};
    if (swscanf(text, u" %d %d %d \"%[0-9a-zA-Z-_. ]\" %d %d %d%n", &r, &g, &b, face, &size, &style, &alignment,
                &used) < 7) {
        ThrowSRGraphException(SRGE_TEMPLATE_FONT);
    }
    SetText(CString(), alignment);
    SetColor(RGB(r & 0xFF, g & 0xFF, b & 0xFF));
    SetFont(size, static_cast<DWORD>(style), CString(face));
    return used;
}

void SRGraphTitle::Serialize(CArchive& ar) {
    SRGraphComponent::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_nAlignment) << static_cast<DWORD>(m_crText) << static_cast<LONG>(m_nFontSize)
           << static_cast<DWORD>(m_nFontStyle);
        ar << m_strText << m_strFaceName;
        return;
    }
    LONG alignment = 0, size = 0;
    DWORD colour = 0, style = 0;
    ar >> alignment >> colour >> size >> style;
    ar >> m_strText >> m_strFaceName;
    m_nAlignment = alignment;
    m_crText = colour;
    m_nFontSize = size;
    m_nFontStyle = style;
    m_bFontDirty = TRUE;
}
