#include "dialogs/CPortDialog.h"

#include "receiver/AppProfileAccess.h"
#include "platform/base/CodePage.h"
#include "platform/serial/CommApi.h"
#include "receiver/ReceiverState.h"

#include <cstdio>

namespace {

constexpr char16_t kSection[] = u"GPS Interface";
constexpr char16_t kNetworkPort[] = u"TCP/IP";

constexpr DWORD kRates[CPortDialog::kRateCount] = {300,   1200,  2400,  4800,  9600,
                                                   14400, 19200, 38400, 57600, 115200};

// The rate indexes 4800, 9600, 19200, 38400 and 57600.
constexpr bool kCommonRates[CPortDialog::kRateCount] = {false, false, false, true, true,
                                                        false, true,  true,  true, false};

enum class RateSet { None, Common, All };

struct ModeInfo {
    LPCTSTR name;
    int code;
    int rateIndex; // checked when the mode is chosen
    RateSet rates;
    bool listed;
};

constexpr ModeInfo kModes[] = {
    {u"Search", kModeSearch, 3, RateSet::None, true},
    {u"Motorola Binary", kModeMotorolaBinary, 4, RateSet::Common, true},
    {u"Motorola Binary Rx Only", kModeMotorolaRxOnly, 4, RateSet::All, true},
    {u"Motorola NMEA", kModeMotorolaNmea, 3, RateSet::All, true},
    {u"u-blox UBX", kModeUbloxUbx, 8, RateSet::Common, true},
    {u"u-blox NMEA", kModeUbloxNmea, 8, RateSet::Common, true},
    {u"Generic NMEA", kModeGenericNmea, 3, RateSet::All, true},
    {u"Motorola LORAN", kModeMotorolaLoran, -1, RateSet::None, false},
};

const ModeInfo* FindMode(const CString& name) {
    for (const ModeInfo& mode : kModes) {
        if (name == mode.name) {
            return &mode;
        }
    }
    return nullptr;
}

CString JoinList(const std::vector<CString>& entries) {
    CString joined;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) {
            joined += u',';
        }
        joined += entries[i];
    }
    return joined;
}

} // namespace

CPortDialog::CPortDialog() {
    m_portName = AppGetProfileString(kSection, u"Port", u"COM1");
    m_ppsIndex = AppGetProfileInt(kSection, u"1PPS Interface", 1);
    m_rateIndex = AppGetProfileInt(kSection, u"Port Rate", 4);
    m_modeText = AppGetProfileString(kSection, u"PEX Mode", u"Search");
    m_noGpsInit = AppGetProfileInt(kSection, u"NoGpsInit", 0);
    m_autoRestart = AppGetProfileInt(kSection, u"gps_auto_restart", 0);
    m_networkAddress = AppGetProfileString(kSection, u"PEX TCP/IP Address", u"");
    PrepareLists();
}

CPortDialog::~CPortDialog() {
    SaveSettings();
}

void CPortDialog::SaveSettings() const {
    AppWriteProfileString(kSection, u"Port", m_portName);
    AppWriteProfileInt(kSection, u"1PPS Interface", m_ppsIndex);
    AppWriteProfileInt(kSection, u"Port Rate", m_rateIndex);
    AppWriteProfileString(kSection, u"PEX Mode", m_modeText);
    AppWriteProfileInt(kSection, u"NoGpsInit", m_noGpsInit);
    AppWriteProfileInt(kSection, u"gps_auto_restart", m_autoRestart);
    AppWriteProfileString(kSection, u"PEX TCP/IP Address", m_networkAddress);
}

BOOL CPortDialog::GetReceiverIdentity(ReceiverIdentity& identity) const {
    identity = m_receiverIdentity;
    return m_receiverIdentity.firmwareVersion > 0.0f;
}

void CPortDialog::SetInterfaceMode(int code) {
    const CString name = InterfaceModeName(code);
    if (name.IsEmpty()) {
        return;
    }
    m_modeText = name;
    AppWriteProfileString(kSection, u"PEX Mode", m_modeText);
}

CString CPortDialog::ProbeComPorts() {
    std::vector<CString> found;
    for (int n = 1; n <= kMaxProbedPort; ++n) {
        CString name;
        name.Format(u"COM%i", n);
        COMMCONFIG config{};
        DWORD size = sizeof(config);
        if (GetDefaultCommConfigW(name, &config, &size)) {
            found.push_back(name);
        }
    }
    return JoinList(found);
}

void CPortDialog::PrepareLists() {
    const CString stored = AppGetProfileString(kSection, u"COM Ports", u"");
    m_portList = CutAfterLastDigit(stored);
    if (m_portList.IsEmpty()) {
        m_portList = ProbeComPorts();
    }
    if (m_portList != stored) {
        AppWriteProfileString(kSection, u"COM Ports", m_portList);
    }
    if (m_portName.IsEmpty() || !ListContains(m_portList, m_portName)) {
        const std::vector<CString> ports = SplitList(m_portList);
        m_portName = ports.empty() ? CString() : ports.front();
        AppWriteProfileString(kSection, u"Port", m_portName);
    }
    m_modeList = ModeList();
    // Mode names are matched as the list text holds them: a stored "Motorola LORAN" becomes "Search".
    if (m_modeText.IsEmpty() || m_modeList.Find(m_modeText) < 0) {
        m_modeText = u"Search";
        AppWriteProfileString(kSection, u"PEX Mode", m_modeText);
    }
}

std::vector<CString> CPortDialog::PortChoices() const {
    std::vector<CString> choices;
    if (!ListContains(m_portList, kNetworkPort)) {
        choices.emplace_back(kNetworkPort);
    }
    for (const CString& port : SplitList(m_portList)) {
        choices.push_back(port);
    }
    return choices;
}

void CPortDialog::OnProbePorts() {
    const CString probed = ProbeComPorts();
    if (probed != m_portList) {
        m_portList = probed;
        AppWriteProfileString(kSection, u"COM Ports", m_portList);
    }
}

void CPortDialog::OnModeChanged(const CString& modeText) {
    m_modeText = modeText;
    m_autoRestart = FALSE;
    const int rateIndex = ModeRateIndex(modeText);
    if (rateIndex >= 0) {
        m_rateIndex = rateIndex;
    }
}

void CPortDialog::OnInitDialog() {
    PrepareLists();
    // "Search" enables no rate, so its 4800 is chosen afresh at every opening.
    if (!IsRateEnabled(m_modeText, m_rateIndex)) {
        OnModeChanged(m_modeText);
    }
}

void CPortDialog::OnOK() {
    if (!IsValidNetworkAddress(m_networkAddress)) {
        m_networkAddress.Empty();
    }
    SaveSettings();
    AppWriteProfileString(kSection, u"COM Ports", JoinList(PortChoices()));
}

DWORD CPortDialog::RateForIndex(int rateIndex) {
    return rateIndex >= 0 && rateIndex < kRateCount ? kRates[rateIndex] : 4800;
}

int CPortDialog::InterfaceModeFromName(const CString& modeText) {
    const ModeInfo* mode = FindMode(modeText);
    return mode ? mode->code : kModeSearch;
}

CString CPortDialog::InterfaceModeName(int code) {
    for (const ModeInfo& mode : kModes) {
        if (mode.code == code) {
            return mode.name;
        }
    }
    return CString();
}

int CPortDialog::ModeRateIndex(const CString& modeText) {
    const ModeInfo* mode = FindMode(modeText);
    return mode && mode->listed ? mode->rateIndex : -1;
}

bool CPortDialog::IsRateEnabled(const CString& modeText, int rateIndex) {
    const ModeInfo* mode = FindMode(modeText);
    if (!mode || !mode->listed || rateIndex < 0 || rateIndex >= kRateCount) {
        return false;
    }
    switch (mode->rates) {
    case RateSet::All:
        return true;
    case RateSet::Common:
        return kCommonRates[rateIndex];
    case RateSet::None:
        break;
    }
    return false;
}

CString CPortDialog::ModeList() {
    std::vector<CString> names;
    for (const ModeInfo& mode : kModes) {
        if (mode.listed) {
            names.emplace_back(mode.name);
        }
    }
    return JoinList(names);
}

std::vector<CString> CPortDialog::SplitList(const CString& list) {
    std::vector<CString> entries;
    int start = 0;
    while (start < list.GetLength()) {
        int comma = list.Find(u',', start);
        if (comma < 0) {
            comma = list.GetLength();
        }
        if (comma > start) {
            entries.push_back(list.Mid(start, comma - start));
        }
        start = comma + 1;
    }
    return entries;
}

bool CPortDialog::ListContains(const CString& list, const CString& entry) {
    for (const CString& item : SplitList(list)) {
        if (item == entry) {
            return true;
        }
    }
    return false;
}

CString CPortDialog::CutAfterLastDigit(const CString& list) {
    for (int i = list.GetLength() - 1; i >= 0; --i) {
        if (list[i] >= u'0' && list[i] <= u'9') {
            return list.Left(i + 1);
        }
    }
    return CString();
}

BOOL CPortDialog::IsValidNetworkAddress(const CString& address) {
    const std::string narrow = Utf16ToCp1252(address.str());
    int a = 0, b = 0, c = 0, d = 0, port = 0;
    char separator = 0;
    const int fields = std::sscanf(narrow.c_str(), "%d.%d.%d.%d%c%d", &a, &b, &c, &d, &separator, &port);
    if (fields == 6) {
        return separator == ':';
    }
    return std::sscanf(narrow.c_str(), "%d.%d.%d.%d", &a, &b, &c, &d) == 4;
}
