// The grid library's complete control factory: every cell control by id, the control names and user
// attributes of a styles map, the per-grid features and the application-wide features. An application
// starts the library with it (InitGridLibraryDefault) and may then set a smaller factory of its own; the
// application-wide features this one installed stay.
#pragma once

#include "grid/CGXAbstractControlFactory.h"

class CGXControlFactory : public CGXAbstractControlFactory {
public:
    // The control for the id, which the caller owns; ids the factory does not know give the edit control.
    // Null for a control whose class has not come yet, and for the object preview in a grid that is not a
    // browser grid.
    CGXControl* CreateControl(UINT controlId, CGXGridCore* grid) override;
    void RegisterControls(CGXStylesMap* stylesMap) override;
    void RegisterUserAttributes(CGXStylesMap* stylesMap) override;
    void InstallGridFeatures(CGXGridCore* grid) override;
    void InstallAppFeatures() override;
    void RegisterWindowClasses(HINSTANCE instance) override;
    void UnregisterWindowClasses(HINSTANCE instance) override;

    // The ids RegisterControls registers, in its order.
    static const WORD kRegisteredControls[];
    static const size_t kRegisteredControlCount;
};

// Starts the grid library with a CGXControlFactory.
void InitGridLibraryDefault();
