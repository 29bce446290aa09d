#include "forms/stdfont.h"
namespace forms {
QFont StdFont::toQFont() const {
    return QFont(name);
}
int StdFont::pixelSize() const {
    return 11;
}
FontRef makeFont(const QString& name, float size, std::int16_t weight, bool italic, bool underline,
                 bool strikethrough, std::int16_t charset) {
    return std::make_shared<StdFont>(
        StdFont{name, size, weight, italic, underline, strikethrough, charset});
}
FontRef defaultFont() {
    return makeFont();
}
} // namespace forms
