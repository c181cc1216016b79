// Small helpers the features lean on: the selection as a list, the current cell's text, the unsuccessful
// search's beep.
#include "grid/CGXControl.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXRangeList.h"
#include "platform/display/MessageBox.h"

BOOL CGXGridCore::GetSelectedRangeList(CGXRangeList& list, BOOL addCurrentCell) {
    list.DeleteAll();
    if (m_pParam) {
        const CGXRangeList& selected = m_pParam->m_selectedRanges;
        for (POSITION pos = selected.GetHeadPosition(); pos;) {
            list.AddRange(new CGXRange(*selected.GetNextRange(pos)));
        }
    }
    ROWCOL row = 0;
    ROWCOL col = 0;
    if (list.IsEmpty() && addCurrentCell && GetCurrentCell(row, col)) {
        list.AddRange(new CGXRange(row, col, row, col));
    }
    return !list.IsEmpty();
}

BOOL CGXGridCore::IsCellInRangeList(ROWCOL row, ROWCOL col, const CGXRangeList& list) {
    return list.ContainsCell(row, col);
}

void CGXGridCore::GetCurrentCellText(CString& text) {
    text.Empty();
    ROWCOL row = 0;
    ROWCOL col = 0;
    if (GetCurrentCell(row, col)) {
        if (CGXControl* control = GetControlRowCol(row, col)) {
            control->GetSelectedText(text);
        }
    }
}

void CGXGridCore::OnTextNotFound(LPCTSTR) {
    ::MessageBeep(0);
}
