#include "toolkit/SECPersistentTreeNode.h"

#include "toolkit/SECBinaryText.h"

#include <algorithm>
#include <climits>
#include <map>

IMPLEMENT_DYNCREATE(SECPersistentTreeNode, CObject)

namespace {

bool IsEmpty(LPCTSTR text) {
    return !text || !*text;
}

// Leading blanks, a sign and digits, as the C library reads a decimal; past the range it saturates.
long long ParseDecimal(const CString& text) {
    int i = 0;
    while (i < text.GetLength() && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.GetLength() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i++] == u'-';
    }
    long long value = 0;
    for (; i < text.GetLength() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = std::min(value * 10 + (text[i] - u'0'), static_cast<long long>(UINT_MAX));
    }
    return negative ? -value : value;
}

// The index of a chunk key (key + "_BinVal" + decimal written as "%d" writes it), or -1.
int ChunkIndex(const CString& candidate, const CString& prefix) {
    if (candidate.GetLength() <= prefix.GetLength() || candidate.Left(prefix.GetLength()) != prefix) {
        return -1;
    }
    const CString digits = candidate.Mid(prefix.GetLength());
    if (digits.GetLength() > 9 || (digits.GetLength() > 1 && digits[0] == u'0')) {
        return -1;
    }
    int index = 0;
    for (int i = 0; i < digits.GetLength(); ++i) {
        if (digits[i] < u'0' || digits[i] > u'9') {
            return -1;
        }
        index = index * 10 + (digits[i] - u'0');
    }
    return index;
}

} // namespace

SECPTNFactory::~SECPTNFactory() {
    // Each node leaves this list as it goes.
    while (!m_created.empty()) {
        SECPersistentTreeNode* node = m_created.back();
        m_created.pop_back();
        delete node;
    }
}

SECPersistentTreeNode* SECPTNFactory::CreateChild(LPCTSTR lpszName, SECPersistentTreeNode* pParent) {
    if (!pParent) {
        return nullptr;
    }
    auto* node = dynamic_cast<SECPersistentTreeNode*>(pParent->GetRuntimeClass()->CreateObject());
    if (!node) {
        return nullptr;
    }
    if (node->Create(lpszName, pParent) != 0) {
        delete node;
        return nullptr;
    }
    m_created.push_back(node);
    return node;
}

void SECPTNFactory::DestroyChild(SECPersistentTreeNode* pNode) {
    auto found = std::find(m_created.begin(), m_created.end(), pNode);
    if (found == m_created.end()) {
        if (pNode && pNode->m_pParent) {
            pNode->m_pParent->RemoveChild(pNode);
            pNode->m_pParent = nullptr;
        }
        return;
    }
    m_created.erase(found);
    delete pNode;
}

SECPersistentTreeNode::~SECPersistentTreeNode() {
    if (m_pParent) {
        m_pParent->RemoveChild(this);
    }
}

void SECPersistentTreeNode::RemoveChild(SECPersistentTreeNode* pNode) {
    m_children.erase(std::remove(m_children.begin(), m_children.end(), pNode), m_children.end());
}

int SECPersistentTreeNode::Create(LPCTSTR lpszName, SECPersistentTreeNode* pParent) {
    const int refused = (m_bCreated ? kAlreadyCreated : 0) | (IsEmpty(lpszName) ? kEmptyName : 0);
    if (refused) {
        return refused;
    }
    m_strName = lpszName;
    m_pParent = pParent;
    if (pParent) {
        const int added = pParent->AddChild(this);
        if (added != 0) {
            m_strName.Empty();
            m_pParent = nullptr;
            return added == kChildExists ? kChildExists : kRefused;
        }
    }
    m_bCreated = TRUE;
    return 0;
}

int SECPersistentTreeNode::AddChild(SECPersistentTreeNode* pNode) {
    if (!m_bCreated) {
        return kNotCreated;
    }
    if (!pNode) {
        return kEmptyName;
    }
    if (FindChild(pNode->m_strName)) {
        return kChildExists;
    }
    m_children.push_back(pNode);
    return 0;
}

SECPersistentTreeNode* SECPersistentTreeNode::FindChild(LPCTSTR lpszName) const {
    if (IsEmpty(lpszName)) {
        return nullptr;
    }
    for (SECPersistentTreeNode* child : m_children) {
        if (child->m_strName == lpszName) {
            return child;
        }
    }
    return nullptr;
}

const SECPersTreeNodeKeyValuePair* SECPersistentTreeNode::Lookup(LPCTSTR lpszKey) const {
    if (IsEmpty(lpszKey)) {
        return nullptr;
    }
    for (const SECPersTreeNodeKeyValuePair& pair : m_pairs) {
        if (pair.m_strKey == lpszKey) {
            return &pair;
        }
    }
    return nullptr;
}

int SECPersistentTreeNode::SetString(LPCTSTR lpszKey, LPCTSTR lpszValue, BOOL bOverwrite) {
    const auto* existing = Lookup(lpszKey);
    const int refused = (m_bCreated ? 0 : kNotCreated) | (IsEmpty(lpszKey) ? kEmptyKey : 0) |
                        (existing && !bOverwrite ? kKeyExists : 0);
    if (refused) {
        return refused;
    }
    const CString value(lpszValue ? lpszValue : u"");
    if (existing) {
        const_cast<SECPersTreeNodeKeyValuePair*>(existing)->m_strValue = value;
    } else {
        m_pairs.push_back({CString(lpszKey), value});
    }
    return 0;
}

int SECPersistentTreeNode::SetInt(LPCTSTR lpszKey, int nValue, BOOL bOverwrite) {
    CString text;
    text.Format(u"%d", nValue);
    return SetString(lpszKey, text, bOverwrite);
}

int SECPersistentTreeNode::SetBool(LPCTSTR lpszKey, BOOL bValue, BOOL bOverwrite) {
    return SetString(lpszKey, bValue ? u"True" : u"False", bOverwrite);
}

int SECPersistentTreeNode::SetBinary(LPCTSTR lpszKey, const BYTE* pData, UINT nBytes, BOOL bOverwrite) {
    if (!pData) {
        return kNoData;
    }
    const std::vector<CString> chunks = SECSplitBinaryText(SECBinaryToText(pData, nBytes));
    if (chunks.size() == 1) {
        return SetString(lpszKey, chunks[0], bOverwrite);
    }
    int result = SetInt(SECBinaryCountKey(lpszKey), static_cast<int>(chunks.size()), bOverwrite);
    for (std::size_t i = 0; result == 0 && i < chunks.size(); ++i) {
        result = SetString(SECBinaryChunkKey(lpszKey, static_cast<int>(i)), chunks[i], bOverwrite);
    }
    return result;
}

int SECPersistentTreeNode::RemoveKey(LPCTSTR lpszKey) {
    if (!Lookup(lpszKey)) {
        return kKeyAbsent;
    }
    m_pairs.remove_if([&](const SECPersTreeNodeKeyValuePair& pair) { return pair.m_strKey == lpszKey; });
    return 0;
}

int SECPersistentTreeNode::GetString(LPCTSTR lpszKey, CString& value, LPCTSTR lpszDefault) const {
    if (const auto* pair = Lookup(lpszKey)) {
        value = pair->m_strValue;
        return 0;
    }
    value = lpszDefault ? lpszDefault : u"";
    return kKeyAbsent;
}

int SECPersistentTreeNode::GetInt(LPCTSTR lpszKey, int& value, int nDefault) const {
    LONG number = 0;
    const int result = GetLong(lpszKey, number, nDefault);
    value = static_cast<int>(number);
    return result;
}

int SECPersistentTreeNode::GetUInt(LPCTSTR lpszKey, UINT& value, UINT nDefault) const {
    DWORD number = 0;
    const int result = GetDWord(lpszKey, number, nDefault);
    value = number;
    return result;
}

int SECPersistentTreeNode::GetLong(LPCTSTR lpszKey, LONG& value, LONG nDefault) const {
    const auto* pair = Lookup(lpszKey);
    value = pair ? static_cast<LONG>(std::clamp<long long>(ParseDecimal(pair->m_strValue), INT_MIN, INT_MAX))
                 : nDefault;
    return pair ? 0 : kKeyAbsent;
}

int SECPersistentTreeNode::GetDWord(LPCTSTR lpszKey, DWORD& value, DWORD nDefault) const {
    const auto* pair = Lookup(lpszKey);
    // Negative texts wrap, as a 32-bit value written with "%d" reads back.
    value = pair ? static_cast<DWORD>(ParseDecimal(pair->m_strValue)) : nDefault;
    return pair ? 0 : kKeyAbsent;
}

int SECPersistentTreeNode::GetBool(LPCTSTR lpszKey, BOOL& value, BOOL bDefault) const {
    const auto* pair = Lookup(lpszKey);
    if (!pair) {
        value = bDefault;
        return kKeyAbsent;
    }
    CString upper = pair->m_strValue;
    upper.MakeUpper();
    value = upper == u"TRUE";
    return 0;
}

int SECPersistentTreeNode::GetBinary(LPCTSTR lpszKey, std::vector<BYTE>* pData) const {
    if (!pData) {
        return kNoData;
    }
    CString text;
    if (const auto* count = Lookup(SECBinaryCountKey(lpszKey))) {
        // The chunks present below the count, in order; found by their keys, so that a damaged count
        // costs nothing.
        const long long chunks = ParseDecimal(count->m_strValue);
        CString prefix(lpszKey);
        prefix += u"_BinVal";
        std::map<int, const CString*> present;
        for (const SECPersTreeNodeKeyValuePair& pair : m_pairs) {
            const int index = ChunkIndex(pair.m_strKey, prefix);
            if (index >= 0 && index < chunks) {
                present.emplace(index, &pair.m_strValue);
            }
        }
        for (const auto& [index, chunk] : present) {
            text += *chunk;
        }
    } else {
        const int result = GetString(lpszKey, text);
        if (result != 0) {
            return result;
        }
    }
    std::vector<BYTE> data = SECTextToBinary(text);
    if (data.empty()) {
        return kRefused;
    }
    *pData = std::move(data);
    return 0;
}

SECPersistentTreePath SECPersistentTreeNode::GetPath() const {
    SECPersistentTreePath path;
    for (const SECPersistentTreeNode* node = this; node; node = node->m_pParent) {
        path.push_back(node->m_strName);
    }
    return path;
}

BOOL SECPersistentTreeNode::Save(SECPersistentTreeWriter* pWriter) const {
    if (!m_bCreated || !pWriter) {
        return FALSE;
    }
    const SECPersistentTreePath path = GetPath();
    pWriter->BeginNode(path);
    for (const SECPersTreeNodeKeyValuePair& pair : m_pairs) {
        pWriter->WriteKeyValue(path, pair.m_strKey, pair.m_strValue);
    }
    std::vector<CString> names;
    for (const SECPersistentTreeNode* child : m_children) {
        names.push_back(child->m_strName);
    }
    pWriter->WriteChildNames(path, names);
    BOOL ok = TRUE;
    for (const SECPersistentTreeNode* child : m_children) {
        ok = child->Save(pWriter) && ok;
    }
    return ok;
}

BOOL SECPersistentTreeNode::Load(SECPersistentTreeReader* pReader) {
    return LoadAt(pReader, GetPath().size());
}

BOOL SECPersistentTreeNode::LoadAt(SECPersistentTreeReader* pReader, std::size_t nDepth) {
    if (!m_bCreated || !pReader) {
        return FALSE;
    }
    std::vector<CString> names;
    std::vector<SECPersTreeNodeKeyValuePair> pairs;
    if (!pReader->ReadNode(GetPath(), names, pairs)) {
        return FALSE;
    }
    for (const SECPersTreeNodeKeyValuePair& pair : pairs) {
        SetString(pair.m_strKey, pair.m_strValue, TRUE);
    }
    if (nDepth >= kMaxDepth) {
        return TRUE;
    }
    for (const CString& name : names) {
        if (SECPersistentTreeNode* child = m_factory.CreateChild(name, this)) {
            child->LoadAt(pReader, nDepth + 1);
        }
    }
    return TRUE;
}
