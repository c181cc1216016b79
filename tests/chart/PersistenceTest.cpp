// A chart with groups and a background through its archive and its text template, and what truncated or
// damaged input does: the chart or archive exception, never a crash or a leak.
#include "ChartTestSupport.h"

#include "chart/ChartResourceIds.h"
#include "chart/SRGraphBackground.h"
#include "chart/SRGraphDisplay.h"
#include "chart/SRGraphException.h"
#include "chart/SRGraphLabel.h"
#include "chart/SRGraphLabelBlock.h"
#include "chart/SRGraphTitle.h"
#include "chart/TemplateText.h"

#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

using charttest::RecordedBoxes;

namespace {
using Bytes = std::vector<BYTE>;

Bytes Store(SRGraph& chart) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        chart.Serialize(ar);
        ar.Close();
    }
    Bytes out(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    file.Read(out.data(), static_cast<UINT>(out.size()));
    return out;
}

void Load(SRGraph& chart, const Bytes& bytes) {
    CMemFile file(const_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    chart.Serialize(ar);
}

// "archive", "chart" or "" for a load that succeeds.
std::string LoadFailure(const Bytes& bytes) {
    SRGraph chart;
    try {
        Load(chart, bytes);
    } catch (CArchiveException* e) {
        e->Delete();
        return "archive";
    } catch (SRGraphException* e) {
        e->Delete();
        return "chart";
    }
    return "";
}

void Fill(SRGraph& chart) {
    auto* background = new SRGraphBackground;
    background->SetRect(0, 0, 100, 100);
    background->SetUnitMode(SRG_PERCENT);
    background->GetStyle().SetFrameFillKind(2);
    background->SetFillColours(RGB(10, 20, 30), RGB(200, 210, 220));
    background->GetStyle().SetBorderType(1);
    chart.AddComponent(background);
    auto* title = new SRGraphTitle;
    title->SetRect(5, 2, 95, 12);
    title->SetText(u"Sky", 1);
    title->SetColor(RGB(0, 0, 128));
    chart.AddComponent(title);
    for (int g = 0; g < 2; ++g) {
        for (int i = 0; i < 3; ++i) {
            chart.SetItemValue(i, g, g * 10.0 + i + 0.25, FALSE);
        }
        chart.SetGroupAnnotation(g, g ? u"elevation" : u"azimuth", FALSE);
    }
    chart.SetItemAnnotation(1, 0, u"PRN 7");
    chart.SetGraphAnnotation(u"Satellites", 1);
}

std::string Template(SRGraph& chart) {
    SRGStringTemplateWriter writer;
    chart.WriteTemplate(writer);
    return writer.Bytes();
}
} // namespace

TEST(ChartArchive, AChartWithGroupsAndABackgroundRoundTrips) {
    SRGraph chart;
    Fill(chart);
    const Bytes bytes = Store(chart);

    SRGraph loaded;
    Load(loaded, bytes);
    ASSERT_EQ(loaded.GetComponentList().GetCount(), 2);
    auto* background = dynamic_cast<SRGraphBackground*>(loaded.FindComponent(0, IDS_SRG_TYPE_BACKGROUND));
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->GetParentGraph(), &loaded);
    EXPECT_EQ(background->GetRect().GetUnitMode(), SRG_PERCENT);
    EXPECT_EQ(background->GetStyle().m_crSecond, RGB(10, 20, 30));
    EXPECT_EQ(background->GetStyle().m_crThird, RGB(200, 210, 220));
    auto* title = dynamic_cast<SRGraphTitle*>(loaded.FindComponent(0, IDS_SRG_TYPE_TITLE));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->GetColor(), RGB(0, 0, 128));
    ASSERT_EQ(loaded.GetGroupCount(), 2);
    EXPECT_EQ(loaded.GetItemValue(2, 1), 12.25);
    EXPECT_EQ(loaded.GetGroupAnnotation(1, 1), CString(u"elevation"));
    EXPECT_EQ(loaded.GetItemAnnotation(0, 1, 1), CString(u"PRN 7"));
    EXPECT_EQ(loaded.GetGraphAnnotation(1), CString(u"Satellites"));
    // Everything the archive carries comes back: stored again it gives the same bytes.
    EXPECT_EQ(Store(loaded), bytes);
}

TEST(ChartArchive, ComponentsAreFramedAsVersionedObjects) {
    SRGraph chart;
    chart.AddComponent(new SRGraphBackground);
    const Bytes bytes = Store(chart);
    // The list's count, then a new class: tag, schema 1 (versionable), the name's length and the name.
    const std::string name = "SRGraphBackground";
    Bytes head = {0x01, 0x00, 0xFF, 0xFF, 0x01, 0x00, static_cast<BYTE>(name.size()), 0x00};
    head.insert(head.end(), name.begin(), name.end());
    ASSERT_GE(bytes.size(), head.size());
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(head.size())), head);

    // A class the chart does not know, and an object that is not a component, are refused.
    Bytes unknown = bytes;
    unknown[8] = 'X';
    EXPECT_EQ(LoadFailure(unknown), "archive");
}

TEST(ChartArchive, EveryTruncationFailsWithAnExceptionAndLeavesNothingBehind) {
    SRGraph chart;
    Fill(chart);
    const Bytes bytes = Store(chart);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        EXPECT_EQ(LoadFailure(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(cut))), "archive") << cut;
    }
    EXPECT_EQ(LoadFailure(bytes), "");
}

TEST(ChartTemplate, AChartWithABackgroundTitleAndLabelsRoundTrips) {
    SRGraph chart;
    Fill(chart);
    auto* label = new SRGraphLabel;
    label->SetRect(0, 0, 20, 10);
    label->SetAnchor(40, 50);
    label->SetTextForKey(1, u"North");
    label->SetTextForKey(2, u"Nord");
    chart.AddComponent(label);
    const std::string text = Template(chart);
    EXPECT_EQ(text.substr(0, 11), "background ");
    EXPECT_NE(text.find(" 40 50 1 0 0 1 0\r\nannotation 1 North\r\nannotation 2 Nord\r\n"), std::string::npos) << text;

    SRGraph loaded;
    RecordedBoxes boxes;
    loaded.LoadTemplateText(reinterpret_cast<const BYTE*>(text.data()), text.size());
    EXPECT_TRUE(boxes.texts.empty());
    ASSERT_EQ(loaded.GetComponentList().GetCount(), 3);
    auto* background = dynamic_cast<SRGraphBackground*>(loaded.FindComponent(0, IDS_SRG_TYPE_BACKGROUND));
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->GetStyle().m_crThird, RGB(200, 210, 220));
    auto* readLabel = dynamic_cast<SRGraphLabel*>(loaded.FindComponent(0, IDS_SRG_TYPE_LABEL));
    ASSERT_NE(readLabel, nullptr);
    EXPECT_EQ(readLabel->GetText(2), CString(u"Nord"));
    EXPECT_EQ(Template(loaded), text);
}

TEST(ChartTemplate, LinesSplitOnCarriageReturnsAndKeepAtMost254Characters) {
    const std::string input = "a\r\nb\nc\rd\r\r\n" + std::string(300, 'x');
    const std::vector<CString> lines =
        SRGSplitTemplateLines(reinterpret_cast<const BYTE*>(input.data()), input.size());
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], CString(u"a"));
    EXPECT_EQ(lines[1], CString(u"b\nc"));
    EXPECT_EQ(lines[2], CString(u"d"));
    EXPECT_EQ(lines[3], CString(u""));
    EXPECT_EQ(lines[4].GetLength(), 254);
}

TEST(ChartTemplate, BadLinesReportTheErrorAndStopTheReading) {
    const struct {
        const char* text;
        size_t boxes;
        int components;
    } cases[] = {
        {"background 0 0 10 10 0 0 1 0 1 2 3\r\nbogus line\r\nbackground 0 0 1 1 0 0 0 0\r\n", 0, 1},
        {"background 0 0 10\r\n", 2, 0},                   // the component declaration is cut
        {"background 0 0 10 10 0 0 2 0 1 2\r\n", 2, 0},    // the fill lacks colours
        {"title 0 0 10 10 0 0 0 0 1 2 3 \"Ar\r\n", 2, 0},  // the font is cut
        {"annotation 1 text\r\n", 0, 0},                    // no label to annotate: an unknown command
        {"// comment\r\n\r\nbackground 0 0 10 10 0 0 0 0\r\n", 0, 1},
    };
    for (const auto& c : cases) {
        SRGraph chart;
        RecordedBoxes boxes;
        chart.LoadTemplateText(reinterpret_cast<const BYTE*>(c.text), std::strlen(c.text));
        EXPECT_EQ(boxes.texts.size(), c.boxes) << c.text;
        EXPECT_EQ(chart.GetComponentList().GetCount(), c.components) << c.text;
        if (c.boxes == 2) {
            EXPECT_EQ(boxes.texts[1].substr(0, 18), u"Syntax error in..>") << c.text;
        }
    }
}

TEST(ChartTemplate, EveryTruncationReadsWithoutHarm) {
    SRGraph chart;
    Fill(chart);
    auto* block = new SRGraphLabelBlock;
    block->SetRect(0, 0, 50, 50);
    auto* label = new SRGraphLabel;
    label->SetTextForKey(1, u"E");
    block->AttachLabel(label, FALSE);
    chart.AddComponent(block);
    const std::string bytes = Template(chart);
    RecordedBoxes boxes;
    for (size_t cut = 0; cut <= bytes.size(); ++cut) {
        SRGraph loaded;
        loaded.LoadTemplateText(reinterpret_cast<const BYTE*>(bytes.data()), cut);
        EXPECT_LE(loaded.GetComponentList().GetCount(), 3) << cut;
    }
}

namespace {
// A chart that records the lines handed to it as unknown commands.
class RecordingChart : public SRGraph {
public:
    int OnUnknownTemplateCommand(const CString& line) override {
        unknown.push_back(line);
        return 0;
    }
    std::vector<CString> unknown;
};
} // namespace

TEST(ChartTemplate, KeywordsBlocksAndUnknownCommands) {
    RecordingChart chart;
    RecordedBoxes boxes;
    const std::string text = "background 0 0 100 100 3 1 1 0 255 255 255\r\n"
                             "labelblock 0 0 50 50 0 0 0 0 0 0 0 \"Arial\" 10 0 0 0 0 1 0 0 1 0\r\n"
                             "label 0 0 1 1 0 0 0 0 0 0 0 \"Arial\" 10 0 0 5 5 1 0 0 1 1\r\n"
                             "annotation 1 E\r\n"
                             "endblock\r\n"
                             "rect 1 2 3 4\r\n"
                             "background 0 0 1 1 0 0 0 0";
    chart.LoadTemplateText(reinterpret_cast<const BYTE*>(text.data()), text.size());
    EXPECT_TRUE(boxes.texts.empty());
    // The label went into the block; "rect" ends the reading and goes to the chart.
    ASSERT_EQ(chart.GetComponentList().GetCount(), 2);
    auto* background = dynamic_cast<SRGraphBackground*>(chart.FindComponent(0, IDS_SRG_TYPE_BACKGROUND));
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->GetRect().GetUnitMode(), SRG_PERCENT);
    EXPECT_EQ(background->GetStyle().GetBorderType(), 1);
    EXPECT_EQ(background->GetStyle().m_crSecond, RGB(255, 255, 255));
    auto* block = dynamic_cast<SRGraphLabelBlock*>(chart.FindComponent(0, IDS_SRG_TYPE_LABEL_BLOCK));
    ASSERT_NE(block, nullptr);
    ASSERT_EQ(block->GetCount(), 1);
    EXPECT_EQ(block->GetLabel(0)->GetText(1), CString(u"E"));
    ASSERT_EQ(chart.unknown.size(), 1u);
    EXPECT_EQ(chart.unknown[0], CString(u"rect 1 2 3 4"));

    // A last line without its line end is read whole.
    RecordingChart last;
    const std::string tail = "background 0 0 1 1 0 0 0 0";
    last.LoadTemplateText(reinterpret_cast<const BYTE*>(tail.data()), tail.size());
    EXPECT_EQ(last.GetComponentList().GetCount(), 1);
}

TEST(ChartTemplate, SyntaxErrorsNameTheirPart) {
    const struct {
        const char* text;
        const char16_t* report;
    } cases[] = {
        {"background 0 0 10 10 0 0 1\r\n", u"Template syntax error\nThere is an error in the component declaration."},
        {"background 0 0 10 10 0 0 6 0\r\n", u"Template syntax error.\nThere is an error in the fill style declaration."},
        {"title 0 0 10 10 0 0 0 0 1 2 3 \"Ar\r\n", u"Template syntax error.\nThere is an error in the font declaration."},
    };
    for (const auto& c : cases) {
        RecordingChart chart;
        RecordedBoxes boxes;
        chart.LoadTemplateText(reinterpret_cast<const BYTE*>(c.text), std::strlen(c.text));
        ASSERT_EQ(boxes.texts.size(), 2u) << c.text;
        EXPECT_EQ(boxes.texts[0], c.report);
        EXPECT_EQ(boxes.texts[1], u"Syntax error in..>" + std::u16string(c.text, c.text + std::strlen(c.text) - 2));
        EXPECT_TRUE(chart.unknown.empty());
    }
    // An annotation after a title is an unknown command: it ends the reading without a report.
    RecordingChart chart;
    RecordedBoxes boxes;
    const std::string text = "title 0 0 10 10 0 0 0 0 1 2 3 \"Arial\" 10 0 0\r\nannotation 1 x\r\n";
    chart.LoadTemplateText(reinterpret_cast<const BYTE*>(text.data()), text.size());
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_EQ(chart.unknown.size(), 1u);
    EXPECT_EQ(chart.GetComponentList().GetCount(), 1);
}

TEST(ChartArchive, ADisplayScopeFarPastTheStoreLoadsAndDrawsWithinTheStore) {
    // The scope comes from the file: hundreds of millions of groups and items over a store of two by three
    // must neither create groups nor walk the empty positions one by one: lines, columns and bars (clustered,
    // layered, stacked, group-stacked and floating), pies, and the polar chart of the sky plot, which the
    // program's document file keeps.
    for (const int graph : {0, 1, 2, 3, 4, 11, 12, 13, 26, 30, 31, 37, 38, 39, 40}) {
        SRGraph source;
        Fill(source);
        auto* display = new SRGraphDisplay;
        display->SetRect(10, 10, 90, 90);
        display->SetUnitMode(SRG_PERCENT);
        display->GetStyle().SetGraphStyle(graph);
        display->SetScope(0, 399999999, 0, 399999999);
        source.AddComponent(display);
        SRGraph chart;
        Load(chart, Store(source));
        charttest::Canvas canvas(160, 120);
        chart.SetOffscreen(FALSE);
        try {
            chart.DrawGraph(canvas.DC(), nullptr);
        } catch (SRGraphException* e) {
            e->Delete();
        }
        EXPECT_EQ(chart.GetGroupCount(), 2) << graph;
    }
}
