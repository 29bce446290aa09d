#include "forms/qt/convert.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <algorithm>
#include <cstring>

// Font objects and pictures as Qt draws them.
namespace forms::qt {

namespace {

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

QFont toQFont(const StdFont& font) {
    QFont f;
    f.setFamilies(familiesFor(QString::fromStdU16String(font.name)));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(font.pixelSize());
    f.setWeight(static_cast<QFont::Weight>(std::clamp<int>(font.weight, 1, 1000)));
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikethrough);
    return f;
}

QImage toQImage(const PixelImage& image) {
    if (image.isNull())
        return QImage();
    return QImage(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                  image.width * 4, QImage::Format_ARGB32);
}

PixelImage fromQImage(const QImage& image) {
    if (image.isNull())
        return {};
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    PixelImage out(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y)
        std::memcpy(out.pixels.data() + static_cast<std::size_t>(y) * out.width, argb.scanLine(y),
                    static_cast<std::size_t>(out.width) * 4);
    return out;
}

} // namespace forms::qt

namespace forms::platform {

TextSize measureText(const StdFont& font, const std::u16string& text) {
    const QFontMetricsF fm(qt::toQFont(font));
    return {static_cast<float>(fm.horizontalAdvance(QString::fromStdU16String(text))),
            static_cast<float>(fm.height())};
}

} // namespace forms::platform
