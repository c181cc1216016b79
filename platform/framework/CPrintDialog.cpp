#include "platform/framework/CPrintDialog.h"

#include "platform/base/GlobalMemory.h"
#include "platform/gdi/Gdi.h"

IMPLEMENT_DYNAMIC(CPrintDialog, CCommonDialog)

namespace {

// Driver (0), device (1) or port (2) name of a DEVNAMES block, read within the block.
CString DevNamesField(HGLOBAL devNames, int which) {
    if (!devNames || ::GlobalSize(devNames) < sizeof(DEVNAMES)) {
        return CString();
    }
    auto* dn = static_cast<const DEVNAMES*>(::GlobalLock(devNames));
    if (!dn) {
        return CString();
    }
    WORD offset = which == 0 ? dn->wDriverOffset : which == 1 ? dn->wDeviceOffset : dn->wOutputOffset;
    std::size_t units = ::GlobalSize(devNames) / sizeof(TCHAR);
    CString out;
    if (offset < units) {
        const TCHAR* text = reinterpret_cast<const TCHAR*>(dn) + offset;
        std::size_t n = 0;
        while (offset + n < units && text[n]) {
            ++n;
        }
        out = CString(text, static_cast<int>(n));
    }
    ::GlobalUnlock(devNames);
    return out;
}

} // namespace

HDC AfxCreateDC(HGLOBAL hDevNames, HGLOBAL hDevMode) {
    if (!hDevNames) {
        return nullptr;
    }
    const CString driver = DevNamesField(hDevNames, 0);
    const CString device = DevNamesField(hDevNames, 1);
    const CString port = DevNamesField(hDevNames, 2);
    const DEVMODEW* devMode = nullptr;
    if (hDevMode) {
        // A block too small for a device mode (written elsewhere, or in another character set) names no
        // device here.
        if (::GlobalSize(hDevMode) < sizeof(DEVMODEW)) {
            return nullptr;
        }
        devMode = static_cast<const DEVMODEW*>(::GlobalLock(hDevMode));
    }
    HDC dc = ::CreateDCW(driver, device, port, devMode);
    if (devMode) {
        ::GlobalUnlock(hDevMode);
    }
    return dc;
}

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd) {
    m_pd.lStructSize = sizeof m_pd;
    m_pd.Flags = dwFlags | (bPrintSetupOnly ? PD_PRINTSETUP : PD_RETURNDC);
    m_pd.nFromPage = 1;
    m_pd.nToPage = 1;
    m_pd.nMinPage = 1;
    m_pd.nMaxPage = 0xFFFF;
    m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog() {
    if (m_pd.hDC) {
        ::DeleteDC(m_pd.hDC);
    }
}

INT_PTR CPrintDialog::DoModal() {
    m_pd.hwndOwner = OwnerWindow();
    if (m_pd.hDC) {
        ::DeleteDC(m_pd.hDC);
        m_pd.hDC = nullptr;
    }
    return ::PrintDlgW(&m_pd) ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults() {
    DWORD saved = m_pd.Flags;
    m_pd.Flags |= PD_RETURNDEFAULT;
    m_pd.Flags &= ~static_cast<DWORD>(PD_PRINTSETUP);
    BOOL ok = ::PrintDlgW(&m_pd);
    m_pd.Flags = saved;
    return ok;
}

HDC CPrintDialog::CreatePrinterDC() {
    if (!m_pd.hDevNames) {
        return nullptr;
    }
    HDC dc = AfxCreateDC(m_pd.hDevNames, m_pd.hDevMode);
    if (m_pd.hDC) {
        ::DeleteDC(m_pd.hDC);
    }
    m_pd.hDC = dc;
    return dc;
}

CString CPrintDialog::DevNamesString(int which) const {
    return DevNamesField(m_pd.hDevNames, which);
}

CString CPrintDialog::GetDriverName() const {
    return DevNamesString(0);
}

CString CPrintDialog::GetDeviceName() const {
    return DevNamesString(1);
}

CString CPrintDialog::GetPortName() const {
    return DevNamesString(2);
}

LPDEVMODE CPrintDialog::GetDevMode() const {
    return m_pd.hDevMode ? static_cast<LPDEVMODE>(::GlobalLock(m_pd.hDevMode)) : nullptr;
}

int CPrintDialog::GetCopies() const {
    if (m_pd.Flags & PD_USEDEVMODECOPIES) {
        LPDEVMODE dm = GetDevMode();
        int copies = dm ? dm->dmCopies : 1;
        if (dm) {
            ::GlobalUnlock(m_pd.hDevMode);
        }
        return copies;
    }
    return m_pd.nCopies;
}
