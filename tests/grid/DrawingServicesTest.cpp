#include "grid/CGXDrawingAndFormatting.h"
#include "grid/GridChoiceList.h"
#include "grid/GridSysColorCache.h"
#include "platform/base/GlobalMemory.h"
#include "platform/display/InputApi.h"
#include "platform/framework/CDC.h"
#include "platform/gdi/Gdi.h"
#include "tests/grid/GridTestSupport.h"
#include "tests/grid/RecordingDC.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using gridtest::RecordingDC;

class DrawingServicesTest : public ::testing::Test {
protected:
    std::vector<std::u16string> Lines(LPCTSTR text, int widthChars, int heightLines, UINT format) {
        RECT rect{0, 0, widthChars * dc.charWidth, heightLines * dc.lineHeight};
        int starts[32];
        int lengths[32];
        const int count = services->CalcLines(&dc, text, -1, rect, format, starts, lengths, 32);
        std::vector<std::u16string> out;
        for (int i = 0; i < count; ++i) {
            out.emplace_back(text + starts[i], static_cast<size_t>(lengths[i]));
        }
        return out;
    }

    RecordingDC dc;
    CGXDrawingAndFormatting* services = GetDrawingAndFormatting();
};

TEST_F(DrawingServicesTest, LineBreakingTable) {
    using L = std::vector<std::u16string>;
    struct Case {
        const char16_t* text;
        int widthChars;
        int heightLines;
        UINT format;
        L lines;
    };
    const Case cases[] = {
        {u"ab cd", 2, 3, kTextWordBreak, L{u"ab ", u"cd"}},
        {u"ab cd", 2, 3, kTextSingleLine, L{u"ab "}}, // cut to what fits
        {u"ab cd ef", 5, 3, kTextWordBreak, L{u"ab cd ", u"ef"}},
        {u"abcdef", 3, 3, kTextWordBreak, L{u"abc", u"def"}}, // a word wider than a line is cut
        {u"ab\r\ncd", 9, 3, kTextWordBreak, L{u"ab", u"cd"}},
        {u"ab\r\n", 9, 3, kTextWordBreak, L{u"ab", u""}}, // a final line end adds an empty line
        {u"ab\ncd", 9, 3, kTextSingleLine, L{u"ab"}},
        {u"ab cd ef gh", 2, 2, kTextWordBreak, L{u"ab ", u"cd "}}, // as many lines as the height holds
        {u"  ab", 9, 3, kTextWordBreak, L{u"  ab"}},        // leading blanks belong to the line
        {u"", 9, 3, kTextWordBreak, L{u""}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Lines(c.text, c.widthChars, c.heightLines, c.format), c.lines)
            << std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text));
    }
    // Under about 1.33 line heights: exactly one line.
    RECT low{0, 0, 2 * dc.charWidth, dc.lineHeight * 5 / 4};
    EXPECT_EQ(services->CalcLineCount(&dc, u"ab cd", -1, low.left, low.top, low.right, low.bottom, kTextWordBreak),
              1);
}

TEST_F(DrawingServicesTest, AlignmentPlacesLinesAndMovesTheBlock) {
    const int width = 10 * dc.charWidth;
    const int height = 3 * dc.lineHeight;
    services->DrawText(&dc, u"ab", -1, 5, 7, 5 + width, 7 + height, kTextRight | kTextVCenter | kTextSingleLine,
                       nullptr);
    ASSERT_EQ(dc.texts.size(), 1u);
    EXPECT_EQ(dc.texts[0].x, 5 + width - 2 * dc.charWidth);
    const int blockBottom = 7 + dc.metrics.tmHeight + 1;
    EXPECT_EQ(dc.texts[0].y, 7 + (7 + height + dc.metrics.tmExternalLeading - blockBottom) / 2);

    dc.texts.clear();
    services->DrawText(&dc, u"ab", -1, 5, 7, 5 + width, 7 + height, kTextCenter | kTextBottom | kTextSingleLine,
                       nullptr);
    EXPECT_EQ(dc.texts[0].x, 5 + (width - 2 * dc.charWidth) / 2);
    EXPECT_EQ(dc.texts[0].y, 7 + height - (dc.metrics.tmHeight + 1));
}

TEST_F(DrawingServicesTest, EllipsisKinds) {
    const int width = 6 * dc.charWidth;
    services->DrawTextEllipsis(&dc, u"abcdefghijkl", -1, 0, 0, width, dc.lineHeight, kTextSingleLine, nullptr,
                               kEllipsisDots);
    ASSERT_EQ(dc.texts.size(), 1u);
    EXPECT_EQ(dc.texts[0].text, u"abc...");

    dc.texts.clear();
    services->DrawTextEllipsis(&dc, u"abc", -1, 0, 0, width, dc.lineHeight, kTextSingleLine, nullptr,
                               kEllipsisDots);
    EXPECT_EQ(dc.texts[0].text, u"abc") << "a text that fits is written as it is";

    dc.texts.clear();
    services->DrawTextEllipsis(&dc, u"abcdefghijkl", -1, 0, 0, 2 * dc.charWidth, dc.lineHeight, kTextSingleLine,
                               nullptr, kEllipsisDots);
    EXPECT_EQ(dc.texts[0].text, u"a.") << "down to one character, then the dots shrink";

    dc.texts.clear();
    services->DrawTextEllipsis(&dc, u"ab cd ef gh ij", -1, 0, 0, 5 * dc.charWidth, 2 * dc.lineHeight,
                               kTextWordBreak, nullptr, kEllipsisDots);
    ASSERT_EQ(dc.texts.size(), 2u);
    EXPECT_EQ(dc.texts[0].text, u"ab cd ") << "lines with room below stay";
    EXPECT_EQ(dc.texts[1].text, u"ef...") << "the last visible line ends in dots";

    dc.texts.clear();
    services->DrawTextEllipsis(&dc, u"12345678", -1, 0, 0, width, dc.lineHeight, kTextSingleLine, nullptr,
                               kEllipsisPound);
    EXPECT_EQ(dc.texts[0].text, u"######");
}

TEST_F(DrawingServicesTest, HitTesting) {
    const int left = 10;
    const auto hit = [&](int x, int y) {
        return services->HitTestText(&dc, u"abcd\nef", -1, left, 0, left + 20 * dc.charWidth, 3 * dc.lineHeight,
                                     kTextWordBreak, x, y);
    };
    EXPECT_EQ(hit(left + 2 * dc.charWidth + 1, 1), 2);
    EXPECT_EQ(hit(left + 1, dc.lineHeight + 1), 5) << "second line starts after the line feed";
    EXPECT_EQ(hit(left + 4 * dc.charWidth + 1, 1), 4) << "just past the end: after the last character";
    EXPECT_EQ(hit(left + 10 * dc.charWidth, 1), -1);
    EXPECT_EQ(hit(left, 10 * dc.lineHeight), -1);
}

TEST_F(DrawingServicesTest, FillsAndFrames) {
    FillRectColor(&dc, RECT{1, 2, 3, 4}, 0xF0000000u);
    ASSERT_EQ(dc.fills.size(), 1u);
    EXPECT_EQ(dc.fills[0].color, GridSysColorCache::GetColor(14)) << "0xFE - 0xF0";

    dc.fills.clear();
    const COLORREF before = dc.GetBkColor();
    services->Draw3dFrame(&dc, 0, 0, 10, 8, 2, RGB(255, 255, 255), RGB(0, 0, 0));
    ASSERT_EQ(dc.fills.size(), 8u);
    EXPECT_EQ(dc.fills[0].color, RGB(255, 255, 255));
    EXPECT_EQ(dc.fills[3].color, RGB(0, 0, 0));
    EXPECT_EQ(dc.fills[4].rect.left, 1) << "the second ring lies inside the first";
    EXPECT_EQ(dc.fills[6].rect.right, 10) << "the bottom edge reaches one past the right";
    EXPECT_EQ(dc.GetBkColor(), before);
}

TEST(ChoiceListTest, LinesAndColumns) {
    CString text(u"a\r\nb");
    CString line;
    EXPECT_EQ(SplitFirstLine(text, line), 1);
    EXPECT_EQ(line, u"a");
    EXPECT_EQ(text, u"b");
    EXPECT_EQ(SplitFirstLine(text, line), -1);
    EXPECT_EQ(line, u"b");
    EXPECT_TRUE(text.IsEmpty());

    WCHAR buffer[8];
    EXPECT_EQ(std::u16string(GetTabColumnText(u"x\tyz\tw", 1, buffer, 7)), u"yz");
    EXPECT_EQ(std::u16string(GetTabColumnText(u"x\tyz", 3, buffer, 7)), u"");
    EXPECT_EQ(std::u16string(GetTabColumnText(u"abcdefghij", 0, buffer, 4)), u"abcd");

    const CString choices(u"Code\tName\r\n1\tAlpha\r\n2\tBeta\r\n");
    EXPECT_EQ(FindChoiceByColumn(u"al", 1, choices, TRUE, line, FALSE), 0);
    EXPECT_EQ(line, u"1\tAlpha");
    EXPECT_EQ(FindChoiceByColumn(u"al", 1, choices, TRUE, line, TRUE), -1) << "exact";
    EXPECT_TRUE(line.IsEmpty());
    EXPECT_EQ(FindChoiceByColumn(u"Beta", 1, choices, FALSE, line, TRUE), 2) << "the title counts";

    CString sorted(u"Title\r\nc\tZed\r\nb\talpha\r\na\tMid");
    SortChoiceLines(sorted, 1, TRUE);
    EXPECT_EQ(sorted, u"Title\r\nb\talpha\r\na\tMid\r\nc\tZed\r\n");
    SortChoiceLines(sorted, 0, FALSE);
    EXPECT_EQ(sorted, u"a\tMid\r\nb\talpha\r\nc\tZed\r\nTitle\r\n");
}

} // namespace

namespace {

// The colour of a pixel of a 4-bit bottom-up packed DIB.
COLORREF DibPixel(const BYTE* dib, int x, int y) {
    const auto& header = *reinterpret_cast<const BITMAPINFOHEADER*>(dib);
    const auto* colors = reinterpret_cast<const RGBQUAD*>(dib + header.biSize);
    const BYTE* bits = dib + header.biSize + DibColorCount(header) * sizeof(RGBQUAD);
    const int stride = ((header.biWidth * 4 + 31) / 32) * 4;
    const BYTE pair = bits[(header.biHeight - 1 - y) * stride + x / 2];
    const RGBQUAD& c = colors[x % 2 == 0 ? pair >> 4 : pair & 0xF];
    return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
}

TEST(GridPicturesTest, CheckBoxStripsHoldFiveBoxesInPlaceholderColours) {
    for (const UINT id : {20024u, 20025u, 20026u}) {
        LPCWSTR name = MAKEINTRESOURCEW(id);
        HGLOBAL memory = LoadDibResource(DolivaFindResourceModule(name, RT_BITMAP), name);
        ASSERT_NE(memory, nullptr) << id;
        const auto* dib = static_cast<const BYTE*>(GlobalLock(memory));
        const auto& header = *reinterpret_cast<const BITMAPINFOHEADER*>(dib);
        EXPECT_EQ(header.biWidth, 65);
        EXPECT_EQ(header.biHeight, 13);
        EXPECT_EQ(header.biBitCount, 4);
        EXPECT_EQ(DibColorCount(header), 16);
        EXPECT_EQ(DibPixel(dib, 6, 3), RGB(255, 0, 0)) << id << ": the unchecked box's window-coloured inside";
        EXPECT_EQ(DibPixel(dib, 13 + 3, 5), RGB(0, 0, 0)) << id << ": the checked box's mark";
        EXPECT_EQ(DibPixel(dib, 26 + 6, 3), RGB(192, 192, 192)) << id << ": the disabled box's face";
        EXPECT_EQ(DibPixel(dib, 52 + 3, 5), RGB(128, 128, 128)) << id << ": the indeterminate mark";
        GlobalUnlock(memory);
        GlobalFree(memory);
    }
    EXPECT_EQ(LoadDibResource(nullptr, MAKEINTRESOURCEW(20099)), nullptr);
}

TEST(GridPicturesTest, ArrowAndSplitterCursor) {
    LPCWSTR arrow = MAKEINTRESOURCEW(20028);
    HGLOBAL memory = LoadDibResource(DolivaFindResourceModule(arrow, RT_BITMAP), arrow);
    ASSERT_NE(memory, nullptr);
    const auto* dib = static_cast<const BYTE*>(GlobalLock(memory));
    EXPECT_EQ(reinterpret_cast<const BITMAPINFOHEADER*>(dib)->biWidth, 7);
    EXPECT_EQ(DibPixel(dib, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(DibPixel(dib, 0, 3), RGB(192, 192, 192));
    EXPECT_EQ(DibPixel(dib, 3, 3), RGB(0, 0, 0));
    GlobalUnlock(memory);
    GlobalFree(memory);

    LPCWSTR splitter = MAKEINTRESOURCEW(20197);
    EXPECT_NE(LoadCursorW(DolivaFindResourceModule(splitter, RT_GROUP_CURSOR), splitter), nullptr);
}

} // namespace
