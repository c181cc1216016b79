// The custom toolbar's mouse: pressing and releasing buttons, hot tracking, dragging buttons between toolbars
// while customising (or with Alt), the customise selection, and the menu mode the menu bar drives.
#include "toolkit/SECCustomToolBar.h"

#include "toolkit/SECToolBarManager.h"
#include "toolkit/SECToolBarRectTracker.h"

#include "platform/framework/AfxRes.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CMiniDockFrameWnd.h"
#include "platform/framework/FrameworkResources.h"

#include <algorithm>

namespace {

bool IsSeparator(const SECStdBtn* b) {
    return (b->m_nStyle & SEC_TBBS_SEPARATOR) != 0;
}

bool IsMenuKind(const SECStdBtn* b) {
    return b->m_nType == SEC_BTN_TOPMENU || b->m_nType == SEC_BTN_MENU;
}

bool AltDown() {
    return (::GetKeyState(VK_MENU) & 0x8000) != 0;
}

// The toolbar a window belongs to: itself, an ancestor, or the toolbar of a floating mini-frame.
SECCustomToolBar* ToolBarFromWindow(HWND hWnd) {
    for (HWND h = hWnd; h; h = ::GetParent(h)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(h);
        if (!pWnd) {
            continue;
        }
        if (auto* pBar = dynamic_cast<SECCustomToolBar*>(pWnd)) {
            return pBar;
        }
        if (dynamic_cast<CMiniDockFrameWnd*>(pWnd)) {
            for (HWND dock = ::GetWindow(h, GW_CHILD); dock; dock = ::GetWindow(dock, GW_HWNDNEXT)) {
                for (HWND bar = ::GetWindow(dock, GW_CHILD); bar; bar = ::GetWindow(bar, GW_HWNDNEXT)) {
                    if (auto* pBar = dynamic_cast<SECCustomToolBar*>(CWnd::FromHandlePermanent(bar))) {
                        return pBar;
                    }
                }
            }
            return nullptr;
        }
    }
    return nullptr;
}

} // namespace

void SECCustomToolBar::SendMessageString(UINT nID) {
    CWnd* pOwner = GetOwner();
    if (pOwner && pOwner->GetSafeHwnd()) {
        pOwner->SendMessage(WM_SETMESSAGESTRING, nID);
    }
}

// ---- Customise selection

void SECCustomToolBar::SetCustomizeValue(BOOL bCustomizing) {
    ClearSelection(FALSE);
    m_bCustomizing = bCustomizing;
    if (GetSafeHwnd()) {
        Invalidate(FALSE);
    }
}

void SECCustomToolBar::SelectButton(int nIndex, BOOL bRedraw) {
    SECStdBtn* pBtn = GetButton(nIndex);
    if (!pBtn) {
        return;
    }
    SECToolBarManager* pMgr = GetManager();
    if (m_nPressed == nIndex && (pBtn->m_nStyle & SEC_TBBS_SELECTED)) {
        return;
    }
    SECCustomToolBar* pHolder = pMgr ? pMgr->GetSelectionBar() : this;
    if (pHolder && pHolder != this && ::IsWindow(pHolder->GetSafeHwnd())) {
        pHolder->ClearSelection(bRedraw);
    }
    ClearSelection(bRedraw);
    m_nPressed = nIndex;
    pBtn->m_nStyle |= SEC_TBBS_SELECTED;
    if (pMgr) {
        pMgr->SetSelectionBar(this);
    }
    if (bRedraw) {
        InvalidateButton(nIndex);
    }
    NotifyManager(SECToolBarManager::SelectionChanged);
}

void SECCustomToolBar::ClearSelection(BOOL bRedraw) {
    SECToolBarManager* pMgr = GetManager();
    SECStdBtn* pBtn = GetButton(m_nPressed);
    bool bHolder = pMgr && pMgr->GetSelectionBar() == this;
    if (!bHolder && !(pBtn && (pBtn->m_nStyle & SEC_TBBS_SELECTED))) {
        return;
    }
    if (pBtn) {
        pBtn->m_nStyle &= ~SEC_TBBS_SELECTED;
        if (bRedraw) {
            InvalidateButton(m_nPressed);
        }
    }
    m_nPressed = -1;
    if (bHolder) {
        pMgr->SetSelectionBar(nullptr);
    }
    NotifyManager(SECToolBarManager::SelectionChanged);
}

// ---- Mouse messages

void SECCustomToolBar::OnLButtonDown(UINT nFlags, CPoint point) {
    int nIndex = HitTest(point);
    if (nIndex < 0 || s_bPostingCommand) {
        SECControlBar::OnLButtonDown(nFlags, point);
        return;
    }
    SECStdBtn* pBtn = m_btns[static_cast<size_t>(nIndex)];
    SECToolBarManager* pMgr = GetManager();
    const bool bAlt = AltDown();
    if (!m_bCustomizing && (pBtn->m_nStyle & SEC_TBBS_DISABLED) && !bAlt) {
        SECControlBar::OnLButtonDown(nFlags, point);
        return;
    }
    if (m_bCustomizing && pMgr) {
        if (pBtn->CanDrag()) {
            DragButton(nIndex, point);
        }
        return;
    }
    if (bAlt && pMgr) {
        HWND hWnd = m_hWnd;
        s_bAltDrag = TRUE;
        DragButton(nIndex, point);
        s_bAltDrag = FALSE;
        // The bar may have destroyed itself on losing its last button.
        if (::IsWindow(hWnd) && pMgr->GetSelectionBar()) {
            pMgr->GetSelectionBar()->ClearSelection();
        }
        return;
    }
    UpdateButtonCmdUI(nIndex);
    if (pBtn->BtnPressDown(point)) {
        m_nPressed = nIndex;
        InvalidateButton(nIndex);
        SetCapture();
        SendMessageString(pBtn->m_nID);
    }
}

void SECCustomToolBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
    int nIndex = HitTest(point);
    SECStdBtn* pBtn = GetButton(nIndex);
    if (!m_bCustomizing && pBtn && !(pBtn->m_nStyle & SEC_TBBS_DISABLED) && !AltDown()) {
        OnLButtonDown(nFlags, point);
        return;
    }
    SECControlBar::OnLButtonDblClk(nFlags, point);
}

void SECCustomToolBar::OnMouseMove(UINT nFlags, CPoint point) {
    (void)nFlags;
    if (m_bCustomizing || s_bPostingCommand) {
        return;
    }
    SECStdBtn* pBtn = GetButton(m_nPressed);
    if (!pBtn) {
        UpdateHotTracking();
        return;
    }
    UINT nOld = pBtn->m_nStyle;
    if (CWnd::GetCapture() == this) {
        pBtn->BtnPressMouseMove(point);
    } else {
        pBtn->BtnPressCancel();
        m_nPressed = -1;
        SendMessageString(AFX_IDS_IDLEMESSAGE);
    }
    if (pBtn->m_nStyle != nOld) {
        pBtn->Invalidate();
    }
}

void SECCustomToolBar::OnLButtonUp(UINT nFlags, CPoint point) {
    SECStdBtn* pBtn = GetButton(m_nPressed);
    if (m_bCustomizing || !pBtn) {
        SECControlBar::OnLButtonUp(nFlags, point);
        return;
    }
    const int nIndex = m_nPressed;
    UINT nID = 0;
    if (CWnd::GetCapture() == this) {
        ::ReleaseCapture();
        UpdateButtonCmdUI(nIndex);
        nID = pBtn->BtnPressUp(point);
    }
    SendMessageString(AFX_IDS_IDLEMESSAGE);
    UpdateButtonCmdUI(nIndex);
    InvalidateButton(nIndex);
    m_nPressed = -1;
    if (nID == 0) {
        return;
    }
    SECToolBarManager* pMgr = GetManager();
    CRect rect = pBtn->GetRect();
    ClientToScreen(&rect);
    if (pMgr) {
        pMgr->m_dropDown = SECDropDownRecord{TRUE, rect};
    }
    s_bPostingCommand = TRUE;
    CWnd* pOwner = GetOwner();
    if (pOwner) {
        pOwner->PostMessage(WM_COMMAND, nID);
    }
    s_bPostingCommand = FALSE;
    if (pMgr) {
        pMgr->m_dropDown.bValid = FALSE;
    }
}

void SECCustomToolBar::OnCancelMode() {
    if (m_bMenuMode) {
        ExitMenuMode();
    }
    SECStdBtn* pBtn = GetButton(m_nPressed);
    if (pBtn && !m_bCustomizing && !s_bAltDrag) {
        pBtn->BtnPressCancel();
        m_nPressed = -1;
        if (CWnd::GetCapture() == this) {
            ::ReleaseCapture();
        }
    }
}

int SECCustomToolBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
    if (m_bCustomizing && !IsFloating()) {
        return MA_NOACTIVATE;
    }
    return SECControlBar::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

void SECCustomToolBar::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == SEC_HOTTRACK_TIMER) {
        UpdateHotTracking();
        return;
    }
    SECControlBar::OnTimer(nIDEvent);
}

void SECCustomToolBar::UpdateHotTracking() {
    if (!IsFlat() || !GetSafeHwnd() || !::GetActiveWindow() || s_bAltDrag || s_bPostingCommand ||
        (!m_bCustomizing && m_nPressed >= 0)) {
        return;
    }
    int nCandidate = -1;
    if (m_bMenuOpen && m_nMenuBtn >= 0) {
        if (m_nHot < 0 || m_nHot == m_nMenuBtn) {
            return;
        }
        nCandidate = m_nMenuBtn;
    } else {
        CPoint pt;
        ::GetCursorPos(&pt);
        if (::WindowFromPoint(pt) == m_hWnd) {
            ScreenToClient(&pt);
            nCandidate = HitTest(pt);
        }
    }
    if (SECStdBtn* pBtn = GetButton(nCandidate);
        pBtn && (pBtn->m_nStyle & (SEC_TBBS_DISABLED | SEC_TBBS_SEPARATOR))) {
        nCandidate = -1;
    }
    if (nCandidate == m_nHot) {
        return;
    }
    if (SECStdBtn* pOld = GetButton(m_nHot)) {
        pOld->m_nStyle &= ~SEC_TBBS_HOT;
        InvalidateButton(m_nHot);
    }
    if (nCandidate < 0) {
        m_nHot = -1;
        KillTimer(SEC_HOTTRACK_TIMER);
        return;
    }
    if (m_nHot < 0) {
        SetTimer(SEC_HOTTRACK_TIMER, 100, nullptr);
    }
    m_nHot = nCandidate;
    m_btns[static_cast<size_t>(nCandidate)]->m_nStyle |= SEC_TBBS_HOT;
    InvalidateButton(nCandidate);
}

// ---- Dragging buttons

BOOL SECCustomToolBar::TrackButton(CRect& rect, CPoint point, BOOL bCopy) {
    SECToolBarRectTracker tracker(rect);
    HCURSOR hCursor = bCopy ? ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(SEC_IDC_COPY_CURSOR))
                            : nullptr;
    if (!tracker.TrackButton(this, point, hCursor)) {
        return FALSE;
    }
    rect = tracker.m_rect;
    return TRUE;
}

BOOL SECCustomToolBar::DragButton(int nIndex, CPoint point) {
    SECStdBtn* pBtn = GetButton(nIndex);
    if (!pBtn || !pBtn->CanDrag()) {
        return TRUE;
    }
    const BOOL bCopy = IsCopyKeyDown();
    SelectButton(nIndex);
    CRect rect = pBtn->GetRect();
    if (!TrackButton(rect, point, bCopy)) {
        return TRUE;
    }
    return FinishDrag(pBtn, rect, bCopy);
}

BOOL SECCustomToolBar::FinishDrag(SECStdBtn* pBtn, const CRect& rectScreen, BOOL bCopy) {
    SECToolBarManager* pMgr = GetManager();
    SECCustomToolBar* pSource = pBtn->m_pToolBar;
    SECCustomToolBar* pTarget = pMgr ? pMgr->BarFromRect(rectScreen) : nullptr;
    const CPoint corners[] = {rectScreen.TopLeft(), CPoint(rectScreen.right, rectScreen.top),
                              CPoint(rectScreen.left, rectScreen.bottom), rectScreen.BottomRight()};
    for (const CPoint& corner : corners) {
        if (pTarget) {
            break;
        }
        pTarget = ToolBarFromWindow(::WindowFromPoint(corner));
    }
    if (pTarget) {
        if (pSource && pTarget != pSource && (pSource->m_dwLock & 1)) {
            return TRUE;
        }
        if (pTarget->AcceptsButtons()) {
            CRect rect = rectScreen;
            pTarget->ScreenToClient(&rect);
            return pTarget->DropButton(rect, pBtn, bCopy);
        }
        if (bCopy) {
            return TRUE;
        }
    } else {
        CRect rectDialog;
        if (pMgr) {
            pMgr->GetCustomizeDialogRect(rectDialog);
        }
        CRect overlap;
        if (overlap.IntersectRect(&rectDialog, &rectScreen)) {
            return TRUE;
        }
        if (bCopy) {
            SECCustomToolBar* pNew = pMgr ? pMgr->CreateUserToolBar() : nullptr;
            if (pNew) {
                pNew->InsertButton(0, pBtn->m_nID, FALSE, TRUE);
                if (CFrameWnd* pFrame = pMgr->GetFrameWnd()) {
                    CRect frameRect = rectScreen;
                    // The floating frame's caption and borders sit above and left of the bar.
                    frameRect.OffsetRect(-::GetSystemMetrics(SM_CXFRAME),
                                         -(::GetSystemMetrics(SM_CYSMCAPTION) + ::GetSystemMetrics(SM_CYFRAME)));
                    pFrame->FloatControlBar(pNew, frameRect.TopLeft());
                }
                if (!s_bAltDrag) {
                    pNew->SelectButton(0);
                }
            }
            return TRUE;
        }
    }
    // Dropped away: the button is deleted (nothing to delete when it came from outside any bar).
    if (!pSource) {
        return TRUE;
    }
    pSource->ClearSelection();
    return pSource->RemoveButton(pSource->ButtonIndex(pBtn));
}

BOOL SECCustomToolBar::DropButton(const CRect& rectDrop, SECStdBtn* pBtn, BOOL bCopy, BOOL bNoRecalc) {
    SECCustomToolBar* pSource = pBtn->m_pToolBar;
    const BOOL bMove = !bCopy && pSource != nullptr;
    const UINT nID = pBtn->m_nID;
    const BOOL bSepBtn = IsSeparator(pBtn);
    BOOL bResult = TRUE;
    CRect inner;
    GetClientRect(&inner);
    CalcInsideRect(inner, !IsDockedVert());

    auto insertSelected = [&](int nPos) {
        InsertButton(nPos, nID, bSepBtn, bNoRecalc);
        if (!s_bAltDrag) {
            SelectButton(nPos);
        }
    };
    if (m_btns.empty()) {
        if (bMove) {
            pSource->ClearSelection();
            bResult = pSource->RemoveButton(pSource->ButtonIndex(pBtn));
        }
        insertSelected(0);
        return bResult;
    }
    if (bMove && pSource == this && GetBtnCount() == 1) {
        return TRUE;
    }
    if (rectDrop.bottom < inner.top) {
        InsertButton(0, 0, TRUE, TRUE);
        insertSelected(0);
        return TRUE;
    }
    if (rectDrop.top > inner.bottom) {
        InsertButton(GetBtnCount(), 0, TRUE, TRUE);
        insertSelected(GetBtnCount());
        return TRUE;
    }

    // The row under the rectangle's vertical centre.
    const int yCentre = rectDrop.CenterPoint().y;
    const int nGap = m_nSepWidth * 2 / 3;
    int nRowStart = 0;
    int nRowEnd = GetBtnCount() - 1;
    int nBottom = inner.top;
    for (int i = 0, start = 0; i < GetBtnCount(); ++i) {
        const SECStdBtn* b = m_btns[static_cast<size_t>(i)];
        const bool bLast = i == GetBtnCount() - 1;
        if (!(b->m_nStyle & SEC_TBBS_WRAPPED) && !bLast) {
            continue;
        }
        nBottom += b->m_cy + (IsSeparator(b) && !bLast ? nGap : 0);
        nRowStart = start;
        nRowEnd = i;
        if (nBottom >= yCentre) {
            break;
        }
        start = i + 1;
    }
    while (nRowEnd > nRowStart && IsSeparator(m_btns[static_cast<size_t>(nRowEnd)])) {
        --nRowEnd;
    }

    // Dragging the selection across its own edge opens or closes a group gap.
    const int nSel = pSource == this ? ButtonIndex(pBtn) : -1;
    if (nSel >= nRowStart && nSel <= nRowEnd) {
        const CRect b = pBtn->GetRect();
        const bool bRight = rectDrop.left >= b.left && rectDrop.left < b.right && rectDrop.right > b.right;
        const bool bLeft = rectDrop.left < b.left && rectDrop.right >= b.left;
        if (bRight || bLeft) {
            if (std::abs(rectDrop.left - b.left) < 2) {
                return TRUE;
            }
            if (!bCopy) {
                SECStdBtn* pPrev = GetButton(nSel - 1);
                SECStdBtn* pNext = GetButton(nSel + 1);
                if (bRight) {
                    if (pPrev && !IsSeparator(pPrev)) {
                        InsertButton(nSel, 0, TRUE, bNoRecalc);
                    } else if (pNext && IsSeparator(pNext)) {
                        RemoveButton(nSel + 1, bNoRecalc);
                    }
                } else {
                    if (pPrev && IsSeparator(pPrev)) {
                        RemoveButton(nSel - 1, bNoRecalc);
                    } else if (pNext && !IsSeparator(pNext)) {
                        InsertButton(nSel + 1, 0, TRUE, bNoRecalc);
                    }
                }
                return TRUE;
            }
        }
    }

    int nPos = nRowEnd + 1;
    if (rectDrop.left < inner.left) {
        nPos = nRowStart;
    } else {
        int x = inner.left;
        for (int k = nRowStart; k <= nRowEnd; ++k) {
            const SECStdBtn* b = m_btns[static_cast<size_t>(k)];
            if (b->m_nStyle & SEC_TBBS_HIDDEN) {
                continue;
            }
            x += b->m_cx;
            if (x > rectDrop.left) {
                nPos = k + 1;
                break;
            }
        }
    }

    if (bMove) {
        if (pSource == this) {
            if (nPos == nSel) {
                return TRUE;
            }
            ClearSelection(FALSE);
            RemoveButton(nSel, TRUE);
            if (nPos > nSel) {
                --nPos;
            }
        } else {
            pSource->ClearSelection();
            bResult = pSource->RemoveButton(pSource->ButtonIndex(pBtn));
        }
    }
    if (SECStdBtn* pAt = GetButton(nPos); pAt && IsSeparator(pAt) && !(pAt->m_nStyle & SEC_TBBS_WRAPPED) &&
                                          pAt->m_x > rectDrop.left + 1 && pAt->m_x + pAt->m_cx < rectDrop.right + 1) {
        RemoveButton(nPos, TRUE);
    }
    insertSelected(std::min(nPos, GetBtnCount()));
    return bResult;
}

// ---- Menu mode

void SECCustomToolBar::NotifyOwner(int nCode, int nIndex, LPARAM a, LPARAM b) {
    CWnd* pOwner = GetOwner();
    if (!pOwner) {
        pOwner = GetParent();
    }
    if (!pOwner) {
        return;
    }
    SECNMTOOLBAR nm;
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    nm.hdr.code = static_cast<UINT>(nCode);
    SECStdBtn* pBtn = GetButton(nIndex);
    nm.idCommand = pBtn ? pBtn->m_nID : 0;
    nm.nIndex = nIndex;
    nm.lValueA = a;
    nm.lValueB = b;
    pOwner->SendMessage(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

void SECCustomToolBar::SelectMenuButton(int nIndex) {
    if (SECStdBtn* pOld = GetButton(m_nMenuBtn)) {
        pOld->m_nStyle &= ~SEC_TBBS_HOT;
        InvalidateButton(m_nMenuBtn);
    }
    m_nMenuBtn = nIndex;
    SECStdBtn* pBtn = GetButton(nIndex);
    if (!pBtn) {
        return;
    }
    m_bMenuMode = TRUE;
    pBtn->m_nStyle |= SEC_TBBS_HOT;
    InvalidateButton(nIndex);
    NotifyOwner(SEC_TBN_ENTERMENUMODE, -1, 0, 0);
    SendMessageString(0);
}

void SECCustomToolBar::SelectMenuButtonAt(CPoint point) {
    int nIndex = HitTest(point);
    if (nIndex >= 0) {
        SelectMenuButton(nIndex);
    }
}

void SECCustomToolBar::ExitMenuMode() {
    m_bMenuMode = FALSE;
    NotifyOwner(SEC_TBN_LEAVEMENUMODE, -1, 0, 0);
    if (SECStdBtn* pBtn = GetButton(m_nMenuBtn)) {
        pBtn->m_nStyle &= ~SEC_TBBS_HOT;
        InvalidateButton(m_nMenuBtn);
    }
    if (!m_bMenuOpen) {
        m_nMenuBtn = -1;
    }
    SendMessageString(AFX_IDS_IDLEMESSAGE);
}

int SECCustomToolBar::NextMenuButtonFrom(int nStart, int nStep, bool bTopOnly) const {
    for (int i = nStart; i >= 0 && i < GetBtnCount(); i += nStep) {
        const SECStdBtn* b = m_btns[static_cast<size_t>(i)];
        if (!(b->m_nStyle & SEC_TBBS_HIDDEN) && (bTopOnly ? b->m_nType == SEC_BTN_TOPMENU : IsMenuKind(b))) {
            return i;
        }
    }
    return -1;
}

int SECCustomToolBar::FirstMenuButton() const {
    return NextMenuButtonFrom(0, 1, false);
}

int SECCustomToolBar::LastMenuButton() const {
    return NextMenuButtonFrom(GetBtnCount() - 1, -1, false);
}

int SECCustomToolBar::FirstTopMenuButton() const {
    return NextMenuButtonFrom(0, 1, true);
}

int SECCustomToolBar::NextMenuButton(BOOL bForward) const {
    if (m_nMenuBtn < 0) {
        return bForward ? FirstMenuButton() : LastMenuButton();
    }
    return NextMenuButtonFrom(m_nMenuBtn + (bForward ? 1 : -1), bForward ? 1 : -1, false);
}

BOOL SECCustomToolBar::OpenMenuButton(SECStdBtn* pBtn, LPARAM a, LPARAM b) {
    int nIndex = ButtonIndex(pBtn);
    if (nIndex < 0) {
        return FALSE;
    }
    m_nMenuBtn = nIndex;
    m_bMenuOpen = TRUE;
    UpdateHotTracking();
    pBtn->SendNotify(SEC_TBN_OPENMENU, a, b);
    return TRUE;
}

void SECCustomToolBar::MoveMenuTo(int nIndex) {
    if (m_bMenuMode) {
        ExitMenuMode();
    }
    SECStdBtn* pTarget = GetButton(nIndex);
    if (!pTarget || !IsMenuKind(pTarget)) {
        return;
    }
    if (SECStdBtn* pOpen = GetButton(m_nMenuBtn)) {
        pOpen->BtnPressCancel();
    }
    pTarget->BtnPressDown(CPoint(pTarget->m_x, pTarget->m_y));
}

BOOL SECCustomToolBar::FilterMenuModeMessage(const MSG& msg) {
    SECStdBtn* pOpen = GetButton(m_nMenuBtn);
    if (!m_bMenuOpen || !pOpen) {
        return FALSE;
    }
    CPoint pt = msg.pt;
    ScreenToClient(&pt);
    int nIndex = HitTest(pt);
    if (msg.message == WM_MOUSEMOVE) {
        if (nIndex == m_nMenuBtn || nIndex < 0) {
            return TRUE;
        }
        if (IsMenuKind(m_btns[static_cast<size_t>(nIndex)])) {
            MoveMenuTo(nIndex);
        } else {
            pOpen->SendNotify(SEC_TBN_CLOSEMENU, 0, 0);
        }
        return TRUE;
    }
    if (msg.message == WM_LBUTTONDOWN && nIndex == m_nMenuBtn) {
        pOpen->SendNotify(SEC_TBN_CLOSEMENU, 0, 0);
        return TRUE;
    }
    return FALSE;
}

void SECCustomToolBar::OnMenuClosed() {
    if (SECStdBtn* pOpen = GetButton(m_nMenuBtn)) {
        pOpen->BtnPressCancel();
    }
    m_bMenuOpen = FALSE;
    if (!m_bMenuMode) {
        m_nMenuBtn = -1;
    }
    UpdateHotTracking();
}
