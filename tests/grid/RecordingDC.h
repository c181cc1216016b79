// A memory DC with a fixed-pitch font that records the text it writes and the colours it fills with, for
// checking what cell drawing writes where.
#pragma once

#include "platform/framework/CDC.h"
#include "platform/gdi/Gdi.h"

#include <string>
#include <vector>

namespace gridtest {

struct TextCall {
    int x;
    int y;
    std::u16string text;
};

class RecordingDC : public CDC {
public:
    RecordingDC() {
        Attach(::CreateCompatibleDC(nullptr));
        m_bitmap = ::CreateBitmap(400, 200, 1, 32, nullptr);
        m_oldBitmap = ::SelectObject(m_hDC, m_bitmap);
        m_font = ::CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, u"Courier New");
        m_oldFont = ::SelectObject(m_hDC, m_font);
        GetTextMetricsW(&metrics);
        charWidth = GetTextExtent(u"a", 1).cx;
        lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    }
    ~RecordingDC() override {
        ::SelectObject(m_hDC, m_oldFont);
        ::SelectObject(m_hDC, m_oldBitmap);
        ::DeleteObject(m_font);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(Detach());
    }

    BOOL TextOutW(int x, int y, LPCTSTR text, int count) override {
        texts.push_back({x, y, std::u16string(text, static_cast<size_t>(count))});
        return CDC::TextOutW(x, y, text, count);
    }
    BOOL ExtTextOutW(int x, int y, UINT options, LPCRECT rect, LPCTSTR text, UINT count, LPINT dx) override {
        if ((options & ETO_OPAQUE) && rect && count == 0) {
            fills.push_back({*rect, GetBkColor()});
        }
        return CDC::ExtTextOutW(x, y, options, rect, text, count, dx);
    }

    // The pixel at a point of the 400 x 200 bitmap.
    COLORREF Pixel(int x, int y) { return ::GetPixel(m_hDC, x, y); }

    struct Fill {
        RECT rect;
        COLORREF color;
    };
    std::vector<TextCall> texts;
    std::vector<Fill> fills;
    TEXTMETRICW metrics{};
    int charWidth = 0;
    int lineHeight = 0;

private:
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    HFONT m_font = nullptr;
    HGDIOBJ m_oldFont = nullptr;
};

} // namespace gridtest
