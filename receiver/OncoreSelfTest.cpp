// The self-test reports of the 6-, 8- and 12-channel receivers. Each result bit is set for a failed test.
#include "receiver/OncoreDecoder.h"
#include "receiver/ReceiverIdentity.h"

namespace {

const char16_t* Result(unsigned word, unsigned bit) {
    return word & bit ? u"FAIL" : u"PASS";
}

// The correlation lines, from the highest channel down to channel 1 (bit 0).
void AppendChannels(CString& text, unsigned word, int channels, const char16_t* id) {
    for (int channel = channels; channel >= 1; --channel) {
        text.AppendFormat(u"\n%s Channel %i Correlation Test: %s", id, channel,
                          Result(word, 1u << (channel - 1)));
    }
}

} // namespace

void OncoreDecoder::FinishSelfTest(const CString& report) {
    if (m_view.HasRxIdDialog()) {
        m_view.RxIdAddText(report);
    }
    // Back to position fixing; the send may decode queued messages before it returns.
    m_view.SendGpsCommand(CString(u"@@Cg\x01"));
}

void OncoreDecoder::DecodeCa(const OncoreMessage& m, Texts& t) {
    const unsigned high = m.U8(4), low = m.U8(5);
    static constexpr struct {
        unsigned bit;
        const char16_t* line;
    } kHighLines[] = {
        {0x20, u"@@Ca RTC Comm & Time: "}, {0x10, u"\n@@Ca DCXO SPI Comm: "},
        {0x08, u"\n@@Ca EEPROM: "},        {0x04, u"\n@@Ca RAM MSByte: "},
        {0x02, u"\n@@Ca RAM LSByte: "},    {0x01, u"\n@@Ca ROM MSByte Checksum: "},
    };
    CString& text = t.text;
    text.Empty();
    for (const auto& line : kHighLines) {
        text += line.line;
        text += Result(high, line.bit);
    }
    text += u"\n@@Ca ROM LSByte Checksum: ";
    text += Result(low, 0x80);
    text += u"\n@@Ca 1KHz Presence: ";
    text += Result(low, 0x40);
    AppendChannels(text, low, 6, u"@@Ca");
    FinishSelfTest(text);
}

void OncoreDecoder::DecodeFa(const OncoreMessage& m, Texts& t) {
    const unsigned high = m.U8(4), low = m.U8(5);
    struct Line {
        unsigned bit;
        const char16_t* line;
    };
    static constexpr Line kLayoutA[] = {
        {0x80, u"Antenna Undercurrent: "},
        {0x40, u"\n@@Fa Antenna Overcurrent: "},
        {0x20, u"\n@@Fa RTC Comm & Time: "},
        {0x10, u"\n@@Fa Temperature Sensor: "},
        {0x04, u"\n@@Fa RAM: "},
        {0x02, u"\n@@Fa ROM: "},
    };
    static constexpr Line kLayoutB[] = {
        {0x80, u"@@Fa RTC Comm & Time: "},
        {0x40, u"\n@@Fa DCXO SPI Comm: "},
        {0x20, u"\n@@Fa EEPROM: "},
        {0x10, u"\n@@Fa RAM MSByte: "},
        {0x08, u"\n@@Fa RAM LSByte: "},
        {0x04, u"\n@@Fa ROM MSByte Checksum: "},
        {0x02, u"\n@@Fa ROM LSByte Checksum: "},
    };
    CString& text = t.text;
    if (ReceiverModel(m_view.GetReceiverModel()).Has(kSelfTestLayoutB)) {
        text.Empty();
        for (const Line& line : kLayoutB) {
            text += line.line;
            text += Result(high, line.bit);
        }
    } else {
        m_view.AntennaStatus() = static_cast<int>(high >> 6);
        m_view.SetAntennaStatus(m_view.AntennaStatus());
        for (const Line& line : kLayoutA) {
            text += line.line;
            text += Result(high, line.bit);
        }
    }
    text += u"\n@@Fa 1KHz Presence: ";
    text += Result(high, 0x01);
    AppendChannels(text, low, 8, u"@@Fa");
    FinishSelfTest(text);
}

void OncoreDecoder::DecodeIa(const OncoreMessage& m, Texts& t) {
    const unsigned word = m.U24(4);
    static constexpr const char16_t* kSense[] = {u"OK", u"OC", u"UC", u"NV"};
    static constexpr struct {
        unsigned bit;
        const char16_t* line;
    } kLines[] = {
        {0x200000, u"\n@@Ia RTC Comm & Time: "},
        {0x100000, u"\n@@Ia Temperature Sensor: "},
        {0x040000, u"\n@@Ia RAM: "},
        {0x020000, u"\n@@Ia ROM: "},
        {0x010000, u"\n@@Ia 1KHz Presence: "},
        {0x004000, u"\n@@Ia Temperature Sensor Data Checksum: "},
        {0x002000, u"\n@@Ia Oscillator Data Checksum: "},
        {0x001000, u"\n@@Ia Manufacturing Data Checksum: "},
    };
    CString& text = t.text;
    text += u"Antenna Sense: ";
    text += kSense[(word >> 22) & 3];
    for (const auto& line : kLines) {
        text += line.line;
        text += Result(word, line.bit);
    }
    AppendChannels(text, word, 12, u"@@Ia");
    FinishSelfTest(text);
}
