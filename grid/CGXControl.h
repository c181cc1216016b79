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
#include <vector>

class CDC;
class CFont;
class CGXChild;
class CGXGridCore;
class CGXStyle;
class CWnd;

// One per control class: its name and its base class's record, for IsControlTypeOf.
struct ControlTypeRecord {
    const char* name;
    const ControlTypeRecord* base;
};

class CGXControl {
public:
    explicit CGXControl(CGXGridCore* grid);
    virtual ~CGXControl();
    CGXControl(const CGXControl&) = delete;
    CGXControl& operator=(const CGXControl&) = delete;

    static const ControlTypeRecord kTypeRecord;

    CGXGridCore* Grid() const { return m_pGrid; }
    CWnd* GetGridWnd() const;
    BOOL IsBoundTo(ROWCOL row, ROWCOL col) const { return m_bBound && m_nRow == row && m_nCol == col; }
    BOOL IsBound() const { return m_bBound; }
    ROWCOL BoundRow() const { return m_nRow; }
    ROWCOL BoundCol() const { return m_nCol; }
    // The bound cell's composed style, copied on first use.
    const CGXStyle& GetCachedStyle();
    void FreeStyle(BOOL resetGridCache);

    virtual const ControlTypeRecord* GetTypeRecord() const { return &kTypeRecord; }
    // Whether the record is this control's or one of its bases' (same record or same name).
    BOOL IsControlTypeOf(const ControlTypeRecord* record) const;
    // Forwards to the grid's LoadFont; the font selected before.
    CFont* SelectCellFont(CDC* dc, const CGXStyle& style, const CGXStyle* standardStyle);

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
    // The cell rectangle (grown by its covered range when none is given) inside its borders and lines.
    virtual CRect GetInnerRect(ROWCOL row, ROWCOL col, const RECT* cellRect = nullptr,
                               const CGXStyle* style = nullptr);
    virtual CSize AddBorderSize(int width, int height, const CGXStyle& style);
    // The size the cell's content needs; the last two values are handed on to the size calculation.
    virtual CSize CalcCellSize(CDC* dc, ROWCOL row, ROWCOL col, const CGXStyle& style,
                               const CGXStyle* standardStyle, BOOL heightForWidth);
    // Turns a text typed or pasted for the cell into the value to store; FALSE refuses it.
    virtual BOOL DisplayTextToValue(CString& text, ROWCOL row, ROWCOL col, const CGXStyle* style);
    // Stores the style for the cell and brings the bound control in step with it.
    virtual BOOL StoreStyle(ROWCOL row, ROWCOL col, const CGXStyle* style, int mode, int kind,
                            const CGXStyle* cellStyle);
    virtual void GetEditText(CString& text);
    virtual void SetEditText(const CString& text);
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
    // A child (or the control itself, with null) was clicked: the grid hears of it.
    virtual void ChildClicked(CGXChild* child);
    virtual void SysColorChanged();
    // The read-only lock of the parameter applied to the grid and the cell.
    virtual BOOL IsReadOnly();
    virtual void CancelMode();

    // Child objects: the control owns them; the active child takes mouse and key input first.
    virtual void AddChild(CGXChild* child);
    virtual CGXChild* GetChild(int index) const;
    virtual int GetChildCount() const { return static_cast<int>(m_children.size()); }
    virtual CGXChild* GetActiveChild() const { return m_pActiveChild; }
    virtual void SetActiveChild(CGXChild* child) { m_pActiveChild = child; }
    // Sets the children's rectangles inside the cell's inner rectangle.
    virtual void PlaceChildren(ROWCOL, ROWCOL, const RECT&) {}
    // The raised (1) or inset (2) frame that the style's Draw3dFrame asks for.
    virtual void DrawFrame3d(CDC* dc, const RECT& rect, const CGXStyle& style);

protected:
    CGXGridCore* m_pGrid;
    ROWCOL m_nRow = kGridNoRowCol;
    ROWCOL m_nCol = kGridNoRowCol;
    BOOL m_bBound = FALSE;
    std::unique_ptr<CGXStyle> m_pStyle;
    BOOL m_bPendingLead = FALSE;
    WCHAR m_storedUnit = 0;
    std::vector<std::unique_ptr<CGXChild>> m_children;
    CGXChild* m_pActiveChild = nullptr;

    // The children laid out in the bound cell.
    void PlaceChildrenInBoundCell();
    CGXChild* ChildAt(POINT point) const;
    // Black-and-white printing: the properties' printing flag and their black-and-white setting.
    BOOL IsPrintingBlackAndWhite() const;
};

// Joins a typed character to a pending lead surrogate: TRUE when the text holds both.
BOOL CharToText(WCHAR character, CString& text, BOOL& pendingLead, WCHAR storedUnit);
