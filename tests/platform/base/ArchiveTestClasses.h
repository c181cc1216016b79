// Serialisable classes for the archive tests and the archive fuzz target, so that the tests' byte fixtures
// double as the fuzz target's seeds. The header defines the classes' records: include it from exactly one
// source file per program.
#pragma once

#include "platform/base/CArchive.h"
#include "platform/base/CObject.h"
#include "platform/base/CString.h"

#include <set>
#include <vector>

namespace archivetest {

// Loading hands objects to the caller even when it fails half-way; every test object is tracked so that
// a test can free whatever a failed load left behind.
class Tracked : public CObject {
public:
    Tracked() { Live().insert(this); }
    ~Tracked() override { Live().erase(this); }
    Tracked(const Tracked&) = delete;
    Tracked& operator=(const Tracked&) = delete;

    static std::set<Tracked*>& Live() {
        static std::set<Tracked*> live;
        return live;
    }
    static void DeleteAll() {
        while (!Live().empty()) {
            delete *Live().begin();
        }
    }
};

// A named node with two references to any objects (graphs may share and cycle, so nodes own nothing).
class CArcNode : public Tracked {
    DECLARE_SERIAL(CArcNode)
public:
    CArcNode() = default;
    explicit CArcNode(LPCTSTR name) : m_name(name) {}
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_name << m_left << m_right;
        } else {
            ar >> m_name >> m_left >> m_right;
        }
    }
    CString m_name;
    CObject* m_left = nullptr;
    CObject* m_right = nullptr;
};

// Schema 2 added the item list; schema 1 data still loads.
class CArcLeaf : public Tracked {
    DECLARE_SERIAL(CArcLeaf)
public:
    CArcLeaf() = default;
    explicit CArcLeaf(WORD value, std::vector<WORD> items = {}) : m_value(value), m_items(std::move(items)) {}
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_value;
            ar.WriteCount(m_items.size());
            for (WORD item : m_items) {
                ar << item;
            }
            return;
        }
        m_loadedSchema = ar.GetObjectSchema();
        m_schemaAskedTwice = ar.GetObjectSchema();
        ar >> m_value;
        m_items.clear();
        if (m_loadedSchema >= 2) {
            for (DWORD_PTR n = ar.ReadCount(); n > 0; --n) {
                WORD item = 0;
                ar >> item;
                m_items.push_back(item);
            }
        }
    }
    WORD m_value = 0;
    std::vector<WORD> m_items;
    UINT m_loadedSchema = 0;
    UINT m_schemaAskedTwice = 0;
};

class CArcTiny : public Tracked {
    DECLARE_SERIAL(CArcTiny)
public:
    CArcTiny() = default;
    explicit CArcTiny(WORD value) : m_value(value) {}
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_value;
        } else {
            ar >> m_value;
        }
    }
    WORD m_value = 0;
};

IMPLEMENT_SERIAL(CArcNode, CObject, 1)
IMPLEMENT_SERIAL(CArcLeaf, CObject, VERSIONABLE_SCHEMA | 2)
IMPLEMENT_SERIAL(CArcTiny, CObject, 1)

} // namespace archivetest
