#include "grid/CGXChild.h"

#include "grid/CGXControl.h"
#include "grid/CGXGridCore.h"
#include "grid/GridKeyDispatch.h"

BOOL CGXChild::IsActiveChild() const {
    return m_pOwner && m_pOwner->GetActiveChild() == this;
}

void CGXChild::Refresh() {
    if (m_pOwner) {
        m_pOwner->Grid()->InvalidateGridRect(&m_rect, TRUE);
    }
}

BOOL CGXChild::KeyMessage(UINT message, WPARAM key, UINT repeat, UINT flags) {
    return DispatchCellKeyMessage(*this, message, key, repeat, flags, m_bPendingLead, m_storedUnit);
}
