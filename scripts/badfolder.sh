#!/usr/bin/env bash
# Starts the application in working folders that a careless user or an attacker prepared, one case
# at a time, against orba-sim on 127.0.0.1, and checks each run:
#   - the user's files are byte for byte unchanged (sha256 before and after; a damaged settings
#     file kept aside as NAME.bad counts as kept);
#   - nothing is written outside the working folder (a sentinel folder beside it stays unchanged);
#   - the application did not crash (it is still running when stopped, no sanitizer report);
#   - it went on line (the simulator's log shows the login), where the case leaves that possible.
# Usage: scripts/badfolder.sh [CASE...]   (default: every case; ORBA_BIN picks the binary, e.g. an
# ASan build's, default build/bin/orba; ORBA_BADFOLDER_SECONDS the longest a run lasts, default 15)
# Opt-in: not part of the ctest suite. Needs build/bin/orba-sim and build/skins/default.skin.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

bin="${ORBA_BIN:-$ORBA_BUILD/bin/orba}"
seconds="${ORBA_BADFOLDER_SECONDS:-15}"
all_cases=(temp_link cut_skin nested_skin bomb_skin laughs_skin bad_ini huge_scale bad_package huge_address)
cases=("$@")
[ ${#cases[@]} -gt 0 ] || cases=("${all_cases[@]}")
for f in "$bin" "$ORBA_BUILD/bin/orba-sim" "$ORBA_BUILD/skins/default.skin"; do
    [ -e "$f" ] || { echo "missing $f: build first" >&2; exit 2; }
done

root="$(mktemp -d)"
cleanup() {
    orba_stop_sim
    rm -rf "$root"
}
trap cleanup EXIT
mkdir -p "$root/outside" "$root/logs"
printf 'not yours\n' > "$root/outside/sentinel.txt"
mkdir -p "$root/outside/sub" && printf 'nor this\n' > "$root/outside/sub/deeper.txt"

orba_start_sim "$root/logs/sim.log" --port 0 --log || exit 2

# Every regular file (and link) under a folder with its checksum, links by their target.
fingerprint() {
    (cd "$1" && find . \( -type f -o -type l \) ! -path './sim-state/*' | LC_ALL=C sort | while read -r f; do
        if [ -L "$f" ]; then echo "link $(readlink "$f") $f"; else echo "$(sha256sum < "$f" | cut -c1-64) $f"; fi
    done)
}

# The files the case owns beside the common working folder; sets `online` to 0 where the case
# makes going on line impossible.
make_case() {
    local name="$1" dir="$2"
    mkdir -p "$dir"
    orba_sim_workdir "$dir" > /dev/null
    online=1
    local doctype='<?xml version="1.0"?>'$'\n''<!DOCTYPE skin ['
    case "$name" in
    temp_link)
        # Left by an earlier version as scratch space; now a link to somebody else's folder.
        ln -s "$root/outside" "$dir/skins/temp_skin_dir"
        ;;
    cut_skin)
        head -c -200 "$ORBA_BUILD/skins/default.skin" > "$dir/skins/cut.skin"
        skin_setting "$dir" cut 1
        ;;
    nested_skin)
        mkdir -p "$dir/skins/nested"
        echo '<skin><a><b><c><d><e><f><g><h><i><j/></i></h></g></f></e></d></c></b></a></skin>' \
            > "$dir/skins/nested/skin.xml"
        skin_setting "$dir" nested 0
        ;;
    bomb_skin)
        mkdir -p "$dir/skins/bomb"
        local entities="" i
        for i in $(seq 1 8); do
            entities+="<!ENTITY f$i SYSTEM \"f$i.xml\">"$'\n'
            if [ "$i" -lt 8 ]; then
                printf "&f$((i + 1));%.0s" $(seq 1 10) > "$dir/skins/bomb/f$i.xml"
            else
                echo '<color id="c" rgb="1"/>' > "$dir/skins/bomb/f$i.xml"
            fi
        done
        printf '%s\n%s]>\n<skin>&f1;<image id="x" file="/etc/hostname"/></skin>\n' "$doctype" "$entities" \
            > "$dir/skins/bomb/skin.xml"
        skin_setting "$dir" bomb 0
        ;;
    laughs_skin)
        mkdir -p "$dir/skins/laughs"
        {
            echo "$doctype"
            echo '<!ENTITY a0 "lol">'
            for i in $(seq 1 9); do
                printf '<!ENTITY a%d "' "$i"
                printf "&a$((i - 1));%.0s" $(seq 1 10)
                echo '">'
            done
            echo ']>'
            echo '<skin><font id="&a9;"/></skin>'
        } > "$dir/skins/laughs/skin.xml"
        skin_setting "$dir" laughs 0
        ;;
    bad_ini)
        # Unreadable settings: the current device and the on-line wish are in there.
        printf '<?xml version="1.0"?>\n<INI><DEVICE name="Simulator"\n\001\002 broken' > "$dir/KELQT.ini"
        online=0
        ;;
    huge_scale)
        printf '[scale]\nX=1e300\nY=-99999999999999999999\n' > "$dir/ap_scale.ini"
        ;;
    bad_package)
        mkdir -p "$dir/presets/autoload"
        head -c 3000 /dev/urandom > "$dir/presets/autoload/damaged.pkg"
        ;;
    huge_address)
        # A second device whose address is 5 MB long; the current one stays the simulator.
        {
            printf '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<INI>\n<Device\n    IPAddr="'
            head -c 5242880 /dev/zero | tr '\0' '1'
            printf '"\n/>\n</INI>\n'
        } > "$dir/maps/Huge.cfg"
        ;;
    *)
        echo "unknown case $name" >&2
        return 1
        ;;
    esac
}

# Points the settings at skin NAME, a packed file (1) or a folder (0).
skin_setting() {
    printf '%s\n' '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>' '<INI>' '<DEVICE' \
        '    name="Simulator"' '/>' '<OPTIONS' '    ONLINE="1"' '/>' '<SKIN' "    name=\"$2\"" "    file=\"$3\"" \
        '/>' '</INI>' > "$1/KELQT.ini"
}

# Files the application writes by design, left out of the comparison: the settings it saves (unless
# the case is about them), the current device's record, and the packages it consumes.
mutable_files() {
    local name="$1"
    [ "$name" = bad_ini ] || echo './KELQT.ini'
    echo './maps/Simulator.cfg'
    echo './presets/autoload/'
}

# The fingerprint with each file kept aside under its own name again, in place of the new one.
kept_aside() {
    awk '{ name = $NF; base = name; sub(/(\.[0-9]+)?\.bad$/, "", base)
           if (base != name) { aside[base] = 1; $NF = base } lines[NR] = $0; names[NR] = name }
         END { for (i = 1; i <= NR; ++i) if (!(names[i] in aside)) print lines[i] }'
}

failed=()
for name in "${cases[@]}"; do
    dir="$root/cases/$name"
    make_case "$name" "$dir" || { failed+=("$name"); continue; }
    fingerprint "$dir" | LC_ALL=C sort | grep -v -F -f <(mutable_files "$name") > "$root/logs/$name.before"
    fingerprint "$root/outside" > "$root/logs/$name.outside"
    sim_lines="$(wc -l < "$root/logs/sim.log")"

    (cd "$dir" && exec env QT_QPA_PLATFORM=offscreen ORBA_TCP_PORT="$ORBA_SIM_PORT" \
        ASAN_OPTIONS="log_path=$root/logs/$name.asan:detect_leaks=0" \
        UBSAN_OPTIONS="log_path=$root/logs/$name.ubsan:print_stacktrace=1" \
        "$bin" > "$root/logs/$name.out" 2>&1) &
    pid=$!
    # Until the time is up, or two seconds on line.
    went_online=0
    left=$((seconds * 10))
    while [ "$left" -gt 0 ] && kill -0 "$pid" 2>/dev/null; do
        if [ "$went_online" = 0 ] &&
            tail -n +"$((sim_lines + 1))" "$root/logs/sim.log" | grep -q 'out *MSG_CONNECT'; then
            went_online=1
            [ "$left" -gt 20 ] && left=20
        fi
        left=$((left - 1))
        sleep 0.1
    done
    alive=0
    kill -0 "$pid" 2>/dev/null && alive=1
    kill -TERM "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    status=$?

    problems=()
    [ "$alive" = 1 ] || problems+=("exited early with status $status")
    ls "$root/logs/$name".asan* "$root/logs/$name".ubsan* > /dev/null 2>&1 && problems+=("sanitizer report")
    if [ "$online" = 1 ] && [ "$went_online" = 0 ]; then problems+=("did not go on line"); fi
    # A damaged settings file set aside as NAME.bad (or NAME.N.bad) still holds the user's bytes; the
    # NAME written after it holds the application's defaults.
    fingerprint "$dir" | kept_aside | LC_ALL=C sort | grep -v -F -f <(mutable_files "$name") \
        > "$root/logs/$name.after"
    cmp -s "$root/logs/$name.before" "$root/logs/$name.after" ||
        problems+=("user files changed: $(diff "$root/logs/$name.before" "$root/logs/$name.after" | grep '^[<>]' | head -3 | tr '\n' ' ')")
    fingerprint "$root/outside" | cmp -s - "$root/logs/$name.outside" || problems+=("wrote outside the folder")

    if [ ${#problems[@]} -eq 0 ]; then
        echo "PASS $name"
    else
        echo "FAIL $name: ${problems[*]}"
        for log in "$root/logs/$name".asan* "$root/logs/$name".ubsan*; do
            [ -f "$log" ] && head -30 "$log"
        done
        failed+=("$name")
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "${#failed[@]} of ${#cases[@]} cases failed: ${failed[*]}"
    exit 1
fi
echo "all ${#cases[@]} cases passed"
