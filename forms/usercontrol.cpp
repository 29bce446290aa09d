#include "forms/usercontrol.h"

#include "forms/color.h"
#include "forms/error.h"
#include "forms/formfile.h"
#include "forms/surface.h"

namespace forms {

UserControl::UserControl(WindowedControl* container) : WindowedControl(container) {}

void UserControl::setBackColor(OleColor c) {
    checkColor(c);
    m_backColor = c;
    invalidate();
}

void UserControl::beginLifecycle(const char16_t* entry) {
    if (m_initialized)
        throw RuntimeError(std::u16string(entry) +
                           u": the control's properties were already initialised or read; a "
                           u"control is set up only once");
    m_initialized = true;
}

void UserControl::InitNew() {
    beginLifecycle(u"InitNew");
    UserControl_InitProperties();
}

void UserControl::ReadFrom(const PropertyBag& bag) {
    beginLifecycle(u"ReadFrom");
    UserControl_ReadProperties(bag);
}

void UserControl::WriteTo(PropertyBag& bag) {
    UserControl_WriteProperties(bag);
}

void UserControl::PropertyChanged(const std::u16string& propertyName) {
    m_needsSave = true;
    propertyChanged(propertyName);
}

FontRef UserControl::AmbientFont() const {
    return m_ambientFont ? m_ambientFont : defaultFont();
}

void UserControl::setAmbientFont(FontRef font) {
    m_ambientFont = std::move(font);
}

void UserControl::paintBackground(Surface& surface) const {
    surface.fillRect({0, 0, pixelRect().width, pixelRect().height}, opaquePixel(m_backColor));
}

// A control not on the screen learns its new size when it is shown, before UserControl_Show.
void UserControl::geometryChanged() {
    WindowedControl::geometryChanged();
    if (isShown())
        resizeIfNeeded();
}

void UserControl::resizeIfNeeded() {
    const PixelRect r = pixelRect();
    if (m_resized && r.width == m_lastSize.width && r.height == m_lastSize.height)
        return;
    m_resized = true;
    m_lastSize = r;
    UserControl_Resize();
}

void UserControl::onShown() {
    if (!m_initialized)
        throw RuntimeError(
            u"The control is shown before InitNew or ReadFrom set up its properties");
    resizeIfNeeded();
    UserControl_Show();
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
