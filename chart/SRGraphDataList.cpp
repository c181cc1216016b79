#include "chart/SRGraphDataList.h"

#include "chart/SRGraphDynamicData.h"
#include "chart/SRGraphException.h"

#include "platform/base/CArchive.h"

IMPLEMENT_SERIAL(SRGraphDataList, CObList, VERSIONABLE_SCHEMA | 1)

POSITION SRGWalkTo(const CObList& list, int index, int& cursorIndex, POSITION& cursorPosition) {
    if (index == 0 || cursorIndex < 0 || !cursorPosition) {
        cursorIndex = 0;
        cursorPosition = list.GetHeadPosition();
    }
    while (cursorIndex < index) {
        list.GetNext(cursorPosition);
        ++cursorIndex;
    }
    while (cursorIndex > index) {
        list.GetPrev(cursorPosition);
        --cursorIndex;
    }
    return cursorPosition;
}

SRGraphDataList::SRGraphDataList() {
    m_style.SetKind(2);
}

SRGraphDataList::~SRGraphDataList() {
    DeleteItems();
}

void SRGraphDataList::DeleteItems() {
    for (POSITION pos = GetHeadPosition(); pos;) {
        delete GetNext(pos);
    }
    RemoveAll();
    ForgetCursor();
}

SRGraphDynamicData* SRGraphDataList::GetBuffer() {
    if (IsEmpty()) {
        return nullptr;
    }
    return dynamic_cast<SRGraphDynamicData*>(GetHead());
}

int SRGraphDataList::GetItemCount() {
    if (!m_bDynamic) {
        return static_cast<int>(GetCount());
    }
    SRGraphDynamicData* buffer = GetBuffer();
    if (!buffer) {
        ThrowSRGraphException(SRGE_NO_BUFFER);
    }
    return static_cast<int>(buffer->GetSize());
}

SRGraphData* SRGraphDataList::CreateItem() {
    return new SRGraphData;
}

SRGraphData* SRGraphDataList::GetItem(int index, BOOL create) {
    if (m_bDynamic) {
        SRGraphDynamicData* buffer = GetBuffer();
        if (!buffer) {
            ThrowSRGraphException(SRGE_NO_BUFFER);
        }
        if (index < 0 || static_cast<UINT>(index) >= buffer->GetSize()) {
            return &SRGGlobalDummyData();
        }
        buffer->SetReadPosition(static_cast<UINT>(index));
        buffer->SetWritePosition(static_cast<UINT>(index));
        return buffer;
    }
    if (index < 0) {
        ThrowSRGraphException(SRGE_INDEX_RANGE);
    }
    if (index >= GetCount()) {
        if (!create) {
            ThrowSRGraphException(SRGE_INDEX_RANGE);
        }
        while (GetCount() <= index) {
            AddTail(CreateItem());
        }
        m_nCursor = index;
        m_posCursor = GetTailPosition();
        return static_cast<SRGraphData*>(GetTail());
    }
    return static_cast<SRGraphData*>(GetAt(SRGWalkTo(*this, index, m_nCursor, m_posCursor)));
}

POSITION SRGraphDataList::SetItem(SRGraphData* item, int index) {
    ForgetCursor();
    if (index == -2) {
        return AddHead(item);
    }
    if (index >= 0 && index < GetCount()) {
        POSITION pos = FindIndex(index);
        delete GetAt(pos);
        SetAt(pos, item);
        return pos;
    }
    if (index > 0) {
        GetItem(index - 1, TRUE);
        ForgetCursor();
    }
    return AddTail(item);
}

void SRGraphDataList::ShiftInValue(double value, BOOL atHead) {
    if (m_bDynamic) {
        if (SRGraphDynamicData* buffer = GetBuffer()) {
            buffer->ShiftIn(value, atHead);
        }
        return;
    }
    if (IsEmpty()) {
        return; // no item to move
    }
    ForgetCursor();
    if (atHead) {
        auto* item = static_cast<SRGraphData*>(RemoveTail());
        item->SetValue(value);
        AddHead(item);
    } else {
        auto* item = static_cast<SRGraphData*>(RemoveHead());
        item->SetValue(value);
        AddTail(item);
    }
}

void SRGraphDataList::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        SRGWriteList(ar, *this);
        m_annotations.Serialize(ar);
        m_style.Serialize(ar);
        ar << static_cast<LONG>(m_bDynamic);
        return;
    }
    DeleteItems();
    m_annotations.RemoveAll();
    SRGReadOwnedList(ar, *this, RUNTIME_CLASS(SRGraphData));
    m_annotations.Serialize(ar);
    m_style.Serialize(ar);
    LONG dynamic = 0;
    ar >> dynamic;
    m_bDynamic = dynamic;
}
