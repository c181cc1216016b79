// Status bars: a control bar over the status-bar control, with one pane per indicator id. A pane's text
// starts as the string of its id; the first ID_SEPARATOR pane takes what width is left (the message pane).
// Owner-drawn panes (SBT_OWNERDRAW) are painted by DrawItem.
#pragma once

#include "platform/controls/CommonControls.h"
#include "platform/framework/CControlBar.h"

#include <vector>

// Pane styles (the control's text types in the low word, the bar's own bits above).
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_POPOUT SBT_POPOUT
#define SBPS_OWNERDRAW SBT_OWNERDRAW
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

struct AFX_STATUSPANE {
    UINT nID = 0;
    UINT nStyle = 0;
    int cxText = 0;
    CString strText;
};

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)

public:
    CStatusBar();
    ~CStatusBar() override;

    using CWnd::Create;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    using CWnd::CreateEx;
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    CString GetPaneText(int nIndex) const;
    void GetPaneText(int nIndex, CString& rString) const { rString = GetPaneText(nIndex); }
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    // The control itself: the bar is the status-bar window.
    CWnd& GetStatusBarCtrl() { return *this; }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    // Sends the pane edges (bUpdateRects) and texts (bUpdateText) to the control.
    void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);

    int m_nMinHeight = 0;

protected:
    AFX_STATUSPANE* GetPanePtr(int nIndex) const;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnSize(UINT nType, int cx, int cy);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);
    int TextWidth(const CString& text) const;

    mutable std::vector<AFX_STATUSPANE> m_panes;

    DECLARE_MESSAGE_MAP()
};
