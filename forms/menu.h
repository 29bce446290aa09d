#pragma once

#include "forms/events.h"
#include "forms/keys.h"
#include "forms/peer.h"

#include <memory>
#include <string>
#include <vector>

namespace forms {

// An item of a form's menu. Click runs when the user chooses it or presses its shortcut
// anywhere in the form's window, only while it is enabled.
class MenuItem {
public:
    MenuItem(MenuPeer& menu, const std::u16string& caption, Shortcut shortcut);
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    const std::u16string& Name() const { return m_name; }
    void setName(const std::u16string& name);
    const std::u16string& Caption() const { return m_caption; }
    void setCaption(const std::u16string& caption);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    // The check mark; choosing the item leaves it to the Click handler.
    bool Checked() const { return m_checked; }
    void setChecked(bool checked);
    Shortcut shortcut() const { return m_shortcut; }

    MenuItemPeer* peer() const { return m_peer.get(); }

    Event<> Click;

private:
    std::u16string m_name;
    std::u16string m_caption;
    Shortcut m_shortcut;
    bool m_enabled = true;
    bool m_checked = false;
    std::unique_ptr<MenuItemPeer> m_peer;
};

// A menu of a form's menu bar: items and separators, top to bottom.
class Menu {
public:
    explicit Menu(std::unique_ptr<MenuPeer> peer, const std::u16string& caption);
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    const std::u16string& Name() const { return m_name; }
    void setName(const std::u16string& name);
    const std::u16string& Caption() const { return m_caption; }

    MenuItem* addItem(const std::u16string& caption, Shortcut shortcut = {});
    void addSeparator();
    // A submenu at the end of this menu; it lives as long as this one.
    Menu* addSubmenu(const std::u16string& caption);
    const std::vector<std::unique_ptr<MenuItem>>& items() const { return m_items; }
    const std::vector<std::unique_ptr<Menu>>& submenus() const { return m_submenus; }

    MenuPeer* peer() const { return m_peer.get(); }

private:
    std::u16string m_name;
    std::u16string m_caption;
    // Items and submenus go first: their peers belong to the menu's.
    std::unique_ptr<MenuPeer> m_peer;
    std::vector<std::unique_ptr<MenuItem>> m_items;
    std::vector<std::unique_ptr<Menu>> m_submenus;
};

} // namespace forms
