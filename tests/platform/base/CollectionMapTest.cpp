#include "platform/base/Collections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

UINT StringHash(const std::u16string& key) {
    UINT h = 0;
    for (char16_t unit : key) {
        h = h * 33 + unit;
    }
    return h;
}

// The framework's iteration order: buckets ascending; within a bucket, the
// latest insertion first.
template <class Key>
std::vector<Key> ExpectedOrder(const std::vector<Key>& inserted, const std::vector<UINT>& hashes,
                               UINT buckets) {
    std::vector<size_t> order(inserted.size());
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const UINT ba = hashes[a] % buckets;
        const UINT bb = hashes[b] % buckets;
        return ba != bb ? ba < bb : a > b;
    });
    std::vector<Key> keys;
    for (size_t i : order) {
        keys.push_back(inserted[i]);
    }
    return keys;
}

TEST(CollectionMap, HashValues) {
    EXPECT_EQ(HashKey<LPCTSTR>(u""), 0u);
    EXPECT_EQ(HashKey<LPCTSTR>(u"ab"), 97u * 33 + 98);
    EXPECT_EQ(HashKey<LPCTSTR>(u"\uFFFF\uFFFF"), 0xFFFFu * 33 + 0xFFFF);
    EXPECT_EQ(HashKey<const CString&>(CString(u"ab")), 97u * 33 + 98);
    char16_t writable[] = u"ab";
    EXPECT_EQ(HashKey<LPTSTR>(writable), 97u * 33 + 98); // the text, not the address
    EXPECT_EQ(HashKey<LPCSTR>("\xFF"), 0xFFFFFFFFu); // narrow units are signed
    EXPECT_EQ(HashKey<WORD>(0x1234), 0x123u);
    EXPECT_EQ(HashKey<DWORD>(0xFFFFFFFF), 0x0FFFFFFFu);
    EXPECT_EQ(HashKey<void*>(reinterpret_cast<void*>(static_cast<UINT_PTR>(0x7F0012345678))), 0x01234567u);
}

TEST(CollectionMap, StringKeysIterateInBucketOrder) {
    const std::vector<std::u16string> keys = {u"COM1", u"COM2",    u"Baud", u"Parity", u"a",
                                              u"b",    u"ab",      u"ba",   u"Stop",   u"DataBits",
                                              u"r",    u"Antenna", u"",     u"Q",      u"COM10"};
    std::vector<UINT> hashes;
    for (const auto& k : keys) {
        hashes.push_back(StringHash(k));
    }
    for (UINT buckets : {17u, 7u, 1u, 1021u}) {
        CMapStringToString map;
        CMap<CString, const CString&, int, int> templ;
        if (buckets != 17) {
            map.InitHashTable(buckets);
            templ.InitHashTable(buckets, FALSE);
        }
        EXPECT_EQ(map.GetHashTableSize(), buckets);
        for (size_t i = 0; i < keys.size(); ++i) {
            map.SetAt(keys[i].c_str(), keys[i].c_str());
            templ[CString(keys[i])] = static_cast<int>(i);
        }
        std::vector<std::u16string> seen;
        CString key;
        CString value;
        for (POSITION pos = map.GetStartPosition(); pos;) {
            map.GetNextAssoc(pos, key, value);
            EXPECT_EQ(key, value);
            seen.push_back(key.str());
        }
        const auto expected = ExpectedOrder(keys, hashes, buckets);
        EXPECT_EQ(seen, expected) << buckets << " buckets";

        std::vector<std::u16string> seenTempl;
        int index = 0;
        for (POSITION pos = templ.GetStartPosition(); pos;) {
            templ.GetNextAssoc(pos, key, index);
            EXPECT_EQ(key.str(), keys[static_cast<size_t>(index)]);
            seenTempl.push_back(key.str());
        }
        EXPECT_EQ(seenTempl, expected) << buckets << " buckets";
    }
}

TEST(CollectionMap, WordAndPointerKeysIterateInBucketOrder) {
    const std::vector<WORD> words = {0, 16, 17 * 16, 5 * 16 + 3, 34 * 16, 1, 0xFFFF, 0x1000, 3 * 16, 20 * 16};
    std::vector<UINT> wordHashes;
    CMapWordToPtr wordMap;
    for (WORD w : words) {
        wordHashes.push_back(static_cast<UINT>(w) >> 4);
        wordMap[w] = reinterpret_cast<void*>(static_cast<UINT_PTR>(w) + 1);
    }
    std::vector<WORD> seenWords;
    for (POSITION pos = wordMap.GetStartPosition(); pos;) {
        WORD key = 0;
        void* value = nullptr;
        wordMap.GetNextAssoc(pos, key, value);
        EXPECT_EQ(value, reinterpret_cast<void*>(static_cast<UINT_PTR>(key) + 1));
        seenWords.push_back(key);
    }
    EXPECT_EQ(seenWords, ExpectedOrder(words, wordHashes, 17));

    static char block[64 * 40];
    std::vector<void*> pointers;
    std::vector<UINT> pointerHashes;
    CMapPtrToWord pointerMap;
    for (size_t i : {0, 16, 17 * 16, 7, 33 * 16, 40, 64 * 39}) {
        void* p = block + i;
        pointers.push_back(p);
        pointerHashes.push_back(static_cast<UINT>(reinterpret_cast<UINT_PTR>(p) & 0xFFFFFFFF) >> 4);
        pointerMap.SetAt(p, static_cast<WORD>(i));
    }
    std::vector<void*> seenPointers;
    for (POSITION pos = pointerMap.GetStartPosition(); pos;) {
        void* key = nullptr;
        WORD value = 0;
        pointerMap.GetNextAssoc(pos, key, value);
        EXPECT_EQ(static_cast<char*>(key) - block, value);
        seenPointers.push_back(key);
    }
    EXPECT_EQ(seenPointers, ExpectedOrder(pointers, pointerHashes, 17));
}

TEST(CollectionMap, LookupSetAtRemoveKeyAndCreatingSubscript) {
    CMapStringToPtr map;
    void* value = &map;
    EXPECT_FALSE(map.Lookup(u"x", value));
    EXPECT_EQ(value, &map); // untouched on a miss
    EXPECT_FALSE(map.RemoveKey(u"x"));
    EXPECT_EQ(map.GetStartPosition(), nullptr);

    void*& created = map[u"x"];
    EXPECT_EQ(created, nullptr);
    EXPECT_EQ(map.GetCount(), 1);
    created = &value;
    EXPECT_TRUE(map.Lookup(u"x", value));
    EXPECT_EQ(value, &value);
    EXPECT_FALSE(map.Lookup(u"X", value)); // keys are case-sensitive

    map.SetAt(u"x", nullptr); // replaces
    map.SetAt(u"y", &map);
    EXPECT_EQ(map.GetCount(), 2);
    EXPECT_TRUE(map.Lookup(u"x", value));
    EXPECT_EQ(value, nullptr);
    EXPECT_TRUE(map.RemoveKey(u"x"));
    EXPECT_FALSE(map.RemoveKey(u"x"));
    EXPECT_FALSE(map.Lookup(u"x", value));
    EXPECT_EQ(map.GetCount(), 1);
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(map.GetHashTableSize(), 17u);
}

TEST(CollectionMap, RemovingTheVisitedKeyWhileIterating) {
    CMapWordToPtr map;
    map.InitHashTable(3);
    for (WORD w = 0; w < 200; ++w) {
        map[w] = reinterpret_cast<void*>(static_cast<UINT_PTR>(w % 2));
    }
    INT_PTR visited = 0;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        WORD key = 0;
        void* odd = nullptr;
        map.GetNextAssoc(pos, key, odd);
        ++visited;
        if (odd) {
            map.RemoveKey(key);
        }
    }
    EXPECT_EQ(visited, 200);
    EXPECT_EQ(map.GetCount(), 100);
    void* odd = nullptr;
    EXPECT_TRUE(map.Lookup(198, odd));
    EXPECT_FALSE(map.Lookup(199, odd));
}

TEST(CollectionMap, InitHashTableLaterKeepsTheAssociations) {
    CMapStringToString map;
    map.InitHashTable(101, FALSE);
    EXPECT_EQ(map.GetHashTableSize(), 101u);
    CString value;
    EXPECT_FALSE(map.Lookup(u"k", value));
    for (int i = 0; i < 50; ++i) {
        CString key;
        key.Format(u"key%d", i);
        map[key] = key;
    }
    map.InitHashTable(5); // a program error the framework leaks on; here the map is rehashed
    EXPECT_EQ(map.GetHashTableSize(), 5u);
    EXPECT_EQ(map.GetCount(), 50);
    INT_PTR seen = 0;
    UINT lastBucket = 0;
    for (POSITION pos = map.GetStartPosition(); pos; ++seen) {
        CString key;
        map.GetNextAssoc(pos, key, value);
        EXPECT_EQ(key, value);
        const UINT bucket = StringHash(key.str()) % 5;
        EXPECT_GE(bucket, lastBucket);
        lastBucket = bucket;
    }
    EXPECT_EQ(seen, 50);
    EXPECT_TRUE(map.Lookup(u"key49", value));
}

class Probe : public CObject {
public:
    explicit Probe(int v) : value(v) {}
    int value;
};

TEST(CollectionMap, TypedPointerMapsAndTemplateKeys) {
    Probe p1(1);
    Probe p2(2);
    CTypedPtrMap<CMapStringToOb, CString, Probe*> probes;
    probes.SetAt(u"one", &p1);
    probes[u"two"] = &p2;
    Probe* found = nullptr;
    EXPECT_TRUE(probes.Lookup(u"two", found));
    EXPECT_EQ(found->value, 2);
    POSITION pos = probes.GetStartPosition();
    CString key;
    int sum = 0;
    while (pos) {
        probes.GetNextAssoc(pos, key, found);
        sum += found->value;
    }
    EXPECT_EQ(sum, 3);
    EXPECT_TRUE(probes.RemoveKey(u"one"));
    EXPECT_EQ(probes.GetCount(), 1);

    CTypedPtrMap<CMapWordToOb, WORD, Probe*> byWord;
    byWord[7] = &p1;
    EXPECT_TRUE(byWord.Lookup(7, found));
    EXPECT_EQ(found, &p1);

    CMap<int, int, CString, LPCTSTR> numbers;
    numbers[-1] = u"minus one";
    numbers.SetAt(16, u"sixteen");
    CString text;
    EXPECT_TRUE(numbers.Lookup(-1, text));
    EXPECT_EQ(text, CString(u"minus one"));
    EXPECT_EQ(numbers.GetCount(), 2);
}

} // namespace
