// The framework's way to the program's resources: menus, accelerators, icons, cursors, bitmaps and dialog
// templates all come through one provider. The default answers nothing (null with
// ERROR_RESOURCE_NAME_NOT_FOUND) when no resources are embedded, and reads the embedded ones otherwise, so
// frames and dialogs work with or without resources; tests may install a provider of their own. Strings go
// through CString's loader hook instead.
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/WindowTypes.h"
// The window and resource calls' names (LoadMenu, LoadIcon, ...) are macros there: seeing them everywhere
// keeps the member names below the same in every file.
#include "platform/display/User.h"
#include "platform/resources/Resources.h"

#include <cstddef>

class AfxResourceProvider {
public:
    virtual ~AfxResourceProvider() = default;
    virtual HMENU LoadMenu(HINSTANCE instance, LPCWSTR name);
    virtual HACCEL LoadAccelerators(HINSTANCE instance, LPCWSTR name);
    virtual HICON LoadIcon(HINSTANCE instance, LPCWSTR name);
    virtual HCURSOR LoadCursor(HINSTANCE instance, LPCWSTR name);
    virtual HBITMAP LoadBitmap(HINSTANCE instance, LPCWSTR name);
    // The bytes of a dialog template (valid as long as the provider lives); null when there is none.
    virtual const void* FindDialogTemplate(HINSTANCE instance, LPCWSTR name, size_t* size);
};

// Installs a provider (the caller keeps it alive); null restores the default. Answers the previous one.
AfxResourceProvider* AfxSetResourceProvider(AfxResourceProvider* provider);
AfxResourceProvider& AfxGetResourceProvider();

HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE instance);
