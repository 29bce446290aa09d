#include "app/frmmsggen.h"

#include "about/frmabout.h"
#include "codegen/buttonsets.h"
#include "codegen/messagecode.h"
#include "controls/kxbutton/kxbutton.h"
#include "forms/clipboard.h"
#include "forms/error.h"
#include "forms/formfile.h"
#include "forms/image.h"
#include "forms/label.h"
#include "forms/msgbox.h"
#include "forms/qt/convert.h"
#include "forms/stdfont.h"
#include "forms/stdpicture.h"
#include "forms/stockcontrols.h"
#include "forms/units.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <limits>

// Resources of a static library must be registered by name from the global namespace.
static void initAppResources() {
    Q_INIT_RESOURCE(app);
}

namespace app {

namespace {

const QString KxButtonClass = QStringLiteral("Alertwright.kxButton");
const QString Resources = QStringLiteral(":/frmMsgGen/");

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

QAction* addItem(QMenu* menu, const QString& name, const QString& caption,
                 const QKeySequence& shortcut = {}) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    item->setShortcut(shortcut);
    return item;
}

} // namespace

QString frmMsgGen::formFilePath() {
    return Resources + QStringLiteral("frmMsgGen.json");
}

frmMsgGen::frmMsgGen(QWidget* parent) : forms::Form(parent) {
    initAppResources();
    setObjectName(QStringLiteral("frmMsgGen"));
    setWindowTitle(QStringLiteral("Alertwright"));
    setWindowIcon(QIcon(Resources + QStringLiteral("windowicon.png")));
    setBorderStyle(BorderStyle::FixedSingle);
    createMenus();
    setClientSizeTwips(5820, 4995);
    createControls();
    createButtons();
    setTabOrder();
    txtTitle->setFocus();
}

void frmMsgGen::createControls() {
    QWidget* area = client();
    // The stock controls take the window's default font, as the labels and buttons do.
    area->setFont(forms::qt::toQFont(*forms::defaultFont()));

    txtTitle = new forms::TextBox(area);
    txtTitle->setObjectName(QStringLiteral("txtTitle"));
    forms::placeTwips(txtTitle, 1020, 360, 3315, 315);
    txtTitle->setBackColor(0x00E7F0FA);

    txtText = new forms::TextBox(area, true);
    txtText->setObjectName(QStringLiteral("txtText"));
    forms::placeTwips(txtText, 1020, 900, 3315, 2010);
    txtText->setBackColor(0x00F2F5F1);

    // A plain drop-down list: nothing can be typed, so a set is always chosen.
    cmbButtons = new forms::ComboBox(area);
    cmbButtons->setObjectName(QStringLiteral("cmbButtons"));
    forms::placeTwips(cmbButtons, 1035, 2970, 3345, 315);
    cmbButtons->setBackColor(0x00EAF7EA);
    connect(cmbButtons, &forms::ComboBox::Click, this, [this] { cmbButtons_Click(); });

    lblTitle = new forms::Label(area);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    forms::placeTwips(lblTitle, 60, 420, 915, 255);
    lblTitle->setCaption(QStringLiteral("Заголовок:"));

    lblText = new forms::Label(area);
    lblText->setObjectName(QStringLiteral("lblText"));
    forms::placeTwips(lblText, 60, 900, 915, 195);
    lblText->setCaption(QStringLiteral("Текст:"));

    // The pictures, top to bottom in the order of their icon values, each with its option
    // button at its left. The option buttons carry their round mark at their right edge, in
    // one column with the mark of pctNone, next to the pictures.
    struct IconRow {
        const char* picture;
        int imgTop;
        int pctTop;
    };
    const IconRow rows[4] = {{"stop.png", 270, 450},
                             {"question.png", 900, 1035},
                             {"exclamation.png", 1530, 1665},
                             {"information.png", 2160, 2295}};
    for (int i = 0; i < 4; ++i) {
        img[i] = new forms::Image(area);
        img[i]->setObjectName(QStringLiteral("img_%1").arg(i));
        img[i]->setPicture(
            forms::loadPicture((Resources + QLatin1String(rows[i].picture)).toStdU16String()));
        const forms::PixelRect at = forms::twipsToPixels(5040, rows[i].imgTop, 0, 0);
        img[i]->Move(static_cast<float>(at.x), static_cast<float>(at.y));
        connect(img[i], &forms::Image::Click, this, [this, i] { img_Click(i); });

        pct[i] = new forms::OptionButton(QString(), area);
        pct[i]->setObjectName(QStringLiteral("pct_%1").arg(i));
        pct[i]->setLayoutDirection(Qt::RightToLeft);
        forms::placeTwips(pct[i], 4500, rows[i].pctTop, 375, 240);
        connect(pct[i], &forms::OptionButton::Click, this, [this, i] { pct_Click(i); });
    }

    pctNone = new forms::OptionButton(QStringLiteral("    None"), area);
    pctNone->setObjectName(QStringLiteral("pctNone_4"));
    forms::placeTwips(pctNone, 4680, 2925, 960, 240);
    // Chosen as designed: no Click, the icon value is already 0.
    pctNone->setChecked(true);
    connect(pctNone, &forms::OptionButton::Click, this, [this] { pctNone_Click(pctNoneIndex); });
}

void frmMsgGen::createButtons() {
    const std::u16string path = formFilePath().toStdU16String();
    const forms::FormFile stored = forms::readFormFile(path);
    auto create = [&](const QString& name) {
        const forms::StoredControl* control = stored.find(name.toStdU16String());
        if (!control)
            throw forms::FormFileError(
                QStringLiteral("the control %1 is missing").arg(name).toStdU16String(), path,
                name.toStdU16String());
        const QString className = QString::fromStdU16String(control->className);
        if (className != KxButtonClass)
            throw forms::FormFileError(QStringLiteral("the control %1 has the class \"%2\", not %3")
                                           .arg(name, className, KxButtonClass)
                                           .toStdU16String(),
                                       path, name.toStdU16String());
        auto* button = new kxButton(client());
        button->setObjectName(name);
        button->setDisplayName(name);
        button->setAmbientFont(forms::defaultFont());
        // A value the reader let through may still be one the button cannot take (text under a
        // colour, a system colour that does not exist): the error names where it is stored.
        forms::readStoredControl(*button, *control, path);
        return button;
    };
    cmdPreview = create(QStringLiteral("cmdPreview"));
    cmdPutToClip = create(QStringLiteral("cmdPutToClip"));
    cmdExit = create(QStringLiteral("cmdExit"));
    connect(cmdPreview, &kxButton::Click, this, [this] { previewMessage(); });
    connect(cmdPutToClip, &kxButton::Click, this, [this] { copyCodeToClipboard(); });
    connect(cmdExit, &kxButton::Click, this, [this] { exitWindow(); });
}

void frmMsgGen::createMenus() {
    QMenuBar* bar = menuBar();
    message = bar->addMenu(QStringLiteral("Сообщение"));
    message->setObjectName(QStringLiteral("message"));
    Preview = addItem(message, QStringLiteral("Preview"),
                      QStringLiteral("Предварительный просмотр"), QKeySequence(Qt::Key_F5));
    Put = addItem(message, QStringLiteral("Put"), QStringLiteral("Скопировать в буфер обмена"),
                  QKeySequence(Qt::CTRL | Qt::Key_S));
    message->addSeparator();
    finish = addItem(message, QStringLiteral("finish"), QStringLiteral("Выход"));

    help = bar->addMenu(QStringLiteral("Помощь"));
    help->setObjectName(QStringLiteral("help"));
    about = addItem(help, QStringLiteral("about"), QStringLiteral("О программе..."),
                    QKeySequence(Qt::Key_F1));

    connect(Preview, &QAction::triggered, this, [this] { previewMessage(); });
    connect(Put, &QAction::triggered, this, [this] { copyCodeToClipboard(); });
    connect(finish, &QAction::triggered, this, [this] { exitWindow(); });
    connect(about, &QAction::triggered, this, [this] { showAbout(); });
}

void frmMsgGen::setTabOrder() {
    Form::setTabOrder({txtTitle, txtText, cmbButtons, pct[0], pctNone, pct[1], pct[2], pct[3],
                       cmdPreview, cmdPutToClip, cmdExit});
}

void frmMsgGen::Form_Load() {
    txtTitle->setText(QString());
    for (const codegen::ButtonSet& set : codegen::buttonSetCatalogue())
        cmbButtons->AddItem(QString::fromStdU16String(set.listText));
    // Raises the list's Click at once, which takes over the names and codes of position 0.
    cmbButtons->setListIndex(0);
}

void frmMsgGen::cmbButtons_Click() {
    const auto set = codegen::buttonSetAt(toInteger(cmbButtons->ListIndex()));
    if (!set)
        return; // no entry chosen: keep the previous set's names and codes
    m_buttonNames = set->buttonNames;
    m_returnCodes = set->returnCodes;
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
    const std::int16_t style = toInteger(m_iconStyle + cmbButtons->ListIndex());
    forms::MsgBox(txtText->Text().toStdU16String(), style, txtTitle->Text().toStdU16String());
}

void frmMsgGen::copyCodeToClipboard() {
    codegen::MessageSpec msg;
    msg.text = txtText->Text().toStdU16String();
    msg.styleValue = toInteger(m_iconStyle + cmbButtons->ListIndex());
    msg.title = txtTitle->Text().toStdU16String();
    msg.buttonNames = m_buttonNames;
    msg.returnCodes = m_returnCodes;

    QString code;
    try {
        code = QString::fromStdU16String(codegen::buildMessageCode(msg));
    } catch (const codegen::MessageTooLong&) {
        reportFailure(QString::fromStdU16String(codegen::messageTooLongText()));
        return;
    }
    try {
        forms::ClipboardClear();
        forms::ClipboardSetText(code);
    } catch (const forms::RuntimeError&) {
        reportFailure(QStringLiteral("Не удалось поместить код в буфер обмена: возможно, его "
                                     "занимает другая программа. Попробуйте скопировать ещё раз."));
        return;
    }
    Minimize();
}

void frmMsgGen::exitWindow() {
    Unload();
}

void frmMsgGen::showAbout() {
    ::about::frmAbout::showAbout();
}

void frmMsgGen::reportFailure(const QString& text) {
    forms::MsgBox(text.toStdU16String(), forms::vbExclamation, windowTitle().toStdU16String());
}

} // namespace app
