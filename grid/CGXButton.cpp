#include "grid/CGXButton.h"

#include "grid/CGXControl.h"
#include "grid/CGXDrawingAndFormatting.h"
#include "grid/CGXGridCore.h"
#include "grid/GridSysColorCache.h"
#include "platform/display/PaintApi.h"
#include "platform/display/VirtualKeys.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CWnd.h"
#include "platform/gdi/SystemColors.h"

void CGXButton::Draw(CDC* dc, BOOL active) {
    const BOOL focused = active && IsActiveChild();
    FillRectColor(dc, m_rect, GridSysColorCache::GetColor(COLOR_BTNFACE));
    CRect edge(m_rect);
    DrawEdgeRect(dc, edge, m_bPressed ? EDGE_SUNKEN : EDGE_RAISED, FALSE);
    CRect text(m_rect.left + 1, m_rect.top + 1, m_rect.right - 2, m_rect.bottom - 2);
    if (m_bPressed) {
        text.OffsetRect(1, 1);
    }
    GetDrawingAndFormatting()->DrawButtonText(dc, text.left, text.top, text.right, text.bottom, focused,
                                              m_text, DT_WORDBREAK);
}

void CGXButton::SetPressed(BOOL pressed) {
    if (m_bPressed != pressed) {
        m_bPressed = pressed;
        if (m_bRedrawOnChange) {
            Refresh();
        }
    }
}

BOOL CGXButton::MouseMove(UINT, int x, int y) {
    if (m_bCaptured) {
        SetPressed(HitTest(x, y));
    }
    return TRUE;
}

BOOL CGXButton::LButtonDown(UINT, int, int) {
    m_bCaptured = TRUE;
    SetPressed(TRUE);
    if (m_pOwner && m_pOwner->IsActive()) {
        if (CWnd* grid = m_pOwner->GetGridWnd()) {
            ::UpdateWindow(grid->GetSafeHwnd());
        }
    }
    return TRUE;
}

BOOL CGXButton::LButtonUp(UINT, int x, int y) {
    const BOOL clicked = m_bPressed && HitTest(x, y);
    m_bCaptured = FALSE;
    SetPressed(FALSE);
    if (clicked && m_pOwner) {
        m_pOwner->ChildClicked(this);
    }
    return TRUE;
}

BOOL CGXButton::KeyDown(UINT key, UINT, UINT) {
    if (key != VK_SPACE) {
        return FALSE;
    }
    SetPressed(TRUE);
    return TRUE;
}

BOOL CGXButton::KeyUp(UINT key, UINT, UINT) {
    if (key != VK_SPACE || !m_bPressed) {
        return FALSE;
    }
    SetPressed(FALSE);
    if (m_pOwner) {
        m_pOwner->ChildClicked(this);
    }
    return TRUE;
}

void CGXButton::CancelMode() {
    if (m_bPressed || m_bCaptured) {
        m_bCaptured = FALSE;
        SetPressed(FALSE);
    }
}
