// One skin object of a control panel and what it is bound to. The table of every binding
// (binding_table.h) is generated from tools/gen/bindings.txt; the panel lists, the dispatch of
// processor values and the default skin's object list all come from it.
#pragma once

#include <cstdint>

namespace orba::panels {

enum class Source : uint8_t { None, Setting, Global };

// What a change of the bound id runs; Show moves the object by its kind.
enum class Route : uint8_t {
    Show,
    RefreshDerived,
    CompRow,     // a compressor band row
    MbRow,       // a multiband limiter row (ten ids)
    MbEq,        // a multiband equaliser section
    HdEq,        // an HD equaliser section
    Bandwidth,   // the AM Tx and AM HD derived values, then the width refresh
    Width,       // the width refresh
    GraphSource, // the main graph's source buttons
    Delay,       // the delay knobs and display
};

enum BindingFlag : uint8_t {
    kBindingStep = 1,  // a combo whose arrows step the parameter's index
    kBindingOwn = 2,   // the panel handles the user's edits itself
};

struct Binding
{
    int screen; // -1 for the always-visible main panel
    uint32_t number;
    const char *name;
    int kind; // GUI object type code
    Source source;
    uint16_t id;          // setting or global id, 0 for none
    uint16_t idLast;      // the last id of a range route, else id
    int display;          // a knob's value display, else 0
    int value;            // a radio item's value or the combo entry a lamp marks
    int minimum, maximum; // a global knob's range
    const char *units;
    uint32_t access; // restriction bits
    uint8_t flags;
    Route route;
    int row;   // the band row an item selects, else -1
    int group; // the radio group or combo an item or entry lamp belongs to, else 0

    bool has(BindingFlag f) const { return (flags & f) != 0; }
    bool isSetting() const { return source == Source::Setting; }
    bool isGlobal() const { return source == Source::Global; }
};

} // namespace orba::panels
