// Helpers of the dialog tests: a fresh profile and receiver state for every test, and direct profile reads.
#pragma once

#include "receiver/AppProfileAccess.h"
#include "platform/base/CString.h"
#include "platform/base/CodePage.h"
#include "platform/registry/Registry.h"
#include "receiver/ReceiverIdentity.h"
#include "receiver/ReceiverState.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>

inline void PrintTo(const CString& text, std::ostream* os) {
    *os << '"' << Utf16ToUtf8(text.str()) << '"';
}

namespace dialogtest {

// Each test gets its own profile directory (also when the binary is run by hand) and an unidentified
// receiver in Motorola binary mode.
class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(testsupport::ScratchDir());
        std::string dir = (testsupport::ScratchDir() / "profile.XXXXXX").string();
        ASSERT_NE(mkdtemp(dir.data()), nullptr);
        setenv("DOLIVA_CONFIG_DIR", dir.c_str(), 1);
        doliva::registry::DropCachedHives();
        g_interfaceMode = kModeMotorolaBinary;
        g_receiverIdentity = ReceiverIdentity{};
    }
    void TearDown() override {
        doliva::registry::DropCachedHives();
        g_interfaceMode = kModeSearch;
        g_receiverIdentity = ReceiverIdentity{};
    }

    // What a fresh reader finds in the profile files.
    static CString Stored(LPCTSTR section, LPCTSTR key) {
        doliva::registry::DropCachedHives();
        return AppGetProfileString(section, key, u"<none>");
    }
    static int StoredInt(LPCTSTR section, LPCTSTR key) {
        doliva::registry::DropCachedHives();
        return AppGetProfileInt(section, key, -12345);
    }
};

} // namespace dialogtest
