// A memory DC with a 32-bit bitmap for pixel tests, and small helpers to read what was drawn.
#pragma once

#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace gditest {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A memory DC holding a width x height colour bitmap, filled white.
class Canvas {
public:
    Canvas(int width, int height, bool mono = false) : width_(width), height_(height) {
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ =
            mono ? CreateBitmap(width, height, 1, 1, nullptr) : CreateBitmap(width, height, 1, 32, nullptr);
        old_ = SelectObject(dc_, bitmap_);
        Clear(kWhite);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    int width() const { return width_; }
    int height() const { return height_; }

    void Clear(COLORREF c) {
        HBRUSH b = CreateSolidBrush(c);
        RECT r{0, 0, width_, height_};
        // Device coordinates whatever the mapping: fill through a fresh state.
        int saved = SaveDC(dc_);
        SetMapMode(dc_, MM_TEXT);
        SetViewportOrgEx(dc_, 0, 0, nullptr);
        SetWindowOrgEx(dc_, 0, 0, nullptr);
        SelectClipRgn(dc_, nullptr);
        FillRect(dc_, &r, b);
        RestoreDC(dc_, saved);
        DeleteObject(b);
    }

    // Pixels by device coordinates, read from the bitmap itself (not through the DC's clip or mapping).
    COLORREF At(int x, int y) const {
        std::vector<COLORREF> px = Pixels();
        return px[static_cast<size_t>(y) * width_ + x];
    }

    std::vector<COLORREF> Pixels() const {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = width_;
        bi.bmiHeader.biHeight = -height_;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        std::vector<DWORD> raw(static_cast<size_t>(width_) * height_);
        HGDIOBJ cur = SelectObject(dc_, old_); // GetDIBits wants the bitmap out of the DC
        GetDIBits(dc_, bitmap_, 0, static_cast<UINT>(height_), raw.data(), &bi, DIB_RGB_COLORS);
        SelectObject(dc_, cur);
        std::vector<COLORREF> out(raw.size());
        for (size_t i = 0; i < raw.size(); ++i) {
            DWORD v = raw[i];
            out[i] = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
        }
        return out;
    }

    int Count(COLORREF c) const {
        int n = 0;
        for (COLORREF p : Pixels()) {
            n += p == c;
        }
        return n;
    }

    // The bounding box of pixels different from `background`, right/bottom exclusive; empty if none.
    RECT Ink(COLORREF background = kWhite) const {
        std::vector<COLORREF> px = Pixels();
        RECT r{width_, height_, 0, 0};
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                if (px[static_cast<size_t>(y) * width_ + x] != background) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
            }
        }
        if (r.right == 0) {
            return RECT{0, 0, 0, 0};
        }
        return r;
    }

    // Rows of '#' (not background) and '.' for readable failure messages and exact shapes.
    std::string Picture(RECT area, COLORREF background = kWhite) const {
        std::vector<COLORREF> px = Pixels();
        std::string s;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                s += px[static_cast<size_t>(y) * width_ + x] == background ? '.' : '#';
            }
            s += '\n';
        }
        return s;
    }

private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

inline std::string Join(std::initializer_list<const char*> rows) {
    std::string s;
    for (const char* r : rows) {
        s += r;
        s += '\n';
    }
    return s;
}

} // namespace gditest

inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& os, const RECT& r) {
    return os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}
