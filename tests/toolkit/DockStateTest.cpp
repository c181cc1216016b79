// The saved bar layout: shares and sizes with the framework's arrangement, restored as they were; a damaged
// layout is refused; binary values as text in chunks.
#include "DockTestSupport.h"

#include "toolkit/SECDockState.h"

namespace docktest {
namespace {

using DockStateTest = DockTest;

TEST_F(DockStateTest, BinaryValuesAreTextInChunksOf250) {
    std::vector<BYTE> bytes(200);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<BYTE>(i * 7);
    }
    ASSERT_TRUE(SECDockState::WriteBinary(&m_app, u"Bin", u"Place", bytes.data(), 200));
    EXPECT_EQ(m_app.GetProfileInt(u"Bin", u"Place_BinCount", 0), 2u);
    CString first = m_app.GetProfileString(u"Bin", u"Place_BinVal0");
    EXPECT_EQ(first.GetLength(), 250);
    EXPECT_EQ(m_app.GetProfileString(u"Bin", u"Place_BinVal1").GetLength(), 150);
    EXPECT_EQ(first.Left(4), CString(u"AAHA")) << "low nibble first: 0x00, then 0x07";
    std::vector<BYTE> back;
    ASSERT_TRUE(SECDockState::GetBinary(&m_app, u"Bin", u"Place", back));
    EXPECT_EQ(back, bytes);

    // Short values stay in one key; an odd character is left out.
    const BYTE small[] = {0xAB, 0x01};
    ASSERT_TRUE(SECDockState::WriteBinary(&m_app, u"Bin", u"Small", small, 2));
    EXPECT_EQ(m_app.GetProfileString(u"Bin", u"Small"), CString(u"LKBA"));
    m_app.WriteProfileString(u"Bin", u"Odd", u"LKB");
    ASSERT_TRUE(SECDockState::GetBinary(&m_app, u"Bin", u"Odd", back));
    EXPECT_EQ(back, std::vector<BYTE>{0xAB});
    EXPECT_FALSE(SECDockState::GetBinary(&m_app, u"Bin", u"Absent", back));
}

TEST_F(DockStateTest, LayoutComesBackAsSavedAndADamagedOneIsRefused) {
    SECControlBar* a = AddBar(u"A");
    SECControlBar* b = AddBar(u"B");
    SECControlBar* c = AddBar(u"C");
    m_frame->DockControlBarEx(a, AFX_IDW_DOCKBAR_TOP, 0, 0, 0.3f, 90);
    m_frame->DockControlBarEx(b, AFX_IDW_DOCKBAR_TOP, 1, 0, 0.7f, 90);
    m_frame->DockControlBarEx(c, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 110);
    m_frame->FloatControlBarEx(c, 420, 380);
    m_frame->RecalcLayout();
    const CRect ra = InDockBar(a);
    const CRect rb = InDockBar(b);
    CRect floating;
    c->GetParentFrame()->GetWindowRect(&floating);
    m_frame->SaveBarLayout(u"Layout");
    EXPECT_EQ(m_app.GetProfileString(u"Layout-Bar4", u"PctWidth"), CString(u"300000"));
    EXPECT_EQ(m_app.GetProfileInt(u"Layout-Bar6", u"MRUFloatCX", 0), static_cast<UINT>(c->m_szFloat.cx));

    // Moved about, then read back.
    m_frame->DockControlBarEx(a, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 0.5f, 60);
    m_frame->DockControlBarEx(c, AFX_IDW_DOCKBAR_RIGHT, 0, 0, 1.0f, 60);
    m_frame->RecalcLayout();
    ASSERT_TRUE(m_frame->LoadBarLayout(u"Layout"));
    m_frame->RecalcLayout();
    EXPECT_EQ(a->m_pDockBar, Dock(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(InDockBar(a), ra);
    EXPECT_EQ(InDockBar(b), rb);
    ASSERT_TRUE(c->IsFloating());
    CRect back;
    c->GetParentFrame()->GetWindowRect(&back);
    EXPECT_EQ(back.TopLeft(), floating.TopLeft());

    // Damaged copies leave the layout alone (each damage undone before the next).
    struct Damage {
        const char16_t* section;
        const char16_t* key;
        int value;
    };
    const Damage damages[] = {
        {u"Broken-Summary", u"Bars", 40},          {u"Broken-Bar4", u"PctWidth", -5}, // a text in the profile
        {u"Broken-Bar5", u"MRUHorzDockCY", 99999}, {u"Broken-Bar5", u"BarID", 0},
        {u"Broken-Bar0", u"Bar#1", 12345}, // a dock bar naming a bar that is not saved
    };
    m_frame->DockControlBarEx(a, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 0.5f, 60);
    m_frame->RecalcLayout();
    const CRect moved = InDockBar(a);
    m_frame->SaveBarLayout(u"Broken");
    ASSERT_TRUE(m_frame->LoadBarLayout(u"Broken"));
    for (const Damage& d : damages) {
        const bool text = std::u16string(d.key) == u"PctWidth";
        const CString oldText = m_app.GetProfileString(d.section, d.key);
        const UINT oldValue = m_app.GetProfileInt(d.section, d.key, 0);
        CString value;
        value.Format(u"%d", d.value);
        text ? m_app.WriteProfileString(d.section, d.key, value)
             : m_app.WriteProfileInt(d.section, d.key, d.value);
        EXPECT_FALSE(m_frame->LoadBarLayout(u"Broken")) << &d - damages;
        EXPECT_EQ(a->m_pDockBar, Dock(AFX_IDW_DOCKBAR_BOTTOM)) << &d - damages;
        EXPECT_EQ(InDockBar(a), moved) << &d - damages;
        text ? m_app.WriteProfileString(d.section, d.key, oldText)
             : m_app.WriteProfileInt(d.section, d.key, static_cast<int>(oldValue));
    }
    EXPECT_FALSE(m_frame->LoadBarLayout(u"Never saved"));
}

} // namespace
} // namespace docktest
