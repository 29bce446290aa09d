#include "forms/stdfont.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <cmath>

namespace forms {

namespace {

float logicalDpiY() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return 96.0f;
    const QScreen* s = QGuiApplication::primaryScreen();
    return s && s->logicalDotsPerInchY() > 0 ? static_cast<float>(s->logicalDotsPerInchY()) : 96.0f;
}

// The machine's face if it has it and it can show Cyrillic text (the program's texts are Russian);
// otherwise the metric-compatible sans-serif faces that are installed with the program.
// Asking the font database about a face costs a fontconfig alias lookup, so each name is asked
// about once (fonts are made on the user-interface thread only).
QStringList familiesFor(const QString& name) {
    const bool gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    static QHash<QString, QStringList> known;
    if (gui) {
        const auto it = known.constFind(name);
        if (it != known.constEnd())
            return *it;
    }
    QStringList families;
    if (gui && !name.isEmpty() && QFontDatabase::hasFamily(name) &&
        QFontDatabase::writingSystems(name).contains(QFontDatabase::Cyrillic))
        families << name;
    families << QStringLiteral("Liberation Sans") << QStringLiteral("DejaVu Sans")
             << QStringLiteral("Sans Serif");
    if (gui)
        known.insert(name, families);
    return families;
}

} // namespace

int StdFont::pixelSize() const {
    const float px = std::round(size * logicalDpiY() / 72.0f);
    if (!(px >= 1.0f))
        return 1;
    return px > 4096.0f ? 4096 : static_cast<int>(px);
}

QFont StdFont::toQFont() const {
    QFont f;
    f.setFamilies(familiesFor(name));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixelSize());
    f.setWeight(static_cast<QFont::Weight>(std::clamp<int>(weight, 1, 1000)));
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStrikeOut(strikethrough);
    return f;
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
