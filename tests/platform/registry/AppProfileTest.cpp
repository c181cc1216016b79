#include "platform/registry/AppProfile.h"

#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

using namespace regtest;

TEST_F(RegistryTest, ProfileReadsDefaultsUntilSomethingIsWritten) {
    CAppProfile profile(u"Halvorn", u"Doliva");
    EXPECT_EQ(profile.GetProfileInt(u"GPS Interface", u"Baud", 9600), 9600u);
    EXPECT_EQ(profile.GetProfileInt(u"GPS Interface", u"Offset", -5), static_cast<UINT>(-5));
    EXPECT_EQ(profile.GetProfileString(u"GPS Interface", u"Port", u"COM1"), u"COM1");
    EXPECT_EQ(profile.GetProfileString(u"GPS Interface", u"Port"), u"");
    BYTE* data = reinterpret_cast<BYTE*>(1);
    UINT bytes = 7;
    EXPECT_FALSE(profile.GetProfileBinary(u"GPS Interface", u"Mask", &data, &bytes));
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(bytes, 0u);
    // Reading creates nothing.
    EXPECT_TRUE(DirEntries(m_dir).empty());

    ASSERT_TRUE(profile.WriteProfileInt(u"GPS Interface", u"Baud", 4800));
    ASSERT_TRUE(profile.WriteProfileInt(u"GPS Interface", u"Offset", -2));
    ASSERT_TRUE(profile.WriteProfileString(u"GPS Interface", u"Port", u"COM3"));
    const BYTE mask[] = {1, 2, 3};
    ASSERT_TRUE(profile.WriteProfileBinary(u"GPS Interface", u"Mask", mask, 3));
    ASSERT_TRUE(profile.WriteProfileBinary(u"GPS Interface", u"Nothing", nullptr, 0));

    doliva::registry::DropCachedHives();
    EXPECT_EQ(profile.GetProfileInt(u"gps interface", u"BAUD", 9600), 4800u);
    EXPECT_EQ(static_cast<int>(profile.GetProfileInt(u"GPS Interface", u"Offset", 0)), -2);
    EXPECT_EQ(profile.GetProfileString(u"GPS Interface", u"Port", u"COM1"), u"COM3");
    ASSERT_TRUE(profile.GetProfileBinary(u"GPS Interface", u"Mask", &data, &bytes));
    EXPECT_EQ(std::vector<BYTE>(data, data + bytes), std::vector<BYTE>(mask, mask + 3));
    delete[] data;
    ASSERT_TRUE(profile.GetProfileBinary(u"GPS Interface", u"Nothing", &data, &bytes));
    EXPECT_EQ(bytes, 0u);
    delete[] data;

    // A value of another type answers the default.
    EXPECT_EQ(profile.GetProfileInt(u"GPS Interface", u"Port", 17), 17u);
    EXPECT_EQ(profile.GetProfileString(u"GPS Interface", u"Baud", u"dflt"), u"dflt");
    EXPECT_FALSE(profile.GetProfileBinary(u"GPS Interface", u"Port", &data, &bytes));

    std::string text = ReadBytes(m_userHive);
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Halvorn\\Doliva\\GPS Interface]\n"
                        "\"Baud\"=dword:000012c0\n"
                        "\"Offset\"=dword:fffffffe\n"
                        "\"Port\"=\"COM3\"\n"
                        "\"Mask\"=hex:01,02,03\n"
                        "\"Nothing\"=hex:\n"),
              std::string::npos)
        << text;
}

TEST_F(RegistryTest, ProfileNullEntryDeletesTheSectionAndNullValueTheEntry) {
    CAppProfile profile(u"Halvorn", u"Doliva");
    ASSERT_TRUE(profile.WriteProfileString(u"Section", u"a", u"1"));
    ASSERT_TRUE(profile.WriteProfileString(u"Section", u"b", u"2"));
    {
        HKEY section = profile.GetSectionKey(u"Section");
        ASSERT_NE(section, nullptr);
        HKEY nested = nullptr;
        ASSERT_EQ(RegCreateKeyW(section, u"Nested\\Deeper", &nested), ERROR_SUCCESS);
        RegCloseKey(nested);
        RegCloseKey(section);
    }
    ASSERT_TRUE(profile.WriteProfileString(u"Other", u"keep", u"yes"));

    EXPECT_TRUE(profile.WriteProfileString(u"Section", u"a", nullptr));
    EXPECT_EQ(profile.GetProfileString(u"Section", u"a", u"gone"), u"gone");
    EXPECT_EQ(profile.GetProfileString(u"Section", u"b"), u"2");
    EXPECT_FALSE(profile.WriteProfileString(u"Section", u"a", nullptr)); // nothing left to delete
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    EXPECT_TRUE(profile.WriteProfileString(u"Section", nullptr, nullptr));
    EXPECT_EQ(profile.GetProfileString(u"Section", u"b", u"gone"), u"gone");
    HKEY app = profile.GetAppRegistryKey();
    ASSERT_NE(app, nullptr);
    HKEY probe = nullptr;
    EXPECT_EQ(RegOpenKeyExW(app, u"Section", 0, KEY_READ, &probe), ERROR_FILE_NOT_FOUND);
    RegCloseKey(app);
    EXPECT_EQ(profile.GetProfileString(u"Other", u"keep"), u"yes");
}

TEST_F(RegistryTest, ProfileWithoutARegistryKeyLivesUnderTheApplicationName) {
    CAppProfile profile(u"", u"Doliva");
    ASSERT_TRUE(profile.WriteProfileInt(u"Settings", u"x", 1));
    EXPECT_NE(
        ReadBytes(m_userHive).find("[HKEY_CURRENT_USER\\Software\\Doliva\\Settings]\n\"x\"=dword:00000001\n"),
        std::string::npos);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Doliva\\Settings", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    RegCloseKey(key);
}
