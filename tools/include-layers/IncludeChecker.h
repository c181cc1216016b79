// Finds the includes that break the layer rules in a source tree: every `#include "folder/..."` in a .h or
// .cpp file whose folder may not include that folder, and every such file in a folder that no rule names.
#pragma once

#include "tools/include-layers/LayerRules.h"

#include <filesystem>
#include <string>
#include <vector>

namespace include_layers {

struct Finding {
    std::filesystem::path file; // below the root as given, so that it opens from where the check ran
    int line = 0;
    std::string what;
};

// "file:line: what", the form compilers use, so that editors jump to it.
std::string Describe(const Finding& finding);

// Scans every .h and .cpp below `root`, skipping hidden folders and build trees (folders that hold a
// CMakeCache.txt); findings come in path and line order.
std::vector<Finding> CheckTree(const std::filesystem::path& root, const LayerRules& rules);

} // namespace include_layers
