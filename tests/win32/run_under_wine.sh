#!/usr/bin/env bash
# Runs a Windows test program under Wine in a prefix of its own (made on the first run, about
# 16 s), with no display: it needs none.
# Usage: run_under_wine.sh WINE64 PREFIX_DIR PROGRAM.exe [ARGUMENTS...]
set -uo pipefail
wine=$1 exe=$3
export WINEPREFIX=$2 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
shift 3
[[ -f $exe ]] || { echo "skipped: $exe is not built (make windows)"; exit 77; }
unset DISPLAY WAYLAND_DISPLAY
server=$(dirname "$wine")/wineserver
# Wine's services inherit the first call's streams: start them with none of ours.
mkdir -p "$WINEPREFIX"
"$server" -p </dev/null >/dev/null 2>&1
"$wine" wineboot </dev/null >/dev/null 2>&1
trap '"$server" -k </dev/null >/dev/null 2>&1' EXIT
"$wine" "$exe" "$@" </dev/null
