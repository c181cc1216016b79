// The persistent tree: result codes of its operations, binary values in chunks, and saving and loading
// through a writer and a reader.
#include "toolkit/SECPersistentTreeNode.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using Node = SECPersistentTreeNode;

TEST(PersistentTreeNodeTest, ResultCodes) {
    Node root;
    EXPECT_EQ(root.SetString(u"", u"x"), Node::kNotCreated | Node::kEmptyKey);
    EXPECT_EQ(root.Create(u""), Node::kEmptyName);
    ASSERT_EQ(root.Create(u"Root"), 0);
    EXPECT_EQ(root.Create(u""), Node::kAlreadyCreated | Node::kEmptyName);
    EXPECT_EQ(root.GetName(), CString(u"Root"));

    Node* child = root.GetFactory().CreateChild(u"Child", &root);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(root.GetFactory().CreateChild(u"Child", &root), nullptr);
    Node twin;
    EXPECT_EQ(twin.Create(u"Child", &root), Node::kChildExists);
    EXPECT_FALSE(twin.IsCreated());
    EXPECT_EQ(root.GetChildren().size(), 1u);
    Node orphan;
    EXPECT_EQ(orphan.AddChild(&twin), Node::kNotCreated);
    EXPECT_EQ(root.AddChild(nullptr), 4);
    EXPECT_EQ(root.FindChild(u""), nullptr);

    EXPECT_EQ(child->SetInt(u"N", -12), 0);
    EXPECT_EQ(child->SetInt(u"N", 7, FALSE), Node::kKeyExists);
    EXPECT_EQ(child->SetBool(u"B", TRUE), 0);
    EXPECT_EQ(child->SetString(u"S", u"one"), 0);
    EXPECT_EQ(child->SetString(u"S", u"two"), 0) << "replaced in place";
    int n = 0;
    BOOL b = FALSE;
    DWORD dw = 0;
    CString s;
    EXPECT_EQ(child->GetInt(u"N", n), 0);
    EXPECT_EQ(n, -12);
    EXPECT_EQ(child->GetDWord(u"N", dw), 0);
    EXPECT_EQ(dw, static_cast<DWORD>(-12));
    EXPECT_EQ(child->GetBool(u"B", b), 0);
    EXPECT_TRUE(b);
    child->SetString(u"B", u"tRuE");
    child->GetBool(u"B", b);
    EXPECT_TRUE(b) << "any case";
    EXPECT_EQ(child->GetString(u"Absent", s, u"fallback"), Node::kKeyAbsent);
    EXPECT_EQ(s, CString(u"fallback"));
    EXPECT_EQ(child->GetInt(u"Absent", n, 5), Node::kKeyAbsent);
    EXPECT_EQ(n, 5);
    EXPECT_EQ(child->RemoveKey(u"Absent"), Node::kKeyAbsent);
    EXPECT_EQ(child->RemoveKey(u"N"), 0);
    std::vector<CString> keys;
    for (const auto& pair : child->GetPairs()) {
        keys.push_back(pair.m_strKey);
    }
    EXPECT_EQ(keys, (std::vector<CString>{u"B", u"S"}));
    child->GetString(u"S", s);
    EXPECT_EQ(s, CString(u"two"));

    // A node the caller owns leaves its parent when it goes.
    {
        Node local;
        ASSERT_EQ(local.Create(u"Local", &root), 0);
        EXPECT_EQ(root.FindChild(u"Local"), &local);
    }
    EXPECT_EQ(root.FindChild(u"Local"), nullptr);
    root.GetFactory().DestroyChild(child);
    EXPECT_TRUE(root.GetChildren().empty());
}

TEST(PersistentTreeNodeTest, BinaryValuesInChunks) {
    Node node;
    ASSERT_EQ(node.Create(u"Node"), 0);
    std::vector<BYTE> bytes(200);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<BYTE>(i * 7);
    }
    ASSERT_EQ(node.SetBinary(u"Place", bytes.data(), 200), 0);
    CString count;
    CString chunk0;
    CString chunk1;
    node.GetString(u"Place_BinCount", count);
    node.GetString(u"Place_BinVal0", chunk0);
    node.GetString(u"Place_BinVal1", chunk1);
    EXPECT_EQ(count, CString(u"2"));
    EXPECT_EQ(chunk0.GetLength(), 250);
    EXPECT_EQ(chunk1.GetLength(), 150);
    EXPECT_EQ(chunk0.Left(4), CString(u"AAHA"));
    std::vector<BYTE> back;
    ASSERT_EQ(node.GetBinary(u"Place", &back), 0);
    EXPECT_EQ(back, bytes);

    const BYTE small[] = {0xAB, 0x01};
    ASSERT_EQ(node.SetBinary(u"Small", small, 2), 0);
    node.GetString(u"Small", count);
    EXPECT_EQ(count, CString(u"LKBA"));
    EXPECT_EQ(node.SetBinary(u"None", nullptr, 4), Node::kNoData);
    EXPECT_EQ(node.GetBinary(u"Small", nullptr), Node::kNoData);
    EXPECT_EQ(node.GetBinary(u"Absent", &back), Node::kKeyAbsent);
    node.SetString(u"Empty", u"A");
    EXPECT_EQ(node.GetBinary(u"Empty", &back), Node::kRefused) << "nothing to decode";

    // A damaged count reads only the chunks that are there.
    node.SetString(u"Place_BinCount", u"2000000000");
    ASSERT_EQ(node.GetBinary(u"Place", &back), 0);
    EXPECT_EQ(back, bytes);
    node.RemoveKey(u"Place_BinVal0");
    node.SetString(u"Place_BinCount", u"2");
    ASSERT_EQ(node.GetBinary(u"Place", &back), 0);
    EXPECT_EQ(back.size(), 75u) << "the chunk that is present";
}

// A path as one text ("Inner/A/Root"), for keying a map (CString orders by address).
std::u16string Joined(const SECPersistentTreePath& path) {
    std::u16string text;
    for (const CString& name : path) {
        text += (text.empty() ? u"" : u"/") + std::u16string(static_cast<LPCTSTR>(name));
    }
    return text;
}

// A store keyed by path, written by Save and read by Load.
struct MemoryStore : SECPersistentTreeWriter, SECPersistentTreeReader {
    struct Entry {
        std::vector<CString> children;
        std::vector<SECPersTreeNodeKeyValuePair> pairs;
    };
    std::map<std::u16string, Entry> nodes;
    void BeginNode(const SECPersistentTreePath& path) override { nodes[Joined(path)]; }
    void WriteKeyValue(const SECPersistentTreePath& path, const CString& key, const CString& value) override {
        nodes[Joined(path)].pairs.push_back({key, value});
    }
    void WriteChildNames(const SECPersistentTreePath& path, const std::vector<CString>& names) override {
        nodes[Joined(path)].children = names;
    }
    BOOL ReadNode(const SECPersistentTreePath& path, std::vector<CString>& children,
                  std::vector<SECPersTreeNodeKeyValuePair>& pairs) override {
        auto found = nodes.find(Joined(path));
        if (found == nodes.end()) {
            return FALSE;
        }
        children = found->second.children;
        pairs = found->second.pairs;
        return TRUE;
    }
};

// Answers for every path: one child "Deeper" under each.
struct BottomlessReader : SECPersistentTreeReader {
    BOOL ReadNode(const SECPersistentTreePath&, std::vector<CString>& children,
                  std::vector<SECPersTreeNodeKeyValuePair>& pairs) override {
        children = {u"Deeper", u"Deeper"};
        pairs = {{u"K", u"V"}};
        return TRUE;
    }
};

TEST(PersistentTreeNodeTest, SavedAndLoadedThroughAWriterAndReader) {
    Node root;
    ASSERT_EQ(root.Create(u"Root"), 0);
    Node* a = root.GetFactory().CreateChild(u"A", &root);
    Node* b = root.GetFactory().CreateChild(u"B", &root);
    Node* inner = a->GetFactory().CreateChild(u"Inner", a);
    a->SetInt(u"Count", 3);
    b->SetString(u"Name", u"bee");
    inner->SetBool(u"On", TRUE);
    MemoryStore store;
    ASSERT_TRUE(root.Save(&store));
    EXPECT_TRUE(store.nodes.count(u"Inner/A/Root")) << "innermost first";
    Node uncreated;
    EXPECT_FALSE(uncreated.Save(&store));
    EXPECT_FALSE(root.Save(nullptr));

    Node copy;
    ASSERT_EQ(copy.Create(u"Root"), 0);
    ASSERT_TRUE(copy.Load(&store));
    ASSERT_EQ(copy.GetChildren().size(), 2u);
    Node* innerCopy = copy.FindChild(u"A") ? copy.FindChild(u"A")->FindChild(u"Inner") : nullptr;
    ASSERT_NE(innerCopy, nullptr);
    BOOL on = FALSE;
    innerCopy->GetBool(u"On", on);
    EXPECT_TRUE(on);
    CString name;
    copy.FindChild(u"B")->GetString(u"Name", name);
    EXPECT_EQ(name, CString(u"bee"));
    Node stranger;
    ASSERT_EQ(stranger.Create(u"Elsewhere"), 0);
    EXPECT_FALSE(stranger.Load(&store));

    // A reader that never ends: loading stops at a bounded depth, one child per name.
    BottomlessReader bottomless;
    Node deep;
    ASSERT_EQ(deep.Create(u"Top"), 0);
    ASSERT_TRUE(deep.Load(&bottomless));
    std::size_t depth = 1;
    for (const Node* node = &deep; node->GetChildren().size() == 1; node = node->GetChildren()[0]) {
        ++depth;
    }
    EXPECT_EQ(depth, Node::kMaxDepth);
}

} // namespace
