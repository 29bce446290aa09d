#include "forms/keys.h"

#include <QList>
#include <array>

namespace forms {

namespace {

// Code page 1251, bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
constexpr std::array<char16_t, 64> cp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // 0xB8
};

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

std::int16_t shiftMask(Qt::KeyboardModifiers m) {
    std::int16_t r = 0;
    if (m & Qt::ShiftModifier)
        r |= 1;
    if (m & Qt::ControlModifier)
        r |= 2;
    if (m & Qt::AltModifier)
        r |= 4;
    return r;
}

std::int16_t buttonMask(Qt::MouseButtons b) {
    std::int16_t r = 0;
    if (b & Qt::LeftButton)
        r |= 1;
    if (b & Qt::RightButton)
        r |= 2;
    if (b & Qt::MiddleButton)
        r |= 4;
    return r;
}

int toCp1251(char16_t ch) {
    if (ch < 0x80)
        return ch;
    if (ch >= 0x0410 && ch <= 0x044F)
        return 0xC0 + (ch - 0x0410);
    if (ch == 0xFFFD)
        return -1;
    for (std::size_t i = 0; i < cp1251High.size(); ++i)
        if (cp1251High[i] == ch)
            return static_cast<int>(0x80 + i);
    return -1;
}

char16_t fromCp1251(unsigned char byte) {
    if (byte < 0x80)
        return byte;
    if (byte >= 0xC0)
        return static_cast<char16_t>(0x0410 + (byte - 0xC0));
    return cp1251High[byte - 0x80];
}

QList<std::int16_t> keyAsciiCodes(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
    QList<std::int16_t> codes;
    if ((modifiers & Qt::ControlModifier) && qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        codes << static_cast<std::int16_t>(qtKey - Qt::Key_A + 1);
        return codes;
    }
    if (text.isEmpty()) {
        switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            codes << 13;
            break;
        case Qt::Key_Escape:
            codes << 27;
            break;
        case Qt::Key_Backspace:
            codes << 8;
            break;
        default:
            break;
        }
        return codes;
    }
    for (QChar c : text) {
        const int code = toCp1251(c.unicode());
        codes << static_cast<std::int16_t>(code < 0 ? '?' : code);
    }
    return codes;
}

} // namespace forms
