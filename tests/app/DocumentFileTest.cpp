// The document file: where it lives, a round trip of the stored object, damaged and longer old files.
#include "app/CPex32Doc.h"
#include "chart/SRGraphData.h"
#include "chart/SRGraphDataList.h"
#include "dialogs/CSatelliteViewChartDialog.h"
#include "platform/base/CFile.h"
#include "platform/base/CodePage.h"
#include "platform/framework/CWinApp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

namespace fs = std::filesystem;

// A document that is never attached to a template: closing it only writes the file.
class TestDoc : public CPex32Doc {
public:
    TestDoc() { m_bAutoDelete = FALSE; }
};

fs::path DocumentFile() {
    return fs::path(Utf16ToUtf8(CPex32Doc::DocumentFilePath().str()));
}

class DocumentFileTest : public ::testing::Test {
protected:
    void SetUp() override { fs::remove(DocumentFile()); }
    CWinApp m_app{u"Doliva"};
};

TEST_F(DocumentFileTest, LivesInTheSettingsDirectoryWhenOneIsGiven) {
    EXPECT_EQ(DocumentFile(), fs::path(std::getenv("DOLIVA_CONFIG_DIR")) / "Doliva.pex");
}

double FineBin(CSatelliteViewChartDialog& dialog, int bin) {
    return dialog.GetChart().GetChart().GetGroup(CSatelliteViewChart::kFineRadii, TRUE)->GetItem(bin, TRUE)->GetValue();
}

TEST_F(DocumentFileTest, FirstStartReadsNothingAndClosingKeepsTheHorizonTraces) {
    TestDoc first;
    EXPECT_TRUE(first.OnOpenDocument(u""));
    EXPECT_EQ(first.m_chartDialog, nullptr);
    CSatelliteViewChartDialog dialog;
    dialog.GetChart().ResetHorizon(TRUE);
    dialog.GetChart().PlotSatellite(5, 40, 30, 44, 1, TRUE);
    first.m_chartDialog = &dialog;
    first.OnCloseDocument();
    first.m_chartDialog = nullptr;
    ASSERT_TRUE(fs::exists(DocumentFile()));

    TestDoc second;
    EXPECT_TRUE(second.OnOpenDocument(u"ignored"));
    std::unique_ptr<CSatelliteViewChartDialog> read(second.m_chartDialog);
    ASSERT_NE(read, nullptr);
    EXPECT_NEAR(FineBin(*read, 20), 60.0 / 90.0, 1e-12);
    EXPECT_FALSE(second.IsModified());
}

// The program wrote a null object before it had the sky plot: such a file reads as no dialog yet.
TEST_F(DocumentFileTest, FileOfAnEarlierVersionReadsAsNoSkyPlotYet) {
    {
        TestDoc doc;
        doc.OnCloseDocument();
    }
    EXPECT_EQ(fs::file_size(DocumentFile()), 2u);
    TestDoc doc;
    EXPECT_TRUE(doc.OnOpenDocument(u""));
    EXPECT_EQ(doc.m_chartDialog, nullptr);
}

TEST_F(DocumentFileTest, DamagedFilesReadNothingAndRaiseNothing) {
    const std::string contents[] = {std::string("\xff\xff\x00\x00garbage", 11), std::string("\x01", 1),
                                    std::string(4096, '\x7f')};
    for (const std::string& bytes : contents) {
        std::ofstream(DocumentFile(), std::ios::binary) << bytes;
        TestDoc doc;
        EXPECT_TRUE(doc.OnOpenDocument(u""));
        EXPECT_EQ(doc.m_chartDialog, nullptr);
    }
}

// The file is rewritten in place: an older, longer file keeps its length and still reads.
TEST_F(DocumentFileTest, ShorterContentOverAnOlderLongerFileStillReads) {
    std::ofstream(DocumentFile(), std::ios::binary) << std::string(200000, '\x55');
    {
        TestDoc doc;
        CSatelliteViewChartDialog dialog;
        dialog.GetChart().ResetHorizon(TRUE);
        dialog.GetChart().PlotSatellite(9, 100, 20, 30, 0, TRUE);
        doc.m_chartDialog = &dialog;
        doc.OnCloseDocument();
        doc.m_chartDialog = nullptr;
    }
    EXPECT_EQ(fs::file_size(DocumentFile()), 200000u);
    TestDoc doc;
    doc.OnOpenDocument(u"");
    std::unique_ptr<CSatelliteViewChartDialog> read(doc.m_chartDialog);
    ASSERT_NE(read, nullptr);
    EXPECT_NEAR(FineBin(*read, 50), 70.0 / 90.0, 1e-12);
}

} // namespace
