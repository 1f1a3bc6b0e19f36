#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and running Mavorin need.
set -euo pipefail
pkgs=(cmake g++ make pkg-config clang-format libgtest-dev libgmock-dev libbenchmark-dev
      qt6-base-dev libgl-dev libx11-dev libxtst-dev libxi-dev libxext-dev libturbojpeg0-dev
      qt6-translations-l10n
      xvfb xdotool xclip x11-utils xinput imagemagick x11-xserver-utils xterm xfce4-clipman
      clang libclang-rt-14-dev desktop-file-utils xdg-utils libfile-mimeinfo-perl shared-mime-info
      python3-pyatspi at-spi2-core dbus-x11
      libwayland-dev libwayland-bin wayland-protocols libxkbcommon-dev qt6-wayland
      sway foot grim wl-clipboard)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
