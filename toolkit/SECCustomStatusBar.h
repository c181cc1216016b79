// The status bar that draws every pane itself: per-pane text and background colours, alignment, a bitmap
// and a mouse cursor, and a progress control across the bar with a caption in the first pane.
#pragma once

#include "toolkit/SECProgressCtrl.h"
#include "toolkit/SECStatusBar.h"

#include <memory>
#include <vector>

// Which fields of SECPaneAttributes are valid.
#define SBP_ID 0x0001
#define SBP_STYLE 0x0002
#define SBP_WIDTH 0x0004
#define SBP_TEXT 0x0008
#define SBP_TEXTALIGN 0x0010
#define SBP_FOREGROUND 0x0020
#define SBP_BACKGROUND 0x0040
#define SBP_BITMAP 0x0080
#define SBP_CURSOR 0x0100
#define SBP_ALL 0x01FF
// The drawing fields a pane's draw record keeps.
#define SBP_DRAWMASK 0x01F0

// Placement of a window attached to a pane.
#define SBP_KEEPWIDTH 0x0001
#define SBP_KEEPHEIGHT 0x0002
#define SBP_INSET 0x0004

struct SECPaneDrawInfo {
    COLORREF clrFore = 0;
    COLORREF clrBack = 0;
    CBitmap* pBitmap = nullptr; // not owned
    HCURSOR hCursor = nullptr;  // not owned
    UINT nAlign = 0;            // TA_LEFT, TA_RIGHT or TA_CENTER
    UINT fMask = 0;
};

class SECPaneAttributes {
public:
    int nIndex = 0;
    UINT nID = 0;
    UINT nStyle = 0;
    int cx = 0;
    CString strText;
    COLORREF clrFore = 0;
    COLORREF clrBack = 0;
    CBitmap* pBitmap = nullptr;
    HCURSOR hCursor = nullptr;
    UINT nAlign = 0;
    UINT fMask = 0;
};

class SECCustomStatusBar : public SECStatusBar {
    DECLARE_DYNAMIC(SECCustomStatusBar)

public:
    SECCustomStatusBar() = default;
    ~SECCustomStatusBar() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL SetPanes(const UINT* lpIDArray, int nIDCount) override;
    // Changes what the mask names; bFit sizes the pane and the bar to a bitmap. FALSE for a bad index.
    BOOL SetPaneAttributes(const SECPaneAttributes& attributes, BOOL bFit = TRUE);
    BOOL GetPaneAttributes(SECPaneAttributes& attributes) const;
    void GetPaneRect(int nIndex, LPRECT lpRect) const;
    void DrawPane(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    virtual BOOL StartProgress(LPCTSTR lpszCaption, int nLower, int nUpper, BOOL bResetPos,
                               DWORD dwProgressStyle);
    virtual void EndProgress();
    virtual void ShowPaneWindows(BOOL bShow);
    virtual void PositionPaneWindows();
    SECProgressCtrl* GetProgressCtrl() const { return m_pProgress.get(); }
    CWnd* GetPaneWindow(int nIndex) const;
    UINT GetPaneWindowFlags(int nIndex) const;

protected:
    // Re-lays out the parent frame at its current size.
    void RelayoutParent();

    std::unique_ptr<SECProgressCtrl> m_pProgress;
    std::unique_ptr<SECPaneAttributes> m_pSavedFirstPane;
    std::vector<SECPaneDrawInfo> m_drawInfo;
    std::vector<CWnd*> m_paneWindows;
    std::vector<UINT> m_paneWindowFlags;

    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    LRESULT OnSizeParentEx(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetMinHeightEx(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetTextEx(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
