# Shared helpers of the end-to-end tests: a private folder, macro files, the program, waiting.
set -u
bin=$(realpath "$1")
keylog=$(realpath "${2:-/nonexistent}")
grabprobe=$(realpath "${3:-/nonexistent}")
dir=$(mktemp -d)
# Approvals go to the test's own store and the failure log to the private folder, never the user's.
export XDG_DATA_HOME="$dir/data" XDG_STATE_HOME="$dir/state"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT
fail=0
check() { if [ "$2" != "$3" ]; then echo "FAIL $1: got [$2] want [$3]"; fail=1; else echo "ok   $1"; fi; }
settings="code:|000|wait:|100|loop:|0|start:|no|stop:|ESC|"

# macro FILE HEADER RECORD... : Windows-1252 (the records are given in UTF-8), CR LF line ends.
macro() {
  local file=$1; shift
  { for line in "$@"; do printf '%s\r\n' "$line"; done; } | iconv -f UTF-8 -t CP1252 >"$dir/$file"
}
# play FILE RECORD... : a macro with the usual settings, started as soon as it is loaded.
play() { local file=$1; shift; macro "$file" ".mvn 0000 test" "$settings" "$@"; }
trusted() { "$bin" --trust "$dir/$1" >/dev/null 2>&1; }
# start_mavorin ARGS... : runs the program in the private folder; its pid is in $mav.
start_mavorin() {
  (cd "$dir" && exec "$bin" "$@" >>"$dir/mavorin.log" 2>&1) 2>/dev/null &
  mav=$!
  pids+=("$mav")
}
stop_mavorin() { kill "${1:--TERM}" "$mav" 2>/dev/null; wait_for '! kill -0 $mav 2>/dev/null' 5; }
running() { kill -0 "$mav" 2>/dev/null && echo running || echo ended; }
# windows: how many windows named "Mavorin" are shown (the main window, and a box if one is open).
# The main window's title goes on with " – " and the file name; a box is titled "Mavorin" alone.
windows() { xdotool search --onlyvisible --name '^Mavorin( –|$)' 2>/dev/null | wc -l; }
start_keylog() {  # X Y W H [COLOR]: a window of one colour
  "$keylog" "$@" >"$dir/keys.log" 2>&1 &
  pids+=("$!")
  wait_for "grep -q READY $dir/keys.log" 5
}
# wait_for CONDITION SECONDS
wait_for() {
  local end=$(( $(date +%s%N) + $2 * 1000000000 ))
  while [ "$(date +%s%N)" -lt "$end" ]; do eval "$1" && return 0; sleep 0.05; done
  return 1
}
pointer() { xdotool getmouselocation | sed -E 's/x:([0-9]+) y:([0-9]+).*/\1 \2/'; }
# Keys and buttons held down, over every slave device, the XTest ones included.
down() {
  for id in $(xinput list --short | sed -n 's/.*id=\([0-9]*\).*slave  \(keyboard\|pointer\).*/\1/p'); do
    xinput query-state "$id" | grep -c '=down'
  done | awk '{n += $1} END {print n}'
}
finish() { [ $fail = 0 ] || { echo "--- mavorin.log"; cat "$dir/mavorin.log"; echo "--- keys.log"; cat "$dir/keys.log" 2>/dev/null; }; [ $fail = 0 ] && echo "all checks passed"; exit $fail; }
