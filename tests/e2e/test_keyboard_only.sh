#!/usr/bin/env bash
# Without a single pointer event: a two-command macro is built, saved and run from the keyboard.
. "$(dirname "$0")/lib.sh"
start_mavorin
wait_for "xdotool search --onlyvisible --name '^Mavorin( –|$)' >/dev/null" 10
xdotool windowfocus "$(xdotool search --onlyvisible --name '^Mavorin( –|$)' | head -n1)"
sleep 0.5
keys() { xdotool key --delay 80 "$@"; sleep 0.3; }
times() { for _ in $(seq "$2"); do echo "$1"; done; }
keys $(times Tab 10) ctrl+a 1 Tab       # the count: one command
keys Tab End Tab Tab shift+F10 Down Return Down  # the scroll bar, the popup: "Neuer Befehl"
keys $(times shift+Tab 8)                # back up to the command choice
keys $(times Down 6) Tab Tab space       # "PC Befehl ausführen": "Programm schließen"
keys $(times shift+Tab 5) space          # "Speichern"
check "saved from the keyboard" "$(tr -d '\r' <"$dir/mavorin.mvn" 2>/dev/null | tail -n +2)" \
  "$(printf '%s\n' 'code:|000|wait:|500|loop:|1|start:|no|stop:|ESC|' 'code:|001|wait:|0|' 'code:|007|pc:|end|')"
# Only the saved macro runs: it ends the program.
[ $fail = 0 ] && keys $(times shift+Tab 5) space
wait_for "! kill -0 $mav 2>/dev/null" 10
check "the macro ran to its end" "$(running)" ended
finish
