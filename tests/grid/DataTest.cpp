#include "grid/CGXData.h"
#include "tests/grid/GridTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The values of column 1, rows 1..n, "-" for a row without a stored cell.
std::u16string Column1(const CGXData& data) {
    std::u16string out;
    for (ROWCOL row = 1; row <= data.GetRowCount(); ++row) {
        CGXStyle style;
        out += data.GetStyle(row, 1, style, kMergeCopy, 0) ? std::u16string(style.GetValue()) : u"-";
    }
    return out;
}

void Fill(CGXData& data, const char16_t* values) {
    data.SetColCount(2);
    data.SetRowCount(static_cast<ROWCOL>(std::u16string(values).size()));
    for (ROWCOL row = 1; values[row - 1]; ++row) {
        CGXStyle style;
        style.SetValue(std::u16string(1, values[row - 1]).c_str());
        data.StoreStyle(row, 1, &style, kMergeOverride, 0);
    }
}

} // namespace

TEST(DataTest, RowsMoveWithTheirStylesAndCountsFollow) {
    CGXData data;
    Fill(data, u"abcde");
    data.InsertRows(2, 2);
    EXPECT_EQ(Column1(data), u"a--bcde");
    data.RemoveRows(2, 3);
    EXPECT_EQ(Column1(data), u"abcde");
    data.MoveRows(1, 2, 4); // a and b go to rows 4 and 5
    EXPECT_EQ(Column1(data), u"cdeab");
    data.RemoveRows(4, 99);
    EXPECT_EQ(Column1(data), u"cde") << "removing past the end stops at the last row";
    EXPECT_TRUE(data.RemoveRows(10, 12));
    EXPECT_EQ(data.GetRowCount(), 3u);
    data.SetRowCount(1);
    EXPECT_EQ(Column1(data), u"c");

    CGXStyle style;
    EXPECT_FALSE(data.GetStyle(1, 3, style, kMergeCopy, 0)) << "beyond the columns";
    style.SetValue(u"x");
    ASSERT_TRUE(data.StoreStyle(1, 1, &style, kMergeExclude, 0));
    EXPECT_EQ(Column1(data), u"") << "excluding the value leaves an empty style";
    ASSERT_TRUE(data.StoreStyle(1, 1, nullptr, kMergeOverride, 0));
    EXPECT_EQ(Column1(data), u"-");
}

TEST(DataTest, BaseStylesOfRowsAndColumns) {
    CGXData data;
    Fill(data, u"ab");
    CGXStyle base;
    base.SetReadOnly(TRUE);
    ASSERT_TRUE(data.StoreStyle(2, 0, &base, kMergeOverride, CGXData::kBaseStyleKind));
    ASSERT_TRUE(data.StoreStyle(0, 2, &base, kMergeOverride, CGXData::kBaseStyleKind));
    CGXStyle out;
    EXPECT_TRUE(data.GetStyle(2, 0, out, kMergeCopy, CGXData::kBaseStyleKind));
    EXPECT_TRUE(out.GetReadOnly());
    EXPECT_TRUE(data.GetStyle(0, 2, out, kMergeCopy, CGXData::kBaseStyleKind));
    EXPECT_FALSE(data.GetStyle(1, 0, out, kMergeCopy, CGXData::kBaseStyleKind));
    data.InsertRows(1, 1);
    EXPECT_TRUE(data.GetStyle(3, 0, out, kMergeCopy, CGXData::kBaseStyleKind))
        << "the row base style moved down";

    CGXData copy;
    copy = data;
    EXPECT_EQ(Column1(copy), Column1(data));
    EXPECT_TRUE(copy.GetStyle(0, 2, out, kMergeCopy, CGXData::kBaseStyleKind));
}
