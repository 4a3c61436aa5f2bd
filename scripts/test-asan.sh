#!/usr/bin/env bash
# Builds the core with its tests and fuzz replays under the address and undefined-behaviour
# sanitizers, and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
build=${ASAN_BUILD_DIR:-build-asan}
cmake --preset asan -B "$build" -DTARVELLITE_BUILD_UI=OFF -DTARVELLITE_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --timeout 900
