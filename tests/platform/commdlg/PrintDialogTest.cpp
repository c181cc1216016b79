// Print, print setup and page setup over configured PDF printers, and without any printer.
#include "CommDlgTestSupport.h"

#include "platform/framework/CPrintDialog.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Printers.h"
#include "support/TestSupport.h"

#include "platform/base/CodePage.h"

namespace {

using commdlgtest::CommDlgTest;

struct Names {
    std::u16string driver, device, output;
    WORD isDefault;
};

Names ReadNames(HGLOBAL h) {
    auto* dn = static_cast<const DEVNAMES*>(GlobalLock(h));
    auto* text = reinterpret_cast<const WCHAR*>(dn);
    Names n{text + dn->wDriverOffset, text + dn->wDeviceOffset, text + dn->wOutputOffset, dn->wDefault};
    GlobalUnlock(h);
    return n;
}

DEVMODEW ReadMode(HGLOBAL h) {
    DEVMODEW dm = *static_cast<const DEVMODEW*>(GlobalLock(h));
    GlobalUnlock(h);
    return dm;
}

class PrintDialogTest : public CommDlgTest {
protected:
    void SetUp() override {
        CommDlgTest::SetUp();
        office = Utf8ToUtf16((testsupport::ScratchDir() / "office.pdf").string());
        draft = Utf8ToUtf16((testsupport::ScratchDir() / "draft.pdf").string());
        GdiSetPrinters({}, -1);
        pd = PRINTDLGW{};
        pd.lStructSize = sizeof pd;
        pd.hwndOwner = owner;
    }
    void TearDown() override {
        GdiSetPrinters({}, -1);
        if (pd.hDC) {
            DeleteDC(pd.hDC);
        }
        GlobalFree(pd.hDevMode);
        GlobalFree(pd.hDevNames);
        CommDlgTest::TearDown();
    }
    void Configure() {
        GdiSetPrinters({{u"Office", office, DMPAPER_A4, DMORIENT_PORTRAIT},
                        {u"Draft", draft, DMPAPER_LETTER, DMORIENT_LANDSCAPE}},
                       1);
    }
    static void Pick(HWND dialog, int id, int index) {
        SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Command(dialog, id, CBN_SELCHANGE);
    }

    std::u16string office, draft;
    PRINTDLGW pd{};
};

TEST_F(PrintDialogTest, WithoutPrintersTheDefaultsAndTheDialogFail) {
    pd.Flags = PD_RETURNDEFAULT;
    EXPECT_FALSE(PrintDlgW(&pd));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(PDERR_NODEFAULTPRN));
    EXPECT_EQ(pd.hDevNames, nullptr);

    pd.Flags = PD_RETURNDC;
    EXPECT_FALSE(PrintDlgW(&pd));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(PDERR_NODEFAULTPRN));
    ASSERT_EQ(boxes.size(), 1u) << "the user hears why";
    pd.Flags = PD_RETURNDC | PD_NOWARNING;
    EXPECT_FALSE(PrintDlgW(&pd));
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(unscripted, 0);

    CPrintDialog dlg(FALSE);
    EXPECT_FALSE(dlg.GetDefaults());
    EXPECT_EQ(dlg.GetDeviceName(), CString());
}

TEST_F(PrintDialogTest, DefaultsDescribeTheDefaultPrinterAndMakeItsDc) {
    Configure();
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    ASSERT_TRUE(PrintDlgW(&pd));
    Names n = ReadNames(pd.hDevNames);
    EXPECT_EQ(n.driver, u"PDF");
    EXPECT_EQ(n.device, u"Draft");
    EXPECT_EQ(n.output, draft);
    EXPECT_EQ(n.isDefault, DN_DEFAULTPRN);
    DEVMODEW dm = ReadMode(pd.hDevMode);
    EXPECT_EQ(std::u16string(dm.dmDeviceName), u"Draft");
    EXPECT_EQ(dm.dmSize, sizeof(DEVMODEW));
    EXPECT_EQ(dm.dmPaperSize, DMPAPER_LETTER);
    EXPECT_EQ(dm.dmOrientation, DMORIENT_LANDSCAPE);
    ASSERT_NE(pd.hDC, nullptr);
    // Letter in landscape at the printers' resolution.
    EXPECT_EQ(GetDeviceCaps(pd.hDC, HORZRES), 11 * kGdiPrinterDpi);

    // Blocks already there are refused.
    PRINTDLGW again = pd;
    again.hDC = nullptr;
    EXPECT_FALSE(PrintDlgW(&again));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(PDERR_RETDEFFAILURE));
}

TEST_F(PrintDialogTest, PrintDialogReturnsPrinterRangeAndCopies) {
    Configure();
    pd.Flags = PD_RETURNDC | PD_NOSELECTION;
    pd.nMinPage = 1;
    pd.nMaxPage = 9;
    pd.nFromPage = 1;
    pd.nToPage = 9;
    bool selectionEnabled = true;
    steps.push_back([&](HWND d) {
        EXPECT_EQ(Text(d, edt4), draft) << "the default printer comes first";
        selectionEnabled = IsWindowEnabled(GetDlgItem(d, rad2));
        Pick(d, cmb4, 0);
        EXPECT_EQ(Text(d, edt4), office);
        CheckRadioButton(d, rad1, rad3, rad3);
        SetDlgItemInt(d, edt1, 3, FALSE);
        SetDlgItemInt(d, edt2, 12, FALSE); // past the last page: refused
        Command(d, IDOK, BN_CLICKED);
    });
    steps.push_back([&](HWND d) {
        SetDlgItemInt(d, edt2, 5, FALSE);
        SetDlgItemInt(d, edt3, 2, FALSE);
        Command(d, IDOK, BN_CLICKED);
    });
    ASSERT_TRUE(PrintDlgW(&pd));
    EXPECT_FALSE(selectionEnabled);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"Enter a number between 3 and 9.");
    EXPECT_EQ(pd.Flags & (PD_PAGENUMS | PD_SELECTION), static_cast<DWORD>(PD_PAGENUMS));
    EXPECT_EQ(pd.nFromPage, 3);
    EXPECT_EQ(pd.nToPage, 5);
    EXPECT_EQ(pd.nCopies, 2);
    Names n = ReadNames(pd.hDevNames);
    EXPECT_EQ(n.device, u"Office");
    EXPECT_EQ(n.isDefault, 0);
    ASSERT_NE(pd.hDC, nullptr);
    EXPECT_EQ(GetDeviceCaps(pd.hDC, HORZRES), 2480); // A4 portrait, 210 mm at 300 dpi

    // Cancel leaves the blocks as they were.
    HGLOBAL names = pd.hDevNames;
    DeleteDC(pd.hDC);
    pd.hDC = nullptr;
    steps.push_back([&](HWND d) { Command(d, IDCANCEL, BN_CLICKED); });
    EXPECT_FALSE(PrintDlgW(&pd));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_EQ(pd.hDevNames, names);
}

TEST_F(PrintDialogTest, SetupStartsFromTheCallersBlocksAndKeepsTheirOtherFields) {
    Configure();
    pd.Flags = PD_RETURNDEFAULT;
    ASSERT_TRUE(PrintDlgW(&pd));
    // The caller's own setting in the device mode, and the first printer named.
    auto* dm = static_cast<DEVMODEW*>(GlobalLock(pd.hDevMode));
    dm->dmTTOption = 1;
    std::u16string name = u"Office";
    std::copy(name.begin(), name.end() + 1, dm->dmDeviceName);
    GlobalUnlock(pd.hDevMode);
    GlobalFree(pd.hDevNames);
    pd.hDevNames = nullptr;

    pd.Flags = PD_PRINTSETUP;
    std::u16string shown;
    steps.push_back([&](HWND d) {
        shown = Text(d, edt4);
        Pick(d, cmb2, 2); // Legal
        CheckRadioButton(d, rad1, rad2, rad1);
        Command(d, IDOK, BN_CLICKED);
    });
    ASSERT_TRUE(PrintDlgW(&pd));
    EXPECT_EQ(shown, office);
    DEVMODEW out = ReadMode(pd.hDevMode);
    EXPECT_EQ(std::u16string(out.dmDeviceName), u"Office");
    EXPECT_EQ(out.dmPaperSize, DMPAPER_LEGAL);
    EXPECT_EQ(out.dmOrientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(out.dmTTOption, 1);
    EXPECT_EQ(ReadNames(pd.hDevNames).device, u"Office");
}

TEST_F(PrintDialogTest, PageSetupGivesThePaperInTheAskedUnit) {
    Configure();
    PAGESETUPDLGW psd{};
    psd.lStructSize = sizeof psd;
    psd.hwndOwner = owner;
    psd.Flags = PSD_RETURNDEFAULT | PSD_INTHOUSANDTHSOFINCHES;
    ASSERT_TRUE(PageSetupDlgW(&psd));
    EXPECT_EQ(psd.ptPaperSize.x, 11000); // Letter, landscape
    EXPECT_EQ(psd.ptPaperSize.y, 8500);
    EXPECT_EQ(psd.rtMargin.left, 1000);

    // The dialog, from those blocks: A5 across, in hundredths of a millimetre, the margins as given.
    psd.Flags = PSD_MARGINS;
    psd.rtMargin = RECT{500, 600, 700, 800};
    steps.push_back([&](HWND d) {
        Pick(d, cmb2, 4);
        CheckRadioButton(d, rad1, rad2, rad2);
        Command(d, IDOK, BN_CLICKED);
    });
    ASSERT_TRUE(PageSetupDlgW(&psd));
    EXPECT_EQ(psd.ptPaperSize.x, 21000);
    EXPECT_EQ(psd.ptPaperSize.y, 14800);
    EXPECT_EQ(psd.rtMargin.bottom, 800);
    EXPECT_TRUE(psd.Flags & PSD_INHUNDREDTHSOFMILLIMETERS);
    EXPECT_EQ(ReadMode(psd.hDevMode).dmPaperSize, DMPAPER_A5);
    GlobalFree(psd.hDevMode);
    GlobalFree(psd.hDevNames);
}

TEST_F(PrintDialogTest, FrameworkDialogReadsTheBlocksAndMakesTheDc) {
    Configure();
    CPrintDialog dlg(FALSE);
    ASSERT_TRUE(dlg.GetDefaults());
    EXPECT_EQ(dlg.GetDriverName(), CString(u"PDF"));
    EXPECT_EQ(dlg.GetDeviceName(), CString(u"Draft"));
    EXPECT_EQ(dlg.GetPortName(), CString(draft.c_str()));
    HDC dc = dlg.CreatePrinterDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(dlg.GetPrinterDC(), dc);
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 2550); // 8.5 in
    GlobalFree(dlg.m_pd.hDevMode);
    GlobalFree(dlg.m_pd.hDevNames);
}

TEST_F(PrintDialogTest, CreateDcRefusesAModeBlockTooSmallForADeviceMode) {
    Configure();
    CPrintDialog dlg(FALSE);
    ASSERT_TRUE(dlg.GetDefaults());
    HDC dc = AfxCreateDC(dlg.m_pd.hDevNames, dlg.m_pd.hDevMode);
    EXPECT_NE(dc, nullptr);
    DeleteDC(dc);
    HGLOBAL shortMode = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 12);
    EXPECT_EQ(AfxCreateDC(dlg.m_pd.hDevNames, shortMode), nullptr);
    EXPECT_EQ(AfxCreateDC(nullptr, dlg.m_pd.hDevMode), nullptr);
    GlobalFree(shortMode);
    GlobalFree(dlg.m_pd.hDevMode);
    GlobalFree(dlg.m_pd.hDevNames);
}

} // namespace
