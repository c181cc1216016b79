#include "tools/decoder/DecodeHost.h"

DecodeHost::DecodeHost(std::function<void(const CString&)> rawLine) : m_rawLine(std::move(rawLine)) {
    m_table.fill(SatelliteChannelTables::m_emptySatRow);
}

CString DecodeHost::DecodeOncoreMessage(const CString& message) {
    return m_oncore.DecodeOncoreMessage(message);
}

BOOL DecodeHost::DecodeNmeaSentence(const CString& sentence) {
    return m_nmea.DecodeNmeaSentence(sentence);
}

CString DecodeHost::DecodeUbxMessage(const CString& frame) {
    return m_ubx.DecodeUbxMessage(frame);
}

void DecodeHost::AddRawDataLine(const CString& line) {
    if (m_rawLine) {
        m_rawLine(line);
    }
}
