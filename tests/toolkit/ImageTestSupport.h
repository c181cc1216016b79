// Pieces of the image tests: BMP files built from their parts, images read from and written to memory, and
// a snapshot of a held picture to compare before and after.
#pragma once

#include "toolkit/SECRasterImage.h"

#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <vector>

namespace imagetest {

using Bytes = std::vector<BYTE>;

inline BITMAPINFOHEADER Header(int width, int height, int bpp, DWORD compression = BI_RGB, DWORD used = 0) {
    return BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, static_cast<WORD>(bpp), compression,
                            0, 0, 0, used, 0};
}

inline DWORD PaddedRow(int bpp, int width) {
    return static_cast<DWORD>((bpp * width + 31) / 32 * 4);
}

// A .bmp file: file header, the info header (of its own size), the table and the bits; bfOffBits points at
// the bits unless given.
inline Bytes MakeBmp(const void* header, size_t headerBytes, const std::vector<RGBQUAD>& table, const Bytes& bits,
                     DWORD offBits = 0) {
    Bytes file(sizeof(BITMAPFILEHEADER));
    file.insert(file.end(), static_cast<const BYTE*>(header), static_cast<const BYTE*>(header) + headerBytes);
    const BYTE* t = reinterpret_cast<const BYTE*>(table.data());
    file.insert(file.end(), t, t + 4 * table.size());
    BITMAPFILEHEADER fh{0x4D42, 0, 0, 0, offBits ? offBits : static_cast<DWORD>(file.size())};
    file.insert(file.end(), bits.begin(), bits.end());
    fh.bfSize = static_cast<DWORD>(file.size());
    std::memcpy(file.data(), &fh, sizeof(fh));
    return file;
}

inline Bytes MakeBmp(const BITMAPINFOHEADER& h, const std::vector<RGBQUAD>& table, const Bytes& bits) {
    return MakeBmp(&h, sizeof(h), table, bits);
}

// Padded rows whose pixel bytes count on from seed in steps of 7; the padding is 0.
inline Bytes PatternBits(int bpp, int width, int height, int seed = 0) {
    const size_t padded = PaddedRow(bpp, width);
    const size_t used = (static_cast<size_t>(bpp) * width + 7) / 8;
    Bytes bits(padded * height);
    for (size_t row = 0; row < static_cast<size_t>(height); ++row) {
        for (size_t i = 0; i < used; ++i) {
            bits[row * padded + i] = static_cast<BYTE>((row * used + i) * 7 + seed);
        }
    }
    return bits;
}

inline std::vector<RGBQUAD> GreyTable(int entries) {
    std::vector<RGBQUAD> table(static_cast<size_t>(entries));
    for (int i = 0; i < entries; ++i) {
        const BYTE v = static_cast<BYTE>(entries > 1 ? i * 255 / (entries - 1) : 0);
        table[static_cast<size_t>(i)] = RGBQUAD{v, v, v, 0};
    }
    return table;
}

inline BOOL ReadFromBytes(SECRasterImage& image, const Bytes& bytes) {
    Bytes copy = bytes;
    CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
    return image.ReadImage(&file);
}

// Gives any image the picture of a .bmp file image through the archive form (which is that file's form):
// how an image of another format gets a BMP picture.
inline bool HoldBmp(SECRasterImage& image, const Bytes& bmp) {
    Bytes copy = bmp;
    CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
    CArchive ar(&file, CArchive::load);
    try {
        image.Serialize(ar);
    } catch (CException* e) {
        e->Delete();
        return false;
    }
    return image.HasImage();
}

inline Bytes ContentOf(CMemFile& file) {
    Bytes out(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    file.Read(out.data(), static_cast<UINT>(out.size()));
    return out;
}

// The bytes WriteImage produces; empty when it answers FALSE.
inline Bytes WriteToBytes(SECRasterImage& image) {
    CMemFile file;
    if (!image.WriteImage(&file)) {
        return {};
    }
    return ContentOf(file);
}

// Whether f raises the framework exception E (which is released here).
template <class E, class F>
bool Raises(F&& f) {
    try {
        f();
    } catch (E* e) {
        e->Delete();
        return true;
    }
    return false;
}

// Everything a held picture is made of.
struct Snapshot {
    int width = 0;
    int height = 0;
    int bpp = 0;
    BOOL padded = FALSE;
    Bytes header;
    std::vector<DWORD> table;
    Bytes bits;
    bool operator==(const Snapshot&) const = default;
};

inline void PrintTo(const Snapshot& s, std::ostream* out) {
    *out << s.width << "x" << s.height << "x" << s.bpp << (s.padded ? " padded" : " unpadded") << ", "
         << s.table.size() << " colours, bits";
    for (size_t i = 0; i < s.bits.size() && i < 24; ++i) {
        *out << " " << static_cast<int>(s.bits[i]);
    }
}

inline Snapshot Snap(const SECRasterImage& image) {
    Snapshot s;
    s.width = image.GetWidth();
    s.height = image.GetHeight();
    s.bpp = image.GetBitsPerPixel();
    s.padded = image.AreRowsPadded();
    if (const BITMAPINFOHEADER* h = image.GetInfoHeader()) {
        const BYTE* p = reinterpret_cast<const BYTE*>(h);
        s.header.assign(p, p + sizeof(BITMAPINFOHEADER));
    }
    if (const RGBQUAD* t = image.GetColorTable()) {
        for (int i = 0; i < image.GetColorCount(); ++i) {
            DWORD v;
            std::memcpy(&v, &t[i], 4);
            s.table.push_back(v);
        }
    }
    if (const BYTE* b = image.GetBits()) {
        s.bits.assign(b, b + static_cast<size_t>(PaddedRow(s.bpp, s.width)) * s.height);
    }
    return s;
}

// A memory file whose reads or writes fail the way a full or broken disk does.
class FailingFile : public CMemFile {
public:
    FailingFile(bool failReads, bool failWrites, const Bytes& content = {})
        : m_failReads(failReads), m_failWrites(failWrites) {
        if (!content.empty()) {
            CMemFile::Write(content.data(), static_cast<UINT>(content.size()));
            SeekToBegin();
        }
    }
    UINT Read(void* buffer, UINT count) override {
        if (m_failReads) {
            AfxThrowFileException(CFileException::hardIO);
        }
        return CMemFile::Read(buffer, count);
    }
    void Write(const void* buffer, UINT count) override {
        if (m_failWrites) {
            AfxThrowFileException(CFileException::diskFull);
        }
        CMemFile::Write(buffer, count);
    }

private:
    bool m_failReads;
    bool m_failWrites;
};

} // namespace imagetest
