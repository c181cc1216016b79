// Message boxes and the beep, both through replaceable handlers.
//
// The message box disables its owner's top-level window while it is up (which sends WM_CANCELMODE to it and
// takes the capture away), asks the responder for the answer, then enables the owner again and gives the
// focus back. A display that shows windows installs the box drawn as a modal dialog of the layer as the
// responder (platform/dialog/MessageBoxDialog.h); a test installs its own. Without one (headless) the caption
// and text go to standard error and the box answers the default button at once, so nothing ever waits for a
// person that cannot see the box.
#pragma once

#include "platform/base/WindowTypes.h"
#include "platform/display/WindowConstants.h"

#include <functional>
#include <string>

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
int MessageBoxExW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type, WORD languageId);
// Plays the sound of a message-box kind (MB_ICON*, MB_OK, or 0xFFFFFFFF for the simple beep).
BOOL MessageBeep(UINT type);

#define MessageBox MessageBoxW
#define MessageBoxEx MessageBoxExW

using MessageBoxResponder =
    std::function<int(HWND owner, const std::u16string& caption, const std::u16string& text, UINT type)>;
// Installs a responder and answers the previous one; an empty function restores the default (standard
// error).
MessageBoxResponder DisplaySetMessageBoxResponder(MessageBoxResponder responder);
// The button a box of this type answers by default (MB_DEFBUTTONn of the MB_TYPEMASK buttons).
int DisplayDefaultMessageBoxAnswer(UINT type);

using MessageBeepHandler = std::function<BOOL(UINT type)>;
// Installs the sound behind MessageBeep and answers the previous one; the default does nothing and
// answers TRUE. An empty function restores the default.
MessageBeepHandler DisplaySetMessageBeepHandler(MessageBeepHandler handler);
