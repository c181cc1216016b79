// Documents and grid layouts are archives of many small objects and strings; loading them is on the path
// of every program start.
#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"
#include "platform/base/CStdioFile.h"
#include "tests/platform/base/ArchiveTestClasses.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>
#include <vector>

using archivetest::CArcLeaf;
using archivetest::CArcNode;
using archivetest::Tracked;

namespace {
// A chain of nodes, each pointing at a shared leaf.
std::vector<BYTE> StoredChain(int nodes) {
    CArcLeaf leaf(7, {1, 2, 3});
    std::vector<std::unique_ptr<CArcNode>> chain;
    for (int i = 0; i < nodes; ++i) {
        chain.push_back(std::make_unique<CArcNode>(u"satellite record"));
        chain.back()->m_left = &leaf;
        if (i > 0) {
            chain[static_cast<size_t>(i) - 1]->m_right = chain.back().get();
        }
    }
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        for (auto& node : chain) {
            ar << node.get();
        }
    }
    std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}
} // namespace

static void BM_ArchiveStoreObjects(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(StoredChain(count));
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_ArchiveStoreObjects)->Arg(1000);

static void BM_ArchiveLoadObjects(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    std::vector<BYTE> bytes = StoredChain(count);
    for (auto _ : state) {
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load);
        for (int i = 0; i < count; ++i) {
            CObject* object = nullptr;
            ar >> object;
        }
        Tracked::DeleteAll();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ArchiveLoadObjects)->Arg(1000);

static void BM_StdioWriteLogLines(benchmark::State& state) {
    const char* scratch = std::getenv("DOLIVA_TEST_SCRATCH");
    const std::filesystem::path path =
        (scratch ? std::filesystem::path(scratch) : std::filesystem::temp_directory_path()) /
        ("doliva-bench-" + std::to_string(getpid()) + ".log");
    CStdioFile file(CString(path.c_str()), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
    for (auto _ : state) {
        file.WriteString(u"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\n");
    }
    file.Close();
    std::filesystem::remove(path);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StdioWriteLogLines);
