// Helpers shared by the test suites: the per-test scratch directory and the shared receiver fixtures.
#pragma once

#include "WholeFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace testsupport {

// The launcher gives every test its own scratch directory; outside CTest a fresh temporary one is made.
inline std::filesystem::path ScratchDir() {
    if (const char* dir = std::getenv("DOLIVA_TEST_SCRATCH")) {
        return dir;
    }
    static std::filesystem::path made = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "doliva-test.XXXXXX").string();
        char* dir = mkdtemp(pattern.data());
        return std::filesystem::path(dir ? dir : ".");
    }();
    return made;
}

// The shared fixtures folder beside the checkout, or empty when it is absent.
inline std::filesystem::path SharedFixturesDir() {
    std::filesystem::path dir = std::filesystem::path(DOLIVA_SOURCE_DIR) / ".." / "shared" / "fixtures";
    std::error_code ec;
    return std::filesystem::is_directory(dir, ec) ? dir : std::filesystem::path();
}

} // namespace testsupport

// Skips the test with a message when the shared fixtures are not beside the checkout.
#define REQUIRE_SHARED_FIXTURES()                                                                            \
    do {                                                                                                     \
        if (testsupport::SharedFixturesDir().empty()) {                                                      \
            GTEST_SKIP() << "shared fixtures not found beside the checkout";                                 \
        }                                                                                                    \
    } while (0)
