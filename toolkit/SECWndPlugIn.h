// A window object without a window of its own: it borrows a host's handle and sees the host's messages first
// (the host's window procedure calls OnWndMsg and stops when m_bHandled is set). Destroying a plug-in never
// destroys the host.
#pragma once

#include "platform/framework/CWnd.h"

class SECWndPlugIn : public CWnd {
    DECLARE_DYNAMIC(SECWndPlugIn)

public:
    SECWndPlugIn() = default;
    ~SECWndPlugIn() override;

    virtual void OverrideResult(LRESULT nResult);
    virtual BOOL AttachToHost(CWnd* pHost);
    virtual void DetachFromHost();
    virtual BOOL IsAttached() const { return m_bAttached; }

    // Only the plug-in's own map entries run: the window base's (destruction among them) are the host's.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    LRESULT DefWindowProcW(UINT message, WPARAM wParam, LPARAM lParam) override;

    BOOL m_bHandled = FALSE;
    BOOL m_bCallDefault = FALSE;
    BOOL m_bResultOverridden = FALSE;
    LRESULT m_nResultOverride = 0;
    BOOL m_bAttached = FALSE;

protected:
    // Whether a map entry of the plug-in's classes (below the window base) takes the message.
    BOOL HasOwnEntry(UINT message) const;
};
