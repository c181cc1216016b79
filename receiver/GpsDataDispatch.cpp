#include "receiver/GpsDataDispatch.h"

#include "receiver/CThBufferList.h"
#include "receiver/CrossProcessSemaphore.h"
#include "receiver/GpsCommandSender.h"
#include "receiver/GpsWeekToDate.h"
#include "receiver/ReceiverEvents.h"
#include "receiver/ReceiverState.h"

namespace {

bool IsSentence(const CString& message) {
    return !message.IsEmpty() && message[0] == u'$';
}

void Echo(GpsSendHost& host, const char16_t* mark, const CString& text) {
    host.AddRawDataLine(CString(mark) + text);
}

void DispatchOne(GpsSendHost& host, int mode, const CString& message) {
    switch (mode) {
    case kModeMotorolaLoran:
        Echo(host, IsLoranLine(message) ? u"-> " : u"?  ", message);
        return;
    case kModeMotorolaBinary:
    case kModeMotorolaRxOnly: {
        const CString text = host.DecodeOncoreMessage(message);
        if (!text.IsEmpty()) {
            Echo(host, u"-> ", text);
        }
        return;
    }
    case kModeUbloxUbx:
    case kModeUbloxNmea: {
        if (IsSentence(message) && host.DecodeNmeaSentence(message)) {
            Echo(host, u"-> ", message);
            return;
        }
        const CString text = host.DecodeUbxMessage(message);
        Echo(host, text.IsEmpty() ? u"?  " : u"-> ", text);
        return;
    }
    default: // the NMEA modes
        Echo(host, IsSentence(message) && host.DecodeNmeaSentence(message) ? u"-> " : u"?  ", message);
        return;
    }
}

enum class Drain { None, Skip, Decode };

// Whether the list goes to the decoders now: not while closing, initialising or searching (None: the gate
// stays taken), nor while an upload reads it (Skip).
Drain DrainOf(GpsSendHost& host, int mode, BOOL closing) {
    if (closing || g_initializing.load() != 0) {
        return Drain::None;
    }
    switch (mode) {
    case kModeMotorolaLoran:
    case kModeMotorolaNmea:
    case 4:
    case kModeGenericNmea:
        return Drain::Decode;
    case kModeMotorolaBinary:
    case kModeMotorolaRxOnly:
        // The boot loader's replies belong to the firmware upload.
        return g_firmwareUploadActive.load() == 0 ? Drain::Decode : Drain::Skip;
    case kModeUbloxUbx:
    case kModeUbloxNmea:
        return host.UbxUploadRunning() ? Drain::Skip : Drain::Decode;
    default: // Search
        return Drain::None;
    }
}

// Decodes up to the first message received after the waiting tick's edge; TRUE when it stopped there.
bool DecodeUpToTick(GpsSendHost& host, int mode) {
    while (!g_receiveList.IsEmpty()) {
        if (g_receiveList.HeadNumber() >= g_ppsTickDataMark.load()) {
            return true;
        }
        DispatchOne(host, mode, g_receiveList.RemoveHead());
    }
    return false;
}

} // namespace

LRESULT OnGpsData(GpsSendHost& host, ReceiverEvents& events, BOOL closing) {
    const int mode = g_interfaceMode.load();
    switch (DrainOf(host, mode, closing)) {
    case Drain::None:
        return 0;
    case Drain::Skip:
        ReleaseCrossProcessSemaphore(g_receiveGate, 1, nullptr);
        return 0;
    case Drain::Decode:
        break;
    }
    if (DecodeUpToTick(host, mode)) {
        // The rest waits for the tick, which posts for it (EndTickHold).
        ReleaseCrossProcessSemaphore(g_receiveGate, 1, nullptr);
    } else {
        ReopenReceiveGate(events);
    }
    return 0;
}

void DispatchDataBeforeTick(GpsSendHost& host, BOOL closing) {
    const int mode = g_interfaceMode.load();
    if (DrainOf(host, mode, closing) == Drain::Decode) {
        DecodeUpToTick(host, mode);
    }
}

void EndTickHold(ReceiverEvents& events) {
    g_ppsTickDataMark = kNoTickWaiting;
    if (!g_receiveList.IsEmpty() && WaitCrossProcessSemaphore(g_receiveGate, 0) == 0) {
        events.PostGpsDataQueued();
    }
}

void ReopenReceiveGate(ReceiverEvents& events) {
    ReleaseCrossProcessSemaphore(g_receiveGate, 1, nullptr);
    if (!g_receiveList.IsEmpty() && WaitCrossProcessSemaphore(g_receiveGate, 0) == 0) {
        events.PostGpsDataQueued();
    }
}
