// The serial communications API on port handles from CreateFileW("\\.\COMn").
//
// Ports are tty devices (termios), RFC 2217 port servers (rfc2217://host:port) or, in tests, fake ports
// (FakeSerialPort.h); all behave alike. Notes on the Linux side:
// - Rates outside the standard table go through termios2 (any rate the driver accepts).
// - ONE5STOPBITS is taken as two stop bits.
// - DTR/DSR output flow control (fOutxDsrFlow) is done by the layer: output waits for DSR within the write
//   time-out. DTR_CONTROL_HANDSHAKE asserts DTR (there is no input flow control by DTR);
//   RTS_CONTROL_HANDSHAKE and fOutxCtsFlow select CRTSCTS; RTS_CONTROL_TOGGLE asserts RTS.
// - Incoming bytes are moved into the port's own input queue as they arrive (as the original's driver
//   does), so EV_RXCHAR means "bytes arrived since the last report". The queue holds at least 16 KiB (more
//   after SetupComm); bytes beyond it are lost with CE_RXOVER.
// - A write ends when its bytes have left the device's output queue, or at its time-out: then the bytes
//   still queued are discarded and the count reports what went out (a success, as on the original).
// - A port whose device went away (adapter pulled, pty master closed, RFC 2217 connection dropped) ends its
//   pending requests with ERROR_ACCESS_DENIED, and every later call on the handle but CloseHandle fails with
//   ERROR_ACCESS_DENIED.
// - Ports that cannot report modem lines (a pty) answer GetCommModemStatus with no lines on, and
//   PortSupportsModemLines tells so; data flows all the same.
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/TimeConversions.h"
#include "platform/base/Win32Types.h"
#include "platform/serial/FileIo.h"

#include <string>
#include <vector>

#define MAXDWORD 0xFFFFFFFFu

#define CBR_110 110
#define CBR_300 300
#define CBR_600 600
#define CBR_1200 1200
#define CBR_2400 2400
#define CBR_4800 4800
#define CBR_9600 9600
#define CBR_14400 14400
#define CBR_19200 19200
#define CBR_38400 38400
#define CBR_56000 56000
#define CBR_57600 57600
#define CBR_115200 115200
#define CBR_128000 128000
#define CBR_256000 256000

#define NOPARITY 0
#define ODDPARITY 1
#define EVENPARITY 2
#define MARKPARITY 3
#define SPACEPARITY 4

#define ONESTOPBIT 0
#define ONE5STOPBITS 1
#define TWOSTOPBITS 2

#define DTR_CONTROL_DISABLE 0x00
#define DTR_CONTROL_ENABLE 0x01
#define DTR_CONTROL_HANDSHAKE 0x02
#define RTS_CONTROL_DISABLE 0x00
#define RTS_CONTROL_ENABLE 0x01
#define RTS_CONTROL_HANDSHAKE 0x02
#define RTS_CONTROL_TOGGLE 0x03

#define EV_RXCHAR 0x0001
#define EV_RXFLAG 0x0002
#define EV_TXEMPTY 0x0004
#define EV_CTS 0x0008
#define EV_DSR 0x0010
#define EV_RLSD 0x0020
#define EV_BREAK 0x0040
#define EV_ERR 0x0080
#define EV_RING 0x0100

#define MS_CTS_ON 0x0010
#define MS_DSR_ON 0x0020
#define MS_RING_ON 0x0040
#define MS_RLSD_ON 0x0080

#define PURGE_TXABORT 0x0001
#define PURGE_RXABORT 0x0002
#define PURGE_TXCLEAR 0x0004
#define PURGE_RXCLEAR 0x0008

#define CE_RXOVER 0x0001
#define CE_OVERRUN 0x0002
#define CE_RXPARITY 0x0004
#define CE_FRAME 0x0008
#define CE_BREAK 0x0010
#define CE_TXFULL 0x0100

#define SETXOFF 1
#define SETXON 2
#define SETRTS 3
#define CLRRTS 4
#define SETDTR 5
#define CLRDTR 6
#define RESETDEV 7
#define SETBREAK 8
#define CLRBREAK 9

#define PST_RS232 0x00000001

typedef struct _DCB {
    DWORD DCBlength;
    DWORD BaudRate;
    DWORD fBinary : 1;
    DWORD fParity : 1;
    DWORD fOutxCtsFlow : 1;
    DWORD fOutxDsrFlow : 1;
    DWORD fDtrControl : 2;
    DWORD fDsrSensitivity : 1;
    DWORD fTXContinueOnXoff : 1;
    DWORD fOutX : 1;
    DWORD fInX : 1;
    DWORD fErrorChar : 1;
    DWORD fNull : 1;
    DWORD fRtsControl : 2;
    DWORD fAbortOnError : 1;
    DWORD fDummy2 : 17;
    WORD wReserved;
    WORD XonLim;
    WORD XoffLim;
    BYTE ByteSize;
    BYTE Parity;
    BYTE StopBits;
    char XonChar;
    char XoffChar;
    char ErrorChar;
    char EofChar;
    char EvtChar;
    WORD wReserved1;
} DCB, *LPDCB;

typedef struct _COMMTIMEOUTS {
    DWORD ReadIntervalTimeout;
    DWORD ReadTotalTimeoutMultiplier;
    DWORD ReadTotalTimeoutConstant;
    DWORD WriteTotalTimeoutMultiplier;
    DWORD WriteTotalTimeoutConstant;
} COMMTIMEOUTS, *LPCOMMTIMEOUTS;

typedef struct _COMSTAT {
    DWORD fCtsHold : 1;
    DWORD fDsrHold : 1;
    DWORD fRlsdHold : 1;
    DWORD fXoffHold : 1;
    DWORD fXoffSent : 1;
    DWORD fEof : 1;
    DWORD fTxim : 1;
    DWORD fReserved : 25;
    DWORD cbInQue;
    DWORD cbOutQue;
} COMSTAT, *LPCOMSTAT;

typedef struct _COMMCONFIG {
    DWORD dwSize;
    WORD wVersion;
    WORD wReserved;
    DCB dcb;
    DWORD dwProviderSubType;
    DWORD dwProviderOffset;
    DWORD dwProviderSize;
    WCHAR wcProviderData[1];
} COMMCONFIG, *LPCOMMCONFIG;

// Read and write time-outs as on the original:
// - ReadIntervalTimeout MAXDWORD with both read totals 0: a read answers at once with what is there.
// - ReadIntervalTimeout MAXDWORD with any read total: a read answers at once with what is there; when
//   nothing is there it answers with the first bytes that arrive, or with none at the total time-out
//   (multiplier MAXDWORD counts as 0 there).
// - Otherwise a read waits for all its bytes, ending early at the total time-out (multiplier x bytes +
//   constant, when either is set) or when the interval between two bytes passes ReadIntervalTimeout.
// - A write ends early at WriteTotalTimeoutMultiplier x bytes + WriteTotalTimeoutConstant, when either is
//   set. A time-out is a success with a short count.
BOOL GetCommTimeouts(HANDLE file, LPCOMMTIMEOUTS timeouts);
BOOL SetCommTimeouts(HANDLE file, LPCOMMTIMEOUTS timeouts);

BOOL GetCommState(HANDLE file, LPDCB dcb);
// Refuses (ERROR_INVALID_PARAMETER) a zero rate, ByteSize outside 5..8, Parity above SPACEPARITY, StopBits
// above TWOSTOPBITS, and equal XonChar and XoffChar while XON/XOFF is on.
BOOL SetCommState(HANDLE file, LPDCB dcb);
// "baud=9600 parity=N data=8 stop=1 [to=on|off] [xon=on|off] [odsr=on|off] [octs=on|off] [dtr=on|off|hs]
// [rts=on|off|hs|tg] [idsr=on|off]" or the older "9600,n,8,1[,x|,p]".
BOOL BuildCommDCBW(LPCWSTR definition, LPDCB dcb);
#define BuildCommDCB BuildCommDCBW

// The sizes are a hint; the input queue takes at least dwInQueue bytes from now on.
BOOL SetupComm(HANDLE file, DWORD inQueue, DWORD outQueue);
BOOL PurgeComm(HANDLE file, DWORD flags);
// Answers and clears the CE_* errors seen since the last call; COMSTAT holds the queue sizes and the holds.
BOOL ClearCommError(HANDLE file, LPDWORD errors, LPCOMSTAT status);
BOOL EscapeCommFunction(HANDLE file, DWORD function);
BOOL SetCommBreak(HANDLE file);
BOOL ClearCommBreak(HANDLE file);
BOOL GetCommModemStatus(HANDLE file, LPDWORD modemStatus);

// SetCommMask ends a pending WaitCommEvent successfully with an event mask of 0 (whatever the new mask) and
// forgets the events not reported yet. WaitCommEvent with a mask of 0 fails with ERROR_INVALID_PARAMETER, as
// does a second WaitCommEvent while one is pending.
BOOL SetCommMask(HANDLE file, DWORD eventMask);
BOOL GetCommMask(HANDLE file, LPDWORD eventMask);
BOOL WaitCommEvent(HANDLE file, LPDWORD eventMask, LPOVERLAPPED overlapped);

// Answers the default configuration (9600 bits per second, 8 data bits, no parity, one stop bit) for a port
// name ("COM3" or "\\.\COM3") that maps to a device that is present, without opening it; FALSE with
// ERROR_FILE_NOT_FOUND for other names, and ERROR_INSUFFICIENT_BUFFER (size set to the need) for a short
// buffer.
BOOL GetDefaultCommConfigW(LPCWSTR name, LPCOMMCONFIG config, LPDWORD size);
#define GetDefaultCommConfig GetDefaultCommConfigW

// ---- the layer's own additions

// One modem line as the port last saw it. Times are UTC from the layer's clock (CurrentUtc), taken the
// moment the change was noticed: by the watcher on its wake, or when an RFC 2217 notification arrived.
struct ModemLineStamp {
    UtcInstant lastChange{};      // the last change of either direction
    UtcInstant lastRise{};        // the last rising edge, including a pulse that had already fallen when read
    LONGLONG lastRiseCounter = 0; // the same moment on the performance counter, which no clock setting moves
    BOOL level = FALSE;           // the level read after the last change
    DWORD changes = 0;            // transitions counted since the port was opened
    DWORD rises = 0;              // rising edges counted since the port was opened
    BOOL lastWasPulse = FALSE;    // the last rise had already fallen when the level was read
};

struct ModemEdgeStamp {
    ModemLineStamp dcd;  // EV_RLSD
    ModemLineStamp cts;  // EV_CTS
    ModemLineStamp dsr;  // EV_DSR
    ModemLineStamp ring; // EV_RING
};

// The stamps of the modem-line changes; a receive thread reads them after WaitCommEvent reports EV_RLSD,
// EV_CTS or EV_DSR. A rising edge is counted (and stamped) also when the line had fallen again before its
// level could be read (the transition counter moved by two or more and the line reads low).
BOOL GetCommEventStamp(HANDLE file, ModemEdgeStamp* stamp);

// TRUE when the port reports modem lines; FALSE with ERROR_NOT_SUPPORTED when it cannot (a pty).
BOOL PortSupportsModemLines(HANDLE file);

namespace doliva::serial {

// Where a port's device comes from.
enum class PortSource { Environment, UserHive, MachineHive, Default };

struct ComPortEntry {
    int number = 0;      // n of COMn
    std::u16string name; // "COMn"
    std::string device;  // a path, rfc2217://host:port or fake://name
    PortSource source = PortSource::Default;
    bool present = false; // as GetDefaultCommConfig answers it
};

// Every port that has a device named for it (DOLIVA_COMn, either hive's SERIALCOMM key, COM1-COM4, and one
// port per /dev/serial/by-id entry), in port number order. Nothing is opened.
std::vector<ComPortEntry> ListComPorts();

} // namespace doliva::serial
