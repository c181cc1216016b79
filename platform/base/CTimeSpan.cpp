#include "platform/base/CTimeSpan.h"

#include <string>

namespace {

// printf's "%02ld": the width counts the sign.
void AppendTwoDigits(std::u16string& out, long long value) {
    const std::string digits = std::to_string(value);
    if (digits.size() < 2) {
        out += u'0';
    }
    out.append(digits.begin(), digits.end());
}

} // namespace

CString CTimeSpan::Format(LPCTSTR format) const {
    std::u16string out;
    if (!format) {
        return CString();
    }
    for (const TCHAR* p = format; *p; ++p) {
        if (*p != u'%') {
            out += *p;
            continue;
        }
        const TCHAR ch = p[1];
        if (ch == 0) {
            out += u'%';
            break;
        }
        ++p;
        switch (ch) {
        case u'%':
            out += u'%';
            break;
        case u'D': {
            const std::string digits = std::to_string(GetDays());
            out.append(digits.begin(), digits.end());
            break;
        }
        case u'H':
            AppendTwoDigits(out, GetHours());
            break;
        case u'M':
            AppendTwoDigits(out, GetMinutes());
            break;
        case u'S':
            AppendTwoDigits(out, GetSeconds());
            break;
        default:
            out += u'%';
            out += ch;
            break;
        }
    }
    return CString(std::move(out));
}

CString CTimeSpan::Format(UINT formatId) const {
    std::u16string format;
    if (!LoadStringResource(formatId, format)) {
        return CString();
    }
    return Format(format.c_str());
}
