#!/usr/bin/env bash
# Pointer moves, clicks and typed text reach a real window on the X server.
. "$(dirname "$0")/lib.sh"
xdotool mousemove 5 5
start_keylog 700 100 400 300
play input.mvn "code:|002|xpos:|801|ypos:|203|" "code:|003|mouseclick:|left|" \
  "code:|003|mouseclick:|right|" "code:|003|mouseclick:|middle|" \
  "code:|004|text:|Hello, World! + ^ % ~ ( ) {{} {}} [x]_\"é äöüß ÄÖÜ €{ENTER}{TAB}{F5}{SHIFT}q{BS}|"
start_mavorin "$dir/input.mvn"
wait_for "grep -q '<F5>' $dir/keys.log" 15
check "pointer" "$(pointer)" "801 203"
check "buttons" "$(grep '^B' "$dir/keys.log" | tr '\n' ' ')" "B 1 B 3 B 2 "
typed=$(grep '^K' "$dir/keys.log" | sed 's/^K //' | awk '{ if (length($0) > 1 && substr($0,1,1) == "<") printf "%s", $0; else printf "%s", ($0 == "" ? " " : $0) }')
check "typed text" "$typed" 'Hello, World! + ^ % ~ ( ) { } [x]_"é äöüß ÄÖÜ €<Return><Tab><F5>Q<BackSpace>'
# The temporary key mappings are gone again, and no key or button is left pressed.
sleep 0.3
check "temporary mappings reverted" "$(xmodmap -pk | grep -c -i 'adiaeresis')" "0"
check "no key or button down" "$(down)" "0"
finish
