// System metrics and parameters with the classic values (a 1280x1024 screen when headless, the real screen
// size under a display), and the system-colour brushes.
#pragma once

#include "platform/base/WindowTypes.h"
#include "platform/display/SystemColors.h"
#include "platform/display/WindowConstants.h"
#include "platform/gdi/GdiTypes.h"

#define SPI_GETBEEP 0x0001
#define SPI_GETMOUSE 0x0003
#define SPI_GETBORDER 0x0005
#define SPI_GETKEYBOARDSPEED 0x000A
#define SPI_ICONHORIZONTALSPACING 0x000D
#define SPI_GETSCREENSAVETIMEOUT 0x000E
#define SPI_GETSCREENSAVEACTIVE 0x0010
#define SPI_GETKEYBOARDDELAY 0x0016
#define SPI_ICONVERTICALSPACING 0x0018
#define SPI_GETICONTITLEWRAP 0x0019
#define SPI_GETMENUDROPALIGNMENT 0x001B
#define SPI_GETICONTITLELOGFONT 0x001F
#define SPI_GETFASTTASKSWITCH 0x0023
#define SPI_SETDRAGFULLWINDOWS 0x0025
#define SPI_GETDRAGFULLWINDOWS 0x0026
#define SPI_GETNONCLIENTMETRICS 0x0029
#define SPI_GETMINIMIZEDMETRICS 0x002B
#define SPI_GETICONMETRICS 0x002D
#define SPI_GETWORKAREA 0x0030
#define SPI_GETSHOWSOUNDS 0x0038
#define SPI_GETHIGHCONTRAST 0x0042
#define SPI_GETKEYBOARDPREF 0x0044
#define SPI_GETSCREENREADER 0x0046
#define SPI_GETFONTSMOOTHING 0x004A
#define SPI_GETMOUSEHOVERWIDTH 0x0062
#define SPI_GETMOUSEHOVERHEIGHT 0x0064
#define SPI_GETMOUSEHOVERTIME 0x0066
#define SPI_GETWHEELSCROLLLINES 0x0068
#define SPI_GETMENUSHOWDELAY 0x006A
#define SPI_GETMENUANIMATION 0x1002
#define SPI_GETCOMBOBOXANIMATION 0x1004
#define SPI_GETLISTBOXSMOOTHSCROLLING 0x1006
#define SPI_GETGRADIENTCAPTIONS 0x1008
#define SPI_GETKEYBOARDCUES 0x100A
#define SPI_GETMENUUNDERLINES SPI_GETKEYBOARDCUES
#define SPI_GETHOTTRACKING 0x100E
#define SPI_GETMENUFADE 0x1012
#define SPI_GETSELECTIONFADE 0x1014
#define SPI_GETTOOLTIPANIMATION 0x1016
#define SPI_GETTOOLTIPFADE 0x1018
#define SPI_GETCURSORSHADOW 0x101A
#define SPI_GETFLATMENU 0x1022
#define SPI_GETDROPSHADOW 0x1024
#define SPI_GETUIEFFECTS 0x103E
#define SPIF_UPDATEINIFILE 0x0001
#define SPIF_SENDWININICHANGE 0x0002
#define SPIF_SENDCHANGE SPIF_SENDWININICHANGE

typedef struct tagNONCLIENTMETRICSW {
    UINT cbSize;
    int iBorderWidth;
    int iScrollWidth;
    int iScrollHeight;
    int iCaptionWidth;
    int iCaptionHeight;
    LOGFONTW lfCaptionFont;
    int iSmCaptionWidth;
    int iSmCaptionHeight;
    LOGFONTW lfSmCaptionFont;
    int iMenuWidth;
    int iMenuHeight;
    LOGFONTW lfMenuFont;
    LOGFONTW lfStatusFont;
    LOGFONTW lfMessageFont;
    int iPaddedBorderWidth;
} NONCLIENTMETRICSW, *PNONCLIENTMETRICSW, *LPNONCLIENTMETRICSW, NONCLIENTMETRICS;

typedef struct tagICONMETRICSW {
    UINT cbSize;
    int iHorzSpacing;
    int iVertSpacing;
    int iTitleWrap;
    LOGFONTW lfFont;
} ICONMETRICSW, *PICONMETRICSW, *LPICONMETRICSW, ICONMETRICS;

int GetSystemMetrics(int index);
// SPI_GETNONCLIENTMETRICS accepts the record with or without its last member (the older, shorter size).
BOOL SystemParametersInfoW(UINT action, UINT uiParam, PVOID pvParam, UINT winIni);
// A brush of the system colour that behaves like a stock object. Changing the colours with SetSysColors
// changes the brushes answered from then on.
HBRUSH GetSysColorBrush(int index);

#define SystemParametersInfo SystemParametersInfoW
