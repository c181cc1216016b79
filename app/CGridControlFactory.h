// The program's own grid control factory: every grid the program makes (the satellites grid and the
// satellite-enable grid) gets just the cell controls and per-grid features it uses. InitInstance installs it
// after the library's complete factory, whose application-wide features stay.
#pragma once

#include "grid/CGXAbstractControlFactory.h"

class CGridControlFactory : public CGXAbstractControlFactory {
public:
    // The control for the id, which the caller owns; an id not in the table gives the edit control.
    CGXControl* CreateControl(UINT controlId, CGXGridCore* grid) override;
    void RegisterControls(CGXStylesMap* stylesMap) override;
    void RegisterUserAttributes(CGXStylesMap* stylesMap) override;
    // Hidden rows and columns, covered cells and clearing cells: nothing else (no undo, printing, sorting).
    void InstallGridFeatures(CGXGridCore* grid) override;
    void InstallAppFeatures() override;
    // The library's complete factory registered the grid's window classes already.
    void RegisterWindowClasses(HINSTANCE) override {}
    void UnregisterWindowClasses(HINSTANCE) override {}

    // The ids RegisterControls registers, in its order.
    static const WORD kRegisteredControls[7];
};

// The program's grid set-up at start: the library with its complete factory, then with this one (the
// application-wide features stay), the satellite-enable grid's window class and the library's options.
void SetUpProgramGrids();
