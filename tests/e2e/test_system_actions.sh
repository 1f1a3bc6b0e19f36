#!/usr/bin/env bash
# Programs started by a macro, PC commands that fail quietly on this desktop, and "end".
. "$(dirname "$0")/lib.sh"
xdotool mousemove 5 5
mkdir -p "$dir/mit blank"
printf '#!/bin/sh\necho started > "%s/mit blank/started"\n' "$dir" >"$dir/mit blank/run me.sh"
chmod +x "$dir/mit blank/run me.sh"
# lockpc and screenoff may be refused here (no session, no DPMS): the run goes on regardless.
macro prog.mvn ".mvn 0000 test" \
  "code:|000|wait:|100|loop:|0|start:|no|stop:|ESC|" \
  "code:|005|start:|7|step:|1|" \
  "code:|006|pfad:|touch counted{CODE5}|" \
  "code:|006|pfad:|$dir/mit blank/run me.sh|" \
  "code:|007|pc:|lockpc|" \
  "code:|007|pc:|screenoff|" \
  "code:|007|pc:|LOCKPC|" \
  "code:|002|xpos:|321|ypos:|123|" \
  "code:|007|pc:|end|" \
  "code:|002|xpos:|654|ypos:|456|"
"$bin" --trust "$dir/prog.mvn"
start_mavorin "$dir/prog.mvn"
wait_for "! kill -0 $mav 2>/dev/null" 15
check "ended by the macro" "$(kill -0 "$mav" 2>/dev/null && echo running || echo ended)" "ended"
wait "$mav"
check "exit status" "$?" "0"
check "command text with the counter" "$(ls "$dir" | grep counted)" "counted7"
wait_for "[ -s '$dir/mit blank/started' ]" 5
check "program path with blanks" "$(cat "$dir/mit blank/started" 2>/dev/null)" "started"
check "the run went on after refused PC commands" "$(pointer)" "321 123"
sleep 0.3
check "nothing after end" "$(pointer)" "321 123"
finish
