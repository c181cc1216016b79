// The reference location's angle and altitude parsers, its angle texts, the altitudes kept consistent
// through the geoid separation, and the location database.
#include "DialogTestSupport.h"
#include "dialogs/CReferencePositionDialog.h"
#include "receiver/Geoid.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

class RecordingDialog : public CReferencePositionDialog {
public:
    std::vector<CString> messages;

protected:
    void ShowMessage(const CString& text) override { messages.push_back(text); }
};

TEST(ReferenceAngle, ParsesDegreesMinutesSecondsAndHemispheres) {
    struct Case {
        const char16_t* text;
        bool ok;
        double degrees;
        const char16_t* message;
    };
    const Case cases[] = {
        {u"51 30 N", true, 51.5, nullptr},
        {u"51 30 S", true, -51.5, nullptr},
        {u"-51 30", true, -51.5, nullptr},
        {u"-0 30", true, -0.5, nullptr},
        {u"51\u00B0 30.5'", true, 51.508333333333333, nullptr},
        {u"  51 30 15w", true, -(51 + 30.0 / 60 + 15.0 / 3600), nullptr},
        {u"12.25", true, 12.25, nullptr},
        {u"51.5 30", false, 0, u"Only the last field may have a fractional part."},
        {u"51.5 30 15", false, 0, u"Only the last field may have a fractional part."},
        {u"51 30' N", false, 0, u"Unknown characters at end of field."},
        {u"-51 N", false, 0, u"Do not use both the \"-\" sign and N, S, E, or W indicators."},
        {u"181", false, 0, u"Degrees field out of range."},
        {u"51 60", false, 0, u"Minutes field out of range."},
        {u"51 30 60", false, 0, u"Seconds field out of range."},
        {u"51 x 30", false, 0, u"Unknown characters in field."},
        {u"", false, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.text));
        RecordingDialog dialog;
        double value = 0;
        EXPECT_EQ(dialog.ParseAngle(c.text, value), c.ok ? TRUE : FALSE);
        if (c.ok) {
            EXPECT_NEAR(value, c.degrees, 1e-12);
            EXPECT_TRUE(dialog.messages.empty());
        } else if (c.message) {
            EXPECT_THAT(dialog.messages, ::testing::Contains(CString(c.message)));
        } else {
            EXPECT_TRUE(dialog.messages.empty());
        }
    }
}

TEST(ReferenceAltitude, RoundsAndRefuses) {
    struct Case {
        const char16_t* text;
        bool ok;
        double metres;
        const char16_t* message;
    };
    const Case cases[] = {
        {u"123.456 m", true, 123.46, nullptr},
        {u"-12.345", true, -12.35, nullptr},
        {u"16000.004", true, 16000.0, nullptr},
        {u"16000.006", false, 0, u"Altitude field out of range."},
        {u"-1000.01", false, 0, u"Altitude field out of range."},
        {u"12 34", false, 0, u"Extraineous numbers in Altitude."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.text));
        RecordingDialog dialog;
        double value = 0;
        EXPECT_EQ(dialog.ParseAltitude(c.text, value), c.ok ? TRUE : FALSE);
        if (c.ok) {
            EXPECT_NEAR(value, c.metres, 1e-9);
        } else {
            EXPECT_THAT(dialog.messages, ::testing::ElementsAre(CString(c.message)));
        }
    }
}

TEST(ReferenceAngle, TextsInTheThreeFormats) {
    EXPECT_EQ(CReferencePositionDialog::FormatAngle(51.5, 0), CString(u"51.5000000\u00B0"));
    EXPECT_EQ(CReferencePositionDialog::FormatAngle(-0.5, 1), CString(u"-00\u00B0  30.00000'"));
    EXPECT_EQ(CReferencePositionDialog::FormatAngle(-51.5, 1), CString(u"-51\u00B0  30.00000'"));
    EXPECT_EQ(CReferencePositionDialog::FormatAngle(51.50833333333333, 2),
              CString(u"51\u00B0   30'  30.0000\""));
    EXPECT_EQ(CReferencePositionDialog::FormatAngle(7.25, 9), CString(u"07\u00B0   15'   0.0000\""));
}

class ReferenceProfileTest : public dialogtest::ProfileTest {};

TEST_F(ReferenceProfileTest, AltitudesFollowEachOtherThroughTheGeoid) {
    RecordingDialog dialog;
    dialog.m_locLatitude = 51.5;
    dialog.m_locLongitude = -0.25;
    dialog.PrepareOpening(0);
    const double separation = GeoidSeparation(51.5, -0.25);
    EXPECT_DOUBLE_EQ(dialog.m_referenceGeoidSeparation, separation);
    dialog.m_mslAltitudeText = u"73.5";
    EXPECT_TRUE(dialog.OnDeferredEdit(CReferencePositionDialog::kMslAltitudeId, 0));
    EXPECT_DOUBLE_EQ(dialog.m_wgs84Altitude, 73.5 + separation);
    dialog.m_locLatitudeText = u"10 N";
    EXPECT_TRUE(dialog.OnDeferredEdit(CReferencePositionDialog::kLatitudeId, 0));
    EXPECT_EQ(dialog.m_locLatitudeText, CString(u"10.0000000\u00B0"));
    // A latitude change moves only the separation; the altitudes keep their values.
    EXPECT_DOUBLE_EQ(dialog.m_wgs84Altitude, 73.5 + separation);
    dialog.m_wgs84AltitudeText = u"abc 1 2";
    EXPECT_FALSE(dialog.OnDeferredEdit(CReferencePositionDialog::kWgs84AltitudeId, 0));
    dialog.OnCancelClickStarted();
    dialog.m_wgs84AltitudeText = u"12 34";
    EXPECT_TRUE(dialog.OnDeferredEdit(CReferencePositionDialog::kWgs84AltitudeId, 0));
    EXPECT_EQ(dialog.messages.size(), 1u);
}

TEST_F(ReferenceProfileTest, DatabaseStoresChoosesAndRemoves) {
    RecordingDialog saved;
    saved.m_locLatitude = 51.5;
    saved.m_locLongitude = -0.25;
    saved.m_wgs84Altitude = 120;
    saved.m_mslAltitude = 73.5;
    EXPECT_EQ(saved.LocationRecord(),
              CString(u"51.5000000000000000 -0.2500000000000000 120.0000000000000000 73.5000000000000000"));
    EXPECT_TRUE(saved.SaveLocation(u"Home"));
    EXPECT_FALSE(saved.SaveLocation(u""));
    EXPECT_THAT(CReferencePositionDialog::StoredLocationNames(), ::testing::ElementsAre(CString(u"Home")));

    RecordingDialog chooser;
    chooser.PrepareOpening(0);
    chooser.OnSelectLocation(u"Home", 0);
    EXPECT_DOUBLE_EQ(chooser.m_locLatitude, 51.5);
    EXPECT_DOUBLE_EQ(chooser.m_locLongitude, -0.25);
    // The stored MSL altitude holds; the WGS84 one follows from the separation at the location.
    EXPECT_DOUBLE_EQ(chooser.m_mslAltitude, 73.5);
    EXPECT_DOUBLE_EQ(chooser.m_wgs84Altitude, 73.5 + GeoidSeparation(51.5, -0.25));

    EXPECT_TRUE(chooser.RemoveLocation(u"Home"));
    EXPECT_FALSE(chooser.RemoveLocation(u"Home"));
    EXPECT_THAT(chooser.messages, ::testing::ElementsAre(CString(u"No such item in the database.")));
    EXPECT_TRUE(CReferencePositionDialog::StoredLocationNames().empty());
}

} // namespace
