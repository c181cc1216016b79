// The receiver processor's firmware upload: an Intel-HEX text file fed record by record to the receiver's
// boot loader, each record awaiting its ACK, with resends on NAK and time-out, and the statistics echoed at
// the end. Runs on the GUI thread; the receive framer delivers plain lines while g_firmwareUploadActive.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"

#include <cstdint>

class FirmwareUploadHost;

struct IntelHexUploadStats {
    std::int64_t bytesRead = 0;
    std::int64_t fileLength = 0;
    int recordCount = 0;
    int characterCount = 0;
    int sendRecordRetries = 0;
    int invalidResponses = 0;
    int nakErrors = 0;
    int responseTimeouts = 0;
};

enum class IntelHexUploadResult {
    NotStarted, // no file chosen, or it did not open: nothing sent
    Completed,  // the end-of-file record was sent
    EndOfFile,  // the file ended before its end-of-file record
    Failed,     // no boot loader, or five NAKs or time-outs for one record
};

class IntelHexUpload {
public:
    explicit IntelHexUpload(FirmwareUploadHost& host) : m_host(host) {}

    // `path` empty: the user cancelled the file choice.
    IntelHexUploadResult Run(const CString& path);
    const IntelHexUploadStats& Stats() const { return m_stats; }

    static constexpr int kMaxRecordRetries = 5;
    static constexpr int kMaxInvalidRepliesPerSend = 100;

private:
    // Polls for "Waiting for program..." for up to `giveUpMs`; the first wait that does not find it switches
    // to the boot loader's rate.
    bool AwaitBootLoader(ULONGLONG giveUpMs, bool firstWait);
    void QueueRecord(const CString& record);
    void EchoStatistics(ULONGLONG transferStartMs);

    FirmwareUploadHost& m_host;
    IntelHexUploadStats m_stats;
};
