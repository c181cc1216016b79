// Printer DCs as PDF documents, and the configured printers.
#include "platform/gdi/Printers.h"

#include "platform/base/CodePage.h"
#include "platform/gdi/GdiPrivate.h"

#include <cairo-pdf.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace gdi {

namespace {
struct PrinterList {
    std::vector<GdiPrinter> printers;
    int defaultIndex = -1;
};

PrinterList& Printers() {
    static PrinterList list;
    return list;
}

bool Equal(LPCWSTR a, const std::u16string& b) {
    if (!a) {
        return false;
    }
    std::u16string x(a);
    if (x.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < x.size(); ++i) {
        char16_t p = x[i] >= u'a' && x[i] <= u'z' ? static_cast<char16_t>(x[i] - 32) : x[i];
        char16_t q = b[i] >= u'a' && b[i] <= u'z' ? static_cast<char16_t>(b[i] - 32) : b[i];
        if (p != q) {
            return false;
        }
    }
    return true;
}

// Paper in tenths of a millimetre.
void PaperSize(short paper, double* w, double* h) {
    switch (paper) {
    case DMPAPER_LETTER:
        *w = 2159;
        *h = 2794;
        break;
    case DMPAPER_LEGAL:
        *w = 2159;
        *h = 3556;
        break;
    case DMPAPER_A3:
        *w = 2970;
        *h = 4200;
        break;
    case DMPAPER_A5:
        *w = 1480;
        *h = 2100;
        break;
    case DMPAPER_A4:
    default:
        *w = 2100;
        *h = 2970;
        break;
    }
}

void ClearPage(PrinterJob& job) {
    cairo_surface_flush(job.page);
    auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(job.page));
    int stride = cairo_image_surface_get_stride(job.page) / 4;
    for (int y = 0; y < job.heightPx; ++y) {
        std::fill(data + static_cast<ptrdiff_t>(y) * stride,
                  data + static_cast<ptrdiff_t>(y) * stride + job.widthPx, 0xFFFFFFu);
    }
    cairo_surface_mark_dirty(job.page);
}

PrinterJob* JobOf(HDC hdc) {
    Dc* dc = CheckDc(hdc);
    if (!dc || dc->dcKind != DcKind::Printer || !dc->printer) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return dc->printer.get();
}
} // namespace

PrinterJob::~PrinterJob() {
    if (pdf) {
        cairo_surface_destroy(pdf);
    }
    if (page) {
        cairo_surface_destroy(page);
    }
}

HDC CreatePrinterDC(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const DEVMODEW* devmode, bool info) {
    PrinterList& list = Printers();
    const GdiPrinter* printer = nullptr;
    for (const GdiPrinter& p : list.printers) {
        if (Equal(device, p.name)) {
            printer = &p;
        }
    }
    if (!printer && !Equal(driver, u"PDF")) {
        SetLastError(ERROR_INVALID_PRINTER_NAME);
        return nullptr;
    }
    short paper = printer ? printer->paperSize : DMPAPER_A4;
    short orientation = printer ? printer->orientation : DMORIENT_PORTRAIT;
    double w = 0;
    double h = 0;
    if (devmode) {
        if (devmode->dmFields & DM_PAPERSIZE) {
            paper = devmode->dmPaperSize;
        }
        if (devmode->dmFields & DM_ORIENTATION) {
            orientation = devmode->dmOrientation;
        }
    }
    PaperSize(paper, &w, &h);
    if (devmode && (devmode->dmFields & DM_PAPERWIDTH) && devmode->dmPaperWidth > 0) {
        w = devmode->dmPaperWidth;
    }
    if (devmode && (devmode->dmFields & DM_PAPERLENGTH) && devmode->dmPaperLength > 0) {
        h = devmode->dmPaperLength;
    }
    if (orientation == DMORIENT_LANDSCAPE) {
        std::swap(w, h);
    }
    auto job = std::make_unique<PrinterJob>();
    job->dpi = kGdiPrinterDpi;
    job->widthMm = w / 10.0;
    job->heightMm = h / 10.0;
    job->widthPx = static_cast<int>(std::lround(job->widthMm / 25.4 * job->dpi));
    job->heightPx = static_cast<int>(std::lround(job->heightMm / 25.4 * job->dpi));
    job->deviceName = device ? std::u16string(device) : std::u16string(u"PDF");
    if (output) {
        job->outputPath = Utf16ToUtf8(output);
    } else if (printer) {
        job->outputPath = Utf16ToUtf8(printer->outputPath);
    }
    if (!info) {
        job->page = cairo_image_surface_create(CAIRO_FORMAT_RGB24, job->widthPx, job->heightPx);
        if (cairo_surface_status(job->page) != CAIRO_STATUS_SUCCESS) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        ClearPage(*job);
    }
    // An information DC answers the printer's capabilities but has no page to draw on.
    HDC h2 = NewDcOfKind(DcKind::Printer);
    Dc* dc = GetDc(h2);
    dc->printer = std::move(job);
    return h2;
}

} // namespace gdi

using namespace gdi;

void GdiSetPrinters(const std::vector<GdiPrinter>& printers, int defaultIndex) {
    GDI_LOCK();
    PrinterList& list = Printers();
    list.printers = printers;
    list.defaultIndex =
        defaultIndex >= 0 && defaultIndex < static_cast<int>(printers.size()) ? defaultIndex : -1;
}

std::vector<GdiPrinter> GdiGetPrinters() {
    GDI_LOCK();
    return Printers().printers;
}

BOOL GetDefaultPrinterW(LPWSTR buffer, LPDWORD size) {
    GDI_LOCK();
    PrinterList& list = Printers();
    if (!size) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (list.defaultIndex < 0) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    const std::u16string& name = list.printers[static_cast<size_t>(list.defaultIndex)].name;
    DWORD need = static_cast<DWORD>(name.size() + 1);
    if (!buffer || *size < need) {
        *size = need;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::copy(name.begin(), name.end(), buffer);
    buffer[name.size()] = 0;
    *size = need;
    return TRUE;
}

int StartDocW(HDC hdc, const DOCINFOW* docInfo) {
    GDI_LOCK();
    PrinterJob* job = JobOf(hdc);
    if (!job || !job->page || job->inDoc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return SP_ERROR;
    }
    std::string path = job->outputPath;
    if (docInfo && docInfo->lpszOutput) {
        path = Utf16ToUtf8(docInfo->lpszOutput);
    }
    if (path.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return SP_ERROR;
    }
    double pt = 72.0 / job->dpi;
    cairo_surface_t* pdf = cairo_pdf_surface_create(path.c_str(), job->widthPx * pt, job->heightPx * pt);
    if (cairo_surface_status(pdf) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(pdf);
        SetLastError(ERROR_OPEN_FAILED);
        return SP_ERROR;
    }
    if (docInfo && docInfo->lpszDocName) {
        cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_TITLE,
                                       Utf16ToUtf8(docInfo->lpszDocName).c_str());
    }
    job->pdf = pdf;
    job->outputPath = path;
    job->inDoc = true;
    job->pages = 0;
    return 1;
}

int StartPage(HDC hdc) {
    GDI_LOCK();
    PrinterJob* job = JobOf(hdc);
    if (!job || !job->inDoc || job->inPage) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return SP_ERROR;
    }
    ClearPage(*job);
    job->inPage = true;
    return 1;
}

int EndPage(HDC hdc) {
    GDI_LOCK();
    PrinterJob* job = JobOf(hdc);
    if (!job || !job->inPage) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return SP_ERROR;
    }
    cairo_surface_flush(job->page);
    cairo_t* cr = cairo_create(job->pdf);
    cairo_scale(cr, 72.0 / job->dpi, 72.0 / job->dpi);
    cairo_set_source_surface(cr, job->page, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_show_page(job->pdf);
    job->inPage = false;
    ++job->pages;
    return 1;
}

int EndDoc(HDC hdc) {
    GDI_LOCK();
    PrinterJob* job = JobOf(hdc);
    if (!job || !job->inDoc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return SP_ERROR;
    }
    if (job->inPage) {
        EndPage(hdc);
    }
    cairo_surface_finish(job->pdf);
    bool ok = cairo_surface_status(job->pdf) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(job->pdf);
    job->pdf = nullptr;
    job->inDoc = false;
    if (!ok) {
        SetLastError(ERROR_WRITE_FAULT);
        return SP_ERROR;
    }
    return 1;
}

int AbortDoc(HDC hdc) {
    GDI_LOCK();
    PrinterJob* job = JobOf(hdc);
    if (!job || !job->inDoc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return SP_ERROR;
    }
    cairo_surface_finish(job->pdf);
    cairo_surface_destroy(job->pdf);
    job->pdf = nullptr;
    job->inDoc = false;
    job->inPage = false;
    std::remove(job->outputPath.c_str());
    return 1;
}
