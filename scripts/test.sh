#!/usr/bin/env bash
# Builds everything and runs the whole test suite; tests that need a display get a private Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMAVORIN_BENCH=ON ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j"$(nproc)"
# A private X server for the tests that talk to a real desktop.
. scripts/xvfb.sh
start_xvfb 1280x1024x24
trap 'kill $XVFB_PID 2>/dev/null || true' EXIT
ctest --test-dir "$build" --output-on-failure -j1 --timeout 600 "$@"
