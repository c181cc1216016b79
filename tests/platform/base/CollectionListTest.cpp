#include "platform/base/Collections.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The list's contents front to back, checked against a walk back to front.
std::u16string Contents(const CStringList& list) {
    std::u16string forward;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        forward += list.GetNext(pos).str();
    }
    std::u16string backward;
    for (POSITION pos = list.GetTailPosition(); pos;) {
        backward.insert(0, list.GetPrev(pos).str());
    }
    EXPECT_EQ(forward, backward);
    EXPECT_EQ(static_cast<INT_PTR>(forward.size()),
              list.GetCount()); // one unit per element here
    return forward;
}

TEST(CollectionList, InsertionsAroundHeadAndTailAnswerTheirPositions) {
    CStringList list;
    EXPECT_TRUE(list.IsEmpty());
    POSITION c = list.AddTail(u"c");
    POSITION b = list.InsertBefore(c, u"b");
    POSITION a = list.InsertBefore(b, u"a"); // before the head: new head
    POSITION e = list.InsertAfter(c, u"e");  // after the tail: new tail
    POSITION d = list.InsertAfter(c, u"d");
    POSITION z = list.InsertAfter(nullptr, u"z");
    POSITION y = list.InsertBefore(nullptr, u"y");
    EXPECT_EQ(Contents(list), u"yabcdez");
    EXPECT_EQ(list.GetHeadPosition(), y);
    EXPECT_EQ(list.GetTailPosition(), z);
    const std::pair<POSITION, const char16_t*> answered[] = {{a, u"a"}, {b, u"b"}, {d, u"d"}, {e, u"e"}};
    for (const auto& [pos, text] : answered) {
        EXPECT_EQ(list.GetAt(pos), CString(text));
    }
    list.SetAt(d, u"D");
    EXPECT_EQ(list.FindIndex(4), d);
    EXPECT_EQ(list.GetAt(list.FindIndex(4)), CString(u"D"));
    EXPECT_EQ(list.FindIndex(7), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);

    EXPECT_EQ(list.RemoveHead(), CString(u"y"));
    EXPECT_EQ(list.RemoveTail(), CString(u"z"));
    EXPECT_EQ(list.GetHead(), CString(u"a"));
    EXPECT_EQ(list.GetTail(), CString(u"e"));
    EXPECT_EQ(Contents(list), u"abcDe");
}

TEST(CollectionList, RemovingAtAPositionWhileIterating) {
    CStringList list;
    for (const char16_t* text : {u"1", u"2", u"3", u"4", u"5", u"6"}) {
        list.AddTail(text);
    }
    // The usual loop: remember the position, step past it, then remove it.
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        POSITION current = pos;
        const CString& value = list.GetNext(pos);
        if (value == u"1" || value == u"4" || value == u"6") {
            list.RemoveAt(current);
        }
    }
    EXPECT_EQ(Contents(list), u"235");
    list.RemoveAt(list.GetHeadPosition());
    list.RemoveAt(list.GetTailPosition());
    EXPECT_EQ(Contents(list), u"3");
    list.RemoveAt(list.GetHeadPosition());
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    EXPECT_EQ(list.GetTailPosition(), nullptr);
    list.AddHead(u"n");
    EXPECT_EQ(Contents(list), u"n");
}

TEST(CollectionList, FindStartsAfterTheGivenPosition) {
    CStringList list;
    for (const char16_t* text : {u"a", u"b", u"a", u"c", u"a"}) {
        list.AddTail(text);
    }
    POSITION first = list.Find(u"a");
    POSITION second = list.Find(u"a", first);
    POSITION third = list.Find(u"a", second);
    EXPECT_EQ(first, list.FindIndex(0));
    EXPECT_EQ(second, list.FindIndex(2));
    EXPECT_EQ(third, list.FindIndex(4));
    EXPECT_EQ(list.Find(u"a", third), nullptr);
    EXPECT_EQ(list.Find(u"c", third), nullptr);
    EXPECT_EQ(list.Find(u"x"), nullptr);

    // Pointer lists compare the pointers, not what they point to.
    int values[2] = {1, 1};
    CPtrList pointers;
    pointers.AddTail(&values[0]);
    pointers.AddTail(&values[1]);
    EXPECT_EQ(pointers.Find(&values[1]), pointers.GetTailPosition());
}

TEST(CollectionList, AddingWholeListsKeepsTheirOrder) {
    CStringList list;
    CStringList other;
    list.AddTail(u"c");
    other.AddTail(u"a");
    other.AddTail(u"b");
    list.AddHead(&other);
    list.AddTail(&other);
    EXPECT_EQ(Contents(list), u"abcab");
    list.AddTail(&list);
    list.AddHead(&list);
    EXPECT_EQ(Contents(list), u"abcababcababcababcab");
    list.RemoveAll();
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(CollectionList, EmptyListAndNullPositionsTouchNothing) {
    CStringList list;
    EXPECT_TRUE(list.RemoveHead().IsEmpty());
    EXPECT_TRUE(list.RemoveTail().IsEmpty());
    EXPECT_TRUE(list.GetHead().IsEmpty());
    POSITION pos = nullptr;
    EXPECT_TRUE(list.GetNext(pos).IsEmpty());
    EXPECT_EQ(pos, nullptr);
    list.RemoveAt(nullptr);
    list.SetAt(nullptr, u"x");
    EXPECT_EQ(list.GetCount(), 0);
}

class Probe : public CObject {
public:
    explicit Probe(int v) : value(v) {}
    int value;
};

TEST(CollectionList, TypedPointerLists) {
    Probe p1(1);
    Probe p2(2);
    Probe p3(3);
    CTypedPtrList<CObList, Probe*> probes;
    probes.AddTail(&p2);
    probes.AddHead(&p1);
    POSITION pos = probes.GetHeadPosition();
    EXPECT_EQ(probes.GetNext(pos)->value, 1);
    probes.GetAt(pos) = &p3; // the reference names the list's slot
    EXPECT_EQ(probes.GetTail()->value, 3);
    EXPECT_EQ(probes.Find(&p3), probes.GetTailPosition());
    EXPECT_EQ(probes.RemoveHead(), &p1);
    EXPECT_EQ(probes.GetCount(), 1);

    CList<int> numbers;
    numbers.AddTail(2);
    numbers.AddHead(1);
    EXPECT_EQ(numbers.GetHead() * 10 + numbers.GetTail(), 12);
}

} // namespace
