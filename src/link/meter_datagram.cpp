#include "link/meter_datagram.h"

#include "link/wire.h"

#include <cstring>

namespace orba {

MeterCheck checkMeterDatagram(const uint8_t *bytes, size_t size, uint8_t counter)
{
    if (size != METER_SIZE)
        return MeterCheck::WrongSize;
    if (std::memcmp(bytes, METER_MAGIC, METER_MAGIC_SIZE) != 0)
        return MeterCheck::WrongMagic;
    if (bytes[METER_KIND_AT] != METER_KIND)
        return MeterCheck::WrongKind;
    if (bytes[METER_COUNTER_AT] != counter)
        return MeterCheck::WrongCounter;
    return MeterCheck::Accepted;
}

MeterHeader readMeterHeader(const uint8_t *datagram)
{
    MeterHeader h;
    h.counter = datagram[METER_COUNTER_AT];
    std::memcpy(h.clock, datagram + METER_CLOCK_AT, METER_CLOCK_SIZE);
    h.sntp = datagram[METER_SNTP_AT] != 0;
    std::memcpy(h.server, datagram + METER_SERVER_AT, 4);
    h.tzOffset = int32_t(wire::get32(datagram + METER_TZ_AT));
    return h;
}

void buildMeterDatagram(uint8_t *out, const MeterHeader &header, const uint8_t *body)
{
    std::memset(out, 0, METER_SIZE);
    std::memcpy(out, METER_MAGIC, METER_MAGIC_SIZE);
    out[METER_KIND_AT] = METER_KIND;
    out[METER_COUNTER_AT] = header.counter;
    std::memcpy(out + METER_CLOCK_AT, header.clock, METER_CLOCK_SIZE);
    out[METER_SNTP_AT] = header.sntp ? 1 : 0;
    std::memcpy(out + METER_SERVER_AT, header.server, 4);
    wire::put32(out + METER_TZ_AT, uint32_t(header.tzOffset));
    if (body)
        std::memcpy(out + METER_BODY_AT, body, METER_BODY_SIZE);
}

} // namespace orba
