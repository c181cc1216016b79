// The built program run as a process and closed from outside: waiting for its frame, and what a clean
// close leaves in its settings directory (DOLIVA_CONFIG_DIR): the document file, the view's settings and
// the frame's placement.
#pragma once

#include "platform/display/WindowApi.h"
#include "support/ChildProcess.h"
#include "support/TestSupport.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

namespace closetest {

// Waits (a minute at most) until the program's frame exists; false when it ended or never showed one.
inline bool WaitForFrame(testsupport::ChildProcess& program) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (program.Running() && std::chrono::steady_clock::now() < end) {
        if (::FindWindowW(u"Doliva", nullptr)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

// What a clean close wrote and is missing from configDir; empty when nothing is.
inline std::string MissingAfterClose(const std::filesystem::path& configDir) {
    std::string missing;
    const std::filesystem::path document = configDir / "Doliva.pex";
    if (!std::filesystem::exists(document) || std::filesystem::file_size(document) == 0) {
        missing += "the document file; ";
    }
    const std::string hive = testsupport::ReadWholeFile(configDir / "user.reg");
    for (const char* entry : {"Doliva\\PexView]", "\"Sound\"=", "\"Clock Display Mode Enum\"=",
                              "Doliva\\Window size]", "\"Rect\"="}) {
        if (hive.find(entry) == std::string::npos) {
            missing += std::string(entry) + "; ";
        }
    }
    return missing;
}

} // namespace closetest
