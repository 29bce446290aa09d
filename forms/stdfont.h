#pragma once

#include <QFont>
#include <QString>
#include <cstdint>
#include <memory>

namespace forms {

// A font object as the controls store it: face name, size in points, weight and flags.
struct StdFont {
    QString name = QStringLiteral("MS Sans Serif");
    float size = 8.25f; // points
    std::int16_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    std::int16_t charset = 204;

    // The face (or a similar sans-serif face with Cyrillic glyphs when the machine lacks it) at the
    // pixel size the face would have: round(size * logicalDpiY / 72).
    QFont toQFont() const;
    // round(size * logicalDpiY / 72), at least 1.
    int pixelSize() const;

    bool operator==(const StdFont&) const = default;
};

// Shared font object: copying the reference shares the object.
using FontRef = std::shared_ptr<StdFont>;

FontRef makeFont(const QString& name = QStringLiteral("MS Sans Serif"), float size = 8.25f,
                 std::int16_t weight = 400, bool italic = false, bool underline = false,
                 bool strikethrough = false, std::int16_t charset = 204);

// A new font object with the platform default (MS Sans Serif 8.25, 400, charset 204).
FontRef defaultFont();

} // namespace forms
