// Arbitrary bytes from the application's side into the simulated processor: cut into reads of
// varying size, through its reassembler into every handler, then its clocks (meters, flash steps,
// the schedule). Everything it sends must be a whole frame or a whole meter datagram, and what it
// stores must stay in range.
#include "link/meter_datagram.h"
#include "link/wire.h"
#include "sim/sim_processor.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace orba;
using namespace orba::sim;

namespace {

struct CheckingHost : SimHost
{
    void simFrame(const uint8_t *f, size_t n) override
    {
        if (n < EMPTY_FRAME_LENGTH || n > FRAME_MAX_LENGTH || f[0] != 0xA5 || f[1] != 0xA5 ||
            wire::get16(f + 2) != n)
            std::abort();
    }
    void simDatagram(uint16_t port, const uint8_t *d, size_t n) override
    {
        if (port == 0 || n != METER_SIZE || std::memcmp(d, METER_MAGIC, METER_MAGIC_SIZE) != 0)
            std::abort();
    }
};

void checkInRange(const SETTINGS_MAP &set)
{
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id))
        if (set.getRaw(id) < set.getRawMin(id) || set.getRaw(id) > set.getRawMax(id))
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static CheckingHost host;
    static SimProcessor p(&host);
    static QDateTime host_now;
    host_now = QDateTime(QDate(2024, 3, 12), QTime(5, 59, 58));
    p.clock().setHostNow([] { return host_now; });
    p.resetToEmpty();
    // The log reads fields of every frame too; each line names the direction.
    p.setLog([](const std::string &line) {
        if (line.compare(0, 4, "in  ") != 0 && line.compare(0, 4, "out ") != 0 &&
            line.compare(0, 9, "schedule:") != 0)
            std::abort();
    });
    const uint8_t mode = size ? data[0] : 0;
    if (mode & 1)
        p.bank().loadFactoryBank();
    if (mode & 2)
        p.setPassword("fuzz");
    p.connectionOpened();

    const size_t step = size > 1 ? size_t(data[1] % 67) + 1 : 1;
    for (size_t at = 0; at < size; at += step)
        p.feed(data + at, std::min(step, size - at));
    // The input once more as one whole frame, straight to the handlers.
    if (size >= FRAME_MIN_LENGTH && size <= FRAME_MAX_LENGTH)
        p.handleFrame(data, size);

    p.meterTick(0.5);
    p.meterTick(1.7);
    for (int i = 0; i < 10 && p.flashStep(); ++i) {
    }
    p.clockTick();
    host_now = host_now.addSecs(3);
    p.clockTick();

    checkInRange(p.bank().live);
    // Slots take values through the same holders as the live set; one of them is enough per run.
    const SimBank &bank = p.bank();
    if (const int s = size > 1 ? data[1] % PRESET_SLOTS : 0; bank.touched(s))
        checkInRange(bank.values(s));
    if (p.bank().events.size() > size_t(EVENTS_MAX))
        std::abort();
    p.connectionClosed();
    return 0;
}
