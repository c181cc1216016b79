// Message-box styles and the answers of message boxes and dialogs, shared by the exceptions' reports, the
// window system and the dialog manager.
#pragma once

#ifndef MB_OK
#define MB_OK 0x00000000u
#endif
#ifndef MB_OKCANCEL
#define MB_OKCANCEL 0x00000001u
#endif
#ifndef MB_ABORTRETRYIGNORE
#define MB_ABORTRETRYIGNORE 0x00000002u
#endif
#ifndef MB_YESNOCANCEL
#define MB_YESNOCANCEL 0x00000003u
#endif
#ifndef MB_YESNO
#define MB_YESNO 0x00000004u
#endif
#ifndef MB_RETRYCANCEL
#define MB_RETRYCANCEL 0x00000005u
#endif
#ifndef MB_CANCELTRYCONTINUE
#define MB_CANCELTRYCONTINUE 0x00000006u
#endif
#ifndef MB_ICONHAND
#define MB_ICONHAND 0x00000010u
#endif
#ifndef MB_ICONQUESTION
#define MB_ICONQUESTION 0x00000020u
#endif
#ifndef MB_ICONEXCLAMATION
#define MB_ICONEXCLAMATION 0x00000030u
#endif
#ifndef MB_ICONASTERISK
#define MB_ICONASTERISK 0x00000040u
#endif
#ifndef MB_USERICON
#define MB_USERICON 0x00000080u
#endif
#ifndef MB_ICONWARNING
#define MB_ICONWARNING MB_ICONEXCLAMATION
#endif
#ifndef MB_ICONERROR
#define MB_ICONERROR MB_ICONHAND
#endif
#ifndef MB_ICONINFORMATION
#define MB_ICONINFORMATION MB_ICONASTERISK
#endif
#ifndef MB_ICONSTOP
#define MB_ICONSTOP MB_ICONHAND
#endif
#ifndef MB_DEFBUTTON1
#define MB_DEFBUTTON1 0x00000000u
#endif
#ifndef MB_DEFBUTTON2
#define MB_DEFBUTTON2 0x00000100u
#endif
#ifndef MB_DEFBUTTON3
#define MB_DEFBUTTON3 0x00000200u
#endif
#ifndef MB_DEFBUTTON4
#define MB_DEFBUTTON4 0x00000300u
#endif
#ifndef MB_APPLMODAL
#define MB_APPLMODAL 0x00000000u
#endif
#ifndef MB_SYSTEMMODAL
#define MB_SYSTEMMODAL 0x00001000u
#endif
#ifndef MB_TASKMODAL
#define MB_TASKMODAL 0x00002000u
#endif
#ifndef MB_HELP
#define MB_HELP 0x00004000u
#endif
#ifndef MB_NOFOCUS
#define MB_NOFOCUS 0x00008000u
#endif
#ifndef MB_SETFOREGROUND
#define MB_SETFOREGROUND 0x00010000u
#endif
#ifndef MB_DEFAULT_DESKTOP_ONLY
#define MB_DEFAULT_DESKTOP_ONLY 0x00020000u
#endif
#ifndef MB_TOPMOST
#define MB_TOPMOST 0x00040000u
#endif
#ifndef MB_RIGHT
#define MB_RIGHT 0x00080000u
#endif
#ifndef MB_RTLREADING
#define MB_RTLREADING 0x00100000u
#endif
#ifndef MB_SERVICE_NOTIFICATION
#define MB_SERVICE_NOTIFICATION 0x00200000u
#endif
#ifndef MB_TYPEMASK
#define MB_TYPEMASK 0x0000000Fu
#endif
#ifndef MB_ICONMASK
#define MB_ICONMASK 0x000000F0u
#endif
#ifndef MB_DEFMASK
#define MB_DEFMASK 0x00000F00u
#endif
#ifndef MB_MODEMASK
#define MB_MODEMASK 0x00003000u
#endif
#ifndef MB_MISCMASK
#define MB_MISCMASK 0x0000C000u
#endif
#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif
#ifndef IDABORT
#define IDABORT 3
#endif
#ifndef IDRETRY
#define IDRETRY 4
#endif
#ifndef IDIGNORE
#define IDIGNORE 5
#endif
#ifndef IDYES
#define IDYES 6
#endif
#ifndef IDNO
#define IDNO 7
#endif
#ifndef IDCLOSE
#define IDCLOSE 8
#endif
#ifndef IDHELP
#define IDHELP 9
#endif
#ifndef IDTRYAGAIN
#define IDTRYAGAIN 10
#endif
#ifndef IDCONTINUE
#define IDCONTINUE 11
#endif
