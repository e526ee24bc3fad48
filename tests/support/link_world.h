// The records the link's receive handlers store into, and a LinkContext wired to them, for tests
// and fuzzers of what arrives from the processor.
#pragma once

#include "link/message_link.h"
#include "link/records.h"
#include "tables/globals_map.h"
#include "tables/settings_map.h"

namespace orba::test {

struct LinkWorld
{
    SETTINGS_MAP live;
    GLOBALS_MAP globals;
    PresetSlotList presetSlots;
    GrabRecord grab;
    HeaderWaitRecord headerWait;
    VersionRecord version;
    EventList events;
    CurrentPresetRecord current;

    LinkContext context(LinkHost *host, METERIFACE *meters = nullptr)
    {
        LinkContext c;
        c.live = &live;
        c.globals = &globals;
        c.presetSlots = &presetSlots;
        c.grab = &grab;
        c.headerWait = &headerWait;
        c.version = &version;
        c.events = &events;
        c.currentPreset = &current;
        c.meters = meters;
        c.host = host;
        return c;
    }
};

} // namespace orba::test
