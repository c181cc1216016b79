/* Ids of the framework dialog tests' resource script; plain #defines so the script can include it. */
#ifndef DIALOG_TEST_IDS_H
#define DIALOG_TEST_IDS_H

#define IDD_EXCHANGE 200
#define IDD_SHOWCASE 201
#define IDD_FORM 202
#define IDD_PAGE_NAME 203
#define IDD_PAGE_NUMBER 204
#define IDD_PAGE_NOTES 205

#define IDC_TEXT 1000
#define IDC_INT 1001
#define IDC_UINT 1002
#define IDC_LONG 1003
#define IDC_BYTE 1004
#define IDC_SHORT 1005
#define IDC_FLOAT 1006
#define IDC_DOUBLE 1007
#define IDC_CHECK 1010
#define IDC_RADIO1 1011
#define IDC_RADIO2 1012
#define IDC_RADIO3 1013
#define IDC_COMBO_LIST 1020
#define IDC_COMBO_EDIT 1021
#define IDC_LIST 1022
#define IDC_SCROLL 1023
#define IDC_SPIN 1024
#define IDC_PROGRESS 1025
#define IDC_OWNERLIST 1026
#define IDC_SAT_ICON 1027

#endif
