#include "app/CGridControlFactory.h"
#include "dialogs/CSatEnableGridWnd.h"

#include "grid/CGXCheckBox.h"
#include "grid/CGXCoveredCellPool.h"
#include "grid/CGXEditControl.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXHeader.h"
#include "grid/CGXProgressCtrl.h"
#include "grid/CGXPushbutton.h"
#include "grid/CGXStatic.h"
#include "grid/CGXStylesMap.h"
#include "grid/GridLibraryState.h"
#include "grid/GridResourceIds.h"
#include "grid_features/CGXControlFactory.h"

#include <algorithm>
#include <iterator>

namespace {

// A cell control's maker; an id the factory does not know gets the edit control.
using ControlMaker = CGXControl* (*)(CGXGridCore* grid);

template <class Control>
CGXControl* MakeControl(CGXGridCore* grid) {
    return new Control(grid);
}

CGXControl* MakeEdit(CGXGridCore* grid) {
    return new CGXEditControl(grid, IDS_GRID_CTRL_EDIT);
}

CGXControl* MakeFlatCheckBox(CGXGridCore* grid) {
    return new CGXCheckBox(grid, FALSE);
}

CGXControl* Make3dCheckBox(CGXGridCore* grid) {
    return new CGXCheckBox(grid, TRUE);
}

struct ControlEntry {
    UINT id;
    ControlMaker make;
};

const ControlEntry kControls[] = {
    {IDS_GRID_CTRL_EDIT, MakeEdit},                 // edit
    {IDS_GRID_CTRL_STATIC, MakeControl<CGXStatic>}, // static text
    {IDS_GRID_CTRL_PUSHBUTTON, MakeControl<CGXPushbutton>}, // push button
    {IDS_GRID_CTRL_CHECKBOX, MakeFlatCheckBox},     // check box, flat
    {IDS_GRID_CTRL_HEADER, MakeControl<CGXHeader>}, // header
    {IDS_GRID_CTRL_CHECKBOX_3D, Make3dCheckBox},   // check box, 3-D
    {IDS_GRID_CTRL_PROGRESS, MakeControl<CGXProgressCtrl>}, // progress bar
};

const ControlEntry& FindEntry(UINT controlId) {
    const auto found = std::find_if(std::begin(kControls), std::end(kControls),
                                    [&](const ControlEntry& entry) { return entry.id == controlId; });
    return found != std::end(kControls) ? *found : kControls[0];
}

// The user attributes of the controls the factory makes: validation (every control), the check box's
// values and the progress bar's bounds and caption.
const WORD kUserAttributes[] = {
    IDS_GRID_UA_VALID_MSG,          IDS_GRID_UA_VALID_MAX,        IDS_GRID_UA_VALID_MIN,
    IDS_GRID_UA_CHECKBOX_CHECKED,   IDS_GRID_UA_CHECKBOX_UNCHECKED, IDS_GRID_UA_PROGRESS_HIGH,
    IDS_GRID_UA_PROGRESS_LOW,       IDS_GRID_UA_PROGRESS_CAPTION,
};

} // namespace

const WORD CGridControlFactory::kRegisteredControls[7] = {
    IDS_GRID_CTRL_EDIT,       IDS_GRID_CTRL_HEADER,      IDS_GRID_CTRL_STATIC,   IDS_GRID_CTRL_PUSHBUTTON,
    IDS_GRID_CTRL_CHECKBOX,   IDS_GRID_CTRL_CHECKBOX_3D, IDS_GRID_CTRL_PROGRESS,
};

CGXControl* CGridControlFactory::CreateControl(UINT controlId, CGXGridCore* grid) {
    const ControlEntry& entry = FindEntry(controlId);
    return entry.make(grid);
}

void CGridControlFactory::RegisterControls(CGXStylesMap* stylesMap) {
    for (WORD id : kRegisteredControls) {
        stylesMap->RegisterControl(id);
    }
}

void CGridControlFactory::RegisterUserAttributes(CGXStylesMap* stylesMap) {
    for (WORD id : kUserAttributes) {
        stylesMap->RegisterUserAttribute(id);
    }
}

void CGridControlFactory::InstallGridFeatures(CGXGridCore* grid) {
    grid->InstallHideCells();
    grid->InstallCoveredCells(); // with the spanned drawing and the covered-cell pools
    grid->InstallClearCells();
}

void CGridControlFactory::InstallAppFeatures() {
    InstallCoveredCellPool();
}

void SetUpProgramGrids() {
    InitGridLibraryDefault();
    InitGridLibrary(0, new CGridControlFactory);
    RegisterSatEnableGridClass();
    SetGridLibraryOptions(1, 2, 1);
}
