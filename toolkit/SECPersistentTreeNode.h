// A tree of named nodes, each with text key/value pairs (integers, flags and binary values as text), that a
// layout can be saved into and read from in memory; a writer or reader given by the caller stores it.
// Operations answer 0 or a combination of the result bits below and change nothing when they fail.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/CString.h"

#include <list>
#include <memory>
#include <vector>

class SECPersistentTreeNode;

struct SECPersTreeNodeKeyValuePair {
    CString m_strKey;
    CString m_strValue;
};

// A node's path: its name, then its ancestors' names, innermost first.
using SECPersistentTreePath = std::vector<CString>;

class SECPersistentTreeWriter {
public:
    virtual ~SECPersistentTreeWriter() = default;
    virtual void BeginNode(const SECPersistentTreePath& path) = 0;
    virtual void WriteKeyValue(const SECPersistentTreePath& path, const CString& key,
                               const CString& value) = 0;
    virtual void WriteChildNames(const SECPersistentTreePath& path, const std::vector<CString>& names) = 0;
};

class SECPersistentTreeReader {
public:
    virtual ~SECPersistentTreeReader() = default;
    // FALSE when nothing is stored under the path.
    virtual BOOL ReadNode(const SECPersistentTreePath& path, std::vector<CString>& childNames,
                          std::vector<SECPersTreeNodeKeyValuePair>& pairs) = 0;
};

// The nodes a node made for its children, deleted with it.
class SECPTNFactory {
public:
    SECPTNFactory() = default;
    SECPTNFactory(const SECPTNFactory&) = delete;
    SECPTNFactory& operator=(const SECPTNFactory&) = delete;
    ~SECPTNFactory();

    // A node of the parent's class under the parent; null when it cannot be made or refuses the name.
    SECPersistentTreeNode* CreateChild(LPCTSTR lpszName, SECPersistentTreeNode* pParent);
    // Deletes a node this factory made; a node it did not make only leaves its parent.
    void DestroyChild(SECPersistentTreeNode* pNode);

private:
    std::vector<SECPersistentTreeNode*> m_created;
};

class SECPersistentTreeNode : public CObject {
    DECLARE_DYNCREATE(SECPersistentTreeNode)

public:
    enum : int {
        kAlreadyCreated = 1,
        kNotCreated = 2,
        kEmptyName = 4,
        kEmptyKey = 8,
        kKeyExists = 16,
        kChildExists = 32,
        kKeyAbsent = 64,
        kNoData = 128,
        kRefused = 0xFFFF,
    };
    // Loading stops this deep, so that a reader answering for every path cannot exhaust the stack.
    static constexpr std::size_t kMaxDepth = 64;

    SECPersistentTreeNode() = default;
    SECPersistentTreeNode(const SECPersistentTreeNode&) = delete;
    SECPersistentTreeNode& operator=(const SECPersistentTreeNode&) = delete;
    // Leaves its parent; the children it made go with it.
    ~SECPersistentTreeNode() override;

    virtual int Create(LPCTSTR lpszName, SECPersistentTreeNode* pParent = nullptr);
    virtual int SetInt(LPCTSTR lpszKey, int nValue, BOOL bOverwrite = TRUE);
    virtual int SetString(LPCTSTR lpszKey, LPCTSTR lpszValue, BOOL bOverwrite = TRUE);
    virtual int SetBool(LPCTSTR lpszKey, BOOL bValue, BOOL bOverwrite = TRUE);
    virtual int SetBinary(LPCTSTR lpszKey, const BYTE* pData, UINT nBytes, BOOL bOverwrite = TRUE);
    virtual int RemoveKey(LPCTSTR lpszKey);
    virtual int GetString(LPCTSTR lpszKey, CString& value, LPCTSTR lpszDefault = u"") const;
    virtual int GetInt(LPCTSTR lpszKey, int& value, int nDefault = 0) const;
    virtual int GetUInt(LPCTSTR lpszKey, UINT& value, UINT nDefault = 0) const;
    virtual int GetLong(LPCTSTR lpszKey, LONG& value, LONG nDefault = 0) const;
    virtual int GetDWord(LPCTSTR lpszKey, DWORD& value, DWORD nDefault = 0) const;
    virtual int GetBool(LPCTSTR lpszKey, BOOL& value, BOOL bDefault = FALSE) const;
    // The bytes (chunked or not) into *pData; kNoData without an output, kRefused when there is nothing.
    virtual int GetBinary(LPCTSTR lpszKey, std::vector<BYTE>* pData) const;
    virtual BOOL Save(SECPersistentTreeWriter* pWriter) const;
    virtual BOOL Load(SECPersistentTreeReader* pReader);
    virtual int AddChild(SECPersistentTreeNode* pNode);

    SECPersistentTreeNode* FindChild(LPCTSTR lpszName) const;
    const CString& GetName() const { return m_strName; }
    SECPersistentTreeNode* GetParent() const { return m_pParent; }
    BOOL IsCreated() const { return m_bCreated; }
    const SECPersTreeNodeKeyValuePair* Lookup(LPCTSTR lpszKey) const;
    const std::vector<SECPersistentTreeNode*>& GetChildren() const { return m_children; }
    const std::list<SECPersTreeNodeKeyValuePair>& GetPairs() const { return m_pairs; }
    SECPTNFactory& GetFactory() { return m_factory; }
    SECPersistentTreePath GetPath() const;

private:
    friend class SECPTNFactory;
    BOOL LoadAt(SECPersistentTreeReader* pReader, std::size_t nDepth);
    void RemoveChild(SECPersistentTreeNode* pNode);

    CString m_strName;
    SECPersistentTreeNode* m_pParent = nullptr;
    std::vector<SECPersistentTreeNode*> m_children;
    std::list<SECPersTreeNodeKeyValuePair> m_pairs;
    BOOL m_bCreated = FALSE;
    // Last, so that the children it made go before the lists they are in.
    SECPTNFactory m_factory;
};
