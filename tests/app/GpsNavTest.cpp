#include "app/CGpsNav.h"

#include "AppTestSupport.h"
#include "app/GpsTime.h"
#include "platform/registry/Registry.h"
#include "receiver/AppProfileAccess.h"
#include "support/FreshProfile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

namespace {

class FakeHost : public IPositionAveragerHost {
public:
    int GetInterfaceMode() const override { return mode; }
    int GetReceiverModel() const override { return model; }
    int GetActiveChannelCount() const override { return channels; }
    void SendGpsCommand(const CString& command) override { sent.push_back(command); }
    bool IsDialogOpen() const override { return dialogOpen; }
    void ShowControlText(UINT controlId, const CString& text) override { shown[controlId] = text; }

    int mode = 0;
    int model = 0;
    int channels = 8;
    bool dialogOpen = false;
    std::vector<CString> sent;
    std::map<UINT, CString> shown;
};

// Each test gets its own profile directory, also when the binary is run by hand.
class Averager : public ::testing::Test {
protected:
    void SetUp() override { testsupport::UseFreshProfile(); }
    void TearDown() override { doliva::registry::DropCachedHives(); }

    static CString Read(LPCTSTR section, LPCTSTR key) { return AppGetProfileString(section, key, u"<none>"); }

    // A locked 3-D receiver with eight satellites.
    static void Lock(CGpsNav& nav, int fixType = 3) {
        nav.SetTrackedCount(8);
        nav.SetFixType(fixType);
        ASSERT_TRUE(nav.CheckLock(0, Tick()));
    }
    static CGpsTime Tick() {
        CGpsTime t;
        t.SetTime(apptest::Utc(2024, 3, 10, 12));
        return t;
    }

    FakeHost host;
};

} // namespace

TEST_F(Averager, LoadsDefaultsAndRepairsInvalidProfileValues) {
    {
        CGpsNav nav(host);
        double lat, lon, gps, msl;
        nav.GetReferencePosition(lat, lon, gps, msl);
        EXPECT_DOUBLE_EQ(lat, 32.9143894);
        EXPECT_DOUBLE_EQ(lon, -117.1122356);
        EXPECT_DOUBLE_EQ(gps, 96.06);
        EXPECT_DOUBLE_EQ(msl, 100.0);
        EXPECT_EQ(nav.GetRefLocOnStart(), 1);
        EXPECT_EQ(nav.Settings().positionWeightLimit, 28800.0);
        EXPECT_EQ(nav.GetTrackedCount(), -1);
        EXPECT_EQ(nav.GetFixQuality(), -1);
        EXPECT_EQ(nav.GetSpeed(), -1.0);
        EXPECT_EQ(nav.GetHeading(), -1.0);
        EXPECT_TRUE(nav.IsRestartPending());
        EXPECT_EQ(nav.GetTsigma(), -1.0);
        // Valid defaults are not written.
        EXPECT_EQ(Read(u"RefLocation", u"Latitude"), u"<none>");
    }
    AppWriteProfileString(u"RefLocation", u"Latitude", u"abc");
    AppWriteProfileString(u"RefLocation", u"Longitude", u"-180");
    AppWriteProfileString(u"RefLocation", u"GPS Altitude", u"12.5 metres");
    AppWriteProfileString(u"RefLocation", u"MSL Altitude", u"-1000.5");
    AppWriteProfileString(u"Averaging Data", u"RMS Weight Limit", u"-5");
    AppWriteProfileString(u"Averaging Data", u"Timing Weight Limit", u"1000000");
    AppWriteProfileString(u"Averaging Data", u"Position Weight Limit", u"0");
    AppWriteProfileString(u"Averaging Data", u"HDOP Weight", u"100");
    AppWriteProfileString(u"Averaging Data", u"VDOP Weight", u"99");
    CGpsNav nav(host);
    double lat, lon, gps, msl;
    nav.GetReferencePosition(lat, lon, gps, msl);
    EXPECT_EQ(lat, 0.0);
    EXPECT_EQ(lon, 0.0);
    EXPECT_EQ(gps, 12.5);
    EXPECT_EQ(msl, 0.0);
    EXPECT_EQ(Read(u"RefLocation", u"Latitude"), u"0.0000000000000000");
    EXPECT_EQ(Read(u"RefLocation", u"Longitude"), u"0.0000000000000000");
    EXPECT_EQ(Read(u"RefLocation", u"GPS Altitude"), u"12.5 metres");
    EXPECT_EQ(Read(u"RefLocation", u"MSL Altitude"), u"0.0000000000000000");
    const AveragingSettings& s = nav.Settings();
    EXPECT_EQ(s.rmsWeightLimit, 86400.0);
    EXPECT_EQ(Read(u"Averaging Data", u"RMS Weight Limit"), u"086400.0");
    EXPECT_EQ(s.timingWeightLimit, 28800.0);
    EXPECT_EQ(Read(u"Averaging Data", u"Timing Weight Limit"), u"028800.0");
    EXPECT_EQ(s.positionWeightLimit, 0.0);
    EXPECT_EQ(s.hdopWeight, 1.5);
    EXPECT_EQ(Read(u"Averaging Data", u"HDOP Weight"), u"01.5");
    EXPECT_EQ(s.vdopWeight, 99.0);
}

TEST_F(Averager, ReferencePositionIsStoredWithMetresPerDegree) {
    CGpsNav nav(host);
    nav.SetRefLocOnStart(0);
    nav.SetReferencePosition(60.0, -1.25, 55.5, 10.0);
    EXPECT_NEAR(nav.GetMetresPerDegreeLongitude(), 55555.51, 0.005);
    EXPECT_EQ(Read(u"RefLocation", u"Latitude"), u"60.0000000000000000");
    EXPECT_EQ(Read(u"RefLocation", u"Longitude"), u"-1.2500000000000000");
    EXPECT_EQ(Read(u"RefLocation", u"MSL Altitude"), u"10.0000000000000000");
    EXPECT_EQ(AppGetProfileInt(u"RefLocation", u"Ref_Loc_On_Start", 7), 0);
    EXPECT_EQ(nav.GetReferenceMslAltitude(), 10.0);
}

TEST_F(Averager, TsigmaFromSatellitesAndErrorTerms) {
    CGpsNav nav(host);
    nav.SetTimingErrorTerms(10, 100);
    Lock(nav);
    nav.UpdatePosition(10, 20, 100, 90, 0);
    EXPECT_NEAR(nav.GetTsigma(), 94.75, 0.005);
    // The first value after a reset sets the maximum and the minimum.
    EXPECT_EQ(nav.GetTsigmaMax(), nav.GetTsigma());
    EXPECT_EQ(nav.GetTsigmaMin(), nav.GetTsigma());
    EXPECT_EQ(nav.GetTsigmaText(), u"Tsigma 095 nsec (max  95, average  95, min  95)");
    nav.SetTrackedCount(4);
    nav.UpdatePosition(10, 20, 100, 90, 0);
    EXPECT_NEAR(nav.GetTsigma(), 284.25, 0.005);
    EXPECT_NEAR(nav.GetTsigmaAverage(), 189.50, 0.005);
    EXPECT_EQ(nav.GetTsigmaText(), u"Tsigma 284 nsec (max 284, average 190, min  95)");
    // In timing mode one unknown: q = (4 - 1 + 0.5) / 1.
    nav.UpdatePosition(10, 20, 100, 90, 2);
    EXPECT_NEAR(nav.GetTsigma(), std::sqrt(10100 / 3.5), 1e-9);
    nav.SetTrackedCount(0);
    nav.UpdatePosition(10, 20, 100, 90, 2);
    EXPECT_EQ(nav.GetTsigmaText(), u"");
}

TEST_F(Averager, HorizontalDopWeighting) {
    struct Case {
        double hdop;
        BOOL useDop;
        double average;
    } cases[] = {
        {3.0, TRUE, 10.125}, // weight (1.5 / 3)^2 = 0.25
        {0.0, TRUE, 10.5},   // unknown HDOP weighs 1
        {3.0, FALSE, 10.5},
        {0.75, TRUE, 11.0}, // weight 4 is cut to the counter, dropping the old average
    };
    for (const Case& c : cases) {
        CGpsNav nav(host);
        nav.Settings().useDopWeighting = c.useDop;
        nav.SetDops(-1, -1, c.hdop, -1, -1);
        Lock(nav);
        nav.UpdatePosition(10, 20, 100, 90, 0);
        EXPECT_EQ(nav.GetAverageLatitude(), 10.0);
        nav.UpdatePosition(11, 20, 100, 90, 0);
        EXPECT_DOUBLE_EQ(nav.GetAverageLatitude(), c.average) << c.hdop;
        EXPECT_EQ(nav.GetPositionCount(), 2.0);
    }
}

TEST_F(Averager, LosingAndRegainingTheLockRestartsTheAverages) {
    CGpsNav nav(host);
    Lock(nav);
    nav.UpdatePosition(10, 20, 100, 90, 0);
    nav.UpdatePosition(10.001, 20.001, 101, 91, 0);
    ASSERT_GT(nav.GetTerm(CGpsNav::kAvgCur, CGpsNav::kLatitude).rms, 0.0);

    nav.SetTrackedCount(2);
    EXPECT_FALSE(nav.CheckLock(0, Tick()));
    EXPECT_EQ(nav.GetUnlockCount(), 1);
    nav.UpdatePosition(11, 21, 102, 92, 0);
    // The first unlocked update resets, which also clears the unlock counter ...
    EXPECT_TRUE(nav.IsRestartPending());
    EXPECT_EQ(nav.GetUnlockCount(), 0);
    EXPECT_EQ(nav.GetPositionCount(), 0.0);
    EXPECT_EQ(nav.GetTsigma(), -1.0);
    EXPECT_EQ(nav.GetTsigmaText(), u"No Timing Solution. Not enough satellites tracked.");
    // ... the next ones do not.
    EXPECT_FALSE(nav.CheckLock(0, Tick()));
    nav.UpdatePosition(11, 21, 102, 92, 0);
    EXPECT_EQ(nav.GetUnlockCount(), 1);

    nav.SetTrackedCount(5);
    EXPECT_TRUE(nav.CheckLock(0, Tick()));
    nav.UpdatePosition(12, 22, 103, 93, 0);
    EXPECT_FALSE(nav.IsRestartPending());
    EXPECT_EQ(nav.GetAverageLatitude(), 12.0);
    EXPECT_EQ(nav.GetAverageLongitude(), 22.0);
    EXPECT_EQ(nav.GetAverageAltitudeGps(), 103.0);
    EXPECT_EQ(nav.GetAverageAltitudeMsl(), 93.0);
    for (int axis = 0; axis < CGpsNav::kAxisCount; ++axis) {
        const auto& avgCur = nav.GetTerm(CGpsNav::kAvgCur, static_cast<CGpsNav::Axis>(axis));
        EXPECT_EQ(avgCur.difference, 0.0);
        EXPECT_EQ(avgCur.rms, 0.0);
        // The mean squares start afresh from this fix.
        const auto& refCur = nav.GetTerm(CGpsNav::kRefCur, static_cast<CGpsNav::Axis>(axis));
        EXPECT_DOUBLE_EQ(refCur.rms, std::fabs(refCur.difference));
    }
}

TEST_F(Averager, TwoDimensionalFixKeepsTheAltitudesAndLeavingTheFixStopsAfterOneUpdate) {
    CGpsNav nav(host);
    Lock(nav);
    nav.UpdatePosition(10, 20, 100, 90, 0);
    nav.UpdatePosition(10, 20, 110, 100, 0);
    EXPECT_EQ(nav.GetPositionCountText(), u"2");
    EXPECT_EQ(nav.GetAverageAltitudeGps(), 105.0);
    nav.SetFixType(2);
    nav.UpdatePosition(10, 20, 500, 500, 0);
    EXPECT_EQ(nav.GetAltitudeCount(), 2.0);
    EXPECT_EQ(nav.GetAverageAltitudeGps(), 105.0);
    EXPECT_EQ(nav.GetAverageAltitudeMsl(), 95.0);
    EXPECT_EQ(nav.GetPositionCountText(), u"3/2");
    nav.SetFixType(1);
    nav.UpdatePosition(10, 20, 100, 90, 0);
    EXPECT_EQ(nav.GetPositionCount(), 4.0);
    nav.UpdatePosition(10, 20, 100, 90, 0);
    EXPECT_EQ(nav.GetPositionCount(), 4.0);
}

TEST_F(Averager, CountersFollowTheirLimits) {
    CGpsNav nav(host);
    Lock(nav);
    for (int i = 0; i < 10; ++i) {
        nav.UpdatePosition(10, 20, 100, 90, 0);
    }
    EXPECT_EQ(nav.GetPositionCount(), 10.0);
    nav.Settings().positionWeightLimit = 5;
    nav.UpdatePosition(10, 20, 100, 90, 0);
    EXPECT_EQ(nav.GetPositionCount(), 5.0);
    EXPECT_EQ(nav.GetRmsCount(), 11.0);
    // A limit of 0 keeps the counter at 0; the average then follows the fix instead of dividing by zero.
    nav.Settings().positionWeightLimit = 0;
    nav.Settings().rmsWeightLimit = 0;
    nav.Settings().timingWeightLimit = 0;
    nav.UpdatePosition(11, 21, 101, 91, 0);
    EXPECT_EQ(nav.GetPositionCount(), 0.0);
    EXPECT_EQ(nav.GetAverageLatitude(), 11.0);
    EXPECT_EQ(nav.GetAverageAltitudeMsl(), 91.0);
    EXPECT_FALSE(std::isnan(nav.GetTerm(CGpsNav::kRefCur, CGpsNav::k2D).rms));
    EXPECT_FALSE(std::isnan(nav.GetTsigmaAverage()));
}

TEST_F(Averager, CheckLockByGpsMode) {
    struct Case {
        int gpsMode, tracked;
        BOOL locked;
    } cases[] = {{2, 1, TRUE}, {2, 0, FALSE}, {0, 2, FALSE}, {0, 3, TRUE}, {1, 2, FALSE}, {5, 0, TRUE}};
    for (const Case& c : cases) {
        CGpsNav nav(host);
        nav.SetTrackedCount(c.tracked);
        EXPECT_EQ(nav.CheckLock(c.gpsMode, Tick()), c.locked) << c.gpsMode << "/" << c.tracked;
        EXPECT_EQ(nav.GetUnlockCount(), c.locked ? 0 : 1);
    }
}

TEST_F(Averager, LockedSinceIsStampedOnTheChangeToLockedOnly) {
    CGpsNav nav(host);
    host.dialogOpen = true;
    nav.SetTrackedCount(3);
    nav.CheckLock(0, Tick());
    EXPECT_EQ(nav.GetLockedSinceText(), u"10Mar24 12:00:00 UTC");
    CGpsTime later;
    later.SetTime(apptest::Utc(2024, 3, 10, 12, 0, 1));
    nav.CheckLock(0, later);
    EXPECT_EQ(nav.GetLockedSinceText(), u"10Mar24 12:00:00 UTC");
    nav.SetTrackedCount(2);
    nav.CheckLock(0, later);
    EXPECT_EQ(host.shown[kIdcUnlockCount], u"1");
    EXPECT_EQ(host.shown[kIdcLockedSince], u"");
    nav.SetTrackedCount(3);
    nav.CheckLock(0, later);
    EXPECT_EQ(host.shown[kIdcLockedSince], u"10Mar24 12:00:01 UTC");
}

TEST_F(Averager, FixTypeChangeAsksAMotorolaReceiverForItsHoldState) {
    struct Case {
        int mode, channels;
        std::u16string query;
    } cases[] = {{2, 8, u"@@At\u00FF"}, {2, 12, u"@@Gd\u00FF"}, {0, 8, u""}, {3, 8, u""}};
    for (const Case& c : cases) {
        host.sent.clear();
        host.mode = c.mode;
        host.channels = c.channels;
        CGpsNav nav(host);
        nav.SetFixType(3);
        nav.SetFixType(3);
        if (c.query.empty()) {
            EXPECT_TRUE(host.sent.empty());
        } else {
            ASSERT_EQ(host.sent.size(), 1u);
            EXPECT_EQ(host.sent[0], c.query.c_str());
        }
    }
}

TEST_F(Averager, SetterGuards) {
    CGpsNav nav(host);
    nav.SetTrackedCount(6);
    nav.SetTrackedCount(-1);
    nav.SetSpeed(3.5);
    nav.SetSpeed(-2);
    nav.SetHeading(270);
    nav.SetHeading(-1);
    nav.SetFixQuality(-1);
    nav.SetFixQuality(-2);
    EXPECT_EQ(nav.GetTrackedCount(), 6);
    EXPECT_EQ(nav.GetSpeed(), 3.5);
    EXPECT_EQ(nav.GetHeading(), 270.0);
    EXPECT_EQ(nav.GetFixQuality(), -1);
    nav.SetDops(2.5, 0, 1.2, -1, -1);
    nav.SetDops(-1, -1, -1, -1, 0.9);
    EXPECT_EQ(nav.FormatDops(), u"DOPs: G=2.5 H=1.2 T=0.9 ");
}

TEST_F(Averager, AveragesSurviveARestartWhenContinued) {
    {
        // Saved when the engine goes with the program, not only when a receiver is initialised.
        CGpsNav nav(host);
        Lock(nav);
        nav.UpdatePosition(10, 20, 100, 90, 0);
        nav.UpdatePosition(10.0001, 20.0002, 103, 92, 0);
    }
    CGpsNav first(host);
    EXPECT_EQ(first.GetPositionCount(), 0.0); // not continued: started afresh
    AppWriteProfileInt(u"Averaging Data", u"Restart Averages On Startup", 1);
    CGpsNav nav(host);
    EXPECT_FALSE(nav.IsRestartPending());
    EXPECT_NEAR(nav.GetAverageLatitude(), 10.00005, 1e-12);
    EXPECT_NEAR(nav.GetAverageLongitude(), 20.0001, 1e-12);
    EXPECT_NEAR(nav.GetAverageAltitudeGps(), 101.5, 1e-12);
    EXPECT_NEAR(nav.GetAverageAltitudeMsl(), 91.0, 1e-12);
    EXPECT_EQ(nav.GetPositionCount(), 2.0);
    EXPECT_EQ(nav.GetAltitudeCount(), 2.0);
    EXPECT_EQ(nav.GetRmsCount(), 2.0);
    const auto& alt = nav.GetTerm(CGpsNav::kAvgCur, CGpsNav::kAltitudeGps);
    EXPECT_NEAR(alt.meanSquare, (1.5 * 1.5) / 2, 1e-12);
    EXPECT_EQ(Read(u"Averaging Data", u"Averages - Weights"),
              u"2.0000000000000000 2.0000000000000000 2.0000000000000000");

    // A short text leaves 0.0 in what it does not supply.
    AppWriteProfileString(u"Averaging Data", u"Averages - Position", u"1.5 2.5");
    CGpsNav shortText(host);
    EXPECT_EQ(shortText.GetAverageLatitude(), 1.5);
    EXPECT_EQ(shortText.GetAverageLongitude(), 2.5);
    EXPECT_EQ(shortText.GetAverageAltitudeGps(), 0.0);
    EXPECT_EQ(shortText.GetAverageAltitudeMsl(), 0.0);
}

TEST_F(Averager, ParseNextNumber) {
    CString text = u"  -1.5e3  +2.25\tx 7";
    EXPECT_EQ(CGpsNav::ParseNextNumber(text), -1.5);
    EXPECT_EQ(text, u"e3  +2.25\tx 7");
    EXPECT_EQ(CGpsNav::ParseNextNumber(text), 0.0);
    EXPECT_EQ(text, u"e3  +2.25\tx 7");
    text = u"+2.25\tx";
    EXPECT_EQ(CGpsNav::ParseNextNumber(text), 2.25);
    EXPECT_EQ(text, u"x");
    text = u"";
    EXPECT_EQ(CGpsNav::ParseNextNumber(text), 0.0);
}

TEST_F(Averager, MotorolaReceiversOtherThanModel10LoseDopWeighting) {
    host.mode = 2;
    host.model = 5;
    EXPECT_FALSE(CGpsNav(host).Settings().useDopWeighting);
    host.mode = 3;
    EXPECT_FALSE(CGpsNav(host).Settings().useDopWeighting);
    host.model = 10;
    EXPECT_TRUE(CGpsNav(host).Settings().useDopWeighting);
    host.mode = 4;
    host.model = 5;
    EXPECT_TRUE(CGpsNav(host).Settings().useDopWeighting);
}

TEST_F(Averager, DialogSettingsAreCheckedAndStored) {
    CGpsNav nav(host);
    AveragingSettings s;
    EXPECT_EQ(CGpsNav::FirstInvalidSetting(s), 0u);
    s.rmsWeightLimit = 200000;
    s.timingWeightLimit = 0;
    EXPECT_EQ(CGpsNav::FirstInvalidSetting(s), 0u);
    s.hdopWeight = 11;
    EXPECT_EQ(CGpsNav::FirstInvalidSetting(s), static_cast<UINT>(kIdcHdopWeight));
    s.hdopWeight = 1.5;
    // Negative limits would drive the counters and the mean squares negative.
    s.rmsWeightLimit = -1;
    EXPECT_EQ(CGpsNav::FirstInvalidSetting(s), static_cast<UINT>(kIdcLimitRms));
    s.rmsWeightLimit = 1;
    s.timingWeightLimit = -0.5;
    EXPECT_EQ(CGpsNav::FirstInvalidSetting(s), static_cast<UINT>(kIdcLimitTiming));
    s.positionWeightLimit = 1000000;
    EXPECT_EQ(CGpsNav::FirstInvalidSetting(s), static_cast<UINT>(kIdcLimitPosition));

    nav.Settings().vdopWeight = 2.26;
    nav.Settings().continueOnRestart = TRUE;
    nav.SaveSettings();
    EXPECT_EQ(Read(u"Averaging Data", u"Position Weight Limit"), u"028800.0");
    EXPECT_EQ(Read(u"Averaging Data", u"RMS Weight Limit"), u"086400.0");
    EXPECT_EQ(Read(u"Averaging Data", u"HDOP Weight"), u"01.5");
    EXPECT_EQ(Read(u"Averaging Data", u"VDOP Weight"), u"02.3");
    EXPECT_EQ(AppGetProfileInt(u"Averaging Data", u"Use DOP Weighting", 7), 1);
    EXPECT_EQ(AppGetProfileInt(u"Averaging Data", u"Restart Averages On Startup", 7), 1);
}

TEST_F(Averager, OpenDialogSeesTheCountersAndResets) {
    CGpsNav nav(host);
    host.dialogOpen = true;
    Lock(nav);
    nav.UpdatePosition(10, 20, 100, 90, 0);
    nav.UpdatePosition(10.0001, 20, 100, 90, 0);
    EXPECT_EQ(host.shown[kIdcPositionCount], u"2");
    EXPECT_EQ(host.shown[kIdcRmsCount], u"2");
    EXPECT_EQ(host.shown[kIdcTimingCount], u"2");
    EXPECT_EQ(host.shown[kIdcTsigma], nav.GetTsigmaText());
    EXPECT_EQ(host.shown[kIdcReport], nav.GetReportText());
    EXPECT_NE(nav.GetReportText().Find(u"Avg-Cur:\t  -5.56 m"), -1);

    nav.ResetAll();
    EXPECT_EQ(host.shown[kIdcPositionCount], u"0");
    EXPECT_EQ(host.shown[kIdcRmsCount], u"0");
    EXPECT_EQ(host.shown[kIdcTimingCount], u"0");
    EXPECT_EQ(nav.GetAverageLatitude(), 10.0001);
    EXPECT_EQ(nav.GetTsigmaMax(), nav.GetTsigma());
    EXPECT_EQ(nav.GetTsigmaAverage(), nav.GetTsigma());
    nav.ResetUnlockCount();
    EXPECT_EQ(host.shown[kIdcUnlockCount], u"0");

    host.dialogOpen = false;
    host.shown.clear();
    nav.UpdatePosition(10, 20, 100, 90, 0);
    EXPECT_TRUE(host.shown.empty());
}
