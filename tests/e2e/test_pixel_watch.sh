#!/usr/bin/env bash
# The pixel watch holds the macro until a window appears over the watched block; with an abort
# value it gives up by itself.
. "$(dirname "$0")/lib.sh"
xdotool mousemove 5 5
play watch.mvn "code:|010|xpos:|900|ypos:|700|break:|0|" "code:|002|xpos:|444|ypos:|333|"
play timeout.mvn "code:|010|xpos:|10|ypos:|1000|break:|1|" "code:|002|xpos:|555|ypos:|444|"
start_mavorin "$dir/watch.mvn"
sleep 2
check "waiting while nothing changes, snapshot written" "$(pointer) $([ -s "$dir/code10.bmp" ] && echo bmp)" "5 5 bmp"
start_keylog 850 650 200 200 ff8000
wait_for '[ "$(pointer)" = "444 333" ]' 5
check "continues after the change" "$(pointer)" "444 333"
start_mavorin "$dir/timeout.mvn"
wait_for '[ "$(pointer)" = "555 444" ]' 10
check "abort value 1 ends the watch" "$(pointer)" "555 444"
finish
