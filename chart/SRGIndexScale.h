// A scale with one label per item of its scope, the items' annotations as texts, in coarser steps when the
// labels would not fit; the group scale labels groups the same way.
#pragma once

#include "chart/SRGDecimalScale.h"

class SRGIndexScale : public SRGDecimalScale {
    DECLARE_SERIAL(SRGIndexScale)

public:
    SRGIndexScale();

    void Serialize(CArchive& ar) override;
    void BuildLabels() override;

    virtual int GetEdgeLabels() const { return m_bEdgeLabels; }
    virtual void SetEdgeLabels(int edge) { m_bEdgeLabels = edge; }

    // The step for a count of entries of which `fit` labels fit (a given step above 0 stays, truncated).
    static int ChooseStep(int count, int fit, double given);

protected:
    // The build over entries first..first + count - 1; `fitLine` is the length the fitting counts against
    // (0: the working line's).
    void BuildEntries(int first, int count, double fitLine, bool groups, int itemGroup);
    // The text of entry `index`: an item's annotation in the group, or a group's.
    CString EntryText(int index, bool groups, int itemGroup);

    BOOL m_bEdgeLabels = FALSE;
};

class SRGGroupScale : public SRGIndexScale {
    DECLARE_SERIAL(SRGGroupScale)

public:
    SRGGroupScale();
    void BuildLabels() override;
};
