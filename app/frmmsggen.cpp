#include "app/frmmsggen.h"

#include "about/frmabout.h"
#include "codegen/buttonsets.h"
#include "codegen/messagecode.h"
#include "codegen/messagereader.h"
#include "controls/kxbutton/kxbutton.h"
#include "forms/clipboard.h"
#include "forms/error.h"
#include "forms/formfile.h"
#include "forms/image.h"
#include "forms/label.h"
#include "forms/menu.h"
#include "forms/msgbox.h"
#include "forms/stdfont.h"
#include "forms/stdpicture.h"
#include "forms/stockcontrols.h"
#include "forms/units.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace app {

namespace {

const std::u16string KxButtonClass = u"Alertwright.kxButton";
const std::u16string Resources = u":/frmMsgGen/";

// 16-bit arithmetic of the window's style values: a result outside the range is an overflow.
std::int16_t toInteger(int value) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        throw forms::RuntimeError(u"Overflow");
    return static_cast<std::int16_t>(value);
}

std::uint8_t toByte(int value) {
    if (value < 0 || value > std::numeric_limits<std::uint8_t>::max())
        throw forms::RuntimeError(u"Overflow");
    return static_cast<std::uint8_t>(value);
}

forms::MenuItem* addItem(forms::Menu* menu, const std::u16string& name,
                         const std::u16string& caption, forms::Shortcut shortcut = {}) {
    forms::MenuItem* item = menu->addItem(caption, shortcut);
    item->setName(name);
    return item;
}

} // namespace

std::u16string frmMsgGen::formFilePath() {
    return Resources + u"frmMsgGen.json";
}

frmMsgGen::frmMsgGen() {
    setName(u"frmMsgGen");
    setCaption(u"Alertwright");
    setIcon(Resources + u"windowicon.png");
    setBorderStyle(BorderStyle::FixedSingle);
    createMenus();
    setClientSizeTwips(5820, 4995);
    createControls();
    createButtons();
    setTabOrder();
    txtTitle->SetFocus();
}

void frmMsgGen::createControls() {
    txtTitle = forms::placeControl<forms::TextBox>(*this, u"txtTitle", {1020, 360, 3315, 315});
    txtTitle->setBackColor(0x00E7F0FA);

    txtText = forms::placeControl<forms::TextBox>(*this, u"txtText", {1020, 900, 3315, 2010}, true);
    txtText->setBackColor(0x00F2F5F1);

    // A plain drop-down list: nothing can be typed, so a set is always chosen.
    cmbButtons =
        forms::placeControl<forms::ComboBox>(*this, u"cmbButtons", {1035, 2970, 3345, 315});
    cmbButtons->setBackColor(0x00EAF7EA);
    cmbButtons->Click.connect([this] { cmbButtons_Click(); });

    lblTitle = forms::placeControl<forms::Label>(*this, u"lblTitle", {60, 420, 915, 255});
    lblTitle->setCaption(u"Заголовок:");

    lblText = forms::placeControl<forms::Label>(*this, u"lblText", {60, 900, 915, 195});
    lblText->setCaption(u"Текст:");

    // The pictures, top to bottom in the order of their icon values, each with its option
    // button at its left. The option buttons carry their round mark at their right edge, in
    // one column with the mark of pctNone, next to the pictures.
    struct IconRow {
        const char16_t* picture;
        int imgTop;
        int pctTop;
    };
    const IconRow rows[4] = {{u"stop.png", 270, 450},
                             {u"question.png", 900, 1035},
                             {u"exclamation.png", 1530, 1665},
                             {u"information.png", 2160, 2295}};
    for (int i = 0; i < 4; ++i) {
        const std::u16string index(1, static_cast<char16_t>(u'0' + i));
        img[i] =
            forms::placeControl<forms::Image>(*this, u"img_" + index, {5040, rows[i].imgTop, 0, 0});
        img[i]->setPicture(forms::loadPicture(Resources + rows[i].picture));
        img[i]->Click.connect([this, i] { img_Click(i); });

        pct[i] = forms::placeControl<forms::OptionButton>(*this, u"pct_" + index,
                                                          {4500, rows[i].pctTop, 375, 240});
        pct[i]->setAlignment(forms::OptionButton::Alignment::RightJustify);
        pct[i]->Click.connect([this, i] { pct_Click(i); });
    }

    pctNone = forms::placeControl<forms::OptionButton>(*this, u"pctNone_4", {4680, 2925, 960, 240},
                                                       u"    None");
    // Chosen as designed, before its handler is connected: no Click, the icon value is already 0.
    pctNone->setValue(true);
    pctNone->Click.connect([this] { pctNone_Click(pctNoneIndex); });
}

void frmMsgGen::createButtons() {
    const std::u16string path = formFilePath();
    const forms::FormFile stored = forms::readFormFile(path);
    auto create = [&](const std::u16string& name) {
        const forms::StoredControl* control = stored.find(name);
        if (!control)
            throw forms::FormFileError(u"the control " + name + u" is missing", path, name);
        if (control->className != KxButtonClass)
            throw forms::FormFileError(u"the control " + name + u" has the class \"" +
                                           control->className + u"\", not " + KxButtonClass,
                                       path, name);
        auto* button = make<kxButton>();
        button->setName(name);
        button->setDisplayName(name);
        button->setAmbientFont(forms::defaultFont());
        // A value the reader let through may still be one the button cannot take (text under a
        // colour, a system colour that does not exist): the error names where it is stored.
        forms::readStoredControl(*button, *control, path);
        return button;
    };
    cmdPreview = create(u"cmdPreview");
    cmdPutToClip = create(u"cmdPutToClip");
    cmdExit = create(u"cmdExit");
    cmdPreview->Click.connect([this] { previewMessage(); });
    cmdPutToClip->Click.connect([this] { copyCodeToClipboard(); });
    cmdExit->Click.connect([this] { exitWindow(); });
}

void frmMsgGen::createMenus() {
    message = addMenu(u"Сообщение");
    message->setName(u"message");
    Preview = addItem(message, u"Preview", u"Предварительный просмотр", {forms::vkFunction(5), {}});
    Put = addItem(message, u"Put", u"Скопировать в буфер обмена", {'S', {.control = true}});
    Take = addItem(message, u"Take", u"Взять код из буфера обмена",
                   {'V', {.shift = true, .control = true}});
    message->addSeparator();
    finish = addItem(message, u"finish", u"Выход");

    createOptionsMenu();

    help = addMenu(u"Помощь");
    help->setName(u"help");
    about = addItem(help, u"about", u"О программе...", {forms::vkFunction(1), {}});

    Preview->Click.connect([this] { previewMessage(); });
    Put->Click.connect([this] { copyCodeToClipboard(); });
    Take->Click.connect([this] { takeCodeFromClipboard(); });
    finish->Click.connect([this] { exitWindow(); });
    about->Click.connect([this] { showAbout(); });
}

void frmMsgGen::createOptionsMenu() {
    options = addMenu(u"Параметры");
    options->setName(u"options");
    defaultButtonMenu = options->addSubmenu(u"Кнопка по умолчанию");
    const char16_t* ordinals[] = {u"Первая", u"Вторая", u"Третья"};
    for (int i = 0; i < 3; ++i) {
        defaultButton[i] = defaultButtonMenu->addItem(ordinals[i]);
        defaultButton[i]->Click.connect([this, i] { chooseDefaultButton(i + 1); });
    }
    defaultButton[0]->setChecked(true);
    systemModal = options->addItem(u"Поверх всех окон");
    helpButton = options->addItem(u"Кнопка «Справка»");
    alignRight = options->addItem(u"Текст по правому краю");
    rightToLeft = options->addItem(u"Справа налево");
    options->addSeparator();
    namedConstants = options->addItem(u"Имена констант вместо чисел");
    // A check item changes only by its own Click, as the user toggles it.
    for (forms::MenuItem* item : {systemModal, helpButton, alignRight, rightToLeft, namedConstants})
        item->Click.connect([item] { item->setChecked(!item->Checked()); });
}

void frmMsgGen::chooseDefaultButton(int number) {
    const int count = codegen::buttonCount(static_cast<std::int16_t>(cmbButtons->ListIndex()));
    if (number > count)
        number = 1;
    for (int i = 0; i < 3; ++i) {
        defaultButton[i]->setChecked(i + 1 == number);
        defaultButton[i]->setEnabled(i < std::max(count, 1));
    }
}

codegen::StyleParts frmMsgGen::styleParts() const {
    codegen::StyleParts parts;
    parts.icon = m_iconStyle;
    parts.buttonSet = toInteger(cmbButtons->ListIndex());
    for (int i = 0; i < 3; ++i)
        if (defaultButton[i]->Checked())
            parts.defaultButton = i + 1;
    parts.systemModal = systemModal->Checked();
    parts.helpButton = helpButton->Checked();
    parts.right = alignRight->Checked();
    parts.rtl = rightToLeft->Checked();
    return parts;
}

bool frmMsgGen::constants() const {
    return namedConstants->Checked();
}

void frmMsgGen::setTabOrder() {
    Form::setTabOrder({txtTitle, txtText, cmbButtons, pct[0], pctNone, pct[1], pct[2], pct[3],
                       cmdPreview, cmdPutToClip, cmdExit});
}

void frmMsgGen::Form_Load() {
    txtTitle->setText(u"");
    for (const codegen::ButtonSet& set : codegen::buttonSetCatalogue())
        cmbButtons->AddItem(set.listText);
    // Raises the list's Click at once, which takes over the names and codes of position 0.
    cmbButtons->setListIndex(0);
}

void frmMsgGen::cmbButtons_Click() {
    const auto set = codegen::buttonSetAt(toInteger(cmbButtons->ListIndex()));
    if (!set)
        return; // no entry chosen: keep the previous set's names and codes
    m_buttonNames = set->buttonNames;
    m_returnCodes = set->returnCodes;
    // A set with fewer buttons than the chosen default falls back to the first.
    for (int i = 0; i < 3; ++i)
        if (defaultButton[i]->Checked())
            chooseDefaultButton(i + 1);
}

void frmMsgGen::pct_Click(int index) {
    selectIcon(index);
}

void frmMsgGen::selectIcon(int index) {
    m_iconStyle = toByte(toInteger((index + 1) * 16));
}

void frmMsgGen::pctNone_Click([[maybe_unused]] int index) {
    m_iconStyle = 0;
}

// The option button's Click, raised when it becomes chosen, sets the icon value.
void frmMsgGen::img_Click(int index) {
    pct[index]->setValue(true);
}

void frmMsgGen::previewMessage() {
    forms::MsgBox(txtText->Text(), codegen::styleValue(styleParts()), txtTitle->Text());
}

void frmMsgGen::copyCodeToClipboard() {
    codegen::MessageSpec msg;
    msg.text = txtText->Text();
    msg.styleValue = codegen::styleValue(styleParts());
    msg.title = txtTitle->Text();
    msg.buttonNames = m_buttonNames;
    msg.returnCodes = m_returnCodes;
    msg.constants = constants();

    std::u16string code;
    try {
        code = codegen::buildMessageCode(msg);
    } catch (const codegen::MessageTooLong&) {
        reportFailure(codegen::messageTooLongText());
        return;
    }
    try {
        forms::ClipboardClear();
        forms::ClipboardSetText(code);
    } catch (const forms::RuntimeError&) {
        reportFailure(u"Не удалось поместить код в буфер обмена: возможно, его занимает другая "
                      u"программа. Попробуйте скопировать ещё раз.");
        return;
    }
    Minimize();
}

void frmMsgGen::takeCodeFromClipboard() {
    const std::optional<std::u16string> code = forms::ClipboardGetText();
    if (!code) {
        reportFailure(u"В буфере обмена нет текста с кодом сообщения.");
        return;
    }
    const codegen::ReadResult reading = codegen::readMessageCode(*code);
    if (!reading) {
        reportFailure(codegen::readErrorText(reading.error()));
        return;
    }
    if (!reading->ignored.empty() &&
        forms::MsgBox(codegen::ignoredPartsText(reading->ignored) +
                          u"\r\n\r\nВзять остальное? «Отмена» оставит окно как было.",
                      forms::vbOKCancel + forms::vbQuestion, Caption()) != forms::vbOK)
        return;
    applyReading(reading->parts, reading->message.title, reading->message.text,
                 reading->message.constants);
}

// In the order a user would choose them, each through its own control, so that the window's
// state follows as it does for the user's choices.
void frmMsgGen::applyReading(const codegen::StyleParts& parts, const std::u16string& title,
                             const std::u16string& text, bool constants) {
    txtTitle->setText(title);
    txtText->setText(text);
    const int icon = parts.icon / 16;
    if (icon >= 1 && icon <= 4)
        pct[icon - 1]->setValue(true);
    else
        pctNone->setValue(true);
    cmbButtons->setListIndex(parts.buttonSet);
    chooseDefaultButton(parts.defaultButton);
    systemModal->setChecked(parts.systemModal);
    helpButton->setChecked(parts.helpButton);
    alignRight->setChecked(parts.right);
    rightToLeft->setChecked(parts.rtl);
    namedConstants->setChecked(constants);
}

void frmMsgGen::exitWindow() {
    Unload();
}

void frmMsgGen::showAbout() {
    ::about::frmAbout::showAbout();
}

void frmMsgGen::reportFailure(const std::u16string& text) {
    forms::MsgBox(text, forms::vbExclamation, Caption());
}

} // namespace app
