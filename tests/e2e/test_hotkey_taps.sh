#!/usr/bin/env bash
# Hot keys as a user presses them: an old tap of the abort key does not stop the next run, a
# held start key starts one run only, and a short tap is never missed.
. "$(dirname "$0")/lib.sh"
xdotool mousemove 5 5
macro mavorin.mvn ".mvn 1000 test" \
  "code:|000|wait:|200|loop:|0|start:|F6|stop:|ESC|" \
  "code:|002|xpos:|111|ypos:|111|" \
  "code:|002|xpos:|222|ypos:|222|" \
  "code:|002|xpos:|333|ypos:|333|"
start_mavorin
sleep 1.5
xdotool key Escape  # long before the run: must not abort it
sleep 1
xdotool key F6
wait_for '[ "$(pointer)" = "333 333" ]' 5
check "old abort tap ignored" "$(pointer)" "333 333"

xdotool mousemove 5 5
xdotool keydown F6
wait_for '[ "$(pointer)" = "333 333" ]' 5
check "held start key starts a run" "$(pointer)" "333 333"
sleep 0.5  # the run is over; the key is still down
xdotool mousemove 5 5
sleep 1.5
check "held start key starts one run only" "$(pointer)" "5 5"
xdotool keyup F6
sleep 0.3
xdotool key --delay 0 F6
wait_for '[ "$(pointer)" = "333 333" ]' 5
check "pressed again, runs again" "$(pointer)" "333 333"
finish
