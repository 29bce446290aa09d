// The generator window: its layout, and what preview, copy, the pictures, the list and exit do,
// driven through the controls as a user would.
#include "app/frmmsggen.h"
#include "controls/kxbutton/kxbutton.h"
#include "forms/cursor.h"
#include "forms/formfile.h"
#include "forms/image.h"
#include "forms/label.h"
#include "forms/msgbox.h"
#include "forms/propertybag.h"
#include "forms/stdfont.h"
#include "forms/stdpicture.h"
#include "forms/stockcontrols.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <algorithm>

using app::frmMsgGen;

namespace {

const QString Untouched = QStringLiteral("clipboard untouched");

// Types text into a widget key by key, one key per character (QTest::keyClicks is Latin-1 only);
// "\n" presses Return.
void typeText(QWidget* widget, const QString& text) {
    for (const uint codePoint : text.toUcs4()) {
        if (codePoint == '\n')
            QTest::keyClick(widget, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown,
                                QString::fromUcs4(reinterpret_cast<const char32_t*>(&codePoint), 1),
                                Qt::NoModifier);
    }
}

// A click in the middle of a kxButton: on the part there that takes the mouse, with the pointer
// there for the button's hover tracking.
void clickButton(kxButton* button) {
    const QPoint centre = button->rect().center();
    QWidget* part = button->childAt(centre);
    QVERIFY(part);
    forms::setCursorPosOverride(button->mapToGlobal(centre));
    QTest::mouseClick(part, Qt::LeftButton, {}, part->mapFrom(button, centre));
    forms::setCursorPosOverride(std::nullopt);
}

// Chooses a position of the list with the keyboard.
void chooseListEntry(forms::ComboBox* list, int position) {
    list->setFocus();
    while (list->ListIndex() < position)
        QTest::keyClick(list, Qt::Key_Down);
    while (list->ListIndex() > position)
        QTest::keyClick(list, Qt::Key_Up);
}

// Gives a control the focus the way Tab would: to itself, or to its first part that takes it.
void focusControl(QWidget* control) {
    QWidget* target = control;
    if (!(control->focusPolicy() & Qt::TabFocus)) {
        for (QWidget* part : control->findChildren<QWidget*>()) {
            if (part->focusPolicy() & Qt::TabFocus) {
                target = part;
                break;
            }
        }
    }
    target->setFocus(Qt::TabFocusReason);
}

// The control of the window's client area that a focused widget belongs to.
QWidget* controlOf(QWidget* focused, QWidget* client) {
    while (focused && focused->parentWidget() != client)
        focused = focused->parentWidget();
    return focused;
}

QString clipboardText() {
    return QGuiApplication::clipboard()->text();
}

} // namespace

class tst_frmMsgGen : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void window();
    void storedButtons();
    void pictures_data();
    void pictures();
    void layout_data();
    void layout();
    void colours();
    void tabOrder();
    void menus_data();
    void menus();
    void startUp();

    void copyRightAfterStartUp();
    void copyYesNoWithQuestion();
    void copyKeepsTheTextAsTyped();
    void copyOfATooLongMessageIsRefused();
    void pictureChoosesItsOptionButton_data();
    void pictureChoosesItsOptionButton();
    void previewShowsTheMessageAndCopiesNothing_data();
    void previewShowsTheMessageAndCopiesNothing();
    void secondListChoiceWins();
    void exit_data();
    void exit();
    void aboutFromMenu();

private:
    QPointer<frmMsgGen> w;
    QPointer<frmMsgGen> second; // a window of its own for the exit tests
    QList<forms::MsgBoxRequest> shown;
};

void tst_frmMsgGen::initTestCase() {
    forms::setMsgBoxPresenter([this](const forms::MsgBoxRequest& request) {
        shown.append(request);
        return request.results.value(request.defaultIndex, forms::vbOK);
    });
    w = new frmMsgGen();
    w->Load();
    w->Show();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

// Each test starts from the state right after start-up.
void tst_frmMsgGen::init() {
    QVERIFY(w);
    shown.clear();
    QGuiApplication::clipboard()->setText(Untouched);
    w->showNormal();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->txtTitle->setText(QString());
    w->txtText->setText(QString());
    w->pctNone->setValue(true);
    w->cmbButtons->setListIndex(0);
    w->txtTitle->setFocus();
}

void tst_frmMsgGen::cleanup() {
    delete second.data();
}

void tst_frmMsgGen::cleanupTestCase() {
    forms::setMsgBoxPresenter({});
    delete w.data();
}

void tst_frmMsgGen::window() {
    QCOMPARE(w->windowTitle(), QStringLiteral("Alertwright"));
    QCOMPARE(w->client()->size(), QSize(388, 333));
    QCOMPARE(w->client()->y(), w->menuBar()->height());
    QVERIFY(!(w->windowFlags() & Qt::WindowMinMaxButtonsHint));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QCOMPARE(w->windowIcon().pixmap(64, 64).size(), QSize(64, 64));
}

// The form file stores only what differs from a new button, under lower-case names.
void tst_frmMsgGen::storedButtons() {
    const forms::FormFile file = forms::readFormFile(frmMsgGen::formFilePath());
    QStringList names;
    for (const forms::StoredControl& c : file.controls) {
        names << c.name;
        QCOMPARE(c.className, QStringLiteral("Alertwright.kxButton"));
        QStringList stored = c.properties.names();
        stored.sort();
        QCOMPARE(stored, (QStringList{"bordercolor", "caption", "font", "picture"}));
        QCOMPARE(forms::toColor(c.properties.ReadProperty("BorderColor", {})),
                 forms::OleColor{0x80000008});
        QCOMPARE(*forms::toFont(c.properties.ReadProperty("Font", {})),
                 *forms::makeFont(QStringLiteral("MS Sans Serif"), 8.25f, 400, false, false, false,
                                  204));
    }
    QCOMPARE(names, (QStringList{"cmdPreview", "cmdPutToClip", "cmdExit"}));
}

void tst_frmMsgGen::pictures_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<bool>("buttonPicture");

    const QColor face(212, 208, 200), light(224, 224, 224);
    QTest::newRow("stop") << "stop.png" << QSize(39, 35) << face << false;
    QTest::newRow("question") << "question.png" << QSize(41, 35) << face << false;
    QTest::newRow("exclamation") << "exclamation.png" << QSize(38, 35) << face << false;
    QTest::newRow("information") << "information.png" << QSize(38, 35) << face << false;
    QTest::newRow("arrow") << "cmdPreview.png" << QSize(17, 17) << light << true;
    QTest::newRow("check mark") << "cmdPutToClip.png" << QSize(17, 17) << light << true;
    QTest::newRow("cross") << "cmdExit.png" << QSize(17, 17) << light << true;
    QTest::newRow("window icon") << "windowicon.png" << QSize(64, 64) << QColor(Qt::black) << false;
}

// 24-bit pictures on their flat background. A button picture has no pixel in the mask grey or
// the shadow grey, which the button would treat as transparent or as shadow.
void tst_frmMsgGen::pictures() {
    QFETCH(QString, file);
    QFETCH(QSize, size);
    QFETCH(QColor, background);
    QFETCH(bool, buttonPicture);
    QFile png(QStringLiteral(":/frmMsgGen/") + file);
    QVERIFY(png.open(QIODevice::ReadOnly));
    const QByteArray bytes = png.readAll();
    // The header's bit depth and colour type: 8 bits per channel, RGB without alpha.
    QCOMPARE(bytes.mid(24, 2), QByteArray("\x08\x02", 2));
    const QImage image = QImage::fromData(bytes);
    QCOMPARE(image.size(), size);
    QCOMPARE(image.pixelColor(0, 0), background);
    if (!buttonPicture)
        return;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y) & 0xFFFFFF;
            QVERIFY2(c != 0xC0C0C0 && c != 0x808080,
                     qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    }
}

void tst_frmMsgGen::layout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels"); // the twips of the design at 15 twips per pixel
    QTest::addColumn<QString>("caption");

    QTest::newRow("txtTitle") << "txtTitle" << QRect(68, 24, 221, 21) << QString();
    QTest::newRow("txtText") << "txtText" << QRect(68, 60, 221, 134) << QString();
    QTest::newRow("cmbButtons") << "cmbButtons" << QRect(69, 198, 223, 21) << "Ok";
    QTest::newRow("pct 0") << "pct_0" << QRect(300, 30, 25, 16) << QString();
    QTest::newRow("pctNone") << "pctNone_4" << QRect(312, 195, 64, 16) << "    None";
    QTest::newRow("lblTitle") << "lblTitle" << QRect(4, 28, 61, 17) << "Заголовок:";
    QTest::newRow("lblText") << "lblText" << QRect(4, 60, 61, 13) << "Текст:";
    QTest::newRow("pct 1") << "pct_1" << QRect(300, 69, 25, 16) << QString();
    QTest::newRow("pct 2") << "pct_2" << QRect(300, 111, 25, 16) << QString();
    QTest::newRow("pct 3") << "pct_3" << QRect(300, 153, 25, 16) << QString();
    QTest::newRow("cmdPreview") << "cmdPreview" << QRect(66, 234, 256, 28) << "Проба";
    QTest::newRow("cmdPutToClip") << "cmdPutToClip" << QRect(66, 264, 256, 28)
                                  << "Скопировать в буфер обмена";
    QTest::newRow("cmdExit") << "cmdExit" << QRect(66, 294, 256, 28) << "Выход";
    QTest::newRow("img 0, stop") << "img_0" << QRect(336, 18, 39, 35) << QString();
    QTest::newRow("img 1, question") << "img_1" << QRect(336, 60, 41, 35) << QString();
    QTest::newRow("img 2, exclamation") << "img_2" << QRect(336, 102, 38, 35) << QString();
    QTest::newRow("img 3, information") << "img_3" << QRect(336, 144, 38, 35) << QString();
}

void tst_frmMsgGen::layout() {
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    QFETCH(QString, caption);
    auto* control = w->client()->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->geometry(), pixels);
    if (auto* label = qobject_cast<forms::Label*>(control))
        QCOMPARE(label->Caption(), caption);
    else if (auto* option = qobject_cast<forms::OptionButton*>(control))
        QCOMPARE(option->text(), caption);
    else if (auto* button = qobject_cast<kxButton*>(control))
        QCOMPARE(button->Caption(), caption);
    else if (auto* list = qobject_cast<forms::ComboBox*>(control))
        QCOMPARE(list->currentText(), caption);
    else if (auto* box = qobject_cast<forms::TextBox*>(control))
        QCOMPARE(box->Text(), caption);
    else if (auto* image = qobject_cast<forms::Image*>(control))
        QCOMPARE(image->Picture()->image().size(), pixels.size());
}

void tst_frmMsgGen::colours() {
    QCOMPARE(w->txtTitle->BackColor(), forms::OleColor{0x00E7F0FA});
    QCOMPARE(w->txtText->BackColor(), forms::OleColor{0x00F2F5F1});
    QCOMPARE(w->cmbButtons->BackColor(), forms::OleColor{0x00EAF7EA});
    for (kxButton* b : {w->cmdPreview, w->cmdPutToClip, w->cmdExit}) {
        QCOMPARE(b->BorderColor(), forms::OleColor{0x80000008});
        QCOMPARE(b->ForeColor(), forms::OleColor{0x80000012});
        QCOMPARE(b->Font()->name, QStringLiteral("MS Sans Serif"));
        QCOMPARE(b->Font()->charset, std::int16_t{204});
        QVERIFY(forms::hasImage(b->Picture()));
    }
}

// The focus chain holds the controls in the designed order; the labels and the pictures are not
// in it. Tab follows it (Qt makes the option buttons one stop, as a group); a Tab in the text box
// moves on instead of typing a tab.
void tst_frmMsgGen::tabOrder() {
    QStringList chain;
    for (QWidget* x = w->nextInFocusChain(); x != w; x = x->nextInFocusChain()) {
        if (!(x->focusPolicy() & Qt::TabFocus) || !x->isVisibleTo(w) || !x->isEnabled())
            continue;
        if (QWidget* control = controlOf(x, w->client());
            control && (chain.isEmpty() || chain.last() != control->objectName()))
            chain << control->objectName();
    }
    QCOMPARE(chain, (QStringList{"txtTitle", "txtText", "cmbButtons", "pct_0", "pctNone_4", "pct_1",
                                 "pct_2", "pct_3", "cmdPreview", "cmdPutToClip", "cmdExit"}));

    auto tabFrom = [this](QWidget* control) {
        focusControl(control);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        return controlOf(QApplication::focusWidget(), w->client());
    };
    QCOMPARE(controlOf(QApplication::focusWidget(), w->client()), w->txtTitle);
    QCOMPARE(tabFrom(w->txtTitle), w->txtText);
    QCOMPARE(tabFrom(w->txtText), w->cmbButtons);
    QCOMPARE(w->txtText->Text(), QString());
    QCOMPARE(tabFrom(w->cmdPreview), w->cmdPutToClip);
    QCOMPARE(tabFrom(w->cmdExit), w->txtTitle);
}

void tst_frmMsgGen::menus_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items"); // object names, "-" for a separator
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("shortcuts");

    QTest::newRow("message") << "Сообщение" << QStringList{"Preview", "Put", "-", "finish"}
                             << QStringList{"Предварительный просмотр",
                                            "Скопировать в буфер обмена", "", "Выход"}
                             << QStringList{"F5", "Ctrl+S", "", ""};
    QTest::newRow("help") << "Помощь" << QStringList{"about"} << QStringList{"О программе..."}
                          << QStringList{"F1"};
}

void tst_frmMsgGen::menus() {
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, shortcuts);

    QStringList titles;
    QMenu* found = nullptr;
    for (QAction* a : w->menuBar()->actions()) {
        titles << a->text();
        if (a->text() == menu)
            found = a->menu();
    }
    QCOMPARE(titles, (QStringList{"Сообщение", "Помощь"}));
    QVERIFY(found);
    const QList<QAction*> actions = found->actions();
    QCOMPARE(actions.size(), items.size());
    for (int i = 0; i < items.size(); ++i) {
        QAction* a = actions[i];
        if (items[i] == "-") {
            QVERIFY(a->isSeparator());
            continue;
        }
        QCOMPARE(a->objectName(), items[i]);
        QCOMPARE(a->text(), captions[i]); // no access keys: no ampersand either
        QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), shortcuts[i]);
    }
}

void tst_frmMsgGen::startUp() {
    QCOMPARE(w->iconStyle(), std::uint8_t{0});
    QVERIFY(w->pctNone->Value());
    for (forms::OptionButton* b : w->pct)
        QVERIFY(!b->Value());
    QStringList entries;
    for (int i = 0; i < w->cmbButtons->ListCount(); ++i)
        entries << w->cmbButtons->itemText(i);
    QCOMPARE(entries, (QStringList{"Ok", "Ok, Отмена", "Прервать, Повтор, Пропустить",
                                   "Да, Нет, Отмена", "Да, Нет", "Повтор, Отмена"}));
    QVERIFY(!w->cmbButtons->isEditable());
    QCOMPARE(w->cmbButtons->ListIndex(), 0);
    QVERIFY(w->buttonNames().empty());
    QVERIFY(w->returnCodes().empty());
}

void tst_frmMsgGen::copyRightAfterStartUp() {
    w->Put->trigger();
    QCOMPARE(clipboardText(), QStringLiteral("MsgBox \"\", 0, \"\""));
    QVERIFY(w->isMinimized());
}

void tst_frmMsgGen::copyYesNoWithQuestion() {
    typeText(w->txtTitle, QStringLiteral("Вопрос"));
    typeText(w->txtText, QStringLiteral("Первая строка\nВторая"));
    QTest::mouseClick(w->img[1], Qt::LeftButton);
    chooseListEntry(w->cmbButtons, 4);
    QCOMPARE(w->cmbButtons->currentText(), QStringLiteral("Да, Нет"));
    clickButton(w->cmdPutToClip);

    const QStringList lines = clipboardText().split(QStringLiteral("\r\n"));
    QCOMPARE(lines, (QStringList{"Select Case MsgBox (\"Первая строка\" & vbCrLf & \"Вторая\", 36, "
                                 "\"Вопрос\")",
                                 "Case 6 ' Да", "\t", "Case 7 ' Нет", "\t", "End Select"}));
    QVERIFY(w->isMinimized());
}

// What the user typed reaches the code unchanged but for the line breaks: a no-break space stays
// one, and letters outside the Cyrillic code page stay as typed.
void tst_frmMsgGen::copyKeepsTheTextAsTyped() {
    typeText(w->txtTitle, QStringLiteral("Ä\u00A0中"));
    typeText(w->txtText, QStringLiteral("a\u00A0b\n\n€ 😀"));
    w->Put->trigger();
    QCOMPARE(clipboardText(),
             QStringLiteral("MsgBox \"a\u00A0b\" & vbCrLf & \"\" & vbCrLf & \"€ 😀\", 0, "
                            "\"Ä\u00A0中\""));
}

void tst_frmMsgGen::copyOfATooLongMessageIsRefused() {
    const QString text(40000, QLatin1Char('x'));
    w->txtText->setText(text);
    w->Put->trigger();
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].prompt.contains(QStringLiteral("слишком длинный")));
    QCOMPARE(shown[0].icon, QMessageBox::Warning);
    QCOMPARE(clipboardText(), Untouched);
    QVERIFY(!w->isMinimized());
    QCOMPARE(w->txtText->Text(), text);
}

void tst_frmMsgGen::pictureChoosesItsOptionButton_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("iconStyle");
    QTest::newRow("stop") << 0 << 16;
    QTest::newRow("question") << 1 << 32;
    QTest::newRow("exclamation") << 2 << 48;
    QTest::newRow("information") << 3 << 64;
}

void tst_frmMsgGen::pictureChoosesItsOptionButton() {
    QFETCH(int, index);
    QFETCH(int, iconStyle);
    QTest::mouseClick(w->img[index], Qt::LeftButton);
    QCOMPARE(int(w->iconStyle()), iconStyle);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(w->pct[i]->Value(), i == index);
    QVERIFY(!w->pctNone->Value());

    QTest::mouseClick(w->pctNone, Qt::LeftButton, {}, QPoint(6, 8));
    QCOMPARE(int(w->iconStyle()), 0);
    QVERIFY(!w->pct[index]->Value());
}

void tst_frmMsgGen::previewShowsTheMessageAndCopiesNothing_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("F5") << "key";
    QTest::newRow("menu item") << "menu";
    QTest::newRow("button") << "button";
}

void tst_frmMsgGen::previewShowsTheMessageAndCopiesNothing() {
    QFETCH(QString, how);
    typeText(w->txtTitle, QStringLiteral("Ошибка"));
    typeText(w->txtText, QStringLiteral("Диск не найден.\nЧто делать?"));
    QTest::mouseClick(w->pct[0], Qt::LeftButton, {}, QPoint(18, 8));
    chooseListEntry(w->cmbButtons, 2);
    if (how == "key")
        QTest::keyClick(w, Qt::Key_F5);
    else if (how == "menu")
        w->Preview->trigger();
    else
        clickButton(w->cmdPreview);

    QCOMPARE(shown.size(), 1);
    const forms::MsgBoxRequest& box = shown[0];
    QCOMPARE(box.style, 18);
    QCOMPARE(box.prompt, QStringLiteral("Диск не найден.\r\nЧто делать?"));
    QCOMPARE(box.title, QStringLiteral("Ошибка"));
    QCOMPARE(box.buttons, (QStringList{"Прервать", "Повтор", "Пропустить"}));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(clipboardText(), Untouched);
    QVERIFY(!w->isMinimized());
}

// The names and codes are those of the last entry chosen.
void tst_frmMsgGen::secondListChoiceWins() {
    chooseListEntry(w->cmbButtons, 3);
    chooseListEntry(w->cmbButtons, 5);
    w->Put->trigger();
    const QStringList lines = clipboardText().split(QStringLiteral("\r\n"));
    QCOMPARE(lines, (QStringList{"Select Case MsgBox (\"\", 5, \"\")", "Case 4 ' Повтор", "\t",
                                 "Case 2 ' Отмена", "\t", "End Select"}));
}

void tst_frmMsgGen::exit_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("menu item") << "menu";
    QTest::newRow("cmdExit") << "button";
    QTest::newRow("close box") << "close";
}

// Unloading the window ends the program: no window of it is left. (Qt's lastWindowClosed, and
// so the end of the event loop, needs a running exec(); the end-to-end tests see the exit.)
void tst_frmMsgGen::exit() {
    QFETCH(QString, how);
    w->hide();
    second = new frmMsgGen();
    second->Load();
    second->Show();
    QVERIFY(QTest::qWaitForWindowActive(second));
    if (how == "menu")
        second->finish->trigger();
    else if (how == "button")
        clickButton(second->cmdExit);
    else
        second->close();
    QTRY_VERIFY(second.isNull());
    const QWidgetList windows = QApplication::topLevelWidgets();
    QVERIFY(
        std::none_of(windows.begin(), windows.end(), [](QWidget* x) { return x->isVisible(); }));
}

void tst_frmMsgGen::aboutFromMenu() {
    QTest::keyClick(w, Qt::Key_F1);
    QWidget* about = nullptr;
    QTRY_VERIFY((about = QApplication::activeWindow()) != w);
    QCOMPARE(about->windowTitle(), QStringLiteral("О программе..."));
    // Back in the generator window, the About window goes away.
    QPointer<QWidget> gone = about;
    w->activateWindow();
    QTRY_VERIFY(gone.isNull());
}

QTEST_MAIN(tst_frmMsgGen)
#include "tst_frmmsggen.moc"
