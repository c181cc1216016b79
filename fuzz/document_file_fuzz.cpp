// The document file through CPex32Doc::Serialize, as the view's start reads it: any bytes, read through an
// archive of the document's buffer size. Loading raises nothing and reads out of nothing; an object it
// took writes back and reads again to as many bytes (a map's entries that share a hash bucket come back in
// the other order, as on the original framework).
//
// What the archive creates belongs to its readers: the framework's containers do not own what they hold,
// and a read that fails leaves what it made, as the original's archives do. So the target counts every
// object the serialisable classes create and deletes them all after each input (none of these classes
// deletes another). A serialisable class added to the program needs its line in LLVMFuzzerInitialize.
#include "app/CPex32Doc.h"
#include "dialogs/CSatelliteViewChartDialog.h"
#include "platform/base/CArchive.h"
#include "platform/base/CArrays.h"
#include "platform/base/CLists.h"
#include "platform/base/CMaps.h"
#include "platform/base/CMemFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

std::vector<CObject*>& Created() {
    static std::vector<CObject*> created;
    return created;
}

template <class T>
CObject* CreateCounted() {
    CObject* object = new T;
    Created().push_back(object);
    return object;
}

#define COUNT_CREATIONS_OF(T) (RUNTIME_CLASS(T)->m_pfnCreateObject = &CreateCounted<T>)

// A document that belongs to no template: only its serialisation is used.
class LoneDoc : public CPex32Doc {
public:
    LoneDoc() { m_bAutoDelete = FALSE; }
};

void Load(LoneDoc& doc, const BYTE* data, size_t size) {
    CMemFile file(const_cast<BYTE*>(data), static_cast<UINT>(size));
    CArchive ar(&file, CArchive::load, 4096);
    doc.Serialize(ar);
}

std::vector<BYTE> Store(LoneDoc& doc) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, 4096);
        doc.Serialize(ar);
        ar.Close();
    }
    std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

bool RoundTrips(const uint8_t* data, size_t size) {
    LoneDoc doc;
    Load(doc, data, size);
    if (!doc.m_chartDialog) {
        return true;
    }
    const std::vector<BYTE> written = Store(doc);
    LoneDoc again;
    Load(again, written.data(), written.size());
    return again.m_chartDialog && Store(again).size() == written.size();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    COUNT_CREATIONS_OF(CObArray);
    COUNT_CREATIONS_OF(CByteArray);
    COUNT_CREATIONS_OF(CWordArray);
    COUNT_CREATIONS_OF(CDWordArray);
    COUNT_CREATIONS_OF(CUIntArray);
    COUNT_CREATIONS_OF(CStringArray);
    COUNT_CREATIONS_OF(CObList);
    COUNT_CREATIONS_OF(CStringList);
    COUNT_CREATIONS_OF(CMapWordToOb);
    COUNT_CREATIONS_OF(CMapStringToOb);
    COUNT_CREATIONS_OF(CMapStringToString);
    COUNT_CREATIONS_OF(CSatelliteViewChartDialog);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) {
        return 0;
    }
    const bool ok = RoundTrips(data, size);
    for (CObject* object : Created()) {
        delete object;
    }
    Created().clear();
    if (!ok) {
        std::abort();
    }
    return 0;
}
