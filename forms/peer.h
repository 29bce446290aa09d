#pragma once

#include "forms/keys.h"
#include "forms/stdpicture.h"
#include "forms/units.h"
#include "forms/vbtypes.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace forms {

class Surface;

// Raw input as a backend reports it to a windowed control, in the control's client pixels.
struct MouseInput {
    enum class Kind { Press, Move, Release, DoubleClick };
    Kind kind = Kind::Move;
    MouseButtons button;  // the one pressed or released
    MouseButtons buttons; // all held now
    KeyModifiers modifiers;
    float x = 0, y = 0;
};

struct KeyInput {
    std::int16_t keyCode = 0; // virtual-key code
    KeyModifiers modifiers;
    std::u16string text; // what the key types
    bool autoRepeat = false;
};

// What a windowed control hears from its peer.
class WindowSink {
public:
    virtual void paintWindow(Surface& surface) = 0;
    virtual void mouseInput(const MouseInput& input) = 0;
    virtual void keyDown(const KeyInput& input) = 0;
    virtual void keyUp(const KeyInput& input) = 0;
    virtual void focusChanged(bool hasFocus) = 0;
    // A press will see no release: a modal window opened, the window was left, or another
    // window took the mouse.
    virtual void pressCancelled() = 0;
    // The code showed it (not a window restored from the task bar).
    virtual void shown() = 0;

protected:
    ~WindowSink() = default;
};

// The platform's side of a windowed control: a native child window.
class WindowPeer {
public:
    virtual ~WindowPeer() = default;
    virtual void setGeometry(const PixelRect& r) = 0;
    virtual void setVisible(bool visible) = 0;
    // On the screen: it and every window it lies in are shown.
    virtual bool isShown() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    // Paints that part again soon; repaintNow paints what is pending at once.
    virtual void invalidate(const PixelRect& r) = 0;
    virtual void repaintNow() = 0;
    // In front of its windowed siblings.
    virtual void raise() = 0;
    virtual void setFocusable(bool focusable) = 0;
    virtual void setFocus() = 0;
    virtual bool hasFocus() const = 0;
    virtual PixelPoint screenToClient(PixelPoint screen) const = 0;
    // The control's name, for tests and diagnostics.
    virtual void setName(const std::u16string&) {}
};

class TimerPeer {
public:
    virtual ~TimerPeer() = default;
    // Ticks every `ms` (restarting the rhythm) until stop.
    virtual void start(int ms) = 0;
    virtual void stop() = 0;
    virtual bool running() const = 0;
    virtual int interval() const = 0;
};

// A native control of a special kind: its window part, which the control attaches and which owns
// the native control, and the same object's own operations.
template <typename Special> struct ControlPeer {
    std::unique_ptr<WindowPeer> window;
    Special* control = nullptr;
};

// Both faces of one new peer object, which the window owns.
template <typename Special, typename Peer> ControlPeer<Special> controlPeer(Peer* peer) {
    return {std::unique_ptr<WindowPeer>(peer), peer};
}

// --- Top-level windows and their menus ---

enum class BorderStyle {
    FixedSingle, // fixed size, title bar with close box only (no minimize, no maximize)
    FixedDialog  // fixed size dialog frame, not in the taskbar
};

// Which window of the application became the active one, as a form's peer sees it.
enum class Activation {
    ThisWindow,
    AnotherOfOurs, // a window of this application that this one does not own
    NoneOfOurs     // another application, or a window this one owns (its message box)
};

// What a form hears from its peer, besides what its client area hears.
class FormSink {
public:
    // The user asked to close the window (close box, Alt+F4); the peer leaves it open.
    virtual void closeRequested() = 0;
    // The active window may have changed; told after the change has settled.
    virtual void activationChanged(Activation activation) = 0;

protected:
    ~FormSink() = default;
};

class MenuItemPeer {
public:
    virtual ~MenuItemPeer() = default;
    virtual void setCaption(const std::u16string& caption) = 0;
    virtual void setEnabled(bool enabled) = 0;
    // A check mark beside the caption; choosing the item does not change it (its code does).
    virtual void setChecked(bool checked) = 0;
    virtual void setName(const std::u16string&) {}
};

// One menu of a menu bar.
class MenuPeer {
public:
    virtual ~MenuPeer() = default;
    // `chosen` runs when the user chooses the item or presses its shortcut in the window.
    virtual std::unique_ptr<MenuItemPeer> addItem(const std::u16string& caption, Shortcut shortcut,
                                                  std::function<void()> chosen) = 0;
    virtual void addSeparator() = 0;
    // A submenu at the end of this menu.
    virtual std::unique_ptr<MenuPeer> addSubmenu(const std::u16string& caption) = 0;
    virtual void setName(const std::u16string&) {}
};

// The window around a form's client area (the WindowPeer of the same object).
class FormPeer {
public:
    virtual ~FormPeer() = default;
    // Shows it modeless and activates it; the first time it is centred on the screen, frame
    // included.
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual void minimize() = 0;
    virtual void setCaption(const std::u16string& caption) = 0;
    // A null image: the platform's default icon.
    virtual void setIcon(const PixelImage& image) = 0;
    virtual void setBorderStyle(BorderStyle style) = 0;
    // A menu at the end of the menu bar (made when the first menu comes).
    virtual std::unique_ptr<MenuPeer> addMenu(const std::u16string& caption) = 0;
    // Opens the menu bar for the keyboard, its first menu highlighted (what F10 and Alt do).
    virtual void activateMenuBar() = 0;
};

// --- Stock controls ---

class TextBoxPeer {
public:
    virtual ~TextBoxPeer() = default;
    // The text as the native control holds it (its own line breaks).
    virtual std::u16string text() const = 0;
    // Line breaks come as CR LF.
    virtual void setText(const std::u16string& text) = 0;
    virtual void setBackColor(OleColor color) = 0;
    virtual void setLocked(bool locked) = 0;
    // False: Tab passes it by; a click still gives it the focus.
    virtual void setTabStop(bool tabStop) = 0;
};

// A drop-down list; it tells the user's choices only, never the ones its control makes.
class ComboBoxPeer {
public:
    virtual ~ComboBoxPeer() = default;
    virtual void insertItem(int index, const std::u16string& text) = 0;
    // -1: none chosen.
    virtual void setListIndex(int index) = 0;
    virtual void setBackColor(OleColor color) = 0;
};

// One option button; the control decides which of a group is chosen.
class OptionButtonPeer {
public:
    virtual ~OptionButtonPeer() = default;
    virtual void setCaption(const std::u16string& caption) = 0;
    virtual void setValue(bool chosen) = 0;
    virtual void setTabStop(bool tabStop) = 0;
    // The round mark at the right of the caption instead of at its left.
    virtual void setRightJustify(bool right) = 0;
};

class CommandButtonPeer {
public:
    virtual ~CommandButtonPeer() = default;
    virtual void setCaption(const std::u16string& caption) = 0;
    // Default: Enter anywhere in its window clicks it (unless another button has the focus);
    // Cancel: Esc does.
    virtual void setDefault(bool isDefault) = 0;
    virtual void setCancel(bool isCancel) = 0;
};

// --- The application ---

// The platform's application: the event loop and what the platform sets up once at start-up.
class ApplicationPeer {
public:
    virtual ~ApplicationPeer() = default;
    // Runs the event loop until quit; returns the exit code.
    virtual int run() = 0;
};

// What the backend a program links creates.
namespace backend {

// A plain native child of `parent` (nullptr: not placed anywhere yet) that paints and takes
// input through `sink`.
std::unique_ptr<WindowPeer> createWindowPeer(WindowSink& sink, WindowPeer* parent);
std::unique_ptr<TimerPeer> createTimerPeer(std::function<void()> tick);
// The pointer's position on the screen.
PixelPoint cursorPos();
// Runs `task` from the event loop, after the events pending now.
void post(std::function<void()> task);
// Gives the focus in this order to windows that take it, the last one last.
void setTabOrder(const std::vector<WindowPeer*>& order);

// A top-level window whose client area paints and takes input through `client`.
ControlPeer<FormPeer> createFormPeer(FormSink& form, WindowSink& client);
ControlPeer<TextBoxPeer> createTextBoxPeer(WindowPeer* parent, bool multiLine);
// `chosen` gets the position the user chose.
ControlPeer<ComboBoxPeer> createComboBoxPeer(WindowPeer* parent, std::function<void(int)> chosen);
// `chosen`: the user chose this button (click, Space); `arrow`: an arrow key asks for the
// previous (-1) or the next (1) button of the group.
ControlPeer<OptionButtonPeer> createOptionButtonPeer(WindowPeer* parent,
                                                     std::function<void()> chosen,
                                                     std::function<void(int)> arrow);
ControlPeer<CommandButtonPeer> createCommandButtonPeer(WindowPeer* parent,
                                                       std::function<void()> clicked);

// Starts the platform's application; once, before any window.
std::unique_ptr<ApplicationPeer> createApplicationPeer(int& argc, char** argv);
// Ends the event loop with `code` once the handler running now returns.
void quit(int code);
// One line on the program's log (standard error).
void writeLog(const std::u16string& line);

// The system clipboard; each throws RuntimeError when it cannot be opened.
void clipboardClear();
void clipboardSetText(const std::u16string& text);
// Whether it holds nothing at all; its text (nullopt: it holds no text).
bool clipboardEmpty();
std::optional<std::u16string> clipboardText();

} // namespace backend

} // namespace forms
