#include "grid/GridNumberText.h"

#include "grid/CGXDrawingAndFormatting.h"
#include "platform/base/CString.h"
#include "platform/base/WideRuntime.h"

double WideToDouble(LPCTSTR text) {
    return text ? _wtof(text) : 0.0;
}

BOOL IsNumberText(LPCTSTR text, double* value) {
    double parsed = 0;
    if (!text || !GetDrawingAndFormatting()->ParseValueText(text, &parsed, nullptr, nullptr)) {
        return FALSE;
    }
    CString written;
    written.Format(u"%.13g", parsed);
    if (written.Compare(text) != 0) {
        return FALSE;
    }
    if (value) {
        *value = parsed;
    }
    return TRUE;
}

int ReadBlankSeparatedNumbers(LPCTSTR text, long* numbers, int maxCount) {
    if (!text || !*text) {
        return 0;
    }
    int count = 0;
    const char16_t* p = text;
    while (count < maxCount) {
        while (*p == u' ') {
            ++p;
        }
        char16_t* end = nullptr;
        numbers[count++] = wcstol(p, &end, 10);
        p = end;
        while (*p && *p != u' ') {
            ++p;
        }
        // A further number only after a blank.
        if (*p != u' ') {
            break;
        }
    }
    return count;
}
