// The program's grid control factory: the controls and user attributes a grid's styles map gets, and the
// per-grid features a grid made after start-up has.
#include "app/CGridControlFactory.h"
#include "dialogs/CSatsDataGrid.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXCheckBox.h"
#include "grid/CGXEditControl.h"
#include "grid/CGXHeader.h"
#include "grid/CGXProgressCtrl.h"
#include "grid/CGXStatic.h"
#include "grid/CGXStylesMap.h"
#include "grid/GridCoreFeatures.h"
#include "grid/GridLibraryState.h"
#include "grid/GridResourceIds.h"
#include "tests/app/GridTestHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>
#include <vector>

namespace {

TEST(GridControlFactoryTest, StylesMapGetsTheSevenControlsAndTheirAttributes) {
    apptest::GridTestHost host;
    CGXStylesMap map;
    CGridControlFactory factory;
    factory.RegisterControls(&map);
    factory.RegisterUserAttributes(&map);
    std::vector<WORD> controls;
    for (const auto& [id, name] : map.controlNames) {
        controls.push_back(id);
        EXPECT_FALSE(name.IsEmpty()) << id;
    }
    EXPECT_EQ(controls, (std::vector<WORD>{IDS_GRID_CTRL_EDIT, IDS_GRID_CTRL_STATIC, IDS_GRID_CTRL_PUSHBUTTON,
                                           IDS_GRID_CTRL_CHECKBOX, IDS_GRID_CTRL_HEADER, IDS_GRID_CTRL_CHECKBOX_3D,
                                           IDS_GRID_CTRL_PROGRESS}));
    for (WORD id : {IDS_GRID_UA_VALID_MSG, IDS_GRID_UA_VALID_MAX, IDS_GRID_UA_VALID_MIN,
                    IDS_GRID_UA_CHECKBOX_CHECKED, IDS_GRID_UA_CHECKBOX_UNCHECKED, IDS_GRID_UA_PROGRESS_HIGH,
                    IDS_GRID_UA_PROGRESS_LOW, IDS_GRID_UA_PROGRESS_CAPTION}) {
        EXPECT_EQ(map.GetUserAttributeInfoMap().count(id), 1u) << id;
    }
}

TEST(GridControlFactoryTest, ControlsAreMadeByIdAndUnknownIdsAsTheEditControl) {
    apptest::GridTestHost host;
    CSatsDataGrid grid;
    CGridControlFactory factory;
    const std::unique_ptr<CGXControl> staticText(factory.CreateControl(IDS_GRID_CTRL_STATIC, &grid));
    EXPECT_NE(dynamic_cast<CGXStatic*>(staticText.get()), nullptr);
    const std::unique_ptr<CGXControl> header(factory.CreateControl(IDS_GRID_CTRL_HEADER, &grid));
    EXPECT_NE(dynamic_cast<CGXHeader*>(header.get()), nullptr);
    const std::unique_ptr<CGXControl> progress(factory.CreateControl(IDS_GRID_CTRL_PROGRESS, &grid));
    EXPECT_NE(dynamic_cast<CGXProgressCtrl*>(progress.get()), nullptr);
    const std::unique_ptr<CGXControl> checkBox(factory.CreateControl(IDS_GRID_CTRL_CHECKBOX_3D, &grid));
    EXPECT_NE(dynamic_cast<CGXCheckBox*>(checkBox.get()), nullptr);
    const std::unique_ptr<CGXControl> unknown(factory.CreateControl(12345, &grid));
    const std::unique_ptr<CGXControl> edit(factory.CreateControl(IDS_GRID_CTRL_EDIT, &grid));
    EXPECT_NE(dynamic_cast<CGXEditControl*>(edit.get()), nullptr);
    EXPECT_NE(dynamic_cast<CGXEditControl*>(unknown.get()), nullptr);
}

TEST(GridControlFactoryTest, GridMadeAfterStartUpHasItsThreeFeaturesAndNoUndoPrintingOrSorting) {
    apptest::GridTestHost host;
    EXPECT_NE(dynamic_cast<CGridControlFactory*>(GridLibraryState::Instance().factory.get()), nullptr);
    CSatsDataGrid grid;
    for (int feature : {kFeatureHideCells, kFeatureCoveredCells, kFeatureDrawSpannedCells, kFeatureClearCells}) {
        EXPECT_NE(grid.GetFeature(feature), nullptr) << feature;
    }
    for (int feature : {kFeatureUndoRedo, kFeaturePrint, kFeatureSort, kFeatureFindReplace, kFeatureCutPaste,
                        kFeatureUserSelectRange, kFeatureUserResizeCells}) {
        EXPECT_EQ(grid.GetFeature(feature), nullptr) << feature;
    }
}

} // namespace
