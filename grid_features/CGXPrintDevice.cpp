#include "grid_features/CGXPrintDevice.h"

#include "grid/GridArchive.h"
#include "grid/GridLibraryState.h"
#include "platform/base/CArchive.h"
#include "platform/base/Exceptions.h"
#include "platform/base/GlobalMemory.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CPrintDialog.h"
#include "platform/framework/CWinApp.h"

#include <cstring>
#include <memory>

IMPLEMENT_SERIAL(CGXPrintDevice, CObject, 1)

namespace {

constexpr WORD kVersion = 1;
constexpr UINT kBlockFlags = GMEM_MOVEABLE | GMEM_DISCARDABLE;
constexpr DWORD kPrintSetupDefaultsFlags = 0x14000C;
constexpr short kTrueTypeAsGraphics = 1;

CGXPrintDevice* AsDevice(CObject* device) {
    return static_cast<CGXPrintDevice*>(device);
}

// A new movable block holding the bytes, or null when it cannot be made.
HGLOBAL MakeBlock(const BYTE* bytes, DWORD size) {
    HGLOBAL block = ::GlobalAlloc(kBlockFlags, size);
    if (!block) {
        return nullptr;
    }
    if (void* data = ::GlobalLock(block)) {
        std::memcpy(data, bytes, size);
        ::GlobalUnlock(block);
        return block;
    }
    ::GlobalFree(block);
    return nullptr;
}

// A copy of the block's bytes in a new buffer (null and 0 for no block).
void CopyBlock(HGLOBAL block, BYTE*& bytes, DWORD& size) {
    bytes = nullptr;
    size = 0;
    if (!block) {
        return;
    }
    const auto length = static_cast<DWORD>(::GlobalSize(block));
    const void* data = ::GlobalLock(block);
    if (!data) {
        return;
    }
    bytes = new BYTE[length ? length : 1];
    std::memcpy(bytes, data, length);
    size = length;
    ::GlobalUnlock(block);
}

bool SameBytes(HGLOBAL block, const BYTE* bytes, DWORD size) {
    if (!block) {
        return size == 0;
    }
    if (::GlobalSize(block) != size) {
        return false;
    }
    const void* data = ::GlobalLock(block);
    const bool same = data && std::memcmp(data, bytes, size) == 0;
    ::GlobalUnlock(block);
    return same;
}

} // namespace

CGXPrintDevice::CGXPrintDevice() : m_pDeviceImp(GridLibraryState::Instance().printDeviceImp) {}

CGXPrintDevice::~CGXPrintDevice() {
    FreeDevice();
}

void CGXPrintDevice::Serialize(CArchive& ar) {
    CGXAbstractPrintDeviceImp* imp = RequireFeature(m_pDeviceImp);
    if (ar.IsStoring()) {
        BYTE* names = nullptr;
        BYTE* mode = nullptr;
        DWORD namesSize = 0;
        DWORD modeSize = 0;
        imp->GetDeviceData(this, m_hDevNames, m_hDevMode, names, namesSize, mode, modeSize);
        const std::unique_ptr<BYTE[]> ownNames(names);
        const std::unique_ptr<BYTE[]> ownMode(mode);
        ar << kVersion << namesSize;
        ar.Write(names, namesSize);
        ar << modeSize;
        ar.Write(mode, modeSize);
        return;
    }
    WORD version = 0;
    ar >> version;
    if (version != kVersion) {
        AfxThrowArchiveException(CArchiveException::badSchema);
    }
    const auto readBlock = [&ar](std::unique_ptr<BYTE[]>& bytes) {
        DWORD size = 0;
        ar >> size;
        ar.EnsureAvailable(size);
        bytes.reset(new BYTE[size ? size : 1]);
        if (ar.Read(bytes.get(), size) != size) {
            AfxThrowArchiveException(CArchiveException::endOfFile);
        }
        return size;
    };
    std::unique_ptr<BYTE[]> names;
    std::unique_ptr<BYTE[]> mode;
    const DWORD namesSize = readBlock(names);
    const DWORD modeSize = readBlock(mode);
    imp->SetDeviceData(this, names.get(), namesSize, mode.get(), modeSize);
}

CDC* CGXPrintDevice::GetPrinterDC() {
    return m_pDeviceImp ? m_pDeviceImp->GetPrinterDC(this) : nullptr;
}

void CGXPrintDevice::ReleasePrinterDC() {
    if (m_pDeviceImp) {
        m_pDeviceImp->ReleasePrinterDC(this);
    }
}

void CGXPrintDevice::Assign(const CGXPrintDevice& other) {
    if (&other != this) {
        CopyHandles(other.m_hDevNames, other.m_hDevMode);
    }
}

void CGXPrintDevice::EnsureDevice() {
    if (!m_hDevNames) {
        CreateDefaultDevice();
    }
}

void CGXPrintDevice::SetDeviceData(const BYTE* names, DWORD namesSize, const BYTE* mode, DWORD modeSize) {
    if (m_pDeviceImp) {
        m_pDeviceImp->SetDeviceData(this, names, namesSize, mode, modeSize);
    }
}

void CGXPrintDevice::CopyHandles(HGLOBAL devNames, HGLOBAL devMode) {
    if (m_pDeviceImp) {
        m_pDeviceImp->CopyHandles(this, devNames, devMode);
    }
}

void CGXPrintDevice::FreeDevice() {
    if (m_pDeviceImp) {
        m_pDeviceImp->FreeDevice(this);
    }
}

void CGXPrintDevice::GetDeviceData(BYTE*& names, DWORD& namesSize, BYTE*& mode, DWORD& modeSize) {
    names = mode = nullptr;
    namesSize = modeSize = 0;
    if (m_pDeviceImp) {
        m_pDeviceImp->GetDeviceData(this, m_hDevNames, m_hDevMode, names, namesSize, mode, modeSize);
    }
}

void CGXPrintDevice::CreateDefaultDevice() {
    if (m_pDeviceImp) {
        m_pDeviceImp->CreateDefaultDevice(this);
    }
}

void CGXPrintDevice::GetDeviceHandles(HGLOBAL& devNames, HGLOBAL& devMode) {
    devNames = devMode = nullptr;
    if (m_pDeviceImp) {
        m_pDeviceImp->GetDeviceHandles(this, devNames, devMode);
    }
}

BOOL CGXPrintDevice::IsSameDevice(HGLOBAL devNames, HGLOBAL devMode) {
    return m_pDeviceImp ? m_pDeviceImp->IsSameDevice(this, devNames, devMode) : FALSE;
}

BOOL CGXPrintDevice::CompareDeviceData(const BYTE* names, DWORD namesSize, const BYTE* mode, DWORD modeSize) {
    return m_pDeviceImp ? m_pDeviceImp->CompareDeviceData(this, names, namesSize, mode, modeSize) : FALSE;
}

void CGXPrintDeviceImp::MakeAppPrinter(CObject* device) {
    CWinApp* app = AfxGetApp();
    if (!device || !app) {
        return;
    }
    ::GlobalFree(app->m_hDevNames);
    ::GlobalFree(app->m_hDevMode);
    app->m_hDevNames = app->m_hDevMode = nullptr;
    GetDeviceHandles(device, app->m_hDevNames, app->m_hDevMode);
}

INT_PTR CGXPrintDeviceImp::DoPrintDialog(CObject* device, CPrintDialog* dialog) {
    CWinApp* app = AfxGetApp();
    if (!device || !dialog || !app) {
        return 0;
    }
    app->BeginWaitCursor();
    AsDevice(device)->EnsureDevice();
    MakeAppPrinter(device);
    app->EndWaitCursor();
    const INT_PTR result = app->DoPrintDialog(dialog);
    if (result == IDOK) {
        CopyHandles(device, dialog->m_pd.hDevNames, dialog->m_pd.hDevMode);
    }
    return result;
}

void CGXPrintDeviceImp::CopyHandles(CObject* device, HGLOBAL devNames, HGLOBAL devMode) {
    BYTE* names = nullptr;
    BYTE* mode = nullptr;
    DWORD namesSize = 0;
    DWORD modeSize = 0;
    CopyBlock(devNames, names, namesSize);
    const std::unique_ptr<BYTE[]> ownNames(names);
    CopyBlock(devMode, mode, modeSize);
    const std::unique_ptr<BYTE[]> ownMode(mode);
    SetDeviceData(device, names, namesSize, mode, modeSize);
}

void CGXPrintDeviceImp::SetDeviceData(CObject* object, const BYTE* names, DWORD namesSize, const BYTE* mode,
                                      DWORD modeSize) {
    if (!object) {
        return;
    }
    FreeDevice(object);
    CGXPrintDevice& device = *AsDevice(object);
    bool failed = false;
    if (namesSize) {
        device.m_hDevNames = MakeBlock(names, namesSize);
        failed = !device.m_hDevNames;
    }
    if (modeSize) {
        device.m_hDevMode = MakeBlock(mode, modeSize);
        failed = failed || !device.m_hDevMode;
    }
    if (failed) {
        AfxThrowMemoryException();
    }
}

void CGXPrintDeviceImp::FreeDevice(CObject* object) {
    if (!object) {
        return;
    }
    CGXPrintDevice& device = *AsDevice(object);
    ReleasePrinterDC(object);
    ::GlobalFree(device.m_hDevNames);
    ::GlobalFree(device.m_hDevMode);
    device.m_hDevNames = device.m_hDevMode = nullptr;
}

void CGXPrintDeviceImp::GetDeviceData(CObject*, HGLOBAL devNames, HGLOBAL devMode, BYTE*& names,
                                      DWORD& namesSize, BYTE*& mode, DWORD& modeSize) {
    CopyBlock(devNames, names, namesSize);
    CopyBlock(devMode, mode, modeSize);
}

void CGXPrintDeviceImp::CreateDefaultDevice(CObject* device) {
    if (!device) {
        return;
    }
    CPrintDialog dialog(TRUE, kPrintSetupDefaultsFlags);
    if (dialog.GetDefaults()) {
        if (auto* mode = static_cast<DEVMODEW*>(::GlobalLock(dialog.m_pd.hDevMode))) {
            mode->dmTTOption = kTrueTypeAsGraphics;
            ::GlobalUnlock(dialog.m_pd.hDevMode);
        }
        CopyHandles(device, dialog.m_pd.hDevNames, dialog.m_pd.hDevMode);
    }
    // The dialog's blocks are the caller's.
    ::GlobalFree(dialog.m_pd.hDevNames);
    ::GlobalFree(dialog.m_pd.hDevMode);
}

CDC* CGXPrintDeviceImp::GetPrinterDC(CObject* object) {
    if (!object) {
        return nullptr;
    }
    CGXPrintDevice& device = *AsDevice(object);
    if (!device.m_pPrinterDC) {
        device.EnsureDevice();
        if (HDC dc = AfxCreateDC(device.m_hDevNames, device.m_hDevMode)) {
            device.m_pPrinterDC = new CDC;
            device.m_pPrinterDC->Attach(dc);
        }
    }
    return device.m_pPrinterDC;
}

void CGXPrintDeviceImp::ReleasePrinterDC(CObject* object) {
    if (object) {
        CGXPrintDevice& device = *AsDevice(object);
        delete device.m_pPrinterDC;
        device.m_pPrinterDC = nullptr;
    }
}

void CGXPrintDeviceImp::GetDeviceHandles(CObject* object, HGLOBAL& devNames, HGLOBAL& devMode) {
    devNames = devMode = nullptr;
    if (!object || !AsDevice(object)->m_hDevNames) {
        return;
    }
    CGXPrintDevice& device = *AsDevice(object);
    BYTE* names = nullptr;
    BYTE* mode = nullptr;
    DWORD namesSize = 0;
    DWORD modeSize = 0;
    GetDeviceData(object, device.m_hDevNames, device.m_hDevMode, names, namesSize, mode, modeSize);
    const std::unique_ptr<BYTE[]> ownNames(names);
    const std::unique_ptr<BYTE[]> ownMode(mode);
    devNames = MakeBlock(names, namesSize);
    devMode = modeSize ? MakeBlock(mode, modeSize) : nullptr;
    if (!devNames || (modeSize && !devMode)) {
        ::GlobalFree(devNames);
        ::GlobalFree(devMode);
        devNames = devMode = nullptr;
        AfxThrowMemoryException();
    }
}

BOOL CGXPrintDeviceImp::IsSameDevice(CObject* device, HGLOBAL devNames, HGLOBAL devMode) {
    BYTE* names = nullptr;
    BYTE* mode = nullptr;
    DWORD namesSize = 0;
    DWORD modeSize = 0;
    GetDeviceData(device, devNames, devMode, names, namesSize, mode, modeSize);
    const std::unique_ptr<BYTE[]> ownNames(names);
    const std::unique_ptr<BYTE[]> ownMode(mode);
    return CompareDeviceData(device, names, namesSize, mode, modeSize);
}

BOOL CGXPrintDeviceImp::CompareDeviceData(CObject* object, const BYTE* names, DWORD namesSize, const BYTE* mode,
                                          DWORD modeSize) {
    if (!object) {
        return FALSE;
    }
    const CGXPrintDevice& device = *AsDevice(object);
    return SameBytes(device.m_hDevNames, names, namesSize) && SameBytes(device.m_hDevMode, mode, modeSize);
}

void InstallPrintDevice() {
    InstallAppFeature<CGXPrintDeviceImp>(GridLibraryState::Instance().printDeviceImp);
}
