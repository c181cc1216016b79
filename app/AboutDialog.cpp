#include "app/AboutDialog.h"

#include "platform/base/GlobalMemory.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/framework/FrameworkResources.h"
#include "platform/system/Shell.h"
#include "resources/Resource.h"

#include <cstring>

namespace {

struct LinkTarget {
    UINT id;
    LPCTSTR url;
    LPCTSTR tip;
};

const LinkTarget kLinkTargets[CAboutDlg::kLinkCount] = {
    {IDC_LINK_5, u"https://halvorn.example/doliva", u"The program's home page"},
    {IDC_LINK_4, u"https://halvorn.example/doliva/downloads", u"New versions and receiver firmware"},
    {IDC_LINK_3, u"https://halvorn.example/doliva/receivers", u"Notes on the supported receivers"},
    {IDC_LINK_2, u"mailto:sales@halvorn.example", u"Write to sales"},
    {IDC_LINK_1, u"mailto:support@halvorn.example", u"Write to support"},
};

} // namespace

// ---- CHLinkCtrl

BEGIN_MESSAGE_MAP(CHLinkCtrl, CStatic)
ON_WM_CTLCOLOR_REFLECT()
ON_WM_MOUSEMOVE()
ON_WM_SETCURSOR()
ON_WM_LBUTTONDOWN()
ON_WM_CONTEXTMENU()
ON_COMMAND(ID_HLINK_OPEN, OnOpen)
ON_COMMAND(ID_HLINK_COPY_SHORTCUT, OnCopyShortcut)
END_MESSAGE_MAP()

CHLinkCtrl::CHLinkCtrl() {
    m_cursor = ::LoadCursorW(nullptr, IDC_HAND);
    if (!m_cursor) {
        m_cursor = ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDC_HAND_CURSOR));
    }
}

CHLinkCtrl::~CHLinkCtrl() {
    if (m_toolTip.m_hWnd) {
        m_toolTip.DestroyWindow();
    }
}

void CHLinkCtrl::SetToolTipText(LPCTSTR text) {
    m_toolTipText = text;
    if (m_toolTip.m_hWnd) {
        m_toolTip.UpdateTipText(m_toolTipText, this);
    }
}

void CHLinkCtrl::EnableToolTips(BOOL bEnable) {
    m_toolTipEnabled = bEnable ? 1 : 0;
    if (bEnable && !m_toolTip.m_hWnd && m_hWnd && m_toolTip.Create(this)) {
        m_toolTip.AddTool(this, m_toolTipText);
    }
    if (m_toolTip.m_hWnd) {
        m_toolTip.Activate(bEnable);
    }
}

INT_PTR CHLinkCtrl::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    CRect client;
    GetClientRect(&client);
    if (!m_toolTipEnabled || !client.PtInRect(point)) {
        return -1;
    }
    if (pTI) {
        pTI->hwnd = ::GetParent(m_hWnd);
        pTI->uId = reinterpret_cast<UINT_PTR>(m_hWnd);
        pTI->uFlags |= TTF_IDISHWND;
        pTI->lpszText = const_cast<LPWSTR>(static_cast<LPCTSTR>(m_toolTipText));
    }
    return 1;
}

COLORREF CHLinkCtrl::GetLinkColour() const {
    switch (m_linkState) {
    case kVisited:
        return m_colourVisited;
    case kHover:
        return m_colourHover;
    default:
        return m_colourUnvisited;
    }
}

HBRUSH CHLinkCtrl::CtlColor(CDC* pDC, UINT) {
    if (!(GetStyle() & SS_NOTIFY)) {
        ModifyStyle(0, SS_NOTIFY);
    }
    const DWORD kind = GetStyle() & SS_TYPEMASK;
    if (kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT) {
        return nullptr;
    }
    if (!m_underlineFont.GetSafeHandle()) {
        LOGFONTW lf{};
        if (CFont* font = GetFont()) {
            font->GetLogFont(&lf);
        } else {
            ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
        }
        lf.lfUnderline = TRUE;
        m_underlineFont.CreateFontIndirect(&lf);
    }
    pDC->SelectObject(&m_underlineFont);
    pDC->SetTextColor(GetLinkColour());
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CHLinkCtrl::EnterHover() {
    if (m_linkState != kHover) {
        m_stateBeforeHover = m_linkState;
        m_linkState = kHover;
        Invalidate();
    }
}

void CHLinkCtrl::LeaveHover() {
    if (m_linkState == kHover) {
        m_linkState = m_stateBeforeHover == kHover ? kVisited : m_stateBeforeHover;
        Invalidate();
    }
}

void CHLinkCtrl::OnMouseMove(UINT nFlags, CPoint point) {
    if (m_hoverEnabled) {
        CRect client;
        GetClientRect(&client);
        if (!client.PtInRect(point)) {
            LeaveHover();
            if (GetCapture() == this) {
                ::ReleaseCapture();
            }
        } else if (GetCapture() != this) {
            SetCapture();
            EnterHover();
        }
    }
    CStatic::OnMouseMove(nFlags, point);
}

BOOL CHLinkCtrl::OnSetCursor(CWnd*, UINT, UINT) {
    ::SetCursor(m_cursor);
    return TRUE;
}

void CHLinkCtrl::OnLButtonDown(UINT, CPoint) {
    PostMessageW(WM_COMMAND, MAKEWPARAM(ID_HLINK_OPEN, 0), 0);
}

void CHLinkCtrl::OnOpen() {
    if (OpenUrl()) {
        m_linkState = kVisited;
        m_stateBeforeHover = kVisited;
        Invalidate();
        if (GetCapture() == this) {
            ::ReleaseCapture();
        }
    }
}

BOOL CHLinkCtrl::OpenUrl() {
    // No Internet shortcut object exists on this system: the shell opens the address.
    HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    HINSTANCE result = ::ShellExecuteW(::GetParent(m_hWnd), u"open", m_url, nullptr, nullptr, SW_SHOW);
    ::SetCursor(previous);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

CPoint CHLinkCtrl::ContextMenuPoint(CPoint screenPoint) const {
    if (screenPoint.x != -1 || screenPoint.y != -1) {
        return screenPoint;
    }
    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);
    return CPoint(client.left + 5, client.top + 5);
}

void CHLinkCtrl::OnContextMenu(CWnd*, CPoint pos) {
    if (!m_contextMenuEnabled) {
        return;
    }
    LeaveHover();
    if (GetCapture() == this) {
        ::ReleaseCapture();
    }
    const CPoint at = ContextMenuPoint(pos);
    CMenu menu;
    if (menu.LoadMenu(IDR_HLINK_MENU)) {
        if (CMenu* popup = menu.GetSubMenu(0)) {
            popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, this);
        }
    }
}

void CHLinkCtrl::OnCopyShortcut() {
    if (!::OpenClipboard(m_hWnd)) {
        return;
    }
    ::EmptyClipboard();
    const SIZE_T bytes = static_cast<SIZE_T>(m_url.GetLength() + 1) * sizeof(TCHAR);
    if (HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes)) {
        if (void* data = ::GlobalLock(block)) {
            std::memcpy(data, static_cast<LPCTSTR>(m_url), bytes);
            ::GlobalUnlock(block);
            ::SetClipboardData(CF_UNICODETEXT, block);
        } else {
            ::GlobalFree(block);
        }
    }
    ::CloseClipboard();
}

// ---- CAboutDlg

CAboutDlg::CAboutDlg() : CPersistentDialog(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    CPersistentDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ABOUT_VERSION, m_versionText);
    for (int i = 0; i < kLinkCount; ++i) {
        DDX_Control(pDX, static_cast<int>(kLinkTargets[i].id), m_links[i]);
    }
}

BOOL CAboutDlg::OnInitDialog() {
    m_versionText.LoadString(IDS_VERSION);
    m_versionText += u" (U)";
    CPersistentDialog::OnInitDialog();
    for (int i = 0; i < kLinkCount; ++i) {
        m_links[i].SetUrl(kLinkTargets[i].url);
        m_links[i].EnableToolTips(TRUE);
        m_links[i].SetToolTipText(kLinkTargets[i].tip);
    }
    return TRUE;
}
