// What the dialog manager keeps per dialog, shared between creation, DefDlgProc and navigation.
#pragma once

#include "platform/controls/StandardControls.h"
#include "platform/dialog/Dialog.h"

#include <memory>
#include <vector>

namespace dialog_detail {

struct DialogState {
    DLGPROC proc = nullptr;
    HFONT font = nullptr;
    bool ownsFont = false;
    int baseX = 8;  // pixels per 4 horizontal dialog units
    int baseY = 16; // pixels per 8 vertical dialog units
    int defId = 0;
    HWND savedFocus = nullptr;
    HWND lastFocus = nullptr;
    bool modal = false;
    bool ended = false;
    INT_PTR result = 0;
    HWND owner = nullptr;
    bool ownerDisabled = false;
};

std::shared_ptr<DialogState> StateOf(HWND dialog);

// The controls of a dialog in tab order, descending into WS_EX_CONTROLPARENT children.
std::vector<HWND> Controls(HWND dialog);
UINT DlgCode(HWND control, const MSG* msg = nullptr);
// Puts the focus on a control, selecting an edit's text, and moves the default push button with it.
void DlgSetFocus(HWND dialog, HWND control);
// Makes the focused push button the default one, or gives the default back to the dialog's default id.
void CheckDefPushButton(HWND dialog, HWND focus);

} // namespace dialog_detail
