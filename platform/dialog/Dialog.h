// The dialog manager: dialogs from binary templates (DLGTEMPLATE and DLGTEMPLATEEX), the "#32770" class and
// DefDlgProc, the modal loop, keyboard navigation (IsDialogMessage) and the GetDlgItem* helpers.
//
// Dialog units come from the template font: the horizontal base is the average width of the 52 letters of
// the alphabet (both cases), rounded; the vertical base is the font height. One unit is a quarter of the
// horizontal base and an eighth of the vertical one.
#pragma once

#include "platform/display/User.h"

#include <cstddef>

#define WC_DIALOG (MAKEINTATOM(0x8002))

// Window data of dialogs.
#define DWLP_MSGRESULT 0
#define DWLP_DLGPROC (DWLP_MSGRESULT + static_cast<int>(sizeof(LRESULT)))
#define DWLP_USER (DWLP_DLGPROC + static_cast<int>(sizeof(void*)))
#define DLGWINDOWEXTRA 48

// Dialog messages.
#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DM_REPOSITION (WM_USER + 2)
#define DC_HASDEFID 0x534B

using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

#pragma pack(push, 2)
typedef struct {
    DWORD style;
    DWORD dwExtendedStyle;
    WORD cdit;
    short x;
    short y;
    short cx;
    short cy;
} DLGTEMPLATE, *LPDLGTEMPLATEW, *LPDLGTEMPLATE;
typedef const DLGTEMPLATE* LPCDLGTEMPLATEW;
typedef const DLGTEMPLATE* LPCDLGTEMPLATE;

typedef struct {
    DWORD style;
    DWORD dwExtendedStyle;
    short x;
    short y;
    short cx;
    short cy;
    WORD id;
} DLGITEMTEMPLATE, *PDLGITEMTEMPLATEW, *LPDLGITEMTEMPLATE;
#pragma pack(pop)

// Creation. A template is the standard binary form, either DLGTEMPLATE or DLGTEMPLATEEX (dlgVer 1,
// signature 0xFFFF). The unsized calls read as far as the template says; the *Sized calls refuse a template
// that runs past `size` bytes (ERROR_INVALID_DATA, CreateDialog answering null and DialogBox -1).
//
// Each control gets WS_EX_NOPARENTNOTIFY and WM_SETFONT with the dialog font; its creation data reaches
// WM_CREATE as lpCreateParams pointing at a size word (which counts itself) followed by the data, for both
// template forms. The dialog procedure then
// receives WM_INITDIALOG(first tab-stop control, param); answering TRUE puts the focus on that control.
HWND CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND parent,
                                DLGPROC dialogProc, LPARAM initParam);
HWND CreateDialogIndirectParamSizedW(HINSTANCE instance, const void* dialogTemplate, std::size_t size,
                                     HWND parent, DLGPROC dialogProc, LPARAM initParam);
// Modal: the owner (the top-level window of `parent`) is disabled until EndDialog; the loop sends
// WM_ENTERIDLE(MSGF_DIALOGBOX, dialog) to the owner each time the queue runs empty (unless DS_NOIDLEMSG). A
// WM_QUIT ends the loop and is posted again for the outer loop. Answers the EndDialog result, -1 on failure.
INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND parent,
                                DLGPROC dialogProc, LPARAM initParam);
INT_PTR DialogBoxIndirectParamSizedW(HINSTANCE instance, const void* dialogTemplate, std::size_t size,
                                     HWND parent, DLGPROC dialogProc, LPARAM initParam);
#define CreateDialogIndirectW(instance, tmpl, parent, proc)                                                  \
    CreateDialogIndirectParamW(instance, tmpl, parent, proc, 0)
#define DialogBoxIndirectW(instance, tmpl, parent, proc)                                                     \
    DialogBoxIndirectParamW(instance, tmpl, parent, proc, 0)

// Ends a modal dialog (the owner is enabled again, the dialog hidden, then destroyed when its loop returns);
// a modeless dialog is only hidden.
BOOL EndDialog(HWND dialog, INT_PTR result);
LRESULT DefDlgProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Keyboard navigation for a dialog or any window holding controls: Tab and Shift+Tab, arrows within a group,
// Enter (the default button, IDOK when there is none), Esc (IDCANCEL), mnemonics. Messages for other
// windows answer FALSE; the others are translated and dispatched here and answer TRUE.
BOOL IsDialogMessageW(HWND dialog, LPMSG msg);

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR text, int maxCount);
BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
// Checks `check` and unchecks the other controls whose ids lie in [first, last].
BOOL CheckRadioButton(HWND dialog, int first, int last, int check);
LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam);
// The next (previous) visible, enabled WS_TABSTOP control after `control`, wrapping; controls inside
// WS_EX_CONTROLPARENT children take part.
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
// The next (previous) visible, enabled control of the group `control` belongs to (a group starts at a
// WS_GROUP control), wrapping within the group.
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);
BOOL MapDialogRect(HWND dialog, LPRECT rect);
// The base units of the system font: MAKELONG(horizontal, vertical).
LONG GetDialogBaseUnits();
// Registers the "#32770" class (done by the creation calls themselves).
void RegisterDialogClass();

#define DefDlgProc DefDlgProcW
#define IsDialogMessage IsDialogMessageW
#define GetDlgItemText GetDlgItemTextW
#define SetDlgItemText SetDlgItemTextW
#define SendDlgItemMessage SendDlgItemMessageW
#define CreateDialogIndirectParam CreateDialogIndirectParamW
#define DialogBoxIndirectParam DialogBoxIndirectParamW
#define CreateDialogIndirect CreateDialogIndirectW
#define DialogBoxIndirect DialogBoxIndirectW
