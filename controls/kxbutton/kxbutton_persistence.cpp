// Stored properties: what a container keeps for a button and how the button is re-created.
#include "controls/kxbutton/kxbutton.h"
#include "forms/propertybag.h"

using forms::VbFalse;
using forms::VbTrue;

namespace {
constexpr forms::OleColor DefaultTextColor = 0x80000012; // system colour: button text
constexpr forms::OleColor DefaultMaskColor = 0x00C0C0C0;
const forms::PropertyValue NoObject = std::monostate{};
const forms::PropertyValue FalseInteger = std::int16_t(0);

std::u16string defaultCaption() {
    return u"kxFlashButton";
}
} // namespace

void kxButton::UserControl_InitProperties() {
    m_Toggle = VbFalse;
    m_Value = VbFalse;
    Picture1.setBackColor(restingFaceColor());
    Shape1.setVisible(false);
}

// Applied in this order; an error ends the read at the failing property, and the ones read
// before it keep their new values.
void kxButton::UserControl_ReadProperties(const forms::PropertyBag& PropBag) {
    Label1.setForeColor(
        forms::toColor(PropBag.ReadProperty(u"ForeColor", forms::colorValue(DefaultTextColor))));
    Shape2.setBorderColor(
        forms::toColor(PropBag.ReadProperty(u"BorderColor", forms::colorValue(DefaultTextColor))));
    Picture1.setEnabled(forms::toBoolean(PropBag.ReadProperty(u"Enabled", true)) != VbFalse);
    const forms::FontRef ambient = AmbientFont();
    Label1.setFont(forms::toFont(PropBag.ReadProperty(u"Font", ambient)));

    const forms::OleColor preparedWith = Picture2.BackColor();
    setPicture(forms::toPicture(PropBag.ReadProperty(u"Picture", NoObject)));

    m_Toggle = forms::toBoolean(PropBag.ReadProperty(u"Toggle", FalseInteger));
    m_Value = forms::toBoolean(PropBag.ReadProperty(u"Value", FalseInteger));
    Label1.setCaption(forms::toString(PropBag.ReadProperty(u"Caption", defaultCaption())));
    Picture2.setBackColor(
        forms::toColor(PropBag.ReadProperty(u"MaskColor", forms::colorValue(DefaultMaskColor))));

    // The picture was prepared before its mask colour was known; prepare it again against the
    // stored one ("Picture" has been notified already).
    if (Picture2.BackColor() != preparedWith && forms::hasImage(Picture2.Picture()))
        preparePicture(Picture2.Picture(), false);

    // A switch stored down looks down, so that its look and its Value agree.
    m_StoredDownLookPending = m_Toggle == VbTrue && m_Value == VbTrue;
    applyStoredDownLook();
}

void kxButton::applyStoredDownLook() {
    // The frame covers the face, so the look waits until the button is shown at its size.
    if (!m_StoredDownLookPending || !isShown() || Picture1.ScaleWidth() <= 0 ||
        Picture1.ScaleHeight() <= 0)
        return;
    m_StoredDownLookPending = false;
    if (m_Toggle == VbTrue && m_Value == VbTrue)
        showDownLook();
}

void kxButton::UserControl_WriteProperties(forms::PropertyBag& PropBag) {
    PropBag.WriteProperty(u"ForeColor", forms::colorValue(Label1.ForeColor()),
                          forms::colorValue(DefaultTextColor));
    PropBag.WriteProperty(u"BorderColor", forms::colorValue(Shape2.BorderColor()),
                          forms::colorValue(DefaultTextColor));
    PropBag.WriteProperty(u"Enabled", Picture1.Enabled(), true);
    PropBag.WriteProperty(u"Font", Label1.Font(), AmbientFont());
    // The picture as set, not the variant shown now: the lit one, with its shadow, would be
    // prepared once more on the next load.
    PropBag.WriteProperty(u"Picture", Picture2.Picture(), NoObject);
    PropBag.WriteProperty(u"Toggle", m_Toggle != VbFalse, FalseInteger);
    PropBag.WriteProperty(u"Value", m_Value != VbFalse, FalseInteger);
    PropBag.WriteProperty(u"Caption", Label1.Caption(), defaultCaption());
    PropBag.WriteProperty(u"MaskColor", forms::colorValue(Picture2.BackColor()),
                          forms::colorValue(DefaultMaskColor));
}
