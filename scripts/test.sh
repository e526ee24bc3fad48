#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite headless.
# Soak runs are opt-in: ORBA_TEST_LABELS=soak scripts/test.sh
set -euo pipefail
source "$(dirname "$0")/lib.sh"

orba_install_packages "${ORBA_PACKAGES[@]}"
orba_build
export QT_QPA_PLATFORM=offscreen
cd "$ORBA_BUILD"
if [ -n "${ORBA_TEST_LABELS:-}" ]; then
    ctest --output-on-failure -j "$ORBA_JOBS" -L "$ORBA_TEST_LABELS"
else
    ctest --output-on-failure -j "$ORBA_JOBS" -LE soak
fi
