#!/usr/bin/env bash
# The example macros: real macro files (Windows-1252, CR LF, ".mvn 0000" header), harmless, and
# played to their end by --dry-run. (What each one does is pinned by golden.sh.)
# Usage: examples.sh MAVORIN EXAMPLES_DIR
set -u
bin=$(realpath "$1")
fail=0
bad() { echo "FAIL $*"; fail=1; }
shopt -s nullglob
files=("$2"/*.mvn)
[ ${#files[@]} -ge 4 ] || bad "expected at least four examples, found ${#files[@]}"
for f in "${files[@]}"; do
  name=$(basename "$f")
  [ "$(grep -c $'\r$' "$f")" = "$(wc -l <"$f")" ] && [ "$(tail -c 2 "$f" | od -An -c | tr -d ' ')" = '\r\n' ] ||
    bad "$name: not CR LF throughout"
  [ "$(head -c 10 "$f")" = ".mvn 0000 " ] || bad "$name: header is not \".mvn 0000 ...\""
  LC_ALL=C grep -q -P '[\x80-\xff]' "$f" && iconv -f UTF-8 -t UTF-8 <"$f" >/dev/null 2>&1 &&
    bad "$name: saved as UTF-8"
  # Examples never lock, restart, shut down or take the keyboard away.
  grep -q '^code:|007|' "$f" && bad "$name: uses a PC command"
  "$bin" --dry-run "$f" --until 600000 2>&1 | tail -n1 | grep -qE '^[0-9]+ end$' ||
    bad "$name: dry run did not end by itself"
done
[ $fail = 0 ] && echo "examples: all checks passed (${#files[@]} files)"
exit $fail
