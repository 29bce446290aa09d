#!/usr/bin/env bash
# A private Windows desktop for one run of a test: the ru_RU.UTF-8 locale (made under the rig's
# folder when the system lacks it), Xvfb on a free display with openbox, a fresh Wine prefix and
# a running wineserver, all started without pipes of ours; everything ends with the command.
# The command finds DISPLAY, WINEPREFIX, WINE, WINESERVER and WINE_RIG (the folder) in its
# environment.
# Usage: wine_rig.sh WINE64 RIG_DIR COMMAND [ARGUMENTS...]   (exit 77: no Xvfb or openbox)
set -euo pipefail
wine=$1 rig=$2
shift 2
for tool in Xvfb openbox; do
  command -v $tool >/dev/null || { echo "skipped: $tool is not installed (make test installs it)"; exit 77; }
done
mkdir -p "$rig"
rig=$(cd "$rig" && pwd)

# Wine's own dialogs speak the language of LANG; Russian needs the locale to exist.
unset LC_ALL LANGUAGE
export LANG=ru_RU.UTF-8
if [[ $(locale charmap 2>/dev/null) != UTF-8 ]]; then
  mkdir -p "$rig/locale"
  [[ -d $rig/locale/ru_RU.UTF-8 ]] || localedef -i ru_RU -f UTF-8 "$rig/locale/ru_RU.UTF-8" ||
    echo "wine rig: no ru_RU.UTF-8 locale (Debian package locales), Wine falls back to English"
  export LOCPATH=$rig/locale
fi

pids=()
cleanup() {
  [[ -n ${WINESERVER:-} ]] && "$WINESERVER" -k </dev/null >/dev/null 2>&1
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$rig/prefix" "$rig/display"
}
trap cleanup EXIT

# Xvfb chooses a free display and writes its number once it accepts clients.
rm -f "$rig/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$rig/display" </dev/null >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [[ -s $rig/display ]] && break; sleep 0.1; done
[[ -s $rig/display ]] || { echo "wine rig: Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -1 "$rig/display")
openbox --sm-disable </dev/null >/dev/null 2>&1 &
pids+=($!)
# Windows shown before openbox manages the screen would get no frame.
if command -v xprop >/dev/null; then
  for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
fi

export WINE=$wine WINESERVER=$(dirname "$wine")/wineserver
export WINEPREFIX=$rig/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
start=$(date +%s.%N)
# Wine's services inherit the first call's streams: they get none of ours.
"$WINESERVER" -p </dev/null >/dev/null 2>&1
"$WINE" wineboot -i </dev/null >/dev/null 2>&1
echo "wine rig: display $DISPLAY, prefix made in $(LC_ALL=C awk "BEGIN { printf \"%.1f\", $(date +%s.%N) - $start }") s"
export WINE_RIG=$rig

"$@"
