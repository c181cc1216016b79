// The view's side of the dialogs that talk to the receiver: the manual command dialogs send through the
// view's send routines, and the firmware uploads reach the port, the decoders and the raw-data window.
#pragma once

#include "dialogs/DialogCommandSender.h"
#include "dialogs/FirmwareUploadHost.h"

class CPex32View;

class ViewCommandSender : public DialogCommandSender {
public:
    explicit ViewCommandSender(CPex32View& view) : m_view(view) {}
    void Send(const CString& command) override;
    BOOL SendAndWait(const CString& command) override;

private:
    CPex32View& m_view;
};

class ViewFirmwareUploadHost : public FirmwareUploadHost {
public:
    explicit ViewFirmwareUploadHost(CPex32View& view) : m_view(view) {}
    void SendGpsCommand(const CString& command) override;
    BOOL SendGpsCommandAndWait(const CString& command) override;
    BOOL SetCommBaudRate(DWORD rate) override;
    CString DecodeUbxMessage(const CString& frame) override;
    void AddRawDataLine(const CString& text) override;
    int ShowMessageBox(const CString& text, UINT type) override;
    void SetProgress(int) override {}
    void SetUbxUploadRunning(BOOL running) override;
    void SetUploadRunning(BOOL running) override;

private:
    CPex32View& m_view;
};
