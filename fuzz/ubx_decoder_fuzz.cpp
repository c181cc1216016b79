// Untrusted frames through the UBX decoder. The first byte picks the view's state (raw window, logging
// second, tick, current month); the rest is a run of frames, each a two-byte size followed by that many
// bytes, which follow "\xB5\x62" unless the state's top bit asks for them raw. Declared lengths and
// channel counts that do not fit the frame must never be read past.
#include "receiver/UbxDecoder.h"
#include "tests/receiver/DecoderTestSupport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const uint8_t state = data[0];
    decoder_test::RecordingView view;
    view.rawWindowShown = (state & 0x01) != 0;
    view.logSecond = (state & 0x02) != 0;
    view.tickHandled = (state & 0x04) != 0;
    view.gpsMonth = 1 + (state >> 3) % 12;
    UbxDecoder decoder(view);

    for (size_t at = 1; at + 2 <= size;) {
        const size_t length = std::min<size_t>(data[at] | (data[at + 1] << 8), size - at - 2);
        at += 2;
        std::u16string frame;
        if (!(state & 0x80)) {
            frame = u"\xB5\x62";
        }
        frame.append(data + at, data + at + length);
        at += length;
        const CString text = decoder.DecodeUbxMessage(CString(frame));
        if (!text.IsEmpty() && text[text.GetLength() - 1] != u'\n') {
            std::abort();
        }
    }
    for (const SatelliteChannelRow& row : view.table) {
        if (row.elevation > 90 || row.azimuth > 359 || row.signal < 0 || row.signal > 39) {
            std::abort();
        }
    }
    return 0;
}
