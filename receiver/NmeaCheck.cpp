#include "receiver/NmeaCheck.h"

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

} // namespace

bool CheckNmeaLine(std::u16string& line) {
    const std::size_t n = line.size();
    if (n < 3) {
        return false;
    }
    if (line[n - 3] == u'*') {
        unsigned sum = 0;
        for (std::size_t i = 1; i < n - 3; ++i) {
            sum ^= line[i];
        }
        sum &= 0xFF;
        const bool match = line[n - 2] == kHexDigits[sum >> 4] && line[n - 1] == kHexDigits[sum & 0x0F];
        line.resize(n - 3);
        return match;
    }
    if (line.find(u'*') != std::u16string::npos) {
        return false;
    }
    const std::u16string_view view(line);
    return (view.starts_with(u"$GP") || view.starts_with(u"$P")) &&
           view.find(u',') != std::u16string_view::npos;
}
