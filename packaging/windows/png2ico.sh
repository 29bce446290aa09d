#!/bin/sh
# Wraps a PNG picture in an .ico file as it is: Windows (since Vista), Wine and NSIS read PNG
# icon images, so no converter is needed.
# Usage: png2ico.sh PICTURE.png OUT.ico
set -eu
png=$1 ico=$2
bytes() { od -An -tu1 -j "$1" -N "$2" "$png" | tr -s ' \n' '  ' | sed 's/^ //; s/ $//'; }
[ "$(bytes 0 8)" = "137 80 78 71 13 10 26 10" ] || { echo "png2ico: $png is not a PNG" >&2; exit 1; }
# Width and height: big-endian at bytes 16 and 20, in the PNG's header chunk.
word32() { bytes "$1" 4 | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }'; }
w=$(word32 16) h=$(word32 20) size=$(wc -c <"$png")
[ "$w" -le 256 ] && [ "$h" -le 256 ] || { echo "png2ico: $png is over 256 x 256" >&2; exit 1; }
u8() { printf "\\$(printf %03o $(($1 & 255)))"; }
u16() { u8 "$1"; u8 $(($1 >> 8)); }
u32() { u16 $(($1 & 65535)); u16 $(($1 >> 16)); }
{
  u16 0; u16 1; u16 1                    # reserved, an icon, one image
  u8 "$w"; u8 "$h"; u8 0; u8 0           # width and height (256 is written 0), no palette
  u16 1; u16 32; u32 "$size"; u32 22     # planes, bits per pixel, the PNG's size and offset
  cat "$png"
} >"$ico.part"
mv "$ico.part" "$ico"
