// How the picture fill reads picture files. It tries the platform's bitmap file loader first and then the
// decoders in order: by default the toolkit's raster images, the DIB class and then the JPEG class.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Exceptions.h"
#include "platform/framework/CGdiObject.h"

#include <functional>
#include <type_traits>
#include <vector>

class CDC;

// A bitmap for the context from the file, or null when the decoder cannot read it.
using SRGPictureDecoder = std::function<HBITMAP(LPCTSTR path, CDC* dc)>;

void SRGSetPictureDecoders(std::vector<SRGPictureDecoder> decoders);
// The toolkit's DIB and JPEG images, the decoders the fill starts with.
std::vector<SRGPictureDecoder> SRGDefaultPictureDecoders();
// The file as a bitmap, through the bitmap file loader and then the decoders; null when none reads it.
HBITMAP SRGReadPictureFile(const CString& path, CDC* dc);

// A decoder over an image class that loads a file (`LoadImageFile(path)`, true on success) and makes a bitmap
// for a context (`CreateBitmap(dc)`, a CBitmap* the caller owns or an HBITMAP). A framework exception from
// either counts as a file it cannot read.
template <class Image>
SRGPictureDecoder SRGMakeRasterDecoder() {
    return [](LPCTSTR path, CDC* dc) -> HBITMAP {
        try {
            Image image;
            if (!image.LoadImageFile(path)) {
                return nullptr;
            }
            auto made = image.CreateBitmap(dc);
            if constexpr (std::is_convertible_v<decltype(made), CBitmap*>) {
                if (!made) {
                    return nullptr;
                }
                auto handle = static_cast<HBITMAP>(made->Detach());
                delete made;
                return handle;
            } else {
                return static_cast<HBITMAP>(made);
            }
        } catch (CException* e) {
            e->Delete();
            return nullptr;
        }
    };
}
