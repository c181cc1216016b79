// What every host window of a bar floated inside an MDI frame's client shares, whatever MDI child class it
// is: one floating dock bar holding the bar, sized to the host's client area; closing hides the bar; moving
// the host moves the bar's floating place. A host class is SECMDIFloatHostWnd over its MDI child class.
#pragma once

#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CMDIFrameWnd.h"
#include "toolkit/SECDockBar.h"

class SECMDIFloatHost {
public:
    explicit SECMDIFloatHost(CMDIChildWnd* pWnd) : m_pWnd(pWnd) {}
    virtual ~SECMDIFloatHost() = default;
    SECMDIFloatHost(const SECMDIFloatHost&) = delete;
    SECMDIFloatHost& operator=(const SECMDIFloatHost&) = delete;

    SECDockBar& DockBar() { return m_wndDockBar; }
    // The bar it holds, or null.
    CControlBar* Bar() const;
    CMDIChildWnd* HostWindow() const { return m_pWnd; }

protected:
    // With CBRS_FLOAT_MULTI the dock bar holds several bars and the single-bar rules do not apply.
    BOOL IsMulti() const { return (m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI) != 0; }
    // The dock bar, with the main frame as its dock site, inside the host; FALSE when it cannot be made.
    BOOL CreateHostDockBar();
    // The dock bar fills the client area, the bar just overlaps it by its borders; the host takes the bar's
    // title.
    void LayoutHost();
    // The bar's sizes follow a new client size.
    void CommitHostSize(int cx, int cy);
    // Closing hides the bar (restoring a maximised host first); FALSE when the host should close instead.
    BOOL HideBarOnClose();
    // The host's place becomes the bar's floating place.
    void RememberHostPlace();

    SECDockBar m_wndDockBar{TRUE, TRUE};

private:
    CMDIChildWnd* m_pWnd;
};

template <class ChildWnd>
class SECMDIFloatHostWnd : public ChildWnd, public SECMDIFloatHost {
public:
    SECMDIFloatHostWnd() : SECMDIFloatHost(this) {}

    void RecalcLayout(BOOL = TRUE) override {
        if (this->m_bInRecalcLayout || !this->m_hWnd || !m_wndDockBar.m_hWnd) {
            return;
        }
        this->m_bInRecalcLayout = TRUE;
        LayoutHost();
        this->m_bInRecalcLayout = FALSE;
    }
    // The host's text (the bar's) survives the document title update.
    void OnUpdateFrameTitle(BOOL bAddToTitle) override {
        CString text;
        this->GetWindowTextW(text);
        ChildWnd::OnUpdateFrameTitle(bAddToTitle);
        this->SetWindowTextW(text);
    }
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext*) override {
        this->m_bInRecalcLayout = TRUE;
        const BOOL created = CreateHostDockBar();
        this->m_bInRecalcLayout = FALSE;
        return created;
    }

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override {
        if (!ChildWnd::PreCreateWindow(cs)) {
            return FALSE;
        }
        cs.dwExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
        return TRUE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_SIZE:
            CommitHostSize(LOWORD(lParam), HIWORD(lParam));
            break;
        case WM_CLOSE:
            if (HideBarOnClose()) {
                return 0;
            }
            break;
        case WM_WINDOWPOSCHANGED:
            RememberHostPlace();
            break;
        default:
            break;
        }
        const LRESULT result = ChildWnd::WindowProc(message, wParam, lParam);
        if (message == WM_SHOWWINDOW) {
            if (CMDIFrameWnd* frame = this->GetMDIFrame()) {
                ::PostMessageW(frame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
            }
        }
        return result;
    }
};
