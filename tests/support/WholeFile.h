// A file's bytes at once, for tests and benchmarks alike.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace testsupport {

// The file's bytes; empty when it cannot be read.
inline std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace testsupport
