#include "dialogs/CGpsRxModeSelect.h"

#include "DialogTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr char16_t kSection[] = u"GPS Rx Settings";

class GpsRxModeSelect : public dialogtest::ProfileTest {
protected:
    static void Receiver(int mode, int model, float version) {
        g_interfaceMode = mode;
        g_receiverIdentity.model = model;
        g_receiverIdentity.firmwareVersion = version;
    }
};

TEST_F(GpsRxModeSelect, FreshProfileGivesTheDefaults) {
    CGpsRxModeSelect dlg;
    EXPECT_EQ(dlg.m_elevationMask, 5);
    EXPECT_EQ(dlg.m_gpsMode, 0);
    EXPECT_EQ(dlg.m_positionFixMode, 0);
    EXPECT_EQ(dlg.m_satelliteSelection, 0);
    EXPECT_EQ(dlg.m_geometry, 0);
    EXPECT_EQ(dlg.m_ionoCorrection, 0);
    EXPECT_EQ(dlg.m_tropoCorrection, 1);
    EXPECT_EQ(dlg.m_applicationType, 2);
    EXPECT_FALSE(dlg.m_alignMessages);
    EXPECT_FALSE(dlg.m_dgpsActivate);
    EXPECT_EQ(dlg.m_dgpsRate, 30);
    EXPECT_FALSE(dlg.m_emulatePvt6);
    EXPECT_EQ(dlg.m_pulseMode, 0);
    EXPECT_EQ(dlg.m_ppsDuration, 0);
    EXPECT_FALSE(dlg.m_gpsRxOnLocalTime);
    EXPECT_TRUE(dlg.m_satGps);
    EXPECT_FALSE(dlg.m_satGlonass || dlg.m_satGalileo || dlg.m_satBeidou || dlg.m_satQzss || dlg.m_satSbas);
    EXPECT_EQ(dlg.m_satEnableMask, 0xFFFFFFFFu);
    EXPECT_EQ(dlg.m_trackedMask, 0u);
    EXPECT_EQ(dlg.m_seenMask, 0u);
}

// The elevation mask and the DGPS rate go to the receiver as single bytes: hand-edited values are clamped to
// what the dialog accepts before any command is built from them.
TEST_F(GpsRxModeSelect, HandEditedElevationAndRateAreClampedToWhatTheDialogAccepts) {
    const struct {
        int elevation, rate, wantElevation, wantRate;
    } cases[] = {{-20, 0, 0, 1}, {300, 4096, 89, 255}, {45, 60, 45, 60}};
    for (const auto& c : cases) {
        AppWriteProfileInt(kSection, u"Elevation Mask", c.elevation);
        AppWriteProfileInt(kSection, u"DGPS Rate", c.rate);
        CGpsRxModeSelect dlg;
        EXPECT_EQ(dlg.m_elevationMask, c.wantElevation) << c.elevation;
        EXPECT_EQ(dlg.m_dgpsRate, c.wantRate) << c.rate;
        EXPECT_EQ(dlg.FindInvalidControl(), 0u);
    }
}

TEST_F(GpsRxModeSelect, OkStoresEverySettingAndReadsBack) {
    {
        CGpsRxModeSelect dlg;
        dlg.m_elevationMask = 89;
        dlg.m_gpsMode = 2;
        dlg.m_positionFixMode = 1;
        dlg.m_satelliteSelection = 1;
        dlg.m_geometry = 4;
        dlg.m_ionoCorrection = 1;
        dlg.m_tropoCorrection = 0;
        dlg.m_applicationType = 4;
        dlg.m_alignMessages = TRUE;
        dlg.m_dgpsActivate = TRUE;
        dlg.m_dgpsRate = 255;
        dlg.m_emulatePvt6 = TRUE;
        dlg.m_pulseMode = 1;
        dlg.m_ppsDuration = 1;
        dlg.m_gpsRxOnLocalTime = TRUE;
        dlg.m_satGlonass = TRUE;
        dlg.m_satSbas = TRUE;
        dlg.m_satEnableMask = 0x80000001u;
        ASSERT_TRUE(dlg.ConfirmSettings());
    }
    EXPECT_EQ(StoredInt(kSection, u"Sat Enable Bit Mask"), static_cast<int>(0x80000001u));
    CGpsRxModeSelect dlg;
    EXPECT_EQ(dlg.m_elevationMask, 89);
    EXPECT_EQ(dlg.m_gpsMode, 2);
    EXPECT_EQ(dlg.m_positionFixMode, 1);
    EXPECT_EQ(dlg.m_satelliteSelection, 1);
    EXPECT_EQ(dlg.m_geometry, 4);
    EXPECT_EQ(dlg.m_ionoCorrection, 1);
    EXPECT_EQ(dlg.m_tropoCorrection, 0);
    EXPECT_EQ(dlg.m_applicationType, 4);
    EXPECT_TRUE(dlg.m_alignMessages);
    EXPECT_TRUE(dlg.m_dgpsActivate);
    EXPECT_EQ(dlg.m_dgpsRate, 255);
    EXPECT_TRUE(dlg.m_emulatePvt6);
    EXPECT_EQ(dlg.m_pulseMode, 0); // lives only in the object
    EXPECT_EQ(dlg.m_ppsDuration, 1);
    EXPECT_TRUE(dlg.m_gpsRxOnLocalTime);
    EXPECT_TRUE(dlg.m_satGps && dlg.m_satGlonass && dlg.m_satSbas);
    EXPECT_FALSE(dlg.m_satGalileo || dlg.m_satBeidou || dlg.m_satQzss);
    EXPECT_EQ(dlg.m_satEnableMask, 0x80000001u);
}

TEST_F(GpsRxModeSelect, ValueOutsideItsRangeStoresNothing) {
    for (auto [elevation, rate, id] : {std::tuple{90, 30, CGpsRxModeSelect::kElevationMaskId},
                                       {-1, 30, CGpsRxModeSelect::kElevationMaskId},
                                       {5, 0, CGpsRxModeSelect::kDgpsRateId},
                                       {5, 256, CGpsRxModeSelect::kDgpsRateId}}) {
        CGpsRxModeSelect dlg;
        dlg.m_elevationMask = elevation;
        dlg.m_dgpsRate = rate;
        EXPECT_EQ(dlg.FindInvalidControl(), static_cast<UINT>(id));
        EXPECT_FALSE(dlg.ConfirmSettings());
        EXPECT_EQ(StoredInt(kSection, u"Elevation Mask"), -12345);
    }
}

TEST_F(GpsRxModeSelect, StoredTimingModeBecomes2DWhereTheReceiverLacksIt) {
    struct Case {
        int mode, model, loaded;
    };
    const Case cases[] = {
        {kModeMotorolaBinary, 2, 1}, {kModeMotorolaBinary, 1, 1}, {kModeMotorolaBinary, 7, 1},
        {kModeGenericNmea, 14, 1},   {kModeMotorolaBinary, 3, 2}, {kModeUbloxUbx, 19, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        AppWriteProfileInt(kSection, u"GPS Mode", 2);
        Receiver(c.mode, c.model, 2.0f);
        CGpsRxModeSelect dlg;
        EXPECT_EQ(dlg.m_gpsMode, c.loaded);
        EXPECT_EQ(StoredInt(kSection, u"GPS Mode"), c.loaded);
    }
}

TEST_F(GpsRxModeSelect, LocalTimeCountsOnlyOnAMotorolaBinaryLink) {
    AppWriteProfileInt(kSection, u"Gps Rx On Local Time", 1);
    Receiver(kModeMotorolaNmea, 3, 1.0f);
    {
        CGpsRxModeSelect dlg;
        EXPECT_FALSE(dlg.m_gpsRxOnLocalTime);
    }
    // The destructor stores what the object holds.
    EXPECT_EQ(StoredInt(kSection, u"Gps Rx On Local Time"), 0);
    AppWriteProfileInt(kSection, u"Gps Rx On Local Time", 1);
    Receiver(kModeMotorolaBinary, 3, 1.0f);
    CGpsRxModeSelect dlg;
    EXPECT_TRUE(dlg.m_gpsRxOnLocalTime);
}

TEST_F(GpsRxModeSelect, SeenSatellitesAccumulate) {
    CGpsRxModeSelect dlg;
    dlg.SetTrackedSatellites(0x5);
    dlg.SetTrackedSatellites(0x30);
    EXPECT_EQ(dlg.m_trackedMask, 0x30u);
    EXPECT_EQ(dlg.m_seenMask, 0x35u);
    dlg.OnDisableAllSatellites();
    EXPECT_EQ(dlg.m_satEnableMask, 0u);
    dlg.OnEnableAllSatellites();
    EXPECT_EQ(dlg.m_satEnableMask, 0xFFFFFFFFu);
}

TEST_F(GpsRxModeSelect, CorrectionDefaultsByReceiver) {
    struct Case {
        int mode, model;
        float version;
        int iono, tropo;
    };
    const Case cases[] = {
        {kModeMotorolaBinary, 1, 1.5f, 1, 1},  {kModeMotorolaBinary, 1, 1.6f, 0, 1},
        {kModeMotorolaBinary, 2, 2.0f, 0, 0},  {kModeMotorolaBinary, 8, 1.9f, 1, 1},
        {kModeMotorolaBinary, 17, 2.0f, 0, 0}, {kModeMotorolaBinary, 4, 1.0f, 0, 0},
        {kModeMotorolaBinary, 23, 1.0f, 0, 0}, {kModeMotorolaBinary, 10, 8.9f, 0, 0},
        {kModeMotorolaBinary, 10, 8.7f, 0, 1}, {kModeGenericNmea, 14, 0.0f, 0, 1},
        {kModeUbloxUbx, 19, 0.0f, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.model << " v" << c.version);
        Receiver(c.mode, c.model, c.version);
        CGpsRxModeSelect dlg;
        EXPECT_EQ(dlg.IonoDefault(1), c.iono);
        EXPECT_EQ(dlg.TropoDefault(1), c.tropo);
        EXPECT_EQ(dlg.IonoDefault(0), 1);
        EXPECT_EQ(dlg.TropoDefault(0), 1);
    }
}

// Each row: GPS mode, elevation, fix mode, selection, geometry, application type, DGPS, SBAS.
struct Expected {
    int gps, elevation, fix, selection, geometry, application;
    BOOL dgps, sbas;
};

void ExpectSettings(const CGpsRxModeSelect& dlg, const Expected& e) {
    EXPECT_EQ(dlg.m_gpsMode, e.gps);
    EXPECT_EQ(dlg.m_elevationMask, e.elevation);
    EXPECT_EQ(dlg.m_positionFixMode, e.fix);
    EXPECT_EQ(dlg.m_satelliteSelection, e.selection);
    EXPECT_EQ(dlg.m_geometry, e.geometry);
    EXPECT_EQ(dlg.m_applicationType, e.application);
    EXPECT_EQ(dlg.m_dgpsActivate, e.dgps);
    EXPECT_EQ(dlg.m_satSbas, e.sbas);
}

// The settings before a defaults button: unlike every set, so that what a set leaves alone shows.
void Scramble(CGpsRxModeSelect& dlg) {
    dlg.m_gpsMode = 1;
    dlg.m_elevationMask = 33;
    dlg.m_positionFixMode = 1;
    dlg.m_satelliteSelection = 1;
    dlg.m_geometry = 3;
    dlg.m_applicationType = 3;
    dlg.m_dgpsActivate = TRUE;
    dlg.m_satSbas = TRUE;
    dlg.m_satGlonass = TRUE;
    dlg.m_satEnableMask = 0x1;
}

TEST_F(GpsRxModeSelect, PrecisionTimingDefaults) {
    struct Case {
        int mode, model;
        float version;
        Expected e;
    };
    const Case cases[] = {
        {kModeGenericNmea, 14, 0.0f, {1, 33, 1, 1, 3, 3, TRUE, TRUE}},
        {kModeMotorolaBinary, 1, 1.5f, {0, 10, 1, 1, 3, 3, TRUE, TRUE}},
        {kModeMotorolaBinary, 2, 2.0f, {1, 10, 1, 1, 3, 3, TRUE, TRUE}},
        {kModeMotorolaBinary, 9, 1.0f, {2, 10, 1, 1, 3, 3, TRUE, TRUE}},
        {kModeMotorolaBinary, 4, 1.0f, {2, 5, 0, 1, 4, 2, FALSE, TRUE}},
        {kModeMotorolaBinary, 21, 1.0f, {2, 5, 0, 1, 4, 4, FALSE, TRUE}},
        {kModeMotorolaBinary, 24, 1.0f, {2, 5, 0, 1, 4, 4, FALSE, FALSE}},
        {kModeUbloxUbx, 19, 0.0f, {2, 5, 0, 1, 4, 4, FALSE, FALSE}},
        {kModeMotorolaBinary, 10, 8.0f, {2, 10, 0, 1, 4, 2, FALSE, TRUE}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        Receiver(c.mode, c.model, c.version);
        CGpsRxModeSelect dlg;
        Scramble(dlg);
        dlg.OnPrecisionTimingDefaults();
        ExpectSettings(dlg, c.e);
        EXPECT_EQ(dlg.m_ionoCorrection, dlg.IonoDefault(1));
        EXPECT_EQ(dlg.m_tropoCorrection, dlg.TropoDefault(1));
        const bool fullSet = c.e.fix == 0;
        EXPECT_EQ(dlg.m_satEnableMask, fullSet ? 0xFFFFFFFFu : 0x1u);
        EXPECT_EQ(dlg.m_satGlonass, !c.e.sbas ? FALSE : TRUE);
    }
}

TEST_F(GpsRxModeSelect, NavigationDefaults) {
    struct Case {
        int mode, model;
        float version;
        Expected e;
    };
    const Case cases[] = {
        {kModeGenericNmea, 14, 0.0f, {0, 33, 1, 1, 3, 3, TRUE, TRUE}},
        {kModeMotorolaBinary, 8, 1.9f, {0, 10, 1, 1, 3, 3, TRUE, TRUE}},
        {kModeMotorolaBinary, 17, 2.0f, {0, 5, 1, 1, 3, 3, TRUE, TRUE}},
        {kModeMotorolaBinary, 3, 1.0f, {0, 5, 0, 0, 0, 2, FALSE, TRUE}},
        {kModeMotorolaBinary, 10, 8.9f, {0, 5, 0, 0, 0, 2, FALSE, TRUE}},
        {kModeMotorolaBinary, 23, 1.0f, {0, 5, 0, 0, 0, 2, FALSE, TRUE}},
        {kModeUbloxNmea, 19, 0.0f, {0, 5, 0, 0, 0, 2, FALSE, TRUE}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        Receiver(c.mode, c.model, c.version);
        CGpsRxModeSelect dlg;
        Scramble(dlg);
        dlg.OnNavigationDefaults();
        ExpectSettings(dlg, c.e);
        // Models 23 and 24 and the u-blox receivers get GPS with SBAS only.
        const bool gpsOnly = c.model == 23 || c.model == 19;
        EXPECT_EQ(dlg.m_satGlonass, gpsOnly ? FALSE : TRUE);
    }
}

TEST_F(GpsRxModeSelect, DgpsOutputDefaults) {
    struct Case {
        int mode, model;
        float version;
        Expected e;
    };
    const Case cases[] = {
        {kModeGenericNmea, 14, 0.0f, {1, 33, 1, 1, 3, 3, FALSE, TRUE}},
        {kModeMotorolaBinary, 7, 1.9f, {0, 10, 1, 1, 3, 3, FALSE, TRUE}},
        {kModeMotorolaBinary, 2, 2.0f, {1, 5, 1, 1, 3, 3, FALSE, TRUE}},
        {kModeMotorolaBinary, 9, 2.0f, {2, 5, 1, 1, 3, 3, FALSE, TRUE}},
        {kModeMotorolaBinary, 22, 1.0f, {2, 5, 0, 0, 0, 2, TRUE, TRUE}},
        {kModeMotorolaBinary, 6, 1.0f, {2, 10, 0, 0, 0, 2, TRUE, TRUE}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        Receiver(c.mode, c.model, c.version);
        CGpsRxModeSelect dlg;
        Scramble(dlg);
        dlg.m_dgpsActivate = FALSE;
        dlg.OnDgpsDefaults();
        ExpectSettings(dlg, c.e);
        EXPECT_EQ(dlg.m_ionoCorrection, 1);
        EXPECT_EQ(dlg.m_tropoCorrection, 1);
    }
}

} // namespace

namespace {

// Every setting a receiver might not support, switched the other way from what the limits force.
void StoreEverythingOn() {
    for (auto [key, value] : {std::pair{u"GPS Mode", 1},
                              {u"Position Fix Mode", 1},
                              {u"Satellite Selection", 1},
                              {u"Geometry", 4},
                              {u"Ionospheric Delay", 0},
                              {u"Tropospheric Delay", 0},
                              {u"Elevation Mask", 20},
                              {u"Application Type", 4},
                              {u"Align Messages", 1},
                              {u"DGPS Activate", 1},
                              {u"Emulate Pvt6", 1},
                              {u"Gps Rx On Local Time", 1},
                              {u"PPS Duration", 1},
                              {u"Sat Glonass", 1},
                              {u"Sat Enable Bit Mask", 7}}) {
        AppWriteProfileInt(kSection, key, value);
    }
}

TEST_F(GpsRxModeSelect, OpeningOnAnOldGtDisablesWhatItCannotDo) {
    StoreEverythingOn();
    Receiver(kModeMotorolaBinary, 1, 1.5f);
    CGpsRxModeSelect dlg;
    const RxModeControls c = dlg.PrepareOpening();
    EXPECT_FALSE(c.ionoCorrection);
    EXPECT_EQ(dlg.m_ionoCorrection, 1);
    EXPECT_FALSE(c.gpsMode2D);
    EXPECT_FALSE(c.gpsMode0D);
    EXPECT_EQ(dlg.m_gpsMode, 0);
    EXPECT_FALSE(c.elevationMask);
    EXPECT_EQ(dlg.m_elevationMask, 10);
    EXPECT_FALSE(c.tropoCorrection);
    EXPECT_EQ(dlg.m_tropoCorrection, 1);
    EXPECT_FALSE(c.satelliteCheckRows || c.disableAllButton || c.constellations || c.pulseMode);
    EXPECT_EQ(dlg.m_satEnableMask, 0xFFFFFFFFu);
    EXPECT_FALSE(dlg.m_satGlonass);
    EXPECT_EQ(dlg.m_geometry, 1);
    EXPECT_EQ(dlg.m_applicationType, 2);
    EXPECT_FALSE(dlg.m_dgpsActivate || dlg.m_emulatePvt6 || dlg.m_alignMessages);
    EXPECT_EQ(dlg.m_ppsDuration, 0);
    EXPECT_TRUE(c.localTime);
    EXPECT_TRUE(dlg.m_gpsRxOnLocalTime);
    EXPECT_TRUE(c.okButton);
    EXPECT_FALSE(c.dgpsDefaultsButton);
}

TEST_F(GpsRxModeSelect, GenericNmeaCannotStoreAnything) {
    StoreEverythingOn();
    Receiver(kModeGenericNmea, 14, 0.0f);
    CGpsRxModeSelect dlg;
    const RxModeControls c = dlg.PrepareOpening();
    EXPECT_FALSE(c.okButton);
    EXPECT_FALSE(c.gpsMode0D);
    EXPECT_TRUE(c.gpsMode2D);
    EXPECT_EQ(dlg.m_gpsMode, 1);
    EXPECT_EQ(dlg.m_ionoCorrection, 0);
    EXPECT_EQ(dlg.m_tropoCorrection, 1);
    EXPECT_EQ(dlg.m_elevationMask, 5);
    EXPECT_EQ(dlg.m_geometry, 1);
    EXPECT_FALSE(c.localTime);
    EXPECT_FALSE(dlg.m_gpsRxOnLocalTime);
    EXPECT_FALSE(c.dgpsRate);
}

TEST_F(GpsRxModeSelect, OpeningByModelVersionAndLink) {
    struct Case {
        int mode, model;
        float version;
        BOOL hasDgps;
        bool tropo, sixChannel, dgpsRate, ppsDuration, constellations, dgpsDefaults, localTime;
    };
    const Case cases[] = {
        {kModeMotorolaBinary, 10, 8.9f, TRUE, true, true, true, false, false, true, true},
        {kModeMotorolaBinary, 10, 8.7f, FALSE, false, true, false, false, false, false, true},
        {kModeMotorolaBinary, 11, 7.0f, TRUE, false, false, true, false, false, true, true},
        {kModeMotorolaRxOnly, 6, 9.0f, TRUE, false, false, false, false, false, false, false},
        {kModeMotorolaBinary, 4, 1.0f, FALSE, true, false, false, true, false, false, true},
        {kModeMotorolaBinary, 23, 3.299f, FALSE, true, false, false, true, true, false, false},
        {kModeMotorolaBinary, 23, 3.2f, FALSE, true, false, false, false, true, false, false},
        {kModeMotorolaBinary, 21, 1.0f, TRUE, true, false, false, true, false, true, false},
        {kModeUbloxUbx, 19, 0.0f, FALSE, false, false, false, true, true, false, false},
        {kModeMotorolaBinary, 0, 0.0f, FALSE, true, true, true, true, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "model " << c.model << " v" << c.version);
        StoreEverythingOn();
        Receiver(c.mode, c.model, c.version);
        g_receiverIdentity.hasDgps = c.hasDgps;
        CGpsRxModeSelect dlg;
        const RxModeControls got = dlg.PrepareOpening();
        EXPECT_EQ(got.tropoCorrection, c.tropo);
        EXPECT_EQ(got.sixChannel, c.sixChannel);
        EXPECT_EQ(dlg.m_emulatePvt6 != FALSE, c.sixChannel);
        EXPECT_EQ(got.dgpsRate, c.dgpsRate);
        EXPECT_EQ(got.ppsDuration, c.ppsDuration);
        EXPECT_EQ(got.constellations, c.constellations);
        EXPECT_EQ(dlg.m_satGlonass != FALSE, c.constellations);
        EXPECT_EQ(got.dgpsDefaultsButton, c.dgpsDefaults);
        EXPECT_EQ(got.localTime, c.localTime);
        EXPECT_EQ(dlg.m_gpsRxOnLocalTime != FALSE, c.localTime);
        EXPECT_TRUE(got.okButton);
    }
}

} // namespace
