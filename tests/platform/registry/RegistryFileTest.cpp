// The hive files on disk: damaged files, other processes writing at the same time and a hive directory that
// cannot be written. (A writer killed mid-way is in the slow tests.)
#include "platform/registry/Hive.h"
#include "platform/registry/HiveText.h"
#include "platform/registry/Registry.h"

#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <regex>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace regtest;
using doliva::registry::DropCachedHives;

namespace {

// Runs body in a child process and answers its exit status: 0, or the line of the first failed check.
template <typename Body>
int InChild(Body body) {
    fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

#define CHILD_CHECK(cond)                                                                                    \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            return __LINE__ % 250 + 1;                                                                       \
        }                                                                                                    \
    } while (0)

std::vector<std::string> DamagedFiles(const std::string& dir) {
    std::vector<std::string> out;
    for (const std::string& n : DirEntries(dir)) {
        if (n.rfind("user.reg.damaged-", 0) == 0) {
            out.push_back(n);
        }
    }
    return out;
}

} // namespace

TEST_F(RegistryTest, ADamagedFileIsReportedMovedAsideAndTheHiveStartsEmpty) {
    struct Case {
        std::string text;
        int line;
    };
    const std::string head = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Halvorn\\Doliva\\GPS Interface]\n"
                             "\"Port\"=\"COM1\"\n";
    const std::vector<Case> cases = {
        {head + "\"Mask\"=hex:01,0x\n", 5},
        {head + "\"Name\"=\"unterminated\n", 5},
        {head + "[HKEY_CURRENT_USER\\Software\n", 5},
        {"Port=COM1\n", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        for (const std::string& n : DirEntries(m_dir)) {
            unlink((m_dir + "/" + n).c_str());
        }
        WriteBytes(m_userHive, c.text);
        DropCachedHives();

        testing::internal::CaptureStderr();
        Key key;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software", 0, KEY_READ, key.Out()),
                  ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software", 0, KEY_READ, key.Out()),
                  ERROR_FILE_NOT_FOUND);
        std::string report = testing::internal::GetCapturedStderr();
        EXPECT_NE(report.find(m_userHive), std::string::npos) << report;
        EXPECT_NE(report.find("line " + std::to_string(c.line)), std::string::npos) << report;
        EXPECT_EQ(report.find(m_userHive), report.rfind(m_userHive + " ")) << "reported once: " << report;

        std::vector<std::string> damaged = DamagedFiles(m_dir);
        ASSERT_EQ(damaged.size(), 1u);
        EXPECT_TRUE(std::regex_match(damaged[0], std::regex(R"(user\.reg\.damaged-\d{8}T\d{6}Z)")))
            << damaged[0];
        EXPECT_EQ(ReadBytes(m_dir + "/" + damaged[0]), c.text);
        EXPECT_NE(report.find(damaged[0]), std::string::npos) << report;

        // The hive works again and leaves the moved file alone.
        ASSERT_EQ(Create(u"Software\\Halvorn\\Doliva\\GPS Interface", key.Out()), ERROR_SUCCESS);
        ASSERT_EQ(SetString(key, u"Port", u"COM2"), ERROR_SUCCESS);
        EXPECT_EQ(ReadBytes(m_dir + "/" + damaged[0]), c.text);
        EXPECT_NE(ReadBytes(m_userHive).find("\"Port\"=\"COM2\""), std::string::npos);
    }
}

TEST_F(RegistryTest, DamageFoundWhenWritingIsMovedAsideToo) {
    Key key;
    ASSERT_EQ(Create(u"Software\\Edit", key.Out()), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, u"Before", 1), ERROR_SUCCESS);
    // Someone edits the file by hand while the program runs, and makes a slip.
    const std::string edited = ReadBytes(m_userHive) + "\"Typo\"=dword:xyz\n";
    WriteBytes(m_userHive, edited);

    testing::internal::CaptureStderr();
    EXPECT_EQ(SetDword(key, u"After", 2), ERROR_KEY_DELETED); // the hive started again, empty
    std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("line"), std::string::npos) << report;
    std::vector<std::string> damaged = DamagedFiles(m_dir);
    ASSERT_EQ(damaged.size(), 1u);
    EXPECT_EQ(ReadBytes(m_dir + "/" + damaged[0]), edited);

    ASSERT_EQ(Create(u"Software\\Edit", key.Out()), ERROR_SUCCESS);
    EXPECT_EQ(SetDword(key, u"After", 2), ERROR_SUCCESS);
    EXPECT_EQ(ValueNames(key), std::vector<std::u16string>{u"After"});
}

TEST_F(RegistryTest, TwoProcessesWritingTogetherBothSurvive) {
    {
        Key key;
        ASSERT_EQ(Create(u"Software\\Race", key.Out()), ERROR_SUCCESS);
    }
    auto writer = [](char16_t prefix) {
        return [prefix] {
            Key key;
            CHILD_CHECK(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Race", 0, KEY_ALL_ACCESS, key.Out()) ==
                        ERROR_SUCCESS);
            for (int i = 0; i < 30; ++i) {
                std::u16string name = {prefix, static_cast<char16_t>(u'A' + i)};
                CHILD_CHECK(SetDword(key, name.c_str(), static_cast<DWORD>(i)) == ERROR_SUCCESS);
            }
            return 0;
        };
    };
    fflush(nullptr);
    pid_t a = fork();
    if (a == 0) {
        _exit(writer(u'a')());
    }
    pid_t b = fork();
    if (b == 0) {
        _exit(writer(u'b')());
    }
    int statusA = -1, statusB = -1;
    waitpid(a, &statusA, 0);
    waitpid(b, &statusB, 0);
    EXPECT_EQ(statusA, 0);
    EXPECT_EQ(statusB, 0);

    // This process sees them without dropping anything: the file changed under it.
    Key key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Race", 0, KEY_READ, key.Out()), ERROR_SUCCESS);
    EXPECT_EQ(ValueNames(key).size(), 60u);
    DropCachedHives();
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Race", 0, KEY_READ, key.Out()), ERROR_SUCCESS);
    EXPECT_EQ(ValueNames(key).size(), 60u);
}

TEST_F(RegistryTest, AKeyDeletedByAnotherProcessAnswersKeyDeleted) {
    Key key;
    ASSERT_EQ(Create(u"Software\\Shared\\Sub", key.Out()), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, u"v", 1), ERROR_SUCCESS);
    EXPECT_EQ(InChild([] {
                  CHILD_CHECK(RegDeleteTreeW(HKEY_CURRENT_USER, u"Software\\Shared") == ERROR_SUCCESS);
                  return 0;
              }),
              0);
    EXPECT_EQ(SetDword(key, u"v", 2), ERROR_KEY_DELETED);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"v", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
}

TEST_F(RegistryTest, AMachineHiveThatCannotBeWrittenIsStillRead) {
    // A directory this test's (unprivileged) child may read but not write, as /etc is for a user.
    char tmpl[] = "/tmp/doliva-ro.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl;
    const std::string emptyDir = dir + "/empty";
    ASSERT_EQ(mkdir(emptyDir.c_str(), 0555), 0);
    WriteBytes(dir + "/system.reg", "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM]\n"
                                    "\"/dev/ttyUSB0\"=\"COM5\"\n");
    chmod((dir + "/system.reg").c_str(), 0644);
    chmod(emptyDir.c_str(), 0555);
    chmod(dir.c_str(), 0555);

    int status = InChild([&] {
        if (geteuid() == 0) {
            CHILD_CHECK(setgid(65534) == 0 && setuid(65534) == 0);
        }
        setenv("DOLIVA_CONFIG_DIR", dir.c_str(), 1);
        DropCachedHives();
        Key key;
        CHILD_CHECK(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                                  key.Out()) == ERROR_SUCCESS);
        WCHAR data[16];
        DWORD size = sizeof data;
        CHILD_CHECK(RegQueryValueExW(key, u"/dev/ttyUSB0", nullptr, nullptr, reinterpret_cast<LPBYTE>(data),
                                     &size) == ERROR_SUCCESS);
        CHILD_CHECK(std::u16string(data) == u"COM5");
        CHILD_CHECK(SetDword(key, u"x", 1) == ERROR_ACCESS_DENIED);
        Key writable;
        CHILD_CHECK(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"HARDWARE", 0, KEY_ALL_ACCESS, writable.Out()) ==
                    ERROR_ACCESS_DENIED);
        CHILD_CHECK(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\New", 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, writable.Out(), nullptr) == ERROR_ACCESS_DENIED);
        CHILD_CHECK(SetDword(HKEY_LOCAL_MACHINE, u"x", 1) == ERROR_ACCESS_DENIED);
        // The most a plain open can get here is reading.
        CHILD_CHECK(RegOpenKeyW(HKEY_LOCAL_MACHINE, u"HARDWARE", writable.Out()) == ERROR_SUCCESS);
        CHILD_CHECK(SetDword(writable, u"x", 1) == ERROR_ACCESS_DENIED);
        CHILD_CHECK(RegDeleteTreeW(HKEY_LOCAL_MACHINE, u"HARDWARE") == ERROR_ACCESS_DENIED);

        // With no hive file at all, the machine hive reads as empty.
        setenv("DOLIVA_CONFIG_DIR", emptyDir.c_str(), 1);
        DropCachedHives();
        CHILD_CHECK(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"HARDWARE", 0, KEY_READ, key.Out()) ==
                    ERROR_FILE_NOT_FOUND);
        DWORD subkeys = 99;
        CHILD_CHECK(RegQueryInfoKeyW(HKEY_LOCAL_MACHINE, nullptr, nullptr, nullptr, &subkeys, nullptr,
                                     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS);
        CHILD_CHECK(subkeys == 0);
        CHILD_CHECK(SetDword(HKEY_LOCAL_MACHINE, u"x", 1) == ERROR_ACCESS_DENIED);
        return 0;
    });
    EXPECT_EQ(status, 0) << "failed at a check ending on line (mod 250) " << status - 1;
    EXPECT_EQ(DirEntries(dir).size(), 2u); // nothing was written beside the hive

    chmod(dir.c_str(), 0755);
    chmod(emptyDir.c_str(), 0755);
    for (const std::string& n : DirEntries(dir)) {
        std::string p = dir + "/" + n;
        if (n == "empty") {
            rmdir(p.c_str());
        } else {
            unlink(p.c_str());
        }
    }
    rmdir(dir.c_str());
}

TEST_F(RegistryTest, AnExportDroppedInIsReadAndRewrittenAsUtf8) {
    std::u16string exported = u"Windows Registry Editor Version 5.00\r\n\r\n"
                              u"[HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM]\r\n"
                              u"\"\\\\Device\\\\Serial0\"=\"COM1\"\r\n"
                              u"\"Caf\u00E9\"=hex(2):25,00,41,00,25,00,00,00\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t c : exported) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    WriteBytes(m_dir + "/system.reg", bytes);

    Key key;
    ASSERT_EQ(
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"hardware\\devicemap\\serialcomm", 0, KEY_ALL_ACCESS, key.Out()),
        ERROR_SUCCESS);
    WCHAR text[16];
    DWORD type = 0, size = sizeof text;
    ASSERT_EQ(RegQueryValueExW(key, u"CAF\u00C9", nullptr, &type, reinterpret_cast<LPBYTE>(text), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_EXPAND_SZ);
    EXPECT_EQ(std::u16string(text), u"%A%");
    ASSERT_EQ(SetString(key, u"/dev/ttyUSB0", u"COM5"), ERROR_SUCCESS);
    EXPECT_EQ(ReadBytes(m_dir + "/system.reg"), "REGEDIT4\n"
                                                "\n"
                                                "[HKEY_LOCAL_MACHINE\\HARDWARE]\n"
                                                "\n"
                                                "[HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP]\n"
                                                "\n"
                                                "[HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM]\n"
                                                "\"\\\\Device\\\\Serial0\"=\"COM1\"\n"
                                                "\"Caf\xC3\xA9\"=hex(2):25,41,25,00\n"
                                                "\"/dev/ttyUSB0\"=\"COM5\"\n"
                                                "\n");
}

// A settings folder the user cannot write (read-only, missing under a read-only folder, a file in its place,
// a folder in the hive's place): every call succeeds on the settings in memory, the file is left alone, and
// the problem is told once, naming what and where: to the caller of the start-up check, or else on
// standard error at the first failed read or write. The child runs as an unprivileged user when the tests
// run as root, since root may write anywhere; the folders are then given to that user.
TEST_F(RegistryTest, SettingsThatCannotBeWrittenAreKeptInMemoryAndToldOnce) {
    char tmpl[] = "/tmp/doliva-settings.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string base = tmpl;
    chmod(base.c_str(), 0755);
    const uid_t user = geteuid() == 0 ? 65534 : geteuid();
    const std::string kept = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Test]\n\"Kept\"=dword:00000001\n";
    struct Case {
        std::string name;
        std::string configDir; // relative to base
        std::string reason;
    };
    const Case cases[] = {
        {"read-only", "ro", "the folder " + base + "/ro cannot be written"},
        {"missing under a read-only folder", "locked/doliva",
         "the folder " + base + "/locked/doliva cannot be created"},
        {"a file in its place", "file", base + "/file is not a folder"},
        {"a folder in the hive's place", "dir", base + "/dir/user.reg is a folder"},
    };
    mkdir((base + "/ro").c_str(), 0755);
    WriteBytes(base + "/ro/user.reg", kept);
    mkdir((base + "/locked").c_str(), 0755);
    WriteBytes(base + "/file", "not settings");
    mkdir((base + "/dir").c_str(), 0755);
    mkdir((base + "/dir/user.reg").c_str(), 0755);
    for (const char* path : {"", "/ro", "/ro/user.reg", "/locked", "/file", "/dir", "/dir/user.reg"}) {
        ASSERT_EQ(chown((base + path).c_str(), user, user), 0) << path;
    }
    chmod((base + "/ro").c_str(), 0555);
    chmod((base + "/locked").c_str(), 0555);

    for (const Case& c : cases) {
        for (bool checkedAtStart : {true, false}) {
            SCOPED_TRACE(c.name + (checkedAtStart ? ", checked at start" : ", found by a write"));
            const std::string errors = base + "/stderr";
            unlink(errors.c_str());
            std::string told;
            const int status = InChild([&] {
                if (geteuid() == 0) {
                    CHILD_CHECK(setgid(user) == 0 && setuid(user) == 0);
                }
                const int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
                CHILD_CHECK(fd >= 0 && dup2(fd, 2) == 2);
                setenv("DOLIVA_CONFIG_DIR", (base + "/" + c.configDir).c_str(), 1);
                DropCachedHives();
                if (checkedAtStart) {
                    const std::string message = doliva::registry::CheckUserHiveWritable();
                    CHILD_CHECK(message.find(c.reason) != std::string::npos);
                    CHILD_CHECK(doliva::registry::CheckUserHiveWritable().empty()); // told once
                }
                Key key;
                CHILD_CHECK(Create(u"Software\\Test", key.Out()) == ERROR_SUCCESS);
                CHILD_CHECK(SetDword(key, u"New", 7) == ERROR_SUCCESS);
                CHILD_CHECK(SetDword(key, u"Other", 8) == ERROR_SUCCESS);
                CHILD_CHECK(RegDeleteValueW(key, u"Other") == ERROR_SUCCESS);
                DWORD value = 0, size = sizeof value;
                CHILD_CHECK(RegQueryValueExW(key, u"New", nullptr, nullptr, reinterpret_cast<LPBYTE>(&value),
                                             &size) == ERROR_SUCCESS &&
                            value == 7);
                if (c.configDir == "ro") { // what the file held is still there
                    CHILD_CHECK(RegQueryValueExW(key, u"Kept", nullptr, nullptr,
                                                 reinterpret_cast<LPBYTE>(&value), &size) == ERROR_SUCCESS &&
                                value == 1);
                }
                return 0;
            });
            EXPECT_EQ(status, 0) << "failed at a check ending on line (mod 250) " << status - 1;
            const std::string stderrText = ReadBytes(errors);
            if (checkedAtStart) {
                EXPECT_EQ(stderrText, "");
            } else {
                EXPECT_NE(stderrText.find(c.reason), std::string::npos) << stderrText;
                EXPECT_EQ(stderrText.find("doliva:"), stderrText.rfind("doliva:"))
                    << "told once: " << stderrText;
            }
        }
    }
    EXPECT_EQ(ReadBytes(base + "/ro/user.reg"), kept);
    EXPECT_EQ(DirEntries(base + "/ro"), std::vector<std::string>{"user.reg"});
    EXPECT_TRUE(DirEntries(base + "/locked").empty());
    EXPECT_EQ(ReadBytes(base + "/file"), "not settings");
    EXPECT_TRUE(DirEntries(base + "/dir/user.reg").empty());
    chmod((base + "/ro").c_str(), 0755);
    chmod((base + "/locked").c_str(), 0755);
    std::filesystem::remove_all(base);
}

// A hive too large to be a settings file is damaged: moved aside with the same report, never read whole.
TEST_F(RegistryTest, AHiveLargerThanTheLimitIsMovedAsideAsDamaged) {
    std::string huge = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Big]\n";
    huge += "\"Pad\"=\"" + std::string(doliva::registry::kMaxHiveBytes, 'x') + "\"\n";
    WriteBytes(m_userHive, huge);
    DropCachedHives();

    testing::internal::CaptureStderr();
    Key key;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Big", 0, KEY_READ, key.Out()),
              ERROR_FILE_NOT_FOUND);
    const std::string report = testing::internal::GetCapturedStderr();
    std::vector<std::string> damaged = DamagedFiles(m_dir);
    ASSERT_EQ(damaged.size(), 1u);
    EXPECT_EQ(ReadBytes(m_dir + "/" + damaged[0]), huge);
    EXPECT_NE(report.find(m_userHive + " is damaged"), std::string::npos) << report;
    EXPECT_NE(report.find(damaged[0]), std::string::npos) << report;
    ASSERT_EQ(Create(u"Software\\Big", key.Out()), ERROR_SUCCESS);
    EXPECT_EQ(SetDword(key, u"Small", 1), ERROR_SUCCESS);
    EXPECT_LT(ReadBytes(m_userHive).size(), 200u);
}
