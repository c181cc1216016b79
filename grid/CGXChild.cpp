#include "grid/CGXChild.h"

#include "grid/CGXControl.h"
#include "grid/CellKeyDispatch.h"
#include "platform/display/PaintApi.h"
#include "platform/display/WindowMessages.h"
#include "platform/framework/CWnd.h"

BOOL CGXChild::IsActiveChild() const {
    return m_pOwner && m_pOwner->GetActiveChild() == this;
}

void CGXChild::Refresh() {
    CWnd* grid = m_pOwner ? m_pOwner->GetGridWnd() : nullptr;
    if (grid && grid->GetSafeHwnd()) {
        ::InvalidateRect(grid->GetSafeHwnd(), &m_rect, TRUE);
    }
}

BOOL CGXChild::KeyMessage(UINT message, WPARAM key, UINT repeat, UINT flags) {
    return DispatchCellKey(*this, message, key, repeat, flags, m_bPendingLead, m_storedUnit);
}
