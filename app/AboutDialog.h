// The About box: the program's version and five hyperlinks to the maker's web and mail addresses. A
// hyperlink is a static control drawn underlined in the colour of its state (blue unvisited, purple
// visited, red under the mouse); a click opens its address through the shell, and its context menu opens it
// or copies the address.
#pragma once

#include "appframe/CPersistentDialog.h"
#include "platform/framework/AfxControls.h"
#include "resources/Resource.h"

class CHLinkCtrl : public CStatic {
public:
    enum LinkState { kUnvisited = 0, kVisited = 1, kHover = 2 };

    CHLinkCtrl();
    ~CHLinkCtrl() override;

    void SetUrl(LPCTSTR url) { m_url = url; }
    const CString& GetUrl() const { return m_url; }
    void SetToolTipText(LPCTSTR text);
    // The window's tool tip with the text set by SetToolTipText.
    void EnableToolTips(BOOL bEnable);
    // 1 with the tool filled in when tool tips are on and the point lies in the control, else -1.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const;
    // Opens the address through the shell; TRUE when it was opened.
    BOOL OpenUrl();

    int GetLinkState() const { return m_linkState; }
    COLORREF GetLinkColour() const;
    // Where the context menu opens for a request at `screenPoint`: a keyboard request (-1, -1) opens it 5
    // pixels right of and below the control's top-left corner.
    CPoint ContextMenuPoint(CPoint screenPoint) const;

    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnContextMenu(CWnd* pWnd, CPoint pos);
    void OnOpen();
    void OnCopyShortcut();

private:
    void EnterHover();
    void LeaveHover();

    CString m_url;
    CFont m_underlineFont;
    COLORREF m_colourUnvisited = RGB(0, 0, 255);
    COLORREF m_colourVisited = RGB(128, 0, 128);
    COLORREF m_colourHover = RGB(255, 0, 0);
    int m_hoverEnabled = 1;
    int m_linkState = kUnvisited;
    int m_stateBeforeHover = kUnvisited;
    HCURSOR m_cursor = nullptr;
    int m_contextMenuEnabled = 1;
    int m_toolTipEnabled = 0;
    CString m_toolTipText;
    CToolTipCtrl m_toolTip;

    DECLARE_MESSAGE_MAP()
};

class CAboutDlg : public CPersistentDialog {
public:
    enum { IDD = IDD_ABOUTBOX };
    static constexpr int kLinkCount = 5;

    CAboutDlg();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    CHLinkCtrl& Link(int index) { return m_links[index]; }
    const CString& GetVersionText() const { return m_versionText; }

private:
    CHLinkCtrl m_links[kLinkCount];
    CString m_versionText;
};
