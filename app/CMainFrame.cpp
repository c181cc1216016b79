#include "app/CMainFrame.h"

#include "app/CPex32App.h"
#include "app/CPex32View.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/FrameworkResources.h"
#include "platform/gdi/SystemColors.h"
#include "resources/Resource.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CMainFrame, CPersistentFrame)

BEGIN_MESSAGE_MAP(CMainFrame, CPersistentFrame)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_SIZE()
ON_WM_ENDSESSION()
ON_COMMAND(ID_HELP_FINDER, OnHelpRequest)
ON_COMMAND(ID_DEFAULT_HELP, OnHelpRequest)
ON_COMMAND(ID_HELP, OnHelpRequest)
ON_COMMAND(ID_CONTEXT_HELP, OnHelpRequest)
ON_COMMAND(ID_FRAME_UNUSED_33537, OnUnusedCommand)
ON_COMMAND(ID_FRAME_UNUSED_33538, OnUnusedCommand)
ON_COMMAND(ID_FRAME_UNUSED_33539, OnUnusedCommand)
ON_UPDATE_COMMAND_UI(ID_FRAME_UNUSED_33537, OnUpdateUnusedCommand)
ON_UPDATE_COMMAND_UI(ID_FRAME_UNUSED_33538, OnUpdateUnusedCommand)
ON_UPDATE_COMMAND_UI(ID_FRAME_UNUSED_33539, OnUpdateUnusedChecked)
END_MESSAGE_MAP()

namespace {

const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_RX_MODE, ID_INDICATOR_ANTENNA, ID_INDICATOR_TICK,
                            ID_INDICATOR_STATUS_TEXT};

constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// The frame's window class name, registered once per process.
CString g_frameClass;

} // namespace

// ---- The status bar

BOOL CMainStatusBar::GetPaneColours(int index, COLORREF& textColour, COLORREF& backColour) const {
    SECPaneAttributes a;
    a.nIndex = index;
    if (!GetPaneAttributes(a) || !(a.fMask & (SBP_FOREGROUND | SBP_BACKGROUND))) {
        return FALSE;
    }
    textColour = a.clrFore;
    backColour = a.clrBack;
    return TRUE;
}

CString CMainStatusBar::GetColouredPaneText(int index) const {
    COLORREF text = 0;
    COLORREF back = 0;
    return GetPaneColours(index, text, back) ? GetPaneText(index) : CString();
}

// ---- The frame

CMainFrame::CMainFrame() {
    HINSTANCE instance = AfxGetResourceHandle();
    m_idleIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_IDLE_TICK));
    m_tickIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_TICK));
}

CMainFrame::~CMainFrame() = default;

CMainFrame::PaneLook CMainFrame::AntennaLook(int state) {
    switch (state) {
    case 0:
        return {u"Ant OK", kWhite, kGreen};
    case 1:
        return {u"Ant OC Short", kWhite, kRed};
    case 2:
        return {u"Ant Open", kBlack, kYellow};
    case 3:
        return {u"Ant No Pwr", kBlack, kYellow};
    default:
        return {u"", kBlack, ::GetSysColor(COLOR_BTNFACE)};
    }
}

CMainFrame::PaneLook CMainFrame::ReceiverModeLook(int state) {
    switch (state) {
    case 0:
        return {u"Navigating", kWhite, kGreen};
    case 1:
        return {u"Position Hold", kWhite, kGreen};
    case 2:
        return {u"Surveying", kBlack, kYellow};
    case kReceiverLost:
        return {u"No Receiver", kWhite, kRed};
    default:
        return {u"", kBlack, ::GetSysColor(COLOR_BTNFACE)};
    }
}

int CMainFrame::TextWidth(const CString& text) {
    if (!m_statusBar.GetSafeHwnd() || text.IsEmpty()) {
        return 0;
    }
    CClientDC dc(&m_statusBar);
    CFont* old = dc.SelectObject(m_statusBar.GetFont());
    CRect rect(0, 0, 0, 0);
    dc.DrawTextW(text, rect, DT_CALCRECT | DT_SINGLELINE);
    dc.SelectObject(old);
    return rect.Width();
}

void CMainFrame::ApplyPaneLook(UINT paneId, const PaneLook& look) {
    ++m_paneRedraws;
    if (!m_statusBar.GetSafeHwnd()) {
        return;
    }
    SECPaneAttributes a;
    a.nIndex = m_statusBar.PaneIndexFromId(paneId);
    a.strText = look.text;
    a.clrFore = look.textColour;
    a.clrBack = look.backColour;
    a.cx = TextWidth(look.text);
    a.fMask = SBP_TEXT | SBP_FOREGROUND | SBP_BACKGROUND | SBP_WIDTH;
    m_statusBar.SetPaneAttributes(a, TRUE);
}

void CMainFrame::SetAntennaStatus(int state) {
    if (state == m_antennaState && state >= 0) {
        return;
    }
    m_antennaState = state;
    ApplyPaneLook(ID_INDICATOR_ANTENNA, AntennaLook(state));
}

void CMainFrame::SetReceiverModeStatus(int state) {
    if (state == m_receiverModeState && state >= 0) {
        return;
    }
    m_receiverModeState = state;
    ApplyPaneLook(ID_INDICATOR_RX_MODE, ReceiverModeLook(state));
}

void CMainFrame::SetStatusText(LPCTSTR text) {
    m_statusText = text ? text : u"";
    if (m_statusBar.GetSafeHwnd()) {
        SECPaneAttributes a;
        a.nIndex = m_statusBar.PaneIndexFromId(ID_INDICATOR_STATUS_TEXT);
        a.strText = m_statusText;
        a.cx = TextWidth(m_statusText);
        a.fMask = SBP_TEXT | SBP_WIDTH;
        m_statusBar.SetPaneAttributes(a, TRUE);
    }
}

CString CMainFrame::GetStatusText() const {
    return m_statusText;
}

BOOL CMainFrame::AddStatusText(LPCTSTR text) {
    CString current = GetStatusText();
    if (current.Find(text) >= 0) {
        return FALSE;
    }
    SetStatusText(current + text);
    return TRUE;
}

BOOL CMainFrame::RemoveStatusText(LPCTSTR text) {
    CString current = GetStatusText();
    int at = current.Find(text);
    if (at < 0) {
        return FALSE;
    }
    int length = static_cast<int>(std::char_traits<char16_t>::length(text));
    SetStatusText(current.Left(at) + current.Mid(at + length));
    return TRUE;
}

void CMainFrame::ShowTickIcon() {
    SetTickPaneIcon(m_tickIcon);
}

void CMainFrame::ClearTickIcon() {
    SetTickPaneIcon(m_idleIcon);
}

void CMainFrame::ShowNoTickIcon() {
    SetTickPaneIcon(nullptr);
}

void CMainFrame::SetTickPaneIcon(HICON icon) {
    if (m_statusBar.GetSafeHwnd()) {
        m_statusBar.SendMessageW(SB_SETICON,
                                 static_cast<WPARAM>(m_statusBar.PaneIndexFromId(ID_INDICATOR_TICK)),
                                 reinterpret_cast<LPARAM>(icon));
    }
}

void CMainFrame::UpdateTitle(LPCTSTR text) {
    CString title = text ? text : u"";
    if (title.IsEmpty()) {
        CString version;
        version.LoadString(IDS_VERSION);
        int at = version.Find(u"Version ");
        if (at >= 0) {
            version = version.Mid(at + 8);
        }
        CPex32App* app = AfxGetPex32App();
        title = (app && !app->m_frameClassName.IsEmpty() ? app->m_frameClassName : CString(u"Doliva")) +
                u" " + version;
    }
    SetWindowTextW(title);
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style &= ~FWS_ADDTOTITLE;
    if (!CPersistentFrame::PreCreateWindow(cs)) {
        return FALSE;
    }
    cs.style &= ~FWS_ADDTOTITLE;
    SetKeepCurrentSize(0);
    SetSaveMaxPosition(1);
    if (g_frameClass.IsEmpty()) {
        CPex32App* app = AfxGetPex32App();
        CString name = app && !app->m_frameClassName.IsEmpty() ? app->m_frameClassName : CString(u"Doliva");
        WNDCLASSW wc{};
        if (!::GetClassInfoW(AfxGetInstanceHandle(), cs.lpszClass, &wc)) {
            return FALSE;
        }
        wc.lpszClassName = name;
        if (!AfxRegisterClass(&wc)) {
            return FALSE;
        }
        g_frameClass = name;
    }
    m_registeredClass = g_frameClass;
    cs.lpszClass = m_registeredClass;
    return TRUE;
}

void CMainFrame::ActivateFrame(int nCmdShow) {
    // The first start has no stored size: the frame keeps the size the view fitted it to, so the whole
    // form shows, at the default place.
    if (!m_placementApplied) {
        CWinApp* app = AfxGetApp();
        SetKeepCurrentSize(app && app->GetProfileString(s_profileSection, u"Rect", u"").IsEmpty() ? 1 : 0);
    }
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (GetSafeHwnd() && GetWindowPlacement(&wp)) {
        m_placementApplied = 1;
    }
    CPersistentFrame::ActivateFrame(nCmdShow);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CPersistentFrame::OnCreate(lpCreateStruct) == -1) {
        return -1;
    }
    if (!m_toolBar.CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0),
                            AFX_IDW_TOOLBAR) ||
        !m_toolBar.LoadToolBar(IDR_MAINFRAME)) {
        return -1;
    }
    if (!m_statusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_statusBar.SetPanes(kIndicators, static_cast<int>(std::size(kIndicators)))) {
        return -1;
    }
    // Tall enough for the tick icon inside its pane's edges: the display's default font is shorter than
    // the one the bar's height formula was made for.
    int borders[3] = {0, 0, 0};
    m_statusBar.SendMessageW(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    m_statusBar.SendMessageW(SB_SETMINHEIGHT,
                             static_cast<WPARAM>(::GetSystemMetrics(SM_CYSMICON) + 2 * borders[1] + 1));
    SECPaneAttributes tick;
    tick.nIndex = m_statusBar.PaneIndexFromId(ID_INDICATOR_TICK);
    tick.cx = 16;
    tick.fMask = SBP_WIDTH;
    m_statusBar.SetPaneAttributes(tick, TRUE);
    SetAntennaStatus(-1);
    SetReceiverModeStatus(-1);
    // The message pane stretches over whatever the others leave.
    UINT id = 0;
    UINT style = 0;
    int width = 0;
    m_statusBar.GetPaneInfo(0, id, style, width);
    m_statusBar.SetPaneInfo(0, id, style, 0);
    ClearTickIcon();

    m_toolBar.SetBarStyle(m_toolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    m_toolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_toolBar);
    return 0;
}

void CMainFrame::OnClose() {
    if (auto* view = dynamic_cast<CPex32View*>(GetActiveView())) {
        view->SetClosing(TRUE);
        // The initialisation runs inside a handler of the view: it gives up at once now, and the view asks
        // again for the close when it has ended.
        if (view->IsInitialising()) {
            return;
        }
    }
    CPersistentFrame::OnClose();
}

void CMainFrame::OnSize(UINT nType, int cx, int cy) {
    CPersistentFrame::OnSize(nType, cx, cy);
    if (m_placementApplied && m_statusBar.GetSafeHwnd()) {
        m_statusBar.Invalidate();
    }
}

void CMainFrame::OnHelpRequest() {}

void CMainFrame::OnUnusedCommand() {}

void CMainFrame::OnUpdateUnusedCommand(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FALSE);
}

void CMainFrame::OnUpdateUnusedChecked(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FALSE);
    pCmdUI->SetCheck(1);
}
