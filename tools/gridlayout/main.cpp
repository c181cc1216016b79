// doliva-grid-layout <file>: writes the satellite-enable grid's layout resource, for the program's
// resource script to embed.
#include "platform/resources/Resources.h"
#include "tools/gridlayout/SatsEnableLayout.h"

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: doliva-grid-layout <output file>\n");
        return 2;
    }
    DolivaInstallResourceHooks();
    const std::vector<BYTE> bytes = gridlayout::WriteSatsEnableLayout();
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (std::fclose(out) != 0 || !written) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
