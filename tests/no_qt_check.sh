#!/bin/sh
# Fails when a file above the Qt backend includes a Qt header (or the Qt backend itself): the
# program's layers and the forms layer are plain C++, and only forms/qt/ may use Qt.
# Usage: no_qt_check.sh <source dir>

QT_FREE="codegen cli forms controls app about"
BACKEND=forms/qt

cd "${1:?usage: no_qt_check.sh <source dir>}" || exit 2
status=0
for path in $QT_FREE; do
    if [ ! -d "$path" ]; then
        echo "no_qt_check: $path does not exist" >&2
        status=1
        continue
    fi
done
[ -d "$BACKEND" ] || { echo "no_qt_check: $BACKEND does not exist" >&2; exit 1; }
found=$(find $QT_FREE -path "$BACKEND" -prune -o -type f \( -name '*.h' -o -name '*.cpp' \) \
    -exec grep -nHE '^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"]Q|<Qt|"forms/qt/)' {} +)
if [ -n "$found" ]; then
    echo "$found"
    status=1
fi
[ $status -eq 0 ] && echo "no Qt header in: $QT_FREE (all but $BACKEND)"
exit $status
