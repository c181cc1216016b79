#include "toolkit/SECJpeg.h"

#include "toolkit/JpegGlue.h"

#include "platform/base/CArchive.h"
#include "platform/gdi/PlainDib.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_SERIAL(SECJpeg, CObject, 1)

namespace {
// The codec's working memory (whole-picture buffers of progressive files). The library in use pages
// nothing to disk, so a file needing more fails to load instead.
constexpr long kCodecMemoryLimit = 512L << 20;
} // namespace

SECJpeg::SECJpeg() {
    m_bQuantize = m_wDisplayColors != 0;
}

// ---- Decoding

BOOL SECJpeg::DecodeImage(CFile* pFile) {
    JpegErrorManager errors;
    jpeg_decompress_struct cinfo;
    JpegInstallErrorManager(reinterpret_cast<j_common_ptr>(&cinfo), &errors);
    const BOOL ok = RunDecode(&cinfo, &errors, pFile);
    m_strCodecMessage = CString(errors.lastMessage);
    if (errors.pending) {
        std::rethrow_exception(errors.pending);
    }
    // JPEG rows run top down, DIB rows bottom up.
    return ok && FlipRows() && PadRows();
}

BOOL SECJpeg::RunDecode(jpeg_decompress_struct* cinfo, JpegErrorManager* errors, CFile* pFile) {
    if (setjmp(errors->jump)) {
        return FALSE; // the error exit has destroyed the codec
    }
    jpeg_create_decompress(cinfo);
    cinfo->mem->max_memory_to_use = kCodecMemoryLimit;
    AttachSource(cinfo, pFile);
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK || !PrepareDecodeTarget(cinfo)) {
        jpeg_destroy_decompress(cinfo);
        return FALSE;
    }
    jpeg_start_decompress(cinfo);
    const bool greyToColour = cinfo->out_color_components == 1 && m_nBitsPerPixel == 24;
    const size_t rowBytes = GetRowBytes(m_nBitsPerPixel, m_nWidth);
    const size_t sampleBytes = static_cast<size_t>(cinfo->output_width) * cinfo->output_components;
    if (cinfo->output_width != static_cast<JDIMENSION>(m_nWidth) ||
        (!greyToColour && sampleBytes != rowBytes)) {
        jpeg_destroy_decompress(cinfo);
        return FALSE;
    }
    JSAMPARRAY samples = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                     static_cast<JDIMENSION>(sampleBytes), 1);
    while (cinfo->output_scanline < cinfo->output_height) {
        BYTE* row = m_lpBits + static_cast<size_t>(cinfo->output_scanline) * rowBytes;
        jpeg_read_scanlines(cinfo, samples, 1);
        if (greyToColour) {
            for (size_t x = 0; x < sampleBytes; ++x) {
                std::memset(row + 3 * x, samples[0][x], 3);
            }
        } else {
            std::memcpy(row, samples[0], rowBytes);
        }
    }
    if (cinfo->quantize_colors) {
        const int colours = std::min(cinfo->actual_number_of_colors, static_cast<int>(m_wColors));
        for (int i = 0; i < colours; ++i) {
            const bool three = cinfo->out_color_components == 3;
            m_lpColorTable[i].rgbBlue = cinfo->colormap[0][i];
            m_lpColorTable[i].rgbGreen = cinfo->colormap[three ? 1 : 0][i];
            m_lpColorTable[i].rgbRed = cinfo->colormap[three ? 2 : 0][i];
        }
    }
    jpeg_finish_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    return TRUE;
}

BOOL SECJpeg::PrepareDecodeTarget(jpeg_decompress_struct* cinfo) {
    if (!GdiBitmapSizeAllowed(cinfo->image_width, cinfo->image_height)) {
        return FALSE;
    }
    // 8-bit pictures only when quantising: unquantised samples do not fit them.
    const bool quantise = m_wDisplayColors != 0 && m_bQuantize;
    // Colour files come out blue, green, red. Four-component files are asked for the same way, which the
    // library refuses: the load fails.
    if (cinfo->jpeg_color_space != JCS_GRAYSCALE) {
        cinfo->out_color_space = JCS_EXT_BGR;
    }
    if (quantise) {
        cinfo->quantize_colors = TRUE;
        cinfo->desired_number_of_colors = 256;
    }
    m_nWidth = static_cast<int>(cinfo->image_width);
    m_nHeight = static_cast<int>(cinfo->image_height);
    m_nBitsPerPixel = quantise ? 8 : 24;
    m_wColors = quantise ? 256 : 0;
    m_bRowsPadded = FALSE;
    const size_t bytes = GetPaddedRowBytes(m_nBitsPerPixel, m_nWidth) * static_cast<size_t>(m_nHeight);
    if (!AllocateInfo(m_wColors) || !AllocateBits(bytes)) {
        return FALSE;
    }
    m_nPixelBufferSize = static_cast<int>(bytes);
    BITMAPINFOHEADER* h = InfoHeader();
    h->biSize = sizeof(BITMAPINFOHEADER);
    h->biWidth = m_nWidth;
    h->biHeight = m_nHeight;
    h->biPlanes = 1;
    h->biBitCount = static_cast<WORD>(m_nBitsPerPixel);
    h->biCompression = BI_RGB;
    return TRUE;
}

// ---- Encoding

BOOL SECJpeg::CanEncode() const {
    if (!IsPictureConsistent()) {
        return FALSE;
    }
    switch (m_nBitsPerPixel) {
    case 1:
    case 4:
    case 8:
        return m_lpColorTable && m_wColors >= (1u << m_nBitsPerPixel);
    case 16:
    case 24:
    case 32:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL SECJpeg::EncodeImage(CFile* pFile) {
    if (!CanEncode() || !FlipRows() || !UnpadRows()) {
        PadRows();
        return FALSE;
    }
    JpegErrorManager errors;
    jpeg_compress_struct cinfo;
    JpegInstallErrorManager(reinterpret_cast<j_common_ptr>(&cinfo), &errors);
    const BOOL ok = RunEncode(&cinfo, &errors, pFile);
    // Back to the DIB form whatever happened.
    PadRows();
    FlipRows();
    m_strCodecMessage = CString(errors.lastMessage);
    if (errors.pending) {
        std::rethrow_exception(errors.pending);
    }
    return ok;
}

BOOL SECJpeg::RunEncode(jpeg_compress_struct* cinfo, JpegErrorManager* errors, CFile* pFile) {
    if (setjmp(errors->jump)) {
        return FALSE; // the error exit has destroyed the codec
    }
    jpeg_create_compress(cinfo);
    cinfo->mem->max_memory_to_use = kCodecMemoryLimit;
    AttachDestination(cinfo, pFile);
    cinfo->image_width = static_cast<JDIMENSION>(m_nWidth);
    cinfo->image_height = static_cast<JDIMENSION>(m_nHeight);
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_EXT_BGR;
    SetCodecDefaults(cinfo);
    jpeg_start_compress(cinfo, TRUE);
    JSAMPROW samples[1] = {static_cast<JSAMPROW>((*cinfo->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, 3 * static_cast<size_t>(m_nWidth)))};
    const size_t rowBytes = GetRowBytes(m_nBitsPerPixel, m_nWidth);
    while (cinfo->next_scanline < cinfo->image_height) {
        FillSampleRow(m_lpBits + static_cast<size_t>(cinfo->next_scanline) * rowBytes, samples[0]);
        jpeg_write_scanlines(cinfo, samples, 1);
    }
    jpeg_finish_compress(cinfo);
    jpeg_destroy_compress(cinfo);
    return TRUE;
}

void SECJpeg::SetCodecDefaults(jpeg_compress_struct* cinfo) {
    // Raises the library's bad-state error unless the object is in its start state.
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, m_nQuality, TRUE);
    cinfo->smoothing_factor = std::clamp(m_nSmoothing, 0, 100);
    cinfo->optimize_coding = m_bOptimizeCoding || cinfo->data_precision > 8 ? TRUE : FALSE;
    cinfo->arith_code = m_bArithmeticCoding ? TRUE : FALSE;
}

void SECJpeg::FillSampleRow(const BYTE* row, BYTE* samples) {
    const size_t width = static_cast<size_t>(m_nWidth);
    switch (m_nBitsPerPixel) {
    case 24:
        std::memcpy(samples, row, 3 * width);
        return;
    case 32:
        for (size_t x = 0; x < width; ++x) {
            std::memcpy(samples + 3 * x, row + 4 * x, 3);
        }
        return;
    case 16:
        // 5 bits each of red, green and blue, widened to 8.
        for (size_t x = 0; x < width; ++x) {
            const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
            const unsigned parts[3] = {v & 0x1F, (v >> 5) & 0x1F, (v >> 10) & 0x1F};
            for (int c = 0; c < 3; ++c) {
                samples[3 * x + c] = static_cast<BYTE>((parts[c] << 3) | (parts[c] >> 2));
            }
        }
        return;
    default:
        m_nUnpackBit = 0;
        m_nUnpackCount = 0;
        for (size_t x = 0; x < width; ++x) {
            const RGBQUAD& colour = m_lpColorTable[UnpackIndex(row)];
            samples[3 * x] = colour.rgbBlue;
            samples[3 * x + 1] = colour.rgbGreen;
            samples[3 * x + 2] = colour.rgbRed;
        }
        m_nUnpackBit = 0;
        m_nUnpackCount = 0;
        return;
    }
}

BYTE SECJpeg::UnpackIndex(const BYTE* row) {
    const int bits = m_nBitsPerPixel;
    const BYTE byte = row[static_cast<size_t>(m_nUnpackCount) * bits / 8];
    BYTE index = byte;
    if (bits < 8) {
        // Nibbles high first; single bits in the image's bit order.
        const int shift = bits == 1 && !m_bMsbFirst ? m_nUnpackBit : 8 - bits - m_nUnpackBit;
        index = static_cast<BYTE>((byte >> shift) & ((1 << bits) - 1));
        m_nUnpackBit = (m_nUnpackBit + bits) % 8;
    }
    ++m_nUnpackCount;
    return index;
}
