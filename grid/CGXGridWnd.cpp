#include "grid/CGXGridWnd.h"

#include "grid/CGXDrawingAndFormatting.h"
#include "grid/CGXGridParam.h"
#include "grid/GridWindowClass.h"
#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"
#include "platform/base/Exceptions.h"
#include "platform/display/PaintApi.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/FrameworkResources.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/UserDraw.h"
#include "platform/resources/Resources.h"

IMPLEMENT_DYNCREATE(CGXGridWnd, CWnd)

namespace {

constexpr LPCTSTR kGridWndClass = u"CGXGridWnd";

using GridWndClass = GridWindowClass<CGXGridWnd>;

} // namespace

BEGIN_MESSAGE_MAP(CGXGridWnd, CWnd)
ON_WM_CTLCOLOR()
ON_WM_DESTROY()
ON_WM_ERASEBKGND()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
ON_WM_CHAR()
ON_WM_SYSKEYDOWN()
ON_WM_SYSKEYUP()
ON_WM_SYSCHAR()
ON_WM_LBUTTONDOWN()
ON_WM_MBUTTONDOWN()
ON_WM_RBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MBUTTONUP()
ON_WM_RBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_MBUTTONDBLCLK()
ON_WM_RBUTTONDBLCLK()
ON_WM_MOUSEMOVE()
ON_WM_PAINT()
ON_WM_NCPAINT()
ON_WM_SETCURSOR()
ON_WM_SIZE()
ON_WM_SHOWWINDOW()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_GETDLGCODE()
ON_WM_CANCELMODE()
ON_WM_MOUSEACTIVATE()
ON_WM_SYSCOLORCHANGE()
ON_WM_WININICHANGE()
ON_WM_TIMER()
ON_MESSAGE(WM_GX_QUERYPARAMFLAG, OnQueryParamFlag)
ON_MESSAGE(WM_GX_UPDATETABNAME, OnUpdateTabName)
ON_MESSAGE(WM_GX_VALIDATEREQUEST, OnValidateRequest)
ON_MESSAGE(WM_GX_MOVETORECORD, OnMoveToRecord)
ON_MESSAGE(WM_GX_INVALIDATERECT, OnInvalidateRectMessage)
END_MESSAGE_MAP()

CGXGridWnd::CGXGridWnd() : CGXGridCore(nullptr, nullptr, 0) {
    m_pGridWnd = this;
}

CGXGridWnd::~CGXGridWnd() {
    GridWndClass::Forget(this);
}

void CGXGridWnd::RegisterWndClass(HINSTANCE instance) {
    GridWndClass::Register(instance, kGridWndClass);
}

void CGXGridWnd::UnregisterWndClass(HINSTANCE instance) {
    GridWndClass::Unregister(instance, kGridWndClass);
}

BOOL CGXGridWnd::IsLibraryCreated(const CGXGridWnd* wnd) {
    return GridWndClass::IsSelfCreated(wnd);
}

void CGXGridWnd::InitializeFromStyle() {
    // Scroll-bar modes: 12 the parent's shared bars, 10 shows a bar as needed, 0 never.
    if (GetSharedScrollBarParent()) {
        SetScrollBarMode(SB_BOTH, 12, FALSE);
    } else {
        const DWORD style = GetStyle();
        SetScrollBarMode(SB_VERT, (style & WS_VSCROLL) ? 10 : 0, FALSE);
        SetScrollBarMode(SB_HORZ, (style & WS_HSCROLL) ? 10 : 0, FALSE);
    }
    Initialize();
}

void CGXGridWnd::Initialize() {
    InitializeGrid();
}

void CGXGridWnd::ShowScrollBar(int bar, BOOL show) {
    if (m_hWnd) {
        ::ShowScrollBar(m_hWnd, bar, show);
    }
}

CScrollBar* CGXGridWnd::GetScrollBarCtrl(int bar) const {
    CScrollBar* shared = CGXGridCore::GetScrollBarCtrl(bar);
    return shared ? shared : CWnd::GetScrollBarCtrl(bar);
}

BOOL CGXGridWnd::PreTranslateMessage(MSG* msg) {
    return PreTranslateGridMessage(msg) || CWnd::PreTranslateMessage(msg);
}

LRESULT CGXGridWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ProcessPluginMessage(message, wParam, lParam, result)) {
        return result;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CGXGridWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    return OnGridCommand(wParam, lParam) || CWnd::OnCommand(wParam, lParam);
}

void CGXGridWnd::PostNcDestroy() {
    GridWndClass::ReleaseIfSelfCreated(this);
}

HBRUSH CGXGridWnd::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
    return OnGridCtlColor(dc, wnd, ctlColor);
}

void CGXGridWnd::OnDestroy() {
    if (!OnGridDestroy()) {
        CWnd::OnDestroy();
    }
}

BOOL CGXGridWnd::OnEraseBkgnd(CDC*) {
    return TRUE; // the grid paints every pixel itself
}

void CGXGridWnd::OnHScroll(UINT code, UINT position, CScrollBar* scrollBar) {
    if (!OnGridHScroll(code, position, reinterpret_cast<CWnd*>(scrollBar))) {
        CWnd::OnHScroll(code, position, scrollBar);
    }
}

void CGXGridWnd::OnVScroll(UINT code, UINT position, CScrollBar* scrollBar) {
    if (!OnGridVScroll(code, position, reinterpret_cast<CWnd*>(scrollBar))) {
        CWnd::OnVScroll(code, position, scrollBar);
    }
}

void CGXGridWnd::KeyToEngine(UINT message, UINT key, UINT repeat, UINT flags) {
    if (!ProcessKeys(this, message, key, repeat, flags)) {
        Default();
    }
}

void CGXGridWnd::OnKeyDown(UINT key, UINT repeat, UINT flags) {
    KeyToEngine(WM_KEYDOWN, key, repeat, flags);
}

void CGXGridWnd::OnKeyUp(UINT key, UINT repeat, UINT flags) {
    KeyToEngine(WM_KEYUP, key, repeat, flags);
}

void CGXGridWnd::OnChar(UINT key, UINT repeat, UINT flags) {
    KeyToEngine(WM_CHAR, key, repeat, flags);
}

void CGXGridWnd::OnSysKeyDown(UINT key, UINT repeat, UINT flags) {
    KeyToEngine(WM_SYSKEYDOWN, key, repeat, flags);
}

void CGXGridWnd::OnSysKeyUp(UINT key, UINT repeat, UINT flags) {
    KeyToEngine(WM_SYSKEYUP, key, repeat, flags);
}

void CGXGridWnd::OnSysChar(UINT key, UINT repeat, UINT flags) {
    KeyToEngine(WM_SYSCHAR, key, repeat, flags);
}

void CGXGridWnd::TakeFocusForClick() {
    HWND focus = ::GetFocus();
    if (focus != m_hWnd && !::IsChild(m_hWnd, focus)) {
        SetFocus();
    }
}

void CGXGridWnd::OnLButtonDown(UINT flags, CPoint point) {
    TakeFocusForClick();
    if (!OnGridLButtonDown(flags, point)) {
        Default();
    }
}

void CGXGridWnd::OnMButtonDown(UINT flags, CPoint point) {
    TakeFocusForClick();
    if (!OnGridMButtonDown(flags, point)) {
        Default();
    }
}

void CGXGridWnd::OnRButtonDown(UINT flags, CPoint point) {
    TakeFocusForClick();
    if (!OnGridRButtonDown(flags, point)) {
        Default();
    }
}

void CGXGridWnd::OnLButtonUp(UINT flags, CPoint point) {
    if (!OnGridLButtonUp(flags, point)) {
        Default();
    }
}

void CGXGridWnd::OnMButtonUp(UINT flags, CPoint point) {
    if (!OnGridMButtonUp(flags, point)) {
        Default();
    }
}

void CGXGridWnd::OnRButtonUp(UINT flags, CPoint point) {
    if (!OnGridRButtonUp(flags, point)) {
        Default();
    }
}

void CGXGridWnd::OnLButtonDblClk(UINT flags, CPoint point) {
    if (!OnGridLButtonDblClk(flags, point)) {
        Default();
    }
}

void CGXGridWnd::OnMButtonDblClk(UINT flags, CPoint point) {
    if (!OnGridMButtonDblClk(flags, point)) {
        Default();
    }
}

void CGXGridWnd::OnRButtonDblClk(UINT flags, CPoint point) {
    if (!OnGridRButtonDblClk(flags, point)) {
        Default();
    }
}

void CGXGridWnd::OnMouseMove(UINT flags, CPoint point) {
    if (!OnGridMouseMove(flags, point)) {
        Default();
    }
}

// Before the initial update the update region is validated and nothing drawn: a paint must never fail.
void CGXGridWnd::OnPaint() {
    CPaintDC dc(this);
    if (!m_bInitDone) {
        return;
    }
    PrepareDC(&dc);
    OnGridDraw(&dc);
}

void CGXGridWnd::OnNcPaint() {
    Default();
    constexpr DWORD kFrameStyle = 0x200;
    if (m_bDrawFrame || (GetStyle() & kFrameStyle)) {
        DrawFrameInParent(this);
    }
}

BOOL CGXGridWnd::OnSetCursor(CWnd*, UINT hitTest, UINT message) {
    return OnGridSetCursor(hitTest, message) ? TRUE : static_cast<BOOL>(Default());
}

void CGXGridWnd::OnSize(UINT type, int cx, int cy) {
    if (!OnGridSize(type, cx, cy)) {
        Default();
    }
}

void CGXGridWnd::OnShowWindow(BOOL show, UINT status) {
    Default();
    OnGridShowWindow(show, status);
}

void CGXGridWnd::OnSetFocus(CWnd* oldWnd) {
    Default();
    OnGridSetFocus(oldWnd);
}

void CGXGridWnd::OnKillFocus(CWnd* newWnd) {
    Default();
    OnGridKillFocus(newWnd);
}

UINT CGXGridWnd::OnGetDlgCode() {
    return OnGridGetDlgCode(static_cast<UINT>(Default()));
}

void CGXGridWnd::OnCancelMode() {
    OnGridCancelMode();
}

int CGXGridWnd::OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message) {
    int result = 0;
    if (OnGridMouseActivate(desktop, hitTest, message, result)) {
        return result;
    }
    return static_cast<int>(Default());
}

void CGXGridWnd::OnSysColorChange() {
    OnGridSysColorChange();
    CWnd::OnSysColorChange();
}

void CGXGridWnd::OnWinIniChange(LPCTSTR section) {
    OnGridWinIniChange(section);
    CWnd::OnWinIniChange(section);
}

void CGXGridWnd::OnTimer(UINT_PTR timerId) {
    OnGridTimer(timerId);
    Default();
}

LRESULT CGXGridWnd::OnQueryParamFlag(WPARAM, LPARAM) {
    return QueryParamFlag();
}

LRESULT CGXGridWnd::OnUpdateTabName(WPARAM wParam, LPARAM) {
    UpdateTabName(wParam);
    return 0;
}

LRESULT CGXGridWnd::OnValidateRequest(WPARAM wParam, LPARAM) {
    return OnValidateCurrentCellRequest(wParam) ? FALSE : TRUE;
}

LRESULT CGXGridWnd::OnMoveToRecord(WPARAM wParam, LPARAM lParam) {
    SetFocus();
    MoveToRecord(static_cast<int>(wParam), static_cast<LONG>(lParam));
    return 0;
}

LRESULT CGXGridWnd::OnInvalidateRectMessage(WPARAM wParam, LPARAM) {
    // A tab window sends 1 and 0 around its resize; no rectangle lives at those addresses.
    if (wParam == 0 || wParam == 1) {
        LockSizeRedraw(wParam == 1);
        return 0;
    }
    InvalidateGridRect(reinterpret_cast<const RECT*>(wParam), TRUE);
    return 0;
}

// ---- Layout loading

CObject* ReadArchiveObject(CFile* file, CRuntimeClass* runtimeClass) {
    try {
        CArchive ar(file, CArchive::load, 4096);
        // Every object of a layout has one owner: a damaged archive leaves nothing behind.
        ar.SetSingleOwnerObjects(true);
        CObject* object = ar.ReadObject(nullptr);
        ar.Close();
        if (object && runtimeClass && !object->IsKindOf(runtimeClass)) {
            delete object;
            return nullptr;
        }
        return object;
    } catch (CException* e) {
        e->Delete();
        return nullptr;
    }
}

CObject* LoadResourceObject(LPCTSTR name, LPCTSTR type, CRuntimeClass* runtimeClass) {
    HMODULE module = DolivaFindResourceModule(name, type);
    HRSRC resource = module ? ::FindResourceW(module, name, type) : nullptr;
    if (!resource) {
        module = AfxGetInstanceHandle();
        resource = ::FindResourceW(module, name, type);
    }
    if (!resource) {
        return nullptr;
    }
    HGLOBAL handle = ::LoadResource(module, resource);
    auto* bytes = handle ? static_cast<BYTE*>(::LockResource(handle)) : nullptr;
    if (!bytes) {
        return nullptr;
    }
    // No growth: a growable memory file starts empty, and the layout would read as nothing.
    CMemFile file(bytes, ::SizeofResource(module, resource));
    CObject* object = ReadArchiveObject(&file, runtimeClass);
    file.Detach();
    return object;
}

CGXGridParam* LoadGridLayoutResource(LPCTSTR name) {
    return static_cast<CGXGridParam*>(LoadResourceObject(name, u"GXLAYOUT", RUNTIME_CLASS(CGXGridParam)));
}
