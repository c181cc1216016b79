#include "receiver/ReceiverInitialisation.h"

#include "platform/base/MessageBoxConstants.h"
#include "receiver/AppProfileAccess.h"
#include "receiver/CThBufferList.h"
#include "receiver/CommandFraming.h"
#include "receiver/CrossProcessSemaphore.h"
#include "receiver/ReceiverState.h"

const char16_t kReceiverNotFoundText[] =
    u"GPS Receiver not found.  Go to the menu and select\nEdit/Set Serial Port. There you can probe for "
    u"serial "
    u"\nports, set a different port number and/or select a \ndifferent receiver type (or Search).";

namespace {

constexpr char16_t kPortSetupFailure[] = u"ERROR: COM port setup failure";

CString MonVerPoll() {
    return UbxCommand(0x0A, 0x04, std::u16string());
}

// CFG-MSG with a rate for the current port.
CString MessageRate(BYTE cls, BYTE id, BYTE rate) {
    return UbxCommand(0x06, 0x01, std::u16string{cls, id, rate});
}

// The identity line's format for a model name: the receiver's maker goes before the name.
CString IdentityFormat(const CString& name, LPCTSTR protocol) {
    CString maker = u"Motorola ";
    if (name == CString(u"CNXT/NVMN") || name == CString(u"SIGNAV")) {
        maker = u"";
    } else if (name == CString(u"M12M") || name == CString(u"TX Oncore")) {
        maker = u"i-Lotus ";
    } else if (name == CString(u"WQT-M8F") || name == CString(u"WQT-M8T")) {
        maker = u"Halvorn ";
    }
    return maker + u"%s, " + protocol + u", %i ch, V%s";
}

CString IdentityLine(const ReceiverIdentity& identity, const CString& name, LPCTSTR protocol) {
    CString line;
    line.Format(IdentityFormat(name, protocol), name.GetString(),
                identity.nativeChannels < 0 ? 0 : identity.nativeChannels, identity.versionText.GetString());
    if (identity.hasDgps) {
        line += u", has DGPS";
    }
    if (identity.hasTraim) {
        line += u", TRAIM";
    }
    return line;
}

void SetIdentity(int model, int channels) {
    ReceiverIdentity& id = g_receiverIdentity;
    id.model = model;
    id.firmwareVersion = 0.0f;
    id.versionText.Empty();
    id.activeChannels = channels;
    id.nativeChannels = channels;
    id.hasDgps = FALSE;
    id.hasTraim = FALSE;
    g_receiverPlusModel = FALSE;
}

} // namespace

CString BinaryIdentityLine(const ReceiverIdentity& identity, BOOL plusModel, BOOL rxOnly, BOOL pvt6,
                           BOOL localTime) {
    CString name = ReceiverModelName(identity.model);
    if (ReceiverModel(identity.model).IsWqt() && plusModel) {
        name += u"+";
    }
    if (rxOnly) {
        name += u", Rx Only";
    }
    // The whole name chooses the maker, so a "+" or receive-only name is always Motorola's.
    CString line = IdentityLine(identity, name, u"Bin");
    if (pvt6) {
        line += u", PVT6 Mode";
    }
    if (localTime) {
        line += u", Local Time Mode";
    }
    return line;
}

CString NmeaIdentityLine(const ReceiverIdentity& identity) {
    const CString name = ReceiverModelName(identity.model);
    return IdentityLine(identity, name, u"NMEA Mode");
}

void ReceiverInitHost::ReleaseLinkGates() {
    ReleaseCrossProcessSemaphore(g_receiveGate, 1, nullptr);
    ReleaseCrossProcessSemaphore(g_ppsGate, 1, nullptr);
}

void ReceiverInitialisation::Send(const CString& command) {
    SendGpsCommand(m_host, command);
}

BOOL ReceiverInitialisation::SendAndWait(const CString& command) {
    return SendGpsCommandAndWait(m_host, command);
}

BOOL ReceiverInitialisation::SetRate(DWORD rate) {
    m_host.PortBaudRate() = rate;
    return m_host.SetPortBaudRate(rate);
}

BOOL ReceiverInitialisation::FailSetup(const CString& text) {
    g_initializing = 0;
    m_host.SetStatusText(text);
    m_host.ShowBusyCursor(FALSE);
    return FALSE;
}

void ReceiverInitialisation::DrainToOncoreDecoder(DWORD pauseMs) {
    while (!g_receiveList.IsEmpty()) {
        m_host.DecodeOncoreMessage(g_receiveList.RemoveHead());
        if (pauseMs != 0) {
            m_host.SleepMs(pauseMs);
        }
    }
}

class ReceiverInitialisation::RunScope {
public:
    explicit RunScope(ReceiverInitialisation& owner) : m_owner(owner) { m_owner.m_running = TRUE; }
    ~RunScope() {
        m_owner.m_running = FALSE;
        m_owner.m_host.InitialisationEnded();
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    ReceiverInitialisation& m_owner;
};

BOOL ReceiverInitialisation::RunGpsInitialisation() {
    if (m_running) {
        return FALSE;
    }
    const RunScope run(*this);
    m_host.LoadReceiverParameters();
    g_receiverNotFound = FALSE;
    const BOOL result = Initialise();
    if (!result && !m_host.StopWaiting()) {
        g_receiverNotFound = TRUE;
        m_host.ShowMessageBox(kReceiverNotFoundText, MB_ICONEXCLAMATION);
    }
    return result;
}

BOOL ReceiverInitialisation::Abandon() {
    g_initializing = 0;
    m_host.ShowBusyCursor(FALSE);
    return FALSE;
}

BOOL ReceiverInitialisation::ApplyPortSettings(int mode, DWORD rate, BOOL noGpsInit) {
    g_initializing = noGpsInit ? 0 : 1;
    g_interfaceMode = mode;
    m_host.PortBaudRate() = rate;
    m_host.ReconfigurePort();
    RunGpsInitialisation();
    return TRUE;
}

void ReceiverInitialisation::ApplyConfirmedPortDialog(int mode, DWORD rate, const CString& devicePath,
                                                      BOOL noGpsInit) {
    if (mode == kModeMotorolaBinary || mode == kModeUbloxUbx || mode == kModeUbloxNmea) {
        // Still at the old rate: the receiver changes after it answered.
        SendAndWait(RateChangeCommand(mode, rate));
    }
    m_host.TakePortSettings();
    m_host.UseChosenPort(devicePath);
    ApplyPortSettings(mode, rate, noGpsInit);
}

BOOL ReceiverInitialisation::InitGpsReceiver() {
    if (m_running) {
        return FALSE;
    }
    const RunScope run(*this);
    return Initialise();
}

BOOL ReceiverInitialisation::Initialise() {
    const DWORD configuredRate = m_host.PortBaudRate();
    m_host.ShowBusyCursor(TRUE);
    m_host.GpsNavSaveAverages();
    m_host.ResetReceiverDerivedState();
    m_host.RepaintView();
    g_initializing = 1;
    m_host.ClearRxIdWindow();
    m_host.SetAntennaStatus(-1);
    m_host.SetReceiverModeStatus(-1);
    for (int row = 19; row <= 21; ++row) {
        m_host.SetSatsGridCellText(row, 1, CString());
    }
    if (!m_host.SetPortBaudRate(m_host.PortBaudRate())) {
        m_host.ShowBusyCursor(FALSE);
        return FALSE;
    }
    if (g_interfaceMode != kModeMotorolaBinary) {
        m_host.ClearPvt6AndLocalTimeFlags();
    }

    const int mode = g_interfaceMode;
    int found = mode;
    if (mode == kModeSearch) {
        m_host.SetStatusText(u"Initialization: Searching for GPS Receiver...");
        if (!SearchReceiver(found)) {
            if (m_host.StopWaiting()) {
                return Abandon(); // the user's Search setting stays
            }
            found = kModeMotorolaBinary;
        }
        g_interfaceMode = found;
        m_host.StoreFoundInterfaceMode(found);
    } else if (mode == kModeMotorolaBinary || mode == kModeMotorolaNmea || mode == kModeMotorolaLoran) {
        if (ProbeGpsReceiver(mode)) {
            m_host.SetStatusText(CString());
        } else if (!SearchMotorolaReceiver(found)) {
            found = mode;
        }
    }
    m_host.SetAntennaStatus(-1);
    m_host.SetReceiverModeStatus(-1);
    const DWORD setupRate = m_host.PortBaudRate();

    switch (found) {
    case kModeGenericNmea:
        m_host.SetStatusText(u"Generic NMEA GPS Receiver");
        SetIdentity(kModelGenericNmea, -1);
        g_interfaceMode = kModeGenericNmea;
        if (!SetRate(configuredRate)) {
            return FailSetup(CString(u"Generic NMEA Mode - ") + kPortSetupFailure);
        }
        return CommonEnd(found, TRUE, FALSE);
    case kModeUbloxUbx:
    case kModeUbloxNmea:
        return SetUpUblox(found, configuredRate);
    case kModeMotorolaRxOnly: {
        ReceiverIdentity identity;
        m_host.GetRxOnlyIdentity(identity);
        g_receiverIdentity = identity;
        g_interfaceMode = kModeMotorolaRxOnly;
        if (!SetRate(configuredRate)) {
            return FailSetup(CString(u"Motorola Rx ") + kPortSetupFailure);
        }
        while (!g_receiveList.IsEmpty()) {
            m_host.DecodeOncoreMessage(g_receiveList.RemoveHead());
        }
        return CommonEnd(found, TRUE, TRUE);
    }
    case kModeMotorolaLoran:
    case kModeMotorolaNmea:
    case kModeMotorolaBinary:
        return SetUpMotorola(found, configuredRate, setupRate);
    default: // no other mode occurs
        return CommonEnd(found, TRUE, FALSE);
    }
}

BOOL ReceiverInitialisation::SetUpMotorola(int found, DWORD configuredRate, DWORD setupRate) {
    m_host.SetStatusText(u"Initialization: Set up GPS Receiver...");
    ReceiverIdentity& id = g_receiverIdentity;
    id.model = 5;
    id.hasDgps = FALSE;
    id.hasTraim = FALSE;
    g_receiverPlusModel = FALSE;
    m_host.GpsNavSetTimingErrorTerms(10, 100);
    const int configured = g_interfaceMode;

    const auto fail = [&](LPCTSTR protocol) {
        g_interfaceMode = configured;
        m_host.PortBaudRate() = setupRate;
        return FailSetup(CString(u"Motorola ") + protocol + u" " + kPortSetupFailure);
    };
    if (found == kModeMotorolaLoran || found == kModeMotorolaNmea) {
        if (!SetRate(configuredRate)) {
            return fail(found == kModeMotorolaLoran ? u"LORAN" : u"NMEA");
        }
        g_interfaceMode = configured;
        Send(found == kModeMotorolaLoran ? CString(u"BIN") : CString(u"$PMOTG,FOR,0"));
    }
    if (!m_host.SetPortBaudRate(m_host.PortBaudRate())) {
        return fail(u"Binary");
    }

    g_interfaceMode = kModeMotorolaBinary;
    id.firmwareVersion = 0.0f;
    id.versionText.Empty();
    if (!SendAndWait(u"@@Cj") && !SendAndWait(u"@@Cj")) {
        g_interfaceMode = configured;
        m_host.PortBaudRate() = setupRate;
        m_host.SetPortBaudRate(setupRate);
        m_host.SetStatusText(u"ERROR: Motorola GPS Receiver Not Found");
        return CommonEnd(found, FALSE, FALSE);
    }

    if (!m_host.NoGpsInit()) {
        Send(OncoreCommand("Cg", {1}));
        Send(OncoreCommand("Ba", {0}));
        Send(OncoreCommand("Ea", {0}));
        if (ReceiverModel(id.model).IsWqt()) {
            m_host.SetChannelCounts(12);
            Send(OncoreCommand("Ha", {0}));
        } else if (!SendAndWait(OncoreCommand("Ha", {0})) && !SendAndWait(OncoreCommand("Ea", {0})) &&
                   !SendAndWait(OncoreCommand("Ba", {0}))) {
            m_host.SetChannelCounts(6);
        }
    } else if (const ReceiverModelInfo* model = FindReceiverModel(id.model)) {
        m_host.SetChannelCounts(model->channels);
    }

    SendAndWait(OncoreCommand("Hb", {0}));
    for (const char* output : {"Bb", "Bk", "Ek", "Bl"}) {
        Send(OncoreCommand(output, {0}));
    }
    SendAndWait(OncoreCommand("Bh", {0}));
    for (const char* output : {"Bg", "Eg", "Bi"}) {
        Send(OncoreCommand(output, {0}));
    }
    const bool twelve = IsTwelveChannelModel(id.model);
    Send(LeapSecondPollCommand(id.model));
    Send(OncoreCommand("Bo", {1}));
    if (twelve) {
        Send(OncoreCommand("AQ", {1}));
    }

    if (m_host.IsRefLocOnStart()) {
        m_configuration.SendPositionSetup();
    }
    m_configuration.SendReceiverSetup();
    if (const ReceiverModelInfo* model = FindReceiverModel(id.model)) {
        m_host.GpsNavSetTimingErrorTerms(model->errorTerm1, model->errorTerm2);
    }
    m_configuration.SendTimingSetup();

    switch (configured) {
    case kModeMotorolaNmea:
        m_host.SleepMs(1000);
        m_host.RepaintView();
        DrainToOncoreDecoder(100);
        Send(OncoreCommand("Ci", {1}));
        if (!SetRate(setupRate)) {
            return FailSetup(CString(u"Motorola NMEA ") + kPortSetupFailure);
        }
        g_interfaceMode = kModeMotorolaNmea;
        SendAndWait(u"$PMOTG,ZDA,0001");
        for (LPCTSTR command : {u"$PMOTG,GLL,0000", u"$PMOTG,VTG,0000", u"$PMOTG,GGA,0001",
                                u"$PMOTG,GSA,0001", u"$PMOTG,GSV,0001", u"$PMOTG,RMC,0001"}) {
            Send(command);
        }
        m_host.SetStatusText(NmeaIdentityLine(id));
        return CommonEnd(found, TRUE, TRUE);
    case kModeMotorolaLoran:
        m_host.SleepMs(1000);
        m_host.RepaintView();
        Send(OncoreCommand("Ci", {2}));
        if (!SetRate(setupRate)) {
            return FailSetup(CString(u"Motorola LORAN ") + kPortSetupFailure);
        }
        g_interfaceMode = kModeMotorolaLoran;
        // Straight to the transmit thread: "T1" starts the receiver's time lines.
        QueueForTransmit(m_host, u"T1");
        m_host.SetStatusText(u"Ready - Loran Mode");
        return CommonEnd(found, TRUE, TRUE);
    default:
        m_host.PortBaudRate() = setupRate;
        g_interfaceMode = kModeMotorolaBinary;
        Send(OncoreCommand("Bb", {1}));
        if (twelve) {
            Send(OncoreCommand("Gk", {'*', '*', '*', '*', '*', '*'}));
        }
        return CommonEnd(found, TRUE, TRUE);
    }
}

BOOL ReceiverInitialisation::SetUpUblox(int found, DWORD configuredRate) {
    m_host.SetStatusText(u"Initialization: Set up u-blox GPS Receiver...");
    SetIdentity(kModelUblox, 16);
    m_host.GpsNavSetTimingErrorTerms(10, 100);
    g_interfaceMode = found;
    const CString failure = CString(u"UBX ") + kPortSetupFailure;
    if (!SetRate(configuredRate)) {
        return FailSetup(failure);
    }
    if (m_host.NoGpsInit()) {
        return CommonEnd(found, TRUE, FALSE);
    }
    while (!g_receiveList.IsEmpty()) {
        m_host.DecodeUbxMessage(g_receiveList.RemoveHead());
    }
    Send(UbxPortConfiguration(m_host.PortBaudRate()));
    m_host.SleepMs(100);
    bool answered = false;
    for (int poll = 0; poll < 3 && !answered; ++poll) {
        answered = SendAndWait(MonVerPoll()) != FALSE;
    }
    if (!answered) {
        return FailSetup(failure);
    }

    static constexpr BYTE kOutputsOff[][2] = {
        {0xF1, 0x00}, {0x0D, 0x01}, {0x01, 0x02}, {0x01, 0x30}, {0x0A, 0x09}, {0x01, 0x03}, {0x01, 0x03},
        {0x01, 0x21}, {0x01, 0x04}, {0x01, 0x04}, {0xF1, 0x03}, {0xF1, 0x04}, {0xF0, 0x0A}, {0xF0, 0x09},
        {0xF0, 0x00}, {0xF0, 0x01}, {0xF0, 0x40}, {0xF0, 0x06}, {0xF0, 0x02}, {0xF0, 0x07}, {0xF0, 0x03},
        {0xF0, 0x04}, {0xF0, 0x41}, {0xF0, 0x05}, {0xF0, 0x08},
    };
    for (const auto& m : kOutputsOff) {
        Send(MessageRate(m[0], m[1], 0));
    }
    Send(UbxCommand(0x06, 0x13, std::u16string{0x17, 0x00, 0x00, 0x00}));
    if (found == kModeUbloxUbx) {
        static constexpr BYTE kEverySecond[][2] = {{0x01, 0x21}, {0x0D, 0x01}, {0x01, 0x02},
                                                   {0x01, 0x30}, {0x0A, 0x09}, {0x01, 0x03}};
        for (const auto& m : kEverySecond) {
            Send(MessageRate(m[0], m[1], 1));
        }
        Send(MessageRate(0x01, 0x04, 37));
        Send(MessageRate(0x01, 0x20, 48));
        m_host.SetStatusText(u"u-blox with DGPS, WAAS, EGNOS, MSAS");
    } else {
        for (BYTE id : {0x00, 0x02, 0x03, 0x04, 0x08}) {
            Send(MessageRate(0xF0, id, 1));
        }
        m_host.SetStatusText(u"u-blox NMEA Mode");
    }
    m_host.SetReceiverModeStatus(0);

    m_configuration.SendReceiverSetup();
    if (m_host.IsRefLocOnStart()) {
        m_configuration.SendPositionSetup();
    }
    m_configuration.SendTimingSetup();
    // Save to the receiver's memory: clear nothing, save ports, messages, navigation and antenna.
    std::u16string cfg(12, u'\0');
    cfg[4] = 0x0B;
    cfg[5] = 0x04;
    Send(UbxCommand(0x06, 0x09, cfg));
    return CommonEnd(found, TRUE, FALSE);
}

BOOL ReceiverInitialisation::CommonEnd(int found, BOOL result, BOOL identified) {
    if (m_host.StopWaiting()) {
        return Abandon();
    }
    const int mode = g_interfaceMode;
    if ((mode == kModeMotorolaBinary && identified) || mode == kModeMotorolaRxOnly) {
        const ReceiverParameters p = m_host.GetReceiverParameters();
        m_host.SetStatusText(BinaryIdentityLine(g_receiverIdentity, g_receiverPlusModel,
                                                found == kModeMotorolaRxOnly, p.sixChannelMode,
                                                p.gpsRxOnLocalTime));
        m_host.FlashTickIcon();
    }
    AppWriteProfileInt(u"PexView", u"Mode", found);
    m_host.GpsNavLoadAverages();
    g_initializing = 0;
    m_host.ReleaseLinkGates();
    m_host.ShowBusyCursor(FALSE);
    return result;
}

BOOL ReceiverInitialisation::SearchReceiver(int& mode) {
    if (SearchMotorolaReceiver(mode)) {
        return TRUE;
    }
    return ProbeUbloxReceiver(mode);
}

BOOL ReceiverInitialisation::SearchMotorolaReceiver(int& mode) {
    mode = kModeSearch;
    const int savedMode = g_interfaceMode;
    const DWORD savedRate = m_host.PortBaudRate();
    if (m_host.NoGpsInit()) {
        return FALSE;
    }
    g_initializing = 1;
    SetRate(4800);
    g_interfaceMode = kModeMotorolaNmea;
    for (LPCTSTR command : {u"$PMOTG,RMC,0000", u"$PMOTG,GGA,0000", u"$PMOTG,GSA,0000", u"$PMOTG,GSV,0000",
                            u"$PMOTG,GLL,0000", u"$PMOTG,VTG,0000"}) {
        Send(command);
    }
    g_receiveList.RemoveAll();
    if (SendAndWait(u"$PMOTG,ZDA,0001")) {
        mode = kModeMotorolaNmea;
    } else {
        SetRate(9600);
        g_interfaceMode = kModeMotorolaBinary;
        if (SendAndWait(u"@@Cj")) {
            mode = kModeMotorolaBinary;
        } else {
            SetRate(1200);
            g_interfaceMode = kModeMotorolaLoran;
            if (SendAndWait(u"T0")) {
                mode = kModeMotorolaLoran;
            }
        }
    }
    // The rate that answered is not kept: the set-up runs at the configured one.
    g_interfaceMode = savedMode;
    SetRate(savedRate);
    return mode != kModeSearch;
}

BOOL ReceiverInitialisation::ProbeUbloxReceiver(int& mode) {
    mode = kModeSearch;
    g_initializing = 1;
    SetRate(9600);
    g_interfaceMode = kModeUbloxUbx;
    if (ProbeGpsReceiver(kModeUbloxUbx)) {
        mode = kModeUbloxUbx;
    }
    return mode != kModeSearch;
}

BOOL ReceiverInitialisation::ProbeGpsReceiver(int kind) {
    const int savedInitializing = g_initializing;
    const int savedMode = g_interfaceMode;
    g_initializing = 1;
    g_receiveList.RemoveAll();
    BOOL answered = FALSE;
    switch (kind) {
    case kModeMotorolaNmea:
        g_interfaceMode = kModeMotorolaNmea;
        answered = SendAndWait(u"$PMOTG,ZDA,0001");
        break;
    case kModeMotorolaBinary:
        g_interfaceMode = kModeMotorolaBinary;
        answered = SendAndWait(u"@@Cj");
        break;
    case kModeUbloxUbx:
        g_interfaceMode = kModeUbloxUbx;
        g_receiveList.RemoveAll();
        answered = SendAndWait(MonVerPoll());
        break;
    case kModeMotorolaRxOnly:
    case kModeGenericNmea:
    case kModeSearch:
        answered = TRUE;
        break;
    default:
        break;
    }
    g_initializing = savedInitializing;
    g_interfaceMode = savedMode;
    return answered;
}
