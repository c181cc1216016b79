#include "grid/CGXCheckBox.h"
#include "grid/CGXEditControl.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridWnd.h"
#include "grid/CGXHeader.h"
#include "grid/CGXProgressCtrl.h"
#include "grid/CGXPushbutton.h"
#include "grid/CGXStatic.h"
#include "grid/CGXStyle.h"
#include "grid/CGXStylesMap.h"
#include "grid/GridResourceIds.h"
#include "grid_features/CGXCellTipStatic.h"
#include "grid_features/CGXControlFactory.h"
#include "grid_input/CGXOleDateTimeImp.h"
#include "platform/base/CodePage.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/FrameworkResources.h"
#include "tests/grid/GridEngineTestSupport.h"
#include "tests/grid/GridTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

namespace {

// A factory that installs nothing, as an application's own.
class BareFactory : public CGXAbstractControlFactory {
public:
    CGXControl* CreateControl(UINT, CGXGridCore*) override { return nullptr; }
    void RegisterControls(CGXStylesMap*) override {}
    void RegisterUserAttributes(CGXStylesMap*) override {}
    void InstallGridFeatures(CGXGridCore*) override {}
    void InstallAppFeatures() override {}
    void RegisterWindowClasses(HINSTANCE) override {}
    void UnregisterWindowClasses(HINSTANCE) override {}
};

} // namespace

TEST(ControlFactory, RegistersEveryControlNameOnce) {
    CGXStylesMap map;
    CGXControlFactory factory;
    factory.RegisterControls(&map);
    factory.RegisterControls(&map);
    ASSERT_EQ(map.controlNames.size(), CGXControlFactory::kRegisteredControlCount);
    for (const auto& [id, name] : map.controlNames) {
        EXPECT_FALSE(name.IsEmpty()) << id;
    }
    EXPECT_EQ(map.controlNames.at(52523), CString(u"Checkbox, 3d-Effect"));
    for (WORD unregistered : {52530, 52533, 52538}) {
        EXPECT_EQ(map.controlNames.count(unregistered), 0u) << unregistered;
    }
}

TEST(ControlFactory, RegistersTheTooltipAndEllipsisAttributesWithTheirEditingStyles) {
    CGXStylesMap map;
    CGXControlFactory().RegisterUserAttributes(&map);
    const auto& attributes = map.GetUserAttributeInfoMap();
    ASSERT_EQ(attributes.count(51022), 1u);
    const CGXStyle& tooltip = *attributes.at(51022).style;
    EXPECT_TRUE(tooltip.GetIncludeWrapText() && tooltip.GetWrapText());
    EXPECT_TRUE(tooltip.GetIncludeAutoSize() && tooltip.GetAutoSize());
    ASSERT_EQ(attributes.count(52792), 1u);
    const CGXStyle& ellipsis = *attributes.at(52792).style;
    EXPECT_EQ(ellipsis.GetControlId(), 52529);
    CString kinds;
    kinds.LoadString(IDS_GRID_ELLIPSIS_KINDS);
    EXPECT_FALSE(kinds.IsEmpty());
    EXPECT_EQ(ellipsis.GetChoicesList(), kinds);
}

TEST(ControlFactory, InstalledFeaturesOutliveALaterFactory) {
    InitGridLibraryDefault();
    GridLibraryState& state = GridLibraryState::Instance();
    EXPECT_NE(dynamic_cast<CGXControlFactory*>(state.factory.get()), nullptr);
    EXPECT_NE(dynamic_cast<CGXOleDateTimeImp*>(state.dateTimeImp), nullptr);
    const std::set<void*> installed = {state.printDeviceImp,       state.styleCompareSubsetImp,
                                       state.styleSerializeImp,    state.serializeV5CompatibleImp,
                                       state.profileImp,           state.docSerializeImp,
                                       state.paramCopyOperatorImp, state.spanCellPoolImp,
                                       state.delayedRangePoolImp,  state.numberFormattingImp,
                                       state.dateTimeImp,          state.longOperationImp,
                                       state.coveredCellPoolImp};
    EXPECT_EQ(installed.count(nullptr), 0u);
    EXPECT_EQ(installed.size(), 13u);
    const size_t owned = state.ownedObjects.size();
    CGXAbstractDateTimeImp* dateTime = state.dateTimeImp;
    EXPECT_EQ(owned, installed.size());

    // Installing again adds nothing; an application's factory replaces only the factory.
    state.factory->InstallAppFeatures();
    InitGridLibrary(0, new BareFactory);
    EXPECT_NE(dynamic_cast<BareFactory*>(state.factory.get()), nullptr);
    EXPECT_EQ(state.ownedObjects.size(), owned);
    EXPECT_EQ(state.dateTimeImp, dateTime);
}

TEST(ControlFactory, RegistersTheLibrarysWindowClassesForDialogTemplates) {
    InitGridLibraryDefault();
    for (LPCTSTR name : {u"CGXGridWnd", u"CGXTabBeam", u"CGXTabWnd"}) {
        WNDCLASSW wc{};
        ASSERT_TRUE(::GetClassInfoW(AfxGetInstanceHandle(), name, &wc)) << Utf16ToUtf8(name);
        EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS | CS_GLOBALCLASS));
    }
    GridLibraryState::Instance().factory->UnregisterWindowClasses(AfxGetInstanceHandle());
    for (LPCTSTR name : {u"CGXGridWnd", u"CGXTabBeam", u"CGXTabWnd"}) {
        WNDCLASSW wc{};
        EXPECT_FALSE(::GetClassInfoW(AfxGetInstanceHandle(), name, &wc));
    }
}

TEST(ControlFactory, MakesCheckBoxPushButtonAndProgressCells) {
    CGXGridWnd grid;
    CGXControlFactory factory;
    const std::pair<UINT, const ControlTypeRecord*> made[] = {
        {52514, &CGXPushbutton::kTypeRecord},
        {52516, &CGXCheckBox::kTypeRecord},
        {52523, &CGXCheckBox::kTypeRecord},
        {52536, &CGXProgressCtrl::kTypeRecord},
    };
    for (const auto& [id, record] : made) {
        std::unique_ptr<CGXControl> control(factory.CreateControl(id, &grid));
        ASSERT_NE(control, nullptr) << id;
        EXPECT_TRUE(control->IsControlTypeOf(*record)) << id;
        EXPECT_TRUE(control->IsControlTypeOf(CGXControl::kTypeRecord)) << id;
    }
    std::unique_ptr<CGXControl> flat(factory.CreateControl(52516, &grid));
    EXPECT_EQ(static_cast<CGXCheckBox*>(flat.get())->GetScreenBitmapId(), UINT(IDB_GRID_CHECKBOX_FLAT));
    std::unique_ptr<CGXControl> threeD(factory.CreateControl(52523, &grid));
    EXPECT_NE(static_cast<CGXCheckBox*>(threeD.get())->GetScreenBitmapId(), UINT(IDB_GRID_CHECKBOX_FLAT));

    CGXStylesMap map;
    factory.RegisterUserAttributes(&map);
    for (WORD attribute : {51019, 51020, 51025, 51026, 51027}) {
        EXPECT_EQ(map.GetUserAttributeInfoMap().count(attribute), 1u) << attribute;
    }
}

TEST(ControlFactory, EveryGridGetsHiddenCoveredAndClearedCellsWithTheSpannedDrawingAndUndo) {
    InitGridLibraryDefault();
    CGXGridCore grid;
    std::vector<int> installed;
    for (int entry = 0; entry < kGridFeatureCount; ++entry) {
        if (grid.GetFeature(entry)) {
            installed.push_back(entry);
        }
    }
    EXPECT_EQ(installed, (std::vector<int>{kFeatureCoveredCells, kFeatureDrawSpannedCells, kFeatureUndoRedo,
                                           kFeatureHideCells, kFeatureClearCells}));
    EXPECT_NE(GridLibraryState::Instance().coveredCellPoolImp, nullptr);
}

TEST(ControlFactory, MakesTheEditForItsIdAndForIdsItDoesNotKnow) {
    CGXControlFactory factory;
    for (UINT id : {52512u, 61234u}) {
        std::unique_ptr<CGXControl> control(factory.CreateControl(id, nullptr));
        EXPECT_NE(dynamic_cast<CGXEditControl*>(control.get()), nullptr) << id;
    }
}

// The scrolling edit's window has its bar in a cell that wraps, even where the cell's style has none.
TEST(ControlFactory, MakesTheEditWithAScrollBarWithoutACellTip) {
    gridtest::TestGrid grid;
    gridtest::GridHost host(&grid);
    grid.Initialize();
    grid.SetRowCount(5);
    grid.SetColCount(5);
    CGXControlFactory factory;
    CGXControl* control = factory.CreateControl(52521, &grid);
    auto* edit = dynamic_cast<CGXEditControl*>(control);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->GetCellTip(), nullptr);
    grid.RegisterControl(52521, control, FALSE, FALSE);
    CGXStyle style;
    style.SetControlId(52521).SetWrapText(TRUE).SetVerticalScrollbar(FALSE);
    grid.SetStyleRange(CGXRange(2, 2, 2, 2), &style);
    grid.SetCurrentCell(2, 2);
    host.Paint();
    ::SendMessageW(grid.GetSafeHwnd(), WM_CHAR, u'x', 1);
    host.Paint();
    ASSERT_TRUE(edit->IsWindowVisible());
    EXPECT_TRUE(edit->GetStyle() & WS_VSCROLL);
    EXPECT_EQ(edit->GetDlgCtrlID(), 52521);
    grid.TransferCurrentCell(FALSE);
    AfxDeleteTempMaps();
}

TEST(ControlFactory, MakesTheStaticAndHeaderCells) {
    CGXControlFactory factory;
    std::unique_ptr<CGXControl> text(factory.CreateControl(52513, nullptr));
    std::unique_ptr<CGXControl> header(factory.CreateControl(52520, nullptr));
    ASSERT_TRUE(text && header);
    EXPECT_TRUE(text->IsControlTypeOf(CGXStatic::kTypeRecord));
    EXPECT_FALSE(text->IsControlTypeOf(CGXHeader::kTypeRecord));
    EXPECT_TRUE(header->IsControlTypeOf(CGXHeader::kTypeRecord));
}

TEST(ControlFactory, RegistersTheValidationAttributes) {
    CGXStylesMap map;
    CGXControlFactory().RegisterUserAttributes(&map);
    const auto& attributes = map.GetUserAttributeInfoMap();
    for (WORD bound : {51011, 51012}) {
        ASSERT_EQ(attributes.count(bound), 1u) << bound;
        EXPECT_EQ(attributes.at(bound).style->GetControlId(), 52519);
        EXPECT_FALSE(attributes.at(bound).style->GetWrapText());
    }
    ASSERT_EQ(attributes.count(51013), 1u);
    EXPECT_TRUE(attributes.at(51013).style->GetWrapText() && attributes.at(51013).style->GetAutoSize());
}

TEST(ControlFactory, GivesTheStaticTextControlsTheirCellTips) {
    CGXControlFactory factory;
    for (UINT id : {52512u, 52513u, 52520u}) {
        std::unique_ptr<CGXControl> control(factory.CreateControl(id, nullptr));
        ASSERT_TRUE(control);
        EXPECT_NE(dynamic_cast<CGXCellTipStatic*>(control->GetCellTip()), nullptr) << id;
    }
}
