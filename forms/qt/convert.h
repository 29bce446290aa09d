#pragma once

#include "forms/error.h"
#include "forms/keys.h"
#include "forms/stdfont.h"
#include "forms/stdpicture.h"
#include "forms/units.h"
#include "forms/vbtypes.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <Qt>

// Between the toolkit-neutral values of the forms layer and Qt's.
namespace forms::qt {

// Resolves RGB and system colours; throws like checkColor for an invalid value.
QColor toQColor(OleColor c);

// RGB of the colour, alpha ignored.
OleColor fromQColor(const QColor& c);

// The pixels as a QImage that reads them in place: valid while `image` lives unchanged.
QImage toQImage(const PixelImage& image);
PixelImage fromQImage(const QImage& image);

// The face (or a similar sans-serif face with Cyrillic glyphs when the machine lacks it) at the
// font's pixel size.
QFont toQFont(const StdFont& font);

QStringList toQStringList(const std::vector<std::u16string>& list);

inline QRect toQRect(const PixelRect& r) {
    return QRect(r.x, r.y, r.width, r.height);
}

// Windows virtual-key code of a Qt key (Qt::Key); 0 when there is none. Shifted symbols and the
// letters of the Russian layout give the code of the key they sit on (US / ЙЦУКЕН layouts).
std::int16_t virtualKeyFromQt(int qtKey);
// The same, with the keypad keys (Qt::KeypadModifier) mapped to the numeric-pad codes.
std::int16_t virtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);

KeyModifiers modifiersOf(Qt::KeyboardModifiers m);
MouseButtons buttonsOf(Qt::MouseButtons b);

// A run-time error whose detail Qt code has composed.
inline RuntimeError runtimeError(const QString& detail) {
    return RuntimeError(detail.toStdU16String());
}
inline RuntimeError runtimeError(ErrorKind kind, const QString& detail) {
    return RuntimeError(kind, detail.toStdU16String());
}

} // namespace forms::qt
