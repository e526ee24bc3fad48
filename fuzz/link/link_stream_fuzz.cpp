// Arbitrary bytes from the processor's side of the link: cut into reads of varying size, through
// the reassembler into the receive handlers, which store into a live parameter set, the globals,
// the slot list, a pending grab and the records. Every frame is also given to the parsers of the
// processor's side. Afterwards every stored value must be in its range.
#include "../../tests/support/link_world.h"
#include "link/frames.h"
#include "link/message_link.h"
#include "link/meter.h"
#include "link/records.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

struct World : orba::test::LinkWorld
{
    SETTINGS_MAP grabbed;
    METERIFACE meters{nullptr, nullptr, 0};
    LinkHost host;
    std::unique_ptr<MessageLink> link = std::make_unique<MessageLink>(context(&host, &meters));
};

// The processor's side reads what the application sends; those parsers take any frame too.
void parseAsProcessor(const uint8_t *f, size_t n)
{
    uint8_t slot, counter;
    uint16_t port;
    uint32_t crc;
    orba::TakePresetMsg take;
    orba::FwBlockMsg block;
    orba::ClockSetting clock;
    orba::PresetRenameMsg rename;
    orba::ValuesMsg values;
    orba::EventsMsg events;
    orba::parseGrabPreset(f, n, slot);
    orba::parseTakePreset(f, n, take);
    orba::parseConnect(f, n, crc);
    orba::parseMeterRequestUdp(f, n, port, counter);
    orba::parseMeterRequestTcp(f, n, counter);
    orba::parseSetClock(f, n, clock);
    orba::parsePresetRename(f, n, rename);
    if (orba::parseFwBlock(f, n, block) && block.available && block.data[block.available - 1] == 0x5A)
        counter = 1; // touches the last byte reported inside
    if (orba::parseValues(f, n, values) && values.count)
        (void)orba::entryId(values.entries + (values.count - 1) * orba::VALUE_ENTRY_SIZE);
    if (orba::parseEvents(f, n, events) && events.count)
        (void)events.records[events.count * orba::EVENT_RECORD_SIZE - 1];
}

void checkInRange(const SETTINGS_MAP &set)
{
    for (uint16_t id = orba::firstSettingId(); id != SETTINGS_END; id = orba::nextSettingId(id))
        if (set.getRaw(id) < set.getRawMin(id) || set.getRaw(id) > set.getRawMax(id))
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static World world;
    world.grab.begin(3, &world.grabbed);
    world.headerWait.begin(data && size ? data[0] % 80 : 0);
    world.link->reset_assembler();

    // Read sizes from the first byte, so frames straddle reads in many ways.
    const size_t step = size ? size_t(data[0] % 61) + 1 : 1;
    for (size_t at = 0; at < size; at += step)
        world.link->feed(data + at, std::min(step, size - at));

    const FrameAssembler &a = world.link->assembler();
    if (a.state() > FrameAssembler::Collecting || a.count() > orba::FRAME_MAX_LENGTH)
        std::abort();
    if (world.events.count() > orba::EVENTS_MAX)
        std::abort();

    // The input once more as one whole frame, straight to the dispatcher and the parsers.
    if (size >= orba::FRAME_MIN_LENGTH && size <= orba::FRAME_MAX_LENGTH) {
        world.link->dispatch_frame(data, size);
        parseAsProcessor(data, size);
    }
    checkInRange(world.live);
    checkInRange(world.grabbed);
    world.grab.end();
    return 0;
}
