// Loads untrusted bytes into the value collections: the first byte picks the collection, the rest is the
// archive. The same input goes through a memory file of known length and through one that cannot tell its
// length, so loads must stay bounded by the data itself. Every failure must be a framework exception.
// (Object collections only add ReadObject, which the archive's own fuzz target covers.)
#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"
#include "platform/base/Collections.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {
class UnsizedFile : public CMemFile {
public:
    UnsizedFile(const uint8_t* data, size_t size) {
        Write(data, static_cast<UINT>(size));
        SeekToBegin();
    }
    ULONGLONG GetLength() const override { AfxThrowNotSupportedException(); }
};

std::unique_ptr<CObject> MakeCollection(uint8_t selector) {
    switch (selector % 11) {
    case 0:
        return std::make_unique<CByteArray>();
    case 1:
        return std::make_unique<CWordArray>();
    case 2:
        return std::make_unique<CDWordArray>();
    case 3:
        return std::make_unique<CUIntArray>();
    case 4:
        return std::make_unique<CStringArray>();
    case 5:
        return std::make_unique<CStringList>();
    case 6:
        return std::make_unique<CMapStringToString>();
    case 7:
        return std::make_unique<CArray<LONGLONG, LONGLONG>>();
    case 8:
        return std::make_unique<CList<CString>>();
    case 9:
        return std::make_unique<CMap<int, int, CString, LPCTSTR>>();
    default:
        return std::make_unique<CMap<CString, const CString&, double, double>>();
    }
}

void Run(uint8_t selector, CFile& file) {
    std::unique_ptr<CObject> collection = MakeCollection(selector);
    try {
        CArchive ar(&file, CArchive::load);
        collection->Serialize(ar);
    } catch (CException* e) {
        e->Delete();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > (1u << 20)) {
        return 0;
    }
    CMemFile attached(const_cast<BYTE*>(data + 1), static_cast<UINT>(size - 1));
    Run(data[0], attached);
    UnsizedFile unsized(data + 1, size - 1);
    Run(data[0], unsized);
    return 0;
}
