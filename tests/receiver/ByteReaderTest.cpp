#include "receiver/ByteReader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

enum class Field { U8, U16, U24, U32, S8, S16, S24, S32 };

long long Read(const ByteReader& reader, Field field, int at) {
    switch (field) {
    case Field::U8:
        return reader.U8(at);
    case Field::U16:
        return reader.U16(at);
    case Field::U24:
        return reader.U24(at);
    case Field::U32:
        return reader.U32(at);
    case Field::S8:
        return reader.S8(at);
    case Field::S16:
        return reader.S16(at);
    case Field::S24:
        return reader.S24(at);
    case Field::S32:
        return reader.S32(at);
    }
    return -1;
}

// Each field is read big-endian from `bytes` and little-endian from the same bytes reversed, so both orders
// meet the same edges.
TEST(ByteReader, FieldEdgesInBothOrders) {
    struct Case {
        std::u16string bytes; // big-endian
        Field field;
        long long value;
    };
    const Case cases[] = {
        {{0x7F}, Field::S8, 127},
        {{0x80}, Field::S8, -128},
        {{0xFF}, Field::U8, 255},
        {{0x7F, 0xFF}, Field::S16, 32767},
        {{0x80, 0x00}, Field::S16, -32768},
        {{0xFF, 0xFF}, Field::U16, 65535},
        {{0x12, 0x34}, Field::U16, 0x1234},
        {{0x7F, 0xFF, 0xFF}, Field::S24, 0x7FFFFF},
        {{0x80, 0x00, 0x00}, Field::S24, -0x800000},
        {{0xFF, 0xFF, 0xFF}, Field::S24, -1},
        {{0x00, 0x00, 0x01}, Field::S24, 1},
        {{0xFF, 0xFF, 0xFF}, Field::U24, 0xFFFFFF},
        {{0x80, 0x00, 0x00}, Field::U24, 0x800000},
        {{0x7F, 0xFF, 0xFF, 0xFF}, Field::S32, 0x7FFFFFFF},
        {{0x80, 0x00, 0x00, 0x00}, Field::S32, -0x80000000LL},
        {{0xFF, 0xFF, 0xFF, 0xFF}, Field::S32, -1},
        {{0xFF, 0xFF, 0xFF, 0xFF}, Field::U32, 0xFFFFFFFFLL},
        {{0x12, 0x34, 0x56, 0x78}, Field::U32, 0x12345678},
    };
    for (const Case& c : cases) {
        const std::u16string reversed(c.bytes.rbegin(), c.bytes.rend());
        const int size = static_cast<int>(c.bytes.size());
        SCOPED_TRACE(testing::Message() << "field " << static_cast<int>(c.field) << ", value " << c.value);
        EXPECT_EQ(Read(ByteReader(c.bytes.data(), size, ByteOrder::kBigEndian), c.field, 0), c.value);
        EXPECT_EQ(Read(ByteReader(reversed.data(), size, ByteOrder::kLittleEndian), c.field, 0), c.value);
    }
}

// Four bytes 01 02 03 04: a field that ends at the last byte is read, one that reaches past it (or starts
// before the first) is refused as a whole, never read in part.
TEST(ByteReader, ReadsAtAndPastTheEnd) {
    const std::u16string bytes = u"\x01\x02\x03\x04";
    struct Case {
        Field field;
        int at;
        long long big, little;
    };
    const Case cases[] = {
        {Field::U32, 0, 0x01020304, 0x04030201},
        {Field::U32, 1, 0, 0},
        {Field::S32, 1, 0, 0},
        {Field::U24, 1, 0x020304, 0x040302},
        {Field::U24, 2, 0, 0},
        {Field::S24, 2, 0, 0},
        {Field::U16, 2, 0x0304, 0x0403},
        {Field::U16, 3, 0, 0},
        {Field::U8, 3, 4, 4},
        {Field::U8, 4, 0, 0},
        {Field::S8, 4, 0, 0},
        {Field::U8, -1, 0, 0},
        {Field::U16, -1, 0, 0},
    };
    const ByteReader big(bytes.data(), 4, ByteOrder::kBigEndian);
    const ByteReader little(bytes.data(), 4, ByteOrder::kLittleEndian);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "field " << static_cast<int>(c.field) << " at " << c.at);
        EXPECT_EQ(Read(big, c.field, c.at), c.big);
        EXPECT_EQ(Read(little, c.field, c.at), c.little);
    }
    // A reader over fewer units than the string holds never sees the rest.
    EXPECT_EQ(ByteReader(bytes.data(), 2, ByteOrder::kBigEndian).U24(0), 0u);
}

TEST(ByteReader, UnitsAboveAByteCountTheirLowByte) {
    const std::u16string units = {0x1C3, 0x2FF};
    EXPECT_EQ(ByteReader(units.data(), 2, ByteOrder::kBigEndian).U16(0), 0xC3FFu);
    EXPECT_EQ(ByteReader(units.data(), 2, ByteOrder::kLittleEndian).S8(1), -1);
}

TEST(ByteReader, TextStopsAtTheEndAndAtAZero) {
    const std::u16string units(u"ABC\0DE", 6);
    const ByteReader reader(units.data(), 6, ByteOrder::kLittleEndian);
    EXPECT_EQ(reader.ZeroEndedText(0, 30), CString(u"ABC"));
    EXPECT_EQ(reader.ZeroEndedText(4, 30), CString(u"DE"));
    EXPECT_EQ(reader.ZeroEndedText(1, 1), CString(u"B"));
    EXPECT_EQ(reader.ZeroEndedText(6, 3), CString());
    EXPECT_EQ(reader.Chars(2, 3), CString(std::u16string(u"C\0D", 3)));
    EXPECT_EQ(reader.Chars(4, 10), CString(u"DE"));
    EXPECT_EQ(reader.Chars(6, 1), CString());
    EXPECT_EQ(reader.Chars(-1, 2), CString());
}

} // namespace
