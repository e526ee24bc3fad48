#!/usr/bin/env bash
# Installs what is missing, builds, prepares a working folder whose current device is the processor
# simulator on this machine, starts orba-sim in the background and the application in the
# foreground, and stops the simulator when the application exits. The build shows one progress line
# (its full output in build/build.log); ORBA_DEBUG=1 lets the application's debug lines through.
set -euo pipefail
# The simulator always runs; "--sim" is still accepted.
if [ "${1:-}" = "--sim" ]; then
    shift
fi
source "$(dirname "$0")/lib.sh"

orba_install_packages "${ORBA_PACKAGES[@]}"
orba_build_quiet

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
    echo "No display found. Run it under a virtual display, for example:"
    echo "    xvfb-run -s \"-screen 0 1600x1000x24\" $0"
    exit 1
fi

work="${ORBA_WORK:-$ORBA_BUILD/run}"
orba_sim_workdir "$work"
cd "$work"

# The simulator keeps its presets and settings in the working folder from one run to the next.
trap orba_stop_sim EXIT INT TERM
orba_start_sim "$work/orba-sim.log" --port "${ORBA_TCP_PORT:-55895}" --state "$work/sim-state"
export ORBA_TCP_PORT="$ORBA_SIM_PORT"
echo "orba-sim listens on 127.0.0.1:$ORBA_SIM_PORT (log: $work/orba-sim.log)"

"$ORBA_BUILD/bin/orba" "$@"
