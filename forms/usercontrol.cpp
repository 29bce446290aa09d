#include "forms/usercontrol.h"

#include "forms/color.h"
#include "forms/control.h"
#include "forms/error.h"
#include "forms/formfile.h"
#include "forms/qt/convert.h"
#include "forms/units.h"

#include <QPainter>
#include <QShowEvent>

namespace forms {

UserControl::UserControl(QWidget* parent) : QWidget(parent) {}

void UserControl::setBackColor(OleColor c) {
    checkColor(c);
    m_backColor = c;
    update();
}

void UserControl::beginLifecycle(const char* entry) {
    if (m_initialized)
        throw qt::runtimeError(
            QStringLiteral("%1: the control's properties were already initialised "
                           "or read; a control is set up only once")
                .arg(QLatin1String(entry)));
    m_initialized = true;
}

void UserControl::InitNew() {
    beginLifecycle("InitNew");
    UserControl_InitProperties();
}

void UserControl::ReadFrom(const PropertyBag& bag) {
    beginLifecycle("ReadFrom");
    UserControl_ReadProperties(bag);
}

void UserControl::WriteTo(PropertyBag& bag) {
    UserControl_WriteProperties(bag);
}

void UserControl::PropertyChanged(const QString& propertyName) {
    m_needsSave = true;
    emit propertyChanged(propertyName);
}

FontRef UserControl::AmbientFont() const {
    return m_ambientFont ? m_ambientFont : defaultFont();
}

void UserControl::setAmbientFont(FontRef font) {
    m_ambientFont = std::move(font);
}

QString UserControl::AmbientDisplayName() const {
    return m_displayName.isEmpty() ? objectName() : m_displayName;
}

void UserControl::setDisplayName(const QString& name) {
    m_displayName = name;
}

void UserControl::placeTwips(int left, int top, int width, int height) {
    forms::placeTwips(this, left, top, width, height);
}

void UserControl::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // A window being restored from the task bar is not the control becoming visible.
    if (e->spontaneous())
        return;
    if (!m_initialized)
        throw qt::runtimeError(
            QStringLiteral("The control is shown before InitNew or ReadFrom set up "
                           "its properties"));
    UserControl_Show();
}

void UserControl::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    UserControl_Resize();
}

void UserControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), qt::toQColor(m_backColor));
}

void readStoredControl(UserControl& control, const StoredControl& stored,
                       const std::u16string& file) {
    const PropertyBag& bag = stored.properties;
    try {
        control.ReadFrom(bag);
    } catch (const FormFileError&) {
        throw;
    } catch (const RuntimeError& e) {
        throw FormFileError(e, file, stored.name, bag.lastRead());
    }
    try {
        control.placeTwips(stored.left, stored.top, stored.width, stored.height);
    } catch (const RuntimeError& e) {
        throw FormFileError(e, file, stored.name);
    }
}

} // namespace forms
