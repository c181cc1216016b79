// The chart tests' world: a memory context over a 32-bit bitmap to draw into and read pixels from, and the
// message boxes the chart shows, recorded instead of shown.
#pragma once

#include "chart/SRGraph.h"
#include "chart/SRGraphException.h"

#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"
#include "platform/display/MessageBox.h"
#include "platform/framework/CDC.h"
#include "platform/gdi/Gdi.h"
#include "tests/support/RecordedBoxes.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace charttest {

class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_height(height) {
        m_dc.Attach(::CreateCompatibleDC(nullptr));
        m_bitmap = ::CreateBitmap(width, height, 1, 32, nullptr);
        m_old = ::SelectObject(m_dc.m_hDC, m_bitmap);
        Clear(RGB(255, 255, 255));
    }
    ~Canvas() {
        ::SelectObject(m_dc.m_hDC, m_old);
        ::DeleteObject(m_bitmap);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void Clear(COLORREF colour) {
        CRect all(0, 0, m_width, m_height);
        m_dc.FillSolidRect(&all, colour);
    }
    CDC* DC() { return &m_dc; }
    COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }
    int Count(const RECT& area, COLORREF colour) {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                n += At(x, y) == colour;
            }
        }
        return n;
    }
    // A PPM picture of the canvas, for looking at a failing render.
    void Save(const char* path) {
        FILE* f = std::fopen(path, "wb");
        if (!f) {
            return;
        }
        std::fprintf(f, "P6 %d %d 255\n", m_width, m_height);
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                const COLORREF c = At(x, y);
                const unsigned char rgb[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
                std::fwrite(rgb, 1, 3, f);
            }
        }
        std::fclose(f);
    }
    int Count(COLORREF colour) { return Count(RECT{0, 0, m_width, m_height}, colour); }
    // Pixels that are not the colour.
    int CountOther(const RECT& area, COLORREF colour) {
        return (area.right - area.left) * (area.bottom - area.top) - Count(area, colour);
    }

private:
    int m_width;
    int m_height;
    CDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

using RecordedBoxes = testsupport::RecordedBoxes;

// Stores the chart in an archive and loads what it wrote into the other.
inline void CopyThroughArchive(SRGraph& from, SRGraph& to) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        from.Serialize(ar);
        ar.Close();
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    to.Serialize(ar);
}

// The code of the chart exception the action raises, -1 when it raises none.
inline int CodeOf(const std::function<void()>& action) {
    try {
        action();
    } catch (SRGraphException* e) {
        const int code = e->m_nCode;
        e->Delete();
        return code;
    }
    return -1;
}

} // namespace charttest
