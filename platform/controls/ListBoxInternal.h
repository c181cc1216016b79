// Private messages between a combo box and its list (the "ComboLBox" window).
#pragma once

#include "platform/display/WindowMessages.h"

// List -> combo box: the user chose the item under the mouse (wParam TRUE) or clicked outside (FALSE).
#define CBM_LISTDONE (WM_USER + 0x1F0)
// Combo box -> list: track the mouse with the capture while dropped (wParam TRUE) or stop (FALSE).
#define LBM_COMBOTRACK (WM_USER + 0x1F1)
// Combo box -> list: select an item without notifications, scrolling it into view.
#define LBM_SELECTQUIET (WM_USER + 0x1F2)
