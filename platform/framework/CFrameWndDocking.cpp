// The frame's side of control bars: its dock bars, docking and floating, showing and hiding bars, and the
// saved arrangement.
#include "platform/framework/CDockBar.h"
#include "platform/framework/CDockContext.h"
#include "platform/framework/CDockState.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CMiniDockFrameWnd.h"

namespace {

// The dock bars in the order they are made (and laid out): top and bottom span the frame's width.
const DWORD kDockBars[4][2] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT},
};

// The floating frame's window, which may go when its last bar leaves (and its object with it).
HWND FloatingWindowOf(CControlBar* pBar);

// Lays out a floating frame a bar has left, if it is still there.
void RelayoutFloating(HWND hWnd) {
    if (hWnd && ::IsWindow(hWnd)) {
        if (auto* pFrame = dynamic_cast<CMiniDockFrameWnd*>(CWnd::FromHandlePermanent(hWnd))) {
            pFrame->RecalcLayout();
        }
    }
}

CMiniDockFrameWnd* FloatingFrameOf(CControlBar* pBar) {
    if (!pBar->m_pDockBar || !pBar->m_pDockBar->m_bFloating) {
        return nullptr;
    }
    return dynamic_cast<CMiniDockFrameWnd*>(pBar->m_pDockBar->GetParent());
}

// Puts the docked bars of `ids` in that order and row arrangement (0 ends a row).
void ArrangeRows(CDockBar* pDockBar, const CUIntArray& ids, CFrameWnd* pFrame) {
    CPtrArray arranged;
    arranged.Add(nullptr);
    for (INT_PTR i = 0; i < ids.GetSize(); ++i) {
        if (ids[i] == 0) {
            if (arranged[arranged.GetSize() - 1] != nullptr) {
                arranged.Add(nullptr);
            }
            continue;
        }
        CControlBar* pBar = pFrame->GetControlBar(ids[i]);
        if (pBar && pBar->m_pDockBar == pDockBar) {
            arranged.Add(pBar);
        }
    }
    // Bars docked there but not in the saved list keep a row of their own at the end.
    for (INT_PTR i = 0; i < pDockBar->m_arrBars.GetSize(); ++i) {
        CControlBar* pBar = pDockBar->GetDockedControlBar(static_cast<int>(i));
        bool listed = false;
        for (INT_PTR j = 0; j < arranged.GetSize() && pBar; ++j) {
            listed = listed || arranged[j] == pBar;
        }
        if (pBar && !listed) {
            if (arranged[arranged.GetSize() - 1] != nullptr) {
                arranged.Add(nullptr);
            }
            arranged.Add(pBar);
        }
    }
    if (arranged[arranged.GetSize() - 1] != nullptr) {
        arranged.Add(nullptr);
    }
    pDockBar->m_arrBars.Copy(arranged);
}

HWND FloatingWindowOf(CControlBar* pBar) {
    CMiniDockFrameWnd* pFrame = FloatingFrameOf(pBar);
    return pFrame ? pFrame->m_hWnd : nullptr;
}

} // namespace

void CFrameWnd::EnableDocking(DWORD dwDockStyle) {
    m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
    for (const auto& entry : kDockBars) {
        if (!(entry[1] & dwDockStyle & CBRS_ALIGN_ANY) || GetControlBar(entry[0])) {
            continue;
        }
        CDockBar* pDock = CreateDockBar(entry[0]);
        pDock->m_bAutoDelete = TRUE;
        DWORD style =
            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | entry[1] | (dwDockStyle & CBRS_FLYBY);
        if (!pDock->Create(this, style, entry[0])) {
            delete pDock;
        }
    }
}

CDockBar* CFrameWnd::CreateDockBar(UINT) {
    return new CDockBar;
}

void CFrameWnd::AddControlBar(CControlBar* pBar) {
    if (!m_listControlBars.Find(pBar)) {
        m_listControlBars.AddTail(pBar);
    }
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar) {
    if (POSITION pos = m_listControlBars.Find(pBar)) {
        m_listControlBars.RemoveAt(pos);
    }
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
    if (nID == 0) {
        return nullptr;
    }
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (pBar->m_hWnd && static_cast<UINT>(pBar->GetDlgCtrlID()) == nID) {
            return pBar;
        }
    }
    return nullptr;
}

DWORD CFrameWnd::CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar) {
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        auto* pDockBar = dynamic_cast<CDockBar*>(pBar);
        if (!pDockBar || pDockBar->m_bFloating || !pDockBar->m_hWnd || !pDockBar->IsWindowVisible() ||
            !(pDockBar->m_dwStyle & dwDockStyle & CBRS_ALIGN_ANY)) {
            continue;
        }
        CRect rectBar;
        pDockBar->GetWindowRect(&rectBar);
        // An empty dock bar still catches what touches the frame's edge.
        if (rectBar.Width() == 0)
            rectBar.right++;
        if (rectBar.Height() == 0)
            rectBar.bottom++;
        CRect hit;
        if (hit.IntersectRect(&rectBar, &rect)) {
            if (ppDockBar) {
                *ppDockBar = pDockBar;
            }
            return pDockBar->m_dwStyle & dwDockStyle;
        }
    }
    return 0;
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
    CDockBar* pDockBar = nDockBarID ? dynamic_cast<CDockBar*>(GetControlBar(nDockBarID)) : nullptr;
    DockControlBar(pBar, pDockBar, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
    if (!pBar || !pBar->m_hWnd) {
        return;
    }
    if (!pDockBar) {
        for (const auto& entry : kDockBars) {
            if ((entry[1] & CBRS_ALIGN_ANY) & pBar->m_dwDockStyle) {
                pDockBar = dynamic_cast<CDockBar*>(GetControlBar(entry[0]));
                if (pDockBar && (!lpRect || CanDock(CRect(lpRect), entry[1] & CBRS_ALIGN_ANY))) {
                    break;
                }
            }
        }
    }
    if (!pDockBar) {
        return;
    }
    HWND oldFrame = FloatingWindowOf(pBar);
    pDockBar->DockControlBar(pBar, lpRect);
    RelayoutFloating(oldFrame);
    RecalcLayout();
}

void CFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
    DockControlBar(pBar, pDockBar, lpRect);
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD dwStyle) {
    CMiniDockFrameWnd* pFrame = nullptr;
    if (m_pFloatingFrameClass) {
        CObject* object = m_pFloatingFrameClass->CreateObject();
        pFrame = dynamic_cast<CMiniDockFrameWnd*>(object);
        if (!pFrame) {
            delete object;
        }
    }
    if (!pFrame) {
        pFrame = new CMiniDockFrameWnd;
    }
    if (!pFrame->Create(this, dwStyle)) {
        // A frame whose window never came is deleted here; one that was destroyed deleted itself.
        if (!pFrame->m_hWnd) {
            delete pFrame;
        }
        return nullptr;
    }
    return pFrame;
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
    if (!pBar || !pBar->m_hWnd) {
        return;
    }
    CMiniDockFrameWnd* pFrame = FloatingFrameOf(pBar);
    if (pFrame && pFrame->m_wndDockBar.GetDockedCount() == 1 &&
        (pFrame->m_wndDockBar.m_dwStyle & CBRS_ALIGN_ANY) == (dwStyle & CBRS_ALIGN_ANY)) {
        // Already alone in a floating frame: the frame moves.
        pFrame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        pFrame->RecalcLayout();
    } else {
        if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
            dwStyle |= CBRS_SIZE_DYNAMIC;
        }
        pFrame = CreateFloatingFrame(dwStyle);
        if (!pFrame) {
            return;
        }
        pFrame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        HWND oldFrame = FloatingWindowOf(pBar);
        pFrame->m_wndDockBar.DockControlBar(pBar);
        RelayoutFloating(oldFrame);
        pFrame->RecalcLayout();
    }
    if (pBar->GetStyle() & WS_VISIBLE) {
        pFrame->ShowWindow(SW_SHOWNA);
    }
    if (pBar->m_pDockContext) {
        pBar->m_pDockContext->m_ptMRUFloatPos = point;
        pBar->m_pDockContext->m_dwMRUFloatStyle = dwStyle;
    }
    RecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
    if (!pBar || !pBar->m_hWnd) {
        return;
    }
    CMiniDockFrameWnd* pFloat = FloatingFrameOf(pBar);
    if (bDelay) {
        pBar->DelayShow(bShow);
        DelayRecalcLayout();
    } else {
        pBar->m_nStateFlags &= ~static_cast<UINT>(CControlBar::delayHide | CControlBar::delayShow);
        pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
                           SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE |
                               (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        RecalcLayout();
    }
    if (pFloat) {
        pFloat->RecalcLayout();
        if (pFloat->m_wndDockBar.GetDockedVisibleCount() > 0) {
            pFloat->ShowWindow(SW_SHOWNA);
        } else {
            pFloat->ShowWindow(SW_HIDE);
        }
    }
}

void CFrameWnd::RecalcDelayShow() {
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (pBar->m_nStateFlags & (CControlBar::delayHide | CControlBar::delayShow)) {
            ShowControlBar(pBar, (pBar->m_nStateFlags & CControlBar::delayShow) != 0, FALSE);
        }
    }
}

void CFrameWnd::UpdateFloatingBars(BOOL bDisableIfNoHndler) {
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (!pBar->IsDockBar() && pBar->IsFloating() && pBar->m_hWnd && pBar->IsWindowVisible()) {
            pBar->OnUpdateCmdUI(this, bDisableIfNoHndler);
        }
    }
}

CWnd* CFrameWnd::GetMessageBar() {
    return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE);
}

BOOL CFrameWnd::OnBarCheck(UINT nID) {
    CControlBar* pBar = GetControlBar(nID);
    if (!pBar) {
        return FALSE;
    }
    ShowControlBar(pBar, (pBar->GetStyle() & WS_VISIBLE) == 0, FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
    CControlBar* pBar = GetControlBar(pCmdUI->m_nID);
    if (!pBar) {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->SetCheck((pBar->GetStyle() & WS_VISIBLE) != 0);
}

void CFrameWnd::GetDockState(CDockState& state) const {
    state.Clear();
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* pBar = static_cast<CControlBar*>(const_cast<CPtrList&>(m_listControlBars).GetNext(pos));
        if (!pBar->m_hWnd) {
            continue;
        }
        CControlBarInfo* info = state.CreateBarInfo();
        info->m_nBarID = static_cast<UINT>(pBar->GetDlgCtrlID());
        info->m_bVisible = pBar->IsVisible();
        info->m_bHorz = (pBar->m_dwStyle & CBRS_ORIENT_HORZ) != 0;
        info->m_nMRUWidth = pBar->m_nMRUWidth;
        auto* pDockBar = dynamic_cast<CDockBar*>(pBar);
        info->m_bDockBar = pDockBar != nullptr;
        if (pDockBar) {
            info->m_bFloating = pDockBar->m_bFloating;
            pDockBar->GetBarIDs(info->m_arrBarID);
            if (pDockBar->m_bFloating) {
                CRect rect;
                pDockBar->GetParent()->GetWindowRect(&rect);
                info->m_pointPos = rect.TopLeft();
                info->m_bVisible = pDockBar->GetParent()->IsWindowVisible();
            }
        } else {
            info->m_bFloating = pBar->IsFloating();
            if (pBar->m_pDockBar && !pBar->IsFloating()) {
                CRect rect;
                pBar->GetWindowRect(&rect);
                pBar->m_pDockBar->ScreenToClient(&rect);
                info->m_pointPos = rect.TopLeft();
            }
        }
        if (CDockContext* dc = pBar->m_pDockContext) {
            info->m_bDocking = TRUE;
            info->m_uMRUDockID = dc->m_uMRUDockID;
            info->m_rectMRUDockPos = dc->m_rectMRUDockPos;
            info->m_dwMRUFloatStyle = dc->m_dwMRUFloatStyle;
            info->m_ptMRUFloatPos = dc->m_ptMRUFloatPos;
        }
        // Floating dock bars are numbered apart from the frame's, as each lives in its own frame.
        state.m_arrBarInfo.Add(info);
    }
}

void CFrameWnd::SetDockState(const CDockState& state) {
    auto infoAt = [&](INT_PTR i) { return static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]); };
    // The bars first: what they remember and where they may dock.
    for (INT_PTR i = 0; i < state.m_arrBarInfo.GetSize(); ++i) {
        CControlBarInfo* info = infoAt(i);
        if (info->m_bDockBar) {
            continue;
        }
        CControlBar* pBar = GetControlBar(info->m_nBarID);
        if (!pBar || pBar->IsDockBar()) {
            continue;
        }
        pBar->m_nMRUWidth = info->m_nMRUWidth;
        if (pBar->m_pDockContext) {
            pBar->m_pDockContext->m_uMRUDockID = info->m_uMRUDockID;
            pBar->m_pDockContext->m_rectMRUDockPos = info->m_rectMRUDockPos;
            pBar->m_pDockContext->m_dwMRUFloatStyle = info->m_dwMRUFloatStyle;
            pBar->m_pDockContext->m_ptMRUFloatPos = info->m_ptMRUFloatPos;
        }
    }
    // Then the dock bars take their bars, row by row; floating ones come back as new floating frames.
    for (INT_PTR i = 0; i < state.m_arrBarInfo.GetSize(); ++i) {
        CControlBarInfo* info = infoAt(i);
        if (!info->m_bDockBar) {
            continue;
        }
        CDockBar* pDockBar = nullptr;
        CMiniDockFrameWnd* pFloat = nullptr;
        if (info->m_bFloating) {
            bool any = false;
            for (INT_PTR j = 0; j < info->m_arrBarID.GetSize(); ++j) {
                CControlBar* pBar = GetControlBar(info->m_arrBarID[j]);
                any = any || (pBar && !pBar->IsDockBar());
            }
            if (!any) {
                continue;
            }
            pFloat = CreateFloatingFrame(info->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
            if (!pFloat) {
                continue;
            }
            pFloat->SetWindowPos(nullptr, info->m_pointPos.x, info->m_pointPos.y, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            pDockBar = &pFloat->m_wndDockBar;
        } else {
            pDockBar = dynamic_cast<CDockBar*>(GetControlBar(info->m_nBarID));
        }
        if (!pDockBar) {
            continue;
        }
        for (INT_PTR j = 0; j < info->m_arrBarID.GetSize(); ++j) {
            CControlBar* pBar = GetControlBar(info->m_arrBarID[j]);
            if (!pBar || pBar->IsDockBar()) {
                continue;
            }
            if (pBar->m_pDockBar != pDockBar) {
                HWND oldFrame = FloatingWindowOf(pBar);
                pDockBar->DockControlBar(pBar);
                RelayoutFloating(oldFrame);
            }
        }
        ArrangeRows(pDockBar, info->m_arrBarID, this);
        if (pFloat) {
            pFloat->RecalcLayout();
            // A place saved on a larger screen, or scaled, must not leave the frame out of reach.
            CRect rect;
            pFloat->GetWindowRect(&rect);
            const CPoint onScreen = state.KeepOnScreen(rect.TopLeft(), rect.Size());
            if (onScreen != rect.TopLeft()) {
                pFloat->SetWindowPos(nullptr, onScreen.x, onScreen.y, 0, 0,
                                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
    }
    // Last, what shows and where the docked bars sit in their rows.
    for (INT_PTR i = 0; i < state.m_arrBarInfo.GetSize(); ++i) {
        CControlBarInfo* info = infoAt(i);
        if (info->m_bDockBar) {
            continue;
        }
        CControlBar* pBar = GetControlBar(info->m_nBarID);
        if (!pBar || pBar->IsDockBar()) {
            continue;
        }
        if (pBar->m_pDockBar && !pBar->IsFloating() && info->m_pointPos.x >= 0 && info->m_pointPos.y >= 0) {
            pBar->SetWindowPos(nullptr, info->m_pointPos.x, info->m_pointPos.y, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        ShowControlBar(pBar, info->m_bVisible, FALSE);
    }
    RecalcLayout();
}

void CFrameWnd::LoadBarState(LPCTSTR lpszProfileName) {
    CDockState state;
    state.LoadState(lpszProfileName);
    SetDockState(state);
}

void CFrameWnd::SaveBarState(LPCTSTR lpszProfileName) const {
    CDockState state;
    GetDockState(state);
    state.SaveState(lpszProfileName);
}
