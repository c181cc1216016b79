// Dock bars: the invisible bars along a frame's edges (and inside a floating frame) that hold docked control
// bars in rows. m_arrBars lists the bars row by row; a null entry ends a row, and the first entry is null.
#pragma once

#include "platform/base/CArrays.h"
#include "platform/framework/CControlBar.h"

class CDockBar : public CControlBar {
    DECLARE_DYNAMIC(CDockBar)

public:
    explicit CDockBar(BOOL bFloating = FALSE);
    ~CDockBar() override;

    using CWnd::Create;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    BOOL IsDockBar() const override { return TRUE; }
    // Entries of m_arrBars below 0x10000 are the ids of bars that are away (kept by derived dock bars).
    static BOOL IsPlaceholder(const void* p) { return p && reinterpret_cast<UINT_PTR>(p) <= 0xFFFF; }
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void DoPaint(CDC* pDC) override;

    // Takes the bar in: by lpRect (screen coordinates) into the row and place it falls on, else on a new
    // row at the end. The bar leaves its old dock bar and becomes this one's child.
    // Virtual so that a dock bar keeping places for bars that are away (and rows shared by proportion)
    // serves the frame's docking and floating unchanged.
    virtual void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
    virtual BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1);
    int FindBar(CControlBar* pBar, int nPosExclude = -1) const;
    CControlBar* GetDockedControlBar(int nPos) const;
    int GetDockedCount() const;
    int GetDockedVisibleCount() const;
    // Ends the rows with the bar ids they hold (0 between rows), for the saved bar state.
    void GetBarIDs(CUIntArray& ids) const;

    BOOL m_bFloating;
    BOOL m_bLayoutQuery = FALSE;
    CPtrArray m_arrBars;

protected:
    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    void OnNcPaint();
    void OnDestroy();
    // The insertion point for a bar dropped at `rect` (client coordinates of this dock bar).
    int Insert(CControlBar* pBar, CRect rect, CPoint ptMid);

    DECLARE_MESSAGE_MAP()
};
