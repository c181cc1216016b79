// Reads untrusted text (UTF-16, two bytes a unit) as the grid's profile text forms of fonts, brushes and
// pens, and as a choice list. A form read and written again must read back to the same value; nothing may
// read beyond the text.
#include "grid/CGXBrushValue.h"
#include "grid/CGXFont.h"
#include "grid/CGXPenValue.h"
#include "grid/GridChoiceList.h"
#include "platform/base/CString.h"
#include "platform/resources/Resources.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool installed = [] {
        DolivaInstallResourceHooks();
        return true;
    }();
    (void)installed;
    std::vector<char16_t> units(size / 2 + 1, 0);
    std::memcpy(units.data(), data, size / 2 * 2);
    const LPCTSTR text = units.data();

    CGXFont font;
    font.SetDescription(text);
    CGXFont fontAgain;
    fontAgain.SetDescription(font.GetDescription());
    if (!(fontAgain.GetDescription() == font.GetDescription())) {
        std::abort();
    }

    CGXBrushValue brush;
    brush.SetDescription(text);
    CGXBrushValue brushAgain;
    brushAgain.SetDescription(brush.GetDescription());
    if (!(brushAgain.GetDescription() == brush.GetDescription())) {
        std::abort();
    }

    CGXPenValue pen;
    pen.SetDescription(text);
    (void)pen.GetDescription();

    CString line;
    FindChoiceByColumn(text, 1, text, TRUE, line, FALSE);
    CString choices(text);
    SortChoiceLines(choices, 1, TRUE);
    return 0;
}
