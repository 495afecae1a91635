// Loading definitions and texts: a data file is parsed in one pass, and a text id
// is found once from its key with one hash and a short bucket walk.

#include "core/DataFile.h"
#include "core/StringTableSource.h"
#include "core/StringTableWriter.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
// A definition file of blocks like the effects and ship components use.
std::string MakeDefinitions(int blocks)
{
    std::string text;
    for (int i = 0; i < blocks; ++i)
    {
        text += "effect" + std::to_string(i) + "\n{\n\tlife\t" + std::to_string(i % 50) + "\n\tscale\t1.5, 2.25\n";
        text += "\tcolour\t0.1,0.2,0.3,1 // tint\n\temitter\n\t{\n\t\trate\t25\n\t\tsprite\tdata\\sprites\\spark.spr\n\t}\n}\n";
    }
    return text;
}

void ParseDefinitions(benchmark::State& state)
{
    const std::string text = MakeDefinitions(static_cast<int>(state.range(0)));
    for (auto _ : state)
    {
        CDataNodeList nodes;
        ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes);
        benchmark::DoNotOptimize(nodes.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(ParseDefinitions)->Arg(100)->Arg(1000);

void FindTextId(benchmark::State& state)
{
    std::string source = "[English]\n";
    for (int i = 0; i < 3000; ++i)
        source += "Key" + std::to_string(i) + " = Text " + std::to_string(i) + "\n";
    CStringTableSource parsed;
    std::vector<std::unique_ptr<CStringTableLanguage>> languages;
    std::string error;
    if (!parsed.Parse(source, error) || !parsed.Build(languages, error))
    {
        state.SkipWithError(error.c_str());
        return;
    }
    std::vector<uint8_t> bytes = EncodeStringTable({languages.front().get()}, 1);
    CStringTable table;
    table.LoadFromMemory(bytes.data(), bytes.size());
    CWString key;
    key.AssignNarrow("Key2999");
    uint32_t id = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(table.FindId(key, id));
}
BENCHMARK(FindTextId);
} // namespace

BENCHMARK_MAIN();
