#!/usr/bin/env bash
# Figures of the running application against the processor simulator, under a virtual display, for
# one build or for an older build and this one side by side, at one or more skin scales:
#   - start to first painted skinned window: median of several starts, beside a bare Qt window of
#     the same size started in the same rounds (the ratio is the figure that travels between
#     machines);
#   - CPU time per second while on line with meters at 20 datagrams a second, beside the floor under
#     it on this machine: a bare Qt window repainting what a meter frame repaints, as often;
#   - resident memory at the end of that run;
#   - CPU time while off line and idle (no processor, nobody at the window).
#
# Usage: scripts/measure.sh [OPTIONS] [SECONDS [STARTS]]
#   --scale LIST     skin scales written to ap_scale.ini, e.g. 1 or 1,1.5,2 (default 1); repeatable
#   --dpr N          device pixel ratio of the virtual screen (QT_SCALE_FACTOR=N) for every program
#   --before DIR     also measures the build in DIR (its bin/orba and skins/default.skin), as
#                    "before"; this build is "after" (ORBA_BEFORE=DIR does the same)
#   --seconds N      length of the on-line CPU run, at least 10 (default 30)
#   --idle N         length of the off-line idle run, 0 to skip it (default 30)
#   --starts N       starts for each start-up median (default 7)
#   --no-build       measures what is built instead of building first
# The CPU figures count processor time of the whole process (every thread), so they hold on a busy
# machine better than the start-up times, which are wall-clock times: compare start-up only as the
# ratio to the bare window of the same run, and prefer a quiet machine for figures to keep.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

usage() { sed -n '2,/^set -euo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//'; }

scales=()
dpr=""
before="${ORBA_BEFORE:-}"
seconds=30
idle=30
starts=7
build=1
positional=()
while [ $# -gt 0 ]; do
    case "$1" in
        --scale) IFS=',' read -r -a more <<< "${2:?--scale needs a value}"; scales+=("${more[@]}"); shift 2 ;;
        --scale=*) IFS=',' read -r -a more <<< "${1#*=}"; scales+=("${more[@]}"); shift ;;
        --dpr) dpr="${2:?--dpr needs a value}"; shift 2 ;;
        --before) before="${2:?--before needs a folder}"; shift 2 ;;
        --seconds) seconds="${2:?}"; shift 2 ;;
        --idle) idle="${2:?}"; shift 2 ;;
        --starts) starts="${2:?}"; shift 2 ;;
        --no-build) build=""; shift ;;
        -h|--help) usage; exit 0 ;;
        --*) echo "Unknown option $1; see --help." >&2; exit 2 ;;
        *) positional+=("$1"); shift ;;
    esac
done
[ ${#positional[@]} -ge 1 ] && seconds="${positional[0]}"
[ ${#positional[@]} -ge 2 ] && starts="${positional[1]}"
[ ${#scales[@]} -gt 0 ] || scales=(1)
isnum() { [[ "$1" =~ ^[0-9]+([.][0-9]+)?$ ]]; }
for s in "${scales[@]}" ${dpr:+"$dpr"}; do
    isnum "$s" && awk -v s="$s" 'BEGIN {exit !(s >= 0.5 && s <= 4)}' ||
        { echo "A scale must be a number from 0.5 to 4, not \"$s\"." >&2; exit 2; }
done
[[ "$seconds" =~ ^[0-9]+$ ]] && [ "$seconds" -ge 10 ] || { echo "The CPU run needs at least 10 seconds." >&2; exit 2; }
[[ "$idle" =~ ^[0-9]+$ ]] || { echo "--idle takes whole seconds." >&2; exit 2; }
[[ "$starts" =~ ^[0-9]+$ ]] && [ "$starts" -ge 1 ] || { echo "--starts takes a count of at least 1." >&2; exit 2; }
if [ -n "$before" ]; then
    before="$(realpath "$before")"
    [ -x "$before/bin/orba" ] || { echo "No program $before/bin/orba to measure." >&2; exit 2; }
fi

if [ -z "${ORBA_MEASURE_INNER:-}" ]; then
    if [ -n "$build" ]; then
        orba_install_packages "${ORBA_PACKAGES[@]}"
        orba_build >/dev/null
    fi
    export ORBA_MEASURE_INNER=1
    args=(--seconds "$seconds" --idle "$idle" --starts "$starts" --scale "$(IFS=,; echo "${scales[*]}")")
    [ -n "$dpr" ] && args+=(--dpr "$dpr")
    [ -n "$before" ] && args+=(--before "$before")
    exec xvfb-run -a -s "-screen 0 3000x2000x24" "$0" "${args[@]}"
fi

for f in "$ORBA_BUILD/bin/orba" "$ORBA_BUILD/bin/orba-sim" "$ORBA_BUILD/bench/orba-bare-window" \
         "$ORBA_BUILD/skins/default.skin"; do
    [ -e "$f" ] || { echo "$f is missing: build first (or drop --no-build)." >&2; exit 2; }
done
[ -n "$dpr" ] && export QT_SCALE_FACTOR="$dpr"

labels=(); dirs=()
if [ -n "$before" ]; then labels+=(before); dirs+=("$before"); fi
labels+=(after); dirs+=("$ORBA_BUILD")
[ -n "$before" ] || labels=(this)

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
orba_start_sim "$work/sim.log" --port 0 --meter-rate 20 --log
export ORBA_TCP_PORT="$ORBA_SIM_PORT"

# A working folder for one build at one scale, on line or not: device "Simulator", the build's own
# packed default skin, the scale file.
workdir() {
    local dir="$1" build_dir="$2" scale="$3" online="$4"
    mkdir -p "$dir/maps" "$dir/skins"
    local skin="$build_dir/skins/default.skin"
    [ -f "$skin" ] || skin="$ORBA_BUILD/skins/default.skin"
    cp -f "$skin" "$dir/skins/default.skin"
    printf '%s\n' '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>' '<INI>' '<Device' \
        '    IPAddr="127.0.0.1"' '/>' '</INI>' > "$dir/maps/Simulator.cfg"
    printf '%s\n' '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>' '<INI>' '<DEVICE' \
        '    name="Simulator"' '/>' '<OPTIONS' "    ONLINE=\"$online\"" '/>' '</INI>' > "$dir/KELQT.ini"
    printf '[scale]\nX=%s\nY=%s\n' "$scale" "$scale" > "$dir/ap_scale.ini"
}

# Runs a program in a folder until it reports its first paint on standard error; prints the seconds
# from its start, and the window size when it tells it. Stops the program. The report is read from a
# pipe as it comes: a loop that looked for it in a file would take, while the program starts, the
# core its own threads use.
first_paint() {
    local dir="$1"; shift
    local fifo="$work/paint.fifo" start stamp="" pid fd line
    rm -f "$fifo"
    mkfifo "$fifo"
    : > "$work/paint.err"
    start="$(date +%s.%N)"
    (cd "$dir" && exec env ORBA_REPORT_FIRST_PAINT=1 "$@" 2> "$fifo" > /dev/null) &
    pid=$!
    exec {fd}<> "$fifo" # never blocks, also when the program does not start
    while IFS= read -r -t 8 -u "$fd" line; do
        if [[ "$line" =~ first.*paint\ at\ ([0-9.]+) ]]; then
            stamp="${BASH_REMATCH[1]}"
            printf '%s\n' "$line" > "$work/paint.err"
            break
        fi
    done
    exec {fd}<&-
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    rm -f "$fifo"
    [ -n "$stamp" ] || { echo "no paint reported by $*" >&2; return 1; }
    awk -v a="$stamp" -v b="$start" 'BEGIN {print a - b}'
}

median_ms() { sort -n | awk '{a[NR]=$1} END {m = NR % 2 ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2; printf "%.0f", m * 1000}'; }

# Nanoseconds of CPU time of every live thread of a process.
cpu_ns() {
    local pid="$1" sum=0 t v
    for t in /proc/"$pid"/task/*/schedstat; do
        read -r v _ < "$t" 2>/dev/null || continue
        sum=$((sum + v))
    done
    echo "$sum"
}

# Starts orba in a folder and, once it is ready (on line: asking for meters; off line: painted),
# waits 3 s and counts its CPU time over the given seconds. Prints "cpu_ms_per_s rss_kib".
cpu_run() {
    local dir="$1" bin="$2" secs="$3" online="$4"
    local log="$dir/orba.err" ready="" meters0
    meters0="$(grep -c 'in  MSG_METER_REQUEST' "$work/sim.log" || true)"
    (cd "$dir" && exec env ORBA_REPORT_FIRST_PAINT=1 "$bin" > /dev/null 2> "$log") &
    app_pid=$!
    for _ in $(seq 1 200); do
        if [ "$online" = 1 ]; then
            [ "$(grep -c 'in  MSG_METER_REQUEST' "$work/sim.log" || true)" -gt "$meters0" ] && { ready=1; break; }
        else
            grep -q 'first.*paint at' "$log" && { ready=1; break; }
        fi
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ -z "$ready" ]; then
        echo "$bin never got ready (on line: $online); no CPU figure." >&2
        kill "$app_pid" 2>/dev/null || true; wait "$app_pid" 2>/dev/null || true; app_pid=""
        echo "- -"
        return
    fi
    sleep 3
    local c0 c1 s0 s1 rss
    c0="$(cpu_ns "$app_pid")"; s0="$(date +%s.%N)"
    sleep "$secs"
    c1="$(cpu_ns "$app_pid")"; s1="$(date +%s.%N)"
    rss="$(awk '/^VmRSS/ {print $2}' "/proc/$app_pid/status")"
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
    awk -v c="$((c1 - c0))" -v a="$s0" -v b="$s1" -v r="$rss" 'BEGIN {printf "%.2f %d\n", c / 1e6 / (b - a), r}'
}

# CPU time per second of the bare window repainting a meter frame's parts ten times a second, as
# orba's meter timer does: what Qt and the display cost for those repaints alone.
bare_cpu() {
    local size="$1" secs="$2" log="$work/bare.err" ready="" c0 c1 s0 s1
    : > "$log"
    (cd "$work" && exec env ORBA_REPORT_FIRST_PAINT=1 "$ORBA_BUILD/bench/orba-bare-window" \
        "${size%x*}" "${size#*x}" 10 > /dev/null 2> "$log") &
    app_pid=$!
    for _ in $(seq 1 200); do
        grep -q 'first paint at' "$log" && { ready=1; break; }
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ -n "$ready" ]; then
        sleep 3
        c0="$(cpu_ns "$app_pid")"; s0="$(date +%s.%N)"
        sleep "$secs"
        c1="$(cpu_ns "$app_pid")"; s1="$(date +%s.%N)"
    fi
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
    [ -n "$ready" ] || { echo "-"; return; }
    awk -v c="$((c1 - c0))" -v a="$s0" -v b="$s1" 'BEGIN {printf "%.2f\n", c / 1e6 / (b - a)}'
}

declare -A fig
size_of_scale=""
for scale in "${scales[@]}"; do
    for i in "${!labels[@]}"; do
        workdir "$work/${labels[$i]}-$scale-on" "${dirs[$i]}" "$scale" 1
        workdir "$work/${labels[$i]}-$scale-off" "${dirs[$i]}" "$scale" 0
    done
    # A first start of each warms the file cache and tells this build's window size.
    size=""
    for i in "${!labels[@]}"; do
        first_paint "$work/${labels[$i]}-$scale-off" "${dirs[$i]}/bin/orba" > /dev/null
    done
    size="$(grep -o 'paint at [0-9.]* ([0-9]*x[0-9]*)' "$work/paint.err" | grep -o '[0-9]*x[0-9]*' || true)"
    if [ -z "$size" ]; then
        size="$(awk -v s="$scale" 'BEGIN {printf "%dx%d", int(1100 * s + 0.999), int(720 * s + 0.999)}')"
    fi
    size_of_scale+=" $scale=$size"
    # Rounds of bare window, then each build: load that comes and goes falls on all of them.
    declare -A times=()
    for _ in $(seq 1 "$starts"); do
        times[bare]+="$(first_paint "$work" "$ORBA_BUILD/bench/orba-bare-window" "${size%x*}" "${size#*x}") "
        for i in "${!labels[@]}"; do
            times[${labels[$i]}]+="$(first_paint "$work/${labels[$i]}-$scale-on" "${dirs[$i]}/bin/orba") "
        done
    done
    fig[bare,$scale]="$(printf '%s\n' ${times[bare]} | median_ms)"
    fig[floor,$scale]="$(bare_cpu "$size" "$seconds")"
    for i in "${!labels[@]}"; do
        l="${labels[$i]}"
        fig[start,$l,$scale]="$(printf '%s\n' ${times[$l]} | median_ms)"
        cpu_run "$work/$l-$scale-on" "${dirs[$i]}/bin/orba" "$seconds" 1 > "$work/figures"
        read -r "fig[cpu,$l,$scale]" "fig[rss,$l,$scale]" < "$work/figures"
        if [ "$idle" -gt 0 ]; then
            cpu_run "$work/$l-$scale-off" "${dirs[$i]}/bin/orba" "$idle" 0 > "$work/figures"
            read -r "fig[idle,$l,$scale]" _ < "$work/figures"
        fi
    done
    unset times
done

# The report.
pct() { awk -v v="$1" 'BEGIN {if (v == "-") print "-"; else printf "%.2f %%", v / 10}'; }
mib() { awk -v v="$1" 'BEGIN {if (v == "-") print "-"; else printf "%.1f MB", v / 1024}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.1fx", a / b}'; }
echo
echo "scripts/measure.sh: $(date '+%Y-%m-%d %H:%M'), $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
[ -n "$before" ] && echo "  before: $before/bin/orba"
echo "  ${labels[-1]}: $ORBA_BUILD/bin/orba ($(git -C "$ORBA_ROOT" describe --always --dirty 2>/dev/null || echo unknown))"
echo "  on-line runs ${seconds} s with meters at 20 datagrams a second; off-line idle runs ${idle} s;" \
     "start-up medians of $starts starts${dpr:+; device pixel ratio $dpr (QT_SCALE_FACTOR)}"
echo "  window size per scale:$size_of_scale"
header="$(printf '%-44s' '')"
for l in "${labels[@]}"; do header+="$(printf '%16s' "$l")"; done
header+="$(printf '%14s' goal)"
for scale in "${scales[@]}"; do
    echo
    echo "Scale $scale:"
    echo "$header"
    row() {
        local name="$1" goal="$2"; shift 2
        printf '  %-42s' "$name"
        for v in "$@"; do printf '%16s' "$v"; done
        printf '%14s\n' "$goal"
    }
    vals=(); for l in "${labels[@]}"; do vals+=("${fig[start,$l,$scale]} ms"); done
    row "start to first skinned paint" "" "${vals[@]}"
    vals=(); for l in "${labels[@]}"; do vals+=("$(ratio "${fig[start,$l,$scale]}" "${fig[bare,$scale]}")"); done
    row "  times the bare window (${fig[bare,$scale]} ms)" "at most 2x" "${vals[@]}"
    vals=(); for l in "${labels[@]}"; do vals+=("${fig[cpu,$l,$scale]} ms/s"); done
    row "on line, CPU time per second" "" "${vals[@]}"
    vals=(); for l in "${labels[@]}"; do vals+=("$(pct "${fig[cpu,$l,$scale]}")"); done
    row "  share of one core" "at most 0.5 %" "${vals[@]}"
    vals=(); for l in "${labels[@]}"; do vals+=("$(awk -v a="${fig[cpu,$l,$scale]}" -v b="${fig[floor,$scale]}" 'BEGIN {if (a == "-" || b == "-" || b <= 0) print "-"; else printf "%.1fx", a / b}')"); done
    row "  times the floor (${fig[floor,$scale]} ms/s)" "" "${vals[@]}"
    vals=(); for l in "${labels[@]}"; do vals+=("$(mib "${fig[rss,$l,$scale]}")"); done
    goal=""; [ "$scale" = 1 ] && goal="at most 50 MB"
    row "resident memory, on line" "$goal" "${vals[@]}"
    if [ "$idle" -gt 0 ]; then
        vals=(); for l in "${labels[@]}"; do vals+=("$(awk -v v="${fig[idle,$l,$scale]}" -v s="$idle" 'BEGIN {if (v == "-") print "-"; else printf "%.0f ms", v * s}')"); done
        row "off line idle, CPU time in $idle s" "" "${vals[@]}"
        vals=(); for l in "${labels[@]}"; do vals+=("$(pct "${fig[idle,$l,$scale]}")"); done
        row "  share of one core" "at most 0.1 %" "${vals[@]}"
    fi
done
