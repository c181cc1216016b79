#include "dialogs/IntelHexUpload.h"

#include "dialogs/FirmwareUploadHost.h"
#include "platform/base/CStdioFile.h"
#include "platform/base/Exceptions.h"
#include "platform/base/MessageBoxConstants.h"
#include "receiver/CThBufferList.h"
#include "receiver/CrossProcessSemaphore.h"

#include <algorithm>

namespace {

constexpr TCHAR kAck = 0x06;
constexpr TCHAR kNak = 0x15;
constexpr TCHAR kXon = 0x11;
constexpr TCHAR kXoff = 0x13;
constexpr DWORD kBootLoaderRate = 57600;

} // namespace

bool IntelHexUpload::AwaitBootLoader(ULONGLONG giveUpMs, bool firstWait) {
    const ULONGLONG start = m_host.MonotonicMs();
    bool found = false;
    for (;;) {
        bool readSomething = false;
        if (!g_receiveList.IsEmpty()) {
            readSomething = true;
            const CString line = g_receiveList.RemoveHead();
            m_host.AddRawDataLine(line);
            if (line.Find(_T("Waiting for program...")) >= 0) {
                m_host.SendGpsCommand(_T("\r\n"));
                found = true;
            }
        }
        // A boot loader found in the wait's last round counts as found.
        if (found) {
            return true;
        }
        if (m_host.MonotonicMs() - start >= giveUpMs) {
            if (firstWait) {
                m_host.SetCommBaudRate(kBootLoaderRate);
            }
            return false;
        }
        if (!readSomething) {
            m_host.PollIdle();
        }
    }
}

void IntelHexUpload::QueueRecord(const CString& record) {
    m_stats.characterCount += record.GetLength();
    m_host.AddRawDataLine(record);
    while (!g_transmitList.IsEmpty()) {
        m_host.PollIdle();
    }
    g_transmitList.AddTail(record);
    ReleaseCrossProcessSemaphore(g_transmitReady, 1, nullptr);
}

IntelHexUploadResult IntelHexUpload::Run(const CString& path) {
    m_stats = {};
    if (path.IsEmpty()) {
        return IntelHexUploadResult::NotStarted;
    }
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeText | CFile::shareDenyNone)) {
        return IntelHexUploadResult::NotStarted;
    }
    m_stats.fileLength = static_cast<std::int64_t>(file.GetLength());
    m_host.SetProgress(0);

    m_host.SendGpsCommand(_T("@@Wc"));
    m_host.SleepMs(500);
    bool found = AwaitBootLoader(3000, true);
    m_host.SleepMs(100);
    ULONGLONG transferStartMs = m_host.MonotonicMs();

    IntelHexUploadResult result = IntelHexUploadResult::Failed;
    bool failed = false;
    if (!found) {
        found = AwaitBootLoader(43000, false);
        if (!found) {
            m_host.SetCommBaudRate(9600);
            m_host.SleepMs(300);
            failed = true;
        }
    }

    if (!failed) {
        transferStartMs = m_host.MonotonicMs();
        result = IntelHexUploadResult::EndOfFile;
        CString line;
        bool done = false;
        while (!done) {
            BOOL gotLine = FALSE;
            try {
                gotLine = file.ReadString(line);
            } catch (CException* e) {
                e->Delete();
                gotLine = FALSE;
            }
            if (!gotLine) {
                m_host.ShowMessageBox(_T("End of File: Firmware upload failed.\n"), MB_ICONINFORMATION);
                break;
            }
            m_stats.bytesRead = std::min(m_stats.bytesRead + line.GetLength(), m_stats.fileLength);
            if (m_stats.fileLength > 0) {
                m_host.SetProgress(static_cast<int>(m_stats.bytesRead * 100 / m_stats.fileLength));
            }
            ++m_stats.recordCount;
            int retries = 0;
            if (line.IsEmpty() || line[0] != _T(':')) {
                continue;
            }
            for (bool resend = true; resend && !done;) {
                resend = false;
                QueueRecord(line);
                const ULONGLONG sent = m_host.MonotonicMs();
                if (line.Left(11) == _T(":00000001FF")) {
                    result = IntelHexUploadResult::Completed;
                    done = true;
                    break;
                }
                int invalidThisSend = 0;
                for (;;) {
                    if (!g_receiveList.IsEmpty()) {
                        const CString reply = g_receiveList.RemoveHead();
                        const TCHAR first = reply.IsEmpty() ? TCHAR(0) : reply[0];
                        if (first == kAck) {
                            break;
                        }
                        if (first == kXon || first == kXoff) {
                            continue;
                        }
                        if (first == kNak) {
                            ++m_stats.nakErrors;
                            ++retries;
                            CString echo;
                            echo.Format(_T("  NAK Response: Resend Record (%d) Retry Count = %d\n"),
                                        m_stats.recordCount, retries);
                            m_host.AddRawDataLine(echo);
                            if (retries >= kMaxRecordRetries) {
                                m_host.ShowMessageBox(_T("NAK retries exceeded: Firmware upload failed.\n"),
                                                      MB_ICONINFORMATION);
                                failed = done = true;
                                break;
                            }
                            ++m_stats.sendRecordRetries;
                            resend = true;
                            break;
                        }
                        ++m_stats.invalidResponses;
                        if (++invalidThisSend >= kMaxInvalidRepliesPerSend) {
                            ++m_stats.sendRecordRetries;
                            resend = true;
                            break;
                        }
                        continue;
                    }
                    if (m_host.MonotonicMs() - sent >= 5000) {
                        ++m_stats.responseTimeouts;
                        ++retries;
                        CString echo;
                        echo.Format(_T("  No Response: Resend Record (%d) Retry Count = %d\n"),
                                    m_stats.recordCount, retries);
                        m_host.AddRawDataLine(echo);
                        if (retries >= kMaxRecordRetries) {
                            m_host.ShowMessageBox(
                                _T("No Response: retries exceeded: Firmware upload failed.\n"),
                                MB_ICONINFORMATION);
                            failed = done = true;
                            break;
                        }
                        ++m_stats.sendRecordRetries;
                        resend = true;
                        break;
                    }
                    m_host.PollIdle();
                }
            }
        }
        if (failed) {
            result = IntelHexUploadResult::Failed;
        }
    }

    file.Close();
    if (failed) {
        m_host.AddRawDataLine(_T("Firmware Upload FAILED"));
    }
    EchoStatistics(transferStartMs);
    if (result == IntelHexUploadResult::Completed) {
        m_host.ShowMessageBox(_T("Firmware upload \ncompleted successfully.\n"), MB_ICONEXCLAMATION);
    }
    m_host.SleepMs(100);
    return result;
}

void IntelHexUpload::EchoStatistics(ULONGLONG transferStartMs) {
    const auto elapsed = static_cast<int>(m_host.MonotonicMs() - transferStartMs);
    CString text;
    m_host.AddRawDataLine(_T("\nStatistics:\n"));
    text.Format(_T("    Record Count              = %d\n"), m_stats.recordCount);
    m_host.AddRawDataLine(text);
    text.Format(_T("    Character Count          = %d\n"), m_stats.characterCount);
    m_host.AddRawDataLine(text);
    text.Format(_T("    Transfer Time:            = %d:%d:%d (min:sec:ms)   (%d milliseconds)\n"),
                elapsed / 60000, (elapsed / 1000) % 60, elapsed % 1000, elapsed);
    m_host.AddRawDataLine(text);
    text.Format(_T("    Response time out Errors  = %d\n"), m_stats.responseTimeouts);
    m_host.AddRawDataLine(text);
    text.Format(_T("    Invalid Response Errors   = %d\n"), m_stats.invalidResponses);
    m_host.AddRawDataLine(text);
    text.Format(_T("    Send Record Retry Count   = %d\n"), m_stats.sendRecordRetries);
    m_host.AddRawDataLine(text);
    text.Format(_T("    NAK Errors                = %d\n"), m_stats.nakErrors);
    m_host.AddRawDataLine(text);
}
