#!/usr/bin/env bash
# The start key pressed with xdotool starts the default macro; the abort key stops a run.
. "$(dirname "$0")/lib.sh"
xdotool mousemove 5 5
macro mavorin.mvn ".mvn 1000 test" \
  "code:|000|wait:|100|loop:|0|start:|F5|stop:|ESC|" \
  "code:|002|xpos:|333|ypos:|222|"
start_mavorin
sleep 1.5
check "loaded, not started" "$(pointer)" "5 5"
xdotool key F5
wait_for '[ "$(pointer)" = "333 222" ]' 5
check "start key" "$(pointer)" "333 222"
kill -9 "$mav"

# A long run alternating between two points, aborted with ESC between steps.
macro long.mvn ".mvn 0000 test" \
  "code:|000|wait:|300|loop:|1000|start:|no|stop:|ESC|" \
  "code:|002|xpos:|100|ypos:|100|" \
  "code:|002|xpos:|200|ypos:|200|"
start_mavorin "$dir/long.mvn"
wait_for '[ "$(pointer)" = "200 200" ]' 5
xdotool key Escape
sleep 0.2
at=$(pointer)
sleep 1.5
check "abort key stops the run" "$(pointer)" "$at"
finish
