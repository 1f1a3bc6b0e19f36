#!/usr/bin/env bash
# The pixel watch on the real screen holds the macro until a window appears over the watched
# block. (Giving up after the abort value: the engine tests and the golden outputs.)
. "$(dirname "$0")/lib.sh"
xdotool mousemove 5 5
play watch.mvn "code:|010|xpos:|900|ypos:|700|break:|0|" "code:|002|xpos:|444|ypos:|333|"
start_mavorin "$dir/watch.mvn"
sleep 2
check "waiting while nothing changes, snapshot written" "$(pointer) $([ -s "$dir/code10.bmp" ] && echo bmp)" "5 5 bmp"
start_keylog 850 650 200 200 ff8000
wait_for '[ "$(pointer)" = "444 333" ]' 5
check "continues after the change" "$(pointer)" "444 333"
finish
