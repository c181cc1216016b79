// Key messages to the key operations of a cell control or child object: one per message, a typed
// character joined to a pending lead surrogate going on as text.
#pragma once

#include "grid/CGXControl.h"
#include "platform/display/WindowMessages.h"

template <class Target>
BOOL DispatchCellKey(Target& target, UINT message, WPARAM key, UINT repeat, UINT flags, BOOL& pendingLead,
                     WCHAR storedUnit) {
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
