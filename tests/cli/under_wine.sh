#!/usr/bin/env bash
# The Windows build of alertwright-gen under Wine must answer byte for byte as the Linux build:
# Cyrillic and non-BMP arguments, CR LF from a piped text file, the exit status and the errors.
# Usage: under_wine.sh LINUX_PROGRAM WINDOWS_PROGRAM WINE64 PREFIX_DIR
set -uo pipefail
linux=$1 exe=$2 wine=$3
export WINEPREFIX=$4 WINEDEBUG=-all
[[ -f $exe ]] || { echo "skipped: $exe is not built (make windows)"; exit 77; }
server=$(dirname "$wine")/wineserver
# Wine's services inherit the first call's streams: start them with none of ours.
"$server" -p </dev/null >/dev/null 2>&1
"$wine" wineboot </dev/null >/dev/null 2>&1
trap '"$server" -k </dev/null >/dev/null 2>&1' EXIT

work=$(mktemp -d)
printf 'Первая строка\r\nВторая "в кавычках"\r\n' >"$work/crlf.txt"
printf '\xEF\xBB\xBFС меткой порядка байтов' >"$work/bom.txt"
printf 'If MsgBox("Удалить?" & vbCrLf & _\r\n ChrW$(&HD83D), vbYesNo + vbQuestion + 256 + 8192) = vbYes Then' >"$work/code.bas"
cases=(
  '--title Сохранение --text Сохранить? --icon question --buttons 4'
  '--text Café😀 --title Ünïcode'
  '--text-file - --buttons 3'
  '--text-file bom.txt'
  '--buttons -0'
  '--icon Вопрос'
  '--version extra'
  '--text Удалить? --icon question --buttons 4 --default-button 2 --rtl --constants'
  '--buttons 4 --default-button 3'
  '--read --code-file code.bas'
  '--read'
)
failed=0
for c in "${cases[@]}"; do
  read -ra args <<<"$c"
  (cd "$work" && "$linux" "${args[@]}" <crlf.txt >linux.out 2>linux.err; echo $? >linux.rc)
  (cd "$work" && "$wine" "$exe" "${args[@]}" <crlf.txt >win.out 2>win.err; echo $? >win.rc)
  for f in out err rc; do
    if ! cmp -s "$work/linux.$f" "$work/win.$f"; then
      echo "FAIL: alertwright-gen $c: standard $f differs (Linux, then Windows):"
      od -c "$work/linux.$f" | head -4
      od -c "$work/win.$f" | head -4
      failed=1
    fi
  done
done
rm -rf "$work"
((failed == 0)) && echo "alertwright-gen.exe under Wine: ${#cases[@]} cases, byte for byte as on Linux"
exit $failed
