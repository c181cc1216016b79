// A main for a fuzz target without libFuzzer: runs its LLVMFuzzerTestOneInput once over the empty input and
// each file named, or each file in a folder named, as libFuzzer does with the files it is given. The test tree
// links it, so that the seed corpora replay under that tree's sanitizers in seconds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

std::vector<std::filesystem::path> Inputs(int argc, char** argv) {
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path named = argv[i];
        if (!std::filesystem::is_directory(named)) {
            inputs.push_back(named);
            continue;
        }
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(named)) {
            if (entry.is_regular_file()) {
                files.push_back(entry.path());
            }
        }
        std::sort(files.begin(), files.end());
        inputs.insert(inputs.end(), files.begin(), files.end());
    }
    return inputs;
}

// The bytes in a buffer of exactly their size, so that the sanitizer sees a read past the end.
void Run(const std::vector<char>& bytes) {
    const std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), data.get());
    LLVMFuzzerTestOneInput(data.get(), bytes.size());
}

} // namespace

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize) {
        LLVMFuzzerInitialize(&argc, &argv);
    }
    const std::vector<std::filesystem::path> inputs = Inputs(argc, argv);
    if (inputs.empty()) {
        std::cerr << "usage: " << argv[0] << " <file or folder>...: no inputs given\n";
        return 2;
    }
    Run({});
    for (const std::filesystem::path& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        if (!in) {
            std::cerr << input.string() << ": cannot be read\n";
            return 2;
        }
        std::cout << "replaying " << input.string() << std::endl;
        Run(std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }
    std::cout << "replayed " << inputs.size() << " inputs and the empty one\n";
    return 0;
}
