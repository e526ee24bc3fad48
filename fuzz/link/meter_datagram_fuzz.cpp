// Arbitrary datagrams through the meter receiver's check: only a 604-byte datagram with the magic,
// kind 2 and the current counter may be kept, and a kept one must come back whole from fetch.
#include "link/meter.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static METERIFACE meters(nullptr, nullptr, 0);
    if (size && data[0] == 0x17)
        meters.nextRequestCounter();
    const uint8_t counter = meters.requestCounter();
    const bool valid = size == orba::METER_SIZE && std::memcmp(data, orba::METER_MAGIC, 16) == 0 &&
                       data[orba::METER_KIND_AT] == orba::METER_KIND &&
                       data[orba::METER_COUNTER_AT] == counter;
    const bool kept = meters.check_datagram(data, size);
    if (kept != valid)
        std::abort();
    uint8_t out[orba::METER_SIZE];
    const int fetched = meters.fetch(out);
    if (kept && (fetched != 0 || std::memcmp(out, data, orba::METER_SIZE) != 0))
        std::abort();
    if (!kept && fetched == 0)
        std::abort();
    if (size >= orba::METER_SIZE)
        (void)orba::readMeterHeader(data);
    return 0;
}
