// The constant object lists that bind skin objects to the control panels: {number, skin name}
// pairs ending with number 0. Numbers are unique within one panel only.
#pragma once

#include <cstdint>

struct ControlObjectDef
{
    uint32_t number; // 0 ends a list
    const char *name;
};

namespace orba::panels {

extern const ControlObjectDef kMainObjects[];
extern const ControlObjectDef kSystemObjects[];
extern const ControlObjectDef kCompressorObjects[];
extern const ControlObjectDef kParametricObjects[];
extern const ControlObjectDef kInputObjects[];
extern const ControlObjectDef kAmHdObjects[];
extern const ControlObjectDef kFMOutObjects[];
extern const ControlObjectDef kAmTxObjects[];

} // namespace orba::panels
