// Choosing the display backend when the program starts.
#pragma once

#include <functional>

enum class DisplayChoice {
    Headless, // DOLIVA_DISPLAY=headless, no display to open, or SDL could not open it
    Sdl,
};

// Installs the SDL2 backend when a display is available and headless is not asked for, with message boxes
// drawn as dialogs and SDL's clipboard as the clipboard's mirror; otherwise leaves the headless backend in
// place. Call once, before the first window. Answers what was chosen. `whileOpening` runs while the display
// is being opened (not at all when none is), on the calling thread: start-up work that needs no display.
DisplayChoice InitializeDisplay(const std::function<void()>& whileOpening = {});
