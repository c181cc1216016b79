#include "platform/registry/Registry.h"

#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

using namespace regtest;
using doliva::registry::DropCachedHives;

namespace {

struct StoredValue {
    std::u16string name;
    DWORD type;
    std::vector<BYTE> data;
};

std::vector<StoredValue> AllValues(HKEY key) {
    std::vector<StoredValue> out;
    for (DWORD i = 0;; ++i) {
        WCHAR name[256];
        DWORD n = 256;
        DWORD type = 0;
        DWORD size = 0;
        LONG rc = RegEnumValueW(key, i, name, &n, nullptr, &type, nullptr, &size);
        if (rc == ERROR_NO_MORE_ITEMS) {
            break;
        }
        EXPECT_EQ(rc, ERROR_SUCCESS);
        std::vector<BYTE> data(size);
        n = 256;
        EXPECT_EQ(RegEnumValueW(key, i, name, &n, nullptr, &type, data.data(), &size), ERROR_SUCCESS);
        out.push_back({std::u16string(name, n), type, data});
    }
    return out;
}

} // namespace

TEST_F(RegistryTest, EveryValueTypeSurvivesTheFile) {
    std::vector<BYTE> blob(300);
    for (size_t i = 0; i < blob.size(); ++i) {
        blob[i] = static_cast<BYTE>(255 - i);
    }
    const std::vector<StoredValue> values = {
        {u"Text", REG_SZ, SzBytes(u"C:\\Program Files\\\"Doliva\" \u00B0C \u2713 \U0001F600")},
        {u"", REG_SZ, SzBytes(u"default")},
        {u"Empty", REG_SZ, SzBytes(u"")},
        {u"NoTerminator", REG_SZ, SzBytes(u"abc", false)},
        {u"TwoLines", REG_SZ, SzBytes(u"a\r\nb")},
        {u"Expand", REG_EXPAND_SZ, SzBytes(u"%TEMP%\\x\u00E9")},
        {u"Multi", REG_MULTI_SZ, SzBytes(std::u16string(u"one\0two\0", 8))},
        {u"Dword", REG_DWORD, {0x0a, 0, 0, 0}},
        {u"ShortDword", REG_DWORD, {1, 2}},
        {u"Qword", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 0x80}},
        {u"Binary", REG_BINARY, blob},
        {u"EmptyBinary", REG_BINARY, {}},
        {u"None", REG_NONE, {1, 2}},
        {u"Custom type", 0x12345, {9}},
        {u"Quote \" and \\ in a name", REG_SZ, SzBytes(u"x")},
    };
    {
        Key key;
        ASSERT_EQ(Create(u"Software\\Halvorn\\Doliva\\Types", key.Out()), ERROR_SUCCESS);
        for (const auto& v : values) {
            ASSERT_EQ(RegSetValueExW(key, v.name.c_str(), 0, v.type, v.data.data(),
                                     static_cast<DWORD>(v.data.size())),
                      ERROR_SUCCESS);
        }
    }
    std::string text = ReadBytes(m_userHive);
    EXPECT_EQ(text.rfind("REGEDIT4\n", 0), 0u);
    for (const char* line : {"[HKEY_CURRENT_USER\\Software\\Halvorn\\Doliva\\Types]\n",
                             "\"Text\"=\"C:\\\\Program Files\\\\\\\"Doliva\\\" \xC2\xB0"
                             "C \xE2\x9C\x93 \xF0\x9F\x98\x80\"\n",
                             "@=\"default\"\n", "\"Dword\"=dword:0000000a\n",
                             "\"Expand\"=hex(2):25,54,45,4d,50,25,5c,78,c3,a9,00\n",
                             "\"Qword\"=hex(b):01,02,03,04,05,06,07,80\n", "\"None\"=hex(0):01,02\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
    }

    auto check = [&] {
        DropCachedHives();
        Key key;
        ASSERT_EQ(
            RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Halvorn\\Doliva\\Types", 0, KEY_READ, key.Out()),
            ERROR_SUCCESS);
        std::vector<StoredValue> read = AllValues(key);
        ASSERT_EQ(read.size(), values.size());
        for (size_t i = 0; i < values.size(); ++i) {
            EXPECT_EQ(read[i].name, values[i].name);
            EXPECT_EQ(read[i].type, values[i].type) << i;
            EXPECT_EQ(read[i].data, values[i].data) << i;
        }
    };
    check();

    // Data the narrow form cannot carry switches the file to the 5.00 form, still exact.
    {
        Key key;
        ASSERT_EQ(Create(u"Software\\Halvorn\\Doliva\\Types", key.Out()), ERROR_SUCCESS);
        std::vector<BYTE> lone = SzBytes(u"\xD800");
        ASSERT_EQ(RegSetValueExW(key, u"Lone", 0, REG_EXPAND_SZ, lone.data(), 4), ERROR_SUCCESS);
        const BYTE odd[] = {0x41, 0, 0x42};
        ASSERT_EQ(RegSetValueExW(key, u"OddSize", 0, REG_SZ, odd, 3), ERROR_SUCCESS);
        EXPECT_EQ(ReadBytes(m_userHive).rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
        DropCachedHives();
        Key reread;
        ASSERT_EQ(Create(u"Software\\Halvorn\\Doliva\\Types", reread.Out()), ERROR_SUCCESS);
        std::vector<BYTE> back(8);
        DWORD type = 0, size = 8;
        ASSERT_EQ(RegQueryValueExW(reread, u"Lone", nullptr, &type, back.data(), &size), ERROR_SUCCESS);
        back.resize(size);
        EXPECT_EQ(back, lone);
        EXPECT_EQ(type, REG_EXPAND_SZ);
        BYTE oddBack[8];
        size = sizeof oddBack;
        ASSERT_EQ(RegQueryValueExW(reread, u"OddSize", nullptr, &type, oddBack, &size), ERROR_SUCCESS);
        EXPECT_EQ(std::vector<BYTE>(oddBack, oddBack + size), std::vector<BYTE>(odd, odd + 3));
        ASSERT_EQ(RegDeleteValueW(reread, u"Lone"), ERROR_SUCCESS);
        ASSERT_EQ(RegDeleteValueW(reread, u"OddSize"), ERROR_SUCCESS);
    }
    // Back to the same content, back to the same file.
    EXPECT_EQ(ReadBytes(m_userHive), text);
}

TEST_F(RegistryTest, ValuesKeepCreationOrderAndSubkeysSortWithoutCase) {
    Key key;
    ASSERT_EQ(Create(u"Software\\Order", key.Out()), ERROR_SUCCESS);
    for (auto name : {u"zeta", u"Alpha", u"mid", u"beta"}) {
        ASSERT_EQ(SetDword(key, name, 1), ERROR_SUCCESS);
    }
    ASSERT_EQ(SetDword(key, u"ALPHA", 2), ERROR_SUCCESS); // a rewrite keeps its place and its name
    ASSERT_EQ(RegDeleteValueW(key, u"mid"), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, u"mid", 3), ERROR_SUCCESS); // a new value goes last
    for (auto name : {u"b", u"C", u"a", u"_x", u"\u00E9t\u00E9", u"D"}) {
        Key sub;
        ASSERT_EQ(RegCreateKeyW(key, name, sub.Out()), ERROR_SUCCESS);
    }
    const std::vector<std::u16string> values = {u"zeta", u"Alpha", u"beta", u"mid"};
    // Compared upper-cased, as the original does: "_" sorts after the letters.
    const std::vector<std::u16string> subkeys = {u"a", u"b", u"C", u"D", u"_x", u"\u00E9t\u00E9"};
    EXPECT_EQ(ValueNames(key), values);
    EXPECT_EQ(SubkeyNames(key), subkeys);
    DWORD v = 0, size = sizeof v;
    EXPECT_EQ(RegQueryValueExW(key, u"alpha", nullptr, nullptr, reinterpret_cast<LPBYTE>(&v), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(v, 2u);

    DropCachedHives();
    Key again;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\order", 0, KEY_READ, again.Out()), ERROR_SUCCESS);
    EXPECT_EQ(ValueNames(again), values);
    EXPECT_EQ(SubkeyNames(again), subkeys);
    Key sub;
    EXPECT_EQ(RegOpenKeyExW(again, u"\u00C9T\u00C9", 0, KEY_READ, sub.Out()), ERROR_SUCCESS);
}

TEST_F(RegistryTest, QueryValueFollowsTheSizeProtocol) {
    Key key;
    ASSERT_EQ(Create(u"Software\\Size", key.Out()), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key, u"s", u"hello"), ERROR_SUCCESS);

    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"s", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 12u);

    WCHAR buf[8] = {u'#', u'#', u'#', u'#', u'#', u'#', u'#', u'#'};
    size = 4;
    type = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"s", nullptr, &type, reinterpret_cast<LPBYTE>(buf), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 12u);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(buf[0], u'#'); // nothing partial is written

    size = sizeof buf;
    EXPECT_EQ(RegQueryValueExW(key, u"s", nullptr, nullptr, reinterpret_cast<LPBYTE>(buf), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 12u);
    EXPECT_EQ(std::u16string(buf), u"hello");

    EXPECT_EQ(RegQueryValueExW(key, u"missing", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(key, u"s", nullptr, nullptr, reinterpret_cast<LPBYTE>(buf), nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExW(key, nullptr, nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);

    // Enumeration: names that do not fit and data that does not fit.
    WCHAR name[1];
    DWORD n = 1;
    EXPECT_EQ(RegEnumValueW(key, 0, name, &n, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    WCHAR name8[8];
    n = 8;
    size = 2;
    EXPECT_EQ(RegEnumValueW(key, 0, name8, &n, nullptr, &type, reinterpret_cast<LPBYTE>(buf), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 12u);
    n = 8;
    EXPECT_EQ(RegEnumValueW(key, 1, name8, &n, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);

    Key sub;
    ASSERT_EQ(RegCreateKeyW(key, u"LongerSubkeyName", sub.Out()), ERROR_SUCCESS);
    WCHAR small[4];
    EXPECT_EQ(RegEnumKeyW(key, 0, small, 4), ERROR_MORE_DATA);
    EXPECT_EQ(RegEnumKeyW(key, 1, small, 4), ERROR_NO_MORE_ITEMS);

    DWORD subkeys = 0, maxSub = 0, count = 0, maxName = 0, maxData = 0;
    EXPECT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &maxSub, nullptr, &count, &maxName,
                               &maxData, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subkeys, 1u);
    EXPECT_EQ(maxSub, 16u);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(maxName, 1u);
    EXPECT_EQ(maxData, 12u);

    EXPECT_EQ(RegSetValueExW(key, u"x", 0, REG_BINARY, nullptr, 4), ERROR_NOACCESS);
    EXPECT_EQ(RegSetValueExW(key, u"x", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
}

TEST_F(RegistryTest, DeletesValuesKeysAndTrees) {
    Key root;
    ASSERT_EQ(Create(u"Software\\Del", root.Out()), ERROR_SUCCESS);
    {
        Key deep;
        ASSERT_EQ(RegCreateKeyW(root, u"a\\b\\c", deep.Out()), ERROR_SUCCESS);
        ASSERT_EQ(SetDword(deep, u"v", 1), ERROR_SUCCESS);
        ASSERT_EQ(SetDword(root, u"v", 1), ERROR_SUCCESS);
    }
    EXPECT_EQ(RegDeleteValueW(root, u"V"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(root, u"v"), ERROR_FILE_NOT_FOUND);

    EXPECT_EQ(RegDeleteKeyW(root, u"a"), ERROR_ACCESS_DENIED); // has subkeys
    EXPECT_EQ(RegDeleteKeyW(root, u"a\\b\\c"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyW(root, u"a\\b\\c"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyW(root, u"A\\B"), ERROR_SUCCESS);
    EXPECT_EQ(SubkeyNames(root), std::vector<std::u16string>{u"a"});

    Key deep;
    ASSERT_EQ(RegCreateKeyW(root, u"a\\x\\y\\z", deep.Out()), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTreeW(root, u"missing"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteTreeW(root, u"a"), ERROR_SUCCESS);
    EXPECT_TRUE(SubkeyNames(root).empty());
    // Handles to keys below a deleted key see it gone, even once a key of that name exists again.
    EXPECT_EQ(SetDword(deep, u"v", 1), ERROR_KEY_DELETED);
    Key recreated;
    ASSERT_EQ(RegCreateKeyW(root, u"a\\x\\y\\z", recreated.Out()), ERROR_SUCCESS);
    EXPECT_EQ(SetDword(deep, u"v", 1), ERROR_KEY_DELETED);
    EXPECT_EQ(SubkeyNames(deep).size(), 0u);
    EXPECT_EQ(RegQueryInfoKeyW(deep, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_KEY_DELETED);

    // A null subkey clears the key itself.
    ASSERT_EQ(SetDword(root, u"w", 1), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTreeW(root, nullptr), ERROR_SUCCESS);
    EXPECT_TRUE(ValueNames(root).empty());
    EXPECT_TRUE(SubkeyNames(root).empty());

    DropCachedHives();
    Key again;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Del", 0, KEY_READ, again.Out()), ERROR_SUCCESS);
    EXPECT_TRUE(SubkeyNames(again).empty());
    EXPECT_TRUE(ValueNames(again).empty());
}

TEST_F(RegistryTest, CreateOpenAndHandleRules) {
    Key key;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Rules\\", 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_READ | KEY_WRITE, nullptr, key.Out(), &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    Key same;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"software\\RULES", 0, nullptr, 0, KEY_READ, nullptr,
                              same.Out(), &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);

    // A read-only handle refuses every change.
    EXPECT_EQ(SetDword(same, u"v", 1), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueW(same, u"v"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteTreeW(same, nullptr), ERROR_ACCESS_DENIED);
    Key child;
    EXPECT_EQ(RegCreateKeyExW(same, u"child", 0, nullptr, 0, KEY_READ, nullptr, child.Out(), nullptr),
              ERROR_ACCESS_DENIED);
    // A write-only one refuses reads.
    Key writeOnly;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Rules", 0, KEY_SET_VALUE, writeOnly.Out()),
              ERROR_SUCCESS);
    EXPECT_EQ(SetDword(writeOnly, u"v", 1), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(writeOnly, u"v", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);

    Key missing;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Nope", 0, KEY_READ, missing.Out()),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(static_cast<HKEY>(missing), nullptr);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\\\Rules", 0, KEY_READ, missing.Out()),
              ERROR_INVALID_PARAMETER);
    std::u16string longName(256, u'x');
    EXPECT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, longName.c_str(), missing.Out()), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, u"line\nbreak", missing.Out()), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueExW(key, u"line\nbreak", 0, REG_NONE, nullptr, 0), ERROR_INVALID_PARAMETER);

    // An empty or null subkey opens the key itself through a new handle.
    Key self;
    ASSERT_EQ(RegOpenKeyW(key, nullptr, self.Out()), ERROR_SUCCESS);
    EXPECT_NE(static_cast<HKEY>(self), static_cast<HKEY>(key));
    size = 0;
    EXPECT_EQ(RegQueryValueExW(self, u"v", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);

    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyW(HKEY_CURRENT_USER, u"Software", &raw), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(raw), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(raw), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetDword(raw, u"v", 1), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegFlushKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, u".txt", 0, KEY_READ, missing.Out()), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegCreateKeyW(HKEY_USERS, u"x", missing.Out()), ERROR_ACCESS_DENIED);
}

TEST_F(RegistryTest, MachineHiveIsSeparateFromTheUserHive) {
    Key port;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, port.Out(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(SetString(port, u"/dev/ttyUSB0", u"COM5"), ERROR_SUCCESS);
    std::string machine = ReadBytes(m_dir + "/system.reg");
    EXPECT_NE(
        machine.find("[HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM]\n\"/dev/ttyUSB0\"=\"COM5\"\n"),
        std::string::npos)
        << machine;
    Key none;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"HARDWARE", 0, KEY_READ, none.Out()), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, HivePathsFollowTheEnvironment) {
    const std::string scratch = m_dir;
    EXPECT_EQ(doliva::registry::UserHivePath(), scratch + "/user.reg");
    EXPECT_EQ(doliva::registry::MachineHivePath(), scratch + "/system.reg");

    unsetenv("DOLIVA_CONFIG_DIR");
    setenv("XDG_CONFIG_HOME", (scratch + "/xdg").c_str(), 1);
    DropCachedHives();
    EXPECT_EQ(doliva::registry::UserHivePath(), scratch + "/xdg/doliva/user.reg");
    EXPECT_EQ(doliva::registry::MachineHivePath(), "/etc/doliva/system.reg");
    {
        Key key;
        ASSERT_EQ(Create(u"Software\\Xdg", key.Out()), ERROR_SUCCESS);
    }
    EXPECT_NE(ReadBytes(scratch + "/xdg/doliva/user.reg").find("[HKEY_CURRENT_USER\\Software\\Xdg]"),
              std::string::npos);

    unsetenv("XDG_CONFIG_HOME");
    const char* oldHome = std::getenv("HOME");
    std::string savedHome = oldHome ? oldHome : "";
    setenv("HOME", (scratch + "/home").c_str(), 1);
    EXPECT_EQ(doliva::registry::UserHivePath(), scratch + "/home/.config/doliva/user.reg");
    setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    EXPECT_EQ(doliva::registry::UserHivePath(), scratch + "/home/.config/doliva/user.reg");

    if (oldHome) {
        setenv("HOME", savedHome.c_str(), 1);
    }
    setenv("DOLIVA_CONFIG_DIR", scratch.c_str(), 1);
    setenv("XDG_CONFIG_HOME", scratch.c_str(), 1);
    DropCachedHives();
}

TEST_F(RegistryTest, ThreadsWritingTogetherLoseNothing) {
    {
        Key key;
        ASSERT_EQ(Create(u"Software\\Threads", key.Out()), ERROR_SUCCESS);
    }
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            Key key;
            ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Threads", 0, KEY_ALL_ACCESS, key.Out()),
                      ERROR_SUCCESS);
            for (int i = 0; i < 15; ++i) {
                std::u16string name = u"t" + std::u16string(1, static_cast<char16_t>(u'0' + t)) + u"-" +
                                      std::u16string(1, static_cast<char16_t>(u'a' + i));
                ASSERT_EQ(SetDword(key, name.c_str(), static_cast<DWORD>(i)), ERROR_SUCCESS);
            }
        });
    }
    for (auto& th : threads) {
        th.join();
    }
    DropCachedHives();
    Key key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Threads", 0, KEY_READ, key.Out()), ERROR_SUCCESS);
    EXPECT_EQ(ValueNames(key).size(), 60u);
}
