#!/usr/bin/env bash
# An untrusted macro file asks before it launches anything, in the real window: Escape or Enter
# launch nothing and run no step; --trust or "Ausführen" (Alt+A) let it run and stop the asking;
# a changed file asks again.
. "$(dirname "$0")/lib.sh"
printf '#!/bin/sh\ntouch "%s/launched"\n' "$dir" >"$dir/stand-in"
chmod +x "$dir/stand-in"
records=("code:|002|xpos:|321|ypos:|123|" "code:|006|pfad:|$dir/stand-in|")
play m.mvn "${records[@]}"

# open [KEY]: opens m.mvn, answers a box with KEY; prints whether a box came, what was launched
# and where the pointer is.
open() {
  local seen=none
  rm -f "$dir/launched"
  xdotool mousemove 5 5
  start_mavorin "$dir/m.mvn"
  wait_for '[ "$(windows)" = 2 ] || [ -e "$dir/launched" ]' 10 && [ "$(windows)" = 2 ] && seen=box
  if [ $# = 1 ] && [ $seen = box ]; then
    xdotool key "$1"
    wait_for '[ "$(windows)" = 1 ]' 5
  fi
  wait_for '[ -e "$dir/launched" ]' 2
  stop_mavorin
  echo "$seen $([ -e "$dir/launched" ] && echo launched || echo nothing) $(pointer)"
}
check "untrusted, Escape: nothing launched, no step" "$(open Escape)" "box nothing 5 5"
check "untrusted, Return: nothing launched, no step" "$(open Return)" "box nothing 5 5"
"$bin" --trust "$dir/m.mvn"
check "--trust exit" "$?" 0
check "after --trust it runs unasked" "$(open)" "none launched 321 123"
play m.mvn "${records[@]}" "code:|001|wait:|0|"
check "a changed file asks again" "$(open Escape)" "box nothing 5 5"
check "Ausführen runs it" "$(open alt+a)" "box launched 321 123"
check "approved: no question" "$(open)" "none launched 321 123"
finish
