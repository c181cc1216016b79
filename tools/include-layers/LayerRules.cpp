#include "tools/include-layers/LayerRules.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <istream>
#include <map>
#include <sstream>

namespace include_layers {

namespace {

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

bool LiesIn(std::string_view path, std::string_view folder) {
    return path.size() > folder.size() && path.substr(0, folder.size()) == folder && path[folder.size()] == '/';
}

} // namespace

LayerRules LayerRules::Parse(std::istream& in, const std::string& sourceName) {
    LayerRules rules;
    Graph direct;
    std::map<std::string, int> ruleLine;
    std::vector<std::pair<int, std::string>> named; // every folder a rule names, with its line
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        const std::string text = Trim(std::string_view(line).substr(0, line.find('#')));
        if (text.empty()) {
            continue;
        }
        const auto colon = text.find(':');
        const std::string where = sourceName + ":" + std::to_string(lineNumber) + ": ";
        const std::string folder = colon == std::string::npos ? std::string() : Trim(text.substr(0, colon));
        if (folder.empty() || folder.find_first_of(" \t") != std::string::npos) {
            throw RulesError(where + "expected \"folder: folders it may include\"");
        }
        if (!ruleLine.emplace(folder, lineNumber).second) {
            throw RulesError(where + folder + " already has a rule (line " + std::to_string(ruleLine[folder]) + ")");
        }
        std::vector<std::string> targets = Words(text.substr(colon + 1));
        if (targets.size() == 1 && targets.front() == "*") {
            rules.m_anything.insert(folder);
            targets.clear();
        }
        for (const std::string& target : targets) {
            named.emplace_back(lineNumber, target);
        }
        direct[folder] = std::move(targets);
    }
    for (const auto& [lineNumber, target] : named) {
        const std::string where = sourceName + ":" + std::to_string(lineNumber) + ": ";
        if (!direct.contains(target)) {
            throw RulesError(where + target + " has no rule of its own");
        }
        if (rules.m_anything.contains(target)) {
            throw RulesError(where + target + " may include anything, so no other folder may include it");
        }
    }
    rules.m_reachable = Close(direct, sourceName);
    return rules;
}

LayerRules LayerRules::Load(const std::filesystem::path& file) {
    std::ifstream in(file);
    if (!in) {
        throw RulesError(file.string() + ": cannot be read");
    }
    return Parse(in, file.string());
}

std::map<std::string, std::set<std::string>> LayerRules::Close(const Graph& direct, const std::string& sourceName) {
    std::map<std::string, std::set<std::string>> reachable;
    std::vector<std::string> path; // the folders being closed, for the cycle's message
    std::function<const std::set<std::string>&(const std::string&)> close = [&](const std::string& folder)
        -> const std::set<std::string>& {
        if (const auto done = reachable.find(folder); done != reachable.end()) {
            return done->second;
        }
        if (const auto open = std::find(path.begin(), path.end(), folder); open != path.end()) {
            std::string cycle;
            for (auto it = open; it != path.end(); ++it) {
                cycle += *it + " -> ";
            }
            throw RulesError(sourceName + ": the rules make a cycle: " + cycle + folder);
        }
        path.push_back(folder);
        std::set<std::string> closure{folder};
        for (const std::string& target : direct.at(folder)) {
            const std::set<std::string>& below = close(target);
            closure.insert(below.begin(), below.end());
        }
        path.pop_back();
        return reachable.emplace(folder, std::move(closure)).first->second;
    };
    for (const auto& [folder, targets] : direct) {
        close(folder);
    }
    return reachable;
}

std::string LayerRules::FolderOf(std::string_view relativePath) const {
    std::string best;
    for (const auto& [folder, closure] : m_reachable) {
        if (LiesIn(relativePath, folder) && folder.size() > best.size()) {
            best = folder;
        }
    }
    return best;
}

bool LayerRules::MayInclude(const std::string& from, const std::string& to) const {
    if (m_anything.contains(from)) {
        return true;
    }
    const auto closure = m_reachable.find(from);
    return closure != m_reachable.end() && closure->second.contains(to);
}

} // namespace include_layers
