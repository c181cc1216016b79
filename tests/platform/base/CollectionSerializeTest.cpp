#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"
#include "platform/base/Collections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

// Outside the anonymous namespace: the class registers by name and its extraction operator is global.
// Every instance is tracked, so that a test can tell objects a collection lost from the one the archive
// was reading when the data ran out.
class CollectionProbe : public CObject {
    DECLARE_SERIAL(CollectionProbe)
public:
    explicit CollectionProbe(int v = 0) : value(v) { Live().insert(this); }
    ~CollectionProbe() override { Live().erase(this); }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << value;
        } else {
            ar >> value;
        }
    }
    static std::set<CollectionProbe*>& Live() {
        static std::set<CollectionProbe*> live;
        return live;
    }
    int value;
};

IMPLEMENT_SERIAL(CollectionProbe, CObject, 1)

namespace {

std::vector<BYTE> Store(CObject& collection) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        collection.Serialize(ar);
    }
    std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    if (!bytes.empty()) {
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    }
    return bytes;
}

// Loads the collection from the bytes; answers the archive exception's cause,
// or -1 when none was raised.
int Load(CObject& collection, std::vector<BYTE> bytes) {
    BYTE empty = 0;
    CMemFile file(bytes.empty() ? &empty : bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    try {
        collection.Serialize(ar);
    } catch (CArchiveException* e) {
        const int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

int Value(const CObject* object) {
    return object ? static_cast<const CollectionProbe*>(object)->value : -1;
}

void DeleteAll(CObArray& array) {
    for (INT_PTR i = 0; i < array.GetSize(); ++i) {
        delete array[i];
    }
    array.RemoveAll();
}

void DeleteAll(CObList& list) {
    while (!list.IsEmpty()) {
        delete list.RemoveHead();
    }
}

template <class Map>
void DeleteValues(Map& map) {
    for (POSITION pos = map.GetStartPosition(); pos;) {
        typename Map::BASE_KEY key{};
        CObject* object = nullptr;
        map.GetNextAssoc(pos, key, object);
        delete object;
    }
    map.RemoveAll();
}

// One collection kind: fills a fresh instance, loads a stored copy into another
// and describes either as text.
struct Kind {
    const char* name;
    std::function<CObject*()> make;
    std::function<void(CObject&)> fill;
    std::function<std::string(CObject&)> describe;
    std::function<void(CObject&)> release;
};

std::string Text(const CString& s) {
    std::string out;
    for (char16_t u : s.str()) {
        out += static_cast<char>(u);
    }
    return out;
}

template <class Map, class Key, class Value, class Show>
std::string DescribeMapInKeyOrder(Map& map, Show show) {
    std::vector<std::string> items;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        Key key{};
        Value value{};
        map.GetNextAssoc(pos, key, value);
        items.push_back(show(key, value));
    }
    std::sort(items.begin(), items.end());
    std::string out;
    for (const auto& item : items) {
        out += item + ";";
    }
    return out;
}

template <class T>
Kind Make(
    const char* name, std::function<void(T&)> fill, std::function<std::string(T&)> describe,
    std::function<void(T&)> release = [](T&) {}) {
    return {name, [] { return static_cast<CObject*>(new T); },
            [fill](CObject& c) { fill(static_cast<T&>(c)); },
            [describe](CObject& c) { return describe(static_cast<T&>(c)); },
            [release](CObject& c) { release(static_cast<T&>(c)); }};
}

template <class Array>
std::string DescribeNumbers(Array& a) {
    std::string out;
    for (INT_PTR i = 0; i < a.GetSize(); ++i) {
        out += std::to_string(a[i]) + ",";
    }
    return out;
}

std::vector<Kind> Kinds() {
    return {
        Make<CByteArray>(
            "CByteArray",
            [](CByteArray& a) {
                for (int i = 0; i < 300; ++i) {
                    a.Add(static_cast<BYTE>(i));
                }
            },
            DescribeNumbers<CByteArray>),
        Make<CWordArray>(
            "CWordArray",
            [](CWordArray& a) {
                a.Add(0);
                a.Add(0xFFFF);
                a.Add(0x1234);
            },
            DescribeNumbers<CWordArray>),
        Make<CDWordArray>(
            "CDWordArray",
            [](CDWordArray& a) {
                a.Add(0xDEADBEEF);
                a.Add(7);
            },
            DescribeNumbers<CDWordArray>),
        Make<CUIntArray>(
            "CUIntArray",
            [](CUIntArray& a) {
                a.Add(0xFFFFFFFF);
                a.Add(1);
            },
            DescribeNumbers<CUIntArray>),
        Make<CStringArray>(
            "CStringArray",
            [](CStringArray& a) {
                a.Add(u"COM1");
                a.Add(u"");
                a.Add(u"\u00B0C \u4E2D");
            },
            [](CStringArray& a) {
                std::string out;
                for (INT_PTR i = 0; i < a.GetSize(); ++i) {
                    out += Text(a[i]) + "|";
                }
                return out;
            }),
        Make<CObArray>(
            "CObArray",
            [](CObArray& a) {
                auto* shared = new CollectionProbe(2);
                a.Add(new CollectionProbe(1));
                a.Add(nullptr);
                a.Add(shared);
                a.Add(shared); // stored once, loaded as the same object
            },
            [](CObArray& a) {
                std::string out;
                for (INT_PTR i = 0; i < a.GetSize(); ++i) {
                    out += std::to_string(Value(a[i])) + ",";
                }
                return out + (a.GetSize() == 4 && a[2] == a[3] ? "shared" : "distinct");
            },
            [](CObArray& a) {
                if (a.GetSize() == 4 && a[2] == a[3]) {
                    a.RemoveAt(3);
                }
                DeleteAll(a);
            }),
        Make<CStringList>(
            "CStringList",
            [](CStringList& l) {
                l.AddTail(u"b");
                l.AddHead(u"a");
                l.AddTail(u"");
            },
            [](CStringList& l) {
                std::string out;
                for (POSITION p = l.GetHeadPosition(); p;) {
                    out += Text(l.GetNext(p)) + "|";
                }
                return out;
            }),
        Make<CObList>(
            "CObList",
            [](CObList& l) {
                l.AddTail(new CollectionProbe(5));
                l.AddTail(new CollectionProbe(6));
            },
            [](CObList& l) {
                std::string out;
                for (POSITION p = l.GetHeadPosition(); p;) {
                    out += std::to_string(Value(l.GetNext(p))) + ",";
                }
                return out;
            },
            [](CObList& l) { DeleteAll(l); }),
        Make<CMapStringToString>(
            "CMapStringToString",
            [](CMapStringToString& m) {
                for (int i = 0; i < 40; ++i) {
                    CString k;
                    k.Format(u"k%d", i);
                    m[k] = k + u"=v";
                }
            },
            [](CMapStringToString& m) {
                return DescribeMapInKeyOrder<CMapStringToString, CString, CString>(
                    m, [](const CString& k, const CString& v) { return Text(k) + ">" + Text(v); });
            }),
        Make<CMapStringToOb>(
            "CMapStringToOb",
            [](CMapStringToOb& m) {
                m[u"x"] = new CollectionProbe(1);
                m[u"y"] = nullptr;
            },
            [](CMapStringToOb& m) {
                return DescribeMapInKeyOrder<CMapStringToOb, CString, CObject*>(
                    m, [](const CString& k, CObject* v) { return Text(k) + ">" + std::to_string(Value(v)); });
            },
            [](CMapStringToOb& m) { DeleteValues(m); }),
        Make<CMapWordToOb>(
            "CMapWordToOb",
            [](CMapWordToOb& m) {
                m[0xFFFF] = new CollectionProbe(1);
                m[16] = new CollectionProbe(2);
            },
            [](CMapWordToOb& m) {
                return DescribeMapInKeyOrder<CMapWordToOb, WORD, CObject*>(
                    m, [](WORD k, CObject* v) { return std::to_string(k) + ">" + std::to_string(Value(v)); });
            },
            [](CMapWordToOb& m) { DeleteValues(m); }),
        Make<CArray<LONGLONG, LONGLONG>>(
            "CArray<LONGLONG>",
            [](CArray<LONGLONG, LONGLONG>& a) {
                a.Add(-1);
                a.Add(1LL << 40);
            },
            DescribeNumbers<CArray<LONGLONG, LONGLONG>>),
        Make<CList<CString>>(
            "CList<CString>",
            [](CList<CString>& l) {
                l.AddTail(CString(u"one"));
                l.AddTail(CString(u"two"));
            },
            [](CList<CString>& l) {
                std::string out;
                for (POSITION p = l.GetHeadPosition(); p;) {
                    out += Text(l.GetNext(p)) + "|";
                }
                return out;
            }),
        Make<CMap<int, int, CString, LPCTSTR>>(
            "CMap<int, CString>",
            [](CMap<int, int, CString, LPCTSTR>& m) {
                m[-5] = u"minus";
                m[99] = u"ninety-nine";
            },
            [](CMap<int, int, CString, LPCTSTR>& m) {
                return DescribeMapInKeyOrder<CMap<int, int, CString, LPCTSTR>, int, CString>(
                    m, [](int k, const CString& v) { return std::to_string(k) + ">" + Text(v); });
            }),
    };
}

TEST(CollectionSerialize, RoundTripsAndTruncationsRaiseEndOfFile) {
    for (const Kind& kind : Kinds()) {
        std::unique_ptr<CObject> original(kind.make());
        kind.fill(*original);
        const std::vector<BYTE> bytes = Store(*original);
        ASSERT_FALSE(bytes.empty()) << kind.name;

        std::unique_ptr<CObject> loaded(kind.make());
        EXPECT_EQ(Load(*loaded, bytes), -1) << kind.name;
        EXPECT_EQ(kind.describe(*loaded), kind.describe(*original)) << kind.name;
        EXPECT_EQ(Store(*loaded).size(), bytes.size()) << kind.name;
        kind.release(*loaded);

        // Every proper prefix runs out of data somewhere.
        for (size_t cut = 0; cut < bytes.size(); cut += std::max<size_t>(1, bytes.size() / 40)) {
            const std::set<CollectionProbe*> before = CollectionProbe::Live();
            std::unique_ptr<CObject> partial(kind.make());
            EXPECT_EQ(
                Load(*partial, std::vector<BYTE>(bytes.begin(), bytes.begin() + static_cast<long>(cut))),
                CArchiveException::endOfFile)
                << kind.name << " cut at " << cut;
            kind.release(*partial);
            // Objects read completely are the collection's; only the one cut short may be left over.
            std::vector<CollectionProbe*> stray;
            for (CollectionProbe* probe : CollectionProbe::Live()) {
                if (!before.count(probe)) {
                    stray.push_back(probe);
                }
            }
            EXPECT_LE(stray.size(), 1u) << kind.name << " cut at " << cut;
            for (CollectionProbe* probe : stray) {
                delete probe;
            }
        }
        kind.release(*original);
    }
}

TEST(CollectionSerialize, ValueArraysStoreTheCountThenRawLittleEndianValues) {
    CWordArray words;
    words.Add(1);
    words.Add(0x0203);
    EXPECT_EQ(Store(words), (std::vector<BYTE>{2, 0, 1, 0, 3, 2}));

    CDWordArray big;
    big.SetSize(0x10001);
    for (INT_PTR i = 0; i < big.GetSize(); ++i) {
        big[i] = static_cast<DWORD>(i * 3);
    }
    const std::vector<BYTE> bytes = Store(big);
    ASSERT_EQ(bytes.size(), 6 + 4 * 0x10001u);
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + 10),
              (std::vector<BYTE>{0xFF, 0xFF, 1, 0, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(std::vector<BYTE>(bytes.end() - 4, bytes.end()), (std::vector<BYTE>{0, 0, 3, 0})); // 0x30000
    CDWordArray loaded;
    EXPECT_EQ(Load(loaded, bytes), -1);
    ASSERT_EQ(loaded.GetSize(), big.GetSize());
    EXPECT_EQ(std::memcmp(loaded.GetData(), big.GetData(), 4 * 0x10001u), 0);
}

TEST(CollectionSerialize, AHugeCountWithLittleDataFailsWithoutAllocatingIt) {
    // WORD 0xFFFF escape, then DWORD 0xFFFFFFFE elements, then 8 bytes of data.
    const std::vector<BYTE> bytes = {0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8};
    CDWordArray dwords;
    EXPECT_EQ(Load(dwords, bytes), CArchiveException::endOfFile);
    EXPECT_LE(dwords.GetCapacity(), 4096);
    CStringArray strings;
    EXPECT_EQ(Load(strings, bytes), CArchiveException::endOfFile);
    EXPECT_LE(strings.GetCapacity(), 4096);
    CMapStringToString map;
    EXPECT_EQ(Load(map, bytes), CArchiveException::endOfFile);
}

TEST(CollectionSerialize, PointerCollectionsStoreNothing) {
    int x = 0;
    CPtrArray pointers;
    pointers.Add(&x);
    CMapPtrToPtr map;
    map[&x] = &x;
    EXPECT_TRUE(Store(pointers).empty());
    EXPECT_TRUE(Store(map).empty());
}

TEST(CollectionSerialize, ElementsWithoutAnArchiveFormAreRefused) {
    struct Opaque {
        std::string text;
    };
    CArray<Opaque> opaque;
    opaque.SetSize(1);
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    bool refused = false;
    try {
        opaque.Serialize(ar);
    } catch (CNotSupportedException* e) {
        refused = true;
        e->Delete();
    }
    EXPECT_TRUE(refused);
}

} // namespace
