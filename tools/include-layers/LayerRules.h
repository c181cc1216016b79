// Which source folders may include which: read from a rules file with one line per folder,
// "folder: folders it may include directly", closed transitively. A folder may always include itself; "*"
// lets a folder include anything, and such a folder may not be named by another rule (it would close a
// cycle through everything).
#pragma once

#include <filesystem>
#include <iosfwd>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace include_layers {

// A rules file that cannot be used; the message names the file and line.
class RulesError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class LayerRules {
public:
    // Throws RulesError for a line without a colon, a folder given two rules, a folder named that has no rule
    // of its own, a "*" folder named by another rule, or a cycle. `sourceName` goes into the messages.
    static LayerRules Parse(std::istream& in, const std::string& sourceName);
    static LayerRules Load(const std::filesystem::path& file);

    // The rule folder that holds a path relative to the source root (the longest rule folder it lies in),
    // or empty when no rule names its folder.
    std::string FolderOf(std::string_view relativePath) const;

    // Whether a file in `from` may include one in `to`; both are rule folders.
    bool MayInclude(const std::string& from, const std::string& to) const;

private:
    using Graph = std::map<std::string, std::vector<std::string>>;
    static std::map<std::string, std::set<std::string>> Close(const Graph& direct, const std::string& sourceName);

    std::map<std::string, std::set<std::string>> m_reachable; // a folder's closure, itself included
    std::set<std::string> m_anything;
};

} // namespace include_layers
