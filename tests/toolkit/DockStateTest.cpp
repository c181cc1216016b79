// The saved bar layout: shares and sizes with the framework's arrangement, restored as they were; a damaged
// layout is refused; binary values as text in chunks.
#include "DockTestSupport.h"

#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"
#include "toolkit/SECDockState.h"
#include "toolkit/SECFrameDocking.h"
#include "toolkit/SECPersistentTreeNode.h"

#include <cstring>

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

TEST(DockStateNormalizeTest, PlaceholdersStayWhereTheBarLastDockedAndListsEndInOneRowEnd) {
    constexpr UINT a = kFirstBarID;
    constexpr UINT b = kFirstBarID + 1;
    constexpr UINT away = SECDockState::kPlaceholder;
    struct List {
        UINT id;
        UINT mruDock;
        std::vector<UINT> before;
        std::vector<UINT> after;
    };
    const List lists[] = {
        {AFX_IDW_DOCKBAR_TOP, 0, {a, a, 0, 0, 0}, {a, 0}},
        {AFX_IDW_DOCKBAR_LEFT, 0, {a + away, b, 0, a + away}, {0, b, 0, a + away, 0}},
        {AFX_IDW_DOCKBAR_RIGHT, 0, {b + away, 0}, {b + away, 0}},
        {AFX_IDW_DOCKBAR_BOTTOM, 0, {0, 0}, {}},
        {a, AFX_IDW_DOCKBAR_TOP, {}, {}},
        {b, AFX_IDW_DOCKBAR_RIGHT, {}, {}},
    };
    SECDockState state;
    for (const List& list : lists) {
        auto* info = new CControlBarInfo;
        info->m_nBarID = list.id;
        info->m_uMRUDockID = list.mruDock;
        for (UINT id : list.before) {
            info->m_arrBarID.Add(id);
        }
        state.m_arrBarInfo.Add(info);
    }
    state.Normalize();
    for (INT_PTR i = 0; i < state.m_arrBarInfo.GetSize(); ++i) {
        const CUIntArray& ids = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i])->m_arrBarID;
        EXPECT_EQ(std::vector<UINT>(ids.GetData(), ids.GetData() + ids.GetSize()), lists[i].after) << i;
    }
}

// Where the bars are: enough to tell two layouts apart.
struct Placement {
    std::vector<CRect> docked; // each bar in its dock bar, empty when floating
    std::vector<UINT> dockBar;
    std::vector<float> share;
    std::vector<CPoint> floatingAt;
    bool operator==(const Placement&) const = default;
};

// The archive and tree forms: a layout saved in one frame comes back in a fresh one; damaged copies leave
// the fresh frame's default layout alone.
class LayoutFormTest : public DockTest {
protected:
    void SetUp() override {
        DockTest::SetUp();
        AddDefaultBars();
    }
    // The bars a program makes at every start, all docked on the left: the default layout.
    void AddDefaultBars(std::size_t count = 3) {
        const char16_t* titles[] = {u"A", u"B", u"C"};
        for (const char16_t* title : std::vector<const char16_t*>(titles, titles + count)) {
            SECControlBar* bar = AddBar(title);
            m_frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_LEFT, 0, static_cast<int>(m_bars.size()) - 1, 1.0f,
                                      100);
        }
        m_frame->RecalcLayout();
    }
    void Arrange() {
        m_frame->DockControlBarEx(m_bars[0].get(), AFX_IDW_DOCKBAR_TOP, 0, 0, 0.3f, 90);
        m_frame->DockControlBarEx(m_bars[1].get(), AFX_IDW_DOCKBAR_TOP, 1, 0, 0.7f, 90);
        m_frame->FloatControlBarEx(m_bars[2].get(), 420, 380);
        m_frame->RecalcLayout();
    }
    // A new frame with the same bars (or the first few), as at the next start.
    void Restart(std::size_t count = 3) {
        m_bars.clear();
        m_app.m_pMainWnd->DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        DockTest::SetUp();
        AddDefaultBars(count);
    }
    Placement Where() {
        Placement p;
        for (const auto& bar : m_bars) {
            CRect frame;
            bar->GetParentFrame()->GetWindowRect(&frame);
            p.docked.push_back(bar->IsFloating() ? CRect() : InDockBar(bar.get()));
            p.dockBar.push_back(bar->IsFloating() ? 0 : static_cast<UINT>(bar->m_pDockBar->GetDlgCtrlID()));
            p.share.push_back(bar->IsFloating() ? bar->m_fSavedProportion : bar->m_fProportion);
            p.floatingAt.push_back(bar->IsFloating() ? frame.TopLeft() : CPoint());
        }
        return p;
    }
    std::vector<BYTE> SavedArchive(const SECDockState* state = nullptr) {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            state ? const_cast<SECDockState*>(state)->Serialize(ar) : SECSaveFrameBarLayout(m_frame, ar);
        }
        std::vector<BYTE> bytes(static_cast<std::size_t>(file.GetLength()));
        file.SeekToBegin();
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
        return bytes;
    }
    BOOL LoadArchive(std::vector<BYTE> bytes) {
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load);
        BOOL loaded = SECLoadFrameBarLayout(m_frame, ar);
        m_frame->RecalcLayout();
        return loaded;
    }
};

TEST_F(LayoutFormTest, ArchiveRoundTripInAFreshFrame) {
    Arrange();
    const Placement saved = Where();
    const std::vector<BYTE> bytes = SavedArchive();
    ASSERT_GE(bytes.size(), 14u);
    DWORD version = 0;
    WORD count = 0;
    std::memcpy(&version, bytes.data(), 4);
    std::memcpy(&count, bytes.data() + 12, 2);
    EXPECT_EQ(version, 2u);
    EXPECT_EQ(count, 3u + 4u + 1u) << "three bars, four frame dock bars, one floating";

    Restart();
    ASSERT_NE(Where(), saved);
    ASSERT_TRUE(LoadArchive(bytes));
    EXPECT_EQ(Where(), saved);
    EXPECT_FLOAT_EQ(m_bars[0]->m_fProportion, 0.3f);
}

TEST_F(LayoutFormTest, DamagedArchivesLeaveTheDefaultLayout) {
    Arrange();
    const std::vector<BYTE> good = SavedArchive();
    SECDockState state;
    state.Collect(m_frame);
    CControlBarInfo* top = nullptr;
    for (INT_PTR i = 0; i < state.m_arrBarInfo.GetSize(); ++i) {
        auto* info = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
        top = info->m_nBarID == AFX_IDW_DOCKBAR_TOP ? info : top;
    }
    ASSERT_NE(top, nullptr);
    top->m_arrBarID.InsertAt(0, 12345u); // a bar no record describes
    const std::vector<BYTE> unknownBar = SavedArchive(&state);
    top->m_arrBarID.RemoveAt(0);
    state.FindBarInfo(kFirstBarID)->m_fProportion = 2.0f;
    const std::vector<BYTE> badShare = SavedArchive(&state);

    Restart();
    const Placement defaults = Where();
    std::vector<std::pair<const char*, std::vector<BYTE>>> damaged = {
        {"empty", {}},
        {"foreign", std::vector<BYTE>(good.size(), 0x5A)},
        {"unknown bar", unknownBar},
        {"share past the row", badShare},
    };
    std::vector<BYTE> countPastData = good;
    countPastData[12] = 0xFF; // bar count
    damaged.emplace_back("count past the data", countPastData);
    for (std::size_t cut = 1; cut < good.size(); cut += 7) {
        damaged.emplace_back("truncated", std::vector<BYTE>(good.begin(), good.begin() + cut));
    }
    for (const auto& [what, bytes] : damaged) {
        EXPECT_FALSE(LoadArchive(bytes)) << what << " " << bytes.size();
        EXPECT_EQ(Where(), defaults) << what << " " << bytes.size();
    }
    EXPECT_TRUE(LoadArchive(good));
}

TEST_F(LayoutFormTest, TreeRoundTripInAFreshFrameAndDamagedTrees) {
    Arrange();
    const Placement saved = Where();
    SECPersistentTreeNode root;
    ASSERT_EQ(root.Create(u"Layouts"), 0);
    ASSERT_TRUE(SECSaveFrameBarLayout(m_frame, &root));
    ASSERT_TRUE(SECSaveFrameBarLayout(m_frame, &root)) << "a second save replaces the first";
    ASSERT_EQ(root.GetChildren().size(), 1u);
    SECPersistentTreeNode* dockState = root.FindChild(u"DockState");
    ASSERT_NE(dockState, nullptr);
    // The four frame dock bars, of which only the top one holds bars; the three bars; the floating dock bar.
    int bars = 0;
    dockState->GetInt(u"Bars", bars);
    EXPECT_EQ(bars, 5);
    SECPersistentTreeNode* barA = nullptr;
    for (SECPersistentTreeNode* node : dockState->GetChildren()) {
        UINT id = 0;
        node->GetUInt(u"BarID", id);
        barA = id == kFirstBarID ? node : barA;
    }
    ASSERT_NE(barA, nullptr);
    CString pct;
    barA->GetString(u"PctWidth", pct);
    EXPECT_EQ(pct, CString(u"300000"));

    Restart();
    const Placement defaults = Where();
    ASSERT_TRUE(SECLoadFrameBarLayout(m_frame, &root));
    m_frame->RecalcLayout();
    EXPECT_EQ(Where(), saved);

    // Each damage undone before the next.
    struct Damage {
        const char* what;
        SECPersistentTreeNode* node;
        const char16_t* key;
        const char16_t* value;
    };
    const Damage damages[] = {
        {"no bar id", barA, u"BarID", u"0"},
        {"share as text", barA, u"PctWidth", u"lots"},
        {"size past the limit", barA, u"MRUHorzDockCY", u"99999"},
        {"more bars than keys", barA, u"Bars", u"500"},
        {"nothing saved", dockState, u"Bars", u"0"},
    };
    Restart();
    for (const Damage& d : damages) {
        CString old;
        const bool had = d.node->GetString(d.key, old) == 0;
        d.node->SetString(d.key, d.value);
        EXPECT_FALSE(SECLoadFrameBarLayout(m_frame, &root)) << d.what;
        m_frame->RecalcLayout();
        EXPECT_EQ(Where(), defaults) << d.what;
        had ? d.node->SetString(d.key, old) : d.node->RemoveKey(d.key);
    }
    SECPersistentTreeNode other;
    ASSERT_EQ(other.Create(u"Empty"), 0);
    EXPECT_FALSE(SECLoadFrameBarLayout(m_frame, &other)) << "no DockState child";
    EXPECT_TRUE(SECLoadFrameBarLayout(m_frame, &root));
}

TEST_F(LayoutFormTest, ABarTheFrameLacksIsMadeFromItsSavedClassOrLeftOut) {
    Arrange();
    const Placement saved = Where();
    CString title;
    SECPersistentTreeNode root;
    ASSERT_EQ(root.Create(u"Layouts"), 0);
    ASSERT_TRUE(SECSaveFrameBarLayout(m_frame, &root));
    SECPersistentTreeNode* barC = nullptr;
    for (SECPersistentTreeNode* node : root.FindChild(u"DockState")->GetChildren()) {
        UINT id = 0;
        node->GetUInt(u"BarID", id);
        barC = id == kFirstBarID + 2 ? node : barC;
    }
    ASSERT_NE(barC, nullptr);

    Restart(2); // this start makes no bar C
    ASSERT_TRUE(SECLoadFrameBarLayout(m_frame, &root));
    m_frame->RecalcLayout();
    auto* made = dynamic_cast<SECControlBar*>(m_frame->GetControlBar(kFirstBarID + 2));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(m_frame->m_ownedBars, std::vector<CControlBar*>{made}) << "the frame deletes it";
    made->GetWindowTextW(title);
    EXPECT_EQ(title, CString(u"C"));
    ASSERT_TRUE(made->IsFloating());
    CRect floating;
    made->GetParentFrame()->GetWindowRect(&floating);
    EXPECT_EQ(floating.TopLeft(), saved.floatingAt[2]);
    EXPECT_EQ(Where(), (Placement{{saved.docked[0], saved.docked[1]},
                                  {saved.dockBar[0], saved.dockBar[1]},
                                  {saved.share[0], saved.share[1]},
                                  {saved.floatingAt[0], saved.floatingAt[1]}}));

    // Classes that are not bars, or not known, make nothing; the rest of the layout still applies.
    const char16_t* classes[] = {u"CObject", u"CDockState", u"NoSuchBar", u""};
    for (std::size_t i = 0; i < std::size(classes); ++i) {
        barC->SetString(u"ClassName", classes[i]);
        Restart(2);
        EXPECT_TRUE(SECLoadFrameBarLayout(m_frame, &root)) << i;
        m_frame->RecalcLayout();
        EXPECT_EQ(m_frame->GetControlBar(kFirstBarID + 2), nullptr) << i;
        EXPECT_EQ(InDockBar(m_bars[0].get()), saved.docked[0]) << i;
    }
}

} // namespace
} // namespace docktest
