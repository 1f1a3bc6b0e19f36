#!/usr/bin/env bash
# mavorin --start and --abort in the real window: a run starts and stops; without a window (or
# with only a socket a killed window left) they exit 1; the socket is 0600 and another user is
# refused even when it could connect; a second window leaves the first one in charge; --abort
# cuts a long typed text short, as the abort key does.
. "$(dirname "$0")/lib.sh"
export XDG_RUNTIME_DIR="$dir/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
sock="$XDG_RUNTIME_DIR/mavorin.sock"
# Loaded at start-up, not started: only a request can start it.
macro mavorin.mvn ".mvn 1000 test" "code:|000|wait:|200|loop:|1000|start:|no|stop:|ESC|" \
  "code:|001|wait:|0|"
title() { xdotool search --onlyvisible --name '^Mavorin( –|$)' getwindowname 2>/dev/null | head -1; }
runs() { title | grep -q läuft && echo yes || echo no; }
# send OPTION: the client needs no display; prints its exit code and stderr.
send() { env -u DISPLAY "$bin" "$1" 2>&1; echo "rc=$?"; }
# as_other: connects as the user nobody, asks for a start and prints the answer.
as_other() {
  setpriv --reuid=65534 --regid=65534 --clear-groups /usr/bin/python3 -c '
import socket, sys
s = socket.socket(socket.AF_UNIX)
try: s.connect(sys.argv[1])
except OSError as e: sys.exit(type(e).__name__)
try: s.sendall(b"start\n"); print("answer:" + s.recv(8).decode().strip())
except OSError: print("answer:")' "$sock" 2>&1
}

check "--start, no window" "$(send --start | grep -c 'no Mavorin window') $(send --start | tail -1)" "1 rc=1"
start_mavorin
wait_for '[ -S "$sock" ] && [ -n "$(title)" ]' 10
check "socket mode" "$(stat -c %a "$sock")" 600
check "--start" "$(send --start)" "rc=0"
wait_for '[ $(runs) = yes ]' 3
check "it runs" "$(runs)" yes
check "--abort" "$(send --abort)" "rc=0"
wait_for '[ $(runs) = no ]' 3
check "it stopped" "$(runs)" no

chmod 711 "$dir" "$XDG_RUNTIME_DIR"
check "other user, mode 0600" "$(as_other)" PermissionError
chmod 666 "$sock"
check "other user, socket opened up" "$(as_other)" "answer:"
sleep 0.3
check "other user started nothing" "$(runs)" no
chmod 600 "$sock"; chmod 700 "$dir" "$XDG_RUNTIME_DIR"

first=$mav
start_mavorin
wait_for '[ "$(grep -c "do not reach this window" "$dir/mavorin.log")" = 1 ]' 10
check "second window says it does not listen" "$(grep -c 'do not reach this window' "$dir/mavorin.log")" 1
stop_mavorin
mav=$first
check "the first window still answers" "$(send --abort)" "rc=0"

stop_mavorin -KILL
check "socket left by a killed window" "$(send --start | tail -1)" "rc=1"
start_mavorin
wait_for '[ -n "$(title)" ]' 10
wait_for '[ "$(send --start)" = rc=0 ]' 5
wait_for '[ $(runs) = yes ]' 3
check "a new window replaces it" "$(runs)" yes
stop_mavorin

command -v xterm >/dev/null || { echo "SKIP: xterm is not installed"; finish; }
# The terminal hands cat whole lines only.
macro mavorin.mvn ".mvn 1000 test" "$settings" "code:|004|text:|$(for _ in $(seq 1000); do printf 'x%.0s' $(seq 79); printf '{ENTER}'; done)|"
xterm -geometry 80x24+0+0 -e sh -c "cat > '$dir/out.txt'" &
xt=$!; pids+=("$xt")
size() { wc -c <"$dir/out.txt" 2>/dev/null || echo 0; }
start_mavorin
wait_for '[ -S "$sock" ] && [ -n "$(title)" ] && [ -n "$(xdotool search --onlyvisible --pid $xt)" ]' 10
xdotool windowfocus --sync "$(xdotool search --onlyvisible --pid $xt | head -1)"
send --start >/dev/null
wait_for '[ $(size) -gt 500 ]' 10
send --abort >/dev/null
sleep 1
before=$(size)
sleep 1
partway=$([ "$before" -gt 500 ] && [ "$before" -lt 80000 ] && echo partway)
check "--abort while typing: typing stops partway" "$(size) $partway" "$before partway"
check "and the run with it" "$(runs)" no
finish
