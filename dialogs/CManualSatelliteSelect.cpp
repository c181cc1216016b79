#include "dialogs/CManualSatelliteSelect.h"

#include "dialogs/CGpsRxModeSelect.h"
#include "dialogs/DialogCommandSender.h"
#include "platform/base/WideRuntime.h"
#include "platform/framework/CWinApp.h"
#include "receiver/AppProfileAccess.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CManualSatelliteSelect, CPersistentDialog)
ON_BN_CLICKED(CManualSatelliteSelect::kClearAllId, OnClearAll)
END_MESSAGE_MAP()

namespace {

constexpr char16_t kSection[] = u"Manual Satellite Select";
constexpr char16_t kDataKey[] = u"Data";

CString Command(LPCTSTR id, TCHAR first, TCHAR second) {
    CString command(id);
    command += first;
    command += second;
    return command;
}

} // namespace

CManualSatelliteSelect::CManualSatelliteSelect(DialogCommandSender* sender,
                                               const CGpsRxModeSelect* rxSettings, CWnd* pParent)
    : CPersistentDialog(IDD, pParent), m_sender(sender), m_rxSettings(rxSettings) {}

BOOL CManualSatelliteSelect::OnInitDialog() {
    CPersistentDialog::OnInitDialog();
    LoadSettings();
    UpdateData(FALSE);
    return TRUE;
}

void CManualSatelliteSelect::DoDataExchange(CDataExchange* pDX) {
    CPersistentDialog::DoDataExchange(pDX);
    for (int c = 0; c < kChannels; ++c) {
        DDX_Check(pDX, static_cast<int>(kFirstDisableId) + c, m_disable[c]);
        DDX_Text(pDX, static_cast<int>(kIdEditIds[c]), m_satelliteId[c]);
        DDV_MinMaxByte(pDX, m_satelliteId[c], 0, kMaxSatelliteId);
    }
}

void CManualSatelliteSelect::LoadSettings() {
    const CString text = AppGetProfileString(kSection, kDataKey, u"");
    int v[2 * kChannels] = {};
    const int read =
        swscanf(text, u"%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6],
                &v[7], &v[8], &v[9], &v[10], &v[11], &v[12], &v[13], &v[14], &v[15]);
    bool valid = read == 2 * kChannels;
    for (int c = 0; valid && c < kChannels; ++c) {
        valid = (v[2 * c] == 0 || v[2 * c] == 1) && v[2 * c + 1] >= 0 && v[2 * c + 1] <= 255;
    }
    if (!valid) {
        std::fill(std::begin(m_disable), std::end(m_disable), 0);
        std::fill(std::begin(m_satelliteId), std::end(m_satelliteId), BYTE{0});
        return;
    }
    for (int c = 0; c < kChannels; ++c) {
        m_disable[c] = v[2 * c];
        m_satelliteId[c] = static_cast<BYTE>(v[2 * c + 1]);
    }
}

void CManualSatelliteSelect::OnClearAll() {
    std::fill(std::begin(m_disable), std::end(m_disable), 0);
    std::fill(std::begin(m_satelliteId), std::end(m_satelliteId), BYTE{0});
    if (GetSafeHwnd()) {
        UpdateData(FALSE);
    }
}

BOOL CManualSatelliteSelect::ConfirmSelection() {
    // Nothing reaches the receiver or the profile unless every value passed its check.
    if (GetSafeHwnd()) {
        if (!UpdateData(TRUE)) {
            return FALSE;
        }
    } else {
        for (BYTE id : m_satelliteId) {
            if (id > kMaxSatelliteId) {
                CString text;
                text.Format(u"Please enter an integer between 0 and %u.", kMaxSatelliteId);
                ShowMessage(text);
                return FALSE;
            }
        }
    }
    const bool highestInSky = m_rxSettings && m_rxSettings->m_satelliteSelection == 1;
    if (m_sender) {
        CString mode(u"@@Ah");
        mode += static_cast<TCHAR>(highestInSky ? 2 : 0);
        m_sender->SendAndWait(mode);
        bool manualSent = false;
        for (int c = 0; c < kChannels; ++c) {
            if (!m_disable[c] && m_satelliteId[c] == 0) {
                continue;
            }
            if (!manualSent) {
                CString manual(u"@@Ah");
                manual += static_cast<TCHAR>(1);
                m_sender->Send(manual);
                manualSent = true;
            }
            m_sender->Send(Command(u"@@Ai", static_cast<TCHAR>(c + 1),
                                   static_cast<TCHAR>(m_disable[c] ? 0 : m_satelliteId[c])));
        }
    }
    SaveSettings();
    return TRUE;
}

void CManualSatelliteSelect::SaveSettings() const {
    CString text;
    for (int c = 0; c < kChannels; ++c) {
        text.AppendFormat(c == 0 ? u"%d %d" : u" %d %d", m_disable[c], static_cast<int>(m_satelliteId[c]));
    }
    AppWriteProfileString(kSection, kDataKey, text);
}

void CManualSatelliteSelect::OnOK() {
    if (ConfirmSelection()) {
        CPersistentDialog::OnOK();
    }
}

void CManualSatelliteSelect::ShowMessage(const CString& text) {
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}
