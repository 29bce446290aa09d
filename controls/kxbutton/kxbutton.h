#pragma once

#include "forms/image.h"
#include "forms/label.h"
#include "forms/picturebox.h"
#include "forms/propertybag.h"
#include "forms/shape.h"
#include "forms/stdfont.h"
#include "forms/stdpicture.h"
#include "forms/timer.h"
#include "forms/usercontrol.h"
#include "forms/vbtypes.h"

#include <cstdint>
#include <span>
#include <string>

// The tool's own graphical command button: a flat face with a small picture near its left edge
// and a centred caption. It lights up while the pointer is over it, looks pressed while a mouse
// button is held, can work as a two-state switch (Toggle) and raises MouseOut when the pointer
// has left. Everything it shows is made of twelve named parts on the control surface.
class kxButton : public forms::UserControl {
public:
    explicit kxButton(forms::WindowedControl* container = nullptr);
    ~kxButton() override;

    static constexpr const char* ClassName = "Alertwright.kxButton";

    // What a designer or a tool shows for a property or an event. description is null where the
    // member has none.
    struct MemberDescription {
        const char* name;
        const char16_t* description;
    };
    // The nine properties in interface order.
    static std::span<const MemberDescription> propertyDescriptions();
    // The nine events in declaration order (the event number is the position + 1).
    static std::span<const MemberDescription> eventDescriptions();
    // The description of a property or event, found regardless of case; empty when it has none.
    static std::u16string description(std::u16string_view memberName);

    // --- Properties, in interface order. Each let/set stores, then notifies by name. ---
    forms::OleColor ForeColor() const;
    void setForeColor(forms::OleColor New_ForeColor);

    // The Boolean lets take any value other than 0 as True (-1), as the language converts it, so
    // a C++ true or a 1 stores -1.
    forms::Boolean Enabled() const;
    void setEnabled(forms::Boolean New_Enabled);
    using forms::UserControl::setEnabled;

    forms::FontRef Font() const;
    void setFont(forms::FontRef New_Font);

    forms::PictureRef Picture() const;
    void setPicture(forms::PictureRef New_Picture);

    forms::Boolean Toggle() const { return m_Toggle; }
    void setToggle(forms::Boolean New_Toggle);

    forms::Boolean Value() const { return m_Value; }
    void setValue(forms::Boolean New_Value);

    std::u16string Caption() const;
    void setCaption(const std::u16string& New_Caption);

    forms::OleColor MaskColor() const;
    void setMaskColor(forms::OleColor New_MaskColor);

    forms::OleColor BorderColor() const;
    void setBorderColor(forms::OleColor New_BorderColor);

    // Fixed colours of the looks.
    static constexpr forms::OleColor DownFaceColor = 0x00FFC0C0;
    static constexpr forms::OleColor DownFrameColor = 0x00C00000;
    static constexpr forms::OleColor ShadowColor = 0x00808080;

    // The nine events, numbered in this order: Click, DblClick, KeyDown, KeyPress, KeyUp,
    // MouseDown, MouseMove, MouseUp, MouseOut. Click, DblClick and the three mouse events are the
    // ones every control has (forms::Control); parameters are by reference so that a handler in
    // the container may change them.
    forms::Event<std::int16_t, std::int16_t> KeyDown; // KeyCode, Shift
    forms::Event<std::int16_t> KeyPress;              // KeyAscii
    forms::Event<std::int16_t, std::int16_t> KeyUp;   // KeyCode, Shift
    forms::Event<> MouseOut;

protected:
    // Stored properties: a new instance, one re-created from its container, and a save.
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(const forms::PropertyBag& PropBag) override;
    void UserControl_WriteProperties(forms::PropertyBag& PropBag) override;

    // Layout: places face, picture, caption, overlay and frames; never stops on a failing step.
    void UserControl_Resize() override;
    void UserControl_Show() override;

    // The base class's setEnabled, called through a forms::Control*, goes to the property; a
    // press that ends where the button cannot see its release returns it to rest.
    void stateChanged() override;
    void onPressCancelled() override;

    // Handlers of the parts' events. The overlay Label2 covers the face behind the picture
    // element Image1; the face Picture1 holds the focus.
    void Label2_MouseDown(std::int16_t& Button, std::int16_t& Shift, float& x, float& y);
    void Image1_MouseDown(std::int16_t& Button, std::int16_t& Shift, float& x, float& y);
    void Label2_MouseMove(std::int16_t& Button, std::int16_t& Shift, float& x, float& y);
    void Label2_MouseUp(std::int16_t& Button, std::int16_t& Shift, float& x, float& y);
    void Image1_MouseUp(std::int16_t& Button, std::int16_t& Shift, float& x, float& y);
    void Label2_Click();
    void Image1_Click();
    void Label2_DblClick();
    void Image1_DblClick();
    void Picture1_KeyDown(std::int16_t& KeyCode, std::int16_t& Shift);
    void Picture1_KeyPress(std::int16_t& KeyAscii);
    void Picture1_KeyUp(std::int16_t& KeyCode, std::int16_t& Shift);
    void Timer1_Timer();

    // Nearest 32-bit integer, ties to the even neighbour; out of range is an overflow.
    static std::int32_t whole(double x);
    // Halves, truncating toward zero.
    static std::int32_t half(std::int32_t n) { return n / 2; }

    // The background of the surface is the face colour at rest.
    forms::OleColor restingFaceColor() const { return BackColor(); }

    // --- Parts. A container is declared before its children, so children are destroyed first. ---
    forms::PictureBox Picture5; // pressed picture, 19 x 19
    forms::PictureBox Picture4; // down picture, 22 x 19
    forms::PictureBox Picture3; // lit picture (with shadow), 19 x 19
    forms::PictureBox Picture2; // picture as set; its drawn image is the normal variant
    forms::Timer Timer1;        // hover tracking
    forms::PictureBox Picture1; // the visible face
    forms::Shape DisBorder;     // shown only while disabled
    forms::Shape Shape1;        // highlight frame
    forms::Shape Shape2;        // border
    forms::Image Image1;        // the current picture variant
    forms::Label Label2;        // transparent overlay that catches the mouse
    forms::Label Label1;        // caption
    forms::Shape FocusFrame;    // dotted, inside the face while the face holds the focus

    // --- State ---
    forms::Boolean m_Toggle = forms::VbFalse;
    forms::Boolean m_Value = forms::VbFalse;
    forms::Boolean m_MouseHeld = forms::VbFalse;
    std::int32_t m_ImageLeft = 0; // Image1's home, written by the layout
    std::int32_t m_ImageTop = 0;

private:
    void createParts();
    void connectHandlers();
    void preparePicture(const forms::PictureRef& New_Picture, bool notify);
    void showDownLook();
    void showUpLook();
    void showNormalLook();
    void applyStoredDownLook();
    // A prepared variant, or nothing while the button has no picture.
    forms::PictureRef variant(const forms::PictureBox& surface) const;

    void press(std::int16_t& Button, std::int16_t& Shift, float& x, float& y);
    void release(std::int16_t& Button, std::int16_t& Shift, float& x, float& y);
    void pressLost();
    bool cursorOutside() const;
    void moveImageFromHome(std::int32_t offset);
    void coverFaceWithFrame();
    // Raises an event; false when a handler in the container destroyed the button meanwhile.
    template <typename Raise> bool raiseEvent(Raise&& raise);

    // A switch loaded down gets its down look once it is shown at its size.
    bool m_StoredDownLookPending = false;
};
