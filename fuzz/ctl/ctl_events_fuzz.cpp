// Arbitrary texts as orba-ctl's events file: every event taken must print as a line that reads
// back as the same event, and a refusal must say why.
#include "ctl_schedule.h"

#include <cstdint>
#include <cstdlib>

using namespace orba;
using namespace orba::ctl;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), int(size));
    const SchedulePlan plan = parseEventsText(text, size % 2 == 0);
    if (!plan.error.isEmpty() && !plan.events.empty())
        std::abort();
    if (plan.events.size() > size_t(EVENTS_MAX))
        std::abort();
    for (const ScheduleEvent &e : plan.events) {
        ScheduleEvent back;
        QString why;
        if (!parseEventLine(eventLine(e), back, &why) || !(back == e))
            std::abort();
        if (schedulePackets({e}).at(0).count != 1)
            std::abort();
    }
    return 0;
}
