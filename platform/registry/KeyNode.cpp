#include "platform/registry/KeyNode.h"

#include <algorithm>

namespace doliva::registry {

char16_t FoldUnit(char16_t u) {
    if (u < 0x80) {
        return (u >= u'a' && u <= u'z') ? static_cast<char16_t>(u - 0x20) : u;
    }
    if (u < 0x100) {
        if (u >= 0xE0 && u <= 0xFE && u != 0xF7) {
            return static_cast<char16_t>(u - 0x20);
        }
        return u == 0xFF ? char16_t(0x178) : u;
    }
    if (u < 0x180) { // Latin Extended-A: pairs, the parity of the capital changes at 0x139 and 0x14A
        bool oddCapital = (u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E);
        bool paired = (u <= 0x12F) || (u >= 0x132 && u <= 0x137) || (u >= 0x139 && u <= 0x148) ||
                      (u >= 0x14A && u <= 0x177) || (u >= 0x179 && u <= 0x17E);
        if (paired && ((u & 1) != 0) != oddCapital) {
            return static_cast<char16_t>(u - 1);
        }
        return u;
    }
    if (u >= 0x3AC && u <= 0x3CE) { // Greek
        if (u == 0x3AC) {
            return 0x386;
        }
        if (u <= 0x3AF) {
            return static_cast<char16_t>(u - 0x25);
        }
        if (u == 0x3C2) {
            return 0x3A3;
        }
        if (u >= 0x3B1 && u <= 0x3CB) {
            return static_cast<char16_t>(u - 0x20);
        }
        if (u == 0x3CC) {
            return 0x38C;
        }
        if (u >= 0x3CD) {
            return static_cast<char16_t>(u - 0x3F);
        }
        return u;
    }
    if (u >= 0x430 && u <= 0x45F) { // Cyrillic
        return static_cast<char16_t>(u <= 0x44F ? u - 0x20 : u - 0x50);
    }
    if (u >= 0xFF41 && u <= 0xFF5A) { // full-width Latin
        return static_cast<char16_t>(u - 0x20);
    }
    return u;
}

std::u16string FoldName(std::u16string_view name) {
    std::u16string out(name);
    for (char16_t& u : out) {
        u = FoldUnit(u);
    }
    return out;
}

bool NamesEqual(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && FoldUnit(a[i]) != FoldUnit(b[i])) {
            return false;
        }
    }
    return true;
}

const RegValue* KeyNode::FindValue(std::u16string_view name) const {
    for (const RegValue& v : m_values) {
        if (NamesEqual(v.name, name)) {
            return &v;
        }
    }
    return nullptr;
}

void KeyNode::SetValue(std::u16string_view name, DWORD type, std::vector<BYTE> data) {
    for (RegValue& v : m_values) {
        if (NamesEqual(v.name, name)) {
            v.type = type;
            v.data = std::move(data);
            return;
        }
    }
    m_values.push_back(RegValue{std::u16string(name), type, std::move(data)});
}

bool KeyNode::DeleteValue(std::u16string_view name) {
    auto it = std::find_if(m_values.begin(), m_values.end(),
                           [&](const RegValue& v) { return NamesEqual(v.name, name); });
    if (it == m_values.end()) {
        return false;
    }
    m_values.erase(it);
    return true;
}

size_t KeyNode::LowerBound(const std::u16string& folded) const {
    auto it = std::lower_bound(
        m_subkeys.begin(), m_subkeys.end(), folded,
        [](const std::shared_ptr<KeyNode>& k, const std::u16string& f) { return k->m_folded < f; });
    return static_cast<size_t>(it - m_subkeys.begin());
}

std::shared_ptr<KeyNode> KeyNode::FindSubkey(std::u16string_view name) const {
    std::u16string folded = FoldName(name);
    size_t i = LowerBound(folded);
    if (i < m_subkeys.size() && m_subkeys[i]->m_folded == folded) {
        return m_subkeys[i];
    }
    return nullptr;
}

std::shared_ptr<KeyNode> KeyNode::AddSubkey(std::u16string_view name, bool* created) {
    std::u16string folded = FoldName(name);
    size_t i = LowerBound(folded);
    if (i < m_subkeys.size() && m_subkeys[i]->m_folded == folded) {
        if (created) {
            *created = false;
        }
        return m_subkeys[i];
    }
    auto node = std::make_shared<KeyNode>(std::u16string(name), m_depth + 1);
    m_subkeys.insert(m_subkeys.begin() + static_cast<std::ptrdiff_t>(i), node);
    if (created) {
        *created = true;
    }
    return node;
}

bool KeyNode::RemoveSubkey(std::u16string_view name) {
    std::u16string folded = FoldName(name);
    size_t i = LowerBound(folded);
    if (i >= m_subkeys.size() || m_subkeys[i]->m_folded != folded) {
        return false;
    }
    m_subkeys[i]->MarkDeleted();
    m_subkeys.erase(m_subkeys.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
}

void KeyNode::RemoveAllSubkeys() {
    for (auto& k : m_subkeys) {
        k->MarkDeleted();
    }
    m_subkeys.clear();
}

void KeyNode::MarkDeleted() {
    m_deleted = true;
    for (auto& k : m_subkeys) {
        k->MarkDeleted();
    }
}

void KeyNode::Adopt(KeyNode& source) {
    m_name = source.m_name;
    m_folded = source.m_folded;
    m_values = source.m_values;
    std::vector<std::shared_ptr<KeyNode>> merged;
    merged.reserve(source.m_subkeys.size());
    size_t mine = 0;
    for (auto& theirs : source.m_subkeys) {
        while (mine < m_subkeys.size() && m_subkeys[mine]->m_folded < theirs->m_folded) {
            m_subkeys[mine++]->MarkDeleted();
        }
        if (mine < m_subkeys.size() && m_subkeys[mine]->m_folded == theirs->m_folded) {
            m_subkeys[mine]->Adopt(*theirs);
            merged.push_back(m_subkeys[mine++]);
        } else {
            merged.push_back(theirs);
        }
    }
    while (mine < m_subkeys.size()) {
        m_subkeys[mine++]->MarkDeleted();
    }
    m_subkeys = std::move(merged);
}

bool KeyNode::SameContent(const KeyNode& other) const {
    if (m_name != other.m_name || m_values != other.m_values || m_subkeys.size() != other.m_subkeys.size()) {
        return false;
    }
    for (size_t i = 0; i < m_subkeys.size(); ++i) {
        if (!m_subkeys[i]->SameContent(*other.m_subkeys[i])) {
            return false;
        }
    }
    return true;
}

} // namespace doliva::registry
