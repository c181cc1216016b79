// Toolbars in a frame's saved layout: through the frame's toolbar manager a toolbar's record carries its
// title and buttons, a user toolbar the layout names comes back at the next start, a damaged record is
// refused with the layout, layouts saved before records carried them still load, and positions saved on
// one screen size come back scaled on another.
#include "DockTestSupport.h"
#include "OldLayoutFixture.h"
#include "ToolBarTestSupport.h"

#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"
#include "platform/base/MulDiv.h"
#include "toolkit/SECCustomToolBarInfoEx.h"
#include "toolkit/SECDockState.h"
#include "toolkit/SECFrameDocking.h"
#include "toolkit/SECPersistentTreeNode.h"
#include "toolkit/SECToolBarManager.h"
#include "toolkit/ToolkitResourceIds.h"

#include <functional>

namespace docktest {
namespace {

constexpr UINT kUserBar = SEC_IDW_FIRST_USER_TOOLBAR;
const std::vector<UINT> kButtons = {1000, 0, 1001};

// A dock state on a screen of the test's choosing.
class ScreenDockState : public SECDockState {
public:
    ScreenDockState(SECControlBarManager* pFactory, CSize screen)
        : SECDockState(pFactory), m_screen(screen) {}
    CSize GetCurrentScreenSize() const override { return m_screen; }
    CSize m_screen;
};

enum class Form { Profile, Archive, Tree };

class ToolBarLayoutStateTest : public DockTest {
protected:
    void SetUp() override {
        DockTest::SetUp();
        Attach();
    }
    void TearDown() override {
        m_manager.reset(); // lets go of its toolbars while the frame is there
        DockTest::TearDown();
    }
    void Attach() {
        m_manager = std::make_unique<SECToolBarManager>(m_frame);
        m_frame->SetToolBarManager(m_manager.get());
    }
    // The next start: a new frame and manager with the sizing bars the program makes, no user toolbar.
    void Restart(std::size_t bars = 0) {
        m_manager.reset();
        m_bars.clear();
        m_app.m_pMainWnd->DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        DockTest::SetUp();
        Attach();
        for (std::size_t i = 0; i < bars; ++i) {
            AddBar(i == 0 ? u"A" : u"C");
        }
    }
    SECCustomToolBar* MakeUserBar() {
        SECCustomToolBar* bar = m_manager->CreateUserToolBar(u"Mine");
        if (bar) {
            bar->SetButtons(kButtons.data(), static_cast<int>(kButtons.size()));
            m_frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 1.0f, 30);
            m_frame->RecalcLayout();
        }
        return bar;
    }
    SECCustomToolBar* UserBar() { return m_manager->FindToolBar(kUserBar); }

    // The frame's layout saved in one form and read back in the same: the saved copy is kept between starts.
    void Save(Form form, SECDockState& state) {
        state.Collect(m_frame);
        state.Normalize();
        switch (form) {
        case Form::Profile:
            state.SaveState(u"Layout");
            break;
        case Form::Archive: {
            CMemFile file;
            {
                CArchive ar(&file, CArchive::store);
                state.Serialize(ar);
            }
            m_bytes.assign(static_cast<std::size_t>(file.GetLength()), 0);
            file.SeekToBegin();
            file.Read(m_bytes.data(), static_cast<UINT>(m_bytes.size()));
            break;
        }
        case Form::Tree:
            m_root = std::make_unique<SECPersistentTreeNode>();
            m_root->Create(u"Layouts");
            state.SaveToTree(m_root.get());
            break;
        }
    }
    bool Load(Form form, SECDockState& state) {
        bool loaded = false;
        switch (form) {
        case Form::Profile:
            loaded = state.LoadState(u"Layout");
            break;
        case Form::Archive: {
            CMemFile file(m_bytes.data(), static_cast<UINT>(m_bytes.size()));
            CArchive ar(&file, CArchive::load);
            try {
                state.Serialize(ar);
                loaded = true;
            } catch (CException* e) {
                e->Delete();
            }
            break;
        }
        case Form::Tree:
            loaded = state.LoadFromTree(m_root.get());
            break;
        }
        if (loaded) {
            state.Apply(m_frame);
            m_frame->RecalcLayout();
        }
        return loaded;
    }
    void Save(Form form) {
        SECDockState state(m_manager.get());
        Save(form, state);
    }
    bool Load(Form form) {
        SECDockState state(m_manager.get());
        return Load(form, state);
    }

    std::unique_ptr<SECToolBarManager> m_manager;
    std::vector<BYTE> m_bytes;
    std::unique_ptr<SECPersistentTreeNode> m_root;
};

const Form kForms[] = {Form::Profile, Form::Archive, Form::Tree};
const char* const kFormNames[] = {"profile", "archive", "tree"};

TEST_F(ToolBarLayoutStateTest, AUserToolBarComesBackWithItsTitleButtonsAndPlaceInEachForm) {
    for (Form form : kForms) {
        const char* name = kFormNames[static_cast<int>(form)];
        Restart();
        ASSERT_NE(MakeUserBar(), nullptr);
        CRect saved;
        UserBar()->GetWindowRect(&saved);
        Save(form);

        Restart();
        ASSERT_EQ(UserBar(), nullptr) << name;
        ASSERT_TRUE(Load(form)) << name;
        SECCustomToolBar* bar = UserBar();
        ASSERT_NE(bar, nullptr) << name;
        CString title;
        bar->GetWindowTextW(title);
        EXPECT_EQ(title, CString(u"Mine")) << name;
        EXPECT_EQ(tbtest::ButtonIds(*bar), kButtons) << name;
        EXPECT_EQ(bar->GetManager(), m_manager.get()) << name;
        ASSERT_NE(bar->m_pDockBar, nullptr) << name;
        EXPECT_EQ(bar->m_pDockBar->GetDlgCtrlID(), static_cast<int>(AFX_IDW_DOCKBAR_BOTTOM)) << name;
        CRect back;
        bar->GetWindowRect(&back);
        EXPECT_EQ(back, saved) << name;
    }
}

TEST_F(ToolBarLayoutStateTest, AnEmptyToolBarKeepsItsPlaceAndStaysEmpty) {
    for (Form form : kForms) {
        const char* name = kFormNames[static_cast<int>(form)];
        Restart();
        SECCustomToolBar* bar = m_manager->CreateToolBar(
            AFX_IDW_TOOLBAR, u"Empty", WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC);
        ASSERT_NE(bar, nullptr);
        m_frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_TOP, 0, 0, 1.0f, 30);
        m_frame->RecalcLayout();
        Save(form);
        const UINT ids[] = {1000};
        bar->SetButtons(ids, 1);
        EXPECT_TRUE(Load(form)) << name;
        EXPECT_TRUE(bar->m_btns.empty()) << name;
    }
}

// Each damage on a fresh copy: the layout is refused and the frame keeps its own.
TEST_F(ToolBarLayoutStateTest, ADamagedToolBarRecordIsRefusedWithTheLayout) {
    const BYTE cut[] = {0xE8, 0x03, 0x00}; // a button record three bytes long
    struct Damage {
        const char* what;
        Form form;
        std::function<void()> apply;
    };
    auto barNode = [this] {
        SECPersistentTreeNode* found = nullptr;
        for (SECPersistentTreeNode* node : m_root->FindChild(u"DockState")->GetChildren()) {
            UINT id = 0;
            node->GetUInt(u"BarID", id);
            found = id == kUserBar ? node : found;
        }
        return found;
    };
    auto userSection = [this] {
        for (int i = 0; i < 16; ++i) {
            CString section;
            section.Format(u"Layout-Bar%d", i);
            if (m_app.GetProfileInt(section, u"BarID", 0) == kUserBar) {
                return section;
            }
        }
        return CString();
    };
    const Damage damages[] = {
        {"profile: buttons cut", Form::Profile,
         [&] { m_app.WriteProfileBinary(userSection(), u"Buttons", const_cast<BYTE*>(cut), 3); }},
        {"profile: buttons missing", Form::Profile,
         [&] { m_app.WriteProfileString(userSection(), u"Buttons", nullptr); }},
        {"tree: buttons cut", Form::Tree,
         [&] { barNode()->FindChild(u"ToolBarInfoEx")->SetBinary(u"Buttons", cut, 3); }},
        {"tree: no toolbar node", Form::Tree,
         [&] {
             SECPersistentTreeNode* node = barNode();
             node->GetFactory().DestroyChild(node->FindChild(u"ToolBarInfoEx"));
         }},
        {"archive: a kind no manager reads", Form::Archive, [&] { m_frame->SetToolBarManager(nullptr); }},
    };
    for (const Damage& d : damages) {
        Restart(1);
        m_frame->DockControlBarEx(m_bars[0].get(), AFX_IDW_DOCKBAR_TOP, 0, 0, 1.0f, 80);
        ASSERT_NE(MakeUserBar(), nullptr);
        Save(d.form);
        m_frame->DockControlBarEx(m_bars[0].get(), AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 80);
        m_frame->RecalcLayout();
        d.apply();
        SECDockState state(m_frame->GetToolBarManager());
        EXPECT_FALSE(Load(d.form, state)) << d.what;
        EXPECT_EQ(m_bars[0]->m_pDockBar, Dock(AFX_IDW_DOCKBAR_LEFT)) << d.what;
        EXPECT_EQ(state.m_arrBarInfo.GetSize(), 0) << d.what;
    }
}

// A layout the code wrote before toolbar records carried titles and buttons, as the program starts: its
// bars made, then the layout applied.
TEST_F(ToolBarLayoutStateTest, ALayoutSavedBeforeToolBarRecordsStillLoads) {
    for (Form form : {Form::Profile, Form::Archive}) {
        const char* name = kFormNames[static_cast<int>(form)];
        Restart(2);
        ASSERT_NE(MakeUserBar(), nullptr);
        bool loaded = false;
        if (form == Form::Profile) {
            for (const oldlayout::ProfileEntry& e : oldlayout::kProfile) {
                e.text ? m_app.WriteProfileString(e.section, e.key, e.text)
                       : m_app.WriteProfileInt(e.section, e.key, e.value);
            }
            loaded = m_frame->LoadBarLayout(u"Old");
        } else {
            std::vector<BYTE> bytes(std::begin(oldlayout::kArchive), std::end(oldlayout::kArchive));
            CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
            CArchive ar(&file, CArchive::load);
            loaded = SECLoadFrameBarLayout(m_frame, ar);
        }
        ASSERT_TRUE(loaded) << name;
        m_frame->RecalcLayout();
        EXPECT_EQ(m_bars[0]->m_pDockBar, Dock(AFX_IDW_DOCKBAR_TOP)) << name;
        ASSERT_TRUE(m_bars[1]->IsFloating()) << name;
        CRect floating;
        m_bars[1]->GetParentFrame()->GetWindowRect(&floating);
        EXPECT_EQ(floating.TopLeft(), CPoint(500, 300)) << name;
        EXPECT_EQ(UserBar()->m_pDockBar, Dock(AFX_IDW_DOCKBAR_BOTTOM)) << name;
        EXPECT_EQ(tbtest::ButtonIds(*UserBar()), kButtons) << name << ": the toolbar's own buttons stay";
    }
}

// Saved on 1280 x 1024, read on other screens: places scale with the screen, floating frames stay on it.
TEST_F(ToolBarLayoutStateTest, PositionsSavedOnOneScreenSizeComeBackScaledOnAnother) {
    const CSize savedOn(1280, 1024);
    const CPoint floatAt(1000, 800);
    struct Case {
        CSize screen;
    };
    const Case cases[] = {{{1280, 1024}}, {{2560, 2048}}, {{1024, 768}}, {{640, 480}}};
    for (Form form : kForms) {
        for (const Case& c : cases) {
            const std::string what = std::string(kFormNames[static_cast<int>(form)]) + " on " +
                                     std::to_string(c.screen.cx) + "x" + std::to_string(c.screen.cy);
            Restart(2);
            m_frame->DockControlBarEx(m_bars[0].get(), AFX_IDW_DOCKBAR_TOP, 0, 0, 1.0f, 80);
            m_frame->DockControlBarEx(m_bars[1].get(), AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 100);
            m_frame->FloatControlBarEx(m_bars[1].get(), floatAt.x, floatAt.y);
            m_frame->RecalcLayout();
            CRect frameRect;
            m_bars[1]->GetParentFrame()->GetWindowRect(&frameRect);
            const CPoint mruFloat = m_bars[1]->m_pDockContext->m_ptMRUFloatPos;
            ScreenDockState saver(m_manager.get(), savedOn);
            Save(form, saver);

            Restart(2);
            ScreenDockState loader(m_manager.get(), c.screen);
            ASSERT_TRUE(Load(form, loader)) << what;
            ASSERT_TRUE(m_bars[1]->IsFloating()) << what;
            const CPoint scaled(::MulDiv(floatAt.x, c.screen.cx, savedOn.cx),
                                ::MulDiv(floatAt.y, c.screen.cy, savedOn.cy));
            const CPoint expected(std::min<LONG>(scaled.x, c.screen.cx - frameRect.Width()),
                                  std::min<LONG>(scaled.y, c.screen.cy - frameRect.Height()));
            CRect back;
            m_bars[1]->GetParentFrame()->GetWindowRect(&back);
            EXPECT_EQ(back.TopLeft(), expected) << what;
            EXPECT_LE(back.right, c.screen.cx) << what;
            EXPECT_LE(back.bottom, c.screen.cy) << what;
            EXPECT_EQ(m_bars[1]->m_pDockContext->m_ptMRUFloatPos,
                      CPoint(::MulDiv(mruFloat.x, c.screen.cx, savedOn.cx),
                             ::MulDiv(mruFloat.y, c.screen.cy, savedOn.cy)))
                << what;
            EXPECT_EQ(m_bars[0]->m_pDockBar, Dock(AFX_IDW_DOCKBAR_TOP)) << what;
        }
    }
}

} // namespace
} // namespace docktest
