#!/usr/bin/env bash
# Figures of the running application against the processor simulator, under a virtual display:
#   - time from process start to the first painted skinned window, beside a bare Qt window of the
#     same size measured in the same run (median of several starts);
#   - CPU time per second of orba while online with meters at 20 datagrams a second;
#   - its resident memory.
# Usage: scripts/measure.sh [seconds of the CPU run, at least 30 (default 30)] [starts (default 7)]
set -euo pipefail
source "$(dirname "$0")/lib.sh"

seconds="${1:-30}"
starts="${2:-7}"
[ "$seconds" -ge 30 ] || { echo "The CPU run needs at least 30 seconds." >&2; exit 2; }

if [ -z "${ORBA_MEASURE_INNER:-}" ]; then
    orba_install_packages "${ORBA_PACKAGES[@]}"
    orba_build >/dev/null
    export ORBA_MEASURE_INNER=1
    exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$@"
fi

bin="$ORBA_BUILD/bin"
work="$(mktemp -d)"
cleanup() {
    orba_stop_sim
    rm -rf "$work"
}
trap cleanup EXIT
orba_sim_workdir "$work"
orba_start_sim "$work/sim.log" --port 0 --meter-rate 20 --log
export ORBA_TCP_PORT="$ORBA_SIM_PORT"

# Seconds from the start of a program to the first paint it reports on standard error.
first_paint() {
    local err="$work/paint.err" start pid stamp=""
    : > "$err"
    start="$(date +%s.%N)"
    ORBA_REPORT_FIRST_PAINT=1 "$@" 2> "$err" > /dev/null &
    pid=$!
    for _ in $(seq 1 300); do
        stamp="$(grep -o 'first.*paint at [0-9.]*' "$err" | grep -o '[0-9.]*$' || true)"
        [ -n "$stamp" ] && break
        sleep 0.05
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    [ -n "$stamp" ] || { echo "no paint reported by $1" >&2; return 1; }
    awk -v a="$stamp" -v b="$start" 'BEGIN {print a - b}'
}

median() { sort -n | awk '{a[NR]=$1} END {m = NR % 2 ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2; printf "%.0f", m * 1000}'; }

cd "$work"
bare=(); app=()
for _ in $(seq 1 "$starts"); do
    bare+=("$(first_paint "$ORBA_BUILD/bench/orba-bare-window")")
    app+=("$(first_paint "$bin/orba")")
done
bare_ms="$(printf '%s\n' "${bare[@]}" | median)"
app_ms="$(printf '%s\n' "${app[@]}" | median)"

# The CPU run: online with meters flowing, then utime + stime over the window.
"$bin/orba" > /dev/null 2>&1 &
app_pid=$!
before_meters="$(grep -c 'in  MSG_METER_REQUEST' "$work/sim.log" || true)"
online=""
for _ in $(seq 1 200); do
    [ "$(grep -c 'in  MSG_METER_REQUEST' "$work/sim.log" || true)" -gt "$before_meters" ] && { online=1; break; }
    sleep 0.1
done
[ -n "$online" ] || { echo "orba never asked the simulator for meters; no CPU figure." >&2; exit 1; }
sleep 3
ticks() { awk '{print $14 + $15}' "/proc/$app_pid/stat"; }
hz="$(getconf CLK_TCK)"
t0="$(ticks)"; s0="$(date +%s.%N)"
sleep "$seconds"
t1="$(ticks)"; s1="$(date +%s.%N)"
rss="$(awk '/^VmRSS/ {print $2}' "/proc/$app_pid/status")"
hwm="$(awk '/^VmHWM/ {print $2}' "/proc/$app_pid/status")"
kill "$app_pid"; wait "$app_pid" 2>/dev/null || true
cpu="$(awk -v t="$((t1 - t0))" -v hz="$hz" -v a="$s0" -v b="$s1" 'BEGIN {print t / hz / (b - a) * 1000}')"

printf 'Start to first painted window (median of %d starts):\n' "$starts"
printf '  orba with the default skin, online start-up: %6d ms\n' "$app_ms"
printf '  bare Qt window of the same size:             %6d ms\n' "$bare_ms"
printf 'orba online, meters at 20 datagrams a second, over %d s:\n' "$seconds"
printf '  CPU time: %.1f ms per second (%.2f %% of one core)\n' "$cpu" "$(awk -v c="$cpu" 'BEGIN {print c / 10}')"
printf '  resident memory: %d KiB now, %d KiB peak\n' "$rss" "$hwm"
