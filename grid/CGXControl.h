// The base of every cell control: one object per control id and grid, bound to the current cell while that
// cell is shown, edited, validated and stored. The grid reaches cell contents only through these virtual
// operations; the defaults are those a windowless, read-only control can live with.
#pragma once

#include "grid/GridDefs.h"
#include "platform/base/CRect.h"
#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"
#include "platform/base/WindowTypes.h"

#include <memory>

class CDC;
class CGXGridCore;
class CGXStyle;
class CWnd;

class CGXControl {
public:
    explicit CGXControl(CGXGridCore* grid);
    virtual ~CGXControl();
    CGXControl(const CGXControl&) = delete;
    CGXControl& operator=(const CGXControl&) = delete;

    CGXGridCore* Grid() const { return m_pGrid; }
    CWnd* GetGridWnd() const;
    BOOL IsBoundTo(ROWCOL row, ROWCOL col) const { return m_bBound && m_nRow == row && m_nCol == col; }
    BOOL IsBound() const { return m_bBound; }
    ROWCOL BoundRow() const { return m_nRow; }
    ROWCOL BoundCol() const { return m_nCol; }
    // The bound cell's composed style, copied on first use.
    const CGXStyle& GetCachedStyle();
    void FreeStyle(BOOL resetGridCache);
    // A window-based control's window lost the focus: the grid hears of it unless the focus went to the grid
    // or a control is moving it.
    void ForwardKillFocus(CWnd* newFocus);
    void ExcludeRectFromPaint(const RECT& rect);

    virtual CWnd* GetCellWindow() { return nullptr; }
    virtual void SetActive(BOOL) {}
    virtual BOOL IsActive() { return FALSE; }
    virtual void SetModified(BOOL) {}
    virtual BOOL IsModified() { return FALSE; }
    virtual void InitCell(ROWCOL row, ROWCOL col);
    virtual void ResetCell();
    virtual BOOL StoreValue() { return FALSE; }
    virtual BOOL ValidateValue();
    virtual BOOL AskStartEdit();
    virtual BOOL ReportEditEnded();
    virtual BOOL ReportCellLeft(ROWCOL newRow, ROWCOL newCol);
    virtual BOOL AskCancelEdit();
    virtual void ReportEditCancelled();
    virtual void GetEditText(CString& text);
    virtual void SetEditText(const CString& text);
    // The control's value: FALSE when unbound or the cell has none.
    virtual BOOL GetCellValue(CString& text);
    // The bound cell's value as the control shows it (null: the stored value).
    virtual void SetCellValue(LPCTSTR text);
    // Tells the grid of a change of the text; FALSE when nothing is modified.
    virtual BOOL ReportModified();
    // The value as the cell shows it: formatted by the style's format. FALSE without a value.
    virtual BOOL ValueToDisplayText(CString& out, ROWCOL row, ROWCOL col, LPCTSTR value,
                                    const CGXStyle& style);
    // The text area of the cell (its rectangle grown to its covered range when none is given), inside its
    // borders and grid lines.
    virtual CRect& GetInnerRect(CRect& rect, ROWCOL row, ROWCOL col, const RECT* cellRect = nullptr,
                                const CGXStyle* style = nullptr);
    // Read-only while the grid protects its data and the grid or the cell is read-only.
    virtual BOOL IsReadOnly();
    // A text about to be typed or pasted; FALSE refuses it.
    virtual BOOL CheckTypedText(const CString&) { return TRUE; }
    virtual BOOL CheckPastedText(const CString&) { return TRUE; }
    // Told of a typed text that CheckTypedText refused.
    virtual void ReservedHook(const CString&) {}
    virtual void ReplaceSelection(const CString& text);
    // The edit text; FALSE as nothing is selected in a cell without an editor.
    virtual BOOL GetSelectedText(CString& text) {
        GetEditText(text);
        return FALSE;
    }
    virtual void Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
                      const CGXStyle* standardStyle);
    virtual void DrawCurrentCellFrame(CDC* dc, const RECT& rect);
    // Fills the cell with its interior when asked to erase or when the grid leaves the background to the
    // cell (its neighbours differ).
    virtual void DrawBackground(CDC* dc, const RECT& rect, const CGXStyle& style, BOOL erase);
    virtual void Hide() {}
    virtual void RedrawCell();
    virtual BOOL MouseMove(UINT flags, POINT point, UINT hitState);
    // The pointer over a cell that is not pressed (only when the grid offers it).
    virtual BOOL MouseMoveOver(ROWCOL row, ROWCOL col, UINT flags, POINT point);
    virtual BOOL LButtonDown(UINT flags, POINT point, UINT hitState);
    virtual BOOL LButtonUp(UINT flags, POINT point, UINT hitState);
    virtual BOOL LButtonDblClk(UINT flags, POINT point);
    virtual BOOL MButtonDown(UINT flags, POINT point, UINT hitState);
    virtual BOOL MButtonUp(UINT flags, POINT point, UINT hitState);
    virtual BOOL MButtonDblClk(UINT flags, POINT point);
    virtual BOOL RButtonDown(UINT flags, POINT point, UINT hitState);
    virtual BOOL RButtonUp(UINT flags, POINT point, UINT hitState);
    virtual BOOL RButtonDblClk(UINT flags, POINT point);
    // Dispatches a key message to the key operations below.
    virtual BOOL KeyMessage(UINT message, WPARAM key, UINT repeat, UINT flags);
    virtual BOOL KeyDown(UINT, UINT, UINT) { return FALSE; }
    virtual BOOL KeyUp(UINT, UINT, UINT) { return FALSE; }
    virtual BOOL CharTyped(UINT, UINT, UINT) { return FALSE; }
    virtual BOOL TextTyped(const CString&, UINT, UINT) { return FALSE; }
    virtual BOOL DeadChar(UINT, UINT, UINT) { return FALSE; }
    virtual BOOL SysKeyDown(UINT, UINT, UINT) { return FALSE; }
    virtual BOOL SysKeyUp(UINT, UINT, UINT) { return FALSE; }
    virtual BOOL SysChar(UINT, UINT, UINT) { return FALSE; }
    virtual BOOL SysDeadChar(UINT, UINT, UINT) { return FALSE; }
    virtual BOOL HandleCommand(WPARAM, LPARAM) { return FALSE; }
    virtual void CancelMode() {}

protected:
    CGXGridCore* m_pGrid;
    ROWCOL m_nRow = kGridNoRowCol;
    ROWCOL m_nCol = kGridNoRowCol;
    BOOL m_bBound = FALSE;
    std::unique_ptr<CGXStyle> m_pStyle;
    BOOL m_bPendingLead = FALSE;
    WCHAR m_storedUnit = 0;
};

// Joins a typed character to a pending lead surrogate: TRUE when the text holds both.
BOOL CharToText(WCHAR character, CString& text, BOOL& pendingLead, WCHAR storedUnit);
