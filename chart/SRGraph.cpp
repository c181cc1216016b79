#include "chart/SRGraph.h"

#include "chart/ChartResourceIds.h"
#include "chart/ChartStrings.h"
#include "chart/SRGCompiledPolygon.h"
#include "chart/SRGCompoundComponent.h"
#include "chart/SRGCompoundDisplay.h"
#include "chart/SRGDecimalScale.h"
#include "chart/SRGGridLines.h"
#include "chart/SRGIndexScale.h"
#include "chart/SRGTextPanel.h"
#include "chart/SRGTickMarks.h"
#include "chart/SRGraphBackground.h"
#include "chart/SRGraphComponent.h"
#include "chart/SRGraphDataList.h"
#include "chart/SRGraphDisplay.h"
#include "chart/SRGraphDynamicData.h"
#include "chart/SRGraphException.h"
#include "chart/SRGraphFeedback.h"
#include "chart/SRGraphLabelBlock.h"
#include "chart/SRGraphLegend.h"
#include "chart/SRGraphTitle.h"

#include "platform/base/CArchive.h"
#include "platform/base/MessageBoxConstants.h"
#include "platform/framework/CWnd.h"

#include <algorithm>

IMPLEMENT_SERIAL(SRGraph, CObject, VERSIONABLE_SCHEMA | 1)

SRGraph::SRGraph() {
    m_style.SetKind(3);
    m_defaultStyle.SetKind(2);
}

SRGraph::~SRGraph() {
    for (POSITION pos = m_shapes.GetHeadPosition(); pos;) {
        delete m_shapes.GetNext(pos);
    }
    m_shapes.RemoveAll();
    DeleteGroups();
    DeleteComponents();
    for (POSITION pos = m_feedback.GetHeadPosition(); pos;) {
        delete m_feedback.GetNext(pos);
    }
    m_feedback.RemoveAll();
    m_offscreenBitmap.DeleteObject();
    m_palette.DeleteObject();
    for (POSITION pos = m_pens.GetStartPosition(); pos;) {
        CString key;
        CObject* pen = nullptr;
        m_pens.GetNextAssoc(pos, key, pen);
        delete pen;
    }
    m_pens.RemoveAll();
}

void SRGraph::ReportTemplateError(const CString& line) {
    ChartMessageBox(ChartString(IDS_SRG_TEMPLATE_SYNTAX) + line, MB_ICONEXCLAMATION);
}

// ---- Components

POSITION SRGraph::AddComponent(SRGraphComponent* component) {
    component->SetParentGraph(this);
    return m_components.AddTail(component);
}

namespace {
SRGraphDisplay* NewStyledDisplay(DWORD graphStyle, DWORD axisStyle) {
    auto* display = new SRGraphDisplay;
    SRGraphStyle& style = display->GetStyle();
    style.m_dwChartType = (style.m_dwChartType & 0x0000FFFF) | (graphStyle & 0x00FF0000) | (axisStyle & 0xFF000000);
    style.m_bChanged = TRUE;
    return display;
}

// The usual frame: the display and a value scale with its tick marks and grid lines on the left, an index
// scale with its own on the bottom.
SRGCompoundDisplay* NewCompoundDisplay(SRGraphDisplay* display) {
    auto* compound = new SRGCompoundDisplay;
    compound->SetLeftDisplay(display);
    compound->SetLeftScale(new SRGDecimalScale);
    compound->SetLeftTickMarks(new SRGTickMarks);
    compound->SetLeftGridLines(new SRGGridLines);
    compound->SetBottomScale(new SRGIndexScale);
    compound->SetBottomTickMarks(new SRGTickMarks);
    compound->SetBottomGridLines(new SRGGridLines);
    return compound;
}
} // namespace

SRGraphComponent* SRGraph::CreateComponent(int type, int unitMode, const RECT& rect, DWORD border, DWORD shadow,
                                           DWORD fill, DWORD graphStyle, DWORD axisStyle) {
    SRGraphComponent* component = nullptr;
    switch (type) {
    case IDS_SRG_TYPE_BACKGROUND:
        component = new SRGraphBackground;
        break;
    case IDS_SRG_TYPE_DISPLAY:
        component = NewStyledDisplay(graphStyle, axisStyle);
        break;
    case IDS_SRG_TYPE_TITLE:
        component = new SRGraphTitle;
        break;
    case IDS_SRG_TYPE_LABEL:
        component = new SRGraphLabel;
        break;
    case IDS_SRG_TYPE_LABEL_BLOCK:
        component = new SRGraphLabelBlock;
        break;
    case IDS_SRG_TYPE_COMPOUND_DISPLAY:
        component = NewCompoundDisplay(NewStyledDisplay(graphStyle, axisStyle));
        break;
    case IDS_SRG_TYPE_LEGEND:
        component = new SRGraphLegend;
        break;
    case IDS_SRG_TYPE_TEXT_PANEL:
        component = new SRGTextPanel;
        break;
    default:
        return nullptr;
    }
    component->SetUnitMode(unitMode);
    component->SetRectValues(rect);
    DWORD& secondary = component->GetStyle().m_dwSecondary;
    secondary = (secondary & ~0xFFFu) | (border & 0xF) | (shadow & 0xF0) | (fill & 0xF00);
    AddComponent(component);
    return component;
}

void SRGraph::DeleteTaggedComponents(const CString& tag) {
    for (POSITION pos = m_components.GetHeadPosition(); pos;) {
        POSITION at = pos;
        auto* component = static_cast<SRGraphComponent*>(m_components.GetNext(pos));
        if (component->GetStyle().m_strShapeName == tag) {
            m_components.RemoveAt(at);
            delete component;
        }
    }
}

SRGraphComponent* SRGraph::FindTaggedComponent(const CString& tag) {
    for (POSITION pos = m_components.GetHeadPosition(); pos;) {
        auto* component = static_cast<SRGraphComponent*>(m_components.GetNext(pos));
        if (component->GetStyle().m_strShapeName == tag) {
            return component;
        }
    }
    return nullptr;
}

void SRGraph::DeleteComponents() {
    for (POSITION pos = m_components.GetHeadPosition(); pos;) {
        delete m_components.GetNext(pos);
    }
    m_components.RemoveAll();
    m_posCurrentComponent = nullptr;
}

SRGraphComponent* SRGraph::FindComponent(int n, int type) {
    int counter = 0;
    for (POSITION pos = m_components.GetHeadPosition(); pos;) {
        auto* component = static_cast<SRGraphComponent*>(m_components.GetNext(pos));
        if (type == -1 || component->GetComponentType() == type) {
            if (counter == n) {
                return component;
            }
            ++counter;
        }
        if (type != -1 && component->ReservedZero() == 1) {
            if (SRGraphComponent* found = static_cast<SRGCompoundComponent*>(component)->FindChild(n, type, counter)) {
                return found;
            }
        }
    }
    return nullptr;
}

SRGraphComponent* SRGraph::GetNextComponentOfType(POSITION& position, int type) {
    while (position) {
        auto* component = static_cast<SRGraphComponent*>(m_components.GetNext(position));
        if (type == -1 || component->GetComponentType() == type) {
            return component;
        }
    }
    return nullptr;
}

POSITION SRGraph::FindComponentPosition(int type) {
    if (type == -1) {
        return m_components.GetHeadPosition();
    }
    for (POSITION pos = m_components.GetHeadPosition(); pos;) {
        POSITION at = pos;
        if (static_cast<SRGraphComponent*>(m_components.GetNext(pos))->GetComponentType() == type) {
            return at;
        }
    }
    return nullptr;
}

void SRGraph::SetComponentMinIndex(int n, int value, int type) {
    if (SRGraphComponent* c = FindComponent(n, type)) {
        int first, last, firstGroup, lastGroup;
        c->GetScope(first, last, firstGroup, lastGroup);
        c->SetScope(value, last, firstGroup, lastGroup);
    }
}

void SRGraph::SetComponentMaxIndex(int n, int value, int type) {
    if (SRGraphComponent* c = FindComponent(n, type)) {
        int first, last, firstGroup, lastGroup;
        c->GetScope(first, last, firstGroup, lastGroup);
        c->SetScope(first, value, firstGroup, lastGroup);
    }
}

void SRGraph::SetComponentMinGroup(int n, int value, int type) {
    if (SRGraphComponent* c = FindComponent(n, type)) {
        int first, last, firstGroup, lastGroup;
        c->GetScope(first, last, firstGroup, lastGroup);
        c->SetScope(first, last, value, lastGroup);
    }
}

void SRGraph::SetComponentMaxGroup(int n, int value, int type) {
    if (SRGraphComponent* c = FindComponent(n, type)) {
        int first, last, firstGroup, lastGroup;
        c->GetScope(first, last, firstGroup, lastGroup);
        c->SetScope(first, last, firstGroup, value);
    }
}

void SRGraph::InvalidateAll() {
    if (m_bAllInvalidated) {
        return;
    }
    m_bAllInvalidated = TRUE;
    for (POSITION pos = m_components.GetHeadPosition(); pos;) {
        static_cast<SRGraphComponent*>(m_components.GetNext(pos))->SetChanged(TRUE);
    }
}

void SRGraph::InvalidateComponents(CWnd* window, int mode, int extra) {
    m_nRedrawMode = mode;
    m_nRedrawExtra = extra;
    m_bPartialRedraw = TRUE;
    for (POSITION pos = m_components.GetHeadPosition(); pos;) {
        static_cast<SRGraphComponent*>(m_components.GetNext(pos))->Invalidate(window);
    }
}

void SRGraph::SetAnnotationKey(int key) {
    m_nAnnotationKey = key;
    InvalidateAll();
}

// ---- Groups and items

SRGraphDataList* SRGraph::NewGroup() {
    return new SRGraphDataList;
}

void SRGraph::DeleteGroups() {
    for (POSITION pos = m_groups.GetHeadPosition(); pos;) {
        delete m_groups.GetNext(pos);
    }
    m_groups.RemoveAll();
    m_posGroupCursor = nullptr;
    m_nGroupCursor = -1;
}

SRGraphDataList* SRGraph::GetGroup(int group, BOOL create) {
    if (group < 0) {
        ThrowSRGraphException(SRGE_GROUP_RANGE);
    }
    SRGraphDataList* list = nullptr;
    if (group >= m_groups.GetCount()) {
        if (!create) {
            ThrowSRGraphException(SRGE_GROUP_RANGE);
        }
        while (m_groups.GetCount() <= group) {
            // As an element: AddTail of a list would append its (no) elements.
            m_groups.AddTail(static_cast<CObject*>(NewGroup()));
        }
        m_nGroupCursor = group;
        m_posGroupCursor = m_groups.GetTailPosition();
        list = static_cast<SRGraphDataList*>(m_groups.GetTail());
    } else {
        list = static_cast<SRGraphDataList*>(m_groups.GetAt(SRGWalkTo(m_groups, group, m_nGroupCursor, m_posGroupCursor)));
    }
    if (m_bInDraw && list->GetStyle().HasOption(SRGO_HIDDEN_GROUP)) {
        ThrowSRGraphException(SRGE_GROUP_RANGE);
    }
    return list;
}

SRGraphDataList* SRGraph::GetNextGroup(POSITION& position) {
    return static_cast<SRGraphDataList*>(m_groups.GetNext(position));
}

SRGraphData* SRGraph::FindItem(int item, int group) {
    try {
        return GetGroup(group, FALSE)->GetItem(item, FALSE);
    } catch (SRGraphException* e) {
        const int code = e->m_nCode;
        if (code == SRGE_GROUP_RANGE || code == SRGE_INDEX_RANGE) {
            e->Delete();
            return &m_dummy;
        }
        throw;
    }
}

SRGraphData* SRGraph::GetItem(int item, int group) {
    return GetGroup(group, TRUE)->GetItem(item, TRUE);
}

double SRGraph::GetItemValue(int item, int group) {
    return GetItem(item, group)->GetValue(FALSE);
}

int SRGraph::GetGroupItemCount(int group, BOOL create) {
    return GetGroup(group, create)->GetItemCount();
}

void SRGraph::ShiftInValue(int group, double value, BOOL atHead) {
    GetGroup(group, TRUE)->ShiftInValue(value, atHead);
}

void SRGraph::SetItemValue(int item, int group, double value, BOOL applyDefaultStyle) {
    SRGraphData* data = GetItem(item, group);
    data->SetValue(value);
    if (applyDefaultStyle) {
        data->GetStyle() = m_defaultStyle;
    }
    m_bEmpty = FALSE;
}

void SRGraph::SetItemAnnotation(int item, int group, const CString& text) {
    GetItem(item, group)->SetAnnotationForKey(1, text);
    InvalidateAll();
}

void SRGraph::SetGroupAnnotation(int group, const CString& text, BOOL clearFirst) {
    SRGraphAnnotationList& annotations = GetGroup(group, TRUE)->GetAnnotations();
    if (clearFirst) {
        annotations.RemoveAll();
    }
    annotations.SetText(1, text);
    InvalidateAll();
}

const CString& SRGraph::GetGroupAnnotation(int group, int key) {
    return GetGroup(group, FALSE)->GetAnnotation(key);
}

const CString& SRGraph::GetItemAnnotation(int group, int item, int key) {
    if (m_groups.IsEmpty()) {
        m_strScratch.Empty();
        return m_strScratch;
    }
    return GetGroup(group, FALSE)->GetItem(item, FALSE)->GetAnnotation(key);
}

void SRGraph::ApplyStyleRange(int firstGroup, int lastGroup, int firstItem, int lastItem, const SRGraphStyle& style,
                              BOOL includeGroups) {
    const int groups = GetGroupCount();
    if (lastGroup == -1 || lastGroup >= groups) {
        lastGroup = groups - 1;
    }
    if (lastItem == -1) {
        lastItem = GetMaxItemCount() - 1;
    }
    firstGroup = firstGroup == -1 ? 0 : firstGroup;
    firstItem = firstItem == -1 ? 0 : firstItem;
    for (int g = firstGroup; g <= lastGroup; ++g) {
        try {
            SRGraphDataList* list = GetGroup(g, FALSE);
            if (includeGroups) {
                list->GetStyle() = style;
            }
            const int last = std::min(lastItem, list->GetItemCount() - 1);
            for (int i = firstItem; i <= last; ++i) {
                list->GetItem(i, FALSE)->GetStyle() = style;
            }
        } catch (SRGraphException* e) {
            if (e->m_nCode != SRGE_GROUP_RANGE && e->m_nCode != SRGE_INDEX_RANGE) {
                ReportSRGraphException(e);
            }
            e->Delete();
        }
    }
    InvalidateAll();
}

void SRGraph::ClearAll() {
    m_annotations.RemoveAll();
    DeleteGroups();
    DeleteComponents();
    for (POSITION pos = m_feedback.GetHeadPosition(); pos;) {
        delete m_feedback.GetNext(pos);
    }
    m_feedback.RemoveAll();
    m_bEmpty = TRUE;
}

// ---- Pens and palette

CPen* SRGraph::GetPen(int style, int width, COLORREF colour) {
    char16_t key[11];
    key[0] = static_cast<char16_t>(u'A' + style);
    key[1] = static_cast<char16_t>(u'A' + width);
    for (int i = 0; i < 8; ++i) {
        key[2 + i] = static_cast<char16_t>(u'A' + ((colour >> (4 * i)) & 0xF));
    }
    key[10] = 0;
    CObject* found = nullptr;
    if (m_pens.Lookup(key, found)) {
        return static_cast<CPen*>(found);
    }
    auto* pen = new CPen(style, width, colour);
    m_pens.SetAt(key, pen);
    return pen;
}

void SRGraph::CreateDefaultPalette(CPalette* palette) {
    if (!palette || palette->m_hObject) {
        return;
    }
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entries[256];
    } table{};
    table.version = 0x300;
    table.count = 256;
    for (int i = 0; i < 256; ++i) {
        table.entries[i].peRed = static_cast<BYTE>((i & 7) * 255 / 7);
        table.entries[i].peGreen = static_cast<BYTE>(((i >> 3) & 7) * 255 / 7);
        table.entries[i].peBlue = static_cast<BYTE>(((i >> 6) & 3) * 255 / 3);
        table.entries[i].peFlags = 0;
    }
    palette->CreatePalette(reinterpret_cast<LPLOGPALETTE>(&table));
}

// ---- Archive

void SRGraph::SerializeComponents(CArchive& ar) {
    if (ar.IsStoring()) {
        SRGWriteList(ar, m_components);
        return;
    }
    CObList loaded;
    try {
        SRGReadOwnedList(ar, loaded, RUNTIME_CLASS(SRGraphComponent));
    } catch (...) {
        for (POSITION pos = loaded.GetHeadPosition(); pos;) {
            AddComponent(static_cast<SRGraphComponent*>(loaded.GetNext(pos)));
        }
        throw;
    }
    for (POSITION pos = loaded.GetHeadPosition(); pos;) {
        AddComponent(static_cast<SRGraphComponent*>(loaded.GetNext(pos)));
    }
    m_bAllInvalidated = TRUE;
}

void SRGraph::Serialize(CArchive& ar) {
    SerializeComponents(ar);
    m_style.Serialize(ar);
    if (ar.IsLoading()) {
        m_annotations.RemoveAll();
    }
    m_annotations.Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_bOffscreen) << static_cast<LONG>(m_bEmpty) << static_cast<LONG>(m_nCurrentGroup)
           << static_cast<LONG>(m_groups.GetCount());
        for (POSITION pos = m_groups.GetHeadPosition(); pos;) {
            static_cast<SRGraphDataList*>(m_groups.GetNext(pos))->Serialize(ar);
        }
        ar << static_cast<LONG>(m_nAnnotationKey);
        return;
    }
    LONG offscreen = 0, empty = 0, current = 0, groups = 0, key = 0;
    ar >> offscreen >> empty >> current >> groups;
    m_bOffscreen = offscreen;
    m_bEmpty = empty;
    m_nCurrentGroup = current;
    DeleteGroups();
    for (LONG g = 0; g < groups; ++g) {
        SRGraphDataList* group = NewGroup();
        m_groups.AddTail(static_cast<CObject*>(group));
        group->Serialize(ar);
    }
    ar >> key;
    m_nAnnotationKey = key;
    m_bAllInvalidated = TRUE;
}
