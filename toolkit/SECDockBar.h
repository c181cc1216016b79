// The toolkit's dock bar: rows of docked bars where sizing bars share a row by proportion, 6-pixel
// splitters between rows and between the bars of a row, 2-pixel etched edges on the outer side, and one
// placeholder (the bar's id) kept for a bar that floats or hides so that it comes back to its place.
#pragma once

#include "platform/base/CLists.h"
#include "platform/framework/CDockBar.h"

#include <memory>
#include <vector>

class SECControlBar;

// Where DockControlBarAt puts a bar: a row and a column, counted as the flags say.
struct SECDockPos {
    enum Flags { fromEndRow = 0x1, fromEndCol = 0x2, newRow = 0x4 };
    int nRow = 0;
    int nCol = 0;
    DWORD dwFlags = 0;
};

class SECDockBar : public CDockBar {
    DECLARE_DYNAMIC(SECDockBar)

public:
    static constexpr int kSplitterSize = 6;
    static constexpr int kEdgeSize = 2;
    static constexpr int kMinBarLength = 18;
    static constexpr int kMinBarPerSplitter = 24; // room kept per bar on each side of an in-row splitter
    static constexpr int kMinRowThickness = 19;

    class Splitter : public CObject {
    public:
        int m_nOrientation = 0; // 1: a vertical strip dragged left and right; 0: horizontal, up and down
        BOOL m_bInRow = FALSE;
        CRect m_rect;
        int m_nIndex = 0; // the bar before an in-row splitter; the row start for a row splitter
        BOOL m_bInUse = FALSE;
        int m_nMin = 0;
        int m_nMax = 0;
        virtual void Draw(CDC* pDC);
    };
    class ClientEdge : public CObject {
    public:
        int m_nOrientation = 0; // 0: a horizontal line pair; 1: vertical
        CRect m_rect;
        BOOL m_bInUse = FALSE;
        virtual void Draw(CDC* pDC);
    };

    explicit SECDockBar(BOOL bFloating = FALSE, BOOL bMDIHost = FALSE);
    ~SECDockBar() override;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void DoPaint(CDC* pDC) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The frame's docking goes through the toolkit's insertion and removal.
    void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr) override { DockBarAt(pBar, lpRect); }
    BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1) override {
        return RemoveBar(pBar, nPosExclude);
    }

    // Docks a bar at a drop rectangle (screen), or on a new last row without one.
    void DockBarAt(CControlBar* pBar, LPCRECT lpRect = nullptr);
    // Docks a bar back at its placeholder, else at the rectangle, else on a new last row.
    void ReDockBarAt(CControlBar* pBar, LPCRECT lpRect = nullptr);
    // Takes the bar out, leaving one placeholder for its id; TRUE when the floating frame went with it.
    BOOL RemoveBar(CControlBar* pBar, int nPosExclude = -1, BOOL bUnused = FALSE);
    int DockControlBarAt(CControlBar* pBar, SECDockPos pos);
    int DockControlBarAtRowCol(CControlBar* pBar, int nCol, int nRow) {
        return DockControlBarAt(pBar, {nRow, nCol, 0});
    }

    int InsertAtRowCol(CControlBar* pBar, SECDockPos pos);
    int InsertAtColRow(CControlBar* pBar, int nCol, int nRow) {
        return InsertAtRowCol(pBar, {nRow, nCol, 0});
    }
    int InsertAtRect(CControlBar* pBar, CRect rect, CPoint ptMid);
    int InsertAsFirstRow(CControlBar* pBar);
    int InsertAtIndex(int nIndex, CControlBar* pBar);

    BOOL GetRowBars(CPtrList& list, CControlBar* pBar) const;
    BOOL IsAloneInRow(CControlBar* pBar) const;
    BOOL IsMaximizedInRow(CControlBar* pBar) const;
    void SetRowMaximized(CControlBar* pBar, int nMode);
    void MarkBarMoved(CControlBar* pBar);
    void FlushRedraws();
    void NormalizeRowProportions(int nRowStart, CControlBar* pPriority, int* pnSizing = nullptr,
                                 int* pnFixed = nullptr);
    void UpdateMinProportion();
    float AdjustProportion(float fDelta, CControlBar* pBar);
    // Where a bar dragged as `rectDrag` (screen) with the mouse at `pt` would show in this dock bar.
    CRect GetFeedbackRect(CControlBar* pBar, CRect rectDrag, CPoint pt, int& nLastRow, CRect& rectLast,
                          CPoint& ptLast);

    void GetSplitterLimits(Splitter* pSplitter);
    void OnSplitterButtonDown(Splitter* pSplitter, CPoint point);
    void ApplySplitterMove(Splitter* pSplitter, int nDelta);
    Splitter* SplitterAt(CPoint point) const;
    const std::vector<std::unique_ptr<Splitter>>& Splitters() const { return m_splitters; }
    const std::vector<std::unique_ptr<ClientEdge>>& ClientEdges() const { return m_edges; }

    // The placeholder index of a bar id, or -1.
    int FindPlaceholder(UINT nID) const;
    // The start index of the row holding nPos (the index after the row's leading null).
    int RowStart(int nPos) const;
    int RowEnd(int nPos) const;
    // Along the dock bar's edge: its width for a top or bottom one, its height otherwise.
    int RowLength() const;
    BOOL IsHorzDock() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }

    BOOL m_bMDIHost;
    CControlBar* m_pPriorityBar = nullptr;
    BOOL m_bLayoutChanged = FALSE;
    float m_fMinProportion = 0.05f;
    CPtrList m_redrawList;

protected:
    // The layout record of the WM_SIZEPARENT being handled: its rectangle is the room to lay out in.
    AFX_SIZEPARENTPARAMS* m_pLayout = nullptr;
    BOOL m_bPainting = FALSE;
    int m_nLayoutAlong = 0; // the far end of the longest row of the layout
    std::vector<std::unique_ptr<Splitter>> m_splitters;
    std::vector<std::unique_ptr<ClientEdge>> m_edges;

    void AddSplitter(BOOL bInRow, int nOrientation, const CRect& rect, int nIndex);
    void AddClientEdge(int nOrientation, const CRect& rect);
    // The thickness across the row of a bar committed at `length` along it.
    static int Thickness(CControlBar* pBar, DWORD nMode);
    DWORD BarMode(CControlBar* pBar) const;
    int LayoutFixedRow(int nStart, int nEnd, int nCross, int nLength);
    int LayoutSizingRow(int nStart, int nEnd, int nCross, int nLength, int nSizing, int nFixed);
    void PlaceBar(CControlBar* pBar, const CRect& rect);
    // A new last row holding the bar; its index.
    int AppendRow(CControlBar* pBar);
    // Makes the bar this dock bar's: its child, out of its old dock bar (here: out of its old place at an
    // index other than nPos), and without a placeholder here.
    void TakeOver(CControlBar* pBar, CDockBar* pOld, int nPos);
    void AddToRedraw(CControlBar* pBar);
    int TrackSplitter(Splitter* pSplitter, CPoint point);
    // The room the frame's views keep, in this dock bar's client coordinates.
    CRect ViewArea() const;

    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    void OnDestroy();
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);

    DECLARE_MESSAGE_MAP()
};
