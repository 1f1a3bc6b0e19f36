#!/usr/bin/env bash
# The input block grabs the physical devices and never disables them: a second client cannot
# grab them while it holds, can again once the program's whole process group is killed, and
# "Device Enabled" stays 1. ESC still stops a blocked run (the block stays), the program's own
# Ctrl+Alt+Del does not free it, another client's does; a run that ends frees it.
. "$(dirname "$0")/lib.sh"
probe() { "$grabprobe"; }
if [ "$(probe)" = none ]; then echo "SKIP: this X server has no physical input device"; exit 0; fi
enabled() {
  for id in $(xinput list --id-only | tr -dc "0-9\n"); do
    xinput list-props "$id" | awk -F: '/Device Enabled/ {gsub(/[ \t]/, "", $2); printf "%s", $2}'
  done
}
all_enabled=$(enabled)
macro block.mvn ".mvn 0000 test" "code:|000|wait:|100|loop:|1000|start:|no|stop:|ESC|" \
  "code:|007|pc:|input-disable|" "code:|004|text:|{CTRL}{ALT}{DEL}|" \
  "code:|002|xpos:|123|ypos:|45|" "code:|002|xpos:|124|ypos:|46|"
play free.mvn "code:|007|pc:|input-disable|" "code:|002|xpos:|67|ypos:|89|"
trusted block.mvn
trusted free.mvn
# In a process group of its own, as a desktop starts it.
blocked_run() {
  xdotool mousemove 5 5
  (cd "$dir" && exec setsid "$bin" "$dir/block.mvn" >>"$dir/mavorin.log" 2>&1) &
  mav=$!
  pids+=("$mav")
  wait_for '[ "$(pointer)" = "124 46" ]' 10
}
blocked_run
check "held during the block, despite its own Ctrl+Alt+Del" "$(probe)" "held"
check "devices stay enabled" "$(enabled)" "$all_enabled"
kill -9 -- "-$mav"
wait_for '[ "$(probe)" = free ]' 5
check "free after kill -9 of the process group, devices enabled" "$(probe) $(enabled)" "free $all_enabled"

blocked_run
xdotool key Escape
sleep 0.5
at=$(pointer)
sleep 1
check "ESC stops a blocked run" "$(pointer)" "$at"
check "the block outlives the stop" "$(probe)" "held"
xdotool key ctrl+alt+Delete
wait_for '[ "$(probe)" = free ]' 5
check "another client's Ctrl+Alt+Del frees it" "$(probe)" "free"
stop_mavorin

start_mavorin "$dir/free.mvn"
wait_for '[ "$(pointer)" = "67 89" ]' 5
sleep 0.5
check "freed at the end of the run, devices enabled" "$(probe) $(enabled)" "free $all_enabled"
finish
