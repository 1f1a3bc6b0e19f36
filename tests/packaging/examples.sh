#!/usr/bin/env bash
# The example macros: real macro files (Windows-1252, CR LF, ".mvn 0000" header, well-formed
# records), harmless, and played to their end by --dry-run with the operations their records ask for.
# Usage: examples.sh MAVORIN EXAMPLES_DIR
set -u
bin=$(realpath "$1")
exdir=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
bad() { echo "FAIL $*"; fail=1; }

shopt -s nullglob
files=("$exdir"/*.mvn)
[ ${#files[@]} -ge 4 ] || bad "expected at least four examples, found ${#files[@]}"

keys='(no|ESC|F[1-9]|F1[0-2])'
num='-?[0-9]+'
# One pattern per command code; the text values (T) are anything without a bar.
declare -A grammar=(
  [001]="^code:\|001\|wait:\|$num\|(maxwait:\|$num\|)?$"
  [002]="^code:\|002\|xpos:\|$num\|ypos:\|$num\|$"
  [003]="^code:\|003\|mouseclick:\|(left|middle|right)\|$"
  [004]="^code:\|004\|text:\|[^|]*\|$"
  [005]="^code:\|005\|start:\|$num\|step:\|$num\|$"
  [006]="^code:\|006\|pfad:\|[^|]*\|$"
  [008]="^code:\|008\|drive:\|[^|]*\|move:\|(open|close)\|$"
  [009]="^code:\|009\|pfad:\|[^|]*\|$"
  [010]="^code:\|010\|xpos:\|$num\|ypos:\|$num\|break:\|[1-9][0-9]*\|$"
)

for f in "${files[@]}"; do
  name=$(basename "$f")
  # Bytes: CR LF everywhere, nothing else that ends a line, last line terminated.
  crlf=$(grep -c $'\r$' "$f")
  lines=$(wc -l <"$f")
  [ "$crlf" = "$lines" ] || bad "$name: $lines lines but $crlf end in CR LF"
  [ "$(tail -c 2 "$f" | od -An -c | tr -d ' ')" = '\r\n' ] || bad "$name: last line lacks CR LF"
  [ "$(tr -cd '\r' <"$f" | wc -c)" = "$crlf" ] || bad "$name: a CR that does not end a line"
  [ "$(head -c 10 "$f")" = ".mvn 0000 " ] || bad "$name: header is not \".mvn 0000 ...\""
  # Windows-1252, not UTF-8: high bytes are single characters of the code page.
  iconv -f CP1252 -t UTF-8 <"$f" >"$tmp/utf8" 2>/dev/null || bad "$name: not Windows-1252"
  if LC_ALL=C grep -q -P '[\x80-\xff]' "$f" && iconv -f UTF-8 -t UTF-8 <"$f" >/dev/null 2>&1; then
    bad "$name: saved as UTF-8"
  fi

  mapfile -t recs < <(tail -n +2 "$tmp/utf8" | tr -d '\r')
  [[ ${recs[0]:-} =~ ^code:\|000\|wait:\|[0-9]+\|loop:\|[0-9]+\|start:\|$keys\|stop:\|$keys\|$ ]] ||
    bad "$name: line 2 is not a settings record: ${recs[0]:-}"
  loop=$(echo "${recs[0]}" | cut -d'|' -f6)
  passes=$((loop + 1))
  declare -A count=()
  for r in "${recs[@]:1}"; do
    code=${r:6:3}
    if [ "$code" = 007 ]; then
      # Examples never lock, restart, shut down or take the keyboard away.
      bad "$name: PC command in an example: $r"
      continue
    fi
    pat=${grammar[$code]:-}
    if [ -z "$pat" ] || ! [[ $r =~ $pat ]]; then bad "$name: malformed record: $r"; fi
    count[$code]=$((${count[$code]:-0} + 1))
  done

  # The program reads every record.
  out=$("$bin" --list "$f") || bad "$name: --list failed"
  [ "$(echo "$out" | wc -l)" = "${#recs[@]}" ] ||
    bad "$name: --list shows $(echo "$out" | wc -l) lines for ${#recs[@]} records"
  want=$(for r in "${recs[@]}"; do echo "${r:6:3}"; done)
  got=$(echo "$out" | sed -E 's/^[0-9]+ - code: ([0-9]{3}).*/\1/')
  [ "$got" = "$want" ] || bad "$name: --list shows other codes than the file holds"

  # The dry run ends by itself and performs what the records say, once per pass.
  "$bin" --dry-run "$f" --until 600000 >"$tmp/ops" 2>"$tmp/err"; rc=$?
  [ $rc = 0 ] || bad "$name: --dry-run exit $rc: $(cat "$tmp/err")"
  tail -n1 "$tmp/ops" | grep -qE '^[0-9]+ end$' || bad "$name: dry run did not end by itself"
  ops() { grep -cE "^[0-9]+ ($1)( |$)" "$tmp/ops"; }
  [ "$(ops set_cursor_pos)" = $((${count[002]:-0} * passes)) ] || bad "$name: pointer moves"
  [ "$(ops send_keys)" = $((${count[004]:-0} * passes)) ] || bad "$name: typed texts"
  [ "$(ops clipboard_set)" = $((${count[005]:-0} * passes)) ] || bad "$name: counter values"
  # code10.bmp is the pixel watch's own snapshot, not a screenshot.
  shots=$(grep -E '^[0-9]+ (save_jpeg|save_bmp) ' "$tmp/ops" | grep -vc ' code10\.bmp$')
  [ "$shots" = $((${count[009]:-0} * passes)) ] || bad "$name: $shots screenshots"
  [ "$(ops mouse_event)" = $((${count[003]:-0} * passes * 2)) ] || bad "$name: clicks"
  grep -qE '^[0-9]+ (lock_workstation|block_input 1|shutdown|reboot)' "$tmp/ops" &&
    bad "$name: a dry run that locks, blocks input or powers off"
  cp "$tmp/ops" "$tmp/$name.ops"
  unset count
done

# What the individual examples are for.
ops_of() { cut -d' ' -f2- "$tmp/$1.ops" 2>/dev/null; }
if [ -f "$exdir/screenshot-series.mvn" ]; then
  got=$(ops_of screenshot-series.mvn | grep '^save_')
  want=$(printf 'save_jpeg mavorin-shot-%d.jpg 80\n' 1 2 3)
  [ "$got" = "$want" ] || bad "screenshot-series: got [$got]"
fi
if [ -f "$exdir/numbered-lines.mvn" ]; then
  got=$(ops_of numbered-lines.mvn | grep '^send_keys')
  want=$(printf 'send_keys Zeile %d{ENTER}\n' 1 2 3 4 5)
  [ "$got" = "$want" ] || bad "numbered-lines: got [$got]"
fi
if [ -f "$exdir/greeting.mvn" ]; then
  ops_of greeting.mvn | grep -qxF 'send_keys Grüße von Mavorin {(}100{%} automatisch{)}{ENTER}' ||
    bad "greeting: umlauts or escaped characters lost: $(ops_of greeting.mvn)"
  ops_of greeting.mvn | grep -qxF 'send_keys +hallo +welt!{ENTER}' || bad "greeting: shift keys"
fi
if [ -f "$exdir/pixel-watch.mvn" ]; then
  # The desktop of a dry run never changes: the watch gives up after its time-out, then moves on.
  last=$(grep -E '^[0-9]+ save_bmp mavorin-pixel-changed.bmp$' "$tmp/pixel-watch.mvn.ops" | cut -d' ' -f1)
  [ -n "$last" ] && [ "$last" -ge 10000 ] || bad "pixel-watch: the watch did not hold the macro"
fi

[ $fail = 0 ] && echo "examples: all checks passed (${#files[@]} files)"
exit $fail
