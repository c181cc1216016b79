#include "appframe/CaseSensitiveComboBox.h"
#include "platform/base/CodePage.h"
#include "platform/controls/StandardControls.h"
#include "platform/display/DisplayBackend.h"

#include <gtest/gtest.h>

namespace {

struct FindCase {
    UINT listMessage;
    WPARAM start;
    const char16_t* text;
    int index;
};

// Items "@@Ad", "@@AD", "@@Aa".
const FindCase kCases[] = {
    {LB_FINDSTRINGEXACT, 0, u"@@AD", 1},  {LB_FINDSTRING, 0, u"@@A", 0},       {LB_FINDSTRING, 0, u"@@AD", 1},
    {LB_FINDSTRINGEXACT, 0, u"@@ad", -1}, {LB_FINDSTRING, 0, u"", 0},          {LB_FINDSTRING, 2, u"@@A", 0},
    {LB_FINDSTRINGEXACT, 2, u"@@Ad", 0},  {LB_FINDSTRINGEXACT, 0, u"@@A", -1}, {LB_FINDSTRING, 0, u"@@Aa", 2},
};

UINT ComboMessage(UINT listMessage) {
    return listMessage == LB_FINDSTRING ? CB_FINDSTRING : CB_FINDSTRINGEXACT;
}

class CaseSensitiveComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        DisplayUseTestClock(100000);
        RegisterStandardControls();
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), u"host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300,
                                      nullptr, nullptr));
    }
    void TearDown() override {
        m_combo.DestroyWindow();
        m_list.DestroyWindow();
        m_parent.DestroyWindow();
    }
    CWnd m_parent;
    CCaseSensitiveComboBox m_combo;
    CCaseSensitiveListBox m_list;
};

TEST_F(CaseSensitiveComboBoxTest, FindsCompareCaseAndAlwaysStartAtTheFirstItem) {
    ASSERT_TRUE(m_combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL, CRect(5, 5, 200, 150),
                               &m_parent, 1159));
    ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL, CRect(5, 160, 200, 280), &m_parent, 1160));
    EXPECT_EQ(m_combo.SendMessageW(CB_FINDSTRING, 0, reinterpret_cast<LPARAM>(u"@@A")), -1);
    EXPECT_EQ(m_list.SendMessageW(LB_FINDSTRINGEXACT, 0, reinterpret_cast<LPARAM>(u"")), -1);
    for (const char16_t* item : {u"@@Ad", u"@@AD", u"@@Aa"}) {
        m_combo.AddString(item);
        m_list.AddString(item);
    }
    for (const FindCase& c : kCases) {
        const auto text = reinterpret_cast<LPARAM>(c.text);
        EXPECT_EQ(m_list.SendMessageW(c.listMessage, c.start, text), c.index) << Utf16ToUtf8(c.text);
        EXPECT_EQ(m_combo.SendMessageW(ComboMessage(c.listMessage), c.start, text), c.index)
            << Utf16ToUtf8(c.text);
    }
}

} // namespace
