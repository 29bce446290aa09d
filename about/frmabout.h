#pragma once

#include "forms/form.h"

#include <array>

namespace forms {
class CommandButton;
class Image;
class Label;
class Line;
class TextBox;
} // namespace forms

namespace about {

// The About window: the tool's name, its version and the author's line. There is at most one;
// it unloads itself on OK (mouse, Enter or Esc) and as soon as another window of the
// application becomes active, and the next opening loads a fresh one.
class frmAbout : public forms::Form {
public:
    // Loads the single About window if none is loaded, shows it modeless without owner and
    // returns it.
    static frmAbout* showAbout();
    // The loaded About window, or nullptr.
    static frmAbout* instance();

    forms::Image* Image1 = nullptr;
    forms::Label* lblTitle = nullptr;
    forms::Label* lblVersion = nullptr;
    forms::Label* lblDescription = nullptr;
    std::array<forms::Line*, 2> Line1{};
    forms::TextBox* Text1 = nullptr;
    forms::CommandButton* cmdOK = nullptr;

protected:
    void Form_Load() override;
    void Form_Deactivate() override;

private:
    frmAbout();
    ~frmAbout() override;

    void cmdOK_Click();
};

} // namespace about
