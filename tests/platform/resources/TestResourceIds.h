/* Ids shared by the test resource script and the tests; plain #defines so the script can include it. */
#ifndef TEST_RESOURCE_IDS_H
#define TEST_RESOURCE_IDS_H

#define IDS_FIRST 1
#define IDS_BLOCK_END 15
#define IDS_NEXT_BLOCK 16
#define IDS_FAR 20655
#define IDS_UNICODE 121

#define IDR_MAINFRAME 112
#define ID_FILE_EXIT 0xE141
#define ID_VIEW_GRID 33513
#define ID_VIEW_CHART 33515

#define IDD_SETUP 131
#define IDD_CLASSIC 132
#define IDC_NAME_EDIT 1001
#define IDC_MODE_COMBO 1002
#define IDC_GRID 1118
#define IDC_PLOT 1157

#define IDB_TOOLS 20525
#define IDI_APP 0x97
#define IDC_HAND_CURSOR 156

#endif
