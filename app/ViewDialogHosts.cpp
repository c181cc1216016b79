#include "app/ViewDialogHosts.h"

#include "app/CPex32View.h"
#include "platform/framework/CWinApp.h"

void ViewCommandSender::Send(const CString& command) {
    m_view.SendGpsCommand(command);
}

BOOL ViewCommandSender::SendAndWait(const CString& command) {
    return m_view.SendGpsCommandAndWait(command);
}

void ViewFirmwareUploadHost::SendGpsCommand(const CString& command) {
    m_view.SendGpsCommand(command);
}

BOOL ViewFirmwareUploadHost::SendGpsCommandAndWait(const CString& command) {
    return m_view.SendGpsCommandAndWait(command);
}

BOOL ViewFirmwareUploadHost::SetCommBaudRate(DWORD rate) {
    return m_view.SetPortBaudRate(rate);
}

CString ViewFirmwareUploadHost::DecodeUbxMessage(const CString& frame) {
    return m_view.DecodeUbxMessage(frame);
}

void ViewFirmwareUploadHost::AddRawDataLine(const CString& text) {
    m_view.AddRawDataLine(text);
}

int ViewFirmwareUploadHost::ShowMessageBox(const CString& text, UINT type) {
    return AfxMessageBox(text, type);
}

void ViewFirmwareUploadHost::SetUbxUploadRunning(BOOL running) {
    m_view.SetUbxUploadRunning(running);
}

void ViewFirmwareUploadHost::SetUploadRunning(BOOL running) {
    m_view.SetFirmwareUploadRunning(running);
}
