#include "platform/base/Collections.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Sized {
    INT_PTR size;
    INT_PTR capacity;
};

TEST(CollectionArray, GrowthFollowsTheIncrementRule) {
    struct Step {
        INT_PTR newSize;
        INT_PTR growBy;
        Sized expected;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        // First allocation is exact; then size/8 clamped to 4..1024 over the old
        // capacity.
        {"default",
         {{1, -1, {1, 1}},
          {2, -1, {2, 5}},
          {5, -1, {5, 5}},
          {6, -1, {6, 9}},
          {100, -1, {100, 100}},
          {101, -1, {101, 112}},
          {300, -1, {300, 300}},
          {301, -1, {301, 337}}}},
        {"clamped to 1024", {{20000, -1, {20000, 20000}}, {20001, -1, {20001, 21024}}}},
        {"a jump past the increment", {{10, -1, {10, 10}}, {50, -1, {50, 50}}}},
        // An explicit increment also sets the minimum first allocation; 0
        // restores the rule.
        {"growBy 32", {{10, 32, {10, 32}}, {33, -1, {33, 64}}, {65, -1, {65, 96}}}},
        {"growBy 0 again", {{10, 32, {10, 32}}, {33, 0, {33, 36}}}},
        // Shrinking keeps the storage; size 0 releases it.
        {"shrink", {{40, -1, {40, 40}}, {3, -1, {3, 40}}, {41, -1, {41, 44}}, {0, -1, {0, 0}}}},
    };
    for (const Case& c : cases) {
        CDWordArray array;
        for (const Step& step : c.steps) {
            array.SetSize(step.newSize, step.growBy);
            EXPECT_EQ(array.GetSize(), step.expected.size) << c.name;
            EXPECT_EQ(array.GetCapacity(), step.expected.capacity) << c.name << " size " << step.newSize;
            EXPECT_EQ(array.GetUpperBound(), step.expected.size - 1) << c.name;
        }
    }
}

TEST(CollectionArray, AddGrowsByTheRuleAndAnswersTheIndex) {
    CWordArray array;
    std::vector<INT_PTR> capacities;
    for (WORD i = 0; i < 14; ++i) {
        EXPECT_EQ(array.Add(i), i);
        capacities.push_back(array.GetCapacity());
    }
    EXPECT_EQ(capacities, (std::vector<INT_PTR>{1, 5, 5, 5, 5, 9, 9, 9, 9, 13, 13, 13, 13, 17}));
    array.FreeExtra();
    EXPECT_EQ(array.GetCapacity(), 14);
    EXPECT_EQ(array[13], 13);
}

TEST(CollectionArray, NewElementsAreZeroEvenInReusedStorage) {
    CByteArray bytes;
    bytes.SetSize(10);
    for (INT_PTR i = 0; i < 10; ++i) {
        bytes[i] = 0xAB;
    }
    bytes.SetSize(3);
    bytes.SetSize(10); // same storage, stale bytes behind the size
    bytes.SetAtGrow(12, 7);
    ASSERT_EQ(bytes.GetSize(), 13);
    for (INT_PTR i = 0; i < 13; ++i) {
        EXPECT_EQ(bytes[i], i < 3 ? 0xAB : i == 12 ? 7 : 0) << i;
    }

    CStringArray strings;
    strings.SetSize(4);
    strings[1] = u"x";
    strings.SetSize(1);
    strings.SetSize(3);
    EXPECT_TRUE(strings[1].IsEmpty());
}

// Runs the same edits on a plain-value array and a string array (whose elements
// must be moved, not copied bytewise) and answers both contents as text.
template <class Edit>
void ExpectEdits(Edit edit, const std::vector<int>& start, const std::vector<int>& expected,
                 const char* name) {
    CUIntArray numbers;
    CStringArray strings;
    for (int v : start) {
        numbers.Add(static_cast<UINT>(v));
        strings.Add(CString(std::u16string(1, static_cast<char16_t>(u'a' + v))));
    }
    edit(numbers, [](int v) { return static_cast<UINT>(v); });
    edit(strings, [](int v) { return CString(std::u16string(1, static_cast<char16_t>(u'a' + v))); });
    ASSERT_EQ(numbers.GetSize(), static_cast<INT_PTR>(expected.size())) << name;
    ASSERT_EQ(strings.GetSize(), static_cast<INT_PTR>(expected.size())) << name;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(numbers[static_cast<INT_PTR>(i)], static_cast<UINT>(expected[i])) << name << " at " << i;
        // zero-filled number slots are empty string slots
        const CString want = expected[i] == 0
                                 ? CString()
                                 : CString(std::u16string(1, static_cast<char16_t>(u'a' + expected[i])));
        EXPECT_EQ(strings[static_cast<INT_PTR>(i)], want) << name << " at " << i;
    }
}

TEST(CollectionArray, InsertAndRemoveShiftTheRest) {
    const std::vector<int> start{1, 2, 3, 4, 5};
    ExpectEdits([](auto& a, auto v) { a.InsertAt(2, v(9), 3); }, start, {1, 2, 9, 9, 9, 3, 4, 5}, "insert 3");
    ExpectEdits([](auto& a, auto v) { a.InsertAt(0, v(9)); }, start, {9, 1, 2, 3, 4, 5}, "insert at 0");
    ExpectEdits([](auto& a, auto v) { a.InsertAt(5, v(9)); }, start, {1, 2, 3, 4, 5, 9}, "insert at end");
    ExpectEdits([](auto& a, auto v) { a.InsertAt(7, v(9), 2); }, start, {1, 2, 3, 4, 5, 0, 0, 9, 9},
                "insert past end grows");
    ExpectEdits([](auto& a, auto) { a.RemoveAt(1, 2); }, start, {1, 4, 5}, "remove 2");
    ExpectEdits([](auto& a, auto) { a.RemoveAt(4); }, start, {1, 2, 3, 4}, "remove last");
    ExpectEdits([](auto& a, auto) { a.RemoveAt(3, 10); }, start, {1, 2, 3}, "remove clamps count");
    ExpectEdits(
        [](auto& a, auto) {
            a.RemoveAt(5);
            a.RemoveAt(-1);
            a.RemoveAt(0, 0);
            a.InsertAt(-1, a[0]);
        },
        start, start, "bad indexes ignored");
    // Arguments that live in the array itself survive the reallocation or shift.
    ExpectEdits(
        [](auto& a, auto) {
            a.FreeExtra();
            a.Add(a[0]);
            a.InsertAt(0, a[4], 2);
            a.SetAtGrow(a.GetSize(), a[3]);
        },
        start, {5, 5, 1, 2, 3, 4, 5, 1, 2}, "self arguments");
}

TEST(CollectionArray, AppendCopyAndInsertArrays) {
    CStringArray a;
    CStringArray b;
    a.Add(u"a");
    a.Add(u"b");
    b.Add(u"x");
    b.Add(u"y");
    EXPECT_EQ(a.Append(b), 2);
    EXPECT_EQ(a.Append(a), 4); // itself: doubles
    a.InsertAt(1, &b);
    a.InsertAt(0, &a);
    CString joined;
    for (INT_PTR i = 0; i < a.GetSize(); ++i) {
        joined += a[i];
    }
    EXPECT_EQ(joined, CString(u"axybxyabxyaxybxyabxy"));

    b.Copy(a);
    EXPECT_EQ(b.GetSize(), 20);
    EXPECT_EQ(b[19], CString(u"y"));
    b.Copy(b);
    EXPECT_EQ(b.GetSize(), 20);
}

TEST(CollectionArray, OutOfRangeAccessTouchesNothing) {
    CDWordArray array;
    array.Add(5);
    EXPECT_EQ(array.GetAt(-1), 0u);
    EXPECT_EQ(array.GetAt(1), 0u);
    array.SetAt(1, 9);
    array.ElementAt(3) = 9; // a scratch element, not the array
    EXPECT_EQ(array[3], 0u);
    EXPECT_EQ(array.GetSize(), 1);
    EXPECT_EQ(array[0], 5u);

    CObArray objects;
    EXPECT_EQ(objects.GetAt(0), nullptr);
    EXPECT_EQ(objects.GetData(), nullptr);
}

class Probe : public CObject {
public:
    explicit Probe(int v = 0) : value(v) {}
    int value;
};

TEST(CollectionArray, TypedPointerArraysAndCustomElements) {
    Probe p1(1);
    Probe p2(2);
    CTypedPtrArray<CObArray, Probe*> probes;
    probes.Add(&p1);
    probes.InsertAt(0, &p2);
    probes[1] = &p2;
    EXPECT_EQ(probes.GetAt(0)->value, 2);
    EXPECT_EQ(probes[1]->value, 2);
    EXPECT_TRUE(probes.IsKindOf(RUNTIME_CLASS(CObArray)));

    CTypedPtrArray<CPtrArray, int*> ints;
    int x = 4;
    ints.SetAtGrow(2, &x);
    EXPECT_EQ(ints.GetSize(), 3);
    EXPECT_EQ(ints[0], nullptr);
    EXPECT_EQ(*ints[2], 4);

    struct Point {
        int x = 7;
        std::string label = "p";
    };
    CArray<Point> points;
    points.SetSize(3);
    points[1].x = 1;
    points.RemoveAt(0);
    points.InsertAt(1, Point{9, "q"});
    ASSERT_EQ(points.GetSize(), 3);
    EXPECT_EQ(points[0].x, 1);
    EXPECT_EQ(points[1].label, "q");
    EXPECT_EQ(points[2].x, 7);
}

TEST(CollectionArray, RunTimeClassesAsDeclared) {
    struct Expect {
        const CObject& object;
        const char* name;
        bool serializable;
    };
    CObArray ob;
    CPtrArray ptr;
    CByteArray byte;
    CWordArray word;
    CDWordArray dword;
    CUIntArray uint;
    CStringArray string;
    const Expect expects[] = {{ob, "CObArray", true},        {ptr, "CPtrArray", false},
                              {byte, "CByteArray", true},    {word, "CWordArray", true},
                              {dword, "CDWordArray", true},  {uint, "CUIntArray", true},
                              {string, "CStringArray", true}};
    for (const Expect& e : expects) {
        EXPECT_STREQ(e.object.GetRuntimeClass()->m_lpszClassName, e.name);
        EXPECT_EQ(e.object.IsSerializable(), e.serializable ? TRUE : FALSE) << e.name;
        EXPECT_EQ(CRuntimeClass::FromName(e.name), e.object.GetRuntimeClass());
    }
    CObject* created = RUNTIME_CLASS(CStringArray)->CreateObject();
    EXPECT_TRUE(created->IsKindOf(RUNTIME_CLASS(CStringArray)));
    delete created;
}

} // namespace
