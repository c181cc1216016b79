// The toolkit's BMP image reader and its archive form over arbitrary bytes (picture files are untrusted): it
// must never read out of bounds, and a picture it accepts must save, archive and read back unchanged, flip
// and draw.
#include "toolkit/SECDib.h"

#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"
#include "platform/framework/CDC.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct Held {
    std::vector<BYTE> table;
    std::vector<BYTE> bits;
    bool operator==(const Held&) const = default;
};

Held Contents(const SECDib& dib) {
    Held h;
    const auto* table = reinterpret_cast<const BYTE*>(dib.GetColorTable());
    h.table.assign(table, table + 4 * dib.GetColorCount());
    const size_t bytes =
        SECRasterImage::GetPaddedRowBytes(dib.GetBitsPerPixel(), dib.GetWidth()) * static_cast<size_t>(dib.GetHeight());
    h.bits.assign(dib.GetBits(), dib.GetBits() + bytes);
    return h;
}

void Check(bool condition, int line = __builtin_LINE()) {
    if (!condition) {
        std::fprintf(stderr, "%s:%d: check failed\n", __FILE__, line);
        std::abort();
    }
}

void Exercise(SECDib& dib) {
    Check(dib.HasImage() && dib.AreRowsPadded());
    const Held before = Contents(dib);

    CMemFile saved;
    Check(dib.WriteImage(&saved));
    saved.SeekToBegin();
    SECDib again;
    Check(again.ReadImage(&saved) && Contents(again) == before);

    CMemFile archived;
    {
        CArchive ar(&archived, CArchive::store);
        dib.Serialize(ar);
    }
    archived.SeekToBegin();
    SECDib fromArchive;
    {
        CArchive ar(&archived, CArchive::load);
        fromArchive.Serialize(ar);
    }
    Check(Contents(fromArchive) == before);

    Check(dib.FlipRows() && dib.FlipRows() && Contents(dib) == before);
    CDC dc;
    dc.Attach(::GetDC(nullptr));
    std::unique_ptr<CBitmap> bitmap(dib.CreateBitmap(&dc));
    ::ReleaseDC(nullptr, dc.Detach());
    Check(bitmap != nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Copies of exactly `size` bytes, so that any read past the end is caught.
    std::vector<BYTE> bytes(data, data + size);
    {
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        SECDib dib;
        if (dib.ReadImage(&file)) {
            Exercise(dib);
        }
    }
    {
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load);
        SECDib dib;
        try {
            dib.Serialize(ar);
            Exercise(dib);
        } catch (CArchiveException* e) {
            e->Delete();
        }
    }
    return 0;
}
