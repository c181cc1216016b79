#include "chart/SRGAxisManager.h"

#include "chart/ChartMath.h"
#include "chart/ChartResourceIds.h"
#include "chart/SRGDecimalScale.h"
#include "chart/SRGDisplayBase.h"
#include "chart/SRGGridLines.h"
#include "chart/SRGTickMarks.h"
#include "chart/SRGraphLabel.h"

#include "platform/base/CArchive.h"
#include "platform/framework/CDC.h"

#include <cstdlib>

IMPLEMENT_SERIAL(SRGAxisManager, SRGCompoundComponent, VERSIONABLE_SCHEMA | 1)

SRGAxisManager::SRGAxisManager() {
    m_nType = IDS_SRG_TYPE_AXIS_MANAGER;
    m_bTwoPass = FALSE;
    for (int i = 0; i < slotCount; ++i) {
        m_children.AddTail(MakePlaceholder());
    }
}

SRGraphComponent* SRGAxisManager::MakePlaceholder() {
    auto* placeholder = new SRGraphComponent;
    placeholder->SetRect(0, 0, 0, 0);
    SRGraphStyle& style = placeholder->GetStyle();
    style.SetBorderType(0);
    style.SetShadowType(0);
    style.SetFrameFillKind(0);
    return placeholder;
}

POSITION SRGAxisManager::SlotPosition(int slot) const {
    return slot < m_children.GetCount() ? m_children.FindIndex(slot) : nullptr;
}

SRGraphComponent* SRGAxisManager::Occupant(int slot) const {
    POSITION pos = SlotPosition(slot);
    return pos && m_bPresent[slot] ? static_cast<SRGraphComponent*>(m_children.GetAt(pos)) : nullptr;
}

void SRGAxisManager::FillSlot(int slot, SRGraphComponent* component) {
    POSITION pos = SlotPosition(slot);
    if (!pos || !component) {
        return;
    }
    auto* previous = static_cast<SRGraphComponent*>(m_children.GetAt(pos));
    if (previous == component) {
        return;
    }
    component->SetCompoundChildMark(1);
    component->SetParentGraph(m_pChart);
    m_children.SetAt(pos, component);
    delete previous;
    m_bPresent[slot] = TRUE;
}

SRGraphComponent* SRGAxisManager::RemoveSlot(int slot, BOOL deleteIt) {
    POSITION pos = SlotPosition(slot);
    if (!pos || !m_bPresent[slot]) {
        return nullptr;
    }
    m_bPresent[slot] = FALSE;
    auto* occupant = static_cast<SRGraphComponent*>(m_children.GetAt(pos));
    occupant->SetCompoundChildMark(0);
    SRGraphComponent* placeholder = MakePlaceholder();
    placeholder->SetParentGraph(m_pChart);
    m_children.SetAt(pos, placeholder);
    if (deleteIt) {
        delete occupant;
        return nullptr;
    }
    return occupant;
}

SRGGridLines* SRGAxisManager::GetGridLines() const {
    return static_cast<SRGGridLines*>(Occupant(gridSlot));
}

SRGTickMarks* SRGAxisManager::GetTickMarks() const {
    return static_cast<SRGTickMarks*>(Occupant(tickSlot));
}

SRGDecimalScale* SRGAxisManager::GetScale() const {
    return static_cast<SRGDecimalScale*>(Occupant(scaleSlot));
}

SRGDisplayBase* SRGAxisManager::GetDisplay() const {
    return static_cast<SRGDisplayBase*>(Occupant(displaySlot));
}

SRGraphLabel* SRGAxisManager::GetTitle() const {
    return static_cast<SRGraphLabel*>(Occupant(titleSlot));
}

void SRGAxisManager::SetGridLines(SRGGridLines* lines) {
    FillSlot(gridSlot, lines);
}

void SRGAxisManager::SetTickMarks(SRGTickMarks* marks) {
    FillSlot(tickSlot, marks);
}

void SRGAxisManager::SetWatcher(SRGraphComponent* watcher) {
    FillSlot(watcherSlot, watcher);
}

void SRGAxisManager::SetScale(SRGDecimalScale* scale) {
    if (!scale || SlotPosition(scaleSlot) == nullptr) {
        return;
    }
    SRGraphStyle& style = scale->GetStyle();
    style.SetBorderType(0);
    style.SetShadowType(0);
    style.SetFrameFillKind(0);
    FillSlot(scaleSlot, scale);
}

void SRGAxisManager::SetTitle(SRGraphLabel* title) {
    if (!title || SlotPosition(titleSlot) == nullptr) {
        return;
    }
    SRGraphStyle& style = title->GetStyle();
    style.SetBorderType(0);
    style.SetShadowType(0);
    style.SetFrameFillKind(0);
    FillSlot(titleSlot, title);
}

void SRGAxisManager::SetDisplay(SRGDisplayBase* display) {
    if (!display || SlotPosition(displaySlot) == nullptr) {
        return;
    }
    SRGraphStyle& style = display->GetStyle();
    style.SetFrameFillKind(0);
    style.SetBorderType(0);
    style.SetShadowType(0);
    style.SetTagNibble(0);
    style.SetOption(0x8 | SRGO_VALUE_LABELS_PUSH | SRGO_EXPLICIT_RECT | SRGO_NO_X_GRID, TRUE);
    FillSlot(displaySlot, display);
}

void SRGAxisManager::SetScope(int firstItem, int lastItem, int firstGroup, int lastGroup) {
    for (POSITION pos = m_children.GetHeadPosition(); pos;) {
        static_cast<SRGraphComponent*>(m_children.GetNext(pos))->SetScope(firstItem, lastItem, firstGroup, lastGroup);
    }
}

void SRGAxisManager::SetLabelSide(int side) {
    if (SRGDecimalScale* scale = GetScale()) {
        scale->SetLabelSide(side);
    }
    if (SRGTickMarks* marks = GetTickMarks()) {
        marks->SetTickSide(side);
    }
}

void SRGAxisManager::SetMinimum(double value) {
    if (SRGDecimalScale* scale = GetScale()) {
        scale->SetMinimum(value);
    }
}

void SRGAxisManager::SetMaximum(double value) {
    if (SRGDecimalScale* scale = GetScale()) {
        scale->SetMaximum(value);
    }
}

void SRGAxisManager::LayOutScale() {
    SRGDecimalScale* scale = GetScale();
    if (!scale) {
        return;
    }
    scale->SetDrawFlag(m_nDrawnMark);
    scale->SetStartPoint(m_start.x, m_start.y);
    scale->SetEndPoint(m_end.x, m_end.y);
    if (SRGTickMarks* marks = GetTickMarks()) {
        double length = marks->GetMajorTickLength();
        if (IsPrinting()) {
            const bool vertical = std::abs(m_end.y - m_start.y) > std::abs(m_end.x - m_start.x);
            length *= vertical ? PrinterScaleX(m_pDC) : PrinterScaleY(m_pDC);
        }
        scale->SetDepths(scale->GetDepth(), scale->GetDepthY(), length * 1.25);
        scale->SetKeepPositions(TRUE);
        marks->SetTickPositions(scale->GetPositionList());
    }
    scale->BeginDraw(m_pDC, m_pWindow);
    scale->BuildLabels();
    if (SRGTickMarks* marks = GetTickMarks()) {
        marks->SetTickPositions(scale->GetPositionList());
    }
    if (SRGGridLines* lines = GetGridLines()) {
        lines->SetLinePositions(scale->GetPositionList());
    }
}

int SRGAxisManager::RequiredRoom(bool width) {
    int room = 0;
    if (SRGDecimalScale* scale = GetScale()) {
        const CRect block = scale->GetBlockRect();
        room += width ? block.Width() : block.Height();
    }
    if (SRGTickMarks* marks = GetTickMarks()) {
        room += marks->GetMajorTickLength();
    }
    if (SRGraphLabel* title = GetTitle()) {
        title->BeginDraw(m_pDC, m_pWindow);
        title->ComputeOutline(nullptr, 0);
        title->EndDraw();
        CScale extent;
        for (const POINT& p : title->GetOutline()) {
            extent.Include(width ? p.x : p.y);
        }
        const int span = SRGTrunc(extent.GetSpan());
        room += width ? span * 6 / 5 : span;
    }
    return room;
}

void SRGAxisManager::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        SRGWriteList(ar, m_children);
        for (BOOL present : m_bPresent) {
            ar << static_cast<LONG>(present);
        }
        ar << static_cast<LONG>(m_end.x) << static_cast<LONG>(m_end.y) << static_cast<LONG>(m_start.x)
           << static_cast<LONG>(m_start.y);
        return;
    }
    DeleteChildren();
    SRGReadOwnedList(ar, m_children, RUNTIME_CLASS(SRGraphComponent));
    // A manager always holds its six slots: missing ones become placeholders, extra ones are dropped.
    while (m_children.GetCount() > slotCount) {
        delete m_children.RemoveTail();
    }
    while (m_children.GetCount() < slotCount) {
        m_children.AddTail(MakePlaceholder());
    }
    LONG values[slotCount + 4] = {};
    for (LONG& value : values) {
        ar >> value;
    }
    for (int i = 0; i < slotCount; ++i) {
        m_bPresent[i] = values[i] != 0;
    }
    // A slot is present only when its occupant is of the kind the slot holds.
    const CRuntimeClass* kinds[slotCount] = {RUNTIME_CLASS(SRGDecimalScale), RUNTIME_CLASS(SRGTickMarks),
                                             RUNTIME_CLASS(SRGGridLines),    RUNTIME_CLASS(SRGraphComponent),
                                             RUNTIME_CLASS(SRGDisplayBase),  RUNTIME_CLASS(SRGraphLabel)};
    POSITION pos = m_children.GetHeadPosition();
    for (int i = 0; i < slotCount; ++i) {
        const CObject* child = m_children.GetNext(pos);
        if (!child->IsKindOf(kinds[i])) {
            m_bPresent[i] = FALSE;
        }
    }
    m_end = POINT{values[slotCount], values[slotCount + 1]};
    m_start = POINT{values[slotCount + 2], values[slotCount + 3]};
}
