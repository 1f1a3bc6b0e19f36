#!/usr/bin/env bash
# Without a display the window says which one it could not open and exits 1, never aborting.
set -u
bin=$(realpath "$1")
# A build without the window (the sanitizer build) has nothing to say about displays.
env DISPLAY=:987 timeout 20 "$bin" 2>&1 </dev/null | grep -q "has no window" && exit 77
fail=0
check() { if [ "$2" != "$3" ]; then echo "FAIL $1: got [$2] want [$3]"; fail=1; fi; }
run() { env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY "$@" timeout 20 "$bin" 2>&1 >/dev/null; echo "rc=$?"; }
check "no X server" "$(run DISPLAY=:987)" "mavorin: cannot open the display :987 (DISPLAY)
rc=1"
check "none set" "$(run -u DISPLAY)" "mavorin: cannot open the display (neither DISPLAY nor WAYLAND_DISPLAY is set)
rc=1"
check "dead wayland" "$(run -u DISPLAY XDG_RUNTIME_DIR=/nonexistent WAYLAND_DISPLAY=w-9)" \
    "mavorin: cannot open the display w-9 (WAYLAND_DISPLAY)
rc=1"
# Recording says plainly where it cannot work, and refuses a stop key off the hot-key list.
rec() { env -u QT_QPA_PLATFORM "$@" timeout 5 "$bin" --record /nonexistent/x.mvn 2>&1 >/dev/null; echo "rc=$?"; }
check "recording on Wayland" "$(rec WAYLAND_DISPLAY=w-9)" \
    "mavorin: recording is not possible here: Wayland does not let a program watch the input of other programs
rc=1"
check "recording without X" "$(rec -u WAYLAND_DISPLAY DISPLAY=:987)" \
    "mavorin: recording is not possible here: no X display
rc=1"
check "a stop key off the list" "$("$bin" --record x.mvn --stop F13 2>/dev/null; echo "rc=$?")" "rc=2"
exit $fail
