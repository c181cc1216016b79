// Helpers of the dialog tests: a fresh profile and receiver state for every test, direct profile reads, and
// the set-up of the tests that create dialog windows.
#pragma once

#include "grid_features/CGXControlFactory.h"
#include "platform/base/CString.h"
#include "platform/base/CodePage.h"
#include "platform/controls/StandardControls.h"
#include "platform/display/DisplayBackend.h"
#include "platform/display/MessageApi.h"
#include "platform/registry/Registry.h"
#include "platform/resources/Resources.h"
#include "receiver/AppProfileAccess.h"
#include "receiver/ReceiverIdentity.h"
#include "receiver/ReceiverState.h"
#include "support/FreshProfile.h"

#include <gtest/gtest.h>

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
        testsupport::UseFreshProfile();
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

// For the tests that create the dialogs' windows: a test clock, the standard controls, the program's
// resources and the grid library (the receiver parameters hold a grid); what the windows posted is handled
// before the next test.
class WindowTest : public ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        DisplayUseTestClock(100000);
        RegisterStandardControls();
        DolivaInstallResourceHooks();
        InitGridLibraryDefault();
    }
    void TearDown() override {
        Pump();
        DisplayUseRealClock();
        ProfileTest::TearDown();
    }
    static void Pump() {
        MSG msg{};
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
    }
};

} // namespace dialogtest
