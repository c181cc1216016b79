#include "platform/base/Collections.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void ArrayAdd(benchmark::State& state) {
    for (auto _ : state) {
        CDWordArray array;
        for (DWORD i = 0; i < static_cast<DWORD>(state.range(0)); ++i) {
            array.Add(i);
        }
        benchmark::DoNotOptimize(array.GetData());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ArrayAdd)->Arg(1000)->Arg(100000);

void StringArrayInsertAtFront(benchmark::State& state) {
    const CString text(u"$GPRMC,123519,A,4807.038,N");
    for (auto _ : state) {
        CStringArray array;
        for (int i = 0; i < state.range(0); ++i) {
            array.InsertAt(0, text);
        }
        benchmark::DoNotOptimize(array.GetData());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(StringArrayInsertAtFront)->Arg(1000);

void ListAddAndWalk(benchmark::State& state) {
    for (auto _ : state) {
        CPtrList list;
        for (int i = 0; i < state.range(0); ++i) {
            list.AddTail(&list);
        }
        INT_PTR count = 0;
        for (POSITION pos = list.GetHeadPosition(); pos; ++count) {
            list.GetNext(pos);
        }
        benchmark::DoNotOptimize(count);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ListAddAndWalk)->Arg(10000);

// Lookups in a map of the given size with the default 17 buckets and with a
// table sized for it.
void StringMapLookup(benchmark::State& state) {
    CMapStringToPtr map;
    if (state.range(1)) {
        map.InitHashTable(static_cast<UINT>(state.range(0) * 5 / 4 + 1));
    }
    std::vector<CString> keys;
    for (int i = 0; i < state.range(0); ++i) {
        CString key;
        key.Format(u"Satellite%d", i);
        keys.push_back(key);
        map[key] = &map;
    }
    size_t next = 0;
    void* value = nullptr;
    for (auto _ : state) {
        benchmark::DoNotOptimize(map.Lookup(keys[next], value));
        next = (next + 1) % keys.size();
    }
}
BENCHMARK(StringMapLookup)->Args({64, 0})->Args({4096, 0})->Args({4096, 1});

} // namespace
