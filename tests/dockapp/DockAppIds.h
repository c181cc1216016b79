/* Ids of the docking test application's resource script; plain #defines so the script can include it. */
#ifndef DOCK_APP_IDS_H
#define DOCK_APP_IDS_H

#define IDD_DOCK_CONTROLS 300
#define IDC_DOCK_PORT 3001
#define IDC_DOCK_CONNECT 3002
#define IDC_DOCK_RATE 3003

#endif
