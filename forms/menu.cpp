#include "forms/menu.h"

namespace forms {

MenuItem::MenuItem(MenuPeer& menu, const std::u16string& caption, Shortcut shortcut)
    : m_caption(caption), m_shortcut(shortcut) {
    // The item may be gone when a queued choice arrives; the peer goes with it, and so does
    // its callback.
    m_peer = menu.addItem(caption, shortcut, [this] {
        if (m_enabled)
            Click();
    });
}

void MenuItem::setName(const std::u16string& name) {
    m_name = name;
    m_peer->setName(name);
}

void MenuItem::setCaption(const std::u16string& caption) {
    m_caption = caption;
    m_peer->setCaption(caption);
}

void MenuItem::setEnabled(bool enabled) {
    m_enabled = enabled;
    m_peer->setEnabled(enabled);
}

void MenuItem::setChecked(bool checked) {
    m_checked = checked;
    m_peer->setChecked(checked);
}

Menu::Menu(std::unique_ptr<MenuPeer> peer, const std::u16string& caption)
    : m_caption(caption), m_peer(std::move(peer)) {}

void Menu::setName(const std::u16string& name) {
    m_name = name;
    m_peer->setName(name);
}

MenuItem* Menu::addItem(const std::u16string& caption, Shortcut shortcut) {
    m_items.push_back(std::make_unique<MenuItem>(*m_peer, caption, shortcut));
    return m_items.back().get();
}

void Menu::addSeparator() {
    m_peer->addSeparator();
}

Menu* Menu::addSubmenu(const std::u16string& caption) {
    m_submenus.push_back(std::make_unique<Menu>(m_peer->addSubmenu(caption), caption));
    return m_submenus.back().get();
}

} // namespace forms
