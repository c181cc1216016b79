// What a frame with a menu bar plugs in: the bitmap menus and the menu bar's menu mode. Its host is the frame
// (the frame's window procedure gives it each message first and its pre-translation calls
// PreTranslateMessage).
#pragma once

#include "toolkit/SECBmpMenuPlugIn.h"
#include "toolkit/SECMenuBarMessages.h"

class SECMenuBarFeature : public SECBmpMenuPlugIn, public SECMenuBarMessages {
    DECLARE_DYNAMIC(SECMenuBarFeature)

public:
    explicit SECMenuBarFeature(SECMenuBar* pMenuBar = nullptr);

    CWnd* GetFrame() override { return this; }
    BOOL SetMenuById(UINT nID) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
};
