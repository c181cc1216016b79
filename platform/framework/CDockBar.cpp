#include "platform/framework/CDockBar.h"

#include "platform/framework/CDockContext.h"
#include "platform/framework/CFrameWnd.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
ON_WM_DESTROY()
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

namespace {

// One null at the start, one null after every row, never two in a row.
void Normalize(CPtrArray& bars) {
    if (bars.GetSize() == 0 || bars[0] != nullptr) {
        bars.InsertAt(0, static_cast<void*>(nullptr));
    }
    for (INT_PTR i = 1; i < bars.GetSize();) {
        if (bars[i] == nullptr && bars[i - 1] == nullptr) {
            bars.RemoveAt(i);
        } else {
            ++i;
        }
    }
    if (bars[bars.GetSize() - 1] != nullptr) {
        bars.Add(nullptr);
    }
}

} // namespace

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating) {
    m_arrBars.Add(nullptr);
    m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
}

CDockBar::~CDockBar() = default;

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    // A dock bar draws no borders of its own: the bars it holds have theirs.
    dwStyle &= ~static_cast<DWORD>(CBRS_BORDER_ANY | CBRS_BORDER_3D);
    return CreateBar(0, nullptr, dwStyle | WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0),
                     pParentWnd, nID);
}

void CDockBar::OnDestroy() {
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
        if (CControlBar* pBar = GetDockedControlBar(static_cast<int>(i)); pBar && pBar->m_pDockBar == this) {
            pBar->m_pDockBar = nullptr;
        }
    }
    // The bars go with this window (and may delete themselves): none is reached through it any more.
    m_arrBars.RemoveAll();
    m_arrBars.Add(nullptr);
    CControlBar::OnDestroy();
}

CControlBar* CDockBar::GetDockedControlBar(int nPos) const {
    if (nPos < 0 || nPos >= m_arrBars.GetSize()) {
        return nullptr;
    }
    void* p = m_arrBars[nPos];
    return IsPlaceholder(p) ? nullptr : static_cast<CControlBar*>(p);
}

int CDockBar::FindBar(CControlBar* pBar, int nPosExclude) const {
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
        if (i != nPosExclude && m_arrBars[i] == pBar) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int CDockBar::GetDockedCount() const {
    int n = 0;
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
        n += GetDockedControlBar(static_cast<int>(i)) ? 1 : 0;
    }
    return n;
}

int CDockBar::GetDockedVisibleCount() const {
    int n = 0;
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
        CControlBar* pBar = GetDockedControlBar(static_cast<int>(i));
        n += pBar && pBar->IsVisible() ? 1 : 0;
    }
    return n;
}

void CDockBar::GetBarIDs(CUIntArray& ids) const {
    ids.RemoveAll();
    for (INT_PTR i = 1; i < m_arrBars.GetSize(); ++i) {
        if (CControlBar* pBar = GetDockedControlBar(static_cast<int>(i))) {
            ids.Add(static_cast<UINT>(pBar->GetDlgCtrlID()));
        } else if (m_arrBars[i] == nullptr && ids.GetSize() > 0 && ids[ids.GetSize() - 1] != 0) {
            ids.Add(0);
        }
    }
}

int CDockBar::Insert(CControlBar*, CRect rect, CPoint ptMid) {
    BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int nPosInsAfter = 0;
    int nWidth = 0;
    int nTotal = 0;
    for (int nPos = 0; nPos < m_arrBars.GetSize(); ++nPos) {
        CControlBar* pBar = GetDockedControlBar(nPos);
        if (m_arrBars[nPos] == nullptr) {
            // The end of a row: a drop above its far edge goes into it.
            nTotal += nWidth;
            nWidth = 0;
            if ((bHorz ? ptMid.y : ptMid.x) < nTotal) {
                if (nPos == 0) {
                    m_arrBars.InsertAt(nPosInsAfter + 1, static_cast<void*>(nullptr));
                }
                return nPosInsAfter + 1;
            }
            nPosInsAfter = nPos;
        } else if (pBar && pBar->IsVisible()) {
            CRect rectBar;
            pBar->GetWindowRect(&rectBar);
            ScreenToClient(&rectBar);
            nWidth = std::max(nWidth, bHorz ? rectBar.Height() : rectBar.Width());
            if (bHorz ? rect.left > rectBar.left : rect.top > rectBar.top) {
                nPosInsAfter = nPos;
            }
        }
    }
    return nPosInsAfter + 1;
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) {
    CRect rectBar;
    pBar->GetWindowRect(&rectBar);
    if (pBar->m_pDockBar == this && (!lpRect || ::EqualRect(&rectBar, lpRect))) {
        return;
    }
    CDockBar* pOld = pBar->m_pDockBar;
    if (pOld == this) {
        // Moving within this dock bar: out of the old place first.
        if (int k = FindBar(pBar); k >= 0) {
            m_arrBars.RemoveAt(k);
            Normalize(m_arrBars);
        }
    }
    int nPos = -1;
    if (lpRect) {
        CRect rect(lpRect);
        ScreenToClient(&rect);
        CPoint ptMid(rect.left + rect.Width() / 2, rect.top + rect.Height() / 2);
        nPos = Insert(pBar, rect, ptMid);
        if (pBar->GetParent() != this) {
            pBar->SetParent(this);
        }
        pBar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (pBar->GetParent() != this) {
        pBar->SetParent(this);
    }
    // Leave the old dock bar after the bar has left its window, which may go with its last bar.
    if (pOld && pOld != this) {
        pOld->RemoveControlBar(pBar);
    }
    pBar->m_pDockBar = this;
    DWORD style = (pBar->m_dwStyle & ~static_cast<DWORD>(CBRS_ALIGN_ANY)) | (m_dwStyle & CBRS_ALIGN_ANY);
    style = m_bFloating ? (style | CBRS_FLOATING) : (style & ~static_cast<DWORD>(CBRS_FLOATING));
    if (m_bFloating) {
        style &= ~static_cast<DWORD>(CBRS_BORDER_ANY);
    } else {
        style |= CBRS_BORDER_ANY;
    }
    pBar->SetBarStyle(style);
    if (nPos < 0) {
        Normalize(m_arrBars);
        m_arrBars.Add(pBar);
        m_arrBars.Add(nullptr);
    } else {
        m_arrBars.InsertAt(nPos, pBar);
    }
    Normalize(m_arrBars);
    if (pBar->m_pDockContext && !m_bFloating) {
        pBar->m_pDockContext->m_uMRUDockID = static_cast<UINT>(GetDlgCtrlID());
    }
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude) {
    int nPos = FindBar(pBar, nPosExclude);
    if (nPos < 0) {
        return FALSE;
    }
    m_arrBars.RemoveAt(nPos);
    Normalize(m_arrBars);
    if (pBar->m_pDockBar == this && nPosExclude < 0) {
        pBar->m_pDockBar = nullptr;
    }
    // A floating frame goes with its last bar.
    if (m_bFloating && nPosExclude < 0 && m_hWnd) {
        CWnd* frame = GetParent();
        if (GetDockedCount() == 0) {
            frame->DestroyWindow();
        } else if (GetDockedVisibleCount() == 0) {
            frame->ShowWindow(SW_HIDE);
        }
    }
    return TRUE;
}

CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    CSize sizeFixed = CControlBar::CalcFixedLayout(bStretch, bHorz);
    CSize sizeMax(32767, 32767);
    if (!m_bFloating && m_hWnd) {
        if (CWnd* parent = GetParent()) {
            CRect client;
            parent->GetClientRect(&client);
            sizeMax = client.Size();
        }
    }
    CPoint pt(0, 0);
    int nWidth = 0;
    BOOL bWrapped = FALSE;
    for (int nPos = 0; nPos < m_arrBars.GetSize(); ++nPos) {
        CControlBar* pBar = GetDockedControlBar(nPos);
        void* pVoid = m_arrBars[nPos];
        if (pBar && !m_bLayoutQuery && (pBar->m_nStateFlags & (delayHide | delayShow))) {
            // A show or hide put off to this layout happens now.
            bool show = (pBar->m_nStateFlags & delayShow) != 0;
            pBar->m_nStateFlags &= ~static_cast<UINT>(delayHide | delayShow);
            pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
                               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                                   (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        }
        if (pBar && pBar->IsVisible()) {
            DWORD mode = bHorz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;
            if (m_bFloating) {
                mode = LM_HORZ | LM_MRUWIDTH;
                if (!(pBar->m_dwStyle & CBRS_SIZE_DYNAMIC)) {
                    mode = (pBar->m_dwStyle & CBRS_ORIENT_HORZ) ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;
                }
            }
            CSize sizeBar = pBar->CalcDynamicLayout(-1, mode);
            CRect rect(pt, sizeBar);
            CRect rectBar;
            pBar->GetWindowRect(&rectBar);
            ScreenToClient(&rectBar);
            if (bHorz) {
                // A bar keeps the place it was put at, but stays on the frame.
                if (rectBar.left > rect.left && !m_bFloating) {
                    rect.OffsetRect(rectBar.left - rect.left, 0);
                }
                if (rect.right > sizeMax.cx && !m_bFloating) {
                    rect.OffsetRect(std::max(sizeMax.cx - rect.Width(), static_cast<LONG>(pt.x)) - rect.left,
                                    0);
                }
                if (bWrapped) {
                    bWrapped = FALSE;
                    rect.OffsetRect(-rect.left, 0);
                } else if (rect.left >= sizeMax.cx && nPos > 0 && m_arrBars[nPos - 1] != nullptr) {
                    // Nothing of it would show: it starts a row of its own.
                    m_arrBars.InsertAt(nPos, static_cast<void*>(nullptr));
                    pBar = nullptr;
                    pVoid = nullptr;
                    bWrapped = TRUE;
                }
                if (!bWrapped) {
                    if (!::EqualRect(&rect, &rectBar) && !m_bLayoutQuery) {
                        pBar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                                           SWP_NOZORDER | SWP_NOACTIVATE);
                    }
                    pt.x = rect.left + sizeBar.cx;
                    nWidth = std::max(nWidth, static_cast<int>(sizeBar.cy));
                }
            } else {
                if (rectBar.top > rect.top && !m_bFloating) {
                    rect.OffsetRect(0, rectBar.top - rect.top);
                }
                if (rect.bottom > sizeMax.cy && !m_bFloating) {
                    rect.OffsetRect(0,
                                    std::max(sizeMax.cy - rect.Height(), static_cast<LONG>(pt.y)) - rect.top);
                }
                if (bWrapped) {
                    bWrapped = FALSE;
                    rect.OffsetRect(0, -rect.top);
                } else if (rect.top >= sizeMax.cy && nPos > 0 && m_arrBars[nPos - 1] != nullptr) {
                    m_arrBars.InsertAt(nPos, static_cast<void*>(nullptr));
                    pBar = nullptr;
                    pVoid = nullptr;
                    bWrapped = TRUE;
                }
                if (!bWrapped) {
                    if (!::EqualRect(&rect, &rectBar) && !m_bLayoutQuery) {
                        pBar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                                           SWP_NOZORDER | SWP_NOACTIVATE);
                    }
                    pt.y = rect.top + sizeBar.cy;
                    nWidth = std::max(nWidth, static_cast<int>(sizeBar.cx));
                }
            }
        }
        if (!pBar && !pVoid && nWidth != 0) {
            // The end of a row.
            if (bHorz) {
                pt.y += nWidth;
                sizeFixed.cx = std::max(sizeFixed.cx, static_cast<LONG>(pt.x));
                sizeFixed.cy = std::max(sizeFixed.cy, static_cast<LONG>(pt.y));
                pt.x = 0;
            } else {
                pt.x += nWidth;
                sizeFixed.cx = std::max(sizeFixed.cx, static_cast<LONG>(pt.x));
                sizeFixed.cy = std::max(sizeFixed.cy, static_cast<LONG>(pt.y));
                pt.y = 0;
            }
            nWidth = 0;
        }
    }
    return sizeFixed;
}

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam) {
    auto* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    m_bLayoutQuery = lpLayout->hDWP == nullptr;
    LRESULT result = CControlBar::OnSizeParent(wParam, lParam);
    m_bLayoutQuery = FALSE;
    return result;
}

void CDockBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    // The bars in floating frames are not in the frame's window tree; the first dock bar updates them.
    if (m_bFloating || !pTarget) {
        return;
    }
    for (UINT id = AFX_IDW_DOCKBAR_TOP; id <= AFX_IDW_DOCKBAR_BOTTOM; ++id) {
        if (CWnd* first = pTarget->GetDlgItem(static_cast<int>(id))) {
            if (first == this) {
                pTarget->UpdateFloatingBars(bDisableIfNoHndler);
            }
            return;
        }
    }
}

void CDockBar::DoPaint(CDC*) {}

void CDockBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) {}

void CDockBar::OnNcPaint() {}
