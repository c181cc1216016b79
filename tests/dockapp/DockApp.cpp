#include "DockApp.h"

#include "DockAppIds.h"

#include "toolkit/SECBmpMgr.h"
#include "toolkit/ToolkitResourceIds.h"

#include "platform/framework/AfxRes.h"

#include <array>

namespace dockapp {

namespace {

constexpr std::array<UINT, 7> kImageCommands{ID_DOCK_NEW,    ID_DOCK_OPEN, ID_DOCK_SAVE, ID_DOCK_CONNECT,
                                    ID_DOCK_SURVEY, ID_DOCK_SKY,  ID_DOCK_LOG};
constexpr UINT kStandardButtons[] = {ID_DOCK_NEW, ID_DOCK_OPEN, ID_DOCK_SAVE, 0, ID_DOCK_CONNECT};
constexpr UINT kReceiverButtons[] = {ID_DOCK_SURVEY, ID_DOCK_SKY, 0, ID_DOCK_LOG};

// One 16 x 15 image per command: a framed square of its own colour, so the buttons tell apart on screen.
HBITMAP MakeImageStrip() {
    constexpr COLORREF colours[] = {RGB(250, 250, 250), RGB(240, 200, 80), RGB(60, 110, 200), RGB(40, 160, 70),
                                    RGB(200, 60, 60),   RGB(120, 80, 190), RGB(90, 90, 90)};
    const int count = static_cast<int>(kImageCommands.size());
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 16 * count, 15);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    RECT all{0, 0, 16 * count, 15};
    ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_BTNFACE));
    HBRUSH frame = ::CreateSolidBrush(RGB(0, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT outer{16 * i + 2, 1, 16 * i + 14, 13};
        ::FillRect(dc, &outer, frame);
        RECT inner{outer.left + 1, outer.top + 1, outer.right - 1, outer.bottom - 1};
        HBRUSH fill = ::CreateSolidBrush(colours[i]);
        ::FillRect(dc, &inner, fill);
        ::DeleteObject(fill);
    }
    ::DeleteObject(frame);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return bmp;
}

HMENU MakeMainMenu() {
    HMENU file = ::CreatePopupMenu();
    ::AppendMenuW(file, MF_STRING, ID_DOCK_CONNECT, u"&Connect");
    ::AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(file, MF_STRING, ID_APP_EXIT, u"E&xit");
    HMENU view = ::CreatePopupMenu();
    ::AppendMenuW(view, MF_STRING, ID_DOCK_SKY, u"&Sky");
    ::AppendMenuW(view, MF_STRING, ID_DOCK_LOG, u"&Log");
    ::AppendMenuW(view, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(view, MF_STRING, ID_DOCK_CUSTOMIZE, u"&Toolbars...");
    ::AppendMenuW(view, MF_STRING, ID_DOCK_CUSTOMIZE_SHEET, u"&Customize...");
    HMENU menu = ::CreateMenu();
    ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), u"&File");
    ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(view), u"&View");
    return menu;
}

} // namespace

void PanelBar::DoPaint(CDC* pDC) {
    SECControlBar::DoPaint(pDC);
    CRect rect;
    GetClientRect(&rect);
    CalcInsideRect(rect, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    pDC->FillSolidRect(&rect, m_colour);
    CString title;
    GetWindowTextW(title);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    rect.DeflateRect(6, 4);
    pDC->DrawText(title, &rect, DT_LEFT | DT_TOP | DT_SINGLELINE);
}

BOOL CreatePanelsAndControls(CFrameWnd* frame, PanelBar& satellites, PanelBar& log, SECDialogBar& controls) {
    const DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC;
    const DWORD exStyle = CBRS_EX_GRIPPER | CBRS_EX_GRIPPER_CLOSE | CBRS_EX_COOLBORDERS;
    struct {
        PanelBar& bar;
        const char16_t* title;
        UINT id;
    } bars[] = {{satellites, u"Satellites", ID_BAR_SATELLITES}, {log, u"Log", ID_BAR_LOG}};
    for (auto& b : bars) {
        if (!b.bar.Create(frame, b.title, style, exStyle, b.id)) {
            return FALSE;
        }
        b.bar.EnableDocking(CBRS_ALIGN_ANY);
    }
    if (!controls.Create(frame, IDD_DOCK_CONTROLS, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, CBRS_EX_COOLBORDERS,
                         ID_BAR_CONTROLS)) {
        return FALSE;
    }
    controls.SetWindowTextW(u"Controls");
    controls.EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
    return TRUE;
}

BEGIN_MESSAGE_MAP(DocumentView, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

void DocumentView::OnPaint() {
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    dc.FillSolidRect(&rect, RGB(255, 255, 255));
    dc.SetBkMode(TRANSPARENT);
    rect.DeflateRect(10, 10);
    dc.DrawText(u"Document", &rect, DT_LEFT | DT_TOP | DT_SINGLELINE);
}

BEGIN_MESSAGE_MAP(DockAppFrame, SECFrameWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_COMMAND(ID_DOCK_CUSTOMIZE, OnCustomizeToolBars)
ON_COMMAND(ID_DOCK_CUSTOMIZE_SHEET, OnCustomizeSheet)
ON_WM_CONTEXTMENU()
ON_COMMAND_RANGE(ID_DOCK_NEW, ID_DOCK_LOG, OnToolCommand)
ON_COMMAND(ID_APP_EXIT, OnExit)
END_MESSAGE_MAP()

DockAppFrame::DockAppFrame() = default;

BOOL DockAppFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext*) {
    LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
    return m_view.Create(cls, u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST);
}

int DockAppFrame::OnCreate(LPCREATESTRUCT lpcs) {
    if (SECFrameWnd::OnCreate(lpcs) == -1) {
        return -1;
    }
    EnableDocking(CBRS_ALIGN_ANY);
    if (!CreateMenuAndToolBars()) {
        return -1;
    }
    if (!CreatePanelsAndControls(this, m_satellites, m_log, m_controls)) {
        return -1;
    }
    DefaultLayout();
    // The toolbars' buttons first: the bar layout then shows, hides and places the bars they are on.
    m_pManager->LoadToolBars(kToolBarsName);
    LoadBarLayout(kLayoutName);
    return 0;
}

BOOL CreateDockToolBars(SECToolBarManager& manager, HBITMAP& images) {
    images = MakeImageStrip();
    if (!manager.GetBmpMgr()->AddBitmap(images, nullptr, kImageCommands.data(),
                                        static_cast<int>(kImageCommands.size()))) {
        return FALSE;
    }
    manager.DefineDefaultToolBar(ID_BAR_STANDARD, u"Standard", kStandardButtons,
                                 static_cast<int>(std::size(kStandardButtons)));
    manager.DefineDefaultToolBar(ID_BAR_RECEIVER, u"Receiver", kReceiverButtons,
                                 static_cast<int>(std::size(kReceiverButtons)));
    manager.CreateDefaultToolBars();
    return manager.FindToolBar(ID_BAR_STANDARD) && manager.FindToolBar(ID_BAR_RECEIVER);
}

void DockToolBarsOnTop(CFrameWnd* frame, SECToolBarManager& manager, CControlBar* first) {
    // A negative row -n is a new first row (n = 2) or the front of the first row (n = 1).
    auto* top = dynamic_cast<SECDockBar*>(frame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
    top->DockControlBarAt(manager.FindToolBar(ID_BAR_RECEIVER), {-2, 0, 0});
    top->DockControlBarAt(manager.FindToolBar(ID_BAR_STANDARD), {-1, 0, 0});
    if (first) {
        top->DockControlBarAt(first, {-2, 0, 0});
    }
}

BOOL DockAppFrame::CreateMenuAndToolBars() {
    m_pManager = std::make_unique<SECToolBarManager>(this);
    SetToolBarManager(m_pManager.get());
    m_pMenuBar = new SECMenuBar;
    m_pMenuBar->m_bAutoDelete = TRUE;
    m_pMenuBar->SetManager(m_pManager.get());
    if (!m_pMenuBar->CreateMenuBar(this)) {
        return FALSE;
    }
    m_pMenuBar->EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
    m_hMenu = MakeMainMenu();
    m_pMenuBar->AddMenu(ID_DOCK_MENU, m_hMenu);
    m_pMenuFeature = std::make_unique<SECMenuBarFeature>(m_pMenuBar);
    if (!m_pMenuFeature->AttachToHost(this) || !m_pMenuFeature->SetMenuById(ID_DOCK_MENU)) {
        return FALSE;
    }
    return CreateDockToolBars(*m_pManager, m_hImages);
}

void DockAppFrame::CloseToolBarList() {
    if (m_pCustomize && m_pCustomize->GetSafeHwnd()) {
        if (m_pCustomize->IsWindowVisible()) {
            m_pCustomize->Close(IDCANCEL);
        }
        m_pCustomize->DestroyWindow();
    }
}

// One customisation window at a time: closing either ends customise mode for both.
void DockAppFrame::OnCustomizeToolBars() {
    m_sheet.Close();
    CloseToolBarList();
    m_pCustomize = std::make_unique<SECToolBarListDialog>(m_pManager.get(), this);
    if (m_pCustomize->Create(IDD_SEC_TOOLBARS, this)) {
        m_pCustomize->ShowWindow(SW_SHOW);
    }
}

void DockAppFrame::OnCustomizeSheet() {
    CloseToolBarList();
    m_sheet.Open(m_pManager.get());
}

void DockAppFrame::OnContextMenu(CWnd* pWnd, CPoint pos) {
    if (!TrackBarMenu(this, pWnd, pos)) {
        SECFrameWnd::OnContextMenu(pWnd, pos);
    }
}

void DockAppFrame::OnExit() {
    PostMessageW(WM_CLOSE);
}

LRESULT DockAppFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pMenuFeature) {
        LRESULT result = 0;
        m_pMenuFeature->OnWndMsg(message, wParam, lParam, &result);
        if (m_pMenuFeature->m_bHandled) {
            return result;
        }
    }
    return SECFrameWnd::WindowProc(message, wParam, lParam);
}

BOOL DockAppFrame::PreTranslateMessage(MSG* pMsg) {
    if (m_pMenuFeature && m_pMenuFeature->PreTranslateMessage(pMsg)) {
        return TRUE;
    }
    return SECFrameWnd::PreTranslateMessage(pMsg);
}

void DockAppFrame::DefaultLayout() {
    DockControlBarEx(&m_satellites, AFX_IDW_DOCKBAR_TOP, 0, 0, 0.4f, 110);
    DockControlBarEx(&m_log, AFX_IDW_DOCKBAR_TOP, 1, 0, 0.6f, 110);
    DockControlBar(&m_controls, AFX_IDW_DOCKBAR_BOTTOM);
    // The menu bar alone on top and the two toolbars sharing the next row.
    DockToolBarsOnTop(this, *m_pManager, m_pMenuBar);
}

void DockAppFrame::OnClose() {
    // While the floating frames are still there to be measured.
    CloseToolBarList();
    m_sheet.Close();
    m_pManager->SaveToolBars(kToolBarsName);
    SaveBarLayout(kLayoutName);
    SECFrameWnd::OnClose();
}

void DockAppFrame::OnDestroy() {
    if (m_pCustomize && m_pCustomize->GetSafeHwnd()) {
        m_pCustomize->DestroyWindow();
    }
    m_pCustomize.reset();
    m_sheet.Close();
    m_pMenuFeature.reset();
    // The manager lets go of its bars before the frame takes them down.
    m_pManager.reset();
    SECFrameWnd::OnDestroy();
    ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    ::DeleteObject(m_hImages);
    m_hImages = nullptr;
}

DockAppFrame* OpenDockAppFrame(CPoint origin) {
    auto* frame = new DockAppFrame;
    if (!frame->Create(nullptr, u"Docking", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                       CRect(origin, CSize(760, 520)))) {
        return nullptr;
    }
    frame->ShowWindow(SW_SHOW);
    frame->RecalcLayout();
    return frame;
}

} // namespace dockapp
