// SDL keys as the window core's virtual keys and scan codes (set 1, as the keyboard sends them).
#pragma once

#include "platform/base/Win32Types.h"

#include <SDL_keyboard.h>

struct SdlKeyTranslation {
    UINT virtualKey = 0; // 0: a key the program has no virtual key for
    UINT scanCode = 0;
    BOOL extended = FALSE;
};

// Letters and digits follow the keycode (the user's layout), so that Ctrl+Z stays on the key labelled Z;
// every other key follows its position. The keypad answers navigation keys while Num Lock is off.
SdlKeyTranslation SdlTranslateKey(SDL_Scancode scancode, SDL_Keycode keycode, bool numLock);
