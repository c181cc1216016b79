#include "DockApp.h"

#include "DockAppIds.h"

namespace dockapp {

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
    // The menu bar and the toolbars go here, before the sizing bars, so that they take the outer rows.
    const DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC;
    const DWORD exStyle = CBRS_EX_GRIPPER | CBRS_EX_GRIPPER_CLOSE | CBRS_EX_COOLBORDERS;
    struct {
        PanelBar& bar;
        const char16_t* title;
        UINT id;
    } bars[] = {{m_satellites, u"Satellites", ID_BAR_SATELLITES}, {m_log, u"Log", ID_BAR_LOG}};
    for (auto& b : bars) {
        if (!b.bar.Create(this, b.title, style, exStyle, b.id)) {
            return -1;
        }
        b.bar.EnableDocking(CBRS_ALIGN_ANY);
    }
    if (!m_controls.Create(this, IDD_DOCK_CONTROLS, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, CBRS_EX_COOLBORDERS,
                           ID_BAR_CONTROLS)) {
        return -1;
    }
    m_controls.SetWindowTextW(u"Controls");
    m_controls.EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
    DefaultLayout();
    LoadBarLayout(kLayoutName);
    return 0;
}

void DockAppFrame::DefaultLayout() {
    DockControlBarEx(&m_satellites, AFX_IDW_DOCKBAR_TOP, 0, 0, 0.4f, 110);
    DockControlBarEx(&m_log, AFX_IDW_DOCKBAR_TOP, 1, 0, 0.6f, 110);
    DockControlBar(&m_controls, AFX_IDW_DOCKBAR_BOTTOM);
}

void DockAppFrame::OnClose() {
    // While the floating frames are still there to be measured.
    SaveBarLayout(kLayoutName);
    SECFrameWnd::OnClose();
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
