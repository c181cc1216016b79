// Bitmap menus: which items a host's pop-up menus hand to the plug-in, how they measure and draw, mnemonic
// keys, items the host relabels, and plain items again when the plug-in goes.
#include "ToolBarTestSupport.h"

#include "toolkit/SECBmpMenuPlugIn.h"

#include "platform/framework/AfxRes.h"

using namespace tbtest;

namespace {

constexpr UINT ID_FOREIGN = 2000;
constexpr UINT ID_NO_IMAGE = 2001;

// A host as the frames build it: the plug-in sees each message first.
class HostWnd : public CWnd {
public:
    SECBmpMenuPlugIn* m_pPlugIn = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        LRESULT result = 0;
        if (PlugInHandled(m_pPlugIn, message, wParam, lParam, result)) {
            return result;
        }
        result = CWnd::WindowProc(message, wParam, lParam);
        if (message == WM_INITMENUPOPUP && m_pPlugIn) {
            m_pPlugIn->AfterInitMenuPopup(wParam, lParam);
        }
        return result;
    }
};

class BmpMenuTest : public ToolBarTest {
protected:
    void SetUp() override {
        ToolBarTest::SetUp();
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), u"Host", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
        m_plugIn = new SECBmpMenuPlugIn(TRUE);
        m_plugIn->SetBitmapManager(m_manager->GetBmpMgr());
        ASSERT_TRUE(m_plugIn->AttachToHost(&m_host));
        m_host.m_pPlugIn = m_plugIn;
        ASSERT_TRUE(m_menu.CreatePopupMenu());
        m_menu.AppendMenu(MF_STRING, ID_FIRST_CMD, u"&Open\tCtrl+O");
        m_menu.AppendMenu(MF_SEPARATOR);
        m_menu.AppendMenu(MF_STRING, 0xF060, u"&System close");
        m_menu.AppendMenu(MF_OWNERDRAW, ID_FOREIGN, reinterpret_cast<LPCTSTR>(static_cast<UINT_PTR>(77)));
        m_menu.AppendMenu(MF_STRING, ID_NO_IMAGE, u"&Other");
        m_menu.AppendMenu(MF_STRING, ID_FIRST_CMD + 1, u"&Close");
    }
    void TearDown() override {
        m_host.m_pPlugIn = nullptr;
        delete m_plugIn;
        m_menu.DestroyMenu();
        m_host.DestroyWindow();
        ToolBarTest::TearDown();
    }
    void InitPopup() { m_host.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(m_menu.m_hMenu), 0); }
    MENUITEMINFOW Item(int pos) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_ID | MIIM_FTYPE | MIIM_DATA | MIIM_STATE;
        ::GetMenuItemInfoW(m_menu.m_hMenu, static_cast<UINT>(pos), TRUE, &mii);
        return mii;
    }
    SECBmpMenuItemInfo* Record(int pos) { return reinterpret_cast<SECBmpMenuItemInfo*>(Item(pos).dwItemData); }
    // Draws the item at pos into a 200 x 24 bitmap with the given state and hands back the DC.
    HDC DrawItem(int pos, UINT state, HBITMAP& bmp) {
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        bmp = ::CreateCompatibleBitmap(screen, 200, 24);
        ::ReleaseDC(nullptr, screen);
        ::SelectObject(dc, bmp);
        MENUITEMINFOW mii = Item(pos);
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_MENU;
        dis.itemID = mii.wID;
        dis.itemState = state;
        dis.hwndItem = reinterpret_cast<HWND>(m_menu.m_hMenu);
        dis.hDC = dc;
        dis.rcItem = RECT{0, 0, 200, 24};
        dis.itemData = mii.dwItemData;
        m_host.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        return dc;
    }
    static void FreeDC(HDC dc, HBITMAP bmp) {
        ::DeleteDC(dc);
        ::DeleteObject(bmp);
    }

    HostWnd m_host;
    SECBmpMenuPlugIn* m_plugIn = nullptr;
    CMenu m_menu;
};

TEST_F(BmpMenuTest, OnlyPlainTextItemsOutsideTheSystemRangeAreConverted) {
    InitPopup();
    struct Case {
        int pos;
        bool ours;
    } cases[] = {{0, true}, {1, false}, {2, false}, {3, false}, {4, true}, {5, true}};
    for (const Case& c : cases) {
        MENUITEMINFOW mii = Item(c.pos);
        EXPECT_EQ((mii.fType & MFT_OWNERDRAW) != 0 && mii.dwItemData != 77, c.ours) << c.pos;
    }
    EXPECT_EQ(Record(0)->m_strText, CString(u"&Open\tCtrl+O"));
    EXPECT_EQ(Record(0)->m_chMnemonic, u'o');
    EXPECT_EQ(m_plugIn->m_mapForeignIds.count(ID_FOREIGN), 1u);
    EXPECT_EQ(SECBmpMenuItemInfo::MnemonicOf(u"Trailing&"), 0);

    // Someone else's item is neither measured nor drawn.
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = ID_FOREIGN;
    mis.itemData = 77;
    m_host.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    EXPECT_EQ(mis.itemWidth, 0u);
}

TEST_F(BmpMenuTest, AnItemMeasuresItsTextBesideTheImageColumn) {
    InitPopup();
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = ID_FIRST_CMD;
    mis.itemData = Item(0).dwItemData;
    m_host.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    CClientDC dc(nullptr);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, m_plugIn->GetMenuFont());
    CRect text(0, 0, 0, 0);
    dc.DrawTextW(CString(u"&Open\tCtrl+O"), &text, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
    ::SelectObject(dc.m_hDC, old);
    EXPECT_EQ(mis.itemWidth, static_cast<UINT>(text.Width() + 16 + 30));
    EXPECT_EQ(mis.itemHeight,
              static_cast<UINT>(std::max({static_cast<int>(text.Height()), 19, ::GetSystemMetrics(SM_CYMENU)})));
}

TEST_F(BmpMenuTest, MnemonicsExecuteASingleMatchAndCycleThroughSeveral) {
    InitPopup();
    auto menuChar = [&](char16_t ch) {
        return m_host.SendMessage(WM_MENUCHAR, MAKEWPARAM(ch, MF_POPUP), reinterpret_cast<LPARAM>(m_menu.m_hMenu));
    };
    EXPECT_EQ(menuChar(u'C'), MAKELRESULT(5, MNC_EXECUTE));
    EXPECT_EQ(menuChar(u'x'), 0);
    EXPECT_EQ(menuChar(u'o'), MAKELRESULT(0, MNC_SELECT)) << "nothing highlighted: the first";
    ::HiliteMenuItem(m_host.m_hWnd, m_menu.m_hMenu, 0, MF_BYPOSITION | MF_HILITE);
    EXPECT_EQ(menuChar(u'o'), MAKELRESULT(4, MNC_SELECT));
    ::HiliteMenuItem(m_host.m_hWnd, m_menu.m_hMenu, 0, MF_BYPOSITION | MF_UNHILITE);
    ::HiliteMenuItem(m_host.m_hWnd, m_menu.m_hMenu, 4, MF_BYPOSITION | MF_HILITE);
    EXPECT_EQ(menuChar(u'o'), MAKELRESULT(0, MNC_SELECT)) << "wraps to the first";
}

TEST_F(BmpMenuTest, TheLabelStandsLeftTheAcceleratorRightAndTheImageInItsBox) {
    InitPopup();
    HBITMAP bmp = nullptr;
    HDC dc = DrawItem(0, 0, bmp);
    const COLORREF menu = ::GetSysColor(COLOR_MENU);
    const COLORREF ink = ::GetSysColor(COLOR_MENUTEXT);
    int leftmost = 200;
    int rightmost = -1;
    for (int x = 21; x < 200; ++x) {
        for (int y = 0; y < 24; ++y) {
            if (::GetPixel(dc, x, y) == ink) {
                leftmost = std::min(leftmost, x);
                rightmost = std::max(rightmost, x);
            }
        }
    }
    EXPECT_LT(leftmost, 30) << "the label starts after the image column";
    EXPECT_LT(rightmost, 200 - 23);
    EXPECT_GT(rightmost, 200 - 23 - 4) << "the accelerator is right-aligned";
    // Image 0's black square sits at (5, 5) of the image, drawn at (3, 5) in the box.
    EXPECT_EQ(::GetPixel(dc, 1 + 2 + 5 + 2, 12), RGB(0, 0, 0));
    FreeDC(dc, bmp);

    // Without an image: checked shows a check mark, unchecked an empty box.
    dc = DrawItem(4, ODS_CHECKED, bmp);
    int marked = 0;
    for (int x = 1; x < 21; ++x) {
        for (int y = 0; y < 24; ++y) {
            marked += ::GetPixel(dc, x, y) == ::GetSysColor(COLOR_BTNTEXT);
        }
    }
    EXPECT_GT(marked, 5);
    FreeDC(dc, bmp);
    dc = DrawItem(4, 0, bmp);
    for (int x = 1; x < 21; ++x) {
        for (int y = 0; y < 24; ++y) {
            ASSERT_EQ(::GetPixel(dc, x, y), menu) << x << "," << y;
        }
    }
    FreeDC(dc, bmp);
}

TEST_F(BmpMenuTest, ARelabelledItemIsConvertedAgainAndTheOldRecordGoesAtIdle) {
    InitPopup();
    SECBmpMenuItemInfo* old = Record(5);
    m_menu.ModifyMenu(5, MF_BYPOSITION | MF_STRING, ID_FIRST_CMD + 1, u"&Shut");
    InitPopup();
    EXPECT_EQ(Record(5)->m_strText, CString(u"&Shut"));
    EXPECT_NE(Record(5), old);
    ASSERT_EQ(m_plugIn->m_mapMenus.size(), 1u);
    EXPECT_EQ(m_plugIn->m_mapMenus.begin()->second->items.size(), 4u);
    m_host.SendMessage(WM_IDLEUPDATECMDUI);
    EXPECT_EQ(m_plugIn->m_mapMenus.begin()->second->items.size(), 3u);
}

TEST_F(BmpMenuTest, ThePlugInLeavesPlainItemsWithTheirTextsBehind) {
    InitPopup();
    m_host.m_pPlugIn = nullptr;
    delete m_plugIn;
    m_plugIn = nullptr;
    const std::pair<int, const char16_t*> texts[] = {{0, u"&Open\tCtrl+O"}, {4, u"&Other"}, {5, u"&Close"}};
    for (const auto& [pos, text] : texts) {
        EXPECT_FALSE(Item(pos).fType & MFT_OWNERDRAW) << pos;
        CString s;
        m_menu.GetMenuString(static_cast<UINT>(pos), s, MF_BYPOSITION);
        EXPECT_EQ(s, CString(text)) << pos;
    }
    EXPECT_TRUE(Item(3).fType & MFT_OWNERDRAW) << "someone else's item stays theirs";
    EXPECT_TRUE(::IsWindow(m_host.m_hWnd));
}

} // namespace
