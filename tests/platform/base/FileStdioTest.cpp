#include "platform/base/CStdioFile.h"
#include "platform/base/CodePage.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {
fs::path FreshFile(const char* name) {
    fs::path dir = testsupport::ScratchDir() / "stdio-test";
    fs::create_directories(dir);
    fs::remove(dir / name);
    return dir / name;
}

CString Name(const fs::path& path) {
    return CString(Utf8ToUtf16(path.string()));
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
} // namespace

TEST(StdioFile, TextModeWritesCrLfAndNarrowsEachUnit) {
    for (UINT type : {static_cast<UINT>(CFile::typeText), 0u}) {
        fs::path path = FreshFile("out.txt");
        {
            CStdioFile file(Name(path), CFile::modeCreate | CFile::modeWrite | type);
            file.WriteString(u"one\ntwo\u20AC\u00E9\u0141\n");
            file.Write("x\ny", 3);
        }
        EXPECT_EQ(ReadBytes(path), "one\r\ntwo\xAC\xE9\x41\r\nx\r\ny") << "type flags " << type;
    }
}

TEST(StdioFile, TextModeReadsLinesWithoutTheirEnds) {
    fs::path path = FreshFile("in.txt");
    WriteBytes(path, "a\r\nb\n\r\n\xE9last");
    CStdioFile file(Name(path), CFile::modeRead | CFile::typeText);
    CString line;
    const char16_t* expected[] = {u"a", u"b", u"", u"\u00E9last"};
    for (const char16_t* want : expected) {
        ASSERT_TRUE(file.ReadString(line));
        EXPECT_EQ(line, want);
    }
    EXPECT_FALSE(file.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());
}

TEST(StdioFile, ReadingIntoABufferKeepsTheNewline) {
    fs::path path = FreshFile("buf.txt");
    WriteBytes(path, "abc\r\ndefgh\n");
    CStdioFile file(Name(path), CFile::modeRead);
    TCHAR buffer[10];
    ASSERT_EQ(file.ReadString(buffer, 10), buffer);
    EXPECT_EQ(std::u16string(buffer), u"abc\n");
    ASSERT_EQ(file.ReadString(buffer, 4), buffer);
    EXPECT_EQ(std::u16string(buffer), u"def");
    ASSERT_EQ(file.ReadString(buffer, 10), buffer);
    EXPECT_EQ(std::u16string(buffer), u"gh\n");
    EXPECT_EQ(file.ReadString(buffer, 10), nullptr);
}

TEST(StdioFile, TextReadsJoinCrLfButKeepLoneCr) {
    fs::path path = FreshFile("raw.txt");
    WriteBytes(path, "a\r\nb\rc");
    CStdioFile file(Name(path), CFile::modeRead | CFile::typeText);
    char buf[16] = {};
    EXPECT_EQ(file.Read(buf, sizeof buf), 5u);
    EXPECT_EQ(std::string(buf, 5), "a\nb\rc");
    EXPECT_EQ(file.GetPosition(), 6u);
    EXPECT_EQ(file.GetLength(), 6u);
    EXPECT_EQ(file.Seek(-2, CFile::end), 4u);
    EXPECT_EQ(file.Read(buf, sizeof buf), 2u);
}

TEST(StdioFile, BinaryModeWritesUnitsUntranslated) {
    fs::path path = FreshFile("bin.dat");
    {
        CStdioFile file(Name(path), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        file.WriteString(u"A\n\u20AC");
        file.Write("x\n", 2);
    }
    EXPECT_EQ(ReadBytes(path), std::string("A\0\n\0\xAC\x20x\n", 8));
    CStdioFile file(Name(path), CFile::modeRead | CFile::typeBinary);
    CString line;
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, u"A");
    char raw[2];
    EXPECT_EQ(file.Read(raw, 2), 2u);
    EXPECT_EQ(std::string(raw, 2), "\xAC\x20");
}

TEST(StdioFile, OpenSeekAndLength) {
    fs::path path = FreshFile("seek.txt");
    CStdioFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(Name(path), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);

    ASSERT_TRUE(file.Open(Name(path), CFile::modeCreate | CFile::modeReadWrite));
    file.WriteString(u"line\n");
    EXPECT_EQ(file.GetLength(), 6u);
    EXPECT_EQ(file.GetPosition(), 6u);
    file.SetLength(2);
    EXPECT_EQ(file.GetLength(), 2u);
    file.SeekToBegin();
    CString line;
    EXPECT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, u"li");
    EXPECT_THROW(file.Duplicate(), CNotSupportedException*);
    file.Close();
    EXPECT_EQ(file.m_pStream, nullptr);
    EXPECT_EQ(ReadBytes(path), "li");
}
