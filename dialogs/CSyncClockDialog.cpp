#include "dialogs/CSyncClockDialog.h"

#include "receiver/AppProfileAccess.h"

#include <limits>

namespace {

constexpr char16_t kSection[] = u"Time Sync";

} // namespace

CSyncClockDialog::CSyncClockDialog() {
    LoadSettings();
    UpdateMaxSeconds();
}

void CSyncClockDialog::LoadSettings() {
    m_syncMode = AppGetProfileInt(kSection, u"Time Sync Mode", 0);
    m_deltaMs = AppGetProfileInt(kSection, u"Time Sync Delta Msec", 100);
    m_overrideIntegrity = AppGetProfileInt(kSection, u"Time Sync Override Integrity", 0);
    m_overrideTraim = AppGetProfileInt(kSection, u"Time Sync Override TRAIM", 0);
    m_deltaOn = AppGetProfileInt(kSection, u"Time Sync Delta", 0);
    m_maxOn = AppGetProfileInt(kSection, u"Time Sync Max On", 0);
    m_maxQty = static_cast<UINT>(AppGetProfileInt(kSection, u"Time Sync Max Qty", 1));
    m_maxUnits = AppGetProfileInt(kSection, u"Time Sync Max Units", 0);
}

void CSyncClockDialog::UpdateMaxSeconds() {
    switch (m_maxUnits) {
    case kHours:
        m_maxSeconds = static_cast<int>(m_maxQty * 3600);
        break;
    case kMinutes:
        m_maxSeconds = static_cast<int>(m_maxQty * 60);
        break;
    case kSeconds:
        m_maxSeconds = static_cast<int>(m_maxQty);
        break;
    default:
        m_maxSeconds = 0;
        break;
    }
}

void CSyncClockDialog::NoteClockSet(const CString& text) {
    m_lastSyncText = text;
    if (m_resetCount == std::numeric_limits<UINT>::max()) {
        m_resetCountText.Format(u"> %u", m_resetCount);
    } else {
        ++m_resetCount;
        m_resetCountText.Format(u"%u", m_resetCount);
    }
}

UINT CSyncClockDialog::FindInvalidControl() const {
    if (m_deltaMs < 10 || m_deltaMs > 60000) {
        return kDeltaMsId;
    }
    if (m_maxQty < 1 || m_maxQty > 999) {
        return kMaxQtyId;
    }
    return 0;
}

BOOL CSyncClockDialog::OnOK() {
    if (FindInvalidControl() != 0) {
        return FALSE;
    }
    if (AppGetProfileInt(kSection, u"Time Sync Mode", 0) != m_syncMode ||
        AppGetProfileInt(kSection, u"Time Sync Delta", 0) != m_deltaOn ||
        AppGetProfileInt(kSection, u"Time Sync Delta Msec", 100) != m_deltaMs) {
        m_resetCount = 0;
        m_resetCountText = u"0";
        AppWriteProfileInt(kSection, u"Time Sync Mode", m_syncMode);
        AppWriteProfileInt(kSection, u"Time Sync Delta", m_deltaOn);
        AppWriteProfileInt(kSection, u"Time Sync Delta Msec", m_deltaMs);
    }
    AppWriteProfileInt(kSection, u"Time Sync Override TRAIM", m_overrideTraim);
    AppWriteProfileInt(kSection, u"Time Sync Override Integrity", m_overrideIntegrity);
    AppWriteProfileInt(kSection, u"Time Sync Max On", m_maxOn);
    AppWriteProfileInt(kSection, u"Time Sync Max Qty", static_cast<int>(m_maxQty));
    AppWriteProfileInt(kSection, u"Time Sync Max Units", m_maxUnits);
    UpdateMaxSeconds();
    return TRUE;
}
