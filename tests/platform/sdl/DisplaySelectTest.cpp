#include "platform/sdl/DisplaySelect.h"
#include "platform/display/DisplayBackend.h"
#include "platform/sdl/SdlDisplayBackend.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace {

// Sets environment variables for one test and puts the old values back.
class EnvGuard {
public:
    void Set(const char* name, const char* value) {
        if (!saved_.count(name)) {
            const char* old = std::getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~EnvGuard() {
        for (auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

TEST(DisplaySelect, StaysHeadlessWhenAskedOrWithoutADisplay) {
    struct Case {
        const char* what;
        const char* dolivaDisplay;
        const char* display;
        const char* wayland;
        bool triesToOpen; // the start-up work meant for the wait runs
    };
    const Case cases[] = {
        {"asked for, though a display is named", "headless", ":0", nullptr, false},
        {"no display named", nullptr, nullptr, nullptr, false},
        {"empty names", nullptr, "", "", false},
        // A display that cannot be opened: SDL fails to start and the program still runs.
        {"display that is not there", nullptr, ":65000", nullptr, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EnvGuard env;
        env.Set("DOLIVA_DISPLAY", c.dolivaDisplay);
        env.Set("DISPLAY", c.display);
        env.Set("WAYLAND_DISPLAY", c.wayland);
        std::string before = DisplayGetBackend().Name();
        // Another suite of this process may keep the SDL display for its life: then no start is tried.
        const bool sdlRunning = dynamic_cast<SdlDisplayBackend*>(&DisplayGetBackend()) != nullptr;
        int ran = 0;
        EXPECT_EQ(InitializeDisplay([&ran] { ++ran; }), DisplayChoice::Headless);
        EXPECT_EQ(DisplayGetBackend().Name(), before);
        EXPECT_EQ(ran, c.triesToOpen && !sdlRunning ? 1 : 0);
    }
}

TEST(DisplaySelect, StartFailsCleanlyAndSaysWhy) {
    EnvGuard env;
    env.Set("DISPLAY", ":65000");
    env.Set("WAYLAND_DISPLAY", nullptr);
    std::string error;
    EXPECT_EQ(SdlDisplayBackend::Start(&error), nullptr);
    EXPECT_FALSE(error.empty());
}

} // namespace
