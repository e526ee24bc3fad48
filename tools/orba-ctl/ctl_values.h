// The processor's values as orba-ctl names, reads and writes them: a parameter of the settings
// table or a global, found by name, shown as the application labels it and as it goes on the wire,
// and set from a text in the value's own units. Pure code on the value holders, no link.
#pragma once

#include "tables/globals_map.h"
#include "tables/settings_map.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace orba::ctl {

struct ValueRef
{
    enum Kind : uint8_t { Setting, Global };
    Kind kind = Setting;
    uint16_t id = 0;

    bool operator==(const ValueRef &other) const { return kind == other.kind && id == other.id; }
};

// Every parameter in table order, then every global in its table order.
std::vector<ValueRef> allValues();

// A parameter or global whose name equals the text, ignoring case and surrounding blanks.
std::optional<ValueRef> findValue(const QString &name);

// The name without the padding some global names carry.
QString valueName(const ValueRef &ref);

// The display text of the current value as the parameter set formats it (a holder's label, or
// "OFF" and "IN"/"OUT" where the set shows those), without surrounding blanks.
QString valueLabel(const ValueRef &ref, const SETTINGS_MAP &live, const GLOBALS_MAP &globals);

// The number a MSG_VALUES or MSG_GLOBALS entry carries: a parameter's value as a float (the
// shortest text that reads back to the same float), an integer, or 0/1 for a switch.
QString valueRaw(const ValueRef &ref, const SETTINGS_MAP &live, const GLOBALS_MAP &globals);

// What a text asks a value to become: a parameter's raw index (floats are quantised to their
// table entry or step as the application quantises a typed value), or a global's value.
struct ParsedValue
{
    bool ok = false;
    uint32_t raw = 0;   // parameters: the holder's raw index or value
    int32_t global = 0; // globals
    QString error;      // why the text was refused, for the user
};

// Accepts one of the value's labels (as `get` prints them, case and blanks ignored), or a number
// in the value's units within its range; for switches also on/off, yes/no, true/false and 1/0.
ParsedValue parseValue(const ValueRef &ref, const QString &text);

// Stores a parsed value as a user edit; true when the stored value changed.
bool applyValue(const ValueRef &ref, const ParsedValue &value, SETTINGS_MAP &live, GLOBALS_MAP &globals);

} // namespace orba::ctl
