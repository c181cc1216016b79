// The long-operation object on a fake clock: when the progress appears in the main frame's status bar and
// what it says, nesting, Escape with its confirmation, and an aborted store into a 100,000-row grid.
#include "grid/CGXLongOperationImp.h"
#include "platform/base/CodePage.h"
#include "platform/base/WideRuntime.h"
#include "platform/display/InputApi.h"
#include "platform/display/MessageBox.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CStatusBar.h"
#include "platform/framework/CWinApp.h"
#include "tests/grid/GridEngineTestSupport.h"

#include <memory>
#include <optional>

namespace gridtest {
namespace {

// A main frame with a status bar that notes every status text and every key that reaches it.
class StatusFrame : public CFrameWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETMESSAGESTRING && lParam) {
            shown.emplace_back(reinterpret_cast<LPCTSTR>(lParam));
        } else if (message == WM_KEYDOWN) {
            keys.push_back(static_cast<UINT>(wParam));
        } else if (message == WM_USER + 5) {
            ++pings;
        }
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
    CStatusBar statusBar;
    std::vector<CString> shown;
    std::vector<UINT> keys;
    int pings = 0;
};

// Answers message boxes with the button given and notes their types.
class AnsweredBoxes {
public:
    explicit AnsweredBoxes(int answer) {
        m_previous = DisplaySetMessageBoxResponder(
            [this, answer](HWND, const std::u16string&, const std::u16string&, UINT type) {
                types.push_back(type & MB_TYPEMASK);
                return answer;
            });
    }
    ~AnsweredBoxes() { DisplaySetMessageBoxResponder(m_previous); }
    AnsweredBoxes(const AnsweredBoxes&) = delete;
    AnsweredBoxes& operator=(const AnsweredBoxes&) = delete;
    std::vector<UINT> types;

private:
    MessageBoxResponder m_previous;
};

class LongOperationDisplayTest : public ::testing::Test {
protected:
    LongOperationDisplayTest() {
        GridLibraryState::Instance().LoadTexts();
        InstallLongOperation();
        imp = static_cast<CGXLongOperationImp*>(GridLibraryState::Instance().longOperationImp);
        imp->SetClock([this] { return clock ? clock() : now; });
        frame = new StatusFrame;
        EXPECT_TRUE(frame->Create(nullptr, u"Grid", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 300)));
        static const UINT indicators[] = {ID_SEPARATOR};
        EXPECT_TRUE(frame->statusBar.Create(frame) && frame->statusBar.SetIndicators(indicators, 1));
        frame->RecalcLayout();
        app.m_pMainWnd = frame;
        previousCursor = ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
    }
    ~LongOperationDisplayTest() override {
        ::SetCursor(previousCursor);
        app.m_pMainWnd = nullptr;
        frame->DestroyWindow(); // deletes the frame
        MSG msg{};
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    std::vector<CString> Shown() const { return frame->shown; }

    CWinApp app{u"LongOperationTest"};
    CGXLongOperationImp* imp = nullptr;
    StatusFrame* frame = nullptr;
    DWORD now = 1000;
    std::function<DWORD()> clock;
    HCURSOR previousCursor = nullptr;
};

TEST_F(LongOperationDisplayTest, AnOperationWithinTheDelayShowsNothingAndKeepsTheCursor) {
    const HCURSOR cross = ::GetCursor();
    {
        CGXLongOperation operation;
        now += 749;
        BOOL aborted = TRUE;
        EXPECT_FALSE(operation.CheckAbort(aborted));
        EXPECT_FALSE(aborted);
        EXPECT_FALSE(operation.ShowProgress());
    }
    EXPECT_TRUE(Shown().empty()) << "not even \"Done.\"";
    EXPECT_EQ(::GetCursor(), cross);
}

TEST_F(LongOperationDisplayTest, StatusLinesCarryThePercentageOrASpinnerAndEndWithDone) {
    {
        CGXLongOperation operation;
        now += 750;
        operation.SetPercentDone(42);
        EXPECT_TRUE(operation.ShowProgress());
        EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_WAIT));
        now += 1499;
        EXPECT_FALSE(operation.ShowProgress()) << "updates come at most every 1500 ms";
        now += 1;
        BOOL aborted = TRUE;
        EXPECT_TRUE(operation.CheckAbort(aborted));
        EXPECT_FALSE(aborted);
        GetLongOperationState().percent = -1;
        for (int i = 0; i < 5; ++i) {
            now += 1500;
            operation.ShowProgress();
        }
        now += 1500;
        operation.CheckAbort(aborted);
    }
    const std::vector<CString> expected = {
        u"Processing...  42%. ",
        u"Processing...  42%.    Press ESC to cancel",
        u"Processing...  -",
        u"Processing...  \\",
        u"Processing...  |",
        u"Processing...  /",
        u"Processing...  -",
        u"Processing...   Press ESC to cancel  \\",
        u"Done.",
    };
    EXPECT_EQ(Shown(), expected);
    EXPECT_EQ(frame->statusBar.GetPaneText(0), CString(u"Done."));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(LongOperationDisplayTest, NestedOperationsShowTheOuterTextUntilTheyHaveTheirOwn) {
    CGXLongOperation outer;
    outer.SetStatusText(u"Sorting rows");
    {
        CGXLongOperation inner;
        now += 750;
        inner.ShowProgress();
        inner.SetStatusText(u"Moving data");
        now += 1500;
        inner.ShowProgress();
        CGXLongOperation hidden;
        GetLongOperationState().displayLevelLimit = 1; // the third level's texts are not shown
        hidden.SetStatusText(u"Hidden");
        now += 1500;
        EXPECT_TRUE(hidden.ShowProgress()) << "it still pumps messages";
    }
    now += 1500;
    outer.ShowProgress();
    EXPECT_EQ(Shown(), (std::vector<CString>{u"Sorting rows  -", u"Moving data  \\", u"Sorting rows  |"}));
}

TEST_F(LongOperationDisplayTest, LongTextsAreCutAndDeepNestingIsCounted) {
    {
        CGXLongOperation operation;
        operation.SetStatusText(CString(u'x', 300));
        now += 750;
        operation.ShowProgress();
        std::vector<std::unique_ptr<CGXLongOperation>> nested;
        for (int i = 0; i < 70; ++i) {
            nested.push_back(std::make_unique<CGXLongOperation>());
            nested.back()->SetStatusText(u"deep");
        }
        EXPECT_EQ(GetLongOperationState().level, 71);
        now += 1500;
        EXPECT_TRUE(nested.back()->ShowProgress());
    }
    EXPECT_EQ(GetLongOperationState().level, 0);
    ASSERT_GE(Shown().size(), 2u);
    EXPECT_EQ(Shown()[0].GetLength(), CGXLongOperationImp::kMaxStatusChars);
}

struct AbortCase {
    BOOL canRollback;
    BOOL confirm;
    int answer;
    std::optional<UINT> box; // the confirmation's buttons, none without confirmation
    BOOL aborted;
    BOOL rollback;
};

TEST_F(LongOperationDisplayTest, EscapeIsConfirmedAndTheAnswerDecides) {
    const AbortCase cases[] = {
        {FALSE, TRUE, IDNO, MB_YESNO, FALSE, FALSE},
        {FALSE, TRUE, IDYES, MB_YESNO, TRUE, FALSE},
        {TRUE, TRUE, IDABORT, MB_ABORTRETRYIGNORE, TRUE, FALSE},
        {TRUE, TRUE, IDRETRY, MB_ABORTRETRYIGNORE, TRUE, TRUE},
        {TRUE, TRUE, IDIGNORE, MB_ABORTRETRYIGNORE, FALSE, FALSE},
        {TRUE, FALSE, IDNO, std::nullopt, TRUE, TRUE},
    };
    for (const AbortCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "rollback " << c.canRollback << ", confirm " << c.confirm << ", answer " << c.answer);
        AnsweredBoxes boxes(c.answer);
        frame->keys.clear();
        frame->pings = 0;
        CGXLongOperation operation;
        GridLongOperationState& state = GetLongOperationState();
        state.canRollback = c.canRollback;
        state.confirmAbort = c.confirm;
        now += 750;
        frame->PostMessage(WM_USER + 5, 0, 0);
        frame->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        BOOL aborted = FALSE;
        EXPECT_TRUE(operation.CheckAbort(aborted));
        EXPECT_EQ(aborted, c.aborted);
        EXPECT_EQ(state.rollback, c.rollback);
        EXPECT_EQ(boxes.types, c.box ? std::vector<UINT>{*c.box} : std::vector<UINT>{});
        EXPECT_TRUE(frame->keys.empty()) << "keys are dropped while an operation runs";
        EXPECT_EQ(frame->pings, 1) << "other messages are dispatched";
        if (!c.aborted) {
            now += 1500;
            EXPECT_TRUE(operation.CheckAbort(aborted));
            EXPECT_FALSE(aborted);
            EXPECT_EQ(boxes.types.size(), 1u) << "the request was answered and is not asked again";
        }
        state.confirmAbort = TRUE;
    }
}

// A fixed-metrics grid as the frame's pane, 100,000 rows of three columns.
TEST_F(LongOperationDisplayTest, EscapeStopsAStoreIntoAHundredThousandRowsAndLeavesTheGridConsistent) {
    RegisterEngineClasses();
    TestGrid grid;
    ASSERT_TRUE(grid.Create(u"CGXGridWnd", u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), frame,
                            AFX_IDW_PANE_FIRST));
    frame->RecalcLayout();
    grid.Initialize();
    constexpr ROWCOL kRows = 100000;
    constexpr ROWCOL kCols = 3;
    grid.SetRowCount(kRows);
    grid.SetColCount(kCols);

    // Every reading of the clock is a millisecond later; the user presses Escape at the 20,000th.
    DWORD ticks = 0;
    clock = [&] {
        if (++ticks == 20000) {
            grid.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        }
        return ticks;
    };
    AnsweredBoxes boxes(IDYES);
    CGXStyle value;
    value.SetValue(u"x");
    EXPECT_FALSE(grid.SetStyleRange(CGXRange(1, 1, kRows, kCols), &value)) << "stopped";
    EXPECT_EQ(boxes.types, (std::vector<UINT>{MB_YESNO}));

    // The progress rose in the status bar, with the hint to press Escape; "Done." ends it.
    const CString storing = GridLibraryState::Instance().GetText(kTextStoringCells);
    int lastPercent = -1;
    int updates = 0;
    for (const CString& line : Shown()) {
        if (line == CString(u"Done.")) {
            continue;
        }
        ASSERT_EQ(line.Left(storing.GetLength()), storing) << Utf16ToUtf8(static_cast<LPCTSTR>(line));
        EXPECT_NE(line.Find(u"Press ESC to cancel"), -1) << Utf16ToUtf8(static_cast<LPCTSTR>(line));
        const int percent = _wtoi(static_cast<LPCTSTR>(line) + storing.GetLength());
        EXPECT_GE(percent, lastPercent);
        lastPercent = percent;
        ++updates;
    }
    EXPECT_GE(updates, 10);
    EXPECT_GE(lastPercent, 6);
    EXPECT_EQ(Shown().back(), CString(u"Done."));
    EXPECT_EQ(frame->statusBar.GetPaneText(0), CString(u"Done."));

    // The cells before the stop hold the value, row by row, and none after it.
    auto stored = [&](ROWCOL index) {
        return !grid.GetValueRowCol(index / kCols + 1, index % kCols + 1).IsEmpty();
    };
    ROWCOL low = 0;
    ROWCOL high = kRows * kCols;
    while (low < high) {
        const ROWCOL middle = (low + high) / 2;
        if (stored(middle)) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    EXPECT_GE(low, 20000u);
    EXPECT_LT(low, kRows * kCols);
    for (ROWCOL index : {ROWCOL{0}, low / 2, low - 1}) {
        EXPECT_TRUE(stored(index)) << index;
    }
    for (ROWCOL index : {low, low + 1, (low + kRows * kCols) / 2, kRows * kCols - 1}) {
        EXPECT_FALSE(stored(index)) << index;
    }
    EXPECT_EQ(GetLongOperationState().level, 0);
    EXPECT_EQ(grid.GetRowCount(), kRows);
    clock = nullptr;
    value.SetValue(u"last");
    EXPECT_TRUE(grid.SetStyleRange(CGXRange(kRows, kCols, kRows, kCols), &value))
        << "the grid goes on working";
    EXPECT_EQ(grid.GetValueRowCol(kRows, kCols), CString(u"last"));
    grid.UpdateWindow();
    grid.DestroyWindow();
}

} // namespace
} // namespace gridtest
