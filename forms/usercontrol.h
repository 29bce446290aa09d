#pragma once

#include "forms/control.h"
#include "forms/propertybag.h"
#include "forms/stdfont.h"
#include "forms/vbtypes.h"

#include <string>

namespace forms {

// The host of a control made of parts: its surface, its stored properties and its lifecycle.
class UserControl : public WindowedControl {
public:
    explicit UserControl(WindowedControl* container);

    OleColor BackColor() const { return m_backColor; }
    void setBackColor(OleColor c);
    float ScaleWidth() const { return static_cast<float>(pixelRect().width); }
    float ScaleHeight() const { return static_cast<float>(pixelRect().height); }

    // Lifecycle entry points for the host. Exactly one of InitNew/ReadFrom, once, before the first
    // show (RuntimeError otherwise).
    void InitNew();
    void ReadFrom(const PropertyBag& bag);
    void WriteTo(PropertyBag& bag);
    bool initialized() const { return m_initialized; }

    void PropertyChanged(const std::u16string& propertyName);
    bool needsSave() const { return m_needsSave; }
    void clearNeedsSave() { m_needsSave = false; }

    FontRef AmbientFont() const;
    void setAmbientFont(FontRef font);
    // The name its container knows it by.
    const std::u16string& AmbientDisplayName() const { return m_displayName; }
    void setDisplayName(const std::u16string& name) { m_displayName = name; }

    // Raised after each PropertyChanged, with the property's name.
    Event<const std::u16string> propertyChanged;

protected:
    virtual void UserControl_InitProperties() {}
    virtual void UserControl_ReadProperties(const PropertyBag&) {}
    virtual void UserControl_WriteProperties(PropertyBag&) {}
    virtual void UserControl_Show() {}
    virtual void UserControl_Resize() {}

    void paintBackground(Surface& surface) const override;
    void geometryChanged() override;
    void onShown() override;
    // The surface's own input is the control's business: the events a container sees are the
    // ones the control raises itself.
    void ownMouseInput(const MouseInput&, float, float) override {}

private:
    void beginLifecycle(const char16_t* entry);
    void resizeIfNeeded();

    OleColor m_backColor = 0x8000000F;
    bool m_initialized = false;
    bool m_needsSave = false;
    PixelRect m_lastSize;
    bool m_resized = false;
    FontRef m_ambientFont;
    std::u16string m_displayName;
};

struct StoredControl;

// Re-creates a control from its stored entry in the form file `file`: reads its properties and
// places it. Any error, also one the control raises on a value it cannot take, is a
// FormFileError naming the file, the control and the property.
void readStoredControl(UserControl& control, const StoredControl& stored,
                       const std::u16string& file);

} // namespace forms
