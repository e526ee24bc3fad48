#!/usr/bin/env bash
# Opt-in fuzzing: builds the libFuzzer targets with clang into build-fuzz and runs one of them.
#   scripts/fuzz.sh                 lists the targets
#   scripts/fuzz.sh TARGET [SECONDS] runs TARGET (default 300 s) with its corpus in fuzz/corpus/TARGET
set -euo pipefail
source "$(dirname "$0")/lib.sh"

orba_install_packages "${ORBA_PACKAGES[@]}" clang libclang-rt-14-dev
dir="$ORBA_ROOT/build-fuzz"
CC=clang CXX=clang++ ORBA_BUILD="$dir" orba_build -DORBA_FUZZ=ON -DORBA_BUILD_TESTS=OFF -DORBA_BUILD_BENCH=OFF \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++

if [ $# -eq 0 ]; then
    ls "$dir/fuzz"
    exit 0
fi
target="$1"
seconds="${2:-300}"
corpus="$ORBA_ROOT/fuzz/corpus/$target"
work="$dir/corpus/$target"
mkdir -p "$work"
[ -d "$corpus" ] && cp -n "$corpus"/* "$work"/ 2>/dev/null || true
export QT_QPA_PLATFORM=offscreen
"$dir/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 "$work"
