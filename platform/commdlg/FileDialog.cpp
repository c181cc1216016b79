// File open and save: a directory browser drawn with the standard controls.
#include "platform/base/CodePage.h"
#include "platform/base/WideRuntime.h"
#include "platform/commdlg/CommDlgInternal.h"
#include "platform/controls/StandardControls.h"
#include "platform/dialog/Dialog.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;
using namespace commdlg;

namespace {

enum class EntryKind : LPARAM { File = 0, Directory = 1, Parent = 2 };

// The list's items are directories first, then files, each group in name order without regard to case.
struct Entry {
    std::u16string name;
    EntryKind kind;
};

struct FileDialogState {
    LPOPENFILENAMEW ofn = nullptr;
    bool save = false;
    bool multi = false;
    std::u16string dir;                         // absolute, no trailing slash except for the root
    std::vector<std::u16string> filterPatterns; // the patterns of each filter, ";"-separated
    std::u16string typedPattern;                // a pattern the user typed, until the type changes
    std::vector<Entry> entries;
    bool bufferTooSmall = false;
};

fs::path ToPath(const std::u16string& s) {
    return fs::path(Utf16ToUtf8(s));
}

std::u16string FromPath(const fs::path& p) {
    return Utf8ToUtf16(p.string());
}

// "*" and "?" without regard to case; "x.*" also takes names without a dot, as "*.*" takes every name.
bool WildMatch(const char16_t* p, const char16_t* n) {
    const char16_t* star = nullptr;
    const char16_t* resume = nullptr;
    while (*n) {
        if (*p == u'*') {
            star = p++;
            resume = n;
        } else if (*p == u'?' || (*p && towlower(*p) == towlower(*n))) {
            ++p;
            ++n;
        } else if (star) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (*p == u'*') {
        ++p;
    }
    return *p == 0;
}

bool MatchPattern(const std::u16string& pattern, const std::u16string& name) {
    if (WildMatch(pattern.c_str(), name.c_str())) {
        return true;
    }
    if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, u".*") == 0 &&
        name.find(u'.') == std::u16string::npos) {
        return WildMatch(pattern.substr(0, pattern.size() - 2).c_str(), name.c_str());
    }
    return false;
}

std::vector<std::u16string> SplitPatterns(const std::u16string& patterns) {
    std::vector<std::u16string> out;
    std::u16string current;
    for (char16_t c : patterns + u";") {
        if (c == u';') {
            std::size_t b = current.find_first_not_of(u' ');
            std::size_t e = current.find_last_not_of(u' ');
            if (b != std::u16string::npos) {
                out.push_back(current.substr(b, e - b + 1));
            }
            current.clear();
        } else {
            current += c;
        }
    }
    return out;
}

bool HasWildcard(const std::u16string& s) {
    return s.find_first_of(u"*?") != std::u16string::npos;
}

std::u16string Trim(const std::u16string& s) {
    std::size_t b = s.find_first_not_of(u' ');
    if (b == std::u16string::npos) {
        return {};
    }
    std::size_t e = s.find_last_not_of(u' ');
    return s.substr(b, e - b + 1);
}

// An absolute, lexically normal path for what the user typed, relative to `dir`; "~" is the home directory.
std::u16string Resolve(const std::u16string& dir, const std::u16string& typed) {
    std::u16string text = typed;
    if (text == u"~" || text.rfind(u"~/", 0) == 0) {
        const char* home = std::getenv("HOME");
        text = Utf8ToUtf16(home ? home : "/") + text.substr(1);
    }
    fs::path p = ToPath(text);
    if (p.is_relative()) {
        p = ToPath(dir) / p;
    }
    std::u16string out = FromPath(p.lexically_normal());
    while (out.size() > 1 && out.back() == u'/') {
        out.pop_back();
    }
    return out;
}

std::u16string FileNameOf(const std::u16string& path) {
    std::size_t slash = path.rfind(u'/');
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

std::u16string DirOf(const std::u16string& path) {
    std::size_t slash = path.rfind(u'/');
    if (slash == std::u16string::npos) {
        return {};
    }
    return slash == 0 ? u"/" : path.substr(0, slash);
}

bool IsDirectory(const std::u16string& path) {
    std::error_code ec;
    return fs::is_directory(ToPath(path), ec);
}

bool Exists(const std::u16string& path) {
    std::error_code ec;
    return fs::exists(ToPath(path), ec);
}

FileDialogState* StateOf(HWND dialog) {
    return reinterpret_cast<FileDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

std::vector<std::u16string> CurrentPatterns(HWND dialog, FileDialogState& s) {
    if (!s.typedPattern.empty()) {
        return SplitPatterns(s.typedPattern);
    }
    LRESULT sel = SendDlgItemMessageW(dialog, cmb1, CB_GETCURSEL, 0, 0);
    if (sel >= 0 && static_cast<std::size_t>(sel) < s.filterPatterns.size()) {
        return SplitPatterns(s.filterPatterns[static_cast<std::size_t>(sel)]);
    }
    return {u"*"};
}

void FillList(HWND dialog, FileDialogState& s) {
    s.entries.clear();
    std::vector<Entry> dirs;
    std::vector<Entry> files;
    bool showHidden = (s.ofn->Flags & OFN_FORCESHOWHIDDEN) != 0;
    std::vector<std::u16string> patterns = CurrentPatterns(dialog, s);
    std::error_code ec;
    for (fs::directory_iterator it(ToPath(s.dir), ec), end; !ec && it != end; it.increment(ec)) {
        std::u16string name = FromPath(it->path().filename());
        if (name.empty() || (name[0] == u'.' && !showHidden)) {
            continue;
        }
        std::error_code typeError;
        if (it->is_directory(typeError)) {
            dirs.push_back({name, EntryKind::Directory});
        } else if (std::any_of(patterns.begin(), patterns.end(),
                               [&](const std::u16string& p) { return MatchPattern(p, name); })) {
            files.push_back({name, EntryKind::File});
        }
    }
    auto byName = [](const Entry& a, const Entry& b) {
        int c = _wcsicmp(a.name.c_str(), b.name.c_str());
        return c != 0 ? c < 0 : a.name < b.name;
    };
    std::sort(dirs.begin(), dirs.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    if (s.dir != u"/") {
        s.entries.push_back({u"..", EntryKind::Parent});
    }
    s.entries.insert(s.entries.end(), dirs.begin(), dirs.end());
    s.entries.insert(s.entries.end(), files.begin(), files.end());

    HWND list = GetDlgItem(dialog, lst1);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const Entry& e : s.entries) {
        std::u16string shown = e.kind == EntryKind::Directory ? e.name + u"/" : e.name;
        LRESULT index = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
        SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(e.kind));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    SetDlgItemTextW(dialog, stc1, s.dir.c_str());
}

bool EnterDirectory(HWND dialog, FileDialogState& s, const std::u16string& path) {
    if (!IsDirectory(path)) {
        return false;
    }
    s.dir = path;
    FillList(dialog, s);
    return true;
}

std::vector<int> SelectedItems(HWND dialog, const FileDialogState& s) {
    HWND list = GetDlgItem(dialog, lst1);
    std::vector<int> out;
    if (s.multi) {
        LRESULT count = SendMessageW(list, LB_GETSELCOUNT, 0, 0);
        if (count > 0) {
            out.resize(static_cast<std::size_t>(count));
            LRESULT got = SendMessageW(list, LB_GETSELITEMS, static_cast<WPARAM>(count),
                                       reinterpret_cast<LPARAM>(out.data()));
            out.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
        }
    } else {
        LRESULT sel = SendMessageW(list, LB_GETCURSEL, 0, 0);
        if (sel >= 0) {
            out.push_back(static_cast<int>(sel));
        }
    }
    return out;
}

const Entry* EntryAt(const FileDialogState& s, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < s.entries.size()
               ? &s.entries[static_cast<std::size_t>(index)]
               : nullptr;
}

// The selected files go to the name field: one name as it is, several quoted.
void SelectionToEdit(HWND dialog, FileDialogState& s) {
    std::vector<std::u16string> names;
    for (int index : SelectedItems(dialog, s)) {
        const Entry* e = EntryAt(s, index);
        if (e && e->kind == EntryKind::File) {
            names.push_back(e->name);
        }
    }
    if (names.empty()) {
        return;
    }
    std::u16string text;
    if (names.size() == 1) {
        text = names[0];
    } else {
        for (const std::u16string& n : names) {
            text += (text.empty() ? u"\"" : u" \"") + n + u"\"";
        }
    }
    SetDlgItemTextW(dialog, edt1, text.c_str());
}

// The names between quotes, or the whole text as one name.
std::vector<std::u16string> SplitNames(const std::u16string& text, bool multi) {
    std::vector<std::u16string> out;
    if (!multi || text.find(u'"') == std::u16string::npos) {
        out.push_back(text);
        return out;
    }
    std::size_t i = 0;
    while ((i = text.find(u'"', i)) != std::u16string::npos) {
        std::size_t j = text.find(u'"', i + 1);
        if (j == std::u16string::npos) {
            j = text.size();
        }
        std::u16string name = text.substr(i + 1, j - i - 1);
        if (!name.empty()) {
            out.push_back(name);
        }
        i = j + 1;
        if (i >= text.size()) {
            break;
        }
    }
    return out;
}

void Warn(HWND dialog, const std::u16string& text) {
    MessageBoxW(dialog, text.c_str(), WindowText(dialog).c_str(), MB_OK | MB_ICONWARNING);
}

bool HasExtension(const std::u16string& path) {
    std::u16string name = FileNameOf(path);
    std::size_t dot = name.rfind(u'.');
    return dot != std::u16string::npos && dot != 0;
}

// Checks one chosen file against the flags, asking where the flags say so; false keeps the dialog open.
bool Acceptable(HWND dialog, FileDialogState& s, std::u16string& path) {
    DWORD flags = s.ofn->Flags;
    if (s.ofn->lpstrDefExt && *s.ofn->lpstrDefExt && !HasExtension(path)) {
        std::u16string withExt = path + u"." + s.ofn->lpstrDefExt;
        if (s.save || !Exists(path)) {
            path = withExt;
        }
    }
    if (flags & OFN_NOVALIDATE) {
        return true;
    }
    std::u16string name = FileNameOf(path);
    if (name.empty()) {
        return false;
    }
    if ((flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && !IsDirectory(DirOf(path))) {
        Warn(dialog, path + u"\nPath does not exist.\nCheck the path and try again.");
        return false;
    }
    bool exists = Exists(path);
    if (!exists && (flags & OFN_FILEMUSTEXIST)) {
        Warn(dialog, name + u"\nFile not found.\nCheck the file name and try again.");
        return false;
    }
    if (exists && (flags & OFN_NOREADONLYRETURN) && access(Utf16ToUtf8(path).c_str(), W_OK) != 0) {
        Warn(dialog, name + u"\nThis file is set to read-only.\nTry again with a different file name.");
        return false;
    }
    if (exists && s.save && (flags & OFN_OVERWRITEPROMPT)) {
        std::u16string text = name + u" already exists.\nDo you want to replace it?";
        if (MessageBoxW(dialog, text.c_str(), WindowText(dialog).c_str(),
                        MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) {
            return false;
        }
    }
    if (!exists && (flags & OFN_CREATEPROMPT)) {
        std::u16string text = name + u" does not exist.\nDo you want to create it?";
        if (MessageBoxW(dialog, text.c_str(), WindowText(dialog).c_str(), MB_YESNO | MB_ICONQUESTION) !=
            IDYES) {
            return false;
        }
    }
    return true;
}

// Writes the result into the caller's structure; false when the buffer is too small for it.
bool StoreResult(HWND dialog, FileDialogState& s, const std::u16string& dir,
                 const std::vector<std::u16string>& names) {
    LPOPENFILENAMEW ofn = s.ofn;
    std::u16string result;
    WORD offset = 0;
    WORD extension = 0;
    if (names.size() == 1) {
        result = dir == u"/" ? u"/" + names[0] : dir + u"/" + names[0];
        offset = static_cast<WORD>(result.size() - names[0].size());
        std::size_t dot = names[0].rfind(u'.');
        extension =
            static_cast<WORD>(dot != std::u16string::npos && dot != 0 ? offset + dot + 1 : result.size());
        result.push_back(0);
        if (s.multi) {
            result.push_back(0);
        }
    } else {
        result = dir;
        result.push_back(0);
        offset = static_cast<WORD>(result.size());
        for (const std::u16string& n : names) {
            result += n;
            result.push_back(0);
        }
        result.push_back(0);
    }
    if (result.size() > ofn->nMaxFile) {
        if (ofn->nMaxFile >= 1) {
            ofn->lpstrFile[0] = static_cast<WCHAR>(std::min<std::size_t>(result.size(), 0xFFFF));
        }
        return false;
    }
    std::copy(result.begin(), result.end(), ofn->lpstrFile);
    ofn->nFileOffset = offset;
    ofn->nFileExtension = extension;
    if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0 && names.size() == 1) {
        std::u16string title = names[0].substr(0, ofn->nMaxFileTitle - 1);
        std::copy(title.begin(), title.end(), ofn->lpstrFileTitle);
        ofn->lpstrFileTitle[title.size()] = 0;
    }
    LRESULT type = SendDlgItemMessageW(dialog, cmb1, CB_GETCURSEL, 0, 0);
    if (type >= 0 && !s.filterPatterns.empty()) {
        ofn->nFilterIndex = static_cast<DWORD>(type + 1);
    }
    ofn->Flags &= ~static_cast<DWORD>(OFN_READONLY | OFN_EXTENSIONDIFFERENT);
    if (IsDlgButtonChecked(dialog, chx1) == BST_CHECKED) {
        ofn->Flags |= OFN_READONLY;
    }
    if (ofn->lpstrDefExt && names.size() == 1) {
        std::size_t dot = names[0].rfind(u'.');
        std::u16string ext = dot == std::u16string::npos ? std::u16string() : names[0].substr(dot + 1);
        if (!EqualNoCase(ext, ofn->lpstrDefExt)) {
            ofn->Flags |= OFN_EXTENSIONDIFFERENT;
        }
    }
    if (!(ofn->Flags & OFN_NOCHANGEDIR)) {
        if (chdir(Utf16ToUtf8(dir).c_str()) != 0) {
            // The choice stands even where the working directory cannot follow it.
        }
    }
    return true;
}

void Finish(HWND dialog, FileDialogState& s, const std::u16string& dir, std::vector<std::u16string> names) {
    if (StoreResult(dialog, s, dir, names)) {
        EndDialog(dialog, IDOK);
    } else {
        // The dialog closes: the caller learns the size it needs and may ask again.
        s.bufferTooSmall = true;
        EndDialog(dialog, IDCANCEL);
    }
}

void OnOk(HWND dialog, FileDialogState& s) {
    HWND list = GetDlgItem(dialog, lst1);
    std::vector<int> selected = SelectedItems(dialog, s);
    const Entry* single = selected.size() == 1 ? EntryAt(s, selected[0]) : nullptr;
    std::u16string text = Trim(DlgItemText(dialog, edt1));
    // Enter on a directory of the list enters it.
    if (single && single->kind != EntryKind::File && (GetFocus() == list || text.empty())) {
        EnterDirectory(dialog, s, Resolve(s.dir, single->name));
        return;
    }
    if (text.empty()) {
        MessageBeep(0);
        return;
    }
    std::vector<std::u16string> typed = SplitNames(text, s.multi);
    if (typed.size() == 1) {
        std::u16string path = Resolve(s.dir, typed[0]);
        std::u16string name = FileNameOf(path);
        if (HasWildcard(name)) {
            if (HasWildcard(DirOf(path)) || !IsDirectory(DirOf(path))) {
                Warn(dialog, text + u"\nPath does not exist.\nCheck the path and try again.");
                return;
            }
            s.typedPattern = name;
            s.dir = DirOf(path);
            FillList(dialog, s);
            SetDlgItemTextW(dialog, edt1, name.c_str());
            return;
        }
        if (IsDirectory(path)) {
            EnterDirectory(dialog, s, path);
            SetDlgItemTextW(dialog, edt1, u"");
            return;
        }
        if (!Acceptable(dialog, s, path)) {
            return;
        }
        Finish(dialog, s, DirOf(path), {FileNameOf(path)});
        return;
    }
    // Several names: each in the directory shown.
    std::vector<std::u16string> names;
    for (const std::u16string& n : typed) {
        std::u16string path = Resolve(s.dir, n);
        if (!Acceptable(dialog, s, path)) {
            return;
        }
        if (DirOf(path) != s.dir) {
            Warn(dialog, n + u"\nThe files must be in one directory.");
            return;
        }
        names.push_back(FileNameOf(path));
    }
    Finish(dialog, s, s.dir, names);
}

void FillTypes(HWND dialog, FileDialogState& s) {
    HWND combo = GetDlgItem(dialog, cmb1);
    const WCHAR* p = s.ofn->lpstrFilter;
    while (p && *p) {
        std::u16string label = p;
        p += label.size() + 1;
        std::u16string patterns = *p ? std::u16string(p) : std::u16string(u"*");
        if (*p) {
            p += patterns.size() + 1;
        }
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
        s.filterPatterns.push_back(patterns);
    }
    if (s.filterPatterns.empty()) {
        EnableWindow(combo, FALSE);
        return;
    }
    DWORD index = s.ofn->nFilterIndex;
    if (index == 0 || index > s.filterPatterns.size()) {
        index = 1;
    }
    SendMessageW(combo, CB_SETCURSEL, index - 1, 0);
}

void OnInit(HWND dialog, FileDialogState& s) {
    LPOPENFILENAMEW ofn = s.ofn;
    FillTypes(dialog, s);
    std::u16string cwd;
    {
        std::error_code ec;
        cwd = FromPath(fs::current_path(ec));
        if (ec || cwd.empty()) {
            cwd = u"/";
        }
    }
    s.dir = cwd;
    if (ofn->lpstrInitialDir && *ofn->lpstrInitialDir) {
        std::u16string initial = Resolve(cwd, ofn->lpstrInitialDir);
        if (IsDirectory(initial)) {
            s.dir = initial;
        }
    }
    // A path given as the initial file name opens its directory.
    std::u16string file = ofn->lpstrFile ? std::u16string(ofn->lpstrFile) : std::u16string();
    if (file.find(u'/') != std::u16string::npos) {
        std::u16string path = Resolve(s.dir, file);
        if (IsDirectory(path)) {
            s.dir = path;
            file.clear();
        } else if (IsDirectory(DirOf(path))) {
            s.dir = DirOf(path);
            file = FileNameOf(path);
        }
    }
    if (HasWildcard(file)) {
        s.typedPattern = file;
    }
    SetDlgItemTextW(dialog, edt1, file.c_str());
    if (ofn->Flags & OFN_HIDEREADONLY) {
        ShowWindow(GetDlgItem(dialog, chx1), SW_HIDE);
    } else if (ofn->Flags & OFN_READONLY) {
        CheckDlgButton(dialog, chx1, BST_CHECKED);
    }
    FillList(dialog, s);
}

INT_PTR FileDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        OnInit(dialog, *reinterpret_cast<FileDialogState*>(lParam));
        HWND edit = GetDlgItem(dialog, edt1);
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        return FALSE;
    }
    FileDialogState* s = StateOf(dialog);
    if (!s || msg != WM_COMMAND) {
        return FALSE;
    }
    int id = LOWORD(wParam);
    int code = HIWORD(wParam);
    switch (id) {
    case IDOK:
        OnOk(dialog, *s);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    case lst1:
        if (code == LBN_SELCHANGE) {
            SelectionToEdit(dialog, *s);
        } else if (code == LBN_DBLCLK) {
            std::vector<int> selected = SelectedItems(dialog, *s);
            const Entry* e = selected.size() == 1 ? EntryAt(*s, selected[0]) : nullptr;
            if (e && e->kind != EntryKind::File) {
                EnterDirectory(dialog, *s, Resolve(s->dir, e->name));
            } else if (e) {
                SelectionToEdit(dialog, *s);
                OnOk(dialog, *s);
            }
        }
        return TRUE;
    case cmb1:
        if (code == CBN_SELCHANGE) {
            s->typedPattern.clear();
            FillList(dialog, *s);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL RunFileDialog(LPOPENFILENAMEW ofn, bool save) {
    SetExtendedError(0);
    if (!ofn || ofn->lStructSize < offsetof(OPENFILENAMEW, pvReserved)) {
        SetExtendedError(CDERR_STRUCTSIZE);
        return FALSE;
    }
    if (!ofn->lpstrFile || ofn->nMaxFile == 0) {
        SetExtendedError(CDERR_INITIALIZATION);
        return FALSE;
    }
    if (ofn->hwndOwner && !IsWindow(ofn->hwndOwner)) {
        SetExtendedError(CDERR_DIALOGFAILURE);
        return FALSE;
    }
    RegisterStandardControls();
    FileDialogState state;
    state.ofn = ofn;
    state.save = save;
    state.multi = (ofn->Flags & OFN_ALLOWMULTISELECT) != 0;

    std::u16string title =
        ofn->lpstrTitle ? std::u16string(ofn->lpstrTitle) : std::u16string(save ? u"Save As" : u"Open");
    TemplateBuilder t(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, title, 280,
                      182);
    t.Add(kStatic, u"Look &in:", stc4, WS_VISIBLE, 7, 9, 40, 8);
    t.Add(kStatic, u"", stc1, WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_PATHELLIPSIS | SS_SUNKEN, 50,
          7, 223, 11);
    DWORD listStyle =
        WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS;
    if (state.multi) {
        listStyle |= LBS_EXTENDEDSEL;
    }
    t.Add(kListBox, u"", lst1, listStyle, 7, 22, 266, 100);
    t.Add(kStatic, u"File &name:", stc3, WS_VISIBLE, 7, 130, 56, 8);
    t.Add(kEdit, u"", edt1, WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 65, 128, 150, 12);
    t.Add(kStatic, u"Files of &type:", stc2, WS_VISIBLE, 7, 148, 56, 8);
    t.Add(kComboBox, u"", cmb1, WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 65, 146, 150, 100);
    t.Add(kButton, u"Open as &read-only", chx1, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 65, 164, 100, 10);
    t.Add(kButton, save ? u"&Save" : u"&Open", IDOK, WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON,
          223, 127, 50, 14);
    t.Add(kButton, u"Cancel", IDCANCEL, WS_VISIBLE | WS_TABSTOP, 223, 145, 50, 14);

    INT_PTR answer = DialogBoxIndirectParamSizedW(nullptr, t.Get(), t.Size(), ofn->hwndOwner, FileDialogProc,
                                                  reinterpret_cast<LPARAM>(&state));
    if (answer == -1) {
        SetExtendedError(CDERR_DIALOGFAILURE);
        return FALSE;
    }
    if (state.bufferTooSmall) {
        SetExtendedError(FNERR_BUFFERTOOSMALL);
        return FALSE;
    }
    return answer == IDOK;
}

} // namespace

BOOL GetOpenFileNameW(LPOPENFILENAMEW ofn) {
    return RunFileDialog(ofn, false);
}

BOOL GetSaveFileNameW(LPOPENFILENAMEW ofn) {
    return RunFileDialog(ofn, true);
}

short GetFileTitleW(LPCWSTR file, LPWSTR title, WORD size) {
    if (!file) {
        return -1;
    }
    std::u16string name = FileNameOf(file);
    if (name.empty()) {
        return -1;
    }
    if (!title || size < name.size() + 1) {
        return static_cast<short>(name.size() + 1);
    }
    std::copy(name.begin(), name.end(), title);
    title[name.size()] = 0;
    return 0;
}
