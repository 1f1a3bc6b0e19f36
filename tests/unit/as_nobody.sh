#!/usr/bin/env bash
# Runs a test program as the user nobody (root ignores file permissions); 77 means skipped.
set -u
if [ "$(id -u)" != 0 ]; then exec "$@"; fi
command -v setpriv >/dev/null || { echo "skipped: setpriv is missing"; exit 77; }
as_nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups env TMPDIR=/tmp)
"${as_nobody[@]}" test -x "$1" || { echo "skipped: nobody cannot run $1"; exit 77; }
exec "${as_nobody[@]}" "$@"
