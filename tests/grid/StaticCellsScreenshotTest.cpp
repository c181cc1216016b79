// Header and static cells on a private X server, as a person sees them: the test runs itself again in a
// child process (the display backend is chosen once per process), which shows a small grid, takes an X
// screenshot and checks the headers' raised faces and the cells' text on it.
#include "grid/CGXGridWnd.h"
#include "grid/CGXHeader.h"
#include "grid/CGXStatic.h"
#include "grid/CGXStyle.h"
#include "grid/GridLibraryState.h"
#include "grid/GridResourceIds.h"
#include "grid/GridSysColorCache.h"
#include "platform/framework/Framework.h"
#include "platform/gdi/SystemColors.h"
#include "support/ScreenshotChild.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
constexpr const char* kChildVariable = "DOLIVA_STATIC_CELLS_SCREENSHOT_DIR";

TEST(StaticCellsScreenshotChild, Shoot) {
    const char* out = std::getenv(kChildVariable);
    if (!out) {
        GTEST_SKIP() << "runs only as the child of StaticCellsScreenshot";
    }
    SdlDisplayBackend* backend = testsupport::OpenPrivateSdlDisplay();
    ASSERT_NE(backend, nullptr) << "no SDL display on a private X server";
    GridSysColorCache::Refresh();
    RegisterGridWindowClasses(AfxGetInstanceHandle());
    CGXGridWnd::RegisterWndClass(AfxGetInstanceHandle());

    CWnd frame;
    LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, nullptr, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ASSERT_TRUE(frame.CreateEx(0, cls, u"Satellites", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                               CRect(40, 40, 520, 340), nullptr, 0));
    CGXGridWnd grid;
    CRect client;
    frame.GetClientRect(&client);
    ASSERT_TRUE(grid.Create(u"CGXGridWnd", u"", WS_CHILD | WS_VISIBLE, client, &frame, 100));
    grid.Initialize();
    grid.RegisterControl(IDS_GRID_CTRL_HEADER, new CGXHeader(&grid), FALSE, FALSE);
    grid.RegisterControl(kEditControlId, new CGXStatic(&grid), TRUE, FALSE);
    grid.SetRowCount(6);
    grid.SetColCount(3);
    const char16_t* values[3] = {u"PRN 12", u"Elevation 45", u"a value far too long for its cell"};
    for (ROWCOL col = 1; col <= 3; ++col) {
        CGXStyle cell;
        cell.SetValue(values[col - 1]);
        grid.SetStyleRange(CGXRange(1, col, 1, col), &cell);
    }
    grid.Redraw();
    frame.UpdateWindow();
    const testsupport::Picture shot = testsupport::ShootSettledScreen(backend, out);
    RECT native{};
    ASSERT_TRUE(backend->NativeContentRect(frame.GetSafeHwnd(), &native));
    const std::string png = std::string(out) + "/static-cells.png";
    ASSERT_TRUE(shot.WritePng(png));

    const testsupport::Picture screen = testsupport::Picture::FromPng(png);
    ASSERT_TRUE(screen.Valid());
    // The column header of column 1 (left of it the row header column) has a raised face and a letter.
    const CRect header1 = grid.CalcCellRect(0, 1);
    const CRect cell1 = grid.CalcCellRect(1, 1);
    const auto at = [&](int x, int y) { return screen.At(native.left + x, native.top + y); };
    EXPECT_EQ(at(header1.CenterPoint().x, header1.top + 1), GridSysColorCache::GetColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(at(header1.CenterPoint().x, header1.bottom - 1), RGB(0, 0, 0));
    const RECT headerText{native.left + header1.left + 2, native.top + header1.top + 2,
                          native.left + header1.right - 2, native.top + header1.bottom - 2};
    EXPECT_GT(screen.Count(headerText, RGB(0, 0, 0)), 10) << "no legible letter on the header";
    const RECT cellText{native.left + cell1.left + 1, native.top + cell1.top + 1, native.left + cell1.right,
                        native.top + cell1.bottom};
    EXPECT_GT(screen.Count(cellText, RGB(0, 0, 0)), 20) << "no legible value in the cell";
    grid.DestroyWindow();
    frame.DestroyWindow();
}

TEST(StaticCellsScreenshot, HeadersAndValuesOnAPrivateXServer) {
    REQUIRE_SCREENSHOT_CHILD(kChildVariable);
    const fs::path out = testsupport::ScratchDir() / "static-cells-screenshot";
    const testsupport::ChildRun child =
        testsupport::RunScreenshotChild(kChildVariable, out, "StaticCellsScreenshotChild.Shoot");
    ASSERT_TRUE(child.passed) << child.log;
    if (const char* keep = std::getenv("DOLIVA_STATIC_CELLS_KEEP_SCREENSHOT")) {
        fs::copy_file(out / "static-cells.png", keep, fs::copy_options::overwrite_existing);
    }
}

} // namespace
