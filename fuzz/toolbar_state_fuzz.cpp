// A toolbar's saved form over untrusted bytes (settings and archives may be damaged): the profile value's
// records must be read within bounds and what is accepted must write back to the same bytes; the archive
// form must end in a framework exception or a whole object.
#include "toolkit/SECCustomToolBarInfoEx.h"

#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"
#include "platform/base/Exceptions.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (auto buttons = SECCustomToolBarInfoEx::ParseButtons(data, size)) {
        SECCustomToolBarInfoEx info;
        info.m_btnInfo = std::move(*buttons);
        std::vector<BYTE> back = info.ButtonsValue();
        if (back.size() != size || (size && std::memcmp(back.data(), data, size) != 0)) {
            std::abort();
        }
    }
    CMemFile file(const_cast<BYTE*>(data), static_cast<UINT>(size));
    SECCustomToolBarInfoEx info;
    try {
        CArchive ar(&file, CArchive::load);
        info.Serialize(ar);
    } catch (CException* e) {
        e->Delete();
    }
    return 0;
}
