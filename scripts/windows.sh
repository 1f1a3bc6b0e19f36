#!/usr/bin/env bash
# Cross-builds mavorin.exe and the Windows tests with mingw-w64 into build-win/, then runs the
# tests under Wine on a private Xvfb. Installs what a fresh Debian 12 lacks (idempotent).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake make g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev googletest wine wine64
          xvfb xdotool xclip imagemagick x11-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "windows.sh: installing ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" \
    >/dev/null
fi

build=${WIN_BUILD_DIR:-build-win}
cmake --no-warn-unused-cli -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target windows_tests
exec bash tests/windows/run.sh "$build"
