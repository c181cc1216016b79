#include "chart/SRGraphLabelBlock.h"

#include "chart/ChartMath.h"
#include "chart/ChartResourceIds.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphDataList.h"
#include "chart/SRGraphException.h"
#include "chart/TemplateText.h"

#include "platform/base/CArchive.h"
#include "platform/framework/CDC.h"

#include <cmath>

IMPLEMENT_SERIAL(SRGraphLabelBlock, SRGraphLabel, VERSIONABLE_SCHEMA | 1)

namespace {
// Pushing gives up after so many steps: no overlap can outlast that many moves of a pixel or more.
constexpr int kMaxPushSteps = 100000;
} // namespace

void SRGFreePositions(CPtrList& list) {
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        delete static_cast<POINT*>(list.GetNext(pos));
    }
    list.RemoveAll();
}

SRGraphLabelBlock::SRGraphLabelBlock() {
    m_nType = IDS_SRG_TYPE_LABEL_BLOCK;
    m_style.SetTagNibble(0x9);
}

SRGraphLabelBlock::~SRGraphLabelBlock() {
    RemoveAll();
    DeleteOwnedPositions();
}

void SRGraphLabelBlock::DeleteOwnedPositions() {
    if (m_bOwnsPositions && m_pPositions) {
        SRGFreePositions(*m_pPositions);
        delete m_pPositions;
    }
    m_pPositions = nullptr;
    m_bOwnsPositions = FALSE;
}

void SRGraphLabelBlock::SetParentGraph(SRGraph* chart) {
    SRGraphLabel::SetParentGraph(chart);
    for (POSITION pos = m_labels.GetHeadPosition(); pos;) {
        auto* label = static_cast<SRGraphLabel*>(m_labels.GetNext(pos));
        label->SetParentGraph(chart);
        label->SetOwnerBlock(this, label->IsInBlock(), label->HasOwnStyle());
    }
}

void SRGraphLabelBlock::CreateTitleFont() {
    if (m_pExternalFont) {
        ReplaceFont(*m_pExternalFont);
        return;
    }
    // The block's font stands upright: its labels turn their own text.
    LOGFONTW font;
    MakeLogFont(font, GetFontSize(), 0, m_pDC);
    ReplaceFont(font);
}

void SRGraphLabelBlock::DrawComponent(CDC* dc, CWnd* window) {
    SRGraphComponent::DrawComponent(dc, window);
}

// ---- Labels

void SRGraphLabelBlock::AttachLabel(SRGraphLabel* label, BOOL ownStyle) {
    label->SetOwnerBlock(this, TRUE, ownStyle);
    label->SetParentGraph(m_pChart);
    m_labels.AddTail(label);
}

SRGraphLabel* SRGraphLabelBlock::AddLabel(const CString& text) {
    auto* label = new SRGraphLabel;
    AttachLabel(label, FALSE);
    label->SetText(text);
    return label;
}

void SRGraphLabelBlock::SetLabelText(const CString& text, int index, int key) {
    if (index >= 0 && index < GetCount()) {
        GetLabel(index)->SetTextForKey(key, text);
        return;
    }
    while (GetCount() < index) {
        AddLabel(CString());
    }
    AddLabel(CString())->SetTextForKey(key, text);
}

SRGraphLabel* SRGraphLabelBlock::GetLabel(int index) {
    if (m_labels.IsEmpty()) {
        return nullptr;
    }
    if (index == -1) {
        return static_cast<SRGraphLabel*>(m_labels.GetHead());
    }
    if (index == -2) {
        return static_cast<SRGraphLabel*>(m_labels.GetTail());
    }
    if (index < 0 || index >= GetCount()) {
        return nullptr;
    }
    return static_cast<SRGraphLabel*>(m_labels.GetAt(SRGWalkTo(m_labels, index, m_nCursor, m_posCursor)));
}

void SRGraphLabelBlock::RemoveLast() {
    if (!m_labels.IsEmpty()) {
        delete m_labels.RemoveTail();
        m_nCursor = -1;
        m_posCursor = nullptr;
    }
}

void SRGraphLabelBlock::RemoveAll() {
    for (POSITION pos = m_labels.GetHeadPosition(); pos;) {
        delete m_labels.GetNext(pos);
    }
    m_labels.RemoveAll();
    m_nCursor = -1;
    m_posCursor = nullptr;
}

void SRGraphLabelBlock::SetAllSides(int side) {
    for (POSITION pos = m_labels.GetHeadPosition(); pos;) {
        static_cast<SRGraphLabel*>(m_labels.GetNext(pos))->SetSide(side);
    }
}

void SRGraphLabelBlock::SetMoveFactors(double fx, double fy) {
    for (POSITION pos = m_labels.GetHeadPosition(); pos;) {
        auto* label = static_cast<SRGraphLabel*>(m_labels.GetNext(pos));
        label->SetMoveFactors(fx, fy);
        label->SetMoveMode(FALSE);
    }
}

void SRGraphLabelBlock::SetAllAngles(double degrees) {
    double angle = std::floor(degrees * 10.0 + 0.5) / 10.0;
    angle = std::fmod(angle, 360.0);
    if (angle < 0.0) {
        angle += 360.0;
    }
    int quarter = SRGTrunc(angle / 90.0 + 0.5);
    const double rest = angle - 90.0 * quarter;
    // Within half a degree below a full turn is a turn of 0.
    quarter &= 3;
    for (POSITION pos = m_labels.GetHeadPosition(); pos;) {
        auto* label = static_cast<SRGraphLabel*>(m_labels.GetNext(pos));
        if (std::fabs(rest) >= 0.5) {
            label->SetAngleDegrees(angle);
            label->SetRotationMode(4);
        } else {
            label->SetRotationMode(quarter);
        }
    }
}

void SRGraphLabelBlock::ArrangeLabels(int x1, int y1, int x2, int y2) {
    const int n = GetCount();
    const double d = n < 2 ? 1.0 : n - 1;
    int i = n == 1 ? 1 : 0;
    for (POSITION pos = m_labels.GetHeadPosition(); pos; ++i) {
        auto* label = static_cast<SRGraphLabel*>(m_labels.GetNext(pos));
        const int x = x1 + SRGTrunc((x2 - x1) / d * i);
        const int y = y1 + SRGTrunc((y2 - y1) / d * i);
        label->SetAnchorPixels(x, y);
    }
    SavePositions();
}

void SRGraphLabelBlock::SetPositionList(CPtrList* list) {
    if (list == m_pPositions) {
        return;
    }
    DeleteOwnedPositions();
    m_pPositions = list;
}

void SRGraphLabelBlock::SavePositions(int dx, int dy) {
    if (!m_bKeepPositions) {
        return;
    }
    if (!m_pPositions) {
        m_pPositions = new CPtrList(10);
        m_bOwnsPositions = TRUE;
    }
    SRGFreePositions(*m_pPositions);
    for (POSITION pos = m_labels.GetHeadPosition(); pos;) {
        auto* label = static_cast<SRGraphLabel*>(m_labels.GetNext(pos));
        const POINT anchor = label->GetAnchorPoint();
        m_pPositions->AddTail(new POINT{anchor.x + dx, anchor.y + dy});
    }
}

// ---- Drawing

bool SRGraphLabelBlock::Place(SRGraphLabel* label, HRGN drawn) {
    HRGN outline = label->CreateOutlineRegion();
    HRGN overlap = ::CreateRectRgn(0, 0, 0, 0);
    bool placed = true;
    int steps = 0;
    while (::CombineRgn(overlap, outline, drawn, RGN_AND) > NULLREGION) {
        if (!IsPushMode()) {
            placed = false;
            break;
        }
        RECT box{};
        ::GetRgnBox(overlap, &box);
        int dx = 0, dy = 0;
        for (int k = 1; k <= 10 && dx == 0 && dy == 0; ++k) {
            dx = SRGTrunc((box.right - box.left) * label->GetMoveFactorX() * k);
            dy = SRGTrunc((box.bottom - box.top) * label->GetMoveFactorY() * k);
        }
        if ((dx == 0 && dy == 0) || ++steps > kMaxPushSteps) {
            ::DeleteObject(overlap);
            ::DeleteObject(outline);
            ThrowSRGraphException(SRGE_DISPLAY_AREA_ZERO);
        }
        ::OffsetRgn(outline, dx, dy);
        label->OffsetOutline(dx, dy);
        label->MoveAnchorBy(dx, dy);
    }
    if (placed) {
        ::CombineRgn(drawn, drawn, outline, RGN_OR);
    }
    ::DeleteObject(overlap);
    ::DeleteObject(outline);
    return placed;
}

void SRGraphLabelBlock::Draw() {
    if (m_labels.IsEmpty() || !m_pDC) {
        return;
    }
    if (FontNeedsRebuild() || m_bFontDirty || !m_pFont) {
        CreateTitleFont();
        if (!IsPrinting()) {
            m_bFontDirty = FALSE;
        }
    }
    HRGN drawn = ::CreateRectRgn(0, 0, 0, 0);
    PushClipState();
    struct Cleanup {
        SRGraphLabelBlock& block;
        HRGN region;
        ~Cleanup() {
            block.PopClipState();
            ::DeleteObject(region);
        }
    } cleanup{*this, drawn};
    m_rectBlock.SetRectEmpty();
    bool firstRect = true;
    for (POSITION pos = m_labels.GetHeadPosition(); pos;) {
        auto* label = static_cast<SRGraphLabel*>(m_labels.GetNext(pos));
        if (label->GetCurrentText().IsEmpty()) {
            continue;
        }
        const POINT before = label->GetAnchorPoint();
        label->ComputeOutline(nullptr, 0);
        if (m_bAvoidOverlap && !Place(label, drawn)) {
            continue;
        }
        const std::vector<POINT>& outline = label->GetOutline();
        if (!outline.empty()) {
            CRect box = GetPointsBounds(outline.data(), static_cast<int>(outline.size()));
            box.NormalizeRect();
            if (firstRect) {
                m_rectBlock = box;
                firstRect = false;
            } else {
                m_rectBlock.UnionRect(&m_rectBlock, &box);
            }
        }
        label->SetDrawnMark(m_nDrawnMark);
        if (m_style.HasThird(SRGT_LEADER_LINES) && m_nDrawnMark) {
            const POINT after = label->GetAnchorPoint();
            CPen* pen = GetPen(PS_SOLID, 3, m_style.m_crLine);
            CPen* oldPen = m_pDC->SelectObject(pen);
            const int oldRop = m_pDC->SetROP2(R2_COPYPEN);
            m_pDC->MoveTo(after.x, after.y);
            m_pDC->LineTo(before.x, before.y);
            HGDIOBJ oldBrush = ::SelectObject(m_pDC->m_hDC, ::GetStockObject(HOLLOW_BRUSH));
            m_pDC->Ellipse(before.x - 4, before.y - 4, before.x + 4, before.y + 4);
            ::SelectObject(m_pDC->m_hDC, oldBrush);
            m_pDC->SetROP2(oldRop);
            m_pDC->SelectObject(oldPen);
        }
        label->DrawComponent(m_pDC, m_pWindow);
    }
    m_bChanged = FALSE;
}

// ---- Template and archive

void SRGraphLabelBlock::WriteTemplateKeyword(SRGTemplateWriter& writer) {
    writer.WriteText(u"labelblock ");
}

void SRGraphLabelBlock::WriteTemplate(SRGTemplateWriter& writer) {
    SRGraphLabel::WriteTemplate(writer);
    for (POSITION pos = m_labels.GetHeadPosition(); pos;) {
        static_cast<SRGraphLabel*>(m_labels.GetNext(pos))->WriteTemplate(writer);
    }
    writer.WriteText(u"endblock\n");
}

void SRGraphLabelBlock::Serialize(CArchive& ar) {
    SRGraphLabel::Serialize(ar);
    if (ar.IsStoring()) {
        SRGWriteList(ar, m_labels);
        ar << static_cast<LONG>(m_nSerialisedFirst) << static_cast<LONG>(m_bAvoidOverlap)
           << static_cast<LONG>(m_bKeepPositions);
        return;
    }
    RemoveAll();
    SRGReadOwnedList(ar, m_labels, RUNTIME_CLASS(SRGraphLabel));
    for (POSITION pos = m_labels.GetHeadPosition(); pos;) {
        auto* label = static_cast<SRGraphLabel*>(m_labels.GetNext(pos));
        label->SetOwnerBlock(this, label->IsInBlock(), label->HasOwnStyle());
        label->SetParentGraph(m_pChart);
    }
    LONG first = 0, avoid = 0, keep = 0;
    ar >> first >> avoid >> keep;
    m_nSerialisedFirst = first;
    m_bAvoidOverlap = avoid;
    m_bKeepPositions = keep;
}
