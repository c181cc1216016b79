// An area whose spans still have to be evaluated, with the rows of it that have been evaluated already
// (intervals StartRows[k]..EndRows[k], in increasing order). A range whose rows are all evaluated is done:
// its slot in the pool is free.
#pragma once

#include "grid/CGXRange.h"
#include "platform/base/CArrays.h"

class CGXDelayedRange : public CObject {
    DECLARE_SERIAL(CGXDelayedRange)
public:
    CGXDelayedRange() = default;
    explicit CGXDelayedRange(const CGXRange& range) : m_Range(range) {}
    CGXDelayedRange(const CGXDelayedRange&) = delete;
    CGXDelayedRange& operator=(const CGXDelayedRange&) = delete;

    // The range, then the two interval arrays. Done is not stored: a range read back is pending. Reading
    // refuses interval arrays of different lengths.
    void Serialize(CArchive& ar) override;
    // Takes the other's range and done flag and appends its intervals (a copy when this one is new).
    virtual CGXDelayedRange& Assign(const CGXDelayedRange& other);

    // No intervals, and done.
    void Reset();
    // Records the rows range.top..range.bottom as evaluated and narrows the range to the rows this call
    // newly covered. FALSE when every row of it had been evaluated before.
    BOOL MarkEvaluated(CGXRange& range);

    CGXRange m_Range;
    CDWordArray m_EndRows;
    CDWordArray m_StartRows;
    BOOL m_bDone = FALSE;
};
