// What the customisation sheet's tests share: a command dragged off the "Commands" page onto a toolbar with
// the page's mouse messages, a new toolbar named through its dialog as a person would, and the one
// customisation that the tests make and look for again at the next start.
#pragma once

#include "DockApp.h"
#include "DockAppIds.h"

#include "toolkit/SECNewToolBar.h"
#include "platform/kernel/Threads.h"
#include "toolkit/ToolkitResourceIds.h"

#include <gtest/gtest.h>

#include <vector>

namespace dockapp {

inline constexpr const char16_t* kNewToolBarName = u"Survey tools";

inline std::vector<UINT> IdsOf(const SECCustomToolBar* bar) {
    std::vector<UINT> ids;
    for (const SECStdBtn* b : bar->m_btns) {
        ids.push_back(b->m_nID);
    }
    return ids;
}

// Drags command `nButton` of category `nCategory` from the Commands page onto the end of `bar` (onto its
// middle when it is empty).
inline void DragCommand(SECToolBarSheet& sheet, int nCategory, int nButton, SECCustomToolBar& bar) {
    ASSERT_TRUE(sheet.SetActivePage(&sheet.m_commandsPage));
    SECToolBarCmdPage& page = sheet.m_commandsPage;
    page.SelectCategory(nCategory);
    const CPoint from = page.ButtonRect(nButton).CenterPoint();
    CRect client;
    bar.GetClientRect(&client);
    CPoint to = client.CenterPoint();
    if (!bar.m_btns.empty()) {
        const SECStdBtn* last = bar.m_btns.back();
        to = CPoint(last->m_x + last->m_cx - 2, last->m_y + last->m_cy / 2);
    }
    bar.ClientToScreen(&to);
    page.ScreenToClient(&to);
    page.SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    page.SendMessageW(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    page.SendMessageW(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
}

// Answers the new-toolbar dialog: types the name and presses OK.
inline LRESULT CALLBACK AnswerNewToolBar(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code >= 0 && call->message == WM_INITDIALOG &&
        dynamic_cast<SECNewToolBar*>(CWnd::FromHandlePermanent(call->hwnd))) {
        ::PostMessageW(::GetDlgItem(call->hwnd, IDC_SEC_NEWNAME), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(kNewToolBarName));
        ::PostMessageW(call->hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(call->hwnd, IDOK)));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// "New..." on the Toolbars page, named kNewToolBarName; the toolbar made, or null.
inline SECCustomToolBar* NewToolBarFromTheSheet(SECToolBarSheet& sheet, SECToolBarManager& manager) {
    if (!sheet.SetActivePage(&sheet.m_toolBarsPage)) {
        return nullptr;
    }
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, AnswerNewToolBar, nullptr, ::GetCurrentThreadId());
    CWnd* button = sheet.m_toolBarsPage.GetDlgItem(IDC_SEC_NEW);
    sheet.m_toolBarsPage.SendMessageW(WM_COMMAND, MAKEWPARAM(IDC_SEC_NEW, BN_CLICKED),
                                      reinterpret_cast<LPARAM>(button->m_hWnd));
    ::UnhookWindowsHookEx(hook);
    return manager.FindToolBar(SEC_IDW_FIRST_USER_TOOLBAR);
}

// With the sheet open from the View menu: Survey dragged onto the end of Standard, a new toolbar made and
// Sky dragged onto it. The sheet stays open.
inline void CustomiseThroughTheSheet(DockAppFrame* frame) {
    frame->SendMessageW(WM_COMMAND, ID_DOCK_CUSTOMIZE_SHEET);
    SECToolBarSheet* sheet = frame->m_sheet.Sheet();
    ASSERT_TRUE(sheet && sheet->IsWindowVisible());
    SECToolBarManager& manager = *frame->m_pManager;
    DragCommand(*sheet, 1, 0, *manager.FindToolBar(ID_BAR_STANDARD));
    SECCustomToolBar* made = NewToolBarFromTheSheet(*sheet, manager);
    ASSERT_NE(made, nullptr);
    DragCommand(*sheet, 1, 1, *made);
}

// What CustomiseThroughTheSheet leaves on the toolbars.
inline void ExpectCustomised(DockAppFrame* frame) {
    SECToolBarManager& manager = *frame->m_pManager;
    EXPECT_EQ(IdsOf(manager.FindToolBar(ID_BAR_STANDARD)),
              (std::vector<UINT>{ID_DOCK_NEW, ID_DOCK_OPEN, ID_DOCK_SAVE, 0, ID_DOCK_CONNECT, ID_DOCK_SURVEY}));
    SECCustomToolBar* made = manager.FindToolBar(SEC_IDW_FIRST_USER_TOOLBAR);
    ASSERT_NE(made, nullptr);
    CString title;
    made->GetWindowTextW(title);
    EXPECT_EQ(std::u16string(static_cast<LPCTSTR>(title)), kNewToolBarName);
    EXPECT_EQ(IdsOf(made), (std::vector<UINT>{ID_DOCK_SKY}));
    EXPECT_TRUE(made->IsWindowVisible());
}

} // namespace dockapp
