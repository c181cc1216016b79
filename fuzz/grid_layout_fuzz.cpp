// Loads untrusted bytes as a grid layout: a parameter object with its styles map, cell data, properties,
// range lists, span and delayed-range pools and print device, read with single owners as the layout loader
// reads it. Every failure must be the archive exception (or another framework exception) with nothing left
// behind; what loads is written back out.
#include "grid/CGXGridDocSerializeImp.h"
#include "grid/CGXGridParam.h"
#include "grid/GridLibraryState.h"
#include "grid_features/CGXDelayedRangePool.h"
#include "grid_features/CGXPrintDevice.h"
#include "grid_features/CGXSpanCellPool.h"
#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"
#include "platform/resources/Resources.h"

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool installed = [] {
        DolivaInstallResourceHooks();
        InstallGridDocSerialize();
        InstallSpanCellPool();
        InstallDelayedRangePool();
        InstallPrintDevice();
        return true;
    }();
    (void)installed;
    std::unique_ptr<CObject> loaded;
    try {
        CMemFile file(const_cast<BYTE*>(data), static_cast<UINT>(size));
        CArchive ar(&file, CArchive::load);
        ar.SetSingleOwnerObjects(true);
        ar.SetLoadMemoryBudget(16u << 20);
        loaded.reset(ar.ReadObject(RUNTIME_CLASS(CGXGridParam)));
    } catch (CException* e) {
        e->Delete();
        return 0;
    }
    if (loaded) {
        CMemFile out;
        CArchive ar(&out, CArchive::store);
        try {
            ar << loaded.get();
            ar.Close();
        } catch (CException* e) {
            // A loaded object may hold what the writer refuses (counts beyond its forms).
            e->Delete();
        }
    }
    return 0;
}
