// What the common dialogs share: their extended error, templates built in memory, small text helpers.
#pragma once

#include "platform/commdlg/CommDlg.h"
#include "platform/dialog/Dialog.h"

#include <string>
#include <vector>

namespace commdlg {

void SetExtendedError(DWORD error);

// The predefined control classes of templates.
constexpr WORD kButton = 0x0080;
constexpr WORD kEdit = 0x0081;
constexpr WORD kStatic = 0x0082;
constexpr WORD kListBox = 0x0083;
constexpr WORD kComboBox = 0x0085;

// A DLGTEMPLATEEX in the dialogs' own font (8-point "MS Shell Dlg"), item by item.
class TemplateBuilder {
public:
    TemplateBuilder(DWORD style, const std::u16string& title, short cx, short cy);
    void Add(WORD cls, const std::u16string& text, int id, DWORD style, short x, short y, short cx, short cy,
             DWORD exStyle = 0);
    // The finished template; valid until the builder changes.
    const DLGTEMPLATE* Get();
    std::size_t Size() const { return bytes_.size(); }

private:
    void Word(WORD v);
    void Dword(DWORD v);
    void Text(const std::u16string& s);
    void Align();
    std::vector<BYTE> bytes_;
    WORD count_ = 0;
    std::size_t countAt_ = 0;
};

std::u16string WindowText(HWND hwnd);
std::u16string DlgItemText(HWND dialog, int id);
// Case-insensitive, as the original's file system compares names.
bool EqualNoCase(const std::u16string& a, const std::u16string& b);

} // namespace commdlg
