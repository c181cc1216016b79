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

} // namespace

LRESULT OnGpsData(GpsSendHost& host, ReceiverEvents& events, BOOL closing) {
    if (closing || g_initializing.load() != 0) {
        return 0;
    }
    const int mode = g_interfaceMode.load();
    bool drains = false;
    switch (mode) {
    case kModeMotorolaLoran:
    case kModeMotorolaNmea:
    case 4:
    case kModeGenericNmea:
        drains = true;
        break;
    case kModeMotorolaBinary:
    case kModeMotorolaRxOnly:
        // The boot loader's replies belong to the firmware upload.
        drains = g_firmwareUploadActive.load() == 0;
        break;
    case kModeUbloxUbx:
    case kModeUbloxNmea:
        drains = !host.UbxUploadRunning();
        break;
    default: // Search
        return 0;
    }
    if (drains) {
        while (!g_receiveList.IsEmpty()) {
            DispatchOne(host, mode, g_receiveList.RemoveHead());
        }
    }
    if (drains) {
        ReopenReceiveGate(events);
    } else {
        ReleaseCrossProcessSemaphore(g_receiveGate, 1, nullptr);
    }
    return 0;
}

void ReopenReceiveGate(ReceiverEvents& events) {
    ReleaseCrossProcessSemaphore(g_receiveGate, 1, nullptr);
    if (!g_receiveList.IsEmpty() && WaitCrossProcessSemaphore(g_receiveGate, 0) == 0) {
        events.PostGpsDataQueued();
    }
}
