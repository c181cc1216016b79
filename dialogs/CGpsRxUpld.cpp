#include "dialogs/CGpsRxUpld.h"

#include "dialogs/IntelHexUpload.h"
#include "dialogs/UbxEngineUpload.h"
#include "platform/controls/CommonControls.h"
#include "platform/framework/CFileDialog.h"

BEGIN_MESSAGE_MAP(CGpsRxUpld, CPersistentDialog)
ON_BN_CLICKED(CGpsRxUpld::kProcessorUploadId, OnProcessorUpload)
ON_BN_CLICKED(CGpsRxUpld::kEngineUploadId, OnEngineUpload)
END_MESSAGE_MAP()

CGpsRxUpld::CGpsRxUpld(FirmwareUploadHost& host, CWnd* pParent)
    : CPersistentDialog(IDD, pParent), m_host(host) {}

BOOL CGpsRxUpld::OnInitDialog() {
    CPersistentDialog::OnInitDialog();
    SendDlgItemMessageW(kProgressId, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SetProgress(0);
    return TRUE;
}

void CGpsRxUpld::SetProgress(int percent) {
    if (GetSafeHwnd()) {
        SendDlgItemMessageW(kProgressId, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    }
}

CString CGpsRxUpld::ChooseFile(bool engineImage) {
    const DWORD flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER;
    CFileDialog dialog(TRUE, u"hex", nullptr, flags,
                       engineImage
                           ? u"GPS UBX Module Firmware Upload Files (*.bin)|*.bin|All Files (*.*)|*.*||"
                           : u"GPS uP Firmware Upload Files (*.hex)|*.hex|All Files (*.*)|*.*||",
                       this);
    dialog.m_ofn.lpstrTitle = engineImage ? u"GPS UBX Module Firmware Upload File (*.BIN)"
                                          : u"GPS Rx uP Firmware Upload File (*.HEX)";
    return dialog.DoModal() == IDOK ? dialog.GetPathName() : CString();
}

void CGpsRxUpld::EnableButtons(BOOL enable) {
    const UINT ids[] = {kProcessorUploadId, kEngineUploadId, IDCANCEL};
    for (UINT id : ids) {
        if (CWnd* button = GetDlgItem(static_cast<int>(id))) {
            button->EnableWindow(enable);
        }
    }
}

template <class Upload>
void CGpsRxUpld::RunUpload(bool engineImage) {
    const CString path = ChooseFile(engineImage);
    EnableButtons(FALSE);
    ProgressHost host(m_host, *this);
    Upload upload(host);
    host.SetUploadRunning(TRUE);
    upload.Run(path);
    host.SetUploadRunning(FALSE);
    EnableButtons(TRUE);
    EndDialog(IDOK);
}

void CGpsRxUpld::OnProcessorUpload() {
    RunUpload<IntelHexUpload>(false);
}

void CGpsRxUpld::OnEngineUpload() {
    RunUpload<UbxEngineUpload>(true);
}
