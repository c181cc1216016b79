// Untrusted receiver messages through the Motorola binary decoder. The first byte picks the receiver model
// and the view's flags; the rest is cut into messages at each "@@" (as the framer would deliver them, or
// not: lengths are whatever the input makes them), and each is decoded against a view that keeps state
// between messages, as the real one does. Every field read must stay inside its message.
#include "receiver/OncoreDecoder.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

namespace {

class FuzzView : public OncoreView {
public:
    CTime rxTime{-1};
    float rxSeconds = 0.0f, fraction = 0.0f;
    BOOL tickHandled = FALSE, flagA = FALSE, flagB = FALSE, flagC = FALSE, decoderTicks = FALSE;
    int dgps = 0, leap = -1, ntpLeap = 0, model = 0, fixType = 0, haPrecedenceTicks = 0,
        eaPrecedenceTicks = 0, antenna = 0;
    LONG utcOffset = 0, epochOffset = 0;
    ULONG ppsOffset = 0, cableDelay = 0;
    SatelliteChannelTable table{};
    BOOL raw = FALSE, logSecond = FALSE, traimOnce = TRUE, onePps = TRUE, localTime = FALSE;
    float firmware = 0.0f;
    DWORD mask = 0;
    OncoreDecoder* decoder = nullptr;
    int sendDepth = 0;

    CTime& RxTime() override { return rxTime; }
    float& RxSeconds() override { return rxSeconds; }
    BOOL& TickHandled() override { return tickHandled; }
    BOOL& TickSinceZda() override { return flagA; }
    BOOL& TickSinceRmc() override { return flagB; }
    BOOL& ZdaSinceTick() override { return flagC; }
    BOOL& DecoderTicks() override { return decoderTicks; }
    int& DgpsStatus() override { return dgps; }
    LONG& GpsUtcOffsetSec() override { return utcOffset; }
    int& LeapSecondPending() override { return leap; }
    int& NtpLeapIndicator() override { return ntpLeap; }
    SatelliteChannelTable& SatTable() override { return table; }
    BOOL IsRawWindowShown() const override { return raw; }
    BOOL IsLogSecond() const override { return logSecond; }
    int GetTimeZoneBiasMin() const override { return -90; }
    BOOL IsGpsRxOnLocalTime() const override { return localTime; }
    int GetReceiverModel() const override { return model; }
    float GetFirmwareVersion() const override { return firmware; }
    int GetGpsTimeYear() const override { return 2021; }
    int GetGpsTimeMonth() const override { return 6; }
    void SyncPcClock() override {}
    void UpdateClockDisplay() override {}
    void UpdateControls() override {}
    void UpdateSatsGrid() override {}
    void UpdatePositionText(double, double, double, double) override {}
    void WriteBinaryLogMessage(const CString&) override {}
    void WritePvtLogLine(const CString&) override {}
    void GpsNavSetFixQuality(int) override {}
    void GpsNavSetTrackedCount(int) override {}
    void GpsNavSetFixType(int type) override { fixType = type; }
    int GpsNavGetFixType() const override { return fixType; }
    void GpsNavSetDops(double, double, double, double, double) override {}
    void GpsNavSetSpeed(double) override {}
    void GpsNavSetHeading(double) override {}
    void SetSatsGridCellText(int, int, const CString&) override {}
    BOOL HasRxIdDialog() const override { return TRUE; }
    void RxIdSetText(const CString&) override {}
    void RxIdAddText(const CString&) override {}
    void SetAntennaStatus(int) override {}
    void SetReceiverModeStatus(int) override {}
    float& RxSecondFraction() override { return fraction; }
    int& HaPrecedenceTicks() override { return haPrecedenceTicks; }
    int& EaPrecedenceTicks() override { return eaPrecedenceTicks; }
    int& AntennaStatus() override { return antenna; }
    BOOL& ShowTraimStatusOnce() override { return traimOnce; }
    BOOL& OnePpsPulseMode() override { return onePps; }
    int GetGpsTimeDay() const override { return 30; }
    int GetActiveChannels() const override { return 8; }
    void SetReceiverModel(int value) override { model = value; }
    void SetFirmwareVersion(float version) override { firmware = version; }
    void SetVersionText(const CString&) override {}
    void SetReceiverPlusModel(BOOL) override {}
    void SetViewTimer(UINT, UINT) override {}
    void KillViewTimer(UINT) override {}
    void StampStartupTime() override {}
    void SendGpsCommand(const CString&) override {
        // The send routine decodes what is queued: a nested call on the same decoder.
        if (sendDepth++ == 0 && decoder != nullptr) {
            decoder->DecodeOncoreMessage(CString(u"@@Bo\x12"));
        }
        --sendDepth;
    }
    BOOL GetPortCommMask(DWORD& value) override {
        value = mask;
        return TRUE;
    }
    BOOL SetPortCommMask(DWORD value) override {
        mask = value;
        return TRUE;
    }
    double GetGeoidSeparation(double, double) const override { return 40.0; }
    CString GetMonthName(int) const override { return CString(u"Month"); }
    CString GpsNavFormatDops() const override { return CString(); }
    void GpsTimeSetEpochOffset(LONG value) override { epochOffset = value; }
    LONG GpsTimeGetEpochOffset() const override { return epochOffset; }
    void GpsTimeSetPpsOffset(ULONG value) override { ppsOffset = value; }
    ULONG GpsTimeGetPpsOffset() const override { return ppsOffset; }
    void GpsTimeSetCableDelay(ULONG value) override { cableDelay = value; }
    ULONG GpsTimeGetCableDelay() const override { return cableDelay; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    static constexpr int kModels[] = {0, 1, 3, 5, 6, 8, 10, 17, 20, 21, 23, 24};
    FuzzView view;
    const uint8_t flags = data[0];
    view.model = kModels[(flags & 0x0F) % std::size(kModels)];
    view.raw = (flags & 0x10) != 0;
    view.logSecond = (flags & 0x20) != 0;
    view.localTime = (flags & 0x40) != 0;
    view.tickHandled = (flags & 0x80) != 0;
    OncoreDecoder decoder(view);
    view.decoder = &decoder;

    // Messages start at each "@@"; a unit may also carry a value above 255 when the byte pair asks for it.
    std::u16string units;
    for (size_t i = 1; i < size; ++i) {
        units.push_back(data[i]);
    }
    size_t start = 0;
    while (start < units.size()) {
        size_t next = units.find(u"@@", start + 2);
        if (next == std::u16string::npos) {
            next = units.size();
        }
        const CString message(units.substr(start, next - start));
        const CString text = decoder.DecodeOncoreMessage(message);
        if (message.GetLength() >= 4 && message[0] == u'@' && message[1] == u'@' && text.IsEmpty()) {
            __builtin_trap(); // every "@@" message gets a text
        }
        view.haPrecedenceTicks = view.haPrecedenceTicks > 0 ? view.haPrecedenceTicks - 1 : 0;
        view.eaPrecedenceTicks = view.eaPrecedenceTicks > 0 ? view.eaPrecedenceTicks - 1 : 0;
        start = next;
    }
    return 0;
}
