#include "grid/CGXData.h"
#include "grid/CGXGridDocSerializeImp.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXProperties.h"
#include "grid/CGXStyleSerializeImp.h"
#include "grid/CGXStylesMap.h"
#include "grid/CGXUserAttribute.h"
#include "grid/GridSysColorCache.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/SystemColors.h"
#include "tests/grid/GridTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using gridtest::Bytes;

namespace {

constexpr WORD kCheckBox = 52523;

// A parameter object like the satellite-enable grid's: 4 rows x 16 columns, numbers in rows 1 and 3, check
// boxes in rows 2 and 4, with a few of the rarer attributes on the way.
std::unique_ptr<CGXGridParam> MakeParam() {
    auto param = std::make_unique<CGXGridParam>();
    auto* map = new CGXStylesMap;
    map->CreateStandardStyles();
    param->SetStylesMap(map);
    param->SetProperties(new CGXProperties);
    auto* data = new CGXData;
    data->SetRowCount(4);
    data->SetColCount(16);
    for (ROWCOL col = 1; col <= 16; ++col) {
        CGXStyle style;
        style.SetHorizontalAlignment(1).SetValueUnsigned(col);
        data->StoreStyle(1, col, &style, kMergeOverride, 0);
        style.SetValueUnsigned(col + 16);
        data->StoreStyle(3, col, &style, kMergeOverride, 0);
        CGXStyle check;
        check.SetControlId(kCheckBox).SetValue(col % 2 ? u"1" : u"0");
        data->StoreStyle(2, col, &check, kMergeOverride, 0);
        data->StoreStyle(4, col, &check, kMergeOverride, 0);
    }
    CGXStyle rowBase;
    rowBase.SetInteriorColor(SystemColorValue(COLOR_WINDOW)).SetBaseStyle(map->rowHeaderStyleId);
    rowBase.SetFont(CGXFont().SetFaceName(u"Courier New").SetSize(10).SetOrientation(900));
    rowBase.SetBorders(kBorderBottom, CGXPenValue(PS_DOT, 2, RGB(9, 8, 7)));
    rowBase.SetUserAttribute(1000, u"tip");
    data->StoreStyle(2, 0, &rowBase, kMergeOverride, CGXData::kBaseStyleKind);
    param->SetData(data);
    param->m_rowHeights.SetAt(1) = 300;
    param->m_colWidths.SetAt(2) = 4000;
    param->m_selectedRanges.AddRange(new CGXRange(1, 1, 2, 3));
    param->m_strTabName = u"Sats";
    param->m_nGridLineStyle = 2;
    return param;
}

Bytes StoreParam(CGXGridParam& param, bool singleByte = false) {
    return gridtest::Store([&](CArchive& ar) { ar << &param; }, singleByte);
}

// The reader a layout loader uses: single owners, so that a damaged layout leaves nothing behind.
std::unique_ptr<CGXGridParam> LoadParam(const Bytes& bytes, bool* consumedAll = nullptr) {
    std::unique_ptr<CGXGridParam> param;
    const bool all = gridtest::Load(bytes, [&](CArchive& ar) {
        ar.SetSingleOwnerObjects(true);
        param.reset(static_cast<CGXGridParam*>(ar.ReadObject(RUNTIME_CLASS(CGXGridParam))));
    });
    if (consumedAll) {
        *consumedAll = all;
    }
    return param;
}

class GridArchiveTest : public ::testing::Test {
protected:
    void SetUp() override { InstallGridDocSerialize(); }
};

} // namespace

TEST_F(GridArchiveTest, ParameterObjectRoundTripsByteForByteInBothStringForms) {
    for (bool singleByte : {false, true}) {
        std::unique_ptr<CGXGridParam> made = MakeParam();
        const Bytes bytes = StoreParam(*made, singleByte);
        bool consumedAll = false;
        std::unique_ptr<CGXGridParam> loaded = LoadParam(bytes, &consumedAll);
        ASSERT_TRUE(loaded);
        EXPECT_TRUE(consumedAll);
        const Bytes again = StoreParam(*loaded, singleByte);
        EXPECT_TRUE(again == bytes) << gridtest::FirstDifference(bytes, again);

        CGXData* data = loaded->GetData();
        ASSERT_TRUE(data);
        EXPECT_EQ(data->GetRowCount(), 4u);
        EXPECT_EQ(data->GetColCount(), 16u);
        CGXStyle cell;
        ASSERT_TRUE(data->GetStyle(3, 1, cell, kMergeCopy, 0));
        EXPECT_EQ(cell.GetValue(), u"17");
        ASSERT_TRUE(data->GetStyle(2, 5, cell, kMergeCopy, 0));
        EXPECT_EQ(cell.GetControlId(), kCheckBox);
        EXPECT_EQ(cell.GetValue(), u"1");
        ASSERT_TRUE(data->GetStyle(2, 0, cell, kMergeCopy, CGXData::kBaseStyleKind));
        EXPECT_EQ(cell.GetInterior().GetColor() >> 24, SystemColorValue(COLOR_WINDOW) >> 24);
        EXPECT_EQ(cell.GetFont().GetFaceName(), u"Courier New");
        EXPECT_EQ(cell.GetFont().GetOrientation(), 900);
        EXPECT_EQ(cell.GetBorders(kBorderBottom), CGXPenValue(PS_DOT, 2, RGB(9, 8, 7)));
        EXPECT_EQ(cell.GetUserAttribute(1000).GetValue(), u"tip");
        CGXStylesMap* map = loaded->GetStylesMap();
        ASSERT_TRUE(map);
        EXPECT_EQ(cell.GetBaseStyle(), map->rowHeaderStyleId) << "base styles travel by name";
        const CGXStyle* standard = nullptr;
        EXPECT_TRUE(map->LookupBaseStyle(map->standardStyleId, standard));
        EXPECT_EQ(loaded->m_strTabName, u"Sats");
        EXPECT_EQ(loaded->m_nGridLineStyle, 2);
        EXPECT_EQ(loaded->m_selectedRanges.GetCount(), 1);
    }
}

TEST_F(GridArchiveTest, OlderPropertiesFormRoundTripsWhenAsked) {
    std::unique_ptr<CGXGridParam> made = MakeParam();
    made->GetProperties()->rowBreaks.Add(7);
    made->GetProperties()->printColumnHeaders = FALSE;
    const Bytes current = StoreParam(*made);
    static_cast<CGXGridDocSerializeImp*>(GridLibraryState::Instance().docSerializeImp)
        ->SetPropertiesStoreVersion(2);
    const Bytes older = StoreParam(*made);
    EXPECT_NE(older, current);
    bool consumedAll = false;
    std::unique_ptr<CGXGridParam> loaded = LoadParam(older, &consumedAll);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(consumedAll);
    EXPECT_FALSE(loaded->GetProperties()->printColumnHeaders);
    EXPECT_EQ(loaded->GetProperties()->rowBreaks.GetSize(), 0) << "the older form has no page breaks";
    const Bytes again = StoreParam(*loaded);
    EXPECT_TRUE(again == older) << gridtest::FirstDifference(older, again);
}

TEST_F(GridArchiveTest, EveryCutAndEveryFlippedCountRaisesTheArchiveException) {
    std::unique_ptr<CGXGridParam> made = MakeParam();
    const Bytes bytes = StoreParam(*made);
    // Single owners: whatever a failed load made is gone again (the leak checker watches).
    for (size_t length = 0; length < bytes.size(); length += 7) {
        const Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_NE(gridtest::LoadCause(cut,
                                      [](CArchive& ar) {
                                          ar.SetSingleOwnerObjects(true);
                                          std::unique_ptr<CObject> object(
                                              ar.ReadObject(RUNTIME_CLASS(CGXGridParam)));
                                      }),
                  -1)
            << "cut at " << length;
    }
    for (size_t at = 14; at < bytes.size(); at += 11) {
        Bytes damaged = bytes;
        damaged[at] ^= 0xFF;
        try {
            LoadParam(damaged);
        } catch (CArchiveException* e) {
            e->Delete();
        }
    }
}

TEST_F(GridArchiveTest, AnotherRootClassIsRefused) {
    CGXStylesMap map;
    const Bytes bytes = gridtest::Store([&](CArchive& ar) { ar << &map; });
    EXPECT_EQ(gridtest::LoadCause(bytes,
                                  [](CArchive& ar) {
                                      ar.SetSingleOwnerObjects(true);
                                      std::unique_ptr<CObject> object(
                                          ar.ReadObject(RUNTIME_CLASS(CGXGridParam)));
                                  }),
              CArchiveException::badClass);
}

TEST_F(GridArchiveTest, StyleFixturesInBothStringForms) {
    // Version 6, mask 0x0409 (horizontal alignment 1, control 52523, value "1"), no borders, no base
    // style, no user attributes, value type 0.
    const Bytes body = {0x06, 0x00, 0x09, 0x04, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x2B, 0xCD, 0x00, 0x00};
    const Bytes singleByte = {0x01, '1'};
    const Bytes utf16 = {0xFF, 0xFE, 0xFF, 0x01, '1', 0x00};
    const Bytes tail = {0x00, 0x00, 0x00, 0x00, 0x00};
    for (bool isSingleByte : {true, false}) {
        const Bytes& value = isSingleByte ? singleByte : utf16;
        Bytes fixture = body;
        fixture.insert(fixture.end(), value.begin(), value.end());
        fixture.insert(fixture.end(), tail.begin(), tail.end());
        CGXStyle style;
        EXPECT_TRUE(gridtest::Load(fixture, [&](CArchive& ar) { style.Serialize(ar); }));
        EXPECT_EQ(style.GetIncludeMask(), 0x0409u);
        EXPECT_EQ(style.GetHorizontalAlignment(), 1);
        EXPECT_EQ(style.GetControlId(), kCheckBox);
        EXPECT_EQ(style.GetValue(), u"1");
        EXPECT_EQ(gridtest::Store([&](CArchive& ar) { style.Serialize(ar); }, isSingleByte), fixture);
    }
    Bytes newer = body;
    newer[0] = 7;
    EXPECT_EQ(gridtest::LoadCause(newer, [](CArchive& ar) { CGXStyle().Serialize(ar); }),
              CArchiveException::badSchema);
}

TEST_F(GridArchiveTest, WithoutTheArchiveFeatureNothingIsWrittenOrRead) {
    GridLibraryState::Instance().Reset();
    CGXStyle style;
    EXPECT_EQ(gridtest::LoadCause({}, [&](CArchive& ar) { style.Serialize(ar); }),
              CArchiveException::genericException);
}

TEST_F(GridArchiveTest, OlderStyleAndFontFormsWithASystemColour) {
    InstallSerializeV5Compatible();
    // Style version 4: right-aligned, the text colour system colour 6, value "7" of type number, format 2
    // with 3 places (the two came together then), and no user-attribute map.
    const Bytes version4 = {0x04, 0x00, 0x21, 0x04, 0x00, 0x01, // version, mask
                            0x02, 0x00, 0x00, 0x00,             // horizontal alignment
                            0x00, 0x00, 0x00, 0xF8,             // text colour: system colour 6
                            0x01, '7',                          // value
                            0x00, 0x00,                         // no borders
                            0x00, 0x00,                         // no older user attributes
                            0x02, 0x03,                         // format and places
                            0x01};                              // value type
    CGXStyle style;
    EXPECT_TRUE(gridtest::Load(version4, [&](CArchive& ar) { style.Serialize(ar); }));
    EXPECT_EQ(style.GetHorizontalAlignment(), 2);
    EXPECT_EQ(style.GetTextColor() >> 24, 0xF8u);
    EXPECT_EQ(style.GetTextColorValue(), GridSysColorCache::GetColor(6));
    EXPECT_EQ(style.GetValue(), u"7");
    EXPECT_EQ(style.GetValueType(), kValueNumber);
    EXPECT_EQ(style.GetFormat(), 2);
    EXPECT_EQ(style.GetPlaces(), 3);
    EXPECT_TRUE(style.GetIncludePlaces()) << "places count as present with the format";

    // Written in the current form, it reads back the same.
    const Bytes current = gridtest::Store([&](CArchive& ar) { style.Serialize(ar); });
    CGXStyle again;
    EXPECT_TRUE(gridtest::Load(current, [&](CArchive& ar) { again.Serialize(ar); }));
    EXPECT_EQ(again.GetIncludeMask(), style.GetIncludeMask());
    EXPECT_EQ(again.GetTextColor(), style.GetTextColor());

    // Font version 1 inside a current style: a LOGFONT's height, weight, italic, underline, pitch and face,
    // then the flags of what is set (weight, italic, size, face).
    const Bytes font1 = {
        0x06, 0x00, 0x00, 0x02, 0x00, 0x00, // style version, mask: font
        0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00, 'C',  'G',  'X', 'F', 'o', 'n', 't', 0x01, 0x00, // font version 1
        0xF3, 0xFF, 0xFF, 0xFF, 0xBC, 0x02, 0x00, 0x00,      // height -13, weight 700
        0x01, 0x00, 0x22, 0x05, 'A',  'r',  'i',  'a',  'l', // italic, underline, pitch, face
        0x33, 0x00, 0x00, 0x00,                              // flags
        0x00, 0x00, 0x00, 0x00};                             // no borders, no attributes
    CGXStyle withFont;
    EXPECT_TRUE(gridtest::Load(font1, [&](CArchive& ar) { withFont.Serialize(ar); }));
    const CGXFont& font = withFont.GetFont();
    EXPECT_DOUBLE_EQ(font.GetSize(), 9.75);
    EXPECT_TRUE(font.GetBold());
    EXPECT_TRUE(font.GetItalic());
    EXPECT_FALSE(font.GetIncludeUnderline());
    EXPECT_EQ(font.GetFaceName(), u"Arial");

    Bytes newerFont = font1;
    newerFont[19] = 3;
    // Single owners, as the grid's readers run: the font that failed is deleted with the exception.
    EXPECT_EQ(gridtest::LoadCause(newerFont,
                                  [](CArchive& ar) {
                                      ar.SetSingleOwnerObjects(true);
                                      CGXStyle().Serialize(ar);
                                  }),
              CArchiveException::badSchema);
}
