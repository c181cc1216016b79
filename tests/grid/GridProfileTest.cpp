#include "grid/CGXGridProfileImp.h"
#include "grid/CGXProperties.h"
#include "grid/CGXStyle.h"
#include "grid/CGXStylesMap.h"
#include "grid/GridResourceIds.h"
#include "platform/framework/CWinApp.h"
#include "platform/gdi/Gdi.h"
#include "tests/grid/GridEngineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

// An application whose profile is the test's own settings hive: the registry layout with a registry key,
// the flat layout of INI files without one.
class GridProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallGridProfile();
        app = std::make_unique<CWinApp>(u"GridProfile");
        app->SetRegistryKey(u"Doliva");
    }
    void UseFlatLayout() {
        app = std::make_unique<CWinApp>(u"GridProfileFlat");
        ASSERT_EQ(app->m_pszRegistryKey, nullptr);
    }
    CString Key(LPCTSTR section, LPCTSTR key) { return app->GetProfileString(section, key, u"<none>"); }

    std::unique_ptr<CWinApp> app;
};

TEST_F(GridProfileTest, StyleRoundTripWritesTheDocumentedTexts) {
    CGXStylesMap map;
    map.CreateStandardStyles();
    map.RegisterUserAttribute(IDS_GRID_UA_CHECKBOX_CHECKED);

    CGXStyle style;
    style.SetHorizontalAlignment(2).SetVerticalAlignment(4).SetReadOnly(TRUE).SetControlId(52516);
    style.SetMaxLength(12).SetBaseStyle(map.standardStyleId).SetTextColor(RGB(10, 20, 30));
    style.SetChoicesList(u"A\nB\\C").SetFormat(3).SetPlaces(2).SetWrapText(TRUE);
    style.SetFont(CGXFont().SetFaceName(u"Arial").SetSize(10).SetWeight(700));
    style.SetInterior(CGXBrushValue().SetBrush(CGXBrushValue::kSolid, RGB(255, 0, 0), 0));
    style.SetBorders(kBorderBottom, CGXPenValue(PS_DOT, 2, RGB(1, 2, 3)));
    style.SetUserAttribute(IDS_GRID_UA_CHECKBOX_CHECKED, u"yes");
    style.WriteProfile(u"Cell", &map);

    EXPECT_EQ(Key(u"Cell", u"ChoicesList"), u"A\\nB\\\\C");
    EXPECT_EQ(Key(u"Cell", u"BaseStyle"), u"#52768");
    EXPECT_EQ(Key(u"Cell", u"TextColor"), u"10 20 30");
    EXPECT_EQ(Key(u"Cell", u"Font"), u"Arial,10,700,,,,");
    EXPECT_EQ(Key(u"Cell", u"Borders"), u"1");
    EXPECT_EQ(Key(u"Cell", u"Top"), u"<none>") << "a side that is not set has no key";
    EXPECT_EQ(Key(u"Cell", u"Value"), u"<none>") << "a style without value has no Value key";

    CGXStyle read;
    read.SetValue(u"old");
    ASSERT_TRUE(read.ReadProfile(u"Cell", &map));
    EXPECT_FALSE(read.GetIncludeValue()) << "reading clears the style first";
    EXPECT_EQ(read.GetChoicesList(), u"A\r\nB\\C") << "line feeds come back as CR LF";
    style.SetChoicesList(u"A\r\nB\\C");
    EXPECT_EQ(read.GetIncludeMask(), style.GetIncludeMask());
    EXPECT_EQ(read.GetHorizontalAlignment(), 2);
    EXPECT_EQ(read.GetVerticalAlignment(), 4);
    EXPECT_EQ(read.GetControlId(), 52516);
    EXPECT_EQ(read.GetMaxLength(), 12);
    EXPECT_EQ(read.GetBaseStyle(), map.standardStyleId);
    EXPECT_EQ(read.GetTextColor(), RGB(10, 20, 30));
    EXPECT_EQ(read.GetFormat(), 3);
    EXPECT_EQ(read.GetPlaces(), 2);
    EXPECT_TRUE(read.GetFont() == style.GetFont());
    EXPECT_TRUE(read.GetInterior() == style.GetInterior());
    EXPECT_TRUE(read.GetBorders(kBorderBottom) == style.GetBorders(kBorderBottom));
    EXPECT_FALSE(read.HasBorder(kBorderTop));
    EXPECT_EQ(read.GetUserAttribute(IDS_GRID_UA_CHECKBOX_CHECKED).GetValue(), u"yes");

    // Writing again without the value and borders deletes their keys.
    style.SetIncludeBorders(kBorderAll, FALSE);
    style.WriteProfile(u"Cell", &map);
    EXPECT_EQ(Key(u"Cell", u"Borders"), u"<none>");
}

TEST_F(GridProfileTest, DamagedOrForeignEntriesAreSkipped) {
    CGXStylesMap map;
    map.CreateStandardStyles();
    struct Entry {
        LPCTSTR key;
        LPCTSTR value;
    };
    for (const Entry& entry : {Entry{u"HorizontalAlignment", u"7"}, Entry{u"VerticalAlignment", u"3"},
                               Entry{u"ReadOnly", u"yes"}, Entry{u"ControlId", u"70000"},
                               Entry{u"MaxLength", u"12abc"}, Entry{u"TextColor", u"1 2"},
                               Entry{u"Interior", u"0 0"}, Entry{u"BaseStyle", u"#x"}, Entry{u"Places", u"-1"},
                               Entry{u"Borders", u"1"}, Entry{u"Left", u"junk"}, Entry{u"WrapText", u"1"}}) {
        app->WriteProfileString(u"Hand", entry.key, entry.value);
    }
    CGXStyle read;
    ASSERT_TRUE(read.ReadProfile(u"Hand", &map));
    EXPECT_EQ(read.GetIncludeMask(), 1u << kStyleWrapText) << "only the sound entry is taken";
}

TEST_F(GridProfileTest, StylesMapInBothLayouts) {
    for (const bool flat : {false, true}) {
        SCOPED_TRACE(flat ? "flat layout" : "registry layout");
        if (flat) {
            UseFlatLayout();
        }
        CGXStylesMap map;
        map.CreateStandardStyles();
        map.RegisterStyle(u"Mine", CGXStyle().SetValue(u"m").SetBaseStyle(map.standardStyleId));
        map.WriteProfile();
        const CString standardSection = flat ? u"Styles.#52768" : u"Styles\\#52768";
        EXPECT_NE(Key(standardSection, u"Interior"), u"<none>");
        EXPECT_EQ(Key(flat ? u"Styles.Mine" : u"Styles\\Mine", u"Value"), u"m");
        if (flat) {
            EXPECT_EQ(Key(u"Styles", u"Mine"), u"1");
        }

        // The standard style loses an attribute in the profile: reading gives it the default again.
        app->WriteProfileString(standardSection, u"ControlId", nullptr);
        CGXStylesMap read;
        ASSERT_TRUE(read.ReadProfile());
        const CGXStyle* standard = nullptr;
        ASSERT_TRUE(read.LookupBaseStyle(read.standardStyleId, standard));
        EXPECT_EQ(standard->GetControlId(), kEditControlId);
        EXPECT_EQ(read.GetBaseStyleIdByResource(IDS_GRID_STYLE_ROW_HEADER), read.rowHeaderStyleId);
        const CGXStyle* mine = nullptr;
        ASSERT_TRUE(read.LookupBaseStyle(read.GetBaseStyleIdByName(u"Mine"), mine));
        EXPECT_EQ(mine->GetValue(), u"m");

        // Writing again replaces what was stored.
        CGXStylesMap fewer;
        fewer.RegisterStyle(u"Only", CGXStyle().SetValue(u"o"));
        fewer.WriteProfile();
        CGXStylesMap again;
        ASSERT_TRUE(again.ReadProfile());
        EXPECT_EQ(again.baseStyles.size(), 1u);
    }
}

TEST_F(GridProfileTest, AnEmptySectionLeavesTheMapAsItWas) {
    CGXStylesMap map;
    map.profileSection = u"Nothing Here";
    map.RegisterStyle(u"Kept", CGXStyle());
    EXPECT_FALSE(map.ReadProfile());
    EXPECT_EQ(map.baseStyles.size(), 1u);
}

TEST_F(GridProfileTest, PropertiesRoundTripAndPartialEntries) {
    CGXProperties properties;
    properties.AddDefaultUserProperties();
    properties.verticalLines = FALSE;
    properties.printFrame = FALSE;
    const LONG margins[4] = {11, 22, 33, 44};
    std::copy(margins, margins + 4, properties.margins);
    properties.headerDistance = 5;
    properties.startPageNumber = 3;
    properties.colors[CGXProperties::kColorGridLines] = RGB(1, 2, 3);
    properties.WriteProfile();
    EXPECT_EQ(Key(u"Grid", u"Margins"), u"11,22,33,44");

    CGXProperties read;
    read.AddDefaultUserProperties();
    ASSERT_TRUE(read.ReadProfile());
    EXPECT_FALSE(read.verticalLines);
    EXPECT_FALSE(read.printFrame);
    EXPECT_EQ(read.margins[3], 44);
    EXPECT_EQ(read.headerDistance, 5);
    EXPECT_EQ(read.startPageNumber, 3);
    EXPECT_EQ(read.GetColor(CGXProperties::kColorGridLines), RGB(1, 2, 3));

    // Hand-edited: two margins set only those two; damaged entries keep what there is.
    app->WriteProfileString(u"Grid", u"Margins", u"7, 8");
    app->WriteProfileString(u"Grid", u"HorizontalLines", u"maybe");
    app->WriteProfileString(u"Grid", u"Distances", u"x,9");
    ASSERT_TRUE(read.ReadProfile());
    EXPECT_EQ(read.margins[0], 7);
    EXPECT_EQ(read.margins[1], 8);
    EXPECT_EQ(read.margins[3], 44);
    EXPECT_TRUE(read.horizontalLines);
    EXPECT_EQ(read.headerDistance, 5);

    CGXProperties missing;
    missing.profileSection = u"No Grid";
    EXPECT_FALSE(missing.ReadProfile());
}

TEST_F(GridProfileTest, ANewGridReadsItsSettingsFromTheProfileOnlyWhenTheLibrarySaysSo) {
    CGXProperties properties;
    properties.AddDefaultUserProperties();
    properties.verticalLines = FALSE;
    properties.WriteProfile();
    CGXStylesMap map;
    map.CreateStandardStyles();
    map.RegisterStyle(u"Mine", CGXStyle().SetValue(u"m").SetBaseStyle(map.standardStyleId));
    map.WriteProfile();

    for (const BOOL read : {FALSE, TRUE}) {
        GridLibraryState::Instance().readProfile = read;
        gridtest::TestGrid grid;
        gridtest::GridHost host(&grid);
        grid.Initialize();
        EXPECT_EQ(grid.GetParam()->GetProperties()->verticalLines, !read);
        EXPECT_EQ(grid.GetParam()->GetStylesMap()->GetBaseStyleIdByName(u"Mine") != 0, read != FALSE);
        AfxDeleteTempMaps();
    }
    GridLibraryState::Instance().readProfile = FALSE;
}

TEST(GridTextFormTest, FontTextForm) {
    CGXFont font;
    font.SetFaceName(u"Arial").SetSize(10.5).SetWeight(700).SetItalic(TRUE).SetUnderline(FALSE);
    font.SetStrikeOut(FALSE).SetOrientation(900);
    EXPECT_EQ(font.GetDescription(), u"Arial,10,700,1,0,0,900") << "sizes go in whole points";
    CGXFont read;
    read.SetDescription(u"Arial,10,700,1,0,0,900");
    EXPECT_EQ(read.GetDescription(), u"Arial,10,700,1,0,0,900");
    EXPECT_EQ(CGXFont().GetDescription(), u",,,,,,");

    CGXFont sizeOnly;
    sizeOnly.SetWeight(400).SetDescription(u",12");
    EXPECT_EQ(sizeOnly.GetDescription(), u",12,,,,,") << "reading clears first";
    CGXFont faceOnly;
    faceOnly.SetDescription(u"Courier New");
    EXPECT_EQ(faceOnly.GetDescription(), u"Courier New,,,,,,");
}

TEST(GridTextFormTest, BrushTextForm) {
    CGXBrushValue brush;
    brush.SetDescription(u"0 0 255 0 0 255 255 255 0");
    EXPECT_EQ(brush.GetStyle(), CGXBrushValue::kSolid);
    EXPECT_EQ(brush.GetColor(), RGB(255, 0, 0));
    EXPECT_EQ(brush.GetBkColor(), RGB(255, 255, 255));
    EXPECT_EQ(brush.GetDescription(), u"0 0 255 0 0 255 255 255 0");

    CGXBrushValue system;
    system.SetPattern(5).SetStyle(CGXBrushValue::kPattern);
    system.SetColor(SystemColorValue(COLOR_BTNFACE));
    CGXBrushValue read;
    read.SetDescription(system.GetDescription());
    EXPECT_TRUE(read == system) << "pattern and system colour survive";

    CGXBrushValue shortText;
    shortText.SetHatch(3).SetColor(RGB(9, 9, 9));
    shortText.SetDescription(u"  2   1 ");
    EXPECT_EQ(shortText.GetHatch(), 3u) << "too few fields keep style and hatch";
    EXPECT_EQ(shortText.GetColor(), 0u);
}

} // namespace
