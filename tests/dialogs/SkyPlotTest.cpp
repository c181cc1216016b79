// The sky plot: where satellites and horizon traces land on a headless render, how the traces learn from
// tracked satellites, the hover text, the archive forms, and the dialog's reset and close.
#include "dialogs/CSatelliteViewChart.h"
#include "dialogs/CSatelliteViewChartDialog.h"
#include "dialogs/CustomGraphDisplay.h"

#include "chart/SRGraphData.h"
#include "chart/SRGraphDataList.h"
#include "chart/SRGraphFeedback.h"
#include "chart/SRGraphLabel.h"
#include "chart/SRGraphLabelBlock.h"

#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"
#include "platform/display/MessageBox.h"
#include "platform/framework/CWinApp.h"

#include "DialogRecorders.h"
#include "DialogTestSupport.h"
#include "chart/ChartTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace {

using charttest::Canvas;

constexpr COLORREF kWhite = RGB(255, 255, 255);

SRGraphData* Item(CSatelliteViewChart& plot, int group, int index) {
    return plot.GetChart().GetGroup(group, TRUE)->GetItem(index, TRUE);
}

double Radius(CSatelliteViewChart& plot, int group, int index) {
    return Item(plot, group, index)->GetValue();
}

// The satellite markers' hit-test records of the last drawing, by PRN.
std::map<int, POINT> MarkerPoints(CSatelliteViewChart& plot) {
    std::map<int, POINT> points;
    CObList& records = plot.GetChart().GetFeedbackList();
    for (POSITION pos = records.GetHeadPosition(); pos;) {
        auto* record = static_cast<SRGraphFeedback*>(records.GetNext(pos));
        if (record->GetKind() == SRGraphFeedback::point && record->GetGroup() == CustomGraphDisplay::kSatelliteGroup) {
            record->GetPoint(points[record->m_nItem]);
        }
    }
    return points;
}

// Draws the plot straight into a memory bitmap, as its window's paint would.
void Render(CSatelliteViewChart& plot, Canvas& canvas) {
    plot.GetChart().SetOffscreen(FALSE);
    plot.GetChart().DrawGraph(canvas.DC(), nullptr);
}

CustomGraphDisplay* Display(CSatelliteViewChart& plot) {
    CObList& components = plot.GetChart().GetComponentList();
    return static_cast<CustomGraphDisplay*>(components.GetHead());
}

} // namespace

// A fixed sky: one satellite at the zenith, one on the horizon due east, one at 30 degrees due south and one
// at 60 degrees due west. Their markers land at the centre and on the 0, 30 and 60 degree circles.
TEST(SkyPlot, RenderPlacesSatellitesOnTheElevationCirclesAndDrawsTheFrame) {
    CSatelliteViewChart plot;
    plot.ResetHorizon(TRUE);
    plot.PlotSatellite(1, 0, 90, 40, 1, TRUE);
    plot.PlotSatellite(2, 90, 0, 40, -1, TRUE);
    plot.PlotSatellite(3, 180, 30, 40, 0, FALSE);
    plot.PlotSatellite(4, 270, 60, 0, 0, TRUE);
    Canvas canvas(320, 320);
    Render(plot, canvas);

    const auto points = MarkerPoints(plot);
    ASSERT_EQ(points.size(), 4u);
    const POINT centre = points.at(1);
    const double r = points.at(2).x - centre.x;
    // The horizon circle's radius is 0.4 of the plot's smaller side, around the plot's centre.
    const CRect area = Display(plot)->GetDisplayRect();
    EXPECT_NEAR(r, 0.4 * std::min(area.Width(), area.Height()), 1.0);
    EXPECT_EQ(centre.x, area.left + area.Width() / 2);
    EXPECT_EQ(centre.y, area.top + area.Height() / 2);
    EXPECT_EQ(points.at(2).y, centre.y);
    EXPECT_EQ(points.at(3).x, centre.x);
    EXPECT_NEAR(points.at(3).y - centre.y, 2.0 * r / 3.0, 1.0);
    EXPECT_NEAR(centre.x - points.at(4).x, r / 3.0, 1.0);
    EXPECT_EQ(points.at(4).y, centre.y);

    // Marker colours by the trend code: rising blue, setting red, steady teal; a star when seen, else a cross.
    EXPECT_EQ(canvas.At(centre.x, centre.y), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(points.at(2).x, points.at(2).y), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(points.at(3).x, points.at(3).y), RGB(0, 128, 128));
    EXPECT_EQ(Item(plot, 4, 1)->GetStyle().m_strShapeName, CString(u"STAR"));
    EXPECT_EQ(Item(plot, 4, 3)->GetStyle().m_strShapeName, CString(u"CROSS"));
    EXPECT_EQ(Item(plot, 4, 4)->GetStyle().m_strShapeName, CString(u"CROSS"));

    // The circles at 60, 30 and 0 degrees cross a ray between two spokes; nothing else does past the
    // zenith's marker.
    const double ray = 15.0 * 3.14159265358979 / 180.0;
    int crossings = 0;
    bool inside = false;
    for (int d = 10; d <= static_cast<int>(r) + 3; ++d) {
        const int x = centre.x + static_cast<int>(std::lround(d * std::sin(ray)));
        const int y = centre.y - static_cast<int>(std::lround(d * std::cos(ray)));
        const bool ink = canvas.At(x, y) != kWhite;
        if (ink && !inside) {
            ++crossings;
            const double expected = r * (crossings) / 3.0;
            EXPECT_NEAR(d, expected, 3.0) << "circle " << crossings;
        }
        inside = ink;
    }
    EXPECT_EQ(crossings, 3);
    // Spokes every 30 degrees: straight up and at 30 degrees, halfway out.
    EXPECT_NE(canvas.At(centre.x, centre.y - static_cast<int>(r / 2)), kWhite);
    const double spoke = 30.0 * 3.14159265358979 / 180.0;
    EXPECT_NE(canvas.At(centre.x + static_cast<int>(std::lround(r / 2 * std::sin(spoke))),
                        centre.y - static_cast<int>(std::lround(r / 2 * std::cos(spoke)))),
              kWhite);

    // The direction labels read 0 to 330 by 30.
    SRGraphLabelBlock* labels = Display(plot)->GetXScale();
    ASSERT_NE(labels, nullptr);
    ASSERT_EQ(labels->GetCount(), 12);
    for (int i = 0; i < 12; ++i) {
        CString expected;
        expected.Format(u"%d", i * 30);
        EXPECT_EQ(labels->GetLabel(i)->GetText(1), expected);
    }
}

TEST(SkyPlot, HorizonTracesKeepTheLowestAndHighestTrackedElevationPerBin) {
    CSatelliteViewChart plot;
    plot.ResetHorizon(TRUE);
    plot.PlotSatellite(7, 123, 10, 35, 1, TRUE);
    EXPECT_NEAR(Radius(plot, 1, 61), 80.0 / 90.0, 1e-12);
    EXPECT_NEAR(Radius(plot, 3, 12), 80.0 / 90.0, 1e-12);
    plot.PlotSatellite(7, 123, 20, 35, 1, TRUE);
    EXPECT_NEAR(Radius(plot, 1, 61), 80.0 / 90.0, 1e-12);
    EXPECT_NEAR(Radius(plot, 3, 12), 70.0 / 90.0, 1e-12);

    // Untracked, or tracked without signal: the traces stay; the marker is a cross.
    plot.PlotSatellite(8, 200, 5, 35, 0, FALSE);
    plot.PlotSatellite(9, 202, 5, 0, 0, TRUE);
    EXPECT_TRUE(Item(plot, 1, 100)->IsNull());
    EXPECT_TRUE(Item(plot, 1, 101)->IsNull());
    EXPECT_TRUE(Item(plot, 3, 20)->IsNull());

    // Out-of-range positions are limited; the zenith empties the coarse bin.
    plot.PlotSatellite(10, 400, -5, 30, 0, TRUE);
    EXPECT_DOUBLE_EQ(Item(plot, 4, 10)->GetValue(), 359.0);
    EXPECT_DOUBLE_EQ(Radius(plot, 5, 10), 1.0);
    EXPECT_DOUBLE_EQ(Radius(plot, 1, 179), 1.0);
    plot.PlotSatellite(11, 125, 95, 30, 0, TRUE);
    EXPECT_TRUE(Item(plot, 3, 12)->IsNull());
    EXPECT_TRUE(Item(plot, 2, 12)->IsNull());

    // A re-plot starts from no markers; a PRN past the groups' items is not given one.
    plot.ClearSatelliteMarkers();
    EXPECT_EQ(Item(plot, 4, 7)->GetStyle().GetShapeKind(), 0);
    EXPECT_TRUE(Item(plot, 5, 7)->IsNull());
    for (unsigned prn : {180u, 4000000000u}) {
        plot.PlotSatellite(prn, 10, 10, 30, 0, TRUE);
        EXPECT_NEAR(Radius(plot, 1, 5), 80.0 / 90.0, 1e-12) << "the traces still learn";
        EXPECT_EQ(plot.GetChart().GetGroupItemCount(4, TRUE), CSatelliteViewChart::kTraceItems);
        EXPECT_EQ(plot.GetChart().GetGroupItemCount(5, TRUE), CSatelliteViewChart::kTraceItems);
    }
    plot.PlotSatellite(179, 10, 10, 30, 0, TRUE);
    EXPECT_EQ(Item(plot, 4, 179)->GetStyle().GetShapeKind(), 0x02);
}

TEST(SkyPlot, TipNamesTheSatelliteUnderTheMouse) {
    CSatelliteViewChart plot;
    plot.ResetHorizon(TRUE);
    plot.PlotSatellite(17, 45, 30, 42, 1, TRUE);
    plot.PlotSatellite(21, 300, 75, 0, 0, FALSE);
    Canvas canvas(300, 300);
    Render(plot, canvas);
    const auto points = MarkerPoints(plot);
    ASSERT_EQ(points.size(), 2u);

    const POINT p = points.at(17);
    SRGraphFeedback* hit = plot.GetChart().HitTestFeedback(p.x + 9, p.y - 9);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(plot.GetTipText(*hit), CString(u"PRN 17, Azm = 45, El = 30, Eb/No = 42"));
    EXPECT_EQ(plot.GetChart().HitTestFeedback(p.x + 10, p.y), nullptr);
    hit = plot.GetChart().HitTestFeedback(points.at(21).x, points.at(21).y);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(plot.GetTipText(*hit), CString(u"PRN 21, Azm = 300, El = 75, Eb/No = 0"));

    // A cleared marker, or a record of another group, gives no tip.
    plot.ClearSatelliteMarkers();
    EXPECT_TRUE(plot.GetTipText(*hit).IsEmpty());
    SRGraphFeedback other(p.x, p.y, 10, 1, 17, nullptr);
    EXPECT_TRUE(plot.GetTipText(other).IsEmpty());
}

namespace {

std::vector<BYTE> StoreDialog(CSatelliteViewChartDialog* dialog) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, 4096);
        ar.WriteObject(dialog);
        ar.Close();
    }
    std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

CSatelliteViewChartDialog* LoadDialog(std::vector<BYTE>& bytes) {
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load, 4096);
    return CSatelliteViewChartDialog::ReadChartDialogFromArchive(ar);
}

} // namespace

// The document stores the four horizon groups; the satellites are not kept. An older form (schema 1) held
// only the fine trace: it loads, and the coarse trace starts empty.
TEST(SkyPlotArchive, KeepsTheHorizonTracesAndReadsTheOlderFormWithAnEmptyCoarseTrace) {
    CSatelliteViewChartDialog stored;
    stored.GetChart().ResetHorizon(TRUE);
    stored.GetChart().PlotSatellite(7, 123, 10, 35, 1, TRUE);
    std::vector<BYTE> bytes = StoreDialog(&stored);

    std::unique_ptr<CSatelliteViewChartDialog> read(LoadDialog(bytes));
    ASSERT_NE(read, nullptr);
    CSatelliteViewChart& plot = read->GetChart();
    for (int group = 0; group < 4; ++group) {
        EXPECT_EQ(plot.GetChart().GetGroupItemCount(group, TRUE), 180) << group;
    }
    EXPECT_NEAR(Radius(plot, 1, 61), 80.0 / 90.0, 1e-12);
    EXPECT_NEAR(Radius(plot, 3, 12), 80.0 / 90.0, 1e-12);
    EXPECT_DOUBLE_EQ(Item(plot, 2, 12)->GetValue(), 120.0);
    EXPECT_EQ(Item(plot, 0, 5)->GetStyle().GetShapeKind(), 0x04);
    EXPECT_EQ(Item(plot, 4, 7)->GetStyle().GetShapeKind(), 0);
    EXPECT_EQ(StoreDialog(read.get()), bytes);

    // The class record's schema word follows the new-class tag.
    const BYTE newClass[] = {0xFF, 0xFF, 0x02, 0x00};
    auto at = std::search(bytes.begin(), bytes.end(), std::begin(newClass), std::end(newClass));
    ASSERT_NE(at, bytes.end());
    at[2] = 0x01;
    std::unique_ptr<CSatelliteViewChartDialog> old(LoadDialog(bytes));
    ASSERT_NE(old, nullptr);
    EXPECT_NEAR(Radius(old->GetChart(), 1, 61), 80.0 / 90.0, 1e-12);
    EXPECT_TRUE(Item(old->GetChart(), 3, 12)->IsNull());
    EXPECT_EQ(old->GetChart().GetChart().GetGroupItemCount(3, TRUE), 180);

    // A file written before the program had the sky plot holds a null object: no dialog, no error.
    std::vector<BYTE> nullObject{0x00, 0x00};
    EXPECT_EQ(LoadDialog(nullObject), nullptr);
}

TEST(SkyPlotArchive, ShortGroupsAreCompletedAndWrongSizesRebuilt) {
    CSatelliteViewChart plot;
    plot.GetChart().GetGroup(0, TRUE)->SetItem(new SRGraphData, 0);
    plot.GetChart().GetGroup(1, TRUE)->SetItem(new SRGraphData, 0);
    plot.ResetHorizon(FALSE);
    EXPECT_EQ(plot.GetChart().GetGroupItemCount(0, TRUE), 180);
    EXPECT_EQ(plot.GetChart().GetGroupItemCount(3, TRUE), 180);
    EXPECT_DOUBLE_EQ(Item(plot, 0, 179)->GetValue(), 358.0);

    plot.GetChart().GetGroup(2, TRUE)->SetItem(new SRGraphData, 200);
    plot.EnsureHorizonGroups();
    EXPECT_EQ(plot.GetChart().GetGroupItemCount(2, TRUE), 180);
    EXPECT_DOUBLE_EQ(Item(plot, 2, 35)->GetValue(), 350.0);
}

class SkyPlotDialog : public dialogtest::WindowTest {
protected:
    CWinApp m_app{u"Doliva"};
};

TEST_F(SkyPlotDialog, StartsHiddenResetsOnlyOnYesAndClosingClearsTheMarkers) {
    CSatelliteViewChartDialog dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_FALSE(dialog.IsWindowVisible());
    CSatelliteViewChart& plot = dialog.GetChart();
    ASSERT_TRUE(plot.GetSafeHwnd());
    EXPECT_EQ(plot.GetChart().GetGroupItemCount(0, TRUE), 180);
    plot.PlotSatellite(7, 123, 10, 35, 1, TRUE);

    for (int answer : {IDNO, IDYES}) {
        dialogtest::RecordedMessageBoxes box(answer);
        dialog.SendMessageW(WM_COMMAND, MAKEWPARAM(IDC_RESET_HORIZON, BN_CLICKED),
                            reinterpret_cast<LPARAM>(dialog.GetDlgItem(IDC_RESET_HORIZON)->GetSafeHwnd()));
        ASSERT_EQ(box.texts.size(), 1u);
        EXPECT_EQ(box.texts[0], std::u16string(CSatelliteViewChartDialog::kResetWarning));
        EXPECT_EQ(box.types[0], static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
        EXPECT_EQ(Item(plot, 1, 61)->IsNull(), answer == IDYES);
        EXPECT_EQ(Item(plot, 3, 12)->IsNull(), answer == IDYES);
    }
    EXPECT_EQ(Item(plot, 4, 7)->GetStyle().GetShapeKind(), 0x02);

    // The hover: a move starts the timer, its tick shows the tip of the marker under the mouse.
    dialog.ShowWindow(SW_SHOW);
    plot.UpdateWindow();
    const auto points = MarkerPoints(plot);
    ASSERT_EQ(points.count(7), 1u);
    plot.SendMessageW(WM_MOUSEMOVE, 0, MAKELPARAM(points.at(7).x, points.at(7).y));
    plot.SendMessageW(WM_TIMER, CSatelliteViewChart::kHoverTimer, 0);
    EXPECT_TRUE(plot.GetTip().IsShown());
    plot.SendMessageW(WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_FALSE(plot.GetTip().IsShown());

    dialog.SendMessageW(WM_CLOSE);
    Pump();
    EXPECT_EQ(Item(plot, 4, 7)->GetStyle().GetShapeKind(), 0);
    EXPECT_FALSE(dialog.IsWindowVisible());
    dialog.DestroyWindow();
}
