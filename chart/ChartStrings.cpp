#include "chart/ChartStrings.h"

#include "platform/framework/CWinApp.h"
#include "platform/resources/Resources.h"

BOOL ChartLoadString(UINT id, CString& text) {
    LPCWSTR pointer = nullptr;
    int length = LoadStringW(nullptr, id, reinterpret_cast<LPWSTR>(&pointer), 0);
    if (length <= 0 || !pointer) {
        text.Empty();
        return FALSE;
    }
    text = CString(pointer, length);
    return TRUE;
}

CString ChartString(UINT id) {
    CString text;
    ChartLoadString(id, text);
    return text;
}

void ChartMessageBox(const CString& text, UINT icon) {
    AfxMessageBox(text, icon);
}
