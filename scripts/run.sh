#!/usr/bin/env bash
# Installs what is missing, builds, prepares a working folder whose current device is the processor
# simulator on this machine, starts orba-sim in the background and the application in the
# foreground, and stops the simulator when the application exits.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

orba_install_packages "${ORBA_PACKAGES[@]}"
orba_build

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
    echo "No display found. Run it under a virtual display, for example:"
    echo "    xvfb-run -s \"-screen 0 1600x1000x24\" $0"
    exit 1
fi

work="${ORBA_WORK:-$ORBA_BUILD/run}"
mkdir -p "$work/maps" "$work/skins" "$work/sim-state"
cd "$work"
# The packed default skin: what a first start (no KELQT.ini yet) loads from skins/.
cp -f "$ORBA_BUILD/skins/default.skin" skins/default.skin

# The simulator as the current device, on-line wanted; settings the user changed later are kept.
if [ ! -f maps/Simulator.cfg ]; then
    cat > maps/Simulator.cfg <<'CFG'
<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<INI>
<Device
    IPAddr="127.0.0.1"
/>
</INI>
CFG
fi
if [ ! -f KELQT.ini ]; then
    cat > KELQT.ini <<'INI'
<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<INI>
<DEVICE
    name="Simulator"
/>
<OPTIONS
    ONLINE="1"
/>
</INI>
INI
fi

port="${ORBA_TCP_PORT:-55895}"
export ORBA_TCP_PORT="$port"
sim_log="$work/orba-sim.log"
"$ORBA_BUILD/bin/orba-sim" --port "$port" --state "$work/sim-state" > "$sim_log" 2>&1 &
sim_pid=$!
stop_sim() {
    if kill -0 "$sim_pid" 2>/dev/null; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
}
trap stop_sim EXIT INT TERM

# The application retries on its own, but starting once the simulator listens avoids a first
# "Offline".
for _ in $(seq 1 50); do
    grep -q "listening on" "$sim_log" 2>/dev/null && break
    kill -0 "$sim_pid" 2>/dev/null || { echo "orba-sim did not start:" >&2; cat "$sim_log" >&2; exit 1; }
    sleep 0.1
done

"$ORBA_BUILD/bin/orba" "$@"
