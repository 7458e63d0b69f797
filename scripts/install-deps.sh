#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the client need, on Debian 12
# (Qt 6.4) or Debian 13 (Qt 6.8). Safe to run again: apt-get skips what is already there.
set -euo pipefail

# The names that differ between the releases.
. /etc/os-release
case "${VERSION_CODENAME:-}" in
  bookworm) by_release=(libclang-rt-14-dev) ;;
  # Debian 13 moved Qt's SVG image plug-ins (the program's icon) into a package of their own.
  *) by_release=(libclang-rt-19-dev qt6-svg-plugins) ;;
esac

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-svg-dev libqt6svg6
  qt6-webengine-dev libqt6webenginecore6-bin libgl-dev qt6-websockets-dev haxe
  libxcb1-dev libx11-dev libx11-xcb-dev
  designer-qt6 imagemagick
  xvfb xauth xdotool trayer x11-utils x11-xserver-utils xdg-utils
  fonts-wqy-microhei fonts-liberation python3 qt6-translations-l10n
  clang clang-format "${by_release[@]}"
  dpkg-dev fakeroot lintian desktop-file-utils appstream
  weston xwayland qt6-wayland dbus-daemon
  ibus ibus-libpinyin fcitx5 fcitx5-chinese-addons fcitx5-frontend-qt6
)
command -v npm >/dev/null 2>&1 || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
