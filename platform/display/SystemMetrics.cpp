// System metrics, parameters and system-colour brushes with the classic values.
#include "platform/display/DisplayInternal.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiInternal.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace {

std::atomic<BOOL> dragFullWindows{FALSE};

LOGFONTW ClassicFont(bool bold) {
    LOGFONTW lf{};
    lf.lfHeight = -11; // 8 points at 96 pixels per inch
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    const char16_t face[] = u"MS Sans Serif";
    std::copy(std::begin(face), std::end(face), lf.lfFaceName);
    return lf;
}

template <class T>
BOOL Put(PVOID out, T value) {
    if (!out) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *static_cast<T*>(out) = value;
    return TRUE;
}

} // namespace

int GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
        return display_detail::Backend().ScreenSize().cx;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
        return display_detail::Backend().ScreenSize().cy;
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN:
        return 0;
    case SM_CXFULLSCREEN: {
        RECT work = display_detail::Backend().WorkArea();
        return work.right - work.left;
    }
    case SM_CYFULLSCREEN: {
        RECT work = display_detail::Backend().WorkArea();
        return work.bottom - work.top - 19;
    }
    case SM_CXMAXIMIZED: {
        RECT work = display_detail::Backend().WorkArea();
        return work.right - work.left + 8;
    }
    case SM_CYMAXIMIZED: {
        RECT work = display_detail::Backend().WorkArea();
        return work.bottom - work.top + 8;
    }
    case SM_CXMAXTRACK:
        return display_detail::Backend().ScreenSize().cx + 12;
    case SM_CYMAXTRACK:
        return display_detail::Backend().ScreenSize().cy + 12;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CYCAPTION:
    case SM_CYMENU:
        return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
    case SM_CXFOCUSBORDER:
    case SM_CYFOCUSBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CXFRAME:
    case SM_CYFRAME:
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG:
        return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXSIZE:
    case SM_CYSIZE:
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE:
        return 18;
    case SM_CYSMCAPTION:
        return 15;
    case SM_CXSMSIZE:
        return 12;
    case SM_CYSMSIZE:
        return 14;
    case SM_CXMIN:
    case SM_CXMINTRACK:
        return 112;
    case SM_CYMIN:
    case SM_CYMINTRACK:
        return 27;
    case SM_CXICONSPACING:
    case SM_CYICONSPACING:
        return 75;
    case SM_CXMINSPACING:
    case SM_CXMINIMIZED:
        return 160;
    case SM_CYMINSPACING:
    case SM_CYMINIMIZED:
        return 24;
    case SM_ARRANGE:
        return 8;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK:
        return 13;
    case SM_CMOUSEBUTTONS:
        return 3;
    case SM_MOUSEPRESENT:
    case SM_MOUSEWHEELPRESENT:
    case SM_CMONITORS:
    case SM_SAMEDISPLAYFORMAT:
    case SM_NETWORK:
        return 1;
    default:
        return 0;
    }
}

BOOL SystemParametersInfoW(UINT action, UINT uiParam, PVOID pvParam, UINT) {
    switch (action) {
    case SPI_GETWORKAREA:
        return Put(pvParam, display_detail::Backend().WorkArea());
    case SPI_GETNONCLIENTMETRICS: {
        auto* ncm = static_cast<NONCLIENTMETRICSW*>(pvParam);
        UINT older = sizeof(NONCLIENTMETRICSW) - sizeof(int);
        if (!ncm || (ncm->cbSize != sizeof(NONCLIENTMETRICSW) && ncm->cbSize != older)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        UINT size = ncm->cbSize;
        NONCLIENTMETRICSW m{};
        m.cbSize = size;
        m.iBorderWidth = 1;
        m.iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
        m.iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
        m.iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
        m.iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
        m.lfCaptionFont = ClassicFont(true);
        m.iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
        m.iSmCaptionHeight = GetSystemMetrics(SM_CYSMSIZE);
        m.lfSmCaptionFont = ClassicFont(true);
        m.iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
        m.iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
        m.lfMenuFont = ClassicFont(false);
        m.lfStatusFont = ClassicFont(false);
        m.lfMessageFont = ClassicFont(false);
        std::memcpy(ncm, &m, size);
        return TRUE;
    }
    case SPI_GETICONTITLELOGFONT:
        return Put(pvParam, ClassicFont(false));
    case SPI_GETICONMETRICS: {
        auto* im = static_cast<ICONMETRICSW*>(pvParam);
        if (!im || im->cbSize != sizeof(ICONMETRICSW)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        im->iHorzSpacing = GetSystemMetrics(SM_CXICONSPACING);
        im->iVertSpacing = GetSystemMetrics(SM_CYICONSPACING);
        im->iTitleWrap = TRUE;
        im->lfFont = ClassicFont(false);
        return TRUE;
    }
    case SPI_GETDRAGFULLWINDOWS:
        return Put(pvParam, dragFullWindows.load());
    case SPI_SETDRAGFULLWINDOWS:
        dragFullWindows.store(uiParam ? TRUE : FALSE);
        return TRUE;
    case SPI_GETWHEELSCROLLLINES:
        return Put<UINT>(pvParam, 3);
    case SPI_GETKEYBOARDDELAY:
        return Put<int>(pvParam, 1);
    case SPI_GETKEYBOARDSPEED:
        return Put<DWORD>(pvParam, 31);
    case SPI_GETBORDER:
        return Put<int>(pvParam, 1);
    case SPI_ICONHORIZONTALSPACING:
    case SPI_ICONVERTICALSPACING:
        return pvParam ? Put<int>(pvParam, 75) : TRUE;
    case SPI_GETMENUSHOWDELAY:
    case SPI_GETMOUSEHOVERTIME:
        return Put<UINT>(pvParam, 400);
    case SPI_GETMOUSEHOVERWIDTH:
    case SPI_GETMOUSEHOVERHEIGHT:
        return Put<UINT>(pvParam, 4);
    case SPI_GETMOUSE: {
        if (!pvParam) {
            return FALSE;
        }
        int* values = static_cast<int*>(pvParam);
        values[0] = 6;
        values[1] = 10;
        values[2] = 1;
        return TRUE;
    }
    case SPI_GETSCREENSAVETIMEOUT:
        return Put<int>(pvParam, 0);
    case SPI_GETBEEP:
    case SPI_GETICONTITLEWRAP:
    case SPI_GETFASTTASKSWITCH:
    case SPI_GETKEYBOARDCUES:
        return Put<BOOL>(pvParam, TRUE);
    case SPI_GETMENUDROPALIGNMENT:
    case SPI_GETSCREENSAVEACTIVE:
    case SPI_GETSHOWSOUNDS:
    case SPI_GETKEYBOARDPREF:
    case SPI_GETSCREENREADER:
    case SPI_GETFONTSMOOTHING:
    case SPI_GETMENUANIMATION:
    case SPI_GETCOMBOBOXANIMATION:
    case SPI_GETLISTBOXSMOOTHSCROLLING:
    case SPI_GETGRADIENTCAPTIONS:
    case SPI_GETHOTTRACKING:
    case SPI_GETMENUFADE:
    case SPI_GETSELECTIONFADE:
    case SPI_GETTOOLTIPANIMATION:
    case SPI_GETTOOLTIPFADE:
    case SPI_GETCURSORSHADOW:
    case SPI_GETFLATMENU:
    case SPI_GETDROPSHADOW:
    case SPI_GETUIEFFECTS:
        return Put<BOOL>(pvParam, FALSE);
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}

HBRUSH GetSysColorBrush(int index) {
    static std::mutex lock;
    static std::unordered_map<long long, HBRUSH> brushes;
    if (index < 0 || index > COLOR_MENUBAR || (index == 25)) {
        return nullptr;
    }
    COLORREF color = GetSysColor(index);
    long long key = (static_cast<long long>(index) << 32) | color;
    std::lock_guard<std::mutex> guard(lock);
    auto it = brushes.find(key);
    if (it != brushes.end()) {
        return it->second;
    }
    HBRUSH brush = CreateSolidBrush(color);
    if (brush) {
        GdiMarkStock(brush);
        brushes.emplace(key, brush);
    }
    return brush;
}
