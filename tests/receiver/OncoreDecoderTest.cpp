// The decoder's entry and common end, the time of the next tick, precedence, timers and length checks.
#include "tests/receiver/OncoreTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace oncore_test;

// An "@@Ea" at the given time, everything else zero.
OncoreBuilder Ea(int year, int month, int day, int hour, int minute, int second, unsigned nanoseconds = 0) {
    OncoreBuilder b("Ea", 73);
    b.Put(4, month, 1).Put(5, day, 1).Put(6, year, 2).Put(8, hour, 1).Put(9, minute, 1).Put(10, second, 1);
    b.Put(11, nanoseconds, 4);
    return b;
}

OncoreBuilder Ha(int status = 0) {
    OncoreBuilder b("Ha", 151);
    b.Put(4, 3, 1).Put(5, 14, 1).Put(6, 2021, 2).Put(8, 10, 1).Put(9, 20, 1).Put(10, 30, 1);
    b.Put(129, status, 2);
    return b;
}

TEST(OncoreEntry, RefusesWhatIsNoMessageAndEndsEveryOtherTheCommonWay) {
    RecordingOncoreView view;
    OncoreDecoder decoder(view);
    EXPECT_EQ(Decode(decoder, u"@@"), "");
    EXPECT_EQ(Decode(decoder, u"@Axxxxx"), "");
    EXPECT_EQ(Decode(decoder, u"x@@Ea"), "");
    EXPECT_TRUE(view.binaryLog.empty());
    EXPECT_TRUE(view.pvtLines.empty());

    // Unknown ids, recognised ids without a text, and framed ids without a handler.
    for (const char* id : {"Zz", "Bc", "Bl", "Cd", "Ch", "Ec", "Co", "Fd", "Tf", "Tq"}) {
        SCOPED_TRACE(id);
        const CString message = OncoreBuilder(id, 8);
        EXPECT_EQ(Decode(decoder, message), std::string("@@") + id + " ...\n");
        EXPECT_EQ(view.binaryLog.back(), message.str());
        EXPECT_EQ(view.pvtLines.back(), u"");
    }
    EXPECT_TRUE(view.rxIdAdded.empty());

    // "@@Ao" is never framed but has a handler: the receiver-ID window gets its bare text.
    EXPECT_EQ(Decode(decoder, u"@@Ao"), "@@Ao ...\n");
    ASSERT_EQ(view.rxIdAdded.size(), 1u);
    EXPECT_EQ(view.rxIdAdded[0], u"@@Ao ");
}

TEST(OncoreEntry, AMessageOfTheWrongLengthIsNotTakenAndNeverReadPastItsEnd) {
    RecordingOncoreView view;
    view.tickHandled = FALSE;
    view.rawWindowShown = TRUE;
    OncoreDecoder decoder(view);
    struct Case {
        const char* id;
        int units;
        const char* text;
    } cases[] = {
        {"Ea", 72, "@@Ea ...\n"}, {"Ea", 74, "@@Ea ...\n"},  {"Ba", 10, "@@Ba ...\n"},
        {"Bo", 4, "@@Bo ...\n"},  {"Bj", 4, "@@Bj ...\n"},   {"Gj", 17, "@@Gj ...\n"},
        {"Ck", 5, "@@Ck ...\n"},  {"Ax", 5, "@@Ax ...\n"},   {"AP", 4, "@@AP ...\n"},
        {"Ca", 5, "@@Ca ...\n"},  {"Tr", 593, "@@Tr ...\n"}, {"Wp", 18, "@@Wp ...\n"},
        {"Ha", 150, "@@Ha ????"}, {"Hb", 52, "@@Hb ????"},   {"Hr", 166, "@@Hr ????"},
        {"Hn", 76, "@@Hn, ????"}, {"Ek", 67, "@@Ek ...\n"},  {"Cj", 122, "@@Cj ...\n"},
        {"Bb", 11, "@@Bb 1 \n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.id) + " " + std::to_string(c.units));
        OncoreBuilder b(c.id, c.units);
        if (c.units > 4) {
            b.Put(4, 1, 1);
        }
        EXPECT_EQ(Decode(decoder, b), c.text);
    }
    EXPECT_TRUE(view.clockSyncs.empty());
    EXPECT_TRUE(view.positions.empty());
    EXPECT_EQ(view.gpsUtcOffsetSec, 0);
    EXPECT_EQ(view.leapSecondPending, -1);
    EXPECT_EQ(view.dgpsStatus, 0);
    EXPECT_TRUE(view.sent.empty());
    EXPECT_TRUE(view.timers.empty());
    EXPECT_TRUE(view.dops.empty());
    EXPECT_EQ(view.gridRefreshes, 0);
    EXPECT_EQ(view.model, 0);
    // The length-error texts leave no PVT record; the others an empty one.
    EXPECT_EQ(view.pvtLines.size(), std::size(cases) - 4);
}

TEST(OncoreTickTime, TheNextTickIsTheRoundedMessageSecondPlusOne) {
    struct Case {
        unsigned nanoseconds;
        bool localTime;
        int bias;
        __time64_t expected;
    } cases[] = {
        {0, false, 0, Utc(2021, 3, 14, 10, 20, 31)},
        {499990000, false, 0, Utc(2021, 3, 14, 10, 20, 31)},
        {500000000, false, 0, Utc(2021, 3, 14, 10, 20, 32)},
        {600000000, false, 0, Utc(2021, 3, 14, 10, 20, 32)},
        {0, true, -60, Utc(2021, 3, 14, 9, 20, 31)},
        {0, false, -60, Utc(2021, 3, 14, 10, 20, 31)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nanoseconds);
        RecordingOncoreView view;
        view.gpsRxOnLocalTime = c.localTime;
        view.timeZoneBiasMin = c.bias;
        OncoreDecoder decoder(view);
        Decode(decoder, Ea(2021, 3, 14, 10, 20, 30, c.nanoseconds));
        EXPECT_EQ(view.rxTime.GetTime(), c.expected);
        EXPECT_FLOAT_EQ(view.rxSeconds, 30.0f + c.nanoseconds * 1E-9f);
        EXPECT_FLOAT_EQ(view.rxSecondFraction, c.nanoseconds * 1E-9f);
    }
}

TEST(OncoreTickTime, AnInvalidDateKeepsTheTimeButStillAdvancesIt) {
    RecordingOncoreView view;
    view.gpsRxOnLocalTime = TRUE;
    view.timeZoneBiasMin = 60;
    view.rxTime = CTime(Utc(2021, 3, 14, 10, 0, 0));
    OncoreDecoder decoder(view);
    for (int year : {0, 1899, 3000}) {
        Decode(decoder, Ea(year, 0, 0, 10, 0, 0, 700000000));
    }
    Decode(decoder, Ea(2021, 13, 1, 10, 0, 0));
    Decode(decoder, Ea(2021, 1, 32, 10, 0, 0));
    // One second per message: neither the rounding nor the local-time shift is applied to an old time again.
    EXPECT_EQ(view.rxTime.GetTime(), Utc(2021, 3, 14, 10, 0, 5));

    // No time yet stays no time.
    RecordingOncoreView fresh;
    OncoreDecoder other(fresh);
    Decode(other, Ea(0, 0, 0, 0, 0, 0));
    EXPECT_LT(fresh.rxTime.GetTime(), 0);
}

// "@@Hb" carries the time of the edge just gone, like the position messages: it is rounded, shifted from
// local time and advanced to the next tick as they are, so that a tick before the next full message sets
// the clock to the right second (taken as it stands it would be a second behind).
TEST(OncoreTickTime, HbIsRoundedShiftedAndAdvancedLikeThePositionMessages) {
    RecordingOncoreView view;
    view.gpsRxOnLocalTime = TRUE;
    view.timeZoneBiasMin = -60;
    view.tickHandled = FALSE;
    OncoreDecoder decoder(view);
    Decode(decoder, OncoreBuilder("Hb", 51)
                        .Put(4, 3, 1)
                        .Put(5, 14, 1)
                        .Put(6, 2021, 2)
                        .Put(8, 10, 1)
                        .Put(9, 20, 1)
                        .Put(10, 30, 1)
                        .Put(11, 600000000, 4));
    EXPECT_EQ(view.rxTime.GetTime(), Utc(2021, 3, 14, 9, 20, 32));
    EXPECT_TRUE(view.clockSyncs.empty());
}

TEST(OncoreTickTime, TheClockIsSetOnlyWhenNoTickCameSinceTheLastTimeMessage) {
    RecordingOncoreView view;
    view.tickHandled = FALSE;
    OncoreDecoder decoder(view);
    Decode(decoder, Ea(2021, 3, 14, 10, 20, 30));
    ASSERT_EQ(view.clockSyncs.size(), 1u);
    // The clock step sees the time of this message's second, before the advance.
    EXPECT_EQ(view.clockSyncs[0], Utc(2021, 3, 14, 10, 20, 30));
    EXPECT_TRUE(view.decoderTicks);
    EXPECT_EQ(view.clockDisplays, 1);
    EXPECT_FALSE(view.tickHandled);

    view.tickHandled = TRUE; // a 1PPS edge was handled
    view.decoderTicks = FALSE;
    Decode(decoder, Ea(2021, 3, 14, 10, 20, 31));
    EXPECT_EQ(view.clockSyncs.size(), 1u);
    EXPECT_FALSE(view.decoderTicks);
    EXPECT_FALSE(view.tickHandled);

    // "@@Hb" takes the time of the next tick but does not set the clock.
    Decode(decoder, OncoreBuilder("Hb", 51).Put(4, 3, 1).Put(5, 14, 1).Put(6, 2021, 2).Put(10, 50, 1));
    EXPECT_EQ(view.rxTime.GetTime(), Utc(2021, 3, 14, 0, 0, 51));
    EXPECT_EQ(view.clockSyncs.size(), 1u);
}

TEST(OncorePrecedence, TheTwelveChannelMessageSilencesTheOthersUntilTheCountdownsRunOut) {
    RecordingOncoreView view;
    view.tickHandled = FALSE;
    view.logSecond = TRUE;
    OncoreDecoder decoder(view);
    Decode(decoder, Ha());
    EXPECT_EQ(view.haPrecedenceTicks, 5);
    const auto positions = view.positions.size();
    const auto syncs = view.clockSyncs.size();
    const auto modes = view.receiverMode.size();
    const SatelliteChannelTable table = view.table;
    view.timers.clear();

    // Skipped: no time, position, table or pane; still the record, the grid refresh and the timers.
    const std::string text = Decode(decoder, Ea(2021, 3, 14, 10, 20, 31));
    EXPECT_EQ(text.rfind("@@Ea, 03/14/2021, 10:20:31.000000000, ", 0), 0u) << text;
    EXPECT_EQ(view.positions.size(), positions);
    EXPECT_EQ(view.clockSyncs.size(), syncs);
    EXPECT_EQ(view.receiverMode.size(), modes);
    EXPECT_EQ(view.table, table);
    EXPECT_EQ(view.eaPrecedenceTicks, 5);
    EXPECT_EQ(view.timers, (std::vector<TimerCall>{{true, 3, 60000}, {false, 4, 0}}));

    // "@@Ba" yields to "@@Ea" as well.
    view.haPrecedenceTicks = 0;
    Decode(decoder, OncoreBuilder("Ba", 65));
    EXPECT_EQ(view.positions.size(), positions);
    view.eaPrecedenceTicks = 0;
    Decode(decoder, OncoreBuilder("Ba", 65));
    EXPECT_EQ(view.positions.size(), positions + 1);
}

TEST(OncoreTimers, TheTwelveChannelStatusArmsOrKillsTheAntennaTimer) {
    struct Case {
        int lowStatus;
        const char* expect; // "armed", "killed" or "untouched"
    } cases[] = {
        {0x00, "killed"},    {0x20, "killed"},       {0x08, "untouched"},    {0x10, "untouched"},
        {0x40, "untouched"}, {0x08 | 0x04, "armed"}, {0x40 | 0x02, "armed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lowStatus);
        RecordingOncoreView view;
        OncoreDecoder decoder(view);
        Decode(decoder, Ha(c.lowStatus));
        ASSERT_GE(view.timers.size(), 1u);
        EXPECT_EQ(view.timers[0], (TimerCall{true, 3, 60000}));
        std::vector<TimerCall> rest(view.timers.begin() + 1, view.timers.end());
        if (std::string(c.expect) == "armed") {
            EXPECT_EQ(rest, (std::vector<TimerCall>{{true, 4, 4200000}}));
        } else if (std::string(c.expect) == "killed") {
            EXPECT_EQ(rest, (std::vector<TimerCall>{{false, 4, 0}}));
        } else {
            EXPECT_TRUE(rest.empty());
        }
    }
}

TEST(OncoreEntry, ANestedDecodeKeepsEachCallsOwnText) {
    RecordingOncoreView view;
    view.rawWindowShown = TRUE;
    OncoreDecoder decoder(view);
    std::string inner;
    view.onSend = [&] { inner = Decode(decoder, OncoreBuilder("Bo", 5).Put(4, 18, 1)); };
    const std::string outer = Decode(decoder, OncoreBuilder("Ca", 6));
    EXPECT_EQ(inner, "@@Bo - UTC offset = 18 seconds\n");
    EXPECT_EQ(outer.rfind("@@Ca RTC Comm & Time: PASS", 0), 0u);
    EXPECT_EQ(view.sent.size(), 1u);
}

} // namespace
