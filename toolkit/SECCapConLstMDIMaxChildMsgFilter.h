// The caption buttons of an MDI frame's maximised document window, in the frame's menu row: they show the
// document window's state and give their commands to it.
#pragma once

#include "toolkit/SECCaptionMsgFilter.h"

class CMDIChildWnd;
class CWnd;

// The active document window of `pFrame` when that is an MDI frame whose active child is maximised, else
// null.
CMDIChildWnd* SECGetMaximizedMDIChild(CWnd* pFrame);

class SECCapConLstMDIMaxChildMsgFilter : public SECCaptionControlListMsgFilter {
    DECLARE_DYNCREATE(SECCapConLstMDIMaxChildMsgFilter)

public:
    using SECCaptionControlListMsgFilter::SECCaptionControlListMsgFilter;
    SECMsgFilter* Clone() const override { return new SECCapConLstMDIMaxChildMsgFilter(*this); }

    void GetButtonSize(CSize& size) const override;
    void GetFirstButtonPos(CPoint& pt, const CRect& caption, const CSize& button) const override;
    // Nothing shows while no document window is maximised or the frame has no menu row.
    void LayoutButtons() override;
};
