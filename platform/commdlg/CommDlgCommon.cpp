// The extended error and the template builder shared by the common dialogs.
#include "platform/base/WideRuntime.h"
#include "platform/commdlg/CommDlgInternal.h"
#include "platform/dialog/Dialog.h"

namespace commdlg {

namespace {
thread_local DWORD t_error = 0;
}

void SetExtendedError(DWORD error) {
    t_error = error;
}

TemplateBuilder::TemplateBuilder(DWORD style, const std::u16string& title, short cx, short cy) {
    Word(1);
    Word(0xFFFF);
    Dword(0); // help id
    Dword(0); // extended style
    Dword(style | DS_SETFONT);
    countAt_ = bytes_.size();
    Word(0);
    Word(0); // x, y: placed by the caller
    Word(0);
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Word(0); // no menu
    Word(0); // the dialog class
    Text(title);
    Word(8);
    Word(FW_NORMAL);
    bytes_.push_back(0);
    bytes_.push_back(DEFAULT_CHARSET);
    Text(u"MS Shell Dlg");
}

void TemplateBuilder::Add(WORD cls, const std::u16string& text, int id, DWORD style, short x, short y,
                          short cx, short cy, DWORD exStyle) {
    Align();
    Dword(0);
    Dword(exStyle);
    Dword(style | WS_CHILD);
    Word(static_cast<WORD>(x));
    Word(static_cast<WORD>(y));
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Dword(static_cast<DWORD>(id));
    Word(0xFFFF);
    Word(cls);
    Text(text);
    Word(0); // no creation data
    ++count_;
}

const DLGTEMPLATE* TemplateBuilder::Get() {
    bytes_[countAt_] = static_cast<BYTE>(count_ & 0xFF);
    bytes_[countAt_ + 1] = static_cast<BYTE>(count_ >> 8);
    return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data());
}

void TemplateBuilder::Word(WORD v) {
    bytes_.push_back(static_cast<BYTE>(v & 0xFF));
    bytes_.push_back(static_cast<BYTE>(v >> 8));
}

void TemplateBuilder::Dword(DWORD v) {
    Word(static_cast<WORD>(v & 0xFFFF));
    Word(static_cast<WORD>(v >> 16));
}

void TemplateBuilder::Text(const std::u16string& s) {
    for (char16_t c : s) {
        Word(static_cast<WORD>(c));
    }
    Word(0);
}

void TemplateBuilder::Align() {
    while (bytes_.size() % 4) {
        bytes_.push_back(0);
    }
}

std::u16string WindowText(HWND hwnd) {
    int length = GetWindowTextLengthW(hwnd);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    int got = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

std::u16string DlgItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item ? WindowText(item) : std::u16string();
}

bool EqualNoCase(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (towlower(a[i]) != towlower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace commdlg

DWORD CommDlgExtendedError() {
    return commdlg::t_error;
}
