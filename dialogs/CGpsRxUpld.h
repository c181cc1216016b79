// "Send new firmware to the GPS Rx": the two firmware uploads, the receiver processor's Intel-HEX file to
// its boot loader or the GPS engine's image procedure, with a progress bar. Each upload ends the dialog with
// IDOK, after which the view sets the port up again and initialises the receiver.
#pragma once

#include "appframe/CPersistentDialog.h"
#include "dialogs/FirmwareUploadHost.h"
#include "resources/Resource.h"

class CGpsRxUpld : public CPersistentDialog {
public:
    enum { IDD = IDD_FIRMWARE_UPLOAD };
    enum : UINT {
        kEngineUploadId = 3,
        kProgressId = 1269,
        kProcessorUploadId = 1272,
    };

    // `host` is the view's side of the uploads; it outlives the dialog.
    explicit CGpsRxUpld(FirmwareUploadHost& host, CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    // The bar's position, 0 to 100.
    void SetProgress(int percent);

    void OnProcessorUpload();
    void OnEngineUpload();

protected:
    // The file to upload, empty when the user cancelled the choice.
    virtual CString ChooseFile(bool engineImage);

private:
    // The view's host with the progress going to this dialog's bar as well.
    class ProgressHost : public FirmwareUploadHost {
    public:
        ProgressHost(FirmwareUploadHost& host, CGpsRxUpld& dialog) : m_host(host), m_dialog(dialog) {}
        void SendGpsCommand(const CString& command) override { m_host.SendGpsCommand(command); }
        BOOL SendGpsCommandAndWait(const CString& command) override {
            return m_host.SendGpsCommandAndWait(command);
        }
        BOOL SetCommBaudRate(DWORD rate) override { return m_host.SetCommBaudRate(rate); }
        CString DecodeUbxMessage(const CString& frame) override { return m_host.DecodeUbxMessage(frame); }
        void AddRawDataLine(const CString& text) override { m_host.AddRawDataLine(text); }
        int ShowMessageBox(const CString& text, UINT type) override {
            return m_host.ShowMessageBox(text, type);
        }
        void SetProgress(int percent) override {
            m_dialog.SetProgress(percent);
            m_host.SetProgress(percent);
        }
        void SetUbxUploadRunning(BOOL running) override { m_host.SetUbxUploadRunning(running); }
        void SetUploadRunning(BOOL running) override { m_host.SetUploadRunning(running); }
        ULONGLONG MonotonicMs() override { return m_host.MonotonicMs(); }
        void SleepMs(DWORD milliseconds) override { m_host.SleepMs(milliseconds); }
        void PollIdle() override { m_host.PollIdle(); }

    private:
        FirmwareUploadHost& m_host;
        CGpsRxUpld& m_dialog;
    };

    void EnableButtons(BOOL enable);
    // One upload from the file the user chooses, with the buttons disabled; the dialog then ends with OK.
    template <class Upload>
    void RunUpload(bool engineImage);

    FirmwareUploadHost& m_host;

    DECLARE_MESSAGE_MAP()
};
