#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time from its seed corpus.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 40)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-40}
build=${BUILD_DIR:-build-fuzz}
cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j"$(nproc)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for target in wert sendkeys records macro_file; do
  mkdir -p "$work/$target"
  echo "== fuzz_$target for ${seconds}s"
  if ! (cd "$work" && "$OLDPWD/$build/fuzz_$target" -max_total_time="$seconds" -max_len=8192 \
        -timeout=10 -print_final_stats=1 "$work/$target" "$OLDPWD/fuzz/corpus/$target" \
        >"$work/$target.log" 2>&1); then
    echo "fuzz_$target found a problem:"; tail -n 40 "$work/$target.log"; status=1
    cp "$work"/crash-* "$work"/timeout-* fuzz/ 2>/dev/null || true
  else
    grep -E 'stat::number_of_executed_units|Done' "$work/$target.log" | tail -n 2
  fi
done
exit $status
