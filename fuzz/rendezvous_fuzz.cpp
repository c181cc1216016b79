// What another of the program's processes wrote into the runtime directory: the input is read as a window
// list and each of its lines as a socket request. Nothing may be read out of bounds; a process id that is
// no process (0, negative, beyond int) is refused; whatever is accepted writes out and reads back the same.
#include "platform/display/RendezvousText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RendezvousWindowList list;
    if (ParseWindowList(text, &list)) {
        if (list.pid <= 0) {
            std::abort();
        }
        RendezvousWindowList again;
        if (!ParseWindowList(FormatWindowList(list), &again) || !(again == list)) {
            std::abort();
        }
    }
    for (std::size_t from = 0; from <= text.size();) {
        std::size_t end = text.find('\n', from);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        RendezvousRequest request;
        if (ParseRequest(text.substr(from, end - from), &request)) {
            RendezvousRequest again;
            if (!ParseRequest(FormatRequest(request), &again) || !(again == request)) {
                std::abort();
            }
        }
        from = end + 1;
    }
    return 0;
}
