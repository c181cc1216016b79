// Bitmap resources: RT_BITMAP holds a packed DIB (info header, colour table, bits) without the file header.
#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/SystemColors.h"
#include "platform/resources/ResourceReader.h"
#include "platform/resources/Resources.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr DWORD kInfoHeaderSize = 40;

struct SysColorMap {
    COLORREF from;
    int to;
};
constexpr SysColorMap kSysColorMap[] = {
    {RGB(0x00, 0x00, 0x00), COLOR_BTNTEXT},
    {RGB(0x80, 0x80, 0x80), COLOR_BTNSHADOW},
    {RGB(0xC0, 0xC0, 0xC0), COLOR_BTNFACE},
    {RGB(0xFF, 0xFF, 0xFF), COLOR_BTNHIGHLIGHT},
};

} // namespace

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
    size_t size = 0;
    const BYTE* bytes = DolivaResourceBytes(instance, name, RT_BITMAP, &size);
    return bytes ? GdiCreateBitmapFromPackedDib(bytes, size, false) : nullptr;
}

namespace {
// The file whole; false when it cannot be opened.
bool ReadWholeFile(LPCWSTR path, std::vector<char>& bytes) {
    std::ifstream file(Utf16ToUtf8(path), std::ios::binary);
    if (!file) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}
} // namespace

HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (flags & LR_LOADFROMFILE) {
        if (type != IMAGE_BITMAP || IS_INTRESOURCE(name)) {
            SetLastError(ERROR_NOT_SUPPORTED);
            return nullptr;
        }
        std::vector<char> bytes;
        if (!ReadWholeFile(name, bytes)) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return nullptr;
        }
        HBITMAP bitmap = GdiCreateBitmapFromBmpFile(bytes.data(), bytes.size(), (flags & LR_CREATEDIBSECTION) != 0);
        if (!bitmap) {
            SetLastError(ERROR_INVALID_DATA);
        }
        return bitmap;
    }
    switch (type) {
    case IMAGE_BITMAP:
        return LoadBitmapW(instance, name);
    case IMAGE_ICON:
    case IMAGE_CURSOR:
        return DolivaLoadIconResource(instance, name, cx, cy, type == IMAGE_CURSOR);
    default:
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
}

HBITMAP LoadSysColorBitmap(HINSTANCE instance, LPCWSTR name) {
    size_t size = 0;
    const BYTE* bytes = DolivaResourceBytes(instance, name, RT_BITMAP, &size);
    if (!bytes) {
        return nullptr;
    }
    ResourceReader reader(bytes, size);
    DWORD headerSize = reader.Dword();
    reader.Skip(10);
    WORD bitCount = reader.Word();
    reader.Skip(16);
    DWORD colorsUsed = reader.Dword();
    // Only palette images can be remapped; the table is never taken as larger than the depth allows.
    if (!reader.Ok() || headerSize < kInfoHeaderSize || (bitCount != 1 && bitCount != 4 && bitCount != 8)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    DWORD maxColors = DWORD{1} << bitCount;
    DWORD colors = colorsUsed == 0 || colorsUsed > maxColors ? maxColors : colorsUsed;
    if (headerSize > size || size_t{colors} * 4 > size - headerSize) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    std::vector<BYTE> copy(bytes, bytes + size);
    for (DWORD i = 0; i < colors; ++i) {
        BYTE* quad = copy.data() + headerSize + i * 4;
        COLORREF colour = RGB(quad[2], quad[1], quad[0]);
        for (const SysColorMap& map : kSysColorMap) {
            if (colour == map.from) {
                COLORREF system = GetSysColor(map.to);
                quad[0] = GetBValue(system);
                quad[1] = GetGValue(system);
                quad[2] = GetRValue(system);
                break;
            }
        }
    }
    return GdiCreateBitmapFromPackedDib(copy.data(), copy.size(), false);
}
