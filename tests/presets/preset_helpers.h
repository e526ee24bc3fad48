// Shared by the preset tests: parameter sets with known values and small file helpers.
#pragma once

#include "preset_samples.h"
#include "tables/settings_map.h"
#include "test_files.h"

#include <QByteArray>
#include <QString>

namespace orba::test {

// Moves every parameter away from its default (to its maximum, or its minimum where the default
// is the maximum); with shift, one step further in, so two sets made with and without it differ
// everywhere a parameter has more than two values.
void changeEveryParameter(SETTINGS_MAP &set, bool shift = false);

// Ids used by the tests, all outside the installation parameters unless named so.
constexpr uint16_t PEQ_POSITION = 768;    // integer 0..1
constexpr uint16_t PEQ_MASTER_IN = 769;   // boolean
constexpr uint16_t PEQ1_LIFT = 782;       // float -14..14, default 6
constexpr uint16_t PEQ1_FREQ = 774;       // float 20..20000
constexpr uint16_t INPUT_LINE_GAIN = 257; // installation parameter, float

} // namespace orba::test
