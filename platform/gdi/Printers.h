// Printers: PDF files written through cairo. Pages are drawn at 300 pixels per inch (LOGPIXELSX/Y) on the
// paper the device mode names (A4 portrait by default) and placed on the PDF pages at EndPage; the page
// has no unprintable margin (PHYSICALOFFSETX/Y are 0).
//
// The printers the program may use are configured through this interface; with none configured there is no
// default printer and GetDefaultPrinterW fails as on a machine without printers.
#pragma once

#include "platform/gdi/GdiTypes.h"

#include <string>
#include <vector>

struct GdiPrinter {
    std::u16string name;       // device name passed to CreateDC
    std::u16string outputPath; // PDF file written unless CreateDC or StartDoc name another
    short paperSize = DMPAPER_A4;
    short orientation = DMORIENT_PORTRAIT;
};

// Replaces the configured printers; `defaultIndex` names the default one (-1: none).
void GdiSetPrinters(const std::vector<GdiPrinter>& printers, int defaultIndex);
std::vector<GdiPrinter> GdiGetPrinters();
// The default printer's name; FALSE with ERROR_FILE_NOT_FOUND when none is configured, with
// ERROR_INSUFFICIENT_BUFFER (and the size needed, terminator included, in *size) when the buffer is short.
BOOL GetDefaultPrinterW(LPWSTR buffer, LPDWORD size);

// The printer DCs' resolution.
constexpr int kGdiPrinterDpi = 300;
