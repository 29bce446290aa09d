#!/usr/bin/env bash
# Runs a Windows test program under Wine in a prefix of its own (made on the first run, about
# 16 s), on a private X server without a window manager when Xvfb is there.
# Usage: run_under_wine.sh WINE64 PREFIX_DIR PROGRAM.exe [ARGUMENTS...]
set -uo pipefail
wine=$1 exe=$3
export WINEPREFIX=$2 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
shift 3
[[ -f $exe ]] || { echo "skipped: $exe is not built (make windows)"; exit 77; }
unset DISPLAY WAYLAND_DISPLAY
server=$(dirname "$wine")/wineserver
# Windows need a display; without one the program skips what needs them.
xvfb=""
if command -v Xvfb >/dev/null; then
  displays=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$displays" </dev/null >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [[ -s $displays ]] && break; sleep 0.1; done
  [[ -s $displays ]] && export DISPLAY=:$(head -1 "$displays")
  rm -f "$displays"
fi
# Wine's services inherit the first call's streams: start them with none of ours.
mkdir -p "$WINEPREFIX"
"$server" -p </dev/null >/dev/null 2>&1
"$wine" wineboot </dev/null >/dev/null 2>&1
trap '"$server" -k </dev/null >/dev/null 2>&1; [[ -n $xvfb ]] && kill $xvfb' EXIT
"$wine" "$exe" "$@" </dev/null
