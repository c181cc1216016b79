#include "toolkit/SECTBMenuBtn.h"

#include "toolkit/SECBmpMenuPlugIn.h"
#include "toolkit/SECBtnDrawContext.h"
#include "toolkit/SECCustomToolBar.h"

SEC_IMPLEMENT_BUTTON(SECTBMenuBtn)

void SECTBMenuBtn::Init(SECCustomToolBar* pToolBar, const void* pData) {
    if (const auto* data = static_cast<const CreateData*>(pData)) {
        m_nMenuId = data->nMenuId;
        m_nSubMenu = data->nSubMenu;
        m_strText = data->lpszText ? data->lpszText : u"";
        m_nExtra = data->nExtra;
    }
    UpdateMnemonic();
    SECStdBtn::Init(pToolBar, pData);
}

void SECTBMenuBtn::UpdateMnemonic() {
    m_chMnemonic = SECBmpMenuItemInfo::MnemonicOf(m_strText);
}

void SECTBMenuBtn::RecalcSize() {
    if (!m_pToolBar) {
        return;
    }
    CClientDC dc(nullptr);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, m_pToolBar->GetFont());
    CRect rect(0, 0, 0, 0);
    dc.DrawTextW(m_strText, &rect, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
    ::SelectObject(dc.m_hDC, old);
    m_cx = rect.Width() + 10;
    m_cy = rect.Height() + 6;
    m_pToolBar->m_nMaxBtnWidth = std::max(m_pToolBar->m_nMaxBtnWidth, m_cx);
}

BOOL SECTBMenuBtn::BtnPressDown(CPoint) {
    if (m_nStyle & SEC_TBBS_DISABLED) {
        return FALSE;
    }
    m_nStyle |= SEC_TBBS_PRESSED;
    Invalidate();
    OpenMenu();
    return FALSE;
}

BOOL SECTBMenuBtn::OpenMenu() {
    return m_pToolBar->OpenMenuButton(this, m_nMenuId, m_nSubMenu);
}

void SECTBMenuBtn::DrawFace(SECBtnDrawContext& ctx, BOOL bNoFrame, int& x, int& y, int& cx, int& cy, int) {
    const int x0 = x;
    const int y0 = y;
    m_bImageSelected = FALSE;
    SECStdBtn::DrawFace(ctx, bNoFrame, x, y, cx, cy);
    const bool bPressed = (m_nStyle & SEC_TBBS_PRESSED) && !bNoFrame;
    CDC& dc = ctx.m_dcBuffer;
    HGDIOBJ old = ::SelectObject(dc.m_hDC, m_pToolBar->GetFont());
    dc.SetTextColor(::GetSysColor(COLOR_MENUTEXT));
    dc.SetBkColor(SECGetToolkitMetrics().clrBtnFace);
    dc.SetBkMode(TRANSPARENT);
    CRect rect(x0 + (bPressed ? 5 : 4), y0 + (bPressed ? 4 : 3), x0 + m_cx, y0 + m_cy);
    dc.DrawTextW(m_strText, &rect, DT_SINGLELINE);
    ::SelectObject(dc.m_hDC, old);
}
