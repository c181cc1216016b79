#include "toolkit/SECDib.h"

#include "platform/base/CArchive.h"
#include "platform/gdi/PlainDib.h"

#include <algorithm>
#include <vector>

IMPLEMENT_SERIAL(SECDib, CObject, 1)

namespace {
// Beyond what the largest header, colour table and picture the DIB reader takes can fill: bytes past it
// are never part of the picture and are not read.
constexpr ULONGLONG kMaxBmpFileBytes = 14 + 1024 + 12 + 65536 * 4 + (1ull << 29);
} // namespace

BOOL SECDib::DecodeImage(CFile* pFile) {
    const ULONGLONG position = pFile->GetPosition();
    const ULONGLONG length = pFile->GetLength();
    if (length <= position) {
        return FALSE;
    }
    std::vector<BYTE> file(static_cast<size_t>(std::min(length - position, kMaxBmpFileBytes)));
    UINT read = pFile->Read(file.data(), static_cast<UINT>(file.size()));
    file.resize(read);
    GdiPlainDib dib;
    if (!GdiReadPlainBmpFile(file.data(), file.size(), &dib)) {
        return FALSE;
    }
    std::vector<BYTE>().swap(file);
    FreeBits();
    return AdoptPlainDib(dib);
}

BOOL SECDib::EncodeImage(CFile* pFile) {
    if (!PadRows() || !IsPictureConsistent()) {
        return FALSE;
    }
    WriteBmp([pFile](const void* data, UINT count) { pFile->Write(data, count); }, true);
    return TRUE;
}
