// The customisation sheet of the docking test application's frames (SDI and MDI): opened from the View menu
// or from the menu of a right click on a bar, modeless, and closed before the frame saves its toolbars.
#pragma once

#include "toolkit/SECToolBarSheet.h"

#include <memory>

class CFrameWnd;

namespace dockapp {

class CustomizeSheetHolder {
public:
    // Opens the sheet over the manager's frame, or brings it to the front.
    void Open(SECToolBarManager* pManager);
    // Takes the sheet down, ending customise mode; nothing when it is not up.
    void Close();
    SECToolBarSheet* Sheet() const { return m_pSheet.get(); }
    BOOL IsOpen() const { return m_pSheet && m_pSheet->IsOpen(); }

private:
    std::unique_ptr<SECToolBarSheet> m_pSheet;
};

// A right click on a bar of `frame` (wParam of WM_CONTEXTMENU): the menu offering the sheet. FALSE when the
// window clicked is no bar.
BOOL TrackBarMenu(CFrameWnd* frame, CWnd* pWnd, CPoint screen);

} // namespace dockapp
