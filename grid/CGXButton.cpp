#include "grid/CGXButton.h"

#include "grid/CGXControl.h"
#include "grid/CGXDrawingAndFormatting.h"
#include "grid/GridSysColorCache.h"
#include "platform/display/InputApi.h"
#include "platform/display/PaintApi.h"
#include "platform/framework/CDC.h"
#include "platform/gdi/SystemColors.h"
#include "platform/framework/CWnd.h"

namespace {

constexpr int kStateFocused = 0x1;
constexpr int kStatePressed = 0x4;

} // namespace

void CGXButton::Draw(CDC* dc, BOOL active) {
    int state = 0;
    if (active && IsActiveChild()) {
        state = m_bPressed ? (kStateFocused | kStatePressed) : kStateFocused;
    }
    CRect face = m_rect;
    FillRectColor(dc, face, GridSysColorCache::GetColor(COLOR_BTNFACE));
    DrawEdgeRect(dc, face, m_bPressed ? EDGE_SUNKEN : EDGE_RAISED, FALSE);
    CRect text(m_rect.left + 1, m_rect.top + 1, m_rect.right - 2, m_rect.bottom - 2);
    if (m_bPressed) {
        text.OffsetRect(1, 1);
    }
    GetDrawingAndFormatting()->DrawButtonText(dc, text.left, text.top, text.right, text.bottom,
                                              (state & kStateFocused) != 0, m_text, kTextWordBreak);
}

void CGXButton::SetPressed(BOOL pressed) {
    if (m_bPressed != pressed) {
        m_bPressed = pressed;
        if (m_bRedrawOnChange) {
            Refresh();
        }
    }
}

BOOL CGXButton::LButtonDown(UINT, int, int) {
    m_bCaptured = TRUE;
    m_bPressed = TRUE;
    if (m_bRedrawOnChange) {
        Refresh();
    }
    CWnd* grid = m_pOwner->GetGridWnd();
    if (m_pOwner->IsActive() && grid && grid->GetSafeHwnd()) {
        ::UpdateWindow(grid->GetSafeHwnd());
    }
    return TRUE;
}

BOOL CGXButton::MouseMove(UINT, int x, int y) {
    if (m_bCaptured) {
        SetPressed(HitTest(x, y));
    }
    return TRUE;
}

BOOL CGXButton::LButtonUp(UINT, int x, int y) {
    const BOOL click = m_bPressed && HitTest(x, y);
    m_bPressed = FALSE;
    m_bCaptured = FALSE;
    Refresh();
    if (click) {
        m_pOwner->ChildClicked(this);
    }
    return TRUE;
}

BOOL CGXButton::KeyDown(UINT key, UINT, UINT) {
    if (key != VK_SPACE) {
        return FALSE;
    }
    m_bPressed = TRUE;
    Refresh();
    return TRUE;
}

BOOL CGXButton::KeyUp(UINT key, UINT, UINT) {
    if (key != VK_SPACE || !m_bPressed) {
        return FALSE;
    }
    m_bPressed = FALSE;
    Refresh();
    m_pOwner->ChildClicked(this);
    return TRUE;
}

void CGXButton::CancelMode() {
    if (m_bPressed || m_bCaptured) {
        m_bPressed = FALSE;
        m_bCaptured = FALSE;
        Refresh();
    }
}
