#include "toolkit/SECDockBar.h"

#include "platform/framework/CDockContext.h"
#include "platform/framework/CFrameWnd.h"
#include "toolkit/SECControlBar.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(SECDockBar, CDockBar)

BEGIN_MESSAGE_MAP(SECDockBar, CDockBar)
ON_WM_DESTROY()
ON_WM_SETCURSOR()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

namespace {

SECControlBar* AsSec(CControlBar* pBar) {
    return dynamic_cast<SECControlBar*>(pBar);
}

bool IsFixedSize(CControlBar* pBar) {
    SECControlBar* sec = AsSec(pBar);
    return !sec || (sec->m_dwExStyle & CBRS_EX_FIXEDSIZE);
}

int Along(const CSize& size, BOOL bHorz) {
    return bHorz ? size.cx : size.cy;
}

int Across(const CSize& size, BOOL bHorz) {
    return bHorz ? size.cy : size.cx;
}

// A rectangle from coordinates along and across the dock bar's edge.
CRect RowRect(BOOL bHorz, int along, int across, int length, int thickness) {
    return bHorz ? CRect(along, across, along + length, across + thickness)
                 : CRect(across, along, across + thickness, along + length);
}

} // namespace

SECDockBar::SECDockBar(BOOL bFloating, BOOL bMDIHost) : CDockBar(bFloating), m_bMDIHost(bMDIHost) {}

SECDockBar::~SECDockBar() = default;

// ---- The array: rows, placeholders, visible bars

int SECDockBar::RowStart(int nPos) const {
    while (nPos > 0 && m_arrBars[nPos - 1] != nullptr) {
        --nPos;
    }
    return std::max(nPos, 1);
}

int SECDockBar::RowEnd(int nPos) const {
    while (nPos < m_arrBars.GetSize() && m_arrBars[nPos] != nullptr) {
        ++nPos;
    }
    return nPos;
}

int SECDockBar::FindPlaceholder(UINT nID) const {
    for (INT_PTR i = 1; i < m_arrBars.GetSize(); ++i) {
        if (IsPlaceholder(m_arrBars[i]) && reinterpret_cast<UINT_PTR>(m_arrBars[i]) == nID) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int SECDockBar::RowLength() const {
    if (m_pLayout) {
        const RECT& r = m_pLayout->rect;
        return IsHorzDock() ? r.right - r.left : r.bottom - r.top;
    }
    CRect rect;
    if (!m_bFloating && m_hWnd && GetParent()) {
        GetParent()->GetClientRect(&rect);
    } else if (m_hWnd) {
        GetClientRect(&rect);
    }
    return IsHorzDock() ? rect.Width() : rect.Height();
}

DWORD SECDockBar::BarMode(CControlBar* pBar) const {
    if ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (pBar->m_dwStyle & CBRS_FLOATING)) {
        return LM_HORZ | LM_MRUWIDTH;
    }
    return (pBar->m_dwStyle & CBRS_ORIENT_HORZ) ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;
}

void SECDockBar::AddToRedraw(CControlBar* pBar) {
    if (pBar && !m_redrawList.Find(pBar)) {
        m_redrawList.AddTail(pBar);
    }
}

namespace {

// Removes element i; a row left empty by it goes too (never two nulls in a row, one at the end).
void RemoveTidy(CPtrArray& bars, INT_PTR i) {
    bars.RemoveAt(i);
    if (i < bars.GetSize() && bars[i] == nullptr && bars[i - 1] == nullptr) {
        bars.RemoveAt(i);
    }
    if (bars.GetSize() == 0 || bars[bars.GetSize() - 1] != nullptr) {
        bars.Add(nullptr);
    }
}

} // namespace

// ---- Proportions

void SECDockBar::UpdateMinProportion() {
    int length = RowLength();
    m_fMinProportion =
        length > 0 ? std::clamp(static_cast<float>(kMinBarLength) / static_cast<float>(length), 0.0f, 1.0f)
                   : 0.05f;
}

void SECDockBar::NormalizeRowProportions(int nRowStart, CControlBar* pPriority, int* pnSizing, int* pnFixed) {
    UpdateMinProportion();
    const float r = m_fMinProportion;
    SECControlBar* priority = AsSec(pPriority);
    if (priority && (!priority->IsVisible() || priority->m_fProportion > 0.95f)) {
        priority = nullptr;
    }
    float sumPriority = 0.0f;
    float sumOthers = 0.0f;
    int sizing = 0;
    int fixed = 0;
    const int end = RowEnd(nRowStart);
    for (int i = nRowStart; i < end; ++i) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (!pBar || !pBar->IsVisible()) {
            continue;
        }
        IsFixedSize(pBar) ? ++fixed : ++sizing;
        SECControlBar* sec = AsSec(pBar);
        if (!sec) {
            continue;
        }
        if (sec == priority) {
            sec->m_fProportion = std::clamp(sec->m_fProportion, r, 0.95f);
            sumPriority = sec->m_fProportion;
        } else {
            sumOthers += sec->m_fProportion;
        }
    }
    if (sumPriority > 0.0f) {
        // The priority bar keeps its share against the others, which keep their ratio among themselves.
        // Scaling by So / (1 - Sp) does that whatever the others sum to (and is So / (So - Sp) for a row
        // that was normalised before, So = 1); a second normalisation with the same priority bar changes
        // nothing, where So / (So - Sp) turned negative once the bar's share passed the others'.
        float factor = sumOthers > 0.0f ? sumOthers / (1.0f - sumPriority) : 1.0f / sumPriority;
        priority->m_fProportion = std::max(priority->m_fProportion * factor, r);
        sumOthers += priority->m_fProportion;
    }
    if (sumOthers > 0.0f) {
        for (int i = nRowStart; i < end; ++i) {
            SECControlBar* sec = AsSec(GetDockedControlBar(i));
            if (sec && sec->IsVisible()) {
                sec->m_fProportion = std::max(sec->m_fProportion / sumOthers, r);
            }
        }
    }
    if (pnSizing) {
        *pnSizing = sizing;
    }
    if (pnFixed) {
        *pnFixed = fixed;
    }
}

float SECDockBar::AdjustProportion(float fDelta, CControlBar* pBar) {
    SECControlBar* sec = AsSec(pBar);
    if (!sec) {
        return fDelta;
    }
    sec->m_fProportion += fDelta;
    if (sec->m_fProportion < m_fMinProportion) {
        float shortfall = sec->m_fProportion - m_fMinProportion;
        sec->m_fProportion = m_fMinProportion;
        return shortfall;
    }
    return 0.0f;
}

// ---- Row queries

BOOL SECDockBar::GetRowBars(CPtrList& list, CControlBar* pBar) const {
    list.RemoveAll();
    int nPos = pBar ? FindBar(pBar) : -1;
    if (nPos < 0) {
        return FALSE;
    }
    for (int i = RowStart(nPos), end = RowEnd(nPos); i < end; ++i) {
        if (CControlBar* p = GetDockedControlBar(i)) {
            list.AddTail(p);
        }
    }
    return TRUE;
}

BOOL SECDockBar::IsAloneInRow(CControlBar* pBar) const {
    int nPos = FindBar(pBar);
    if (nPos < 0) {
        return FALSE;
    }
    for (int i = RowStart(nPos), end = RowEnd(nPos); i < end; ++i) {
        CControlBar* p = GetDockedControlBar(i);
        if (p && p != pBar && p->IsVisible()) {
            return FALSE;
        }
    }
    return TRUE;
}

BOOL SECDockBar::IsMaximizedInRow(CControlBar* pBar) const {
    int nPos = FindBar(pBar);
    SECControlBar* sec = AsSec(pBar);
    if (nPos < 0 || !sec || sec->m_fProportion <= m_fMinProportion) {
        return FALSE;
    }
    for (int i = RowStart(nPos), end = RowEnd(nPos); i < end; ++i) {
        SECControlBar* other = AsSec(GetDockedControlBar(i));
        if (other && other != sec && other->IsVisible() && other->m_fProportion > m_fMinProportion) {
            return FALSE;
        }
    }
    return TRUE;
}

void SECDockBar::SetRowMaximized(CControlBar* pBar, int nMode) {
    int nPos = FindBar(pBar);
    if (nPos < 0) {
        return;
    }
    const int start = RowStart(nPos);
    for (int i = start, end = RowEnd(nPos); i < end; ++i) {
        if (SECControlBar* sec = AsSec(GetDockedControlBar(i))) {
            sec->m_fProportion = nMode == 1 ? (sec == pBar ? 1.0f : 0.0f) : 0.1f;
            AddToRedraw(sec);
        }
    }
    NormalizeRowProportions(start, pBar);
    m_pPriorityBar = pBar;
    if (CFrameWnd* frame = GetDockingFrame()) {
        frame->DelayRecalcLayout();
    }
}

void SECDockBar::MarkBarMoved(CControlBar* pBar) {
    int nPos = FindBar(pBar);
    if (nPos < 0) {
        return;
    }
    if (IsAloneInRow(pBar)) {
        const bool before = (m_dwStyle & (CBRS_ALIGN_RIGHT | CBRS_ALIGN_BOTTOM)) != 0;
        for (int i = before ? 1 : nPos + 1, end = before ? nPos : static_cast<int>(m_arrBars.GetSize());
             i < end; ++i) {
            AddToRedraw(GetDockedControlBar(i));
        }
    }
    AddToRedraw(pBar);
    m_pPriorityBar = pBar;
}

void SECDockBar::FlushRedraws() {
    m_bPainting = TRUE;
    if (!m_redrawList.IsEmpty() && m_hWnd) {
        RedrawWindow(nullptr, nullptr,
                     RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
    m_bPainting = FALSE;
}

// ---- Insertion

int SECDockBar::InsertAtIndex(int nIndex, CControlBar* pBar) {
    nIndex = std::clamp(nIndex, 1, static_cast<int>(m_arrBars.GetSize()));
    m_arrBars.InsertAt(nIndex, pBar);
    auto fullRow = [](CControlBar* p) {
        SECControlBar* sec = AsSec(p);
        return sec && (sec->m_dwExStyle & CBRS_EX_FULL_ROW);
    };
    CControlBar* next = GetDockedControlBar(nIndex + 1);
    CControlBar* prev = GetDockedControlBar(nIndex - 1);
    // A full-row bar stands alone in its row, and nothing joins a full-row bar's row.
    if (next && (fullRow(pBar) || fullRow(next))) {
        m_arrBars.InsertAt(nIndex + 1, static_cast<void*>(nullptr));
    }
    if (prev && (fullRow(pBar) || fullRow(prev))) {
        m_arrBars.InsertAt(nIndex, static_cast<void*>(nullptr));
        ++nIndex;
    }
    m_bLayoutChanged = TRUE;
    return nIndex;
}

int SECDockBar::InsertAsFirstRow(CControlBar* pBar) {
    if (!pBar) {
        return -1;
    }
    const bool any = GetDockedCount() > 0 || m_arrBars.GetSize() > 2;
    m_arrBars.InsertAt(1, pBar);
    if (any) {
        m_arrBars.InsertAt(2, static_cast<void*>(nullptr));
    } else if (m_arrBars.GetSize() == 2) {
        m_arrBars.Add(nullptr);
    }
    m_bLayoutChanged = TRUE;
    return 1;
}

int SECDockBar::InsertAtRect(CControlBar* pBar, CRect rect, CPoint ptMid) {
    AddToRedraw(pBar);
    const BOOL horz = IsHorzDock();
    for (int i = 1; i < m_arrBars.GetSize(); ++i) {
        CControlBar* p = GetDockedControlBar(i);
        if (!p || p == pBar || !p->IsVisible()) {
            continue;
        }
        CRect r;
        p->GetWindowRect(&r);
        ScreenToClient(&r);
        const int crossEnd = horz ? r.bottom : r.right;
        const int crossStart = horz ? r.top : r.left;
        const int mid = horz ? ptMid.y : ptMid.x;
        if (crossEnd < mid) {
            continue;
        }
        if (mid < crossStart) {
            // Dropped in the gap before this row: a row of its own there.
            int start = RowStart(i);
            m_arrBars.InsertAt(start, pBar);
            m_arrBars.InsertAt(start + 1, static_cast<void*>(nullptr));
            m_bLayoutChanged = TRUE;
            return start;
        }
        if ((horz ? rect.left : rect.top) < (horz ? r.left : r.top)) {
            for (int j = i; j < RowEnd(i); ++j) {
                AddToRedraw(GetDockedControlBar(j));
            }
            return InsertAtIndex(i, pBar);
        }
        if (!GetDockedControlBar(i + 1) || GetDockedControlBar(i + 1) == pBar) {
            return InsertAtIndex(i + 1, pBar);
        }
    }
    // Below every row: a new last row.
    return AppendRow(pBar);
}

int SECDockBar::InsertAtRowCol(CControlBar* pBar, SECDockPos pos) {
    if (m_arrBars.GetSize() <= 1) {
        m_arrBars.SetSize(1);
        m_arrBars.Add(pBar);
        m_arrBars.Add(nullptr);
        return 1;
    }
    std::vector<int> starts; // the first index of each row
    for (int i = 1; i < m_arrBars.GetSize(); i = RowEnd(i) + 1) {
        starts.push_back(i);
    }
    const int rows = static_cast<int>(starts.size());
    int row = 0;
    if (!(pos.dwFlags & SECDockPos::fromEndRow)) {
        if (pos.nRow < 0) {
            m_arrBars.InsertAt(1, pBar);
            for (int k = 0; k < -pos.nRow - 1; ++k) {
                m_arrBars.InsertAt(2, static_cast<void*>(nullptr));
            }
            m_bLayoutChanged = TRUE;
            return 1;
        }
        if (pos.nRow >= rows) {
            return InsertAtRowCol(pBar, {pos.nRow - rows + 1, 0, SECDockPos::fromEndRow});
        }
        row = pos.nRow;
    } else {
        if (pos.nRow > 0) {
            for (int k = 0; k < pos.nRow - 1; ++k) {
                m_arrBars.Add(nullptr);
            }
            m_arrBars.Add(pBar);
            m_arrBars.Add(nullptr);
            m_bLayoutChanged = TRUE;
            return static_cast<int>(m_arrBars.GetSize() - 2);
        }
        if (-pos.nRow >= rows) {
            return InsertAtRowCol(pBar, {-(-pos.nRow - rows + 1) - 1, 0, 0});
        }
        row = rows - 1 + pos.nRow;
    }
    const int start = starts[row];
    const int end = RowEnd(start);
    auto visibleAt = [&](int i) {
        CControlBar* p = GetDockedControlBar(i);
        return p && p->IsVisible();
    };
    int at = start;
    bool newRow = (pos.dwFlags & SECDockPos::newRow) != 0;
    if (newRow || start == end || (!(pos.dwFlags & SECDockPos::fromEndCol) && pos.nCol <= 0)) {
        at = start;
    } else if (!(pos.dwFlags & SECDockPos::fromEndCol)) {
        at = end;
        for (int i = start, seen = 0; i < end; ++i) {
            if (visibleAt(i) && seen++ == pos.nCol) {
                at = i;
                break;
            }
        }
    } else if (pos.nCol > 0) {
        at = end;
    } else {
        at = start;
        for (int i = end - 1, seen = 0; i >= start; --i) {
            if (visibleAt(i) && seen++ == -pos.nCol) {
                at = i;
                break;
            }
        }
    }
    AddToRedraw(GetDockedControlBar(at));
    AddToRedraw(pBar);
    m_arrBars.InsertAt(at, pBar);
    if (newRow) {
        m_arrBars.InsertAt(at + 1, static_cast<void*>(nullptr));
    }
    m_bLayoutChanged = TRUE;
    return at;
}

// ---- Docking and removal

namespace {

// The style a bar takes from the dock bar it joins.
void TakeDockStyle(CDockBar* pDock, CControlBar* pBar) {
    if (pDock->m_bFloating) {
        pDock->m_dwStyle |= pBar->m_dwStyle & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
        if (pBar->m_dwDockStyle & CBRS_FLOAT_MULTI) {
            pDock->m_dwStyle |= CBRS_FLOAT_MULTI;
        } else if (pBar->m_hWnd && pDock->m_hWnd) {
            CString text;
            pBar->GetWindowTextW(text);
            pDock->SetWindowTextW(text);
        }
    }
    DWORD style =
        (pBar->m_dwStyle & ~static_cast<DWORD>(CBRS_ALIGN_ANY)) | (pDock->m_dwStyle & CBRS_ALIGN_ANY);
    // In a floating frame the frame's own border is the bar's.
    style = pDock->m_bFloating ? ((style | CBRS_FLOATING) & ~static_cast<DWORD>(CBRS_BORDER_ANY))
                               : ((style & ~static_cast<DWORD>(CBRS_FLOATING)) | CBRS_BORDER_ANY);
    pBar->SetBarStyle(style);
}

} // namespace

int SECDockBar::AppendRow(CControlBar* pBar) {
    while (m_arrBars.GetSize() > 1 && m_arrBars[m_arrBars.GetSize() - 1] == nullptr) {
        m_arrBars.RemoveAt(m_arrBars.GetSize() - 1);
    }
    m_arrBars.Add(nullptr);
    m_arrBars.Add(pBar);
    m_arrBars.Add(nullptr);
    m_bLayoutChanged = TRUE;
    return static_cast<int>(m_arrBars.GetSize() - 2);
}

void SECDockBar::TakeOver(CControlBar* pBar, CDockBar* pOld, int nPos) {
    // The bar becomes this window's child before it leaves its old dock bar, whose floating frame may go
    // with its last bar.
    if (pBar->GetParent() != this) {
        pBar->SetParent(this);
    }
    if (pOld == this) {
        RemoveBar(pBar, nPos);
    } else if (pOld) {
        pOld->RemoveControlBar(pBar);
    }
    pBar->m_pDockBar = this;
    if (int ph = FindPlaceholder(static_cast<UINT>(pBar->GetDlgCtrlID())); ph > 0) {
        RemoveTidy(m_arrBars, ph);
    }
}

void SECDockBar::DockBarAt(CControlBar* pBar, LPCRECT lpRect) {
    if (!pBar || !pBar->m_hWnd) {
        return;
    }
    CDockBar* pOld = pBar->m_pDockBar;
    CRect rectWindow;
    pBar->GetWindowRect(&rectWindow);
    CRect rect;
    CPoint ptMid;
    if (lpRect) {
        rect = *lpRect;
        ScreenToClient(&rect);
        ptMid = rect.CenterPoint();
    }
    if (pOld == this) {
        if (!lpRect || rectWindow == CRect(lpRect) ||
            (IsFixedSize(pBar) && AsSec(pBar) && rectWindow == CRect(lpRect))) {
            return;
        }
    }
    TakeDockStyle(this, pBar);
    int nPos;
    if (lpRect) {
        nPos = InsertAtRect(pBar, rect, ptMid);
        pBar->SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        nPos = AppendRow(pBar);
    }
    TakeOver(pBar, pOld, nPos);
    if (CFrameWnd* frame = GetDockingFrame()) {
        frame->DelayRecalcLayout();
    }
}

void SECDockBar::ReDockBarAt(CControlBar* pBar, LPCRECT lpRect) {
    if (!pBar || !pBar->m_hWnd) {
        return;
    }
    CDockBar* pOld = pBar->m_pDockBar;
    CRect rectWindow;
    pBar->GetWindowRect(&rectWindow);
    if (pOld == this && (!lpRect || rectWindow == CRect(lpRect))) {
        return;
    }
    TakeDockStyle(this, pBar);
    int nPos = FindPlaceholder(static_cast<UINT>(pBar->GetDlgCtrlID()));
    CRect rect;
    if (lpRect) {
        rect = *lpRect;
        ScreenToClient(&rect);
    }
    if (nPos > 0) {
        m_arrBars[nPos] = pBar;
        AddToRedraw(pBar);
        m_bLayoutChanged = TRUE;
    } else if (lpRect) {
        nPos = InsertAtRect(pBar, rect, rect.CenterPoint());
    } else {
        nPos = AppendRow(pBar);
    }
    if (lpRect) {
        pBar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE);
    }
    TakeOver(pBar, pOld, nPos);
    m_pPriorityBar = pBar;
    if (CFrameWnd* frame = GetDockingFrame()) {
        frame->DelayRecalcLayout();
    }
}

int SECDockBar::DockControlBarAt(CControlBar* pBar, SECDockPos pos) {
    if (!pBar || !pBar->m_hWnd) {
        return -1;
    }
    CDockBar* pOld = pBar->m_pDockBar;
    TakeDockStyle(this, pBar);
    int nPos = InsertAtRowCol(pBar, pos);
    TakeOver(pBar, pOld, nPos);
    nPos = FindBar(pBar);
    NormalizeRowProportions(RowStart(nPos), pBar);
    m_pPriorityBar = pBar;
    if (CFrameWnd* frame = GetDockingFrame()) {
        frame->DelayRecalcLayout();
    }
    return nPos;
}

BOOL SECDockBar::RemoveBar(CControlBar* pBar, int nPosExclude, BOOL) {
    int nPos = FindBar(pBar, nPosExclude);
    if (nPos < 0) {
        return FALSE;
    }
    if (IsAloneInRow(pBar)) {
        const bool before = (m_dwStyle & (CBRS_ALIGN_RIGHT | CBRS_ALIGN_BOTTOM)) != 0;
        for (int i = before ? 1 : nPos + 1, end = before ? nPos : static_cast<int>(m_arrBars.GetSize());
             i < end; ++i) {
            AddToRedraw(GetDockedControlBar(i));
        }
        m_bLayoutChanged = TRUE;
    }
    const UINT id = pBar->m_hWnd ? static_cast<UINT>(pBar->GetDlgCtrlID()) : 0;
    int other = -1;
    if (id) {
        for (int i = 1; i < m_arrBars.GetSize(); ++i) {
            if (i != nPos && IsPlaceholder(m_arrBars[i]) && reinterpret_cast<UINT_PTR>(m_arrBars[i]) == id) {
                other = i;
            }
        }
    }
    if (id && other < 0) {
        // The bar's place stays for it.
        m_arrBars[nPos] = reinterpret_cast<void*>(static_cast<UINT_PTR>(id));
    } else {
        RemoveTidy(m_arrBars, nPos);
    }
    if (POSITION p = m_redrawList.Find(pBar)) {
        m_redrawList.RemoveAt(p);
    }
    if (m_pPriorityBar == pBar) {
        m_pPriorityBar = nullptr;
    }
    if (nPosExclude < 0 && pBar->m_pDockBar == this) {
        pBar->m_pDockBar = nullptr;
    }
    if (!pBar->m_pDockContext || nPosExclude >= 0 || !m_hWnd) {
        return FALSE;
    }
    if (!m_bFloating) {
        if (CFrameWnd* frame = GetDockingFrame()) {
            frame->DelayRecalcLayout();
        }
        return FALSE;
    }
    CWnd* frame = GetParent();
    if (GetDockedCount() == 0) {
        // This dock bar belongs to the frame and goes with it: nothing of it is touched after.
        frame->DestroyWindow();
        return TRUE;
    }
    if (GetDockedVisibleCount() == 0) {
        frame->ShowWindow(SW_HIDE);
    } else if (auto* floating = dynamic_cast<CFrameWnd*>(frame)) {
        floating->RecalcLayout(TRUE);
    }
    return FALSE;
}

// ---- Layout

void SECDockBar::PlaceBar(CControlBar* pBar, const CRect& rect) {
    if (m_bLayoutQuery) {
        return;
    }
    CRect current;
    pBar->GetWindowRect(&current);
    ScreenToClient(&current);
    if (!m_bFloating && pBar->m_pDockContext) {
        pBar->m_pDockContext->m_rectMRUDockPos = rect;
        pBar->m_pDockContext->m_uMRUDockID = static_cast<UINT>(GetDlgCtrlID());
    }
    if (current == rect) {
        return;
    }
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (current.Size() == rect.Size()) {
        flags |= SWP_NOSIZE;
    } else {
        AddToRedraw(pBar);
    }
    if (g_secNoRedrawLayout) {
        flags |= SWP_NOREDRAW;
    }
    pBar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), flags);
}

int SECDockBar::LayoutFixedRow(int nStart, int nEnd, int nCross, int nLength) {
    const BOOL horz = IsHorzDock();
    int along = 0;
    int thickness = 0;
    for (int i = nStart; i < nEnd; ++i) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (!pBar || !pBar->IsVisible()) {
            continue;
        }
        if (SECControlBar* sec = AsSec(pBar)) {
            sec->m_dwExStyle |= CBRS_EX_COOLBORDERS;
        }
        CSize size = pBar->CalcDynamicLayout(-1, BarMode(pBar));
        const int length = Along(size, horz);
        CRect current;
        pBar->GetWindowRect(&current);
        ScreenToClient(&current);
        int start = along;
        if (!m_bFloating) {
            // A bar keeps a place further along that it was put at, but stays on the frame.
            start = std::max(start, static_cast<int>(horz ? current.left : current.top));
            if (start + length > nLength) {
                start = std::max(nLength - length, along);
            }
        }
        PlaceBar(pBar, RowRect(horz, start, nCross, length, Across(size, horz)));
        along = start + length;
        m_nLayoutAlong = std::max(m_nLayoutAlong, along);
        thickness = std::max(thickness, Across(size, horz));
    }
    return nCross + thickness;
}

int SECDockBar::LayoutSizingRow(int nStart, int nEnd, int nCross, int nLength, int nSizing, int nFixed) {
    const BOOL horz = IsHorzDock();
    const BOOL outerFirst = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) != 0;
    const int count = nSizing + nFixed;
    if (outerFirst) {
        AddClientEdge(horz ? 0 : 1, RowRect(horz, 0, nCross, nLength, kEdgeSize));
        nCross += kEdgeSize;
    } else {
        AddSplitter(FALSE, horz ? 0 : 1, RowRect(horz, 0, nCross, nLength, kSplitterSize), nStart);
        nCross += kSplitterSize;
    }
    // First pass: every bar takes its share of the row (less the splitters); the row is as thick as its
    // thickest bar.
    const int available = nLength - kSplitterSize * (count - 1);
    int thickness = 0;
    int lastStretch = -1;
    for (int i = nStart; i < nEnd; ++i) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (!pBar || !pBar->IsVisible()) {
            continue;
        }
        SECControlBar* sec = AsSec(pBar);
        if (sec) {
            sec->m_dwExStyle &= ~static_cast<DWORD>(CBRS_EX_COOLBORDERS);
        }
        DWORD mode = BarMode(pBar) | (horz ? 0 : LM_LENGTHY);
        CSize size = pBar->CalcDynamicLayout(available, mode | LM_COMMIT | LM_STRETCH);
        thickness = std::max(thickness, Across(size, horz));
        if (!IsFixedSize(pBar) && !(pBar->m_dwStyle & CBRS_FLOATING)) {
            lastStretch = i;
        }
    }
    // Second pass: the row's thickness to all, the last sizing bar to the end of the row, a splitter
    // between two bars.
    int along = 0;
    for (int i = nStart; i < nEnd; ++i) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (!pBar || !pBar->IsVisible()) {
            continue;
        }
        const DWORD mode = BarMode(pBar);
        if (!m_bLayoutQuery && AsSec(pBar)) {
            pBar->CalcDynamicLayout(thickness, mode | (horz ? LM_LENGTHY : 0) | LM_COMMIT);
        }
        CSize size = pBar->CalcDynamicLayout(-1, mode);
        int length = Along(size, horz);
        if (i == lastStretch) {
            length = std::max(nLength - along, 0);
            if (!m_bLayoutQuery) {
                pBar->CalcDynamicLayout(length, mode | (horz ? 0 : LM_LENGTHY) | LM_COMMIT);
            }
        }
        PlaceBar(pBar, RowRect(horz, along, nCross, length, thickness));
        along += length;
        m_nLayoutAlong = std::max(m_nLayoutAlong, along);
        bool more = false;
        for (int j = i + 1; j < nEnd && !more; ++j) {
            CControlBar* next = GetDockedControlBar(j);
            more = next && next->IsVisible();
        }
        if (more) {
            AddSplitter(TRUE, horz ? 1 : 0, RowRect(horz, along, nCross, kSplitterSize, thickness), i);
            along += kSplitterSize;
        }
    }
    nCross += thickness;
    if (outerFirst) {
        AddSplitter(FALSE, horz ? 0 : 1, RowRect(horz, 0, nCross, nLength, kSplitterSize), nStart);
        nCross += kSplitterSize;
    } else {
        AddClientEdge(horz ? 0 : 1, RowRect(horz, 0, nCross, nLength, kEdgeSize));
        nCross += kEdgeSize;
    }
    return nCross;
}

CSize SECDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
    const int length = m_bFloating ? 32767 : RowLength();
    if (!m_bLayoutQuery) {
        for (auto& s : m_splitters) {
            s->m_bInUse = FALSE;
        }
        for (auto& e : m_edges) {
            e->m_bInUse = FALSE;
        }
        // Shows and hides put off to this layout happen now.
        for (int i = 1; i < m_arrBars.GetSize(); ++i) {
            CControlBar* pBar = GetDockedControlBar(i);
            if (pBar && (pBar->m_nStateFlags & (delayHide | delayShow))) {
                bool show = (pBar->m_nStateFlags & delayShow) != 0;
                pBar->m_nStateFlags &= ~static_cast<UINT>(delayHide | delayShow);
                pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
                                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                                       (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
            }
        }
    }
    UpdateMinProportion();
    m_nLayoutAlong = 0;
    int cross = 0;
    for (int start = 1; start < m_arrBars.GetSize();) {
        const int end = RowEnd(start);
        int sizing = 0;
        int fixed = 0;
        NormalizeRowProportions(start, m_pPriorityBar, &sizing, &fixed);
        if (sizing + fixed > 0) {
            cross = (sizing > 0 && !m_bFloating) ? LayoutSizingRow(start, end, cross, length, sizing, fixed)
                                                 : LayoutFixedRow(start, end, cross, length);
        }
        start = end + 1;
    }
    if (!m_bLayoutQuery) {
        std::erase_if(m_splitters, [](const auto& s) { return !s->m_bInUse; });
        std::erase_if(m_edges, [](const auto& e) { return !e->m_bInUse; });
        m_pPriorityBar = nullptr;
        if (m_bLayoutChanged && m_hWnd) {
            Invalidate();
        }
    }
    if (cross > 0 && !m_bFloating && SECGetToolkitMetrics().bDockBarExtraEdge &&
        (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT))) {
        cross += SECGetToolkitMetrics().bIsNewShell ? 2 : 1;
    }
    if (IsHorzDock()) {
        size.cx = bStretch ? std::max(static_cast<int>(size.cx), m_nLayoutAlong) : m_nLayoutAlong;
        size.cy = cross;
    } else {
        size.cx = cross;
        size.cy = bStretch ? std::max(static_cast<int>(size.cy), m_nLayoutAlong) : m_nLayoutAlong;
    }
    return size;
}

LRESULT SECDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam) {
    AFX_SIZEPARENTPARAMS* previous = m_pLayout;
    m_pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    LRESULT result = CDockBar::OnSizeParent(wParam, lParam);
    m_pLayout = previous;
    return result;
}

// ---- Feedback while a bar is dragged

CRect SECDockBar::GetFeedbackRect(CControlBar* pBar, CRect rectDrag, CPoint pt, int& nLastRow,
                                  CRect& rectLast, CPoint& ptLast) {
    const BOOL horz = IsHorzDock();
    CRect client = rectDrag;
    ScreenToClient(&client);
    // The row the drag rectangle's centre falls in.
    const int mid = horz ? client.CenterPoint().y : client.CenterPoint().x;
    int rowStart = static_cast<int>(m_arrBars.GetSize());
    for (int start = 1; start < m_arrBars.GetSize(); start = RowEnd(start) + 1) {
        int rowEnd = -1;
        for (int i = start; i < RowEnd(start); ++i) {
            CControlBar* p = GetDockedControlBar(i);
            if (p && p->IsVisible()) {
                CRect r;
                p->GetWindowRect(&r);
                ScreenToClient(&r);
                rowEnd = std::max(rowEnd, static_cast<int>(horz ? r.bottom : r.right));
            }
        }
        if (rowEnd >= 0 && mid < rowEnd) {
            rowStart = start;
            break;
        }
    }
    int others = 0;
    bool inRow = false;
    float sum = 0.0f;
    int thickness = 0;
    for (int i = rowStart; i < RowEnd(rowStart); ++i) {
        CControlBar* p = GetDockedControlBar(i);
        if (!p || !p->IsVisible()) {
            continue;
        }
        if (p == pBar) {
            inRow = true;
            continue;
        }
        ++others;
        if (SECControlBar* sec = AsSec(p)) {
            sum += sec->m_fProportion;
            thickness = std::max(
                thickness,
                Across(p->CalcDynamicLayout(-1, horz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK), horz));
        }
    }
    if (others > 0 && rowStart == nLastRow) {
        CRect moved = rectLast;
        moved.OffsetRect(pt - ptLast);
        rectLast = moved;
        ptLast = pt;
        return moved;
    }
    CRect rect = rectDrag;
    SECControlBar* sec = AsSec(pBar);
    if (sec && (sec->m_dwExStyle & CBRS_EX_FIXEDSIZE)) {
        // keeps the drag rectangle
    } else if (others == 0) {
        CRect window;
        GetWindowRect(&window);
        if (horz) {
            rect.left = window.left;
            rect.right = window.right;
        } else {
            rect.top = window.top;
            rect.bottom = window.bottom;
        }
    } else if (sec && !inRow && sum > 0.0f) {
        thickness =
            std::max(thickness,
                     Across(pBar->CalcDynamicLayout(-1, horz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK), horz));
        CRect window;
        GetWindowRect(&window);
        const int windowLength = horz ? window.Width() : window.Height();
        const float p = sec->m_fProportion;
        // The new length along the row and the thickness across it, the mouse keeping its relative place.
        auto fit = [](LONG& lead, LONG& trail, int mouse, int newLength) {
            const int oldLength = trail - lead;
            if (oldLength <= 0) {
                trail = lead + newLength;
                return;
            }
            const double f = static_cast<double>(mouse - lead) / oldLength;
            const int change = oldLength - newLength;
            lead += static_cast<int>(f * change);
            trail -= static_cast<int>((1.0 - f) * change);
        };
        const int newLength = static_cast<int>(p / (sum + p) * static_cast<float>(windowLength));
        if (horz) {
            fit(rect.left, rect.right, pt.x, newLength);
            fit(rect.top, rect.bottom, pt.y, thickness);
        } else {
            fit(rect.top, rect.bottom, pt.y, newLength);
            fit(rect.left, rect.right, pt.x, thickness);
        }
    }
    nLastRow = rowStart;
    rectLast = rect;
    ptLast = pt;
    return rect;
}

// ---- Splitters and edges

namespace {

// Splitters and edges are kept between layouts: the one already at `rect` is taken again, else a new one.
template <class T>
T* Reuse(std::vector<std::unique_ptr<T>>& items, const CRect& rect, BOOL& bChanged) {
    for (auto& item : items) {
        if (item->m_rect == rect && !item->m_bInUse) {
            item->m_bInUse = TRUE;
            return item.get();
        }
    }
    items.push_back(std::make_unique<T>());
    items.back()->m_rect = rect;
    items.back()->m_bInUse = TRUE;
    bChanged = TRUE;
    return items.back().get();
}

} // namespace

void SECDockBar::AddSplitter(BOOL bInRow, int nOrientation, const CRect& rect, int nIndex) {
    if (m_bLayoutQuery) {
        return;
    }
    Splitter* s = Reuse(m_splitters, rect, m_bLayoutChanged);
    s->m_bInRow = bInRow;
    s->m_nOrientation = nOrientation;
    s->m_nIndex = nIndex;
}

void SECDockBar::AddClientEdge(int nOrientation, const CRect& rect) {
    if (m_bLayoutQuery) {
        return;
    }
    Reuse(m_edges, rect, m_bLayoutChanged)->m_nOrientation = nOrientation;
}

void SECDockBar::Splitter::Draw(CDC* pDC) {
    const ToolkitMetrics& m = SECGetToolkitMetrics();
    const CRect& r = m_rect;
    if (m_nOrientation == 0) {
        pDC->FillSolidRect(r.left, r.top + 1, r.Width(), r.Height() - 3, m.clrBtnFace);
        pDC->FillSolidRect(r.left, r.top, r.Width(), 1, m.clrBtnHilite);
        pDC->FillSolidRect(r.left, r.bottom - 2, r.Width(), 1, m.clrBtnShadow);
        pDC->FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, m.clrWindowFrame);
    } else {
        pDC->FillSolidRect(r.left + 1, r.top, r.Width() - 3, r.Height(), m.clrBtnFace);
        pDC->FillSolidRect(r.left, r.top, 1, r.Height(), m.clrBtnHilite);
        pDC->FillSolidRect(r.right - 2, r.top, 1, r.Height(), m.clrBtnShadow);
        pDC->FillSolidRect(r.right - 1, r.top, 1, r.Height(), m.clrWindowFrame);
    }
}

void SECDockBar::ClientEdge::Draw(CDC* pDC) {
    const ToolkitMetrics& m = SECGetToolkitMetrics();
    const CRect& r = m_rect;
    if (m_nOrientation == 0) {
        pDC->FillSolidRect(r.left, r.top, r.Width(), 1, m.clrBtnShadow);
        pDC->FillSolidRect(r.left, r.top + 1, r.Width(), 1, m.clrBtnHilite);
    } else {
        pDC->FillSolidRect(r.left, r.top, 1, r.Height(), m.clrBtnShadow);
        pDC->FillSolidRect(r.left + 1, r.top, 1, r.Height(), m.clrBtnHilite);
    }
}

void SECDockBar::DoPaint(CDC* pDC) {
    for (auto it = m_edges.rbegin(); it != m_edges.rend(); ++it) {
        (*it)->Draw(pDC);
    }
    for (auto it = m_splitters.rbegin(); it != m_splitters.rend(); ++it) {
        (*it)->Draw(pDC);
    }
    if (m_bPainting) {
        for (POSITION pos = m_redrawList.GetHeadPosition(); pos;) {
            auto* pBar = static_cast<CControlBar*>(m_redrawList.GetNext(pos));
            if (pBar->m_hWnd) {
                pBar->RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
            }
        }
        m_redrawList.RemoveAll();
        m_bLayoutChanged = FALSE;
    }
    CDockBar::DoPaint(pDC);
}

SECDockBar::Splitter* SECDockBar::SplitterAt(CPoint point) const {
    for (const auto& s : m_splitters) {
        if (s->m_rect.PtInRect(point)) {
            return s.get();
        }
    }
    return nullptr;
}

CRect SECDockBar::ViewArea() const {
    CRect rect;
    CWnd* frame = GetParent();
    if (!frame) {
        return rect;
    }
    frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &rect);
    frame->ClientToScreen(&rect);
    ScreenToClient(&rect);
    return rect;
}

void SECDockBar::GetSplitterLimits(Splitter* s) {
    const BOOL horz = IsHorzDock();
    if (s->m_bInRow) {
        int before = 0;
        int after = 0;
        const int start = RowStart(s->m_nIndex);
        for (int i = start, end = RowEnd(start); i < end; ++i) {
            CControlBar* p = GetDockedControlBar(i);
            if (p && p->IsVisible()) {
                (i <= s->m_nIndex ? before : after)++;
            }
        }
        CRect client;
        GetClientRect(&client);
        s->m_nMin = (horz ? client.left : client.top) + kMinBarPerSplitter * before;
        s->m_nMax = (horz ? client.right : client.bottom) - kMinBarPerSplitter * after;
        return;
    }
    int thickness = 0;
    const int start = RowStart(s->m_nIndex);
    for (int i = start, end = RowEnd(start); i < end; ++i) {
        CControlBar* p = GetDockedControlBar(i);
        if (p && p->IsVisible()) {
            CRect r;
            p->GetWindowRect(&r);
            thickness = std::max(thickness, static_cast<int>(horz ? r.Height() : r.Width()));
        }
    }
    const CRect view = ViewArea();
    const int lead = horz ? s->m_rect.top : s->m_rect.left;
    const int trail = horz ? s->m_rect.bottom : s->m_rect.right;
    if (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) {
        // The row before the splitter keeps 19 pixels, and so do the views after it.
        s->m_nMin = lead - thickness + kMinRowThickness;
        s->m_nMax = std::max(static_cast<int>((horz ? view.bottom : view.right) - kMinRowThickness), trail);
    } else {
        s->m_nMin = std::min(static_cast<int>((horz ? view.top : view.left) + kMinRowThickness), lead);
        s->m_nMax = lead + thickness - kMinRowThickness;
    }
}

void SECDockBar::ApplySplitterMove(Splitter* s, int nDelta) {
    m_bLayoutChanged = TRUE;
    const BOOL horz = IsHorzDock();
    const int start = RowStart(s->m_nIndex);
    const int end = RowEnd(start);
    for (int i = start; i < end; ++i) {
        AddToRedraw(GetDockedControlBar(i));
    }
    if (!s->m_bInRow) {
        // The row grows toward the views: down from a top dock bar, up into a bottom one.
        const int grow = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) ? nDelta : -nDelta;
        for (int i = start; i < end; ++i) {
            SECControlBar* sec = AsSec(GetDockedControlBar(i));
            if (!sec || !sec->IsVisible()) {
                continue;
            }
            const DWORD mode = BarMode(sec);
            const int thickness = Across(sec->CalcDynamicLayout(-1, mode), horz);
            sec->CalcDynamicLayout(std::max(thickness + grow, kMinRowThickness),
                                   mode | (horz ? LM_LENGTHY : 0) | LM_COMMIT);
        }
        return;
    }
    std::vector<SECControlBar*> before;
    std::vector<SECControlBar*> after;
    int visible = 0;
    for (int i = start; i < end; ++i) {
        CControlBar* p = GetDockedControlBar(i);
        if (!p || !p->IsVisible()) {
            continue;
        }
        ++visible;
        if (SECControlBar* sec = AsSec(p)) {
            if (i <= s->m_nIndex) {
                before.insert(before.begin(), sec); // nearest the splitter first
            } else {
                after.push_back(sec);
            }
        }
    }
    const int rowLength = RowLength() - kSplitterSize * (visible - 1);
    if (rowLength <= 0 || nDelta == 0 || before.empty() || after.empty()) {
        return;
    }
    // A bar's length changes by `change` as far as it can; what it cannot take passes on.
    auto change = [&](SECControlBar* bar, int amount) {
        const DWORD mode = BarMode(bar) | (horz ? 0 : LM_LENGTHY);
        const int current = Along(bar->CalcDynamicLayout(-1, BarMode(bar)), horz);
        int length = std::max(current + amount, static_cast<int>(kMinBarLength));
        float proportion = static_cast<float>(length) / static_cast<float>(rowLength);
        if (proportion < m_fMinProportion) {
            proportion = m_fMinProportion;
            length = static_cast<int>(m_fMinProportion * static_cast<float>(rowLength));
        }
        bar->CalcDynamicLayout(length, mode | LM_COMMIT);
        bar->m_fProportion = proportion;
        AddToRedraw(bar);
        return length - current;
    };
    std::vector<SECControlBar*>& grows = nDelta < 0 ? after : before;
    std::vector<SECControlBar*>& gives = nDelta < 0 ? before : after;
    const int amount = std::abs(nDelta);
    change(grows.front(), amount);
    int left = amount;
    for (SECControlBar* bar : gives) {
        if (left <= 0) {
            break;
        }
        left += change(bar, -left);
    }
}

int SECDockBar::TrackSplitter(Splitter* s, CPoint point) {
    if (CWnd::GetCapture()) {
        return 0;
    }
    SetCapture();
    const bool alongX = s->m_nOrientation == 1;
    const int lead = alongX ? s->m_rect.left : s->m_rect.top;
    const int grab = (alongX ? point.x : point.y) - lead;
    CFrameWnd* frame = GetParentFrame();
    CRect origin;
    if (frame) {
        frame->GetWindowRect(&origin);
    }
    // The tracker: the splitter at `position`, in the frame's window coordinates, 1 pixel shorter each end.
    auto tracker = [&](int position) {
        CRect r = s->m_rect;
        alongX ? r.OffsetRect(position - lead, 0) : r.OffsetRect(0, position - lead);
        ClientToScreen(&r);
        r.OffsetRect(-origin.left, -origin.top);
        alongX ? r.DeflateRect(0, 1) : r.DeflateRect(1, 0);
        return r;
    };
    // It is inverted on the frame's window: drawn once, moved, erased at the end.
    CRect last;
    bool shown = false;
    auto draw = [&](const CRect* r) {
        if (!frame) {
            return;
        }
        CWindowDC dc(frame);
        dc.DrawDragRect(r ? r : &last, r ? CSize(3, 3) : CSize(0, 0), shown ? &last : nullptr, CSize(3, 3));
        shown = r != nullptr;
        if (r) {
            last = *r;
        }
    };
    int position = lead;
    CRect first = tracker(position);
    draw(&first);
    int result = 0;
    bool done = false;
    while (!done && CWnd::GetCapture() == this) {
        MSG msg{};
        if (!::GetMessageW(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP: {
            CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            ::MapWindowPoints(msg.hwnd, m_hWnd, &pt, 1);
            int wanted = std::clamp((alongX ? pt.x : pt.y) - grab, s->m_nMin,
                                    std::max(s->m_nMin, s->m_nMax - kSplitterSize));
            if (wanted != position) {
                position = wanted;
                CRect r = tracker(position);
                draw(&r);
            }
            if (msg.message == WM_LBUTTONUP) {
                result = position - lead;
                done = true;
            }
            break;
        }
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE) {
                done = true;
            }
            break;
        case WM_RBUTTONDOWN:
            done = true;
            break;
        default:
            ::DispatchMessageW(&msg);
            break;
        }
    }
    draw(nullptr);
    if (CWnd::GetCapture() == this) {
        ::ReleaseCapture();
    }
    return result;
}

void SECDockBar::OnSplitterButtonDown(Splitter* s, CPoint point) {
    GetSplitterLimits(s);
    int delta = TrackSplitter(s, point);
    if (delta != 0) {
        ApplySplitterMove(s, delta);
        if (CFrameWnd* frame = GetDockingFrame()) {
            frame->DelayRecalcLayout();
        }
    }
}

// ---- Messages

BOOL SECDockBar::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_SYSKEYDOWN) {
        if (CFrameWnd* frame = GetDockingFrame()) {
            frame->PostMessageW(WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(pMsg->wParam));
        }
    }
    return CDockBar::PreTranslateMessage(pMsg);
}

void SECDockBar::OnDestroy() {
    m_splitters.clear();
    m_edges.clear();
    m_redrawList.RemoveAll();
    CDockBar::OnDestroy();
}

BOOL SECDockBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (nHitTest == HTCLIENT) {
        return TRUE; // the mouse move sets it
    }
    return CDockBar::OnSetCursor(pWnd, nHitTest, message);
}

void SECDockBar::OnMouseMove(UINT nFlags, CPoint point) {
    const ToolkitMetrics& m = SECGetToolkitMetrics();
    HCURSOR cursor = m.hcurArrow;
    if (Splitter* s = SplitterAt(point)) {
        cursor = s->m_nOrientation == 1
                     ? (m.hcurDockSizeH ? m.hcurDockSizeH : ::LoadCursorW(nullptr, IDC_SIZEWE))
                     : (m.hcurDockSizeV ? m.hcurDockSizeV : ::LoadCursorW(nullptr, IDC_SIZENS));
    }
    if (cursor) {
        ::SetCursor(cursor);
    }
    CDockBar::OnMouseMove(nFlags, point);
}

void SECDockBar::OnLButtonDown(UINT nFlags, CPoint point) {
    if (Splitter* s = SplitterAt(point)) {
        OnSplitterButtonDown(s, point);
        return;
    }
    CDockBar::OnLButtonDown(nFlags, point);
}
