// The in-memory form of a registry hive: a tree of keys, each holding values in creation order and subkeys in
// case-insensitive name order. Open key handles share the nodes, so a node removed from the tree is marked
// deleted rather than freed, and the handles see ERROR_KEY_DELETED.
#pragma once

#include "platform/base/Win32Types.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace doliva::registry {

// The upper-case form the registry compares names by (simple one-to-one mappings of the common scripts).
char16_t FoldUnit(char16_t unit);
std::u16string FoldName(std::u16string_view name);
bool NamesEqual(std::u16string_view a, std::u16string_view b);

struct RegValue {
    std::u16string name; // empty for the default value
    DWORD type = 0;
    std::vector<BYTE> data;

    bool operator==(const RegValue&) const = default;
};

// How deep keys may nest, counting the root key (the original's limit).
constexpr size_t kMaxKeyDepth = 512;

class KeyNode {
public:
    explicit KeyNode(std::u16string name, size_t depth = 0)
        : m_name(std::move(name)), m_folded(FoldName(m_name)), m_depth(depth) {}

    const std::u16string& Name() const { return m_name; }
    const std::u16string& FoldedName() const { return m_folded; }
    bool Deleted() const { return m_deleted; }
    // 0 for a hive file's top, 1 for its root keys.
    size_t Depth() const { return m_depth; }

    const std::vector<RegValue>& Values() const { return m_values; }
    const RegValue* FindValue(std::u16string_view name) const;
    // A rewrite of an existing value keeps its place and its name's case.
    void SetValue(std::u16string_view name, DWORD type, std::vector<BYTE> data);
    bool DeleteValue(std::u16string_view name);
    void ClearValues() { m_values.clear(); }

    const std::vector<std::shared_ptr<KeyNode>>& Subkeys() const { return m_subkeys; }
    std::shared_ptr<KeyNode> FindSubkey(std::u16string_view name) const;
    // Answers the existing subkey of that name, or a new one.
    std::shared_ptr<KeyNode> AddSubkey(std::u16string_view name, bool* created = nullptr);
    // Detaches the subkey and marks it and everything below it deleted.
    bool RemoveSubkey(std::u16string_view name);
    void RemoveAllSubkeys();

    // Makes this node hold what `source` holds, keeping the nodes of keys present in both (so open handles
    // stay valid) and marking the ones that disappeared deleted.
    void Adopt(KeyNode& source);

    // Same names (exactly), values and subkeys, recursively.
    bool SameContent(const KeyNode& other) const;

private:
    void MarkDeleted();
    size_t LowerBound(const std::u16string& folded) const;

    std::u16string m_name;
    std::u16string m_folded;
    size_t m_depth;
    bool m_deleted = false;
    std::vector<RegValue> m_values;
    std::vector<std::shared_ptr<KeyNode>> m_subkeys;
};

} // namespace doliva::registry
