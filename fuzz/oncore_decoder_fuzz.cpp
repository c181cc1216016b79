// Untrusted receiver messages through the Motorola binary decoder. The first byte picks the receiver model
// and the view's flags; the rest is cut into messages at each "@@" (as the framer would deliver them, or
// not: lengths are whatever the input makes them), and each is decoded against a view that keeps state
// between messages, as the real one does. Every field read must stay inside its message.
#include "receiver/OncoreDecoder.h"
#include "tests/receiver/DecoderTestSupport.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    static constexpr int kModels[] = {0, 1, 3, 5, 6, 8, 10, 17, 20, 21, 23, 24};
    decoder_test::RecordingView view;
    const uint8_t flags = data[0];
    view.model = kModels[(flags & 0x0F) % std::size(kModels)];
    view.rawWindowShown = (flags & 0x10) != 0;
    view.logSecond = (flags & 0x20) != 0;
    view.gpsRxOnLocalTime = (flags & 0x40) != 0;
    view.tickHandled = (flags & 0x80) != 0;
    view.timeZoneBiasMin = -90;
    view.gpsMonth = 6;
    view.gpsDay = 30;
    view.commMask = 0;
    OncoreDecoder decoder(view);
    // The send routine decodes what is queued: a nested call on the same decoder.
    int sendDepth = 0;
    view.onSend = [&] {
        if (sendDepth++ == 0) {
            decoder.DecodeOncoreMessage(CString(u"@@Bo\x12"));
        }
        --sendDepth;
    };

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
