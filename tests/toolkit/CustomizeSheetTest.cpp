// The pages of the customisation sheet, made side by side in a container as a sheet holds them: the
// toolbar list page telling its siblings of look changes, and the commands page's categories, button
// descriptions and drops onto toolbars.
#include "ToolBarTestSupport.h"

#include "toolkit/SECToolBarCmdPage.h"
#include "toolkit/SECToolBarListPage.h"
#include "toolkit/ToolkitResourceIds.h"

using namespace tbtest;

namespace {

class RecordingCmdPage : public SECToolBarCmdPage {
public:
    using SECToolBarCmdPage::SECToolBarCmdPage;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == SECGetToolBarStyleChangingMessage()) {
            styleChanges.push_back(wParam);
        }
        return SECToolBarCmdPage::WindowProc(message, wParam, lParam);
    }
    std::vector<WPARAM> styleChanges;
};

class CustomizeSheetTest : public ToolBarTest {
protected:
    void SetUp() override {
        ToolBarTest::SetUp();
        m_frame->EnableDocking(CBRS_ALIGN_ANY);
        const UINT standard[] = {ID_FIRST_CMD, 0, ID_FIRST_CMD + 1};
        // A command whose string every program linking the toolkit has: the toolkit's own "&Delete".
        const UINT more[] = {ID_FIRST_CMD + 2, IDS_SEC_DELETE};
        m_manager->DefineDefaultToolBar(AFX_IDW_TOOLBAR, u"Standard", standard, 3);
        m_manager->DefineDefaultToolBar(ID_SECOND_BAR, u"More", more, 2);
        m_manager->CreateDefaultToolBars();
        m_container.CreateEx(0, AfxRegisterWndClass(0), u"sheet", WS_POPUP | WS_VISIBLE, CRect(50, 450, 550, 800),
                             m_frame, 0);
        m_pList = std::make_unique<SECToolBarListPage>(m_manager.get());
        m_pCommands = std::make_unique<RecordingCmdPage>(m_manager.get());
        ASSERT_TRUE(m_pList->Create(IDD_SEC_TOOLBARS_PAGE, &m_container));
        ASSERT_TRUE(m_pCommands->Create(IDD_SEC_COMMANDS_PAGE, &m_container));
        m_pCommands->ShowWindow(SW_SHOW);
        m_pCommands->UpdateWindow();
    }
    void TearDown() override {
        m_pList.reset();
        m_pCommands.reset();
        m_container.DestroyWindow();
        ToolBarTest::TearDown();
    }
    void Click(CWnd& page, int id) {
        page.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(page.GetDlgItem(id)->m_hWnd));
    }
    CString Description() {
        CString s;
        m_pCommands->GetDlgItemTextW(IDC_SEC_DESCRIPTION, s);
        return s;
    }

    CWnd m_container;
    
    std::unique_ptr<SECToolBarListPage> m_pList;
    std::unique_ptr<RecordingCmdPage> m_pCommands;
};

TEST_F(CustomizeSheetTest, LookChangesReachTheSiblingPagesAndCustomisingEndsWithTheLastPage) {
    EXPECT_TRUE(m_manager->IsCustomizing());
    EXPECT_EQ(m_pList->m_pLogic->m_list.GetCount(), 2);
    m_pList->CheckDlgButton(IDC_SEC_COOLLOOK, BST_UNCHECKED);
    Click(*m_pList, IDC_SEC_COOLLOOK);
    m_pList->CheckDlgButton(IDC_SEC_LARGEBUTTONS, BST_CHECKED);
    Click(*m_pList, IDC_SEC_LARGEBUTTONS);
    EXPECT_FALSE(m_manager->IsCoolLook());
    EXPECT_TRUE(m_manager->IsLargeButtons());
    EXPECT_EQ(m_pCommands->styleChanges, (std::vector<WPARAM>{SEC_STYLE_COOLLOOK, SEC_STYLE_LARGEBUTTONS}));

    m_pList->DestroyWindow();
    EXPECT_TRUE(m_manager->IsCustomizing()); // the commands page still drags buttons
    m_pCommands->DestroyWindow();
    EXPECT_FALSE(m_manager->IsCustomizing());
}

// A modal customise dialog finds its frame disabled and leaves it so; a modeless one must leave it usable.
TEST_F(CustomizeSheetTest, LeavingCustomiseModeGivesTheFrameBackAsItWasFound) {
    for (BOOL enabled : {TRUE, FALSE}) {
        m_manager->ExitCustomize();
        m_frame->EnableWindow(enabled);
        m_manager->EnterCustomize();
        EXPECT_TRUE(m_frame->IsWindowEnabled());
        m_manager->ExitCustomize();
        EXPECT_EQ(m_frame->IsWindowEnabled(), enabled);
    }
    m_frame->EnableWindow(TRUE);
}

TEST_F(CustomizeSheetTest, CategoriesAreTheDefaultToolBarsAndAClickShowsTheDescription) {
    EXPECT_EQ(m_pCommands->SendDlgItemMessageW(IDC_SEC_CATEGORIES, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(m_pCommands->Buttons(), (std::vector<UINT>{ID_FIRST_CMD, ID_FIRST_CMD + 1})); // no separator

    m_pCommands->SendDlgItemMessageW(IDC_SEC_CATEGORIES, LB_SETCURSEL, 1, 0);
    m_pCommands->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SEC_CATEGORIES, LBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(m_pCommands->GetDlgItem(IDC_SEC_CATEGORIES)->m_hWnd));
    ASSERT_EQ(m_pCommands->Buttons(), (std::vector<UINT>{ID_FIRST_CMD + 2, IDS_SEC_DELETE}));

    CRect second = m_pCommands->ButtonRect(1);
    EXPECT_EQ(m_pCommands->HitTest(second.CenterPoint()), 1);
    m_pCommands->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(second.CenterPoint().x, second.CenterPoint().y));
    m_pCommands->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(second.CenterPoint().x, second.CenterPoint().y));
    EXPECT_EQ(m_pCommands->m_nSelected, 1);
    EXPECT_EQ(std::u16string(static_cast<LPCTSTR>(Description())), u"&Delete");

    // A button without a string has no description.
    m_pCommands->SelectButton(0);
    EXPECT_EQ(Description(), CString());
}

TEST_F(CustomizeSheetTest, ADroppedButtonIsCopiedOntoTheToolBarOrStartsANewOne) {
    SECCustomToolBar* standard = m_manager->FindToolBar(AFX_IDW_TOOLBAR);
    ASSERT_NE(standard, nullptr);
    const size_t before = standard->m_btns.size();
    CRect onBar;
    standard->GetWindowRect(&onBar);
    onBar.right = onBar.left + 10; // over the first button
    ASSERT_TRUE(m_pCommands->DropButton(1, onBar));
    ASSERT_EQ(standard->m_btns.size(), before + 1);
    EXPECT_EQ(m_pCommands->Buttons(), (std::vector<UINT>{ID_FIRST_CMD, ID_FIRST_CMD + 1})); // the page keeps its own

    const size_t bars = m_manager->ToolBars().size();
    EXPECT_TRUE(m_pCommands->DropButton(0, CRect(20, 20, 43, 42))); // away from bars and the sheet
    ASSERT_EQ(m_manager->ToolBars().size(), bars + 1);
    EXPECT_FALSE(m_pCommands->DropButton(5, onBar));
}

} // namespace
