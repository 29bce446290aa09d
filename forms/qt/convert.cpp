#include "forms/qt/convert.h"

#include "forms/color.h"

#include <array>

namespace forms::qt {

namespace {

// Keys of the standard Russian layout, U+0410 (А) .. U+042F (Я), as the US key they sit on.
constexpr std::array<std::int16_t, 32> russianKeys = {
    'F', ',' /*Б*/, 'D', 'U', 'L',       'T', ';' /*Ж*/, 'P',        'B',       'Q', 'R',
    'K', 'V',       'Y', 'J', 'G',       'H', 'C',       'N',        'E',       'A', '[' /*Х*/,
    'W', 'X',       'I', 'O', ']' /*Ъ*/, 'S', 'M',       '\'' /*Э*/, '.' /*Ю*/, 'Z',
};

std::int16_t oemKey(int ascii) {
    switch (ascii) {
    case ';':
        return 0xBA;
    case '=':
        return 0xBB;
    case ',':
        return 0xBC;
    case '-':
        return 0xBD;
    case '.':
        return 0xBE;
    case '/':
        return 0xBF;
    case '`':
        return 0xC0;
    case '[':
        return 0xDB;
    case '\\':
        return 0xDC;
    case ']':
        return 0xDD;
    case '\'':
        return 0xDE;
    default:
        return 0;
    }
}

} // namespace

QColor toQColor(OleColor c) {
    const OleColor rgb = resolveColor(c);
    return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>((rgb >> 16) & 0xFF));
}

QStringList toQStringList(const std::vector<std::u16string>& list) {
    QStringList out;
    for (const std::u16string& s : list)
        out << QString::fromStdU16String(s);
    return out;
}

OleColor fromQColor(const QColor& c) {
    const QColor rgb = c.toRgb();
    return rgbColor(rgb.red(), rgb.green(), rgb.blue());
}

std::int16_t virtualKeyFromQt(int k) {
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return static_cast<std::int16_t>(k);
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return static_cast<std::int16_t>(k);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return static_cast<std::int16_t>(0x70 + (k - Qt::Key_F1));
    // Cyrillic letters (Qt reports them upper-case), and Ё.
    if (k >= 0x0430 && k <= 0x044F)
        k -= 0x20;
    if (k == 0x0451)
        k = 0x0401;
    if (k >= 0x0410 && k <= 0x042F) {
        const int c = russianKeys[static_cast<std::size_t>(k - 0x0410)];
        return c >= 'A' && c <= 'Z' ? static_cast<std::int16_t>(c) : oemKey(c);
    }
    if (k == 0x0401)
        return 0xC0;
    switch (k) {
    case Qt::Key_Backspace:
        return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 0x09;
    case Qt::Key_Clear:
        return 0x0C;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 0x0D;
    case Qt::Key_Shift:
        return 0x10;
    case Qt::Key_Control:
        return 0x11;
    case Qt::Key_Alt:
        return 0x12;
    case Qt::Key_Pause:
        return 0x13;
    case Qt::Key_CapsLock:
        return 0x14;
    case Qt::Key_Escape:
        return 0x1B;
    case Qt::Key_Space:
        return 0x20;
    case Qt::Key_PageUp:
        return 0x21;
    case Qt::Key_PageDown:
        return 0x22;
    case Qt::Key_End:
        return 0x23;
    case Qt::Key_Home:
        return 0x24;
    case Qt::Key_Left:
        return 0x25;
    case Qt::Key_Up:
        return 0x26;
    case Qt::Key_Right:
        return 0x27;
    case Qt::Key_Down:
        return 0x28;
    case Qt::Key_Print:
        return 0x2C;
    case Qt::Key_Insert:
        return 0x2D;
    case Qt::Key_Delete:
        return 0x2E;
    case Qt::Key_Help:
        return 0x2F;
    case Qt::Key_Meta:
        return 0x5B;
    case Qt::Key_Menu:
        return 0x5D;
    case Qt::Key_NumLock:
        return 0x90;
    case Qt::Key_ScrollLock:
        return 0x91;
    // Shifted symbols of the US layout: the code of the key they sit on.
    case Qt::Key_Exclam:
        return '1';
    case Qt::Key_At:
        return '2';
    case Qt::Key_NumberSign:
        return '3';
    case Qt::Key_Dollar:
        return '4';
    case Qt::Key_Percent:
        return '5';
    case Qt::Key_AsciiCircum:
        return '6';
    case Qt::Key_Ampersand:
        return '7';
    case Qt::Key_Asterisk:
        return '8';
    case Qt::Key_ParenLeft:
        return '9';
    case Qt::Key_ParenRight:
        return '0';
    case Qt::Key_Underscore:
        return 0xBD;
    case Qt::Key_Plus:
        return 0xBB;
    case Qt::Key_Colon:
        return 0xBA;
    case Qt::Key_QuoteDbl:
        return 0xDE;
    case Qt::Key_Less:
        return 0xBC;
    case Qt::Key_Greater:
        return 0xBE;
    case Qt::Key_Question:
        return 0xBF;
    case Qt::Key_AsciiTilde:
        return 0xC0;
    case Qt::Key_BraceLeft:
        return 0xDB;
    case Qt::Key_Bar:
        return 0xDC;
    case Qt::Key_BraceRight:
        return 0xDD;
    default:
        break;
    }
    if (k >= 0x20 && k < 0x7F)
        return oemKey(k);
    return 0;
}

std::int16_t virtualKeyFromQt(int k, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier) {
        if (k >= Qt::Key_0 && k <= Qt::Key_9)
            return static_cast<std::int16_t>(0x60 + (k - Qt::Key_0));
        switch (k) {
        case Qt::Key_Asterisk:
            return 0x6A;
        case Qt::Key_Plus:
            return 0x6B;
        case Qt::Key_Minus:
            return 0x6D;
        case Qt::Key_Period:
        case Qt::Key_Comma:
            return 0x6E;
        case Qt::Key_Slash:
            return 0x6F;
        default:
            break;
        }
    }
    return virtualKeyFromQt(k);
}

KeyModifiers modifiersOf(Qt::KeyboardModifiers m) {
    return {m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier),
            m.testFlag(Qt::AltModifier)};
}

MouseButtons buttonsOf(Qt::MouseButtons b) {
    return {b.testFlag(Qt::LeftButton), b.testFlag(Qt::RightButton), b.testFlag(Qt::MiddleButton)};
}

} // namespace forms::qt
