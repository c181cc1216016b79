// The toolbar list dialog and the new-toolbar name: selecting, renaming, deleting and resetting toolbars,
// the menu bar that stays shown, the name limit, and a new toolbar closing the dialog.
#include "ToolBarTestSupport.h"

#include "toolkit/SECMenuBar.h"
#include "toolkit/SECNewToolBar.h"
#include "toolkit/SECToolBarListDialog.h"
#include "toolkit/ToolkitResourceIds.h"

#include <string>

using namespace tbtest;

namespace {

class NamingLogic : public SECToolBarListLogic {
public:
    using SECToolBarListLogic::SECToolBarListLogic;
    INT_PTR AskName(CString& strName) override {
        strName = u"Fresh";
        return IDOK;
    }
};

class ToolBarDialogTest : public ToolBarTest {
protected:
    void SetUp() override {
        ToolBarTest::SetUp();
        m_frame->EnableDocking(CBRS_ALIGN_ANY);
        const UINT defaults[] = {ID_FIRST_CMD, 0, ID_FIRST_CMD + 1};
        m_manager->DefineDefaultToolBar(AFX_IDW_TOOLBAR, u"Standard", defaults, 3);
        m_manager->CreateDefaultToolBars();
        m_user = m_manager->CreateUserToolBar(u"Mine");
        m_menuBar = new SECMenuBar;
        m_menuBar->m_bAutoDelete = TRUE;
        m_menuBar->SetManager(m_manager.get());
        ASSERT_TRUE(m_menuBar->CreateMenuBar(m_frame));
        ASSERT_TRUE(m_user && m_manager->FindToolBar(AFX_IDW_TOOLBAR));
        m_dialog = std::make_unique<SECToolBarListDialog>(m_manager.get(), m_frame);
        ASSERT_TRUE(m_dialog->Create(IDD_SEC_TOOLBARS, m_frame));
    }
    void TearDown() override {
        if (m_dialog->GetSafeHwnd()) {
            m_dialog->Close(IDCANCEL);
            m_dialog->DestroyWindow();
        }
        m_dialog.reset();
        ToolBarTest::TearDown();
    }
    CCheckListBox& List() { return m_dialog->m_pLogic->m_list; }
    int ItemOf(UINT nID) const { return m_dialog->m_pLogic->FindItemById(nID); }
    void Select(UINT nID) {
        List().SetCurSel(ItemOf(nID));
        m_dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SEC_TOOLBARLIST, LBN_SELCHANGE),
                              reinterpret_cast<LPARAM>(List().m_hWnd));
    }
    void Click(int id) {
        m_dialog->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                              reinterpret_cast<LPARAM>(m_dialog->GetDlgItem(id)->m_hWnd));
    }
    CString Text(int id) {
        CString s;
        m_dialog->GetDlgItemTextW(id, s);
        return s;
    }
    bool Enabled(int id) { return m_dialog->GetDlgItem(id)->IsWindowEnabled() != FALSE; }

    SECCustomToolBar* m_user = nullptr;
    SECMenuBar* m_menuBar = nullptr;
    std::unique_ptr<SECToolBarListDialog> m_dialog;
};

TEST_F(ToolBarDialogTest, TheListHoldsEveryToolBarByIdAndTheManagerCustomises) {
    ASSERT_EQ(List().GetCount(), 3);
    EXPECT_EQ(List().GetItemData(0), AFX_IDW_TOOLBAR);
    EXPECT_EQ(List().GetItemData(1), SEC_IDW_FIRST_USER_TOOLBAR);
    EXPECT_EQ(List().GetItemData(2), SEC_IDW_MENUBAR);
    const char16_t* names[] = {u"Standard", u"Mine", u"Menu Bar"};
    for (int i = 0; i < 3; ++i) {
        CString name;
        List().GetText(i, name);
        EXPECT_EQ(std::u16string(static_cast<LPCTSTR>(name)), names[i]) << i;
    }
    EXPECT_TRUE(m_manager->IsCustomizing());
    EXPECT_TRUE(m_user->m_bCustomizing);
    m_dialog->Close(IDOK);
    EXPECT_FALSE(m_manager->IsCustomizing());
    EXPECT_FALSE(m_user->m_bCustomizing);
}

TEST_F(ToolBarDialogTest, AUserToolBarCanBeRenamedAndDeletedAStandardOneReset) {
    Select(SEC_IDW_FIRST_USER_TOOLBAR);
    EXPECT_EQ(Text(IDC_SEC_TOOLBARNAME), CString(u"Mine"));
    EXPECT_EQ(Text(IDC_SEC_RESET), CString(u"&Delete"));
    EXPECT_TRUE(Enabled(IDC_SEC_TOOLBARNAME));

    // A 200-character name is cut to 128 in the edit, the bar and the list.
    CWnd* pEdit = m_dialog->GetDlgItem(IDC_SEC_TOOLBARNAME);
    pEdit->SetWindowTextW(CString(std::u16string(200, u'n').c_str()));
    pEdit->SendMessage(EM_SETMODIFY, TRUE);
    m_dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SEC_TOOLBARNAME, EN_KILLFOCUS),
                          reinterpret_cast<LPARAM>(pEdit->m_hWnd));
    CString title;
    m_user->GetWindowTextW(title);
    EXPECT_EQ(title.GetLength(), 128);
    EXPECT_EQ(Text(IDC_SEC_TOOLBARNAME).GetLength(), 128);
    CString item;
    List().GetText(ItemOf(SEC_IDW_FIRST_USER_TOOLBAR), item);
    EXPECT_EQ(item, title);

    HWND hUser = m_user->m_hWnd;
    Click(IDC_SEC_RESET);
    EXPECT_FALSE(::IsWindow(hUser));
    EXPECT_EQ(ItemOf(SEC_IDW_FIRST_USER_TOOLBAR), -1);
    EXPECT_EQ(List().GetCount(), 2);
    EXPECT_EQ(List().GetCurSel(), 1) << "the item now at its place";

    SECCustomToolBar* pStd = m_manager->FindToolBar(AFX_IDW_TOOLBAR);
    pStd->RemoveButton(0);
    Select(AFX_IDW_TOOLBAR);
    EXPECT_EQ(Text(IDC_SEC_RESET), CString(u"&Reset"));
    EXPECT_FALSE(Enabled(IDC_SEC_TOOLBARNAME));
    EXPECT_EQ(Text(IDC_SEC_TOOLBARNAME), CString(u"Standard"));
    Click(IDC_SEC_RESET);
    EXPECT_EQ(Ids(*pStd), (std::vector<UINT>{ID_FIRST_CMD, 0, ID_FIRST_CMD + 1}));
}

TEST_F(ToolBarDialogTest, UncheckingHidesAToolBarButNeverTheMenuBar) {
    auto uncheck = [&](UINT nID) {
        Select(nID);
        List().SetCheck(ItemOf(nID), 0);
        m_dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SEC_TOOLBARLIST, CLBN_CHKCHANGE),
                              reinterpret_cast<LPARAM>(List().m_hWnd));
    };
    uncheck(SEC_IDW_MENUBAR);
    EXPECT_EQ(List().GetCheck(ItemOf(SEC_IDW_MENUBAR)), 1);
    EXPECT_TRUE(m_menuBar->IsWindowVisible());
    uncheck(SEC_IDW_FIRST_USER_TOOLBAR);
    EXPECT_FALSE(m_user->IsWindowVisible());
    EXPECT_EQ(List().GetCheck(ItemOf(SEC_IDW_FIRST_USER_TOOLBAR)), 0);
}

TEST_F(ToolBarDialogTest, ANewToolBarFloatsAndClosesTheDialog) {
    m_dialog->m_pLogic = std::make_unique<NamingLogic>(m_dialog.get(), m_manager.get());
    m_dialog->m_pLogic->m_list.SubclassDlgItem(IDC_SEC_TOOLBARLIST, m_dialog.get());
    Click(IDC_SEC_NEW);
    SECCustomToolBar* pNew = m_manager->FindToolBar(SEC_IDW_FIRST_USER_TOOLBAR + 1);
    ASSERT_TRUE(pNew);
    CString title;
    pNew->GetWindowTextW(title);
    EXPECT_EQ(title, CString(u"Fresh"));
    EXPECT_TRUE(pNew->IsFloating());
    EXPECT_FALSE(m_dialog->IsWindowVisible()) << "closed";
    EXPECT_FALSE(m_manager->IsCustomizing());
}

TEST_F(ToolBarDialogTest, TheNewToolBarNameIsCutTo128AndOkNeedsOne) {
    SECNewToolBar dlg(m_frame);
    ASSERT_TRUE(dlg.Create(IDD_SEC_NEWTOOLBAR, m_frame));
    CWnd* pEdit = dlg.GetDlgItem(IDC_SEC_NEWNAME);
    EXPECT_FALSE(dlg.GetDlgItem(IDOK)->IsWindowEnabled());
    pEdit->SetWindowTextW(CString(std::u16string(200, u'x').c_str()));
    CString text;
    pEdit->GetWindowTextW(text);
    EXPECT_EQ(text.GetLength(), 128);
    EXPECT_TRUE(dlg.GetDlgItem(IDOK)->IsWindowEnabled());
    dlg.DestroyWindow();
}

} // namespace

// The dialogs' texts come from the string table that the toolkit puts into every program linking it, with
// no setup by the program; a caller's own loader set back to none falls back to it.
TEST(ToolkitStrings, LoadInEveryProgramLinkingTheToolkit) {
    SetStringResourceLoader([](UINT, std::u16string&) { return false; });
    CString text;
    EXPECT_FALSE(text.LoadString(IDS_SEC_DELETE));
    SetStringResourceLoader(nullptr);
    const std::pair<UINT, const char16_t*> strings[] = {
        {IDS_SEC_RESET, u"&Reset"}, {IDS_SEC_DELETE, u"&Delete"}, {IDS_SEC_TOOLBAR_NAME, u"ToolBar%d"}};
    for (auto [id, expected] : strings) {
        ASSERT_TRUE(text.LoadString(id)) << id;
        EXPECT_EQ(std::u16string(static_cast<LPCTSTR>(text)), expected) << id;
    }
}
