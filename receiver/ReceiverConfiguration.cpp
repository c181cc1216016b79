#include "receiver/ReceiverConfiguration.h"

#include "platform/base/TimeConversions.h"
#include "platform/system/SystemTime.h"
#include "receiver/ReceiverIdentity.h"
#include "receiver/ReceiverState.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

BYTE g_ppsRate100 = 0;
BYTE g_ppsRateTicks = 0;
BYTE g_ppsDurationSent = 0;

namespace {

// Builds a command one byte per unit: Oncore numbers big-endian, UBX numbers little-endian.
class Units {
public:
    Units() = default;
    explicit Units(std::u16string start) : m_text(std::move(start)) {}
    Units& Byte(unsigned value) {
        m_text.push_back(static_cast<char16_t>(value & 0xFF));
        return *this;
    }
    Units& Be(std::int64_t value, int width) {
        for (int i = width - 1; i >= 0; --i) {
            Byte(static_cast<unsigned>(static_cast<std::uint64_t>(value) >> (8 * i)));
        }
        return *this;
    }
    Units& Le(std::int64_t value, int width) {
        for (int i = 0; i < width; ++i) {
            Byte(static_cast<unsigned>(static_cast<std::uint64_t>(value) >> (8 * i)));
        }
        return *this;
    }
    Units& Zeros(int count) {
        m_text.append(static_cast<std::size_t>(count), u'\0');
        return *this;
    }
    const std::u16string& Text() const { return m_text; }
    operator CString() const { return CString(m_text); }

private:
    std::u16string m_text;
};

Units Oncore(const char* id) {
    Units u(u"@@");
    u.Byte(static_cast<BYTE>(id[0])).Byte(static_cast<BYTE>(id[1]));
    return u;
}

bool IsUbloxMode(int mode) {
    return mode == kModeUbloxUbx || mode == kModeUbloxNmea;
}

bool IsM8Model(int model) {
    return ReceiverModel(model).family == ReceiverFamily::kWqtM8;
}

// Truncation toward zero into a signed 32-bit number.
std::int32_t Trunc32(double value) {
    return static_cast<std::int32_t>(static_cast<std::int64_t>(std::trunc(value)));
}

} // namespace

CString OncoreCommand(const char* id, std::initializer_list<BYTE> bytes) {
    Units u = Oncore(id);
    for (BYTE b : bytes) {
        u.Byte(b);
    }
    return u;
}

CString UbxCommand(BYTE cls, BYTE id, const std::u16string& payload) {
    Units u;
    u.Byte(0xB5).Byte(0x62).Byte(cls).Byte(id).Le(static_cast<std::int64_t>(payload.size()), 2);
    return CString(u.Text() + payload);
}

CString UbxPortConfiguration(DWORD baudRate) {
    Units p;
    p.Byte(1)
        .Byte(0)
        .Le(0, 2)
        .Le(0x000008C0, 4)
        .Le(baudRate, 4)
        .Le(0x0003, 2)
        .Le(0x0003, 2)
        .Le(0, 2)
        .Le(0, 2);
    return UbxCommand(0x06, 0x00, p.Text());
}

void EarthCentredCm(double latitude, double longitude, double height, LONG xyz[3]) {
    constexpr double kRadiansPerDegree = 3.1415926535 / 180.0;
    constexpr double a = 6378137.0;
    constexpr double e2 = 0.0066943799901413165;
    const double phi = latitude * kRadiansPerDegree;
    const double lambda = longitude * kRadiansPerDegree;
    const double n = a / std::sqrt(1.0 - e2 * std::sin(phi) * std::sin(phi));
    xyz[0] = Trunc32((n + height) * std::cos(phi) * std::cos(lambda) * 100.0);
    xyz[1] = Trunc32((n + height) * std::cos(phi) * std::sin(lambda) * 100.0);
    xyz[2] = Trunc32((n * 0.9933056200098587 + height) * std::sin(phi) * 100.0);
}

CString UbxTimeAiding(LONGLONG utcSeconds, int milliseconds, LONG gpsUtcOffsetSec) {
    constexpr LONGLONG kGpsEpoch = 315964800; // 1980-01-06 as seconds since 1970
    constexpr LONGLONG kWeek = 604800;
    // The receiver counts GPS time, which runs ahead of UTC by the leap seconds since 1980.
    const LONGLONG gpsSeconds = std::max<LONGLONG>(utcSeconds - kGpsEpoch + gpsUtcOffsetSec, 0);
    Units p;
    p.Zeros(18)
        .Le(gpsSeconds / kWeek, 2)
        .Le((gpsSeconds % kWeek) * 1000 + milliseconds, 4)
        .Zeros(4)
        .Le(kPcTimeAccuracyMs, 4) // tAccMs; tAccNs stays 0
        .Zeros(12)
        .Le(0x00000002, 4); // time valid
    return UbxCommand(0x0B, 0x01, p.Text());
}

CString UbxPositionAiding(const ReferencePosition& position) {
    Units p;
    p.Le(Trunc32(position.latitude * 10000000.0), 4)
        .Le(Trunc32(position.longitude * 10000000.0), 4)
        .Le(Trunc32(position.heightWgs84 * 100.0), 4) // centimetres
        .Zeros(32)
        .Le(0x00000021, 4); // position valid, given as latitude, longitude and altitude
    return UbxCommand(0x0B, 0x01, p.Text());
}

void ReceiverSetupHost::GetPcTimeUtc(SYSTEMTIME& time) {
    GetSystemTime(&time);
}

void ReceiverConfiguration::Send(const CString& command) {
    SendGpsCommand(m_host, command);
}

BOOL ReceiverConfiguration::SendAndWait(const CString& command) {
    return SendGpsCommandAndWait(m_host, command);
}

CString ReceiverConfiguration::SendTraimSetup(int channels) const {
    if (channels > 8) {
        return Oncore("Hn").Byte(m_traim.leadByte);
    }
    Units u = Oncore(channels < 8 ? "Bn" : "En");
    u.Byte(m_traim.leadByte).Byte(m_traim.on).Be(m_traim.alarmLimit, 2).Byte(m_traim.ppsControl);
    for (BYTE b : {0, 0, 1, 0, 0, 0, 0, 0, 0, 0}) {
        u.Byte(b);
    }
    return u;
}

void ReceiverConfiguration::SendReceiverSetup() {
    const int mode = g_interfaceMode;
    const ReceiverParameters p = m_host.GetReceiverParameters();
    if (mode == kModeMotorolaBinary) {
        SendOncoreReceiverSetup(p);
    } else if (IsUbloxMode(mode)) {
        SendUbloxReceiverSetup(p);
    }
}

void ReceiverConfiguration::SendOncoreReceiverSetup(const ReceiverParameters& p) {
    ReceiverIdentity& id = g_receiverIdentity;
    if (p.sixChannelMode && id.activeChannels != 6) {
        id.activeChannels = 6;
        m_host.ClearReceiverDisplays();
        m_host.AddStatusText(u", PVT6 Mode");
    } else if (!p.sixChannelMode && id.activeChannels != id.nativeChannels) {
        id.activeChannels = id.nativeChannels;
        m_host.ClearReceiverDisplays();
        m_host.RemoveStatusText(u", PVT6 Mode");
    }
    SendTimeSetup();

    g_ppsRate100 = static_cast<BYTE>(p.pulseMode);
    g_ppsRateTicks = 0;
    Send(OncoreCommand("AP", {static_cast<BYTE>(p.pulseMode == 1 ? 1 : 0)}));
    g_ppsDurationSent = static_cast<BYTE>(p.ppsDuration);
    Send(OncoreCommand("Gc", {static_cast<BYTE>(p.ppsDuration == 1 ? 5 : 1)}));
    Send(OncoreCommand("Ag", {static_cast<BYTE>(p.elevationMask)}));

    const int channels = id.activeChannels;
    if (channels >= 12) {
        Send(OncoreCommand("Gd", {static_cast<BYTE>(p.gpsMode == 1 ? 2 : p.gpsMode == 2 ? 1 : 0)}));
    } else {
        Send(OncoreCommand("At", {static_cast<BYTE>(p.gpsMode == 2 ? 1 : 0)}));
        Send(OncoreCommand("Av", {static_cast<BYTE>(p.gpsMode == 1 ? 1 : 0)}));
    }
    const bool iono = p.ionoCorrection == 0;
    const bool tropo = p.tropoCorrection == 0;
    Send(OncoreCommand("Aq", {static_cast<BYTE>((iono ? 1 : 0) | (tropo ? 2 : 0))}));
    if (channels < 12 || IsM8Model(id.model)) {
        Send(OncoreCommand("Ar", {static_cast<BYTE>(p.positionFixMode == 0 ? 1 : 0)}));
        Send(OncoreCommand("Ah", {static_cast<BYTE>(p.satelliteSelection == 0 ? 0 : 2)}));
        Send(OncoreCommand("Aj", {static_cast<BYTE>(p.geometry)}));
        Send(OncoreCommand("AB", {static_cast<BYTE>(p.applicationType)}));
        Send(OncoreCommand("AE", {static_cast<BYTE>(p.alignMessages ? 1 : 0)}));
    }
    Send(OncoreCommand("Bh", {static_cast<BYTE>(p.dgpsOutput ? p.dgpsRate : 0)}));
    Send(Oncore("Am").Byte(0).Be(static_cast<DWORD>(~p.satEnableMask), 4));
    Send(OncoreCommand("Hb", {0}));
    if (channels < 8) {
        Send(OncoreCommand("Ba", {1}));
        Send(OncoreCommand("Bk", {1}));
    } else if (channels == 8) {
        SendAndWait(OncoreCommand("Ea", {1}));
        Send(OncoreCommand("Ek", {1}));
    } else if (channels >= 12) {
        Send(OncoreCommand("Ha", {1}));
    }
    if (IsM8Model(id.model)) {
        const unsigned bits = (p.satGps ? 0x01 : 0) | (p.satGlonass ? 0x02 : 0) | (p.satGalileo ? 0x04 : 0) |
                              (p.satBeidou ? 0x08 : 0) | (p.satQzss ? 0x10 : 0) | (p.satSbas ? 0x80 : 0);
        Send(OncoreCommand("Sc", {static_cast<BYTE>(bits)}));
    }

    m_traim = TraimSetupFields{};
    Send(SendTraimSetup(6));
    Send(SendTraimSetup(8));
    Send(SendTraimSetup(12));
    SendAndWait(SendTraimSetup(g_receiverIdentity.activeChannels));
    m_host.ShowTraimStatusOnce() = TRUE;
}

void ReceiverConfiguration::SendUbloxReceiverSetup(const ReceiverParameters& p) {
    static constexpr BYTE kDynamicModel[] = {8, 3, 0, 5, 2}; // air, handheld, land, marine, static
    const BYTE dynamic =
        p.applicationType >= 0 && p.applicationType < 5 ? kDynamicModel[p.applicationType] : BYTE{0};
    Units nav;
    nav.Le(0x0007, 2).Byte(dynamic).Byte(3).Le(0, 4).Le(0, 4).Byte(
        static_cast<BYTE>(std::max(p.elevationMask, 0)));
    nav.Zeros(23);
    Send(UbxCommand(0x06, 0x24, nav.Text()));

    SendTimeSetup();

    if (p.pulseMode != g_ppsRate100 || p.ppsDuration != g_ppsDurationSent) {
        g_ppsRate100 = static_cast<BYTE>(p.pulseMode);
        g_ppsRateTicks = 0;
        g_ppsDurationSent = static_cast<BYTE>(p.ppsDuration);
        SendTimingSetup();
    }

    if (p.gpsMode == 2) {
        LONG xyz[3];
        const ReferencePosition ref = m_host.GetReferencePosition();
        EarthCentredCm(ref.latitude, ref.longitude, ref.heightWgs84, xyz);
        Units t;
        t.Le(2, 4).Le(xyz[0], 4).Le(xyz[1], 4).Le(xyz[2], 4).Le(2, 4).Le(0, 4).Le(0, 4);
        Send(UbxCommand(0x06, 0x1D, t.Text()));
    } else if (p.gpsMode == 0 || p.gpsMode == 1) {
        Send(UbxCommand(0x06, 0x1D, std::u16string(28, u'\0')));
    }

    struct Block {
        BYTE system, reserved, maximum;
        BOOL enabled;
        BYTE third;
    };
    const Block blocks[] = {
        {0, 8, 16, p.satGps, 1},     {1, 1, 3, p.satSbas, 1}, {2, 0, 16, p.satGalileo, 0},
        {3, 8, 16, p.satBeidou, 1},  {4, 0, 16, FALSE, 1},    {5, 0, 3, p.satQzss, 1},
        {6, 8, 14, p.satGlonass, 1},
    };
    Units gnss;
    gnss.Byte(0).Byte(0).Byte(0x20).Byte(7);
    for (const Block& b : blocks) {
        gnss.Byte(b.system).Byte(b.reserved).Byte(b.maximum).Byte(0);
        gnss.Byte(b.enabled ? 1 : 0).Byte(0).Byte(b.third).Byte(1);
    }
    Send(UbxCommand(0x06, 0x3E, gnss.Text()));
}

void ReceiverConfiguration::SendTimingSetup() {
    const int mode = g_interfaceMode;
    if (mode != kModeMotorolaBinary && !IsUbloxMode(mode)) {
        return;
    }
    const ReceiverParameters p = m_host.GetReceiverParameters();
    const TimingAdjustments t = m_host.GetTimingAdjustments();
    const ReceiverIdentity& id = g_receiverIdentity;
    const std::int32_t utc = Trunc32(t.utcCorrection);
    const auto offsetNs =
        static_cast<std::int32_t>(static_cast<std::int64_t>(t.totalLate * 1000.0 + 0.5) % 1000000000);

    if (ReceiverModel(id.model).Has(kNewTimingCommands)) {
        m_host.GpsTimeSetEpochOffset(0);
        m_host.GpsTimeSetPpsOffset(static_cast<ULONG>(offsetNs));
        Send(Oncore("Ay").Be(offsetNs, 4));
        m_host.GpsTimeSetCableDelay(static_cast<ULONG>(utc));
        Send(Oncore("Az").Be(utc, 4));
    } else if (IsUbloxMode(mode)) {
        g_ppsRate100 = static_cast<BYTE>(p.pulseMode);
        g_ppsRateTicks = 0;
        const DWORD frequency = p.pulseMode == 0 ? 1 : 100;
        const DWORD ratio = p.ppsDuration == 0 ? 0x33333333u : 0x0001F751u;
        Units tp;
        tp.Byte(1).Byte(1).Le(0, 2).Le(0, 2).Le(0, 2);
        tp.Le(frequency, 4).Le(frequency, 4).Le(ratio, 4).Le(ratio, 4);
        tp.Le(static_cast<std::int32_t>(utc - offsetNs), 4).Le(0x000008EF, 4);
        m_host.SleepMs(10);
        Send(UbxCommand(0x06, 0x31, tp.Text()));
        m_host.SleepMs(10);
    } else {
        const auto ms = static_cast<std::int64_t>(t.totalLate * 0.001);
        const auto epoch = static_cast<std::int32_t>(ms % 1000);
        const auto ns = static_cast<std::int32_t>(
            static_cast<std::int64_t>((t.totalLate - static_cast<double>(ms) * 1000.0) * 1000.0 + 0.5));
        m_host.GpsTimeSetEpochOffset(epoch);
        Send(Oncore("Ax").Be(epoch, 2));
        m_host.GpsTimeSetPpsOffset(static_cast<ULONG>(ns));
        Send(Oncore("Ay").Be(ns, 4));
        m_host.GpsTimeSetCableDelay(static_cast<ULONG>(utc));
        SendAndWait(Oncore("Az").Be(utc, 4));
    }

    const bool shortPulse = p.ppsDuration == 1;
    if (id.hasTraim) {
        if (t.traimLimit > 0) {
            m_traim.on = 1;
            m_traim.alarmLimit = static_cast<WORD>(static_cast<std::int64_t>(t.traimLimit * 0.01) & 0xFFFF);
            m_traim.ppsControl = t.traimConditioned ? (shortPulse ? 7 : 3) : (shortPulse ? 5 : 1);
        } else {
            m_traim.on = 0;
            m_traim.alarmLimit = 10;
            m_traim.ppsControl = 1;
        }
        m_host.ShowTraimStatusOnce() = TRUE;
        Send(SendTraimSetup(id.activeChannels));
        if (IsTwelveChannelModel(id.model)) {
            Send(OncoreCommand("Gc", {m_traim.ppsControl}));
            Send(OncoreCommand("Ge", {m_traim.on}));
            m_traim.alarmLimit = std::clamp<WORD>(m_traim.alarmLimit, 3, 10000);
            Send(Oncore("Gf").Be(m_traim.alarmLimit, 2));
        }
    } else if (IsTwelveChannelModel(id.model)) {
        const BYTE control = t.traimConditioned ? (shortPulse ? 6 : 2) : (shortPulse ? 5 : 1);
        Send(OncoreCommand("Gc", {control}));
    }
}

void ReceiverConfiguration::SendTimeSetup() {
    const int mode = g_interfaceMode;
    SYSTEMTIME now{};
    if (mode == kModeMotorolaBinary) {
        Send(OncoreCommand("Aw", {1}));
        m_host.GetPcTimeUtc(now);
        Units time;
        time.Byte(now.wHour).Byte(now.wMinute).Byte(now.wSecond);
        Units date;
        date.Byte(now.wMonth).Byte(now.wDay).Be(now.wYear, 2);
        Units offset;
        if (m_host.GetReceiverParameters().gpsRxOnLocalTime) {
            const int bias = m_host.GetTimeZoneBiasMin();
            const int magnitude = std::abs(bias);
            offset.Byte(bias >= 0 ? 0xFF : 0x00).Byte(static_cast<unsigned>(magnitude / 60));
            offset.Byte(static_cast<unsigned>(magnitude % 60));
            m_host.AddStatusText(u", Local Time Mode");
        } else {
            offset.Zeros(3);
            m_host.RemoveStatusText(u", Local Time Mode");
        }
        if (IsTwelveChannelModel(g_receiverIdentity.model)) {
            Send(CString(Oncore("Gb").Text() + date.Text() + time.Text() + offset.Text()));
        } else {
            Send(CString(Oncore("Aa").Text() + time.Text()));
            Send(CString(Oncore("Ab").Text() + offset.Text()));
            Send(CString(Oncore("Ac").Text() + date.Text()));
        }
    } else if (IsUbloxMode(mode)) {
        m_host.GetPcTimeUtc(now);
        const LONGLONG seconds = DaysFromCivil(now.wYear, now.wMonth, now.wDay) * 86400 + now.wHour * 3600 +
                                 now.wMinute * 60 + now.wSecond;
        const LONG leapSeconds = m_host.GetGpsUtcOffsetSec();
        Send(
            UbxTimeAiding(seconds, now.wMilliseconds, leapSeconds > 0 ? leapSeconds : kKnownGpsUtcOffsetSec));
    }
}

void ReceiverConfiguration::SendPositionSetup() {
    const int mode = g_interfaceMode;
    if (IsUbloxMode(mode)) {
        Send(UbxPositionAiding(m_host.GetReferencePosition()));
        return;
    }
    if (mode != kModeMotorolaBinary) {
        return;
    }
    const ReferencePosition ref = m_host.GetReferencePosition();
    const int gpsMode = m_host.GetReceiverParameters().gpsMode;
    const ReceiverIdentity& id = g_receiverIdentity;
    const std::int32_t latitude = Trunc32(ref.latitude * 3600000.0);
    const std::int32_t longitude = Trunc32(ref.longitude * 3600000.0);
    const auto height = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(static_cast<std::int64_t>(ref.heightWgs84 * 100.0), -100000, 1800000));
    const bool positionControl = gpsMode > 0 && id.activeChannels >= 12;
    if (positionControl) {
        Send(OncoreCommand("Gd", {0}));
    }
    if (IsTwelveChannelModel(id.model)) {
        Send(Oncore("Ga").Be(latitude, 4).Be(longitude, 4).Be(height, 4).Byte(0));
    } else {
        Send(Oncore("Ad").Be(latitude, 4));
        Send(Oncore("Ae").Be(longitude, 4));
        Send(Oncore("Af").Be(height, 4).Byte(0));
    }
    Send(Oncore("As").Be(latitude, 4).Be(longitude, 4).Be(height, 4).Byte(0));
    Send(Oncore("Au").Be(height, 4).Byte(0));
    if (positionControl) {
        Send(OncoreCommand("Gd", {static_cast<BYTE>(gpsMode == 1 ? 2 : 1)}));
    }
}
