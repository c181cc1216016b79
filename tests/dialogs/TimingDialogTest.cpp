#include "dialogs/CTimingDialog.h"

#include "DialogTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr char16_t kSection[] = u"Timing Adjustments";

class TimingDialog : public dialogtest::ProfileTest {};

TEST_F(TimingDialog, FreshProfileGivesTheFirstStartValues) {
    CTimingDialog dlg;
    EXPECT_EQ(dlg.m_epoch, 0);
    EXPECT_EQ(dlg.m_ppsOffset, 0.0);
    EXPECT_EQ(dlg.m_antennaCableDelay, 0.0);
    EXPECT_EQ(dlg.m_measurementCableDelay, 0.0);
    EXPECT_EQ(dlg.m_extraDelay, 0.0);
    EXPECT_EQ(dlg.m_rxDelay, 37.0);
    EXPECT_EQ(dlg.m_traimLimit, 500.0);
    EXPECT_FALSE(dlg.m_traimConditioned);
    EXPECT_EQ(dlg.m_quantization, -1);
    EXPECT_TRUE(dlg.m_recalcArmed);
    EXPECT_EQ(dlg.m_utcCorrection, 37.0);
    EXPECT_EQ(dlg.m_totalEarly, 0.0);
    EXPECT_EQ(dlg.m_totalLate, 1000000.0);
}

TEST_F(TimingDialog, StoredTextThatIsNoNumberReadsAsZero) {
    AppWriteProfileString(kSection, u"Rx Delay", u"fast");
    AppWriteProfileString(kSection, u"1pps Delay", u"12.5");
    CTimingDialog dlg;
    EXPECT_EQ(dlg.m_rxDelay, 0.0);
    EXPECT_EQ(dlg.m_ppsOffset, 12.5);
}

// Hand-edited values are clamped to what the edits accept (text that is no number reads as 0), so the
// timing commands and the correction never get a value that could not have been typed.
TEST_F(TimingDialog, HandEditedValuesAreClampedToWhatTheEditsAccept) {
    AppWriteProfileString(kSection, u"Antenna Cable Delay", u"-40");
    AppWriteProfileString(kSection, u"Measurement Cable Delay", u"1e300");
    AppWriteProfileInt(kSection, u"Epoch", 2147483647);
    AppWriteProfileString(kSection, u"Extra Delay", u"1e400");
    AppWriteProfileString(kSection, u"Rx Delay", u"nan");
    AppWriteProfileString(kSection, u"1pps Delay", u"-5000.25");
    AppWriteProfileString(kSection, u"T-Raim", u"10");
    CTimingDialog dlg;
    EXPECT_EQ(dlg.m_antennaCableDelay, 0.0);
    EXPECT_EQ(dlg.m_measurementCableDelay, 20000.0);
    EXPECT_EQ(dlg.m_epoch, 999);
    EXPECT_EQ(dlg.m_extraDelay, 999.999);
    EXPECT_EQ(dlg.m_rxDelay, 0.0);
    EXPECT_EQ(dlg.m_ppsOffset, -999.999);
    EXPECT_EQ(dlg.m_traimLimit, 250.0);
    EXPECT_EQ(dlg.FindInvalidControl(), 0u);
    EXPECT_EQ(dlg.m_utcCorrection, 20000.0);

    AppWriteProfileInt(kSection, u"Epoch", -7);
    AppWriteProfileString(kSection, u"T-Raim", u"123456");
    CTimingDialog again;
    EXPECT_EQ(again.m_epoch, 0);
    EXPECT_EQ(again.m_traimLimit, 1000.0);
}

TEST_F(TimingDialog, TotalsShowTheNegativeFormFirst) {
    struct Case {
        int epoch;
        double pps, extra, early, late;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 1000000},
        {1, 0.5, 0, -998999.5, 1000.5},
        {0, 0, 2.5, -2.5, 999997.5},
        {999, 999.999, 0, -0.001, 999999.999},
    };
    CTimingDialog dlg;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.epoch * 1000 + c.pps - c.extra);
        dlg.m_epoch = c.epoch;
        dlg.m_ppsOffset = c.pps;
        dlg.m_extraDelay = c.extra;
        dlg.Recalculate();
        EXPECT_DOUBLE_EQ(dlg.m_totalEarly, c.early);
        EXPECT_DOUBLE_EQ(dlg.m_totalLate, c.late);
    }
}

// The delays only make the UTC correction, truncated to whole nanoseconds; the edits keep 0.1 ns.
TEST_F(TimingDialog, DelaysAreTruncatedWhenTheirEditLosesFocus) {
    CTimingDialog dlg;
    dlg.m_antennaCableDelay = 25.37;
    dlg.m_measurementCableDelay = 12.0;
    dlg.m_rxDelay = 10.1;
    dlg.OnDeferredEdit(CTimingDialog::kAntennaCableDelayId);
    EXPECT_DOUBLE_EQ(dlg.m_antennaCableDelay, 25.3);
    EXPECT_EQ(dlg.m_utcCorrection, 47.0);
    EXPECT_EQ(dlg.m_totalLate, 1000000.0);
}

TEST_F(TimingDialog, FineOffsetCarriesIntoTheEpoch) {
    struct Case {
        int epoch;
        double typed;
        int wantEpoch;
        double wantPps;
    };
    const Case cases[] = {
        {3, -0.5, 2, 999.5},     {0, -0.5, 0, 0},         {2, 1000.25, 3, 0.25},
        {1, 12.3456, 1, 12.345}, {20, -15000, 19, -9000}, // raised to -10000, then a single carry
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        CTimingDialog dlg;
        dlg.m_epoch = c.epoch;
        dlg.m_ppsOffset = c.typed;
        dlg.OnDeferredEdit(CTimingDialog::kPpsOffsetId);
        EXPECT_EQ(dlg.m_epoch, c.wantEpoch);
        EXPECT_NEAR(dlg.m_ppsOffset, c.wantPps, 1e-9);
    }
}

TEST_F(TimingDialog, TraimLimitGoesToTheNearestHundred) {
    CTimingDialog dlg;
    for (auto [typed, want] : {std::pair{349.0, 300.0}, {350.0, 400.0}, {1000.0, 1000.0}}) {
        dlg.m_traimLimit = typed;
        dlg.OnDeferredEdit(CTimingDialog::kTraimLimitId);
        EXPECT_EQ(dlg.m_traimLimit, want) << typed;
    }
}

TEST_F(TimingDialog, ClickOnCancelSkipsOneDeferredRecalculation) {
    CTimingDialog dlg;
    dlg.m_ppsOffset = -0.5;
    dlg.OnCancelClickStarted();
    dlg.OnDeferredEdit(CTimingDialog::kPpsOffsetId);
    EXPECT_EQ(dlg.m_ppsOffset, -0.5);
    EXPECT_TRUE(dlg.m_recalcArmed);
    dlg.OnDeferredEdit(CTimingDialog::kPpsOffsetId);
    EXPECT_EQ(dlg.m_ppsOffset, 0.0);
}

TEST_F(TimingDialog, SpinStepsCarryAndKeepTheTotalsNormalised) {
    CTimingDialog dlg;
    dlg.m_epoch = 1;
    dlg.m_ppsOffset = 999.999;
    dlg.OnPpsOffsetSpin(1);
    EXPECT_EQ(dlg.m_epoch, 2);
    EXPECT_NEAR(dlg.m_ppsOffset, 0.0, 1e-9);
    // A positive total: the negative form stays in the early member, so OK sends the positive one.
    EXPECT_DOUBLE_EQ(dlg.m_totalEarly, -998000.0);
    EXPECT_DOUBLE_EQ(dlg.m_totalLate, 2000.0);

    dlg.OnEpochSpin(-5);
    EXPECT_EQ(dlg.m_epoch, 0);
    EXPECT_EQ(dlg.m_totalLate, 1000000.0);
    dlg.OnEpochSpin(5000);
    EXPECT_EQ(dlg.m_epoch, 999);

    dlg.m_extraDelay = 998.9995;
    dlg.OnExtraDelaySpin(10);
    EXPECT_EQ(dlg.m_extraDelay, 999.0);
    dlg.OnExtraDelaySpin(-2000000);
    EXPECT_EQ(dlg.m_extraDelay, 0.0);
}

TEST_F(TimingDialog, DefaultsDependOnTheReceiverModel) {
    for (auto [model, rx] : {std::pair{4, 93.0}, {24, 93.0}, {1, 10.1}, {17, 10.1}, {0, 10.1}}) {
        g_receiverIdentity.model = model;
        CTimingDialog dlg;
        dlg.m_epoch = 5;
        dlg.m_traimConditioned = TRUE;
        dlg.m_traimLimit = 800;
        dlg.OnDefaults();
        EXPECT_EQ(dlg.m_rxDelay, rx) << model;
        EXPECT_EQ(dlg.m_epoch, 0);
        EXPECT_EQ(dlg.m_traimLimit, 500.0);
        EXPECT_FALSE(dlg.m_traimConditioned);
        EXPECT_EQ(dlg.m_utcCorrection, static_cast<double>(static_cast<int>(rx)));
    }
}

TEST_F(TimingDialog, OkStoresTheValuesInTheirFormats) {
    {
        CTimingDialog dlg;
        dlg.PrepareOpening();
        dlg.m_epoch = 12;
        dlg.m_ppsOffset = 999.5;
        dlg.m_antennaCableDelay = 25.3;
        dlg.m_measurementCableDelay = 4;
        dlg.m_rxDelay = 93;
        dlg.m_extraDelay = 2.5;
        dlg.m_traimLimit = 300;
        dlg.m_traimConditioned = TRUE;
        ASSERT_TRUE(dlg.ConfirmSettings());
    }
    EXPECT_EQ(StoredInt(kSection, u"Epoch"), 12);
    EXPECT_EQ(Stored(kSection, u"1pps Delay"), u"999.500");
    EXPECT_EQ(Stored(kSection, u"Antenna Cable Delay"), u"25.3");
    EXPECT_EQ(Stored(kSection, u"Measurement Cable Delay"), u"4.0");
    EXPECT_EQ(Stored(kSection, u"Rx Delay"), u"93.0");
    EXPECT_EQ(Stored(kSection, u"Extra Delay"), u"2.500");
    EXPECT_EQ(Stored(kSection, u"T-Raim"), u"300.0");
    EXPECT_EQ(StoredInt(kSection, u"T-Raim Conditioned 1pps"), 1);

    CTimingDialog reread;
    EXPECT_EQ(reread.m_epoch, 12);
    EXPECT_EQ(reread.m_ppsOffset, 999.5);
    EXPECT_EQ(reread.m_utcCorrection, 122.0);
    EXPECT_DOUBLE_EQ(reread.m_totalLate, 12997.0);
}

TEST_F(TimingDialog, ValueOutsideItsRangeStoresNothing) {
    struct Case {
        UINT id;
        void (*spoil)(CTimingDialog&);
    };
    const Case cases[] = {
        {CTimingDialog::kAntennaCableDelayId, [](CTimingDialog& d) { d.m_antennaCableDelay = 20000.1; }},
        {CTimingDialog::kEpochId, [](CTimingDialog& d) { d.m_epoch = 5000; }},
        {CTimingDialog::kExtraDelayId, [](CTimingDialog& d) { d.m_extraDelay = -0.001; }},
        {CTimingDialog::kMeasurementCableDelayId, [](CTimingDialog& d) { d.m_measurementCableDelay = -1; }},
        {CTimingDialog::kRxDelayId, [](CTimingDialog& d) { d.m_rxDelay = 1000.5; }},
        {CTimingDialog::kPpsOffsetId, [](CTimingDialog& d) { d.m_ppsOffset = -1000; }},
        {CTimingDialog::kTraimLimitId, [](CTimingDialog& d) { d.m_traimLimit = 200; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        CTimingDialog dlg;
        dlg.m_rxDelay = 11;
        c.spoil(dlg);
        EXPECT_EQ(dlg.FindInvalidControl(), c.id);
        EXPECT_FALSE(dlg.ConfirmSettings());
        EXPECT_EQ(Stored(kSection, u"Rx Delay"), u"<none>");
        EXPECT_EQ(StoredInt(kSection, u"Epoch"), -12345);
    }
}

TEST_F(TimingDialog, CancelRestoresTheValuesOfTheOpening) {
    CTimingDialog dlg;
    dlg.m_epoch = 3;
    dlg.Recalculate();
    dlg.PrepareOpening();
    dlg.m_epoch = 7;
    dlg.m_ppsOffset = 1;
    dlg.m_rxDelay = 1;
    dlg.m_antennaCableDelay = 1;
    dlg.m_measurementCableDelay = 1;
    dlg.m_extraDelay = 1;
    dlg.m_traimLimit = 900;
    dlg.m_traimConditioned = TRUE;
    dlg.Recalculate();
    dlg.RestoreOpening();
    EXPECT_EQ(dlg.m_epoch, 3);
    EXPECT_EQ(dlg.m_ppsOffset, 0.0);
    EXPECT_EQ(dlg.m_rxDelay, 37.0);
    EXPECT_EQ(dlg.m_antennaCableDelay, 0.0);
    EXPECT_EQ(dlg.m_measurementCableDelay, 0.0);
    EXPECT_EQ(dlg.m_extraDelay, 0.0);
    EXPECT_EQ(dlg.m_traimLimit, 500.0);
    EXPECT_FALSE(dlg.m_traimConditioned);
    EXPECT_EQ(dlg.m_utcCorrection, 37.0);
    EXPECT_DOUBLE_EQ(dlg.m_totalLate, 3000.0);
    EXPECT_EQ(Stored(kSection, u"Epoch"), u"<none>");
}

TEST_F(TimingDialog, OpeningFollowsTheReceiversAbilities) {
    AppWriteProfileInt(kSection, u"T-Raim Conditioned 1pps", 1);
    struct Case {
        int mode, model;
        BOOL hasTraim;
        bool ok, limit, conditioned;
    };
    const Case cases[] = {
        {kModeMotorolaBinary, 3, FALSE, true, false, true},
        {kModeMotorolaBinary, 4, FALSE, true, false, false},
        {kModeMotorolaBinary, 4, TRUE, true, true, true},
        {kModeMotorolaBinary, 1, TRUE, false, true, true},
        {kModeMotorolaBinary, 2, FALSE, false, false, false},
        {kModeGenericNmea, 14, FALSE, false, false, false},
        {kModeUbloxUbx, 19, FALSE, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        g_receiverIdentity.model = c.model;
        g_receiverIdentity.hasTraim = c.hasTraim;
        CTimingDialog dlg;
        dlg.PrepareOpening();
        EXPECT_EQ(CTimingDialog::IsOkEnabled(c.mode, c.model), c.ok);
        EXPECT_EQ(CTimingDialog::IsTraimLimitEnabled(c.hasTraim), c.limit);
        EXPECT_EQ(CTimingDialog::IsTraimConditionedEnabled(c.hasTraim, c.model), c.conditioned);
        EXPECT_EQ(dlg.m_traimConditioned != FALSE, c.conditioned);
        // Cancel brings back what was stored, as it was when the dialog opened.
        dlg.RestoreOpening();
        EXPECT_TRUE(dlg.m_traimConditioned);
    }
}

} // namespace
