// Starts a program on the X display of DISPLAY and watches the screen until the program's window shows drawn:
// a window of at least 400 x 300 pixels on the root's black, most of it the form's face colour. Prints the
// milliseconds from the start to that first drawn frame, then ends the program.
//   doliva-first-frame [--runs N] [--timeout SECONDS] [--silent-port VARIABLE] -- program [arguments]
// --silent-port gives the program, in VARIABLE, a pseudo-terminal that nobody answers on. With several runs
// it prints each and then their median; exit status 1 when a run saw no drawn window.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Where the screen shows a mapped top-level window of at least 400 x 300 pixels: the part of the root worth
// reading. Looking costs a few small requests; reading the whole root at every look kept the X server busy
// copying megabytes and slowed the program being measured.
bool ShownWindowArea(Display* display, Window root, XRectangle* area) {
    Window rootReturn = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &rootReturn, &parent, &children, &count)) {
        return false;
    }
    bool found = false;
    for (unsigned i = count; i-- > 0 && !found;) {
        XWindowAttributes a{};
        if (XGetWindowAttributes(display, children[i], &a) && a.map_state == IsViewable && a.width >= 400 &&
            a.height >= 300) {
            *area = XRectangle{static_cast<short>(std::max(a.x, 0)), static_cast<short>(std::max(a.y, 0)),
                               static_cast<unsigned short>(a.width), static_cast<unsigned short>(a.height)};
            found = true;
        }
    }
    if (children) {
        XFree(children);
    }
    return found;
}

// The main form's background.
constexpr unsigned long kFormFace = 0xC0C0C0;

// True when the root shows a window of a sensible size whose pixels are mostly the form's face colour.
bool WindowDrawn(Display* display, Window root, int screenWidth, int screenHeight) {
    XRectangle shown{};
    if (!ShownWindowArea(display, root, &shown)) {
        return false;
    }
    const int width = std::min<int>(shown.width, screenWidth - shown.x);
    const int height = std::min<int>(shown.height, screenHeight - shown.y);
    if (width <= 0 || height <= 0) {
        return false;
    }
    XImage* image = XGetImage(display, root, shown.x, shown.y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image) {
        return false;
    }
    int left = width, top = height, right = -1, bottom = -1;
    long face = 0;
    const bool direct = image->bits_per_pixel == 32;
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(image->data + y * image->bytes_per_line);
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = (direct ? line[x] : XGetPixel(image, x, y)) & 0xFFFFFF;
            if (pixel == 0) {
                continue;
            }
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            face += pixel == kFormFace;
        }
    }
    XDestroyImage(image);
    const long area = static_cast<long>(right - left + 1) * (bottom - top + 1);
    return right - left >= 400 && bottom - top >= 300 && face > area / 2;
}

// A window may go between listing it and asking for its attributes; Xlib's own handler would end the tool.
int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

void Stop(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// One start: the milliseconds to the first drawn frame, or nothing within the time-out.
std::optional<double> MeasureOnce(Display* display, char** command, int timeoutSeconds) {
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, root, &attributes);
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(command[0], command);
        _exit(127);
    }
    if (pid < 0) {
        return std::nullopt;
    }
    std::optional<double> result;
    while (Clock::now() - start < std::chrono::seconds(timeoutSeconds)) {
        if (WindowDrawn(display, root, attributes.width, attributes.height)) {
            result = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    Stop(pid);
    // The next start finds an empty screen.
    while (WindowDrawn(display, root, attributes.width, attributes.height)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return result;
}

} // namespace

int main(int argc, char** argv) {
    int runs = 1;
    int timeout = 10;
    int at = 1;
    for (; at < argc && std::strcmp(argv[at], "--") != 0; ++at) {
        if (std::strcmp(argv[at], "--runs") == 0 && at + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++at]));
        } else if (std::strcmp(argv[at], "--timeout") == 0 && at + 1 < argc) {
            timeout = std::max(1, std::atoi(argv[++at]));
        } else if (std::strcmp(argv[at], "--silent-port") == 0 && at + 1 < argc) {
            // Held open (and never read or written) until the end.
            const int master = posix_openpt(O_RDWR | O_NOCTTY);
            const char* device = master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0 ? ptsname(master)
                                                                                            : nullptr;
            if (!device) {
                std::fprintf(stderr, "doliva-first-frame: no pseudo-terminal\n");
                return 2;
            }
            setenv(argv[++at], device, 1);
        }
    }
    if (at + 1 >= argc) {
        std::fprintf(stderr, "usage: %s [--runs N] [--timeout SECONDS] [--silent-port VARIABLE] -- program ...\n",
                     argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "doliva-first-frame: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreXError);
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const std::optional<double> ms = MeasureOnce(display, argv + at + 1, timeout);
        if (!ms) {
            std::printf("run %d: no drawn window within %d s\n", run + 1, timeout);
            XCloseDisplay(display);
            return 1;
        }
        std::printf("run %d: first drawn frame after %.0f ms\n", run + 1, *ms);
        std::fflush(stdout);
        times.push_back(*ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("median: %.0f ms over %d runs\n", times[times.size() / 2], runs);
    XCloseDisplay(display);
    return 0;
}
