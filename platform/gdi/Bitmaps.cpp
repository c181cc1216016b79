// Bitmaps: device bitmaps (monochrome or 32-bit), DIB sections of every depth, DIB encoding and decoding,
// and the packed-DIB reader.
#include "platform/gdi/GdiPrivate.h"
#include "platform/gdi/PlainDib.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <map>

namespace gdi {

namespace {
constexpr int kMaxSide = 32767;
constexpr uint64_t kMaxPixels = 1ull << 27; // 512 MB of 32-bit pixels
constexpr uint64_t kMaxRlePixels = 1ull << 20;

bool SizeOk(long long w, long long h) {
    return w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide && static_cast<uint64_t>(w * h) <= kMaxPixels;
}

cairo_surface_t* NewSurface(int w, int h, uint32_t fill) {
    cairo_surface_t* cs = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    if (cairo_surface_status(cs) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(cs);
        return nullptr;
    }
    auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(cs));
    int stride = cairo_image_surface_get_stride(cs) / 4;
    for (int y = 0; y < h; ++y) {
        std::fill(data + static_cast<ptrdiff_t>(y) * stride, data + static_cast<ptrdiff_t>(y) * stride + w,
                  fill);
    }
    cairo_surface_mark_dirty(cs);
    return cs;
}

uint32_t Rgb(const RGBQUAD& q) {
    return (static_cast<uint32_t>(q.rgbRed) << 16) | (static_cast<uint32_t>(q.rgbGreen) << 8) | q.rgbBlue;
}

RGBQUAD Quad(uint32_t p) {
    return RGBQUAD{static_cast<BYTE>(p & 0xFF), static_cast<BYTE>((p >> 8) & 0xFF),
                   static_cast<BYTE>((p >> 16) & 0xFF), 0};
}

int MaskShift(DWORD m) {
    int s = 0;
    while (m && !(m & 1)) {
        m >>= 1;
        ++s;
    }
    return s;
}

int MaskBits(DWORD m) {
    m >>= MaskShift(m);
    int b = 0;
    while (m & 1) {
        m >>= 1;
        ++b;
    }
    return b;
}

// A component taken out with its mask, scaled to 8 bits.
uint32_t Component(DWORD v, DWORD mask) {
    if (!mask) {
        return 0;
    }
    int shift = MaskShift(mask);
    int bits = MaskBits(mask);
    uint32_t c = (v & mask) >> shift;
    if (bits >= 8) {
        return c >> (bits - 8);
    }
    if (bits == 0) {
        return 0;
    }
    // Replicate the high bits into the low ones so full intensity stays 255.
    uint32_t out = c << (8 - bits);
    for (int have = bits; have < 8; have += bits) {
        out |= c << (8 - bits) >> have;
    }
    return out & 0xFF;
}

DWORD Compose(uint32_t p, const DWORD* masks) {
    DWORD v = 0;
    uint32_t comp[3] = {(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF};
    for (int i = 0; i < 3; ++i) {
        if (!masks[i]) {
            continue;
        }
        int bits = MaskBits(masks[i]);
        uint32_t c = bits >= 8 ? comp[i] << (bits - 8) : comp[i] >> (8 - bits);
        v |= (c << MaskShift(masks[i])) & masks[i];
    }
    return v;
}

void DefaultMasks(int bpp, DWORD* masks) {
    if (bpp == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else {
        masks[0] = 0xFF0000;
        masks[1] = 0x00FF00;
        masks[2] = 0x0000FF;
    }
}

// Palette index lookup for encoding: exact colours first, then the nearest.
class Indexer {
public:
    explicit Indexer(const std::vector<uint32_t>& pal) : pal_(pal) {}
    uint32_t Index(uint32_t p) {
        auto it = cache_.find(p);
        if (it != cache_.end()) {
            return it->second;
        }
        uint32_t best = 0;
        long bestD = std::numeric_limits<long>::max();
        for (size_t i = 0; i < pal_.size(); ++i) {
            long dr = static_cast<long>((pal_[i] >> 16) & 0xFF) - static_cast<long>((p >> 16) & 0xFF);
            long dg = static_cast<long>((pal_[i] >> 8) & 0xFF) - static_cast<long>((p >> 8) & 0xFF);
            long db = static_cast<long>(pal_[i] & 0xFF) - static_cast<long>(p & 0xFF);
            long d = dr * dr + dg * dg + db * db;
            if (d < bestD) {
                bestD = d;
                best = static_cast<uint32_t>(i);
                if (d == 0) {
                    break;
                }
            }
        }
        cache_[p] = best;
        return best;
    }

private:
    const std::vector<uint32_t>& pal_;
    std::map<uint32_t, uint32_t> cache_;
};

void DecodeRow(const DibInfo& info, const uint8_t* row, uint32_t* out) {
    int w = info.width;
    size_t pal = info.palette.size();
    auto color = [&](uint32_t i) { return i < pal ? info.palette[i] : 0u; };
    switch (info.bpp) {
    case 1:
        for (int x = 0; x < w; ++x) {
            out[x] = color((row[x >> 3] >> (7 - (x & 7))) & 1);
        }
        break;
    case 4:
        for (int x = 0; x < w; ++x) {
            out[x] = color((x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4);
        }
        break;
    case 8:
        for (int x = 0; x < w; ++x) {
            out[x] = color(row[x]);
        }
        break;
    case 16:
        for (int x = 0; x < w; ++x) {
            DWORD v = static_cast<DWORD>(row[2 * x]) | (static_cast<DWORD>(row[2 * x + 1]) << 8);
            out[x] = (Component(v, info.masks[0]) << 16) | (Component(v, info.masks[1]) << 8) |
                     Component(v, info.masks[2]);
        }
        break;
    case 24:
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = row + 3 * x;
            out[x] = (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
        }
        break;
    case 32:
        for (int x = 0; x < w; ++x) {
            DWORD v;
            std::memcpy(&v, row + 4 * x, 4);
            out[x] = (Component(v, info.masks[0]) << 16) | (Component(v, info.masks[1]) << 8) |
                     Component(v, info.masks[2]);
        }
        break;
    default:
        std::fill(out, out + w, 0u);
        break;
    }
}

void EncodeRow(const DibInfo& info, const uint32_t* in, uint8_t* row, Indexer* indexer) {
    int w = info.width;
    std::memset(row, 0, info.stride);
    switch (info.bpp) {
    case 1:
        for (int x = 0; x < w; ++x) {
            if (indexer->Index(in[x] & 0xFFFFFF)) {
                row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
            }
        }
        break;
    case 4:
        for (int x = 0; x < w; ++x) {
            uint32_t i = indexer->Index(in[x] & 0xFFFFFF) & 0x0F;
            row[x >> 1] |= static_cast<uint8_t>((x & 1) ? i : i << 4);
        }
        break;
    case 8:
        for (int x = 0; x < w; ++x) {
            row[x] = static_cast<uint8_t>(indexer->Index(in[x] & 0xFFFFFF));
        }
        break;
    case 16:
        for (int x = 0; x < w; ++x) {
            DWORD v = Compose(in[x], info.masks);
            row[2 * x] = static_cast<uint8_t>(v & 0xFF);
            row[2 * x + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
        }
        break;
    case 24:
        for (int x = 0; x < w; ++x) {
            row[3 * x] = static_cast<uint8_t>(in[x] & 0xFF);
            row[3 * x + 1] = static_cast<uint8_t>((in[x] >> 8) & 0xFF);
            row[3 * x + 2] = static_cast<uint8_t>((in[x] >> 16) & 0xFF);
        }
        break;
    case 32:
        for (int x = 0; x < w; ++x) {
            DWORD v = Compose(in[x], info.masks);
            std::memcpy(row + 4 * x, &v, 4);
        }
        break;
    default:
        break;
    }
}

// RLE bits expanded to uncompressed bottom-up rows of the same depth.
bool ExpandRle(const DibInfo& info, const uint8_t* bits, size_t size, std::vector<uint8_t>* out) {
    bool four = info.compression == BI_RLE4;
    if ((four && info.bpp != 4) || (!four && info.bpp != 8) || info.topDown) {
        return false;
    }
    // A few bytes of runs can claim a huge image: compressed bitmaps stay within resource sizes.
    if (static_cast<uint64_t>(info.width) * static_cast<uint64_t>(info.height) > kMaxRlePixels) {
        return false;
    }
    out->assign(info.stride * info.height, 0);
    auto put = [&](int x, int y, uint8_t v) {
        if (x < 0 || y < 0 || x >= info.width || y >= info.height) {
            return;
        }
        uint8_t* row = out->data() + info.stride * y;
        if (four) {
            row[x >> 1] = static_cast<uint8_t>((x & 1) ? (row[x >> 1] & 0xF0) | (v & 0x0F)
                                                       : (row[x >> 1] & 0x0F) | (v << 4));
        } else {
            row[x] = v;
        }
    };
    size_t i = 0;
    int x = 0;
    int y = 0;
    // Work is bounded by the input: every command consumes input bytes and writes at most 255 pixels.
    while (i + 1 < size && y < info.height) {
        uint8_t n = bits[i++];
        uint8_t c = bits[i++];
        if (n > 0) {
            for (int k = 0; k < n; ++k) {
                uint8_t v = four ? ((k & 1) ? c & 0x0F : c >> 4) : c;
                put(x++, y, v);
            }
            continue;
        }
        if (c == 0) { // end of line
            x = 0;
            ++y;
        } else if (c == 1) { // end of bitmap
            break;
        } else if (c == 2) { // delta
            if (i + 1 >= size) {
                break;
            }
            x += bits[i];
            y += bits[i + 1];
            i += 2;
        } else { // absolute run of c pixels
            size_t bytes = four ? (c + 1u) / 2 : c;
            if (i + bytes > size) {
                return false;
            }
            for (int k = 0; k < c; ++k) {
                uint8_t v = four ? ((k & 1) ? bits[i + k / 2] & 0x0F : bits[i + k / 2] >> 4) : bits[i + k];
                put(x++, y, v);
            }
            i += bytes + (bytes & 1); // word aligned
        }
    }
    return true;
}

std::vector<uint32_t> StandardPalette(int bpp) {
    std::vector<uint32_t> pal;
    if (bpp == 1) {
        pal = {0x000000u, 0xFFFFFFu};
    } else if (bpp == 4) {
        pal = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
               0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    } else if (bpp == 8) {
        static const uint32_t first[10] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080,
                                           0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0};
        static const uint32_t last[10] = {0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00,
                                          0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        pal.assign(first, first + 10);
        for (int r = 0; r < 6; ++r) {
            for (int g = 0; g < 6; ++g) {
                for (int b = 0; b < 6; ++b) {
                    pal.push_back(static_cast<uint32_t>((r * 51) << 16 | (g * 51) << 8 | (b * 51)));
                }
            }
        }
        while (pal.size() < 246) {
            uint32_t v = static_cast<uint32_t>((pal.size() - 226) * 12);
            pal.push_back(v << 16 | v << 8 | v);
        }
        pal.insert(pal.end(), last, last + 10);
    }
    return pal;
}
} // namespace

bool ParseDibInfo(const void* infoPtr, size_t avail, UINT usage, Dc* dc, DibInfo* out) {
    if (!infoPtr || avail < 4) {
        return false;
    }
    const auto* p = static_cast<const uint8_t*>(infoPtr);
    DWORD hsize;
    std::memcpy(&hsize, p, 4);
    DibInfo info;
    size_t tableEntry = usage == DIB_PAL_COLORS ? 2 : 4;
    size_t colors = 0;
    if (hsize == sizeof(BITMAPCOREHEADER)) {
        if (avail < hsize) {
            return false;
        }
        BITMAPCOREHEADER h;
        std::memcpy(&h, p, sizeof(h));
        info.width = h.bcWidth;
        info.height = h.bcHeight;
        info.bpp = h.bcBitCount;
        if (usage != DIB_PAL_COLORS) {
            tableEntry = 3;
        }
        colors = info.bpp <= 8 ? (1u << info.bpp) : 0;
    } else if (hsize >= sizeof(BITMAPINFOHEADER) && hsize <= 1024) {
        if (avail < hsize) {
            return false;
        }
        BITMAPINFOHEADER h;
        std::memcpy(&h, p, sizeof(h));
        if (h.biHeight == std::numeric_limits<LONG>::min()) {
            return false;
        }
        info.width = h.biWidth;
        info.topDown = h.biHeight < 0;
        info.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
        info.bpp = h.biBitCount;
        info.compression = h.biCompression;
        if (info.bpp <= 8) {
            colors = h.biClrUsed ? h.biClrUsed : (1u << info.bpp);
            if (colors > 256) {
                return false;
            }
        } else {
            colors = h.biClrUsed; // an optional optimisation table to skip
            if (colors > 65536) {
                return false;
            }
        }
        if (info.compression == BI_BITFIELDS) {
            if (info.bpp != 16 && info.bpp != 32) {
                return false;
            }
            if (hsize >= 52) {
                std::memcpy(info.masks, p + 40, 12);
            } else {
                if (avail < hsize + 12) {
                    return false;
                }
                std::memcpy(info.masks, p + hsize, 12);
                hsize += 12;
            }
        } else if (info.compression == BI_RGB) {
            DefaultMasks(info.bpp, info.masks);
        } else if (info.compression == BI_RLE8 || info.compression == BI_RLE4) {
            if (info.topDown) {
                return false;
            }
        } else {
            return false; // JPEG/PNG inside a DIB is not drawn by this layer
        }
    } else {
        return false;
    }
    if (info.bpp != 1 && info.bpp != 4 && info.bpp != 8 && info.bpp != 16 && info.bpp != 24 &&
        info.bpp != 32) {
        return false;
    }
    if (info.bpp == 24 || info.bpp == 32) {
        if (info.compression == BI_RGB) {
            DefaultMasks(info.bpp, info.masks);
        }
    }
    if (!SizeOk(info.width, info.height)) {
        return false;
    }
    size_t table = colors * tableEntry;
    if (avail != SIZE_MAX && (hsize > avail || table > avail - hsize)) {
        return false;
    }
    if (info.bpp <= 8) {
        const uint8_t* t = p + hsize;
        size_t n = std::min<size_t>(colors, 1u << info.bpp);
        for (size_t i = 0; i < n; ++i) {
            if (usage == DIB_PAL_COLORS) {
                WORD idx;
                std::memcpy(&idx, t + 2 * i, 2);
                info.palette.push_back(dc ? ResolveColor(*dc, PALETTEINDEX(idx), false)
                                          : ToPixel(0)); // resolved below without a DC
                if (!dc) {
                    Palette* pal = Get<Palette>(StockObject(DEFAULT_PALETTE), Kind::Palette);
                    if (pal && idx < pal->entries.size()) {
                        const PALETTEENTRY& e = pal->entries[idx];
                        info.palette.back() = (static_cast<uint32_t>(e.peRed) << 16) |
                                              (static_cast<uint32_t>(e.peGreen) << 8) | e.peBlue;
                    }
                }
            } else if (tableEntry == 3) {
                info.palette.push_back((static_cast<uint32_t>(t[3 * i + 2]) << 16) |
                                       (static_cast<uint32_t>(t[3 * i + 1]) << 8) | t[3 * i]);
            } else {
                RGBQUAD q;
                std::memcpy(&q, t + 4 * i, 4);
                info.palette.push_back(Rgb(q));
            }
        }
    }
    info.headerBytes = hsize + table;
    info.stride = ((static_cast<size_t>(info.width) * info.bpp + 31) / 32) * 4;
    *out = std::move(info);
    return true;
}

size_t DibBitsSize(const DibInfo& info) {
    return info.stride * static_cast<size_t>(info.height);
}

bool DecodeDibBits(const DibInfo& info, const uint8_t* bits, size_t size, std::vector<uint32_t>* out) {
    if (!bits) {
        return false;
    }
    std::vector<uint8_t> expanded;
    const uint8_t* src = bits;
    if (info.compression == BI_RLE8 || info.compression == BI_RLE4) {
        if (size == SIZE_MAX) {
            return false; // a compressed block needs its size
        }
        if (!ExpandRle(info, bits, size, &expanded)) {
            return false;
        }
        src = expanded.data();
    } else if (size != SIZE_MAX && size < DibBitsSize(info)) {
        return false;
    }
    out->assign(static_cast<size_t>(info.width) * info.height, 0);
    for (int r = 0; r < info.height; ++r) {
        int y = info.topDown ? r : info.height - 1 - r;
        DecodeRow(info, src + info.stride * r, out->data() + static_cast<size_t>(y) * info.width);
    }
    return true;
}

bool DecodePackedDib(const uint8_t* data, size_t size, UINT usage, Dc* dc, int* width, int* height,
                     std::vector<uint32_t>* pixels, size_t* consumed) {
    DibInfo info;
    if (!ParseDibInfo(data, size, usage, dc, &info)) {
        return false;
    }
    size_t rest = size - info.headerBytes;
    if (!DecodeDibBits(info, data + info.headerBytes, rest, pixels)) {
        return false;
    }
    *width = info.width;
    *height = info.height;
    *consumed = info.headerBytes + std::min(rest, DibBitsSize(info));
    return true;
}

// ---- Bitmap
Bitmap::~Bitmap() {
    if (surface) {
        cairo_surface_destroy(surface);
    }
}

Surface Bitmap::Pixels() const {
    Surface s;
    if (!surface) {
        return s;
    }
    cairo_surface_flush(surface);
    s.data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface));
    s.stride = cairo_image_surface_get_stride(surface) / 4;
    s.width = width;
    s.height = height;
    s.mono = mono;
    return s;
}

namespace {
DibInfo SectionInfo(const Bitmap& b) {
    DibInfo info;
    info.width = b.width;
    info.height = b.height;
    info.topDown = b.topDown;
    info.bpp = b.bpp;
    info.compression = b.header.biCompression;
    std::memcpy(info.masks, b.masks, sizeof(info.masks));
    for (const RGBQUAD& q : b.colors) {
        info.palette.push_back(Rgb(q));
    }
    info.stride = static_cast<size_t>(b.dibStride);
    return info;
}
} // namespace

void Bitmap::SyncIn() {
    if (!dib || wraps || !surface) {
        return;
    }
    // Unchanged bits since the last exchange: the surface already shows them.
    if (shadow.size() == bitsSize && std::memcmp(shadow.data(), bits, bitsSize) == 0) {
        return;
    }
    shadow.assign(bits, bits + bitsSize);
    DibInfo info = SectionInfo(*this);
    Surface s = Pixels();
    for (int r = 0; r < height; ++r) {
        int y = topDown ? r : height - 1 - r;
        DecodeRow(info, bits + info.stride * r, s.Row(y));
    }
    cairo_surface_mark_dirty(surface);
}

void Bitmap::SyncOut() {
    if (!dib || wraps || !surface) {
        return;
    }
    DibInfo info = SectionInfo(*this);
    Surface s = Pixels();
    Indexer indexer(info.palette);
    for (int r = 0; r < height; ++r) {
        int y = topDown ? r : height - 1 - r;
        EncodeRow(info, s.Row(y), bits + info.stride * r, &indexer);
    }
    // Colours the depth cannot hold come back from the bits as the DIB keeps them.
    shadow.clear();
    SyncIn();
}

std::shared_ptr<Bitmap> NewDeviceBitmap(int w, int h, bool mono) {
    if (!SizeOk(w, h)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto b = std::make_shared<Bitmap>();
    b->width = w;
    b->height = h;
    b->mono = mono;
    b->bpp = mono ? 1 : 32;
    b->surface = NewSurface(w, h, 0);
    if (!b->surface) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return b;
}

// Device-bitmap bits: rows word aligned, monochrome MSB first (1 = white), colour 32-bit BGRX.
LONG DeviceBitsSize(const Bitmap& b) {
    return ((b.width * b.bpp + 15) / 16) * 2 * b.height;
}

void ReadDeviceBits(Bitmap& b, const uint8_t* bits, size_t size, int srcBpp) {
    Surface s = b.Pixels();
    size_t stride = ((static_cast<size_t>(b.width) * srcBpp + 15) / 16) * 2;
    DibInfo info;
    info.width = b.width;
    info.height = 1;
    info.bpp = srcBpp;
    info.stride = stride;
    DefaultMasks(srcBpp, info.masks);
    info.palette = StandardPalette(srcBpp);
    for (int y = 0; y < b.height && stride * (y + 1) <= size; ++y) {
        DecodeRow(info, bits + stride * y, s.Row(y));
        if (b.mono) {
            for (int x = 0; x < b.width; ++x) {
                s.Row(y)[x] = MonoPixel(s.Row(y)[x]);
            }
        }
    }
    cairo_surface_mark_dirty(b.surface);
}

HBITMAP MakeSection(int w, int h, bool topDown, int bpp, DWORD compression, const DWORD* masks,
                    std::vector<RGBQUAD> colors, void** bitsOut) {
    if (!SizeOk(w, h)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto b = std::make_shared<Bitmap>();
    b->dib = true;
    b->width = w;
    b->height = h;
    b->bpp = bpp;
    b->topDown = topDown;
    b->header.biSize = sizeof(BITMAPINFOHEADER);
    b->header.biWidth = w;
    b->header.biHeight = topDown ? -h : h;
    b->header.biPlanes = 1;
    b->header.biBitCount = static_cast<WORD>(bpp);
    b->header.biCompression = compression;
    b->header.biClrUsed = bpp <= 8 ? static_cast<DWORD>(colors.size()) : 0;
    std::memcpy(b->masks, masks, sizeof(b->masks));
    if (bpp <= 8) {
        colors.resize(1u << bpp, RGBQUAD{0, 0, 0, 0});
    }
    b->colors = std::move(colors);
    b->dibStride = static_cast<int>(((static_cast<size_t>(w) * bpp + 31) / 32) * 4);
    b->bitsSize = static_cast<size_t>(b->dibStride) * h;
    b->header.biSizeImage = static_cast<DWORD>(b->bitsSize);
    b->storage.reset(new (std::nothrow) uint8_t[b->bitsSize]);
    if (!b->storage) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    std::memset(b->storage.get(), 0, b->bitsSize);
    b->bits = b->storage.get();
    bool defaultMasks = masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF;
    if (bpp == 32 && topDown && defaultMasks) {
        b->wraps = true;
        b->surface = cairo_image_surface_create_for_data(b->bits, CAIRO_FORMAT_RGB24, w, h, b->dibStride);
    } else {
        b->surface = NewSurface(w, h, 0);
    }
    if (!b->surface || cairo_surface_status(b->surface) != CAIRO_STATUS_SUCCESS) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    b->SyncIn();
    if (bitsOut) {
        *bitsOut = b->bits;
    }
    return static_cast<HBITMAP>(AddObject(std::move(b)));
}

HBITMAP SectionFromInfo(Dc* dc, const DibInfo& info, void** bitsOut) {
    std::vector<RGBQUAD> colors;
    for (uint32_t p : info.palette) {
        colors.push_back(Quad(p));
    }
    DWORD compression = info.compression == BI_BITFIELDS ? BI_BITFIELDS : BI_RGB;
    (void)dc;
    return MakeSection(info.width, info.height, info.topDown, info.bpp, compression, info.masks,
                       std::move(colors), bitsOut);
}

// Is the DC's selected bitmap monochrome? (Compatible bitmaps follow it.)
bool DcIsMono(HDC hdc) {
    Dc* dc = GetDc(hdc);
    if (!dc) {
        return false;
    }
    Bitmap* b = TargetBitmap(*dc);
    return b && b->mono;
}

HBITMAP FromPacked(const uint8_t* data, size_t size, bool dibSection) {
    DibInfo info;
    if (!data || !ParseDibInfo(data, size, DIB_RGB_COLORS, nullptr, &info)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    const uint8_t* bits = data + info.headerBytes;
    size_t rest = size - info.headerBytes;
    bool rle = info.compression == BI_RLE8 || info.compression == BI_RLE4;
    if (!rle && rest < DibBitsSize(info)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    if (dibSection) {
        std::vector<uint8_t> expanded;
        if (rle) {
            if (!ExpandRle(info, bits, rest, &expanded)) {
                SetLastError(ERROR_INVALID_DATA);
                return nullptr;
            }
            bits = expanded.data();
            info.compression = BI_RGB;
        }
        void* out = nullptr;
        HBITMAP h = SectionFromInfo(nullptr, info, &out);
        if (!h) {
            return nullptr;
        }
        Bitmap* b = Get<Bitmap>(h, Kind::Bitmap);
        std::memcpy(b->bits, bits, b->bitsSize);
        b->SyncIn();
        return h;
    }
    std::vector<uint32_t> px;
    if (!DecodeDibBits(info, bits, rest, &px)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    bool mono = info.bpp == 1 && info.palette.size() == 2 &&
                ((info.palette[0] == 0 && info.palette[1] == 0xFFFFFF) ||
                 (info.palette[0] == 0xFFFFFF && info.palette[1] == 0));
    auto b = NewDeviceBitmap(info.width, info.height, mono);
    if (!b) {
        return nullptr;
    }
    Surface s = b->Pixels();
    for (int y = 0; y < info.height; ++y) {
        std::memcpy(s.Row(y), px.data() + static_cast<size_t>(y) * info.width, sizeof(uint32_t) * info.width);
    }
    cairo_surface_mark_dirty(b->surface);
    return static_cast<HBITMAP>(AddObject(std::move(b)));
}

namespace {
// The packed DIB inside a .bmp file image: the bytes after the file header, with the bits moved up to follow
// the colour table when bfOffBits leaves a gap. A bfOffBits inside the header or past the end is ignored (the
// bits then follow the table), as sloppy writers leave it.
struct PackedBmp {
    const uint8_t* dib = nullptr;
    size_t size = 0;
    std::vector<uint8_t> repacked;
};

bool LocatePackedDib(const uint8_t* p, size_t size, PackedBmp* out) {
    if (!p || size < sizeof(BITMAPFILEHEADER) + 4 || p[0] != 'B' || p[1] != 'M') {
        return false;
    }
    BITMAPFILEHEADER fh;
    std::memcpy(&fh, p, sizeof(fh));
    const uint8_t* dib = p + sizeof(fh);
    size_t dibSize = size - sizeof(fh);
    DibInfo info;
    if (!ParseDibInfo(dib, dibSize, DIB_RGB_COLORS, nullptr, &info)) {
        return false;
    }
    size_t bitsAt = fh.bfOffBits;
    if (bitsAt < sizeof(fh) + info.headerBytes || bitsAt > size) {
        bitsAt = sizeof(fh) + info.headerBytes;
    }
    if (bitsAt == sizeof(fh) + info.headerBytes) {
        out->dib = dib;
        out->size = dibSize;
        return true;
    }
    out->repacked.assign(dib, dib + info.headerBytes);
    out->repacked.insert(out->repacked.end(), p + bitsAt, p + size);
    out->dib = out->repacked.data();
    out->size = out->repacked.size();
    return true;
}

// A packed DIB in the plain form (PlainDib.h).
bool ReadPlain(const uint8_t* data, size_t size, GdiPlainDib* out) {
    DibInfo info;
    if (!data || !ParseDibInfo(data, size, DIB_RGB_COLORS, nullptr, &info)) {
        return false;
    }
    const uint8_t* bits = data + info.headerBytes;
    size_t rest = size - info.headerBytes;
    std::vector<uint8_t> rows;
    if (info.compression == BI_RLE8 || info.compression == BI_RLE4) {
        if (!ExpandRle(info, bits, rest, &rows)) {
            return false;
        }
    } else {
        if (rest < DibBitsSize(info)) {
            return false;
        }
        rows.resize(DibBitsSize(info));
        for (int r = 0; r < info.height; ++r) {
            int to = info.topDown ? info.height - 1 - r : r;
            std::memcpy(rows.data() + info.stride * to, bits + info.stride * r, info.stride);
        }
    }
    int bpp = info.bpp;
    DWORD standard[3];
    DefaultMasks(bpp, standard);
    if ((bpp == 16 || bpp == 32) && !std::equal(info.masks, info.masks + 3, standard)) {
        DibInfo wide = info;
        wide.bpp = 24;
        wide.stride = ((static_cast<size_t>(info.width) * 24 + 31) / 32) * 4;
        std::vector<uint8_t> converted(wide.stride * info.height);
        std::vector<uint32_t> pixels(static_cast<size_t>(info.width));
        for (int r = 0; r < info.height; ++r) {
            DecodeRow(info, rows.data() + info.stride * r, pixels.data());
            EncodeRow(wide, pixels.data(), converted.data() + wide.stride * r, nullptr);
        }
        rows = std::move(converted);
        bpp = 24;
    }

    // Only a full header carries these; a core header leaves them 0.
    BITMAPINFOHEADER stored{};
    DWORD headerSize;
    std::memcpy(&headerSize, data, 4);
    if (headerSize >= sizeof(BITMAPINFOHEADER)) {
        std::memcpy(&stored, data, sizeof(stored));
    }
    out->colors.clear();
    DWORD used = 0;
    if (bpp <= 8) {
        out->colors.assign(size_t{1} << bpp, RGBQUAD{0, 0, 0, 0});
        for (size_t i = 0; i < info.palette.size(); ++i) {
            out->colors[i] = Quad(info.palette[i]);
        }
        used = stored.biClrUsed ? static_cast<DWORD>(info.palette.size()) : 0;
    }
    BITMAPINFOHEADER& h = out->header;
    h = BITMAPINFOHEADER{};
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = info.width;
    h.biHeight = info.height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bpp);
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(rows.size());
    h.biXPelsPerMeter = stored.biXPelsPerMeter;
    h.biYPelsPerMeter = stored.biYPelsPerMeter;
    h.biClrUsed = used;
    h.biClrImportant = std::min(stored.biClrImportant, used);
    out->bits = std::move(rows);
    return true;
}
} // namespace

} // namespace gdi

using namespace gdi;

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (width < 0 || height < 0 || planes != 1 || bitsPerPixel > 32) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (width == 0 || height == 0) {
        width = 1;
        height = 1;
        bitsPerPixel = 1;
        bits = nullptr;
    }
    bool mono = bitsPerPixel <= 1;
    auto b = NewDeviceBitmap(width, height, mono);
    if (!b) {
        return nullptr;
    }
    if (bits) {
        int srcBpp = mono ? 1
                          : (bitsPerPixel <= 4    ? 4
                             : bitsPerPixel <= 8  ? 8
                             : bitsPerPixel <= 16 ? 16
                             : bitsPerPixel <= 24 ? 24
                                                  : 32);
        size_t stride = ((static_cast<size_t>(width) * srcBpp + 15) / 16) * 2;
        ReadDeviceBits(*b, static_cast<const uint8_t*>(bits), stride * height, srcBpp);
    }
    return static_cast<HBITMAP>(AddObject(std::move(b)));
}

HBITMAP CreateBitmapIndirect(const BITMAP* bm) {
    if (!bm) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, bm->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
    GDI_LOCK();
    if (!CheckDc(hdc)) {
        return nullptr;
    }
    if (width < 0 || height < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (width == 0 || height == 0) {
        return CreateBitmap(1, 1, 1, 1, nullptr);
    }
    auto b = NewDeviceBitmap(width, height, DcIsMono(hdc));
    return b ? static_cast<HBITMAP>(AddObject(std::move(b))) : nullptr;
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE, DWORD) {
    GDI_LOCK();
    if (bits) {
        *bits = nullptr;
    }
    DibInfo di;
    Dc* dc = hdc ? GetDc(hdc) : nullptr;
    if (!ParseDibInfo(info, SIZE_MAX, usage, dc, &di) || di.compression == BI_RLE4 ||
        di.compression == BI_RLE8) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return SectionFromInfo(dc, di, bits);
}

HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage) {
    GDI_LOCK();
    if (!header || header->biSize < sizeof(BITMAPCOREHEADER)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    LONG w;
    LONG h;
    if (header->biSize == sizeof(BITMAPCOREHEADER)) {
        const auto* core = reinterpret_cast<const BITMAPCOREHEADER*>(header);
        w = core->bcWidth;
        h = core->bcHeight;
    } else {
        w = header->biWidth;
        h = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    }
    auto b = NewDeviceBitmap(w, h, hdc && DcIsMono(hdc));
    if (!b) {
        return nullptr;
    }
    HBITMAP hb = static_cast<HBITMAP>(AddObject(std::move(b)));
    if ((init & CBM_INIT) && bits && info) {
        SetDIBits(hdc, hb, 0, static_cast<UINT>(h), bits, info, usage);
    }
    return hb;
}

int SetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage) {
    GDI_LOCK();
    Bitmap* b = Get<Bitmap>(bitmap, Kind::Bitmap);
    DibInfo di;
    if (!b || !bits || !ParseDibInfo(info, SIZE_MAX, usage, hdc ? GetDc(hdc) : nullptr, &di)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (di.compression == BI_RLE4 || di.compression == BI_RLE8) {
        const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(info);
        std::vector<uint32_t> px;
        if (!DecodeDibBits(di, static_cast<const uint8_t*>(bits), h->biSizeImage, &px)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        lines = static_cast<UINT>(di.height);
        start = 0;
        b->SyncIn();
        Surface s = b->Pixels();
        for (int y = 0; y < std::min(di.height, b->height); ++y) {
            for (int x = 0; x < std::min(di.width, b->width); ++x) {
                uint32_t p = px[static_cast<size_t>(y) * di.width + x];
                s.Row(y)[x] = b->mono ? MonoPixel(p) : p;
            }
        }
        cairo_surface_mark_dirty(b->surface);
        b->SyncOut();
        return static_cast<int>(lines);
    }
    b->SyncIn();
    Surface s = b->Pixels();
    std::vector<uint32_t> row(static_cast<size_t>(di.width));
    const auto* src = static_cast<const uint8_t*>(bits);
    int done = 0;
    // Scan `start` is the first row stored: the bottom row for a bottom-up DIB.
    for (UINT i = 0; i < lines && static_cast<int>(start + i) < di.height; ++i) {
        int storage = static_cast<int>(start + i);
        int y = di.topDown ? storage : di.height - 1 - storage;
        DecodeRow(di, src + di.stride * i, row.data());
        if (y < b->height) {
            for (int x = 0; x < std::min(di.width, b->width); ++x) {
                s.Row(y)[x] = b->mono ? MonoPixel(row[x]) : row[x];
            }
        }
        ++done;
    }
    cairo_surface_mark_dirty(b->surface);
    b->SyncOut();
    return done;
}

int GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT usage) {
    GDI_LOCK();
    Bitmap* b = Get<Bitmap>(bitmap, Kind::Bitmap);
    if (!b || !info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    (void)hdc;
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biBitCount == 0) {
        // Describe the bitmap only.
        h.biWidth = b->width;
        h.biHeight = b->dib && b->topDown ? -b->height : b->height;
        h.biPlanes = 1;
        h.biBitCount = static_cast<WORD>(b->bpp);
        h.biCompression = BI_RGB;
        h.biSizeImage =
            static_cast<DWORD>(((static_cast<size_t>(b->width) * b->bpp + 31) / 32) * 4 * b->height);
        h.biXPelsPerMeter = 0;
        h.biYPelsPerMeter = 0;
        h.biClrUsed = 0;
        h.biClrImportant = 0;
        return 1;
    }
    int bpp = h.biBitCount;
    if ((bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) ||
        (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    DibInfo di;
    di.width = h.biWidth > 0 ? h.biWidth : b->width;
    di.height = h.biHeight == 0 ? b->height : (h.biHeight < 0 ? -h.biHeight : h.biHeight);
    di.topDown = h.biHeight < 0;
    di.bpp = bpp;
    di.compression = h.biCompression;
    if (h.biCompression == BI_BITFIELDS) {
        std::memcpy(di.masks, info->bmiColors, 12);
    } else {
        DefaultMasks(bpp, di.masks);
    }
    di.stride = ((static_cast<size_t>(di.width) * bpp + 31) / 32) * 4;
    if (bpp <= 8) {
        if (b->dib && b->bpp == bpp) {
            for (const RGBQUAD& q : b->colors) {
                di.palette.push_back(Rgb(q));
            }
        } else {
            di.palette = StandardPalette(bpp);
        }
        for (size_t i = 0; i < di.palette.size(); ++i) {
            if (usage == DIB_PAL_COLORS) {
                reinterpret_cast<WORD*>(info->bmiColors)[i] = static_cast<WORD>(i);
            } else {
                info->bmiColors[i] = Quad(di.palette[i]);
            }
        }
        h.biClrUsed = 0;
    }
    h.biSizeImage = static_cast<DWORD>(di.stride * di.height);
    if (!bits) {
        return static_cast<int>(std::min<UINT>(lines, static_cast<UINT>(di.height)));
    }
    b->SyncIn();
    Surface s = b->Pixels();
    Indexer indexer(di.palette);
    std::vector<uint32_t> row(static_cast<size_t>(di.width), 0);
    auto* out = static_cast<uint8_t*>(bits);
    int done = 0;
    for (UINT i = 0; i < lines && static_cast<int>(start + i) < di.height; ++i) {
        int storage = static_cast<int>(start + i);
        int y = di.topDown ? storage : di.height - 1 - storage;
        for (int x = 0; x < di.width; ++x) {
            row[x] = (y < b->height && x < b->width) ? s.Row(y)[x] & 0xFFFFFF : 0;
        }
        EncodeRow(di, row.data(), out + di.stride * i, &indexer);
        ++done;
    }
    return done;
}

LONG GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits) {
    GDI_LOCK();
    Bitmap* b = Get<Bitmap>(bitmap, Kind::Bitmap);
    if (!b) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    LONG total = DeviceBitsSize(*b);
    if (!bits) {
        return total;
    }
    b->SyncIn();
    Surface s = b->Pixels();
    size_t stride = static_cast<size_t>(((b->width * b->bpp + 15) / 16) * 2);
    DibInfo di;
    di.width = b->width;
    di.height = 1;
    di.bpp = b->bpp;
    di.stride = stride;
    DefaultMasks(b->bpp, di.masks);
    di.palette = StandardPalette(b->bpp <= 8 ? b->bpp : 0);
    if (b->dib && b->bpp <= 8) {
        di.palette.clear();
        for (const RGBQUAD& q : b->colors) {
            di.palette.push_back(Rgb(q));
        }
    }
    Indexer indexer(di.palette);
    std::vector<uint8_t> row(stride);
    auto* out = static_cast<uint8_t*>(bits);
    LONG written = 0;
    for (int y = 0; y < b->height && written < size; ++y) {
        EncodeRow(di, s.Row(y), row.data(), &indexer);
        LONG n = std::min<LONG>(static_cast<LONG>(stride), size - written);
        std::memcpy(out + written, row.data(), static_cast<size_t>(n));
        written += n;
    }
    return written;
}

LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits) {
    GDI_LOCK();
    Bitmap* b = Get<Bitmap>(bitmap, Kind::Bitmap);
    if (!b || !bits) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    b->SyncIn();
    LONG total = std::min<LONG>(DeviceBitsSize(*b), static_cast<LONG>(size));
    ReadDeviceBits(*b, static_cast<const uint8_t*>(bits), static_cast<size_t>(total), b->bpp);
    b->SyncOut();
    return total;
}

BOOL GetBitmapDimensionEx(HBITMAP bitmap, LPSIZE size) {
    GDI_LOCK();
    Bitmap* b = Get<Bitmap>(bitmap, Kind::Bitmap);
    if (!b || !size) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    *size = b->dimension;
    return TRUE;
}

BOOL SetBitmapDimensionEx(HBITMAP bitmap, int width, int height, LPSIZE previous) {
    GDI_LOCK();
    Bitmap* b = Get<Bitmap>(bitmap, Kind::Bitmap);
    if (!b) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (previous) {
        *previous = b->dimension;
    }
    b->dimension = SIZE{width, height};
    return TRUE;
}

UINT GetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD* colors) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    Bitmap* b = dc ? TargetBitmap(*dc) : nullptr;
    if (!b || !b->dib || b->bpp > 8 || !colors || start >= b->colors.size()) {
        return 0;
    }
    UINT n = std::min<UINT>(count, static_cast<UINT>(b->colors.size()) - start);
    std::copy_n(b->colors.begin() + start, n, colors);
    return n;
}

UINT SetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD* colors) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    Bitmap* b = dc ? TargetBitmap(*dc) : nullptr;
    if (!b || !b->dib || b->bpp > 8 || !colors || start >= b->colors.size()) {
        return 0;
    }
    UINT n = std::min<UINT>(count, static_cast<UINT>(b->colors.size()) - start);
    std::copy_n(colors, n, b->colors.begin() + start);
    b->shadow.clear(); // same bits, new colours
    b->SyncIn();
    return n;
}

HBITMAP GdiCreateBitmapFromPackedDib(const void* data, size_t size, bool dibSection) {
    GDI_LOCK();
    return FromPacked(static_cast<const uint8_t*>(data), size, dibSection);
}

HBITMAP GdiCreateBitmapFromBmpFile(const void* data, size_t size, bool dibSection) {
    GDI_LOCK();
    PackedBmp packed;
    if (!LocatePackedDib(static_cast<const uint8_t*>(data), size, &packed)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return FromPacked(packed.dib, packed.size, dibSection);
}

bool GdiBitmapSizeAllowed(long long width, long long height) {
    return SizeOk(width, height);
}

BOOL GdiReadPlainDib(const void* data, size_t size, GdiPlainDib* out) {
    GDI_LOCK();
    if (!out || !ReadPlain(static_cast<const uint8_t*>(data), size, out)) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    return TRUE;
}

BOOL GdiReadPlainBmpFile(const void* data, size_t size, GdiPlainDib* out) {
    GDI_LOCK();
    PackedBmp packed;
    if (!out || !LocatePackedDib(static_cast<const uint8_t*>(data), size, &packed) ||
        !ReadPlain(packed.dib, packed.size, out)) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    return TRUE;
}
