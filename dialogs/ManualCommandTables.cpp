#include "dialogs/ManualCommandTables.h"

#include "receiver/ReceiverIdentity.h"
#include "receiver/ReceiverState.h"

#include <iterator>
#include <string_view>

// Rows the receiver documentation describes only by the message's title carry that title and no default
// parameters; an empty description marks a message the decoder knows without a title.
const ManualCommandEntry g_motorolaBinaryCommandTable[102] = {
    {u"@@Aa", u"@@Aa", u"Time of Day [VP. UT, GT]", 10, u"FFFFFF"},
    {u"@@Ab", u"@@Ab", u"GMT Correction", 10, u""},
    {u"@@Ac", u"@@Ac", u"Date", 11, u""},
    {u"@@Ad", u"@@Ad", u"Current Latitude", 11, u""},
    {u"@@Ae", u"@@Ae", u"Current Longitude", 11, u""},
    {u"@@Af", u"@@Af", u"Current Height", 15, u""},
    {u"@@Ag", u"@@Ag", u"Elevation Limit", 8, u""},
    {u"@@Ah", u"@@Ah", u"Satellite Selection Mode", 8, u""},
    {u"@@Ai", u"@@Ai", u"Satellite Assignment on Channel", 9, u""},
    {u"@@Aj", u"@@Aj", u"Satellite Selection xDOP", 8, u""},
    {u"@@Ak", u"@@Ak", u"xDOP Hysteresis", 9, u""},
    {u"@@Al", u"@@Al", u"3-D to 2-D DOP Threshold", 9, u""},
    {u"@@Am", u"@@Am", u"Satellite Ignore List", 12, u""},
    {u"@@An", u"@@An", u"Almanac Update Mode", 8, u""},
    {u"@@Ao", u"@@Ao", u"", 0, u""},
    {u"@@Ap", u"@@Ap", u"User Defined Datums [VP, UT, GT>1.6, M12]", 25,
     u"320000000000000000000000000000000000"},
    {u"@@Aq", u"@@Aq", u"Corrections", 8, u""},
    {u"@@Ar", u"@@Ar", u"Position Fix Mode", 8, u""},
    {u"@@As", u"@@As", u"Hold Position Parameters [VP, UT>2.0, M12]", 20, u"7FFFFFFF7FFFFFFF7FFFFFFFFF"},
    {u"@@At", u"@@At", u"Position Hold Mode", 8, u""},
    {u"@@Au", u"@@Au", u"Altitude-Hold Height Parameter [VP, GT>2.0, M12]", 12, u"7FFFFFFFFF"},
    {u"@@Av", u"@@Av", u"Altitude Hold Mode", 8, u""},
    {u"@@Aw", u"@@Aw", u"Time Correction Mode", 8, u""},
    {u"@@Ax", u"@@Ax", u"Epoch Offset", 9, u""},
    {u"@@Ay", u"@@Ay", u"1PPS Offset", 11, u""},
    {u"@@Az", u"@@Az", u"1PPS Cable Delay", 11, u""},
    {u"@@AA", u"@@AA", u"Ephemeris Hold Mode", 8, u""},
    {u"@@AB", u"@@AB", u"Application Type", 8, u""},
    {u"@@AC", u"@@AC", u"2-D to 0-D DOP Threshold", 9, u""},
    {u"@@AD", u"@@AD", u"Correction Timer Thresholds", 9, u""},
    {u"@@AE", u"@@AE", u"Output Align-to-Minute Mode", 8, u""},
    {u"@@AJ", u"@@AJ", u"Differential Time-out", 8, u""},
    {u"@@AM", u"@@AM", u"", 11, u""},
    {u"@@AN", u"@@AN", u"Velocity Filter", 8, u""},
    {u"@@AO", u"@@AO", u"RTCM Port", 8, u""},
    {u"@@AP", u"@@AP", u"Pulse Mode", 8, u""},
    {u"@@AQ", u"@@AQ", u"Position Filter Select", 8, u""},
    {u"@@AS", u"@@AS", u"Position Lock Select", 8, u""},
    {u"@@Ba", u"@@Ba", u"6-Channel Position/Status/Data", 68, u""},
    {u"@@Bb", u"@@Bb", u"Visible Satellite Status", 92, u""},
    {u"@@Bc", u"@@Bc", u"", 82, u""},
    {u"@@Bd", u"@@Bd", u"Almanac Status", 23, u""},
    {u"@@Be", u"@@Be", u"", 0, u""},
    {u"@@Bf", u"@@Bf", u"Input Ephemeris Data (@@Cc response) [VP, GT>1.6]", 80, u""},
    {u"@@Bg", u"@@Bg", u"6-Channel Satellite Range Data", 122, u""},
    {u"@@Bh", u"@@Bh", u"", 0, u""},
    {u"@@Bi", u"@@Bi", u"", 0, u""},
    {u"@@Bj", u"@@Bj", u"Leap Second Pending", 8, u""},
    {u"@@Bk", u"@@Bk", u"DOP and Correction Age", 69, u""},
    {u"@@Bl", u"@@Bl", u"", 41, u""},
    {u"@@Bn", u"@@Bn", u"6-Channel Time RAIM Setup and Status Message [VP]", 22,
     u"010100050100000000000000000000"},
    {u"@@Bo", u"@@Bo", u"UTC Offset", 8, u""},
    {u"@@Bp", u"@@Bp", u"", 0, u""},
    {u"@@Ca", u"@@Ca", u"6-Channel Self-Test [VP]", 9, u""},
    {u"@@Cb", u"@@Cb", u"Input Almanac Data (@@Ch response) [VP, UT, GT, M12]", 33, u""},
    {u"@@Cd", u"@@Cd", u"6-Channel Alert-Planning [VP]", 27, u""},
    {u"@@Ce", u"@@Ce", u"Input Pseudorange Correction (@@Ck response) [VP, GT>1.6, M12]", 52, u""},
    {u"@@Cf", u"@@Cf", u"Set-to-Defaults [VP, UT, GT, M12]", 7, u""},
    {u"@@Cg", u"@@Cg", u"Position Fix/Idle Mode Option [VP]", 8, u"02"},
    {u"@@Ci", u"@@Ci", u"Switch I/O Format (no response) [VP, GT>2.0, M12]", 8, u"01"},
    {u"@@Cj", u"@@Cj", u"Receiver ID String [VP, UT, GT, M12]", 7, u""},
    {u"@@Ea", u"@@Ea", u"8-Channel Position/Status/Data", 76, u""},
    {u"@@Ec", u"@@Ec", u"", 100, u""},
    {u"@@Eg", u"@@Eg", u"8-Channel Satellite Range Data", 158, u""},
    {u"@@Ek", u"@@Ek", u"DOP and Correction Age", 71, u""},
    {u"@@En", u"@@En", u"8-Channel Time RAIM Setup and Status Message [VP, UT]", 22,
     u"010100050100000000000000000000"},
    {u"@@Eq", u"@@Eq", u"ASCII Position", 96, u""},
    {u"@@Fa", u"@@Fa", u"8-Channel Self-Test", 9, u""},
    {u"@@Fd", u"@@Fd", u"", 189, u""},
    {u"@@Ga", u"@@Ga", u"Position Estimate", 20, u""},
    {u"@@Gb", u"@@Gb", u"Time Estimate", 17, u""},
    {u"@@Gc", u"@@Gc", u"1PPS Signal Output", 8, u""},
    {u"@@Gd", u"@@Gd", u"Position Control", 8, u""},
    {u"@@Ge", u"@@Ge", u"TRAIM", 8, u""},
    {u"@@Gf", u"@@Gf", u"TRAIM Alarm Limit", 9, u""},
    {u"@@Gj", u"@@Gj", u"Leap Second Pending", 21, u""},
    {u"@@Gk", u"@@Gk", u"Tag Message [M12]", 13, u"2A2A2A2A2A2A"},
    {u"@@Ha", u"@@Ha", u"12-Channel Position/Status/Data", 154, u""},
    {u"@@Hb", u"@@Hb", u"12-Channel Short Position", 54, u""},
    {u"@@Hn", u"@@Hn", u"12-Channel T-RAIM Status", 78, u""},
    {u"@@Hq", u"@@Hq", u"", 0, u""},
    {u"@@Hr", u"@@Hr", u"Inverse Differential with Pseudorange Output", 14, u"002A2A2A2A2A2A"},
    {u"@@Ia", u"@@Ia", u"12-Channel Self-Test", 10, u""},
    {u"@@Sa", u"@@Sa", u"M8F/T: Query Satellite Tracking Information", 8, u"00"},
    {u"@@Sc", u"@@Sc", u"M8F/T: Set Constellation Mode", 8, u"00"},
    {u"@@Sm", u"@@Sm", u"M8F/T: Save configuration to non-volatile memory", 8, u"01"},
    {u"@@So", u"@@So", u"M8F/T: Configure which Sat Info Reported By @@Ha, @@Hn, @@Bb", 8, u"00"},
    {u"@@Sp", u"@@Sp", u"M8F/T: Report Current Number of Leap Seconds", 7, u""},
    {u"@@St", u"@@St", u"M8F/T: Set Date/Time/PPS Alignment", 8, u"00"},
    {u"@@Sx", u"@@Sx", u"M8F/T: Query GNSS Receiver Type", 7, u""},
    {u"@@Ti", u"@@Ti", u"", 21, u""},
    {u"@@Tj", u"@@Tj", u"R/W Oscillator Data From/To FLASH [M12]", 27,
     u"FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"},
    {u"@@Tk", u"@@Tk", u"R/W Manufacturing Data From/To FLASH [M12]", 65, u""},
    {u"@@Tm", u"@@Tm", u"R/W Temp Sensor Cal Data From/To FLASH [M12]", 19, u"FFFFFFFFFFFFFFFFFFFFFFFF"},
    {u"@@Tr", u"@@Tr", u"DSP Data", 597, u""},
    {u"@@Ts", u"@@Ts", u"", 17, u""},
    {u"@@Wb", u"@@Wb", u"Switch to uBlox binary mode (Halvorn proprietary)", 9, u"0134"},
    {u"@@Wc", u"@@Wc", u"Switch to boot loader (Halvorn proprietary)", 7, u""},
    {u"@@Wm", u"@@Wm", u"Change Model Number (Halvorn proprietary)", 22, u"202020202020202020202020202020"},
    {u"@@Wp", u"@@Wp", u"Change HW Part Number (Halvorn proprietary)", 22, u"202020202020202020202020202020"},
    {u"@@Wq", u"@@Wq", u"Change SW Part Number (Halvorn proprietary)", 22, u"202020202020202020202020202020"},
    {u"@@Ws", u"@@Ws", u"Change Serial Number (Halvorn proprietary)", 18, u"2020202020202020202020"},
};

const ManualCommandEntry g_motorolaNmeaCommandTable[8] = {
    {u"$GPGGA", u"$PMOTG,GGA,", u"GPS Fix Data [VP, GT>2.0]", 19, u"0000"},
    {u"$GPRMC", u"$PMOTG,RMC,", u"Recommended Minimum Specific GPS/Transmit Data [VP, GT>2.0]", 19, u"0000"},
    {u"$GPGLL", u"$PMOTG,GLL,", u"Geographic Position - Latitude/Longitude [VP, GT>2.0]", 19, u"0000"},
    {u"$GPGSA", u"$PMOTG,GSA,", u"GPS DOP and Active Satellites [VP, GT>2.0]", 19, u"0000"},
    {u"$GPGSV", u"$PMOTG,GSV,", u"GPS Satellites in View [VP, GT>2.0]", 19, u"0000"},
    {u"$GPVTG", u"$PMOTG,VTG,", u"Track Made Good and Ground Speed [VP, GT>2.0]", 19, u"0000"},
    {u"$GPZDA", u"$PMOTG,ZDA,", u"Time and Date [VP, GT>2.0]", 19, u"0000"},
    {u"FOR", u"$PMOTG,FOR,", u"Switch I/O Format [VP, GT>2.0]", 16, u"0"},
};

const ManualCommandEntry g_ubxCommandTable[9] = {
    {u"AID-HUI", u"B5620B020000", u"Poll for GPS Health, UTC and ionosphere parameters", 0, u""},
    {u"CFG-PRTa", u"B56206000000", u"Poll the configuration of the used I/O Port", 0, u""},
    {u"CFG-PRTb", u"B56206001400", u"Set Port Configuration for UART", 20,
     u"01000000D0080000802500000100010000000000"},
    {u"CFG-MSG", u"B56206010300", u"Set Message Rate (CFG-MSG) for some message", 3, u"012101"},
    {u"CFG-TP", u"B56206070000", u"Poll TimePulse Parameters (CFG-TP)", 0, u""},
    {u"CFG-TMODE", u"B562061D0000", u"Poll Time Mode Settings (CFG-TMODE)", 0, u""},
    {u"CFG-NAV5", u"B56206240000", u"Poll Navigation Engine Settings (CFG-NAV5)", 0, u""},
    {u"CFG-TP5", u"B56206310000", u"Poll TimePulse Parameters (CFG-TP5)", 0, u""},
    {u"MON-VER", u"B5620A040000", u"Poll for Rx information (MON-VER)", 0, u""},
};

const ManualCommandEntry g_ubxNmeaRateCommandTable[13] = {
    {u"$GPDTM", u"B56206010300F00A", u"Datum Reference", 1, u"01"},
    {u"$GPGBS", u"B56206010300F009", u"Satellite Fault Detection", 1, u"01"},
    {u"$GPGGA", u"B56206010300F000", u"GPS Fix Data", 1, u"01"},
    {u"$GPGLL", u"B56206010300F001", u"Lat/Long, time of position fix, status", 1, u"01"},
    {u"$EIGPQ", u"B56206010300F040", u"Poll a message", 1, u"01"},
    {u"$GPGRS", u"B56206010300F006", u"GNSS Range Residuals", 1, u"01"},
    {u"$GPGSA", u"B56206010300F002", u"GNSS DOP and Active Satellites", 1, u"01"},
    {u"$GPGST", u"B56206010300F007", u"GNSS Pseudo Range Error Statistics", 1, u"01"},
    {u"$GPGSV", u"B56206010300F003", u"GNSS Satellites in View", 1, u"01"},
    {u"$GPRMC", u"B56206010300F004", u"Recommended Minimum data", 1, u"01"},
    {u"$GPTXT", u"B5620602010001", u"Text Transmission", 0, u""},
    {u"$GPVTG", u"B56206010300F005", u"Course over ground and Ground speed", 1, u"01"},
    {u"$GPZDA", u"B56206010300F008", u"Time and Date", 1, u"01"},
};

const ManualCommandEntry g_otherReceiverCommandTable[5] = {
    {u"$GPALM", u"$GPALM,", u"Almanac Information", -1, u"),,,,,,,,,,,,,,"},
    {u"$PGRMI", u"$PGRMI,", u"Initialization Information", -1, u"),,,,,,"},
    {u"$PGRMC", u"$PGRMC,", u"Configuration Information", -1, u"),,,,,,,,,,,"},
    {u"$PGRMO", u"$PGRMO,", u"Output Sentence Enable/Disable", -1, u"),"},
    {u"$PQVR", u"$PQVR,", u"Proprietary Functions", -1, u"SETUP"},
};

namespace {

template <std::size_t N>
void Offer(ManualCommandChoice& choice, const ManualCommandEntry (&table)[N], int listLimit, int prefixLimit,
           bool withoutM8Rows = false) {
    choice.table = table;
    choice.tableRows = static_cast<int>(N);
    choice.listLimit = listLimit;
    choice.prefixLimit = prefixLimit;
    for (std::size_t i = 0; i < N; ++i) {
        if (withoutM8Rows && std::u16string_view(table[i].name).find(u"@@S") != std::u16string_view::npos) {
            continue;
        }
        choice.offeredRows.push_back(static_cast<int>(i));
    }
}

} // namespace

ManualCommandChoice ChooseManualCommandTable(int model, int interfaceMode) {
    ManualCommandChoice choice;
    const ReceiverModelInfo& receiver = ReceiverModel(model);
    if (receiver.IsOncore()) {
        if (interfaceMode == kModeMotorolaNmea) {
            Offer(choice, g_motorolaNmeaCommandTable, 6, 11);
        } else if (interfaceMode == kModeMotorolaBinary || interfaceMode == kModeMotorolaRxOnly) {
            // Only the M8 receivers answer the "@@S" commands.
            Offer(choice, g_motorolaBinaryCommandTable, 4, 4, receiver.family != ReceiverFamily::kWqtM8);
        }
    } else if (model == kModelUblox) {
        if (interfaceMode == kModeUbloxUbx) {
            Offer(choice, g_ubxCommandTable, 3, 2);
        } else if (interfaceMode == kModeUbloxNmea) {
            Offer(choice, g_ubxNmeaRateCommandTable, 3, 2);
        }
    } else {
        Offer(choice, g_otherReceiverCommandTable, 3, 4);
    }
    return choice;
}
