// A chart from untrusted bytes: the first byte chooses the archive reader or the text template reader for
// the rest. Every failure must be the archive or the chart exception; a chart that loads must store and
// write its template again, and be freed without leaks.
#include "chart/SRGraph.h"
#include "chart/SRGraphException.h"
#include "chart/TemplateText.h"

#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"
#include "platform/display/MessageBox.h"

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
    CMemFile out;
    CArchive ar(&out, CArchive::store);
    chart.Serialize(ar);
    ar.Close();
}

void LoadTemplate(const uint8_t* data, size_t size) {
    SRGraph chart;
    chart.LoadTemplateText(data, size);
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
