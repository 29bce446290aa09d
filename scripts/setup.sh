#!/usr/bin/env bash
# Installs the Debian packages a target needs, and nothing more:
#   setup.sh run       building and running the program on Linux
#   setup.sh test      the above, plus the test tools (a private X server, xdotool, xclip, ...),
#                      benchmarks, sanitizers, and all of the Windows build
#   setup.sh windows   the Windows build: the cross compiler, the PNG decoder's header, NSIS for
#                      the installer, Wine and the ru_RU.UTF-8 locale (Wine's Russian captions)
# Quiet and quick when everything is already there.
set -euo pipefail

run=(
  g++ cmake ninja-build make pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev nlohmann-json3-dev
  fonts-dejavu-core fonts-liberation
)
windows=(
  cmake ninja-build make g++-mingw-w64-x86-64-posix wine64 nlohmann-json3-dev libstb-dev nsis
  locales
)
tests=(
  clang-format libbenchmark-dev libx11-dev
  xvfb xauth xdotool xclip x11-utils x11-xkb-utils openbox imagemagick
  clang libclang-rt-14-dev
)

case ${1:-run} in
  run) packages=("${run[@]}") locale="" ;;
  test) packages=("${run[@]}" "${tests[@]}" "${windows[@]}") locale=ru_RU.UTF-8 ;;
  windows) packages=("${windows[@]}") locale=ru_RU.UTF-8 ;;
  *) echo "usage: setup.sh [run|test|windows]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ $status == "install ok installed" ]] || missing+=("$p")
done
# Wine shows its own dialogs in Russian only when the locale exists.
locale_missing() {
  [[ -n $locale ]] && ! locale -a 2>/dev/null | grep -qix "${locale%%.*}.utf-*8"
}
((${#missing[@]} == 0)) && ! locale_missing && exit 0

sudo=""
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "setup: run as root or install sudo to add: ${missing[*]} $locale" >&2; exit 1; }
  sudo=sudo
fi
if ((${#missing[@]} > 0)); then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq >/dev/null
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if locale_missing; then
  echo "setup: generating the $locale locale"
  if grep -q "^# *$locale UTF-8" /etc/locale.gen; then
    $sudo sed -i "s/^# *\($locale UTF-8\)/\1/" /etc/locale.gen
  else
    echo "$locale UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
  fi
  $sudo locale-gen >/dev/null
fi
