// A chart from untrusted bytes: the first byte chooses the archive reader or the text template reader for
// the rest. Every failure must be the archive or the chart exception; a chart that loads must store and
// write its template again, and be freed without leaks. Every chart that loads is also drawn: its legends,
// text panels, watchers and displays lay out whatever the bytes gave them, a display's scope of millions of
// groups and items included.
#include "chart/SRGraph.h"
#include "chart/SRGraphException.h"
#include "chart/TemplateText.h"

#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"
#include "platform/display/MessageBox.h"
#include "platform/framework/CDC.h"
#include "platform/gdi/Gdi.h"

#include <cstddef>
#include <cstdint>

namespace {
// The reader's syntax reports are message boxes: answered at once and silently.
const bool quiet = [] {
    DisplaySetMessageBoxResponder([](HWND, const std::u16string&, const std::u16string&, UINT type) {
        return DisplayDefaultMessageBoxAnswer(type);
    });
    return true;
}();

// Draws the chart on a small memory surface; what the chart reports of its own failures is answered above.
void Draw(SRGraph& chart) {
    CDC dc;
    dc.Attach(::CreateCompatibleDC(nullptr));
    HBITMAP bitmap = ::CreateBitmap(64, 48, 1, 32, nullptr);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, bitmap);
    chart.SetOffscreen(FALSE);
    try {
        chart.DrawGraph(&dc, nullptr);
    } catch (SRGraphException* e) {
        e->Delete();
    }
    ::SelectObject(dc.m_hDC, old);
    ::DeleteObject(bitmap);
}

void LoadArchive(const uint8_t* data, size_t size) {
    SRGraph chart;
    try {
        CMemFile file(const_cast<BYTE*>(data), static_cast<UINT>(size));
        CArchive ar(&file, CArchive::load);
        chart.Serialize(ar);
    } catch (CArchiveException* e) {
        e->Delete();
        return;
    } catch (SRGraphException* e) {
        e->Delete();
        return;
    }
    Draw(chart);
    CMemFile out;
    CArchive ar(&out, CArchive::store);
    chart.Serialize(ar);
    ar.Close();
}

void LoadTemplate(const uint8_t* data, size_t size) {
    SRGraph chart;
    chart.LoadTemplateText(data, size);
    Draw(chart);
    SRGStringTemplateWriter writer;
    chart.WriteTemplate(writer);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    if (data[0] & 1) {
        LoadTemplate(data + 1, size - 1);
    } else {
        LoadArchive(data + 1, size - 1);
    }
    return 0;
}
