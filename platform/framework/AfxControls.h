// The framework's objects for the standard controls: thin wrappers sending the control's messages. The
// owner-drawn controls get their drawing, measuring, comparing and deleting through the virtuals DrawItem,
// MeasureItem, CompareItem and DeleteItem, which the parent reflects to them (OnChildNotify).
//
// CScrollBar is declared with CWnd, as message handlers receive it.
#pragma once

#include "platform/controls/CommonControls.h"
#include "platform/controls/ControlConstants.h"
#include "platform/framework/CWnd.h"

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)

public:
    using CWnd::Create;
    BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF);
    HICON SetIcon(HICON hIcon) {
        return reinterpret_cast<HICON>(SendMessageW(STM_SETICON, reinterpret_cast<WPARAM>(hIcon)));
    }
    HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessageW(STM_GETICON)); }
    HBITMAP SetBitmap(HBITMAP hBitmap) {
        return reinterpret_cast<HBITMAP>(
            SendMessageW(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
    }
    HBITMAP GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessageW(STM_GETIMAGE, IMAGE_BITMAP)); }

    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)

public:
    using CWnd::Create;
    BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    UINT GetState() const { return static_cast<UINT>(SendMessageW(BM_GETSTATE)); }
    void SetState(BOOL bHighlight) { SendMessageW(BM_SETSTATE, static_cast<WPARAM>(bHighlight)); }
    int GetCheck() const { return static_cast<int>(SendMessageW(BM_GETCHECK)); }
    void SetCheck(int nCheck) { SendMessageW(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
    UINT GetButtonStyle() const { return static_cast<UINT>(GetStyle() & 0xFFFF); }
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE) {
        SendMessageW(BM_SETSTYLE, nStyle, static_cast<LPARAM>(bRedraw));
    }
    HICON SetIcon(HICON hIcon) {
        return reinterpret_cast<HICON>(
            SendMessageW(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hIcon)));
    }
    HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessageW(BM_GETIMAGE, IMAGE_ICON)); }
    HBITMAP SetBitmap(HBITMAP hBitmap) {
        return reinterpret_cast<HBITMAP>(
            SendMessageW(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
    }
    HBITMAP GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessageW(BM_GETIMAGE, IMAGE_BITMAP)); }
    void Click() { SendMessageW(BM_CLICK); }

    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)

public:
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL CanUndo() const { return static_cast<BOOL>(SendMessageW(EM_CANUNDO)); }
    int GetLineCount() const { return static_cast<int>(SendMessageW(EM_GETLINECOUNT)); }
    BOOL GetModify() const { return static_cast<BOOL>(SendMessageW(EM_GETMODIFY)); }
    void SetModify(BOOL bModified = TRUE) { SendMessageW(EM_SETMODIFY, static_cast<WPARAM>(bModified)); }
    void GetRect(LPRECT lpRect) const { SendMessageW(EM_GETRECT, 0, reinterpret_cast<LPARAM>(lpRect)); }
    DWORD GetSel() const { return static_cast<DWORD>(SendMessageW(EM_GETSEL)); }
    void GetSel(int& nStartChar, int& nEndChar) const;
    int GetLine(int nIndex, LPTSTR lpszBuffer) const;
    int GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const;
    void EmptyUndoBuffer() { SendMessageW(EM_EMPTYUNDOBUFFER); }
    BOOL FmtLines(BOOL bAddEOL) {
        return static_cast<BOOL>(SendMessageW(EM_FMTLINES, static_cast<WPARAM>(bAddEOL)));
    }
    void LimitText(int nChars = 0) { SendMessageW(EM_LIMITTEXT, static_cast<WPARAM>(nChars)); }
    void SetLimitText(UINT nMax) { SendMessageW(EM_SETLIMITTEXT, nMax); }
    UINT GetLimitText() const { return static_cast<UINT>(SendMessageW(EM_GETLIMITTEXT)); }
    int LineFromChar(int nIndex = -1) const {
        return static_cast<int>(SendMessageW(EM_LINEFROMCHAR, static_cast<WPARAM>(nIndex)));
    }
    int LineIndex(int nLine = -1) const {
        return static_cast<int>(SendMessageW(EM_LINEINDEX, static_cast<WPARAM>(nLine)));
    }
    int LineLength(int nLine = -1) const {
        return static_cast<int>(SendMessageW(EM_LINELENGTH, static_cast<WPARAM>(nLine)));
    }
    void LineScroll(int nLines, int nChars = 0) {
        SendMessageW(EM_LINESCROLL, static_cast<WPARAM>(nChars), static_cast<LPARAM>(nLines));
    }
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE) {
        SendMessageW(EM_REPLACESEL, static_cast<WPARAM>(bCanUndo), reinterpret_cast<LPARAM>(lpszNewText));
    }
    void SetPasswordChar(TCHAR ch) { SendMessageW(EM_SETPASSWORDCHAR, ch); }
    TCHAR GetPasswordChar() const { return static_cast<TCHAR>(SendMessageW(EM_GETPASSWORDCHAR)); }
    void SetRect(LPCRECT lpRect) { SendMessageW(EM_SETRECT, 0, reinterpret_cast<LPARAM>(lpRect)); }
    void SetRectNP(LPCRECT lpRect) { SendMessageW(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(lpRect)); }
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE);
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    BOOL SetTabStops(int nTabStops, LPINT rgTabStops) {
        return static_cast<BOOL>(SendMessageW(EM_SETTABSTOPS, static_cast<WPARAM>(nTabStops),
                                              reinterpret_cast<LPARAM>(rgTabStops)));
    }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE) {
        return static_cast<BOOL>(SendMessageW(EM_SETREADONLY, static_cast<WPARAM>(bReadOnly)));
    }
    int GetFirstVisibleLine() const { return static_cast<int>(SendMessageW(EM_GETFIRSTVISIBLELINE)); }
    void SetMargins(UINT nLeft, UINT nRight) {
        SendMessageW(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(nLeft, nRight));
    }
    DWORD GetMargins() const { return static_cast<DWORD>(SendMessageW(EM_GETMARGINS)); }
    CPoint PosFromChar(UINT nChar) const;
    int CharFromPos(CPoint pt) const {
        return static_cast<int>(SendMessageW(EM_CHARFROMPOS, 0, MAKELPARAM(pt.x, pt.y)));
    }
    BOOL Undo() { return static_cast<BOOL>(SendMessageW(EM_UNDO)); }
    void Clear() { SendMessageW(WM_CLEAR); }
    void Copy() { SendMessageW(WM_COPY); }
    void Cut() { SendMessageW(WM_CUT); }
    void Paste() { SendMessageW(WM_PASTE); }
};

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)

public:
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetCount() const { return static_cast<int>(SendMessageW(LB_GETCOUNT)); }
    int GetHorizontalExtent() const { return static_cast<int>(SendMessageW(LB_GETHORIZONTALEXTENT)); }
    void SetHorizontalExtent(int cxExtent) {
        SendMessageW(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(cxExtent));
    }
    int GetTopIndex() const { return static_cast<int>(SendMessageW(LB_GETTOPINDEX)); }
    int SetTopIndex(int nIndex) {
        return static_cast<int>(SendMessageW(LB_SETTOPINDEX, static_cast<WPARAM>(nIndex)));
    }
    DWORD_PTR GetItemData(int nIndex) const {
        return static_cast<DWORD_PTR>(SendMessageW(LB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
    }
    int SetItemData(int nIndex, DWORD_PTR dwItemData) {
        return static_cast<int>(
            SendMessageW(LB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData)));
    }
    void* GetItemDataPtr(int nIndex) const { return reinterpret_cast<void*>(GetItemData(nIndex)); }
    int SetItemDataPtr(int nIndex, void* pData) {
        return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pData));
    }
    int GetItemRect(int nIndex, LPRECT lpRect) const {
        return static_cast<int>(
            SendMessageW(LB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect)));
    }
    int GetSel(int nIndex) const {
        return static_cast<int>(SendMessageW(LB_GETSEL, static_cast<WPARAM>(nIndex)));
    }
    int GetText(int nIndex, LPTSTR lpszBuffer) const {
        return static_cast<int>(
            SendMessageW(LB_GETTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszBuffer)));
    }
    void GetText(int nIndex, CString& rString) const;
    int GetTextLen(int nIndex) const {
        return static_cast<int>(SendMessageW(LB_GETTEXTLEN, static_cast<WPARAM>(nIndex)));
    }
    void SetColumnWidth(int cxWidth) { SendMessageW(LB_SETCOLUMNWIDTH, static_cast<WPARAM>(cxWidth)); }
    BOOL SetTabStops(int nTabStops, LPINT rgTabStops) {
        return static_cast<BOOL>(SendMessageW(LB_SETTABSTOPS, static_cast<WPARAM>(nTabStops),
                                              reinterpret_cast<LPARAM>(rgTabStops)));
    }
    int SetItemHeight(int nIndex, UINT cyItemHeight) {
        return static_cast<int>(
            SendMessageW(LB_SETITEMHEIGHT, static_cast<WPARAM>(nIndex), MAKELPARAM(cyItemHeight, 0)));
    }
    int GetItemHeight(int nIndex) const {
        return static_cast<int>(SendMessageW(LB_GETITEMHEIGHT, static_cast<WPARAM>(nIndex)));
    }
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const {
        return static_cast<int>(SendMessageW(LB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart),
                                             reinterpret_cast<LPARAM>(lpszFind)));
    }
    int GetCaretIndex() const { return static_cast<int>(SendMessageW(LB_GETCARETINDEX)); }
    int SetCaretIndex(int nIndex, BOOL bScroll = TRUE) {
        return static_cast<int>(
            SendMessageW(LB_SETCARETINDEX, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(bScroll)));
    }
    UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const;
    // Single selection
    int GetCurSel() const { return static_cast<int>(SendMessageW(LB_GETCURSEL)); }
    int SetCurSel(int nSelect) {
        return static_cast<int>(SendMessageW(LB_SETCURSEL, static_cast<WPARAM>(nSelect)));
    }
    // Multiple selection
    int SetSel(int nIndex, BOOL bSelect = TRUE) {
        return static_cast<int>(
            SendMessageW(LB_SETSEL, static_cast<WPARAM>(bSelect), static_cast<LPARAM>(nIndex)));
    }
    int GetSelCount() const { return static_cast<int>(SendMessageW(LB_GETSELCOUNT)); }
    int GetSelItems(int nMaxItems, LPINT rgIndex) const {
        return static_cast<int>(
            SendMessageW(LB_GETSELITEMS, static_cast<WPARAM>(nMaxItems), reinterpret_cast<LPARAM>(rgIndex)));
    }
    void SetAnchorIndex(int nIndex) { SendMessageW(LB_SETANCHORINDEX, static_cast<WPARAM>(nIndex)); }
    int GetAnchorIndex() const { return static_cast<int>(SendMessageW(LB_GETANCHORINDEX)); }
    int SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem) {
        return static_cast<int>(
            SendMessageW(LB_SELITEMRANGE, static_cast<WPARAM>(bSelect), MAKELPARAM(nFirstItem, nLastItem)));
    }
    // Strings
    int AddString(LPCTSTR lpszItem) {
        return static_cast<int>(SendMessageW(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszItem)));
    }
    int DeleteString(UINT nIndex) { return static_cast<int>(SendMessageW(LB_DELETESTRING, nIndex)); }
    int InsertString(int nIndex, LPCTSTR lpszItem) {
        return static_cast<int>(
            SendMessageW(LB_INSERTSTRING, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszItem)));
    }
    void ResetContent() { SendMessageW(LB_RESETCONTENT); }
    int FindString(int nStartAfter, LPCTSTR lpszItem) const {
        return static_cast<int>(SendMessageW(LB_FINDSTRING, static_cast<WPARAM>(nStartAfter),
                                             reinterpret_cast<LPARAM>(lpszItem)));
    }
    int SelectString(int nStartAfter, LPCTSTR lpszItem) {
        return static_cast<int>(SendMessageW(LB_SELECTSTRING, static_cast<WPARAM>(nStartAfter),
                                             reinterpret_cast<LPARAM>(lpszItem)));
    }

    // Owner-drawn list boxes
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}
    virtual int CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
    virtual void DeleteItem(LPDELETEITEMSTRUCT) {}
    // -1: the default action, -2: handled, else the item to act on.
    virtual int VKeyToItem(UINT, UINT) { return -1; }
    virtual int CharToItem(UINT, UINT) { return -1; }
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)

public:
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetCount() const { return static_cast<int>(SendMessageW(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessageW(CB_GETCURSEL)); }
    int SetCurSel(int nSelect) {
        return static_cast<int>(SendMessageW(CB_SETCURSEL, static_cast<WPARAM>(nSelect)));
    }
    DWORD GetEditSel() const { return static_cast<DWORD>(SendMessageW(CB_GETEDITSEL)); }
    BOOL LimitText(int nMaxChars) {
        return static_cast<BOOL>(SendMessageW(CB_LIMITTEXT, static_cast<WPARAM>(nMaxChars)));
    }
    BOOL SetEditSel(int nStartChar, int nEndChar) {
        return static_cast<BOOL>(SendMessageW(CB_SETEDITSEL, 0, MAKELPARAM(nStartChar, nEndChar)));
    }
    DWORD_PTR GetItemData(int nIndex) const {
        return static_cast<DWORD_PTR>(SendMessageW(CB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
    }
    int SetItemData(int nIndex, DWORD_PTR dwItemData) {
        return static_cast<int>(
            SendMessageW(CB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData)));
    }
    void* GetItemDataPtr(int nIndex) const { return reinterpret_cast<void*>(GetItemData(nIndex)); }
    int SetItemDataPtr(int nIndex, void* pData) {
        return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pData));
    }
    int GetLBText(int nIndex, LPTSTR lpszText) const {
        return static_cast<int>(
            SendMessageW(CB_GETLBTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszText)));
    }
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const {
        return static_cast<int>(SendMessageW(CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex)));
    }
    int SetItemHeight(int nIndex, UINT cyItemHeight) {
        return static_cast<int>(
            SendMessageW(CB_SETITEMHEIGHT, static_cast<WPARAM>(nIndex), MAKELPARAM(cyItemHeight, 0)));
    }
    int GetItemHeight(int nIndex) const {
        return static_cast<int>(SendMessageW(CB_GETITEMHEIGHT, static_cast<WPARAM>(nIndex)));
    }
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const {
        return static_cast<int>(SendMessageW(CB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart),
                                             reinterpret_cast<LPARAM>(lpszFind)));
    }
    int SetExtendedUI(BOOL bExtended = TRUE) {
        return static_cast<int>(SendMessageW(CB_SETEXTENDEDUI, static_cast<WPARAM>(bExtended)));
    }
    BOOL GetExtendedUI() const { return static_cast<BOOL>(SendMessageW(CB_GETEXTENDEDUI)); }
    void GetDroppedControlRect(LPRECT lprect) const {
        SendMessageW(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(lprect));
    }
    BOOL GetDroppedState() const { return static_cast<BOOL>(SendMessageW(CB_GETDROPPEDSTATE)); }
    int GetDroppedWidth() const { return static_cast<int>(SendMessageW(CB_GETDROPPEDWIDTH)); }
    int SetDroppedWidth(UINT nWidth) { return static_cast<int>(SendMessageW(CB_SETDROPPEDWIDTH, nWidth)); }
    int GetTopIndex() const { return static_cast<int>(SendMessageW(CB_GETTOPINDEX)); }
    int SetTopIndex(int nIndex) {
        return static_cast<int>(SendMessageW(CB_SETTOPINDEX, static_cast<WPARAM>(nIndex)));
    }
    void ShowDropDown(BOOL bShowIt = TRUE) { SendMessageW(CB_SHOWDROPDOWN, static_cast<WPARAM>(bShowIt)); }
    int AddString(LPCTSTR lpszString) {
        return static_cast<int>(SendMessageW(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszString)));
    }
    int DeleteString(UINT nIndex) { return static_cast<int>(SendMessageW(CB_DELETESTRING, nIndex)); }
    int InsertString(int nIndex, LPCTSTR lpszString) {
        return static_cast<int>(
            SendMessageW(CB_INSERTSTRING, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszString)));
    }
    void ResetContent() { SendMessageW(CB_RESETCONTENT); }
    int FindString(int nStartAfter, LPCTSTR lpszString) const {
        return static_cast<int>(SendMessageW(CB_FINDSTRING, static_cast<WPARAM>(nStartAfter),
                                             reinterpret_cast<LPARAM>(lpszString)));
    }
    int SelectString(int nStartAfter, LPCTSTR lpszString) {
        return static_cast<int>(SendMessageW(CB_SELECTSTRING, static_cast<WPARAM>(nStartAfter),
                                             reinterpret_cast<LPARAM>(lpszString)));
    }
    void Clear() { SendMessageW(WM_CLEAR); }
    void Copy() { SendMessageW(WM_COPY); }
    void Cut() { SendMessageW(WM_CUT); }
    void Paste() { SendMessageW(WM_PASTE); }

    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}
    virtual int CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
    virtual void DeleteItem(LPDELETEITEMSTRUCT) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)

public:
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL SetAccel(int nAccel, UDACCEL* pAccel) {
        return static_cast<BOOL>(
            SendMessageW(UDM_SETACCEL, static_cast<WPARAM>(nAccel), reinterpret_cast<LPARAM>(pAccel)));
    }
    UINT GetAccel(int nAccel, UDACCEL* pAccel) const {
        return static_cast<UINT>(
            SendMessageW(UDM_GETACCEL, static_cast<WPARAM>(nAccel), reinterpret_cast<LPARAM>(pAccel)));
    }
    int SetBase(int nBase) { return static_cast<int>(SendMessageW(UDM_SETBASE, static_cast<WPARAM>(nBase))); }
    UINT GetBase() const { return static_cast<UINT>(SendMessageW(UDM_GETBASE)); }
    CWnd* SetBuddy(CWnd* pWndBuddy) {
        return CWnd::FromHandle(reinterpret_cast<HWND>(
            SendMessageW(UDM_SETBUDDY, reinterpret_cast<WPARAM>(SafeHwndOf(pWndBuddy)))));
    }
    CWnd* GetBuddy() const { return CWnd::FromHandle(reinterpret_cast<HWND>(SendMessageW(UDM_GETBUDDY))); }
    int SetPos(int nPos) { return static_cast<int>(SendMessageW(UDM_SETPOS, 0, MAKELPARAM(nPos, 0))); }
    // The position in the low word; the high word is non-zero when the buddy's text is not a valid position.
    int GetPos() const { return static_cast<int>(SendMessageW(UDM_GETPOS)); }
    int SetPos32(int nPos) { return static_cast<int>(SendMessageW(UDM_SETPOS32, 0, nPos)); }
    int GetPos32(LPBOOL lpbError = nullptr) const {
        return static_cast<int>(SendMessageW(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(lpbError)));
    }
    void SetRange(short nLower, short nUpper) {
        SendMessageW(UDM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(nUpper), static_cast<WORD>(nLower)));
    }
    void SetRange32(int nLower, int nUpper) {
        SendMessageW(UDM_SETRANGE32, static_cast<WPARAM>(nLower), static_cast<LPARAM>(nUpper));
    }
    DWORD GetRange() const { return static_cast<DWORD>(SendMessageW(UDM_GETRANGE)); }
    void GetRange(int& lower, int& upper) const;
    void GetRange32(int& lower, int& upper) const {
        SendMessageW(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    }
};

class CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)

public:
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetRange(short nLower, short nUpper) { SendMessageW(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
    void SetRange32(int nLower, int nUpper) {
        SendMessageW(PBM_SETRANGE32, static_cast<WPARAM>(nLower), static_cast<LPARAM>(nUpper));
    }
    void GetRange(int& nLower, int& nUpper) const;
    int GetPos() const { return static_cast<int>(SendMessageW(PBM_GETPOS)); }
    int SetPos(int nPos) { return static_cast<int>(SendMessageW(PBM_SETPOS, static_cast<WPARAM>(nPos))); }
    int OffsetPos(int nPos) {
        return static_cast<int>(SendMessageW(PBM_DELTAPOS, static_cast<WPARAM>(nPos)));
    }
    int SetStep(int nStep) { return static_cast<int>(SendMessageW(PBM_SETSTEP, static_cast<WPARAM>(nStep))); }
    int StepIt() { return static_cast<int>(SendMessageW(PBM_STEPIT)); }
    COLORREF SetBarColor(COLORREF clrBar) {
        return static_cast<COLORREF>(SendMessageW(PBM_SETBARCOLOR, 0, clrBar));
    }
    COLORREF SetBkColor(COLORREF clrNew) {
        return static_cast<COLORREF>(SendMessageW(PBM_SETBKCOLOR, 0, clrNew));
    }
};

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)

public:
    using CWnd::Create;
    // A top-level tip window owned by pParentWnd.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    void Activate(BOOL bActivate) { SendMessageW(TTM_ACTIVATE, static_cast<WPARAM>(bActivate)); }
    // A tool for a rectangle of pWnd (nIDTool) or, with an empty rectangle and no id, for the whole window.
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = nullptr,
                 UINT_PTR nIDTool = 0);
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    BOOL GetToolInfo(TOOLINFO* lpToolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    void SetToolInfo(TOOLINFO* lpToolInfo) {
        SendMessageW(TTM_SETTOOLINFO, 0, reinterpret_cast<LPARAM>(lpToolInfo));
    }
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    int GetToolCount() const { return static_cast<int>(SendMessageW(TTM_GETTOOLCOUNT)); }
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void RelayEvent(LPMSG lpMsg) { SendMessageW(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }
    void SetDelayTime(UINT nDelay) {
        SendMessageW(TTM_SETDELAYTIME, TTDT_AUTOMATIC, static_cast<LPARAM>(nDelay));
    }
    void SetDelayTime(DWORD dwDuration, int iTime) {
        SendMessageW(TTM_SETDELAYTIME, dwDuration, static_cast<LPARAM>(iTime));
    }
    int GetDelayTime(DWORD dwDuration) const {
        return static_cast<int>(SendMessageW(TTM_GETDELAYTIME, dwDuration));
    }
    int SetMaxTipWidth(int iWidth) { return static_cast<int>(SendMessageW(TTM_SETMAXTIPWIDTH, 0, iWidth)); }
    void SetTipBkColor(COLORREF clr) { SendMessageW(TTM_SETTIPBKCOLOR, clr); }
    void SetTipTextColor(COLORREF clr) { SendMessageW(TTM_SETTIPTEXTCOLOR, clr); }
    void Pop() { SendMessageW(TTM_POP); }
    void Update() { SendMessageW(TTM_UPDATE); }

protected:
    void FillInToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const;
};
