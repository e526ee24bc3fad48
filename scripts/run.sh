#!/usr/bin/env bash
# Installs what is missing, builds, and starts the application in its working folder.
#   scripts/run.sh --sim [ARGS]   also starts the processor simulator on 127.0.0.1 (port 55895, its
#                                 presets kept in the working folder's sim-state/) for as long as the
#                                 application runs; add a device with the address 127.0.0.1.
set -euo pipefail
with_sim=0
if [ "${1:-}" = "--sim" ]; then
    with_sim=1
    shift
fi
source "$(dirname "$0")/lib.sh"

orba_install_packages "${ORBA_PACKAGES[@]}"
orba_build

work="${ORBA_WORK:-$ORBA_BUILD/run}"
mkdir -p "$work"
cd "$work"
# The packed default skin: what a first start (no KELQT.ini yet) loads from skins/.
mkdir -p skins
cp -f "$ORBA_BUILD/skins/default.skin" skins/default.skin

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
    echo "No display found. Run it under a virtual display, for example:"
    echo "    xvfb-run -s \"-screen 0 1600x1000x24\" $0"
    exit 1
fi
if [ "$with_sim" = 0 ]; then
    exec "$ORBA_BUILD/bin/orba" "$@"
fi
"$ORBA_BUILD/bin/orba-sim" --state "$work/sim-state" > "$work/orba-sim.log" 2>&1 &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null || true' EXIT
echo "Processor simulator on 127.0.0.1:${ORBA_TCP_PORT:-55895} (log: $work/orba-sim.log)"
"$ORBA_BUILD/bin/orba" "$@"
