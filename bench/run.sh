#!/usr/bin/env bash
# Runs every benchmark on a private Xvfb and prints the ratios against their peers.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build-bench}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DMAVORIN_BENCH=ON -DMAVORIN_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target bench_files bench_desktop mavorin
. scripts/xvfb.sh
start_xvfb 1920x1080x24
trap 'kill $XVFB_PID 2>/dev/null' EXIT

# Step timing first: the file benchmarks leave the disk and the memory manager busy for a while.
"$build/bench/bench_desktop" timing
# The same with one CPU-bound process of the same priority competing for the same core.
taskset -c 0 sh -c 'while :; do :; done' &
hog=$!
echo -n "under load (one busy process on the same core): "
taskset -c 0 "$build/bench/bench_desktop" timing
kill $hog
# Repetitions interleaved at random, so that a slow spell of the disk hits both sides alike.
files_out=$(mktemp)
"$build/bench/bench_files" --benchmark_repetitions=10 --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true | tee "$files_out"
awk '$1 ~ /_median$/ { sub(/_median$/, "", $1); t[$1] = $2 }
  END {
    printf "files: load %.1fx the bare read (%.1fx for a macro that launches); save %.2fx the durable write (%.2fx)\n",
      t["BM_Load32000/0"] / t["BM_PlainRead32000"], t["BM_Load32000/1"] / t["BM_PlainRead32000"],
      t["BM_Save32000/0"] / t["BM_DurableWrite32000/0"], t["BM_Save32000/1"] / t["BM_DurableWrite32000/1"] }' "$files_out"
rm -f "$files_out"
"$build/bench/bench_desktop" typing
"$build/bench/bench_desktop" capture
"$build/bench/bench_desktop" pixel
# An hour of a watch that never sees a change, on the virtual clock.
dry=$(mktemp -d)
printf '%s\r\n' ".mvn 0000 bench" "code:|000|wait:|10|loop:|0|start:|no|stop:|ESC|" \
  "code:|010|xpos:|20|ypos:|20|break:|0|" >"$dry/watch.mvn"
t0=$(date +%s.%N)
"$build/mavorin" --dry-run --until 3600000 "$dry/watch.mvn" >/dev/null
awk -v a="$t0" -v b="$(date +%s.%N)" 'BEGIN { printf "pixel watch dry run: one hour of watching in %.2f s\n", b - a }'
rm -rf "$dry"

# Idle CPU of the window waiting for its hot key, and of the window running a pixel watch that
# sees no change, against an empty Qt window woken every 10 ms (the toolkit's floor for a 10 ms
# poll), all three measured over the same 30 s. The watched pixel is in a corner no window
# covers: a window mapped over it would be a change and end the watch.
dir=$(mktemp -d)
mkdir "$dir/idle" "$dir/watch"
printf '%s\r\n' ".mvn 0000 bench" "code:|000|wait:|10|loop:|0|start:|no|stop:|ESC|" \
  "code:|010|xpos:|1900|ypos:|1060|break:|0|" "code:|002|xpos:|1|ypos:|1|" >"$dir/watch/watch.mvn"
export XDG_DATA_HOME="$dir/data" XDG_STATE_HOME="$dir/state"
(cd "$dir/idle" && exec "$OLDPWD/$build/mavorin" >/dev/null 2>&1) &
pid=$!
(cd "$dir/watch" && exec "$OLDPWD/$build/mavorin" "$dir/watch/watch.mvn" >/dev/null 2>&1) &
watch=$!
"$build/bench/bench_desktop" idle-peer >/dev/null 2>&1 &
peer=$!
sleep 3
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
a=$(ticks $pid); wa=$(ticks $watch); pa=$(ticks $peer)
sleep 30
b=$(ticks $pid); wb=$(ticks $watch); pb=$(ticks $peer)
hz=$(getconf CLK_TCK)
kill $pid $watch $peer; wait $pid $watch $peer 2>/dev/null || true
rm -rf "$dir"
awk -v t=$((b - a)) -v w=$((wb - wa)) -v p=$((pb - pa)) -v hz="$hz" 'BEGIN {
  printf "idle cpu: mavorin %.2f%% of one core, empty Qt window with a 10 ms timer %.2f%% (ratio %.2f)\n",
         100 * t / hz / 30, 100 * p / hz / 30, p ? t / p : 0
  printf "pixel watch cpu: mavorin %.2f%% of one core while watching (ratio to that window %.2f)\n",
         100 * w / hz / 30, p ? w / p : 0 }'
