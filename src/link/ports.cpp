#include "link/ports.h"

#include <atomic>
#include <cstdlib>

namespace orba {

namespace {

std::atomic<uint16_t> processorOverride{0};
std::atomic<uint16_t> meterOverride{0};

uint16_t fromEnvironment(const char *name, uint16_t fallback)
{
    const char *text = std::getenv(name);
    if (!text || !*text)
        return fallback;
    char *end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (*end != '\0' || value == 0 || value > 65535)
        return fallback;
    return uint16_t(value);
}

} // namespace

uint16_t processorPort()
{
    const uint16_t set = processorOverride.load();
    return set ? set : fromEnvironment("ORBA_TCP_PORT", PROCESSOR_PORT);
}

void setProcessorPort(uint16_t port)
{
    processorOverride.store(port);
}

uint16_t meterFirstPort()
{
    const uint16_t set = meterOverride.load();
    return set ? set : fromEnvironment("ORBA_METER_PORT", METER_FIRST_PORT);
}

void setMeterFirstPort(uint16_t port)
{
    meterOverride.store(port);
}

} // namespace orba
