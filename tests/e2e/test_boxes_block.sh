#!/usr/bin/env bash
# While a box is open nothing else runs: each "reboot" makes exactly one restart request, in a
# run and in a single run answered "Yes". A stand-in busctl on PATH counts the requests.
. "$(dirname "$0")/lib.sh"
mkdir -p "$dir/bin"
printf '#!/bin/sh\necho "$*" >>"%s/requests"\n' "$dir" >"$dir/bin/busctl"
chmod +x "$dir/bin/busctl"
export PATH="$dir/bin:$PATH" XDG_DATA_HOME="$dir/data"
requests() { cat "$dir/requests" 2>/dev/null | wc -l; }
boxes() { xdotool search --onlyvisible --name '^Mavorin$' 2>/dev/null | wc -l; }
xdotool mousemove 5 5

macro run.mvn ".mvn 0000 test" "code:|000|wait:|100|loop:|0|start:|no|stop:|ESC|" \
  "code:|007|pc:|reboot|" "code:|002|xpos:|77|ypos:|77|"
"$bin" --trust "$dir/run.mvn" >/dev/null 2>&1  # where files must be approved first
start_mavorin "$dir/run.mvn"
wait_for '[ "$(boxes)" = 2 ]' 10
sleep 4
check "run: one request while the box stays open 4 s" "$(requests)" 1
check "run: the step waits for the box" "$(pointer)" "5 5"
xdotool key Return
wait_for '[ "$(pointer)" = "77 77" ]' 5
sleep 0.5
check "run: one request after the box" "$(requests)" 1
check "run: the macro went on after the box" "$(pointer)" "77 77"
kill "$mav"
wait "$mav" 2>/dev/null

# A single run by double click; every line below the settings says "reboot".
rm -f "$dir/requests"
records=()
for _ in $(seq 12); do records+=("code:|007|pc:|reboot|"); done
macro mavorin.mvn ".mvn 1000 test" "code:|000|wait:|100|loop:|0|start:|no|stop:|ESC|" "${records[@]}"
"$bin" --trust "$dir/mavorin.mvn" >/dev/null 2>&1
start_mavorin
wait_for '[ "$(boxes)" = 1 ]' 10
sleep 0.5
xdotool mousemove 100 400 click --repeat 2 --delay 80 1
wait_for '[ "$(boxes)" = 2 ]' 5
check "single run: nothing before the answer" "$(requests)" 0
xdotool key Return  # "Yes" is the default answer
wait_for '[ "$(requests)" -ge 1 ]' 5
sleep 4
check "single run: one request while the box stays open 4 s" "$(requests)" 1
check "single run: the reboot box is open" "$(boxes)" 2
xdotool key Return
sleep 1
check "single run: one request after the box" "$(requests)" 1
finish
