// The sentence decoder's number reader agrees with the runtime's swscanf on every format the decoder uses,
// for the texts where the two could part: signs, widths, points, exponents, blanks, ends and overflows.
#include "tests/receiver/NmeaScanCheck.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(NmeaScan, AgreesWithSwscanfOnTheDecodersFormats) {
    const char16_t* texts[] = {
        u"",
        u" ",
        u"123456.789",
        u"235959.60",
        u"0000.0000",
        u"5742.7698333",
        u"01201.3554167",
        u"-8",
        u"+12",
        u"- 5",
        u"12 34 5.5",
        u"1.5e3",
        u"1.5e",
        u"1.5e+",
        u"1.5E-2x",
        u".5",
        u"5.",
        u".",
        u"-.25",
        u"1e400",
        u"1e-400",
        u"99999999999999999999999",
        u"4294967296",
        u"000000000000000000000000000000000000000000000000000000000000000000000001.5",
        u"abc",
        u"12ab",
        u"$GPGSA,A,3,17,28,06,01,30,20,26,13,0,0,0,0,1.8,1.1,1.5",
        u"$GPGSA,A,3,17,28,06,01,30,20,26,13,0,0,0,0,1.8,1.1",
        u"$GPGSA,",
        u"$GPGSA,A",
        u"$GPGSA, ,1",
        u"$GPGSV,1,1,00",
        u"$GPGSV,1,1,00,",
        u"$GPGSV,3,1,10,01,10,100,30,02,11,101,31,03,12,102,32,04,13,103,33",
        u"$GPGSV,1,1,02,-8,59,000,35,05,11,101,31",
        u"$GPGSV,1,1,04,01,10,100,30,02,11",
        u"$GPGSV,x",
        u"$GPGSV,12,1,123,4567,1,2,3",
        u"$GPGSV",
    };
    for (const char16_t* text : texts) {
        const char* format = nmea_scan_check::FirstDisagreement(text);
        EXPECT_EQ(format, nullptr) << format << " on \""
                                   << std::string(text, text + std::char_traits<char16_t>::length(text))
                                   << "\"";
    }
}

} // namespace
