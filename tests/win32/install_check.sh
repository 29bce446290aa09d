#!/usr/bin/env bash
# The installer in a fresh Wine prefix on a private desktop (wine_rig.sh): it installs silently,
# the installed alertwright.exe starts and shows its window, the installed alertwright-gen.exe
# writes the same code as the Linux build, the clipboard keeps
# Cyrillic text and CR LF as a Windows program left it, and the silent uninstaller takes the
# folder, the Start-menu entry and the entry among the installed programs away again.
# Usage: install_check.sh WINE64 RIG_DIR SETUP.exe WCLIP.exe LINUX_ALERTWRIGHT_GEN VERSION
set -uo pipefail
if [[ -z ${WINE_RIG:-} ]]; then
  for f in "$3" "$4"; do
    [[ -f $f ]] || { echo "skipped: $f is not built (make windows)"; exit 77; }
  done
  exec "$(dirname "$0")/wine_rig.sh" "$1" "$2" "$0" "$@"
fi
setup=$3 wclip=$4 linux=$5 version=$6
failed=0
fail() { echo "FAIL: $*"; failed=1; }
seconds() { LC_ALL=C awk "BEGIN { printf \"%.1f\", $(date +%s.%N) - $1 }"; }
work=$WINE_RIG/work
rm -rf "$work" && mkdir -p "$work"
dir=$WINEPREFIX/drive_c/Program\ Files/Alertwright
menu=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Alertwright'

start=$(date +%s.%N)
"$WINE" "$setup" /S </dev/null >/dev/null 2>&1 || fail "setup.exe /S exited with status $?"
echo "installed in $(seconds "$start") s"
for f in alertwright.exe alertwright-gen.exe readme.txt uninstall.exe; do
  [[ -f $dir/$f ]] || fail "no $f in Program Files\\Alertwright"
done
entries=$(ls "$menu" | grep -c '^Alertwright.*\.lnk$')
((entries == 1)) || fail "$entries Start-menu entries for Alertwright, not 1"
"$WINE" reg query "$key" /v DisplayVersion </dev/null 2>/dev/null | grep -q "REG_SZ *$version" ||
  fail "Add/Remove programs does not list Alertwright $version"

# The installed program starts: its window appears, and closing it ends it with status 0.
(cd "$dir" && exec "$WINE" ./alertwright.exe </dev/null >/dev/null 2>&1) &
app=$!
window=""
for _ in $(seq 300); do
  window=$(xdotool search --onlyvisible --name '^Alertwright$' 2>/dev/null | head -1)
  [[ -n $window ]] && break
  sleep 0.1
done
if [[ -z $window ]]; then
  fail "the installed alertwright.exe showed no window"
  kill "$app" 2>/dev/null
fi
# Alt+F4 to the window; a key that arrives before the window has the focus is lost, so again.
for _ in $(seq 10); do
  [[ -n $window ]] && kill -0 "$app" 2>/dev/null || break
  xdotool windowactivate --sync "$window" key alt+F4 2>/dev/null
  for _ in $(seq 10); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
done
kill -0 "$app" 2>/dev/null && { fail "the installed program did not end when closed"; kill "$app"; }
wait "$app" 2>/dev/null
status=$?
[[ -z $window ]] || ((status == 0)) || fail "the installed program ended with status $status"

args=(--title 'Сохранение' --text 'Сохранить изменения?' --icon question --buttons 4)
"$linux" "${args[@]}" >"$work/linux.out" 2>&1
(cd "$dir" && "$WINE" ./alertwright-gen.exe "${args[@]}" </dev/null >"$work/win.out" 2>&1)
cmp -s "$work/linux.out" "$work/win.out" ||
  { fail "the installed alertwright-gen.exe writes other code:"; od -c "$work/win.out" | head -5; }

printf 'Первая строка\r\nВторая строка' >"$work/clip.in"
"$WINE" "$wclip" --set <"$work/clip.in" >/dev/null 2>&1 || fail "wclip --set failed"
"$WINE" "$wclip" </dev/null >"$work/clip.out" 2>/dev/null || fail "wclip found no text"
cmp -s "$work/clip.in" "$work/clip.out" ||
  { fail "the clipboard changed the text:"; od -c "$work/clip.out" | head -5; }

start=$(date +%s.%N)
"$WINE" "$dir/uninstall.exe" /S </dev/null >/dev/null 2>&1 || fail "uninstall.exe /S exited with status $?"
# The uninstaller hands over to a copy of itself, which removes the folder last.
for _ in $(seq 300); do [[ -e $dir ]] || break; sleep 0.1; done
echo "uninstalled in $(seconds "$start") s"
[[ ! -e $dir ]] || fail "Program Files\\Alertwright is still there: $(ls "$dir" | tr '\n' ' ')"
! ls "$menu" | grep -q '^Alertwright' || fail "the Start-menu entry is still there"
! "$WINE" reg query "$key" </dev/null >/dev/null 2>&1 || fail "Add/Remove programs still lists it"

((failed == 0)) && echo "installer under Wine: installs, runs, keeps the clipboard, uninstalls"
exit $failed
