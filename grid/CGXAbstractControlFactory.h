// What the grid library asks of a control factory: the cell controls by id, the control names and user
// attributes of a new styles map, the per-grid features of a new grid, the application-wide features and
// the window classes. The library state owns the current factory.
#pragma once

#include "platform/base/Win32Types.h"

class CGXControl;
class CGXGridCore;
class CGXStylesMap;

class CGXAbstractControlFactory {
public:
    virtual ~CGXAbstractControlFactory() = default;

    // A new control the caller owns, or null (the grid then uses its default control).
    virtual CGXControl* CreateControl(UINT controlId, CGXGridCore* grid) = 0;
    virtual void RegisterControls(CGXStylesMap* stylesMap) = 0;
    virtual void RegisterUserAttributes(CGXStylesMap* stylesMap) = 0;
    // Called by every grid's constructor.
    virtual void InstallGridFeatures(CGXGridCore* grid) = 0;
    // Called once for each factory set; installs only what is not installed yet.
    virtual void InstallAppFeatures() = 0;
    virtual void RegisterWindowClasses(HINSTANCE instance) = 0;
    virtual void UnregisterWindowClasses(HINSTANCE instance) = 0;

protected:
    CGXAbstractControlFactory() = default;
};
