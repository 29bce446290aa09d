#!/usr/bin/env bash
# Measures the Windows program beside a bare Win32 window under Wine, in one run on a private
# desktop (tests/win32/wine_rig.sh: Xvfb with openbox, Russian, a prefix made once for the run):
# start-up until the window is mapped and peak memory (medians of ROUNDS), the size of each
# executable, and 10 idle seconds with the pointer in the screen's corner and the focus in a
# text box: CPU and wake-ups, then the system calls an strace of the same 10 seconds counts
# (a running timer shows as a steady stream of them).
# Memory and idle cost are those of the process that runs the executable: wine64 loads the
# program into its own process (its command line becomes the program's path), while
# wineserver and Wine's services are shared by every program of the prefix and not counted.
# barewindow_v6 is the same bare window with the program's manifest (common controls 6, per-monitor
# DPI awareness): what those cost by themselves under Wine, apart from the program's own work.
# Until alertwright.exe is built, the bare windows are measured alone.
# Usage: bench/startup/run_wine.sh [BUILD_WINDOWS_DIR] [ROUNDS] [LINUX_BUILD_DIR]
set -euo pipefail
if [[ -z ${WINE_RIG:-} ]]; then
  windows=$(cd "${1:-build-windows}" && pwd)
  linux=$(cd "${3:-build}" && pwd)
  for f in "$linux/bin/measure_window" "$windows/bin/barewindow.exe"; do
    [[ -f $f ]] || { echo "missing $f: build first (make test)" >&2; exit 1; }
  done
  command -v strace >/dev/null || { echo "strace is not installed" >&2; exit 1; }
  wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
  exec "$(dirname "$0")/../../tests/win32/wine_rig.sh" "$wine" "$windows/wine-bench" \
    "$0" "$windows" "${2:-11}" "$linux"
fi
bin=$1/bin rounds=$2 measure=$3/bin/measure_window
declare -A title=([barewindow]=Bare [barewindow_v6]=Bare [alertwright]=Alertwright)
programs=(barewindow)
[[ -f $bin/barewindow_v6.exe ]] && programs+=(barewindow_v6)
if [[ -f $bin/alertwright.exe ]]; then
  programs+=(alertwright)
else
  echo "$bin/alertwright.exe is not built: the bare windows alone"
fi

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p"; }
# The program under Wine with none of our streams, as the one process that measure_window forks.
measure() {
  local exe=$bin/$1.exe
  shift
  "$measure" "$@" bash -c 'exec "$0" "$1" </dev/null >/dev/null 2>&1' "$WINE" "$exe"
}

# One start of each before timing: the first start of a prefix loads its libraries from disk.
for prog in "${programs[@]}"; do measure "$prog" >/dev/null; done
declare -A map peak
for _ in $(seq "$rounds"); do
  for prog in "${programs[@]}"; do
    line=$(measure "$prog")
    map[$prog]+="$(field map_ms <<<"$line") "
    peak[$prog]+="$(field peak_kib <<<"$line") "
  done
done
for prog in "${programs[@]}"; do
  m=$(tr ' ' '\n' <<<"${map[$prog]}" | sed '/^$/d' | median)
  p=$(tr ' ' '\n' <<<"${peak[$prog]}" | sed '/^$/d' | median)
  printf '%-13s start-up to mapped window: median %6s ms   peak memory: median %6d KiB   size %d bytes\n' \
    "$prog" "$m" "$p" "$(stat -c %s "$bin/$prog.exe")"
done

echo "idle, 10 s, pointer in the corner, focus in a text box:"
for prog in "${programs[@]}"; do
  for settle in 2 12; do
    line=$(measure "$prog" --settle $settle --idle 10)
    printf '%-13s from %2s s: cpu %s ms, wake-ups %s\n' "$prog" $settle \
      "$(field idle_cpu_ms <<<"$line")" "$(field idle_wakeups <<<"$line")"
  done
  "$WINE" "$bin/$prog.exe" </dev/null >/dev/null 2>&1 &
  pid=$!
  timeout 20 xdotool search --sync --onlyvisible --name "^${title[$prog]}\$" >/dev/null
  xdotool mousemove 0 0
  sleep 2
  counts=$WINE_RIG/strace-$prog.txt
  LC_ALL=C timeout -s INT 10 strace -f -c -S calls -o "$counts" -p $pid 2>/dev/null || true
  printf '%-13s from  2 s: %s system calls (%s), process: %s\n' "$prog" \
    "$(awk '$NF == "total" {print $4}' "$counts")" \
    "$(awk '/^ *[0-9.]+ / && $NF != "total" {printf "%s%s %s", sep, $NF, $4; sep=", "}' "$counts" | cut -c1-120)" \
    "$(tr '\0' ' ' </proc/$pid/cmdline | sed 's/ *$//')"
  kill $pid
  wait $pid 2>/dev/null || true
done
