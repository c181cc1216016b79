// A picture the tests look at pixel by pixel: a window rendered to PNG and read back, or a screenshot.
#pragma once

#include "platform/base/Win32Types.h"
#include "platform/display/DisplayBackend.h"
#include "platform/gdi/GdiTypes.h"

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

namespace testsupport {

// An RGB24 cairo image surface, owned; an empty or unreadable picture is not Valid.
class Picture {
public:
    Picture() = default;
    explicit Picture(cairo_surface_t* surface) : m_surface(surface) {}
    ~Picture() {
        if (m_surface) {
            cairo_surface_destroy(m_surface);
        }
    }
    Picture(Picture&& other) noexcept : m_surface(std::exchange(other.m_surface, nullptr)) {}
    Picture& operator=(Picture&& other) noexcept {
        std::swap(m_surface, other.m_surface);
        return *this;
    }

    static Picture FromPng(const std::string& path) {
        return Picture(cairo_image_surface_create_from_png(path.c_str()));
    }

    bool Valid() const { return m_surface && cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS; }
    int Width() const { return Valid() ? cairo_image_surface_get_width(m_surface) : 0; }
    int Height() const { return Valid() ? cairo_image_surface_get_height(m_surface) : 0; }

    // CLR_INVALID outside the picture.
    COLORREF At(int x, int y) const {
        if (x < 0 || y < 0 || x >= Width() || y >= Height()) {
            return CLR_INVALID;
        }
        std::uint32_t p = 0;
        std::memcpy(&p,
                    cairo_image_surface_get_data(m_surface) + y * cairo_image_surface_get_stride(m_surface) +
                        x * 4,
                    4);
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // How many pixels of the colour lie in the part of the area inside the picture.
    int Count(const RECT& area, COLORREF colour) const {
        int n = 0;
        for (int y = std::max(0, static_cast<int>(area.top));
             y < std::min(Height(), static_cast<int>(area.bottom)); ++y) {
            for (int x = std::max(0, static_cast<int>(area.left));
                 x < std::min(Width(), static_cast<int>(area.right)); ++x) {
                n += At(x, y) == colour;
            }
        }
        return n;
    }
    int Count(COLORREF colour) const { return Count(RECT{0, 0, Width(), Height()}, colour); }
    bool SamePixels(const Picture& other) const {
        if (!Valid() || !other.Valid() || Width() != other.Width() || Height() != other.Height()) {
            return false;
        }
        for (int y = 0; y < Height(); ++y) {
            for (int x = 0; x < Width(); ++x) {
                if (At(x, y) != other.At(x, y)) {
                    return false;
                }
            }
        }
        return true;
    }
    // The area as a picture of its own; not Valid when the area is empty or not wholly inside.
    Picture Crop(const RECT& area) const {
        if (area.left < 0 || area.top < 0 || area.right > Width() || area.bottom > Height() ||
            area.right <= area.left || area.bottom <= area.top) {
            return Picture();
        }
        cairo_surface_t* part =
            cairo_image_surface_create(CAIRO_FORMAT_RGB24, area.right - area.left, area.bottom - area.top);
        cairo_t* cr = cairo_create(part);
        cairo_set_source_surface(cr, m_surface, -area.left, -area.top);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
        cairo_destroy(cr);
        return Picture(part);
    }
    bool WritePng(const std::string& path) const {
        return Valid() && cairo_surface_write_to_png(m_surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    }

private:
    cairo_surface_t* m_surface = nullptr;
};

// The window as the display would show it, rendered to the PNG file and read back; not Valid when the
// render failed.
inline Picture RenderWindow(HWND hwnd, const std::string& path) {
    return DisplayRenderWindowToPng(hwnd, path.c_str()) ? Picture::FromPng(path) : Picture();
}

} // namespace testsupport
