#include "grid/CGXStyle.h"
#include "grid/CGXStylesMap.h"
#include "grid/CGXUserAttribute.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/SystemColors.h"
#include "tests/grid/GridTestSupport.h"

#include <gtest/gtest.h>

TEST(StyleTest, SettersIncludeTheirAttributeAndTheMaskHasTheArchiveOrder) {
    CGXStyle style;
    EXPECT_EQ(style.GetIncludeMask(), 0u);
    style.SetHorizontalAlignment(2).SetValue(u"x").SetFloatCell(TRUE);
    EXPECT_EQ(style.GetIncludeMask(),
              (1u << kStyleHorizontalAlignment) | (1u << kStyleValue) | (1u << kStyleFloatCell));
    style.SetFloodCell(TRUE);
    EXPECT_TRUE(style.GetIncludeFloodCell());

    CGXStyle masked;
    masked.SetIncludeMask(1u << kStyleFloodCell);
    EXPECT_TRUE(masked.GetIncludeFloodCell());
    EXPECT_FALSE(masked.GetIncludeFloatCell());
    EXPECT_EQ(masked.GetIncludeMask(), 1u << kStyleFloodCell);

    style.SetIncludeValue(FALSE);
    EXPECT_TRUE(style.GetValue().IsEmpty()) << "excluding the value empties it";

    CGXStyle borders;
    borders.SetBorders(kBorderLeft, CGXPenValue(PS_SOLID, 2, RGB(1, 2, 3)));
    EXPECT_TRUE(borders.GetIncludeBorders());
    EXPECT_TRUE(borders.HasBorder(kBorderLeft));
    EXPECT_FALSE(borders.HasBorder(kBorderTop));
    borders.SetIncludeBorders(kBorderLeft, FALSE);
    EXPECT_FALSE(borders.GetIncludeBorders()) << "no side left";
    EXPECT_FALSE(CGXStyle().HasBorder(kBorderRight));
}

TEST(StyleTest, MergeModes) {
    CGXStyle cell;
    cell.SetValue(u"cell").SetTextColor(RGB(255, 0, 0)).SetFont(CGXFont().SetItalic(TRUE));
    cell.SetBorders(kBorderTop, CGXPenValue(PS_SOLID, 1, RGB(0, 0, 0)));
    cell.SetUserAttribute(1000, u"12");
    CGXStyle other;
    other.SetValue(u"other").SetReadOnly(TRUE).SetFont(CGXFont().SetSize(20).SetItalic(FALSE));
    other.SetBorders(kBorderTop, CGXPenValue(PS_DOT, 1, RGB(0, 0, 0)));
    other.SetBorders(kBorderBottom, CGXPenValue(PS_DASH, 1, RGB(0, 0, 0)));
    other.SetUserAttribute(1001, u"abc");

    CGXStyle overridden(cell);
    overridden.MergeStyle(other, kMergeOverride);
    EXPECT_EQ(overridden.GetValue(), u"other");
    EXPECT_TRUE(overridden.GetReadOnly());
    EXPECT_EQ(overridden.GetTextColor(), RGB(255, 0, 0));
    EXPECT_FALSE(overridden.GetFont().GetItalic());
    EXPECT_DOUBLE_EQ(overridden.GetFont().GetSize(), 20);
    EXPECT_EQ(overridden.GetBorders(kBorderTop).GetStyle(), static_cast<unsigned>(PS_DOT));
    EXPECT_EQ(overridden.GetBorders(kBorderBottom).GetStyle(), static_cast<unsigned>(PS_DASH));
    EXPECT_EQ(overridden.GetUserAttribute(1000).GetValue(), u"12");
    EXPECT_EQ(overridden.GetUserAttribute(1001).GetValue(), u"abc");

    CGXStyle filled(cell);
    filled.MergeStyle(other, kMergeFill);
    EXPECT_EQ(filled.GetValue(), u"cell");
    EXPECT_TRUE(filled.GetIncludeReadOnly());
    EXPECT_TRUE(filled.GetFont().GetItalic()) << "fonts fill part by part";
    EXPECT_DOUBLE_EQ(filled.GetFont().GetSize(), 20);
    EXPECT_EQ(filled.GetBorders(kBorderTop).GetStyle(), static_cast<unsigned>(PS_SOLID));
    EXPECT_EQ(filled.GetBorders(kBorderBottom).GetStyle(), static_cast<unsigned>(PS_DASH));

    CGXStyle copied(cell);
    copied.MergeStyle(other, kMergeCopy);
    EXPECT_EQ(copied.GetIncludeMask(), other.GetIncludeMask());
    EXPECT_FALSE(copied.GetIncludeTextColor());

    CGXStyle excluded(overridden);
    excluded.MergeStyle(other, kMergeExclude);
    EXPECT_FALSE(excluded.GetIncludeValue());
    EXPECT_FALSE(excluded.GetIncludeReadOnly());
    EXPECT_TRUE(excluded.GetIncludeTextColor());
    EXPECT_FALSE(excluded.GetIncludeBorders()) << "both sides the other sets are gone";
    EXPECT_TRUE(excluded.HasUserAttribute(1000));
    EXPECT_FALSE(excluded.HasUserAttribute(1001));
    EXPECT_FALSE(excluded.GetFont().GetIncludeSize());

    CGXStyle self(cell);
    self.MergeStyle(self, kMergeExclude);
    EXPECT_EQ(self.GetValue(), u"cell") << "merging a style into itself changes nothing";
}

TEST(StyleTest, BaseStyleChainsFillNearerFirstAndStopAtALoop) {
    CGXStylesMap map;
    CGXStyle far;
    far.SetValue(u"far").SetReadOnly(TRUE).SetMaxLength(9);
    const WORD farId = map.RegisterStyle(u"Far", far);
    CGXStyle near;
    near.SetValue(u"near").SetBaseStyle(farId);
    const WORD nearId = map.RegisterStyle(u"Near", near);
    EXPECT_EQ(map.GetBaseStyleIdByName(u"Near"), nearId);
    EXPECT_EQ(map.RegisterStyle(u"Near", near), nearId) << "a known name keeps its id";

    CGXStyle cell;
    cell.SetMaxLength(3).SetBaseStyle(nearId);
    cell.ApplyBaseStyles(map);
    EXPECT_EQ(cell.GetValue(), u"near");
    EXPECT_TRUE(cell.GetReadOnly());
    EXPECT_EQ(cell.GetMaxLength(), 3);

    // far -> near -> far: the walk ends at the first repeated id.
    far.SetBaseStyle(nearId);
    map.RegisterStyle(u"Far", far);
    CGXStyle looping;
    looping.SetBaseStyle(farId);
    looping.ApplyBaseStyles(map);
    EXPECT_EQ(looping.GetValue(), u"far");

    CGXStyle unknown;
    unknown.SetBaseStyle(200);
    unknown.ApplyBaseStyles(map);
    EXPECT_FALSE(unknown.GetIncludeValue());
}

TEST(StyleTest, StandardStylesFollowTheLibraryOptions) {
    CGXStylesMap plain;
    plain.CreateStandardStyles();
    const CGXStyle* standard = nullptr;
    ASSERT_TRUE(plain.LookupBaseStyle(plain.standardStyleId, standard));
    EXPECT_DOUBLE_EQ(standard->GetFont().GetSize(), 8);
    EXPECT_EQ(standard->GetControlId(), kEditControlId);
    const CGXStyle* header = nullptr;
    ASSERT_TRUE(plain.LookupBaseStyle(plain.columnHeaderStyleId, header));
    EXPECT_FALSE(header->GetIncludeBorders());
    EXPECT_EQ(header->GetInterior().GetColor() >> 24, SystemColorValue(COLOR_BTNFACE) >> 24);

    SetGridLibraryOptions(1, 0, 1);
    CGXStylesMap lined;
    lined.CreateStandardStyles();
    ASSERT_TRUE(lined.LookupBaseStyle(lined.rowHeaderStyleId, header));
    EXPECT_EQ(header->GetBorders(kBorderTop).GetStyle(), static_cast<unsigned>(PS_NULL));
}

TEST(UserAttributeTest, KindsFollowTheTextAndCompareByValue) {
    struct Case {
        CGXUserAttribute attribute;
        int kind;
        const char16_t* text;
    };
    const Case cases[] = {
        {CGXUserAttribute(static_cast<DWORD>(12)), CGXUserAttribute::kUnsigned, u"12"},
        {CGXUserAttribute(static_cast<LONG>(-3)), CGXUserAttribute::kSigned, u"-3"},
        {CGXUserAttribute(2.5), CGXUserAttribute::kDouble, u"2.5"},
        {CGXUserAttribute(u"abc"), CGXUserAttribute::kShortText, u"abc"},
        {CGXUserAttribute(u"longer text"), CGXUserAttribute::kText, u"longer text"},
        // Without the number-formatting feature no text is a number.
        {CGXUserAttribute(u"12"), CGXUserAttribute::kShortText, u"12"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.attribute.GetKind(), c.kind) << &c - cases;
        EXPECT_EQ(c.attribute.GetValue(), c.text);
        const gridtest::Bytes bytes =
            gridtest::Store([&](CArchive& ar) { const_cast<CGXUserAttribute&>(c.attribute).Serialize(ar); });
        CGXUserAttribute loaded;
        EXPECT_TRUE(gridtest::Load(bytes, [&](CArchive& ar) { loaded.Serialize(ar); }));
        EXPECT_TRUE(loaded.IsEqual(c.attribute));
    }
    EXPECT_EQ(CGXUserAttribute(u"7").GetLongValue(), 7);
    EXPECT_EQ(CGXUserAttribute(static_cast<DWORD>(7)).GetLongValue(), 7);
    EXPECT_FALSE(CGXUserAttribute(u"7").IsEqual(CGXUserAttribute(u"8")));
    EXPECT_TRUE(CGXUserAttribute().SetValue(u"").IsEmpty());
    EXPECT_EQ(gridtest::LoadCause({0x09}, [](CArchive& ar) { CGXUserAttribute().Serialize(ar); }),
              CArchiveException::badSchema)
        << "an unknown kind";
}
