// The receiver dialogs as windows made from their templates: headless, driven through their controls.
#include "dialogs/CCoaxDelayCalculator.h"
#include "dialogs/CGpsRxModeSelect.h"
#include "dialogs/CGpsRxUpld.h"
#include "dialogs/CLogType.h"
#include "dialogs/CManualCommandDialog.h"
#include "dialogs/CManualSatelliteSelect.h"
#include "dialogs/COncoreIdDialog.h"
#include "dialogs/CPortDialog.h"
#include "dialogs/CReferencePositionDialog.h"
#include "dialogs/CSyncClockDialog.h"
#include "dialogs/CTimingDialog.h"
#include "platform/controls/CommonControls.h"

#include "DialogRecorders.h"
#include "DialogTestSupport.h"
#include "platform/controls/StandardControls.h"
#include "platform/display/DisplayBackend.h"
#include "platform/framework/CWinApp.h"
#include "platform/resources/Resources.h"

#include <gtest/gtest.h>

namespace {

using dialogtest::Bytes;
using dialogtest::SentCommand;

class ReceiverDialogWindows : public dialogtest::WindowTest {
protected:
    static void Command(CWnd& dlg, UINT id, UINT code = BN_CLICKED) {
        dlg.SendMessageW(WM_COMMAND, MAKEWPARAM(id, code),
                         reinterpret_cast<LPARAM>(dlg.GetDlgItem(id)->m_hWnd));
    }
    static CString Text(CWnd& dlg, UINT id) {
        CString text;
        dlg.GetDlgItemTextW(static_cast<int>(id), text);
        return text;
    }

    // Selects the entry of a combo box by its whole text, case counting where the box cares.
    static void Choose(CWnd& dlg, UINT id, LPCTSTR text) {
        const LRESULT index =
            dlg.SendDlgItemMessageW(static_cast<int>(id), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(text));
        ASSERT_GE(index, 0);
        dlg.SendDlgItemMessageW(static_cast<int>(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    static void ChooseMode(CWnd& dlg, LPCTSTR mode) { Choose(dlg, CPortDialog::kModeListId, mode); }

    CWinApp m_app{u"Doliva"};
    dialogtest::RecordingSender m_sender;
    dialogtest::RecordedMessageBoxes m_boxes;
};

TEST_F(ReceiverDialogWindows, ManualCommandsListTheReceiversTableAndSendFromTheControls) {
    g_receiverIdentity.model = 21;
    CManualCommandDialog dlg(&m_sender);
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(dlg.SendDlgItemMessageW(CManualCommandDialog::kCommandListId, CB_GETCOUNT, 0, 0), 95);

    // "@@AD" and "@@Ad" are told apart.
    Choose(dlg, CManualCommandDialog::kCommandListId, u"@@AD");
    Command(dlg, CManualCommandDialog::kCommandListId, CBN_SELCHANGE);
    EXPECT_EQ(Text(dlg, CManualCommandDialog::kDescriptionId), CString(u"Correction Timer Thresholds"));

    Choose(dlg, CManualCommandDialog::kCommandListId, u"@@Aa");
    Command(dlg, CManualCommandDialog::kCommandListId, CBN_SELCHANGE);
    EXPECT_EQ(Text(dlg, CManualCommandDialog::kPrefixId), CString(u"@@Aa"));
    EXPECT_EQ(Text(dlg, CManualCommandDialog::kParametersId), CString(u"FFFFFF"));
    EXPECT_EQ(Text(dlg, CManualCommandDialog::kChecksumId), CString(u"DF"));

    // Typing into the parameters recomputes the checksum at each change.
    dlg.SetDlgItemTextW(CManualCommandDialog::kParametersId, u"0C0000");
    EXPECT_EQ(Text(dlg, CManualCommandDialog::kChecksumId), CString(u"2C"));
    Command(dlg, CManualCommandDialog::kSendId);
    const std::vector<SentCommand> expected = {{u"@@Aa" + Bytes({0x0C, 0, 0}), false}};
    EXPECT_EQ(m_sender.sent, expected);
    EXPECT_TRUE(m_boxes.texts.empty());

    // Typed text that names no command becomes the prefix.
    dlg.SetDlgItemTextW(CManualCommandDialog::kCommandListId, u"@@Zz");
    Command(dlg, CManualCommandDialog::kCommandListId, CBN_EDITCHANGE);
    EXPECT_EQ(Text(dlg, CManualCommandDialog::kPrefixId), CString(u"@@Zz"));
    EXPECT_EQ(Text(dlg, CManualCommandDialog::kParametersId), CString());
    EXPECT_EQ(Text(dlg, CManualCommandDialog::kChecksumId), CString(u"20"));

    // "Close" only hides the modeless dialog.
    dlg.ShowWindow(SW_SHOW);
    Command(dlg, IDOK);
    EXPECT_NE(dlg.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(dlg.IsWindowVisible());
    dlg.DestroyWindow();
}

TEST_F(ReceiverDialogWindows, SatelliteSelectionValidatesTheEditsBeforeSending) {
    AppWriteProfileString(u"Manual Satellite Select", u"Data", u"0 12 1 0 0 0 0 0 0 0 0 0 0 0 0 0");
    CManualSatelliteSelect dlg(&m_sender, nullptr);
    ASSERT_TRUE(dlg.Create(CManualSatelliteSelect::IDD));
    EXPECT_EQ(Text(dlg, CManualSatelliteSelect::kIdEditIds[0]), CString(u"12"));
    EXPECT_TRUE(dlg.IsDlgButtonChecked(CManualSatelliteSelect::kFirstDisableId + 1));

    dlg.SetDlgItemTextW(CManualSatelliteSelect::kIdEditIds[7], u"38");
    Command(dlg, IDOK);
    EXPECT_TRUE(m_sender.sent.empty());
    EXPECT_EQ(m_boxes.texts.size(), 1u);
    EXPECT_EQ(Stored(u"Manual Satellite Select", u"Data"), CString(u"0 12 1 0 0 0 0 0 0 0 0 0 0 0 0 0"));

    dlg.SetDlgItemTextW(CManualSatelliteSelect::kIdEditIds[7], u"37");
    Command(dlg, IDOK);
    const std::vector<SentCommand> expected = {
        {u"@@Ah" + Bytes({0}), true},      {u"@@Ah" + Bytes({1}), false},
        {u"@@Ai" + Bytes({1, 12}), false}, {u"@@Ai" + Bytes({2, 0}), false},
        {u"@@Ai" + Bytes({8, 37}), false},
    };
    EXPECT_EQ(m_sender.sent, expected);
    EXPECT_EQ(Stored(u"Manual Satellite Select", u"Data"), CString(u"0 12 1 0 0 0 0 0 0 0 0 0 0 0 0 37"));

    Command(dlg, CManualSatelliteSelect::kClearAllId);
    EXPECT_EQ(Text(dlg, CManualSatelliteSelect::kIdEditIds[0]), CString(u"0"));
    EXPECT_FALSE(dlg.IsDlgButtonChecked(CManualSatelliteSelect::kFirstDisableId + 1));
    dlg.DestroyWindow();
}

TEST_F(ReceiverDialogWindows, ReceiverTypeShowsAndStoresTheRadioChoice) {
    AppWriteProfileInt(u"Oncore Id Dialog", u"Rx Type Index", 2);
    COncoreIdDialog dlg;
    ASSERT_TRUE(dlg.Create(COncoreIdDialog::IDD));
    EXPECT_TRUE(dlg.IsDlgButtonChecked(COncoreIdDialog::kChoiceIds[2]));
    dlg.CheckRadioButton(COncoreIdDialog::kChoiceIds[0], COncoreIdDialog::kChoiceIds[2], 0);
    dlg.CheckDlgButton(COncoreIdDialog::kChoiceIds[2], BST_UNCHECKED);
    dlg.CheckDlgButton(COncoreIdDialog::kChoiceIds[10], BST_CHECKED);
    Command(dlg, IDOK);
    EXPECT_EQ(StoredInt(u"Oncore Id Dialog", u"Rx Type Index"), 10);
    ReceiverIdentity id;
    ASSERT_TRUE(dlg.GetIdentity(id));
    EXPECT_EQ(id.activeChannels, 12);
    dlg.DestroyWindow();
}

TEST_F(ReceiverDialogWindows, PortDialogFollowsTheModeWithItsRatesAndStoresOnOk) {
    AppWriteProfileString(u"GPS Interface", u"COM Ports", u"COM1,COM10");
    AppWriteProfileString(u"GPS Interface", u"Port", u"COM10");
    AppWriteProfileString(u"GPS Interface", u"PEX Mode", u"Motorola Binary");
    AppWriteProfileInt(u"GPS Interface", u"Port Rate", 9);
    CPortDialog dlg;
    ASSERT_TRUE(dlg.Create(CPortDialog::IDD));

    EXPECT_EQ(dlg.SendDlgItemMessageW(CPortDialog::kPortListId, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(Text(dlg, CPortDialog::kPortListId), CString(u"COM10"));
    // 115200 is not offered in Motorola Binary: the mode's 9600 replaces it.
    EXPECT_TRUE(dlg.IsDlgButtonChecked(CPortDialog::kRateIds[4]));
    EXPECT_FALSE(dlg.GetDlgItem(CPortDialog::kRateIds[9])->IsWindowEnabled());
    EXPECT_TRUE(dlg.GetDlgItem(CPortDialog::kAutoRestartId)->IsWindowEnabled());

    ChooseMode(dlg, u"u-blox UBX");
    Command(dlg, CPortDialog::kModeListId, CBN_SELCHANGE);
    EXPECT_TRUE(dlg.IsDlgButtonChecked(CPortDialog::kRateIds[8]));
    EXPECT_FALSE(dlg.IsDlgButtonChecked(CPortDialog::kRateIds[4]));
    EXPECT_FALSE(dlg.GetDlgItem(CPortDialog::kRateIds[5])->IsWindowEnabled());
    EXPECT_TRUE(dlg.GetDlgItem(CPortDialog::kRateIds[3])->IsWindowEnabled());
    EXPECT_FALSE(dlg.GetDlgItem(CPortDialog::kAutoRestartId)->IsWindowEnabled());

    ChooseMode(dlg, u"Search");
    Command(dlg, CPortDialog::kModeListId, CBN_SELCHANGE);
    EXPECT_TRUE(dlg.IsDlgButtonChecked(CPortDialog::kRateIds[3]));
    for (UINT id : CPortDialog::kRateIds) {
        EXPECT_FALSE(dlg.GetDlgItem(static_cast<int>(id))->IsWindowEnabled());
    }

    ChooseMode(dlg, u"u-blox UBX");
    Command(dlg, CPortDialog::kModeListId, CBN_SELCHANGE);
    dlg.CheckRadioButton(CPortDialog::kPpsId, CPortDialog::kPpsId, CPortDialog::kPpsId);
    Command(dlg, IDOK);
    EXPECT_EQ(Stored(u"GPS Interface", u"PEX Mode"), CString(u"u-blox UBX"));
    EXPECT_EQ(StoredInt(u"GPS Interface", u"Port Rate"), 8);
    EXPECT_EQ(StoredInt(u"GPS Interface", u"1PPS Interface"), 0);
    EXPECT_EQ(Stored(u"GPS Interface", u"Port"), CString(u"COM10"));
    EXPECT_EQ(Stored(u"GPS Interface", u"COM Ports"), CString(u"TCP/IP,COM1,COM10"));
    EXPECT_EQ(dlg.GetInterfaceMode(), kModeUbloxUbx);
    dlg.DestroyWindow();
}

TEST_F(ReceiverDialogWindows, PortDialogCancelLeavesTheEarlierModeRateAndAutoRestart) {
    AppWriteProfileString(u"GPS Interface", u"COM Ports", u"COM1");
    AppWriteProfileString(u"GPS Interface", u"PEX Mode", u"Motorola Binary");
    AppWriteProfileInt(u"GPS Interface", u"Port Rate", 4);
    AppWriteProfileInt(u"GPS Interface", u"gps_auto_restart", 1);
    {
        CPortDialog dlg;
        ASSERT_TRUE(dlg.Create(CPortDialog::IDD));
        ChooseMode(dlg, u"u-blox UBX");
        Command(dlg, CPortDialog::kModeListId, CBN_SELCHANGE);
        EXPECT_TRUE(dlg.IsDlgButtonChecked(CPortDialog::kRateIds[8]));
        Command(dlg, IDCANCEL);
        EXPECT_EQ(dlg.GetInterfaceMode(), kModeMotorolaBinary);
        EXPECT_EQ(dlg.GetBaudRate(), 9600u);
        EXPECT_TRUE(dlg.GetAutoRestart());
        dlg.DestroyWindow();
    }
    // What the object stores when it goes.
    EXPECT_EQ(Stored(u"GPS Interface", u"PEX Mode"), CString(u"Motorola Binary"));
    EXPECT_EQ(StoredInt(u"GPS Interface", u"Port Rate"), 4);
    EXPECT_EQ(StoredInt(u"GPS Interface", u"gps_auto_restart"), 1);
}

TEST_F(ReceiverDialogWindows, PortDialogKeepsTheStoredReceiverType) {
    AppWriteProfileString(u"GPS Interface", u"COM Ports", u"COM1");
    AppWriteProfileInt(u"Oncore Id Dialog", u"Rx Type Index", 10);
    CPortDialog dlg;
    ReceiverIdentity id;
    ASSERT_TRUE(dlg.GetReceiverIdentity(id));
    EXPECT_EQ(id.model, 3);
    EXPECT_EQ(id.activeChannels, 12);
}

TEST_F(ReceiverDialogWindows, ClockSettingsCheckTheirRangesBeforeAnythingIsStored) {
    AppWriteProfileInt(u"Time Sync", u"Time Sync Max Qty", 5);
    AppWriteProfileInt(u"Time Sync", u"Time Sync Max Units", 1);
    CSyncClockDialog dlg;
    ASSERT_TRUE(dlg.Create(CSyncClockDialog::IDD));
    EXPECT_EQ(Text(dlg, CSyncClockDialog::kMaxQtyId), CString(u"5"));
    EXPECT_EQ(Text(dlg, CSyncClockDialog::kMaxUnitsId), CString(u"Minute(s)"));
    EXPECT_FALSE(dlg.GetDlgItem(CSyncClockDialog::kMaxQtyId)->IsWindowEnabled());
    dlg.CheckDlgButton(CSyncClockDialog::kMaxOnId, BST_CHECKED);
    Command(dlg, CSyncClockDialog::kMaxOnId);
    EXPECT_TRUE(dlg.GetDlgItem(CSyncClockDialog::kMaxQtyId)->IsWindowEnabled());
    EXPECT_TRUE(dlg.GetDlgItem(CSyncClockDialog::kMaxUnitsId)->IsWindowEnabled());

    dlg.SetDlgItemTextW(CSyncClockDialog::kDeltaMsId, u"5");
    Command(dlg, IDOK);
    EXPECT_EQ(m_boxes.texts.size(), 1u);
    EXPECT_EQ(Stored(u"Time Sync", u"Time Sync Delta Msec"), CString(u"<none>"));
    EXPECT_EQ(Stored(u"Time Sync", u"Time Sync Max On"), CString(u"<none>"));

    dlg.SetDlgItemTextW(CSyncClockDialog::kDeltaMsId, u"250");
    dlg.CheckRadioButton(CSyncClockDialog::kFirstModeId, CSyncClockDialog::kFirstModeId + 5,
                         CSyncClockDialog::kFirstModeId + 3);
    Command(dlg, IDOK);
    EXPECT_EQ(StoredInt(u"Time Sync", u"Time Sync Mode"), CSyncClockDialog::kEveryMinute);
    EXPECT_EQ(StoredInt(u"Time Sync", u"Time Sync Delta Msec"), 250);
    EXPECT_EQ(StoredInt(u"Time Sync", u"Time Sync Max On"), 1);
    EXPECT_EQ(dlg.GetMaxCorrectionSeconds(), 300);

    dlg.NoteClockSet(u"12:00:00");
    EXPECT_EQ(Text(dlg, CSyncClockDialog::kLastSyncId), CString(u"12:00:00"));
    EXPECT_EQ(Text(dlg, CSyncClockDialog::kResetCountId), CString(u"1"));
    dlg.DestroyWindow();
}

TEST_F(ReceiverDialogWindows, ClockSettingsChangeOnlyOnOkAndOpenAsStored) {
    CSyncClockDialog dlg;
    dlg.m_overrideTraim = TRUE; // left over: the opening shows what is stored
    ASSERT_TRUE(dlg.Create(CSyncClockDialog::IDD));
    EXPECT_FALSE(dlg.IsDlgButtonChecked(CSyncClockDialog::kOverrideTraimId));
    EXPECT_FALSE(dlg.m_overrideTraim);

    // "Activate", then an OK refused for its quantity, then Cancel: the clock setting never sees the
    // overrides the controls show.
    dlg.CheckDlgButton(CSyncClockDialog::kOverrideTraimId, BST_CHECKED);
    dlg.CheckDlgButton(CSyncClockDialog::kOverrideIntegrityId, BST_CHECKED);
    dlg.CheckDlgButton(CSyncClockDialog::kMaxOnId, BST_CHECKED);
    Command(dlg, CSyncClockDialog::kMaxOnId);
    EXPECT_TRUE(dlg.GetDlgItem(CSyncClockDialog::kMaxQtyId)->IsWindowEnabled());
    EXPECT_FALSE(dlg.m_overrideTraim);
    EXPECT_FALSE(dlg.m_overrideIntegrity);
    dlg.SetDlgItemTextW(CSyncClockDialog::kMaxQtyId, u"1000");
    Command(dlg, IDOK);
    EXPECT_EQ(m_boxes.texts.size(), 1u);
    EXPECT_FALSE(dlg.m_overrideTraim);
    EXPECT_FALSE(dlg.m_overrideIntegrity);
    EXPECT_FALSE(dlg.m_maxOn);
    Command(dlg, IDCANCEL);
    EXPECT_FALSE(dlg.m_overrideTraim);
    EXPECT_FALSE(dlg.m_overrideIntegrity);
    EXPECT_EQ(dlg.m_maxQty, 1u);
    EXPECT_EQ(dlg.GetMaxCorrectionSeconds(), 0);
    EXPECT_EQ(Stored(u"Time Sync", u"Time Sync Override TRAIM"), CString(u"<none>"));
    dlg.DestroyWindow();
}

TEST_F(ReceiverDialogWindows, LogTypeOffersTheKindsOfTheLinkAndTakesTheInterval) {
    g_interfaceMode = kModeGenericNmea;
    CLogType dlg;
    dlg.m_logKind = CLogType::kBinaryData;
    ASSERT_TRUE(dlg.Create(CLogType::IDD));
    dlg.SetCaption(u"Open GPS Log Type");
    CString caption;
    dlg.GetWindowTextW(caption);
    EXPECT_EQ(caption, CString(u"Open GPS Log Type"));
    EXPECT_FALSE(dlg.GetDlgItem(CLogType::kBinaryId)->IsWindowEnabled());
    EXPECT_FALSE(dlg.GetDlgItem(CLogType::kRinexId)->IsWindowEnabled());
    EXPECT_TRUE(dlg.IsDlgButtonChecked(CLogType::kBinaryId));
    EXPECT_EQ(dlg.SendDlgItemMessageW(CLogType::kIntervalId, CB_GETCOUNT, 0, 0), CLogType::kIntervalCount);

    dlg.SendDlgItemMessageW(CLogType::kIntervalId, CB_SETCURSEL, 8, 0);
    Command(dlg, IDOK);
    EXPECT_EQ(dlg.m_logInterval, 15);
    dlg.DestroyWindow();
}

// The centre of a dialog item in the dialog's client coordinates, as WM_PARENTNOTIFY carries it.
LPARAM ItemCentre(CWnd& dlg, UINT id) {
    RECT r{};
    ::GetWindowRect(dlg.GetDlgItem(static_cast<int>(id))->m_hWnd, &r);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ::ScreenToClient(dlg.m_hWnd, &p);
    return MAKELPARAM(p.x, p.y);
}

TEST_F(ReceiverDialogWindows, TimingRecalculatesAfterAFieldIsLeftUnlessCancelWasClicked) {
    g_receiverIdentity.model = 10;
    g_receiverIdentity.hasTraim = TRUE;
    CTimingDialog dlg;
    ASSERT_TRUE(dlg.Create(CTimingDialog::IDD));
    EXPECT_EQ(Text(dlg, CTimingDialog::kTotalLateId), CString(u"1000000"));

    dlg.SetDlgItemTextW(CTimingDialog::kEpochId, u"1");
    dlg.SetDlgItemTextW(CTimingDialog::kPpsOffsetId, u"0.5");
    Command(dlg, CTimingDialog::kPpsOffsetId, EN_KILLFOCUS);
    EXPECT_EQ(Text(dlg, CTimingDialog::kTotalEarlyId), CString(u"0")); // posted, not yet handled
    Pump();
    EXPECT_EQ(Text(dlg, CTimingDialog::kTotalEarlyId), CString(u"-998999.5"));
    EXPECT_EQ(Text(dlg, CTimingDialog::kTotalLateId), CString(u"1000.5"));

    // A press on Cancel reaches the dialog before the edit loses the focus: that one recalculation is
    // skipped.
    dlg.SetDlgItemTextW(CTimingDialog::kRxDelayId, u"25.37");
    dlg.SendMessageW(WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, 0), ItemCentre(dlg, IDCANCEL));
    Command(dlg, CTimingDialog::kRxDelayId, EN_KILLFOCUS);
    Pump();
    EXPECT_EQ(Text(dlg, CTimingDialog::kRxDelayId), CString(u"25.37"));
    Command(dlg, CTimingDialog::kRxDelayId, EN_KILLFOCUS);
    Pump();
    EXPECT_EQ(Text(dlg, CTimingDialog::kRxDelayId), CString(u"25.3"));
    EXPECT_EQ(Text(dlg, CTimingDialog::kUtcCorrectionId), CString(u"25"));

    // A spin step works on the fine offset and keeps the totals in order.
    NMUPDOWN step{};
    step.hdr.hwndFrom = dlg.GetDlgItem(CTimingDialog::kEpochSpinId)->m_hWnd;
    step.hdr.idFrom = CTimingDialog::kEpochSpinId;
    step.hdr.code = UDN_DELTAPOS;
    step.iDelta = 1;
    dlg.SendMessageW(WM_NOTIFY, CTimingDialog::kEpochSpinId, reinterpret_cast<LPARAM>(&step));
    EXPECT_EQ(Text(dlg, CTimingDialog::kEpochId), CString(u"2"));
    EXPECT_EQ(Text(dlg, CTimingDialog::kTotalEarlyId), CString(u"-997999.5"));

    // Out of range: the message, and nothing stored.
    dlg.SetDlgItemTextW(CTimingDialog::kEpochId, u"5000");
    Command(dlg, IDOK);
    EXPECT_EQ(m_boxes.texts.size(), 1u);
    EXPECT_EQ(Stored(u"Timing Adjustments", u"Epoch"), CString(u"<none>"));
    dlg.SetDlgItemTextW(CTimingDialog::kEpochId, u"2");
    Command(dlg, IDOK);
    EXPECT_EQ(StoredInt(u"Timing Adjustments", u"Epoch"), 2);
    EXPECT_EQ(Stored(u"Timing Adjustments", u"Rx Delay"), CString(u"25.3"));
    dlg.DestroyWindow();
}

TEST_F(ReceiverDialogWindows, TimingOpensWithWhatTheReceiverLacksDisabled) {
    g_receiverIdentity.model = 1;
    g_receiverIdentity.hasTraim = FALSE;
    AppWriteProfileInt(u"Timing Adjustments", u"T-Raim Conditioned 1pps", 1);
    CTimingDialog dlg;
    ASSERT_TRUE(dlg.Create(CTimingDialog::IDD));
    EXPECT_FALSE(dlg.GetDlgItem(IDOK)->IsWindowEnabled());
    EXPECT_FALSE(dlg.GetDlgItem(CTimingDialog::kTraimLimitId)->IsWindowEnabled());
    EXPECT_FALSE(dlg.GetDlgItem(CTimingDialog::kTraimConditionedId)->IsWindowEnabled());
    EXPECT_FALSE(dlg.IsDlgButtonChecked(CTimingDialog::kTraimConditionedId));
    EXPECT_FALSE(dlg.GetDlgItem(CTimingDialog::kQuantizationGroupId)->IsWindowVisible());
    Command(dlg, IDCANCEL);
    EXPECT_EQ(dlg.m_traimConditioned, TRUE); // Cancel restores the opening's values
    dlg.DestroyWindow();
}

TEST_F(ReceiverDialogWindows, CoaxCalculatorRefusesAnUnknownCableAndStoresOnlyValidInputs) {
    CCoaxDelayCalculator dlg;
    dlg.m_section = u"Antenna Coax Calculator";
    ASSERT_TRUE(dlg.Create(CCoaxDelayCalculator::IDD));
    EXPECT_EQ(dlg.SendDlgItemMessageW(CCoaxDelayCalculator::kVelocity1Id, CB_GETCOUNT, 0, 0), 35);
    dlg.SetDlgItemTextW(CCoaxDelayCalculator::kLength1Id, u"100");
    Choose(dlg, CCoaxDelayCalculator::kDimension1Id, u"Feet");
    dlg.SetDlgItemTextW(CCoaxDelayCalculator::kVelocity1Id, u"1.5");
    Command(dlg, IDOK);
    ASSERT_EQ(m_boxes.texts.size(), 1u);
    EXPECT_EQ(m_boxes.texts[0], CCoaxDelayCalculator::kVelocityMessage);
    EXPECT_EQ(Stored(u"Antenna Coax Calculator", u"VelocityFactor_1"), CString(u"<none>"));

    dlg.SetDlgItemTextW(CCoaxDelayCalculator::kVelocity1Id, u"RG-58A/U");
    Command(dlg, CCoaxDelayCalculator::kVelocity1Id, CBN_KILLFOCUS);
    Pump();
    EXPECT_EQ(Text(dlg, CCoaxDelayCalculator::kDelay1Id), CString(u"154.2"));
    Command(dlg, IDOK);
    EXPECT_DOUBLE_EQ(dlg.m_totalDelay, 154.2);
    EXPECT_EQ(Stored(u"Antenna Coax Calculator", u"VelocityFactor_1"), CString(u"RG-58A/U"));
    EXPECT_EQ(Stored(u"Antenna Coax Calculator", u"Dimension_1"), CString(u"Feet"));
    dlg.DestroyWindow();
}

TEST_F(ReceiverDialogWindows, ReferenceLocationParsesLeftFieldsAndKeepsTheDatabaseList) {
    CReferencePositionDialog dlg;
    dlg.m_locLatitude = 10;
    ASSERT_TRUE(dlg.Create(CReferencePositionDialog::IDD));
    EXPECT_EQ(Text(dlg, CReferencePositionDialog::kLatitudeId), CString(u"10.0000000\u00B0"));

    dlg.SetDlgItemTextW(CReferencePositionDialog::kLatitudeId, u"51 30 N");
    Command(dlg, CReferencePositionDialog::kLatitudeId, EN_KILLFOCUS);
    Pump();
    EXPECT_EQ(Text(dlg, CReferencePositionDialog::kLatitudeId), CString(u"51.5000000\u00B0"));
    EXPECT_DOUBLE_EQ(dlg.m_locLatitude, 51.5);

    // Leaving a bad field for Cancel shows nothing; leaving it for anything else shows the message.
    dlg.SetDlgItemTextW(CReferencePositionDialog::kLongitudeId, u"181");
    dlg.SendMessageW(WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, 0), ItemCentre(dlg, IDCANCEL));
    Command(dlg, CReferencePositionDialog::kLongitudeId, EN_KILLFOCUS);
    Pump();
    EXPECT_TRUE(m_boxes.texts.empty());
    EXPECT_TRUE(dlg.m_recalcArmed);
    Command(dlg, CReferencePositionDialog::kLongitudeId, EN_KILLFOCUS);
    Pump();
    ASSERT_EQ(m_boxes.texts.size(), 1u);
    EXPECT_EQ(m_boxes.texts[0], u"Degrees field out of range.");

    dlg.SetDlgItemTextW(CReferencePositionDialog::kLongitudeId, u"-0.25");
    dlg.SetDlgItemTextW(CReferencePositionDialog::kLocationComboId, u"Home2");
    Command(dlg, CReferencePositionDialog::kSaveId);
    dlg.SetDlgItemTextW(CReferencePositionDialog::kLocationComboId, u"Home");
    Command(dlg, CReferencePositionDialog::kSaveId);
    EXPECT_EQ(dlg.SendDlgItemMessageW(CReferencePositionDialog::kLocationComboId, CB_GETCOUNT, 0, 0), 2);

    dlg.SetDlgItemTextW(CReferencePositionDialog::kLatitudeId, u"0");
    Command(dlg, CReferencePositionDialog::kLatitudeId, EN_KILLFOCUS);
    Pump();
    Choose(dlg, CReferencePositionDialog::kLocationComboId, u"Home2");
    Command(dlg, CReferencePositionDialog::kLocationComboId, CBN_SELCHANGE);
    EXPECT_DOUBLE_EQ(dlg.m_locLatitude, 51.5);
    EXPECT_EQ(Text(dlg, CReferencePositionDialog::kLatitudeId), CString(u"51.5000000\u00B0"));

    Command(dlg, CReferencePositionDialog::kRemoveId);
    EXPECT_EQ(dlg.SendDlgItemMessageW(CReferencePositionDialog::kLocationComboId, CB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(CReferencePositionDialog::StoredLocationNames(), std::vector<CString>{CString(u"Home")});
    dlg.DestroyWindow();
}

TEST_F(ReceiverDialogWindows, ReferenceLocationRemovesTheChosenEntryAndOkSavesUnderTheTypedName) {
    AppWriteProfileString(CReferencePositionDialog::kDatabaseSection, u"Home", u"1 2 3 4");
    AppWriteProfileString(CReferencePositionDialog::kDatabaseSection, u"Work", u"5 6 7 8");
    CReferencePositionDialog dlg;
    ASSERT_TRUE(dlg.Create(CReferencePositionDialog::IDD));
    const UINT combo = CReferencePositionDialog::kLocationComboId;

    // Typing over the chosen name leaves the choice: Remove takes the chosen entry.
    Choose(dlg, combo, u"Home");
    dlg.GetDlgItem(combo)->SetFocus();
    dlg.SendDlgItemMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    DisplayInjectText(u"Work");
    Pump();
    EXPECT_EQ(Text(dlg, combo), CString(u"Work"));
    Command(dlg, CReferencePositionDialog::kRemoveId);
    EXPECT_EQ(CReferencePositionDialog::StoredLocationNames(), std::vector<CString>{CString(u"Work")});
    EXPECT_EQ(dlg.SendDlgItemMessageW(combo, CB_GETCOUNT, 0, 0), 1);

    // A listed name the database no longer holds is reported and leaves the list all the same.
    dlg.SendDlgItemMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Gone"));
    Choose(dlg, combo, u"Gone");
    Command(dlg, CReferencePositionDialog::kRemoveId);
    EXPECT_EQ(m_boxes.texts, std::vector<std::u16string>{u"No such item in the database."});
    EXPECT_EQ(dlg.SendDlgItemMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(u"Gone")),
              CB_ERR);

    // OK saves the location under the name typed, and lists it.
    dlg.SetDlgItemTextW(combo, u"Trip");
    Command(dlg, IDOK);
    EXPECT_EQ(CReferencePositionDialog::StoredLocationNames(),
              (std::vector<CString>{CString(u"Work"), CString(u"Trip")}));
    EXPECT_EQ(Stored(CReferencePositionDialog::kDatabaseSection, u"Trip"), dlg.LocationRecord());
    dlg.DestroyWindow();
}

TEST_F(ReceiverDialogWindows, ReceiverParametersEnableWhatTheReceiverDoesAndWarnBefore100Pps) {
    g_receiverIdentity.model = 1; // GT, firmware 1.5
    g_receiverIdentity.firmwareVersion = 1.5f;
    CGpsRxModeSelect dlg;
    ASSERT_TRUE(dlg.Create(CGpsRxModeSelect::IDD));
    CWnd* grid = dlg.GetDlgItem(CGpsRxModeSelect::kSatelliteGridId);
    ASSERT_NE(grid, nullptr);
    WCHAR className[32] = {};
    ::GetClassNameW(grid->m_hWnd, className, 32);
    EXPECT_EQ(std::u16string(className), u"CSatEnableGridWnd");
    EXPECT_FALSE(dlg.GetDlgItem(CGpsRxModeSelect::kElevationMaskId)->IsWindowEnabled());
    EXPECT_EQ(Text(dlg, CGpsRxModeSelect::kElevationMaskId), CString(u"10"));
    EXPECT_FALSE(dlg.GetDlgItem(CGpsRxModeSelect::kIonoEnabledId)->IsWindowEnabled());
    EXPECT_TRUE(dlg.IsDlgButtonChecked(CGpsRxModeSelect::kIonoDisabledId));
    EXPECT_FALSE(dlg.GetDlgItem(CGpsRxModeSelect::kDisableAllId)->IsWindowEnabled());
    EXPECT_TRUE(dlg.GetDlgItem(IDOK)->IsWindowEnabled());

    // Answering No to the 100 PPS warning goes back to 1 PPS.
    const MessageBoxResponder previous = DisplaySetMessageBoxResponder(
        [](HWND, const std::u16string&, const std::u16string&, UINT) { return IDNO; });
    dlg.CheckRadioButton(CGpsRxModeSelect::kOnePpsId, CGpsRxModeSelect::kHundredPpsId,
                         CGpsRxModeSelect::kHundredPpsId);
    Command(dlg, CGpsRxModeSelect::kHundredPpsId);
    DisplaySetMessageBoxResponder(previous);
    EXPECT_TRUE(dlg.IsDlgButtonChecked(CGpsRxModeSelect::kOnePpsId));
    EXPECT_EQ(dlg.m_pulseMode, 0);

    dlg.SetDlgItemTextW(CGpsRxModeSelect::kDgpsRateId, u"300");
    Command(dlg, IDOK);
    EXPECT_EQ(m_boxes.texts.size(), 1u);
    EXPECT_EQ(Stored(u"GPS Rx Settings", u"DGPS Rate"), CString(u"<none>"));
    dlg.SetDlgItemTextW(CGpsRxModeSelect::kDgpsRateId, u"20");
    Command(dlg, IDOK);
    EXPECT_EQ(StoredInt(u"GPS Rx Settings", u"DGPS Rate"), 20);
    EXPECT_EQ(StoredInt(u"GPS Rx Settings", u"Elevation Mask"), 10);
    dlg.DestroyWindow();
}

TEST_F(ReceiverDialogWindows, ReceiverParametersCannotBeConfirmedForGenericNmea) {
    g_interfaceMode = kModeGenericNmea;
    g_receiverIdentity.model = kModelGenericNmea;
    CGpsRxModeSelect dlg;
    ASSERT_TRUE(dlg.Create(CGpsRxModeSelect::IDD));
    EXPECT_FALSE(dlg.GetDlgItem(IDOK)->IsWindowEnabled());
    EXPECT_FALSE(dlg.GetDlgItem(CGpsRxModeSelect::kGpsMode0DId)->IsWindowEnabled());
    dlg.DestroyWindow();
}

// The view's side of the uploads, for a run that must not reach the receiver.
class SilentUploadHost : public FirmwareUploadHost {
public:
    void SendGpsCommand(const CString& command) override { sent.push_back(command.str()); }
    BOOL SendGpsCommandAndWait(const CString& command) override {
        sent.push_back(command.str());
        return FALSE;
    }
    BOOL SetCommBaudRate(DWORD) override { return TRUE; }
    CString DecodeUbxMessage(const CString&) override { return {}; }
    void AddRawDataLine(const CString&) override { linesWhileRunning.push_back(running); }
    int ShowMessageBox(const CString&, UINT) override { return IDOK; }
    void SetProgress(int) override {}
    void SetUbxUploadRunning(BOOL) override {}
    void SetUploadRunning(BOOL value) override { running = value; }
    std::vector<std::u16string> sent;
    BOOL running = FALSE;
    // For each echoed line, whether the upload counted as running.
    std::vector<BOOL> linesWhileRunning;
};

class CancelledChoiceUpload : public CGpsRxUpld {
public:
    using CGpsRxUpld::CGpsRxUpld;

protected:
    CString ChooseFile(bool) override { return {}; }
};

TEST_F(ReceiverDialogWindows, FirmwareUploadWithoutAFileSendsNothingAndEndsTheDialog) {
    SilentUploadHost host;
    CancelledChoiceUpload dlg(host);
    ASSERT_TRUE(dlg.Create(CGpsRxUpld::IDD));
    dlg.ShowWindow(SW_SHOW);
    dlg.SetProgress(40);
    EXPECT_EQ(dlg.SendDlgItemMessageW(CGpsRxUpld::kProgressId, PBM_GETPOS, 0, 0), 40);
    Command(dlg, CGpsRxUpld::kProcessorUploadId);
    EXPECT_TRUE(host.sent.empty());
    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_TRUE(dlg.GetDlgItem(CGpsRxUpld::kProcessorUploadId)->IsWindowEnabled());
    dlg.DestroyWindow();
}

TEST_F(ReceiverDialogWindows, FirmwareUploadCountsAsRunningWhileItsLinesAreEchoed) {
    SilentUploadHost host;
    CancelledChoiceUpload dlg(host);
    ASSERT_TRUE(dlg.Create(CGpsRxUpld::IDD));
    // The engine procedure reports and reboots the engine even without a file.
    Command(dlg, CGpsRxUpld::kEngineUploadId);
    EXPECT_EQ(host.linesWhileRunning, (std::vector<BOOL>{TRUE, TRUE}));
    EXPECT_FALSE(host.running);
    dlg.DestroyWindow();
}

} // namespace
