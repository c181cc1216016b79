#include "platform/sdl/SdlKeyMap.h"
#include "platform/display/WindowConstants.h"

#include <gtest/gtest.h>

namespace {

struct KeyCase {
    SDL_Scancode scancode;
    SDL_Keycode keycode;
    bool numLock;
    UINT vk;
    UINT scan;
    BOOL extended;
};

TEST(SdlKeyMap, TranslatesKeysToVirtualKeysAndScanCodes) {
    const KeyCase cases[] = {
        {SDL_SCANCODE_A, SDLK_a, false, 'A', 0x1E, FALSE},
        {SDL_SCANCODE_Z, SDLK_z, false, 'Z', 0x2C, FALSE},
        // A French layout: the key at Q's place types 'a' and is VK 'A'; its scan code stays Q's.
        {SDL_SCANCODE_Q, SDLK_a, false, 'A', 0x10, FALSE},
        {SDL_SCANCODE_1, SDLK_1, false, '1', 0x02, FALSE},
        {SDL_SCANCODE_0, SDLK_0, false, '0', 0x0B, FALSE},
        // The same layout's digit row gives symbols unshifted: the key keeps its digit.
        {SDL_SCANCODE_1, SDLK_AMPERSAND, false, '1', 0x02, FALSE},
        {SDL_SCANCODE_RETURN, SDLK_RETURN, false, VK_RETURN, 0x1C, FALSE},
        {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, false, VK_RETURN, 0x1C, TRUE},
        {SDL_SCANCODE_LEFT, SDLK_LEFT, false, VK_LEFT, 0x4B, TRUE},
        {SDL_SCANCODE_DELETE, SDLK_DELETE, false, VK_DELETE, 0x53, TRUE},
        {SDL_SCANCODE_F1, SDLK_F1, false, VK_F1, 0x3B, FALSE},
        {SDL_SCANCODE_F12, SDLK_F12, false, VK_F12, 0x58, FALSE},
        {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, false, VK_LSHIFT, 0x2A, FALSE},
        {SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, false, VK_RSHIFT, 0x36, FALSE},
        {SDL_SCANCODE_RCTRL, SDLK_RCTRL, false, VK_RCONTROL, 0x1D, TRUE},
        {SDL_SCANCODE_RALT, SDLK_RALT, false, VK_RMENU, 0x38, TRUE},
        {SDL_SCANCODE_KP_7, SDLK_KP_7, true, VK_NUMPAD7, 0x47, FALSE},
        {SDL_SCANCODE_KP_7, SDLK_KP_7, false, VK_HOME, 0x47, FALSE},
        {SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, false, VK_DELETE, 0x53, FALSE},
        {SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE, true, VK_DIVIDE, 0x35, TRUE},
        {SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, false, VK_OEM_1, 0x27, FALSE},
        {SDL_SCANCODE_NONUSBACKSLASH, SDLK_LESS, false, VK_OEM_102, 0x56, FALSE},
        {SDL_SCANCODE_MUTE, SDLK_MUTE, false, 0, 0, FALSE},
    };
    for (const KeyCase& c : cases) {
        SdlKeyTranslation t = SdlTranslateKey(c.scancode, c.keycode, c.numLock);
        SCOPED_TRACE(SDL_GetScancodeName(c.scancode));
        EXPECT_EQ(t.virtualKey, c.vk);
        EXPECT_EQ(t.scanCode, c.scan);
        EXPECT_EQ(t.extended, c.extended);
    }
}

} // namespace
