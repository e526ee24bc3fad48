// What the link's worker thread costs: MSG_VALUES frames reassembled from 8192-byte reads and
// dispatched into the live parameter set (each value a real change, marked to show as the
// application does), beside a plain memcpy of the same bytes in the same reads. The ratio of the
// two is printed at the end.
#include "link/frames.h"
#include "link/message_link.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr size_t kRead = 8192;

// Frames of 148 entries covering the whole table, twice, with two different values for each id
// so that every store changes the set.
std::vector<uint8_t> valuesStream()
{
    SETTINGS_MAP a, b;
    for (uint16_t id = orba::firstSettingId(); id != SETTINGS_END; id = orba::nextSettingId(id))
        b.setIndex(id, b.getRaw(id) == b.getRawMax(id) ? b.getRawMin(id) : b.getRawMax(id), CHANGE_LOCAL);
    std::vector<uint8_t> stream;
    for (int round = 0; round < 32; ++round) {
        const SETTINGS_MAP &set = round % 2 ? b : a;
        uint8_t frame[orba::VALUES_FRAME_MAX];
        uint16_t id = orba::firstSettingId();
        while (id != SETTINGS_END) {
            uint16_t n = 0;
            for (; n < orba::VALUES_PER_FRAME && id != SETTINGS_END; id = orba::nextSettingId(id))
                if (orba::putSettingEntry(frame + orba::VALUES_HEADER_SIZE + n * orba::VALUE_ENTRY_SIZE, set,
                                          id))
                    ++n;
            const size_t length = orba::putValuesHeader(frame, orba::TARGET_LIVE, 1, 1, n);
            stream.insert(stream.end(), frame, frame + length);
        }
    }
    return stream;
}

const std::vector<uint8_t> &stream()
{
    static const std::vector<uint8_t> s = valuesStream();
    return s;
}

void markToShow(void *flags, uint16_t id, ChangeSource)
{
    static_cast<SETTINGS_FLAGS *>(flags)->set(id);
}

void ReassembleAndDispatchValues(benchmark::State &state)
{
    SETTINGS_MAP live;
    SETTINGS_FLAGS toShow;
    live.setChangeCallback(&markToShow, &toShow);
    LinkContext context;
    context.live = &live;
    MessageLink link(context);
    const auto &bytes = stream();
    for (auto _ : state) {
        for (size_t at = 0; at < bytes.size(); at += kRead)
            link.feed(bytes.data() + at, std::min(kRead, bytes.size() - at));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(ReassembleAndDispatchValues);

void MemcpyOfTheSameBytes(benchmark::State &state)
{
    const auto &bytes = stream();
    static uint8_t buffer[kRead];
    for (auto _ : state) {
        for (size_t at = 0; at < bytes.size(); at += kRead) {
            std::memcpy(buffer, bytes.data() + at, std::min(kRead, bytes.size() - at));
            benchmark::DoNotOptimize(buffer);
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(MemcpyOfTheSameBytes);

void PackEveryChangedSetting(benchmark::State &state)
{
    SETTINGS_MAP live;
    SETTINGS_FLAGS flags;
    MessageLink link(LinkContext{}); // no transport: the frames are built and dropped
    for (auto _ : state) {
        flags.setAll();
        link.send_changed_values(live, flags);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * SETTINGS_COUNT);
}
BENCHMARK(PackEveryChangedSetting);

// Keeps the console output and remembers each benchmark's byte rate for the ratio.
class RateReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> rates;
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            const auto it = run.counters.find("bytes_per_second");
            if (it != run.counters.end())
                rates[run.benchmark_name()] = it->second.value;
        }
    }
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double dispatch = reporter.rates["ReassembleAndDispatchValues"];
    const double copy = reporter.rates["MemcpyOfTheSameBytes"];
    if (dispatch > 0 && copy > 0)
        std::printf("\nreassembly+dispatch %.1f MB/s, memcpy %.1f MB/s: memcpy is %.1f times faster\n",
                    dispatch / 1e6, copy / 1e6, copy / dispatch);
    benchmark::Shutdown();
    return 0;
}
