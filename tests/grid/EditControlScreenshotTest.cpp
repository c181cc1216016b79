// A cell being edited on a private X server, as a person sees it: the edit window lies over the cell with
// the typed text, and the grid's own painting (through its memory bitmap) leaves it alone.
#include "grid/CGXEditControl.h"
#include "grid/GridSysColorCache.h"
#include "platform/framework/Framework.h"
#include "support/ScreenshotChild.h"
#include "support/TestSupport.h"
#include "tests/grid/GridEngineTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
constexpr const char* kChildVariable = "DOLIVA_EDITCELL_SCREENSHOT_DIR";

TEST(EditControlScreenshotChild, Shoot) {
    const char* out = std::getenv(kChildVariable);
    if (!out) {
        GTEST_SKIP() << "runs only as the child of EditControlScreenshot";
    }
    SdlDisplayBackend* backend = testsupport::OpenPrivateSdlDisplay();
    ASSERT_NE(backend, nullptr) << "no SDL display on a private X server";
    GridSysColorCache::Refresh();

    gridtest::TestGrid grid;
    gridtest::GridHost host(&grid);
    grid.Initialize();
    grid.SetRowCount(12);
    grid.SetColCount(4);
    grid.SetPaintWithMemoryDC(TRUE);
    auto* edit = new CGXEditControl(&grid, 52512);
    grid.RegisterControl(52512, edit, TRUE, FALSE);
    CGXStyle style;
    style.SetControlId(52512);
    grid.SetStyleRange(CGXRange().SetTable(), &style);
    grid.SetValueRange(CGXRange(2, 2, 2, 2), u"old");
    grid.SetCurrentCell(2, 2);
    host.Paint();
    grid.SendMessage(WM_CHAR, u'W', 1);
    host.Paint();
    for (char16_t c : std::u16string(u"WWW")) {
        ::SendMessageW(edit->GetSafeHwnd(), WM_CHAR, c, 1);
    }
    // The whole grid painted again over the shown edit.
    grid.InvalidateRect(nullptr, TRUE);
    host.Paint();
    const std::string png = std::string(out) + "/edit-screen.png";
    ASSERT_TRUE(testsupport::ShootSettledScreen(backend, out).WritePng(png));
    RECT native{};
    ASSERT_TRUE(backend->NativeContentRect(host.Host().GetSafeHwnd(), &native));
    CRect window;
    edit->GetWindowRect(&window);
    host.Host().ScreenToClient(&window);
    window.OffsetRect(native.left, native.top);
    const testsupport::Picture screen = testsupport::Picture::FromPng(png);
    ASSERT_TRUE(screen.Valid());
    EXPECT_TRUE(edit->IsWindowVisible());
    EXPECT_GT(screen.Count(window, RGB(0, 0, 0)), 20) << "no legible text in the edit";
    EXPECT_EQ(screen.At(window.right - 2, window.top + 1), RGB(255, 255, 255));
}

TEST(EditControlScreenshot, TheEditShowsItsTextOverTheCell) {
    REQUIRE_SCREENSHOT_CHILD(kChildVariable);
    const fs::path out = testsupport::ScratchDir() / "editcell-screenshot";
    const testsupport::ChildRun child =
        testsupport::RunScreenshotChild(kChildVariable, out, "EditControlScreenshotChild.Shoot");
    ASSERT_TRUE(child.passed) << child.log;
    if (const char* keep = std::getenv("DOLIVA_EDITCELL_KEEP_SCREENSHOT")) {
        fs::copy_file(out / "edit-screen.png", keep, fs::copy_options::overwrite_existing);
    }
}

} // namespace
