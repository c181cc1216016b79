// The message box drawn as a modal dialog of the layer, for displays that show windows: the SDL display
// installs it as the message box responder (DisplaySetMessageBoxResponder) when it starts.
#pragma once

#include "platform/base/WindowTypes.h"

#include <string>

// Runs the box as a modal dialog (icon, wrapped text, the type's buttons) and answers the button pressed.
int DisplayRunMessageBoxDialog(HWND owner, const std::u16string& caption, const std::u16string& text,
                               UINT type);
