#!/usr/bin/env bash
# Installs the Debian packages a target needs, and nothing more:
#   setup.sh run       building and running the program on Linux
#   setup.sh test      the above, plus the test tools (a private X server, xdotool, xclip, ...),
#                      benchmarks, sanitizers, the Windows cross compiler and Wine
#   setup.sh windows   the Windows cross compiler and Wine
# Quiet and quick when everything is already there.
set -euo pipefail

run=(
  g++ cmake ninja-build make pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev nlohmann-json3-dev
  fonts-dejavu-core fonts-liberation
)
windows=(cmake ninja-build make g++-mingw-w64-x86-64-posix wine64 nlohmann-json3-dev)
tests=(
  clang-format libbenchmark-dev libx11-dev
  xvfb xauth xdotool xclip x11-utils x11-xkb-utils openbox imagemagick
  clang libclang-rt-14-dev
)

case ${1:-run} in
  run) packages=("${run[@]}") ;;
  test) packages=("${run[@]}" "${tests[@]}" "${windows[@]}") ;;
  windows) packages=("${windows[@]}") ;;
  *) echo "usage: setup.sh [run|test|windows]" >&2; exit 2 ;;
esac

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
