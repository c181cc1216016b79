// A document window of a workbook: it joins the workbook's sheets when it is loaded, leaves them when it is
// destroyed, and carries the icon and pressed state of its tab.
#pragma once

#include "toolkit/SECMDIChildWnd.h"

class SECWorkbook;

class SECWorksheet : public SECMDIChildWnd {
    DECLARE_DYNCREATE(SECWorksheet)

public:
    SECWorksheet();

    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    void OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    // The workbook it lies in, or null.
    SECWorkbook* GetWorkbook() const;

    HICON m_hTabIcon = nullptr; // 16 x 16, destroyed with the window
    int m_nIndex = 0;           // its place among the workbook's sheets
    BOOL m_bPressed = FALSE;    // the left button is down on its tab

protected:
    void OnDestroy();
    void OnShowWindow(BOOL bShow, UINT nStatus);

    DECLARE_MESSAGE_MAP()
};
