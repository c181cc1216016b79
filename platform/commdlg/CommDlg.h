// The common dialogs, drawn by the layer from templates built in memory: file open and save, the modeless
// find and replace dialog, print and print setup, page setup. None of them takes a hook or a template of the
// caller's: the hook and template flags are ignored.
//
// Failures answer FALSE (null for the modeless calls) and leave their reason for CommDlgExtendedError; a
// dialog the user cancelled answers FALSE with CommDlgExtendedError 0.
#pragma once

#include "platform/base/GlobalMemory.h"
#include "platform/display/User.h"
#include "platform/gdi/GdiTypes.h"

// ---- Extended errors
#define CDERR_DIALOGFAILURE 0xFFFF
#define CDERR_GENERALCODES 0x0000
#define CDERR_STRUCTSIZE 0x0001
#define CDERR_INITIALIZATION 0x0002
#define CDERR_NOTEMPLATE 0x0003
#define CDERR_NOHINSTANCE 0x0004
#define CDERR_LOADSTRFAILURE 0x0005
#define CDERR_FINDRESFAILURE 0x0006
#define CDERR_LOADRESFAILURE 0x0007
#define CDERR_LOCKRESFAILURE 0x0008
#define CDERR_MEMALLOCFAILURE 0x0009
#define CDERR_MEMLOCKFAILURE 0x000A
#define CDERR_NOHOOK 0x000B
#define CDERR_REGISTERMSGFAIL 0x000C
#define PDERR_PRINTERCODES 0x1000
#define PDERR_SETUPFAILURE 0x1001
#define PDERR_PARSEFAILURE 0x1002
#define PDERR_RETDEFFAILURE 0x1003
#define PDERR_LOADDRVFAILURE 0x1004
#define PDERR_GETDEVMODEFAIL 0x1005
#define PDERR_INITFAILURE 0x1006
#define PDERR_NODEVICES 0x1007
#define PDERR_NODEFAULTPRN 0x1008
#define PDERR_DNDMMISMATCH 0x1009
#define PDERR_CREATEICFAILURE 0x100A
#define PDERR_PRINTERNOTFOUND 0x100B
#define PDERR_DEFAULTDIFFERENT 0x100C
#define FNERR_FILENAMECODES 0x3000
#define FNERR_SUBCLASSFAILURE 0x3001
#define FNERR_INVALIDFILENAME 0x3002
#define FNERR_BUFFERTOOSMALL 0x3003
#define FRERR_FINDREPLACECODES 0x4000
#define FRERR_BUFFERLENGTHZERO 0x4001

// The reason the last common-dialog call of this thread failed, 0 after a success or a cancel.
DWORD CommDlgExtendedError();

// ---- Control ids of the dialogs (the classic names, so that code reaching into a dialog reads as usual)
#define chx1 0x0410
#define chx2 0x0411
#define chx3 0x0412
#define psh1 0x0400
#define psh2 0x0401
#define psh3 0x0402
#define pshHelp 0x040E
#define rad1 0x0420
#define rad2 0x0421
#define rad3 0x0422
#define grp1 0x0430
#define grp2 0x0431
#define grp3 0x0432
#define stc1 0x0440
#define stc2 0x0441
#define stc3 0x0442
#define stc4 0x0443
#define stc5 0x0444
#define lst1 0x0460
#define cmb1 0x0470
#define cmb2 0x0471
#define cmb4 0x0473
#define edt1 0x0480
#define edt2 0x0481
#define edt3 0x0482
#define edt4 0x0483

// ---- File open and save
using LPOFNHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagOFNW {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCWSTR lpstrFilter; // "Text\0*.txt;*.log\0All\0*.*\0\0"
    LPWSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex; // 1-based; 0 takes the first
    LPWSTR lpstrFile;   // in: the initial name (or path); out: the chosen path
    DWORD nMaxFile;     // characters, terminator included
    LPWSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCWSTR lpstrInitialDir;
    LPCWSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCWSTR lpstrDefExt;
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCWSTR lpTemplateName;
    void* pvReserved;
    DWORD dwReserved;
    DWORD FlagsEx;
} OPENFILENAMEW, *LPOPENFILENAMEW;
using OPENFILENAME = OPENFILENAMEW;
using LPOPENFILENAME = LPOPENFILENAMEW;

#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_SHOWHELP 0x00000010
#define OFN_ENABLEHOOK 0x00000020
#define OFN_ENABLETEMPLATE 0x00000040
#define OFN_ENABLETEMPLATEHANDLE 0x00000080
#define OFN_NOVALIDATE 0x00000100
#define OFN_ALLOWMULTISELECT 0x00000200
#define OFN_EXTENSIONDIFFERENT 0x00000400
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_CREATEPROMPT 0x00002000
#define OFN_SHAREAWARE 0x00004000
#define OFN_NOREADONLYRETURN 0x00008000
#define OFN_NOTESTFILECREATE 0x00010000
#define OFN_NONETWORKBUTTON 0x00020000
#define OFN_NOLONGNAMES 0x00040000
#define OFN_EXPLORER 0x00080000
#define OFN_NODEREFERENCELINKS 0x00100000
#define OFN_LONGNAMES 0x00200000
#define OFN_ENABLEINCLUDENOTIFY 0x00400000
#define OFN_ENABLESIZING 0x00800000
#define OFN_DONTADDTORECENT 0x02000000
#define OFN_FORCESHOWHIDDEN 0x10000000

// The dialog: "Look in" (stc1, the current directory), the list of directories and files (lst1; ".." goes up,
// a double click or Enter on a directory enters it), the file name (edt1), the file types (cmb1), Open or
// Save (IDOK), Cancel and the read-only check box (chx1, hidden by OFN_HIDEREADONLY). Hidden files show only
// with OFN_FORCESHOWHIDDEN. A typed name may be absolute, relative to the directory shown, or start with
// "~/"; one holding "*" or "?" becomes the filter. Paths are the system's own.
//
// The result: the full path in lpstrFile, or with OFN_ALLOWMULTISELECT and several files the directory, NUL,
// each name, NUL, and a final NUL; nFileOffset and nFileExtension (an offset to the terminator when the name
// has no extension); nFilterIndex. A result longer than nMaxFile fails with FNERR_BUFFERTOOSMALL, the
// characters needed in the first unit of lpstrFile. Without OFN_NOCHANGEDIR the working directory becomes
// the chosen one.
BOOL GetOpenFileNameW(LPOPENFILENAMEW ofn);
BOOL GetSaveFileNameW(LPOPENFILENAMEW ofn);
// The file name part of a path, into `title` (the size needed, terminator included, when it is too small).
short GetFileTitleW(LPCWSTR file, LPWSTR title, WORD size);

#define GetOpenFileName GetOpenFileNameW
#define GetSaveFileName GetSaveFileNameW
#define GetFileTitle GetFileTitleW

// ---- Find and replace (modeless)
using LPFRHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagFINDREPLACEW {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    DWORD Flags;
    LPWSTR lpstrFindWhat;
    LPWSTR lpstrReplaceWith;
    WORD wFindWhatLen;
    WORD wReplaceWithLen;
    LPARAM lCustData;
    LPFRHOOKPROC lpfnHook;
    LPCWSTR lpTemplateName;
} FINDREPLACEW, *LPFINDREPLACEW;
using FINDREPLACE = FINDREPLACEW;
using LPFINDREPLACE = LPFINDREPLACEW;

#define FR_DOWN 0x00000001
#define FR_WHOLEWORD 0x00000002
#define FR_MATCHCASE 0x00000004
#define FR_FINDNEXT 0x00000008
#define FR_REPLACE 0x00000010
#define FR_REPLACEALL 0x00000020
#define FR_DIALOGTERM 0x00000040
#define FR_SHOWHELP 0x00000080
#define FR_ENABLEHOOK 0x00000100
#define FR_ENABLETEMPLATE 0x00000200
#define FR_NOUPDOWN 0x00000400
#define FR_NOMATCHCASE 0x00000800
#define FR_NOWHOLEWORD 0x00001000
#define FR_ENABLETEMPLATEHANDLE 0x00002000
#define FR_HIDEUPDOWN 0x00004000
#define FR_HIDEMATCHCASE 0x00008000
#define FR_HIDEWHOLEWORD 0x00010000

#define FINDMSGSTRINGW u"commdlg_FindReplace"
#define FINDMSGSTRING FINDMSGSTRINGW
#define HELPMSGSTRINGW u"commdlg_help"
#define HELPMSGSTRING HELPMSGSTRINGW

// The dialog is owned by hwndOwner and stays up until it is closed. Each command (Find Next: FR_FINDNEXT,
// Replace: FR_REPLACE, Replace All: FR_REPLACEALL) copies the texts into the caller's buffers, sets the
// option flags (FR_DOWN, FR_MATCHCASE, FR_WHOLEWORD) and sends the registered message FINDMSGSTRING to
// hwndOwner with the structure in lParam; closing it sends FR_DIALOGTERM and then destroys it. The structure
// must live as long as the dialog. Controls: the find text (edt1), the replacement (edt2), match whole word
// (chx1), match case (chx2), up and down (rad1, rad2), Find Next (IDOK), Replace (psh1), Replace All (psh2).
// The caller's message loop gives the dialog its keyboard through IsDialogMessage.
HWND FindTextW(LPFINDREPLACEW fr);
HWND ReplaceTextW(LPFINDREPLACEW fr);

#define FindText FindTextW
#define ReplaceText ReplaceTextW

// ---- Printing
// The device names block, offsets in characters from its start: the driver ("PDF"), the device (the
// printer's name), the output (the PDF file the printer writes).
typedef struct tagDEVNAMES {
    WORD wDriverOffset;
    WORD wDeviceOffset;
    WORD wOutputOffset;
    WORD wDefault;
} DEVNAMES, *LPDEVNAMES;
#define DN_DEFAULTPRN 0x0001

using LPPRINTHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);
using LPSETUPHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagPDW {
    DWORD lStructSize;
    HWND hwndOwner;
    HGLOBAL hDevMode;  // a DEVMODEW block
    HGLOBAL hDevNames; // a DEVNAMES block
    HDC hDC;
    DWORD Flags;
    WORD nFromPage;
    WORD nToPage;
    WORD nMinPage;
    WORD nMaxPage;
    WORD nCopies;
    HINSTANCE hInstance;
    LPARAM lCustData;
    LPPRINTHOOKPROC lpfnPrintHook;
    LPSETUPHOOKPROC lpfnSetupHook;
    LPCWSTR lpPrintTemplateName;
    LPCWSTR lpSetupTemplateName;
    HGLOBAL hPrintTemplate;
    HGLOBAL hSetupTemplate;
} PRINTDLGW, *LPPRINTDLGW;
using PRINTDLG = PRINTDLGW;
using LPPRINTDLG = LPPRINTDLGW;

#define PD_ALLPAGES 0x00000000
#define PD_SELECTION 0x00000001
#define PD_PAGENUMS 0x00000002
#define PD_NOSELECTION 0x00000004
#define PD_NOPAGENUMS 0x00000008
#define PD_COLLATE 0x00000010
#define PD_PRINTTOFILE 0x00000020
#define PD_PRINTSETUP 0x00000040
#define PD_NOWARNING 0x00000080
#define PD_RETURNDC 0x00000100
#define PD_RETURNIC 0x00000200
#define PD_RETURNDEFAULT 0x00000400
#define PD_SHOWHELP 0x00000800
#define PD_ENABLEPRINTHOOK 0x00001000
#define PD_ENABLESETUPHOOK 0x00002000
#define PD_ENABLEPRINTTEMPLATE 0x00004000
#define PD_ENABLESETUPTEMPLATE 0x00008000
#define PD_ENABLEPRINTTEMPLATEHANDLE 0x00010000
#define PD_ENABLESETUPTEMPLATEHANDLE 0x00020000
#define PD_USEDEVMODECOPIES 0x00040000
#define PD_USEDEVMODECOPIESANDCOLLATE 0x00040000
#define PD_DISABLEPRINTTOFILE 0x00080000
#define PD_HIDEPRINTTOFILE 0x00100000
#define PD_NONETWORKBUTTON 0x00200000
#define PD_CURRENTPAGE 0x00400000
#define PD_NOCURRENTPAGE 0x00800000

// Printers are the layer's PDF printers (GdiSetPrinters). PD_RETURNDEFAULT fills hDevMode and hDevNames
// (both null on entry, else PDERR_RETDEFFAILURE) for the default printer without showing anything; with no
// printer configured it fails with PDERR_NODEFAULTPRN, as on a machine without printers. Otherwise the print
// dialog (or, with PD_PRINTSETUP, the print setup dialog) shows the printers, preselecting the one named by
// hDevNames or hDevMode: the printer (cmb4), its output file (edt4), and for printing the range (rad1 all,
// rad2 selection, rad3 pages from edt1 to edt2) and the copies (edt3), for setup the paper (cmb2) and the
// orientation (rad1 portrait, rad2 landscape). On OK the blocks are replaced with new moveable ones
// describing the choice, and PD_RETURNDC / PD_RETURNIC create the DC.
BOOL PrintDlgW(LPPRINTDLGW pd);
#define PrintDlg PrintDlgW

// ---- Page setup
using LPPAGEPAINTHOOK = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);
using LPPAGESETUPHOOK = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagPSDW {
    DWORD lStructSize;
    HWND hwndOwner;
    HGLOBAL hDevMode;
    HGLOBAL hDevNames;
    DWORD Flags;
    POINT ptPaperSize; // thousandths of an inch or hundredths of a millimetre (PSD_INTHOUSANDTHSOFINCHES,
    RECT rtMinMargin;  // PSD_INHUNDREDTHSOFMILLIMETERS; the latter when neither is given)
    RECT rtMargin;
    HINSTANCE hInstance;
    LPARAM lCustData;
    LPPAGESETUPHOOK lpfnPageSetupHook;
    LPPAGEPAINTHOOK lpfnPagePaintHook;
    LPCWSTR lpPageSetupTemplateName;
    HGLOBAL hPageSetupTemplate;
} PAGESETUPDLGW, *LPPAGESETUPDLGW;
using PAGESETUPDLG = PAGESETUPDLGW;
using LPPAGESETUPDLG = LPPAGESETUPDLGW;

#define PSD_DEFAULTMINMARGINS 0x00000000
#define PSD_INWININIINTLMEASURE 0x00000000
#define PSD_MINMARGINS 0x00000001
#define PSD_MARGINS 0x00000002
#define PSD_INTHOUSANDTHSOFINCHES 0x00000004
#define PSD_INHUNDREDTHSOFMILLIMETERS 0x00000008
#define PSD_DISABLEMARGINS 0x00000010
#define PSD_DISABLEPRINTER 0x00000020
#define PSD_NOWARNING 0x00000080
#define PSD_DISABLEORIENTATION 0x00000100
#define PSD_RETURNDEFAULT 0x00000400
#define PSD_DISABLEPAPER 0x00000200

// The print setup dialog with the paper size in ptPaperSize; margins are kept as given (the PDF printers
// have no unprintable area). PSD_RETURNDEFAULT answers the default printer without showing anything.
BOOL PageSetupDlgW(LPPAGESETUPDLGW psd);
#define PageSetupDlg PageSetupDlgW
