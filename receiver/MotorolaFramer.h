// Cuts a Motorola Oncore binary stream into messages: "@@", two id letters, the payload (its length fixed
// by the id in the message table), an XOR checksum byte, CR and LF. A message is delivered without checksum,
// CR and LF.
//
// A line is judged at every LF: a payload may hold LF bytes, so a line shorter than its id's length waits
// for more, unless a whole message ends at that LF further on (then what came before it was no message).
// Whatever fails (no "@@", unknown id, wrong length, bad checksum) gives up one unit at a time, and framing
// goes on at the next "@@" already in hand, so one corrupted message never costs the next one and the result
// never depends on how the bytes were split into reads.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"

#include <cstddef>
#include <string>
#include <vector>

class MotorolaFramer {
public:
    // A line that grows to this many units without being taken is started again.
    static constexpr std::size_t kMaxLine = 800;

    // With `firmwareUpload` set the boot loader's replies are delivered raw: a line ends at an LF (kept), and
    // a control byte of 27 or less at the start of a line is a line by itself.
    void Feed(const BYTE* data, std::size_t size, std::vector<CString>& messages,
              bool firmwareUpload = false);
    void Reset() { m_line.clear(); }

private:
    void TakeMessages(std::vector<CString>& messages);

    std::u16string m_line;
};
