#pragma once

#include "forms/control.h"
#include "forms/peer.h"
#include "forms/vbtypes.h"

#include <string>
#include <string_view>
#include <vector>

namespace forms {

// Text box, single- or multi-line (Tab moves the focus, no scroll bars, words wrap).
class TextBox : public WindowedControl {
public:
    explicit TextBox(WindowedControl* container, bool multiLine = false);

    bool MultiLine() const { return m_multiLine; }

    // The text as typed. In a multi-line box every line break (CR LF, a lone CR or LF, the line
    // and paragraph separators U+2028 and U+2029) is CR LF; nothing else is changed (a no-break
    // space stays one).
    std::u16string Text() const;
    // A multi-line box takes CR LF, LF or CR as line breaks.
    void setText(const std::u16string& text);

    OleColor BackColor() const { return m_backColor; }
    void setBackColor(OleColor color); // RuntimeError("Invalid property value") for a bad value

    // Read-only: the text can be selected and copied but not changed.
    bool Locked() const { return m_locked; }
    void setLocked(bool locked);

    // False: the Tab key skips the box; a click still gives it the focus.
    bool TabStop() const { return m_tabStop; }
    void setTabStop(bool tabStop);

private:
    TextBoxPeer* m_text = nullptr;
    const bool m_multiLine;
    OleColor m_backColor = 0x80000005; // window background
    bool m_locked = false;
    bool m_tabStop = true;
};

// Every line break (CR LF, lone CR, LF, U+2028, U+2029) as CR LF.
std::u16string withCrLf(std::u16string_view text);

// Drop-down list (not editable). Click is raised, at once, on every change of its position,
// whether the user or the code made it.
class ComboBox : public WindowedControl {
public:
    explicit ComboBox(WindowedControl* container);

    // Adds an entry at the end (index -1) or before position index; another index is
    // RuntimeError. The chosen entry stays the same (none stays none) and no Click is raised.
    void AddItem(const std::u16string& item, int index = -1);
    int ListCount() const { return static_cast<int>(m_items.size()); }
    // The entry at a position; RuntimeError outside 0 .. ListCount()-1.
    const std::u16string& List(int index) const;

    // -1 when no entry is chosen.
    int ListIndex() const { return m_listIndex; }
    // -1 .. ListCount()-1; anything else is RuntimeError("Invalid property value").
    void setListIndex(int index);

    OleColor BackColor() const { return m_backColor; }
    void setBackColor(OleColor color);

private:
    void choose(int index);

    ComboBoxPeer* m_list = nullptr;
    std::vector<std::u16string> m_items;
    int m_listIndex = -1;
    OleColor m_backColor = 0x80000005;
};

// Option button: at most one of those sharing a container is chosen. Click is raised whenever
// it becomes the chosen one, by the user or by setValue(true).
//
// The buttons sharing a container are one group and one Tab stop, as the platform has it: Tab
// lands on the chosen one (on the first one in the form's tab order while none is chosen), and
// the arrow keys choose the previous or next button in the order the user sees them (top to
// bottom, then left to right), wrapping at the ends and skipping hidden and disabled ones.
class OptionButton : public WindowedControl {
public:
    enum class Alignment { LeftJustify, RightJustify }; // where the caption is

    explicit OptionButton(WindowedControl* container, const std::u16string& caption = {});

    const std::u16string& Caption() const { return m_caption; }
    void setCaption(const std::u16string& caption);

    // The round mark at the caption's left (LeftJustify) or right.
    Alignment alignment() const { return m_alignment; }
    void setAlignment(Alignment alignment);

    bool Value() const { return m_value; }
    // true chooses it (the others of its container are cleared) and raises Click at once;
    // false clears it without choosing another.
    void setValue(bool value);

    // The group this button belongs to, in the order the arrow keys walk through it.
    std::vector<OptionButton*> group() const;

private:
    friend class Form;
    // Gives the Tab stop of the group to one button alone.
    void updateTabStops();
    void arrow(int step);

    OptionButtonPeer* m_option = nullptr;
    std::u16string m_caption;
    Alignment m_alignment = Alignment::LeftJustify;
    bool m_value = false;
};

// Command button. Default: Enter anywhere in its window clicks it; Cancel: Esc does. At most one
// Default and one Cancel button per window; setting one clears the other's flag.
class CommandButton : public WindowedControl {
public:
    explicit CommandButton(WindowedControl* container, const std::u16string& caption = {});

    const std::u16string& Caption() const { return m_caption; }
    void setCaption(const std::u16string& caption);

    bool Default() const { return m_default; }
    void setDefault(bool isDefault);
    bool Cancel() const { return m_cancel; }
    void setCancel(bool isCancel);

private:
    CommandButtonPeer* m_button = nullptr;
    std::u16string m_caption;
    bool m_default = false;
    bool m_cancel = false;
};

} // namespace forms
