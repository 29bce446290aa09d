#!/bin/sh
# Fails when a folder or file that must stay free of Qt includes a Qt header (or the Qt backend).
# Usage: no_qt_check.sh <source dir>

# What must build without Qt: folders, and single files of forms/ (the forms_core library).
QT_FREE="
codegen
cli
forms/vbtypes.h forms/platform.h
forms/color.h forms/color.cpp
forms/error.h forms/error.cpp
forms/formfile.h forms/formfile.cpp
forms/keys.h forms/keys.cpp
forms/msgbox.h forms/msgbox.cpp
forms/propertybag.h forms/propertybag.cpp
forms/stdfont.h forms/stdfont.cpp
forms/stdpicture.h forms/stdpicture.cpp
forms/text.h forms/text.cpp
forms/units.h forms/units.cpp
forms/control.h forms/control.cpp forms/events.h forms/peer.h forms/surface.h
forms/cursor.h forms/cursor.cpp
forms/image.h forms/image.cpp
forms/label.h forms/label.cpp
forms/line.h forms/line.cpp
forms/picturebox.h forms/picturebox.cpp
forms/shape.h forms/shape.cpp
forms/timer.h forms/timer.cpp
forms/usercontrol.h forms/usercontrol.cpp
forms/form.h forms/form.cpp forms/menu.h forms/menu.cpp
forms/stockcontrols.h forms/stockcontrols.cpp
forms/application.h forms/application.cpp forms/appinfo.h forms/appinfo.cpp
forms/clipboard.h forms/clipboard.cpp
controls
"

cd "${1:?usage: no_qt_check.sh <source dir>}" || exit 2
status=0
for path in $QT_FREE; do
    if [ ! -e "$path" ]; then
        echo "no_qt_check: $path does not exist" >&2
        status=1
        continue
    fi
    found=$(find "$path" -type f \( -name '*.h' -o -name '*.cpp' \) -exec \
        grep -nHE '^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"]Q|<Qt|"forms/qt/)' {} +)
    if [ -n "$found" ]; then
        echo "$found"
        status=1
    fi
done
[ $status -eq 0 ] && echo "no Qt header in: $(echo $QT_FREE)"
exit $status
