// The frame of a multiple-document program: its client area is an MDI client window ("MDIClient") that
// holds the document frames (CMDIChildWnd). Commands go to the active child first; the Window menu's
// commands arrange the children; the menu bar shows the active child's menu, or the frame's own when no
// child is open.
#pragma once

#include "platform/framework/CFrameWnd.h"

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)

public:
    CMDIFrameWnd();

    // The client with `pWindowMenu` as the popup that lists the children (null: no list).
    virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
    // The popup of `hMenuBar` that lists the children: the second-last popup, the Window menu by convention.
    virtual HMENU GetWindowMenuPopup(HMENU hMenuBar);
    // Sets the menu bar to hMenuAlt (null: the frame's default menu), through the active child when there is one.
    virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
    // The menu bar shown while no child is open.
    virtual HMENU GetDefaultMenu() { return m_hMenuDefault; }

    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    void MDIMaximize(CWnd* pWnd);
    void MDIRestore(CWnd* pWnd);
    void MDINext();
    void MDIPrev();
    void MDICascade(int nType = 0);
    void MDITile(int nType = MDITILE_HORIZONTAL);
    void MDIIconArrange();
    CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);

    CFrameWnd* GetActiveFrame() override;
    CDocument* GetActiveDocument() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    LRESULT DefWindowProcW(UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND m_hWndMDIClient = nullptr;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Window > New Window: another frame on the active frame's document, made by its template.
    void OnWindowNew();
    void OnUpdateWindowNew(CCmdUI* pCmdUI);
    // The active frame's document when its template can make another window on it.
    CDocument* DocumentForNewWindow(CFrameWnd*& pActive);
    void OnWindowCommand(UINT nID);
    void OnUpdateWindowCommand(CCmdUI* pCmdUI);
    void OnDestroy();

    DECLARE_MESSAGE_MAP()
};
