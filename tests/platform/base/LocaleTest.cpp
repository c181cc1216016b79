#include "platform/base/Locale.h"
#include "platform/base/LastError.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class LocaleTest : public ::testing::Test {
protected:
    void TearDown() override { DolivaSetUserLocale(0); }
};

std::u16string Info(LCID locale, LCTYPE type) {
    WCHAR buffer[64] = {};
    const int length = GetLocaleInfoW(locale, type, buffer, 64);
    return length > 0 ? std::u16string(buffer, static_cast<size_t>(length - 1)) : std::u16string(u"<failed>");
}

} // namespace

TEST_F(LocaleTest, PinnedUserLocaleAnswersItsSeparatorsAndNames) {
    struct Case {
        LCID locale;
        LCTYPE type;
        const char16_t* expected;
    };
    const Case cases[] = {
        {kLocaleGerman, LOCALE_SDECIMAL, u","},    {kLocaleGerman, LOCALE_STHOUSAND, u"."},
        {kLocaleGerman, LOCALE_SDATE, u"."},       {kLocaleGerman, LOCALE_SMONTHNAME1 + 2, u"M\u00E4rz"},
        {kLocaleEnglishUS, LOCALE_SDECIMAL, u"."}, {kLocaleEnglishUS, LOCALE_SDAYNAME1 + 6, u"Sunday"},
        {kLocaleFrench, LOCALE_SDECIMAL, u","},    {kLocaleFrench, LOCALE_SABBREVMONTHNAME1, u"janv."},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(DolivaSetUserLocale(c.locale));
        EXPECT_EQ(GetUserDefaultLCID(), c.locale);
        EXPECT_EQ(Info(LOCALE_USER_DEFAULT, c.type), c.expected) << std::hex << c.locale << " " << c.type;
        EXPECT_EQ(Info(c.locale | LOCALE_NOUSEROVERRIDE, c.type), c.expected);
    }
    EXPECT_FALSE(DolivaSetUserLocale(0x0411)) << "a locale the table does not know is refused";
    EXPECT_EQ(GetUserDefaultLCID(), kLocaleFrench);
}

TEST_F(LocaleTest, BuffersAndUnknownItemsFailWithTheirErrors) {
    EXPECT_EQ(GetLocaleInfoW(kLocaleGerman, LOCALE_SMONTHNAME1, nullptr, 0), 7)
        << "Januar and its terminator";
    WCHAR small[3];
    SetLastError(0);
    EXPECT_EQ(GetLocaleInfoW(kLocaleGerman, LOCALE_SMONTHNAME1, small, 3), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(GetLocaleInfoW(kLocaleGerman, 0x7777, small, 3), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
    EXPECT_EQ(GetLocaleInfoW(0x0411, LOCALE_SDECIMAL, small, 3), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(GetLocaleInfoW(kLocaleGerman, LOCALE_SDECIMAL, nullptr, 3), 0);
    EXPECT_FALSE(IsValidLocale(0x0411, 0));
    EXPECT_TRUE(IsValidLocale(LOCALE_USER_DEFAULT, 0));
}
