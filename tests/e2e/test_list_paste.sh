#!/usr/bin/env bash
# Keys in the real command list: Ctrl+V with an empty copy buffer keeps every command, as
# "Speichern" shows; Ctrl+C then Ctrl+V (the same keys) insert a copy.
. "$(dirname "$0")/lib.sh"
settings="code:|000|wait:|100|loop:|0|start:|no|stop:|ESC|"
records=()
for x in 1 2 3 4 5; do records+=("code:|002|xpos:|$x|ypos:|$x|"); done
macro mavorin.mvn ".mvn 1000 test" "$settings" "${records[@]}"
saved() { tail -n +2 "$dir/mavorin.mvn" | tr -d '\r'; }
lines() { printf '%s\n' "$@"; }
speichern() { xdotool mousemove 527 414 click 1; }  # the button "Speichern"
line2() { xdotool mousemove 60 340 click 1 sleep 0.2 key Down Down; }  # line 0, then down
start_mavorin
wait_for 'xdotool search --onlyvisible --name "^Mavorin$" >/dev/null' 10
sleep 0.5
line2
xdotool key ctrl+v
sleep 0.3
speichern
wait_for '[ "$(head -c 9 "$dir/mavorin.mvn")" = ".mvn 0000" ]' 5
check "an empty paste keeps every command" "$(saved)" "$(lines "$settings" "${records[@]}")"
line2
xdotool key ctrl+c ctrl+v
sleep 0.3
speichern
wait_for '[ "$(saved | wc -l)" = 7 ]' 5
check "a paste after line 2" "$(saved)" \
  "$(lines "$settings" "${records[0]}" "${records[1]}" "${records[1]}" "${records[@]:2}")"
finish
