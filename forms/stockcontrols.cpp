#include "forms/stockcontrols.h"

#include "forms/color.h"
#include "forms/error.h"
#include "forms/form.h"
#include "forms/text.h"

#include <algorithm>
#include <functional>

namespace forms {

namespace {

// Every control of the given kind in the window `control` lies in, depth first.
template <typename T>
void forEachInWindow(const Control* control, const std::function<void(T*)>& f) {
    const Control* top = control;
    while (top->container())
        top = top->container();
    std::function<void(const Control*)> walk = [&](const Control* c) {
        if (auto* t = dynamic_cast<T*>(const_cast<Control*>(c)))
            f(t);
        if (!c->windowless())
            for (const Control* child : static_cast<const WindowedControl*>(c)->children())
                walk(child);
    };
    walk(top);
}

} // namespace

// ---- TextBox

TextBox::TextBox(WindowedControl* container, bool multiLine)
    : WindowedControl(container, NoPeer{}), m_multiLine(multiLine) {
    ControlPeer<TextBoxPeer> peer =
        backend::createTextBoxPeer(container ? container->peer() : nullptr, multiLine);
    m_text = peer.control;
    attachPeer(std::move(peer.window));
}

std::u16string withCrLf(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n' || c == u'\u2028' || c == u'\u2029') {
            out += u"\r\n";
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::u16string TextBox::Text() const {
    std::u16string text = m_text->text();
    return m_multiLine ? withCrLf(text) : text;
}

void TextBox::setText(const std::u16string& text) {
    m_text->setText(m_multiLine ? withCrLf(text) : text);
}

void TextBox::setBackColor(OleColor color) {
    checkColor(color);
    m_backColor = color;
    m_text->setBackColor(color);
}

void TextBox::setLocked(bool locked) {
    m_locked = locked;
    m_text->setLocked(locked);
}

void TextBox::setTabStop(bool tabStop) {
    m_tabStop = tabStop;
    m_text->setTabStop(tabStop);
}

// ---- ComboBox

ComboBox::ComboBox(WindowedControl* container) : WindowedControl(container, NoPeer{}) {
    ControlPeer<ComboBoxPeer> peer = backend::createComboBoxPeer(
        container ? container->peer() : nullptr, [this](int index) { choose(index); });
    m_list = peer.control;
    attachPeer(std::move(peer.window));
}

void ComboBox::AddItem(const std::u16string& item, int index) {
    if (index < -1 || index > ListCount())
        throw RuntimeError(u"Invalid argument: list position " + number(index));
    const int at = index == -1 ? ListCount() : index;
    m_items.insert(m_items.begin() + at, item);
    m_list->insertItem(at, item);
    // The chosen entry moves down with an entry put in before it.
    if (m_listIndex >= at)
        ++m_listIndex;
    m_list->setListIndex(m_listIndex);
}

const std::u16string& ComboBox::List(int index) const {
    if (index < 0 || index >= ListCount())
        throw RuntimeError(u"Invalid argument: list position " + number(index));
    return m_items[static_cast<std::size_t>(index)];
}

void ComboBox::setListIndex(int index) {
    if (index < -1 || index >= ListCount())
        throw RuntimeError(u"Invalid property value");
    m_list->setListIndex(index);
    choose(index);
}

void ComboBox::choose(int index) {
    if (index == m_listIndex)
        return;
    m_listIndex = index;
    // The handler sees the new position already.
    Click();
}

void ComboBox::setBackColor(OleColor color) {
    checkColor(color);
    m_backColor = color;
    m_list->setBackColor(color);
}

// ---- OptionButton

OptionButton::OptionButton(WindowedControl* container, const std::u16string& caption)
    : WindowedControl(container, NoPeer{}), m_caption(caption) {
    ControlPeer<OptionButtonPeer> peer = backend::createOptionButtonPeer(
        container ? container->peer() : nullptr, [this] { setValue(true); },
        [this](int step) { arrow(step); });
    m_option = peer.control;
    attachPeer(std::move(peer.window));
    m_option->setCaption(caption);
    // A new button may take its group's stop.
    updateTabStops();
}

void OptionButton::setCaption(const std::u16string& caption) {
    m_caption = caption;
    m_option->setCaption(caption);
}

void OptionButton::setAlignment(Alignment alignment) {
    m_alignment = alignment;
    m_option->setRightJustify(alignment == Alignment::RightJustify);
}

std::vector<OptionButton*> OptionButton::group() const {
    std::vector<OptionButton*> buttons;
    if (WindowedControl* c = container()) {
        for (Control* sibling : c->children())
            if (auto* b = dynamic_cast<OptionButton*>(sibling))
                buttons.push_back(b);
    } else {
        buttons.push_back(const_cast<OptionButton*>(this));
    }
    std::stable_sort(buttons.begin(), buttons.end(), [](OptionButton* a, OptionButton* b) {
        const PixelRect ra = a->pixelRect(), rb = b->pixelRect();
        return ra.y != rb.y ? ra.y < rb.y : ra.x < rb.x;
    });
    return buttons;
}

void OptionButton::setValue(bool value) {
    if (value == m_value)
        return;
    if (value) {
        for (OptionButton* other : group()) {
            if (other != this && other->m_value) {
                other->m_value = false;
                other->m_option->setValue(false);
            }
        }
    }
    m_value = value;
    m_option->setValue(value);
    updateTabStops();
    if (value)
        Click();
}

void OptionButton::updateTabStops() {
    const std::vector<OptionButton*> buttons = group();
    const auto chosen =
        std::find_if(buttons.begin(), buttons.end(), [](OptionButton* b) { return b->m_value; });
    OptionButton* stop = chosen != buttons.end() ? *chosen : nullptr;
    if (!stop) {
        // With none chosen, the one met first in tab order keeps the stop: in the order the form
        // was given, else in the order they were made.
        std::vector<const Control*> order;
        if (const Form* form = Form::of(this))
            order.assign(form->tabOrder().begin(), form->tabOrder().end());
        if (const WindowedControl* c = container())
            order.insert(order.end(), c->children().begin(), c->children().end());
        for (const Control* c : order) {
            if (auto it = std::find(buttons.begin(), buttons.end(), c); it != buttons.end()) {
                stop = *it;
                break;
            }
        }
    }
    for (OptionButton* b : buttons)
        b->m_option->setTabStop(b == stop);
}

void OptionButton::arrow(int step) {
    const std::vector<OptionButton*> buttons = group();
    const auto count = static_cast<std::ptrdiff_t>(buttons.size());
    const auto at = std::find(buttons.begin(), buttons.end(), this) - buttons.begin();
    // The next one that can take the choice: skip hidden and disabled ones.
    for (std::ptrdiff_t i = 1; i <= count; ++i) {
        OptionButton* next =
            buttons[static_cast<std::size_t>(((at + step * i) % count + count) % count)];
        if (next == this || !next->Visible() || !next->Enabled())
            continue;
        next->SetFocus();
        next->setValue(true);
        break;
    }
}

// ---- CommandButton

CommandButton::CommandButton(WindowedControl* container, const std::u16string& caption)
    : WindowedControl(container, NoPeer{}), m_caption(caption) {
    ControlPeer<CommandButtonPeer> peer = backend::createCommandButtonPeer(
        container ? container->peer() : nullptr, [this] { Click(); });
    m_button = peer.control;
    attachPeer(std::move(peer.window));
    m_button->setCaption(caption);
}

void CommandButton::setCaption(const std::u16string& caption) {
    m_caption = caption;
    m_button->setCaption(caption);
}

void CommandButton::setDefault(bool isDefault) {
    if (isDefault) {
        forEachInWindow<CommandButton>(this, [this](CommandButton* other) {
            if (other != this && other->m_default)
                other->setDefault(false);
        });
    }
    m_default = isDefault;
    m_button->setDefault(isDefault);
}

void CommandButton::setCancel(bool isCancel) {
    if (isCancel) {
        forEachInWindow<CommandButton>(this, [this](CommandButton* other) {
            if (other != this && other->m_cancel)
                other->setCancel(false);
        });
    }
    m_cancel = isCancel;
    m_button->setCancel(isCancel);
}

} // namespace forms
