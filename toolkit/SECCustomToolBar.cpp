#include "toolkit/SECCustomToolBar.h"

#include "toolkit/SECBmpMgr.h"
#include "toolkit/SECBtnDrawContext.h"
#include "toolkit/SECControlBarInfo.h"
#include "toolkit/SECCustomToolBarInfoEx.h"
#include "toolkit/SECToolBarManager.h"

#include "platform/controls/Toolbar.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/CDockBar.h"
#include "platform/framework/CFrameWnd.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(SECCustomToolBar, SECControlBar)

BOOL SECCustomToolBar::s_bAltDrag = FALSE;
BOOL SECCustomToolBar::s_bPostingCommand = FALSE;

namespace {

// The common controls' ANSI message number for adding buttons, which callers of the original send.
constexpr UINT TB_ADDBUTTONS_ANSI = WM_USER + 20;

bool IsSeparator(const SECStdBtn* b) {
    return (b->m_nStyle & SEC_TBBS_SEPARATOR) != 0;
}

} // namespace

UINT SECGetNoDelayHideMessage() {
    static const UINT message = ::RegisterWindowMessageW(u"WM_NODELAYHIDE");
    return message;
}

// The command-update object for one button.
class SECCustomToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        Apply(bOn ? 0 : SEC_TBBS_DISABLED, SEC_TBBS_DISABLED);
    }
    void SetCheck(int nCheck) override {
        UINT add = SEC_TBBS_CHECKBOX | (nCheck == 1 ? SEC_TBBS_CHECKED : 0) |
                   (nCheck == 2 ? SEC_TBBS_INDETERMINATE : 0);
        Apply(add, SEC_TBBS_CHECKED | SEC_TBBS_INDETERMINATE);
    }
    void SetText(LPCTSTR) override {}

private:
    void Apply(UINT add, UINT clear) {
        auto* pBar = static_cast<SECCustomToolBar*>(m_pOther);
        SECStdBtn* pBtn = pBar->GetButton(static_cast<int>(m_nIndex));
        if (!pBtn) {
            return;
        }
        UINT style = (pBtn->GetStyle() & ~clear) | add;
        if (style != pBtn->GetStyle()) {
            pBtn->SetStyle(style);
            pBar->InvalidateButton(static_cast<int>(m_nIndex));
        }
    }
};

SECCustomToolBar::SECCustomToolBar() {
    m_pBmpMgr = new SECBmpMgr;
    m_hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    m_cyTopBorder = 3;
    m_cyBottomBorder = 3;
    SECGripperInfo& g = m_gripperInfo;
    g.m_cxLeftGap = g.m_cyTopGap = 2;
    g.m_cxFirstBar = g.m_cyFirstBar = 3;
    g.m_cxBarGap = g.m_cyBarGap = 1;
    g.m_cxSecondBar = g.m_cySecondBar = 3;
    g.m_cxRightGap = g.m_cyBottomGap = 2;
    g.m_nEndInset = 0;
    SECGetNoDelayHideMessage();
}

SECCustomToolBar::~SECCustomToolBar() {
    RemoveAllButtons();
    if (m_pBmpMgr) {
        m_pBmpMgr->Release();
    }
    delete m_pDrawCtx;
}

// ---- Creation

BOOL SECCustomToolBar::CreateToolBar(CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCTSTR lpszTitle) {
    return CreateToolBarEx(0, pParentWnd, dwStyle, nID, lpszTitle);
}

BOOL SECCustomToolBar::CreateToolBarEx(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID,
                                       LPCTSTR lpszTitle) {
    LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                      reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    m_dwExStyle = dwExStyle | CBRS_EX_FIXEDSIZE;
    m_bDirtyFloat = m_bDirtyHorz = m_bDirtyVert = TRUE;
    if (!CreateBar(0, cls, dwStyle, CRect(0, 0, 0, 0), pParentWnd, nID)) {
        return FALSE;
    }
    m_dwStyle = (m_dwStyle & ~CBRS_ALL) | (dwStyle & CBRS_ALL);
    if (lpszTitle) {
        SetWindowTextW(lpszTitle);
    }
    m_szHorzDock = m_szVertDock = m_szFloat = g_secDefaultBarSize;
    EnableToolTips(TRUE);
    NotifyManager(SECToolBarManager::BarCreated);
    return TRUE;
}

BOOL SECCustomToolBar::CreateEx(LPCTSTR, LPCTSTR lpszWindowName, UINT nID, DWORD dwStyle, DWORD dwExStyle,
                                const RECT&, CWnd* pParentWnd, CCreateContext*) {
    CreateToolBarEx(dwExStyle, pParentWnd, dwStyle | CBRS_HIDE_INPLACE, nID, lpszWindowName);
    return TRUE;
}

int SECCustomToolBar::OnCreate(LPCREATESTRUCT lpcs) {
    return CControlBar::OnCreate(lpcs);
}

void SECCustomToolBar::OnDestroy() {
    ClearSelection(FALSE);
    KillTimer(SEC_HOTTRACK_TIMER);
    NotifyManager(SECToolBarManager::BarDestroyed);
    CControlBar::OnDestroy();
}

void SECCustomToolBar::NotifyManager(UINT nCode) const {
    if (SECToolBarManager* pMgr = GetManager()) {
        pMgr->Notify(static_cast<UINT>(GetDlgCtrlID()), nCode);
    }
}

void SECCustomToolBar::SetBmpMgr(SECBmpMgr* pMgr) {
    if (!pMgr || pMgr == m_pBmpMgr) {
        return;
    }
    pMgr->AddRef();
    if (m_pBmpMgr) {
        m_pBmpMgr->Release();
    }
    m_pBmpMgr = pMgr;
}

SECBtnDrawContext& SECCustomToolBar::DrawContext() {
    if (SECToolBarManager* pMgr = GetManager()) {
        if (SECBtnDrawContext* pShared = pMgr->GetDrawContext()) {
            return *pShared;
        }
    }
    if (!m_pDrawCtx) {
        m_pDrawCtx = new SECBtnDrawContext;
    }
    return *m_pDrawCtx;
}

// ---- Buttons

SECStdBtn* SECCustomToolBar::GetButton(int nIndex) const {
    return (nIndex >= 0 && nIndex < GetBtnCount()) ? m_btns[static_cast<size_t>(nIndex)] : nullptr;
}

int SECCustomToolBar::ButtonIndex(const SECStdBtn* pBtn) const {
    auto it = std::find(m_btns.begin(), m_btns.end(), pBtn);
    return it == m_btns.end() ? -1 : static_cast<int>(it - m_btns.begin());
}

int SECCustomToolBar::CommandToIndex(UINT nID) const {
    for (int i = 0; i < GetBtnCount(); ++i) {
        if (m_btns[static_cast<size_t>(i)]->m_nID == nID && !IsSeparator(m_btns[static_cast<size_t>(i)])) {
            return i;
        }
    }
    return -1;
}

int SECCustomToolBar::GetImageWidth() const {
    return m_pBmpMgr ? m_pBmpMgr->GetImageWidth() : 16;
}

int SECCustomToolBar::GetImageHeight() const {
    return m_pBmpMgr ? m_pBmpMgr->GetImageHeight() : 15;
}

int SECCustomToolBar::GetImageIndex(UINT nID, UINT& nFoundID) const {
    HBITMAP hbm = nullptr;
    int nIndex = 0;
    if (m_pBmpMgr && m_pBmpMgr->FindBitmap(nID, hbm, nIndex)) {
        nFoundID = nID;
        return nIndex;
    }
    nFoundID = 0;
    return 0;
}

BOOL SECCustomToolBar::IsCopyKeyDown() const {
    return (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

SECStdBtn* SECCustomToolBar::CreateButton(UINT nID, SECCustomToolBar* pOwner) {
    if (!pOwner) {
        pOwner = this;
    }
    const SECBtnMapEntry* tables[2] = {m_pBtnMap, m_pBtnMapExtra.get()};
    if (SECToolBarManager* pMgr = GetManager()) {
        tables[0] = pMgr->GetButtonMap();
        tables[1] = pMgr->GetButtonMapExtra();
    }
    const SECBtnMapEntry* pEntry = nullptr;
    for (const SECBtnMapEntry* table : tables) {
        for (const SECBtnMapEntry* e = table; e && e->pClass; ++e) {
            if (e->nID == nID) {
                pEntry = e;
            }
        }
        if (pEntry) {
            break;
        }
    }
    SECStdBtn* pBtn = pEntry ? pEntry->pClass->CreateButton() : SECStdBtn::classRecord.CreateButton();
    if (!pBtn) {
        return nullptr;
    }
    pBtn->SetStyle(pEntry ? pEntry->nStyle : 0);
    pBtn->m_nID = nID;
    UINT nFound = 0;
    pBtn->m_nImage = pBtn->m_nType == SEC_BTN_TOPMENU ? 0 : GetImageIndex(nID, nFound);
    pBtn->Init(pOwner, pEntry ? pEntry->pData : nullptr);
    pBtn->SetOrientation(m_nOrientation);
    return pBtn;
}

SECStdBtn* SECCustomToolBar::CreateSeparator(SECCustomToolBar* pOwner) {
    auto* pBtn = new SECStdBtn;
    pBtn->m_pToolBar = pOwner ? pOwner : this;
    pBtn->SetStyle(SEC_TBBS_SEPARATOR);
    pBtn->m_cx = m_nSepWidth;
    pBtn->m_cy = GetButtonHeight();
    pBtn->m_nID = 0;
    return pBtn;
}

BOOL SECCustomToolBar::SetButtons(const UINT* pIDs, int nCount) {
    ClearSelection(FALSE);
    RemoveAllButtons();
    for (int i = 0; pIDs && i < nCount; ++i) {
        SECStdBtn* pBtn = pIDs[i] == 0 ? CreateSeparator() : CreateButton(pIDs[i]);
        if (pBtn) {
            m_btns.push_back(pBtn);
        }
    }
    m_bDirtyFloat = m_bDirtyHorz = m_bDirtyVert = TRUE;
    return TRUE;
}

void SECCustomToolBar::RemoveAllButtons() {
    for (SECStdBtn* pBtn : m_btns) {
        delete pBtn;
    }
    m_btns.clear();
    m_nPressed = m_nHot = m_nMenuBtn = -1;
}

void SECCustomToolBar::RecalcButtonSizes(int, int) {
    m_nMaxBtnWidth = 0;
    for (SECStdBtn* pBtn : m_btns) {
        pBtn->RecalcSize();
    }
    m_bDirtyFloat = m_bDirtyHorz = m_bDirtyVert = TRUE;
}

void SECCustomToolBar::RecalcParentLayout() {
    m_bDirtyFloat = m_bDirtyHorz = m_bDirtyVert = TRUE;
    if (CFrameWnd* pFrame = GetParentFrame()) {
        pFrame->RecalcLayout();
    }
    if (GetSafeHwnd()) {
        Invalidate(FALSE);
    }
}

void SECCustomToolBar::InsertButton(int nIndex, UINT nID, BOOL bSeparator, BOOL bNoRecalc) {
    nIndex = std::clamp(nIndex, 0, GetBtnCount());
    SECStdBtn* pBtn = bSeparator ? CreateSeparator() : CreateButton(nID);
    if (!pBtn) {
        return;
    }
    m_btns.insert(m_btns.begin() + nIndex, pBtn);
    m_nMRUWidth += static_cast<UINT>(pBtn->m_cx);
    if (m_nPressed >= nIndex) {
        ++m_nPressed;
    }
    if (m_nHot >= nIndex) {
        ++m_nHot;
    }
    m_bDirtyFloat = m_bDirtyHorz = m_bDirtyVert = TRUE;
    UpdateButtonCmdUI(nIndex);
    if (!bNoRecalc) {
        RecalcParentLayout();
    }
}

BOOL SECCustomToolBar::RemoveButton(int nIndex, BOOL bNoRecalc) {
    if (nIndex < 0 || nIndex >= GetBtnCount()) {
        return FALSE;
    }
    // Indexes in the list as it was before, to move the pressed and hot marks.
    std::vector<int> removed{nIndex};
    auto erase = [&](int i) {
        delete m_btns[static_cast<size_t>(i)];
        m_btns.erase(m_btns.begin() + i);
    };
    erase(nIndex);
    int n = GetBtnCount();
    if (nIndex == 0 && n > 0 && IsSeparator(m_btns[0])) {
        erase(0);
        removed.push_back(1);
    } else if (n > 0) {
        if (IsSeparator(m_btns[static_cast<size_t>(n - 1)])) {
            erase(n - 1);
            removed.push_back(n - 1 >= nIndex ? n : n - 1);
        } else if (nIndex > 0 && nIndex < n && IsSeparator(m_btns[static_cast<size_t>(nIndex - 1)]) &&
                   IsSeparator(m_btns[static_cast<size_t>(nIndex)])) {
            erase(nIndex);
            removed.push_back(nIndex + 1);
        }
    }
    auto moved = [&](int i) {
        if (i < 0 || std::find(removed.begin(), removed.end(), i) != removed.end()) {
            return -1;
        }
        return i - static_cast<int>(std::count_if(removed.begin(), removed.end(), [i](int r) { return r < i; }));
    };
    if (m_nPressed >= 0 && moved(m_nPressed) < 0 && GetManager() && GetManager()->GetSelectionBar() == this) {
        GetManager()->SetSelectionBar(nullptr);
        NotifyManager(SECToolBarManager::SelectionChanged);
    }
    m_nPressed = moved(m_nPressed);
    int nHot = moved(m_nHot);
    if (m_nHot >= 0 && nHot < 0 && GetSafeHwnd()) {
        KillTimer(SEC_HOTTRACK_TIMER);
    }
    m_nHot = nHot;
    m_nMenuBtn = moved(m_nMenuBtn);
    m_bDirtyFloat = m_bDirtyHorz = m_bDirtyVert = TRUE;
    if (bNoRecalc) {
        return !m_btns.empty();
    }
    if (m_btns.empty() && static_cast<UINT>(GetDlgCtrlID()) > SEC_IDW_LAST_STD_TOOLBAR) {
        DestroyWindow();
        return FALSE;
    }
    RecalcParentLayout();
    return TRUE;
}

void SECCustomToolBar::InvalidateButton(int nIndex) {
    if (SECStdBtn* pBtn = GetButton(nIndex); pBtn && GetSafeHwnd()) {
        CRect rect = pBtn->GetRect();
        InvalidateRect(&rect, FALSE);
    }
}

int SECCustomToolBar::HitTest(CPoint point, CRect* pRect) const {
    const int cyButton = GetButtonHeight();
    size_t i = 0;
    while (i < m_btns.size()) {
        // One row: up to and including the next wrapped button.
        size_t end = i;
        while (end + 1 < m_btns.size() && !(m_btns[end]->m_nStyle & SEC_TBBS_WRAPPED)) {
            ++end;
        }
        int top = -1;
        for (size_t k = i; k <= end; ++k) {
            if (!(m_btns[k]->m_nStyle & SEC_TBBS_HIDDEN)) {
                top = m_btns[k]->m_y;
                break;
            }
        }
        if (top >= 0 && point.y <= top + cyButton && point.y >= top) {
            for (size_t k = i; k <= end; ++k) {
                const SECStdBtn* b = m_btns[k];
                if (!(b->m_nStyle & SEC_TBBS_HIDDEN) && point.x >= b->m_x && point.x <= b->m_x + b->m_cx) {
                    if (IsSeparator(b)) {
                        return -1;
                    }
                    if (pRect) {
                        *pRect = b->GetRect();
                    }
                    return static_cast<int>(k);
                }
            }
            return -1;
        }
        if (top >= 0 && point.y < top) {
            return -1;
        }
        i = end + 1;
    }
    return -1;
}

// ---- Saved form

std::unique_ptr<SECCustomToolBarInfoEx> SECCustomToolBar::GetBarInfoEx() const {
    auto info = std::make_unique<SECCustomToolBarInfoEx>();
    if (GetSafeHwnd()) {
        GetWindowTextW(info->m_strTitle);
    }
    for (const SECStdBtn* pBtn : m_btns) {
        SECBtnInfo btn;
        btn.nID = IsSeparator(pBtn) ? 0 : pBtn->m_nID;
        BYTE nLen = 0;
        BYTE* pData = nullptr;
        pBtn->SaveData(nLen, pData);
        if (pData && nLen) {
            btn.data.assign(pData, pData + nLen);
        }
        info->m_btnInfo.push_back(std::move(btn));
    }
    return info;
}

void SECCustomToolBar::SetBarInfoEx(const SECCustomToolBarInfoEx& info) {
    ClearSelection(FALSE);
    RemoveAllButtons();
    if (!info.m_strTitle.IsEmpty() && GetSafeHwnd()) {
        SetWindowTextW(info.m_strTitle);
    }
    for (const SECBtnInfo& btn : info.m_btnInfo) {
        SECStdBtn* pBtn = btn.nID == 0 ? CreateSeparator() : CreateButton(btn.nID);
        if (!pBtn) {
            continue;
        }
        pBtn->RestoreData(static_cast<BYTE>(btn.data.size()), btn.data.empty() ? nullptr : btn.data.data());
        m_btns.push_back(pBtn);
    }
    m_bDirtyFloat = m_bDirtyHorz = m_bDirtyVert = TRUE;
}

void SECCustomToolBar::GetBarInfoEx(SECControlBarInfo* pInfo) {
    pInfo->SetBarInfoEx(GetBarInfoEx().release());
}

void SECCustomToolBar::SetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd*) {
    if (auto* pEx = dynamic_cast<SECCustomToolBarInfoEx*>(pInfo->m_pBarInfoEx)) {
        SetBarInfoEx(*pEx);
        if (CFrameWnd* pFrame = GetParentFrame()) {
            pFrame->DelayRecalcLayout();
        }
    }
}

// ---- Command updates

void SECCustomToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    SECCustomToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetBtnCount());
    for (int i = 0; i < GetBtnCount(); ++i) {
        SECStdBtn* pBtn = m_btns[static_cast<size_t>(i)];
        if (IsSeparator(pBtn)) {
            continue;
        }
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nID = pBtn->m_nID;
        state.DoUpdate(pTarget, bDisableIfNoHndler && !(pBtn->m_nStyle & SEC_TBBS_KEEPENABLED));
    }
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void SECCustomToolBar::UpdateButtonCmdUI(int nIndex) {
    SECStdBtn* pBtn = GetButton(nIndex);
    CWnd* pOwner = GetOwner();
    CFrameWnd* pTarget = dynamic_cast<CFrameWnd*>(pOwner) ? static_cast<CFrameWnd*>(pOwner) : GetParentFrame();
    if (!pBtn || IsSeparator(pBtn) || !pTarget || !GetSafeHwnd()) {
        return;
    }
    SECCustomToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetBtnCount());
    state.m_nIndex = static_cast<UINT>(nIndex);
    state.m_nID = pBtn->m_nID;
    state.DoUpdate(pTarget, !(pBtn->m_nStyle & SEC_TBBS_KEEPENABLED));
}

// ---- Painting

void SECCustomToolBar::DoPaint(CDC* pDC) {
    SECControlBar::DoPaint(pDC);
    if (m_btns.empty()) {
        return;
    }
    SECBtnDrawContext& ctx = DrawContext();
    if (!ctx.Prepare(*pDC, std::max(m_nMaxBtnWidth, 1), *this)) {
        return;
    }
    for (SECStdBtn* pBtn : m_btns) {
        if (!(pBtn->m_nStyle & SEC_TBBS_HIDDEN)) {
            pBtn->Draw(*pDC, ctx);
        }
    }
    ctx.Release();
}

void SECCustomToolBar::DrawBorders(CDC* pDC, CRect& rect) {
    if (!(m_dwStyle & CBRS_BORDER_ANY)) {
        return;
    }
    if (IsFlat()) {
        const ToolkitMetrics& m = SECGetToolkitMetrics();
        COLORREF lightEdge = (m_dwStyle & CBRS_BORDER_3D) ? m.clrBtnHilite : m.clrBtnFace;
        if (m_dwStyle & CBRS_BORDER_LEFT) {
            pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), lightEdge);
        }
        if (m_dwStyle & CBRS_BORDER_TOP) {
            pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, lightEdge);
        }
        if (m_dwStyle & CBRS_BORDER_RIGHT) {
            pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), m.clrBtnFace);
        }
        if (m_dwStyle & CBRS_BORDER_BOTTOM) {
            pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, m.clrBtnFace);
        }
        if (!m_pDockContext) {
            pDC->FillSolidRect(rect.left, 0, rect.Width(), 1, m.clrBtnFace);
            pDC->FillSolidRect(rect.left, 1, rect.Width(), 1, m.clrBtnHilite);
        }
    } else {
        rect.right -= 1;
        rect.bottom -= 1;
    }
    SECControlBar::DrawBorders(pDC, rect);
}

void SECCustomToolBar::AddGripperSpace(CRect& rect, BOOL bHorz) const {
    SECControlBar::AddGripperSpace(rect, bHorz);
    if (m_dwExStyle & CBRS_EX_GRIPPER_CLOSE) {
        (bHorz ? rect.left : rect.top) += 2;
    }
}

INT_PTR SECCustomToolBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    INT_PTR nHit = SECControlBar::OnToolHitTest(point, pTI);
    if (nHit != -1) {
        return nHit;
    }
    int nIndex = HitTest(point);
    if (nIndex < 0) {
        return -1;
    }
    return static_cast<INT_PTR>(m_btns[static_cast<size_t>(nIndex)]->GetToolInfo(point, pTI));
}

// ---- Showing, hiding and styles

void SECCustomToolBar::DelayShow(BOOL bShow) {
    SECToolBarManager* pMgr = GetManager();
    if (!bShow && pMgr && pMgr->IsCustomizing() && IsFloating()) {
        m_nStateFlags |= delayHide;
        PostMessage(SECGetNoDelayHideMessage());
        return;
    }
    SECControlBar::DelayShow(bShow);
}

LRESULT SECCustomToolBar::OnNoDelayHide(WPARAM, LPARAM) {
    SECToolBarManager* pMgr = GetManager();
    if (pMgr && pMgr->IsCustomizing() && IsFloating()) {
        if (CFrameWnd* pFrame = GetDockingFrame()) {
            pFrame->ShowControlBar(this, FALSE, FALSE);
        }
    }
    m_nStateFlags &= ~static_cast<UINT>(delayHide);
    return 0;
}

void SECCustomToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
    SECControlBar::OnBarStyleChange(dwOldStyle, dwNewStyle);
    for (SECStdBtn* pBtn : m_btns) {
        pBtn->BarStyleChanged(dwNewStyle);
    }
    // Borders and side take part in the size: a size kept from before docking would be stale.
    if ((dwOldStyle ^ dwNewStyle) & (CBRS_BORDER_ANY | CBRS_ALIGN_ANY)) {
        m_bDirtyFloat = m_bDirtyHorz = m_bDirtyVert = TRUE;
    }
}

void SECCustomToolBar::OnShowWindow(BOOL bShow, UINT nStatus) {
    CControlBar::OnShowWindow(bShow, nStatus);
    NotifyManager(bShow ? SECToolBarManager::BarShown : SECToolBarManager::BarHidden);
}

void SECCustomToolBar::OnWindowPosChanging(WINDOWPOS* pPos) {
    DWORD dwStyle = m_dwStyle;
    m_dwStyle &= ~static_cast<DWORD>(CBRS_BORDER_ANY);
    CControlBar::OnWindowPosChanging(pPos);
    m_dwStyle = dwStyle;
    if (pPos->flags & SWP_SHOWWINDOW) {
        NotifyManager(SECToolBarManager::BarShown);
    } else if (pPos->flags & SWP_HIDEWINDOW) {
        NotifyManager(SECToolBarManager::BarHidden);
    }
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && !(pPos->flags & SWP_NOSIZE)) {
        CRect rect;
        GetWindowRect(&rect);
        if (rect.Width() != pPos->cx || rect.Height() != pPos->cy) {
            Invalidate(FALSE);
        }
    }
}

void SECCustomToolBar::OnSysColorChange() {
    SECGetToolkitMetrics().ReloadColors();
    if (m_pDrawCtx) {
        m_pDrawCtx->RenewDitherBrush();
    }
    if (SECToolBarManager* pMgr = GetManager()) {
        if (SECBtnDrawContext* pShared = pMgr->GetDrawContext()) {
            pShared->RenewDitherBrush();
        }
    }
    if (m_pBmpMgr) {
        m_pBmpMgr->ReloadAll(TRUE);
    }
}

void SECCustomToolBar::FitToParent(AFX_SIZEPARENTPARAMS* pLayout) {
    if (m_pDockContext || !pLayout) {
        return;
    }
    CWnd* pParent = GetParent();
    if (!pParent) {
        return;
    }
    CRect client;
    pParent->GetClientRect(&client);
    if (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT | CBRS_BORDER_RIGHT)) {
        m_szVertDock.cy = client.Height();
    } else {
        m_szHorzDock.cx = client.Width();
    }
}

LRESULT SECCustomToolBar::OnSizeParentMsg(WPARAM wParam, LPARAM lParam) {
    FitToParent(reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam));
    return CControlBar::WindowProc(WM_SIZEPARENT, wParam, lParam);
}

// ---- Messages the common-controls toolbar also takes

LRESULT SECCustomToolBar::OnAddButtons(WPARAM wParam, LPARAM lParam) {
    const auto* pButtons = reinterpret_cast<const TBBUTTON*>(lParam);
    int nCount = static_cast<int>(wParam);
    for (int i = 0; pButtons && i < nCount; ++i) {
        const TBBUTTON& tb = pButtons[i];
        int nIndex = GetBtnCount();
        InsertButton(nIndex, static_cast<UINT>(tb.idCommand), tb.idCommand == 0, i + 1 < nCount);
        if (SECStdBtn* pBtn = GetButton(nIndex)) {
            pBtn->SetStyle(pBtn->GetStyle() | (static_cast<UINT>(tb.fsState) << 16 | tb.fsStyle));
        }
    }
    return TRUE;
}

LRESULT SECCustomToolBar::OnDeleteButton(WPARAM wParam, LPARAM) {
    return RemoveButton(static_cast<int>(wParam));
}

LRESULT SECCustomToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TB_ADDBUTTONS || message == TB_ADDBUTTONS_ANSI) {
        return OnAddButtons(wParam, lParam);
    }
    if (message == TB_DELETEBUTTON) {
        return OnDeleteButton(wParam, lParam);
    }
    if (message == WM_SIZEPARENT) {
        return OnSizeParentMsg(wParam, lParam);
    }
    if (message == SECGetNoDelayHideMessage()) {
        return OnNoDelayHide(wParam, lParam);
    }
    return SECControlBar::WindowProc(message, wParam, lParam);
}

BEGIN_MESSAGE_MAP(SECCustomToolBar, SECControlBar)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_SHOWWINDOW()
ON_WM_WINDOWPOSCHANGING()
ON_WM_SYSCOLORCHANGE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_CANCELMODE()
ON_WM_MOUSEACTIVATE()
ON_WM_TIMER()
END_MESSAGE_MAP()
