#!/usr/bin/env bash
# alertwright.exe on a private Wine desktop (wine_rig.sh), driven as a user drives it: the window
# and its size, typing Cyrillic, the question picture and "Да, Нет" by keyboard, Ctrl+S (the
# clipboard's bytes read inside Wine, then the window minimized), hovering a button, F5, F1 and
# a click back into the window, and the exit button. desktop_checks.md tells the details.
# Usage: desktop_check.sh WINE64 RIG_DIR ALERTWRIGHT.exe WCLIP.exe LINUX_ALERTWRIGHT_GEN
set -uo pipefail
if [[ -z ${WINE_RIG:-} ]]; then
  for f in "$3" "$4"; do
    [[ -f $f ]] || { echo "skipped: $f is not built (make windows)"; exit 77; }
  done
  for tool in xdotool xwininfo xprop import setxkbmap; do
    command -v $tool >/dev/null || { echo "skipped: $tool is not installed (make test installs it)"; exit 77; }
  done
  exec "$(dirname "$0")/wine_rig.sh" "$1" "$2" "$0" "$@"
fi
exe=$3 wclip=$4 linux=$5
failed=0
fail() { echo "FAIL: $*"; failed=1; }
work=$WINE_RIG/work
rm -rf "$work" && mkdir -p "$work"

# The first mapped window whose title matches, or nothing after 10 s.
window() {
  for _ in $(seq 100); do
    for w in $(xdotool search --name "$1" 2>/dev/null); do
      xwininfo -id "$w" 2>/dev/null | grep -q IsViewable && { echo "$w"; return; }
    done
    sleep 0.1
  done
}
count() { xwininfo -root -tree | grep -c "\"$1\": (\"alertwright.exe\""; }
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1; }
settle() { sleep "${1:-0.5}"; }

# Cyrillic from a second keyboard group: without it xdotool remaps a key for each letter, and
# Wine, reading the new mapping late, drops letters.
setxkbmap -layout us,ru && xdotool key ISO_Next_Group ISO_Prev_Group
"$WINE" "$exe" </dev/null >"$work/program.out" 2>&1 &
program=$!
main=$(window '^Alertwright$')
[[ -n $main ]] || { fail "no window titled Alertwright"; kill $program; exit 1; }
eval "$(xwininfo -id "$main" | sed -n 's/^ *Absolute upper-left X: *\(.*\)/x=\1/p
  s/^ *Absolute upper-left Y: *\(.*\)/y=\1/p; s/^ *Width: *\(.*\)/w=\1/p; s/^ *Height: *\(.*\)/h=\1/p')"
# Wine's X window is the client area with the menu bar at its top.
menu=$((h - 333))
((w == 388 && menu > 0 && menu < 40)) || fail "client area ${w}x$h, not 388x333 below a menu bar"
((x == (1280 - w) / 2)) || fail "the window is not centred: left edge at $x"
for _ in $(seq 20); do [[ $(xdotool getactivewindow 2>/dev/null) == "$main" ]] && break; sleep 0.1; done
[[ $(xdotool getactivewindow 2>/dev/null) == "$main" ]] || fail "the window is not active"
top=$((y + menu))

typed() { xdotool type --delay 60 "$1" && settle 0.3; }
typed 'Привет мир' && xdotool key Tab
typed 'Строка один' && xdotool key Return && typed 'Два'
xdotool mousemove $((x + 355)) $((top + 85)) && settle 0.2 && xdotool click 1 # the question picture
settle
xdotool key Tab Down Down Down Down && settle && xdotool key ctrl+s
settle 1
"$WINE" "$wclip" </dev/null >"$work/clip.out" 2>/dev/null || fail "no text on the clipboard"
"$linux" --title 'Привет мир' --text $'Строка один\r\nДва' --icon question --buttons 4 >"$work/expected"
cmp -s "$work/expected" "$work/clip.out" ||
  { fail "the clipboard holds other code:"; diff "$work/expected" "$work/clip.out" | cat -A; }
xprop -id "$main" WM_STATE | grep -q Iconic || fail "Ctrl+S did not minimize the window"

xdotool windowactivate "$main"
settle
# The exit button's face, right of its caption: resting, then lit under the pointer.
face_x=$((x + 300)) face_y=$((top + 305))
xdotool mousemove 5 5 && settle
resting=$(pixel $face_x $face_y)
xdotool mousemove $face_x $face_y && settle
lit=$(pixel $face_x $face_y)
[[ $resting == "#E0E0E0" && $lit == "#B6BFD8" ]] || fail "hovering: face $resting, then $lit"
xdotool mousemove 5 5

xdotool key F5
[[ -n $(window '^Привет мир$') ]] || fail "F5 showed no message box titled with the title"
xdotool key Return && settle
xdotool key F1
[[ -n $(window '^О программе...$') ]] || fail "F1 did not open About"
xdotool mousemove $((x + 10)) $((top + 200)) click 1 && settle 1
(($(count 'О программе...') == 0)) || fail "About stayed open after a click into the main window"

xdotool mousemove $face_x $face_y click 1
for _ in $(seq 100); do kill -0 $program 2>/dev/null || break; sleep 0.1; done
kill -0 $program 2>/dev/null && { fail "the exit button did not end the program"; kill $program; }
wait $program
status=$?
((status == 0)) || fail "the program ended with status $status"

((failed == 0)) && echo "alertwright.exe under Wine: window, typing, clipboard, preview, About, hover, exit"
exit $failed
