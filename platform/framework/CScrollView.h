// A view larger than its window: the document has a total size, the window shows part of it and scroll
// bars move over the rest. Only the text mapping (MM_TEXT, one unit a pixel) is supported; OnPrepareDC moves
// the viewport origin by the scroll position, so OnDraw draws in document coordinates.
#pragma once

#include "platform/framework/CView.h"

class CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)

public:
    CScrollView();
    ~CScrollView() override;

    static const SIZE sizeDefault;

    // sizePage and sizeLine default to a tenth and a hundredth of the total.
    void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                        const SIZE& sizeLine = sizeDefault);
    CPoint GetScrollPosition() const;
    CPoint GetDeviceScrollPosition() const { return GetScrollPosition(); }
    CSize GetTotalSize() const { return m_totalLog; }
    void GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const;
    // Scrolls so that the point is at the top left (kept within the scrollable range).
    void ScrollToPosition(POINT pt);
    // Sizes the parent frame so that the view shows the whole total size (only smaller with bShrinkOnly).
    void ResizeParentToFit(BOOL bShrinkOnly = TRUE);

    void OnPrepareDC(CDC* pDC, void* pInfo = nullptr) override;
    virtual BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE);
    virtual BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE);

protected:
    // Shows, hides and sizes the bars for the current client size, keeping the position in range.
    void UpdateBars();

    int m_nMapMode = 0;
    CSize m_totalLog;
    CSize m_totalDev;
    CSize m_pageDev;
    CSize m_lineDev;
    BOOL m_bInsideUpdate = FALSE;

    void OnSize(UINT nType, int cx, int cy);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);

    DECLARE_MESSAGE_MAP()
};
