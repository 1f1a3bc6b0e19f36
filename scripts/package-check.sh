#!/usr/bin/env bash
# Builds the Debian package and checks it on this machine, as root: lintian, dpkg -i, every
# example played by the installed program (--dry-run), the .mvn type and the double-click path
# through xdg-open, the desktop entry, the man page, and dpkg -r removing every file again.
# It installs and removes the package "mavorin" system-wide: run it on a CI or scratch machine.
# Usage: scripts/package-check.sh [BUILD_DIR]   (default: build, the README's build folder)
set -euo pipefail
cd "$(dirname "$0")/.."
src=$(pwd)
build=${1:-${BUILD_DIR:-build}}
[ "$(id -u)" = 0 ] || { echo "package-check: needs root (dpkg -i)"; exit 2; }

tools=(desktop-file-utils xdg-utils shared-mime-info libfile-mimeinfo-perl dpkg-dev file binutils
       man-db xvfb xdotool lintian)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target mavorin mavorin_manpage mavorin_changelog
rm -f "$build"/mavorin_*.deb
(cd "$build" && cpack -G DEB >cpack.log) || { cat "$build/cpack.log"; exit 1; }
deb=$(ls "$build"/mavorin_*.deb)
echo "package: $deb"

tmp=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  dpkg -r mavorin >/dev/null 2>&1 || true
  rm -rf "$tmp"
}
trap cleanup EXIT
fail=0
bad() { echo "FAIL $*"; fail=1; }
# From here on a failing check is reported and the others still run.
set +e
# in_depends PACKAGE: named in the package's Depends (versions and alternatives aside).
in_depends() { echo "$depends" | tr ',|' '\n\n' | sed 's/(.*)//; s/ //g' | grep -qxF "$1"; }

# The package's metadata.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libx11-6 libxext6 libxtst6 libxi6 libturbojpeg0 libc6 libstdc++6; do
  in_depends "$lib" || bad "Depends lacks $lib"
done
[ "$(dpkg-deb -f "$deb" Package)" = mavorin ] || bad "package name"
lint=$(lintian --fail-on error "$deb" 2>&1) || bad "lintian: $lint"
[ "$(dpkg-deb -f "$deb" Version)" = "$("$build/mavorin" --version | cut -d' ' -f2)" ] ||
  bad "package version differs from mavorin --version"

if dpkg-query -W -f='${Status}' mavorin 2>/dev/null | grep -q "install ok installed"; then
  echo "package-check: removing the mavorin package that was installed before"
  dpkg -r mavorin >/dev/null
fi
dpkg -i "$deb" || { echo "FAIL dpkg -i"; exit 1; }
dpkg -L mavorin | sort >"$tmp/files"

# Every library the program needs comes from a package named in Depends.
for so in $(objdump -p /usr/bin/mavorin | awk '/NEEDED/ { print $2 }'); do
  path=$(ldconfig -p | awk -v so="$so" '$1 == so { print $NF; exit }')
  owner=$(dpkg -S "$(readlink -f "$path")" 2>/dev/null | head -n1 | cut -d: -f1)
  [ -n "$owner" ] || owner=$(dpkg -S "$path" 2>/dev/null | head -n1 | cut -d: -f1)
  [ -n "$owner" ] && in_depends "$owner" || bad "$so comes from [$owner], which Depends lacks"
done

# The installed files.
[ "$(command -v mavorin)" = /usr/bin/mavorin ] || bad "mavorin is not /usr/bin/mavorin"
for f in /usr/share/applications/mavorin.desktop /usr/share/mime/packages/mavorin.xml \
         /usr/share/icons/hicolor/scalable/apps/mavorin.svg /usr/share/icons/hicolor/48x48/apps/mavorin.png \
         /usr/share/man/man1/mavorin.1.gz; do
  grep -qxF "$f" "$tmp/files" || bad "package does not hold $f"
done
desktop-file-validate /usr/share/applications/mavorin.desktop || bad "desktop-file-validate"
[ "$(man -w mavorin)" = /usr/share/man/man1/mavorin.1.gz ] || bad "man -w mavorin: $(man -w mavorin)"
MANWIDTH=80 MANPAGER=cat man mavorin 2>/dev/null | grep -q -- '--dry-run' || bad "man mavorin"

# Every example, played by the installed program without touching the desktop.
n=0
for ex in /usr/share/doc/mavorin/examples/*.mvn; do
  n=$((n + 1))
  out=$(cd "$tmp" && mavorin --dry-run "$ex" --until 600000) || bad "dry run of $ex failed"
  echo "$out" | tail -n1 | grep -qE '^[0-9]+ end$' || bad "dry run of $ex did not end: $(echo "$out" | tail -n1)"
  mavorin --list "$ex" >/dev/null || bad "--list $ex"
done
[ $n = "$(ls "$src"/examples/*.mvn | wc -l)" ] || bad "$n examples installed"

# The file type and its application, system-wide (the package's triggers ran the databases).
cp /usr/share/doc/mavorin/examples/pointer-tour.mvn "$tmp/x.mvn"
got=$(xdg-mime query filetype "$tmp/x.mvn")
[ "$got" = application/x-mavorin-macro ] || bad "xdg-mime query filetype x.mvn: $got"
got=$(xdg-mime query default application/x-mavorin-macro)
[ "$got" = mavorin.desktop ] || bad "xdg-mime query default: $got"

# Double-click, for real: xdg-open on a macro in a folder with a blank starts the installed program,
# which plays it on a private X server (the pointer arrives) and ends itself.
. scripts/xvfb.sh
start_xvfb 1024x768x24
xvfb_pid=$XVFB_PID
mkdir -p "$tmp/a folder"
printf '.mvn 0000 check\r\ncode:|000|wait:|100|loop:|0|start:|no|stop:|ESC|\r\ncode:|002|xpos:|321|ypos:|123|\r\ncode:|007|pc:|end|\r\n' \
  >"$tmp/a folder/double click.mvn"
xdotool mousemove 5 5
# The macro ends with a PC command: approved first, in a private store, it runs without asking.
export XDG_DATA_HOME="$tmp/data"
mavorin --trust "$tmp/a folder/double click.mvn" || bad "mavorin --trust: exit $?"
(cd "$tmp" && unset XDG_CURRENT_DESKTOP DESKTOP_SESSION &&
  timeout 60 xdg-open "$tmp/a folder/double click.mvn") >"$tmp/open.log" 2>&1 ||
  bad "xdg-open: $(cat "$tmp/open.log")"
pos=$(xdotool getmouselocation | cut -d' ' -f1-2)
[ "$pos" = "x:321 y:123" ] || bad "after xdg-open the pointer is at [$pos], want x:321 y:123"

# Removal leaves nothing of ours behind and the type unregistered.
dpkg -r mavorin >/dev/null
dpkg-query -W -f='${Status}' mavorin 2>/dev/null | grep -q "install ok installed" && bad "still installed"
while read -r f; do
  [ -f "$f" ] && bad "left behind: $f"
done <"$tmp/files"
got=$(xdg-mime query filetype "$tmp/x.mvn")
[ "$got" != application/x-mavorin-macro ] || bad "the .mvn type is still registered after removal"

[ $fail = 0 ] && echo "package-check: all checks passed"
exit $fail
