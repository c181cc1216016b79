// The system-time calls over the simulated, manual and (faked) real clocks.

#include "SystemTestSupport.h"
#include "platform/base/CTime.h"

#include <cerrno>
#include <vector>

using namespace system_test;

namespace {

std::shared_ptr<SimulatedClock> SimulatedOver(const std::shared_ptr<ManualClock>& base,
                                              std::string file = {}) {
    return std::make_shared<SimulatedClock>(std::move(file), [base] { return base->Now(); });
}

void ExpectFields(const SYSTEMTIME& st, int year, int month, int day, int hour, int minute, int second,
                  int millisecond) {
    EXPECT_EQ(st.wYear, year);
    EXPECT_EQ(st.wMonth, month);
    EXPECT_EQ(st.wDay, day);
    EXPECT_EQ(st.wHour, hour);
    EXPECT_EQ(st.wMinute, minute);
    EXPECT_EQ(st.wSecond, second);
    EXPECT_EQ(st.wMilliseconds, millisecond);
}

class RecordingSetter : public RealtimeClockSetter {
public:
    explicit RecordingSetter(int error) : error(error) {}
    int SetRealtime(const timespec& time) override {
        calls.push_back(time);
        return error;
    }
    int error;
    std::vector<timespec> calls;
};

} // namespace

TEST(SimulatedClock, SetSystemTimeMovesEveryReaderOfTheTime) {
    ScopedTimeZone zone("UTC");
    auto base = std::make_shared<ManualClock>(Utc(2026, 12, 10, 12, 0, 1, 250));
    auto clock = SimulatedOver(base);
    ScopedSystemClock installed(clock);

    const SYSTEMTIME wanted = Fields(2026, 12, 10, 12, 0, 4, 0);
    ASSERT_TRUE(SetSystemTime(&wanted));
    EXPECT_EQ(clock->OffsetMicroseconds(), 2750000);

    base->Advance(500);
    SYSTEMTIME now{};
    GetSystemTime(&now);
    ExpectFields(now, 2026, 12, 10, 12, 0, 4, 500);
    EXPECT_EQ(now.wDayOfWeek, 4); // Thursday

    const std::int64_t expected = Utc(2026, 12, 10, 12, 0, 4).seconds;
    EXPECT_EQ(CTime::GetCurrentTime().GetTime(), expected);
    __time64_t stored = 0;
    EXPECT_EQ(_time64(&stored), expected);
    EXPECT_EQ(stored, expected);
    FILETIME ft{};
    GetSystemTimeAsFileTime(&ft);
    std::int64_t seconds = 0;
    std::int32_t nanoseconds = 0;
    ASSERT_TRUE(FileTimeToUnixTime(ft, &seconds, &nanoseconds));
    EXPECT_EQ(seconds, expected);
    EXPECT_EQ(nanoseconds, 500000000);
    SYSTEMTIME local{};
    GetLocalTime(&local);
    ExpectFields(local, 2026, 12, 10, 12, 0, 4, 500);
}

TEST(SimulatedClock, OffsetFileLinesAreExactAndANewStartResumesTheLastOffset) {
    ScratchDir dir;
    const std::string file = dir / "clock.log";
    auto base = std::make_shared<ManualClock>(Utc(2026, 12, 10, 12, 0, 1, 250));
    auto clock = SimulatedOver(base, file);
    ScopedSystemClock installed(clock);

    SYSTEMTIME st = Fields(2026, 12, 10, 12, 0, 4, 0);
    ASSERT_TRUE(SetSystemTime(&st));
    // The offset is kept to the microsecond; less than that is dropped on both the line and the offset.
    base->AdvanceNanoseconds(10'000'400'700);
    st = Fields(2026, 12, 10, 12, 0, 14, 0);
    ASSERT_TRUE(SetSystemTime(&st));
    base->Advance(10'000);
    st = Fields(2026, 12, 10, 12, 0, 20, 995);
    ASSERT_TRUE(SetSystemTime(&st));

    EXPECT_EQ(ReadWholeFile(file),
              "real=2026-12-10T12:00:01.250000Z set=2026-12-10T12:00:04.000000Z offset=+2.750000\n"
              "real=2026-12-10T12:00:11.250400Z set=2026-12-10T12:00:14.000000Z offset=+2.749600\n"
              "real=2026-12-10T12:00:21.250400Z set=2026-12-10T12:00:20.995000Z offset=-0.255400\n");

    // Another start over the same file.
    ScopedEnv mode("DOLIVA_CLOCK", "simulated");
    ScopedEnv path("DOLIVA_CLOCK_FILE", file);
    auto resumed = std::dynamic_pointer_cast<SimulatedClock>(InitializeSystemClock());
    ASSERT_TRUE(resumed);
    EXPECT_EQ(resumed->OffsetMicroseconds(), -255400);
    EXPECT_EQ(PeekSystemClock(), resumed);

    auto again = SimulatedOver(base, file);
    const UtcInstant now = again->Now();
    EXPECT_EQ(MicrosecondsBetween(now, base->Now()), -255400);
}

TEST(SimulatedClock, AFailedOffsetFileWriteFailsTheSetAndKeepsTheOffset) {
    ScratchDir dir;
    auto base = std::make_shared<ManualClock>(Utc(2026, 1, 1, 0, 0, 0));
    auto clock = SimulatedOver(base, dir / "missing/clock.log");
    ScopedSystemClock installed(clock);
    const SYSTEMTIME st = Fields(2026, 1, 1, 0, 0, 5);
    EXPECT_FALSE(SetSystemTime(&st));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(clock->OffsetMicroseconds(), 0);
}

TEST(SimulatedClock, LastOffsetInText) {
    struct Case {
        const char* text;
        std::int64_t offset;
    };
    const Case cases[] = {
        {"", 0},
        {"no offset here\n", 0},
        {"real=2026-12-10T12:00:01.250000Z set=2026-12-10T12:00:04.000000Z offset=+2.750000\n", 2750000},
        {"a offset=+2.750\nb offset=-0.005\n", -5000},
        {"a offset=-12.5\n", -12500000},
        {"a offset=+3\r\n", 3000000},
        {"a offset=+0.000123\n", 123},
        // A malformed or cut last line leaves the last good one.
        {"a offset=+1.000\nb offset=+abc\n", 1000000},
        {"a offset=+1.000\nb offset=+1.2345678\n", 1000000},
        {"a offset=+1.000\nreal=2026-12-10T12:00:01.250Z set=", 1000000},
        // So does an offset too large for microseconds in 64 bits.
        {"a offset=+1.000\nb offset=+999999999999999\n", 1000000},
        {"a offset=-999999999999.5\n", -999999999999500000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SimulatedClock::LastOffsetInText(c.text), c.offset) << c.text;
    }
}

TEST(RealClock, RefusalWithoutThePrivilegeGives1314AndItsText) {
    auto setter = std::make_shared<RecordingSetter>(EPERM);
    ScopedSystemClock installed(std::make_shared<RealClock>(setter));

    const SYSTEMTIME st = Fields(2024, 3, 10, 11, 59, 59, 980);
    EXPECT_FALSE(SetSystemTime(&st));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRIVILEGE_NOT_HELD));
    ASSERT_EQ(setter->calls.size(), 1u);
    EXPECT_EQ(setter->calls[0].tv_sec, Utc(2024, 3, 10, 11, 59, 59).seconds);
    EXPECT_EQ(setter->calls[0].tv_nsec, 980000000);

    LPWSTR text = nullptr;
    const DWORD units = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr,
                                       GetLastError(), 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    ASSERT_NE(units, 0u);
    EXPECT_EQ(std::u16string(text), u"A required privilege is not held by the client.\r\n");
    LocalFree(text);

    setter->error = EINVAL;
    EXPECT_FALSE(SetSystemTime(&st));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(SetSystemTime, ChecksTheFieldsAsTheOriginalDoes) {
    auto clock = std::make_shared<ManualClock>(Utc(2024, 1, 1, 0, 0, 0));
    ScopedSystemClock installed(clock);
    struct Case {
        SYSTEMTIME st;
        bool ok;
    };
    SYSTEMTIME anyWeekday = Fields(2024, 2, 29, 12, 0, 0);
    anyWeekday.wDayOfWeek = 9;
    const Case cases[] = {
        {Fields(2024, 2, 29, 12, 0, 0), true},     {anyWeekday, true},
        {Fields(1601, 1, 1, 0, 0, 0), true},       {Fields(30827, 12, 31, 23, 59, 59, 999), true},
        {Fields(1600, 12, 31, 23, 59, 59), false}, {Fields(30828, 1, 1, 0, 0, 0), false},
        {Fields(2024, 0, 1, 0, 0, 0), false},      {Fields(2024, 13, 1, 0, 0, 0), false},
        {Fields(2024, 1, 0, 0, 0, 0), false},      {Fields(2023, 2, 29, 0, 0, 0), false},
        {Fields(2024, 2, 30, 0, 0, 0), false},     {Fields(2024, 4, 31, 0, 0, 0), false},
        {Fields(2024, 1, 1, 24, 0, 0), false},     {Fields(2024, 1, 1, 0, 60, 0), false},
        {Fields(2024, 1, 1, 0, 0, 60), false},     {Fields(2024, 1, 1, 0, 0, 0, 1000), false},
    };
    for (const Case& c : cases) {
        const std::size_t setsBefore = clock->Sets().size();
        SetLastError(0);
        const BOOL ok = SetSystemTime(&c.st);
        const auto label = ::testing::Message()
                           << c.st.wYear << "-" << c.st.wMonth << "-" << c.st.wDay << " " << c.st.wHour << ":"
                           << c.st.wMinute << ":" << c.st.wSecond << "." << c.st.wMilliseconds;
        EXPECT_EQ(ok != FALSE, c.ok) << label;
        if (c.ok) {
            ASSERT_EQ(clock->Sets().size(), setsBefore + 1) << label;
            const UtcInstant set = clock->Sets().back();
            const UtcInstant expected = Utc(c.st.wYear, c.st.wMonth, c.st.wDay, c.st.wHour, c.st.wMinute,
                                            c.st.wSecond, c.st.wMilliseconds);
            EXPECT_EQ(set.seconds, expected.seconds) << label;
            EXPECT_EQ(set.nanoseconds, expected.nanoseconds) << label;
        } else {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << label;
            EXPECT_EQ(clock->Sets().size(), setsBefore) << label;
        }
    }
    EXPECT_FALSE(SetSystemTime(nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(SetLocalTime, TakesTheFieldsThroughTheProcessTimeZone) {
    ScopedTimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    auto clock = std::make_shared<ManualClock>(Utc(2024, 1, 1, 0, 0, 0));
    ScopedSystemClock installed(clock);

    SYSTEMTIME summer = Fields(2024, 7, 1, 14, 0, 0, 250);
    ASSERT_TRUE(SetLocalTime(&summer));
    SYSTEMTIME winter = Fields(2024, 1, 15, 13, 0, 0);
    ASSERT_TRUE(SetLocalTime(&winter));
    ASSERT_EQ(clock->Sets().size(), 2u);
    EXPECT_EQ(clock->Sets()[0].seconds, Utc(2024, 7, 1, 12, 0, 0).seconds);
    EXPECT_EQ(clock->Sets()[0].nanoseconds, 250000000);
    EXPECT_EQ(clock->Sets()[1].seconds, Utc(2024, 1, 15, 12, 0, 0).seconds);

    SYSTEMTIME bad = Fields(2024, 2, 30, 0, 0, 0);
    EXPECT_FALSE(SetLocalTime(&bad));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(SystemTime, FtimeAndLocalTimeFollowTheZoneAndDaylightTime) {
    ScopedTimeZone zone("EST5EDT,M3.2.0,M11.1.0");
    auto clock = std::make_shared<ManualClock>(Utc(2024, 7, 1, 16, 0, 0, 125));
    ScopedSystemClock installed(clock);

    _timeb tb{};
    _ftime(&tb);
    EXPECT_EQ(tb.time, Utc(2024, 7, 1, 16, 0, 0).seconds);
    EXPECT_EQ(tb.millitm, 125);
    EXPECT_EQ(tb.timezone, 300);
    EXPECT_NE(tb.dstflag, 0);
    SYSTEMTIME local{};
    GetLocalTime(&local);
    ExpectFields(local, 2024, 7, 1, 12, 0, 0, 125);
    EXPECT_EQ(local.wDayOfWeek, 1);

    clock->Set(Utc(2024, 1, 15, 17, 0, 0, 999));
    __timeb64 tb64{};
    _ftime64(&tb64);
    EXPECT_EQ(tb64.time, Utc(2024, 1, 15, 17, 0, 0).seconds);
    EXPECT_EQ(tb64.millitm, 999);
    EXPECT_EQ(tb64.timezone, 300);
    EXPECT_EQ(tb64.dstflag, 0);
    GetLocalTime(&local);
    ExpectFields(local, 2024, 1, 15, 12, 0, 0, 999);
}

TEST(SystemClockChoice, TheEnvironmentPicksTheClockAndAnUnknownValueNeverMeansTheRealOne) {
    ScopedSystemClock saved(nullptr);
    ScopedEnv file("DOLIVA_CLOCK_FILE", nullptr);
    struct Case {
        const char* value;
        bool simulated;
    };
    const Case cases[] = {
        {"simulated", true}, {"Simulated", true}, {"bogus", true}, {"real", false}, {"", false}};
    for (const Case& c : cases) {
        ScopedEnv mode("DOLIVA_CLOCK", c.value);
        std::shared_ptr<SystemClock> clock = InitializeSystemClock();
        EXPECT_EQ(std::dynamic_pointer_cast<SimulatedClock>(clock) != nullptr, c.simulated) << c.value;
        EXPECT_EQ(std::dynamic_pointer_cast<RealClock>(clock) != nullptr, !c.simulated) << c.value;
    }
}

TEST(SystemClockChoice, FirstUseStartsTheClockLazilyAndKeepsAFixedSourceSomeoneInstalled) {
    ScopedSystemClock saved(nullptr);
    ScopedEnv mode("DOLIVA_CLOCK", "simulated");
    ScopedEnv file("DOLIVA_CLOCK_FILE", nullptr);

    // Nothing installed: the first call installs the simulated clock as the layer's source.
    SYSTEMTIME st{};
    GetSystemTime(&st);
    ASSERT_TRUE(std::dynamic_pointer_cast<SimulatedClock>(PeekSystemClock()));
    EXPECT_TRUE(static_cast<bool>(GetCurrentUtcSource()));
    const SYSTEMTIME future = Fields(2100, 1, 1, 0, 0, 0);
    ASSERT_TRUE(SetSystemTime(&future));
    EXPECT_GE(CTime::GetCurrentTime().GetTime(), Utc(2100, 1, 1, 0, 0, 0).seconds);

    // A source installed on purpose stays in place.
    InstallSystemClock(nullptr);
    const UtcInstant fixed = Utc(2030, 5, 6, 7, 8, 9, 10);
    SetCurrentUtcSource([fixed] { return fixed; });
    GetSystemTime(&st);
    ExpectFields(st, 2030, 5, 6, 7, 8, 9, 10);
    EXPECT_TRUE(PeekSystemClock());
}
