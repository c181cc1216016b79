// A group of the chart's data: an ordered list of owned items with a style and annotations of its own. A
// dynamic group holds one SRGraphDynamicData whose cells stand for its items.
#pragma once

#include "chart/SRGraphAnnotation.h"
#include "chart/SRGraphStyle.h"

class SRGraphData;

class SRGraphDataList : public CObList {
    DECLARE_SERIAL(SRGraphDataList)

public:
    SRGraphDataList();
    ~SRGraphDataList() override;

    // Dynamic: the size of the first item's buffer (code 6 when there is none).
    virtual int GetItemCount();
    virtual SRGraphData* CreateItem();
    // Takes the item: -2 puts it first, -1 last; an index below the count replaces (and deletes) the item
    // there; a larger one pads the group with new items first.
    virtual POSITION SetItem(SRGraphData* item, int index);
    // Ordinary: the tail item moves to the head (at head) or the head to the tail, taking the value.
    // Dynamic: the buffer's shift-in.
    virtual void ShiftInValue(double value, BOOL atHead);
    virtual SRGraphAnnotationList& GetAnnotations() { return m_annotations; }
    virtual SRGraphStyle& GetStyle() { return m_style; }
    virtual void SetDynamic(BOOL dynamic) { m_bDynamic = dynamic; }
    virtual const CString& GetAnnotation(int key) { return m_annotations.GetText(key); }
    // Code 3 for a missing item without create; a dynamic group answers its buffer item positioned at the
    // cell, or the program-wide dummy for a cell out of range.
    virtual SRGraphData* GetItem(int index, BOOL create);
    virtual BOOL IsDynamic() const { return m_bDynamic; }

    // Deletes every item.
    void DeleteItems();
    void Serialize(CArchive& ar) override;

private:
    class SRGraphDynamicData* GetBuffer();
    void ForgetCursor() {
        m_nCursor = -1;
        m_posCursor = nullptr;
    }

    SRGraphStyle m_style;
    SRGraphAnnotationList m_annotations;
    int m_nCursor = -1;
    POSITION m_posCursor = nullptr;
    BOOL m_bDynamic = FALSE;
};

// Walks an owned list from a cursor to an index (the cursor's neighbours one step, else from the cursor one
// element at a time; index 0 or no cursor from the head). The list must hold the index.
POSITION SRGWalkTo(const CObList& list, int index, int& cursorIndex, POSITION& cursorPosition);
