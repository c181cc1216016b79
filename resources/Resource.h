// Resource ids of the program: templates, menus, strings, icons, status panes, controls and commands.
// Shared by the resource script and the code; plain #defines so that the script's preprocessor reads them.
#pragma once

// Dialog templates.
#define IDD_ABOUTBOX 100
#define IDD_PEX32_FORM 101
#define IDD_PORT_DIALOG 114
#define IDD_RXID_STRING 115
#define IDD_GPS_NAV 129
#define IDD_REFERENCE_POSITION 130
#define IDD_TIMING 131
#define IDD_COAX_CALCULATOR 132
#define IDD_RX_MODE_SELECT 133
#define IDD_SYNC_CLOCK 134
#define IDD_LOG_TYPE 135
#define IDD_SKY_PLOT 138
#define IDD_MANUAL_COMMAND 139
#define IDD_GPS_RAW 146
#define IDD_SAT_SELECT 148
#define IDD_ONCORE_ID 149
#define IDD_FIRMWARE_UPLOAD 160

// The document template: menu, accelerators, toolbar, program icon and its string.
#define IDR_MAINFRAME 112
// The hyperlink control's context menu.
#define IDR_HLINK_MENU 158

// Strings.
#define IDS_DOC_EXTENSION 107
#define IDS_VERSION 121
// The satellites grid's sort buttons: control ids and their names.
#define IDS_SAT_SORT_BUTTON_1 116
#define IDS_SAT_SORT_BUTTON_2 117
#define IDS_SAT_SORT_BUTTON_3 118
#define IDS_SAT_SORT_BUTTON_4 119

// Icons and cursors.
#define IDI_IDLE_TICK 0x97
#define IDI_TICK 0x98
#define IDC_HAND_CURSOR 156

// Status-bar panes (indicator ids; no string exists for them, so they start empty).
#define ID_INDICATOR_TICK 102
#define ID_INDICATOR_STATUS_TEXT 143
#define ID_INDICATOR_ANTENNA 144
#define ID_INDICATOR_RX_MODE 145

// Controls of the main form.
#define IDC_CLOCK 1000
#define IDC_UTC_INFO 1011
#define IDC_LATENCY 1013
#define IDC_PC_TIME 1015
#define IDC_SIDEREAL 1018
#define IDC_GRID_SQUARE 1037
#define IDC_RX_STATUS 1040
#define IDC_SATS_GRID 1058
#define IDC_TIC_GROUP 1171
#define IDC_LATITUDE 1214
#define IDC_LONGITUDE 1215
#define IDC_ALT_GPS 1218
#define IDC_ALT_MSL 1219

// Controls of the About box.
#define IDC_ABOUT_VERSION 1178
#define IDC_LINK_1 1234
#define IDC_LINK_2 1235
#define IDC_LINK_3 1237
#define IDC_LINK_4 1240
#define IDC_LINK_5 1241

// Controls of the raw-data, receiver-ID and sky-plot windows.
#define IDC_RAW_DATA_EDIT 1001
#define IDC_RXID_EDIT 1016
#define IDC_SKY_PLOT 1157
#define IDC_RESET_HORIZON 1175

// Menu commands of the view.
#define ID_VIEW_RAW_DATA 33501
#define ID_VIEW_RX_ID 33502
#define ID_FORMAT_DEGREES 33503
#define ID_FORMAT_MINUTES 33504
#define ID_FORMAT_SECONDS 33505
#define ID_SOUND_ALL 33506
#define ID_REFERENCE_FROM_AVERAGE 33507
#define ID_REFERENCE_FROM_CURRENT 33508
#define ID_AVERAGING_PARAMETERS 33509
#define ID_SET_RX_INTERFACE 33510
#define ID_VIEW_UNUSED_33511 33511
#define ID_REFERENCE_MANUAL 33512
#define ID_SET_TIMING 33513
#define ID_SET_RX_PARAMETERS 33515
#define ID_LOG_NEW 33516
#define ID_LOG_OPEN 33517
#define ID_LOG_CLOSE 33519
#define ID_SOUND_OOL_ONLY 33520
#define ID_SOUND_NONE 33521
#define ID_SET_PC_CLOCK 33522
#define ID_SOUND_TICKS_ONLY 33523
#define ID_VIEW_SKY_CHART 33524
#define ID_MANUAL_COMMANDS 33525
#define ID_VIEW_UNUSED_33526 33526
#define ID_VIEW_UNUSED_33527 33527
#define ID_VIEW_UNUSED_33528 33528
#define ID_VIEW_UNUSED_33530 33530
#define ID_VIEW_UNUSED_33531 33531
#define ID_RX_SELF_TEST 33532
#define ID_RX_SELF_SURVEY 33533
#define ID_MANUAL_SAT_SELECT 33535
#define ID_CLOCK_UTC 33540
#define ID_CLOCK_PC 33541
#define ID_CLOCK_GMST 33542
#define ID_CLOCK_LMST 33543
#define ID_CLOCK_PC_MINUS_UTC 33544
#define ID_VIEW_UNUSED_33545 33545
#define ID_CLOCK_MJD 33550
#define ID_VIEW_UNUSED_33554 33554
#define ID_SEND_FIRMWARE 33555

// Commands of the frame that no menu shows.
#define ID_FRAME_UNUSED_33537 33537
#define ID_FRAME_UNUSED_33538 33538
#define ID_FRAME_UNUSED_33539 33539

// Commands of the hyperlink control's context menu.
#define ID_HLINK_OPEN 33546
#define ID_HLINK_COPY_SHORTCUT 33547
