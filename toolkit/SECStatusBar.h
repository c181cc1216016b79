// The toolkit's status bar: a control bar over the common status-bar control that keeps its own panes (id,
// width, style, text) and lays them out, the first id-0 pane stretching over what is left.
#pragma once

#include "platform/framework/CStatusBar.h" // the pane styles, SBPS_*
#include "toolkit/SECControlBar.h"

#include <vector>

struct SECStatusPane {
    UINT nID = 0;
    int cxText = 0;
    UINT nStyle = 0;
    UINT nFlags = 0; // bit 0: the text has not been sent to the control yet
    CString strText;
};

class SECStatusBar : public SECControlBar {
    DECLARE_DYNAMIC(SECStatusBar)

public:
    SECStatusBar();
    ~SECStatusBar() override;

    using SECControlBar::Create;
    using SECControlBar::CreateEx;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    virtual BOOL SetPanes(const UINT* lpIDArray, int nIDCount);

    // Indexes are 0-based; one outside the panes reads as empty and changes nothing.
    int PaneIndexFromId(UINT nIDFind) const;
    // The framework's names for the same lookups.
    int CommandToIndex(UINT nIDFind) const { return PaneIndexFromId(nIDFind); }
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    UINT GetPaneStyle(int nIndex) const;
    BOOL SetPaneStyle(int nIndex, UINT nStyle);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    CString GetPaneText(int nIndex) const;
    void GetPaneText(int nIndex, CString& rString) const { rString = GetPaneText(nIndex); }
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
    void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);

    virtual void DrawPane(LPDRAWITEMSTRUCT lpDrawItemStruct) { (void)lpDrawItemStruct; }
    using SECControlBar::CalcInsideRect;
    void CalcInsideRect(CRect& rect, BOOL bHorz) const override;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    int m_nMinHeight = 0;

protected:
    SECStatusPane* GetPanePtr(int nIndex) const;
    // The text's extent in the bar's font.
    int TextWidth(const CString& text) const;
    // The borders the control reports: horizontal, vertical, spacing between panes.
    void GetControlBorders(int borders[3]) const;
    int FirstSeparatorIndex() const { return PaneIndexFromId(0); }

    mutable std::vector<SECStatusPane> m_panes;

    UINT OnNcHitTest(CPoint point);
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    void OnNcPaint();
    void OnPaint();
    void OnSize(UINT nType, int cx, int cy);
    void OnWindowPosChanging(WINDOWPOS* lpWndPos);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
