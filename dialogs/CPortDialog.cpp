#include "dialogs/CPortDialog.h"

#include "dialogs/COncoreIdDialog.h"
#include "platform/base/CodePage.h"
#include "platform/framework/AfxControls.h"
#include "platform/framework/CWinApp.h"
#include "platform/serial/CommApi.h"
#include "receiver/AppProfileAccess.h"
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

BEGIN_MESSAGE_MAP(CPortDialog, CPersistentDialog)
ON_CBN_SELCHANGE(CPortDialog::kModeListId, OnModeSelChange)
ON_BN_CLICKED(CPortDialog::kProbeId, OnProbeClicked)
ON_EN_KILLFOCUS(CPortDialog::kAddressId, OnAddressKillFocus)
END_MESSAGE_MAP()

CPortDialog::CPortDialog(CWnd* pParent) : CPersistentDialog(IDD, pParent) {
    m_portName = AppGetProfileString(kSection, u"Port", u"COM1");
    m_ppsIndex = AppGetProfileInt(kSection, u"1PPS Interface", 1);
    m_rateIndex = AppGetProfileInt(kSection, u"Port Rate", 4);
    m_modeText = AppGetProfileString(kSection, u"PEX Mode", u"Search");
    m_noGpsInit = AppGetProfileInt(kSection, u"NoGpsInit", 0);
    m_autoRestart = AppGetProfileInt(kSection, u"gps_auto_restart", 0);
    m_networkAddress = AppGetProfileString(kSection, u"PEX TCP/IP Address", u"");
    {
        const COncoreIdDialog receiverType;
        receiverType.GetIdentity(m_receiverIdentity);
    }
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

BOOL CPortDialog::OnInitDialog() {
    PrepareLists();
    if (!GetSafeHwnd()) {
        // "Search" enables no rate, so its 4800 is chosen afresh at every opening.
        if (!IsRateEnabled(m_modeText, m_rateIndex)) {
            OnModeChanged(m_modeText);
        }
        return TRUE;
    }
    CPersistentDialog::OnInitDialog();
    SendDlgItemMessageW(kAddressId, EM_LIMITTEXT, 32, 0);
    FillPortList();
    m_modeCombo.ResetContent();
    for (const CString& mode : SplitList(m_modeList)) {
        m_modeCombo.AddString(mode);
    }
    m_modeCombo.SetCurSel(m_modeCombo.FindStringExact(-1, m_modeText));
    UpdateRateButtons();
    if (!IsRateSelectionValid()) {
        OnModeSelChange();
    }
    return TRUE;
}

void CPortDialog::DoDataExchange(CDataExchange* pDX) {
    CPersistentDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kPortListId, m_portCombo);
    DDX_Control(pDX, kModeListId, m_modeCombo);
    // Whole names only: "COM1" never selects "COM10".
    DDX_CBStringExact(pDX, kPortListId, m_portName);
    DDX_Radio(pDX, kFirstRateId, m_rateIndex);
    DDX_Radio(pDX, kDataBitsId, m_dataBitsIndex);
    DDX_Radio(pDX, kHandshakeId, m_handshakeIndex);
    DDX_Radio(pDX, kParityId, m_parityIndex);
    DDX_Radio(pDX, kStopBitsId, m_stopBitsIndex);
    DDX_CBStringExact(pDX, kModeListId, m_modeText);
    DDX_Radio(pDX, kPpsId, m_ppsIndex);
    DDX_Check(pDX, kNoInitId, m_noGpsInit);
    DDX_Text(pDX, kAddressId, m_networkAddress);
    DDX_Check(pDX, kAutoRestartId, m_autoRestart);
}

void CPortDialog::OnOK() {
    const bool window = GetSafeHwnd() != nullptr;
    if (window) {
        if (!UpdateData(TRUE)) {
            return;
        }
        if (m_modeText == u"Motorola Binary Rx Only") {
            COncoreIdDialog receiverType(this);
            if (receiverType.DoModal() == IDOK) {
                receiverType.GetIdentity(m_receiverIdentity);
            }
        }
    }
    if (!IsValidNetworkAddress(m_networkAddress)) {
        m_networkAddress.Empty();
        if (window) {
            SetDlgItemTextW(kAddressId, m_networkAddress);
        }
    }
    SaveSettings();
    AppWriteProfileString(kSection, u"COM Ports", JoinList(PortChoices()));
    if (window) {
        CPersistentDialog::OnOK();
    }
}

void CPortDialog::FillPortList() {
    if (!m_portCombo.GetSafeHwnd()) {
        return;
    }
    m_portCombo.ResetContent();
    for (const CString& port : PortChoices()) {
        m_portCombo.AddString(port);
    }
    m_portCombo.SetCurSel(m_portCombo.FindStringExact(-1, m_portName));
}

CString CPortDialog::SelectedModeText() const {
    CString text;
    if (m_modeCombo.GetSafeHwnd() && m_modeCombo.GetCurSel() != CB_ERR) {
        m_modeCombo.GetLBText(m_modeCombo.GetCurSel(), text);
    }
    return text;
}

void CPortDialog::UpdateRateButtons() {
    const CString mode = SelectedModeText();
    if (mode.IsEmpty()) {
        return;
    }
    for (int i = 0; i < kRateCount; ++i) {
        if (CWnd* button = GetDlgItem(static_cast<int>(kRateIds[i]))) {
            button->EnableWindow(IsRateEnabled(mode, i) ? TRUE : FALSE);
        }
    }
    if (mode == u"Search") {
        CheckRadioButton(kRateIds[0], kRateIds[kRateCount - 1], kRateIds[3]);
    }
    if (CWnd* autoRestart = GetDlgItem(kAutoRestartId)) {
        autoRestart->EnableWindow(IsAutoRestartEnabled(mode) ? TRUE : FALSE);
    }
}

BOOL CPortDialog::IsRateSelectionValid() const {
    int valid = 0;
    for (UINT id : kRateIds) {
        const CWnd* button = GetDlgItem(static_cast<int>(id));
        if (button && IsDlgButtonChecked(static_cast<int>(id)) && button->IsWindowEnabled()) {
            ++valid;
        }
    }
    return valid == 1 ? TRUE : FALSE;
}

void CPortDialog::OnModeSelChange() {
    const CString mode = SelectedModeText();
    if (mode.IsEmpty()) {
        return;
    }
    // The controls only: the members take the choice on OK, so that Cancel leaves the earlier values.
    for (UINT id : kRateIds) {
        CheckDlgButton(static_cast<int>(id), BST_UNCHECKED);
    }
    CheckDlgButton(kAutoRestartId, BST_UNCHECKED);
    const int rateIndex = ModeRateIndex(mode);
    if (rateIndex >= 0) {
        CheckDlgButton(static_cast<int>(kRateIds[rateIndex]), BST_CHECKED);
    }
    UpdateRateButtons();
    Invalidate();
}

void CPortDialog::OnProbeClicked() {
    CString caption;
    GetDlgItemTextW(kProbeId, caption);
    SetDlgItemTextW(kProbeId, u"WAIT!");
    BeginWaitCursor();
    const CString before = m_portList;
    OnProbePorts();
    EndWaitCursor();
    if (m_portList != before) {
        FillPortList();
    }
    SetDlgItemTextW(kProbeId, caption);
}

void CPortDialog::OnAddressKillFocus() {
    CString address;
    GetDlgItemTextW(kAddressId, address);
    if (IsValidNetworkAddress(address)) {
        return;
    }
    CString text = u"IP Address error:\n  " + address;
    text += u"\n\nThe format must be like this\n  192.168.10.123\n\nor, if you want to define the port:\n  "
            u"192.168.10.123:9761";
    ::MessageBoxW(m_hWnd, text, u"Illegal IP Address", MB_OK);
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
