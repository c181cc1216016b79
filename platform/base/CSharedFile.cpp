#include "platform/base/CSharedFile.h"

IMPLEMENT_DYNAMIC(CSharedFile, CMemFile)

CSharedFile::CSharedFile(UINT allocFlags, UINT growBytes)
    : CMemFile(growBytes), m_nAllocFlags(allocFlags), m_hGlobalMemory(nullptr),
      m_nSharedGrowBytes(growBytes) {}

CSharedFile::~CSharedFile() {
    // CMemFile's destructor can no longer reach this class's Free.
    Close();
}

BYTE* CSharedFile::Alloc(SIZE_T bytes) {
    m_hGlobalMemory = GlobalAlloc(m_nAllocFlags, bytes);
    if (!m_hGlobalMemory) {
        return nullptr;
    }
    return static_cast<BYTE*>(GlobalLock(m_hGlobalMemory));
}

BYTE* CSharedFile::Realloc(BYTE* buffer, SIZE_T bytes) {
    if (!m_hGlobalMemory) {
        return nullptr;
    }
    (void)buffer;
    GlobalUnlock(m_hGlobalMemory);
    HGLOBAL grown = GlobalReAlloc(m_hGlobalMemory, bytes, GMEM_MOVEABLE);
    if (!grown) {
        GlobalLock(m_hGlobalMemory); // keep the old block usable
        return nullptr;
    }
    m_hGlobalMemory = grown;
    return static_cast<BYTE*>(GlobalLock(m_hGlobalMemory));
}

void CSharedFile::Free(BYTE*) {
    if (m_hGlobalMemory) {
        GlobalUnlock(m_hGlobalMemory);
        GlobalFree(m_hGlobalMemory);
        m_hGlobalMemory = nullptr;
    }
}

HGLOBAL CSharedFile::Detach() {
    HGLOBAL memory = m_hGlobalMemory;
    if (memory) {
        GlobalUnlock(memory);
        if (GlobalSize(memory) != m_nFileSize && m_nFileSize > 0) {
            if (HGLOBAL trimmed = GlobalReAlloc(memory, m_nFileSize, GMEM_MOVEABLE)) {
                memory = trimmed;
            }
        }
    }
    m_hGlobalMemory = nullptr;
    m_lpBuffer = nullptr;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_nPosition = 0;
    m_bAutoDelete = TRUE;
    m_nGrowBytes = m_nSharedGrowBytes;
    return memory;
}

void CSharedFile::SetHandle(HGLOBAL memory, BOOL allowGrow) {
    Close();
    m_hGlobalMemory = memory;
    m_lpBuffer = memory ? static_cast<BYTE*>(GlobalLock(memory)) : nullptr;
    m_nBufferSize = m_lpBuffer ? GlobalSize(memory) : 0;
    m_nFileSize = m_nBufferSize;
    m_nPosition = 0;
    m_bAutoDelete = TRUE;
    m_nGrowBytes = allowGrow ? m_nSharedGrowBytes : 0;
}
