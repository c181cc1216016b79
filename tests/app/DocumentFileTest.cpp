// The document file: where it lives, a round trip of the stored object, damaged and longer old files.
#include "app/CPex32Doc.h"
#include "platform/base/CFile.h"
#include "platform/base/CodePage.h"
#include "platform/framework/CWinApp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

// Stands in for the sky-plot dialog: a serialisable object with a little state.
class StoredChart : public CObject {
    DECLARE_SERIAL(StoredChart)

public:
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_name << m_points;
        } else {
            ar >> m_name >> m_points;
        }
    }
    CString m_name;
    int m_points = 0;
};

IMPLEMENT_SERIAL(StoredChart, CObject, 1)

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

TEST_F(DocumentFileTest, FirstStartReadsNothingAndClosingCreatesTheFile) {
    TestDoc first;
    EXPECT_TRUE(first.OnOpenDocument(u""));
    EXPECT_EQ(first.m_chartDialog, nullptr);
    auto* chart = new StoredChart;
    chart->m_name = u"Horizon";
    chart->m_points = 42;
    first.m_chartDialog = chart;
    first.OnCloseDocument();
    delete chart;
    ASSERT_TRUE(fs::exists(DocumentFile()));

    TestDoc second;
    EXPECT_TRUE(second.OnOpenDocument(u"ignored"));
    auto* read = dynamic_cast<StoredChart*>(second.m_chartDialog);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->m_name, CString(u"Horizon"));
    EXPECT_EQ(read->m_points, 42);
    EXPECT_FALSE(second.IsModified());
    delete read;
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
    {
        TestDoc doc;
        StoredChart chart;
        chart.m_name = u"A much longer horizon description than the next one";
        doc.m_chartDialog = &chart;
        doc.OnCloseDocument();
    }
    auto longSize = fs::file_size(DocumentFile());
    {
        TestDoc doc;
        StoredChart chart;
        chart.m_name = u"Short";
        chart.m_points = 3;
        doc.m_chartDialog = &chart;
        doc.OnCloseDocument();
    }
    EXPECT_EQ(fs::file_size(DocumentFile()), longSize);
    TestDoc doc;
    doc.OnOpenDocument(u"");
    auto* read = dynamic_cast<StoredChart*>(doc.m_chartDialog);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->m_name, CString(u"Short"));
    EXPECT_EQ(read->m_points, 3);
    delete read;
}

} // namespace
