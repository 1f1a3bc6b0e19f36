#!/usr/bin/env bash
# The Wayland backend on a headless sway with no X server: a text typed exactly under German and
# French layouts with a paste in place, clicks where they are meant, the pixel watch, screenshots equal to grim's of the
# same moment, the counter on the clipboard, --check, and --start/--abort from outside.
user=mavorin-wl
# sway refuses root: the test runs as an unprivileged user of its own.
if [ "$(id -u)" = 0 ]; then
  id "$user" >/dev/null 2>&1 || useradd -M -r -s /usr/sbin/nologin "$user" || exit 1
  exec runuser -u "$user" -- env -i PATH="$PATH" MAVORIN_WLCLICKLOG="${MAVORIN_WLCLICKLOG:-}" \
    bash "$(realpath "$0")" "$(realpath "$1")"
fi
. "$(dirname "$0")/lib.sh"
unset DISPLAY
clicklog=${MAVORIN_WLCLICKLOG:-$(dirname "$bin")/tests/wlclicklog}
export XDG_RUNTIME_DIR="$dir/run" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman
# Two outputs side by side: clicks and screenshots span the whole layout.
export WLR_HEADLESS_OUTPUTS=2
mkdir -m 0700 "$XDG_RUNTIME_DIR"
cat >"$dir/sway.conf" <<'CONF'
output HEADLESS-1 mode 1024x768 position 0 0
output HEADLESS-2 mode 640x480 position 1024 0
input * xkb_layout de
default_border none
for_window [app_id="foot|wlclicklog"] fullscreen enable
CONF
sway -c "$dir/sway.conf" >"$dir/sway.log" 2>&1 &
pids+=("$!")
if ! wait_for 'ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock >/dev/null 2>&1' 10; then
  echo "SKIPPED: sway cannot start on this machine; the Wayland backend is NOT tested" >&2
  cat "$dir/sway.log" >&2
  exit 77
fi
export SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock)
export WAYLAND_DISPLAY=$(basename "$(ls "$XDG_RUNTIME_DIR"/wayland-*[0-9] | head -1)")
shown() { swaymsg -t get_tree | grep -q "\"app_id\": \"$1\""; }

text='Grüße, Ärger & Öl: 5 € @ #[x]\<>?=*+^%~"'"'"'`ß µ²'
for layout in de fr; do
  swaymsg "input * xkb_layout $layout" >/dev/null
  foot -- sh -c "exec cat >'$dir/typed-$layout.txt'" 2>/dev/null &
  pids+=("$!")
  wait_for 'shown foot' 10
  # foot pastes on Ctrl+Shift+V: the keys after it wait for the pasted counter.
  play "type-$layout.mvn" "code:|005|start:|41|step:|1|" "code:|002|xpos:|500|ypos:|400|" \
    "code:|003|mouseclick:|left|" "code:|004|text:|{CODE5} {CTRL}{SHIFT}v/$text{ENTER}|"
  start_mavorin "$dir/type-$layout.mvn"
  wait_for "[ -s $dir/typed-$layout.txt ]" 10
  check "typed under layout $layout" "$(cat "$dir/typed-$layout.txt")" "41 41/$text"
  stop_mavorin
  kill "${pids[-2]}"
  wait_for '! shown foot' 5
done

play all.mvn "code:|010|xpos:|900|ypos:|700|break:|0|" \
  "code:|002|xpos:|123|ypos:|45|" "code:|003|mouseclick:|left|" \
  "code:|002|xpos:|321|ypos:|654|" "code:|003|mouseclick:|right|" \
  "code:|002|xpos:|-50|ypos:|500|" "code:|003|mouseclick:|middle|" \
  "code:|005|start:|5|step:|3|" "code:|005|start:|100|step:|3|" "code:|009|pfad:|shot{CODE5}.bmp|"
start_mavorin "$dir/all.mvn"
sleep 2
check "the watch waits while nothing changes" "$([ -e "$dir/shot8.bmp" ] && echo on || echo waiting)" "waiting"
"$clicklog" >"$dir/clicks.log" 2>&1 &
pids+=("$!")
wait_for "[ -s $dir/shot8.bmp ]" 10
sleep 0.3
grim -t ppm "$dir/grim.ppm"
check "clicks arrive where they are meant" "$(grep press "$dir/clicks.log" | tr '\n' ,)" \
  "press 123 45 1,press 321 654 2,press 0 500 4,"
check "screenshot equals grim's" "$(compare -metric AE "$dir/shot8.bmp" "$dir/grim.ppm" null: 2>&1)" "0"
check "clipboard" "$(wl-paste -n)" "8"
stop_mavorin

# --check names the backend; the compositor's key bindings reach the window through instance
# control, which counts as its hot keys.
"$bin" --check >"$dir/check.txt" 2>&1
check "--check on sway" "$? $(head -1 "$dir/check.txt" | cut -d' ' -f2)" "0 wayland"
title() { swaymsg -t get_tree | grep -o '"name": "Mavorin[^"]*"' | head -1; }
runs() { title | grep -q läuft && echo yes || echo no; }
macro wait.mvn ".mvn 0000 test" "code:|000|wait:|100|loop:|1|start:|no|stop:|ESC|" \
  "code:|001|wait:|60000|"
start_mavorin "$dir/wait.mvn"
wait_for '[ "$(runs)" = yes ]' 10
check "the title shows the run" "$(runs)" "yes"
"$bin" --abort
wait_for '[ "$(runs)" = no ]' 5
check "--abort stops the run" "$(runs)" "no"
"$bin" --start
wait_for '[ "$(runs)" = yes ]' 5
check "--start starts it again" "$(runs)" "yes"
finish
