// A writer killed with SIGKILL at any moment leaves a hive file that parses and holds either the state before
// its last change or the state after it.
#include "platform/registry/HiveText.h"
#include "platform/registry/Registry.h"

#include "tests/platform/registry/RegistryTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace regtest;
using doliva::registry::DropCachedHives;

TEST_F(RegistryTest, AWriterKilledMidWayLeavesTheOldOrTheNewState) {
    // Bulk that a torn write would lose.
    std::string bulk = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Bulk]\n";
    for (int i = 0; i < 200; ++i) {
        bulk +=
            "\"v" + std::to_string(i) + "\"=\"" + std::string(40, static_cast<char>('a' + i % 26)) + "\"\n";
    }
    WriteBytes(m_userHive, bulk);
    DropCachedHives();

    for (int round = 0; round < 36; ++round) {
        SCOPED_TRACE(round);
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        fflush(nullptr);
        pid_t pid = fork();
        if (pid == 0) {
            close(fds[0]);
            Key key;
            if (Create(u"Software\\Crash", key.Out()) != ERROR_SUCCESS) {
                _exit(1);
            }
            for (DWORD i = 1;; ++i) {
                std::vector<BYTE> payload(4096, static_cast<BYTE>(i));
                std::memcpy(payload.data(), &i, 4);
                if (RegSetValueExW(key, u"Payload", 0, REG_BINARY, payload.data(), 4096) != ERROR_SUCCESS) {
                    _exit(2);
                }
                if (write(fds[1], &i, 4) != 4) {
                    _exit(3);
                }
            }
        }
        close(fds[1]);
        DWORD acked = 0;
        // Time a few writes, then kill at a different point of a write cycle each round: reading, writing
        // the temporary file, syncing, renaming or between writes.
        ASSERT_EQ(read(fds[0], &acked, 4), 4);
        auto start = std::chrono::steady_clock::now();
        while (acked < 4) {
            ASSERT_EQ(read(fds[0], &acked, 4), 4);
        }
        auto cycle = (std::chrono::steady_clock::now() - start) / 3;
        std::this_thread::sleep_for(cycle * (round % 12) / 8);
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        DWORD more = 0;
        while (read(fds[0], &more, 4) == 4) {
            acked = more;
        }
        close(fds[0]);

        doliva::registry::HiveParseResult r = doliva::registry::ParseHiveText(ReadBytes(m_userHive));
        ASSERT_TRUE(r.Ok()) << r.errorLine << ": " << r.error;
        auto software = r.forest->FindSubkey(u"HKEY_CURRENT_USER")->FindSubkey(u"Software");
        ASSERT_TRUE(software);
        ASSERT_TRUE(software->FindSubkey(u"Bulk"));
        EXPECT_EQ(software->FindSubkey(u"Bulk")->Values().size(), 200u);
        auto crash = software->FindSubkey(u"Crash");
        ASSERT_TRUE(crash);
        const doliva::registry::RegValue* payload = crash->FindValue(u"Payload");
        ASSERT_TRUE(payload);
        ASSERT_EQ(payload->data.size(), 4096u);
        DWORD counter = 0;
        std::memcpy(&counter, payload->data.data(), 4);
        EXPECT_TRUE(counter == acked || counter == acked + 1) << counter << " after " << acked;
        for (size_t i = 4; i < payload->data.size(); ++i) {
            ASSERT_EQ(payload->data[i], static_cast<BYTE>(counter));
        }
        for (const std::string& n : DirEntries(m_dir)) {
            EXPECT_EQ(n.find(".damaged-"), std::string::npos) << n;
        }
    }
    // And the next writer carries on over whatever the killed one left behind.
    Key key;
    ASSERT_EQ(Create(u"Software\\Crash", key.Out()), ERROR_SUCCESS);
    EXPECT_EQ(SetDword(key, u"Done", 1), ERROR_SUCCESS);
    EXPECT_EQ(ValueNames(key), (std::vector<std::u16string>{u"Payload", u"Done"}));
}
