#!/usr/bin/env bash
# Runs the Windows test programs and the end-to-end checks under Wine on a private Xvfb.
# Usage: tests/windows/run.sh BUILD_DIR   (BUILD_DIR holds the cross build, e.g. build-win)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)

export WINEPREFIX=${MAVORIN_WINEPREFIX:-${HOME:-/root}/.cache/mavorin-wine}
# No Mono/Gecko prompts; a crash ends the program instead of waiting in the debugger.
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
mkdir -p "$(dirname "$WINEPREFIX")"

. "$here/../../scripts/xvfb.sh"
start_xvfb 1280x1024x24
cleanup() {
  wineserver -k 2>/dev/null || true
  kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT

# A server left from an earlier run talks to a display that is gone.
wineserver -k 2>/dev/null || true
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "windows: creating the Wine prefix $WINEPREFIX"
  wineboot --init >/dev/null 2>&1
fi
wineserver -w 2>/dev/null || true

passed=0 failed=0 skipped=0
# Runs one GoogleTest program and adds its counts.
gtest() {
  local name=$1 exe=$2 log
  log=$(mktemp)
  timeout 900 wine "$exe" --gtest_color=no >"$log" 2>&1
  local rc=$?
  local p f s
  p=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$log" | tail -n1)
  f=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' "$log" | tail -n1)
  s=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) test.*/\1/p' "$log" | tail -n1)
  p=${p:-0} f=${f:-0} s=${s:-0}
  if [ "$rc" -ne 0 ] && [ "$f" -eq 0 ]; then f=1; fi  # crashed or hung
  [ "$rc" -ne 0 ] && grep -v '^\[       OK \]' "$log" | tail -n 60 | sed "s/^/  $name| /"  # why it failed
  echo "windows $name: $p passed, $f failed, $s skipped"
  passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s))
  rm -f "$log"
}

gtest unit_tests "$build/tests/windows/unit_tests.exe"
gtest win32_tests "$build/tests/windows/win32_tests.exe"

# End-to-end: the real program on the Wine desktop; each check prints PASS, FAIL or SKIP.
e2e_log=$(mktemp)
bash "$here/e2e.sh" "$build" | tee "$e2e_log"
passed=$((passed + $(grep -c '^PASS' "$e2e_log")))
failed=$((failed + $(grep -c '^FAIL' "$e2e_log")))
skipped=$((skipped + $(grep -c '^SKIP' "$e2e_log")))
rm -f "$e2e_log"

echo "windows: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
