// Installing and removing services as unit files in a private unit directory.

#include "SystemTestSupport.h"

#include "platform/base/CodePage.h"

#include <mutex>
#include <vector>

#include <sys/stat.h>

using namespace system_test;

namespace {

const char kAutoStartUnit[] = "# Installed through CreateServiceW; DeleteService removes it.\n"
                              "[Unit]\n"
                              "Description=Doliva Service\n"
                              "\n"
                              "[Service]\n"
                              "Type=notify\n"
                              "ExecStart=/opt/doliva/bin/doliva\n"
                              "AmbientCapabilities=CAP_SYS_TIME\n"
                              "Restart=no\n"
                              "RuntimeDirectory=DolivaService\n"
                              "RuntimeDirectoryMode=0700\n"
                              "Environment=XDG_RUNTIME_DIR=%t/DolivaService\n"
                              "\n"
                              "[Install]\n"
                              "WantedBy=multi-user.target\n";

// A private unit directory and a runner that records what would have been asked of systemctl.
class ServiceManagerTest : public ::testing::Test {
protected:
    ServiceManagerTest() : m_unitDir("DOLIVA_UNIT_DIR", m_scratch / "units") {
        mkdir((m_scratch / "units").c_str(), 0755);
        SetServiceCommandRunner([this](const std::vector<std::string>& argv) {
            std::lock_guard lock(m_mutex);
            std::string line;
            for (const std::string& arg : argv) {
                line += (line.empty() ? "" : " ") + arg;
            }
            m_commands.push_back(line);
            return 0;
        });
    }
    ~ServiceManagerTest() override { SetServiceCommandRunner({}); }

    std::string Unit(const std::string& name) const { return m_scratch / ("units/" + name); }
    std::vector<std::string> TakeCommands() {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_commands, {});
    }

    SC_HANDLE Install(const char16_t* binaryPath, DWORD startType = SERVICE_AUTO_START,
                      const char16_t* account = nullptr, const char16_t* dependencies = nullptr) {
        SC_HANDLE scm = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        EXPECT_NE(scm, nullptr) << GetLastError();
        SC_HANDLE service = CreateServiceW(scm, u"DolivaService", u"Doliva Service", SERVICE_ALL_ACCESS,
                                           SERVICE_WIN32_OWN_PROCESS | SERVICE_INTERACTIVE_PROCESS, startType,
                                           SERVICE_ERROR_NORMAL, binaryPath, nullptr, nullptr, dependencies,
                                           account, nullptr);
        const DWORD error = GetLastError();
        CloseServiceHandle(scm);
        SetLastError(error);
        return service;
    }

    ScratchDir m_scratch;
    ScopedEnv m_unitDir;
    std::mutex m_mutex;
    std::vector<std::string> m_commands;
};

} // namespace

TEST_F(ServiceManagerTest, InstallWritesTheUnitAndAnExistingOneIsRefused) {
    SC_HANDLE service = Install(u"/opt/doliva/bin/doliva");
    ASSERT_NE(service, nullptr) << GetLastError();
    EXPECT_TRUE(CloseServiceHandle(service));
    EXPECT_EQ(ReadWholeFile(Unit("DolivaService.service")), kAutoStartUnit);
    EXPECT_EQ(TakeCommands(), (std::vector<std::string>{"systemctl daemon-reload",
                                                        "systemctl enable DolivaService.service"}));

    // Names are the same in any case.
    SC_HANDLE scm = OpenSCManagerW(nullptr, SERVICES_ACTIVE_DATABASEW, SC_MANAGER_ALL_ACCESS);
    ASSERT_NE(scm, nullptr);
    EXPECT_EQ(CreateServiceW(scm, u"dolivaSERVICE", nullptr, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                             SERVICE_AUTO_START, SERVICE_ERROR_NORMAL, u"/x", nullptr, nullptr, nullptr,
                             nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_EXISTS));
    EXPECT_TRUE(TakeCommands().empty());
    CloseServiceHandle(scm);
}

TEST_F(ServiceManagerTest, ExecStartQuotingStartTypeAccountAndDependencies) {
    // An existing program whose path has a space, given unquoted as the original allows.
    mkdir((m_scratch / "my apps").c_str(), 0755);
    const std::string program = m_scratch / "my apps/doliva";
    WriteWholeFile(program, "");
    struct Case {
        std::u16string binaryPath;
        std::string execStart;
    };
    const Case cases[] = {
        {u"/opt/doliva/bin/doliva -service", "ExecStart=/opt/doliva/bin/doliva -service\n"},
        {u"\"/opt/my apps/doliva\" -service \"two words\"",
         "ExecStart=\"/opt/my apps/doliva\" -service \"two words\"\n"},
        {u"/opt/doliva 50% $HOME", "ExecStart=/opt/doliva 50%% $$HOME\n"},
        {Utf8ToUtf16(program), "ExecStart=\"" + program + "\"\n"},
    };
    for (const Case& c : cases) {
        SC_HANDLE service =
            Install(c.binaryPath.c_str(), SERVICE_DEMAND_START, u".\\gps", u"network\0+Group\0\0");
        ASSERT_NE(service, nullptr) << GetLastError();
        const std::string unit = ReadWholeFile(Unit("DolivaService.service"));
        EXPECT_NE(unit.find(c.execStart), std::string::npos) << unit;
        EXPECT_NE(unit.find("Requires=network.service\nAfter=network.service\n"), std::string::npos) << unit;
        EXPECT_NE(unit.find("User=gps\n"), std::string::npos) << unit;
        EXPECT_EQ(unit.find("[Install]"), std::string::npos) << unit;
        EXPECT_EQ(unit.find("Group"), std::string::npos) << unit;
        EXPECT_TRUE(DeleteService(service));
        CloseServiceHandle(service);
    }
    // Demand-start services are never enabled.
    for (const std::string& command : TakeCommands()) {
        EXPECT_EQ(command.find("enable"), std::string::npos) << command;
    }
}

TEST_F(ServiceManagerTest, RemoveDeletesOnlyTheLayersOwnUnits) {
    SC_HANDLE installed = Install(u"/opt/doliva/bin/doliva");
    ASSERT_NE(installed, nullptr);
    CloseServiceHandle(installed);
    TakeCommands();

    SC_HANDLE scm = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    ASSERT_NE(scm, nullptr);
    SC_HANDLE service = OpenServiceW(scm, u"DOLIVASERVICE", SERVICE_ALL_ACCESS);
    ASSERT_NE(service, nullptr) << GetLastError();
    EXPECT_TRUE(DeleteService(service));
    EXPECT_FALSE(Exists(Unit("DolivaService.service")));
    EXPECT_EQ(TakeCommands(), (std::vector<std::string>{"systemctl disable DolivaService.service",
                                                        "systemctl daemon-reload"}));
    EXPECT_FALSE(DeleteService(service));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_MARKED_FOR_DELETE));
    CloseServiceHandle(service);

    EXPECT_EQ(OpenServiceW(scm, u"DolivaService", SERVICE_ALL_ACCESS), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST));

    // The machine's own units stay.
    WriteWholeFile(Unit("ssh.service"), "[Unit]\nDescription=not ours\n");
    SC_HANDLE foreign = OpenServiceW(scm, u"ssh", SERVICE_ALL_ACCESS);
    ASSERT_NE(foreign, nullptr);
    EXPECT_FALSE(DeleteService(foreign));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(Exists(Unit("ssh.service")));
    CloseServiceHandle(foreign);
    EXPECT_TRUE(TakeCommands().empty());
    CloseServiceHandle(scm);
}

TEST_F(ServiceManagerTest, ManagerAndNameErrors) {
    // A unit directory below a regular file cannot be written, even by root.
    WriteWholeFile(m_scratch / "plain", "");
    {
        ScopedEnv blocked("DOLIVA_UNIT_DIR", m_scratch / "plain/units");
        EXPECT_EQ(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
    EXPECT_EQ(OpenSCManagerW(nullptr, u"NoSuchDatabase", SC_MANAGER_ALL_ACCESS), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DATABASE_DOES_NOT_EXIST));

    SC_HANDLE scm = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    ASSERT_NE(scm, nullptr);
    for (const char16_t* name : {u"", u"a/b", u"../etc/evil", u"two words", u".hidden"}) {
        EXPECT_EQ(OpenServiceW(scm, name, SERVICE_ALL_ACCESS), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
        EXPECT_EQ(CreateServiceW(scm, name, nullptr, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                 SERVICE_AUTO_START, SERVICE_ERROR_NORMAL, u"/x", nullptr, nullptr, nullptr,
                                 nullptr, nullptr),
                  nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
    }
    EXPECT_EQ(CreateServiceW(scm, u"Driver", nullptr, SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER,
                             SERVICE_BOOT_START, SERVICE_ERROR_NORMAL, u"/x", nullptr, nullptr, nullptr,
                             nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(CloseServiceHandle(scm));
    EXPECT_EQ(OpenServiceW(scm, u"DolivaService", SERVICE_ALL_ACCESS), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(CloseServiceHandle(scm));
}

// With the default runner and a unit directory of its own, nothing reaches systemctl: a stand-in first in
// PATH would leave a mark.
TEST_F(ServiceManagerTest, TheDefaultRunnerNeverRunsSystemctlForAPrivateUnitDirectory) {
    SetServiceCommandRunner({});
    mkdir((m_scratch / "bin").c_str(), 0755);
    const std::string mark = m_scratch / "systemctl-ran";
    WriteWholeFile(m_scratch / "bin/systemctl", "#!/bin/sh\n: > '" + mark + "'\n");
    chmod((m_scratch / "bin/systemctl").c_str(), 0755);
    ScopedEnv path("PATH", m_scratch / "bin");

    SC_HANDLE service = Install(u"/opt/doliva/bin/doliva");
    ASSERT_NE(service, nullptr);
    EXPECT_TRUE(DeleteService(service));
    CloseServiceHandle(service);
    EXPECT_FALSE(Exists(mark));
}
