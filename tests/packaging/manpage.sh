#!/usr/bin/env bash
# The man page says exactly what --help says: it is current (made from this binary's --help), it
# renders without warnings, and no word of the help text is lost or added on the way.
# Usage: manpage.sh MAVORIN MAN_PAGE HELP2MAN_AWK
set -u
bin=$(realpath "$1")
man=$2
awk_script=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
bad() { echo "FAIL $*"; fail=1; }
command -v groff >/dev/null || { echo "SKIP: groff is not installed"; exit 77; }
[ -s "$man" ] || { echo "FAIL: no man page at $man"; exit 1; }
[ -s "$man.gz" ] && ! cmp -s <(gzip -dc "$man.gz") "$man" && bad "mavorin.1.gz differs from mavorin.1"

"$bin" --help >"$tmp/help" || bad "--help failed"
date=$(sed -n 's/^\.TH MAVORIN 1 "\([^"]*\)".*/\1/p' "$man")
version=$("$bin" --version | cut -d' ' -f2)
awk -v version="$version" -v date="$date" -v summary="build and play back desktop macros" \
  -f "$awk_script" "$tmp/help" >"$tmp/fresh.1"
cmp -s "$tmp/fresh.1" "$man" || bad "the man page is older than the program's --help: $(diff "$tmp/fresh.1" "$man" | head -5)"

groff -man -Tutf8 -ww -z "$man" 2>"$tmp/warn"
[ -s "$tmp/warn" ] && bad "groff warnings: $(head -5 "$tmp/warn")"

# Rendered text minus page header and footer, section titles and the NAME line, as one string of
# visible characters; the help text minus "Usage:" and its section titles, likewise.
groff -man -Tascii -rcR=1 -P-cbou "$man" 2>/dev/null |
  sed '1d;$d' | grep -vE '^[A-Z][A-Z ]*$' | grep -v '^ *mavorin - build' | tr -d ' \t\n' >"$tmp/man.txt"
sed 's/^Usage: //' "$tmp/help" | grep -vE '^[A-Z][^:]*:$' | tr -d ' \t\n' >"$tmp/help.txt"
if ! cmp -s "$tmp/man.txt" "$tmp/help.txt"; then
  fold -w 60 "$tmp/help.txt" >"$tmp/a"
  fold -w 60 "$tmp/man.txt" >"$tmp/b"
  bad "the rendered man page and --help differ: $(diff "$tmp/a" "$tmp/b" | head -6)"
fi
[ $fail = 0 ] && echo "man page: all checks passed"
exit $fail
