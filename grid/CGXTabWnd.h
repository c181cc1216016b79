// A child window holding several sheet windows, one shown at a time, with the tab beam, a splitter and the
// shared horizontal scroll bar along its bottom and a shared vertical scroll bar on its right. Any window
// can be a sheet: sheets answer the beam's messages (a grid does) or answer 0 and never refuse.
#pragma once

#include "grid/CGXTabBeam.h"
#include "platform/framework/AfxControls.h"

// The small edit over a tab while it is being renamed: Enter ends the rename, Escape or leaving it cancels.
class CGXEditLabelPopup : public CEdit {
    DECLARE_DYNCREATE(CGXEditLabelPopup)

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CGXTabWnd : public CWnd {
    DECLARE_DYNCREATE(CGXTabWnd)

public:
    // Child ids of the shared scroll bars, the beam and the rename edit.
    enum : UINT { kHorzBarId = 0xEA00, kBeamId = 0xEA01, kVertBarId = 0xEA10, kSizeBoxId = 0xEA20, kEditId = 23001 };

    explicit CGXTabWnd(CRuntimeClass* beamClass = RUNTIME_CLASS(CGXTabBeam));
    ~CGXTabWnd() override;

    // The class "CGXTabWnd" for dialog templates: such a tab window makes its children at its first layout
    // and deletes itself with its window. Registering does nothing when the class exists; a failure raises
    // the resource exception.
    static void RegisterClass(HINSTANCE instance);
    static void UnregisterClass(HINSTANCE instance);

    BOOL Create(CWnd* parent, DWORD style, UINT id);
    virtual CWnd* AttachSheet(CWnd* window, LPCTSTR name);
    // A new window of the class, created as a child of this one, attached as a sheet; null on failure.
    CWnd* CreateSheet(CRuntimeClass* windowClass, LPCTSTR name);
    virtual void RecalcLayout(BOOL duringDrag = FALSE);
    void SwitchToSheet(CWnd* window);
    CWnd* GetActiveSheet() const { return m_pActivePane; }
    const CString* GetTabName(const CWnd* window);
    void SetTabName(int index, LPCTSTR name, BOOL notify);
    void SetTabNameOfWindow(CWnd* window, LPCTSTR name, BOOL notify);
    void SaveScrollState(CWnd* window);
    void RestoreScrollState(CWnd* window);
    void GetSheetRect(CRect& rect);
    BOOL IsRenaming() const { return m_pEdit != nullptr; }
    // The frame whose size grip the size box is: the tab window or its parent, when it can be resized and
    // its bottom-right corner is the tab window's. Null before Windows 4.
    CWnd* FindSizeGripFrame();
    CGXEditLabelPopup* GetRenameEdit() const { return m_pEdit; }

    CGXTabBeam* m_pBeam = nullptr;
    int m_nSplitterX = 0;
    int m_nLastWidth = 0;
    int m_nSplitterWidth = 6;
    int m_nHorzBarHeight = 0;
    int m_nBeamHeight = 0;
    BOOL m_bTracking = FALSE;
    int m_nSplitterX100 = 0;
    // Draws the library's sunken frame round the window (as the window style bit 0x200 does).
    BOOL m_bBorder = FALSE;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PostNcDestroy() override;

    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnTabSelected(WPARAM index, LPARAM);
    LRESULT OnCanSwitchTab(WPARAM index, LPARAM);
    LRESULT OnStartRename(WPARAM index, LPARAM);
    LRESULT OnEndRename(WPARAM, LPARAM);
    LRESULT OnCancelRename(WPARAM, LPARAM);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    void OnSetFocus(CWnd* oldWindow);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnNcPaint();
    void OnSysColorChange();
    void OnSettingChange(UINT flags, LPCTSTR section);
    DECLARE_MESSAGE_MAP()

private:
    BOOL AskSheetsToSwitch(int index);
    void CloseRenameEdit();
    BOOL InSplitter(CPoint point, int height);
    void DrawSplitter(CDC* dc, const CRect& rect);
    void ForwardToActiveSheet(UINT message);
    BOOL CreateChildBars();
    void PlaceSizeBox(HDWP& deferral, const CRect& sheet, int width, int height);
    BOOL ParentIsFrame();

    BOOL m_bShowHorzBar = TRUE;
    BOOL m_bShowVertBar = TRUE;
    CWnd* m_pActivePane = nullptr;
    BOOL m_bCreated = FALSE;
    CGXEditLabelPopup* m_pEdit = nullptr;
    CBrush m_brBackground;
    CRuntimeClass* m_pBeamClass = nullptr;
    CScrollBar m_horzBar;
    CScrollBar m_vertBar;
    CScrollBar m_sizeBox;
};
