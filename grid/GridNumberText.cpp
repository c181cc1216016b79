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
