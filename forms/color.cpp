#include "forms/color.h"

#include "forms/error.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>
#include <optional>

namespace forms {

namespace {

struct SystemColorEntry {
    std::optional<QPalette::ColorRole> role; // a palette role where one fits
    QPalette::ColorGroup group;
    QRgb fallback; // the classic Windows value, used where no role fits or there is no palette
};

constexpr auto A = QPalette::Active;
constexpr auto D = QPalette::Disabled;

// Windows system colour indices 0..30.
const std::array<SystemColorEntry, systemColorCount> systemColors = {{
    {std::nullopt, A, qRgb(0xC8, 0xC8, 0xC8)},              // 0 scroll bar
    {std::nullopt, A, qRgb(0x00, 0x00, 0x00)},              // 1 desktop
    {std::nullopt, A, qRgb(0x99, 0xB4, 0xD1)},              // 2 active caption
    {std::nullopt, A, qRgb(0xBF, 0xCD, 0xDB)},              // 3 inactive caption
    {QPalette::Window, A, qRgb(0xF0, 0xF0, 0xF0)},          // 4 menu
    {QPalette::Base, A, qRgb(0xFF, 0xFF, 0xFF)},            // 5 window background
    {std::nullopt, A, qRgb(0x64, 0x64, 0x64)},              // 6 window frame
    {QPalette::WindowText, A, qRgb(0x00, 0x00, 0x00)},      // 7 menu text
    {QPalette::Text, A, qRgb(0x00, 0x00, 0x00)},            // 8 window text
    {std::nullopt, A, qRgb(0x00, 0x00, 0x00)},              // 9 caption text
    {std::nullopt, A, qRgb(0xB4, 0xB4, 0xB4)},              // 10 active border
    {std::nullopt, A, qRgb(0xF4, 0xF7, 0xFC)},              // 11 inactive border
    {std::nullopt, A, qRgb(0xAB, 0xAB, 0xAB)},              // 12 application workspace
    {QPalette::Highlight, A, qRgb(0x33, 0x99, 0xFF)},       // 13 highlight
    {QPalette::HighlightedText, A, qRgb(0xFF, 0xFF, 0xFF)}, // 14 highlighted text
    {QPalette::Button, A, qRgb(0xF0, 0xF0, 0xF0)},          // 15 button face
    {QPalette::Dark, A, qRgb(0xA0, 0xA0, 0xA0)},            // 16 button shadow
    {QPalette::Text, D, qRgb(0x6D, 0x6D, 0x6D)},            // 17 grey text
    {QPalette::ButtonText, A, qRgb(0x00, 0x00, 0x00)},      // 18 button text
    {std::nullopt, A, qRgb(0x43, 0x4E, 0x54)},              // 19 inactive caption text
    {QPalette::Light, A, qRgb(0xFF, 0xFF, 0xFF)},           // 20 button highlight
    {QPalette::Shadow, A, qRgb(0x69, 0x69, 0x69)},          // 21 3D dark shadow
    {QPalette::Midlight, A, qRgb(0xE3, 0xE3, 0xE3)},        // 22 3D light
    {QPalette::ToolTipText, A, qRgb(0x00, 0x00, 0x00)},     // 23 tooltip text
    {QPalette::ToolTipBase, A, qRgb(0xFF, 0xFF, 0xE1)},     // 24 tooltip background
    {std::nullopt, A, qRgb(0x00, 0x00, 0x00)},              // 25 (unused by Windows)
    {QPalette::Link, A, qRgb(0x00, 0x66, 0xCC)},            // 26 hot-tracked item
    {std::nullopt, A, qRgb(0xB9, 0xD1, 0xEA)},              // 27 active caption gradient
    {std::nullopt, A, qRgb(0xD7, 0xE4, 0xF2)},              // 28 inactive caption gradient
    {QPalette::Highlight, A, qRgb(0x33, 0x99, 0xFF)},       // 29 menu highlight
    {QPalette::Window, A, qRgb(0xF0, 0xF0, 0xF0)},          // 30 menu bar
}};

bool isSystem(OleColor c) {
    return (c & 0x80000000u) != 0;
}

} // namespace

bool isValidColor(OleColor c) {
    if (isSystem(c))
        return (c & 0x7FFFFFFFu) < static_cast<OleColor>(systemColorCount);
    return (c & 0xFF000000u) == 0;
}

void checkColor(OleColor c) {
    if (isValidColor(c))
        return;
    const auto hex = [](OleColor v) {
        return QStringLiteral("&H%1").arg(QString::number(v, 16).toUpper(), 8, QLatin1Char('0'));
    };
    throw RuntimeError(ErrorKind::InvalidPropertyValue,
                       QStringLiteral("Invalid property value: %1 is not a colour (RGB colours are "
                                      "%2 to %3, system colours %4 to %5)")
                           .arg(hex(c), hex(0), hex(0x00FFFFFF), hex(systemColor(0)),
                                hex(systemColor(systemColorCount - 1))));
}

QColor toQColor(OleColor c) {
    checkColor(c);
    if (!isSystem(c))
        return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                      static_cast<int>((c >> 16) & 0xFF));
    const SystemColorEntry& e = systemColors[c & 0x7FFFFFFFu];
    // Only a GUI application has a palette; a core application (or none) gets the fixed values.
    if (e.role && qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QColor resolved = QGuiApplication::palette().color(e.group, *e.role);
        resolved.setAlpha(255);
        return resolved;
    }
    return QColor::fromRgb(e.fallback);
}

OleColor fromQColor(const QColor& c) {
    const QColor rgb = c.toRgb();
    return rgbColor(rgb.red(), rgb.green(), rgb.blue());
}

} // namespace forms
