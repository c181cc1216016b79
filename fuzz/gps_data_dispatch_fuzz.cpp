// The view's dispatch of received messages by interface mode, with the real decoders behind it. The first
// byte picks the mode and the view's state (closing, initialising, a firmware upload running); the rest is
// a run of messages, each a length byte and that many bytes (one unit each, as the framers queue them),
// and a length of 0 dispatches what is queued so far, as a "data queued" message would. After each
// dispatch: a mode that drains has emptied the list, opened the gate and echoed only "-> " and "?  " lines;
// one that does not has left the list and the gate as they were.
#include "receiver/CThBufferList.h"
#include "receiver/CrossProcessSemaphore.h"
#include "receiver/GpsCommandSender.h"
#include "receiver/GpsDataDispatch.h"
#include "receiver/NmeaDecoder.h"
#include "receiver/OncoreDecoder.h"
#include "receiver/ReceiverState.h"
#include "receiver/UbxDecoder.h"
#include "tests/receiver/DecoderTestSupport.h"
#include "tests/receiver/QuietReceiverEvents.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

class DecodingHost : public GpsSendHost {
public:
    explicit DecodingHost(decoder_test::RecordingView& view) : m_oncore(view), m_nmea(view), m_ubx(view) {}
    CString DecodeOncoreMessage(const CString& m) override { return m_oncore.DecodeOncoreMessage(m); }
    BOOL DecodeNmeaSentence(const CString& m) override { return m_nmea.DecodeNmeaSentence(m); }
    CString DecodeUbxMessage(const CString& m) override { return m_ubx.DecodeUbxMessage(m); }
    void AddRawDataLine(const CString& line) override {
        const std::u16string& text = line.str();
        if (!text.starts_with(u"-> ") && !text.starts_with(u"?  ")) {
            std::abort();
        }
        ++echoes;
    }
    void AddIdText(const CString&) override {}
    void UpdateViewWindow() override {}
    void PumpPendingMessages() override {}
    BOOL UbxUploadRunning() override { return uploadRunning; }
    void SetChannelCounts(int) override {}
    void SetHasDgps(BOOL) override {}
    void SetHasTraim(BOOL) override {}

    BOOL uploadRunning = FALSE;
    int echoes = 0;

private:
    OncoreDecoder m_oncore;
    NmeaDecoder m_nmea;
    UbxDecoder m_ubx;
};

struct Expected {
    bool drains = false;  // the list is emptied
    bool reopens = false; // the gate is open afterwards
};

Expected ExpectedOf(int mode, BOOL closing, const DecodingHost& host) {
    if (closing || g_initializing.load() != 0) {
        return {};
    }
    switch (mode) {
    case kModeMotorolaLoran:
    case kModeMotorolaNmea:
    case 4:
    case kModeGenericNmea:
        return {true, true};
    case kModeMotorolaBinary:
    case kModeMotorolaRxOnly:
        return {g_firmwareUploadActive.load() == 0, true};
    case kModeUbloxUbx:
    case kModeUbloxNmea:
        return {!host.uploadRunning, true};
    default: // Search
        return {};
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    static const bool created = (CreateLinkSemaphores(), true);
    (void)created;
    const uint8_t state = data[0];
    const int mode = state % 12;
    const BOOL closing = (state & 0x10) != 0 && (state & 0x20) != 0;
    decoder_test::RecordingView view;
    view.rawWindowShown = (state & 0x40) != 0;
    view.logSecond = (state & 0x80) != 0;
    DecodingHost host(view);
    QuietReceiverEvents events;
    g_interfaceMode = mode;
    g_initializing = (state & 0x30) == 0x10 ? 1 : 0;
    g_firmwareUploadActive = (state & 0x30) == 0x20 ? 1 : 0;
    host.uploadRunning = (state & 0x30) == 0x20;

    auto dispatch = [&] {
        const int queued = g_receiveList.GetCount();
        const Expected expected = ExpectedOf(mode, closing, host);
        WaitCrossProcessSemaphore(g_receiveGate, 0); // taken by the framer that posted
        OnGpsData(host, events, closing);
        const bool open = WaitCrossProcessSemaphore(g_receiveGate, 0) == 0;
        const int left = g_receiveList.GetCount();
        if (open != expected.reopens || (expected.drains ? left != 0 : left != queued)) {
            std::abort();
        }
    };
    for (size_t at = 1; at < size;) {
        const size_t length = std::min<size_t>(data[at], size - at - 1);
        ++at;
        if (length == 0) {
            dispatch();
            continue;
        }
        g_receiveList.AddTail(CString(std::u16string(data + at, data + at + length)));
        at += length;
    }
    dispatch();
    g_receiveList.RemoveAll();
    g_interfaceMode = kModeSearch;
    g_initializing = 0;
    g_firmwareUploadActive = 0;
    return 0;
}
