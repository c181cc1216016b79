#include "platform/base/GlobalMemory.h"

#include "platform/base/LastError.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {
struct Block {
    bool moveable = false;
    bool discardable = false;
    bool discarded = false;
    UINT locks = 0;
    SIZE_T size = 0;
    SIZE_T capacity = 0;
    BYTE* data = nullptr;
};

struct Registry {
    std::mutex mutex;
    std::unordered_map<HGLOBAL, std::unique_ptr<Block>> byHandle;
    std::unordered_map<const void*, HGLOBAL> byData;
};

Registry& TheRegistry() {
    static Registry* registry = new Registry; // outlives static destructors that may still free blocks
    return *registry;
}

Block* Find(Registry& r, HGLOBAL mem) {
    auto it = r.byHandle.find(mem);
    if (it == r.byHandle.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return it->second.get();
}

// Never asks malloc for 0 bytes, so every block has a distinct address.
BYTE* Allocate(SIZE_T bytes, bool zero) {
    SIZE_T n = bytes ? bytes : 1;
    return static_cast<BYTE*>(zero ? std::calloc(1, n) : std::malloc(n));
}
} // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    auto block = std::make_unique<Block>();
    block->moveable = (flags & GMEM_MOVEABLE) != 0;
    block->discardable = (flags & GMEM_DISCARDABLE) != 0;
    if (block->moveable && bytes == 0) {
        block->discarded = true;
    } else {
        block->data = Allocate(bytes, (flags & GMEM_ZEROINIT) != 0);
        if (!block->data) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        block->size = bytes;
        block->capacity = bytes;
    }
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    HGLOBAL handle = block->moveable ? static_cast<HGLOBAL>(block.get()) : static_cast<HGLOBAL>(block->data);
    if (block->data) {
        r.byData[block->data] = handle;
    }
    r.byHandle[handle] = std::move(block);
    return handle;
}

HGLOBAL GlobalReAlloc(HGLOBAL mem, SIZE_T bytes, UINT flags) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    Block* block = Find(r, mem);
    if (!block) {
        return nullptr;
    }
    if (flags & GMEM_MODIFY) {
        block->discardable = (flags & GMEM_DISCARDABLE) != 0;
        return mem;
    }
    const bool zero = (flags & GMEM_ZEROINIT) != 0;
    if (block->moveable) {
        if (bytes == 0) {
            if (block->data) {
                r.byData.erase(block->data);
                std::free(block->data);
            }
            block->data = nullptr;
            block->size = block->capacity = 0;
            block->discarded = true;
            return mem;
        }
        BYTE* data =
            static_cast<BYTE*>(block->data ? std::realloc(block->data, bytes) : Allocate(bytes, false));
        if (!data) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        if (zero && bytes > block->size) {
            std::memset(data + block->size, 0, bytes - block->size);
        }
        if (block->data) {
            r.byData.erase(block->data);
        }
        r.byData[data] = mem;
        block->data = data;
        block->size = block->capacity = bytes;
        block->discarded = false;
        return mem;
    }
    // Fixed: the address is the handle, so the block may only move when the caller allows it.
    if (bytes <= block->capacity) {
        if (zero && bytes > block->size) {
            std::memset(block->data + block->size, 0, bytes - block->size);
        }
        block->size = bytes;
        return mem;
    }
    if (!(flags & GMEM_MOVEABLE)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    BYTE* data = Allocate(bytes, zero);
    if (!data) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    std::memcpy(data, block->data, block->size);
    std::free(block->data);
    auto owned = std::move(r.byHandle[mem]);
    r.byHandle.erase(mem);
    r.byData.erase(mem);
    owned->data = data;
    owned->size = owned->capacity = bytes;
    r.byData[data] = data;
    r.byHandle[data] = std::move(owned);
    return data;
}

LPVOID GlobalLock(HGLOBAL mem) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    Block* block = Find(r, mem);
    if (!block) {
        return nullptr;
    }
    if (!block->moveable) {
        return block->data;
    }
    if (block->discarded) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    ++block->locks;
    return block->data;
}

BOOL GlobalUnlock(HGLOBAL mem) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    Block* block = Find(r, mem);
    if (!block) {
        return FALSE;
    }
    if (block->locks == 0) {
        SetLastError(block->moveable ? ERROR_NOT_LOCKED : NO_ERROR);
        return FALSE;
    }
    if (--block->locks == 0) {
        SetLastError(NO_ERROR);
        return FALSE;
    }
    return TRUE;
}

SIZE_T GlobalSize(HGLOBAL mem) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    Block* block = Find(r, mem);
    return block ? block->size : 0;
}

HGLOBAL GlobalFree(HGLOBAL mem) {
    if (!mem) {
        return nullptr;
    }
    Registry& r = TheRegistry();
    std::unique_ptr<Block> owned;
    {
        std::lock_guard lock(r.mutex);
        auto it = r.byHandle.find(mem);
        if (it == r.byHandle.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return mem;
        }
        owned = std::move(it->second);
        r.byHandle.erase(it);
        if (owned->data) {
            r.byData.erase(owned->data);
        }
    }
    std::free(owned->data);
    return nullptr;
}

UINT GlobalFlags(HGLOBAL mem) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    Block* block = Find(r, mem);
    if (!block) {
        return GMEM_INVALID_HANDLE;
    }
    UINT flags = block->locks > GMEM_LOCKCOUNT ? GMEM_LOCKCOUNT : block->locks;
    if (block->discardable) {
        flags |= GMEM_DISCARDABLE;
    }
    if (block->discarded) {
        flags |= GMEM_DISCARDED;
    }
    return flags;
}

HGLOBAL GlobalHandle(LPCVOID mem) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    auto it = r.byData.find(mem);
    if (it == r.byData.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return it->second;
}
