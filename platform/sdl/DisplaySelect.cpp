#include "platform/sdl/DisplaySelect.h"

#include "platform/clipboard/Clipboard.h"
#include "platform/dialog/MessageBoxDialog.h"
#include "platform/display/DisplayBackend.h"
#include "platform/display/MessageBox.h"
#include "platform/sdl/SdlClipboardMirror.h"
#include "platform/sdl/SdlDisplayBackend.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool HasVariable(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

} // namespace

DisplayChoice InitializeDisplay(const std::function<void()>& whileOpening) {
    if (DisplayHeadlessRequested() || (!HasVariable("DISPLAY") && !HasVariable("WAYLAND_DISPLAY"))) {
        return DisplayChoice::Headless;
    }
    std::string error;
    std::unique_ptr<SdlDisplayBackend> backend = SdlDisplayBackend::Start(&error, whileOpening);
    if (!backend) {
        // Not fatal: the program does its work unseen, as it does under a service manager.
        std::fprintf(stderr, "No display (%s); windows stay unseen\n", error.c_str());
        return DisplayChoice::Headless;
    }
    DisplaySetBackend(std::move(backend));
    // A person sees the windows: message boxes are drawn dialogs, and copied text reaches the desktop.
    DisplaySetMessageBoxResponder(&DisplayRunMessageBoxDialog);
    ClipboardSetMirror(std::make_shared<SdlClipboardMirror>());
    return DisplayChoice::Sdl;
}
