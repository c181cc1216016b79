// The custom toolbar tests' world: a frame with a toolbar manager, an image strip drawn in known colours and
// toolbars made from lists of ids (0 for a separator).
#pragma once

#include "platform/framework/FrameworkTestSupport.h"

#include "toolkit/SECBmpMgr.h"
#include "toolkit/SECCustomToolBar.h"
#include "toolkit/SECToolBarManager.h"
#include "toolkit/SECWndPlugIn.h"

#include <vector>

namespace tbtest {

constexpr UINT ID_FIRST_CMD = 1000;
constexpr int STRIP_IMAGES = 10;
// A second toolbar's id, past the framework's own bar ids (status bar, preview, resize, dialog bar).
constexpr UINT ID_SECOND_BAR = AFX_IDW_TOOLBAR + 6;

// The colour image i of the test strip is filled with; its face is button face.
inline COLORREF ImageColour(int i) {
    return RGB(20 * i, 255 - 20 * i, 100);
}

// A strip of STRIP_IMAGES 16 x 15 images: each a button-face field with a 6 x 6 square of its colour at
// (5, 5); image 0's square is black.
inline HBITMAP MakeStrip() {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 16 * STRIP_IMAGES, 15);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    RECT all{0, 0, 16 * STRIP_IMAGES, 15};
    HBRUSH face = ::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    ::FillRect(dc, &all, face);
    ::DeleteObject(face);
    for (int i = 0; i < STRIP_IMAGES; ++i) {
        RECT square{16 * i + 5, 5, 16 * i + 11, 11};
        HBRUSH b = ::CreateSolidBrush(i == 0 ? RGB(0, 0, 0) : ImageColour(i));
        ::FillRect(dc, &square, b);
        ::DeleteObject(b);
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return bmp;
}

// What a plug-in's host does first with each message: true when the plug-in finished it (result set).
inline bool PlugInHandled(SECWndPlugIn* pPlugIn, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!pPlugIn) {
        return false;
    }
    pPlugIn->OnWndMsg(message, wParam, lParam, &result);
    return pPlugIn->m_bHandled != FALSE;
}

// The command ids of a toolbar's buttons in order, 0 for separators.
inline std::vector<UINT> ButtonIds(const SECCustomToolBar& bar) {
    std::vector<UINT> ids;
    for (const SECStdBtn* b : bar.m_btns) {
        ids.push_back(b->m_nID);
    }
    return ids;
}

class ToolBarFrame : public CFrameWnd {
public:
    std::vector<int> notifyCodes;
    std::vector<UINT> commands;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        notifyCodes.push_back(static_cast<int>(reinterpret_cast<NMHDR*>(lParam)->code));
        return CFrameWnd::OnNotify(wParam, lParam, pResult);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        commands.push_back(LOWORD(wParam));
        return CFrameWnd::OnCommand(wParam, lParam);
    }
};

class ToolBarTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        m_frame = new ToolBarFrame;
        ASSERT_TRUE(m_frame->Create(nullptr, u"Toolbars", WS_OVERLAPPEDWINDOW, CRect(100, 100, 700, 400)));
        m_app.m_pMainWnd = m_frame;
        m_frame->ShowWindow(SW_SHOW);
        m_strip = MakeStrip();
        m_manager = std::make_unique<SECToolBarManager>(m_frame);
        std::vector<UINT> ids;
        for (int i = 0; i < STRIP_IMAGES; ++i) {
            ids.push_back(ID_FIRST_CMD + static_cast<UINT>(i));
        }
        ASSERT_TRUE(m_manager->GetBmpMgr()->AddBitmap(m_strip, nullptr, ids.data(), STRIP_IMAGES));
    }
    void TearDown() override {
        // The manager lets go of its bars before the frame takes them down.
        m_manager.reset();
        if (m_app.m_pMainWnd) {
            m_app.m_pMainWnd->DestroyWindow();
            m_app.m_pMainWnd = nullptr;
        }
        ::DeleteObject(m_strip);
        fwtest::FrameworkTest::TearDown();
    }
    // A toolbar of the manager docked at the top, flat unless told otherwise; 0 in ids is a separator.
    SECCustomToolBar* MakeBar(std::vector<UINT> ids, UINT nID = AFX_IDW_TOOLBAR, BOOL bFlat = TRUE) {
        m_manager->m_bCoolLook = bFlat;
        SECCustomToolBar* pBar = m_manager->CreateToolBar(
            nID, u"Bar", WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_SIZE_DYNAMIC);
        if (pBar) {
            pBar->SetButtons(ids.data(), static_cast<int>(ids.size()));
            m_frame->RecalcLayout();
        }
        return pBar;
    }
    static std::vector<UINT> Ids(const SECCustomToolBar& bar) { return ButtonIds(bar); }

    CWinApp m_app{u"ToolBarTest"};
    ToolBarFrame* m_frame = nullptr;
    HBITMAP m_strip = nullptr;
    std::unique_ptr<SECToolBarManager> m_manager;
};

} // namespace tbtest
