#!/usr/bin/env bash
# A recording round trip under Wine: xdotool clicks and types into rec_probe while
# `mavorin.exe --record` runs; the recorded file, played back into the same probe, gives the same
# clicks, the same text and the same gaps. Expects DISPLAY and the Wine environment from run.sh.
# Prints one line per check: PASS, FAIL or SKIP and its name.
set -uo pipefail
build=$1
exe="$build/mavorin.exe"
probe="$build/tests/windows/rec_probe.exe"
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; rm -rf "$work"' EXIT

fail_count=0
pass() { echo "PASS $1"; }
fail() { echo "FAIL $1${2:+: $2}"; fail_count=$((fail_count + 1)); }
check() { if [ "$2" = "$3" ]; then pass "$1"; else fail "$1" "expected '$2', got '$3'"; fi; }
winpath() { winepath -w "$1" 2>/dev/null; }
wait_for() {
  for _ in $(seq $(($2 * 10))); do eval "$1" && return 0; sleep 0.1; done
  return 1
}

# A blank in the folder: only a quoted path opens as a macro file, and Wine quotes this one.
mkdir -p "$work/mavorin rec"
log="$work/probe.log" rec="$work/mavorin rec/rec.mvn"
wine "$probe" "$(winpath "$log")" 700 100 &
pids+=("$!")
wait_for '[ -f "$log" ]' 20 || fail "the probe starts"
sleep 1

wine "$exe" --record "$(winpath "$rec")" >"$work/out.txt" 2>"$work/err.txt" &
rec_pid=$!
pids+=("$rec_pid")
wait_for 'grep -qs "tap ESC" "$work/err.txt"' 30 || fail "recording starts" "$(cat "$work/err.txt")"
xdotool mousemove 750 150 click 1
sleep 0.4
xdotool type --delay 60 'Grüße, Wörld {1+2} 5€'
xdotool key Return ctrl+a
sleep 1.3
xdotool type --delay 60 Ende
sleep 0.3
xdotool mousemove 900 250 click 3
sleep 0.2
xdotool mousemove 800 200 click --repeat 2 --delay 150 1
sleep 0.2
xdotool key Escape
wait_for '! kill -0 $rec_pid 2>/dev/null' 20 || fail "recording ends at the stop key"
recorded=$(grep -v '\^\[$' "$log")  # the stop key reached the probe too
: >"$log"
check "the stop key is not recorded" 1 "$(grep -c ESC "$rec")"
check "recording prints one summary line" 1 \
  "$(tr -d '\r' <"$work/out.txt" | grep -c '^recorded 1[0-9] commands: 4 clicks, 2 texts')"

wine "$exe" "$(winpath "$rec")" >/dev/null 2>&1 &
pids+=("$!")
wait_for '[ "$(wc -l <"$log")" -ge "$(echo "$recorded" | wc -l)" ]' 30
sleep 0.5
replayed=$(cat "$log")
check "the replay clicks and types the same" "$(echo "$recorded" | cut -d' ' -f2-)" \
  "$(echo "$replayed" | cut -d' ' -f2-)"
# Each gap over 100 ms comes back within 20 ms, on a machine that has the time to keep it.
gaps() { awk 'NR > 1 { print $1 - t } { t = $1 }'; }
off=$(paste <(echo "$recorded" | gaps) <(echo "$replayed" | gaps) |
  awk '$1 > 100 { printf " %+d", $2 - $1 }')
load=$(cut -d' ' -f1 /proc/loadavg)
if awk -v l="$load" -v n="$(nproc)" 'BEGIN { exit !(l > n) }'; then
  echo "SKIP gaps within 20 ms: the machine is busy (load $load on $(nproc) cores); off by$off ms"
else
  check "gaps over 100 ms within 20 ms (off by$off ms)" "" \
    "$(tr ' ' '\n' <<<"$off" | awk '$1 > 20 || $1 < -20')"
fi
[ $fail_count = 0 ] || { iconv -f CP1252 -t UTF-8 "$rec"; paste <(echo "$recorded") <(echo "$replayed"); }
exit 0
