// How toolbar buttons look in each state, drawn off-screen from a known image, and the large images the
// store stretches from the normal strip.
#include "ToolBarTestSupport.h"

#include <string>

using namespace tbtest;

namespace {

class ToolBarDrawTest : public ToolBarTest {
protected:
    // Paints the bar into a memory bitmap; the pixels of its first button by button coordinates.
    struct Painted {
        HDC dc = nullptr;
        HBITMAP bmp = nullptr;
        HGDIOBJ old = nullptr;
        CPoint origin;
        COLORREF At(int x, int y) const { return ::GetPixel(dc, origin.x + x, origin.y + y); }
        ~Painted() {
            ::SelectObject(dc, old);
            ::DeleteObject(bmp);
            ::DeleteDC(dc);
        }
    };
    void Paint(SECCustomToolBar& bar, Painted& p) {
        CRect client;
        bar.GetClientRect(&client);
        HDC screen = ::GetDC(nullptr);
        p.dc = ::CreateCompatibleDC(screen);
        p.bmp = ::CreateCompatibleBitmap(screen, client.Width(), client.Height());
        ::ReleaseDC(nullptr, screen);
        p.old = ::SelectObject(p.dc, p.bmp);
        CDC* pDC = CDC::FromHandle(p.dc);
        bar.DoPaint(pDC);
        p.origin = CPoint(bar.m_btns[0]->m_x, bar.m_btns[0]->m_y);
    }
};

struct Pixel {
    int x, y;
    COLORREF colour;
};

TEST_F(ToolBarDrawTest, EachButtonStateDrawsItsFrameAndOverlay) {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF hilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF frame = ::GetSysColor(COLOR_WINDOWFRAME);
    const COLORREF black = RGB(0, 0, 0);
    // The 23 x 22 button shows its image at (3, 3), the black square at (8..13, 8..13); pressed and checked
    // buttons sink the image by one pixel.
    struct Case {
        const char* name;
        UINT style;
        BOOL flat;
        std::vector<Pixel> pixels;
        bool checkerboard; // at (4, 4) and (5, 4): one face, one highlight
    } cases[] = {
        {"normal", 0, TRUE, {{0, 0, face}, {22, 21, face}, {10, 10, black}, {7, 7, face}}, false},
        {"hot", SEC_TBBS_HOT, TRUE, {{0, 0, hilite}, {22, 21, shadow}, {10, 10, black}}, false},
        {"pressed", SEC_TBBS_PRESSED, TRUE, {{0, 0, shadow}, {22, 21, hilite}, {8, 8, face}, {14, 14, black}}, false},
        {"checked", SEC_TBBS_CHECKED, TRUE, {{0, 0, shadow}, {22, 21, hilite}, {14, 14, black}}, true},
        {"pressed and checked", SEC_TBBS_PRESSED | SEC_TBBS_CHECKED, TRUE, {{0, 0, shadow}, {4, 4, face}, {5, 4, face}}, false},
        {"disabled", SEC_TBBS_DISABLED, TRUE, {{8, 8, shadow}, {13, 13, shadow}, {14, 14, hilite}, {14, 9, hilite}}, false},
        {"disabled and checked", SEC_TBBS_DISABLED | SEC_TBBS_CHECKED, TRUE, {{9, 9, shadow}, {15, 15, hilite}}, true},
        {"indeterminate", SEC_TBBS_INDETERMINATE, TRUE, {{10, 10, shadow}, {8, 8, shadow}}, true},
        {"3D normal", 0, FALSE, {{0, 0, hilite}, {22, 21, frame}, {21, 20, shadow}, {10, 10, black}}, false},
        {"3D pressed", SEC_TBBS_PRESSED, FALSE, {{0, 0, frame}, {1, 1, shadow}, {22, 21, hilite}, {14, 14, black}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SECCustomToolBar* pBar = MakeBar({ID_FIRST_CMD}, AFX_IDW_TOOLBAR, c.flat);
        ASSERT_TRUE(pBar);
        pBar->m_btns[0]->m_nStyle |= c.style;
        Painted p;
        Paint(*pBar, p);
        for (const Pixel& px : c.pixels) {
            EXPECT_EQ(p.At(px.x, px.y), px.colour) << px.x << "," << px.y;
        }
        if (c.checkerboard) {
            COLORREF a = p.At(4, 4);
            COLORREF b = p.At(5, 4);
            EXPECT_TRUE((a == face && b == hilite) || (a == hilite && b == face)) << std::hex << a << " " << b;
        }
        if (c.style & (SEC_TBBS_DISABLED | SEC_TBBS_INDETERMINATE)) {
            for (int y = 0; y < 22; ++y) {
                for (int x = 0; x < 23; ++x) {
                    ASSERT_NE(p.At(x, y), black) << "the image shows only embossed: " << x << "," << y;
                }
            }
        }
        pBar->DestroyWindow();
    }
}

TEST_F(ToolBarDrawTest, CustomiseModeDrawsNoFrameAndTheSelectionIsOutlined) {
    SECCustomToolBar* pBar = MakeBar({ID_FIRST_CMD, ID_FIRST_CMD + 1});
    ASSERT_TRUE(pBar);
    pBar->SetCustomizeValue(TRUE);
    pBar->m_btns[0]->m_nStyle |= SEC_TBBS_CHECKED | SEC_TBBS_DISABLED;
    pBar->SelectButton(1, FALSE);
    Painted p;
    Paint(*pBar, p);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(p.At(0, 0), face);
    EXPECT_EQ(p.At(10, 10), RGB(0, 0, 0)) << "customising shows the plain image";
    int framed = 0;
    for (int x = 0; x < 23; ++x) {
        framed += p.At(23 + x, 1) != face;
    }
    EXPECT_GT(framed, 5) << "the selected button's hatched frame";
    EXPECT_EQ(p.At(23 + 10, 10), ImageColour(1));
}

TEST_F(ToolBarDrawTest, LargeImagesAreStretchedFromTheNormalStripWhenThereIsNoLargeOne) {
    SECBmpMgr& store = *m_manager->GetBmpMgr();
    ASSERT_TRUE(store.SetNormalMode(FALSE));
    HBITMAP hbm = nullptr;
    int nIndex = -1;
    ASSERT_TRUE(store.FindBitmap(ID_FIRST_CMD + 3, hbm, nIndex));
    EXPECT_EQ(nIndex, 3);
    BITMAP info{};
    ASSERT_TRUE(::GetObjectW(hbm, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 220);
    EXPECT_EQ(info.bmHeight, 24);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, hbm);
    for (int i = 1; i < STRIP_IMAGES; ++i) {
        // The square at 5..10 of 16 x 15 lands near 7..15 of 22 x 24.
        EXPECT_EQ(::GetPixel(dc, 22 * i + 11, 12), ImageColour(i)) << i;
        EXPECT_EQ(::GetPixel(dc, 22 * i + 1, 1), ::GetSysColor(COLOR_BTNFACE)) << i;
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    // The normal strip is still there when asked for.
    ASSERT_TRUE(store.FindBitmap(ID_FIRST_CMD, hbm, nIndex, TRUE));
    EXPECT_EQ(hbm, m_strip);

    // Large buttons take the large size.
    m_manager->m_bLargeButtons = FALSE;
    SECCustomToolBar* pBar = MakeBar({ID_FIRST_CMD, 0});
    ASSERT_TRUE(pBar);
    m_manager->ApplyButtonSize(pBar);
    EXPECT_EQ(pBar->m_btns[0]->m_cx, 29);
    EXPECT_EQ(pBar->m_btns[0]->m_cy, 31);
    EXPECT_EQ(pBar->m_btns[1]->m_cx, 10);
}

} // namespace
