// The text panel: caption placement, growth to fit its body, and its template and archive forms.
#include "ChartTestSupport.h"

#include "chart/ChartResourceIds.h"
#include "chart/SRGTextPanel.h"
#include "chart/TemplateText.h"

#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

using charttest::Canvas;

namespace {
SRGTextPanel* AddPanel(SRGraph& chart, const CRect& rect) {
    auto* panel = new SRGTextPanel;
    panel->SetRect(rect.left, rect.top, rect.right, rect.bottom);
    panel->SetBodyText(1, u"Receiver locked");
    panel->SetCaptionText(1, u"Status");
    chart.AddComponent(panel);
    return panel;
}

// The size of a text in a font of that height, measured as the panel measures it.
CSize TextSize(Canvas& canvas, const CString& text, int height, int escapement) {
    LOGFONTW font{};
    font.lfHeight = height;
    font.lfEscapement = escapement;
    font.lfOrientation = escapement;
    font.lfWeight = FW_NORMAL;
    std::copy_n(u"Arial", 6, font.lfFaceName);
    CFont made;
    made.CreateFontIndirect(&font);
    CFont* old = canvas.DC()->SelectObject(&made);
    const CSize size = canvas.DC()->GetTextExtent(text, text.GetLength());
    canvas.DC()->SelectObject(old);
    return size;
}
} // namespace

TEST(TextPanel, CaptionsTakeTheirSideAndStandUprightAtTheLeft) {
    SRGraph chart;
    SRGTextPanel* panel = AddPanel(chart, CRect(10, 10, 300, 200));
    panel->SetMargin(FALSE);
    panel->SetCaptionPosition(SRGC_LEFT);
    Canvas canvas(320, 220);
    chart.DrawGraph(canvas.DC(), nullptr);
    // Equal resolutions: the strip is as wide as the text is high and as tall as it is wide.
    const CSize text = TextSize(canvas, u"Status", -13, 900);
    const CRect caption = panel->GetCaptionRect();
    EXPECT_EQ(caption.left, 10);
    EXPECT_EQ(caption.Width(), text.cy);
    EXPECT_EQ(panel->GetPanelRect().left, caption.right);
    // Without the margin the body is the rest, less the label space; the caption runs the panel's height.
    EXPECT_EQ(panel->GetBodyRect(), panel->LabelSpace(panel->GetPanelRect()));
    EXPECT_EQ(caption.bottom, std::max(10 + text.cx, 200));

    // Without a caption the body has the whole rectangle.
    SRGraph plain;
    SRGTextPanel* bare = AddPanel(plain, CRect(10, 10, 300, 200));
    bare->SetHasCaption(FALSE);
    bare->SetMargin(FALSE);
    plain.DrawGraph(canvas.DC(), nullptr);
    EXPECT_EQ(bare->GetBodyRect(), bare->LabelSpace(CRect(10, 10, 300, 200)));
    EXPECT_TRUE(bare->GetCaptionRect().IsRectEmpty());
}

TEST(TextPanel, TheMarginGrowsThePanelToItsWrappedBody) {
    SRGraph chart;
    chart.SetOffscreen(FALSE);
    SRGTextPanel* panel = AddPanel(chart, CRect(10, 10, 110, 40));
    panel->SetHasCaption(FALSE);
    panel->SetBodyText(1, u"one two three four five six seven eight nine ten eleven twelve");
    panel->SetBodyColor(RGB(0, 0, 255));
    Canvas canvas(200, 300);
    chart.DrawGraph(canvas.DC(), nullptr);
    const CRect body = panel->GetBodyRect();
    EXPECT_GT(body.bottom, 40);
    EXPECT_EQ(panel->GetPanelRect().bottom, body.bottom + 5);
    EXPECT_GT(canvas.Count(RECT{10, 40, 110, body.bottom}, RGB(0, 0, 255)), 0); // the text below the old bottom
}

TEST(TextPanel, TemplateAndArchiveRoundTrip) {
    SRGraph chart;
    SRGTextPanel* panel = AddPanel(chart, CRect(1, 3, 30, 40));
    panel->SetBodyColor(RGB(1, 2, 3));
    panel->SetBodyFaceName(u"Courier");
    panel->SetBodyFontSize(12);
    panel->SetCaptionColor(RGB(4, 5, 6));
    panel->SetCaptionFontStyle(SRGF_BOLD);
    panel->SetCaptionAlignmentValue(2);
    panel->SetCaptionPosition(SRGC_BOTTOM);

    SRGStringTemplateWriter writer;
    chart.WriteTemplate(writer);
    const std::string text = writer.Bytes();
    EXPECT_EQ(text, "textpanel 1 3 30 40 0 0 1 0 255 255 255 1 2 3 \"Courier\" 12 0 0 4 5 6 \"Arial\" 10 1 2 \r\n");
    SRGraph read;
    charttest::RecordedBoxes boxes;
    read.LoadTemplateText(reinterpret_cast<const BYTE*>(text.data()), text.size());
    ASSERT_TRUE(boxes.texts.empty());
    auto* readPanel = dynamic_cast<SRGTextPanel*>(read.FindComponent(0, IDS_SRG_TYPE_TEXT_PANEL));
    ASSERT_NE(readPanel, nullptr);
    SRGStringTemplateWriter again;
    read.WriteTemplate(again);
    EXPECT_EQ(again.Bytes(), text);
    // A caption part cut short is a font error.
    const std::string cut = "textpanel 1 2 30 40 0 0 0 0 1 2 3 \"Arial\" 12 0 0 4 5\r\n";
    SRGraph bad;
    bad.LoadTemplateText(reinterpret_cast<const BYTE*>(cut.data()), cut.size());
    EXPECT_EQ(bad.GetComponentList().GetCount(), 0);
    ASSERT_EQ(boxes.texts.size(), 2u);

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.WriteObject(panel);
        ar.Close();
    }
    std::string bytes(static_cast<size_t>(file.GetLength()), '\0');
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    auto load = [](std::string data) {
        CMemFile in(reinterpret_cast<BYTE*>(data.data()), static_cast<UINT>(data.size()));
        CArchive ar(&in, CArchive::load);
        std::unique_ptr<SRGTextPanel> p(static_cast<SRGTextPanel*>(ar.ReadObject(RUNTIME_CLASS(SRGTextPanel))));
        return std::make_tuple(p->GetCaptionPosition(), p->GetBodyText(1), p->GetCaptionFontStyle(),
                               p->GetBodyFaceName());
    };
    EXPECT_EQ(load(bytes), std::make_tuple(int(SRGC_BOTTOM), CString(u"Receiver locked"), DWORD(SRGF_BOLD),
                                           CString(u"Courier")));
    // A version 1 archive (the value range's minimum) has no caption position: the panel keeps its own.
    const double zero = 0.0, two = 2.0, one = 1.0;
    const std::string version2 = std::string(reinterpret_cast<const char*>(&zero), 8) +
                                 std::string(reinterpret_cast<const char*>(&two), 8);
    const size_t at = bytes.find(version2);
    ASSERT_NE(at, std::string::npos);
    std::string old = bytes;
    old.replace(at + 8, 8, std::string(reinterpret_cast<const char*>(&one), 8));
    old.resize(old.size() - 4); // the position was stored last
    EXPECT_EQ(std::get<0>(load(old)), int(SRGC_TOP));
}
