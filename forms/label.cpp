#include "forms/label.h"
namespace forms {
Label::Label(QWidget* parent) : Control(parent), m_font(defaultFont()) {}
void Label::setCaption(const QString& c) {
    m_caption = c;
    update();
}
void Label::setForeColor(OleColor c) {
    m_foreColor = c;
}
void Label::setBackColor(OleColor c) {
    m_backColor = c;
}
void Label::setBackStyleTransparent(bool on) {
    m_transparent = on;
}
void Label::setFont(FontRef f) {
    m_font = std::move(f);
}
void Label::setAutoSize(bool on) {
    m_autoSize = on;
}
void Label::refresh() {}
void Label::paintEvent(QPaintEvent*) {}
void Label::fitToText() {}
} // namespace forms
