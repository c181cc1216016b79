// Firmware files are whatever the user picks: the engine image's header words and CRC positions and the
// Intel-HEX lines are read from them. Each input runs both uploads against a receiver that answers every
// request, on a clock that moves on by itself.
#include "dialogs/FirmwareUploadHost.h"
#include "dialogs/IntelHexUpload.h"
#include "dialogs/UbxEngineUpload.h"
#include "receiver/CThBufferList.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

class AnsweringHost : public FirmwareUploadHost {
public:
    std::int64_t nowMs = 0;
    std::u16string hardware = std::u16string(u"00040007") + std::u16string(2, u'\0');

    void SendGpsCommand(const CString& command) override {
        if (command == _T("@@Wc")) {
            g_receiveList.AddTail(_T("Waiting for program..."));
        }
        if (command.GetLength() >= 6 && command[0] == 0xB5) {
            // Any UBX request gets an answer of its own class and id with a generous payload.
            std::u16string frame{u'\xB5', u'\x62', command[2], command[3], 40, 0};
            std::u16string payload(40, u'\x01');
            payload.replace(30, 10, hardware);
            g_receiveList.AddTail(CString(frame + payload + u"\x01\x02"));
        }
    }
    BOOL SendGpsCommandAndWait(const CString& command) override {
        SendGpsCommand(command);
        return TRUE;
    }
    BOOL SetCommBaudRate(DWORD) override { return TRUE; }
    CString DecodeUbxMessage(const CString&) override { return CString(); }
    void AddRawDataLine(const CString&) override {}
    int ShowMessageBox(const CString&, UINT) override { return 1; }
    void SetProgress(int) override {}
    void SetUbxUploadRunning(BOOL) override {}
    void SetUploadRunning(BOOL) override {}
    ULONGLONG MonotonicMs() override { return static_cast<ULONGLONG>(nowMs); }
    void SleepMs(DWORD ms) override { nowMs += ms; }
    void PollIdle() override {
        nowMs += 50;
        if (!g_transmitList.IsEmpty()) {
            g_transmitList.RemoveHead();
            g_receiveList.AddTail(CString(TCHAR(0x06)));
        }
    }
};

std::string TempPath() {
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("firmware-fuzz-" + std::to_string(getpid()))).string();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = TempPath();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    const CString file(path.c_str());
    {
        AnsweringHost host;
        UbxEngineUpload(host).Run(file);
    }
    {
        AnsweringHost host;
        IntelHexUpload(host).Run(file);
    }
    g_receiveList.RemoveAll();
    g_transmitList.RemoveAll();
    std::remove(path.c_str());
    return 0;
}
