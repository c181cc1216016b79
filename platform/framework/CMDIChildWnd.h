// A document frame inside an MDI frame's client. It is created through the client (WM_MDICREATE), its
// default handling is the layer's MDI child procedure, and while it is active its shared menu is the
// frame's menu bar.
#pragma once

#include "platform/framework/CFrameWnd.h"

class CMDIFrameWnd;

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)

public:
    CMDIChildWnd();

    // Creates the child in `pParentWnd`'s client (the main window when null).
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CMDIFrameWnd* pParentWnd = nullptr,
                        CCreateContext* pContext = nullptr);
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    BOOL DestroyWindow() override;
    void ActivateFrame(int nCmdShow = -1) override;

    CMDIFrameWnd* GetMDIFrame() const;
    void MDIActivate();
    void MDIDestroy();
    void MDIMaximize();
    void MDIRestore();

    // The frame's menu bar while this child is (bActivate) or stops being active; hMenuAlt replaces the
    // shared menu when given.
    virtual void OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt);
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    LRESULT DefWindowProcW(UINT message, WPARAM wParam, LPARAM lParam) override;

    HMENU m_hMenuShared = nullptr; // the menu bar while this child is active
    HACCEL m_hAccelShared = nullptr;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    LRESULT OnMDIActivate(WPARAM wParam, LPARAM lParam);
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();

    DECLARE_MESSAGE_MAP()
};
