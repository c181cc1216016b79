#include "grid/CGXData.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXGridParamCopyOperatorImp.h"
#include "grid/CGXProperties.h"
#include "grid/CGXStyleCompareSubsetImp.h"
#include "grid/CGXStylesMap.h"
#include "grid/CGXUserAttribute.h"
#include "grid/GridResourceIds.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/SystemColors.h"
#include "tests/grid/GridTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

void StoreValue(CGXData& data, ROWCOL row, ROWCOL col, LPCTSTR value) {
    data.SetRowCount(std::max(data.GetRowCount(), row));
    data.SetColCount(std::max(data.GetColCount(), col));
    CGXStyle style;
    style.SetValue(value);
    data.StoreStyle(row, col, &style, kMergeOverride, 0);
}

CString StoredValue(const CGXData& data, ROWCOL row, ROWCOL col) {
    CGXStyle style;
    data.GetStyle(row, col, style, kMergeOverride, 0);
    return style.GetValue();
}

TEST(StyleSubsetTest, ContainmentTable) {
    InstallStyleCompareSubset();
    const auto style = [] { return CGXStyle(); };
    CGXStyle rich;
    rich.SetHorizontalAlignment(1).SetValue(u"v").SetFont(CGXFont().SetSize(10));
    rich.SetBorders(kBorderTop, CGXPenValue(PS_SOLID, 1, RGB(0, 0, 0)));
    rich.SetBorders(kBorderLeft, CGXPenValue(PS_DOT, 1, RGB(0, 0, 0)));
    rich.SetTextColor(SystemColorValue(COLOR_WINDOWTEXT));
    rich.SetUserAttribute(1, u"one").SetUserAttribute(2, u"two");

    struct Case {
        const char* what;
        CGXStyle other;
        bool contained;
    };
    const Case cases[] = {
        {"an empty style", style(), true},
        {"the same alignment", style().SetHorizontalAlignment(1), true},
        {"another alignment", style().SetHorizontalAlignment(2), false},
        {"a bold font where the style sets no weight", style().SetFont(CGXFont().SetWeight(700)), false},
        {"a font part it has", style().SetFont(CGXFont().SetSize(10)), true},
        {"one of its pens", style().SetBorders(kBorderLeft, CGXPenValue(PS_DOT, 1, RGB(0, 0, 0))), true},
        {"a pen it lacks", style().SetBorders(kBorderRight, CGXPenValue(PS_DOT, 1, RGB(0, 0, 0))), false},
        {"the value in another case", style().SetValue(u"V"), false},
        {"its system colour by present value",
         style().SetTextColor(GetSysColor(COLOR_WINDOWTEXT)), true},
        {"an attribute it lacks", style().SetReadOnly(FALSE), false},
        {"an attribute with a higher id among its own", style().SetUserAttribute(2, u"two"), true},
        {"an attribute of another value", style().SetUserAttribute(1, u"uno"), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rich.CompareSubset(c.other), c.contained ? TRUE : FALSE) << c.what;
    }
    EXPECT_FALSE(CGXStyle().CompareSubset(rich));
}

class ParamCopyTest : public ::testing::Test {
protected:
    void SetUp() override { InstallGridParamCopyOperator(); }
};

TEST_F(ParamCopyTest, StylesMapCopyKeepsIdsAndStandardStyles) {
    CGXStylesMap source;
    source.RegisterStyle(u"First", CGXStyle().SetValue(u"1"));
    source.CreateStandardStyles();
    source.RegisterUserAttribute(IDS_GRID_UA_CHECKBOX_CHECKED);
    source.profileSection = u"Elsewhere";

    CGXStylesMap copy(source);
    EXPECT_EQ(copy.nextStyleId, source.nextStyleId);
    EXPECT_EQ(copy.standardStyleId, source.standardStyleId);
    EXPECT_EQ(copy.rowHeaderStyleId, source.rowHeaderStyleId);
    EXPECT_EQ(copy.GetBaseStyleIdByName(u"First"), source.GetBaseStyleIdByName(u"First"));
    EXPECT_EQ(copy.profileSection, u"Elsewhere");
    EXPECT_EQ(copy.GetUserAttributeInfoMap().size(), 1u);
    const CGXStyle* a = nullptr;
    const CGXStyle* b = nullptr;
    ASSERT_TRUE(copy.LookupBaseStyle(copy.GetBaseStyleIdByName(u"First"), a));
    ASSERT_TRUE(source.LookupBaseStyle(source.GetBaseStyleIdByName(u"First"), b));
    EXPECT_NE(a, b) << "styles are cloned";
    EXPECT_EQ(a->GetValue(), u"1");
}

TEST_F(ParamCopyTest, PropertiesCopy) {
    CGXProperties source;
    source.AddDefaultUserProperties();
    source.AddColor(u"Extra", RGB(4, 5, 6));
    source.margins[2] = 33;
    source.threeDHeader = FALSE;
    StoreValue(source.GetHeaderCells(), 1, 1, u"head");
    CGXProperties copy;
    copy = source;
    EXPECT_EQ(copy.GetColorCount(), source.GetColorCount());
    EXPECT_EQ(copy.GetColor(copy.GetColorCount() - 1), RGB(4, 5, 6));
    EXPECT_EQ(copy.margins[2], 33);
    EXPECT_FALSE(copy.threeDHeader);
    EXPECT_EQ(copy.GetUserProperties().size(), source.GetUserProperties().size());
    EXPECT_NE(&copy.GetUserProperty(IDS_GRID_PROP_CURRENT_CELL), &source.GetUserProperty(IDS_GRID_PROP_CURRENT_CELL));
    EXPECT_EQ(StoredValue(copy.GetHeaderCells(), 1, 1), u"head");
}

TEST_F(ParamCopyTest, ParameterCopyGivesObjectsOfItsOwnWithTheSourcesFlags) {
    CGXStylesMap shared;
    shared.CreateStandardStyles();
    CGXGridParam source;
    source.SetStylesMap(&shared, FALSE);
    source.SetProperties(new CGXProperties, TRUE);
    source.SetData(new CGXData, TRUE);
    StoreValue(*source.GetData(), 2, 3, u"x");
    source.m_strTabName = u"Sheet";
    source.m_nFrozenRows = 2;
    source.m_coveredRanges.AddRange(new CGXRange(1, 1, 2, 2));
    source.m_abHiddenRows.Add(0x5);
    source.m_bHintCurrentCell = TRUE;
    source.m_wDisplayFlags = 2;

    for (int round = 0; round < 2; ++round) { // a second copy replaces what the first made
        CGXGridParam copy;
        copy.Assign(source);
        copy.Assign(source);
        EXPECT_NE(copy.GetStylesMap(), &shared);
        ASSERT_NE(copy.GetStylesMap(), nullptr);
        EXPECT_EQ(copy.GetStylesMap()->standardStyleId, shared.standardStyleId);
        EXPECT_FALSE(copy.m_bOwnStylesMap) << "the flag is the source's";
        EXPECT_TRUE(copy.m_bOwnData);
        EXPECT_NE(copy.GetData(), source.GetData());
        EXPECT_EQ(StoredValue(*copy.GetData(), 2, 3), u"x");
        EXPECT_EQ(copy.m_strTabName, u"Sheet");
        EXPECT_EQ(copy.m_nFrozenRows, 2u);
        EXPECT_EQ(copy.m_coveredRanges.GetCount(), 1);
        EXPECT_EQ(copy.m_abHiddenRows.GetSize(), 1);
        EXPECT_FALSE(copy.m_bHintCurrentCell) << "the version-3 flags are not copied";
        EXPECT_EQ(copy.m_wDisplayFlags, 0) << "nor the display flags";
    }
}

} // namespace
