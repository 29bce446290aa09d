#pragma once

#include "codegen/style.h"
#include "forms/form.h"

#include <array>
#include <cstdint>
#include <string>

namespace forms {
class ComboBox;
class Image;
class Label;
class Menu;
class MenuItem;
class OptionButton;
class TextBox;
} // namespace forms

class kxButton;

namespace app {

// The generator window: the user types a title and a text, picks an icon and a button set,
// previews the message box or copies its Visual Basic code to the clipboard.
class frmMsgGen : public forms::Form {
public:
    // Builds the controls and re-creates the three buttons from the stored form file; throws
    // forms::RuntimeError (a forms::FormFileError for a damaged form file) when it cannot.
    frmMsgGen();

    // Commands, shared by the menu items and the buttons.
    void previewMessage();
    void copyCodeToClipboard();
    // Reads the first message box call on the clipboard into the window, as if the user had
    // chosen its parts; unreadable code changes nothing and says why.
    void takeCodeFromClipboard();
    void exitWindow();
    void showAbout();

    // The window's own state.
    std::uint8_t iconStyle() const { return m_iconStyle; }
    const std::u16string& buttonNames() const { return m_buttonNames; }
    const std::u16string& returnCodes() const { return m_returnCodes; }
    // Every part of the style as the window has it chosen now, and whether the code names them.
    codegen::StyleParts styleParts() const;
    bool constants() const;

    // Controls, in tab order, then the ones that take no focus.
    forms::TextBox* txtTitle = nullptr;
    forms::TextBox* txtText = nullptr;
    forms::ComboBox* cmbButtons = nullptr;
    std::array<forms::OptionButton*, 4> pct{};
    forms::OptionButton* pctNone = nullptr; // element 4 of its own one-element array
    forms::Label* lblTitle = nullptr;
    forms::Label* lblText = nullptr;
    kxButton* cmdPreview = nullptr;
    kxButton* cmdPutToClip = nullptr;
    kxButton* cmdExit = nullptr;
    std::array<forms::Image*, 4> img{};

    // Menus and their items.
    forms::Menu* message = nullptr;
    forms::MenuItem* Preview = nullptr;
    forms::MenuItem* Put = nullptr;
    forms::MenuItem* Take = nullptr;
    forms::MenuItem* finish = nullptr;
    forms::Menu* options = nullptr;
    forms::Menu* defaultButtonMenu = nullptr;
    std::array<forms::MenuItem*, 3> defaultButton{}; // "Первая", "Вторая", "Третья"
    forms::MenuItem* systemModal = nullptr;
    forms::MenuItem* helpButton = nullptr;
    forms::MenuItem* alignRight = nullptr;
    forms::MenuItem* rightToLeft = nullptr;
    forms::MenuItem* namedConstants = nullptr;
    forms::Menu* help = nullptr;
    forms::MenuItem* about = nullptr;

    // The index that pctNone carries in its control array.
    static constexpr int pctNoneIndex = 4;
    // The stored form file the buttons are re-created from.
    static std::u16string formFilePath();

protected:
    void Form_Load() override;

private:
    void createControls();
    void createButtons();
    void createMenus();
    void createOptionsMenu();
    // Checks the default button `number` (1-3), or the first when the set has fewer buttons,
    // and enables as many as the set has.
    void chooseDefaultButton(int number);
    void applyReading(const codegen::StyleParts& parts, const std::u16string& title,
                      const std::u16string& text, bool constants);
    void setTabOrder();

    void cmbButtons_Click();
    void pct_Click(int index);
    void pctNone_Click(int index);
    void img_Click(int index);
    void selectIcon(int index);

    // Reports a failure of a command to the user; the window stays as it is.
    void reportFailure(const std::u16string& text);

    std::uint8_t m_iconStyle = 0;
    std::u16string m_buttonNames;
    std::u16string m_returnCodes;
};

} // namespace app
