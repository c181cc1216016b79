// What the program's processes tell each other through the runtime directory: each process's list of its
// top-level windows (the file "<pid>.windows") and the one-line requests on its socket. Both are read from
// files and sockets another process wrote, so the readers take any bytes and refuse what does not fit.
//
// A window list is a header line "doliva-windows 1 <pid> <start time>" and one line per window:
// "<handle in hex>\t<flags>-\t<class>\t<title>", flags "v" (visible) and "i" (minimised); tab, line feed,
// carriage return and backslash in the texts are escaped with a backslash.
// A request is "<verb> <handle in hex>[ <argument>]": "iconic", "iswindow", "foreground", "popup", or
// "show <command>" with a ShowWindow command.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct RendezvousWindow {
    std::uintptr_t handle = 0;
    bool visible = false;
    bool iconic = false;
    std::u16string cls;
    std::u16string title;
    bool operator==(const RendezvousWindow&) const = default;
};

struct RendezvousWindowList {
    int pid = 0;
    std::string start; // the process's start time, which tells it from a later one with the same id
    std::vector<RendezvousWindow> windows;
    bool operator==(const RendezvousWindowList&) const = default;
};

// The largest window list read; a process has a handful of top-level windows.
constexpr std::size_t kMaxWindowListBytes = 64 * 1024;

std::string FormatWindowList(const RendezvousWindowList& list);
// False for a text that is not a window list (no header, a process id that is not one, too long); lines
// that are not windows are skipped.
bool ParseWindowList(std::string_view text, RendezvousWindowList* list);

struct RendezvousRequest {
    std::string verb;
    std::uintptr_t handle = 0;
    int command = 0; // of "show"
    bool operator==(const RendezvousRequest&) const = default;
};

// The line without its line feed.
std::string FormatRequest(const RendezvousRequest& request);
// False for an unknown verb, a handle that is not hex, or an argument the verb does not take.
bool ParseRequest(std::string_view line, RendezvousRequest* request);
