#!/usr/bin/env bash
# The counter on the real clipboard: a paste chord in the middle of a text lands in place in a
# real xterm, other clients read it while the program runs, and a clipboard manager keeps it.
. "$(dirname "$0")/lib.sh"
# A real clipboard manager (it owns CLIPBOARD_MANAGER), with a home of its own.
mkdir "$dir/home"
HOME="$dir/home" XDG_CONFIG_HOME="$dir/home" XDG_DATA_HOME="$dir/home" XDG_CACHE_HOME="$dir/home" \
  xfce4-clipman >"$dir/clipman.log" 2>&1 &
pids+=("$!")
# xterm pastes CLIPBOARD on Ctrl+V here; what reaches its tty is written to a file on Enter.
xterm -title paste-target -geometry 60x5+0+0 \
  -xrm 'XTerm*VT100.translations: #override Ctrl<Key>v: insert-selection(CLIPBOARD)' \
  -e sh -c "cat > '$dir/typed'" 2>/dev/null &
pids+=("$!")
wait_for "xdotool search --name '^paste-target$' >/dev/null" 10
xterm_window=$(xdotool search --name '^paste-target$' | head -n1)
macro paste.mvn ".mvn 0000 test" "code:|000|wait:|1000|loop:|0|start:|no|stop:|ESC|" \
  "code:|005|start:|41|step:|1|" "code:|004|text:|{CODE5} {CTRL}v/|" \
  "code:|005|start:|0|step:|1|" "code:|004|text:|{CODE5} {CTRL}v{ENTER}|" "code:|007|pc:|end|"
trusted paste.mvn
start_mavorin "$dir/paste.mvn"
# The window takes the focus when it shows; the typing starts a pause later, into the xterm.
wait_for "xdotool search --name '^Mavorin' >/dev/null" 10
xdotool windowfocus "$xterm_window"
wait_for "[ -s '$dir/typed' ]" 10
check "paste in place" "$(cat "$dir/typed")" "41 41/42 42"
check "the counter on the clipboard while the program runs" "$(xclip -o -selection clipboard)" "42"
wait_for "! kill -0 $mav 2>/dev/null" 10
check "the program has ended" "$(running)" ended
check "the manager keeps the counter" "$(timeout 3 xclip -o -selection clipboard 2>&1)" "42"
finish
