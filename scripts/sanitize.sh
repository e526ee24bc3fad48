#!/usr/bin/env bash
# Opt-in sanitizer run: builds into build-asan (address,undefined) or build-tsan (thread) and runs
# the suite there.  Usage: scripts/sanitize.sh [address,undefined|thread] [ctest arguments...]
set -euo pipefail
source "$(dirname "$0")/lib.sh"

kind="${1:-address,undefined}"
shift || true
case "$kind" in
    thread) dir="$ORBA_ROOT/build-tsan" ;;
    *) dir="$ORBA_ROOT/build-asan" ;;
esac
orba_install_packages "${ORBA_PACKAGES[@]}"
# The build runs instrumented tools too (the skin generator), so the options apply to it as well.
export QT_QPA_PLATFORM=offscreen
# die_after_fork=0: end-to-end tests start the simulator as a child of a threaded process.
export TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1 second_deadlock_stack=1 die_after_fork=0 suppressions=$ORBA_ROOT/scripts/tsan.supp}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1 halt_on_error=1}"
ORBA_BUILD="$dir" orba_build -DORBA_SANITIZE="$kind" -DORBA_BUILD_BENCH=OFF
cd "$dir"
ctest --output-on-failure -j "$ORBA_JOBS" -LE soak "$@"
