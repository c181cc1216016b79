// Untrusted sentences through the NMEA decoder. The first byte picks the view's state (raw window, logging
// second, tick flags, receiver model and interface mode); the rest is split into sentences at line feeds,
// one unit per byte, as the framer hands them over. Nothing may read out of bounds or overflow, and the
// channel table must keep its sixteen rows.
#include "receiver/NmeaDecoder.h"
#include "tests/receiver/DecoderTestSupport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const uint8_t state = data[0];
    decoder_test::InterfaceModeScope mode((state & 0x40) ? kModeUbloxNmea : kModeGenericNmea);
    decoder_test::RecordingView view;
    view.rawWindowShown = (state & 0x01) != 0;
    view.logSecond = (state & 0x02) != 0;
    view.tickSinceZda = (state & 0x04) != 0;
    view.gpsRxOnLocalTime = (state & 0x08) != 0;
    view.timeZoneBiasMin = -120;
    static constexpr int kModels[] = {0, 3, 6, 10, 11, 19, 99};
    view.model = kModels[(state >> 4) % 7];
    view.firmwareVersion = (state & 0x80) ? 7.5f : 9.0f;
    NmeaDecoder decoder(view);

    std::u16string sentence;
    for (size_t i = 1; i <= size; ++i) {
        if (i == size || data[i] == '\n') {
            decoder.DecodeNmeaSentence(CString(sentence));
            sentence.clear();
        } else {
            sentence.push_back(data[i]);
        }
    }
    for (const SatelliteChannelRow& row : view.table) {
        if (row.prn < 0 || row.prn > 256) {
            std::abort();
        }
    }
    return 0;
}
