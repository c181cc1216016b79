// Number detection and display formats, run with a comma-decimal user locale: numbers keep '.' and ','
// whatever the locale says.
#include "grid/CGXData.h"
#include "grid/CGXStyle.h"
#include "grid/CGXUserAttribute.h"
#include "grid/GridLibraryState.h"
#include "grid_input/CGXNumberFormattingImp.h"
#include "platform/base/Locale.h"
#include "tests/support/BeforeEachTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

const bool kReset = testsupport::BeforeEachTest([] {
    GridLibraryState::Instance().Reset();
    DolivaSetUserLocale(kLocaleGerman);
});

CString Format(int format, int places, LPCTSTR value, int valueType = kValueNumber) {
    CGXStyle style;
    style.SetFormat(format).SetPlaces(places);
    return CGXNumberFormattingImp().FormatNumber(style, value, valueType, 0, 0);
}

} // namespace

TEST(NumberFormattingTest, ParsesNumbersAndTheFormatTheyShow) {
    struct Case {
        const char16_t* text;
        double value;
        int format;
        int places;
    };
    const Case cases[] = {
        {u"(1,234.50)", -1234.5, CGXNumberFormattingImp::kComma, 2},
        {u"$1,234", 1234, CGXNumberFormattingImp::kDollars, 0},
        {u"1.5e3", 1500, CGXNumberFormattingImp::kScientific, 1},
        {u"  -12.25  ", -12.25, CGXNumberFormattingImp::kFixed, 2},
        {u"1,234,567", 1234567, CGXNumberFormattingImp::kComma, 0},
        {u"12,345.5", 12345.5, CGXNumberFormattingImp::kComma, 1},
        {u"7", 7, CGXNumberFormattingImp::kFixed, 0},
        {u"0.12345678901234567", 0.12345678901234567, CGXNumberFormattingImp::kFixed, 15},
    };
    for (const Case& c : cases) {
        double value = 0;
        int format = -1;
        int places = -1;
        ASSERT_TRUE(CGXNumberFormattingImp().ParseNumber(c.text, &value, &format, &places)) << &c - cases;
        EXPECT_DOUBLE_EQ(value, c.value) << &c - cases;
        EXPECT_EQ(format, c.format) << &c - cases;
        EXPECT_EQ(places, c.places) << &c - cases;
    }
    for (const char16_t* text : {u"1,23", u"(-5)", u"12abc", u"1.2.3", u".", u"12 3", u"1,234 ", u"1.234,5",
                                 u"", u"-", u"(12", u"12,5", u"1,2345"}) {
        double value = 42;
        int format = -1;
        EXPECT_FALSE(CGXNumberFormattingImp().ParseNumber(text, &value, &format, nullptr))
            << std::string(text, text + std::u16string(text).size());
        EXPECT_EQ(value, 42) << "a failed parse writes nothing";
    }
    std::u16string longNumber(257, u'1');
    EXPECT_TRUE(CGXNumberFormattingImp().ParseNumber(longNumber.c_str(), nullptr, nullptr, nullptr));
    longNumber += u'1';
    EXPECT_FALSE(CGXNumberFormattingImp().ParseNumber(longNumber.c_str(), nullptr, nullptr, nullptr));

    double value = 0;
    int format = -1;
    EXPECT_TRUE(CGXNumberFormattingImp().ParseNumber(u"2.5", &value, &format, nullptr));
    EXPECT_EQ(format, -1) << "format and places are written only together";
}

TEST(NumberFormattingTest, FormatsByIdWithFixedSeparators) {
    struct Case {
        int format;
        int places;
        const char16_t* value;
        const char16_t* expected;
    };
    const Case cases[] = {
        {CGXNumberFormattingImp::kDollars, 2, u"1234.5", u"$1,234.50 "},
        {CGXNumberFormattingImp::kDollars, 2, u"-1234.5", u"($1,234.50)"},
        {CGXNumberFormattingImp::kComma, 0, u"1234567.4", u"1,234,567 "},
        {CGXNumberFormattingImp::kBlankComma, 1, u"-12.34", u"(12.3)"},
        {CGXNumberFormattingImp::kFixed, 3, u"2.5", u"2.500"},
        {CGXNumberFormattingImp::kGeneral, 4, u"3.14159", u"3.142"},
        {CGXNumberFormattingImp::kHex, 0, u"-255.7", u"0xFF"},
        {CGXNumberFormattingImp::kLogic, 0, u"1.9", u"1"},
        {CGXNumberFormattingImp::kLogic, 0, u"2", u"?"},
        {CGXNumberFormattingImp::kLogic, 0, u"0", u"0"},
        {CGXNumberFormattingImp::kPercent, 1, u"0.125", u"12.5%"},
        {CGXNumberFormattingImp::kPercent, 1, u"1.8e306", u" Percent! "},
        {CGXNumberFormattingImp::kFraction, 3, u"2.5", u" 2 1/2"},
        {CGXNumberFormattingImp::kFraction, 3, u"0.5", u"  1/2"},
        {CGXNumberFormattingImp::kFraction, 3, u"3", u" 3 0/100000"},
        {CGXNumberFormattingImp::kFraction, 0, u"-0.25", u"- 1/4"},
        {CGXNumberFormattingImp::kDottedDate, 0, u"36526", u"01.01.2000"},
        {CGXNumberFormattingImp::kIsoDate, 0, u"36526.75", u"2000-01-01"},
        {CGXNumberFormattingImp::kHourMinute, 0, u"36526.75", u"18:00"},
        {CGXNumberFormattingImp::kHidden, 0, u"5", u""},
        {CGXNumberFormattingImp::kDefault, 0, u"5.50", u"5.50"},
        {CGXNumberFormattingImp::kUser4, 0, u"5.50", u"5.50"},
        {28, 0, u"5", u" Format? "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Format(c.format, c.places, c.value), c.expected)
            << "format " << c.format << ", case " << &c - cases;
    }
    EXPECT_EQ(Format(CGXNumberFormattingImp::kHidden, 0, u"abc", kValueText), u"");
    EXPECT_EQ(Format(CGXNumberFormattingImp::kDollars, 2, u"abc", kValueText), u"abc");
    CGXStyle noFormat;
    noFormat.SetValue(u"1234.5").SetValueType(kValueNumber);
    EXPECT_EQ(CGXNumberFormattingImp().FormatNumber(noFormat, nullptr, 0, 0, 0), u"1234.5");
    EXPECT_EQ(GroupThousands(u"1234567.89", u',', u'.'), u"1.234.567,89");
    EXPECT_EQ(GroupThousands(u"123", u'.', u','), u"123");
}

TEST(NumberFormattingTest, InstalledFormattingDetectsNumbersForCellsAndUserAttributes) {
    EXPECT_EQ(CGXUserAttribute(u"12").GetKind(), CGXUserAttribute::kShortText) << "not installed yet";
    InstallNumberFormatting();
    InstallNumberFormatting();
    EXPECT_EQ(GridLibraryState::Instance().ownedObjects.size(), 1u) << "installed once";
    EXPECT_EQ(CGXUserAttribute(u"12").GetKind(), CGXUserAttribute::kDouble);
    EXPECT_EQ(CGXUserAttribute(u"12.0").GetKind(), CGXUserAttribute::kShortText)
        << "does not write back as given";
    EXPECT_EQ(CGXUserAttribute(u"1,5").GetKind(), CGXUserAttribute::kShortText) << "a German decimal is text";

    CGXData data;
    data.SetRowCount(2);
    data.SetColCount(2);
    CGXStyle style;
    style.SetValue(u"1,234.5");
    ASSERT_TRUE(data.StoreStyle(1, 1, &style, kMergeOverride, CGXData::kDetectNumberKind));
    style.SetValue(u"1,5");
    ASSERT_TRUE(data.StoreStyle(1, 2, &style, kMergeOverride, CGXData::kDetectNumberKind));
    CGXStyle stored;
    ASSERT_TRUE(data.GetStyle(1, 1, stored, kMergeCopy, 0));
    EXPECT_EQ(stored.GetValueType(), kValueNumber);
    ASSERT_TRUE(data.GetStyle(1, 2, stored, kMergeCopy, 0));
    EXPECT_EQ(stored.GetValueType(), kValueText);
}
