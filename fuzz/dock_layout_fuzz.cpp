// A saved bar layout over untrusted bytes (an archive may be damaged or foreign), toolbar records with their
// titles and buttons among them: loading ends in a framework exception or a sound layout, and a sound one
// comes back the same through another archive and the tree.
#include "toolkit/SECDockState.h"

#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"
#include "platform/base/Exceptions.h"
#include "toolkit/SECPersistentTreeNode.h"
#include "toolkit/SECToolBarManager.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

std::vector<BYTE> Stored(SECDockState& state) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        state.Serialize(ar);
    }
    std::vector<BYTE> bytes(static_cast<std::size_t>(file.GetLength()));
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

bool Loaded(SECDockState& state, std::vector<BYTE> bytes) {
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    try {
        CArchive ar(&file, CArchive::load);
        state.Serialize(ar);
        return true;
    } catch (CException* e) {
        e->Delete();
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The toolbar manager reads the toolbars' records; it serves no frame here.
    static SECToolBarManager manager;
    SECDockState state(&manager);
    if (!Loaded(state, std::vector<BYTE>(data, data + size))) {
        if (state.m_arrBarInfo.GetSize() != 0) {
            std::abort(); // a refused layout keeps nothing
        }
        return 0;
    }
    const std::vector<BYTE> first = Stored(state);
    SECDockState again(&manager);
    if (!Loaded(again, first) || Stored(again) != first) {
        std::abort();
    }
    SECPersistentTreeNode root;
    root.Create(u"Root");
    SECDockState fromTree(&manager);
    if (!state.SaveToTree(&root) || !fromTree.LoadFromTree(&root) ||
        fromTree.m_arrBarInfo.GetSize() > state.m_arrBarInfo.GetSize()) {
        std::abort();
    }
    return 0;
}
