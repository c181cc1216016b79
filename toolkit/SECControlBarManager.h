// What a frame's bar manager does for its saved layout: it names each bar's kind, gives records of a kind the
// extension that saves what that kind needs (a toolbar's title and buttons), and makes bars of its own that a
// layout names and the frame lacks. The toolbar manager is one.
#pragma once

#include "platform/framework/CCmdTarget.h"

class CControlBar;
class CFrameWnd;
class SECControlBarInfo;
class SECControlBarInfoEx;

class SECControlBarManager : public CCmdTarget {
    DECLARE_DYNAMIC(SECControlBarManager)

public:
    explicit SECControlBarManager(CFrameWnd* pFrameWnd = nullptr) : m_pFrameWnd(pFrameWnd) {}

    virtual CFrameWnd* GetFrameWnd() const { return m_pFrameWnd; }
    // The bar's kind as a layout keeps it; 0 for bars whose records carry no extension.
    virtual UINT GetBarTypeID(CControlBar* pBar) const {
        (void)pBar;
        return 0;
    }
    // A new, empty extension for a record of the record's kind, or null.
    virtual SECControlBarInfoEx* CreateBarInfoEx(SECControlBarInfo* pInfo) {
        (void)pInfo;
        return nullptr;
    }
    // A bar of this manager for a record whose bar the frame lacks, or null.
    virtual CControlBar* CreateMissingBar(SECControlBarInfo* pInfo) {
        (void)pInfo;
        return nullptr;
    }

    CFrameWnd* m_pFrameWnd = nullptr;
};
