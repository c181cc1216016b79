// doliva-include-check <rules file> <source root>: prints every include that breaks the layer rules as
// "path:line: folder may not include folder" and exits 1 when there is one; 2 for unusable rules.
#include "tools/include-layers/IncludeChecker.h"
#include "tools/include-layers/LayerRules.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: doliva-include-check <rules file> <source root>\n";
        return 2;
    }
    try {
        const include_layers::LayerRules rules = include_layers::LayerRules::Load(argv[1]);
        const std::vector<include_layers::Finding> findings = include_layers::CheckTree(argv[2], rules);
        for (const include_layers::Finding& finding : findings) {
            std::cout << include_layers::Describe(finding) << '\n';
        }
        if (!findings.empty()) {
            std::cout << findings.size() << " include(s) break the layer rules in " << argv[1] << '\n';
        }
        return findings.empty() ? 0 : 1;
    } catch (const include_layers::RulesError& error) {
        std::cerr << error.what() << '\n';
        return 2;
    } catch (const std::filesystem::filesystem_error& error) {
        std::cerr << error.what() << '\n';
        return 2;
    }
}
