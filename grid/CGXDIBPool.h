// The program-wide cache of bitmap resources named by cell values: "#BMP(n)" for the resource id n,
// "#BMP("name")" for a named one. Each bitmap is loaded once, as a packed DIB in a global block, and kept
// until the program ends; a missing one is remembered as null.
#pragma once

#include "platform/base/CMaps.h"
#include "platform/base/CString.h"
#include "platform/base/WindowTypes.h"

class CGXDIBPool : public CObject {
    DECLARE_DYNAMIC(CGXDIBPool)
public:
    CGXDIBPool();
    ~CGXDIBPool() override;
    CGXDIBPool(const CGXDIBPool&) = delete;
    CGXDIBPool& operator=(const CGXDIBPool&) = delete;

    // The block for the value (the pool's), or null when it names no bitmap or none can be loaded.
    virtual HGLOBAL LookupDIB(LPCTSTR value);
    // The resource the value names (an id as MAKEINTRESOURCE, or the name in `key`) and its cache key
    // ("#12" or the name); null when the value is not a bitmap value.
    virtual LPCTSTR ParseValue(LPCTSTR value, CString& key);
    // A new block with the bitmap resource, or null.
    virtual HGLOBAL LoadDIB(LPCTSTR resource);
    virtual void FormatNameValue(LPCTSTR name, CString& value);
    virtual void FormatIdValue(UINT id, CString& value);

    void FreeAll();

private:
    CMapStringToPtr m_map;
};

// The pool, made on first use and freed at exit.
CGXDIBPool* GetDIBPool();
