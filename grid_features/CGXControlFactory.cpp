#include "grid_features/CGXControlFactory.h"

#include "grid/CGXCheckBox.h"
#include "grid/CGXCoveredCellPool.h"
#include "grid/CGXEditControl.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridDocSerializeImp.h"
#include "grid/CGXGridParamCopyOperatorImp.h"
#include "grid/CGXGridProfileImp.h"
#include "grid/CGXGridWnd.h"
#include "grid/CGXHeader.h"
#include "grid/CGXLongOperationImp.h"
#include "grid/CGXProgressCtrl.h"
#include "grid/CGXPushbutton.h"
#include "grid/CGXStatic.h"
#include "grid/CGXStyle.h"
#include "grid/CGXStyleCompareSubsetImp.h"
#include "grid/CGXStyleSerializeImp.h"
#include "grid/CGXStylesMap.h"
#include "grid/CGXTabWnd.h"
#include "grid/GridLibraryState.h"
#include "grid/GridResourceIds.h"
#include "grid_features/CGXCellTipStatic.h"
#include "grid_features/CGXCommandFactory.h"
#include "grid_features/CGXDelayedRangePool.h"
#include "grid_features/CGXPrintDevice.h"
#include "grid_features/CGXSpanCellPool.h"
#include "grid_input/CGXNoOleDateTimeImp.h"
#include "grid_input/CGXNumberFormattingImp.h"
#include "grid_input/CGXOleDateTimeImp.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr UINT kEditControl = 52512;
constexpr UINT kScrollEditControl = 52521;
constexpr UINT kDropDownListControl = 52529;
constexpr WORD kTooltipTextAttribute = 51022;
constexpr WORD kEllipsisKindAttribute = 52792;

// A cell control's maker; the controls' classes come with the grid engine, and until then each id's
// maker is empty and the factory answers null.
using ControlMaker = CGXControl* (*)(CGXGridCore* grid);

template <class Control>
CGXControl* MakeControl(CGXGridCore* grid) {
    return new Control(grid);
}

struct ControlEntry {
    UINT id;
    ControlMaker make;
    // The control gets a static cell tip once made.
    bool tip;
};

CGXControl* MakeEdit(CGXGridCore* grid) {
    return new CGXEditControl(grid, kEditControl);
}

// The edit whose wrapped text always gets a vertical scroll bar, whatever the cell's style says; it stands
// for the extended scrolling edit cell until that arrives.
class ScrollBarEdit : public CGXEditControl {
public:
    ScrollBarEdit(CGXGridCore* grid, UINT id) : CGXEditControl(grid, id) {}
    DWORD CalcEditStyle(CRect& rect, int& lineHeight) override {
        SetScrollBarFlag(TRUE);
        return CGXEditControl::CalcEditStyle(rect, lineHeight);
    }
};

CGXControl* MakeScrollEdit(CGXGridCore* grid) {
    return new ScrollBarEdit(grid, kScrollEditControl);
}

CGXControl* MakeFlatCheckBox(CGXGridCore* grid) {
    return new CGXCheckBox(grid, FALSE);
}

CGXControl* Make3dCheckBox(CGXGridCore* grid) {
    return new CGXCheckBox(grid, TRUE);
}

const ControlEntry kControls[] = {
    {20128, nullptr, false}, // bitmap from a database field
    {20130, nullptr, false}, // check box with modify state, flat
    {20131, nullptr, false}, // check box with modify state, 3-D
    {20132, nullptr, false}, // object preview: only in a browser grid, null in any other
    {20136, nullptr, false}, // radio buttons with active state, 3-D
    {20137, nullptr, false}, // radio buttons with active state, flat
    {52512, MakeEdit, true}, // edit
    {52513, MakeControl<CGXStatic>, true},  // static text
    {52514, MakeControl<CGXPushbutton>, false}, // push button
    {52515, nullptr, false}, // radio buttons, flat
    {52516, MakeFlatCheckBox, false}, // check box, flat
    {52517, nullptr, true},  // combo box, no text-fit
    {52518, nullptr, true},  // hot-spot edit
    {52519, nullptr, true},  // spin edit
    {52520, MakeControl<CGXHeader>, true},  // header
    {52521, MakeScrollEdit, false}, // edit with scroll bar
    {52522, nullptr, true},  // list box
    {52523, Make3dCheckBox, false}, // check box, 3-D
    {52524, nullptr, false}, // radio buttons, 3-D
    {52525, nullptr, true},  // combo box, zero-based
    {52526, nullptr, true},  // combo box, one-based
    {52527, nullptr, true},  // combo box, text-fit
    {52528, nullptr, false}, // combo-box window
    {52529, nullptr, false}, // drop-down list window
    {52531, nullptr, true},  // combo box showing the choice, one-based
    {52532, nullptr, true},  // combo box showing the choice, zero-based
    {52534, nullptr, false}, // rich edit
    {52535, nullptr, true},  // masked edit
    {52536, MakeControl<CGXProgressCtrl>, false}, // progress bar
    {52537, nullptr, false}, // password edit
    {52539, nullptr, false}, // tabbed combo-box window (the tabbed combo box on a 16-bit host)
    {52540, nullptr, false}, // tabbed drop-down list window (likewise)
    {52541, nullptr, true},  // tabbed combo box
    {52542, nullptr, true},  // check-list combo box
    {52543, nullptr, true},  // date-time with pop-up calendar
    {52544, nullptr, true},  // date-time without calendar
    {52545, nullptr, true},  // currency
};

const ControlEntry* FindEntry(UINT controlId) {
    const auto found = std::find_if(std::begin(kControls), std::end(kControls),
                                    [&](const ControlEntry& entry) { return entry.id == controlId; });
    return found != std::end(kControls) ? found : nullptr;
}

} // namespace

const WORD CGXControlFactory::kRegisteredControls[] = {
    52512, 52520, 52527, 52517, 52526, 52525, 52531, 52532, 52528, 52529, 52522, 52513, 52514,
    52515, 52524, 52516, 52523, 20130, 20131, 20137, 20136, 52535, 52536, 52537, 52539, 52540,
    52541, 52534, 52542, 52519, 52518, 52521, 52543, 52544, 52545, 20128, 20132,
};
const size_t CGXControlFactory::kRegisteredControlCount = std::size(CGXControlFactory::kRegisteredControls);

CGXControl* CGXControlFactory::CreateControl(UINT controlId, CGXGridCore* grid) {
    const ControlEntry* entry = FindEntry(controlId);
    if (!entry) {
        entry = FindEntry(kEditControl);
    }
    CGXControl* control = entry->make ? entry->make(grid) : nullptr;
    if (control && entry->tip) {
        control->SetCellTip(new CGXCellTipStatic(control));
    }
    return control;
}

void CGXControlFactory::RegisterControls(CGXStylesMap* stylesMap) {
    for (WORD id : kRegisteredControls) {
        stylesMap->RegisterControl(id);
    }
}

void CGXControlFactory::RegisterUserAttributes(CGXStylesMap* stylesMap) {
    // Each control class registers its own attributes here, in the order edit base, spin edit, check box,
    // radio buttons with active state, masked edit, progress bar, tabbed combo box and window, date-time,
    // currency, as the classes arrive.
    CGXControl::RegisterUserAttributes(stylesMap);
    CGXCheckBox::RegisterUserAttributes(stylesMap);
    CGXProgressCtrl::RegisterUserAttributes(stylesMap);
    CGXStyle tooltip;
    tooltip.SetWrapText(TRUE).SetAutoSize(TRUE);
    stylesMap->RegisterUserAttribute(kTooltipTextAttribute, &tooltip);

    CString ellipsisKinds;
    ellipsisKinds.LoadString(IDS_GRID_ELLIPSIS_KINDS);
    CGXStyle ellipsis;
    ellipsis.SetControlId(kDropDownListControl).SetChoicesList(ellipsisKinds);
    stylesMap->RegisterUserAttribute(kEllipsisKindAttribute, &ellipsis);
}

void CGXControlFactory::InstallGridFeatures(CGXGridCore* grid) {
    // In the library's order; the features still to come (find and replace, auto-scroll, resize to fit,
    // update hints, sort, merged and floating cells, printing, selection, resizing, data exchange, cut and
    // paste, Excel-like frame and fill) take their places here as they arrive.
    InstallUndoRedo(grid);
    grid->InstallHideCells();
    grid->InstallCoveredCells();
    grid->InstallClearCells();
}

void CGXControlFactory::InstallAppFeatures() {
    // In the library's order; the objects still to come (rotated text, sort reordering, data copy and
    // move) take their places here as they arrive.
    InstallPrintDevice();
    InstallStyleCompareSubset();
    InstallStyleSerialize();
    InstallSerializeV5Compatible();
    InstallGridProfile();
    InstallGridDocSerialize();
    InstallGridParamCopyOperator();
    // The grid archive reads the pools of floating and merged cells.
    InstallSpanCellPool();
    InstallDelayedRangePool();
    InstallNumberFormatting();
    // The first date and time object installed stays: this one.
    InstallOleDateTime();
    InstallNoOleDateTime();
    InstallLongOperation();
    InstallCoveredCellPool();
}

void CGXControlFactory::RegisterWindowClasses(HINSTANCE instance) {
    CGXGridWnd::RegisterWndClass(instance);
    CGXTabBeam::RegisterClass(instance);
    CGXTabWnd::RegisterClass(instance);
}

void CGXControlFactory::UnregisterWindowClasses(HINSTANCE instance) {
    CGXGridWnd::UnregisterWndClass(instance);
    CGXTabBeam::UnregisterClass(instance);
    CGXTabWnd::UnregisterClass(instance);
}

void InitGridLibraryDefault() {
    InitGridLibrary(0, new CGXControlFactory);
}
