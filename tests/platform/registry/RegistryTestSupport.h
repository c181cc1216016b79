// Shared helpers of the registry tests: a fixture that makes sure the hives live in a scratch directory and
// are read afresh, file helpers, and an owning key handle.
#pragma once

#include "platform/registry/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace regtest {

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
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
    void SetUp() override {
        // The launcher gives every test its own directory; when run by hand, make one so nothing reaches the
        // real settings.
        const char* dir = std::getenv("DOLIVA_CONFIG_DIR");
        if (!dir || !*dir) {
            char tmpl[] = "/tmp/doliva-regtest.XXXXXX";
            ASSERT_NE(mkdtemp(tmpl), nullptr);
            setenv("DOLIVA_CONFIG_DIR", tmpl, 1);
            setenv("XDG_CONFIG_HOME", tmpl, 1);
        }
        m_dir = std::getenv("DOLIVA_CONFIG_DIR");
        m_userHive = m_dir + "/user.reg";
        doliva::registry::DropCachedHives();
    }
    void TearDown() override { doliva::registry::DropCachedHives(); }

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
};

} // namespace regtest
