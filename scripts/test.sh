#!/usr/bin/env bash
# Builds everything and runs the whole test suite; tests that need a display get a private Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMAVORIN_BENCH=ON ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j"$(nproc)"
# A private X server for the tests that talk to a real desktop.
numfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$numfile" 2>/dev/null &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true; rm -f "$numfile"' EXIT
for _ in $(seq 100); do [ -s "$numfile" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$numfile")"
ctest --test-dir "$build" --output-on-failure -j1 --timeout 600 "$@"
