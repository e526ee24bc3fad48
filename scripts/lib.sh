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
