// Framing of the commands sent to the receiver, their echo texts in the raw-data window, and the bytes the
// transmit thread puts on the wire. Commands hold one byte per UTF-16 unit.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"

#include <string>

// Each changes the command in place and answers TRUE when it applied; FALSE leaves it unchanged.
// "$" and at least 7 units: "*" and the upper-case hex XOR of the units after "$" (an old "*hh" replaced).
BOOL AddNmeaChecksum(CString& command);
// ">" and at least 4 units: ";*", the hex XOR of everything from ">" through ";*", and "<".
BOOL AddBracketChecksum(CString& command);
// 0xB5 0x62 and at least 4 units: the Fletcher sums A and B over class to the end, appended as two units.
BOOL AddUbxChecksum(CString& command);
// "@" and at least 4 units: the XOR of all units (all but the last two when the second from the end is "*"),
// appended as one unit.
BOOL AddOncoreChecksum(CString& command);

// How a command is framed, by its prefix.
enum class CommandKind {
    Nmea,     // "$" (and "$PMOTG")
    Bracket,  // ">"
    Ubx,      // 0xB5 0x62
    Oncore,   // "@@"
    Raw5555,  // 0x55 0x55: sent as it is
    Unframed, // anything else ("T0", "T1", "BIN", "NMEA", "Z"): sent as it is and not echoed
};

CommandKind ClassifyGpsCommand(const CString& command);
// Applies the framing of the command's kind and answers the kind.
CommandKind FrameGpsCommand(CString& command);

// The raw-data window's echo of a framed command: "<- " and the text; binary units as "<%02.2X>" (Oncore
// commands after their first four units, UBX and 0x55 0x55 commands throughout). With `longTk` an "@@Tk"
// shows its first 59 units as text. Unframed commands have no echo: the result is empty.
CString GpsCommandEchoText(const CString& framed, bool longTk = false);

// The bytes the transmit thread writes: CR LF appended unless the command begins with DLE (0x10), every
// unit narrowed to its low byte.
std::string GpsCommandWireBytes(const CString& command);

// The two rate bytes of "@@Wb" for the interface mode the port is set to (Motorola binary, or u-blox).
void RateChangeCode(int interfaceMode, DWORD baudRate, BYTE code[2]);
// "@@Wb" followed by the rate code (unframed; the send routine adds the checksum).
CString RateChangeCommand(int interfaceMode, DWORD baudRate);
