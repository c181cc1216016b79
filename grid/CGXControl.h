// The base of every cell control: one object per control id and grid, bound to the current cell while that
// cell is shown, edited, validated and stored. The grid reaches cell contents only through these virtual
// operations; the defaults are those a windowless, read-only control can live with.
//
// The edit cycle the grid drives, in this order: InitCell (bind), AskStartEdit and SetActive (start),
// ValidateValue, StoreValue, ReportEditEnded or AskCancelEdit/ReportEditCancelled, ReportCellLeft and
// ResetCell (leave). Each step asks the grid's hook of the same name.
#pragma once

#include "grid/GridDefs.h"
#include "platform/base/CRect.h"
#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"
#include "platform/base/WindowTypes.h"

#include <memory>
#include <vector>

class CDC;
class CFont;
class CGXCellTipBase;
class CGXChild;
class CGXFindReplaceInfo;
class CGXGridCore;
class CGXStyle;
class CGXStylesMap;
class CWnd;
struct CRuntimeClass;
enum class GridButton;

// One static record per control class: its name and its base class's record.
struct ControlTypeRecord {
    const char* name;
    const ControlTypeRecord* base;
};

// User attributes every control reads: the bounds a typed value is validated against and the warning shown
// when it is outside them.
enum GXControlUserAttribute : WORD {
    kAttrValidMin = 51011,
    kAttrValidMax = 51012,
    kAttrValidWarning = 51013,
    kAttrEllipsisKind = 52792,
};

class CGXControl {
public:
    static const ControlTypeRecord kTypeRecord;

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
    // Whether the control's class is the record's or derives from it (same record or same name).
    BOOL IsControlTypeOf(const ControlTypeRecord& record) const;
    // Whether the control has a window of that class.
    BOOL IsWindowKindOf(const CRuntimeClass* windowClass);
    // Selects the style's font into the dc (nothing when it is the standard one); the font selected before.
    CFont* SelectCellFont(CDC* dc, const CGXStyle& style, const CGXStyle* standardStyle);
    // A window-based control keeps the next memory-DC paint of the grid off its visible window.
    void ExcludeRectFromPaint(const RECT& rect);
    // A window-based control's WM_KILLFOCUS: the grid hears of focus leaving for another window.
    void ForwardKillFocus(CWnd* newFocus);
    static void RegisterUserAttributes(CGXStylesMap* stylesMap);
    // The owner of the controls that show static text gives them their cell tip.
    void SetCellTip(CGXCellTipBase* tip);
    CGXCellTipBase* GetCellTip() const { return m_pCellTip.get(); }

    virtual const ControlTypeRecord& GetTypeRecord() const { return kTypeRecord; }
    virtual CRuntimeClass* GetWindowRuntimeClass() { return nullptr; }
    virtual CWnd* GetCellWindow() { return nullptr; }
    virtual void SetActive(BOOL) {}
    virtual BOOL IsActive() { return FALSE; }
    virtual void SetModified(BOOL) {}
    virtual BOOL IsModified() { return FALSE; }

    // ---- The edit cycle
    virtual void InitCell(ROWCOL row, ROWCOL col);
    virtual void ResetCell();
    virtual BOOL StoreValue() { return FALSE; }
    virtual BOOL ValidateValue();
    virtual BOOL AskStartEdit();
    virtual BOOL ReportModified();
    virtual BOOL AskCancelEdit();
    virtual void ReportEditCancelled();
    virtual BOOL ReportEditEnded();
    virtual BOOL ReportCellLeft(ROWCOL newRow, ROWCOL newCol);
    virtual BOOL AskClearCell();

    // ---- Geometry and drawing
    // The cell's rectangle (grown by its covered range when none is given) inside its borders and lines.
    virtual CRect GetInnerRect(ROWCOL row, ROWCOL col, const RECT* cellRect = nullptr,
                               const CGXStyle* style = nullptr);
    virtual CSize AddBorderSize(int width, int height, const CGXStyle& style);
    virtual CSize CalcCellSize(CDC* dc, ROWCOL row, ROWCOL col, const CGXStyle& style, const CGXStyle* standard,
                               BOOL widthOnly, int extra);
    virtual BOOL CanFloatCell(ROWCOL row, ROWCOL col, const CGXStyle& style, BOOL floatCell);
    virtual BOOL CanMergeCell(ROWCOL row, ROWCOL col, const CGXStyle& style, int direction);
    virtual void DrawCurrentCellFrame(CDC* dc, const RECT& rect);
    // Draws the children; the controls draw their content first.
    virtual void Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
                      const CGXStyle* standardStyle);
    // Fills the cell with its interior when asked to erase or when the grid leaves the background to the
    // cell (its neighbours differ); then its 3-D frame.
    virtual void DrawBackground(CDC* dc, const RECT& rect, const CGXStyle& style, BOOL erase);
    virtual void DrawFrame3d(CDC* dc, const RECT& rect, const CGXStyle& style);
    // The background and 3D frame a static cell of the grid shows; the grid draws them itself for a cell
    // without any control.
    static void DrawCellBackground(CGXGridCore* grid, CDC* dc, const RECT& rect, const CGXStyle& style,
                                   BOOL erase);
    static void DrawCellFrame3d(CGXGridCore* grid, CDC* dc, const RECT& rect, const CGXStyle& style);
    virtual void Hide() {}
    virtual void RedrawCell();

    // ---- Values and texts
    virtual void GetEditText(CString& text);
    virtual void SetEditText(const CString& text);
    virtual BOOL GetCellValue(CString& text);
    virtual void SetCellValue(const CString& text);
    // The value (the style's own when null) as the user sees it; FALSE when there is none.
    virtual BOOL ValueToDisplayText(CString& out, ROWCOL row, ROWCOL col, LPCTSTR value, const CGXStyle& style);
    // Stores a text the user typed or pasted as the cell's value.
    virtual BOOL StoreDisplayText(ROWCOL row, ROWCOL col, const CString& text, UINT flags,
                                  const CGXStyle* style = nullptr);
    virtual BOOL DisplayTextToValue(CString&, ROWCOL, ROWCOL, const CGXStyle&) { return TRUE; }
    virtual BOOL StoreStyle(ROWCOL row, ROWCOL col, const CGXStyle* style, int mode, int kind,
                            const CGXStyle* cellStyle = nullptr);
    virtual BOOL CopyValueToStyle(ROWCOL row, ROWCOL col, CGXStyle& style);
    // Line `index` of a choice list; FALSE and an empty text past its end.
    virtual BOOL GetChoiceEntry(CString& out, LPCTSTR choices, int index);
    // A line equal to the text (ignoring case) wins; else, unless exact, the first that begins with it.
    virtual int FindChoiceEntry(CString& out, const CString& text, LPCTSTR choices, BOOL exact);
    virtual void ValueFromStyle(ROWCOL row, ROWCOL col, int flag, const CGXStyle& style, CString& out);
    // The edit text; FALSE as nothing is selected in a cell without an editor.
    virtual BOOL GetSelectedText(CString& text) {
        GetEditText(text);
        return FALSE;
    }
    virtual void ReplaceSelection(const CString& text);
    // Find and replace in the cell's text; a control without a text of its own finds nothing.
    virtual BOOL FindText(const CGXFindReplaceInfo&, ROWCOL, ROWCOL, BOOL /*fromStart*/, BOOL /*select*/) {
        return FALSE;
    }
    virtual BOOL ReplaceAll(const CGXFindReplaceInfo&, ROWCOL, ROWCOL) { return FALSE; }
    virtual BOOL IsReadOnly();
    // Active: the selected text goes to the clipboard as text (the caller empties it first). Inactive: the
    // grid copies or cuts the cell.
    virtual BOOL Copy();
    virtual BOOL Cut();
    // Text from the clipboard replaces the selection of an active, writable control.
    virtual BOOL Paste();
    virtual BOOL CanCopy() { return m_bBound; }
    virtual BOOL CanCut();
    virtual BOOL CanPaste();
    virtual BOOL CheckTypedText(const CString&) { return TRUE; }
    virtual BOOL CheckPastedText(const CString&) { return TRUE; }
    virtual BOOL IsHeaderMarked(ROWCOL row, ROWCOL col, const CGXStyle& style);

    // ---- Mouse: each lays the children out first and routes to the child under the point.
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

    // ---- Keys: the active child first, then the key operations below.
    // The grid offers each message it pre-translates here first; TRUE consumes it.
    virtual BOOL ReservedQuery(MSG*) { return FALSE; }
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
    // Before the grid scrolls (WM_VSCROLL or WM_HSCROLL): an active cell whose spanned range straddles
    // the frozen rows or columns would be split, so it stores its value and deactivates.
    virtual void CheckGridScroll(const MSG& msg);
    virtual void WinIniChanged(LPCTSTR section);
    virtual void SysColorChanged();
    virtual void CancelMode();
    // A child window of the cell asks for its colours; null leaves them to the grid.
    virtual HBRUSH HandleCtlColor(CDC*, CWnd*, UINT) { return nullptr; }
    // The grid window is clicked while inactive; TRUE with `result` set answers the activation.
    virtual BOOL MouseActivate(CWnd*, UINT, UINT, int&) { return FALSE; }

    // ---- Children and cell tips
    // A child of the control was clicked: the grid's OnClickedButtonRowCol.
    virtual void ChildClicked(CGXChild* child);
    virtual BOOL NeedsCellTip(ROWCOL row, ROWCOL col, const CGXStyle& style);
    virtual int GetCellTipKind(ROWCOL row, ROWCOL col, const CGXStyle& style);
    virtual void InitCellTip(ROWCOL row, ROWCOL col, const CGXStyle& style, CWnd* tipWindow);
    // The control owns the child from now on.
    virtual void AddChild(CGXChild* child);
    virtual CGXChild* GetChild(int index);
    virtual int GetChildCount() { return static_cast<int>(m_children.size()); }
    virtual CGXChild* GetActiveChild() { return m_pActiveChild; }
    virtual void SetActiveChild(CGXChild* child) { m_pActiveChild = child; }
    // Controls with children set their rectangles here.
    virtual void PlaceChildren(ROWCOL, ROWCOL, const RECT&) {}

protected:
    // The bound cell's inner rectangle with the children laid out in it.
    CRect PlaceChildrenOfBoundCell();
    CGXChild* ChildAt(POINT point);
    BOOL ButtonDown(GridButton button, UINT flags, POINT point);
    BOOL ButtonUp(GridButton button, UINT flags, POINT point);
    BOOL ButtonDblClk(GridButton button, UINT flags, POINT point);
    // Whether a paste may go into the cell at all (bound, active and writable).
    BOOL MayPaste();
    // Black-and-white printing: the properties' printing and its black-and-white setting.
    BOOL IsBlackAndWhitePrinting() const;
    static BOOL IsBlackAndWhitePrinting(CGXGridCore* grid);

    CGXGridCore* m_pGrid;
    ROWCOL m_nRow = kGridNoRowCol;
    ROWCOL m_nCol = kGridNoRowCol;
    BOOL m_bBound = FALSE;
    std::unique_ptr<CGXStyle> m_pStyle;
    std::vector<std::unique_ptr<CGXChild>> m_children;
    CGXChild* m_pActiveChild = nullptr;
    BOOL m_bPendingLead = FALSE;
    WCHAR m_storedUnit = 0;
    std::unique_ptr<CGXCellTipBase> m_pCellTip;
};

// Joins a typed character to a pending lead surrogate: TRUE when the text holds both.
BOOL CharToText(WCHAR character, CString& text, BOOL& pendingLead, WCHAR storedUnit);
