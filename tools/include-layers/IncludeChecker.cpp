#include "tools/include-layers/IncludeChecker.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <string_view>

namespace include_layers {

namespace {

bool IsSource(const std::filesystem::path& file) {
    const std::string extension = file.extension().string();
    return extension == ".h" || extension == ".cpp";
}

bool IsSkippedFolder(const std::filesystem::path& dir) {
    std::error_code ec;
    return dir.filename().string().starts_with(".") || std::filesystem::exists(dir / "CMakeCache.txt", ec);
}

// The name in a line `#include "name"` (spaces allowed around the #), if the line is one.
std::optional<std::string_view> QuotedInclude(std::string_view line) {
    auto skipBlanks = [&line] { line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size())); };
    skipBlanks();
    if (!line.starts_with('#')) {
        return std::nullopt;
    }
    line.remove_prefix(1);
    skipBlanks();
    if (!line.starts_with("include")) {
        return std::nullopt;
    }
    line.remove_prefix(7);
    skipBlanks();
    const auto close = line.find('"', 1);
    if (!line.starts_with('"') || close == std::string_view::npos) {
        return std::nullopt;
    }
    return line.substr(1, close - 1);
}

void CheckFile(const std::filesystem::path& root, const std::filesystem::path& relative, const LayerRules& rules,
               std::vector<Finding>& findings) {
    const std::filesystem::path file = root / relative;
    const std::string from = rules.FolderOf(relative.generic_string());
    if (from.empty()) {
        findings.push_back({file, 1, "no rule names the folder " + relative.begin()->string()});
        return;
    }
    std::ifstream in(file);
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        const std::optional<std::string_view> name = QuotedInclude(line);
        if (!name) {
            continue;
        }
        // Includes of no rule folder are the folder's own ("Local.h") or the tests' support headers.
        const std::string to = rules.FolderOf(*name);
        if (!to.empty() && !rules.MayInclude(from, to)) {
            findings.push_back({file, lineNumber, from + " may not include " + to});
        }
    }
}

} // namespace

std::string Describe(const Finding& finding) {
    return finding.file.string() + ":" + std::to_string(finding.line) + ": " + finding.what;
}

std::vector<Finding> CheckTree(const std::filesystem::path& root, const LayerRules& rules) {
    std::vector<std::filesystem::path> sources;
    for (auto it = std::filesystem::recursive_directory_iterator(root); it != std::filesystem::recursive_directory_iterator();
         ++it) {
        if (it->is_directory() && IsSkippedFolder(it->path())) {
            it.disable_recursion_pending();
        } else if (it->is_regular_file() && IsSource(it->path())) {
            sources.push_back(std::filesystem::relative(it->path(), root));
        }
    }
    std::sort(sources.begin(), sources.end());
    std::vector<Finding> findings;
    for (const std::filesystem::path& relative : sources) {
        CheckFile(root, relative, rules, findings);
    }
    return findings;
}

} // namespace include_layers
