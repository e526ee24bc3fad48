#!/usr/bin/env bash
# Start / use / exit cycles of the application against the processor simulator, under a window
# manager on a virtual display, driven as a user drives it: the pop-up menu, the About box, the
# devices and version dialogs, on-line mode off and on, then the exit, in turn through File / Exit,
# the skin's close button and the window manager's close (Alt+F4). Every exit must end with status
# 0 and, in an instrumented build, without a sanitizer report.
#
# Usage: scripts/cycles.sh [cycles (default 20)]
#   ORBA_SANITIZE=address   build into build-asan with AddressSanitizer and run that build
#   ORBA_CYCLES_LOG=DIR     keep each cycle's output there (default: a temporary folder)
#   ORBA_CYCLES_SHOTS=1     and a screenshot after each step of the first cycle
#   ORBA_CYCLES_BUILT=DIR   run the programs already built in DIR (another checkout's build) as they are
set -euo pipefail
source "$(dirname "$0")/lib.sh"

cycles="${1:-20}"
if [ -z "${ORBA_CYCLES_INNER:-}" ]; then
    orba_install_packages "${ORBA_PACKAGES[@]}" xdotool openbox
    if [ -n "${ORBA_CYCLES_BUILT:-}" ]; then
        export ORBA_BUILD="$ORBA_CYCLES_BUILT"
    elif [ -n "${ORBA_SANITIZE:-}" ]; then
        export ORBA_BUILD="$ORBA_ROOT/build-${ORBA_SANITIZE//,/-}"
        launcher=()
        command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
        cmake -S "$ORBA_ROOT" -B "$ORBA_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
            -DORBA_SANITIZE="$ORBA_SANITIZE" -DORBA_BUILD_TESTS=OFF -DORBA_BUILD_BENCH=OFF >/dev/null
        cmake --build "$ORBA_BUILD" -j "$ORBA_JOBS" --target orba orba-sim orba_default_skin >/dev/null
    else
        orba_build >/dev/null
    fi
    export ORBA_CYCLES_INNER=1
    exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$@"
fi

bin="$ORBA_BUILD/bin"
work="$(mktemp -d)"
logs="${ORBA_CYCLES_LOG:-$work/logs}"
mkdir -p "$logs"
wm_pid=""
cleanup() {
    orba_stop_sim
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
    rm -rf "$work/run"
    if [ -z "${ORBA_CYCLES_LOG:-}" ]; then rm -rf "$work"; fi
}
trap cleanup EXIT

openbox >/dev/null 2>&1 &
wm_pid=$!
mkdir -p "$work/run"
orba_sim_workdir "$work/run"
orba_start_sim "$work/sim.log" --port 0 --meter-rate 20
export ORBA_TCP_PORT="$ORBA_SIM_PORT"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=0:exitcode=99}"

# The main window of a process once it is mapped: the splash screen before it has the same name,
# so the window is told by its width.
window_of() {
    local pid="$1" id width
    for _ in $(seq 1 300); do
        for id in $(xdotool search --onlyvisible --pid "$pid" --name '^ORBA$' 2>/dev/null || true); do
            width="$(xdotool getwindowgeometry "$id" 2>/dev/null | awk '/Geometry/ {split($2, g, "x"); print g[1]}')"
            [ "${width:-0}" -ge 1000 ] && { echo "$id"; return 0; }
        done
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# A screenshot of the step just done, when asked for (first cycle only).
shot() {
    if [ -n "${ORBA_CYCLES_SHOTS:-}" ] && [ "$n" -eq 1 ]; then
        import -window root "$logs/step-$1.png" 2>/dev/null || true
    fi
}

# Opens the pop-up menu on the skin's background and walks it with keys: the first Down selects
# "File", Right opens the selected menu on its first entry.
menu() {
    local win="$1"
    shift
    xdotool mousemove --window "$win" 990 640 click 3 || true
    sleep 0.3
    xdotool key --delay 60 "$@" || true
    sleep 0.4
}

# Closes whatever dialog is in front with Escape, unless the main window is in front.
dismiss() {
    local win="$1" active
    active="$(xdotool getactivewindow 2>/dev/null || true)"
    if [ -n "$active" ] && [ "$active" != "$win" ]; then
        xdotool key Escape || true
    fi
    sleep 0.3
}

failures=0
for n in $(seq 1 "$cycles"); do
    log="$logs/cycle-$n.log"
    (cd "$work/run" && exec "$bin/orba") > "$log" 2>&1 &
    pid=$!
    if ! win="$(window_of "$pid")"; then
        echo "cycle $n: no window" >&2
        failures=$((failures + 1))
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        continue
    fi
    xdotool windowactivate --sync "$win" 2>/dev/null || true
    sleep 0.5
    menu "$win" Down Right Return # File / About...
    shot 1-about
    xdotool mousemove --window "$win" 550 360 click 1 || true # the About box goes on a click
    sleep 0.3
    menu "$win" Down Down Right Return # Hardware / Devices...
    shot 2-devices
    dismiss "$win"
    menu "$win" Down Down Right Down Return # Hardware / On-Line Mode: off
    sleep 0.3
    shot 3-offline
    menu "$win" Down Down Right Down Return # and on again
    sleep 1
    shot 4-online
    menu "$win" Down Down Right Up Up Up Return # Hardware / Version...
    shot 5-version
    dismiss "$win"
    shot 6-before-exit
    case $((n % 3)) in
        0) menu "$win" Down Right Up Return ;; # File / Exit
        1) xdotool mousemove --window "$win" 1078 22 click 1 || true ;; # the skin's close button
        2) xdotool windowactivate --sync "$win" key --clearmodifiers alt+F4 || true ;;
    esac
    status=0
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "cycle $n: still running 10 s after the exit; killed" >&2
        kill -9 "$pid" 2>/dev/null || true
        status=124
    fi
    wait "$pid" 2>/dev/null || status=$?
    if [ "$status" -ne 0 ] || grep -q "ERROR: AddressSanitizer\|runtime error:\|malloc(): \|free(): " "$log"; then
        echo "cycle $n: exit status $status" >&2
        grep -m5 "ERROR\|runtime error\|malloc\|free()" "$log" >&2 || true
        failures=$((failures + 1))
    fi
done
echo "cycles: $cycles, failures: $failures"
[ "$failures" -eq 0 ]
