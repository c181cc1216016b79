#include "dialogs/CLogType.h"
#include "dialogs/CSyncClockDialog.h"

#include "DialogTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr char16_t kSection[] = u"Time Sync";

class SyncClockDialog : public dialogtest::ProfileTest {};

TEST_F(SyncClockDialog, FreshProfileSetsTheClockNever) {
    CSyncClockDialog dlg;
    EXPECT_EQ(dlg.m_syncMode, CSyncClockDialog::kDisable);
    EXPECT_FALSE(dlg.m_deltaOn);
    EXPECT_EQ(dlg.m_deltaMs, 100);
    EXPECT_FALSE(dlg.m_overrideIntegrity);
    EXPECT_FALSE(dlg.m_overrideTraim);
    EXPECT_FALSE(dlg.m_maxOn);
    EXPECT_EQ(dlg.m_maxQty, 1u);
    EXPECT_EQ(dlg.m_maxUnits, CSyncClockDialog::kHours);
    EXPECT_EQ(dlg.m_maxSeconds, 3600);
    EXPECT_EQ(dlg.GetMaxCorrectionSeconds(), 0);
    EXPECT_EQ(dlg.m_resetCountText, u"0");
    EXPECT_TRUE(dlg.m_lastSyncText.IsEmpty());
}

TEST_F(SyncClockDialog, MaximumCorrectionByUnit) {
    CSyncClockDialog dlg;
    dlg.m_maxOn = TRUE;
    dlg.m_maxQty = 5;
    for (auto [units, seconds] : {std::pair{0, 18000}, {1, 300}, {2, 5}, {3, 0}, {-1, 0}}) {
        dlg.m_maxUnits = units;
        dlg.UpdateMaxSeconds();
        EXPECT_EQ(dlg.GetMaxCorrectionSeconds(), seconds) << units;
    }
    dlg.m_maxUnits = CSyncClockDialog::kMinutes;
    dlg.UpdateMaxSeconds();
    dlg.m_maxOn = FALSE;
    EXPECT_EQ(dlg.GetMaxCorrectionSeconds(), 0);
}

TEST_F(SyncClockDialog, OkStoresEverythingAndReadsBack) {
    {
        CSyncClockDialog dlg;
        dlg.m_syncMode = CSyncClockDialog::kEveryMinute;
        dlg.m_deltaOn = TRUE;
        dlg.m_deltaMs = 250;
        dlg.m_overrideTraim = TRUE;
        dlg.m_maxOn = TRUE;
        dlg.m_maxQty = 5;
        dlg.m_maxUnits = CSyncClockDialog::kMinutes;
        ASSERT_TRUE(dlg.ConfirmSettings());
        EXPECT_EQ(dlg.GetMaxCorrectionSeconds(), 300);
    }
    EXPECT_EQ(StoredInt(kSection, u"Time Sync Mode"), 3);
    EXPECT_EQ(StoredInt(kSection, u"Time Sync Override Integrity"), 0);
    CSyncClockDialog reread;
    EXPECT_EQ(reread.m_syncMode, CSyncClockDialog::kEveryMinute);
    EXPECT_TRUE(reread.m_deltaOn);
    EXPECT_EQ(reread.m_deltaMs, 250);
    EXPECT_TRUE(reread.m_overrideTraim);
    EXPECT_FALSE(reread.m_overrideIntegrity);
    EXPECT_EQ(reread.GetMaxCorrectionSeconds(), 300);
}

TEST_F(SyncClockDialog, OnlyAChangedModeOrThresholdRestartsTheCount) {
    CSyncClockDialog dlg;
    dlg.NoteClockSet(u"12:00:00 UTC");
    dlg.NoteClockSet(u"12:01:00 UTC");
    EXPECT_EQ(dlg.m_resetCountText, u"2");
    EXPECT_EQ(dlg.m_lastSyncText, u"12:01:00 UTC");

    dlg.m_overrideIntegrity = TRUE;
    ASSERT_TRUE(dlg.ConfirmSettings());
    EXPECT_EQ(dlg.m_resetCount, 2u);
    // Unchanged, so not written.
    EXPECT_EQ(StoredInt(kSection, u"Time Sync Mode"), -12345);
    EXPECT_EQ(StoredInt(kSection, u"Time Sync Override Integrity"), 1);

    for (auto change :
         {+[](CSyncClockDialog& d) { d.m_syncMode = CSyncClockDialog::kEverySecond; },
          +[](CSyncClockDialog& d) { d.m_deltaOn = TRUE; }, +[](CSyncClockDialog& d) { d.m_deltaMs = 90; }}) {
        dlg.NoteClockSet(u"later");
        change(dlg);
        ASSERT_TRUE(dlg.ConfirmSettings());
        EXPECT_EQ(dlg.m_resetCount, 0u);
        EXPECT_EQ(dlg.m_resetCountText, u"0");
    }
    EXPECT_EQ(StoredInt(kSection, u"Time Sync Mode"), 2);
    EXPECT_EQ(StoredInt(kSection, u"Time Sync Delta"), 1);
    EXPECT_EQ(StoredInt(kSection, u"Time Sync Delta Msec"), 90);
}

TEST_F(SyncClockDialog, ValueOutsideItsRangeStoresNothing) {
    for (auto [delta, qty, id] : {std::tuple{5, 1u, CSyncClockDialog::kDeltaMsId},
                                  {60001, 1u, CSyncClockDialog::kDeltaMsId},
                                  {100, 0u, CSyncClockDialog::kMaxQtyId},
                                  {100, 1000u, CSyncClockDialog::kMaxQtyId}}) {
        CSyncClockDialog dlg;
        dlg.m_syncMode = CSyncClockDialog::kEveryHour;
        dlg.m_deltaMs = delta;
        dlg.m_maxQty = qty;
        EXPECT_EQ(dlg.FindInvalidControl(), static_cast<UINT>(id));
        EXPECT_FALSE(dlg.ConfirmSettings());
        EXPECT_EQ(StoredInt(kSection, u"Time Sync Mode"), -12345);
        EXPECT_EQ(StoredInt(kSection, u"Time Sync Max Qty"), -12345);
    }
}

// Hand-edited settings are clamped to what the dialog accepts: 1193047 hours used to wrap the limit to
// 1904 s, and from 596524 hours on to a negative one, which meant no limit at all.
TEST_F(SyncClockDialog, HandEditedValuesAreClampedToWhatTheDialogAccepts) {
    const struct {
        int mode, deltaMs, qty, units;
        int wantMode, wantDeltaMs;
        UINT wantQty;
        int wantUnits;
        LONGLONG wantSeconds;
    } cases[] = {
        {2, 250, 5, CSyncClockDialog::kMinutes, 2, 250, 5, CSyncClockDialog::kMinutes, 300},
        {1, 100, 1193047, CSyncClockDialog::kHours, 1, 100, 999, CSyncClockDialog::kHours, 999 * 3600},
        {1, 100, 596524, CSyncClockDialog::kHours, 1, 100, 999, CSyncClockDialog::kHours, 999 * 3600},
        {1, 100, -1, CSyncClockDialog::kSeconds, 1, 100, 1, CSyncClockDialog::kSeconds, 1},
        {9, -5, 0, 7, CSyncClockDialog::kDisable, 10, 1, CSyncClockDialog::kSeconds, 1},
        {-1, 1 << 30, 1000, -3, CSyncClockDialog::kDisable, 60000, 999, CSyncClockDialog::kHours, 999 * 3600},
    };
    for (const auto& c : cases) {
        AppWriteProfileInt(kSection, u"Time Sync Mode", c.mode);
        AppWriteProfileInt(kSection, u"Time Sync Delta Msec", c.deltaMs);
        AppWriteProfileInt(kSection, u"Time Sync Max On", 1);
        AppWriteProfileInt(kSection, u"Time Sync Max Qty", c.qty);
        AppWriteProfileInt(kSection, u"Time Sync Max Units", c.units);
        CSyncClockDialog dlg;
        EXPECT_EQ(dlg.m_syncMode, c.wantMode) << c.mode;
        EXPECT_EQ(dlg.m_deltaMs, c.wantDeltaMs) << c.deltaMs;
        EXPECT_EQ(dlg.m_maxQty, c.wantQty) << c.qty;
        EXPECT_EQ(dlg.m_maxUnits, c.wantUnits) << c.units;
        EXPECT_EQ(dlg.GetMaxCorrectionSeconds(), c.wantSeconds) << c.qty;
        EXPECT_EQ(dlg.FindInvalidControl(), 0u) << "what was loaded passes the dialog's own check";
    }
    // A quantity set in the program beyond the dialog's range still gives the limit it says.
    CSyncClockDialog dlg;
    dlg.m_maxQty = 4000000000u;
    dlg.m_maxUnits = CSyncClockDialog::kHours;
    dlg.UpdateMaxSeconds();
    EXPECT_EQ(dlg.m_maxSeconds, 4000000000LL * 3600);
}

TEST_F(SyncClockDialog, CountStopsAtItsLargestValue) {
    CSyncClockDialog dlg;
    dlg.m_resetCount = std::numeric_limits<UINT>::max() - 1;
    dlg.NoteClockSet(u"a");
    EXPECT_EQ(dlg.m_resetCountText, u"4294967295");
    dlg.NoteClockSet(u"b");
    EXPECT_EQ(dlg.m_resetCount, 4294967295u);
    EXPECT_EQ(dlg.m_resetCountText, u"> 4294967295");
    EXPECT_EQ(dlg.m_lastSyncText, u"b");
}

TEST(LogType, IntervalOfEachListEntry) {
    const int seconds[] = {1, 2, 3, 4, 5, 6, 10, 12, 15, 20, 30, 60};
    CLogType dlg;
    EXPECT_EQ(dlg.m_logInterval, 1);
    for (int i = 0; i < CLogType::kIntervalCount; ++i) {
        dlg.m_intervalIndex = i;
        dlg.OnOK();
        EXPECT_EQ(dlg.m_logInterval, seconds[i]) << i;
    }
    EXPECT_EQ(CString(CLogType::IntervalText(8)), u"15 Seconds");
    EXPECT_EQ(CString(CLogType::IntervalText(0)), u"Second");
    EXPECT_EQ(CLogType::IntervalText(12), nullptr);
    for (int outside : {-1, 12, 100}) {
        dlg.m_intervalIndex = outside;
        dlg.OnOK();
        EXPECT_EQ(dlg.m_logInterval, 1) << outside;
    }
}

TEST(LogType, BinaryAndRinexLogsNeedAMotorolaBinaryLink) {
    struct Case {
        int mode;
        bool binary, rinex;
    };
    for (const Case& c : {Case{kModeMotorolaBinary, true, true}, Case{kModeMotorolaRxOnly, true, false},
                          Case{kModeGenericNmea, false, false}, Case{kModeMotorolaNmea, false, false},
                          Case{kModeUbloxUbx, false, false}, Case{kModeSearch, false, false}}) {
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(CLogType::IsLogKindEnabled(CLogType::kBinaryData, c.mode), c.binary);
        EXPECT_EQ(CLogType::IsLogKindEnabled(CLogType::kRinexData, c.mode), c.rinex);
        EXPECT_TRUE(CLogType::IsLogKindEnabled(CLogType::kRawData, c.mode));
        EXPECT_TRUE(CLogType::IsLogKindEnabled(CLogType::kNmeaPvt, c.mode));
    }
}

TEST(LogType, CaptionIsKeptForTheNextOpening) {
    CLogType dlg;
    EXPECT_EQ(dlg.m_caption, u"New File Type");
    dlg.SetCaption(u"Open GPS Log Type");
    EXPECT_EQ(dlg.m_caption, u"Open GPS Log Type");
}

} // namespace
