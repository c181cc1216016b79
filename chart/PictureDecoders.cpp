#include "chart/PictureDecoders.h"

#include "platform/resources/Resources.h"
#include "toolkit/SECDib.h"
#include "toolkit/SECJpeg.h"

#include <utility>

namespace {
std::vector<SRGPictureDecoder>& Decoders() {
    static std::vector<SRGPictureDecoder> decoders = SRGDefaultPictureDecoders();
    return decoders;
}
} // namespace

std::vector<SRGPictureDecoder> SRGDefaultPictureDecoders() {
    return {SRGMakeRasterDecoder<SECDib>(), SRGMakeRasterDecoder<SECJpeg>()};
}

void SRGSetPictureDecoders(std::vector<SRGPictureDecoder> decoders) {
    Decoders() = std::move(decoders);
}

HBITMAP SRGReadPictureFile(const CString& path, CDC* dc) {
    if (path.IsEmpty()) {
        return nullptr;
    }
    if (HANDLE bitmap = LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)) {
        return static_cast<HBITMAP>(bitmap);
    }
    for (const SRGPictureDecoder& decoder : Decoders()) {
        if (HBITMAP bitmap = decoder(path, dc)) {
            return bitmap;
        }
    }
    return nullptr;
}
