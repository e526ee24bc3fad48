// Parameter model costs: the live set takes every value the processor sends and the preset name
// display sums both checksums once a second.
#include "tables/settings_map.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void SetEveryParameterByFloat(benchmark::State &state)
{
    SETTINGS_MAP set;
    std::vector<std::pair<uint16_t, float>> values;
    for (uint16_t id = orba::firstSettingId(); id != SETTINGS_END; id = orba::nextSettingId(id))
        if (orba::settingType(id) == SETTING_FLOAT)
            values.emplace_back(id, set.getFloat(id));
    bool flip = false;
    for (auto _ : state) {
        for (const auto &[id, v] : values)
            benchmark::DoNotOptimize(set.setFloat(id, flip ? v + 1.0f : v, CHANGE_PROCESSOR));
        flip = !flip;
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(values.size()));
}
BENCHMARK(SetEveryParameterByFloat);

void BothChecksumsOfASet(benchmark::State &state)
{
    SETTINGS_MAP set;
    for (auto _ : state)
        benchmark::DoNotOptimize(set.checksums());
}
BENCHMARK(BothChecksumsOfASet);

void BuildAParameterSet(benchmark::State &state)
{
    for (auto _ : state) {
        SETTINGS_MAP set;
        benchmark::DoNotOptimize(&set);
    }
}
BENCHMARK(BuildAParameterSet);

} // namespace

BENCHMARK_MAIN();
