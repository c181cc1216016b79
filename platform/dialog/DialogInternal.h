// What the dialog manager keeps per dialog, shared between creation, DefDlgProc and navigation.
#pragma once

#include "platform/dialog/Dialog.h"

#if __has_include("platform/controls/StandardControls.h")
#include "platform/controls/StandardControls.h"
#endif

#include <memory>
#include <vector>

// The button and edit messages the dialog manager drives (the controls define them too).
#ifndef BM_GETCHECK
#define BM_GETCHECK 0x00F0
#endif
#ifndef BM_SETCHECK
#define BM_SETCHECK 0x00F1
#endif
#ifndef BM_SETSTYLE
#define BM_SETSTYLE 0x00F4
#endif
#ifndef BM_CLICK
#define BM_CLICK 0x00F5
#endif
#ifndef BST_CHECKED
#define BST_CHECKED 0x0001
#endif
#ifndef BS_PUSHBUTTON
#define BS_PUSHBUTTON 0x00000000L
#endif
#ifndef BS_DEFPUSHBUTTON
#define BS_DEFPUSHBUTTON 0x00000001L
#endif
#ifndef BN_CLICKED
#define BN_CLICKED 0
#endif
#ifndef EM_SETSEL
#define EM_SETSEL 0x00B1
#endif
#ifndef SS_NOPREFIX
#define SS_NOPREFIX 0x00000080L
#endif

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
