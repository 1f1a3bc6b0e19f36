#!/usr/bin/env bash
# A long text typed into a real xterm: ESC stops it within a second with no key left down;
# SIGTERM while typing ends the program with the keyboard map given back; after a kill -9 while
# typing umlauts (remapped keys) the next start gives the map back.
. "$(dirname "$0")/lib.sh"
command -v xterm >/dev/null || { echo "SKIP: xterm is not installed"; exit 0; }
keys_down() {  # over every slave keyboard, the XTest one included
  for id in $(xinput list --short | sed -n 's/.*id=\([0-9]*\).*slave  keyboard.*/\1/p'); do
    xinput query-state "$id" | grep -c '=down'
  done | awk '{n += $1} END {print n}'
}
size() { stat -c %s "$dir/out.txt" 2>/dev/null || echo 0; }
line="äöü$(printf 'x%.0s' $(seq 76)){ENTER}"
macro long.mvn ".mvn 0000 test" \
  "code:|000|wait:|100|loop:|0|start:|no|stop:|ESC|" \
  "code:|004|text:|$(for _ in $(seq 4000); do printf '%s' "$line"; done)|"
mixed='Hello, World! 1+2=3 (x) [y] 50% ~a^b_"'"'"'`;:/?<>\@#$&*-. äöüß ÄÖÜ {{}€{}}'
macro mixed.mvn ".mvn 0000 test" \
  "code:|000|wait:|100|loop:|0|start:|no|stop:|ESC|" \
  "code:|004|text:|$(for _ in $(seq 24); do printf '%s{ENTER}' "$mixed"; done)|"
LC_ALL=C.UTF-8 xterm -geometry 80x24+0+0 -e sh -c "cat > '$dir/out.txt'" &
xt=$!
pids+=("$xt")
wait_for '[ -n "$(xdotool search --onlyvisible --pid $xt 2>/dev/null)" ]' 10
xdotool windowfocus --sync "$(xdotool search --onlyvisible --pid $xt | head -1)"
keymap=$(xmodmap -pke)
grows() { local from; from=$(size); wait_for "[ \$(size) -gt $((from + 20000)) ]" 20; }

start_mavorin "$dir/mixed.mvn"
want=$(for _ in $(seq 24); do printf '%s\n' "$mixed" | sed 's/{{}/{/; s/{}}/}/'; done)
wait_for '[ "$(cat "$dir/out.txt")" = "$want" ]' 10
check "1500 mixed characters arrive exactly" "$(cat "$dir/out.txt")" "$want"
kill "$mav"

start_mavorin "$dir/long.mvn"
grows
xdotool key Escape
sleep 1
at=$(size)
sleep 1
check "ESC stops the growth within a second" "$(size)" "$at"
check "no key down after the stop" "$(keys_down)" "0"
kill -TERM "$mav"
wait_for '! kill -0 $mav 2>/dev/null' 5
check "keymap as before after the exit" "$(xmodmap -pke)" "$keymap"

start_mavorin "$dir/long.mvn"
grows
check "umlauts are remapped while typing" "$([ "$(xmodmap -pke)" != "$keymap" ] && echo yes)" "yes"
kill -TERM "$mav"
wait_for '! kill -0 $mav 2>/dev/null' 2
check "SIGTERM while typing ends the program" "$(kill -0 "$mav" 2>/dev/null || echo gone)" "gone"
check "SIGTERM gives the keymap back" "$(xmodmap -pke)" "$keymap"
check "no key down after SIGTERM" "$(keys_down)" "0"

start_mavorin "$dir/long.mvn"
grows
kill -9 "$mav"
wait_for '! kill -0 $mav 2>/dev/null' 2
check "kill -9 leaves the remapped keys" "$([ "$(xmodmap -pke)" != "$keymap" ] && echo yes)" "yes"
start_mavorin
wait_for '[ "$(xmodmap -pke)" = "$keymap" ]' 10
check "the next start gives the keymap back" "$(xmodmap -pke)" "$keymap"
check "no key down after the next start" "$(keys_down)" "0"
finish
