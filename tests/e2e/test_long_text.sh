#!/usr/bin/env bash
# Mixed text typed into a real xterm arrives exactly; SIGTERM while typing ends the program with
# the keyboard map given back; after a kill -9 while typing umlauts (remapped keys) the next start
# gives the map back.
. "$(dirname "$0")/lib.sh"
command -v xterm >/dev/null || { echo "SKIP: xterm is not installed"; exit 0; }
size() { stat -c %s "$dir/out.txt" 2>/dev/null || echo 0; }
line="äöü$(printf 'x%.0s' $(seq 76)){ENTER}"
play long.mvn "code:|004|text:|$(for _ in $(seq 4000); do printf '%s' "$line"; done)|"
mixed='Hello, World! 1+2=3 (x) [y] 50% ~a^b_"'"'"'`;:/?<>\@#$&*-. äöüß ÄÖÜ {{}€{}}'
play mixed.mvn "code:|004|text:|$(for _ in $(seq 24); do printf '%s{ENTER}' "$mixed"; done)|"
LC_ALL=C.UTF-8 xterm -geometry 80x24+0+0 -e sh -c "cat > '$dir/out.txt'" &
xt=$!
pids+=("$xt")
wait_for '[ -n "$(xdotool search --onlyvisible --pid $xt 2>/dev/null)" ]' 10
xdotool windowfocus --sync "$(xdotool search --onlyvisible --pid $xt | head -1)"
keymap=$(xmodmap -pke)
remapped() { [ "$(xmodmap -pke)" != "$keymap" ] && echo remapped || echo original; }
# typing: starts long.mvn and waits until 20000 more bytes arrived.
typing() { local from; from=$(size); start_mavorin "$dir/long.mvn"; wait_for "[ \$(size) -gt $((from + 20000)) ]" 20; }

start_mavorin "$dir/mixed.mvn"
want=$(for _ in $(seq 24); do printf '%s\n' "$mixed" | sed 's/{{}/{/; s/{}}/}/'; done)
wait_for '[ "$(cat "$dir/out.txt")" = "$want" ]' 10
check "1500 mixed characters arrive exactly" "$(cat "$dir/out.txt")" "$want"
stop_mavorin

typing
check "umlauts are remapped while typing" "$(remapped)" remapped
stop_mavorin
check "SIGTERM while typing ends the program" "$(running)" ended
check "SIGTERM gives the keymap back, no key down" "$(remapped) $(down)" "original 0"

typing
stop_mavorin -9
check "kill -9 leaves the remapped keys" "$(remapped)" remapped
start_mavorin
wait_for '[ "$(remapped)" = original ]' 10
check "the next start gives the keymap back, no key down" "$(remapped) $(down)" "original 0"
finish
