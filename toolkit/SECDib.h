// A picture read from and written to BMP files. Every header kind, top-down rows, run-length encoded and
// bit-field pixels are read (and held in the plain DIB form); what does not fit its headers is refused.
#pragma once

#include "toolkit/SECRasterImage.h"

class SECDib : public SECRasterImage {
    DECLARE_SERIAL(SECDib)

public:
    SECDib() = default;

    void Serialize(CArchive& ar) override { SECRasterImage::Serialize(ar); }
    BOOL EncodeImage(CFile* pFile) override;
    BOOL DecodeImage(CFile* pFile) override;
};
