// The print and print setup dialogs as a framework object over the layer's PDF printers.
#pragma once

#include "platform/framework/CCommonDialog.h"

class CPrintDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CPrintDialog)

public:
    explicit CPrintDialog(BOOL bPrintSetupOnly,
                          DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS |
                                          PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                          CWnd* pParentWnd = nullptr);
    // Deletes a DC the dialog made; the device blocks belong to the caller.
    ~CPrintDialog() override;

    // IDOK or IDCANCEL (also when it failed: CommDlgExtendedError tells).
    INT_PTR DoModal() override;
    // The default printer's blocks (and DC with PD_RETURNDC) without showing anything; FALSE with no printer.
    BOOL GetDefaults();
    // A DC for the blocks in m_pd (also kept in m_pd.hDC), null when they name no printer.
    HDC CreatePrinterDC();
    HDC GetPrinterDC() const { return m_pd.hDC; }

    CString GetDeviceName() const;
    CString GetDriverName() const;
    CString GetPortName() const;
    // The device mode block, locked (the caller need not unlock it), or null.
    LPDEVMODE GetDevMode() const;
    int GetCopies() const;
    BOOL GetCollate() const { return (m_pd.Flags & PD_COLLATE) != 0; }
    BOOL PrintAll() const { return !PrintRange() && !PrintSelection(); }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
    int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
    int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }

    PRINTDLG m_pd{};

private:
    CString DevNamesString(int which) const;
};

// A DC for the printer that a DEVNAMES block (and optionally a DEVMODE block) names; null when they name no
// printer or the mode block is too small to be one. The caller deletes it.
HDC AfxCreateDC(HGLOBAL hDevNames, HGLOBAL hDevMode);
