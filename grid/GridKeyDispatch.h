// The key-message dispatch that cell controls and their children share: each message to its own operation,
// WM_CHAR joined with a pending lead surrogate first.
#pragma once

#include "grid/CGXControl.h"
#include "platform/display/WindowMessages.h"

template <class Target>
BOOL DispatchCellKeyMessage(Target& target, UINT message, WPARAM key, UINT repeat, UINT flags,
                            BOOL& pendingLead, WCHAR storedUnit) {
    const UINT k = static_cast<UINT>(key);
    switch (message) {
    case WM_KEYDOWN:
        return target.KeyDown(k, repeat, flags);
    case WM_KEYUP:
        return target.KeyUp(k, repeat, flags);
    case WM_CHAR: {
        CString text;
        if (CharToText(static_cast<WCHAR>(key), text, pendingLead, storedUnit)) {
            return text.IsEmpty() ? TRUE : target.TextTyped(text, repeat, flags);
        }
        return target.CharTyped(k, repeat, flags);
    }
    case WM_DEADCHAR:
        return target.DeadChar(k, repeat, flags);
    case WM_SYSKEYDOWN:
        return target.SysKeyDown(k, repeat, flags);
    case WM_SYSKEYUP:
        return target.SysKeyUp(k, repeat, flags);
    case WM_SYSCHAR:
        return target.SysChar(k, repeat, flags);
    case WM_SYSDEADCHAR:
        return target.SysDeadChar(k, repeat, flags);
    default:
        return FALSE;
    }
}
