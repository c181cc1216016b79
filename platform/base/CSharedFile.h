// A memory file kept in a global memory block, so that its data can be handed on as an HGLOBAL (the
// clipboard's currency).
#pragma once

#include "platform/base/CMemFile.h"
#include "platform/base/GlobalMemory.h"

class CSharedFile : public CMemFile {
    DECLARE_DYNAMIC(CSharedFile)
public:
    explicit CSharedFile(UINT allocFlags = GMEM_DDESHARE | GMEM_MOVEABLE, UINT growBytes = 4096);
    ~CSharedFile() override;

    // Hands back the block, trimmed to the file's length; the caller owns it and the file is left empty.
    HGLOBAL Detach();
    // Takes over a block (its whole size is the file's data). Without allowGrow, writing past its end
    // raises diskFull.
    void SetHandle(HGLOBAL memory, BOOL allowGrow = TRUE);

protected:
    BYTE* Alloc(SIZE_T bytes) override;
    BYTE* Realloc(BYTE* buffer, SIZE_T bytes) override;
    void Free(BYTE* buffer) override;

    UINT m_nAllocFlags;
    HGLOBAL m_hGlobalMemory;
    UINT m_nSharedGrowBytes; // the growth step to restore when a handle is set
};
