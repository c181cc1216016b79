// The saved form of toolbars: the archive and profile forms, malformed data refused, and toolbars a user
// made and changed coming back from the profile.
#include "ToolBarTestSupport.h"

#include "toolkit/SECCustomToolBarInfoEx.h"
#include "toolkit/SECMenuBar.h"

#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"

using namespace tbtest;

namespace {

class ToolBarStateTest : public ToolBarTest {};

SECCustomToolBarInfoEx Sample() {
    SECCustomToolBarInfoEx info;
    info.m_strTitle = u"Mine";
    info.m_btnInfo = {{ID_FIRST_CMD, {}}, {0, {}}, {0x01020304, {7, 8, 9}}};
    return info;
}

TEST_F(ToolBarStateTest, TheArchiveFormRoundTripsAndACutArchiveIsRefused) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        SECCustomToolBarInfoEx info = Sample();
        info.Serialize(ar);
    }
    file.SeekToBegin();
    SECCustomToolBarInfoEx back;
    {
        CArchive ar(&file, CArchive::load);
        back.Serialize(ar);
    }
    EXPECT_EQ(back.m_strTitle, CString(u"Mine"));
    EXPECT_EQ(back.m_btnInfo, Sample().m_btnInfo);

    // A count that promises more than the data holds ends in the archive exception, nothing taken.
    const ULONGLONG length = file.GetLength();
    file.SetLength(length - 2);
    file.SeekToBegin();
    SECCustomToolBarInfoEx cut;
    CArchive ar(&file, CArchive::load);
    int cause = -1;
    try {
        cut.Serialize(ar);
    } catch (CArchiveException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(cause, CArchiveException::endOfFile);
    EXPECT_TRUE(cut.m_btnInfo.empty());
}

TEST_F(ToolBarStateTest, TheProfileValueIsLittleEndianRecordsAndACutOneIsRefused) {
    const std::vector<BYTE> value = Sample().ButtonsValue();
    const std::vector<BYTE> expected = {0xE8, 0x03, 0, 0, 0, 0, 0, 0, 0, 0, 4, 3, 2, 1, 3, 7, 8, 9};
    EXPECT_EQ(value, expected);
    EXPECT_EQ(SECCustomToolBarInfoEx::ParseButtons(value.data(), value.size()), Sample().m_btnInfo);
    for (size_t cut : {size_t{3}, size_t{16}}) {
        EXPECT_FALSE(SECCustomToolBarInfoEx::ParseButtons(value.data(), cut)) << cut;
    }
}

TEST_F(ToolBarStateTest, CustomisedToolBarsComeBackFromTheProfile) {
    SECCustomToolBar* pStd = MakeBar({ID_FIRST_CMD, 0, ID_FIRST_CMD + 1});
    SECCustomToolBar* pUser = m_manager->CreateUserToolBar(u"Mine");
    ASSERT_TRUE(pStd && pUser);
    pUser->InsertButton(0, ID_FIRST_CMD + 5);
    pStd->RemoveButton(2);
    m_manager->SaveToolBars(u"Layout");

    pUser->DestroyWindow();
    pStd->SetButtons(nullptr, 0);
    m_manager->LoadToolBars(u"Layout");
    EXPECT_EQ(Ids(*pStd), std::vector<UINT>{ID_FIRST_CMD});
    SECCustomToolBar* pBack = m_manager->FindToolBar(SEC_IDW_FIRST_USER_TOOLBAR);
    ASSERT_TRUE(pBack);
    EXPECT_EQ(Ids(*pBack), std::vector<UINT>{ID_FIRST_CMD + 5});
    CString title;
    pBack->GetWindowTextW(title);
    EXPECT_EQ(title, CString(u"Mine"));
}

// The menu bar's buttons come from its menu: it is left out of the saved toolbars, and an entry for it in
// an older profile does not replace them.
TEST_F(ToolBarStateTest, TheMenuBarKeepsItsMenuButtonsThroughSaveAndLoad) {
    ASSERT_TRUE(MakeBar({ID_FIRST_CMD}));
    HMENU menu = ::CreateMenu();
    for (const char16_t* title : {u"&File", u"&View"}) {
        ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), title);
    }
    auto* pMenuBar = new SECMenuBar;
    pMenuBar->m_bAutoDelete = TRUE;
    pMenuBar->SetManager(m_manager.get());
    ASSERT_TRUE(pMenuBar->CreateMenuBar(m_frame));
    ASSERT_TRUE(pMenuBar->SetMenu(menu));
    m_manager->SaveToolBars(u"Layout");
    EXPECT_EQ(m_app.GetProfileInt(u"Layout-ToolBars", u"Count", -1), 1u);

    m_app.WriteProfileInt(u"Layout-ToolBars", u"Count", 2);
    m_app.WriteProfileInt(u"Layout-ToolBars", u"Bar1", static_cast<int>(SEC_IDW_MENUBAR));
    CString section;
    section.Format(u"Layout-ToolBar%u", SEC_IDW_MENUBAR);
    Sample().SaveState(section);
    m_manager->LoadToolBars(u"Layout");
    EXPECT_EQ(pMenuBar->GetBtnCount(), 2);
    pMenuBar->DestroyWindow();
    ::DestroyMenu(menu);
}

} // namespace
