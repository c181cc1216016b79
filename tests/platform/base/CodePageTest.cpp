#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"

#include <gtest/gtest.h>

TEST(CodePage, Windows1252RoundTripsItsDefinedBytes) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    std::u16string wide = Cp1252ToUtf16(all);
    EXPECT_EQ(wide[0x80 - 1], u'\u20AC');
    EXPECT_EQ(wide[0xB0 - 1], u'\u00B0');
    bool usedDefault = true;
    EXPECT_EQ(Utf16ToCp1252(wide, '?', &usedDefault), all);
    EXPECT_FALSE(usedDefault);
    EXPECT_EQ(Utf16ToCp1252(u"\u4E2D", '?', &usedDefault), "?");
    EXPECT_TRUE(usedDefault);
}

TEST(CodePage, Utf8RejectsMalformedSequences) {
    bool valid = true;
    EXPECT_EQ(Utf8ToUtf16("a\xC3\xA9\xF0\x9F\x98\x80", &valid), u"a\u00E9\U0001F600");
    EXPECT_TRUE(valid);
    for (const char* bad : {"\xC0\x80", "\xED\xA0\x80", "\xE2\x82", "\xFF", "\xF4\x90\x80\x80"}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    }
    EXPECT_EQ(Utf16ToUtf8(u"\U0001F600\u00B0"), "\xF0\x9F\x98\x80\xC2\xB0");
}

TEST(CodePage, Win32CallsCountTheTerminatorAndReportShortBuffers) {
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 0), 4);
    WCHAR small[2];
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, small, 2), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    char out[8];
    BOOL used = TRUE;
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u00B0C", 2, out, 8, nullptr, &used), 2);
    EXPECT_EQ(std::string(out, 2), "\xB0"
                                   "C");
    EXPECT_FALSE(used);
}

TEST(LastError, IsPerThreadAndHasTexts) {
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(SystemErrorText(ERROR_PRIVILEGE_NOT_HELD), u"A required privilege is not held by the client.");
    WCHAR* text = nullptr;
    ASSERT_GT(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, 2, 0,
                             reinterpret_cast<LPWSTR>(&text), 0, nullptr),
              0u);
    EXPECT_EQ(std::u16string(text), u"The system cannot find the file specified.\r\n");
    LocalFree(text);
}
