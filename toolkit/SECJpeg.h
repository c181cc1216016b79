// A picture read from and written to JPEG files through the JPEG library. Decoding gives a 24-bit picture
// (blue, green, red), or on a palette screen with quantising on an 8-bit picture of 256 colours; encoding
// takes pictures of every depth. A file the library cannot read fails the load, leaving the earlier
// picture; the library's messages are never shown.
#pragma once

#include "toolkit/SECRasterImage.h"

struct jpeg_compress_struct;
struct jpeg_decompress_struct;
struct JpegErrorManager;

class SECJpeg : public SECRasterImage {
    DECLARE_SERIAL(SECJpeg)

public:
    SECJpeg();

    void Serialize(CArchive& ar) override { SECRasterImage::Serialize(ar); }
    BOOL EncodeImage(CFile* pFile) override;
    BOOL DecodeImage(CFile* pFile) override;

    // The codec's last message of the latest encode or decode (empty when it had none).
    const CString& GetCodecMessage() const { return m_strCodecMessage; }

    // Set directly by the caller.
    int m_nPixelBufferSize = 0;  // bytes of the decoded pixel rows
    BOOL m_bQuantize = FALSE;    // on a palette screen: decode to 256 colours
    int m_nQuality = 75;         // 0 to 100
    int m_nSmoothing = 0;        // 0 to 100
    BOOL m_bOptimizeCoding = FALSE;
    BOOL m_bArithmeticCoding = FALSE;

protected:
    // Sets the image up for the picture the decoder's header describes; FALSE for a picture too large to
    // hold or when the memory cannot be had.
    BOOL PrepareDecodeTarget(jpeg_decompress_struct* cinfo);
    void SetCodecDefaults(jpeg_compress_struct* cinfo);

private:
    // The library's work between setjmp and the codec's destruction: nothing here may need destroying,
    // since a fatal error jumps out of it. FALSE when the codec failed.
    BOOL RunDecode(jpeg_decompress_struct* cinfo, JpegErrorManager* errors, CFile* pFile);
    BOOL RunEncode(jpeg_compress_struct* cinfo, JpegErrorManager* errors, CFile* pFile);
    // One row of the (unpadded, top-down) picture as blue, green, red samples.
    void FillSampleRow(const BYTE* row, BYTE* samples);
    BYTE UnpackIndex(const BYTE* row);
    BOOL CanEncode() const;

    CString m_strCodecMessage;
};
