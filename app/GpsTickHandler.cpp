#include "app/GpsTickHandler.h"

#include "app/GpsTime.h"
#include "platform/kernel/Handles.h"
#include "platform/sound/Sound.h"
#include "platform/system/Priority.h"
#include "receiver/ReceiverIdentity.h"
#include "receiver/ReceiverState.h"

#include <string>

namespace {

// EV_CTS | EV_DSR | EV_RLSD: the modem-line events that carry the 1PPS edges.
constexpr DWORD kPpsModemEvents = 0x08 | 0x10 | 0x20;
// An edge closer than this to the line's rise before cannot start a second (the rises are stamped where
// the port saw them, so no load moves them); so many of them in a row make a line that pulses too fast (a
// receiver left at 100 pulses a second, a noisy line).
constexpr std::int64_t kMinEdgeSpacingNs = 750'000'000;
constexpr int kTooSoonEdgesForFault = 3;

const char16_t* PpsLineName(int line) {
    switch (line) {
    case 1:
        return u"DCD";
    case 2:
        return u"CTS";
    case 3:
        return u"DSR";
    default:
        return u"?";
    }
}

// The receiver's UTC second of the tick; -1 without a receiver time.
int SecondOf(const CTime& rxTime) {
    struct tm fields {};
    return IsReceiverTime(rxTime) && rxTime.GetGmtTm(&fields) ? fields.tm_sec : -1;
}

void SetPriority(DWORD priorityClass) {
    SetPriorityClass(GetCurrentProcess(), priorityClass);
}

} // namespace

void IGpsTickHost::PlayTickSound(LPCTSTR name) {
    PlaySoundW(name, nullptr, SND_RESOURCE | SND_ASYNC);
}

GpsTickHandler::GpsTickHandler(IGpsTickHost& host) : m_host(host) {}

bool GpsTickHandler::LineFaultStopsEdges(bool tooSoon) {
    m_tooSoonEdges = tooSoon ? m_tooSoonEdges + 1 : 0;
    if (m_host.PpsRate100() == 1 || m_tooSoonEdges < kTooSoonEdgesForFault) {
        return false;
    }
    if (!m_lineFaultReported) {
        m_lineFaultReported = true;
        m_host.ReportPpsLineFault(CString(u"ERROR: 1PPS line ") + PpsLineName(m_host.GetPpsInterface()) +
                                  u" pulses more than once a second - the clock is no longer set from it");
    }
    return true;
}

void GpsTickHandler::OnGpsTick(std::int64_t edgeGapNs) {
    // High priority from here until the clock has been set.
    SetPriority(HIGH_PRIORITY_CLASS);
    if (m_host.IsClosing()) {
        // The gate stays taken: no further tick is posted to a closing view.
        SetPriority(NORMAL_PRIORITY_CLASS);
        return;
    }

    const bool tooSoon = edgeGapNs >= 0 && edgeGapNs < kMinEdgeSpacingNs;
    BYTE& extraTicks = m_host.PpsRateTicks();
    if (m_host.PpsRate100() == 1 && extraTicks <= 2 && m_host.TickHandled()) {
        ++extraTicks;
    }
    if (extraTicks > 2 || LineFaultStopsEdges(tooSoon)) {
        StopModemLineEvents();
        return;
    }

    for (int* ticks : {&m_host.HaPrecedenceTicks(), &m_host.EaPrecedenceTicks()}) {
        if (*ticks > 0) {
            --*ticks;
        }
    }

    // An edge too soon after the last one marks no second: setting the clock from it would be wrong by
    // wherever in the second it fell.
    if (!m_host.TickHandled() && !tooSoon && m_host.GetInterfaceMode() != kModeMotorolaLoran &&
        IsReceiverTime(m_host.PcTime())) {
        m_lineFaultReported = false;
        NewSecond();
    } else {
        ExtraEdge();
    }
}

void GpsTickHandler::NewSecond() {
    m_host.TickHandled() = TRUE;
    m_host.TickSinceZda() = TRUE;
    m_host.TickSinceRmc() = TRUE;
    m_host.ZdaSinceTick() = FALSE;
    m_host.DecoderTicks() = FALSE;
    // The second of this tick, taken before anything can let a data message through: a time message
    // handled meanwhile already describes the next tick.
    const int second = SecondOf(m_host.RxTime());
    m_host.SyncPcClock();
    SetPriority(NORMAL_PRIORITY_CLASS);

    if (m_host.HasRawDataWindow()) {
        m_host.AddRawDataLine(u"-- PPS --");
    }
    m_host.UpdateClockDisplay();

    SendPolls(second);
    ShowTick();

    if (m_host.IsSoundOn()) {
        if (second == 0) {
            m_host.PlayTickSound(kSoundMinuteTick);
        } else if (m_host.IsOutOfLock() && m_host.IsSoundOutOfLock()) {
            m_host.PlayTickSound(kSoundWarningTick);
        } else {
            m_host.PlayTickSound(kSoundSecondTick);
        }
    } else {
        PlayOutOfLockOnly();
    }
    if (second == 0) {
        m_host.ReopenLogFiles();
    }
    m_host.ReleasePpsGate();
}

void GpsTickHandler::ExtraEdge() {
    m_host.DecideLogSecondForExtraTick();
    ShowTick();
    if (m_host.IsSoundOn()) {
        m_host.PlayTickSound(kSoundSecondTick);
    } else {
        PlayOutOfLockOnly();
    }
    m_host.ClearUtcInfoText();
    m_host.UpdateControls();
    m_host.ReleasePpsGate();
    SetPriority(NORMAL_PRIORITY_CLASS);
}

void GpsTickHandler::StopModemLineEvents() {
    DWORD mask = 0;
    if (m_host.GetPortCommMask(mask)) {
        m_host.SetPortCommMask(mask & ~kPpsModemEvents);
    }
    m_host.ReleasePpsGate();
    SetPriority(NORMAL_PRIORITY_CLASS);
}

void GpsTickHandler::SendPolls(int second) {
    switch (m_host.GetInterfaceMode()) {
    case kModeMotorolaBinary:
        if (second == 20) {
            m_host.SendGpsCommand(LeapSecondPollCommand(m_host.GetReceiverModel()));
        } else if (second == 21) {
            m_host.SendGpsCommand(CString(u"@@Bo") + TCHAR(0x01));
        }
        break;
    case kModeUbloxUbx:
        if (second == 11) {
            // AID-HUI poll; the send routine adds the checksum.
            m_host.SendGpsCommand(CString(std::u16string(u"\xB5\x62\x0B\x02\0\0", 6)));
        }
        break;
    default:
        break;
    }
}

void GpsTickHandler::ShowTick() {
    m_host.ShowTickIcon();
    m_host.SetViewTimer(kTickIconTimer, kTickIconPeriodMs);
}

void GpsTickHandler::PlayOutOfLockOnly() {
    if (m_host.IsSoundOutOfLock() && m_host.IsOutOfLock()) {
        m_host.PlayTickSound(kSoundWarningTick);
    }
}

void GpsTickHandler::PlayDecoderSecondSound(int rxSecond) {
    const BOOL soundOn = m_host.IsSoundOn();
    const BOOL outOfLockSound = m_host.IsSoundOutOfLock();
    if (!m_host.DecoderTicks() || (!soundOn && !outOfLockSound)) {
        return;
    }
    if (soundOn) {
        m_host.ClearTickIcon();
    }
    if (rxSecond == m_lastSoundSecond) {
        return;
    }
    m_lastSoundSecond = rxSecond;
    if (!soundOn) {
        PlayOutOfLockOnly();
        return;
    }
    const BOOL ppsLine = m_host.GetPpsInterface() > 0;
    LPCTSTR sound = kSoundSecondTick;
    if (rxSecond == 0) {
        sound = kSoundMinuteTick;
    } else if (m_host.IsOverrideTraim()) {
        if ((m_host.IsOutOfLock() && outOfLockSound) ||
            (!m_host.TickHandled() && outOfLockSound && ppsLine)) {
            sound = kSoundWarningTick;
        }
    } else if (ppsLine) {
        sound = kSoundWarningTick;
    }
    m_host.PlayTickSound(sound);
}

BOOL GpsTickHandler::SoundSettingsOfCommand(UINT id, BOOL& soundOn, BOOL& soundOutOfLock) {
    switch (id) {
    case kIdSoundAll:
        soundOn = TRUE;
        soundOutOfLock = TRUE;
        return TRUE;
    case kIdSoundOutOfLockOnly:
        soundOn = FALSE;
        soundOutOfLock = TRUE;
        return TRUE;
    case kIdSoundClockTicksOnly:
        soundOn = TRUE;
        soundOutOfLock = FALSE;
        return TRUE;
    case kIdSoundNone:
        soundOn = FALSE;
        soundOutOfLock = FALSE;
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL GpsTickHandler::IsSoundCommandChecked(UINT id, BOOL soundOn, BOOL soundOutOfLock) {
    BOOL sound = FALSE;
    BOOL outOfLock = FALSE;
    if (!SoundSettingsOfCommand(id, sound, outOfLock)) {
        return FALSE;
    }
    return (sound != FALSE) == (soundOn != FALSE) && (outOfLock != FALSE) == (soundOutOfLock != FALSE);
}
