#!/usr/bin/env bash
# While a box is open nothing else runs: a "reboot" makes exactly one restart request and the
# next step waits for the answer. A stand-in busctl on PATH counts the requests.
. "$(dirname "$0")/lib.sh"
mkdir -p "$dir/bin"
printf '#!/bin/sh\necho "$*" >>"%s/requests"\n' "$dir" >"$dir/bin/busctl"
chmod +x "$dir/bin/busctl"
export PATH="$dir/bin:$PATH"
requests() { cat "$dir/requests" 2>/dev/null | wc -l; }
xdotool mousemove 5 5

play run.mvn "code:|007|pc:|reboot|" "code:|002|xpos:|77|ypos:|77|"
trusted run.mvn  # where files must be approved first
start_mavorin "$dir/run.mvn"
wait_for '[ "$(windows)" = 2 ]' 10
sleep 4
check "run: one request, no step while the box stays open 4 s" "$(requests) $(pointer)" "1 5 5"
xdotool key Return
wait_for '[ "$(pointer)" = "77 77" ]' 5
sleep 0.5
check "run: one request, the macro went on after the box" "$(requests) $(pointer)" "1 77 77"
finish
