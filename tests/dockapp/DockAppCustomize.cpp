#include "DockAppCustomize.h"

#include "DockAppIds.h"

#include "platform/framework/CControlBar.h"
#include "platform/framework/CFrameWnd.h"

namespace dockapp {

void CustomizeSheetHolder::Open(SECToolBarManager* pManager) {
    if (!m_pSheet) {
        m_pSheet = std::make_unique<SECToolBarSheet>(pManager);
    }
    m_pSheet->Open();
}

void CustomizeSheetHolder::Close() {
    if (IsOpen()) {
        m_pSheet->DestroyWindow();
    }
}

BOOL TrackBarMenu(CFrameWnd* frame, CWnd* pWnd, CPoint screen) {
    // A bar floating in its own frame counts too.
    for (CWnd* p = pWnd; p && p != frame; p = p->GetParent()) {
        if (dynamic_cast<CControlBar*>(p)) {
            HMENU menu = ::CreatePopupMenu();
            ::AppendMenuW(menu, MF_STRING, ID_DOCK_CUSTOMIZE_SHEET, u"&Customize...");
            ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, frame->m_hWnd, nullptr);
            ::DestroyMenu(menu);
            return TRUE;
        }
    }
    return FALSE;
}

} // namespace dockapp
