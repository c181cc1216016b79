// The modeless find and replace dialogs; each command reaches the owner as the registered message.
#include "platform/commdlg/CommDlgInternal.h"
#include "platform/controls/StandardControls.h"
#include "platform/dialog/Dialog.h"

#include <algorithm>
#include <string>

using namespace commdlg;

namespace {

LPFINDREPLACEW StructOf(HWND dialog) {
    return reinterpret_cast<LPFINDREPLACEW>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void CopyText(const std::u16string& text, LPWSTR buffer, WORD size) {
    if (!buffer || size == 0) {
        return;
    }
    std::size_t n = std::min<std::size_t>(text.size(), size - 1u);
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), buffer);
    buffer[n] = 0;
}

// The commands need something to find.
void EnableCommands(HWND dialog) {
    BOOL any = GetWindowTextLengthW(GetDlgItem(dialog, edt1)) > 0;
    for (int id : {IDOK, psh1, psh2}) {
        if (HWND button = GetDlgItem(dialog, id)) {
            EnableWindow(button, any);
        }
    }
}

void Notify(HWND dialog, LPFINDREPLACEW fr, DWORD command) {
    fr->Flags &= ~static_cast<DWORD>(FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL | FR_DIALOGTERM);
    if (command != FR_DIALOGTERM) {
        fr->Flags &= ~static_cast<DWORD>(FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD);
        if (IsDlgButtonChecked(dialog, chx1) == BST_CHECKED) {
            fr->Flags |= FR_WHOLEWORD;
        }
        if (IsDlgButtonChecked(dialog, chx2) == BST_CHECKED) {
            fr->Flags |= FR_MATCHCASE;
        }
        HWND down = GetDlgItem(dialog, rad2);
        if (!down || IsDlgButtonChecked(dialog, rad2) == BST_CHECKED) {
            fr->Flags |= FR_DOWN; // the replace dialog always searches down
        }
        CopyText(DlgItemText(dialog, edt1), fr->lpstrFindWhat, fr->wFindWhatLen);
        if (GetDlgItem(dialog, edt2)) {
            CopyText(DlgItemText(dialog, edt2), fr->lpstrReplaceWith, fr->wReplaceWithLen);
        }
    }
    fr->Flags |= command;
    static const UINT message = RegisterWindowMessageW(FINDMSGSTRINGW);
    SendMessageW(fr->hwndOwner, message, 0, reinterpret_cast<LPARAM>(fr));
}

void Apply(HWND dialog, int id, DWORD hideFlag, DWORD disableFlag, DWORD flags) {
    HWND item = GetDlgItem(dialog, id);
    if (!item) {
        return;
    }
    if (flags & hideFlag) {
        ShowWindow(item, SW_HIDE);
    } else if (flags & disableFlag) {
        EnableWindow(item, FALSE);
    }
}

INT_PTR FindReplaceProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* fr = reinterpret_cast<LPFINDREPLACEW>(lParam);
        SetDlgItemTextW(dialog, edt1, fr->lpstrFindWhat);
        if (GetDlgItem(dialog, edt2) && fr->lpstrReplaceWith) {
            SetDlgItemTextW(dialog, edt2, fr->lpstrReplaceWith);
        }
        CheckDlgButton(dialog, chx1, (fr->Flags & FR_WHOLEWORD) ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(dialog, chx2, (fr->Flags & FR_MATCHCASE) ? BST_CHECKED : BST_UNCHECKED);
        CheckRadioButton(dialog, rad1, rad2, (fr->Flags & FR_DOWN) ? rad2 : rad1);
        Apply(dialog, chx1, FR_HIDEWHOLEWORD, FR_NOWHOLEWORD, fr->Flags);
        Apply(dialog, chx2, FR_HIDEMATCHCASE, FR_NOMATCHCASE, fr->Flags);
        for (int id : {grp1, rad1, rad2}) {
            Apply(dialog, id, FR_HIDEUPDOWN, FR_NOUPDOWN, fr->Flags);
        }
        if (!(fr->Flags & FR_SHOWHELP)) {
            ShowWindow(GetDlgItem(dialog, pshHelp), SW_HIDE);
        }
        EnableCommands(dialog);
        return TRUE;
    }
    LPFINDREPLACEW fr = StructOf(dialog);
    if (!fr || msg != WM_COMMAND) {
        return FALSE;
    }
    switch (LOWORD(wParam)) {
    case IDOK:
        Notify(dialog, fr, FR_FINDNEXT);
        return TRUE;
    case psh1:
        Notify(dialog, fr, FR_REPLACE);
        return TRUE;
    case psh2:
        Notify(dialog, fr, FR_REPLACEALL);
        return TRUE;
    case IDCANCEL:
        Notify(dialog, fr, FR_DIALOGTERM);
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
        DestroyWindow(dialog);
        return TRUE;
    case pshHelp: {
        static const UINT help = RegisterWindowMessageW(HELPMSGSTRINGW);
        SendMessageW(fr->hwndOwner, help, reinterpret_cast<WPARAM>(dialog), reinterpret_cast<LPARAM>(fr));
        return TRUE;
    }
    case edt1:
        if (HIWORD(wParam) == EN_CHANGE) {
            EnableCommands(dialog);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

HWND Create(LPFINDREPLACEW fr, bool replace) {
    SetExtendedError(0);
    if (!fr || fr->lStructSize != sizeof(FINDREPLACEW)) {
        SetExtendedError(CDERR_STRUCTSIZE);
        return nullptr;
    }
    if (!fr->hwndOwner || !IsWindow(fr->hwndOwner)) {
        SetExtendedError(CDERR_DIALOGFAILURE);
        return nullptr;
    }
    if (!fr->lpstrFindWhat || (replace && !fr->lpstrReplaceWith)) {
        SetExtendedError(CDERR_INITIALIZATION);
        return nullptr;
    }
    if (fr->wFindWhatLen == 0 || (replace && fr->wReplaceWithLen == 0)) {
        SetExtendedError(FRERR_BUFFERLENGTHZERO);
        return nullptr;
    }
    RegisterStandardControls();
    constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | WS_VISIBLE;
    constexpr DWORD kCheck = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
    constexpr DWORD kPush = WS_VISIBLE | WS_TABSTOP;
    constexpr DWORD kEditStyle = WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | WS_GROUP;
    if (!replace) {
        TemplateBuilder t(kStyle, u"Find", 236, 62);
        t.Add(kStatic, u"Fi&nd what:", stc1, WS_VISIBLE, 4, 8, 42, 8);
        t.Add(kEdit, u"", edt1, kEditStyle, 47, 7, 128, 12);
        t.Add(kButton, u"Match &whole word only", chx1, kCheck | WS_GROUP, 4, 26, 100, 12);
        t.Add(kButton, u"Match &case", chx2, kCheck, 4, 42, 64, 12);
        t.Add(kButton, u"Direction", grp1, WS_VISIBLE | BS_GROUPBOX | WS_GROUP, 107, 26, 68, 28);
        t.Add(kButton, u"&Up", rad1, WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 111, 38, 25,
              12);
        t.Add(kButton, u"&Down", rad2, WS_VISIBLE | BS_AUTORADIOBUTTON, 138, 38, 35, 12);
        t.Add(kButton, u"&Find Next", IDOK, kPush | WS_GROUP | BS_DEFPUSHBUTTON, 182, 5, 50, 14);
        t.Add(kButton, u"Cancel", IDCANCEL, kPush, 182, 23, 50, 14);
        t.Add(kButton, u"&Help", pshHelp, kPush, 182, 45, 50, 14);
        HWND dialog = CreateDialogIndirectParamSizedW(nullptr, t.Get(), t.Size(), fr->hwndOwner,
                                                      FindReplaceProc, reinterpret_cast<LPARAM>(fr));
        if (!dialog) {
            SetExtendedError(CDERR_DIALOGFAILURE);
        }
        return dialog;
    }
    TemplateBuilder t(kStyle, u"Replace", 230, 94);
    t.Add(kStatic, u"Fi&nd what:", stc1, WS_VISIBLE, 4, 9, 48, 8);
    t.Add(kEdit, u"", edt1, kEditStyle, 54, 7, 114, 12);
    t.Add(kStatic, u"Re&place with:", stc2, WS_VISIBLE, 4, 26, 48, 8);
    t.Add(kEdit, u"", edt2, kEditStyle, 54, 24, 114, 12);
    t.Add(kButton, u"Match &whole word only", chx1, kCheck | WS_GROUP, 5, 46, 104, 12);
    t.Add(kButton, u"Match &case", chx2, kCheck, 5, 62, 59, 12);
    t.Add(kButton, u"&Find Next", IDOK, kPush | WS_GROUP | BS_DEFPUSHBUTTON, 174, 4, 50, 14);
    t.Add(kButton, u"&Replace", psh1, kPush, 174, 21, 50, 14);
    t.Add(kButton, u"Replace &All", psh2, kPush, 174, 38, 50, 14);
    t.Add(kButton, u"Cancel", IDCANCEL, kPush, 174, 55, 50, 14);
    t.Add(kButton, u"&Help", pshHelp, kPush, 174, 75, 50, 14);
    HWND dialog = CreateDialogIndirectParamSizedW(nullptr, t.Get(), t.Size(), fr->hwndOwner, FindReplaceProc,
                                                  reinterpret_cast<LPARAM>(fr));
    if (!dialog) {
        SetExtendedError(CDERR_DIALOGFAILURE);
    }
    return dialog;
}

} // namespace

HWND FindTextW(LPFINDREPLACEW fr) {
    return Create(fr, false);
}

HWND ReplaceTextW(LPFINDREPLACEW fr) {
    return Create(fr, true);
}
