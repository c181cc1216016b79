// Shared pieces of the framework tests: a fixture that leaves the thread's queue and temporary maps clean,
// and a scratch directory for files.
#pragma once

#include "platform/framework/Framework.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace fwtest {

// Removes everything queued for this thread, WM_QUIT included.
inline void DrainQueue() {
    MSG msg{};
    for (int i = 0; i < 10000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message != WM_QUIT) {
            ::DispatchMessageW(&msg);
        }
    }
}

inline std::u16string ScratchPath(const char* name) {
    const char* dir = std::getenv("DOLIVA_TEST_SCRATCH");
    std::string path = std::string(dir ? dir : "/tmp") + "/" + name + "." + std::to_string(::getpid());
    return std::u16string(path.begin(), path.end());
}

class FrameworkTest : public ::testing::Test {
protected:
    void TearDown() override {
        DrainQueue();
        AfxDeleteTempMaps();
    }
};

} // namespace fwtest
