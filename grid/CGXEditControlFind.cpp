// Find and replace in an edit cell: the edited cell is searched in its window, from the selection on;
// any other cell in its display text.
#include "grid/CGXEditControl.h"

#include "grid/CGXFindReplaceInfo.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXStyle.h"
#include "platform/display/WindowMessages.h"

#include <algorithm>

namespace {

// What the search compares: the text itself, or upper-cased as the prepared search text is.
CString Comparable(const CString& text, const CGXFindReplaceInfo& info) {
    CString comparable = text;
    if (!info.m_bCase) {
        comparable.MakeUpper();
    }
    return comparable;
}

} // namespace

CString CGXEditControl::SearchedText(const CGXFindReplaceInfo& info, ROWCOL row, ROWCOL col) {
    CString text;
    if (IsBoundTo(row, col) && m_bActive && GetSafeHwnd()) {
        GetWindowText(text);
        return text;
    }
    CGXStyle* scratch = nullptr;
    const CGXStyle* style = info.m_pStyle;
    if (!style) {
        scratch = m_pGrid->CreateStyle();
        m_pGrid->ComposeStyleRowCol(row, col, *scratch, TRUE);
        style = scratch;
    }
    ValueToDisplayText(text, row, col, nullptr, *style);
    if (scratch) {
        m_pGrid->RecycleStyle(scratch);
    }
    return text;
}

BOOL CGXEditControl::FindText(const CGXFindReplaceInfo& info, ROWCOL row, ROWCOL col, BOOL fromStart,
                              BOOL select) {
    const CString& pattern = info.m_strCompare;
    // An empty pattern would be found everywhere.
    if (pattern.IsEmpty()) {
        return FALSE;
    }
    const CString text = Comparable(SearchedText(info, row, col), info);
    if (IsBoundTo(row, col) && m_bActive && GetSafeHwnd()) {
        int start = 0;
        int end = 0;
        GetSel(start, end);
        // Searching again goes past the hit that is selected now.
        const int from = std::clamp(std::min(start, end), 0, text.GetLength()) + (fromStart ? 0 : 1);
        const int hit = text.Find(pattern, from);
        if (hit < 0) {
            return FALSE;
        }
        if (select) {
            m_pGrid->ScrollCellInView(row, col, 2, FALSE);
            SetSel(hit, hit + pattern.GetLength());
            SendMessage(EM_SCROLLCARET);
        }
        return TRUE;
    }
    if (text.Find(pattern) < 0) {
        return FALSE;
    }
    if (select) {
        m_pGrid->ScrollCellInView(row, col, 2, FALSE);
        // The grid binds the cell's control on moving there; only then can this one select the hit.
        if (m_pGrid->SetCurrentCell(row, col, 36) && IsBoundTo(row, col)) {
            SetActive(TRUE);
            FindText(info, row, col, TRUE, TRUE);
            RedrawCell();
        }
    }
    return TRUE;
}

BOOL CGXEditControl::ReplaceAll(const CGXFindReplaceInfo& info, ROWCOL row, ROWCOL col) {
    const CString& pattern = info.m_strCompare;
    if (pattern.IsEmpty()) {
        return FALSE;
    }
    const CString text = SearchedText(info, row, col);
    const CString searched = Comparable(text, info);
    int from = 0;
    const CGXStyle* style = info.m_pStyle;
    if (IsBoundTo(row, col) && m_bActive && GetSafeHwnd()) {
        int start = 0;
        int end = 0;
        GetSel(start, end);
        from = std::clamp(std::min(start, end), 0, text.GetLength());
        style = &GetCachedStyle();
    }
    // Built in a string that grows: a result of any length is stored whole.
    CString result = text.Left(from);
    int position = from;
    BOOL replaced = FALSE;
    for (int hit = searched.Find(pattern, position); hit >= 0; hit = searched.Find(pattern, position)) {
        result += text.Mid(position, hit - position);
        result += info.m_strReplace;
        position = hit + pattern.GetLength();
        replaced = TRUE;
    }
    if (!replaced) {
        return FALSE;
    }
    result += text.Mid(position);
    const BOOL edited = IsBoundTo(row, col) && m_bActive && GetSafeHwnd();
    // A cell that refuses the text (read-only) has had nothing replaced.
    if (!m_pGrid->SetControlTextRowCol(row, col, result, 2, style)) {
        return FALSE;
    }
    // The edit shows what was stored; its old text would otherwise be stored again on leaving the cell.
    if (edited && IsBoundTo(row, col) && m_bActive) {
        SetCellValue(m_pGrid->GetStoredValueRowCol(row, col));
        SetModified(FALSE);
    }
    return TRUE;
}
