// Filters that work on a frame's caption: its rectangle and button sizes, and the list that lays out the
// toolkit-drawn caption buttons (close, maximise, restore, minimise, help) from the right.
#pragma once

#include "toolkit/SECMsgFilter.h"

#include "platform/base/CRect.h"

class SECCaptionMsgFilter : public SECNcMsgFilter {
    DECLARE_DYNCREATE(SECCaptionMsgFilter)

public:
    using SECNcMsgFilter::SECNcMsgFilter;
    SECMsgFilter* Clone() const override { return new SECCaptionMsgFilter(*this); }

    // In the frame's window coordinates.
    virtual void GetCaptionRect(CRect& rect) const;
    virtual void GetButtonSizeFromMetrics(CSize& size, int nWidthMetric, int nHeightMetric) const;
    virtual void GetButtonSize(CSize& size) const;
    virtual void GetFirstButtonPos(CPoint& pt, const CRect& caption, const CSize& button) const;
};

class SECCaptionControlListMsgFilter : public SECCaptionMsgFilter {
    DECLARE_DYNCREATE(SECCaptionControlListMsgFilter)

public:
    // The five standard buttons become its children: close, maximise, restore, minimise, help.
    SECCaptionControlListMsgFilter();
    SECCaptionControlListMsgFilter(CFrameWnd* pFrame, int nID);
    SECMsgFilter* Clone() const override { return new SECCaptionControlListMsgFilter(*this); }

    UINT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    virtual void LayoutButtons();

    DescriptorTable m_table;

private:
    void MakeButtons();
};
