// Property accessors and the descriptions that designers and tools show for them.
#include "controls/kxbutton/kxbutton.h"
#include "forms/error.h"

#include <cmath>

using forms::VbFalse;
using forms::VbTrue;

namespace {

constexpr kxButton::MemberDescription Properties[] = {
    {"ForeColor",
     u"Returns/sets the foreground color used to display text and graphics in an object."},
    {"Enabled", u"Returns/sets a value that determines whether an object can respond to "
                u"user-generated events."},
    {"Font", u"Returns a Font object."},
    {"Picture", u"Returns/sets a graphic to be displayed in a control."},
    {"Toggle", u"Устанавливает статус кнопки (обычная, переключатель)."},
    {"Value", u"Устанавливает состояние кнопки."},
    {"Caption", u"Returns/sets the text displayed in an object's title bar or below an object's "
                u"icon."},
    {"MaskColor",
     u"Returns/sets the background color used to display text and graphics in an object."},
    {"BorderColor", nullptr},
};

constexpr kxButton::MemberDescription Events[] = {
    {"Click", u"Occurs when the user presses and then releases a mouse button over an object."},
    {"DblClick", u"Occurs when the user presses and releases a mouse button and then presses and "
                 u"releases it again over an object."},
    {"KeyDown", u"Occurs when the user presses a key while an object has the focus."},
    {"KeyPress", u"Occurs when the user presses and releases an ANSI key."},
    {"KeyUp", u"Occurs when the user releases a key while an object has the focus."},
    {"MouseDown", u"Occurs when the user presses the mouse button while an object has the focus."},
    {"MouseMove", u"Occurs when the user moves the mouse."},
    {"MouseUp", u"Occurs when the user releases the mouse button while an object has the focus."},
    {"MouseOut", nullptr},
};

// The language's conversion to Boolean: anything but 0 is True.
forms::Boolean asBoolean(forms::Boolean v) {
    return v != VbFalse ? VbTrue : VbFalse;
}

} // namespace

std::span<const kxButton::MemberDescription> kxButton::propertyDescriptions() {
    return Properties;
}

std::span<const kxButton::MemberDescription> kxButton::eventDescriptions() {
    return Events;
}

std::u16string kxButton::description(std::u16string_view memberName) {
    const std::u16string wanted = forms::platform::foldCase(memberName);
    for (auto table : {propertyDescriptions(), eventDescriptions()}) {
        for (const MemberDescription& m : table) {
            const std::string_view name(m.name);
            if (forms::platform::foldCase(std::u16string(name.begin(), name.end())) == wanted)
                return m.description ? std::u16string(m.description) : std::u16string();
        }
    }
    return {};
}

forms::OleColor kxButton::ForeColor() const {
    return Label1.ForeColor();
}

void kxButton::setForeColor(forms::OleColor New_ForeColor) {
    Label1.setForeColor(New_ForeColor);
    PropertyChanged(u"ForeColor");
}

forms::Boolean kxButton::Enabled() const {
    return forms::vbBool(Picture1.Enabled());
}

void kxButton::setEnabled(forms::Boolean New_Enabled) {
    // The surface itself stays enabled; only the face and what lies on it follow.
    const bool on = New_Enabled != VbFalse;
    Picture1.setEnabled(on);
    Image1.setEnabled(on);
    Label1.setEnabled(on);
    Label2.setEnabled(on);
    DisBorder.setVisible(!Picture1.Enabled());
    // The surface follows too, so that the base class's flag and the property agree.
    UserControl::setEnabled(on);
    PropertyChanged(u"Enabled");
}

void kxButton::stateChanged() {
    UserControl::stateChanged();
    // Only the surface's own flag; a disabled container changes nothing here.
    if (UserControl::Enabled() != Picture1.Enabled())
        setEnabled(forms::vbBool(UserControl::Enabled()));
}

forms::FontRef kxButton::Font() const {
    return Label1.Font();
}

void kxButton::setFont(forms::FontRef New_Font) {
    Label1.setFont(std::move(New_Font));
    PropertyChanged(u"Font");
}

forms::PictureRef kxButton::Picture() const {
    return Image1.Picture();
}

void kxButton::setToggle(forms::Boolean New_Toggle) {
    m_StoredDownLookPending = false;
    m_Toggle = asBoolean(New_Toggle);
    PropertyChanged(u"Toggle");
    if (m_Toggle == VbFalse) {
        // A plain button is never down; "Value" is not notified for this.
        m_Value = VbFalse;
        showUpLook();
    }
}

void kxButton::setValue(forms::Boolean New_Value) {
    m_StoredDownLookPending = false;
    m_Value = asBoolean(New_Value);
    if (m_Toggle == VbFalse)
        m_Value = VbFalse;
    if (m_Value == VbTrue)
        showDownLook();
    else
        showUpLook();
    PropertyChanged(u"Value");
}

void kxButton::showDownLook() {
    Picture1.setBackColor(DownFaceColor);
    Shape1.setVisible(true);
    Shape1.Move(0, 0, Picture1.ScaleWidth(), Picture1.ScaleHeight());
    Shape1.setBorderColor(DownFrameColor);
    Image1.setPicture(variant(Picture4));
}

void kxButton::showUpLook() {
    Picture1.setBackColor(restingFaceColor());
    Shape1.setVisible(false);
    Image1.setPicture(Picture2.Picture());
}

std::u16string kxButton::Caption() const {
    return Label1.Caption();
}

void kxButton::setCaption(const std::u16string& New_Caption) {
    Label1.setCaption(New_Caption);
    PropertyChanged(u"Caption");
    float available = Picture1.ScaleWidth();
    if (forms::hasImage(Image1.Picture()))
        available = Picture1.ScaleWidth() - (Image1.Width() + 3.0f);
    if (!std::isfinite(available))
        throw forms::RuntimeError(u"Overflow");
    if (Label1.Width() > available)
        Label1.setWidth(available);
    UserControl_Resize();
}

forms::OleColor kxButton::MaskColor() const {
    return Picture2.BackColor();
}

void kxButton::setMaskColor(forms::OleColor New_MaskColor) {
    // Takes effect at the next picture set; the variants already made stay as they are.
    Picture2.setBackColor(New_MaskColor);
    PropertyChanged(u"MaskColor");
}

forms::OleColor kxButton::BorderColor() const {
    return Shape2.BorderColor();
}

void kxButton::setBorderColor(forms::OleColor New_BorderColor) {
    Shape2.setBorderColor(New_BorderColor);
    PropertyChanged(u"BorderColor");
}
