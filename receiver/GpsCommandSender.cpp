#include "receiver/GpsCommandSender.h"

#include "platform/kernel/Kernel.h"
#include "receiver/CThBufferList.h"
#include "receiver/CommandFraming.h"
#include "receiver/CrossProcessSemaphore.h"
#include "receiver/GpsWeekToDate.h"
#include "receiver/ReceiverState.h"

#include <functional>
#include <string_view>

ULONGLONG GpsSendHost::MonotonicMs() {
    return GetTickCount64();
}

void GpsSendHost::SleepMs(DWORD milliseconds) {
    Sleep(milliseconds);
}

namespace {

bool BeginsWith(const CString& text, std::u16string_view prefix) {
    return std::u16string_view(text.str()).starts_with(prefix);
}

// Set while the transmit list overflows: the raw-data window hears of it once, not per command dropped.
bool g_transmitOverflowReported = false;

void QueueAndEcho(GpsSendHost& host, const CString& framed, bool longTk) {
    QueueForTransmit(host, framed);
    const CString echo = GpsCommandEchoText(framed, longTk);
    if (!echo.IsEmpty()) {
        host.AddRawDataLine(echo);
    }
}

// Hands every queued message to `handle`; TRUE when it found the awaited answer among them. `upToTick`
// leaves what came after the edge of a tick still waiting to the data handler (g_ppsTickDataMark); the
// waits for an answer take all, as nothing else can take it meanwhile.
bool Drain(const std::function<bool(const CString&)>& handle, bool upToTick = false) {
    bool found = false;
    while (!g_receiveList.IsEmpty()) {
        if (upToTick && g_receiveList.HeadNumber() >= g_ppsTickDataMark.load()) {
            break;
        }
        found = handle(g_receiveList.RemoveHead()) || found;
    }
    return found;
}

void DrainToNmeaDecoder(GpsSendHost& host) {
    Drain(
        [&](const CString& m) {
            if (m.GetLength() > 2 && m[0] == u'$') {
                host.DecodeNmeaSentence(m);
            }
            return false;
        },
        true);
}

CString DecodeUbxWithEcho(GpsSendHost& host, const CString& frame) {
    const CString text = host.DecodeUbxMessage(frame);
    if (!text.IsEmpty()) {
        host.AddRawDataLine(CString(u"-> ") + text);
    }
    return text;
}

// Runs `round` (a drain that answers whether the awaited answer came) until it does, or for `seconds`, or
// until the program closes.
// Rounds that do not sleep themselves yield a millisecond while nothing comes.
bool WaitFor(GpsSendHost& host, int seconds, const std::function<bool()>& round, bool roundSleeps = false) {
    const ULONGLONG start = host.MonotonicMs();
    while (host.MonotonicMs() - start < static_cast<ULONGLONG>(seconds) * 1000 && !host.StopWaiting()) {
        const bool listHadMessages = !g_receiveList.IsEmpty();
        if (round()) {
            return true;
        }
        if (!listHadMessages && !roundSleeps) {
            host.SleepMs(1); // nothing came: give the receive thread the processor
        }
    }
    return false;
}

bool IsId(const CString& message, const CString& command) {
    return message.GetLength() >= 4 && message.Left(4) == command.Left(4);
}

} // namespace

void QueueForTransmit(GpsSendHost& host, const CString& framed) {
    const INT_PTR dropped = g_transmitList.AddTailDroppingOldest(framed, kTransmitListCap);
    if (dropped == 0) {
        g_transmitOverflowReported =
            g_transmitOverflowReported && g_transmitList.GetCount() >= kTransmitListCap;
    } else if (!g_transmitOverflowReported) {
        g_transmitOverflowReported = true;
        host.AddRawDataLine(u"WARNING: the receiver takes no commands; the oldest queued ones are dropped");
    }
    ReleaseCrossProcessSemaphore(g_transmitReady, 1, nullptr);
}

void SendGpsCommand(GpsSendHost& host, CString command) {
    switch (FrameGpsCommand(command)) {
    case CommandKind::Nmea:
        QueueAndEcho(host, command, false);
        if (BeginsWith(command, u"$PMOTG")) {
            host.SleepMs(250);
        } else {
            DrainToNmeaDecoder(host);
        }
        return;
    case CommandKind::Bracket:
        QueueAndEcho(host, command, false);
        DrainToNmeaDecoder(host);
        return;
    case CommandKind::Ubx:
    case CommandKind::Raw5555:
        QueueAndEcho(host, command, false);
        if (!host.UbxUploadRunning()) {
            Drain(
                [&](const CString& m) {
                    DecodeUbxWithEcho(host, m);
                    return false;
                },
                true);
        }
        return;
    case CommandKind::Oncore:
        QueueAndEcho(host, command, true);
        if (BeginsWith(command, u"@@Ci")) {
            host.SleepMs(500);
        } else {
            Drain(
                [&](const CString& m) {
                    host.DecodeOncoreMessage(m);
                    return false;
                },
                true);
        }
        return;
    case CommandKind::Unframed:
        QueueForTransmit(host, command);
        if (command == CString(u"BIN") || command == CString(u"NMEA")) {
            host.SleepMs(500);
        } else {
            Drain(
                [](const CString& m) {
                    IsLoranLine(m);
                    return false;
                },
                true);
        }
        return;
    }
}

namespace {

BOOL WaitForOncoreAnswer(GpsSendHost& host, const CString& command) {
    const CString id = command.Left(4);
    struct Probe {
        const char16_t* id;
        const char16_t* answer;
        int seconds;
    };
    if (id == CString(u"@@Cj")) {
        const bool ok = WaitFor(host, 1, [&] {
            const bool found = Drain([&](const CString& m) {
                return !host.DecodeOncoreMessage(m).IsEmpty() && BeginsWith(m, u"@@Cj");
            });
            host.PumpPendingMessages();
            return found;
        });
        if (!ok) {
            host.AddIdText(u"@@Cj Timeout - no valid version number!");
        }
        return ok;
    }
    const auto decodedAs = [&](const char16_t* answerId) {
        return WaitFor(host, 3, [&] {
            return Drain([&](const CString& m) {
                return !host.DecodeOncoreMessage(m).IsEmpty() && BeginsWith(m, answerId);
            });
        });
    };
    struct Count {
        const char16_t* id;
        int channels;
        const char16_t* ok;
        const char16_t* timeout;
    };
    static constexpr Count kCounts[] = {
        {u"@@Ba", 6, u"@@Ba OK - must be a 6-channel Rcvr", u"@@Ba Timeout - not a 6-channel Rcvr"},
        {u"@@Ea", 8, u"@@Ea OK - must be an 8-channel Rcvr", u"@@Ea Timeout - not an 8-channel Rcvr"},
        {u"@@Ha", 12, u"@@Ha OK - must be a 12-channel Rcvr", u"@@Ha Timeout - not a 12-channel Rcvr"},
    };
    for (const Count& c : kCounts) {
        if (id == CString(c.id)) {
            if (decodedAs(c.id)) {
                host.SetChannelCounts(c.channels);
                host.AddIdText(c.ok);
                return TRUE;
            }
            host.AddIdText(c.timeout);
            return FALSE;
        }
    }
    if (id == CString(u"@@Bh")) {
        const bool ok = decodedAs(u"@@Ce");
        host.SetHasDgps(ok);
        host.AddIdText(ok ? u"@@Bh OK - must be a DGPS Rcvr" : u"@@Bh Timeout - must be a non-DGPS Rcvr");
        return ok;
    }
    if (id == CString(u"@@Bn") || id == CString(u"@@En") || id == CString(u"@@Hn")) {
        const bool ok = decodedAs(id.str().c_str());
        host.SetHasTraim(ok);
        host.AddIdText(id + (ok ? u" OK - must have T-RAIM" : u" Timeout - must not have T-RAIM"));
        return ok;
    }
    return WaitFor(
        host, 4,
        [&] {
            const bool found = Drain([&](const CString& m) {
                if (host.DecodeOncoreMessage(m).IsEmpty()) {
                    return false;
                }
                if (IsId(m, command)) {
                    return true;
                }
                host.SleepMs(100);
                return false;
            });
            host.SleepMs(100);
            host.UpdateViewWindow();
            return found;
        },
        true);
}

} // namespace

BOOL SendGpsCommandAndWait(GpsSendHost& host, CString command) {
    if (BeginsWith(command, u"$PMOTG,FOR,")) {
        FrameGpsCommand(command);
        QueueAndEcho(host, command, false);
        host.SleepMs(500);
        host.UpdateViewWindow();
        return TRUE;
    }
    if (BeginsWith(command, u"$PMOTG")) {
        FrameGpsCommand(command);
        QueueAndEcho(host, command, false);
        const CString awaited = CString(u"$GP") + command.Mid(7, 3) + u",";
        return WaitFor(host, 3,
                       [&] { return Drain([&](const CString& m) { return m.Left(7) == awaited; }); });
    }
    if (BeginsWith(command, u"$PGRM") || BeginsWith(command, u"$GPALM")) {
        FrameGpsCommand(command);
        QueueAndEcho(host, command, false);
        const CString awaited = command.Left(5);
        return WaitFor(host, 3, [&] {
            return Drain([&](const CString& m) {
                host.DecodeNmeaSentence(m);
                return m.Left(5) == awaited;
            });
        });
    }
    if (BeginsWith(command, u"@@")) {
        FrameGpsCommand(command);
        QueueAndEcho(host, command, false);
        host.SleepMs(200);
        host.UpdateViewWindow();
        if (BeginsWith(command, u"@@Ci")) {
            host.SleepMs(500);
            host.UpdateViewWindow();
            return TRUE;
        }
        return WaitForOncoreAnswer(host, command);
    }
    if (command == CString(u"BIN") || command == CString(u"NMEA")) {
        QueueForTransmit(host, command);
        host.SleepMs(500);
        host.UpdateViewWindow();
        return TRUE;
    }
    if (command == CString(u"Z") || BeginsWith(command, u"T")) {
        QueueForTransmit(host, command);
        return WaitFor(host, 2,
                       [&] { return Drain([](const CString& m) { return IsLoranLine(m) != FALSE; }); });
    }
    if (BeginsWith(command, u"\u00B5\u0062")) {
        FrameGpsCommand(command);
        QueueAndEcho(host, command, false);
        const auto answered = [&](const CString& m) {
            const CString text = DecodeUbxWithEcho(host, m);
            return !text.IsEmpty() && m.GetLength() >= 4 && m[2] == 0x0A && m[3] == 0x04;
        };
        if (Drain(answered)) {
            return TRUE;
        }
        return WaitFor(
            host, 4,
            [&] {
                const bool found = Drain(answered);
                host.SleepMs(100);
                host.UpdateViewWindow();
                return found;
            },
            true);
    }
    return FALSE;
}
