// What the simulator's work costs, without sockets: one meter datagram (the body synthesised and
// the header filled), the answer to a login (the whole state, about 16 KB of frames), a preset take
// and the answer to a frame of 148 live values.
#include "sim/sim_processor.h"

#include <benchmark/benchmark.h>

using namespace orba;
using namespace orba::sim;

namespace {

struct CountingHost : SimHost
{
    size_t bytes = 0;
    void simFrame(const uint8_t *, size_t n) override { bytes += n; }
    void simDatagram(uint16_t, const uint8_t *, size_t n) override { bytes += n; }
};

struct Online
{
    CountingHost host;
    SimProcessor p{&host};
    Online()
    {
        p.bank().loadFactoryBank();
        p.connectionOpened();
    }
    void frame(uint8_t *f, size_t n) { p.handleFrame(f, n); }
};

void MeterDatagram(benchmark::State &state)
{
    Online o;
    uint8_t f[METER_REQUEST_UDP_LENGTH];
    o.frame(f, buildMeterRequestUdp(f, 60001, 1));
    double t = 0;
    for (auto _ : state) {
        o.p.meterTick(t);
        t += 0.05;
    }
    state.SetBytesProcessed(int64_t(o.host.bytes));
}
BENCHMARK(MeterDatagram);

void LoginWithWholeState(benchmark::State &state)
{
    Online o;
    uint8_t f[CONNECT_LENGTH];
    const size_t n = buildConnect(f, CONNECT_NO_DEVICE);
    for (auto _ : state)
        o.frame(f, n);
    state.SetBytesProcessed(int64_t(o.host.bytes));
}
BENCHMARK(LoginWithWholeState);

void TakePreset(benchmark::State &state)
{
    Online o;
    uint8_t f[TAKE_PRESET_LENGTH];
    int slot = 0;
    for (auto _ : state) {
        o.frame(f, buildTakePreset(f, 0, uint8_t(slot)));
        slot = (slot + 1) % 12;
    }
}
BENCHMARK(TakePreset);

void LiveValuesAnswered(benchmark::State &state)
{
    Online o;
    SETTINGS_MAP a, b;
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id))
        b.setIndex(id, b.getRaw(id) == b.getRawMax(id) ? b.getRawMin(id) : b.getRawMax(id), CHANGE_LOCAL);
    uint8_t frames[2][VALUES_FRAME_MAX];
    size_t lengths[2];
    for (int k = 0; k < 2; ++k) {
        const SETTINGS_MAP &set = k ? b : a;
        uint16_t id = firstSettingId();
        uint16_t n = 0;
        for (; n < VALUES_PER_FRAME; id = nextSettingId(id))
            if (putSettingEntry(frames[k] + VALUES_HEADER_SIZE + n * VALUE_ENTRY_SIZE, set, id))
                ++n;
        lengths[k] = putValuesHeader(frames[k], TARGET_LIVE, 1, 1, n);
    }
    int k = 0;
    for (auto _ : state) {
        o.frame(frames[k], lengths[k]);
        k ^= 1;
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * VALUES_PER_FRAME);
}
BENCHMARK(LiveValuesAnswered);

} // namespace

BENCHMARK_MAIN();
