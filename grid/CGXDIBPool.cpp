#include "grid/CGXDIBPool.h"

#include "grid/CGXDIB.h"
#include "platform/base/GlobalMemory.h"
#include "platform/base/WideRuntime.h"
#include "platform/framework/FrameworkResources.h"
#include "platform/resources/Resources.h"

#include <cstring>
#include <memory>

IMPLEMENT_DYNAMIC(CGXDIBPool, CObject)

namespace {

constexpr char16_t kPrefix[] = u"#BMP(";
constexpr int kPrefixLength = 5;

// The bitmap resource copied into a movable, zero-initialised block; null when the module has none or it
// is not a whole bitmap.
HGLOBAL LoadDibResource(HMODULE module, LPCTSTR resource) {
    size_t size = 0;
    const BYTE* bytes = DolivaResourceBytes(module, resource, RT_BITMAP, &size);
    if (!bytes || !CGXDIB::IsWholeDib(bytes, size)) {
        return nullptr;
    }
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    void* data = block ? ::GlobalLock(block) : nullptr;
    if (!data) {
        ::GlobalFree(block);
        return nullptr;
    }
    std::memcpy(data, bytes, size);
    ::GlobalUnlock(block);
    return block;
}

} // namespace

CGXDIBPool::CGXDIBPool() {
    FreeAll();
}

CGXDIBPool::~CGXDIBPool() {
    FreeAll();
}

HGLOBAL CGXDIBPool::LookupDIB(LPCTSTR value) {
    CString key;
    LPCTSTR resource = ParseValue(value, key);
    if (!resource) {
        return nullptr;
    }
    void* cached = nullptr;
    if (m_map.Lookup(key, cached)) {
        return static_cast<HGLOBAL>(cached);
    }
    HGLOBAL block = LoadDIB(resource);
    m_map.SetAt(key, block);
    return block;
}

LPCTSTR CGXDIBPool::ParseValue(LPCTSTR value, CString& key) {
    if (!value || _wcsnicmp(value, kPrefix, kPrefixLength) != 0) {
        return nullptr;
    }
    const CString rest(value + kPrefixLength);
    const int open = rest.Find(u'"');
    if (open < 0) {
        const int id = _wtoi(rest);
        if (id == 0) {
            return nullptr;
        }
        key.Format(u"#%u", static_cast<unsigned>(id));
        return MAKEINTRESOURCEW(static_cast<WORD>(id & 0xFFFF));
    }
    const int close = rest.Find(u'"', open + 1);
    if (close < 0) {
        return nullptr;
    }
    key = rest.Mid(open + 1, close - open - 1);
    return key;
}

HGLOBAL CGXDIBPool::LoadDIB(LPCTSTR resource) {
    if (HMODULE module = DolivaFindResourceModule(resource, RT_BITMAP)) {
        if (HGLOBAL block = LoadDibResource(module, resource)) {
            return block;
        }
    }
    return LoadDibResource(AfxGetInstanceHandle(), resource);
}

void CGXDIBPool::FormatNameValue(LPCTSTR name, CString& value) {
    value = CString(kPrefix) + u"\"" + name + u"\")";
}

void CGXDIBPool::FormatIdValue(UINT id, CString& value) {
    value.Format(u"%s%u)", kPrefix, id);
}

void CGXDIBPool::FreeAll() {
    for (POSITION pos = m_map.GetStartPosition(); pos;) {
        CString key;
        void* block = nullptr;
        m_map.GetNextAssoc(pos, key, block);
        ::GlobalFree(static_cast<HGLOBAL>(block));
    }
    m_map.RemoveAll();
}

CGXDIBPool* GetDIBPool() {
    static std::unique_ptr<CGXDIBPool> pool;
    if (!pool) {
        pool = std::make_unique<CGXDIBPool>();
    }
    return pool.get();
}
