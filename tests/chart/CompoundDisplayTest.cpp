// Compound components (passes, deferred children, the depth-first search) and the compound display that lays
// its axis managers out around the plot area.
#include "ChartTestSupport.h"

#include "chart/ChartResourceIds.h"
#include "chart/SRGAxisManager.h"
#include "chart/SRGCompoundDisplay.h"
#include "chart/SRGDataWatcher.h"
#include "chart/SRGTextPanel.h"
#include "chart/SRGDecimalScale.h"
#include "chart/SRGGridLines.h"
#include "chart/SRGIndexScale.h"
#include "chart/SRGTickMarks.h"
#include "chart/SRGraphDisplay.h"
#include "chart/SRGraphLabel.h"
#include "chart/SRGraphLegend.h"
#include "chart/TemplateText.h"

#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using charttest::Canvas;

namespace {
// Records each drawing with its drawn mark, in the order of the whole test.
class Recorder : public SRGraphComponent {
public:
    Recorder(std::vector<std::string>& log, std::string name) : m_log(log), m_name(std::move(name)) {}
    void DrawComponent(CDC*, CWnd*) override { m_log.push_back(m_name + std::to_string(m_nDrawnMark)); }

private:
    std::vector<std::string>& m_log;
    std::string m_name;
};

// Keeps the plot area its measuring left.
class MeasuredCompound : public SRGCompoundDisplay {
public:
    void AfterMeasurePass() override {
        SRGCompoundDisplay::AfterMeasurePass();
        if (!m_nDrawnMark) {
            measured = GetInnerRect();
        }
    }
    CRect measured;
};

// Three groups of five items.
void FillData(SRGraph& chart) {
    for (int g = 0; g < 3; ++g) {
        for (int i = 0; i < 5; ++i) {
            chart.SetItemValue(i, g, 10.0 * (g + 1) + i, FALSE);
        }
    }
    for (int i = 0; i < 5; ++i) {
        chart.SetItemAnnotation(i, 0, CString(u"item ") + CString(std::to_string(i).c_str()));
    }
}

SRGCompoundDisplay* AddFactoryCompound(SRGraph& chart, int axisStyle = 2) {
    auto* compound = dynamic_cast<SRGCompoundDisplay*>(chart.CreateComponent(
        IDS_SRG_TYPE_COMPOUND_DISPLAY, SRG_PIXELS, RECT{0, 0, 400, 300}, 0, 0, 0, 1 << 16, DWORD(axisStyle) << 24));
    return compound;
}
} // namespace

TEST(CompoundComponent, PassesDeferredChildrenAndSearch) {
    std::vector<std::string> log;
    SRGraph chart;
    auto* compound = new SRGCompoundComponent;
    compound->AddChild(new Recorder(log, "a"));
    auto* deferred = new Recorder(log, "d");
    deferred->GetStyle().SetOption(SRGO_DEFERRED_CHILD, TRUE);
    compound->AddChild(deferred);
    compound->AddChild(new Recorder(log, "b"));
    chart.AddComponent(compound);
    Canvas canvas(50, 50);

    // One pass, the chart's mark: the deferred child is drawn in list order while the flag is clear.
    chart.DrawGraph(canvas.DC(), nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"a1", "d1", "b1"}));
    // Two passes: measuring with a clear mark, then drawing, the deferred child after all the others.
    log.clear();
    compound->SetTwoPass(TRUE);
    compound->SetDeferredChildren(TRUE);
    chart.InvalidateAll();
    chart.DrawGraph(canvas.DC(), nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"a0", "d0", "b0", "a1", "b1", "d1"}));
    EXPECT_TRUE(deferred->GetStyle().HasOption(SRGO_DEFERRED_CHILD));
    EXPECT_EQ(deferred->GetCompoundChildMark(), 1);

    // The index counts matching components depth-first over the whole tree.
    SRGCompoundComponent outer;
    auto* inner = new SRGCompoundComponent;
    auto* first = new SRGGridLines;
    inner->AddChild(first);
    outer.AddChild(inner);
    auto* second = new SRGGridLines;
    outer.AddChild(second);
    int counter = 0;
    EXPECT_EQ(outer.FindChild(1, IDS_SRG_TYPE_GRID_LINES, counter), second);
    counter = 0;
    EXPECT_EQ(outer.FindChild(0, IDS_SRG_TYPE_GRID_LINES, counter), first);
    counter = 0;
    EXPECT_EQ(outer.FindChild(2, IDS_SRG_TYPE_GRID_LINES, counter), nullptr);
}

TEST(CompoundDisplay, TheFactoryFramesADisplayAndThePlotShrinksByWhatTheAxesNeed) {
    SRGraph chart;
    FillData(chart);
    SRGCompoundDisplay* compound = AddFactoryCompound(chart);
    ASSERT_NE(compound, nullptr);
    SRGAxisManager* left = compound->GetLeftAxis();
    SRGAxisManager* bottom = compound->GetBottomAxis();
    ASSERT_NE(left, nullptr);
    ASSERT_NE(bottom, nullptr);
    ASSERT_NE(dynamic_cast<SRGraphDisplay*>(left->GetDisplay()), nullptr);
    EXPECT_EQ(left->GetDisplay()->GetStyle().GetAxisStyle(), 2);
    EXPECT_EQ(typeid(*left->GetScale()), typeid(SRGDecimalScale));
    EXPECT_NE(left->GetTickMarks(), nullptr);
    EXPECT_NE(left->GetGridLines(), nullptr);
    EXPECT_NE(dynamic_cast<SRGIndexScale*>(bottom->GetScale()), nullptr);
    EXPECT_NE(bottom->GetTickMarks(), nullptr);
    EXPECT_EQ(compound->GetTopAxis()->GetScale(), nullptr);
    EXPECT_EQ(compound->GetRightAxis()->GetScale(), nullptr);

    Canvas canvas(400, 300);
    chart.SetOffscreen(FALSE);
    chart.DrawGraph(canvas.DC(), nullptr);
    // The drawing lays out in the plot area that the measuring left (the inner rectangle is the full one
    // again once the drawing pass has begun); the display takes it.
    const CRect plot = left->GetDisplay()->GetDisplayRect();
    const int needLeft = left->GetRequiredWidth();
    const int needBottom = bottom->GetRequiredHeight();
    EXPECT_GT(needLeft, 5); // labels beside the ticks
    EXPECT_GT(needBottom, 5);
    // The placement rectangle less the border inset, less what the managers need.
    const CRect full = compound->LabelSpace(CRect(0, 0, 400, 300));
    EXPECT_EQ(plot, CRect(full.left + needLeft, full.top, full.right, full.bottom - needBottom));
    // The display, the grid lines and the axes follow the plot area; the value range reaches the left scale.
    EXPECT_EQ(left->GetGridLines()->GetPlotRect(), plot);
    EXPECT_FALSE(left->GetGridLines()->IsVertical());
    EXPECT_TRUE(bottom->GetGridLines()->IsVertical());
    EXPECT_EQ(CPoint(left->GetStartPoint()), CPoint(plot.left, plot.bottom));
    EXPECT_EQ(CPoint(left->GetEndPoint()), CPoint(plot.left, plot.top));
    EXPECT_EQ(CPoint(bottom->GetEndPoint()), CPoint(plot.right, plot.bottom));
    EXPECT_LE(left->GetScale()->GetMinimum(), 10.0);
    EXPECT_GE(left->GetScale()->GetMaximum(), 34.0);
    // The tick marks stand at the scale's points along the axis.
    ASSERT_NE(left->GetTickMarks()->GetTickPositions(), nullptr);
    EXPECT_GT(left->GetTickMarks()->GetTickPositions()->GetCount(), 1);
    for (POSITION pos = left->GetTickMarks()->GetTickPositions()->GetHeadPosition(); pos;) {
        EXPECT_EQ(static_cast<POINT*>(left->GetTickMarks()->GetTickPositions()->GetNext(pos))->x, plot.left);
    }
}

TEST(CompoundDisplay, DepthAxesMirrorsAndSwap) {
    // Axis style 16 has depth: the left axis ends 10 short at the top, the bottom one 10 short at the right.
    {
        SRGraph chart;
        FillData(chart);
        SRGCompoundDisplay* compound = AddFactoryCompound(chart, 16);
        Canvas canvas(400, 300);
        chart.DrawGraph(canvas.DC(), nullptr);
        const CRect plot = compound->GetLeftAxis()->GetDisplay()->GetDisplayRect();
        EXPECT_EQ(CPoint(compound->GetLeftAxis()->GetEndPoint()), CPoint(plot.left, plot.top + 10));
        EXPECT_EQ(CPoint(compound->GetBottomAxis()->GetEndPoint()), CPoint(plot.right - 10, plot.bottom));
    }
    // The vertical mirror shows the left bounds on the right, as they are or times the factor.
    for (double factor : {0.0, 1.8}) {
        SRGraph chart;
        FillData(chart);
        SRGCompoundDisplay* compound = AddFactoryCompound(chart);
        compound->SetRightScale(new SRGDecimalScale);
        compound->SetVerticalMirror(TRUE);
        compound->SetVerticalMirrorFactor(factor);
        Canvas canvas(400, 300);
        chart.DrawGraph(canvas.DC(), nullptr);
        SRGDecimalScale* left = compound->GetLeftAxis()->GetScale();
        SRGDecimalScale* right = compound->GetRightAxis()->GetScale();
        const double k = factor == 0.0 ? 1.0 : factor;
        EXPECT_DOUBLE_EQ(right->GetMaximum(), left->GetMaximum() * k) << factor;
        EXPECT_DOUBLE_EQ(right->GetMinimum(), left->GetMinimum() * k) << factor;
        EXPECT_LT(compound->GetRightAxis()->GetStartPoint().x, compound->LabelSpace(CRect(0, 0, 400, 300)).right);
    }
    // With the swap bit the left axis shows the X range (the five items) and the bottom one the values.
    SRGraph chart;
    FillData(chart);
    SRGCompoundDisplay* compound = AddFactoryCompound(chart);
    compound->GetStyle().SetThird(SRGT_SWAP_RANGES, TRUE);
    Canvas canvas(400, 300);
    chart.DrawGraph(canvas.DC(), nullptr);
    SRGDisplayBase* display = compound->GetLeftAxis()->GetDisplay();
    const CScale x = display->GetXAxisRange().IsUnset() ? display->GetXRange() : display->GetXAxisRange();
    const CScale v = display->GetValueAxisRange().IsUnset() ? display->GetValueRange() : display->GetValueAxisRange();
    EXPECT_EQ(compound->GetLeftAxis()->GetScale()->GetMaximum(), x.m_dMax);
    EXPECT_EQ(compound->GetBottomAxis()->GetScale()->GetMaximum(), v.m_dMax);
}

TEST(CompoundDisplay, ExplicitAndCrowdedPlotAreas) {
    // An explicit plot area stays as given; the left title stands beyond the left scale.
    {
        SRGraph chart;
        FillData(chart);
        SRGCompoundDisplay* compound = AddFactoryCompound(chart);
        auto* title = new SRGraphLabel;
        title->SetTextForKey(1, u"Volts");
        compound->GetLeftAxis()->SetTitle(title);
        compound->SetInnerRect(80, 20, 380, 250, TRUE);
        Canvas canvas(400, 300);
        chart.DrawGraph(canvas.DC(), nullptr);
        EXPECT_EQ(compound->GetInnerRect(), CRect(80, 20, 380, 250));
        const int block = compound->GetLeftAxis()->GetScale()->GetBlockRect().Width();
        EXPECT_GT(block, 0);
        EXPECT_EQ(title->GetAnchorX(), 80 - block);
        EXPECT_EQ(title->GetAnchorY(), 135);
        EXPECT_EQ(title->GetSide(), SRGL_ABOVE);
    }
    // Left and right axes needing more than the width collapse the plot to the middle of what is left.
    SRGraph chart;
    FillData(chart);
    auto* compound = new MeasuredCompound;
    compound->SetRect(0, 0, 60, 200);
    for (SRGAxisManager* manager : {compound->GetLeftAxis(), compound->GetRightAxis()}) {
        auto* marks = new SRGTickMarks;
        marks->SetMajorTickLength(40);
        manager->SetTickMarks(marks);
    }
    chart.AddComponent(compound);
    Canvas canvas(100, 220);
    chart.DrawGraph(canvas.DC(), nullptr);
    const CRect full = compound->LabelSpace(CRect(0, 0, 60, 200));
    const int middle = (full.left + 40 + full.right - 40) / 2;
    EXPECT_EQ(compound->measured.left, middle);
    EXPECT_EQ(compound->measured.right, middle);
    EXPECT_EQ(compound->measured.top, full.top);
}

TEST(CompoundDisplay, ArchiveKeepsTheManagersAndTheirSlots) {
    SRGraph chart;
    SRGCompoundDisplay* compound = AddFactoryCompound(chart, 16);
    auto* title = new SRGraphLabel;
    title->SetTextForKey(1, u"Volts");
    compound->GetLeftAxis()->SetTitle(title);
    compound->SetVerticalMirror(TRUE);
    compound->SetVerticalMirrorFactor(1.8);
    compound->SetLeftWithBottom(FALSE);
    compound->GetLeftAxis()->SetStartPoint(3, 4);
    SRGraph loaded;
    charttest::CopyThroughArchive(chart, loaded);
    auto* copy = dynamic_cast<SRGCompoundDisplay*>(loaded.FindComponent(0, IDS_SRG_TYPE_COMPOUND_DISPLAY));
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->GetVerticalMirror());
    EXPECT_EQ(copy->GetVerticalMirrorFactor(), 1.8);
    EXPECT_FALSE(copy->GetLeftWithBottom());
    EXPECT_TRUE(copy->GetTwoPass());
    SRGAxisManager* left = copy->GetLeftAxis();
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->GetChildList().GetCount(), SRGAxisManager::slotCount);
    ASSERT_NE(left->GetDisplay(), nullptr);
    EXPECT_EQ(left->GetDisplay()->GetStyle().GetAxisStyle(), 16);
    ASSERT_NE(left->GetTitle(), nullptr);
    EXPECT_EQ(left->GetTitle()->GetText(1), CString(u"Volts"));
    EXPECT_EQ(left->GetWatcher(), nullptr); // a placeholder is never handed out
    EXPECT_EQ(CPoint(left->GetStartPoint()), CPoint(3, 4));
    EXPECT_NE(dynamic_cast<SRGIndexScale*>(copy->GetBottomAxis()->GetScale()), nullptr);
    // The loaded chart draws like the first (on the canvas itself: the room is measured on the last context).
    Canvas canvas(400, 300);
    loaded.SetOffscreen(FALSE);
    loaded.DrawGraph(canvas.DC(), nullptr);
    EXPECT_GT(left->GetRequiredWidth(), 0);

    // A compound has no template line of its own: the lines after it still read.
    chart.AddComponent(new SRGraphTitle);
    SRGStringTemplateWriter writer;
    chart.WriteTemplate(writer);
    EXPECT_EQ(writer.Bytes().substr(0, 6), "title ");
}

TEST(AxisManager, RoomForTheTitleAndSlotsThatAreMissing) {
    SRGraph chart;
    Canvas canvas(200, 200);
    SRGAxisManager manager;
    manager.SetParentGraph(&chart);
    auto* title = new SRGraphLabel;
    title->SetTextForKey(1, u"Satellites in view");
    manager.SetTitle(title);
    manager.BeginDraw(canvas.DC(), nullptr);
    title->BeginDraw(canvas.DC(), nullptr);
    title->ComputeOutline(nullptr, 0);
    const CSize outline = title->GetOutlineSize();
    ASSERT_GT(outline.cx, 0);
    // A fifth more for the width, rounded toward zero; the height as it is.
    EXPECT_EQ(manager.GetRequiredWidth(), outline.cx * 6 / 5);
    EXPECT_EQ(manager.GetRequiredHeight(), outline.cy);
    // The title's frame goes: it draws inside the axis's room.
    EXPECT_EQ(title->GetStyle().GetBorderType(), 0);

    // A manager whose list lost slots sets none of those.
    SRGAxisManager shortList;
    CObList& children = shortList.GetChildList();
    while (children.GetCount() > 3) {
        delete children.RemoveTail();
    }
    auto* watcher = new SRGGridLines;
    shortList.SetWatcher(watcher);
    EXPECT_EQ(shortList.GetWatcher(), nullptr);
    delete watcher;
    // Setting the occupant again keeps it.
    auto* lines = new SRGGridLines;
    manager.SetGridLines(lines);
    manager.SetGridLines(lines);
    EXPECT_EQ(manager.GetGridLines(), lines);
}

TEST(CompoundDisplay, DamagedArchivesAndTemplatesOfTheNewComponentsFailCleanly) {
    SRGraph chart;
    FillData(chart);
    AddFactoryCompound(chart);
    chart.AddComponent(new SRGDataWatcher);
    chart.AddComponent(new SRGTextPanel);
    chart.AddComponent(new SRGraphLegend);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        chart.Serialize(ar);
        ar.Close();
    }
    std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    // Every cut is the archive exception, and nothing leaks.
    for (size_t cut = 0; cut < bytes.size(); cut += 7) {
        SRGraph loaded;
        CMemFile in(bytes.data(), static_cast<UINT>(cut));
        CArchive ar(&in, CArchive::load);
        bool failed = false;
        try {
            loaded.Serialize(ar);
        } catch (CArchiveException* e) {
            e->Delete();
            failed = true;
        }
        EXPECT_TRUE(failed) << cut;
    }

    SRGStringTemplateWriter writer;
    chart.WriteTemplate(writer);
    const std::string text = writer.Bytes();
    charttest::RecordedBoxes boxes;
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        SRGraph read;
        read.LoadTemplateText(reinterpret_cast<const BYTE*>(text.data()), cut);
        EXPECT_LE(read.GetComponentList().GetCount(), 3) << cut;
    }
}
