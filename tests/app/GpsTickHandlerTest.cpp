#include "app/GpsTickHandler.h"

#include "TimekeepingFakeView.h"
#include "platform/kernel/Handles.h"
#include "platform/system/Priority.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using apptest::Utc;

namespace {

class GpsTick : public ::testing::Test {
protected:
    void SetUp() override {
        SetProcessNiceSetter([this](int nice) {
            nices.push_back(nice);
            return true;
        });
    }
    void TearDown() override {
        SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
        SetProcessNiceSetter({});
    }

    // A time message for rx, then its 1PPS edge.
    void Tick(const CTime& rx) {
        view.TimeMessage(rx);
        view.pcTime = rx;
        view.ticks.OnGpsTick();
    }

    apptest::ScopedManualClock clock{Utc(2024, 3, 10, 12), 250};
    apptest::FakeTimekeepingView view;
    std::vector<int> nices;
};

std::vector<std::string> Commands(const std::vector<CString>& sent) {
    std::vector<std::string> out;
    for (const CString& c : sent) {
        std::string bytes;
        for (char16_t u : c.str()) {
            bytes += static_cast<char>(u);
        }
        out.push_back(bytes);
    }
    return out;
}

} // namespace

TEST_F(GpsTick, NewSecondSetsTheFlagsAndRunsTheSecondAtHighPriority) {
    view.rawWindow = TRUE;
    view.decoderTicks = TRUE;
    view.zdaSinceTick = TRUE;
    view.haPrecedenceTicks = 2;
    view.eaPrecedenceTicks = 0;
    DWORD priorityDuringSync = 0;
    view.onSync = [&] { priorityDuringSync = GetPriorityClass(GetCurrentProcess()); };
    Tick(Utc(2024, 3, 10, 12, 0, 5));

    EXPECT_EQ(view.syncCalls, 1);
    EXPECT_EQ(priorityDuringSync, static_cast<DWORD>(HIGH_PRIORITY_CLASS));
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(nices, (std::vector<int>{-10, 0}));
    EXPECT_TRUE(view.tickHandled);
    EXPECT_TRUE(view.tickSinceZda);
    EXPECT_TRUE(view.tickSinceRmc);
    EXPECT_FALSE(view.zdaSinceTick);
    EXPECT_FALSE(view.decoderTicks);
    EXPECT_EQ(view.haPrecedenceTicks, 1);
    EXPECT_EQ(view.eaPrecedenceTicks, 0);
    EXPECT_EQ(view.rawLines, (std::vector<std::string>{"-- PPS --"}));
    EXPECT_EQ(view.displayUpdates, 1);
    EXPECT_EQ(view.events, (std::vector<std::string>{"icon", "timer 1 300"}));
    EXPECT_EQ(view.sounds, (std::vector<std::string>{"SOUND_SEC_TICK"}));
    EXPECT_EQ(view.reopens, 0);
    EXPECT_EQ(view.gateReleases, 1);
    EXPECT_EQ(view.utcInfoText, u"UTC Day #070");
}

TEST_F(GpsTick, ExtraEdgesLoranAndNoPcTimeTakeTheSecondPath) {
    struct Case {
        const char* what;
        int mode;
        bool handledBefore;
        bool pcTime;
    } cases[] = {
        {"second edge in one second", 2, true, true},
        {"Motorola LORAN", 0, false, true},
        {"no PC time yet", 9, false, false},
    };
    for (const Case& c : cases) {
        apptest::FakeTimekeepingView v;
        v.interfaceMode = c.mode;
        v.TimeMessage(Utc(2024, 3, 10, 12, 0, 0));
        v.tickHandled = c.handledBefore;
        v.pcTime = c.pcTime ? Utc(2024, 3, 10, 12, 0, 0) : CTime(kNoReceiverTime);
        v.logType.m_logInterval = 1;
        v.logger.LogSecond() = FALSE;
        v.ticks.OnGpsTick();
        EXPECT_EQ(v.syncCalls, 0) << c.what;
        EXPECT_EQ(v.sounds, (std::vector<std::string>{"SOUND_SEC_TICK"})) << c.what;
        EXPECT_EQ(v.utcInfoText, u"") << c.what;
        EXPECT_EQ(v.controlUpdates, 1) << c.what;
        EXPECT_EQ(v.reopens, 0) << c.what;
        EXPECT_TRUE(v.sent.empty()) << c.what;
        EXPECT_EQ(v.events, (std::vector<std::string>{"icon", "timer 1 300"})) << c.what;
        EXPECT_EQ(v.gateReleases, 1) << c.what;
        // An extra edge logs only when every second does.
        EXPECT_TRUE(v.logger.IsLogSecond()) << c.what;
        v.logType.m_logInterval = 2;
        v.ticks.OnGpsTick();
        EXPECT_FALSE(v.logger.IsLogSecond()) << c.what;
    }
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
}

TEST_F(GpsTick, TickSoundsAndTheMinuteReopen) {
    struct Case {
        BOOL sound, outOfLockSound, outOfLock;
        int second;
        std::vector<std::string> played;
    } cases[] = {
        {TRUE, TRUE, FALSE, 0, {"SOUND_MIN_TICK"}},
        {TRUE, TRUE, TRUE, 0, {"SOUND_MIN_TICK"}},
        {TRUE, TRUE, TRUE, 7, {"SOUND_WARN_TICK"}},
        {TRUE, FALSE, TRUE, 7, {"SOUND_SEC_TICK"}},
        {TRUE, TRUE, FALSE, 7, {"SOUND_SEC_TICK"}},
        // "Out of Lock Only" warns while out of lock, whatever the second, and is silent otherwise.
        {FALSE, TRUE, TRUE, 7, {"SOUND_WARN_TICK"}},
        {FALSE, TRUE, TRUE, 0, {"SOUND_WARN_TICK"}},
        {FALSE, TRUE, FALSE, 0, {}},
        {FALSE, FALSE, TRUE, 7, {}},
    };
    for (const Case& c : cases) {
        apptest::FakeTimekeepingView v;
        v.soundOn = c.sound;
        v.soundOutOfLock = c.outOfLockSound;
        v.outOfLock = c.outOfLock;
        v.TimeMessage(Utc(2024, 3, 10, 12, 1, c.second));
        v.pcTime = v.rxTime;
        v.ticks.OnGpsTick();
        EXPECT_EQ(v.sounds, c.played) << c.sound << c.outOfLockSound << c.outOfLock << " s" << c.second;
        // The log is reopened at second 0 whatever the sounds.
        EXPECT_EQ(v.reopens, c.second == 0 ? 1 : 0);
    }
}

// The raw-data line lets waiting messages through; a time message among them describes the next tick and
// must not change what this tick does at the minute.
TEST_F(GpsTick, ATimeMessageHandledDuringTheTickDoesNotMoveItsSecond) {
    view.rawWindow = TRUE;
    view.onSync = [&] { view.rxTime = Utc(2024, 3, 10, 12, 1, 1); };
    Tick(Utc(2024, 3, 10, 12, 1, 0));
    EXPECT_EQ(view.sounds, (std::vector<std::string>{"SOUND_MIN_TICK"}));
    EXPECT_EQ(view.reopens, 1);
}

TEST_F(GpsTick, PerSecondReceiverPolls) {
    struct Case {
        int mode, model, second;
        std::vector<std::string> sent;
    } cases[] = {
        {2, 3, 20, {"@@Gj"}},
        {2, 24, 20, {"@@Gj"}},
        {2, 1, 20, {"@@Bj"}},
        {2, 19, 20, {"@@Bj"}},
        {2, 3, 21, {std::string("@@Bo\x01", 5)}},
        {2, 3, 11, {}},
        {9, 19, 11, {std::string("\xB5\x62\x0B\x02\x00\x00", 6)}},
        {9, 19, 20, {}},
        {6, 14, 20, {}},
        {3, 3, 20, {}},
    };
    for (const Case& c : cases) {
        apptest::FakeTimekeepingView v;
        v.interfaceMode = c.mode;
        v.receiverModel = c.model;
        v.TimeMessage(Utc(2024, 3, 10, 12, 30, c.second));
        v.pcTime = v.rxTime;
        v.ticks.OnGpsTick();
        EXPECT_EQ(Commands(v.sent), c.sent) << "mode " << c.mode << " model " << c.model << " s" << c.second;
    }
}

TEST_F(GpsTick, HundredPulsesPerSecondSwitchOffTheModemLineEventsOnTheThirdExtraEdge) {
    view.ppsRate100 = 1;
    Tick(Utc(2024, 3, 10, 12, 0, 5));
    for (int extra = 1; extra <= 2; ++extra) {
        view.ticks.OnGpsTick();
        EXPECT_EQ(view.commMask, 0x1B9u) << extra;
    }
    view.ticks.OnGpsTick();
    EXPECT_EQ(view.commMask, 0x1B9u & ~0x38u);
    EXPECT_EQ(view.ppsRateTicks, 3);
    EXPECT_EQ(view.gateReleases, 4);
    EXPECT_EQ(view.sounds.size(), 3u) << "the stopping edge plays nothing";
    // Even a new second now goes the same way, until the receiver set-up resets the count.
    view.commMask = 0x1B9;
    Tick(Utc(2024, 3, 10, 12, 0, 6));
    EXPECT_EQ(view.commMask, 0x1B9u & ~0x38u);
    EXPECT_EQ(view.syncCalls, 1);
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));

    // At one pulse per second extra edges are never counted.
    apptest::FakeTimekeepingView one;
    one.TimeMessage(Utc(2024, 3, 10, 12, 0, 5));
    one.pcTime = one.rxTime;
    for (int i = 0; i < 6; ++i) {
        one.ticks.OnGpsTick();
    }
    EXPECT_EQ(one.commMask, 0x1B9u);
    EXPECT_EQ(one.ppsRateTicks, 0);
}

TEST_F(GpsTick, AClosingViewIgnoresTicksAndKeepsTheGate) {
    view.closing = TRUE;
    view.eaPrecedenceTicks = 3;
    Tick(Utc(2024, 3, 10, 12, 0, 0));
    EXPECT_EQ(view.gateReleases, 0);
    EXPECT_EQ(view.syncCalls, 0);
    EXPECT_TRUE(view.sounds.empty());
    EXPECT_TRUE(view.events.empty());
    EXPECT_EQ(view.eaPrecedenceTicks, 3);
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
}

TEST_F(GpsTick, DecoderDrivenSecondSounds) {
    struct Case {
        const char* what;
        BOOL sound, outOfLockSound, overrideTraim, outOfLock, tickHandled;
        int ppsLine, second;
        const char* played; // null: nothing
    } cases[] = {
        {"minute", TRUE, TRUE, FALSE, FALSE, FALSE, 1, 0, "SOUND_MIN_TICK"},
        {"1PPS line configured", TRUE, TRUE, FALSE, FALSE, FALSE, 1, 5, "SOUND_WARN_TICK"},
        {"no 1PPS line", TRUE, TRUE, FALSE, TRUE, FALSE, 0, 5, "SOUND_SEC_TICK"},
        {"TRAIM override, minute", TRUE, TRUE, TRUE, TRUE, FALSE, 1, 0, "SOUND_MIN_TICK"},
        {"TRAIM override, out of lock", TRUE, TRUE, TRUE, TRUE, TRUE, 0, 5, "SOUND_WARN_TICK"},
        {"TRAIM override, no tick", TRUE, TRUE, TRUE, FALSE, FALSE, 2, 5, "SOUND_WARN_TICK"},
        {"TRAIM override, no tick, no OOL", TRUE, FALSE, TRUE, TRUE, FALSE, 2, 5, "SOUND_SEC_TICK"},
        {"TRAIM override, ticking", TRUE, TRUE, TRUE, FALSE, TRUE, 2, 5, "SOUND_SEC_TICK"},
        {"out of lock only, locked", FALSE, TRUE, FALSE, FALSE, FALSE, 1, 5, nullptr},
        {"out of lock only, unlocked", FALSE, TRUE, FALSE, TRUE, FALSE, 1, 5, "SOUND_WARN_TICK"},
        {"none", FALSE, FALSE, FALSE, TRUE, FALSE, 1, 5, nullptr},
    };
    for (const Case& c : cases) {
        apptest::FakeTimekeepingView v;
        v.decoderTicks = TRUE;
        v.soundOn = c.sound;
        v.soundOutOfLock = c.outOfLockSound;
        v.syncDialog.m_overrideTraim = c.overrideTraim;
        v.outOfLock = c.outOfLock;
        v.tickHandled = c.tickHandled;
        v.ppsInterface = c.ppsLine;
        v.ticks.PlayDecoderSecondSound(c.second);
        // Once per receiver second.
        v.ticks.PlayDecoderSecondSound(c.second);
        std::vector<std::string> expected;
        if (c.played) {
            expected.push_back(c.played);
        }
        EXPECT_EQ(v.sounds, expected) << c.what;
        EXPECT_EQ(v.events.size(), c.sound ? 2u : 0u) << c.what;
    }
    // The tick handler's own seconds play nothing here.
    apptest::FakeTimekeepingView v;
    v.ticks.PlayDecoderSecondSound(5);
    EXPECT_TRUE(v.sounds.empty());
}

TEST(SoundMenu, CommandsSetThePairAndCheckOneItem) {
    struct Case {
        UINT id;
        BOOL sound, outOfLock;
    } cases[] = {{kIdSoundAll, TRUE, TRUE},
                 {kIdSoundOutOfLockOnly, FALSE, TRUE},
                 {kIdSoundClockTicksOnly, TRUE, FALSE},
                 {kIdSoundNone, FALSE, FALSE}};
    for (const Case& c : cases) {
        BOOL sound = 7, outOfLock = 7;
        ASSERT_TRUE(GpsTickHandler::SoundSettingsOfCommand(c.id, sound, outOfLock));
        EXPECT_EQ(sound, c.sound);
        EXPECT_EQ(outOfLock, c.outOfLock);
        int checked = 0;
        for (const Case& item : cases) {
            if (GpsTickHandler::IsSoundCommandChecked(item.id, sound, outOfLock)) {
                ++checked;
                EXPECT_EQ(item.id, c.id);
            }
        }
        EXPECT_EQ(checked, 1);
    }
    BOOL sound = 7, outOfLock = 7;
    EXPECT_FALSE(GpsTickHandler::SoundSettingsOfCommand(33522, sound, outOfLock));
    EXPECT_EQ(sound, 7);
}

// A line left pulsing faster than once a second while the receiver is at one pulse (a 100 Hz train on
// DCD): no edge that rose too soon after the line's rise before sets the clock, even with a time message
// before it; the third such edge in a row is reported once and switches the line's events off. A glitch
// costs the second it fell in, and is no fault.
TEST_F(GpsTick, ALineThatPulsesFasterThanOnceASecondIsReportedOnceAndSetsNoClock) {
    constexpr std::int64_t kMs = 1'000'000;
    view.ppsInterface = 1;
    view.TimeMessage(Utc(2024, 3, 10, 12, 0, 5));
    view.pcTime = view.rxTime;
    view.ticks.OnGpsTick(-1); // the first rise seen
    ASSERT_EQ(view.syncCalls, 1);

    view.ticks.OnGpsTick(300 * kMs); // a glitch
    view.TimeMessage(Utc(2024, 3, 10, 12, 0, 6));
    view.ticks.OnGpsTick(700 * kMs);
    EXPECT_EQ(view.syncCalls, 1) << "700 ms after the glitch: no second can be told";
    view.TimeMessage(Utc(2024, 3, 10, 12, 0, 7));
    view.ticks.OnGpsTick(1000 * kMs);
    EXPECT_EQ(view.syncCalls, 2);
    EXPECT_TRUE(view.lineFaults.empty());

    view.TimeMessage(Utc(2024, 3, 10, 12, 0, 8));
    view.ticks.OnGpsTick(10 * kMs);
    EXPECT_EQ(view.syncCalls, 2) << "an edge 10 ms after a rise is no second";
    view.ticks.OnGpsTick(0); // more than one rise since the last look
    EXPECT_EQ(view.commMask, 0x1B9u);
    view.ticks.OnGpsTick(10 * kMs);
    EXPECT_EQ(view.commMask, 0x1B9u & ~0x38u);
    view.ticks.OnGpsTick(10 * kMs); // already queued when the events went off
    EXPECT_EQ(
        view.lineFaults,
        (std::vector<std::string>{
            "ERROR: 1PPS line DCD pulses more than once a second - the clock is no longer set from it"}));
    EXPECT_EQ(view.syncCalls, 2);
    EXPECT_EQ(view.gateReleases, 8);
}
