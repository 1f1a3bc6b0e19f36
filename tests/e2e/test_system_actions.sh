#!/usr/bin/env bash
# Programs started by a macro, PC commands that fail quietly on this desktop, and "end".
. "$(dirname "$0")/lib.sh"
xdotool mousemove 5 5
# Stand-ins that log how they were started: one on PATH, one in the current folder, one with
# a blank in its path, and an xdg-open for documents.
mkdir -p "$dir/bin" "$dir/mit blank"
for f in "bin/aufzeichnen" "bin/xdg-open" "hier.sh" "mit blank/run me.sh"; do
  printf '#!/bin/sh\n{ printf %%s "${0##*/}"; for a; do printf " [%%s]" "$a"; done; echo; } >>"%s/launched"\n' \
    "$dir" >"$dir/$f"
  chmod +x "$dir/$f"
done
echo Hallo >"$dir/brief an dich.txt"
blanks=$(printf '%200s' '')
# lockpc and screenoff may be refused here (no session, no DPMS): the run goes on regardless.
macro prog.mvn ".mvn 0000 test" \
  "code:|000|wait:|100|loop:|0|start:|no|stop:|ESC|" \
  "code:|005|start:|7|step:|1|" \
  "code:|006|pfad:|\"$dir/mit blank/run me.sh\" eins \"zwei drei\"|" \
  "code:|006|pfad:|$dir/mit blank/run me.sh vier|" \
  "code:|006|pfad:|aufzeichnen a b|" \
  "code:|006|pfad:|hier.sh fünf|" \
  "code:|006|pfad:|gibt-es-nicht-9f eins|" \
  "code:|006|pfad:|$dir/brief an dich.txt|" \
  "code:|006|pfad:|aufzeichnen nr{CODE5}|" \
  "code:|006|pfad:|aufzeichnen x$blanks; id > $dir/id.txt|" \
  "code:|007|pc:|lockpc|" \
  "code:|007|pc:|screenoff|" \
  "code:|002|xpos:|321|ypos:|123|" \
  "code:|007|pc:|end|" \
  "code:|002|xpos:|654|ypos:|456|"
"$bin" --trust "$dir/prog.mvn"
PATH="$dir/bin:$PATH" start_mavorin "$dir/prog.mvn"
wait_for "! kill -0 $mav 2>/dev/null" 15
wait "$mav"
check "ended by the macro, exit status" "$?" "0"
wait_for "[ \$(wc -l <'$dir/launched') -ge 7 ]" 5
check "every form started, words as Windows splits them, no shell" "$(LC_ALL=C sort "$dir/launched")" \
"aufzeichnen [a] [b]
aufzeichnen [nr7]
aufzeichnen [x] [;] [id] [>] [$dir/id.txt]
hier.sh [fünf]
run me.sh [eins] [zwei drei]
run me.sh [vier]
xdg-open [$dir/brief an dich.txt]"
check "a failed launch is logged with time and reason" \
  "$(grep -cE '^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z launch: gibt-es-nicht-9f eins: .+' \
    "$XDG_STATE_HOME/mavorin/mavorin.log")" 1
check "no second command" "$([ -e "$dir/id.txt" ] && echo ran || echo none)" "none"
sleep 0.3
check "the run went on after refused PC commands, nothing after end" "$(pointer)" "321 123"
finish
