// The text-editing cell control. While its cell is not being edited it draws like a static cell; while it
// is, a real edit window ("GXEDIT") lies over the cell with the cell's font, alignment, colour, word wrap,
// maximum length and read-only state. Keys the edit has no use for go to the grid, so that the arrow keys
// leave the cell at the edges of its text. It is the control the grid uses for any id it does not know.
#pragma once

#include "grid/CGXStatic.h"
#include "platform/framework/AfxControls.h"
#include "platform/framework/CGdiObject.h"

class CGXEditControl : public CEdit, public CGXStatic {
    DECLARE_DYNAMIC(CGXEditControl)

public:
    static const ControlTypeRecord kTypeRecord;

    CGXEditControl(CGXGridCore* grid, UINT id);
    ~CGXEditControl() override;

    // ---- The cell control
    const ControlTypeRecord& GetTypeRecord() const override { return kTypeRecord; }
    CRuntimeClass* GetWindowRuntimeClass() override { return RUNTIME_CLASS(CGXEditControl); }
    CWnd* GetCellWindow() override { return this; }
    void SetActive(BOOL active) override;
    BOOL IsActive() override { return m_bActive; }
    void SetModified(BOOL modified) override;
    BOOL IsModified() override;
    void InitCell(ROWCOL row, ROWCOL col) override;
    BOOL StoreValue() override;
    void Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
              const CGXStyle* standardStyle) override;
    void GetEditText(CString& text) override;
    void SetEditText(const CString& text) override;
    BOOL GetCellValue(CString& text) override;
    void SetCellValue(const CString& text) override;
    void Hide() override;
    BOOL LButtonUp(UINT flags, POINT point, UINT hitState) override;
    BOOL LButtonDblClk(UINT flags, POINT point) override;
    BOOL KeyDown(UINT key, UINT repeat, UINT flags) override;
    BOOL CharTyped(UINT character, UINT repeat, UINT flags) override;
    BOOL TextTyped(const CString& text, UINT repeat, UINT flags) override;
    void ReplaceSelection(const CString& text) override;
    // The active cell searches its window from the selection; another cell its display text, and a hit
    // there with `select` makes it the current cell, active, with the hit selected.
    BOOL FindText(const CGXFindReplaceInfo& info, ROWCOL row, ROWCOL col, BOOL fromStart, BOOL select) override;
    // Replaces every hit (in the active cell only from the selection on) and stores the result.
    BOOL ReplaceAll(const CGXFindReplaceInfo& info, ROWCOL row, ROWCOL col) override;
    BOOL GetSelectedText(CString& text) override;
    BOOL HandleCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL CheckPastedText(const CString& text) override;
    // With a text the typed-text check refused.
    virtual void ReservedHook(const CString&) {}

    // ---- The edit window
    // Decides one typed character: TRUE lets the window insert it itself; FALSE inserts the prepared text
    // (possibly empty) instead.
    virtual BOOL FilterTypedChar(UINT character, UINT repeat, UINT flags);
    virtual BOOL CreateEditWindow(DWORD style, const RECT* rect);
    // The window style the text needs: multi-line with word wrap when the cell wraps and has room for more
    // than one line, else one line scrolling sideways. `rect` gets the format rectangle.
    virtual DWORD CalcEditStyle(CRect& rect, int& lineHeight);
    // Re-creates the window when its style must change; TRUE when it did.
    BOOL UpdateEditWindow();
    // The character of the bound cell's text under the point, or -1.
    int CharFromPoint(POINT point);
    // The last line the format rectangle (the window's when null) shows whole.
    int GetLastVisibleLine(const RECT* rect = nullptr);
    void SetScrollBarFlag(BOOL on) { m_bScrollBar = on; }
    void SetAllowEnter(BOOL on) { m_bAllowEnter = on; }
    void SetWordWrap(BOOL on) { m_bWordWrap = on; }
    void SetBackgroundColor(COLORREF color) { m_rgbBackground = color; }
    // From the style's horizontal alignment bits (1 centre, 2 right).
    void SetAlignment(UINT alignmentBits);
    int GetMaxLength() const { return m_nMaxLength; }

protected:
    UINT OnGetDlgCode();
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    void OnChar(UINT character, UINT repeat, UINT flags);
    void OnSysKeyDown(UINT key, UINT repeat, UINT flags);
    void OnSysKeyUp(UINT key, UINT repeat, UINT flags);
    void OnSysChar(UINT character, UINT repeat, UINT flags);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnShowWindow(BOOL show, UINT status);
    void OnSetFocus(CWnd* oldWnd);
    void OnKillFocus(CWnd* newWnd);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnContextMenu(CWnd* wnd, CPoint point);
    LRESULT OnImeStartComposition(WPARAM wParam, LPARAM lParam);
    LRESULT OnImeEndComposition(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    static BOOL IsKeyHeld(int key);
    // The window's text with its selection replaced by the text.
    CString TextWithSelectionReplaced(const CString& text);
    // The edit window keeps the key (TRUE) or leaves it to the grid.
    BOOL KeepsKey(UINT key);
    // Activates the bound cell with the caret at the position (-1: at the end).
    BOOL StartEditWithCaret(int position);
    void CreateCellFont(const CGXStyle& style);
    CRect PlaceWindowRect(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style);
    void ClipToScrolledPane(CRect& r, ROWCOL row, ROWCOL col, const CGXStyle& style);
    void KeepCaretLineVisible(const CRect& format, int lineHeight);
    // The text the search looks at: the window's while the cell is edited here, else the display text.
    CString SearchedText(const CGXFindReplaceInfo& info, ROWCOL row, ROWCOL col);

    UINT m_nID;
    BOOL m_bActive = FALSE;
    CFont m_font;
    COLORREF m_rgbSelectionText;
    DWORD m_dwAlignment = 0;
    BOOL m_bRecreating = FALSE;
    int m_nLineHeight = 0;
    int m_nMaxCharWidth = 0;
    COLORREF m_rgbBackground = RGB(255, 255, 255);
    BOOL m_bAllowEnter = FALSE;
    BOOL m_bWordWrap = FALSE;
    BOOL m_bAutoSize = FALSE;
    BOOL m_bScrollBar = FALSE;
    // Derived controls set it; while set, the window gets no alignment style.
    void* m_pDerived = nullptr;
    CString m_strPrepared;
    BOOL m_bInserting = FALSE;
    int m_nMaxLength = 0;
    DWORD m_dwLastStyle = 0;
};
