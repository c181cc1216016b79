// The customisation sheet of the docking application driven by messages, in the SDI and the MDI frame: it
// opens from the menu command over a frame that stays usable, a command dragged off the "Commands" page lands
// on a toolbar, a new toolbar made from the "Toolbars" page takes a button too, and closing the sheet ends
// customise mode; the next frame opened with the same settings shows the customised toolbars.
#include "DockApp.h"
#include "DockAppIds.h"
#include "DockAppMdi.h"

#include "platform/framework/FrameworkTestSupport.h"
#include "toolkit/SECNewToolBar.h"
#include "toolkit/ToolkitResourceIds.h"

#include <gtest/gtest.h>

#include <vector>

namespace dockapp {
namespace {

constexpr const char16_t* kNewName = u"Survey tools";

std::vector<UINT> IdsOf(const SECCustomToolBar* bar) {
    std::vector<UINT> ids;
    for (const SECStdBtn* b : bar->m_btns) {
        ids.push_back(b->m_nID);
    }
    return ids;
}

// Answers the new-toolbar dialog as a person would: types the name and presses OK.
LRESULT CALLBACK AnswerNewToolBar(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code >= 0 && call->message == WM_INITDIALOG &&
        dynamic_cast<SECNewToolBar*>(CWnd::FromHandlePermanent(call->hwnd))) {
        ::PostMessageW(::GetDlgItem(call->hwnd, IDC_SEC_NEWNAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kNewName));
        ::PostMessageW(call->hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(call->hwnd, IDOK)));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class DockAppCustomizeTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        for (const char16_t* section : {u"DockApp Layout-Summary", u"DockApp MDI Layout-Summary"}) {
            m_app.WriteProfileInt(section, u"Bars", 0);
        }
        for (const char16_t* section : {u"DockApp-ToolBars", u"DockApp MDI-ToolBars"}) {
            m_app.WriteProfileInt(section, u"Count", 0);
        }
    }
    void TearDown() override {
        if (m_frame) {
            m_frame->DestroyWindow();
        }
        m_app.m_pMainWnd = nullptr;
        fwtest::FrameworkTest::TearDown();
    }
    template <class Frame> Frame* Keep(Frame* frame) {
        m_frame = frame;
        m_app.m_pMainWnd = frame;
        return frame;
    }
    void CloseFrame() {
        m_frame->SendMessageW(WM_CLOSE);
        fwtest::DrainQueue();
        m_frame = nullptr;
    }

    // Opens the sheet by the menu command and checks what every frame's sheet shows.
    SECToolBarSheet* OpenSheet(CFrameWnd* frame, SECToolBarManager& manager, CustomizeSheetHolder& holder) {
        frame->SendMessageW(WM_COMMAND, ID_DOCK_CUSTOMIZE_SHEET);
        SECToolBarSheet* sheet = holder.Sheet();
        EXPECT_TRUE(sheet && sheet->IsWindowVisible());
        if (!sheet) {
            return nullptr;
        }
        EXPECT_TRUE(sheet->IsModeless());
        EXPECT_EQ(sheet->GetPageCount(), 2);
        EXPECT_TRUE(manager.IsCustomizing());
        EXPECT_TRUE(frame->IsWindowEnabled()) << "the frame stays usable while the sheet is up";
        EXPECT_EQ(::GetWindow(sheet->m_hWnd, GW_OWNER), frame->m_hWnd);
        // A second command brings the same sheet forward.
        HWND first = sheet->m_hWnd;
        frame->SendMessageW(WM_COMMAND, ID_DOCK_CUSTOMIZE_SHEET);
        EXPECT_EQ(holder.Sheet()->m_hWnd, first);
        return sheet;
    }

    // Drags command `nButton` of category `nCategory` from the Commands page onto the end of `bar`, with the
    // page's mouse messages.
    static void DragCommand(SECToolBarSheet& sheet, int nCategory, int nButton, SECCustomToolBar& bar) {
        ASSERT_TRUE(sheet.SetActivePage(&sheet.m_commandsPage));
        SECToolBarCmdPage& page = sheet.m_commandsPage;
        page.SelectCategory(nCategory);
        const CPoint from = page.ButtonRect(nButton).CenterPoint();
        CRect client;
        bar.GetClientRect(&client);
        CPoint to = client.CenterPoint(); // an empty bar: the outline wholly over it
        if (!bar.m_btns.empty()) {
            const SECStdBtn* last = bar.m_btns.back();
            to = CPoint(last->m_x + last->m_cx - 2, last->m_y + last->m_cy / 2); // over the last button's end
        }
        bar.ClientToScreen(&to);
        page.ScreenToClient(&to);
        page.SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        page.SendMessageW(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        page.SendMessageW(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    }

    CWinApp m_app{u"DockApp"};
    CFrameWnd* m_frame = nullptr;
};

TEST_F(DockAppCustomizeTest, TheSheetCustomisesTheToolBarsAndTheNextStartShowsThem) {
    DockAppFrame* frame = Keep(OpenDockAppFrame());
    ASSERT_NE(frame, nullptr);
    SECToolBarManager& manager = *frame->m_pManager;
    SECToolBarSheet* sheet = OpenSheet(frame, manager, frame->m_sheet);
    ASSERT_NE(sheet, nullptr);

    SECCustomToolBar* standard = manager.FindToolBar(ID_BAR_STANDARD);
    DragCommand(*sheet, 1, 0, *standard); // Receiver: Survey
    EXPECT_EQ(IdsOf(standard),
              (std::vector<UINT>{ID_DOCK_NEW, ID_DOCK_OPEN, ID_DOCK_SAVE, 0, ID_DOCK_CONNECT, ID_DOCK_SURVEY}));

    ASSERT_TRUE(sheet->SetActivePage(&sheet->m_toolBarsPage));
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, AnswerNewToolBar, nullptr, ::GetCurrentThreadId());
    sheet->m_toolBarsPage.SendMessageW(WM_COMMAND, MAKEWPARAM(IDC_SEC_NEW, BN_CLICKED),
                                       reinterpret_cast<LPARAM>(sheet->m_toolBarsPage.GetDlgItem(IDC_SEC_NEW)->m_hWnd));
    ::UnhookWindowsHookEx(hook);
    SECCustomToolBar* made = manager.FindToolBar(SEC_IDW_FIRST_USER_TOOLBAR);
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->IsFloating());
    EXPECT_TRUE(manager.IsCustomizing()) << "the sheet stays up";
    SECToolBarListLogic& list = *sheet->m_toolBarsPage.m_pLogic;
    ASSERT_GE(list.FindItemById(SEC_IDW_FIRST_USER_TOOLBAR), 0);
    DragCommand(*sheet, 1, 1, *made); // Sky
    EXPECT_EQ(IdsOf(made), (std::vector<UINT>{ID_DOCK_SKY}));

    // The close box ends customise mode and gives the frame its children back.
    sheet->SendMessageW(WM_SYSCOMMAND, SC_CLOSE);
    fwtest::DrainQueue();
    EXPECT_FALSE(frame->m_sheet.IsOpen());
    EXPECT_FALSE(manager.IsCustomizing());
    EXPECT_TRUE(frame->IsWindowEnabled());
    EXPECT_TRUE(frame->m_view.IsWindowEnabled());
    CloseFrame();

    frame = Keep(OpenDockAppFrame());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(IdsOf(frame->m_pManager->FindToolBar(ID_BAR_STANDARD)),
              (std::vector<UINT>{ID_DOCK_NEW, ID_DOCK_OPEN, ID_DOCK_SAVE, 0, ID_DOCK_CONNECT, ID_DOCK_SURVEY}));
    made = frame->m_pManager->FindToolBar(SEC_IDW_FIRST_USER_TOOLBAR);
    ASSERT_NE(made, nullptr);
    CString title;
    made->GetWindowTextW(title);
    EXPECT_EQ(std::u16string(static_cast<LPCTSTR>(title)), kNewName);
    EXPECT_EQ(IdsOf(made), (std::vector<UINT>{ID_DOCK_SKY}));
    EXPECT_TRUE(made->IsWindowVisible());
}

TEST_F(DockAppCustomizeTest, TheMdiFrameOffersTheSheetAndKeepsWhatItChanged) {
    DockAppMdiFrame* frame = Keep(OpenDockAppMdiFrame());
    ASSERT_NE(frame, nullptr);
    SECToolBarManager& manager = *frame->m_pManager;
    SECCustomToolBar* receiver = manager.FindToolBar(ID_BAR_RECEIVER);
    ASSERT_NE(receiver, nullptr);
    CRect bar, satellites;
    receiver->GetWindowRect(&bar);
    frame->m_satellites.GetWindowRect(&satellites);
    EXPECT_LE(bar.bottom, satellites.top) << "the toolbars above the panels";

    SECToolBarSheet* sheet = OpenSheet(frame, manager, frame->m_sheet);
    ASSERT_NE(sheet, nullptr);
    DragCommand(*sheet, 0, 3, *receiver); // Standard: Connect
    EXPECT_EQ(IdsOf(receiver), (std::vector<UINT>{ID_DOCK_SURVEY, ID_DOCK_SKY, 0, ID_DOCK_LOG, ID_DOCK_CONNECT}));
    sheet->SendMessageW(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                        reinterpret_cast<LPARAM>(::GetDlgItem(sheet->m_hWnd, IDCANCEL))); // Close
    EXPECT_FALSE(frame->m_sheet.IsOpen());
    EXPECT_FALSE(manager.IsCustomizing());
    CloseFrame();

    frame = Keep(OpenDockAppMdiFrame());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(IdsOf(frame->m_pManager->FindToolBar(ID_BAR_RECEIVER)),
              (std::vector<UINT>{ID_DOCK_SURVEY, ID_DOCK_SKY, 0, ID_DOCK_LOG, ID_DOCK_CONNECT}));

    // A frame that goes while the sheet is up takes it down with it.
    OpenSheet(frame, *frame->m_pManager, frame->m_sheet);
    frame->DestroyWindow();
    m_frame = nullptr;
    fwtest::DrainQueue();
}

} // namespace
} // namespace dockapp
