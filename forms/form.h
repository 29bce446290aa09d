#pragma once

#include "forms/control.h"
#include "forms/menu.h"
#include "forms/peer.h"
#include "forms/stdpicture.h"
#include "forms/vbtypes.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace forms {

// A top-level window. The form itself is its client area below the menu bar: the container of
// the window's controls, (0, 0) at its top left, its Width and Height the client size in pixels
// (Left and Top mean nothing for it). Create forms with new: unloading one (Unload() or its close
// box) deletes it later. The application ends when the last loaded form is unloaded.
class Form : public WindowedControl, private FormSink {
public:
    using BorderStyle = forms::BorderStyle;

    Form();
    ~Form() override;

    // Runs Form_Load the first time; later calls do nothing.
    void Load();
    bool isLoaded() const { return m_loaded; }

    // Loads if needed, then shows the window modeless, without owner, and activates it; the
    // first time it is centred on the screen, frame included.
    void Show();
    void Hide();
    // Show or Hide.
    void setVisible(bool visible) override;

    // Hides the window (Form_Unload runs once) and deletes it later; safe from its own handlers.
    void Unload();
    bool isUnloaded() const { return m_unloaded; }

    // Sets the window state to minimized (also for a window without a minimize button).
    void Minimize();

    // The client area below the menu bar, in twips; the window keeps a fixed size around it.
    // Negative: RuntimeError("Invalid property value"), nothing changes.
    void setClientSizeTwips(int width, int height);

    BorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(BorderStyle style);

    const std::u16string& Caption() const { return m_caption; }
    void setCaption(const std::u16string& caption);

    // The window's icon; nullptr or an empty picture: the platform's own.
    PictureRef Icon() const { return m_icon; }
    void setIcon(PictureRef icon);
    // From the program's resources (RuntimeError naming the path if unreadable).
    void setIcon(const std::u16string& resourcePath);

    // Checked; the background under the windowless controls.
    OleColor BackColor() const { return m_backColor; }
    void setBackColor(OleColor color);

    // A menu at the end of the menu bar; it lives as long as the form.
    Menu* addMenu(const std::u16string& caption);
    const std::vector<std::unique_ptr<Menu>>& menus() const { return m_menus; }

    // The Tab order of the controls, first to last. A control made of several native windows (a
    // text box, a kxButton) stays one stop, so Shift+Tab walks back exactly as Tab walks on.
    static void setTabOrder(std::initializer_list<WindowedControl*> controls);
    // The order last given for this form's controls.
    const std::vector<const WindowedControl*>& tabOrder() const { return m_tabOrder; }

    // Opens the menu bar for the keyboard, its first menu highlighted (what F10 and Alt do).
    void activateMenuBar();

    FormPeer* formPeer() const { return m_form; }
    // The form a control lies on, or nullptr.
    static Form* of(const Control* control);

protected:
    virtual void Form_Load() {}
    // Raised when another window of this application becomes active after this one; not when
    // the user switches to another application.
    virtual void Form_Deactivate() {}
    virtual void Form_Unload() {}

    void paintBackground(Surface& surface) const override;

private:
    void closeRequested() override;
    void activationChanged(Activation activation) override;

    FormPeer* m_form = nullptr; // the same object as peer()
    std::vector<std::unique_ptr<Menu>> m_menus;
    std::vector<const WindowedControl*> m_tabOrder;
    std::u16string m_caption;
    PictureRef m_icon;
    OleColor m_backColor = 0x8000000F; // button face
    BorderStyle m_borderStyle = BorderStyle::FixedSingle;
    bool m_loaded = false;
    bool m_unloaded = false;
    bool m_wasActive = false;
};

// A control the form owns, named as the code knows it and placed at a rectangle given in twips.
template <typename T, typename... Args>
T* placeControl(Form& form, const std::u16string& name, const PixelRect& twips, Args&&... args) {
    T* control = form.make<T>(std::forward<Args>(args)...);
    control->setName(name);
    control->placeTwips(twips.x, twips.y, twips.width, twips.height);
    return control;
}

} // namespace forms
