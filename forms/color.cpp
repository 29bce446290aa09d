#include "forms/color.h"

#include "forms/error.h"
namespace forms {
bool isValidColor(OleColor c) {
    return (c & 0xFF000000u) == 0 || (c >= 0x80000000u && c < 0x80000000u + systemColorCount);
}
void checkColor(OleColor c) {
    if (!isValidColor(c))
        throw RuntimeError(QStringLiteral("Invalid property value"));
}
QColor toQColor(OleColor c) {
    checkColor(c);
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
OleColor fromQColor(const QColor& c) {
    return rgbColor(c.red(), c.green(), c.blue());
}
} // namespace forms
