#include "toolkit/SECStdBtn.h"

#include "toolkit/SECBmpMgr.h"
#include "toolkit/SECBtnDrawContext.h"
#include "toolkit/SECCustomToolBar.h"
#include "toolkit/SECToolBarManager.h"

namespace {

// Paints the selected brush where the source (mask) is black and keeps the destination where it is white.
constexpr DWORD ROP_PSDPXAX = 0x00B8074Au;
// Paints the selected brush where the source (mask) is white.
constexpr DWORD ROP_DSPDXAX = 0x00E20746u;
// Destination and not source.
constexpr DWORD ROP_DSNA = 0x00220326u;

// Containment with all four edges included, as the press tracking wants it.
bool Inside(const CRect& r, CPoint p) {
    return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

} // namespace

SECStdBtn* SECButtonClass::CreateButton() const {
    try {
        return pfnCreate ? pfnCreate() : nullptr;
    } catch (...) {
        return nullptr;
    }
}

const SECButtonClass SECStdBtn::classRecord{[]() -> SECStdBtn* { return new SECStdBtn; }};

void SECStdBtn::SetPos(int x, int y) {
    m_x = x;
    m_y = y;
}

void SECStdBtn::Invalidate(BOOL bErase) const {
    if (m_pToolBar && m_pToolBar->GetSafeHwnd()) {
        CRect rect = GetRect();
        m_pToolBar->InvalidateRect(&rect, bErase);
    }
}

void SECStdBtn::Init(SECCustomToolBar* pToolBar, const void* pData) {
    (void)pData;
    m_pToolBar = pToolBar;
    RecalcSize();
}

void SECStdBtn::RecalcSize() {
    if (!m_pToolBar) {
        return;
    }
    if (m_nStyle & SEC_TBBS_SEPARATOR) {
        m_cx = m_pToolBar->GetSeparatorWidth();
        m_cy = m_pToolBar->GetSeparatorHeight();
    } else {
        m_cx = m_pToolBar->GetButtonWidth();
        m_cy = m_pToolBar->GetButtonHeight();
    }
    m_pToolBar->m_nMaxBtnWidth = std::max(m_pToolBar->m_nMaxBtnWidth, m_cx);
}

void SECStdBtn::SaveData(BYTE& nLen, BYTE*& pData) const {
    nLen = 0;
    pData = nullptr;
}

// ---- Drawing

void SECStdBtn::Draw(CDC& dc, SECBtnDrawContext& ctx) {
    CRect rect = GetRect();
    if (!dc.RectVisible(&rect)) {
        return;
    }
    if (m_nStyle & SEC_TBBS_SEPARATOR) {
        DrawSeparator(dc);
        return;
    }
    SelectImage(ctx);
    DrawButton(ctx);
    BlendBackground(dc, ctx);
    DrawSelection(ctx);
    Present(dc, ctx);
}

void SECStdBtn::DrawSeparator(CDC& dc) {
    if (!m_pToolBar->IsFlat() || (m_nStyle & SEC_TBBS_WRAPPED)) {
        return;
    }
    const ToolkitMetrics& m = SECGetToolkitMetrics();
    if (!(m_pToolBar->GetExBarStyle() & CBRS_EX_TRANSPARENT)) {
        dc.FillSolidRect(m_x, m_y, m_cx, m_cy, m.clrBtnFace);
    }
    int x = m_x + m_cx / 2;
    dc.FillSolidRect(x, m_y, 1, m_cy, m.clrBtnShadow);
    dc.FillSolidRect(x + 1, m_y, 1, m_cy, m.clrBtnHilite);
}

void SECStdBtn::SelectImage(SECBtnDrawContext& ctx) {
    m_bImageSelected = FALSE;
    HBITMAP hbm = nullptr;
    int nIndex = 0;
    SECBmpMgr* pMgr = m_pToolBar->GetBmpMgr();
    if (pMgr && pMgr->FindBitmap(m_nID, hbm, nIndex) && hbm) {
        m_nImage = nIndex;
        ctx.SelectImageStrip(hbm);
        m_bImageSelected = TRUE;
    }
}

void SECStdBtn::DrawButton(SECBtnDrawContext& ctx) {
    int x = 0;
    int y = 0;
    int cx = m_cx;
    int cy = m_cy;
    if (m_pToolBar->m_bCustomizing) {
        DrawFace(ctx, TRUE, x, y, cx, cy);
        return;
    }
    DrawFace(ctx, FALSE, x, y, cx, cy);
    if (m_nStyle & SEC_TBBS_PRESSED) {
        return;
    }
    if (m_nStyle & SEC_TBBS_DISABLED) {
        DrawDisabled(ctx, x, y, cx, cy);
    } else if (m_nStyle & SEC_TBBS_CHECKED) {
        DrawChecked(ctx, x, y, cx, cy);
    } else if (m_nStyle & SEC_TBBS_INDETERMINATE) {
        DrawIndeterminate(ctx, x, y, cx, cy);
    }
}

void SECStdBtn::DrawFace(SECBtnDrawContext& ctx, BOOL bNoFrame, int& x, int& y, int& cx, int& cy,
                         int cxImage) {
    const ToolkitMetrics& m = SECGetToolkitMetrics();
    CDC& dc = ctx.m_dcBuffer;
    if (cxImage < 0) {
        cxImage = m_pToolBar->GetImageWidth();
    }
    int cyImage = m_pToolBar->GetImageHeight();
    dc.FillSolidRect(x, y, cx, cy, m.clrBtnFace);
    int xImage = x + (cx - cxImage - 1) / 2;
    int yImage = y + (cy - cyImage) / 2;
    BOOL bFlat = m_pToolBar->IsFlat();
    int nInset = 0;
    if ((m_nStyle & (SEC_TBBS_CHECKED | SEC_TBBS_PRESSED)) && !bNoFrame) {
        dc.Draw3dRect(x, y, cx, cy, bFlat ? m.clrBtnShadow : m.clrWindowFrame, m.clrBtnHilite);
        if (!bFlat) {
            dc.Draw3dRect(x + 1, y + 1, cx - 2, cy - 2, m.clrBtnShadow, m.clrBtnFace);
        }
        ++xImage;
        ++yImage;
        nInset = 1;
    } else if (bFlat) {
        if ((m_nStyle & SEC_TBBS_HOT) && !bNoFrame) {
            dc.Draw3dRect(x, y, cx, cy, m.clrBtnHilite, m.clrBtnShadow);
        }
        nInset = 2;
    } else {
        if (!bNoFrame) {
            dc.Draw3dRect(x, y, cx, cy, m.clrBtnHilite, m.clrWindowFrame);
            dc.Draw3dRect(x + 1, y + 1, cx - 2, cy - 2, m.clrBtnFace, m.clrBtnShadow);
        }
        nInset = 1;
    }
    x += nInset;
    y += nInset;
    cx -= 2 * nInset;
    cy -= 2 * nInset;
    if (m_bImageSelected) {
        DrawImage(xImage, yImage, cxImage, cyImage, ctx, cxImage * m_nImage, 0);
    }
}

void SECStdBtn::DrawImage(int x, int y, int cx, int cy, SECBtnDrawContext& ctx, int xSrc, int ySrc) {
    ctx.m_dcBuffer.BitBlt(x, y, cx, cy, &ctx.m_dcImage, xSrc, ySrc, SRCCOPY);
}

void SECStdBtn::MakeMask(SECBtnDrawContext& ctx, int x, int y, int cx, int cy) {
    const ToolkitMetrics& m = SECGetToolkitMetrics();
    ctx.m_dcMask.PatBlt(x, y, cx, cy, WHITENESS);
    ctx.m_dcBuffer.SetBkColor(m.clrBtnFace);
    ctx.m_dcMask.BitBlt(x, y, cx, cy, &ctx.m_dcBuffer, x, y, SRCCOPY);
    ctx.m_dcBuffer.SetBkColor(m.clrBtnHilite);
    ctx.m_dcMask.BitBlt(x, y, cx, cy, &ctx.m_dcBuffer, x, y, SRCPAINT);
    ctx.m_dcBuffer.SetBkColor(RGB(255, 255, 255));
    ctx.m_dcBuffer.SetTextColor(RGB(0, 0, 0));
}

void SECStdBtn::PaintThroughMask(SECBtnDrawContext& ctx, CBrush* pBrush, DWORD rop, int x, int y, int cx,
                                 int cy, int xMask, int yMask) {
    ctx.m_dcBuffer.SetBkColor(RGB(255, 255, 255));
    ctx.m_dcBuffer.SetTextColor(RGB(0, 0, 0));
    CBrush* pOld = ctx.m_dcBuffer.SelectObject(pBrush);
    ctx.m_dcBuffer.BitBlt(x, y, cx, cy, &ctx.m_dcMask, xMask, yMask, rop);
    ctx.m_dcBuffer.SelectObject(pOld);
}

void SECStdBtn::DrawDisabled(SECBtnDrawContext& ctx, int x, int y, int cx, int cy) {
    const ToolkitMetrics& m = SECGetToolkitMetrics();
    MakeMask(ctx, x, y, cx, cy);
    ctx.m_dcBuffer.FillSolidRect(x, y, cx, cy, m.clrBtnFace);
    CBrush hilite(m.clrBtnHilite);
    CBrush shadow(m.clrBtnShadow);
    PaintThroughMask(ctx, &hilite, ROP_PSDPXAX, x + 1, y + 1, cx - 1, cy - 1, x, y);
    PaintThroughMask(ctx, &shadow, ROP_PSDPXAX, x, y, cx, cy, x, y);
    if (m_nStyle & SEC_TBBS_CHECKED) {
        // The embossed copy sits one pixel lower right: the checkerboard keeps off both copies.
        ctx.m_dcMask.BitBlt(x + 1, y + 1, cx - 1, cy - 1, &ctx.m_dcMask, x, y, SRCAND);
        PaintThroughMask(ctx, &ctx.m_brDither, ROP_DSPDXAX, x, y, cx, cy, x, y);
    }
}

void SECStdBtn::DrawChecked(SECBtnDrawContext& ctx, int x, int y, int cx, int cy) {
    MakeMask(ctx, x, y, cx, cy);
    PaintThroughMask(ctx, &ctx.m_brDither, ROP_DSPDXAX, x, y, cx, cy, x, y);
}

void SECStdBtn::DrawIndeterminate(SECBtnDrawContext& ctx, int x, int y, int cx, int cy) {
    const ToolkitMetrics& m = SECGetToolkitMetrics();
    MakeMask(ctx, x, y, cx, cy);
    CBrush shadow(m.clrBtnShadow);
    PaintThroughMask(ctx, &shadow, ROP_PSDPXAX, x, y, cx, cy, x, y);
    PaintThroughMask(ctx, &ctx.m_brDither, ROP_DSPDXAX, x, y, cx, cy, x, y);
}

void SECStdBtn::BlendBackground(CDC& dc, SECBtnDrawContext& ctx) {
    DWORD dwEx = m_pToolBar->GetExBarStyle();
    if ((dwEx & (CBRS_EX_FLATSTYLE | CBRS_EX_TRANSPARENT)) != (CBRS_EX_FLATSTYLE | CBRS_EX_TRANSPARENT)) {
        return;
    }
    const ToolkitMetrics& m = SECGetToolkitMetrics();
    ctx.m_dcBuffer.SetBkColor(m.clrBtnFace);
    ctx.m_dcMask.BitBlt(0, 0, m_cx, m_cy, &ctx.m_dcBuffer, 0, 0, SRCCOPY);
    ctx.m_dcBuffer.SetBkColor(RGB(255, 255, 255));
    ctx.m_dcBuffer.SetTextColor(RGB(0, 0, 0));
    ctx.m_dcBuffer.BitBlt(0, 0, m_cx, m_cy, &dc, m_x, m_y, SRCINVERT);
    ctx.m_dcBuffer.BitBlt(0, 0, m_cx, m_cy, &ctx.m_dcMask, 0, 0, ROP_DSNA);
    ctx.m_dcBuffer.BitBlt(0, 0, m_cx, m_cy, &dc, m_x, m_y, SRCINVERT);
}

void SECStdBtn::DrawSelection(SECBtnDrawContext& ctx) {
    if (m_nStyle & SEC_TBBS_SELECTED) {
        DrawSelectionFrame(ctx);
    }
}

void SECStdBtn::DrawSelectionFrame(SECBtnDrawContext& ctx) {
    ctx.m_dcBuffer.SetBkColor(RGB(255, 255, 255));
    ctx.m_dcBuffer.SetTextColor(RGB(0, 0, 0));
    CRect rect(0, 0, m_cx, m_cy);
    ctx.m_dcBuffer.DrawDragRect(&rect, CSize(3, 3), nullptr, CSize(0, 0));
}

void SECStdBtn::Present(CDC& dc, SECBtnDrawContext& ctx) {
    dc.BitBlt(m_x, m_y, m_cx, m_cy, &ctx.m_dcBuffer, 0, 0, SRCCOPY);
}

// ---- Mouse

BOOL SECStdBtn::BtnPressDown(CPoint point) {
    (void)point;
    if (m_nStyle & SEC_TBBS_DISABLED) {
        return FALSE;
    }
    m_nStyle |= SEC_TBBS_PRESSED;
    if (!(m_nStyle & SEC_TBBS_DROPDOWN)) {
        return TRUE;
    }
    // A drop-down part never tracks: the owner opens its menu while the button shows pressed.
    Invalidate();
    m_pToolBar->UpdateWindow();
    BOOL bWasPosting = SECCustomToolBar::s_bPostingCommand;
    SECCustomToolBar::s_bPostingCommand = TRUE;
    SendNotify(SEC_TBN_DROPDOWN, 0, 0);
    SECCustomToolBar::s_bPostingCommand = bWasPosting;
    m_nStyle &= ~SEC_TBBS_PRESSED;
    Invalidate();
    m_pToolBar->UpdateHotTracking();
    return FALSE;
}

void SECStdBtn::BtnPressMouseMove(CPoint point) {
    if (Inside(GetRect(), point)) {
        m_nStyle |= SEC_TBBS_PRESSED;
    } else {
        m_nStyle &= ~SEC_TBBS_PRESSED;
    }
}

void SECStdBtn::BtnPressCancel() {
    m_nStyle &= ~SEC_TBBS_PRESSED;
    Invalidate();
}

UINT SECStdBtn::BtnPressUp(CPoint point) {
    m_nStyle &= ~SEC_TBBS_PRESSED;
    if (!Inside(GetRect(), point)) {
        return 0;
    }
    if ((m_nStyle & SEC_TBBS_DISABLED) || !(m_nStyle & SEC_TBBS_CHECKBOX)) {
        return m_nID;
    }
    UINT data[2] = {0, 0};
    if (m_nStyle & SEC_TBBS_CHECKED) {
        data[1] = SEC_TBBS_CHECKED | SEC_TBBS_INDETERMINATE;
    } else {
        data[0] = SEC_TBBS_CHECKED;
    }
    if (SECToolBarManager* pMgr = m_pToolBar->GetManager()) {
        pMgr->BroadcastToButtons(m_nID, NotifyStyle, data);
    } else {
        for (SECStdBtn* pBtn : m_pToolBar->m_btns) {
            if (pBtn->m_nID == m_nID) {
                pBtn->OnBroadcast(NotifyStyle, data);
            }
        }
    }
    return m_nID;
}

void SECStdBtn::OnBroadcast(UINT nCode, const UINT* pData) {
    if (nCode == NotifyStyle && pData) {
        m_nStyle = (m_nStyle & ~pData[1]) | pData[0];
        Invalidate();
    }
}

UINT SECStdBtn::GetToolInfo(CPoint point, TOOLINFO* pTI) const {
    (void)point;
    if (pTI) {
        pTI->hwnd = m_pToolBar->GetSafeHwnd();
        pTI->uId = m_nID;
        pTI->rect = GetRect();
        pTI->lpszText = LPSTR_TEXTCALLBACKW;
    }
    return m_nID;
}

LRESULT SECStdBtn::SendNotify(int nCode, LPARAM a, LPARAM b) const {
    CWnd* pOwner = m_pToolBar->GetOwner();
    if (!pOwner) {
        pOwner = m_pToolBar->GetParent();
    }
    if (!pOwner) {
        return 0;
    }
    SECNMTOOLBAR nm;
    nm.hdr.hwndFrom = m_pToolBar->GetSafeHwnd();
    nm.hdr.idFrom = static_cast<UINT_PTR>(m_pToolBar->GetDlgCtrlID());
    nm.hdr.code = static_cast<UINT>(nCode);
    nm.idCommand = m_nID;
    nm.nIndex = m_pToolBar->ButtonIndex(this);
    nm.lValueA = a;
    nm.lValueB = b;
    return pOwner->SendMessage(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}
