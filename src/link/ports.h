// The ports of the link: the processor's TCP port and the first local UDP port for meters. Both
// have fixed defaults and can be moved, for tests and for side-by-side runs, through the
// environment (ORBA_TCP_PORT, ORBA_METER_PORT) or, in process, through the setters.
#pragma once

#include <cstdint>

namespace orba {

constexpr uint16_t PROCESSOR_PORT = 55895;
constexpr uint16_t METER_FIRST_PORT = 60001;
constexpr int METER_PORT_TRIES = 10;

// A port set through the setter, else $ORBA_TCP_PORT, else 55895.
uint16_t processorPort();
void setProcessorPort(uint16_t port); // 0: back to the environment or the default
// A port set through the setter, else $ORBA_METER_PORT, else 60001.
uint16_t meterFirstPort();
void setMeterFirstPort(uint16_t port);

} // namespace orba
