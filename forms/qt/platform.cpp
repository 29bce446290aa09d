#include "forms/platform.h"

#include "forms/color.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QStringEncoder>
#include <array>
#include <optional>

// The platform's answers from Qt.
namespace forms::platform {

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

// 96 dpi when there is no screen (a core application, or before the GUI is up).
float logicalDpi(bool horizontal) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return 96.0f;
    const QScreen* s = QGuiApplication::primaryScreen();
    if (!s)
        return 96.0f;
    const qreal dpi = horizontal ? s->logicalDotsPerInchX() : s->logicalDotsPerInchY();
    return dpi > 0 ? static_cast<float>(dpi) : 96.0f;
}

} // namespace

OleColor systemColorRgb(int index) {
    const SystemColorEntry& e = systemColors[static_cast<std::size_t>(index)];
    QRgb rgb = e.fallback;
    // Only a GUI application has a palette; a core application (or none) gets the fixed values.
    if (e.role && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        rgb = QGuiApplication::palette().color(e.group, *e.role).rgb();
    return rgbColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

float twipsPerPixelX() {
    return 1440.0f / logicalDpi(true);
}
float twipsPerPixelY() {
    return 1440.0f / logicalDpi(false);
}

int toCp1251(char16_t ch) {
    if (ch < 0x80)
        return ch;
    static QStringEncoder encoder("windows-1251");
    static QStringDecoder decoder("windows-1251");
    encoder.resetState();
    decoder.resetState();
    const QByteArray bytes = encoder.encode(QStringView(&ch, 1));
    // The encoder substitutes a character the code page lacks (with '?' or SUB) or may put a
    // look-alike: only a byte that reads back as the character is its code.
    if (bytes.size() != 1 || QString(decoder.decode(bytes)) != QChar(ch))
        return -1;
    return static_cast<unsigned char>(bytes[0]);
}

} // namespace forms::platform
