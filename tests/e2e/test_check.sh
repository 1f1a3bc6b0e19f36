#!/usr/bin/env bash
# What the desktop offers, as --check reports it and the window tells: on the full test server,
# on one without XTEST (the window warns and runs nothing), and with no display at all.
. "$(dirname "$0")/lib.sh"
abilities="pointer clicks keys characters.outside.the.keymap hot.keys clipboard screen.capture
  input.block lock.and.power monitor.off CD.door opacity.and.on-top"
report() { "$bin" --check >"$dir/check.out" 2>&1; echo "rc=$?"; }
lines() { for a in $abilities; do grep -cE "^  $a: +(works|does not work): " "$dir/check.out"; done | sort -u; }

check "full server: exit" "$(report)" "rc=0"
check "full server: every ability once, the backend first" "$(lines) $(head -1 "$dir/check.out" | cut -d" " -f1-4)" \
  "1 backend x11 on X11"
check "full server: XTest named" "$(grep -c '^  keys: *works: XTest 2\.' "$dir/check.out")" 1

# A server without XTEST: nothing can press keys or move the pointer. -noreset: a server that
# resets when its last client leaves refuses the next program started during the reset.
Xvfb -displayfd 3 -extension XTEST -screen 0 800x600x24 -nolisten tcp -noreset 3>"$dir/display" 2>/dev/null &
pids+=("$!")
wait_for '[ -s "$dir/display" ]' 10
export DISPLAY=:$(cat "$dir/display")
check "no XTEST: exit" "$(report)" "rc=1"
check "no XTEST: named, and the verdict" \
  "$(grep -c 'pointer: *does not work: the X server has no XTEST extension' "$dir/check.out") $(tail -1 "$dir/check.out")" \
  "1 macros cannot run here: missing pointer, keys"

# The window opens and says what is missing, in a box of its own; stderr names it.
start_mavorin
wait_for '[ "$(windows)" = 2 ]' 10
check "no XTEST: the start-up box" "$(windows)" 2
check "no XTEST: stderr names it" \
  "$(grep -c '^mavorin: missing on this desktop: pointer (the X server has no XTEST extension)' "$dir/mavorin.log")" 1
[ -n "${MAVORIN_SHOTS:-}" ] && import -window root "$MAVORIN_SHOTS/startup-box.png"
stop_mavorin
# A file that asks to be started is loaded, but its run is refused.
play run.mvn "code:|002|xpos:|77|ypos:|77|"
start_mavorin "$dir/run.mvn"
wait_for '[ "$(windows)" = 2 ]' 10
sleep 2
title=$(xdotool search --name '^Mavorin –' getwindowname 2>/dev/null | head -1)
check "no XTEST: loaded, not run" "$title" "Mavorin – run.mvn"
[ -n "${MAVORIN_SHOTS:-}" ] && import -window root "$MAVORIN_SHOTS/refused.png"
stop_mavorin

check "no display: exit 3" "$(DISPLAY=:987 "$bin" --check; echo "rc=$?")" \
  "cannot open the display (X11 display :987, session type ${XDG_SESSION_TYPE:-unknown})
rc=3"
check "no display set: exit 3" "$(env -u DISPLAY "$bin" --check >/dev/null; echo "rc=$?")" "rc=3"
finish
