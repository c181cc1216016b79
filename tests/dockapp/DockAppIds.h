/* Ids of the docking test application's resource script; plain #defines so the script can include it. */
#ifndef DOCK_APP_IDS_H
#define DOCK_APP_IDS_H

#define IDD_DOCK_CONTROLS 300
#define IDC_DOCK_PORT 3001
#define IDC_DOCK_CONNECT 3002
#define IDC_DOCK_RATE 3003

/* Commands of the menu bar and the toolbars. */
#define ID_DOCK_NEW 32800
#define ID_DOCK_OPEN 32801
#define ID_DOCK_SAVE 32802
#define ID_DOCK_CONNECT 32803
#define ID_DOCK_SURVEY 32804
#define ID_DOCK_SKY 32805
#define ID_DOCK_LOG 32806
#define ID_DOCK_CUSTOMIZE 32807
#define ID_DOCK_CUSTOMIZE_SHEET 32808
// The document windows: no resources of their own, each is titled when opened.
#define ID_DOCK_DOCUMENT 140
/* The properties pane: its title and accelerators, and the command they send. */
#define ID_DOCK_PROPERTIES 141
#define ID_DOCK_REFRESH 32820

#endif
