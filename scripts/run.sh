#!/usr/bin/env bash
# Installs what is missing, builds, and starts the application in its working folder.
set -euo pipefail
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
exec "$ORBA_BUILD/bin/orba" "$@"
