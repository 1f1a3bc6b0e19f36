#!/usr/bin/env bash
# Installs the build into a private folder (DESTDIR, no root, nothing on the machine changes) and
# checks the desktop integration there: file layout, icons, the .desktop entry and the .mvn type.
# Usage: staged_install.sh BUILD_DIR
set -u
build=$1
src=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
bad() { echo "FAIL $*"; fail=1; }
have() { command -v "$1" >/dev/null 2>&1; }

root=$tmp/root
DESTDIR=$root cmake --install "$build" --prefix /usr >"$tmp/install.log" 2>&1 ||
  { cat "$tmp/install.log"; echo "FAIL: cmake --install"; exit 1; }
share=$root/usr/share

"$root/usr/bin/mavorin" --version | grep -q '^mavorin ' || bad "installed program does not run"
desktop=$share/applications/mavorin.desktop
mimexml=$share/mime/packages/mavorin.xml
for f in "$desktop" "$mimexml" "$share/icons/hicolor/scalable/apps/mavorin.svg" \
  "$share/icons/hicolor/scalable/mimetypes/application-x-mavorin-macro.svg"; do
  [ -f "$f" ] || bad "not installed: ${f#"$root"}"
done
gzip -dc "$share/man/man1/mavorin.1.gz" 2>/dev/null | grep -q '^\.TH MAVORIN 1' ||
  bad "no compressed man page at usr/share/man/man1"
# Nothing outside the expected places (a stray test program would land in usr/bin).
stray=$(cd "$root" && find . -type f | grep -vE '^\./usr/(bin/mavorin|share/(applications|mime/packages|icons/hicolor|man/man1|doc/mavorin)/)')
[ -z "$stray" ] || bad "unexpected files installed: $stray"

# The entry: valid, starts the installed program with one file, names our type and icon.
key() { sed -n "s/^$1=//p" "$desktop" | head -n1; }
[ "$(key Exec)" = "mavorin %f" ] || bad "Exec is [$(key Exec)]"
[ "$(key Icon)" = mavorin ] || bad "Icon is [$(key Icon)]"
type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mimexml")
[ "$type" = application/x-mavorin-macro ] || bad "file type is [$type]"
[ "$(key MimeType)" = "$type;" ] || bad "MimeType is [$(key MimeType)]"
have desktop-file-validate && { desktop-file-validate "$desktop" || bad "desktop-file-validate"; }

# The file type, in a private database: by name, and by the ".mvn " at the start of the content.
have update-mime-database && have mimetype ||
  { [ $fail = 0 ] || exit 1; echo "SKIP file type: update-mime-database, mimetype missing"; exit 77; }
export XDG_DATA_HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_DATA_DIRS=$share:/usr/share
update-mime-database "$share/mime" 2>"$tmp/mime.err" || bad "update-mime-database failed"
[ -s "$tmp/mime.err" ] && bad "update-mime-database: $(cat "$tmp/mime.err")"
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$tmp/files"
cp "$src/examples/pointer-tour.mvn" "$tmp/files/tour.mvn"
cp "$src/examples/pointer-tour.mvn" "$tmp/files/no-extension"
printf '.mvn\nno blank after the word\n' >"$tmp/files/plain"
got=$(cd "$tmp/files" && for f in tour.mvn no-extension plain; do mimetype --brief "$f"; done | tr '\n' ' ')
[ "$got" = "$type $type text/plain " ] || bad "file types are [$got]"
[ $fail = 0 ] && echo "staged install: all checks passed"
exit $fail
