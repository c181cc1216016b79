#include "platform/sdl/DisplaySelect.h"

#include "platform/display/DisplayBackend.h"
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

DisplayChoice InitializeDisplay() {
    if (DisplayHeadlessRequested() || (!HasVariable("DISPLAY") && !HasVariable("WAYLAND_DISPLAY"))) {
        return DisplayChoice::Headless;
    }
    std::string error;
    std::unique_ptr<SdlDisplayBackend> backend = SdlDisplayBackend::Start(&error);
    if (!backend) {
        // Not fatal: the program does its work unseen, as it does under a service manager.
        std::fprintf(stderr, "No display (%s); windows stay unseen\n", error.c_str());
        return DisplayChoice::Headless;
    }
    DisplaySetBackend(std::move(backend));
    return DisplayChoice::Sdl;
}
