#include "dialogs/COncoreIdDialog.h"

#include "platform/framework/CWinApp.h"
#include "receiver/AppProfileAccess.h"

namespace {

constexpr char16_t kSection[] = u"Oncore Id Dialog";
constexpr char16_t kIndexKey[] = u"Rx Type Index";

struct Choice {
    int model;
    float version;
    LPCTSTR versionText;
    int channels;
    BOOL traim;
};

constexpr Choice kChoices[COncoreIdDialog::kChoiceCount] = {
    {10, 6.0f, u"6.0", 6, FALSE},   {10, 7.5f, u"7.5", 6, FALSE}, {10, 8.7f, u"8.7", 8, TRUE},
    {10, 10.0f, u"10.0", 8, FALSE}, {8, 1.3f, u"1.3", 8, FALSE},  {8, 1.8f, u"1.8", 8, FALSE},
    {9, 2.3f, u"2.3", 8, TRUE},     {1, 1.3f, u"1.3", 8, FALSE},  {1, 1.8f, u"1.8", 8, FALSE},
    {2, 2.3f, u"2.3", 8, FALSE},    {3, 1.0f, u"1.0", 12, FALSE},
};
constexpr Choice kNoChoice = {9, 2.0f, u"2.0", 8, FALSE};

} // namespace

COncoreIdDialog::COncoreIdDialog(CWnd* pParent) : CPersistentDialog(IDD, pParent) {
    m_choiceIndex = AppGetProfileInt(kSection, kIndexKey, -1);
    BuildIdentity();
}

void COncoreIdDialog::DoDataExchange(CDataExchange* pDX) {
    CPersistentDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, static_cast<int>(kChoiceIds[0]), m_choiceIndex);
}

ReceiverIdentity COncoreIdDialog::IdentityForChoice(int index) {
    const Choice& c = index >= 0 && index < kChoiceCount ? kChoices[index] : kNoChoice;
    ReceiverIdentity identity;
    identity.model = c.model;
    identity.firmwareVersion = c.version;
    identity.versionText = c.versionText;
    identity.activeChannels = c.channels;
    identity.nativeChannels = c.channels;
    identity.hasDgps = FALSE;
    identity.hasTraim = c.traim;
    return identity;
}

BOOL COncoreIdDialog::GetIdentity(ReceiverIdentity& identity) const {
    identity = m_identity;
    return m_identity.firmwareVersion > 0.0f;
}

BOOL COncoreIdDialog::ConfirmChoice() {
    if (GetSafeHwnd() && !UpdateData(TRUE)) {
        return FALSE;
    }
    BuildIdentity();
    // No choice yields a version of 0; the check stays for a table that one day might.
    if (m_identity.firmwareVersion <= 0.0f) {
        AfxMessageBox(u"Please select a valid entry.", MB_ICONEXCLAMATION);
        return FALSE;
    }
    AppWriteProfileInt(kSection, kIndexKey,
                       m_choiceIndex >= 0 && m_choiceIndex < kChoiceCount ? m_choiceIndex : -1);
    return TRUE;
}

void COncoreIdDialog::OnOK() {
    if (ConfirmChoice()) {
        CPersistentDialog::OnOK();
    }
}
