#include "chart/SRGCompoundDisplay.h"

#include "chart/ChartMath.h"
#include "chart/ChartResourceIds.h"
#include "chart/SRGAxisManager.h"
#include "chart/SRGDecimalScale.h"
#include "chart/SRGDisplayBase.h"
#include "chart/SRGGridLines.h"
#include "chart/SRGTickMarks.h"
#include "chart/SRGraphLabel.h"

#include "platform/base/CArchive.h"

#include <initializer_list>

IMPLEMENT_SERIAL(SRGCompoundDisplay, SRGCompoundComponent, VERSIONABLE_SCHEMA | 1)

namespace {
bool OneOf(int value, std::initializer_list<int> values) {
    for (int v : values) {
        if (v == value) {
            return true;
        }
    }
    return false;
}

// The range of a kind a display shares: its axis range when one is set, else its component range.
CScale SharedRange(SRGDisplayBase* display, bool valueKind) {
    const CScale axis = valueKind ? display->GetValueAxisRange() : display->GetXAxisRange();
    if (!axis.IsUnset()) {
        return axis;
    }
    return valueKind ? display->GetValueRange() : display->GetXRange();
}
} // namespace

SRGCompoundDisplay::SRGCompoundDisplay() {
    m_nType = IDS_SRG_TYPE_COMPOUND_DISPLAY;
    m_bDeferredChildren = TRUE;
    m_bTwoPass = TRUE;
    m_bFrame = TRUE;
    for (int side = 0; side < sideCount; ++side) {
        auto* manager = new SRGAxisManager;
        manager->SetTwoPass(FALSE);
        AddChild(manager);
    }
}

SRGCompoundDisplay::~SRGCompoundDisplay() {
    // The managers go first: their scales hold the lists without owning them.
    DeleteChildren();
    for (CPtrList& list : m_tickLists) {
        SRGFreePositions(list);
    }
}

SRGAxisManager* SRGCompoundDisplay::Axis(int side) const {
    if (side >= m_children.GetCount()) {
        return nullptr;
    }
    return dynamic_cast<SRGAxisManager*>(m_children.GetAt(m_children.FindIndex(side)));
}

void SRGCompoundDisplay::SetInnerRect(int left, int top, int right, int bottom, BOOL explicitRect) {
    m_rectInner = CRect(left, top, right, bottom);
    m_style.SetOption(SRGO_EXPLICIT_RECT, explicitRect);
}

void SRGCompoundDisplay::AttachTickList(SRGAxisManager* manager, CPtrList* list) {
    if (!manager) {
        return;
    }
    if (SRGDecimalScale* scale = manager->GetScale()) {
        scale->SetPositionList(list);
    }
    if (SRGTickMarks* marks = manager->GetTickMarks()) {
        marks->SetTickPositions(list);
    }
}

// ---- Setters by side

#define SRG_SIDE_SETTER(name, side, type, call)                                                                 \
    void SRGCompoundDisplay::name(type* component) {                                                             \
        if (SRGAxisManager* manager = Axis(side)) {                                                              \
            manager->call(component);                                                                            \
        }                                                                                                        \
    }

SRG_SIDE_SETTER(SetBottomScale, bottomSide, SRGDecimalScale, SetScale)
SRG_SIDE_SETTER(SetTopScale, topSide, SRGDecimalScale, SetScale)
SRG_SIDE_SETTER(SetLeftScale, leftSide, SRGDecimalScale, SetScale)
SRG_SIDE_SETTER(SetRightScale, rightSide, SRGDecimalScale, SetScale)
SRG_SIDE_SETTER(SetLeftGridLines, leftSide, SRGGridLines, SetGridLines)
SRG_SIDE_SETTER(SetRightGridLines, rightSide, SRGGridLines, SetGridLines)
SRG_SIDE_SETTER(SetBottomGridLines, bottomSide, SRGGridLines, SetGridLines)
SRG_SIDE_SETTER(SetTopGridLines, topSide, SRGGridLines, SetGridLines)
SRG_SIDE_SETTER(SetBottomTickMarks, bottomSide, SRGTickMarks, SetTickMarks)
SRG_SIDE_SETTER(SetTopTickMarks, topSide, SRGTickMarks, SetTickMarks)
SRG_SIDE_SETTER(SetLeftTickMarks, leftSide, SRGTickMarks, SetTickMarks)
SRG_SIDE_SETTER(SetRightTickMarks, rightSide, SRGTickMarks, SetTickMarks)
SRG_SIDE_SETTER(SetBottomDisplay, bottomSide, SRGDisplayBase, SetDisplay)
SRG_SIDE_SETTER(SetTopDisplay, topSide, SRGDisplayBase, SetDisplay)
SRG_SIDE_SETTER(SetLeftDisplay, leftSide, SRGDisplayBase, SetDisplay)
SRG_SIDE_SETTER(SetRightDisplay, rightSide, SRGDisplayBase, SetDisplay)
SRG_SIDE_SETTER(SetBottomWatcher, bottomSide, SRGraphComponent, SetWatcher)
SRG_SIDE_SETTER(SetTopWatcher, topSide, SRGraphComponent, SetWatcher)
SRG_SIDE_SETTER(SetLeftWatcher, leftSide, SRGraphComponent, SetWatcher)
SRG_SIDE_SETTER(SetRightWatcher, rightSide, SRGraphComponent, SetWatcher)

#undef SRG_SIDE_SETTER

// ---- Layout

bool SRGCompoundDisplay::HasDepth(SRGDisplayBase* display) {
    return OneOf(display->GetStyle().GetAxisStyle(), {11, 13, 16, 20, 21, 22});
}

CScale SRGCompoundDisplay::Mirrored(const CScale& range, bool vertical) {
    CScale out = range;
    const double factor = vertical ? m_dVerticalFactor : m_dHorizontalFactor;
    for (double* bound : {&out.m_dMax, &out.m_dMin}) {
        if (factor != 0.0) {
            *bound *= factor;
        } else {
            *bound = vertical ? MirrorVerticalValue(*bound) : MirrorHorizontalValue(*bound);
        }
    }
    return out;
}

void SRGCompoundDisplay::GiveRange(SRGAxisManager* manager, const CScale& range, SRGDisplayBase* display,
                                   bool toWatcher, const CScale* watcherRange) {
    if (!manager) {
        return;
    }
    manager->SetMaximum(range.m_dMax);
    manager->SetMinimum(range.m_dMin);
    int firstItem = 0, lastItem = 0, firstGroup = 0, lastGroup = 0;
    display->GetScope(firstItem, lastItem, firstGroup, lastGroup);
    manager->SetScope(firstItem, lastItem, firstGroup, lastGroup);
    const SRGraphStyle& from = display->GetStyle();
    auto takeStyle = [&from](SRGraphComponent* component) {
        SRGraphStyle& style = component->GetStyle();
        style.SetGraphStyle(from.GetGraphStyle());
        style.SetAxisStyle(from.GetAxisStyle());
        style.m_bChanged = TRUE;
    };
    if (SRGGridLines* lines = manager->GetGridLines()) {
        takeStyle(lines);
    }
    if (SRGraphComponent* watcher = manager->GetWatcher(); watcher && toWatcher) {
        takeStyle(watcher);
        if (watcherRange) {
            watcher->SetValueRange(*watcherRange);
        }
    }
}

void SRGCompoundDisplay::PlaceTitles(bool measuring) {
    const CRect r = m_rectInner;
    const int midX = (r.right - r.left) / 2 + r.left;
    const int midY = (r.bottom - r.top) / 2 + r.top;
    const bool explicitRect = m_style.HasOption(SRGO_EXPLICIT_RECT);
    auto scaleBlock = [](SRGAxisManager* manager) {
        SRGDecimalScale* scale = manager->GetScale();
        return scale ? scale->GetBlockRect() : CRect();
    };
    auto place = [](SRGraphLabel* title, int rotation, int x, int y, int side) {
        title->SetRotationMode(rotation);
        title->SetAnchor(x, y);
        title->SetSide(side);
    };
    for (int side = 0; side < sideCount; ++side) {
        SRGAxisManager* manager = Axis(side);
        SRGraphLabel* title = manager ? manager->GetTitle() : nullptr;
        if (!title) {
            continue;
        }
        const bool vertical = side == leftSide || side == rightSide;
        if (!explicitRect && !measuring) {
            if (vertical) {
                title->SetAnchorY(midY);
            } else {
                title->SetAnchorX(midX);
            }
            continue;
        }
        switch (side) {
        case leftSide:
            place(title, 1, explicitRect ? r.left - scaleBlock(manager).Width() : r.left, midY,
                  explicitRect ? SRGL_ABOVE : SRGL_BELOW);
            break;
        case rightSide:
            place(title, 3, explicitRect ? r.right + scaleBlock(manager).Width() : r.right, midY,
                  explicitRect ? SRGL_ABOVE : SRGL_BELOW);
            break;
        case bottomSide:
            place(title, 0, midX, explicitRect ? r.bottom + scaleBlock(manager).Height() : r.bottom,
                  explicitRect ? SRGL_BELOW : SRGL_ABOVE);
            break;
        default:
            place(title, 0, midX, explicitRect ? r.top - scaleBlock(manager).Height() : r.top,
                  explicitRect ? SRGL_ABOVE : SRGL_BELOW);
            break;
        }
    }
}

void SRGCompoundDisplay::ApplyDisplay(int side, SRGDisplayBase* display, bool measuring, int dx, int dy) {
    const CRect r = m_rectInner;
    const bool swap = m_style.HasThird(SRGT_SWAP_RANGES);
    const bool vertical = side == leftSide || side == rightSide;
    const bool depth = HasDepth(display);
    if (measuring) {
        display->SetXAxisRangeDerived(FALSE);
        display->SetValueAxisRangeDerived(FALSE);
        display->BeginDraw(m_pDC, m_pWindow);
        display->ResolveScope();
    }
    // Left and right axes show values, bottom and top the X range; swapped on request.
    const CScale first = SharedRange(display, vertical != swap);
    const CScale second = SharedRange(display, vertical == swap);
    SRGAxisManager* own = Axis(side);
    GiveRange(own, first, display, true, &first);

    SRGAxisManager* left = GetLeftAxis();
    SRGAxisManager* right = GetRightAxis();
    SRGAxisManager* bottom = GetBottomAxis();
    SRGAxisManager* top = GetTopAxis();
    const int axisStyle = display->GetStyle().GetAxisStyle();
    switch (side) {
    case leftSide:
        own->SetStartPoint(r.left, r.bottom);
        own->SetEndPoint(r.left, depth ? r.top + dy : r.top);
        break;
    case rightSide:
        own->SetStartPoint(r.right, depth ? r.bottom - dy : r.bottom);
        own->SetEndPoint(r.right, r.top);
        break;
    default:
        if (left && OneOf(axisStyle, {11, 16, 20, 22})) {
            left->SetStartPoint(r.left, r.bottom);
            left->SetEndPoint(r.left, r.top + dy);
        } else if (left && OneOf(axisStyle, {13, 21})) {
            left->SetStartPoint(r.left, r.bottom - dy);
            left->SetEndPoint(r.left, r.top);
        }
        break;
    }

    // The first range mirrored onto the opposite side.
    if (side == leftSide && m_bVerticalMirror && m_bLeftToRight && right) {
        GiveRange(right, Mirrored(first, true), display, false, nullptr);
        right->SetStartPoint(r.right, depth ? r.bottom - dy : r.bottom);
        right->SetEndPoint(r.right, r.top);
    } else if (side == rightSide && m_bVerticalMirror && !m_bLeftToRight) {
        GiveRange(left, Mirrored(first, true), display, true, &first);
    } else if (side == bottomSide && m_bHorizontalMirror && m_bBottomToTop) {
        GiveRange(top, Mirrored(first, false), display, true, &first);
    } else if (side == topSide && m_bHorizontalMirror && !m_bBottomToTop) {
        GiveRange(bottom, Mirrored(first, false), display, true, &first);
    }

    // The second range goes to the perpendicular axis the pairing names.
    int target = 0;
    switch (side) {
    case leftSide:
        target = m_bLeftWithBottom ? bottomSide : topSide;
        break;
    case rightSide:
        target = m_bLeftWithBottom ? topSide : bottomSide;
        break;
    case bottomSide:
        target = m_bLeftWithBottom ? leftSide : rightSide;
        break;
    default:
        target = m_bLeftWithBottom ? rightSide : leftSide;
        break;
    }
    SRGAxisManager* targetAxis = Axis(target);
    GiveRange(targetAxis, second, display, true, &second);
    if (side == leftSide && target == bottomSide && targetAxis) {
        targetAxis->SetStartPoint(r.left, r.bottom);
        targetAxis->SetEndPoint(depth ? r.right - dx : r.right, r.bottom);
    }

    // And mirrored in its turn, bounds only.
    SRGAxisManager* opposite = nullptr;
    bool verticalMirror = false;
    if (m_bHorizontalMirror && ((target == bottomSide && m_bBottomToTop) || (target == topSide && !m_bBottomToTop))) {
        opposite = Axis(target == bottomSide ? topSide : bottomSide);
    } else if (m_bVerticalMirror && ((target == leftSide && m_bLeftToRight) || (target == rightSide && !m_bLeftToRight))) {
        opposite = Axis(target == leftSide ? rightSide : leftSide);
        verticalMirror = true;
    }
    if (opposite) {
        const CScale mapped = Mirrored(second, verticalMirror);
        opposite->SetMaximum(mapped.m_dMax);
        opposite->SetMinimum(mapped.m_dMin);
    }
}

void SRGCompoundDisplay::LayOutAxes(bool measuring) {
    for (int side = 0; side < sideCount; ++side) {
        AttachTickList(Axis(side), &m_tickLists[side]);
    }
    PlaceTitles(measuring);
    const int d = m_style.HasOption(SRGO_FIXED_SIZES) ? SRGTrunc(m_style.m_dSecondLimit) : 10;
    const int dx = SRGRound(PrinterScaleX(m_pDC) * d);
    const int dy = SRGRound(PrinterScaleY(m_pDC) * d);
    const int order[] = {leftSide, rightSide, bottomSide, topSide};
    for (int side : order) {
        SRGAxisManager* manager = Axis(side);
        if (SRGDisplayBase* display = manager ? manager->GetDisplay() : nullptr) {
            ApplyDisplay(side, display, measuring, dx, dy);
        }
    }
    const CRect& r = m_rectInner;
    for (int side : order) {
        SRGAxisManager* manager = Axis(side);
        if (!manager) {
            continue;
        }
        if (SRGDisplayBase* display = manager->GetDisplay()) {
            display->SetDisplayRect(r.left, r.top, r.right, r.bottom, TRUE);
        }
        if (SRGGridLines* lines = manager->GetGridLines()) {
            lines->SetPlotRect(r);
            lines->SetVertical(side == bottomSide || side == topSide);
        }
    }
}

void SRGCompoundDisplay::BeforeDrawPass() {
    LayOutAxes(false);
    for (int side = 0; side < sideCount; ++side) {
        SRGAxisManager* manager = Axis(side);
        if (auto* watcher = manager ? dynamic_cast<SRGGridLines*>(manager->GetWatcher()) : nullptr) {
            watcher->SetPlotRect(m_rectInner);
        }
    }
}

void SRGCompoundDisplay::AfterMeasurePass() {
    if (m_nDrawnMark || m_style.HasOption(SRGO_EXPLICIT_RECT)) {
        return;
    }
    CRect& r = m_rectInner;
    if (SRGAxisManager* left = GetLeftAxis()) {
        r.left += left->GetRequiredWidth();
    }
    if (SRGAxisManager* right = GetRightAxis()) {
        r.right -= right->GetRequiredWidth();
    }
    if (SRGAxisManager* bottom = GetBottomAxis()) {
        r.bottom -= bottom->GetRequiredHeight();
    }
    if (SRGAxisManager* top = GetTopAxis()) {
        r.top += top->GetRequiredHeight();
    }
    if (r.right < r.left) {
        r.left = r.right = (r.left + r.right) / 2;
    }
    if (r.bottom < r.top) {
        r.top = r.bottom = (r.top + r.bottom) / 2;
    }
}

void SRGCompoundDisplay::Serialize(CArchive& ar) {
    if (ar.IsLoading()) {
        for (CPtrList& list : m_tickLists) {
            SRGFreePositions(list);
        }
    }
    SRGCompoundComponent::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_bLeftToRight) << static_cast<LONG>(m_bBottomToTop)
           << static_cast<LONG>(m_bLeftWithBottom) << static_cast<LONG>(m_bHorizontalMirror)
           << static_cast<LONG>(m_bVerticalMirror) << m_dHorizontalFactor << m_dVerticalFactor;
        return;
    }
    LONG flags[5] = {};
    for (LONG& flag : flags) {
        ar >> flag;
    }
    ar >> m_dHorizontalFactor >> m_dVerticalFactor;
    m_bLeftToRight = flags[0];
    m_bBottomToTop = flags[1];
    m_bLeftWithBottom = flags[2];
    m_bHorizontalMirror = flags[3];
    m_bVerticalMirror = flags[4];
}
