# Shared by the scripts: package installation and the build.
# shellcheck shell=bash

ORBA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ORBA_BUILD="${ORBA_BUILD:-$ORBA_ROOT/build}"
ORBA_JOBS="${ORBA_JOBS:-$(nproc 2>/dev/null || echo 2)}"

ORBA_PACKAGES=(cmake g++ make pkg-config qt6-base-dev libexpat1-dev libgtest-dev libgmock-dev libbenchmark-dev
               xvfb xauth fonts-dejavu-core)

# Installs the Debian packages that are missing (as root, or through sudo).
orba_install_packages() {
    local missing=()
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Please install as root: ${missing[*]}" >&2; return 1; }
        sudo=(sudo)
    fi
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configures (once) and builds everything into $ORBA_BUILD; extra arguments go to cmake.
orba_build() {
    cmake -S "$ORBA_ROOT" -B "$ORBA_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$ORBA_BUILD" -j "$ORBA_JOBS"
}

# As orba_build, but quiet: the full output goes to $ORBA_BUILD/build.log and the terminal shows one
# line that follows the build's progress; on failure the log's end is shown.
orba_build_quiet() {
    mkdir -p "$ORBA_BUILD"
    local log="$ORBA_BUILD/build.log"
    local status=0 width last shown=""
    width="$(tput cols 2>/dev/null || echo 80)"
    (cmake -S "$ORBA_ROOT" -B "$ORBA_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" &&
        cmake --build "$ORBA_BUILD" -j "$ORBA_JOBS") > "$log" 2>&1 &
    local pid=$!
    while kill -0 "$pid" 2>/dev/null; do
        if [ -t 1 ]; then
            last="$(tail -n 1 "$log" 2>/dev/null || true)"
            last="${last:0:$((width > 20 ? width - 11 : 9))}"
            if [ "$last" != "$shown" ]; then
                printf '\r\033[KBuilding: %s' "$last"
                shown="$last"
            fi
        fi
        sleep 0.3
    done
    wait "$pid" || status=$?
    if [ -t 1 ]; then printf '\r\033[K'; fi
    if [ "$status" -ne 0 ]; then
        echo "The build failed; the end of $log:" >&2
        tail -n 40 "$log" >&2
        return "$status"
    fi
    echo "Built (log: $log)"
}

# Prepares a working folder whose current device is the processor simulator on 127.0.0.1, on-line
# wanted, with the packed default skin; settings already there are kept.
orba_sim_workdir() {
    local dir="$1"
    mkdir -p "$dir/maps" "$dir/skins"
    cp -f "$ORBA_BUILD/skins/default.skin" "$dir/skins/default.skin"
    if [ ! -f "$dir/maps/Simulator.cfg" ]; then
        printf '%s\n' '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>' '<INI>' '<Device' \
            '    IPAddr="127.0.0.1"' '/>' '</INI>' > "$dir/maps/Simulator.cfg"
    fi
    if [ ! -f "$dir/KELQT.ini" ]; then
        printf '%s\n' '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>' '<INI>' '<DEVICE' \
            '    name="Simulator"' '/>' '<OPTIONS' '    ONLINE="1"' '/>' '</INI>' > "$dir/KELQT.ini"
    fi
}

# Starts orba-sim in the background with its output in LOG and the other arguments after it, and
# waits until it listens. Sets ORBA_SIM_PID and ORBA_SIM_PORT (the port it listens on).
orba_start_sim() {
    local log="$1"
    shift
    "$ORBA_BUILD/bin/orba-sim" "$@" > "$log" 2>&1 &
    ORBA_SIM_PID=$!
    local _
    for _ in $(seq 1 100); do
        grep -q "listening on" "$log" 2>/dev/null && break
        kill -0 "$ORBA_SIM_PID" 2>/dev/null || { echo "orba-sim did not start:" >&2; cat "$log" >&2; return 1; }
        sleep 0.1
    done
    ORBA_SIM_PORT="$(grep -o '127\.0\.0\.1:[0-9]*' "$log" | head -1 | cut -d: -f2)"
    [ -n "$ORBA_SIM_PORT" ] || { echo "orba-sim is not listening:" >&2; cat "$log" >&2; return 1; }
}

# Stops the simulator started by orba_start_sim, if it still runs.
orba_stop_sim() {
    if [ -n "${ORBA_SIM_PID:-}" ] && kill -0 "$ORBA_SIM_PID" 2>/dev/null; then
        kill "$ORBA_SIM_PID" 2>/dev/null || true
        wait "$ORBA_SIM_PID" 2>/dev/null || true
    fi
}
