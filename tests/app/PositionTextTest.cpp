#include "app/PositionText.h"

#include "AppTestSupport.h"

#include <gtest/gtest.h>

TEST(PositionText, GridLocators) {
    struct Case {
        double lat, lon;
        const char16_t* locator;
    } cases[] = {
        {32.9143894, -117.1122356, u"DM12kv.69"},
        {0, 0, u"JJ00aa.00"},
        {51.4778, -0.0015, u"IO91xl.94"},
        {-33.8688, 151.2093, u"QF56od.51"},
        // The corners of the grid; +180 wraps to -180.
        {89.999999, 179.999999, u"RR99xx.99"},
        {-90, -180, u"AA00aa.00"},
        {0, 180, u"AJ00aa.00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatGridLocator(c.lat, c.lon), c.locator) << c.lat << ", " << c.lon;
    }
}

TEST(PositionText, FourFormats) {
    struct Case {
        int format;
        bool nmea;
        double lat, lon;
        const char16_t* text;
    } cases[] = {
        {0, false, 32.9143894, -117.1122356, u"32.9143894°\t-117.1122356°\t   96.06m\t  100.00m"},
        {1, false, 32.9143894, -117.1122356, u"32° 54.86336'\t-117°  6.73414'\t   96.06m\t  100.00m"},
        {2, false, 32.9143894, -117.1122356,
         u"32°  54' 51.8018\"\t-117° 06' 44.0482\"\t   96.06m\t  100.00m"},
        // Between 0 and -1 degree only the sign text keeps the sign.
        {1, false, -0.5, 10.25, u"-00° 30.00000'\t  10° 15.00000'\t   96.06m\t  100.00m"},
        {1, false, -12.5, -0.25, u"-12° 30.00000'\t-   0° 15.00000'\t   96.06m\t  100.00m"},
        {2, false, -12.5, 10.25, u"-12°  30'  0.0000\"\t  10° 15'  0.0000\"\t   96.06m\t  100.00m"},
        {3, true, -0.5, 10.25, u"0030.0000,S,01015.0000,E"},
        {3, true, 32.9143894, -117.1122356, u"3254.8634,N,11706.7341,W"},
        {3, true, -12.5, -0.25, u"1230.0000,S,00015.0000,W"},
        // Format 3 outside the current fix, and unknown formats, read as format 2.
        {3, false, -12.5, 10.25, u"-12°  30'  0.0000\"\t  10° 15'  0.0000\"\t   96.06m\t  100.00m"},
        {9, true, -12.5, 10.25, u"-12°  30'  0.0000\"\t  10° 15'  0.0000\"\t   96.06m\t  100.00m"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatPositionText(c.format, c.lat, c.lon, 96.06, 100.0, c.nmea), c.text)
            << "format " << c.format << " of " << c.lat << ", " << c.lon;
    }
}

TEST(PositionText, DopText) {
    EXPECT_EQ(FormatDopText(0, 0, 0, 0, 0), u"");
    EXPECT_EQ(FormatDopText(-1, 0, 0, 0, 0), u"");
    EXPECT_EQ(FormatDopText(0, 0, 1.2, 0, 0), u"DOPs: H=1.2 ");
    EXPECT_EQ(FormatDopText(2.5, 2.1, 1.2, 1.74, 0.9), u"DOPs: G=2.5 P=2.1 H=1.2 V=1.7 T=0.9 ");
    EXPECT_EQ(FormatDopText(12.26, 0, 0, 0, 0), u"DOPs: G=12.3 ");
}

TEST(PositionText, AveragesReportLayout) {
    AveragingReportValues v;
    v.difference[1][0] = -1.234;
    v.difference[1][2] = 1234.567;
    v.difference[1][4] = 5.56;
    v.rms[2][3] = 0.26;
    const CString text = FormatAveragesReportText(v);
    EXPECT_EQ(text, u"\t\tLatitude\tLongitude\t    - 2D -\tAlt(GPS)\tAlt(MSL)\r\n"
                    u"Ref-Avg:\t   0.00 m\t   0.00 m\t    0.00 m\t    0.0 m\t    0.0 m\r\n"
                    u"\tRMS:\t   0.00\t   0.00\t    0.00\t    0.0\t    0.0\r\n"
                    u"Avg-Cur:\t  -1.23 m\t   0.00 m\t 1234.57 m\t    0.0 m\t    5.6 m\r\n"
                    u"\tRMS:\t   0.00\t   0.00\t    0.00\t    0.0\t    0.0\r\n"
                    u"Ref-Cur:\t   0.00 m\t   0.00 m\t    0.00 m\t    0.0 m\t    0.0 m\r\n"
                    u"\tRMS:\t   0.00\t   0.00\t    0.00\t    0.3\t    0.0");
}
