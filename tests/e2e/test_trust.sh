#!/usr/bin/env bash
# An untrusted macro file asks before it launches anything, in the real window: Escape or Enter
# launch nothing and run no step; --trust or "Ausführen" (Alt+A) let it run and stop the asking;
# a changed file asks again.
. "$(dirname "$0")/lib.sh"
printf '#!/bin/sh\ntouch "%s/launched"\n' "$dir" >"$dir/stand-in"
chmod +x "$dir/stand-in"
records=("code:|000|wait:|100|loop:|0|start:|no|stop:|ESC|" "code:|002|xpos:|321|ypos:|123|"
         "code:|006|pfad:|$dir/stand-in|")
macro m.mvn ".mvn 0000 test" "${records[@]}"

# open [KEY]: opens m.mvn; with KEY answers the box with it. Leaves "box" or "none" in $seen.
open() {
  rm -f "$dir/launched"
  xdotool mousemove 5 5
  start_mavorin "$dir/m.mvn"
  seen=none
  wait_for '[ "$(windows)" = 2 ] || [ -e "$dir/launched" ]' 10 && [ "$(windows)" = 2 ] && seen=box
  if [ $# = 1 ] && [ $seen = box ]; then
    xdotool key "$1"
    wait_for '[ "$(windows)" = 1 ]' 5
  fi
  wait_for '[ -e "$dir/launched" ]' 2
  kill "$mav" 2>/dev/null
  wait "$mav" 2>/dev/null
}
launched() { [ -e "$dir/launched" ] && echo launched || echo nothing; }

for key in Escape Return; do
  open "$key"
  check "untrusted asks ($key)" "$seen" box
  check "$key launches nothing" "$(launched)" nothing
  check "$key runs no step" "$(pointer)" "5 5"
done

"$bin" --trust "$dir/m.mvn"
check "--trust exit" "$?" 0
open
check "after --trust no question" "$seen" none
check "after --trust it runs" "$(launched) $(pointer)" "launched 321 123"

macro m.mvn ".mvn 0000 test" "${records[@]}" "code:|002|xpos:|9|ypos:|9|"
open Escape
check "a changed file asks again" "$seen" box
check "and launches nothing" "$(launched)" nothing
open alt+a
check "Ausführen runs it" "$seen $(launched)" "box launched"
open
check "approved: no question" "$seen $(launched)" "none launched"
finish
