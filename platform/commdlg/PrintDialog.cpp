// Print, print setup and page setup over the layer's PDF printers.
#include "platform/base/CodePage.h"
#include "platform/base/WideRuntime.h"
#include "platform/commdlg/CommDlgInternal.h"
#include "platform/controls/StandardControls.h"
#include "platform/dialog/Dialog.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Printers.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace commdlg;

namespace {

struct Paper {
    short id;
    const char16_t* name;
    int width; // tenths of a millimetre
    int height;
};

constexpr Paper kPapers[] = {
    {DMPAPER_A4, u"A4 (210 x 297 mm)", 2100, 2970},
    {DMPAPER_LETTER, u"Letter (8.5 x 11 in)", 2159, 2794},
    {DMPAPER_LEGAL, u"Legal (8.5 x 14 in)", 2159, 3556},
    {DMPAPER_A3, u"A3 (297 x 420 mm)", 2970, 4200},
    {DMPAPER_A5, u"A5 (148 x 210 mm)", 1480, 2100},
};

const Paper& PaperOf(short id) {
    for (const Paper& p : kPapers) {
        if (p.id == id) {
            return p;
        }
    }
    return kPapers[0];
}

// What the dialog shows and the caller gets back.
struct Choice {
    std::vector<GdiPrinter> printers;
    int defaultIndex = -1;
    int printer = 0;
    std::u16string output;
    short paper = DMPAPER_A4;
    short orientation = DMORIENT_PORTRAIT;
    int copies = 1;
    DEVMODEW base{}; // the caller's device mode, whose other fields are kept
    bool hasBase = false;
};

struct PrintState {
    LPPRINTDLGW pd = nullptr;
    Choice* choice = nullptr;
    bool setup = false;
};

int DefaultIndex(const std::vector<GdiPrinter>& printers) {
    std::vector<WCHAR> name(256);
    DWORD size = static_cast<DWORD>(name.size());
    if (!GetDefaultPrinterW(name.data(), &size)) {
        return -1;
    }
    for (std::size_t i = 0; i < printers.size(); ++i) {
        if (EqualNoCase(printers[i].name, name.data())) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int IndexOf(const std::vector<GdiPrinter>& printers, const std::u16string& name) {
    for (std::size_t i = 0; i < printers.size(); ++i) {
        if (EqualNoCase(printers[i].name, name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void Select(Choice& c, int index) {
    c.printer = index;
    const GdiPrinter& p = c.printers[static_cast<std::size_t>(index)];
    c.output = p.outputPath;
    c.paper = p.paperSize;
    c.orientation = p.orientation;
}

// Starts from the default printer, then takes what the caller's blocks say.
void LoadChoice(Choice& c, HGLOBAL devMode, HGLOBAL devNames) {
    c.printers = GdiGetPrinters();
    c.defaultIndex = DefaultIndex(c.printers);
    if (c.printers.empty()) {
        return;
    }
    Select(c, c.defaultIndex >= 0 ? c.defaultIndex : 0);
    std::u16string device;
    std::u16string output;
    if (devNames && GlobalSize(devNames) >= sizeof(DEVNAMES)) {
        if (auto* dn = static_cast<const DEVNAMES*>(GlobalLock(devNames))) {
            std::size_t units = GlobalSize(devNames) / sizeof(WCHAR);
            auto* text = reinterpret_cast<const WCHAR*>(dn);
            if (dn->wDeviceOffset < units) {
                device.assign(text + dn->wDeviceOffset,
                              wcsnlen(text + dn->wDeviceOffset, units - dn->wDeviceOffset));
            }
            if (dn->wOutputOffset < units) {
                output.assign(text + dn->wOutputOffset,
                              wcsnlen(text + dn->wOutputOffset, units - dn->wOutputOffset));
            }
            GlobalUnlock(devNames);
        }
    }
    if (devMode && GlobalSize(devMode) >= offsetof(DEVMODEW, dmFormName)) {
        if (auto* dm = static_cast<const DEVMODEW*>(GlobalLock(devMode))) {
            std::memcpy(&c.base, dm, std::min<std::size_t>(sizeof(DEVMODEW), GlobalSize(devMode)));
            c.hasBase = true;
            GlobalUnlock(devMode);
        }
        if (device.empty()) {
            device.assign(c.base.dmDeviceName, wcsnlen(c.base.dmDeviceName, 32));
        }
    }
    int index = device.empty() ? -1 : IndexOf(c.printers, device);
    if (index >= 0) {
        Select(c, index);
        if (!output.empty()) {
            c.output = output;
        }
    }
    if (c.hasBase && (index >= 0 || device.empty())) {
        if (c.base.dmFields & DM_PAPERSIZE) {
            c.paper = c.base.dmPaperSize;
        }
        if (c.base.dmFields & DM_ORIENTATION) {
            c.orientation = c.base.dmOrientation;
        }
        if ((c.base.dmFields & DM_COPIES) && c.base.dmCopies > 0) {
            c.copies = c.base.dmCopies;
        }
    }
}

HGLOBAL MakeDevMode(const Choice& c) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEW));
    auto* dm = h ? static_cast<DEVMODEW*>(GlobalLock(h)) : nullptr;
    if (!dm) {
        return nullptr;
    }
    const GdiPrinter& p = c.printers[static_cast<std::size_t>(c.printer)];
    if (c.hasBase &&
        EqualNoCase(std::u16string(c.base.dmDeviceName, wcsnlen(c.base.dmDeviceName, 32)), p.name)) {
        *dm = c.base;
    }
    std::fill(std::begin(dm->dmDeviceName), std::end(dm->dmDeviceName), 0);
    std::copy_n(p.name.begin(), std::min<std::size_t>(p.name.size(), 31), dm->dmDeviceName);
    dm->dmSpecVersion = DM_SPECVERSION;
    dm->dmSize = sizeof(DEVMODEW);
    dm->dmDriverExtra = 0;
    dm->dmFields |= DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;
    dm->dmFields &= ~static_cast<DWORD>(DM_PAPERLENGTH | DM_PAPERWIDTH);
    dm->dmOrientation = c.orientation;
    dm->dmPaperSize = c.paper;
    dm->dmCopies = static_cast<short>(c.copies);
    GlobalUnlock(h);
    return h;
}

HGLOBAL MakeDevNames(const Choice& c) {
    const GdiPrinter& p = c.printers[static_cast<std::size_t>(c.printer)];
    std::u16string strings = std::u16string(u"PDF") + u'\0' + p.name + u'\0' + c.output + u'\0';
    constexpr std::size_t header = sizeof(DEVNAMES) / sizeof(WCHAR);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (header + strings.size()) * sizeof(WCHAR));
    auto* dn = h ? static_cast<DEVNAMES*>(GlobalLock(h)) : nullptr;
    if (!dn) {
        return nullptr;
    }
    dn->wDriverOffset = static_cast<WORD>(header);
    dn->wDeviceOffset = static_cast<WORD>(header + 4);
    dn->wOutputOffset = static_cast<WORD>(header + 4 + p.name.size() + 1);
    dn->wDefault = c.printer == c.defaultIndex ? DN_DEFAULTPRN : 0;
    std::copy(strings.begin(), strings.end(), reinterpret_cast<WCHAR*>(dn) + header);
    GlobalUnlock(h);
    return h;
}

// Replaces the caller's blocks and makes the DC it asked for.
bool StoreChoice(LPPRINTDLGW pd, const Choice& c) {
    HGLOBAL devMode = MakeDevMode(c);
    HGLOBAL devNames = MakeDevNames(c);
    if (!devMode || !devNames) {
        GlobalFree(devMode);
        GlobalFree(devNames);
        SetExtendedError(CDERR_MEMALLOCFAILURE);
        return false;
    }
    if (pd->hDevMode) {
        GlobalFree(pd->hDevMode);
    }
    if (pd->hDevNames) {
        GlobalFree(pd->hDevNames);
    }
    pd->hDevMode = devMode;
    pd->hDevNames = devNames;
    if (pd->Flags & (PD_RETURNDC | PD_RETURNIC)) {
        const GdiPrinter& p = c.printers[static_cast<std::size_t>(c.printer)];
        auto* dm = static_cast<DEVMODEW*>(GlobalLock(devMode));
        pd->hDC = (pd->Flags & PD_RETURNDC) ? CreateDCW(u"PDF", p.name.c_str(), c.output.c_str(), dm)
                                            : CreateICW(u"PDF", p.name.c_str(), c.output.c_str(), dm);
        GlobalUnlock(devMode);
        if (!pd->hDC) {
            SetExtendedError(PDERR_CREATEICFAILURE);
            return false;
        }
    }
    return true;
}

PrintState* StateOf(HWND dialog) {
    return reinterpret_cast<PrintState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void ShowPrinter(HWND dialog, const Choice& c) {
    SendDlgItemMessageW(dialog, cmb4, CB_SETCURSEL, static_cast<WPARAM>(c.printer), 0);
    SetDlgItemTextW(dialog, edt4, c.output.c_str());
    if (GetDlgItem(dialog, cmb2)) {
        int index = 0;
        for (std::size_t i = 0; i < std::size(kPapers); ++i) {
            if (kPapers[i].id == c.paper) {
                index = static_cast<int>(i);
            }
        }
        SendDlgItemMessageW(dialog, cmb2, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        CheckRadioButton(dialog, rad1, rad2, c.orientation == DMORIENT_LANDSCAPE ? rad2 : rad1);
    }
}

void OnInit(HWND dialog, PrintState& s) {
    Choice& c = *s.choice;
    for (const GdiPrinter& p : c.printers) {
        SendDlgItemMessageW(dialog, cmb4, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p.name.c_str()));
    }
    if (s.setup) {
        for (const Paper& p : kPapers) {
            SendDlgItemMessageW(dialog, cmb2, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p.name));
        }
        ShowPrinter(dialog, c);
        return;
    }
    ShowPrinter(dialog, c);
    LPPRINTDLGW pd = s.pd;
    SetDlgItemInt(dialog, edt1, pd->nFromPage, FALSE);
    SetDlgItemInt(dialog, edt2, pd->nToPage, FALSE);
    SetDlgItemInt(
        dialog, edt3,
        static_cast<UINT>((pd->Flags & PD_USEDEVMODECOPIES) ? c.copies : std::max<int>(pd->nCopies, 1)),
        FALSE);
    if (pd->Flags & PD_NOSELECTION) {
        EnableWindow(GetDlgItem(dialog, rad2), FALSE);
    }
    if (pd->Flags & PD_NOPAGENUMS) {
        for (int id : {rad3, stc2, edt1, stc3, edt2}) {
            EnableWindow(GetDlgItem(dialog, id), FALSE);
        }
    }
    int range = rad1;
    if ((pd->Flags & PD_SELECTION) && !(pd->Flags & PD_NOSELECTION)) {
        range = rad2;
    } else if ((pd->Flags & PD_PAGENUMS) && !(pd->Flags & PD_NOPAGENUMS)) {
        range = rad3;
    }
    CheckRadioButton(dialog, rad1, rad3, range);
}

bool ReadNumber(HWND dialog, int id, UINT low, UINT high, UINT* value) {
    BOOL ok = FALSE;
    UINT v = GetDlgItemInt(dialog, id, &ok, FALSE);
    if (!ok || v < low || v > high) {
        std::u16string text = u"Enter a number between " + Utf8ToUtf16(std::to_string(low)) + u" and " +
                              Utf8ToUtf16(std::to_string(high)) + u".";
        MessageBoxW(dialog, text.c_str(), WindowText(dialog).c_str(), MB_OK | MB_ICONWARNING);
        HWND edit = GetDlgItem(dialog, id);
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        return false;
    }
    *value = v;
    return true;
}

void OnOk(HWND dialog, PrintState& s) {
    Choice& c = *s.choice;
    LPPRINTDLGW pd = s.pd;
    c.output = DlgItemText(dialog, edt4);
    if (s.setup) {
        LRESULT paper = SendDlgItemMessageW(dialog, cmb2, CB_GETCURSEL, 0, 0);
        if (paper >= 0 && static_cast<std::size_t>(paper) < std::size(kPapers)) {
            c.paper = kPapers[paper].id;
        }
        c.orientation =
            IsDlgButtonChecked(dialog, rad2) == BST_CHECKED ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        EndDialog(dialog, IDOK);
        return;
    }
    UINT from = pd->nFromPage;
    UINT to = pd->nToPage;
    bool pages = IsDlgButtonChecked(dialog, rad3) == BST_CHECKED;
    if (pages) {
        UINT low = pd->nMinPage;
        UINT high = std::max(pd->nMaxPage, pd->nMinPage);
        if (!ReadNumber(dialog, edt1, low, high, &from) || !ReadNumber(dialog, edt2, from, high, &to)) {
            return;
        }
    }
    UINT copies = 1;
    if (!ReadNumber(dialog, edt3, 1, 9999, &copies)) {
        return;
    }
    c.copies = static_cast<int>(copies);
    pd->Flags &= ~static_cast<DWORD>(PD_SELECTION | PD_PAGENUMS);
    if (pages) {
        pd->Flags |= PD_PAGENUMS;
        pd->nFromPage = static_cast<WORD>(from);
        pd->nToPage = static_cast<WORD>(to);
    } else if (IsDlgButtonChecked(dialog, rad2) == BST_CHECKED) {
        pd->Flags |= PD_SELECTION;
    }
    EndDialog(dialog, IDOK);
}

INT_PTR PrintProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        OnInit(dialog, *reinterpret_cast<PrintState*>(lParam));
        return TRUE;
    }
    PrintState* s = StateOf(dialog);
    if (!s || msg != WM_COMMAND) {
        return FALSE;
    }
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOk(dialog, *s);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    case cmb4:
        if (HIWORD(wParam) == CBN_SELCHANGE) {
            LRESULT index = SendDlgItemMessageW(dialog, cmb4, CB_GETCURSEL, 0, 0);
            if (index >= 0 && static_cast<std::size_t>(index) < s->choice->printers.size()) {
                Select(*s->choice, static_cast<int>(index));
                ShowPrinter(dialog, *s->choice);
            }
        }
        return TRUE;
    case edt1:
    case edt2:
        if (HIWORD(wParam) == EN_CHANGE && GetFocus() == reinterpret_cast<HWND>(lParam)) {
            CheckRadioButton(dialog, rad1, rad3, rad3); // typing a page number chooses the page range
        }
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR RunDialog(LPPRINTDLGW pd, Choice& c, bool setup) {
    RegisterStandardControls();
    PrintState state{pd, &c, setup};
    constexpr DWORD kStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
    constexpr DWORD kRadio = WS_VISIBLE | BS_AUTORADIOBUTTON;
    constexpr DWORD kEditStyle = WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
    short height = setup ? 126 : 150;
    TemplateBuilder t(kStyle, setup ? u"Print Setup" : u"Print", 260, height);
    t.Add(kButton, u"Printer", grp3, WS_VISIBLE | BS_GROUPBOX, 7, 4, 246, 46);
    t.Add(kStatic, u"&Name:", stc4, WS_VISIBLE, 14, 17, 44, 8);
    t.Add(kComboBox, u"", cmb4, WS_VISIBLE | WS_TABSTOP | WS_GROUP | CBS_DROPDOWNLIST, 60, 15, 186, 100);
    t.Add(kStatic, u"Output &file:", stc5, WS_VISIBLE, 14, 33, 44, 8);
    t.Add(kEdit, u"", edt4, kEditStyle, 60, 31, 186, 12);
    if (setup) {
        t.Add(kButton, u"Paper", grp2, WS_VISIBLE | BS_GROUPBOX, 7, 54, 150, 40);
        t.Add(kStatic, u"Si&ze:", stc2, WS_VISIBLE, 14, 70, 24, 8);
        t.Add(kComboBox, u"", cmb2, WS_VISIBLE | WS_TABSTOP | WS_GROUP | CBS_DROPDOWNLIST, 40, 68, 110, 100);
        t.Add(kButton, u"Orientation", grp1, WS_VISIBLE | BS_GROUPBOX, 163, 54, 90, 40);
        t.Add(kButton, u"P&ortrait", rad1, kRadio | WS_TABSTOP | WS_GROUP, 170, 66, 76, 10);
        t.Add(kButton, u"L&andscape", rad2, kRadio, 170, 78, 76, 10);
    } else {
        t.Add(kButton, u"Print range", grp1, WS_VISIBLE | BS_GROUPBOX, 7, 54, 140, 64);
        t.Add(kButton, u"&All", rad1, kRadio | WS_TABSTOP | WS_GROUP, 14, 66, 100, 10);
        t.Add(kButton, u"Selectio&n", rad2, kRadio, 14, 80, 100, 10);
        t.Add(kButton, u"&Pages", rad3, kRadio, 14, 96, 34, 10);
        t.Add(kStatic, u"&from:", stc2, WS_VISIBLE, 50, 97, 20, 8);
        t.Add(kEdit, u"", edt1, kEditStyle | ES_NUMBER | WS_GROUP, 70, 95, 24, 12);
        t.Add(kStatic, u"&to:", stc3, WS_VISIBLE, 98, 97, 14, 8);
        t.Add(kEdit, u"", edt2, kEditStyle | ES_NUMBER, 114, 95, 24, 12);
        t.Add(kButton, u"Copies", grp2, WS_VISIBLE | BS_GROUPBOX, 153, 54, 100, 64);
        t.Add(kStatic, u"Number of &copies:", stc1, WS_VISIBLE, 160, 70, 62, 8);
        t.Add(kEdit, u"", edt3, kEditStyle | ES_NUMBER | WS_GROUP, 222, 68, 24, 12);
    }
    short buttons = static_cast<short>(height - 21);
    t.Add(kButton, u"OK", IDOK, WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 149, buttons, 50, 14);
    t.Add(kButton, u"Cancel", IDCANCEL, WS_VISIBLE | WS_TABSTOP, 203, buttons, 50, 14);
    return DialogBoxIndirectParamSizedW(nullptr, t.Get(), t.Size(), pd->hwndOwner, PrintProc,
                                        reinterpret_cast<LPARAM>(&state));
}

// Common to PrintDlg and PageSetupDlg: the default printer or the dialog; fills `c` on success.
BOOL Choose(LPPRINTDLGW pd, Choice& c, bool setup, bool returnDefault, bool noWarning) {
    if (returnDefault) {
        if (pd->hDevMode || pd->hDevNames) {
            SetExtendedError(PDERR_RETDEFFAILURE);
            return FALSE;
        }
        c.printers = GdiGetPrinters();
        c.defaultIndex = DefaultIndex(c.printers);
        if (c.defaultIndex < 0) {
            SetExtendedError(PDERR_NODEFAULTPRN);
            return FALSE;
        }
        Select(c, c.defaultIndex);
        return StoreChoice(pd, c) ? TRUE : FALSE;
    }
    LoadChoice(c, pd->hDevMode, pd->hDevNames);
    if (c.printers.empty()) {
        if (!noWarning) {
            MessageBoxW(pd->hwndOwner, u"No printers are installed.", setup ? u"Print Setup" : u"Print",
                        MB_OK | MB_ICONEXCLAMATION);
        }
        SetExtendedError(PDERR_NODEFAULTPRN);
        return FALSE;
    }
    INT_PTR answer = RunDialog(pd, c, setup);
    if (answer == -1) {
        SetExtendedError(CDERR_DIALOGFAILURE);
        return FALSE;
    }
    if (answer != IDOK) {
        return FALSE;
    }
    return StoreChoice(pd, c) ? TRUE : FALSE;
}

} // namespace

BOOL PrintDlgW(LPPRINTDLGW pd) {
    SetExtendedError(0);
    if (!pd || pd->lStructSize != sizeof(PRINTDLGW)) {
        SetExtendedError(CDERR_STRUCTSIZE);
        return FALSE;
    }
    if (pd->hwndOwner && !IsWindow(pd->hwndOwner)) {
        SetExtendedError(CDERR_DIALOGFAILURE);
        return FALSE;
    }
    Choice c;
    BOOL ok = Choose(pd, c, (pd->Flags & PD_PRINTSETUP) != 0, (pd->Flags & PD_RETURNDEFAULT) != 0,
                     (pd->Flags & PD_NOWARNING) != 0);
    if (ok && !(pd->Flags & (PD_RETURNDEFAULT | PD_PRINTSETUP))) {
        if (pd->Flags & PD_USEDEVMODECOPIES) {
            pd->nCopies = 1;
        } else {
            pd->nCopies = static_cast<WORD>(c.copies);
        }
    }
    return ok;
}

BOOL PageSetupDlgW(LPPAGESETUPDLGW psd) {
    SetExtendedError(0);
    if (!psd || psd->lStructSize != sizeof(PAGESETUPDLGW)) {
        SetExtendedError(CDERR_STRUCTSIZE);
        return FALSE;
    }
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = psd->hwndOwner;
    pd.hDevMode = psd->hDevMode;
    pd.hDevNames = psd->hDevNames;
    pd.Flags = PD_PRINTSETUP;
    Choice c;
    if (!Choose(&pd, c, true, (psd->Flags & PSD_RETURNDEFAULT) != 0, (psd->Flags & PSD_NOWARNING) != 0)) {
        return FALSE;
    }
    psd->hDevMode = pd.hDevMode;
    psd->hDevNames = pd.hDevNames;
    const Paper& paper = PaperOf(c.paper);
    bool inches = (psd->Flags & PSD_INTHOUSANDTHSOFINCHES) != 0;
    // Tenths of a millimetre to the caller's unit.
    auto unit = [&](int tenths) { return inches ? (tenths * 1000 + 127) / 254 : tenths * 10; };
    int w = unit(paper.width);
    int h = unit(paper.height);
    if (c.orientation == DMORIENT_LANDSCAPE) {
        std::swap(w, h);
    }
    psd->ptPaperSize = POINT{w, h};
    if (!(psd->Flags & PSD_MINMARGINS)) {
        psd->rtMinMargin = RECT{0, 0, 0, 0};
    }
    if (!(psd->Flags & PSD_MARGINS)) {
        int margin = inches ? 1000 : 2500;
        psd->rtMargin = RECT{margin, margin, margin, margin};
    }
    psd->Flags &= ~static_cast<DWORD>(PSD_INHUNDREDTHSOFMILLIMETERS | PSD_INTHOUSANDTHSOFINCHES);
    psd->Flags |= inches ? PSD_INTHOUSANDTHSOFINCHES : PSD_INHUNDREDTHSOFMILLIMETERS;
    return TRUE;
}
