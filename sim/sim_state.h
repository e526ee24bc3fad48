// The simulator's state on disk (--state DIR): the preset slots with their values, the live
// settings, the globals, the current preset, the schedule and the clock, as one text file written
// through a temporary file and an atomic rename, so a run that stops at any moment leaves either
// the old state or the new one.
#pragma once

#include "sim/sim_bank.h"
#include "sim/sim_clock.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace orba::sim {

constexpr char STATE_FILE_NAME[] = "orba-sim.state";
constexpr char STATE_MAGIC[] = "ORBA-SIM STATE 1";

QByteArray encodeState(const SimBank &bank, const SimClock &clock);
// Replaces the bank's contents by the text's (starting from an empty processor) and sets the clock.
// False, with nothing changed, when the text is not a state; lines it cannot use are skipped.
bool decodeState(QByteArrayView text, SimBank &bank, SimClock &clock);

enum class StateLoad { Loaded, Missing, Invalid };
StateLoad loadState(const QString &dir, SimBank &bank, SimClock &clock);
bool saveState(const QString &dir, const SimBank &bank, const SimClock &clock);

} // namespace orba::sim
