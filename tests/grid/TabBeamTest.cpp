// The tab beam: tab geometry, scrolling limits, selecting and marking tabs by driven clicks, and the scroll
// buttons' auto-repeat on a stepped clock.
#include "grid/CGXTabBeam.h"
#include "platform/display/InputApi.h"
#include "platform/framework/FrameworkTestSupport.h"
#include "tests/grid/GridTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// The beam's notify window: records what it is told and refuses switching when asked to.
class NotifyWindow : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= WM_TAB_SELECTED && message <= WM_TAB_LOCKPAINT) {
            received.push_back({message, static_cast<int>(wParam)});
            return message == WM_TAB_CANSWITCH ? refuseSwitch : 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    struct Note {
        UINT message;
        int index;
        bool operator==(const Note&) const = default;
    };
    std::vector<Note> received;
    BOOL refuseSwitch = FALSE;
};

// Counts the scrolls and when they happened on the test's clock.
class CountingBeam : public CGXTabBeam {
public:
    void ScrollTabs(int button) override {
        scrollTimes.push_back(lastRead);
        CGXTabBeam::ScrollTabs(button);
    }
    DWORD now = 0;
    DWORD lastRead = 0;
    std::vector<DWORD> scrollTimes;
};

class TabBeamTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS);
        ASSERT_TRUE(m_parent.CreateEx(0, cls, u"Tabs", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 600, 200),
                                      nullptr, 0));
        ASSERT_TRUE(m_beam.Create(WS_VISIBLE, CRect(0, 0, 1, 1), &m_parent, 1));
        m_base = m_beam.m_nButtonsWidth + 1;
    }
    void TearDown() override {
        CGXTabBeam::RepeatClock() = m_savedClock;
        m_beam.DestroyWindow();
        m_parent.DestroyWindow();
        fwtest::FrameworkTest::TearDown();
    }
    // Tabs of the given widths (the gap is 7, so each steps 7 further) in a beam `width` pixels wide.
    void MakeTabs(std::vector<int> widths, int width) {
        for (size_t i = 0; i < widths.size(); ++i) {
            m_beam.InsertTab(FALSE, u"Sheet", nullptr, FALSE, widths[i]);
        }
        m_beam.SetWindowPos(nullptr, 0, 0, width, m_beam.m_nBeamHeight, SWP_NOZORDER | SWP_NOMOVE);
    }
    void Click(int x, UINT keys = 0, UINT message = WM_LBUTTONDOWN) {
        // Posted first: a press on a scroll button waits in its own loop for the release.
        m_beam.PostMessage(WM_LBUTTONUP, keys, MAKELPARAM(x, 3));
        m_beam.SendMessage(message, keys | MK_LBUTTON, MAKELPARAM(x, 3));
        fwtest::DrainQueue();
    }
    std::vector<NotifyWindow::Note> Drain() {
        fwtest::DrainQueue();
        auto notes = m_parent.received;
        m_parent.received.clear();
        return notes;
    }

    std::function<DWORD()> m_savedClock = CGXTabBeam::RepeatClock();
    NotifyWindow m_parent;
    CountingBeam m_beam;
    int m_base = 0;
};

// Removing a tab keeps the current one current, or makes the first current when the current one goes.
TEST_F(TabBeamTest, RemovingATabKeepsTheCurrentTabOrFallsBackToTheFirst) {
    struct Case {
        int current;
        int removed;
        int expected;
    };
    for (const Case& c : {Case{2, 0, 1}, Case{1, 3, 1}, Case{2, 2, 0}}) {
        MakeTabs({40, 50, 60, 30}, 400);
        m_beam.m_nCurrent = c.current;
        m_beam.RemoveTab(c.removed);
        EXPECT_EQ(m_beam.m_nCurrent, c.expected) << c.current << " " << c.removed;
        while (m_beam.GetCount() > 0) {
            m_beam.RemoveTab(0);
        }
        EXPECT_EQ(m_beam.m_nCurrent, -1) << "no tab left";
    }
}

TEST_F(TabBeamTest, GeometryOfTabsAroundTheFirstVisibleOne) {
    MakeTabs({40, 50, 60}, 400);
    const int b = m_base;
    EXPECT_EQ(m_beam.m_nCurrent, 0) << "the first tab inserted becomes current";
    struct Case {
        int firstVisible;
        int index;
        int left;
    };
    for (const Case& c : {Case{0, 0, b}, Case{0, 1, b + 47}, Case{0, 2, b + 104}, Case{1, 0, b - 47},
                          Case{1, 2, b + 57}, Case{2, 0, b - 104}}) {
        m_beam.m_nFirstTab = c.firstVisible;
        EXPECT_EQ(m_beam.GetTabLeft(c.index), c.left) << c.firstVisible << "/" << c.index;
    }
    struct Hit {
        int firstVisible;
        int x;
        int tab;
    };
    // A tab reaches to the start of the next one; left of the base lies the tab before the first visible.
    for (const Hit& h : {Hit{0, b, -1}, Hit{0, b + 1, 0}, Hit{0, b + 47, 0}, Hit{0, b + 48, 1}, Hit{0, b + 170, 2},
                         Hit{0, b + 171, -1}, Hit{1, b, 0}, Hit{1, b + 1, 1}, Hit{2, b + 66, 2}}) {
        m_beam.m_nFirstTab = h.firstVisible;
        EXPECT_EQ(m_beam.TabFromPoint(h.x), h.tab) << h.firstVisible << "@" << h.x - b;
    }
    m_beam.m_nFirstTab = 0;
    struct Last {
        int width;
        int last;
    };
    for (const Last& l : {Last{b + 200, 2}, Last{b + 150, 1}, Last{b + 60, 0}, Last{b + 20, 0}}) {
        m_beam.SetWindowPos(nullptr, 0, 0, l.width, m_beam.m_nBeamHeight, SWP_NOZORDER | SWP_NOMOVE);
        EXPECT_EQ(m_beam.GetLastVisibleTab(), l.last) << l.width - b;
    }
}

TEST_F(TabBeamTest, ScrollButtonsStopWhereTheLastTabEndsInsideTheBeam) {
    MakeTabs({40, 50, 60, 40}, m_base + 140);
    const int previous = m_beam.m_nButtonWidth / 2;
    const int next = m_beam.m_nButtonWidth + m_beam.m_nButtonWidth / 2;
    Click(previous);
    EXPECT_EQ(m_beam.m_nFirstTab, 0) << "previous does nothing at the first tab";
    EXPECT_TRUE(m_beam.scrollTimes.empty()) << "a disabled button does not scroll at all";
    Click(next);
    EXPECT_EQ(m_beam.m_nFirstTab, 1);
    Click(next);
    EXPECT_EQ(m_beam.m_nFirstTab, 2) << "tabs 2 and 3 fit in 140 pixels";
    Click(next);
    EXPECT_EQ(m_beam.m_nFirstTab, 2) << "no further: the last tab already ends inside";
    EXPECT_TRUE(m_beam.IsButtonDisabled(CGXTabBeam::kNext));
    Click(previous);
    EXPECT_EQ(m_beam.m_nFirstTab, 1);
    m_beam.ScrollTabs(CGXTabBeam::kLast);
    EXPECT_EQ(m_beam.m_nFirstTab, 2);
    m_beam.ScrollTabs(CGXTabBeam::kFirst);
    EXPECT_EQ(m_beam.m_nFirstTab, 0);
    bool cancelled = false;
    for (const auto& note : Drain()) {
        cancelled = cancelled || note.message == WM_TAB_CANCELRENAME;
    }
    EXPECT_TRUE(cancelled) << "a rename in progress is cancelled before the tabs scroll";
}

TEST_F(TabBeamTest, ClicksSelectAskingFirstAndDoubleClickAsksForRenaming) {
    MakeTabs({40, 50, 60}, 400);
    const int b = m_base;
    Drain();
    Click(b + 60); // on tab 1
    using Note = NotifyWindow::Note;
    EXPECT_EQ(Drain(), (std::vector<Note>{{WM_TAB_CANSWITCH, 1}, {WM_TAB_SELECTED, 1}}));
    EXPECT_EQ(m_beam.m_nCurrent, 1);

    m_parent.refuseSwitch = TRUE;
    Click(b + 120);
    EXPECT_EQ(Drain(), (std::vector<Note>{{WM_TAB_CANSWITCH, 2}}));
    EXPECT_EQ(m_beam.m_nCurrent, 1) << "a refused switch keeps the current tab";
    m_parent.refuseSwitch = FALSE;

    m_beam.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(b + 60, 3));
    EXPECT_EQ(Drain(), (std::vector<Note>{{WM_TAB_RENAME, 1}}));
    Click(m_beam.m_nButtonWidth / 2);
    Click(b + 500);
    EXPECT_TRUE(Drain().empty()) << "clicks on a disabled button or past the tabs do nothing";

    // The left slant of the first visible tab belongs to the tab before it.
    m_beam.m_nFirstTab = 2;
    Click(m_beam.m_nButtonsWidth + 3);
    EXPECT_EQ(m_beam.m_nCurrent, 1);
    m_beam.m_nFirstTab = 0;
    Click(m_beam.m_nButtonsWidth + 3);
    EXPECT_EQ(m_beam.m_nCurrent, 0) << "or to the first tab when there is none before it";
}

TEST_F(TabBeamTest, CtrlAndShiftClicksMarkTabsAndAPlainClickClearsThem) {
    MakeTabs({40, 40, 40, 40, 40}, 400);
    const int b = m_base;
    auto at = [&](int tab) { return b + 47 * tab + 20; };
    auto marks = [&] {
        std::vector<int> out;
        for (int i = 0; i < m_beam.GetCount(); ++i) {
            out.push_back(m_beam.GetTab(i).bSel ? 1 : 0);
        }
        return out;
    };
    Click(at(1));
    Click(at(3), MK_CONTROL);
    EXPECT_EQ(marks(), (std::vector<int>{0, 0, 0, 1, 0}));
    Click(at(3), MK_CONTROL);
    EXPECT_EQ(marks(), (std::vector<int>{0, 0, 0, 0, 0})) << "Ctrl toggles";
    Click(at(4), MK_SHIFT);
    EXPECT_EQ(marks(), (std::vector<int>{0, 0, 1, 1, 1})) << "Shift marks up to the current tab, not it";
    EXPECT_EQ(m_beam.m_nCurrent, 1) << "marking does not select";
    Click(at(3));
    EXPECT_EQ(marks(), (std::vector<int>{0, 0, 1, 1, 1})) << "a click on a marked tab keeps the marks";
    Click(at(0));
    EXPECT_EQ(marks(), (std::vector<int>{0, 0, 0, 0, 0}));
}

TEST_F(TabBeamTest, HeldScrollButtonRepeatsFasterDownToEveryHundredMilliseconds) {
    MakeTabs({30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30}, m_base + 80);
    const int nextX = m_beam.m_nButtonWidth + m_beam.m_nButtonWidth / 2;
    CPoint screen(nextX, 3);
    m_beam.ClientToScreen(&screen);
    ::SetCursorPos(screen.x, screen.y);
    // Each look at the clock is a millisecond later; the button is let go at 1,050 ms.
    CGXTabBeam::RepeatClock() = [&] {
        if (m_beam.now == 1050) {
            m_beam.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(nextX, 3));
        }
        m_beam.lastRead = m_beam.now++;
        return m_beam.lastRead;
    };
    m_beam.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(nextX, 3));
    std::vector<DWORD> gaps;
    for (size_t i = 1; i < m_beam.scrollTimes.size(); ++i) {
        gaps.push_back(m_beam.scrollTimes[i] - m_beam.scrollTimes[i - 1]);
    }
    EXPECT_EQ(gaps, (std::vector<DWORD>{201, 181, 161, 141, 121, 101, 101})) << "one scroll at the press";
    EXPECT_FALSE(m_beam.m_bTracking);
    EXPECT_EQ(::GetCapture(), nullptr);

    // Scrolling stops once the button is disabled: the last tab inside the beam.
    m_beam.scrollTimes.clear();
    m_beam.now = 0;
    m_beam.lastRead = 0;
    m_beam.m_nFirstTab = 7;
    m_beam.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(nextX, 3));
    EXPECT_EQ(m_beam.m_nFirstTab, 10);
    EXPECT_EQ(m_beam.scrollTimes.size(), 3u);
}

} // namespace
