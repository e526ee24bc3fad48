// The 604-byte meter datagram: the processor's meter readings with its clock and SNTP settings.
// Pure layout code: the check the receiver applies, the readers of the header fields, and a
// builder for the simulator and the tests.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orba {

constexpr size_t METER_SIZE = 604;
constexpr char METER_MAGIC[] = "CV_QPL_METERMSG_"; // 16 characters, no terminator on the wire
constexpr size_t METER_MAGIC_SIZE = 16;
constexpr uint8_t METER_KIND = 2;

enum MeterOffset : size_t {
    METER_KIND_AT = 16,
    METER_COUNTER_AT = 17,
    METER_CLOCK_AT = 20, // year - 2000, month, day, weekday (0 = Sunday), hour, minute, second
    METER_SNTP_AT = 30,
    METER_SERVER_AT = 32, // IPv4, network order
    METER_TZ_AT = 36,     // seconds, signed
    METER_BODY_AT = 40,   // read by the skin's meter groups
};
constexpr size_t METER_CLOCK_SIZE = 7;
constexpr size_t METER_BODY_SIZE = METER_SIZE - METER_BODY_AT;

enum class MeterCheck { Accepted, WrongSize, WrongMagic, WrongKind, WrongCounter };

// Accepted only for exactly 604 bytes with the magic, kind 2 and the current request counter.
MeterCheck checkMeterDatagram(const uint8_t *bytes, size_t size, uint8_t counter);

struct MeterHeader
{
    uint8_t counter = 0;
    uint8_t clock[METER_CLOCK_SIZE] = {};
    bool sntp = false;
    uint8_t server[4] = {};
    int32_t tzOffset = 0;
};

MeterHeader readMeterHeader(const uint8_t *datagram);
// A datagram with the magic and kind; body (564 bytes) may be null for zeros.
void buildMeterDatagram(uint8_t *out, const MeterHeader &header, const uint8_t *body);

} // namespace orba
