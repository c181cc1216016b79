#include "platform/sdl/SdlClipboardMirror.h"

#include "platform/base/CodePage.h"
#include "platform/sdl/SdlDisplayBackend.h"

#include <SDL.h>

// SDL's clipboard shares the display thread's X connection, so it is only touched on that thread.
void SdlClipboardMirror::Publish(const std::u16string& text) {
    const std::string utf8 = Utf16ToUtf8(text);
    SdlDisplayBackend::RunOnRunningDisplay([&utf8] {
        if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
            SDL_SetClipboardText(utf8.c_str());
        }
    });
}

std::optional<std::u16string> SdlClipboardMirror::Fetch() {
    std::optional<std::u16string> result;
    SdlDisplayBackend::RunOnRunningDisplay([&result] {
        if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
            return;
        }
        char* text = SDL_GetClipboardText();
        if (!text) {
            result = std::u16string();
            return;
        }
        result = Utf8ToUtf16(text);
        SDL_free(text);
    });
    return result;
}
