#!/usr/bin/env bash
# Measures the program beside a bare Qt window in one run on a private Xvfb display:
# start-up until the window is mapped, peak memory, and CPU and wake-ups over 10 idle seconds
# (right after start, while the caret blinks, and from 12 s on, when it has stopped).
# Usage: bench/startup/run.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
build=${1:-build}
rounds=${2:-10}
measure=$build/bin/measure_window
for b in "$measure" "$build/bin/barewindow" "$build/bin/alertwright"; do
  [[ -x $b ]] || { echo "missing $b: build first (make test)" >&2; exit 1; }
done

runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb LANG=C.UTF-8
unset WAYLAND_DISPLAY
for n in $(seq 91 199); do [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] || break; done
export DISPLAY=:$n
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$runtime"' EXIT
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
# A window manager gives the new window the focus, so its caret blinks as on a desktop.
openbox --sm-disable >/dev/null 2>&1 &

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p"; }

declare -A map peak
for prog in barewindow alertwright; do map[$prog]=""; peak[$prog]=""; done
for _ in $(seq "$rounds"); do
  for prog in barewindow alertwright; do
    line=$("$measure" "$build/bin/$prog")
    map[$prog]+="$(field map_ms <<<"$line") "
    peak[$prog]+="$(field peak_kib <<<"$line") "
  done
done
for prog in barewindow alertwright; do
  m=$(tr ' ' '\n' <<<"${map[$prog]}" | sed '/^$/d' | median)
  p=$(tr ' ' '\n' <<<"${peak[$prog]}" | sed '/^$/d' | median)
  printf '%-12s start-up to mapped window: median %6.1f ms   peak memory: median %6d KiB\n' "$prog" "$m" "$p"
done
echo "idle, 10 s, pointer away from the buttons, focus in a text box:"
for settle in 0 12; do
  for prog in "barewindow --line-edit" alertwright; do
    line=$("$measure" --settle $settle --idle 10 $build/bin/$prog)
    printf '%-24s from %2s s: cpu %s ms, wake-ups %s\n' "${prog#*/}" $settle "$(field idle_cpu_ms <<<"$line")" "$(field idle_wakeups <<<"$line")"
  done
done
