// The legend: its entries per group, index or item, the grid they are laid out in, its keys, and its template
// and archive forms.
#include "ChartTestSupport.h"

#include "chart/ChartMath.h"
#include "chart/ChartResourceIds.h"
#include "chart/SRGraphDisplay.h"
#include "chart/SRGraphLegend.h"
#include "chart/TemplateText.h"

#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using charttest::Canvas;

namespace {
// Groups named "g0", "g1", ... of five items each.
void AddGroups(SRGraph& chart, int groups) {
    for (int g = 0; g < groups; ++g) {
        for (int i = 0; i < 5; ++i) {
            chart.SetItemValue(i, g, g + i, FALSE);
        }
        CString name;
        name.Format(u"g%d", g);
        chart.SetGroupAnnotation(g, name, FALSE);
    }
}

SRGraphLegend* AddLegend(SRGraph& chart, const CRect& rect) {
    auto* legend = new SRGraphLegend;
    legend->SetRect(rect.left, rect.top, rect.right, rect.bottom);
    legend->GetStyle().SetFrameFillKind(0);
    chart.AddComponent(legend);
    return legend;
}

// The widest entry text of a legend drawn once (the grid depends on it).
int WidestEntry(SRGraphLegend& legend) {
    int w = 0;
    for (int j = 0; j < legend.GetEntries().GetCount(); ++j) {
        w = std::max(w, static_cast<int>(legend.GetEntries().GetLabel(j)->GetOutlineSize().cx));
    }
    return w;
}
} // namespace

TEST(Legend, EntriesFillAGridOfColumnsAndRows) {
    // Measure the entries once, then give the legend room for exactly two columns of 2k + w.
    SRGraph probe;
    AddGroups(probe, 7);
    SRGraphLegend* measured = AddLegend(probe, CRect(0, 0, 1000, 100));
    Canvas canvas(1000, 300);
    probe.DrawGraph(canvas.DC(), nullptr);
    ASSERT_EQ(measured->GetEntryCount(), 7);
    const int w = WidestEntry(*measured);
    ASSERT_GT(w, 0);
    const int k = 20;

    SRGraph chart;
    AddGroups(chart, 7);
    SRGraphLegend* legend = AddLegend(chart, CRect(0, 0, 0, 200));
    const int inset = legend->LabelSpace(CRect(0, 0, 1000, 200)).left;
    legend->SetRect(0, 0, 2 * inset + 2 * (2 * k + w) + 5, 200);
    chart.DrawGraph(canvas.DC(), nullptr);
    EXPECT_EQ(legend->GetColumnCount(), 2);
    EXPECT_EQ(legend->GetRowCount(), 4);
    // Entry 3 stands in the second column of the second row; the key is right of the text by default.
    const CRect c = legend->GetContentRect();
    const POINT anchor = legend->GetEntries().GetLabel(3)->GetAnchorPoint();
    EXPECT_EQ(anchor.x, c.left + SRGTrunc(c.Width() / 2.0 + w));
    EXPECT_EQ(anchor.y, c.top + SRGTrunc(std::max<double>(legend->GetRowHeight(), c.Height() / 4.0)));

    // Three entries fitting in one row of many columns take three.
    SRGraph few;
    AddGroups(few, 3);
    SRGraphLegend* wide = AddLegend(few, CRect(0, 0, 1000, 60));
    few.DrawGraph(canvas.DC(), nullptr);
    EXPECT_EQ(wide->GetColumnCount(), 3);
    EXPECT_EQ(wide->GetRowCount(), 1);

    // Fitting the width, aligned left, moves the right edge in to what the columns need, never out.
    SRGraph fit;
    AddGroups(fit, 3);
    SRGraphLegend* fitted = AddLegend(fit, CRect(0, 0, 1000, 60));
    fitted->SetLegendStyle(SRGLS_FIT_WIDTH | SRGLS_ALIGN_LEFT);
    fit.DrawGraph(canvas.DC(), nullptr);
    const CRect full = fitted->LabelSpace(CRect(0, 0, 1000, 60));
    EXPECT_EQ(fitted->GetContentRect().left, full.left);
    EXPECT_EQ(fitted->GetContentRect().right, full.left + SRGTrunc((1.2 * k + w) * 3));
    fitted->SetRect(0, 0, 40, 60);
    fit.DrawGraph(canvas.DC(), nullptr);
    EXPECT_EQ(fitted->GetContentRect().right, fitted->LabelSpace(CRect(0, 0, 40, 60)).right);
}

TEST(Legend, ModesScopeAndKeySize) {
    SRGraph chart;
    AddGroups(chart, 3);
    chart.SetItemAnnotation(1, 0, u"first");
    auto* display = new SRGraphDisplay;
    display->SetScope(-1, -1, 1, 2);
    display->SetRect(0, 0, 10, 10);
    chart.AddComponent(display);
    SRGraphLegend* legend = AddLegend(chart, CRect(0, 100, 600, 300));
    Canvas canvas(600, 300);
    chart.DrawGraph(canvas.DC(), nullptr);
    // The display before it gives the scope: groups 1 and 2.
    EXPECT_EQ(legend->GetAssociatedDisplay(), display);
    ASSERT_EQ(legend->GetEntryCount(), 2);
    EXPECT_EQ(legend->GetEntries().GetLabel(0)->GetText(1), CString(u"g1"));

    // One entry per item: an item without text is named by its group and index.
    legend->SetLegendMode(4);
    display->SetScope(-1, -1, 0, 0);
    chart.DrawGraph(canvas.DC(), nullptr);
    EXPECT_EQ(legend->GetEntries().GetCount(), 5);
    EXPECT_EQ(legend->GetEntries().GetLabel(1)->GetText(1), CString(u"first"));
    EXPECT_EQ(legend->GetEntries().GetLabel(3)->GetText(1), CString(u"Data at group 0 index 3 "));

    // Placed first, a legend has no display and lists its own scope.
    SRGraph alone;
    AddGroups(alone, 3);
    SRGraphLegend* first = AddLegend(alone, CRect(0, 0, 600, 100));
    first->SetScope(-1, -1, 2, 2);
    alone.DrawGraph(canvas.DC(), nullptr);
    EXPECT_EQ(first->GetAssociatedDisplay(), nullptr);
    ASSERT_EQ(first->GetEntryCount(), 1);
    EXPECT_EQ(first->GetEntries().GetLabel(0)->GetText(1), CString(u"g2"));

    // The key size by unit, and 30 outside drawing.
    SRGraphLegend mm;
    mm.SetUnitMode(SRG_MILLIMETRES);
    mm.UpdatePlacement();
    EXPECT_EQ(mm.GetKeySizeValue(), 10.0);
    EXPECT_EQ(mm.GetKeySize(), 30);
}

TEST(Legend, KeysPaintInTheDataStyle) {
    SRGraph chart;
    chart.SetOffscreen(FALSE);
    AddGroups(chart, 2);
    for (int g = 0; g < 2; ++g) {
        chart.FindItem(0, g)->GetStyle().SetFillKind(1); // the palette colour of its entry
    }
    SRGraphLegend* legend = AddLegend(chart, CRect(0, 0, 400, 60));
    legend->SetKeyType(3); // filled boxes
    Canvas canvas(400, 60);
    chart.DrawGraph(canvas.DC(), nullptr);
    const int k = 20;
    for (int g = 0; g < 2; ++g) {
        const POINT anchor = legend->GetEntries().GetLabel(g)->GetAnchorPoint();
        const COLORREF inside = canvas.At(anchor.x + k / 2 + 2, anchor.y + legend->GetRowHeight() / 2);
        EXPECT_EQ(inside, SRGPaletteColour(g)) << g;
    }
}

TEST(Legend, TemplateAndArchiveRoundTrip) {
    SRGraph chart;
    SRGraphLegend* legend = AddLegend(chart, CRect(1, 3, 50, 60));
    legend->SetLegendStyle(SRGLS_FIT_HEIGHT | SRGLS_ALIGN_TOP);
    legend->SetKeySizeValue(12.5);
    legend->SetLegendMode(4);
    legend->SetKeyType(3);
    legend->GetStyle().SetOption(SRGLO_NO_LINE_KEYS, TRUE);
    SRGStringTemplateWriter writer;
    chart.WriteTemplate(writer);
    const std::string text = writer.Bytes();
    EXPECT_NE(text.find("\" 10 0 0  10 12.500000 4 0 3 \r\n"), std::string::npos) << text;
    SRGraph read;
    charttest::RecordedBoxes boxes;
    read.LoadTemplateText(reinterpret_cast<const BYTE*>(text.data()), text.size());
    ASSERT_TRUE(boxes.texts.empty());
    SRGStringTemplateWriter again;
    read.WriteTemplate(again);
    EXPECT_EQ(again.Bytes(), text);

    const struct {
        const char* numbers;
        int code;
        int keyType;
    } cases[] = {{"1 20 0 1", -1, 1}, {"1 20 0 1 7", -1, 7}, {"1 20 0", SRGE_TEMPLATE_LEGEND, 0}};
    for (const auto& c : cases) {
        SRGraphLegend parsed;
        const CString line = CString(u"1 2 3 \"Arial\" 10 0 0 ") + CString(c.numbers);
        EXPECT_EQ(charttest::CodeOf([&] { parsed.ReadTemplateTypePart(line); }), c.code) << c.numbers;
        if (c.code == -1) {
            EXPECT_EQ(parsed.GetStyle().GetKeyType(), c.keyType);
            EXPECT_EQ(parsed.GetLegendStyle(), SRGLS_FIT_WIDTH);
        }
    }

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.WriteObject(legend);
        ar.Close();
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    std::unique_ptr<SRGraphLegend> copy(static_cast<SRGraphLegend*>(ar.ReadObject(RUNTIME_CLASS(SRGraphLegend))));
    EXPECT_EQ(copy->GetLegendStyle(), SRGLS_FIT_HEIGHT | SRGLS_ALIGN_TOP);
    EXPECT_EQ(copy->GetKeySizeValue(), 12.5);
    EXPECT_EQ(copy->GetLegendMode(), 4);
}
