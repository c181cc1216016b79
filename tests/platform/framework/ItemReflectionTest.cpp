// An owner-drawn list box's item messages reach the list's own object in any parent, not only in dialogs.
#include "FrameworkTestSupport.h"
#include "platform/controls/StandardControls.h"
#include "platform/framework/AfxControls.h"

namespace {

class CountingListBox : public CListBox {
public:
    int compares = 0;
    int deletes = 0;
    int CompareItem(LPCOMPAREITEMSTRUCT item) override {
        ++compares;
        return item->itemData1 < item->itemData2 ? -1 : item->itemData1 > item->itemData2 ? 1 : 0;
    }
    void DeleteItem(LPDELETEITEMSTRUCT) override { ++deletes; }
};

class ItemReflectionTest : public fwtest::FrameworkTest {};

TEST_F(ItemReflectionTest, SortedOwnerDrawnListInAFrameComparesAndDeletesThroughItsObject) {
    RegisterStandardControls();
    auto* frame = new CFrameWnd; // deleted with its window
    ASSERT_TRUE(frame->Create(nullptr, u"Items"));
    CountingListBox list;
    ASSERT_TRUE(
        list.Create(WS_CHILD | WS_VISIBLE | LBS_SORT | LBS_OWNERDRAWFIXED, CRect(0, 0, 100, 100), frame, 7));
    list.AddString(reinterpret_cast<LPCTSTR>(static_cast<ULONG_PTR>(30)));
    list.AddString(reinterpret_cast<LPCTSTR>(static_cast<ULONG_PTR>(10)));
    list.AddString(reinterpret_cast<LPCTSTR>(static_cast<ULONG_PTR>(20)));
    EXPECT_GE(list.compares, 2);
    EXPECT_EQ(list.GetItemData(0), 10u);
    EXPECT_EQ(list.GetItemData(2), 30u);
    list.DeleteString(1);
    EXPECT_EQ(list.deletes, 1);
    frame->DestroyWindow();
}

} // namespace
