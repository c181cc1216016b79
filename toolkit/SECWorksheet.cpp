#include "toolkit/SECWorksheet.h"

#include "platform/framework/FrameworkResources.h"
#include "platform/resources/Resources.h"
#include "toolkit/SECWorkbook.h"
#include "toolkit/SECWorkbookClient.h"

IMPLEMENT_DYNCREATE(SECWorksheet, SECMDIChildWnd)

BEGIN_MESSAGE_MAP(SECWorksheet, SECMDIChildWnd)
ON_WM_DESTROY()
ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

SECWorksheet::SECWorksheet() = default;

SECWorkbook* SECWorksheet::GetWorkbook() const {
    return dynamic_cast<SECWorkbook*>(GetMDIFrame());
}

BOOL SECWorksheet::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
    if (!SECMDIChildWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext)) {
        return FALSE;
    }
    if (SECWorkbook* workbook = GetWorkbook()) {
        workbook->AddSheet(this);
    }
    m_hTabIcon = static_cast<HICON>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource), IMAGE_ICON,
                                                 16, 16, LR_DEFAULTCOLOR));
    return TRUE;
}

void SECWorksheet::OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt) {
    SECMDIChildWnd::OnUpdateFrameMenu(bActivate, pActivateWnd, hMenuAlt);
    // Without a menu of its own no WM_MDISETMENU goes out, yet the workbook still has to raise the tab.
    if (!m_hMenuShared) {
        if (CMDIFrameWnd* frame = GetMDIFrame()) {
            ::SendMessageW(frame->m_hWndMDIClient, WM_SEC_WORKBOOK_NOMENU, static_cast<WPARAM>(-1), -1);
        }
    }
}

void SECWorksheet::OnUpdateFrameTitle(BOOL bAddToTitle) {
    SECMDIChildWnd::OnUpdateFrameTitle(bAddToTitle);
    if (SECWorkbook* workbook = GetWorkbook()) {
        workbook->InvalidateTabs(this, FALSE);
    }
}

void SECWorksheet::OnDestroy() {
    if (SECWorkbook* workbook = GetWorkbook()) {
        workbook->RemoveSheet(this);
    }
    SECMDIChildWnd::OnDestroy();
    if (m_hTabIcon) {
        ::DestroyIcon(m_hTabIcon);
        m_hTabIcon = nullptr;
    }
}

void SECWorksheet::OnShowWindow(BOOL bShow, UINT nStatus) {
    SECMDIChildWnd::OnShowWindow(bShow, nStatus);
    if (SECWorkbook* workbook = GetWorkbook()) {
        workbook->InvalidateTabs(this, TRUE);
    }
}
