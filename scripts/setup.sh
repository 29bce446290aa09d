#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Quiet and quick when everything is already there.
set -euo pipefail

packages=(
  g++ cmake ninja-build make pkg-config ccache clang-format
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev libx11-dev
  libbenchmark-dev
  xvfb xauth xdotool xclip x11-utils x11-xkb-utils openbox imagemagick
  fonts-dejavu-core fonts-liberation
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ $status == "install ok installed" ]] || missing+=("$p")
done
((${#missing[@]} == 0)) && exit 0

echo "setup: installing ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "setup: run as root or install sudo to add: ${missing[*]}" >&2; exit 1; }
  sudo=sudo
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq >/dev/null
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
