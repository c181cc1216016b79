#include "grid_features/CGXDelayedRange.h"

#include "platform/base/CArchive.h"
#include "platform/base/Exceptions.h"

#include <new>

IMPLEMENT_SERIAL(CGXDelayedRange, CObject, 1)

void CGXDelayedRange::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        WriteRangeToArchive(ar, m_Range);
        m_StartRows.Serialize(ar);
        m_EndRows.Serialize(ar);
        return;
    }
    ReadRangeFromArchive(ar, m_Range);
    m_StartRows.Serialize(ar);
    m_EndRows.Serialize(ar);
    m_bDone = FALSE;
    if (m_StartRows.GetSize() != m_EndRows.GetSize()) {
        AfxThrowArchiveException(CArchiveException::badIndex);
    }
}

CGXDelayedRange& CGXDelayedRange::Assign(const CGXDelayedRange& other) {
    m_bDone = other.m_bDone;
    m_Range = other.m_Range;
    m_StartRows.Append(other.m_StartRows);
    m_EndRows.Append(other.m_EndRows);
    return *this;
}

void CGXDelayedRange::Reset() {
    m_StartRows.RemoveAll();
    m_EndRows.RemoveAll();
    m_bDone = TRUE;
}

BOOL CGXDelayedRange::MarkEvaluated(CGXRange& range) {
    INT_PTR k = 0;
    bool changed = false;
    for (; k < m_StartRows.GetSize() && !changed; ++k) {
        const DWORD start = m_StartRows[k];
        const DWORD end = m_EndRows[k];
        if (end + 1 < range.top) {
            continue;
        }
        if (start > range.bottom + 1) {
            break;
        }
        if (start <= range.top && end >= range.bottom) {
            return FALSE;
        }
        if (start <= range.top) {
            m_EndRows[k] = range.bottom;
            range.top = end + 1;
        } else if (end >= range.bottom) {
            m_StartRows[k] = range.top;
            range.bottom = start - 1;
        } else {
            m_StartRows[k] = range.top;
            m_EndRows[k] = range.bottom;
        }
        changed = true;
    }
    if (!changed) {
        try {
            m_StartRows.InsertAt(k, range.top);
            m_EndRows.InsertAt(k, range.bottom);
        } catch (CMemoryException* e) {
            e->Delete();
            Reset();
        } catch (const std::bad_alloc&) {
            Reset();
        }
    }
    // Join overlapping neighbours; the joined interval takes the later one's end.
    for (INT_PTR i = 1; i < m_StartRows.GetSize(); ++i) {
        if (m_EndRows[i - 1] >= m_StartRows[i]) {
            m_EndRows[i - 1] = m_EndRows[i];
            m_StartRows.RemoveAt(i);
            m_EndRows.RemoveAt(i);
        }
    }
    if (m_StartRows.GetSize() == 1 && m_StartRows[0] == m_Range.top && m_EndRows[0] >= m_Range.bottom) {
        Reset();
    }
    return TRUE;
}
