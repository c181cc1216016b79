// Icons and cursors from resources: a group (RT_GROUP_ICON / RT_GROUP_CURSOR) names its images by id; an
// image is a DIB whose height counts the colour rows and the AND mask below them (cursors put their hot spot
// in front).
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/UserDraw.h"
#include "platform/resources/ResourceReader.h"
#include "platform/resources/ResourceTemplates.h"
#include "platform/resources/Resources.h"

#include <cstring>
#include <vector>

namespace {

void PutDword(std::vector<BYTE>& bytes, size_t at, DWORD value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<BYTE>(value >> (8 * i));
    }
}

HICON Refuse() {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
}

} // namespace

HICON DolivaCreateIconFromImage(const void* data, size_t size, bool icon) {
    const BYTE* bytes = static_cast<const BYTE*>(data);
    ResourceReader reader(data, size);
    DWORD hotX = 0;
    DWORD hotY = 0;
    if (!icon) {
        hotX = reader.Word();
        hotY = reader.Word();
    }
    size_t dibStart = reader.Offset();
    DWORD headerSize = reader.Dword();
    LONG width = static_cast<LONG>(reader.Dword());
    LONG doubledHeight = static_cast<LONG>(reader.Dword());
    reader.Word(); // planes
    WORD bitCount = reader.Word();
    DWORD compression = reader.Dword();
    reader.Skip(12);
    DWORD colorsUsed = reader.Dword();
    // Compressed (PNG) images and odd depths are not read.
    if (!reader.Ok() || headerSize < 40 || compression != 0 || width <= 0 || width > 1024 ||
        doubledHeight <= 0 || doubledHeight > 2048 || doubledHeight % 2 != 0 ||
        (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)) {
        return Refuse();
    }
    LONG height = doubledHeight / 2;
    size_t colors = 0;
    if (bitCount <= 8) {
        colors = colorsUsed == 0 || colorsUsed > (1u << bitCount) ? (1u << bitCount) : colorsUsed;
    }
    size_t xorStride = ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
    size_t andStride = ((static_cast<size_t>(width) + 31) / 32) * 4;
    size_t colorBytes = headerSize + colors * 4 + xorStride * height;
    size_t available = size - dibStart;
    if (headerSize > available || colorBytes > available || andStride * height > available - colorBytes) {
        return Refuse();
    }

    std::vector<BYTE> colour(bytes + dibStart, bytes + dibStart + colorBytes);
    PutDword(colour, 8, static_cast<DWORD>(height));
    PutDword(colour, 20, 0); // image size: computed
    std::vector<BYTE> mask(40 + 8, 0);
    PutDword(mask, 0, 40);
    PutDword(mask, 4, static_cast<DWORD>(width));
    PutDword(mask, 8, static_cast<DWORD>(height));
    mask[12] = 1;
    mask[14] = 1;
    PutDword(mask, 32, 2);
    mask[44] = mask[45] = mask[46] = 0xFF; // white second entry
    const BYTE* andBits = bytes + dibStart + colorBytes;
    mask.insert(mask.end(), andBits, andBits + andStride * height);

    ICONINFO info{};
    info.fIcon = icon;
    info.xHotspot = icon ? static_cast<DWORD>(width / 2) : hotX;
    info.yHotspot = icon ? static_cast<DWORD>(height / 2) : hotY;
    info.hbmColor = GdiCreateBitmapFromPackedDib(colour.data(), colour.size(), false);
    info.hbmMask = GdiCreateBitmapFromPackedDib(mask.data(), mask.size(), false);
    HICON result = info.hbmColor && info.hbmMask ? CreateIconIndirect(&info) : nullptr;
    if (info.hbmColor) {
        DeleteObject(info.hbmColor);
    }
    if (info.hbmMask) {
        DeleteObject(info.hbmMask);
    }
    return result ? result : Refuse();
}

HICON DolivaLoadIconResource(HINSTANCE instance, LPCWSTR name, int cx, int cy, bool cursor) {
    size_t size = 0;
    const BYTE* groupBytes =
        DolivaResourceBytes(instance, name, cursor ? RT_GROUP_CURSOR : RT_GROUP_ICON, &size);
    if (!groupBytes) {
        return nullptr;
    }
    ParsedIconGroup group;
    if (!ParseIconGroup(groupBytes, size, group)) {
        return nullptr;
    }
    WORD id = ChooseGroupImage(group, cx, cy);
    if (id == 0) {
        return Refuse();
    }
    const BYTE* image =
        DolivaResourceBytes(instance, MAKEINTRESOURCEW(id), cursor ? RT_CURSOR : RT_ICON, &size);
    return image ? DolivaCreateIconFromImage(image, size, !cursor) : nullptr;
}
