// A profile of the test's own, so that a test reads nothing an earlier test of the same process wrote.
#pragma once

#include "platform/registry/Registry.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace testsupport {

// Points DOLIVA_CONFIG_DIR (both hives and the document file) at a new empty directory under the scratch
// directory and forgets the hives read so far; answers the directory.
inline std::filesystem::path UseFreshProfile() {
    std::filesystem::create_directories(ScratchDir());
    std::string dir = (ScratchDir() / "profile.XXXXXX").string();
    if (!mkdtemp(dir.data())) {
        ADD_FAILURE() << "cannot make a profile directory under " << ScratchDir();
        return {};
    }
    setenv("DOLIVA_CONFIG_DIR", dir.c_str(), 1);
    doliva::registry::DropCachedHives();
    return dir;
}

} // namespace testsupport
