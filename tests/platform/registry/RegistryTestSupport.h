// Shared helpers of the registry tests: a fixture that makes sure the hives live in a scratch directory and
// are read afresh, file helpers, and an owning key handle.
#pragma once

#include "platform/registry/Registry.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <optional>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace regtest {

inline std::string ReadBytes(const std::string& path) {
    return testsupport::ReadWholeFile(path);
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::vector<std::string> DirEntries(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n != "." && n != "..") {
                names.push_back(n);
            }
        }
        closedir(d);
    }
    return names;
}

// UTF-16LE bytes of a string with its terminator, as REG_SZ stores it.
inline std::vector<BYTE> SzBytes(std::u16string_view s, bool terminator = true) {
    std::vector<BYTE> out;
    for (char16_t c : s) {
        out.push_back(static_cast<BYTE>(c & 0xFF));
        out.push_back(static_cast<BYTE>(c >> 8));
    }
    if (terminator) {
        out.push_back(0);
        out.push_back(0);
    }
    return out;
}

class Key {
public:
    Key() = default;
    explicit Key(HKEY h) : m_h(h) {}
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() { Close(); }
    HKEY* Out() {
        Close();
        return &m_h;
    }
    operator HKEY() const { return m_h; }
    void Close() {
        if (m_h) {
            RegCloseKey(m_h);
            m_h = nullptr;
        }
    }

private:
    HKEY m_h = nullptr;
};

class RegistryTest : public ::testing::Test {
protected:
    // Every test gets a fresh settings directory of its own, so that tests in one process (in any order)
    // never see each other's hives.
    void SetUp() override {
        const char* scratch = std::getenv("DOLIVA_TEST_SCRATCH");
        std::string tmpl = std::string(scratch && *scratch ? scratch : "/tmp") + "/regtest.XXXXXX";
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        m_dir = tmpl;
        m_userHive = m_dir + "/user.reg";
        SaveEnv("DOLIVA_CONFIG_DIR");
        SaveEnv("XDG_CONFIG_HOME");
        setenv("DOLIVA_CONFIG_DIR", m_dir.c_str(), 1);
        setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
        doliva::registry::DropCachedHives();
    }
    void TearDown() override {
        doliva::registry::DropCachedHives();
        for (const auto& [name, value] : m_savedEnv) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

    // Creates (or opens) a key below HKEY_CURRENT_USER with full access.
    static LONG Create(LPCWSTR path, HKEY* out) {
        return RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                               nullptr, out, nullptr);
    }
    static LONG SetDword(HKEY key, LPCWSTR name, DWORD value) {
        return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    static LONG SetString(HKEY key, LPCWSTR name, std::u16string_view value) {
        std::vector<BYTE> b = SzBytes(value);
        return RegSetValueExW(key, name, 0, REG_SZ, b.data(), static_cast<DWORD>(b.size()));
    }
    static std::vector<std::u16string> ValueNames(HKEY key) {
        std::vector<std::u16string> names;
        for (DWORD i = 0;; ++i) {
            WCHAR name[256];
            DWORD n = 256;
            if (RegEnumValueW(key, i, name, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
                break;
            }
            names.emplace_back(name, n);
        }
        return names;
    }
    static std::vector<std::u16string> SubkeyNames(HKEY key) {
        std::vector<std::u16string> names;
        for (DWORD i = 0;; ++i) {
            WCHAR name[256];
            if (RegEnumKeyW(key, i, name, 256) != ERROR_SUCCESS) {
                break;
            }
            names.emplace_back(name);
        }
        return names;
    }

    std::string m_dir;
    std::string m_userHive;

private:
    void SaveEnv(const char* name) {
        const char* value = std::getenv(name);
        m_savedEnv.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> m_savedEnv;
};

} // namespace regtest
