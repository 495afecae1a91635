// Per-frame collections and pack lookups: pooled list nodes must come and go
// without the heap, and a pack lookup must stay a hash and a short bucket walk.

#include "core/ListNodePool.h"
#include "core/PooledList.h"
#include "utility/source/QelPackArchive.h"
#include "utility/source/QelPackWriter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
void PooledInsertAndClear(benchmark::State& state)
{
    InitListNodePool();
    int value = 0;
    CPooledList<int> list;
    const int64_t count = state.range(0);
    for (auto _ : state)
    {
        for (int64_t i = 0; i < count; ++i)
            list.Insert(&value);
        list.Clear();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(PooledInsertAndClear)->Arg(64)->Arg(4096);

// A pack of many entries written to a temporary file, looked up by name.
void PackLookup(benchmark::State& state)
{
    char folder[] = "/tmp/tess-bench-XXXXXX";
    if (!mkdtemp(folder))
    {
        state.SkipWithError("no temporary folder");
        return;
    }
    std::string path = std::string(folder) + "/bench.000";
    const int64_t entries = state.range(0);
    std::vector<std::string> names;
    CPackArchiveWriter writer;
    writer.Open(path.c_str());
    for (int64_t i = 0; i < entries; ++i)
    {
        names.push_back("data/sprites/item" + std::to_string(i) + ".spr");
        writer.WriteEntry(names.back().c_str(), "x", 1);
    }
    writer.Close();
    CPackArchive archive;
    archive.MountMainPack(path.c_str());
    size_t at = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(archive.FindPackEntry(names[at].c_str()));
        at = (at + 7) % names.size();
    }
    std::remove(path.c_str());
    rmdir(folder);
}
BENCHMARK(PackLookup)->Arg(1000)->Arg(20000);
} // namespace

BENCHMARK_MAIN();
