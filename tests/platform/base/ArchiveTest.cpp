#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"
#include "platform/base/CSharedFile.h"
#include "tests/platform/base/ArchiveTestClasses.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using archivetest::CArcLeaf;
using archivetest::CArcNode;
using archivetest::CArcTiny;
using archivetest::Tracked;

namespace {
using Bytes = std::vector<BYTE>;

// root -> (leaf, kid), kid -> (the same leaf, null); then a single-byte string, a UTF-16 string and a null.
const Bytes kGraph = {
    0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00, 'C',  'A',  'r', 'c', 'N', 'o',
    'd',  'e',                                                        // new class CArcNode (1); root (2)
    0xFF, 0xFE, 0xFF, 0x04, 'r',  0,    'o',  0,    'o', 0,   't', 0, // root's name, UTF-16
    0xFF, 0xFF, 0x02, 0x00, 0x08, 0x00, 'C',  'A',  'r', 'c', 'L', 'e',
    'a',  'f',                                              // new class CArcLeaf (3); leaf (4)
    0x07, 0x00, 0x02, 0x00, 0x01, 0x00, 0x02, 0x00,         // value 7; count 2: items 1, 2
    0x01, 0x80,                                             // class 1 again; kid (5)
    0xFF, 0xFE, 0xFF, 0x03, 'k',  0,    'i',  0,    'd', 0, // kid's name
    0x04, 0x00,                                             // kid's left: object 4 (the leaf)
    0x00, 0x00,                                             // kid's right: null
    0x05, 'G',  'r',  0xFC, 0xDF, 'e',                      // single-byte "Grüße"
    0xFF, 0xFE, 0xFF, 0x01, 0xA9, 0x03,                     // UTF-16 "Ω"
    0x00, 0x00,                                             // a null object
};

struct Graph {
    CObject* root = nullptr;
    CString singleByte;
    CString utf16;
    CObject* null = reinterpret_cast<CObject*>(1);
};

void ReadGraph(CArchive& ar, Graph& g) {
    ar >> g.root >> g.singleByte >> g.utf16 >> g.null;
}

void WriteGraph(CArchive& ar, const Graph& g) {
    ar << g.root;
    ar.SetStringForm(true);
    ar << g.singleByte;
    ar.SetStringForm(false);
    ar << g.utf16 << static_cast<const CObject*>(nullptr);
}

Bytes Contents(CFile& file) {
    Bytes out(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    EXPECT_EQ(file.Read(out.data(), static_cast<UINT>(out.size())), out.size());
    return out;
}

Bytes Store(const std::function<void(CArchive&)>& write) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
    }
    return Contents(file);
}

void Load(const Bytes& bytes, const std::function<void(CArchive&)>& read) {
    CMemFile file(const_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    read(ar);
}

// The archive exception's cause (-1 when the read succeeds); frees what a failed load left behind.
int LoadCause(const Bytes& bytes, const std::function<void(CArchive&)>& read) {
    int cause = -1;
    try {
        Load(bytes, read);
    } catch (CArchiveException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    Tracked::DeleteAll();
    return cause;
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A file that, like a pipe, cannot tell its length: the archive must read long data in bounded pieces.
class UnsizedFile : public CMemFile {
public:
    explicit UnsizedFile(const Bytes& bytes) {
        Write(bytes.data(), static_cast<UINT>(bytes.size())), SeekToBegin();
    }
    ULONGLONG GetLength() const override { AfxThrowNotSupportedException(); }
};

class ArchiveTest : public ::testing::Test {
protected:
    void TearDown() override { Tracked::DeleteAll(); }
};
} // namespace

TEST_F(ArchiveTest, GraphFixtureReadsAndWritesBackByteForByte) {
    Graph g;
    Load(kGraph, [&](CArchive& ar) { ReadGraph(ar, g); });

    auto* root = dynamic_cast<CArcNode*>(g.root);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->m_name, u"root");
    auto* leaf = dynamic_cast<CArcLeaf*>(root->m_left);
    ASSERT_NE(leaf, nullptr);
    EXPECT_EQ(leaf->m_value, 7);
    EXPECT_EQ(leaf->m_items, (std::vector<WORD>{1, 2}));
    EXPECT_EQ(leaf->m_loadedSchema, 2u);
    auto* kid = dynamic_cast<CArcNode*>(root->m_right);
    ASSERT_NE(kid, nullptr);
    EXPECT_EQ(kid->m_name, u"kid");
    EXPECT_EQ(kid->m_left, leaf) << "the shared object is loaded once";
    EXPECT_EQ(kid->m_right, nullptr);
    EXPECT_EQ(g.singleByte, u"Grüße");
    EXPECT_EQ(g.utf16, u"Ω");
    EXPECT_EQ(g.null, nullptr);
    EXPECT_EQ(Tracked::Live().size(), 3u);

    EXPECT_EQ(Store([&](CArchive& ar) { WriteGraph(ar, g); }), kGraph);
}

TEST_F(ArchiveTest, IndexesFrom0x7FFFUseTheLongTags) {
    // Class CArcTiny takes index 1, the tiny objects 2..0x8001; the node class then gets 0x8002.
    std::vector<CArcTiny*> tiny;
    for (WORD i = 0; i < 0x8000; ++i) {
        tiny.push_back(new CArcTiny(i));
    }
    CArcNode a(u"a"), b(u"b");
    Bytes bytes = Store([&](CArchive& ar) {
        for (auto* t : tiny) {
            ar << t;
        }
        ar << tiny[0x7FFD] << tiny[0] << &a << &b;
    });
    const Bytes tail = {
        0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x00, // object 0x7FFF
        0x02, 0x00,                         // object 2
        0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00, 'C',  'A',  'r',  'c',
        'N',  'o',  'd',  'e',                                      // class 0x8002; a (0x8003)
        0xFF, 0xFE, 0xFF, 0x01, 'a',  0x00, 0x00, 0x00, 0x00, 0x00, // a: name, two nulls
        0xFF, 0x7F, 0x02, 0x80, 0x00, 0x80,                         // class 0x8002 again; b
        0xFF, 0xFE, 0xFF, 0x01, 'b',  0x00, 0x00, 0x00, 0x00, 0x00, // b: name, two nulls
    };
    ASSERT_GT(bytes.size(), tail.size());
    EXPECT_EQ(Bytes(bytes.end() - static_cast<std::ptrdiff_t>(tail.size()), bytes.end()), tail);

    Load(bytes, [&](CArchive& ar) {
        std::vector<CObject*> loaded(0x8000);
        for (auto& object : loaded) {
            ar >> object;
        }
        CObject *again = nullptr, *first = nullptr, *la = nullptr, *lb = nullptr;
        ar >> again >> first >> la >> lb;
        EXPECT_EQ(again, loaded[0x7FFD]);
        EXPECT_EQ(static_cast<CArcTiny*>(again)->m_value, 0x7FFD);
        EXPECT_EQ(first, loaded[0]);
        EXPECT_EQ(static_cast<CArcNode*>(la)->m_name, u"a");
        EXPECT_EQ(static_cast<CArcNode*>(lb)->m_name, u"b");
    });
}

TEST_F(ArchiveTest, EveryCutOfTheFixtureEndsInEndOfFile) {
    for (size_t cut = 0; cut < kGraph.size(); ++cut) {
        Bytes part(kGraph.begin(), kGraph.begin() + static_cast<std::ptrdiff_t>(cut));
        Graph g;
        EXPECT_EQ(LoadCause(part, [&](CArchive& ar) { ReadGraph(ar, g); }), CArchiveException::endOfFile)
            << "cut at " << cut;
        // The same through a file that cannot tell its length.
        int cause = -1;
        try {
            UnsizedFile file(part);
            CArchive ar(&file, CArchive::load);
            ReadGraph(ar, g);
        } catch (CArchiveException* e) {
            cause = e->m_cause;
            e->Delete();
        }
        Tracked::DeleteAll();
        EXPECT_EQ(cause, CArchiveException::endOfFile) << "unsized, cut at " << cut;
    }
}

TEST_F(ArchiveTest, CorruptArchivesRaiseTheMatchingCause) {
    auto readObject = [](CArchive& ar) {
        CObject* object = nullptr;
        ar >> object;
    };
    auto readTwoObjects = [](CArchive& ar) {
        CObject *a = nullptr, *b = nullptr;
        ar >> a >> b;
    };
    auto readString = [](CArchive& ar) {
        CString s;
        ar >> s;
    };
    auto readCount = [](CArchive& ar) { ar.ReadCount(); };
    const Bytes tiny = {0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00, 'C',  'A',
                        'r',  'c',  'T',  'i',  'n',  'y',  0x05, 0x00};
    struct Case {
        const char* what;
        Bytes bytes;
        std::function<void(CArchive&)> read;
        int cause;
    };
    const Case cases[] = {
        {"unknown class",
         {0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00, 'C', 'A', 'r', 'c', 'N', 'o', 'X', 'e', 0, 0},
         readObject,
         CArchiveException::badClass},
        {"class name too long to be ours", Concat({0xFF, 0xFF, 0x01, 0x00, 0x40, 0x00}, Bytes(64, 'C')),
         readObject, CArchiveException::badClass},
        {"name with a zero in it",
         {0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00, 'C', 'A', 'r', 'c', 'T', 'i', 'n', 'y', 0, 5, 0},
         readObject,
         CArchiveException::badClass},
        {"class that cannot be serialised",
         {0xFF, 0xFF, 0xFF, 0xFF, 0x07, 0x00, 'C', 'O', 'b', 'j', 'e', 'c', 't'},
         readObject,
         CArchiveException::badClass},
        {"exception class",
         Concat({0xFF, 0xFF, 0xFF, 0xFF, 0x0E, 0x00},
                Bytes{'C', 'F', 'i', 'l', 'e', 'E', 'x', 'c', 'e', 'p', 't', 'i', 'o', 'n'}),
         readObject, CArchiveException::badClass},
        {"schema the class does not accept",
         {0xFF, 0xFF, 0x09, 0x00, 0x08, 0x00, 'C', 'A', 'r', 'c', 'T', 'i', 'n', 'y', 5, 0},
         readObject,
         CArchiveException::badSchema},
        {"object index beyond the map", {0x05, 0x00}, readObject, CArchiveException::badIndex},
        {"long object index beyond the map",
         {0xFF, 0x7F, 0x00, 0x01, 0x00, 0x00},
         readObject,
         CArchiveException::badIndex},
        {"class index 0", {0x00, 0x80, 0x05, 0x00}, readObject, CArchiveException::badIndex},
        {"class index beyond the map", {0x07, 0x80, 0x05, 0x00}, readObject, CArchiveException::badIndex},
        {"long class index beyond the map",
         {0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF},
         readObject,
         CArchiveException::badIndex},
        {"object reference naming a class", Concat(tiny, {0x01, 0x00}), readTwoObjects,
         CArchiveException::badIndex},
        {"class reference naming an object", Concat(tiny, {0x02, 0x80, 0x06, 0x00}), readTwoObjects,
         CArchiveException::badIndex},
        {"UTF-16 string longer than the data",
         {0xFF, 0xFE, 0xFF, 0xFF, 0x00, 0x10, 'a', 0},
         readString,
         CArchiveException::endOfFile},
        {"single-byte string of 2 GB",
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'},
         readString,
         CArchiveException::endOfFile},
        {"string with a 64-bit length",
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 1, 0, 0, 0},
         readString,
         CArchiveException::endOfFile},
        {"count beyond the data",
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0},
         readCount,
         CArchiveException::endOfFile},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LoadCause(c.bytes, c.read), c.cause) << c.what;
    }
}

TEST_F(ArchiveTest, ObjectsOfTheWrongClassAreRefused) {
    const Bytes tiny = {0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00, 'C',  'A',
                        'r',  'c',  'T',  'i',  'n',  'y',  0x05, 0x00};
    EXPECT_EQ(LoadCause(tiny, [](CArchive& ar) { ar.ReadObject(RUNTIME_CLASS(CArcNode)); }),
              CArchiveException::badClass);
    // A reference to an object already loaded is checked as well.
    EXPECT_EQ(LoadCause(Concat(tiny, {0x02, 0x00}),
                        [](CArchive& ar) {
                            ar.ReadObject(RUNTIME_CLASS(CArcTiny));
                            ar.ReadObject(RUNTIME_CLASS(CArcNode));
                        }),
              CArchiveException::badClass);
    // Asking for a class that cannot be in an archive at all is a programming error.
    EXPECT_THROW(Load(tiny, [](CArchive& ar) { ar.ReadObject(RUNTIME_CLASS(CObject)); }),
                 CNotSupportedException*);
    // ReadClass without room for an object index refuses an object reference.
    EXPECT_EQ(LoadCause({0x00, 0x00}, [](CArchive& ar) { ar.ReadClass(); }), CArchiveException::badIndex);
}

TEST_F(ArchiveTest, VersionableClassesReadOlderSchemasOncePerObject) {
    // Two leaves stored with schema 1 (no item list): the second refers to the class by index.
    const Bytes old = {0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00, 'C',  'A',  'r',  'c',
                       'L',  'e',  'a',  'f',  0x07, 0x00, 0x01, 0x80, 0x08, 0x00};
    Load(old, [](CArchive& ar) {
        CObject *a = nullptr, *b = nullptr;
        ar >> a >> b;
        auto* first = static_cast<CArcLeaf*>(a);
        auto* second = static_cast<CArcLeaf*>(b);
        EXPECT_EQ(first->m_value, 7);
        EXPECT_EQ(first->m_loadedSchema, 1u);
        EXPECT_EQ(first->m_schemaAskedTwice, static_cast<UINT>(-1));
        EXPECT_EQ(second->m_value, 8);
        EXPECT_EQ(second->m_loadedSchema, 1u);
    });
}

TEST_F(ArchiveTest, CyclesAndMappedObjectsRoundTrip) {
    CArcNode loop(u"loop");
    loop.m_left = &loop;
    CArcTiny mapped(3);
    Bytes bytes = Store([&](CArchive& ar) {
        ar.MapObject(&mapped); // index 1: never written, referred to as such
        ar << &loop << &mapped;
    });
    EXPECT_EQ(Bytes(bytes.end() - 2, bytes.end()), (Bytes{0x01, 0x00}));
    Load(bytes, [&](CArchive& ar) {
        ar.MapObject(&mapped);
        CObject *object = nullptr, *again = nullptr;
        ar >> object >> again;
        auto* node = dynamic_cast<CArcNode*>(object);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->m_left, node);
        EXPECT_EQ(again, &mapped);
    });
}

TEST_F(ArchiveTest, NestingIsLimitedSoHostileFilesCannotExhaustTheStack) {
    auto nested = [](int depth) {
        Bytes bytes = {0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00, 'C', 'A', 'r', 'c', 'N', 'o', 'd', 'e', 0x00};
        for (int i = 1; i < depth; ++i) {
            bytes.insert(bytes.end(),
                         {0x01, 0x80, 0x00}); // a node with an empty name, as the left of the last
        }
        for (int i = 0; i <= depth; ++i) {
            bytes.insert(bytes.end(), {0x00, 0x00}); // the innermost left, then every right
        }
        return bytes;
    };
    auto read = [](CArchive& ar) {
        CObject* root = nullptr;
        ar >> root;
        EXPECT_TRUE(ar.IsBufferEmpty());
    };
    EXPECT_EQ(LoadCause(nested(2048), read), -1);
    EXPECT_EQ(LoadCause(nested(2049), read), CArchiveException::genericException);
}

TEST_F(ArchiveTest, ValuesAreLittleEndianWithTheirOriginalWidths) {
    Bytes bytes = Store([](CArchive& ar) {
        ar << static_cast<BYTE>(0x01) << static_cast<WORD>(0x0203) << static_cast<LONG>(-2)
           << static_cast<DWORD>(0x04050607) << 1.5f << -2.0 << static_cast<short>(-3) << 'c' << true
           << static_cast<LONGLONG>(-4) << static_cast<ULONGLONG>(0x0102030405060708ULL) << u'\u20AC' << 5
           << 6u;
    });
    const Bytes expected = {0x01, 0x03, 0x02, 0xFE, 0xFF, 0xFF, 0xFF, 0x07, 0x06, 0x05, 0x04,
                            0x00, 0x00, 0xC0, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                            0xC0, 0xFD, 0xFF, 'c',  0x01, 0xFC, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                            0xFF, 0xFF, 0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01, 0xAC,
                            0x20, 0x05, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00};
    EXPECT_EQ(bytes, expected);
    Load(bytes, [](CArchive& ar) {
        BYTE b;
        WORD w;
        LONG l;
        DWORD d;
        float f;
        double x;
        short s;
        char c;
        bool t;
        LONGLONG ll;
        ULONGLONG ull;
        char16_t u;
        int i;
        unsigned n;
        ar >> b >> w >> l >> d >> f >> x >> s >> c >> t >> ll >> ull >> u >> i >> n;
        EXPECT_EQ(b, 1);
        EXPECT_EQ(w, 0x0203);
        EXPECT_EQ(l, -2);
        EXPECT_EQ(d, 0x04050607u);
        EXPECT_EQ(f, 1.5f);
        EXPECT_EQ(x, -2.0);
        EXPECT_EQ(s, -3);
        EXPECT_EQ(c, 'c');
        EXPECT_TRUE(t);
        EXPECT_EQ(ll, -4);
        EXPECT_EQ(ull, 0x0102030405060708ULL);
        EXPECT_EQ(u, u'\u20AC');
        EXPECT_EQ(i, 5);
        EXPECT_EQ(n, 6u);
        EXPECT_TRUE(ar.IsBufferEmpty());
    });
    EXPECT_EQ(LoadCause({0x01},
                        [](CArchive& ar) {
                            WORD more;
                            ar >> more;
                        }),
              CArchiveException::endOfFile);
}

TEST_F(ArchiveTest, CountsSwitchToTheLongFormAt0xFFFF) {
    struct Case {
        DWORD_PTR count;
        Bytes bytes;
    };
    const Case cases[] = {
        {0, {0x00, 0x00}},
        {0xFFFE, {0xFE, 0xFF}},
        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {0x12345, {0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Store([&](CArchive& ar) { ar.WriteCount(c.count); }), c.bytes) << c.count;
        // A count is believed only when the data could hold that many elements.
        Load(Concat(c.bytes, Bytes(c.count, 0)), [&](CArchive& ar) { EXPECT_EQ(ar.ReadCount(), c.count); });
        if (c.count > 0) {
            EXPECT_EQ(LoadCause(Concat(c.bytes, Bytes(c.count - 1, 0)), [](CArchive& ar) { ar.ReadCount(); }),
                      CArchiveException::endOfFile);
        }
    }
}

TEST_F(ArchiveTest, StringLengthPrefixesInBothForms) {
    struct Case {
        int length;
        Bytes prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {0xFE, {0xFE}},
        {0xFF, {0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {0x10000, {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        const CString text(u'x', c.length);
        Bytes narrow = Store([&](CArchive& ar) {
            ar.SetStringForm(true);
            ar << text;
        });
        EXPECT_EQ(narrow, Concat(c.prefix, Bytes(static_cast<size_t>(c.length), 'x'))) << c.length;
        Bytes wide = Store([&](CArchive& ar) { ar << text; });
        Bytes units;
        for (int i = 0; i < c.length; ++i) {
            units.push_back('x');
            units.push_back(0);
        }
        EXPECT_EQ(wide, Concat(Concat({0xFF, 0xFE, 0xFF}, c.prefix), units)) << c.length;
        for (const Bytes* form : {&narrow, &wide}) {
            Load(*form, [&](CArchive& ar) {
                CString back;
                ar >> back;
                EXPECT_EQ(back, text);
            });
        }
    }
    // The single-byte form is Windows-1252; what it cannot hold becomes '?'.
    Bytes narrow = Store([](CArchive& ar) {
        ar.SetStringForm(true);
        ar << u"\u20AC\u4E2D";
    });
    EXPECT_EQ(narrow, (Bytes{0x02, 0x80, '?'}));
}

TEST_F(ArchiveTest, StoringAndLoadingOnlyGoOneWay) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        EXPECT_TRUE(ar.IsStoring());
        try {
            WORD w;
            ar >> w;
            ADD_FAILURE() << "loaded from a storing archive";
        } catch (CArchiveException* e) {
            EXPECT_EQ(e->m_cause, CArchiveException::writeOnly);
            e->Delete();
        }
        try {
            ar.ReadObject(nullptr);
            ADD_FAILURE() << "read an object from a storing archive";
        } catch (CArchiveException* e) {
            EXPECT_EQ(e->m_cause, CArchiveException::writeOnly);
            e->Delete();
        }
        CArcNode node(u"n");
        ar << &node;
        // Objects of classes that cannot be serialised cannot be written.
        CMemFile notSerialisable;
        EXPECT_THROW(ar << &notSerialisable, CNotSupportedException*);
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    try {
        ar << static_cast<WORD>(1);
        ADD_FAILURE() << "stored into a loading archive";
    } catch (CArchiveException* e) {
        EXPECT_EQ(e->m_cause, CArchiveException::readOnly);
        e->Delete();
    }
    try {
        ar.WriteObject(nullptr);
        ADD_FAILURE();
    } catch (CArchiveException* e) {
        EXPECT_EQ(e->m_cause, CArchiveException::readOnly);
        e->Delete();
    }
}

TEST_F(ArchiveTest, ReadIsShortAtTheEndAndBuffersLargeTransfers) {
    Bytes big(10000);
    for (size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<BYTE>(i * 7);
    }
    Bytes stored = Store([&](CArchive& ar) {
        ar << static_cast<BYTE>(1);
        ar.Write(big.data(), static_cast<UINT>(big.size()));
        ar << static_cast<BYTE>(2);
    });
    ASSERT_EQ(stored.size(), big.size() + 2);
    Load(stored, [&](CArchive& ar) {
        BYTE first;
        ar >> first;
        Bytes back(big.size());
        EXPECT_EQ(ar.Read(back.data(), static_cast<UINT>(back.size())), back.size());
        EXPECT_EQ(back, big);
        BYTE rest[8];
        EXPECT_EQ(ar.Read(rest, sizeof rest), 1u);
        EXPECT_EQ(rest[0], 2);
        EXPECT_EQ(ar.Read(rest, sizeof rest), 0u);
    });
}

TEST_F(ArchiveTest, ClosingALoadingArchiveGivesUnreadBytesBack) {
    const Bytes data = {1, 2, 3, 4, 5, 6};
    CMemFile file(const_cast<BYTE*>(data.data()), static_cast<UINT>(data.size()));
    {
        CArchive ar(&file, CArchive::load);
        WORD w;
        ar >> w;
    }
    EXPECT_EQ(file.GetPosition(), 2u);
}

TEST_F(ArchiveTest, LinesAreUtf16Units) {
    Bytes bytes = Store([](CArchive& ar) {
        ar.WriteString(u"first\r\n");
        ar.WriteString(u"second\n");
        ar.WriteString(u"third");
    });
    EXPECT_EQ(bytes.size(), (7u + 7u + 5u) * 2);
    Load(bytes, [](CArchive& ar) {
        CString line;
        EXPECT_TRUE(ar.ReadString(line));
        EXPECT_EQ(line, u"first");
        TCHAR buffer[16];
        EXPECT_EQ(ar.ReadString(buffer, static_cast<UINT>(-15)), buffer);
        EXPECT_EQ(std::u16string(buffer), u"second\n");
        EXPECT_EQ(ar.ReadString(buffer, 3), buffer);
        EXPECT_EQ(std::u16string(buffer), u"thi");
        EXPECT_TRUE(ar.ReadString(line));
        EXPECT_EQ(line, u"rd");
        EXPECT_FALSE(ar.ReadString(line));
        EXPECT_EQ(ar.ReadString(buffer, 15), nullptr);
    });
}

TEST_F(ArchiveTest, ArchivesOverDiskFilesBufferAndNameTheFileInErrors) {
    const std::string path = (testsupport::ScratchDir() / "graph.bin").string();
    const CString name(path.c_str());
    Graph g;
    Load(kGraph, [&](CArchive& ar) { ReadGraph(ar, g); });
    {
        CFile file(name, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store, 128); // a small buffer: many flushes on the way
        WriteGraph(ar, g);
        for (WORD i = 0; i < 1000; ++i) {
            ar << i;
        }
    }
    CFile file(name, CFile::modeRead);
    EXPECT_EQ(file.GetLength(), kGraph.size() + 2000);
    CArchive ar(&file, CArchive::load, 128);
    Graph back;
    ReadGraph(ar, back);
    EXPECT_EQ(static_cast<CArcNode*>(back.root)->m_name, u"root");
    for (WORD i = 0; i < 1000; ++i) {
        WORD w = 0;
        ar >> w;
        ASSERT_EQ(w, i);
    }
    try {
        BYTE more;
        ar >> more;
        ADD_FAILURE() << "read past the end";
    } catch (CArchiveException* e) {
        EXPECT_EQ(e->m_cause, CArchiveException::endOfFile);
        EXPECT_EQ(e->m_strFileName, file.GetFilePath());
        EXPECT_EQ(e->m_strFileName, CString(path.c_str()));
        e->Delete();
    }
}

TEST_F(ArchiveTest, LyingLengthsOverAPipeFailWithoutHugeAllocations) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    // A 1 GB UTF-16 string announced, a few units delivered.
    const Bytes bytes = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x20, 'a', 0, 'b', 0};
    ASSERT_EQ(write(fds[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    close(fds[1]);
    CFile pipeFile(CFile::FromDescriptor(fds[0]));
    int cause = -1;
    try {
        CArchive ar(&pipeFile, CArchive::load | CArchive::bNoFlushOnDelete);
        CString s;
        ar >> s;
    } catch (CArchiveException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(cause, CArchiveException::endOfFile);
    close(fds[0]);
}

TEST_F(ArchiveTest, SharedFileCarriesAnArchiveThroughItsHandle) {
    CArcNode node(u"clip");
    HGLOBAL handle;
    {
        CSharedFile file;
        {
            CArchive ar(&file, CArchive::store);
            ar << &node;
        }
        handle = file.Detach();
    }
    ASSERT_NE(handle, nullptr);
    CSharedFile file;
    file.SetHandle(handle, FALSE);
    CArchive ar(&file, CArchive::load);
    CObject* object = nullptr;
    ar >> object;
    ASSERT_NE(dynamic_cast<CArcNode*>(object), nullptr);
    EXPECT_EQ(static_cast<CArcNode*>(object)->m_name, u"clip");
}

TEST_F(ArchiveTest, SingleOwnerArchivesRefuseSharingAndLeaveNothingBehindAFailedLoad) {
    // The stored objects are gone before loading: LoadCause deletes every tracked object.
    const Bytes bytes = [] {
        CArcNode root(u"r");
        CArcTiny tiny(9);
        root.m_left = &tiny;
        return Store([&](CArchive& ar) { ar << &root; });
    }();
    auto readSingleOwner = [](CArchive& ar) {
        ar.SetSingleOwnerObjects(true);
        CObject* object = nullptr;
        ar >> object;
    };
    // Cut inside the tiny's value: both the tiny and the node holding it are deleted before the exception.
    const Bytes cut(bytes.begin(), bytes.end() - 5);
    try {
        Load(cut, readSingleOwner);
        ADD_FAILURE() << "a cut archive loaded";
    } catch (CArchiveException* e) {
        EXPECT_EQ(e->m_cause, CArchiveException::endOfFile);
        e->Delete();
    }
    EXPECT_TRUE(Tracked::Live().empty());

    const Bytes shared = [] {
        CArcNode loop(u"loop");
        loop.m_left = &loop;
        return Store([&](CArchive& ar) { ar << &loop; });
    }();
    EXPECT_EQ(LoadCause(shared, readSingleOwner), CArchiveException::badIndex);
    EXPECT_EQ(LoadCause(shared, [](CArchive& ar) {
                  CObject* object = nullptr;
                  ar >> object;
              }),
              -1)
        << "graphs may still share by default";
}

TEST_F(ArchiveTest, LoadMemoryBudgetStopsReadersThatBuildMoreThanTheyRead) {
    const Bytes empty;
    EXPECT_EQ(LoadCause(empty,
                        [](CArchive& ar) {
                            ar.SetLoadMemoryBudget(100);
                            ar.ChargeLoadMemory(60);
                            ar.ChargeLoadMemory(40);
                        }),
              -1);
    EXPECT_EQ(LoadCause(empty,
                        [](CArchive& ar) {
                            ar.SetLoadMemoryBudget(100);
                            ar.ChargeLoadMemory(60);
                            ar.ChargeLoadMemory(41);
                        }),
              CArchiveException::genericException);
    EXPECT_EQ(LoadCause(empty, [](CArchive& ar) { ar.ChargeLoadMemory(~0ull); }),
              CArchiveException::genericException)
        << "the default budget holds too";
}

TEST_F(ArchiveTest, OwnedReadsTakeOnlyNewObjectsAndDeleteWhatFailsToLoad) {
    const Bytes node = {0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00, 'C', 'A', 'r', 'c', 'N', 'o', 'd', 'e', 0x00};
    // Cut before the node's references: the half-loaded node is gone when the exception arrives.
    EXPECT_EQ(LoadCause(node, [](CArchive& ar) { ar.ReadOwnedObject(RUNTIME_CLASS(CArcNode)); }),
              CArchiveException::endOfFile);
    EXPECT_TRUE(Tracked::Live().empty());

    const Bytes whole = Concat(node, {0x00, 0x00, 0x00, 0x00});
    // A second reference to the same object would give it two owners.
    EXPECT_EQ(LoadCause(Concat(whole, {0x02, 0x00}),
                        [](CArchive& ar) {
                            ar.ReadOwnedObject(RUNTIME_CLASS(CArcNode));
                            ar.ReadOwnedObject(RUNTIME_CLASS(CArcNode));
                        }),
              CArchiveException::badIndex);
    Load(Concat(whole, {0x00, 0x00}), [](CArchive& ar) {
        std::unique_ptr<CObject> first(ar.ReadOwnedObject(RUNTIME_CLASS(CArcNode)));
        EXPECT_NE(dynamic_cast<CArcNode*>(first.get()), nullptr);
        EXPECT_EQ(ar.ReadOwnedObject(RUNTIME_CLASS(CArcNode)), nullptr);
    });
}
