#include "grid/CGXTabWnd.h"

#include "grid/CGXDrawingAndFormatting.h"
#include "grid/GridLibraryState.h"
#include "grid/GridSysColorCache.h"
#include "grid/GridWindowClass.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/FrameworkResources.h"

#include <algorithm>
#include <memory>

IMPLEMENT_DYNCREATE(CGXEditLabelPopup, CEdit)
IMPLEMENT_DYNCREATE(CGXTabWnd, CWnd)

BEGIN_MESSAGE_MAP(CGXTabWnd, CWnd)
ON_WM_PAINT()
ON_WM_SIZE()
ON_MESSAGE(WM_TAB_SELECTED, OnTabSelected)
ON_MESSAGE(WM_TAB_CANSWITCH, OnCanSwitchTab)
ON_MESSAGE(WM_TAB_RENAME, OnStartRename)
ON_MESSAGE(WM_TAB_CANCELRENAME, OnCancelRename)
ON_MESSAGE(WM_TAB_ENDRENAME, OnEndRename)
ON_WM_VSCROLL()
ON_WM_HSCROLL()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_SETCURSOR()
ON_WM_SETFOCUS()
ON_WM_ERASEBKGND()
ON_WM_NCPAINT()
ON_WM_SYSCOLORCHANGE()
ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

namespace {

constexpr LPCTSTR kTabWndClass = u"CGXTabWnd";
using TabWndClass = GridWindowClass<CGXTabWnd>;

// How grids read and set the names of their tabs.
class CGXTabWndInterface : public CGXAbstractTabWndInterface {
public:
    void TabNameOfWindow(CWnd* window, CString& name, BOOL set) override {
        auto* tabs = static_cast<CGXTabWnd*>(FindParentOfClass(window, RUNTIME_CLASS(CGXTabWnd), TRUE));
        if (!tabs) {
            return;
        }
        if (set) {
            tabs->SetTabNameOfWindow(window, name, FALSE);
        } else {
            const CString* current = tabs->GetTabName(window);
            name = current ? *current : CString();
        }
    }
    void GetTabNameAt(CString& name, CWnd* window, int index) override {
        auto* tabs = static_cast<CGXTabWnd*>(FindParentOfClass(window, RUNTIME_CLASS(CGXTabWnd), TRUE));
        const bool known = tabs && tabs->m_pBeam && index >= 0 && index < tabs->m_pBeam->GetCount();
        name = known ? tabs->m_pBeam->GetTab(index).sLabel : CString();
    }
};

int Win4() {
    return GridLibraryState::Instance().isWindows4OrLater ? 1 : 0;
}

// Scroll bars lose their border once they have room for it; a window already in place is left alone.
void PlaceScrollChild(HDWP& deferral, CWnd* window, int x, int y, int width, int height, BOOL isScrollBar) {
    if (!window || !window->GetSafeHwnd()) {
        return;
    }
    if (isScrollBar) {
        if (width > 1 && height > 1) {
            window->ModifyStyle(WS_BORDER, 0);
        } else {
            window->ModifyStyle(0, WS_BORDER);
        }
    }
    const CRect wanted(x - 1, y - 1, x + width + 1, y + height + 1);
    CRect now;
    window->GetWindowRect(&now);
    window->GetParent()->ScreenToClient(&now);
    if (now == wanted) {
        return;
    }
    deferral = ::DeferWindowPos(deferral, window->GetSafeHwnd(), nullptr, wanted.left, wanted.top, wanted.Width(),
                                wanted.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

// --- the rename edit ---

LRESULT CGXEditLabelPopup::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        return CEdit::WindowProc(message, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            GetParent()->SendMessage(wParam == VK_RETURN ? WM_TAB_ENDRENAME : WM_TAB_CANCELRENAME, 0, 0);
            return 0;
        }
        break;
    case WM_KEYUP:
    case WM_CHAR:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            return 0;
        }
        break;
    case WM_KILLFOCUS: {
        const LRESULT result = CEdit::WindowProc(message, wParam, lParam);
        GetParent()->SendMessage(WM_TAB_CANCELRENAME, 0, 0);
        return result;
    }
    default:
        break;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}

// --- creation and layout ---

CGXTabWnd::CGXTabWnd(CRuntimeClass* beamClass) : m_pBeamClass(beamClass) {
    m_nHorzBarHeight = ::GetSystemMetrics(SM_CYHSCROLL);
    m_nBeamHeight = m_nHorzBarHeight + (Win4() ? 2 : 0);
    m_brBackground.CreateSolidBrush(GridSysColorCache::GetColor(COLOR_BTNFACE));
    GridLibraryState& state = GridLibraryState::Instance();
    state.AddRuntimeClassOnce(RUNTIME_CLASS(CGXTabWnd));
    if (!state.tabWndInterface) {
        state.tabWndInterface = std::make_unique<CGXTabWndInterface>();
    }
}

void CGXTabWnd::RegisterClass(HINSTANCE instance) {
    TabWndClass::Register(instance, kTabWndClass);
}

void CGXTabWnd::UnregisterClass(HINSTANCE instance) {
    TabWndClass::Unregister(instance, kTabWndClass);
}

void CGXTabWnd::PostNcDestroy() {
    TabWndClass::ReleaseIfSelfCreated(this);
}

CGXTabWnd::~CGXTabWnd() {
    TabWndClass::Forget(this);
    if (m_pEdit) {
        m_pEdit->DestroyWindow();
        delete m_pEdit;
    }
    if (m_pBeam && m_pBeam->GetSafeHwnd()) {
        m_pBeam->DestroyWindow();
    }
    delete m_pBeam;
}

BOOL CGXTabWnd::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style |= WS_CLIPCHILDREN;
    return CWnd::PreCreateWindow(cs);
}

BOOL CGXTabWnd::Create(CWnd* parent, DWORD style, UINT id) {
    m_bShowHorzBar = (style & WS_HSCROLL) != 0;
    m_bShowVertBar = (style & WS_VSCROLL) != 0;
    RegisterGridWindowClasses(AfxGetInstanceHandle());
    const BOOL madeWindow = !GetSafeHwnd();
    if (madeWindow &&
        !CreateEx(0, u"GxMdiFrame", nullptr, style & ~(WS_HSCROLL | WS_VSCROLL), 0, 0, 0, 0,
                  parent ? parent->GetSafeHwnd() : nullptr, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)))) {
        return FALSE;
    }
    if (!CreateChildBars()) {
        // A window from a dialog template stays, without children, rather than vanish (and delete itself)
        // in the middle of the message that asked for its layout.
        if (madeWindow) {
            DestroyWindow();
        } else {
            for (CScrollBar* bar : {&m_horzBar, &m_vertBar, &m_sizeBox}) {
                if (bar->GetSafeHwnd()) {
                    bar->DestroyWindow();
                }
            }
        }
        return FALSE;
    }
    if (!m_pBeam) {
        m_pBeam = static_cast<CGXTabBeam*>(m_pBeamClass->CreateObject());
        m_pBeam->Create(WS_VISIBLE, CRect(0, 0, 1, 1), this, kBeamId);
    }
    m_bCreated = TRUE;
    return TRUE;
}

BOOL CGXTabWnd::CreateChildBars() {
    const CRect tiny(0, 0, 1, 1);
    if (!m_horzBar.Create(u"SCROLLBAR", nullptr, SBS_HORZ | WS_CHILD | WS_VISIBLE, tiny, this, kHorzBarId) ||
        !m_vertBar.Create(u"SCROLLBAR", nullptr, SBS_VERT | WS_CHILD | WS_VISIBLE, tiny, this, kVertBarId)) {
        return FALSE;
    }
    if (!m_bShowHorzBar) {
        m_horzBar.ShowWindow(SW_HIDE);
    }
    if (!m_bShowVertBar) {
        m_vertBar.ShowWindow(SW_HIDE);
    }
    return !(Win4() && (m_bShowHorzBar || m_bShowVertBar) && ParentIsFrame()) ||
           m_sizeBox.Create(u"SCROLLBAR", nullptr, SBS_SIZEGRIP | WS_CHILD | WS_VISIBLE, tiny, this, kSizeBoxId);
}

void CGXTabWnd::GetSheetRect(CRect& rect) {
    GetClientRect(&rect);
    const int shrink = Win4() - m_nBeamHeight + 1;
    rect.bottom += shrink;
    if (m_bShowVertBar) {
        rect.right += shrink;
    }
}

void CGXTabWnd::RecalcLayout(BOOL duringDrag) {
    if (!m_bCreated &&
        !Create(GetParent(), WS_CHILD | WS_HSCROLL | WS_VSCROLL, static_cast<UINT>(GetDlgCtrlID()))) {
        return;
    }
    CRect client;
    GetClientRect(&client);
    CRect sheet;
    GetSheetRect(sheet);
    if (m_nSplitterX100 == 0) {
        m_nLastWidth = client.right;
        m_nSplitterX100 = (client.right / 2) * 100;
        m_nSplitterX = m_nSplitterX100 / 100;
    }
    HDWP deferral = ::BeginDeferWindowPos(5);
    const int vbarWidth = client.right - 2 * Win4() - sheet.right;
    const int barHeight = client.bottom - 2 * Win4() - sheet.bottom;
    const int barTop = sheet.bottom + 1;
    if (m_bShowHorzBar) {
        PlaceScrollChild(deferral, &m_horzBar, m_nSplitterX + m_nSplitterWidth, barTop,
                         sheet.right - m_nSplitterX - m_nSplitterWidth, barHeight, TRUE);
    } else {
        PlaceScrollChild(deferral, &m_horzBar, client.right, barTop, 0, barHeight, TRUE);
    }
    if (!duringDrag && m_bShowVertBar) {
        PlaceScrollChild(deferral, &m_vertBar, sheet.right + 1, 0, vbarWidth, sheet.bottom, TRUE);
    }
    if (Win4() && m_bShowHorzBar && m_bShowVertBar && ParentIsFrame()) {
        PlaceSizeBox(deferral, sheet, vbarWidth, barHeight);
    }
    PlaceScrollChild(deferral, m_pBeam, 0, barTop, m_bShowHorzBar ? m_nSplitterX : client.right, barHeight,
                     FALSE);
    if (!duringDrag && m_pActivePane) {
        PlaceScrollChild(deferral, m_pActivePane, 1, 1, sheet.Width() - 2, sheet.Height() - 2, FALSE);
    }
    ::EndDeferWindowPos(deferral);
    if (!duringDrag && m_pActivePane) {
        m_pActivePane->SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(sheet.Width() - 3, sheet.Height() - 3));
    }
}

BOOL CGXTabWnd::ParentIsFrame() {
    CWnd* parent = GetParent();
    return parent && parent->IsKindOf(RUNTIME_CLASS(CFrameWnd));
}

void CGXTabWnd::PlaceSizeBox(HDWP& deferral, const CRect& sheet, int width, int height) {
    if (!m_sizeBox.GetSafeHwnd()) {
        return;
    }
    PlaceScrollChild(deferral, &m_sizeBox, sheet.right + 2, sheet.bottom + 2, width, height, TRUE);
    // A grip only where it really sizes a frame; a plain box otherwise.
    const BOOL grips = FindSizeGripFrame() != nullptr;
    const DWORD wanted = grips ? SBS_SIZEGRIP : SBS_SIZEBOX;
    if ((m_sizeBox.GetStyle() & (SBS_SIZEGRIP | SBS_SIZEBOX)) != wanted) {
        m_sizeBox.ModifyStyle(SBS_SIZEGRIP | SBS_SIZEBOX, wanted);
        m_sizeBox.Invalidate(TRUE);
    }
    m_sizeBox.EnableWindow(grips);
}

CWnd* CGXTabWnd::FindSizeGripFrame() {
    if (!Win4()) {
        return nullptr;
    }
    CWnd* candidate = (GetStyle() & WS_THICKFRAME) ? this : GetParent();
    if (!candidate || !(candidate->GetStyle() & WS_THICKFRAME) || (candidate->GetStyle() & WS_MAXIMIZE)) {
        return nullptr;
    }
    CRect frame;
    candidate->GetClientRect(&frame);
    candidate->MapWindowPoints(this, &frame);
    CRect client;
    GetClientRect(&client);
    return frame.right == client.right && frame.bottom == client.bottom ? candidate : nullptr;
}

// --- sheets ---

CWnd* CGXTabWnd::AttachSheet(CWnd* window, LPCTSTR name) {
    if (!m_bCreated) {
        RecalcLayout();
        if (!m_bCreated) {
            return nullptr;
        }
    }
    CRect sheet;
    GetSheetRect(sheet);
    window->MoveWindow(&sheet, TRUE);
    m_pBeam->InsertTab(FALSE, name, window, FALSE, -1);
    window->ShowScrollBar(SB_BOTH, FALSE);
    if (!m_pActivePane) {
        m_pActivePane = window;
        window->ShowWindow(SW_SHOW);
        window->SetActiveWindow();
    }
    window->SendMessage(WM_TAB_ATTACHED, static_cast<WPARAM>(m_pBeam->FindTab(window)), 0);
    SaveScrollState(window);
    return window;
}

CWnd* CGXTabWnd::CreateSheet(CRuntimeClass* windowClass, LPCTSTR name) {
    CObject* object = windowClass ? windowClass->CreateObject() : nullptr;
    auto* window = dynamic_cast<CWnd*>(object);
    if (!window) {
        delete object;
        return nullptr;
    }
    CRect sheet;
    GetSheetRect(sheet);
    if (!window->Create(AfxRegisterWndClass(CS_DBLCLKS), name, WS_CHILD, sheet, this,
                        static_cast<UINT>(m_pBeam->GetCount() + 1))) {
        delete window;
        return nullptr;
    }
    return AttachSheet(window, name);
}

BOOL CGXTabWnd::AskSheetsToSwitch(int index) {
    CWnd* target = m_pBeam->GetTab(index).pExtra;
    if (target == m_pActivePane) {
        return TRUE;
    }
    const BOOL refused = (m_pActivePane && m_pActivePane->SendMessage(WM_TAB_SWITCHING, 0, 0) != 0) ||
                         (target && target->SendMessage(WM_TAB_SWITCHING, 1, 0) != 0);
    if (refused && m_pActivePane) {
        m_pActivePane->SetFocus();
    }
    return !refused;
}

LRESULT CGXTabWnd::OnCanSwitchTab(WPARAM index, LPARAM) {
    return AskSheetsToSwitch(static_cast<int>(index)) ? 0 : 1;
}

LRESULT CGXTabWnd::OnTabSelected(WPARAM index, LPARAM) {
    CWnd* window = m_pBeam->GetTab(static_cast<int>(index)).pExtra;
    if (window != m_pActivePane) {
        SwitchToSheet(window);
        return 0;
    }
    MSG pending{};
    if (m_pActivePane && !::PeekMessageW(&pending, GetSafeHwnd(), WM_TAB_RENAME, WM_TAB_RENAME, PM_NOREMOVE)) {
        m_pActivePane->SetFocus();
        m_pActivePane->Invalidate(TRUE);
    }
    return 0;
}

void CGXTabWnd::SwitchToSheet(CWnd* window) {
    const int index = m_pBeam->FindTab(window);
    if (index < 0) {
        return;
    }
    if (m_pActivePane) {
        if (!AskSheetsToSwitch(index)) {
            return;
        }
        SaveScrollState(m_pActivePane);
        m_pActivePane->ShowWindow(SW_HIDE);
    }
    m_pBeam->EnsureTabVisible(index);
    if (index != m_pBeam->m_nCurrent) {
        m_pBeam->m_nCurrent = index;
        m_pBeam->Invalidate(FALSE);
    }
    m_pBeam->UpdateWindow();
    m_pActivePane = window;
    window->SetActiveWindow();
    window->ShowWindow(SW_SHOW);
    window->SetFocus();
    RestoreScrollState(window);
    window->Invalidate(TRUE);
    RecalcLayout();
}

const CString* CGXTabWnd::GetTabName(const CWnd* window) {
    const int index = m_pBeam ? m_pBeam->FindTab(window) : -1;
    return index < 0 ? nullptr : &m_pBeam->GetTab(index).sLabel;
}

void CGXTabWnd::SetTabName(int index, LPCTSTR name, BOOL notify) {
    m_pBeam->GetTab(index).sLabel = name;
    m_pBeam->UpdateTabWidth(index);
    m_pBeam->Invalidate(TRUE);
    if (notify && m_pBeam->GetTab(index).pExtra) {
        m_pBeam->GetTab(index).pExtra->SendMessage(WM_TAB_NAMECHANGED, static_cast<WPARAM>(index), 0);
    }
}

void CGXTabWnd::SetTabNameOfWindow(CWnd* window, LPCTSTR name, BOOL notify) {
    const int index = m_pBeam->FindTab(window);
    if (index >= 0) {
        SetTabName(index, name, notify);
    }
}

void CGXTabWnd::SaveScrollState(CWnd* window) {
    const int index = m_pBeam->FindTab(window);
    if (index < 0) {
        return;
    }
    CGXTabInfo& tab = m_pBeam->GetTab(index);
    const DWORD style = window->GetStyle();
    for (auto [bar, info, ownBar] : {std::tuple{SB_VERT, &tab.sbInfoVert, (style & WS_VSCROLL) != 0},
                                     std::tuple{SB_HORZ, &tab.sbInfoHorz, (style & WS_HSCROLL) != 0}}) {
        const bool hasBar = ownBar || window->GetScrollBarCtrl(bar) != nullptr;
        *info = SCROLLINFO{};
        info->cbSize = sizeof(SCROLLINFO);
        if (!hasBar) {
            continue; // a window without the bar has no state there; restoring it would show the bar
        }
        info->fMask = SIF_ALL;
        if (!window->GetScrollInfo(bar, info, SIF_ALL)) {
            window->GetScrollRange(bar, &info->nMin, &info->nMax);
        }
        info->nTrackPos = window->GetScrollPos(bar);
    }
}

void CGXTabWnd::RestoreScrollState(CWnd* window) {
    const int index = m_pBeam->FindTab(window);
    if (index < 0) {
        return;
    }
    CGXTabInfo& tab = m_pBeam->GetTab(index);
    for (auto [bar, info, shared] : {std::tuple{SB_VERT, &tab.sbInfoVert, &m_vertBar},
                                     std::tuple{SB_HORZ, &tab.sbInfoHorz, &m_horzBar}}) {
        if (info->nMax == 0) {
            shared->EnableWindow(FALSE);
            continue;
        }
        shared->EnableWindow(TRUE);
        SCROLLINFO restored = *info;
        restored.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
        if (!window->SetScrollInfo(bar, &restored, FALSE)) {
            window->SetScrollRange(bar, info->nMin, info->nMax, FALSE);
        }
        window->SetScrollPos(bar, info->nTrackPos, TRUE);
    }
}

// --- renaming ---

LRESULT CGXTabWnd::OnStartRename(WPARAM wParam, LPARAM) {
    const int index = static_cast<int>(wParam);
    if (m_pEdit || index < 0 || index >= m_pBeam->GetCount()) {
        return 0;
    }
    CWnd* sheet = m_pBeam->GetTab(index).pExtra;
    if (!sheet || sheet->SendMessage(WM_TAB_CANRENAME, wParam, 0) == 0) {
        return 0;
    }
    int left = m_pBeam->GetTabLeft(index);
    CRect area;
    GetSheetRect(area);
    CSize w;
    {
        CClientDC dc(m_pBeam);
        CFont* old = dc.SelectObject(m_pBeam->m_pFontNormal);
        w = dc.GetTextExtent(CString(u"W"));
        dc.SelectObject(old);
    }
    const int frame = ::GetSystemMetrics(SM_CYDLGFRAME);
    int top = area.bottom - 2 * (w.cy + frame);
    if (top < 1) {
        top = 0;
    }
    const int width = 15 * w.cx;
    int right = left + width;
    const int bottom = top + 4 * frame + w.cy;
    if (right > area.right) {
        left = std::max<int>(area.right - width, 0);
        right = area.right;
    }
    if (left < 0) {
        left = 0;
        right = std::min<int>(width, area.right);
    }
    UpdateWindow();
    m_pEdit = new CGXEditLabelPopup;
    const DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | WS_BORDER | (Win4() ? 0 : WS_DLGFRAME);
    if (!m_pEdit->Create(style, CRect(left, top, right, bottom), this, kEditId)) {
        delete m_pEdit;
        m_pEdit = nullptr;
        return 0;
    }
    m_pEdit->SetWindowText(m_pBeam->GetTab(index).sLabel);
    m_pEdit->SetFont(m_pBeam->m_pFontNormal);
    m_pEdit->SetFocus();
    return 0;
}

void CGXTabWnd::CloseRenameEdit() {
    // Destroying the edit takes its focus, which asks to cancel again: it finds no edit open.
    CGXEditLabelPopup* edit = m_pEdit;
    m_pEdit = nullptr;
    if (edit) {
        edit->DestroyWindow();
        delete edit;
    }
}

LRESULT CGXTabWnd::OnEndRename(WPARAM, LPARAM) {
    if (!m_pEdit) {
        return 0;
    }
    CString text;
    m_pEdit->GetWindowText(text);
    CloseRenameEdit();
    const int current = m_pBeam->m_nCurrent;
    if (current >= 0) {
        SetTabName(current, text, TRUE);
    }
    return 0;
}

LRESULT CGXTabWnd::OnCancelRename(WPARAM, LPARAM) {
    CloseRenameEdit();
    return 0;
}

// --- size, splitter and scroll messages ---

void CGXTabWnd::OnSize(UINT type, int cx, int cy) {
    CloseRenameEdit();
    if (m_pActivePane) {
        m_pActivePane->SendMessage(WM_TAB_LOCKPAINT, 1, 0);
    }
    if (type != SIZE_MINIMIZED && cx > 0 && cx < 0x7FFF && cy > 0 && cy < 0x7FFF) {
        if (m_nSplitterX != m_nSplitterX100 / 100) {
            m_nSplitterX100 = m_nSplitterX * 100;
        }
        if (m_pBeam && m_nLastWidth != 0 && m_nSplitterX100 != 0) {
            const int c = (m_pBeam->m_nButtonsWidth - 20) * 100;
            m_nSplitterX100 = cx * (m_nSplitterX100 - c) / m_nLastWidth + c;
        } else if (m_nSplitterX100 == 0) {
            m_nSplitterX100 = (cx / 2) * 100;
        }
        m_nSplitterX = m_nSplitterX100 / 100;
        m_nLastWidth = cx;
        RecalcLayout();
    }
    Default();
    UpdateWindow();
    if (m_pActivePane) {
        m_pActivePane->SendMessage(WM_TAB_LOCKPAINT, 0, 0);
        CRect client;
        m_pActivePane->GetClientRect(&client);
        m_pActivePane->SendMessage(WM_SIZE, type, MAKELPARAM(client.Width(), client.Height()));
    }
}

BOOL CGXTabWnd::InSplitter(CPoint point, int height) {
    CRect client;
    GetClientRect(&client);
    return m_bShowHorzBar && point.x > m_nSplitterX && point.x < m_nSplitterX + m_nSplitterWidth &&
           point.y >= client.bottom - height && point.y < client.bottom;
}

void CGXTabWnd::OnLButtonDown(UINT flags, CPoint point) {
    if (m_pActivePane) {
        m_pActivePane->SetFocus();
    }
    if (InSplitter(point, m_nHorzBarHeight)) {
        SetCapture();
        m_bTracking = TRUE;
        return;
    }
    CWnd::OnLButtonDown(flags, point);
}

void CGXTabWnd::OnMouseMove(UINT flags, CPoint point) {
    if (m_bTracking) {
        if (point.x == m_nSplitterX) {
            return;
        }
        CRect client;
        GetClientRect(&client);
        if (point.x < m_pBeam->m_nButtonsWidth + 20 || point.x > client.right - 2 * m_nBeamHeight) {
            return;
        }
        CRect old(m_nSplitterX, 0, m_nSplitterX + m_nSplitterWidth, client.bottom);
        InvalidateRect(&old, FALSE);
        m_pBeam->m_nRepaintFrom = std::min<int>(m_nSplitterX, point.x);
        m_nSplitterX = point.x;
        RecalcLayout(TRUE);
        UpdateWindow();
        return;
    }
    if (InSplitter(point, m_nBeamHeight)) {
        static HCURSOR splitter = [] {
            HCURSOR loaded = ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(20197));
            return loaded ? loaded : ::LoadCursorW(nullptr, IDC_SIZEWE);
        }();
        ::SetCursor(splitter);
    }
    CWnd::OnMouseMove(flags, point);
}

void CGXTabWnd::OnLButtonUp(UINT flags, CPoint point) {
    if (m_bTracking) {
        ::ReleaseCapture();
        m_bTracking = FALSE;
        OnMouseMove(flags, point);
        m_pBeam->m_nRepaintFrom = -2;
        m_pBeam->Invalidate(FALSE);
        m_pBeam->UpdateWindow();
        m_pBeam->m_nRepaintFrom = -1;
    }
    CWnd::OnLButtonUp(flags, point);
}

BOOL CGXTabWnd::OnSetCursor(CWnd* window, UINT hitTest, UINT message) {
    if (window == this && !m_bTracking) {
        return TRUE;
    }
    return CWnd::OnSetCursor(window, hitTest, message);
}

void CGXTabWnd::ForwardToActiveSheet(UINT message) {
    CloseRenameEdit();
    if (m_pActivePane) {
        const MSG* current = GetCurrentMessage();
        m_pActivePane->SendMessage(message, current->wParam, current->lParam);
    }
}

void CGXTabWnd::OnVScroll(UINT, UINT, CScrollBar*) {
    ForwardToActiveSheet(WM_VSCROLL);
}

void CGXTabWnd::OnHScroll(UINT, UINT, CScrollBar*) {
    ForwardToActiveSheet(WM_HSCROLL);
}

void CGXTabWnd::OnSetFocus(CWnd* oldWindow) {
    Default();
    if (m_pActivePane && m_pActivePane != oldWindow) {
        m_pActivePane->SetFocus();
    }
}

// --- painting and settings ---

void CGXTabWnd::DrawSplitter(CDC* dc, const CRect& rect) {
    if (!dc) {
        InvalidateRect(&rect, TRUE);
        return;
    }
    const COLORREF columns[5] = {RGB(0, 0, 0), GridSysColorCache::GetColor(COLOR_BTNHIGHLIGHT),
                                 GridSysColorCache::GetColor(COLOR_BTNFACE),
                                 GridSysColorCache::GetColor(COLOR_BTNSHADOW), RGB(0, 0, 0)};
    for (int i = 0; i < 5; ++i) {
        dc->FillSolidRect(rect.left + i, rect.top, 1, rect.Height(), columns[i]);
    }
    if (GridLibraryState::Instance().isBeforeWindows4) {
        dc->FillSolidRect(rect.left, rect.top, rect.Width(), 1, RGB(0, 0, 0));
    }
}

void CGXTabWnd::OnPaint() {
    CPaintDC dc(this);
    if (!m_bCreated) {
        RecalcLayout();
    }
    if (m_bCreated && m_bShowHorzBar) {
        CRect client;
        GetClientRect(&client);
        CRect sheet;
        GetSheetRect(sheet);
        DrawSplitter(&dc,
                     CRect(m_nSplitterX + 1, sheet.bottom, m_nSplitterX + m_nSplitterWidth, client.bottom));
    }
}

void CGXTabWnd::OnNcPaint() {
    Default();
    constexpr DWORD kFrameStyle = 0x200;
    if (m_bBorder || (GetStyle() & kFrameStyle)) {
        DrawFrameInParent(this);
    }
}

BOOL CGXTabWnd::OnEraseBkgnd(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    CRect column(client.right - m_nBeamHeight, client.top, client.right, client.bottom);
    dc->FillRect(&column, &m_brBackground);
    return TRUE;
}

void CGXTabWnd::OnSysColorChange() {
    Default();
    GridSysColorCache::Refresh();
    m_brBackground.DeleteObject();
    m_brBackground.CreateSolidBrush(GridSysColorCache::GetColor(COLOR_BTNFACE));
    Invalidate(TRUE);
}

void CGXTabWnd::OnSettingChange(UINT, LPCTSTR) {
    Default();
    InitDateTimeFeature();
    m_nHorzBarHeight = ::GetSystemMetrics(SM_CYHSCROLL);
    m_nBeamHeight = m_nHorzBarHeight + (Win4() ? 2 : 0);
    RecalcLayout();
}
