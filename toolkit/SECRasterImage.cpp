#include "toolkit/SECRasterImage.h"

#include "toolkit/SECDib.h"

#include "platform/base/CArchive.h"
#include "platform/base/GlobalMemory.h"
#include "platform/display/PaintApi.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/PlainDib.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr size_t kInfoHeaderBytes = sizeof(BITMAPINFOHEADER);
constexpr DWORD kFileHeaderBytes = sizeof(BITMAPFILEHEADER);
// The most an archived info block can hold: the largest header the DIB reader takes, bit-field masks and
// an optional colour table of 65536 entries.
constexpr DWORD kMaxArchivedInfoBytes = 1024 + 12 + 65536 * 4;

bool AllocateBlock(size_t bytes, HGLOBAL* handle, BYTE** data) {
    *handle = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    *data = *handle ? static_cast<BYTE*>(::GlobalLock(*handle)) : nullptr;
    if (!*data && *handle) {
        ::GlobalFree(*handle);
        *handle = nullptr;
    }
    return *data != nullptr;
}

void FreeBlock(HGLOBAL* handle, BYTE** data) {
    if (*handle) {
        ::GlobalUnlock(*handle);
        ::GlobalFree(*handle);
    }
    *handle = nullptr;
    *data = nullptr;
}

WORD ColorsForDepth(int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

[[noreturn]] void ThrowArchive(int cause, CArchive& ar) {
    CFile* file = ar.GetFile();
    AfxThrowArchiveException(cause, file ? static_cast<LPCTSTR>(file->GetFilePath()) : nullptr);
}

void ReadExactly(CArchive& ar, void* buffer, UINT count) {
    if (ar.Read(buffer, count) != count) {
        ThrowArchive(CArchiveException::endOfFile, ar);
    }
}

} // namespace

SECRasterImage::SECRasterImage() {
    HDC screen = ::GetDC(nullptr);
    SetDisplayFormat(::GetDeviceCaps(screen, PLANES), ::GetDeviceCaps(screen, BITSPIXEL));
    ::ReleaseDC(nullptr, screen);
}

SECRasterImage::~SECRasterImage() {
    FreeBits();
    FreeInfo();
    delete m_pPalette;
    DeleteOwnedFiles();
}

void SECRasterImage::SetDisplayFormat(int nPlanes, int nBitsPerPixel) {
    m_nDisplayPlanes = nPlanes;
    switch (nBitsPerPixel) {
    case 1:
        m_nDisplayBitsPerPixel = 1;
        m_wDisplayColors = static_cast<WORD>(1u << std::clamp(nPlanes, 1, 8));
        break;
    case 2:
    case 4:
    case 8:
        m_nDisplayBitsPerPixel = nBitsPerPixel;
        m_wDisplayColors = static_cast<WORD>(1u << nBitsPerPixel);
        break;
    default:
        m_nDisplayBitsPerPixel = 0;
        m_wDisplayColors = 0;
        break;
    }
}

// ---- Memory blocks

BOOL SECRasterImage::AllocateInfo(size_t nColors) {
    FreeInfo();
    if (!AllocateBlock(kInfoHeaderBytes + 4 * nColors, &m_hInfo, &m_lpInfo)) {
        return FALSE;
    }
    m_lpColorTable = reinterpret_cast<RGBQUAD*>(m_lpInfo + kInfoHeaderBytes);
    return TRUE;
}

BOOL SECRasterImage::AllocateBits(size_t nBytes) {
    FreeBits();
    return AllocateBlock(nBytes, &m_hBits, &m_lpBits);
}

void SECRasterImage::FreeInfo() {
    FreeBlock(&m_hInfo, &m_lpInfo);
    m_lpColorTable = nullptr;
}

void SECRasterImage::FreeBits() {
    FreeBlock(&m_hBits, &m_lpBits);
}

size_t SECRasterImage::GetBitsSize() const {
    return m_hBits ? ::GlobalSize(m_hBits) : 0;
}

BOOL SECRasterImage::AdoptPlainDib(const GdiPlainDib& dib) {
    const BITMAPINFOHEADER& h = dib.header;
    if (!AllocateInfo(dib.colors.size()) || !AllocateBits(std::max<size_t>(dib.bits.size(), 1))) {
        FreeInfo();
        FreeBits();
        return FALSE;
    }
    std::memcpy(m_lpInfo, &h, kInfoHeaderBytes);
    std::copy(dib.colors.begin(), dib.colors.end(), m_lpColorTable);
    std::copy(dib.bits.begin(), dib.bits.end(), m_lpBits);
    m_nWidth = h.biWidth;
    m_nHeight = h.biHeight;
    m_nBitsPerPixel = h.biBitCount;
    m_wColors = ColorsForDepth(h.biBitCount);
    m_bRowsPadded = TRUE;
    return TRUE;
}

void SECRasterImage::MoveImageFrom(SECRasterImage& other) {
    FreeBits();
    FreeInfo();
    delete m_pPalette;
    m_hBits = std::exchange(other.m_hBits, nullptr);
    m_lpBits = std::exchange(other.m_lpBits, nullptr);
    m_hInfo = std::exchange(other.m_hInfo, nullptr);
    m_lpInfo = std::exchange(other.m_lpInfo, nullptr);
    m_lpColorTable = std::exchange(other.m_lpColorTable, nullptr);
    m_pPalette = std::exchange(other.m_pPalette, nullptr);
    m_nBitsPerPixel = other.m_nBitsPerPixel;
    m_nDisplayBitsPerPixel = other.m_nDisplayBitsPerPixel;
    m_nDisplayPlanes = other.m_nDisplayPlanes;
    m_nWidth = other.m_nWidth;
    m_nHeight = other.m_nHeight;
    m_wColors = other.m_wColors;
    m_wDisplayColors = other.m_wDisplayColors;
    m_bRowsPadded = other.m_bRowsPadded;
    m_nUnpackBit = other.m_nUnpackBit;
    m_nUnpackCount = other.m_nUnpackCount;
    m_bMsbFirst = other.m_bMsbFirst;
}

// ---- Loading and saving

CFile* SECRasterImage::OpenOwnedFile(LPCTSTR lpszFileName, UINT nOpenFlags, bool bForSave) {
    // Only a file object the image made itself is reopened: one handed to ReadImage or WriteImage belongs
    // to the caller, who may have deleted it since.
    auto owned = std::find_if(m_ownedFiles.begin(), m_ownedFiles.end(),
                              [this](const std::unique_ptr<CFile>& f) { return f.get() == m_pCurrentFile; });
    CFileException error;
    if (owned != m_ownedFiles.end()) {
        if (m_pCurrentFile->Open(lpszFileName, nOpenFlags, &error)) {
            return m_pCurrentFile;
        }
        if (bForSave) {
            return nullptr;
        }
        AfxThrowFileException(error.m_cause, error.m_lOsError, lpszFileName);
    }
    auto file = std::make_unique<CFile>();
    if (!file->Open(lpszFileName, nOpenFlags, &error)) {
        AfxThrowFileException(error.m_cause, error.m_lOsError, lpszFileName);
    }
    m_ownedFiles.push_back(std::move(file));
    return m_ownedFiles.back().get();
}

BOOL SECRasterImage::LoadImageFile(LPCTSTR lpszFileName) {
    CFile* file = OpenOwnedFile(lpszFileName, CFile::modeRead | CFile::shareDenyWrite, false);
    BOOL ok = FALSE;
    try {
        ok = ReadImage(file);
    } catch (...) {
        file->Abort();
        throw;
    }
    file->Close();
    return ok;
}

BOOL SECRasterImage::ReadImage(CFile* pFile) {
    m_pCurrentFile = pFile;
    std::unique_ptr<SECDib> backup;
    if (HasImage()) {
        backup = std::make_unique<SECDib>();
        backup->MoveImageFrom(*this);
    }
    BOOL ok = FALSE;
    try {
        ok = FreeImage() && DecodeImage(pFile) && CompleteImage();
    } catch (...) {
        RestorePicture(backup.get());
        throw;
    }
    if (!ok) {
        RestorePicture(backup.get());
    }
    return ok;
}

void SECRasterImage::RestorePicture(SECRasterImage* backup) {
    FreeImage();
    if (backup) {
        MoveImageFrom(*backup);
    }
}

BOOL SECRasterImage::SaveImageFile(LPCTSTR lpszFileName) {
    CFile* file =
        OpenOwnedFile(lpszFileName, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive, true);
    if (!file) {
        return FALSE;
    }
    BOOL ok = FALSE;
    try {
        ok = WriteImage(file);
    } catch (...) {
        file->Abort();
        throw;
    }
    file->Close();
    return ok;
}

BOOL SECRasterImage::WriteImage(CFile* pFile) {
    m_pCurrentFile = pFile;
    return BeginSave() && EncodeImage(pFile) && EndSave();
}

BOOL SECRasterImage::FreeImage() {
    FreeInfo();
    FreeBits();
    delete m_pPalette;
    m_pPalette = nullptr;
    m_nWidth = 0;
    m_nHeight = 0;
    m_nBitsPerPixel = 0;
    m_wColors = 0;
    m_bRowsPadded = FALSE;
    return TRUE;
}

BOOL SECRasterImage::CompleteImage() {
    CreateImagePalette();
    PadRows();
    if (!m_lpInfo) {
        if (!AllocateInfo(m_wColors)) {
            return FALSE;
        }
        BITMAPINFOHEADER* h = InfoHeader();
        h->biSize = kInfoHeaderBytes;
        h->biWidth = m_nWidth;
        h->biHeight = m_nHeight;
        h->biPlanes = static_cast<WORD>(m_nDisplayPlanes);
        h->biBitCount = static_cast<WORD>(m_nBitsPerPixel);
        h->biCompression = BI_RGB;
        h->biSizeImage = GetPaddedRowBytes(m_nBitsPerPixel, m_nWidth) * static_cast<DWORD>(m_nHeight);
    }
    return TRUE;
}

void SECRasterImage::DeleteOwnedFiles() {
    if (std::any_of(m_ownedFiles.begin(), m_ownedFiles.end(),
                    [this](const std::unique_ptr<CFile>& f) { return f.get() == m_pCurrentFile; })) {
        m_pCurrentFile = nullptr;
    }
    m_ownedFiles.clear();
}

// ---- Palette

BOOL SECRasterImage::CreateImagePalette() {
    delete m_pPalette;
    m_pPalette = nullptr;
    // Deeper pictures have no colour table to build one from.
    if (m_nBitsPerPixel > 8 || m_wColors == 0) {
        return TRUE;
    }
    const size_t count = m_wColors;
    size_t used = m_lpInfo ? std::min<size_t>(GetInfoHeader()->biClrUsed, count) : 0;
    if (used == 0) {
        used = m_lpColorTable ? count : 0;
    }
    std::vector<BYTE> block(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(count);
    for (size_t i = 0; i < count; ++i) {
        PALETTEENTRY& e = logical->palPalEntry[i];
        e = PALETTEENTRY{0, 0, 0, 0};
        if (i < used) {
            e.peRed = m_lpColorTable[i].rgbRed;
            e.peGreen = m_lpColorTable[i].rgbGreen;
            e.peBlue = m_lpColorTable[i].rgbBlue;
        }
    }
    auto palette = std::make_unique<CPalette>();
    if (!palette->CreatePalette(logical)) {
        return FALSE;
    }
    m_pPalette = palette.release();
    return TRUE;
}

// ---- Rows

DWORD SECRasterImage::GetRowBytes(int nBitsPerPixel, int nWidth) {
    return static_cast<DWORD>((static_cast<ULONGLONG>(nBitsPerPixel) * static_cast<ULONGLONG>(nWidth) + 7) / 8);
}

DWORD SECRasterImage::GetPaddedRowBytes(int nBitsPerPixel, int nWidth) {
    return static_cast<DWORD>(
        (static_cast<ULONGLONG>(nBitsPerPixel) * static_cast<ULONGLONG>(nWidth) + 31) / 32 * 4);
}

int SECRasterImage::GetPaletteEntryCount() const {
    return m_lpInfo ? ColorsForDepth(GetInfoHeader()->biBitCount) : 0;
}

BOOL SECRasterImage::PadRows() {
    if (m_bRowsPadded) {
        return TRUE;
    }
    const size_t unpadded = GetRowBytes(m_nBitsPerPixel, m_nWidth);
    const size_t padded = GetPaddedRowBytes(m_nBitsPerPixel, m_nWidth);
    if (unpadded == padded || m_nHeight <= 0) {
        m_bRowsPadded = TRUE; // such rows are both
        return TRUE;
    }
    if (!m_lpBits || GetBitsSize() < padded * static_cast<size_t>(m_nHeight)) {
        return FALSE;
    }
    // From the last row down, so that no row is overwritten before it has moved.
    for (size_t row = static_cast<size_t>(m_nHeight); row-- > 0;) {
        std::memmove(m_lpBits + row * padded, m_lpBits + row * unpadded, unpadded);
        std::memset(m_lpBits + row * padded + unpadded, 0, padded - unpadded);
    }
    m_bRowsPadded = TRUE;
    return TRUE;
}

BOOL SECRasterImage::UnpadRows() {
    if (!m_bRowsPadded) {
        return TRUE;
    }
    const size_t unpadded = GetRowBytes(m_nBitsPerPixel, m_nWidth);
    const size_t padded = GetPaddedRowBytes(m_nBitsPerPixel, m_nWidth);
    if (m_lpBits && unpadded != padded) {
        for (size_t row = 1; row < static_cast<size_t>(std::max(m_nHeight, 0)); ++row) {
            std::memmove(m_lpBits + row * unpadded, m_lpBits + row * padded, unpadded);
        }
    }
    m_bRowsPadded = FALSE;
    return TRUE;
}

BOOL SECRasterImage::FlipRows() {
    if (!m_bRowsPadded && !PadRows()) {
        return FALSE;
    }
    const size_t padded = GetPaddedRowBytes(m_nBitsPerPixel, m_nWidth);
    if (!m_lpBits || m_nHeight <= 0 || GetBitsSize() < padded * static_cast<size_t>(m_nHeight)) {
        return FALSE;
    }
    std::vector<BYTE> temp(padded);
    for (size_t top = 0, bottom = static_cast<size_t>(m_nHeight) - 1; top < bottom; ++top, --bottom) {
        std::memcpy(temp.data(), m_lpBits + top * padded, padded);
        std::memcpy(m_lpBits + top * padded, m_lpBits + bottom * padded, padded);
        std::memcpy(m_lpBits + bottom * padded, temp.data(), padded);
    }
    return TRUE;
}

// ---- Device bitmap

bool SECRasterImage::IsPictureConsistent() const {
    if (!HasImage()) {
        return false;
    }
    const BITMAPINFOHEADER* h = GetInfoHeader();
    const size_t rows = GetPaddedRowBytes(m_nBitsPerPixel, m_nWidth) * static_cast<size_t>(m_nHeight);
    return h->biWidth == m_nWidth && h->biHeight == m_nHeight && h->biBitCount == m_nBitsPerPixel &&
           h->biCompression == BI_RGB && GetBitsSize() >= rows &&
           ::GlobalSize(m_hInfo) >= kInfoHeaderBytes + 4 * static_cast<size_t>(GetPaletteEntryCount());
}

CBitmap* SECRasterImage::CreateBitmap(CDC* pDC) {
    if (!pDC || !PadRows() || !IsPictureConsistent()) {
        return nullptr;
    }
    auto bitmap = std::make_unique<CBitmap>();
    if (!bitmap->CreateCompatibleBitmap(pDC, m_nWidth, m_nHeight)) {
        return nullptr;
    }
    CDC memory;
    if (!memory.CreateCompatibleDC(pDC)) {
        return nullptr;
    }
    CBitmap* old = memory.SelectObject(bitmap.get());
    ::StretchDIBits(memory.m_hDC, 0, 0, m_nWidth, m_nHeight, 0, 0, m_nWidth, m_nHeight, m_lpBits,
                    reinterpret_cast<const BITMAPINFO*>(m_lpInfo), DIB_RGB_COLORS, SRCCOPY);
    memory.SelectObject(old);
    memory.DeleteDC();
    return bitmap.release();
}

// ---- BMP form

void SECRasterImage::WriteBmp(const std::function<void(const void*, UINT)>& write, bool bClearImageSize) {
    PadRows();
    const DWORD entries = static_cast<DWORD>(GetPaletteEntryCount());
    const DWORD infoBytes = static_cast<DWORD>(kInfoHeaderBytes) + 4 * entries;
    const DWORD bitsBytes = GetPaddedRowBytes(m_nBitsPerPixel, m_nWidth) * static_cast<DWORD>(m_nHeight);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42; // "BM"
    fh.bfOffBits = kFileHeaderBytes + infoBytes;
    fh.bfSize = fh.bfOffBits + bitsBytes;
    BITMAPINFOHEADER header = *GetInfoHeader();
    if (bClearImageSize) {
        header.biSizeImage = 0;
    }
    write(&fh, kFileHeaderBytes);
    write(&header, kInfoHeaderBytes);
    write(m_lpColorTable, infoBytes - kInfoHeaderBytes);
    write(m_lpBits, bitsBytes);
}

void SECRasterImage::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        if (!PadRows() || !IsPictureConsistent()) {
            ThrowArchive(CArchiveException::genericException, ar);
        }
        WriteBmp([&ar](const void* data, UINT count) { ar.Write(data, count); }, false);
        return;
    }
    BITMAPFILEHEADER fh{};
    ReadExactly(ar, &fh, kFileHeaderBytes);
    if (fh.bfType != 0x4D42 || fh.bfOffBits < kFileHeaderBytes + kInfoHeaderBytes ||
        fh.bfOffBits - kFileHeaderBytes > kMaxArchivedInfoBytes) {
        ThrowArchive(CArchiveException::badSchema, ar);
    }
    // The whole file image, so that the rows are found where bfOffBits says: a colour table may be longer
    // than biClrUsed tells (this writer stores full tables).
    const UINT infoBytes = fh.bfOffBits - kFileHeaderBytes;
    ar.EnsureAvailable(infoBytes);
    std::vector<BYTE> file(fh.bfOffBits);
    std::memcpy(file.data(), &fh, kFileHeaderBytes);
    ReadExactly(ar, file.data() + kFileHeaderBytes, infoBytes);
    // The rows follow at their padded size for the header's depth and width.
    BITMAPINFOHEADER h;
    std::memcpy(&h, file.data() + kFileHeaderBytes, sizeof(h));
    const long long rows = h.biHeight < 0 ? -static_cast<long long>(h.biHeight) : h.biHeight;
    if (h.biSize < kInfoHeaderBytes || h.biBitCount == 0 || h.biBitCount > 32 ||
        !GdiBitmapSizeAllowed(h.biWidth, rows)) {
        ThrowArchive(CArchiveException::badSchema, ar);
    }
    const size_t bitsBytes = GetPaddedRowBytes(h.biBitCount, h.biWidth) * static_cast<size_t>(rows);
    ar.EnsureAvailable(bitsBytes);
    file.resize(fh.bfOffBits + bitsBytes);
    ReadExactly(ar, file.data() + fh.bfOffBits, static_cast<UINT>(bitsBytes));
    GdiPlainDib dib;
    if (!GdiReadPlainBmpFile(file.data(), file.size(), &dib)) {
        ThrowArchive(CArchiveException::badSchema, ar);
    }
    FreeImage();
    if (!AdoptPlainDib(dib)) {
        AfxThrowMemoryException();
    }
    CreateImagePalette();
}
