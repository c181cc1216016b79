// A grid parameter's own printer: the DEVNAMES and DEVMODE blocks (movable global memory, stored byte for
// byte) and a printer DC made from them on first use. The work is done by the library's print-device object
// (CGXPrintDeviceImp), taken at construction; without one the device does nothing.
#pragma once

#include "grid/GridFeatureInterfaces.h"

class CGXPrintDevice : public CObject {
    DECLARE_SERIAL(CGXPrintDevice)
public:
    CGXPrintDevice();
    ~CGXPrintDevice() override;
    CGXPrintDevice(const CGXPrintDevice&) = delete;
    CGXPrintDevice& operator=(const CGXPrintDevice&) = delete;

    // WORD version 1, then each block as a DWORD size and its bytes (size 0: no block).
    void Serialize(CArchive& ar) override;
    // The printer DC (made from the blocks, with the default printer's when there are none); null when
    // they name no printer, and then made again at the next call.
    virtual CDC* GetPrinterDC();
    virtual void ReleasePrinterDC();

    // Takes copies of the other device's blocks.
    void Assign(const CGXPrintDevice& other);
    // The default printer's blocks when there are none.
    void EnsureDevice();
    void SetDeviceData(const BYTE* names, DWORD namesSize, const BYTE* mode, DWORD modeSize);
    void CopyHandles(HGLOBAL devNames, HGLOBAL devMode);
    void FreeDevice();
    // Copies of the own blocks in new buffers the caller frees with delete[] (null and 0 for none).
    void GetDeviceData(BYTE*& names, DWORD& namesSize, BYTE*& mode, DWORD& modeSize);
    void CreateDefaultDevice();
    // New copies of the blocks the caller owns; both null without DEVNAMES.
    void GetDeviceHandles(HGLOBAL& devNames, HGLOBAL& devMode);
    BOOL IsSameDevice(HGLOBAL devNames, HGLOBAL devMode);
    BOOL CompareDeviceData(const BYTE* names, DWORD namesSize, const BYTE* mode, DWORD modeSize);

    HGLOBAL m_hDevMode = nullptr;
    HGLOBAL m_hDevNames = nullptr;
    CDC* m_pPrinterDC = nullptr;
    CGXAbstractPrintDeviceImp* m_pDeviceImp = nullptr;
};

class CGXPrintDeviceImp : public CGXAbstractPrintDeviceImp {
public:
    // The application's printer becomes a copy of the device's.
    void MakeAppPrinter(CObject* device) override;
    // The print dialog on the device's printer (as the application's); on OK the device takes the chosen
    // one. 0 without a device or an application.
    INT_PTR DoPrintDialog(CObject* device, CPrintDialog* dialog) override;
    void CopyHandles(CObject* device, HGLOBAL devNames, HGLOBAL devMode) override;
    // Replaces the blocks (releasing the DC); the memory exception when a block cannot be made.
    void SetDeviceData(CObject* device, const BYTE* names, DWORD namesSize, const BYTE* mode,
                       DWORD modeSize) override;
    void FreeDevice(CObject* device) override;
    void GetDeviceData(CObject* device, HGLOBAL devNames, HGLOBAL devMode, BYTE*& names, DWORD& namesSize,
                       BYTE*& mode, DWORD& modeSize) override;
    // The default printer, printing TrueType fonts as graphics; the device stays empty without one.
    void CreateDefaultDevice(CObject* device) override;
    CDC* GetPrinterDC(CObject* device) override;
    void ReleasePrinterDC(CObject* device) override;
    void GetDeviceHandles(CObject* device, HGLOBAL& devNames, HGLOBAL& devMode) override;
    BOOL IsSameDevice(CObject* device, HGLOBAL devNames, HGLOBAL devMode) override;
    BOOL CompareDeviceData(CObject* device, const BYTE* names, DWORD namesSize, const BYTE* mode,
                           DWORD modeSize) override;
};

void InstallPrintDevice();
