#include "forms/keys.h"
namespace forms {
std::int16_t virtualKeyFromQt(int) {
    return 0;
}
std::int16_t shiftMask(Qt::KeyboardModifiers) {
    return 0;
}
std::int16_t buttonMask(Qt::MouseButtons) {
    return 0;
}
int toCp1251(char16_t ch) {
    return ch < 0x80 ? ch : -1;
}
char16_t fromCp1251(unsigned char b) {
    return b;
}
} // namespace forms
