// The window that carries a grid engine: turns window messages into engine calls, can be created by class
// name from a dialog template (the library then owns the object and deletes it with its window), and the
// loaders that read a grid layout from a file or a "GXLAYOUT" resource.
#pragma once

#include "grid/CGXGridCore.h"
#include "platform/framework/CWnd.h"

class CFile;
class CGXGridParam;

class CGXGridWnd : public CWnd, public CGXGridCore {
    DECLARE_DYNCREATE(CGXGridWnd)
public:
    CGXGridWnd();
    ~CGXGridWnd() override;

    // Registers the class "CGXGridWnd" unless it exists (a failure raises the resource exception).
    static void RegisterWndClass(HINSTANCE instance);
    static void UnregisterWndClass(HINSTANCE instance);
    // Whether the library made this object for a window of a dialog template.
    static BOOL IsLibraryCreated(const CGXGridWnd* wnd);

    // Scroll-bar modes from the window's style, then the initial update.
    void InitializeFromStyle();
    // The initial update; derived grids load or build their parameter object first.
    virtual void Initialize();

    void ShowScrollBar(int bar, BOOL show) override;
    // The engine's borrowed bar first, then the window's.
    CScrollBar* GetScrollBarCtrl(int bar) const override;
    // The engine's scroll positions (in grid units) stand for the window's.
    using CGXGridCore::GetScrollPos;
    using CGXGridCore::SetScrollPos;
    using CGXGridCore::SetScrollRange;

    BOOL m_bDrawFrame = FALSE;

protected:
    BOOL PreTranslateMessage(MSG* msg) override;
    // The grid's plug-ins see every message first.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    void OnDestroy();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnHScroll(UINT code, UINT position, CScrollBar* scrollBar);
    void OnVScroll(UINT code, UINT position, CScrollBar* scrollBar);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    void OnChar(UINT key, UINT repeat, UINT flags);
    void OnSysKeyDown(UINT key, UINT repeat, UINT flags);
    void OnSysKeyUp(UINT key, UINT repeat, UINT flags);
    void OnSysChar(UINT key, UINT repeat, UINT flags);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMButtonDown(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnMButtonUp(UINT flags, CPoint point);
    void OnRButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnMButtonDblClk(UINT flags, CPoint point);
    void OnRButtonDblClk(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnPaint();
    void OnNcPaint();
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnSize(UINT type, int cx, int cy);
    void OnShowWindow(BOOL show, UINT status);
    void OnSetFocus(CWnd* oldWnd);
    void OnKillFocus(CWnd* newWnd);
    UINT OnGetDlgCode();
    void OnCancelMode();
    int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);
    void OnSysColorChange();
    void OnWinIniChange(LPCTSTR section);
    void OnTimer(UINT_PTR timerId);
    LRESULT OnQueryParamFlag(WPARAM wParam, LPARAM lParam);
    LRESULT OnUpdateTabName(WPARAM wParam, LPARAM lParam);
    LRESULT OnValidateRequest(WPARAM wParam, LPARAM lParam);
    LRESULT OnMoveToRecord(WPARAM wParam, LPARAM lParam);
    LRESULT OnInvalidateRectMessage(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    // Takes the focus for a click unless the grid or one of its children has it.
    void TakeFocusForClick();
    void KeyToEngine(UINT message, UINT key, UINT repeat, UINT flags);
};

// Private messages of the tab window that hosts grids.
constexpr UINT WM_GX_QUERYPARAMFLAG = 0x0790;
constexpr UINT WM_GX_UPDATETABNAME = 0x0791;
constexpr UINT WM_GX_VALIDATEREQUEST = 0x0792;
constexpr UINT WM_GX_MOVETORECORD = 0x07A3;
// Either a pointer to the rectangle to invalidate, or a tab window's size lock: 1 locks, 0 unlocks and
// invalidates the whole window.
constexpr UINT WM_GX_INVALIDATERECT = 0x07CB;

// One object read from a loading archive on the file; null when it is not of the class or reading fails.
CObject* ReadArchiveObject(CFile* file, CRuntimeClass* runtimeClass);
// One object from a custom resource; null when the resource is missing, damaged or of another class.
CObject* LoadResourceObject(LPCTSTR name, LPCTSTR type, CRuntimeClass* runtimeClass);
// A parameter object from the "GXLAYOUT" resource of that name; the caller owns it.
CGXGridParam* LoadGridLayoutResource(LPCTSTR name);
