// The workbook: tab widths shared out of the MDI client's width, the tab outline (raised for the active
// sheet, no tab for a hidden one), titles shortened to fit, and activation by a click on a tab.
#include "platform/framework/FrameworkTestSupport.h"

#include "toolkit/SECControlBar.h"
#include "toolkit/SECControlBarWorksheet.h"
#include "toolkit/SECWorkbook.h"
#include "toolkit/SECWorkbookClient.h"
#include "toolkit/SECWorksheet.h"

#include <memory>
#include <string>

namespace {

constexpr UINT kSheetResource = 0x7A00; // no resources of its own: titles are set by the test

class WorkbookTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        m_book = new SECWorkbook;
        ASSERT_TRUE(m_book->Create(nullptr, u"Book", WS_OVERLAPPEDWINDOW, CRect(0, 0, 800, 600)));
        m_app.m_pMainWnd = m_book;
        m_book->m_bTabsShown = TRUE;
        m_book->ShowWindow(SW_SHOW);
        ASSERT_NE(m_book->GetClient(), nullptr);
    }
    void TearDown() override {
        if (m_app.m_pMainWnd) {
            m_app.m_pMainWnd->DestroyWindow();
            m_app.m_pMainWnd = nullptr;
        }
        fwtest::FrameworkTest::TearDown();
    }
    SECWorksheet* AddSheet(const char16_t* title) {
        auto* sheet = new SECWorksheet;
        if (!sheet->LoadFrame(kSheetResource, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, m_book)) {
            return nullptr;
        }
        sheet->SetWindowTextW(title);
        return sheet;
    }
    // Leaves the MDI client's window `width` pixels wide, with room below it for the tabs.
    void SetClientWidth(int width) {
        CRect client;
        m_book->GetClientRect(&client);
        m_book->GetClient()->SetMargins(client.Width() - width, 0, 0, 40);
        m_book->RecalcLayout();
        CRect window;
        ::GetWindowRect(m_book->m_hWndMDIClient, &window);
        ASSERT_EQ(window.Width(), width);
    }
    CRect ClientWindow() {
        CRect r;
        ::GetWindowRect(m_book->m_hWndMDIClient, &r);
        m_book->ScreenToClient(&r);
        return r;
    }

    CWinApp m_app{u"WorkbookTest"};
    SECWorkbook* m_book = nullptr;
};

TEST_F(WorkbookTest, TabWidthIsTheClientsShareCappedAtNinety) {
    SetClientWidth(600);
    struct Case {
        int sheets;
        int width;
    };
    // (600 + 5) / n, never over 90.
    const Case cases[] = {{1, 90}, {3, 90}, {6, 90}, {7, 86}, {10, 60}};
    int made = 0;
    for (const Case& c : cases) {
        while (made < c.sheets) {
            ASSERT_NE(AddSheet(u"Sheet"), nullptr);
            ++made;
        }
        EXPECT_EQ(m_book->m_nTabWidth, c.width) << c.sheets << " sheets";
    }
    // Removing sheets widens the rest again; a narrower frame narrows them.
    m_book->m_sheets.back()->DestroyWindow();
    EXPECT_EQ(m_book->m_nTabWidth, 605 / 9);
    EXPECT_EQ(static_cast<int>(m_book->m_sheets.size()), 9);
    EXPECT_EQ(m_book->m_sheets.back()->m_nIndex, 8);
    m_book->SetWindowPos(nullptr, 0, 0, 800 - 155, 600, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_EQ(ClientWindow().Width(), 445);
    EXPECT_EQ(m_book->m_nTabWidth, 450 / 9);
}

TEST_F(WorkbookTest, TabsHangBelowTheClientTheActiveOneRaisedAndHiddenSheetsTakeNone) {
    SetClientWidth(600);
    SECWorksheet* first = AddSheet(u"One");
    SECWorksheet* second = AddSheet(u"Two");
    SECWorksheet* third = AddSheet(u"Three");
    ASSERT_TRUE(first && second && third);
    ASSERT_EQ(m_book->GetActiveFrame(), third);
    const CRect c = ClientWindow();
    const auto inactive = m_book->GetTabPolygon(first);
    EXPECT_EQ(inactive[0].x, c.left);
    EXPECT_EQ(inactive[0].y, c.bottom + 4);
    EXPECT_EQ(inactive[1].y, c.bottom + 4 + 23 - 2);
    EXPECT_EQ(inactive[2].y, inactive[1].y + 2);
    EXPECT_EQ(inactive[5].x - inactive[0].x, 90);
    EXPECT_EQ(inactive[6].x, inactive[0].x);

    const auto active = m_book->GetTabPolygon(third);
    EXPECT_EQ(active[0].x, c.left + 2 * 90 - 2);
    EXPECT_EQ(active[5].x - active[0].x, 90 + 4);
    EXPECT_EQ(active[2].y - active[1].y, 2 + 2);

    CRect text;
    ASSERT_TRUE(m_book->GetTabTextRect(inactive.data(), 16, text));
    EXPECT_EQ(text, CRect(inactive[2].x + 19, inactive[0].y, inactive[4].x - 2, inactive[3].y));
    EXPECT_FALSE(m_book->GetTabTextRect(nullptr, 16, text));
    EXPECT_TRUE(text.IsRectEmpty());

    // A hidden sheet takes no tab: the next closes the gap.
    second->ShowWindow(SW_HIDE);
    EXPECT_EQ(m_book->GetTabPolygon(third)[0].x, c.left + 90 - 2);
    EXPECT_EQ(m_book->SheetFromPoint(CPoint(c.left + 100, c.bottom + 10)), third);
}

TEST_F(WorkbookTest, LongTitlesLoseFourCharactersForThreeDotsUntilTheyFit) {
    CClientDC dc(m_book);
    const int dots = dc.GetTextExtent(u"...").cx;
    struct Case {
        const char16_t* title;
        int width;
        const char16_t* shown;
    };
    const Case cases[] = {
        {u"Satellites", 10000, u"Satellites"},
        {u"abc", 0, u"abc"},                           // under four characters: never shortened
        {u"Satellites", dc.GetTextExtent(u"Satel...").cx, u"Satel..."}, // 10 -> 9 -> 8 characters
        {u"abcd", 0, u"..."},
        {u"abcdefg", dots, u"..."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SECWorkbook::FitTitle(&dc, c.title, c.width), CString(c.shown)) << std::u16string(c.title).size();
    }
    SetClientWidth(600);
    SECWorksheet* shortOne = AddSheet(u"Log");
    SECWorksheet* longOne = AddSheet(u"A title far too long for any tab of ninety pixels");
    EXPECT_TRUE(m_book->IsTabTextComplete(shortOne));
    EXPECT_FALSE(m_book->IsTabTextComplete(longOne));
    EXPECT_FALSE(m_book->IsTabTextComplete(nullptr));

    // Over the truncated tab a tool with the full title; over the complete one, and off the tabs, none.
    const CRect c = ClientWindow();
    TOOLINFO tool{};
    EXPECT_EQ(m_book->OnToolHitTest(CPoint(c.left + 20, c.bottom + 10), &tool), -1);
    ASSERT_EQ(m_book->OnToolHitTest(CPoint(c.left + 110, c.bottom + 10), &tool), 2);
    EXPECT_EQ(tool.uId, 2u);
    EXPECT_EQ(tool.hwnd, m_book->m_hWnd);
    EXPECT_EQ(CString(tool.lpszText), CString(u"A title far too long for any tab of ninety pixels"));
    const auto p = m_book->GetTabPolygon(longOne);
    EXPECT_EQ(CRect(tool.rect), CRect(p[0].x, p[0].y, p[4].x, p[2].y));
    EXPECT_EQ(m_book->OnToolHitTest(CPoint(c.left + 110, c.bottom + 60), &tool), -1);
}

TEST_F(WorkbookTest, AClickOnAnotherTabActivatesItsSheetAndTheRaisedTabFollows) {
    SetClientWidth(600);
    SECWorksheet* first = AddSheet(u"One");
    SECWorksheet* second = AddSheet(u"Two");
    ASSERT_TRUE(first && second);
    ASSERT_EQ(m_book->MDIGetActive(), second);
    const CRect c = ClientWindow();
    const CPoint onFirst(c.left + 30, c.bottom + 12);
    m_book->SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(onFirst.x, onFirst.y));
    EXPECT_EQ(m_book->MDIGetActive(), first);
    EXPECT_TRUE(first->m_bPressed);
    m_book->SendMessageW(WM_LBUTTONUP, 0, MAKELPARAM(onFirst.x, onFirst.y));
    EXPECT_FALSE(first->m_bPressed);
    EXPECT_EQ(m_book->m_nLastActive, 0);
    // The active sheet's own tab: nothing happens. Below the tabs: nothing either.
    m_book->SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(onFirst.x, onFirst.y));
    EXPECT_FALSE(first->m_bPressed);
    m_book->SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.left + 120, c.bottom + 35));
    EXPECT_EQ(m_book->MDIGetActive(), first);
    // Activating through the client moves the raised tab too.
    m_book->MDIActivate(second);
    EXPECT_EQ(m_book->m_nLastActive, 1);
    // With the tabs off a click is no activation.
    m_book->m_bTabsShown = FALSE;
    m_book->SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(onFirst.x, onFirst.y));
    EXPECT_EQ(m_book->MDIGetActive(), second);
}

// A bar floated inside the workbook becomes a sheet with a tab showing the bar's large icon; closing that
// sheet hides the bar and leaves its tab in place until the host goes.
TEST_F(WorkbookTest, ABarFloatedInsideBecomesASheetWithTheBarsIcon) {
    m_book->EnableDocking(CBRS_ALIGN_ANY);
    auto owned = std::make_unique<SECControlBar>(); // goes before the frame it docks in
    SECControlBar& bar = *owned;
    ASSERT_TRUE(bar.Create(m_book, u"Panel", WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC, 0, 0xE830));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    m_book->DockControlBarAtRowColEx(&bar, AFX_IDW_DOCKBAR_TOP, 0, 0);
    HICON icon = ::LoadIconW(nullptr, IDI_APPLICATION);
    ASSERT_NE(icon, nullptr);
    bar.SendMessageW(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ASSERT_NE(AddSheet(u"Document"), nullptr);

    m_book->FloatControlBarInMDIChild(&bar, -1, -1);
    auto* host = dynamic_cast<SECControlBarWorksheet*>(bar.GetParentFrame());
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(m_book->m_sheets.size(), 2u);
    EXPECT_EQ(m_book->m_sheets[1], host);
    EXPECT_NE(host->m_hTabIcon, nullptr);
    EXPECT_NE(host->m_hTabIcon, icon) << "a copy, so that the sheet may destroy it";
    EXPECT_EQ(m_book->GetSheetTitle(host), CString(u"Panel"));
    host->SendMessageW(WM_CLOSE);
    EXPECT_FALSE(bar.IsWindowVisible());
    m_book->DockControlBarAtRowColEx(&bar, AFX_IDW_DOCKBAR_TOP, 0, 0);
    fwtest::DrainQueue();
    EXPECT_EQ(m_book->m_sheets.size(), 1u) << "the emptied host has gone with its tab";
    owned.reset();
}

} // namespace
