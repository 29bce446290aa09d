#include "forms/usercontrol.h"

#include "forms/units.h"
namespace forms {
UserControl::UserControl(QWidget* parent) : QWidget(parent) {}
void UserControl::setBackColor(OleColor c) {
    m_backColor = c;
}
void UserControl::InitNew() {
    m_initialized = true;
    UserControl_InitProperties();
}
void UserControl::ReadFrom(const PropertyBag& b) {
    m_initialized = true;
    UserControl_ReadProperties(b);
}
void UserControl::WriteTo(PropertyBag& b) {
    UserControl_WriteProperties(b);
}
void UserControl::PropertyChanged(const QString& n) {
    m_needsSave = true;
    emit propertyChanged(n);
}
FontRef UserControl::AmbientFont() const {
    return m_ambientFont ? m_ambientFont : defaultFont();
}
void UserControl::setAmbientFont(FontRef f) {
    m_ambientFont = std::move(f);
}
QString UserControl::AmbientDisplayName() const {
    return m_displayName.isEmpty() ? objectName() : m_displayName;
}
void UserControl::setDisplayName(const QString& n) {
    m_displayName = n;
}
void UserControl::placeTwips(int l, int t, int w, int h) {
    forms::placeTwips(this, l, t, w, h);
}
void UserControl::showEvent(QShowEvent*) {
    UserControl_Show();
}
void UserControl::resizeEvent(QResizeEvent*) {
    UserControl_Resize();
}
void UserControl::paintEvent(QPaintEvent*) {}
} // namespace forms
