#include "platform/sdl/SdlKeyMap.h"

#include "platform/display/WindowConstants.h"

namespace {

struct Entry {
    SDL_Scancode scancode;
    UINT vk;
    UINT scan;
    bool extended;
};

// Letters come first, in SDL's order A..Z, so that a letter's scan code is found by its offset.
constexpr UINT kLetterScan[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                  0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                  0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

constexpr Entry kKeys[] = {
    {SDL_SCANCODE_RETURN, VK_RETURN, 0x1C, false},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE, 0x01, false},
    {SDL_SCANCODE_BACKSPACE, VK_BACK, 0x0E, false},
    {SDL_SCANCODE_TAB, VK_TAB, 0x0F, false},
    {SDL_SCANCODE_SPACE, VK_SPACE, 0x39, false},
    {SDL_SCANCODE_MINUS, VK_OEM_MINUS, 0x0C, false},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS, 0x0D, false},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4, 0x1A, false},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6, 0x1B, false},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5, 0x2B, false},
    {SDL_SCANCODE_NONUSHASH, VK_OEM_5, 0x2B, false},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1, 0x27, false},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7, 0x28, false},
    {SDL_SCANCODE_GRAVE, VK_OEM_3, 0x29, false},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA, 0x33, false},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD, 0x34, false},
    {SDL_SCANCODE_SLASH, VK_OEM_2, 0x35, false},
    {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102, 0x56, false},
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL, 0x3A, false},
    {SDL_SCANCODE_F1, VK_F1, 0x3B, false},
    {SDL_SCANCODE_F2, VK_F2, 0x3C, false},
    {SDL_SCANCODE_F3, VK_F3, 0x3D, false},
    {SDL_SCANCODE_F4, VK_F4, 0x3E, false},
    {SDL_SCANCODE_F5, VK_F5, 0x3F, false},
    {SDL_SCANCODE_F6, VK_F6, 0x40, false},
    {SDL_SCANCODE_F7, VK_F7, 0x41, false},
    {SDL_SCANCODE_F8, VK_F8, 0x42, false},
    {SDL_SCANCODE_F9, VK_F9, 0x43, false},
    {SDL_SCANCODE_F10, VK_F10, 0x44, false},
    {SDL_SCANCODE_F11, VK_F11, 0x57, false},
    {SDL_SCANCODE_F12, VK_F12, 0x58, false},
    {SDL_SCANCODE_F13, VK_F13, 0x64, false},
    {SDL_SCANCODE_F14, VK_F14, 0x65, false},
    {SDL_SCANCODE_F15, VK_F15, 0x66, false},
    {SDL_SCANCODE_F16, VK_F16, 0x67, false},
    {SDL_SCANCODE_F17, VK_F17, 0x68, false},
    {SDL_SCANCODE_F18, VK_F18, 0x69, false},
    {SDL_SCANCODE_F19, VK_F19, 0x6A, false},
    {SDL_SCANCODE_F20, VK_F20, 0x6B, false},
    {SDL_SCANCODE_F21, VK_F21, 0x6C, false},
    {SDL_SCANCODE_F22, VK_F22, 0x6D, false},
    {SDL_SCANCODE_F23, VK_F23, 0x6E, false},
    {SDL_SCANCODE_F24, VK_F24, 0x76, false},
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT, 0x37, true},
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL, 0x46, false},
    {SDL_SCANCODE_PAUSE, VK_PAUSE, 0x45, false},
    {SDL_SCANCODE_INSERT, VK_INSERT, 0x52, true},
    {SDL_SCANCODE_HOME, VK_HOME, 0x47, true},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR, 0x49, true},
    {SDL_SCANCODE_DELETE, VK_DELETE, 0x53, true},
    {SDL_SCANCODE_END, VK_END, 0x4F, true},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT, 0x51, true},
    {SDL_SCANCODE_RIGHT, VK_RIGHT, 0x4D, true},
    {SDL_SCANCODE_LEFT, VK_LEFT, 0x4B, true},
    {SDL_SCANCODE_DOWN, VK_DOWN, 0x50, true},
    {SDL_SCANCODE_UP, VK_UP, 0x48, true},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK, 0x45, true},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE, 0x35, true},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY, 0x37, false},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT, 0x4A, false},
    {SDL_SCANCODE_KP_PLUS, VK_ADD, 0x4E, false},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN, 0x1C, true},
    {SDL_SCANCODE_APPLICATION, VK_APPS, 0x5D, true},
    {SDL_SCANCODE_LCTRL, VK_LCONTROL, 0x1D, false},
    {SDL_SCANCODE_LSHIFT, VK_LSHIFT, 0x2A, false},
    {SDL_SCANCODE_LALT, VK_LMENU, 0x38, false},
    {SDL_SCANCODE_LGUI, VK_LWIN, 0x5B, true},
    {SDL_SCANCODE_RCTRL, VK_RCONTROL, 0x1D, true},
    {SDL_SCANCODE_RSHIFT, VK_RSHIFT, 0x36, false},
    {SDL_SCANCODE_RALT, VK_RMENU, 0x38, true},
    {SDL_SCANCODE_RGUI, VK_RWIN, 0x5C, true},
};

// The keypad's digits and point: scan code, the key with Num Lock on, the key with it off.
struct PadEntry {
    SDL_Scancode scancode;
    UINT scan;
    UINT on;
    UINT off;
};

constexpr PadEntry kPad[] = {
    {SDL_SCANCODE_KP_1, 0x4F, VK_NUMPAD1, VK_END},         {SDL_SCANCODE_KP_2, 0x50, VK_NUMPAD2, VK_DOWN},
    {SDL_SCANCODE_KP_3, 0x51, VK_NUMPAD3, VK_NEXT},        {SDL_SCANCODE_KP_4, 0x4B, VK_NUMPAD4, VK_LEFT},
    {SDL_SCANCODE_KP_5, 0x4C, VK_NUMPAD5, VK_CLEAR},       {SDL_SCANCODE_KP_6, 0x4D, VK_NUMPAD6, VK_RIGHT},
    {SDL_SCANCODE_KP_7, 0x47, VK_NUMPAD7, VK_HOME},        {SDL_SCANCODE_KP_8, 0x48, VK_NUMPAD8, VK_UP},
    {SDL_SCANCODE_KP_9, 0x49, VK_NUMPAD9, VK_PRIOR},       {SDL_SCANCODE_KP_0, 0x52, VK_NUMPAD0, VK_INSERT},
    {SDL_SCANCODE_KP_PERIOD, 0x53, VK_DECIMAL, VK_DELETE},
};

} // namespace

SdlKeyTranslation SdlTranslateKey(SDL_Scancode scancode, SDL_Keycode keycode, bool numLock) {
    SdlKeyTranslation out;
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        out.scanCode = kLetterScan[scancode - SDL_SCANCODE_A];
        out.virtualKey = 'A' + (scancode - SDL_SCANCODE_A);
    } else if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_0) {
        out.scanCode = 0x02 + (scancode - SDL_SCANCODE_1);
        out.virtualKey = scancode == SDL_SCANCODE_0 ? '0' : '1' + (scancode - SDL_SCANCODE_1);
    } else {
        for (const PadEntry& p : kPad) {
            if (p.scancode == scancode) {
                out.scanCode = p.scan;
                out.virtualKey = numLock ? p.on : p.off;
                return out;
            }
        }
        for (const Entry& e : kKeys) {
            if (e.scancode == scancode) {
                out.virtualKey = e.vk;
                out.scanCode = e.scan;
                out.extended = e.extended ? TRUE : FALSE;
                return out;
            }
        }
        return out;
    }
    // A letter or digit elsewhere on the user's layout takes that key's virtual key.
    if (keycode >= SDLK_a && keycode <= SDLK_z) {
        out.virtualKey = 'A' + static_cast<UINT>(keycode - SDLK_a);
    } else if (keycode >= SDLK_0 && keycode <= SDLK_9) {
        out.virtualKey = '0' + static_cast<UINT>(keycode - SDLK_0);
    }
    return out;
}
