#!/usr/bin/env bash
# Takes a picture of the application connected to the processor simulator, under a virtual display:
#   scripts/screenshot.sh [OUT.png (default docs/screenshots/orba-online.png)] [SCREEN (default 4)]
# ORBA_SHOT_GRAPHVIEW picks the main graph's views (bits: 1 controls, 2 audio, 4 gain reduction).
# ORBA_SHOT_CLICKS="X,Y ..." clicks the window at those points (skin coordinates at 100 %) once on
# line, e.g. to pick a multiband row.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

out="$(realpath -m "${1:-$ORBA_ROOT/docs/screenshots/orba-online.png}")"
screen="${2:-4}"
if [ -z "${ORBA_SHOT_INNER:-}" ]; then
    orba_install_packages "${ORBA_PACKAGES[@]}" imagemagick
    [ -z "${ORBA_SHOT_CLICKS:-}" ] || orba_install_packages xdotool
    orba_build >/dev/null
    export ORBA_SHOT_INNER=1
    exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$out" "$screen"
fi

work="$(mktemp -d)"
app_pid=""
cleanup() {
    if [ -n "$app_pid" ]; then
        kill "$app_pid" 2>/dev/null || true
        wait "$app_pid" 2>/dev/null || true
    fi
    orba_stop_sim
    rm -rf "$work"
}
trap cleanup EXIT
orba_sim_workdir "$work"
sed -i "s|    ONLINE=\"1\"|    CONTROL=\"$screen\"\n    ONLINE=\"1\"|" "$work/KELQT.ini"
if [ -n "${ORBA_SHOT_GRAPHVIEW:-}" ]; then
    sed -i "s|    ONLINE=\"1\"|    GRAPHVIEW=\"$ORBA_SHOT_GRAPHVIEW\"\n    ONLINE=\"1\"|" "$work/KELQT.ini"
fi
orba_start_sim "$work/sim.log" --port 0 --log
cd "$work"
ORBA_TCP_PORT="$ORBA_SIM_PORT" "$ORBA_BUILD/bin/orba" > "$work/orba.log" 2>&1 &
app_pid=$!
# On line once the meters were asked for; then a few seconds of meters and graph.
online=""
for _ in $(seq 1 100); do
    grep -q "in  MSG_METER_REQUEST" "$work/sim.log" && { online=1; break; }
    sleep 0.1
done
[ -n "$online" ] || { echo "orba never went online; no screenshot." >&2; exit 1; }
if [ -n "${ORBA_SHOT_CLICKS:-}" ]; then
    wid="$(xdotool search --sync --onlyvisible --pid "$app_pid" | head -1)"
    for point in $ORBA_SHOT_CLICKS; do
        sleep 0.5
        xdotool mousemove --window "$wid" "${point%,*}" "${point#*,}" click 1
    done
fi
sleep 4
mkdir -p "$(dirname "$out")"
import -window root "$work/root.png"
convert "$work/root.png" -trim +repage "$out"
echo "$out"
