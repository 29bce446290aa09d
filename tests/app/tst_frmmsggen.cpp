// The generator window, driven through its controls and real key presses as a user would.
#include "app/frmmsggen.h"
#include "codegen/style.h"
#include "controls/kxbutton/kxbutton.h"
#include "forms/application.h"
#include "forms/cursor.h"
#include "forms/image.h"
#include "forms/label.h"
#include "forms/msgbox.h"
#include "forms/qt/convert.h"
#include "forms/qt/formpeer.h"
#include "forms/stockcontrols.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <algorithm>
#include <memory>

using app::frmMsgGen;
using forms::qt::actionOf;
using forms::qt::menuOf;
using forms::qt::widgetOf;
using forms::qt::windowOf;

namespace {

const QString Untouched = QStringLiteral("clipboard untouched");

// One key per character (QTest::keyClicks is Latin-1 only); "\n" presses Return.
void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c == u'\n')
            QTest::keyClick(widget, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// A click in the middle of a kxButton, on the part there that takes the mouse, with the pointer
// there for the button's hover tracking.
void clickButton(kxButton* control) {
    QWidget* button = widgetOf(*control);
    const QPoint centre = button->rect().center();
    QWidget* part = button->childAt(centre);
    QVERIFY(part);
    const QPoint global = button->mapToGlobal(centre);
    forms::setCursorPosOverride(forms::PixelPoint{global.x(), global.y()});
    QTest::mouseClick(part, Qt::LeftButton, {}, part->mapFrom(button, centre));
    forms::setCursorPosOverride(std::nullopt);
}

// A key press where the keyboard is: an open menu, else the focused control.
void key(int k, Qt::KeyboardModifiers mods = {}) {
    QWidget* popup = QApplication::activePopupWidget();
    QTest::keyClick(popup ? popup : QApplication::focusWidget(), Qt::Key(k), mods);
}

// The control of the window's client area that holds the focus.
QString focusedControl(frmMsgGen* w) {
    QWidget* focused = QApplication::focusWidget();
    while (focused && focused->parentWidget() != widgetOf(*w))
        focused = focused->parentWidget();
    return focused ? focused->objectName() : QStringLiteral("(outside the controls)");
}

QStringList clipboardLines() {
    return QGuiApplication::clipboard()->text().split(QStringLiteral("\r\n"));
}

} // namespace

class tst_frmMsgGen : public QObject {
    Q_OBJECT

    frmMsgGen* w = nullptr;
    QList<forms::MsgBoxRequest> shown;
    int answer = 0; // what the next boxes answer; 0: their default button

    static frmMsgGen* openWindow() {
        auto* window = new frmMsgGen();
        window->Load();
        window->Show();
        return QTest::qWaitForWindowActive(windowOf(*window)) ? window : nullptr;
    }

private slots:
    void initTestCase() {
        forms::setMsgBoxPresenter([this](const forms::MsgBoxRequest& request) {
            shown.append(request);
            return answer ? answer : request.results.at(request.defaultIndex);
        });
        w = openWindow();
        QVERIFY(w);
    }

    // Each test starts from the state right after start-up.
    void init() {
        QVERIFY(w);
        shown.clear();
        answer = 0;
        QGuiApplication::clipboard()->setText(Untouched);
        windowOf(*w)->showNormal();
        windowOf(*w)->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(windowOf(*w)));
        w->txtTitle->setText(u"");
        w->txtText->setText(u"");
        w->pctNone->setValue(true);
        w->cmbButtons->setListIndex(0);
        w->defaultButton[0]->setChecked(true); // the other two follow on the next choice
        for (auto* item :
             {w->systemModal, w->helpButton, w->alignRight, w->rightToLeft, w->namedConstants})
            item->setChecked(false);
        w->txtTitle->SetFocus();
    }

    void cleanupTestCase() {
        forms::setMsgBoxPresenter({});
        delete w;
    }

    // A window as start-up leaves it, not as init() resets it.
    void freshWindow_startsWithNoIconAndOk_copiesTheEmptyStatement() {
        std::unique_ptr<frmMsgGen> fresh(openWindow());
        QVERIFY(fresh);
        QCOMPARE(focusedControl(fresh.get()), QStringLiteral("txtTitle"));
        QVERIFY(fresh->pctNone->Value());
        QVERIFY(std::none_of(fresh->pct.begin(), fresh->pct.end(),
                             [](auto* option) { return option->Value(); }));
        QCOMPARE(fresh->cmbButtons->ListCount(), 6);
        QCOMPARE(fresh->cmbButtons->List(fresh->cmbButtons->ListIndex()), u"Ok");
        actionOf(*fresh->Put)->trigger();
        QCOMPARE(clipboardLines(), QStringList{"MsgBox \"\", 0, \"\""});
        QVERIFY(windowOf(*fresh)->isMinimized());
    }

    // Every control where the window's design puts it (twips at 15 per pixel), with its text and
    // the colour a user sees at one of its points.
    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("colour");
        const QColor grey(212, 208, 200), face(224, 224, 224);
        // clang-format off
        QTest::newRow("txtTitle") << "txtTitle" << QRect(68, 24, 221, 21) << "" << QPoint(200, 10) << QColor(250, 240, 231);
        QTest::newRow("txtText") << "txtText" << QRect(68, 60, 221, 134) << "" << QPoint(200, 120) << QColor(241, 245, 242);
        QTest::newRow("cmbButtons") << "cmbButtons" << QRect(69, 198, 223, 21) << "Ok" << QPoint(150, 3) << QColor(234, 247, 234);
        QTest::newRow("cmbButtons, flat") << "cmbButtons" << QRect(69, 198, 223, 21) << "Ok" << QPoint(150, 17) << QColor(234, 247, 234);
        QTest::newRow("pct 0") << "pct_0" << QRect(300, 30, 25, 16) << "" << QPoint(1, 1) << grey;
        QTest::newRow("pctNone") << "pctNone_4" << QRect(312, 195, 64, 16) << "    None" << QPoint(60, 1) << grey;
        QTest::newRow("lblTitle") << "lblTitle" << QRect(4, 28, 61, 17) << "Заголовок:" << QPoint(60, 16) << grey;
        QTest::newRow("lblText") << "lblText" << QRect(4, 60, 61, 13) << "Текст:" << QPoint(60, 12) << grey;
        QTest::newRow("pct 1") << "pct_1" << QRect(300, 69, 25, 16) << "" << QPoint(1, 1) << grey;
        QTest::newRow("pct 2") << "pct_2" << QRect(300, 111, 25, 16) << "" << QPoint(1, 1) << grey;
        QTest::newRow("pct 3") << "pct_3" << QRect(300, 153, 25, 16) << "" << QPoint(1, 1) << grey;
        QTest::newRow("cmdPreview") << "cmdPreview" << QRect(66, 234, 256, 28) << "Проба" << QPoint(244, 6) << face;
        QTest::newRow("cmdPutToClip") << "cmdPutToClip" << QRect(66, 264, 256, 28) << "Скопировать в буфер обмена" << QPoint(244, 6) << face;
        QTest::newRow("cmdExit") << "cmdExit" << QRect(66, 294, 256, 28) << "Выход" << QPoint(244, 6) << face;
        QTest::newRow("img 0, stop") << "img_0" << QRect(336, 18, 39, 35) << "" << QPoint(0, 0) << grey;
        QTest::newRow("img 1, question") << "img_1" << QRect(336, 60, 41, 35) << "" << QPoint(0, 0) << grey;
        QTest::newRow("img 2, exclamation") << "img_2" << QRect(336, 102, 38, 35) << "" << QPoint(0, 0) << grey;
        QTest::newRow("img 3, information") << "img_3" << QRect(336, 144, 38, 35) << "" << QPoint(0, 0) << grey;
        // clang-format on
    }

    void layout() {
        QFETCH(QString, name);
        QFETCH(QRect, pixels);
        QFETCH(QString, caption);
        QFETCH(QPoint, at);
        QFETCH(QColor, colour);
        QWidget* client = widgetOf(*w);
        QCOMPARE(client->size(), QSize(388, 333));
        const forms::Control* control = w->child(name.toStdU16String());
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(forms::qt::toQRect(control->pixelRect()), pixels);
        std::u16string text;
        if (auto* label = dynamic_cast<const forms::Label*>(control))
            text = label->Caption();
        else if (auto* option = dynamic_cast<const forms::OptionButton*>(control))
            text = option->Caption();
        else if (auto* button = dynamic_cast<const kxButton*>(control))
            text = button->Caption();
        else if (auto* list = dynamic_cast<const forms::ComboBox*>(control))
            text = list->List(list->ListIndex());
        QCOMPARE(QString::fromStdU16String(text), caption);
        QCOMPARE(client->grab(pixels).toImage().pixelColor(at), colour);
    }

    void menuItemsAndShortcuts() {
        QStringList items;
        for (QAction* menu : windowOf(*w)->menuBar()->actions()) {
            items << menu->text();
            for (QAction* a : menu->menu()->actions())
                items << (a->isSeparator()
                              ? QStringLiteral("-")
                              : a->text() + u'|' +
                                    a->shortcut().toString(QKeySequence::PortableText));
        }
        QCOMPARE(items,
                 (QStringList{"Сообщение", "Предварительный просмотр|F5",
                              "Скопировать в буфер обмена|Ctrl+S",
                              "Взять код из буфера обмена|Ctrl+Shift+V", "-", "Выход|", "Параметры",
                              "Кнопка по умолчанию|", "Поверх всех окон|", "Кнопка «Справка»|",
                              "Текст по правому краю|", "Справа налево|", "-",
                              "Имена констант вместо чисел|", "Помощь", "О программе...|F1"}));
    }

    // Tab and Shift+Tab walk the controls in the designed order; the five option buttons are one
    // stop, the chosen one; a Tab in the text box moves on instead of typing a tab.
    void tabOrder_data() {
        QTest::addColumn<int>("icon"); // the option button chosen first; 4 is "None"
        QTest::addColumn<QString>("group");
        QTest::newRow("None chosen") << 4 << "pctNone_4";
        QTest::newRow("question chosen") << 1 << "pct_1";
    }
    void tabOrder() {
        QFETCH(int, icon);
        QFETCH(QString, group);
        (icon == 4 ? w->pctNone : w->pct[icon])->setValue(true);
        w->txtTitle->SetFocus();
        const QStringList forward = {"txtText",      "cmbButtons", group,     "cmdPreview",
                                     "cmdPutToClip", "cmdExit",    "txtTitle"};
        QStringList seen;
        for (int i = 0; i < forward.size(); ++i)
            key(Qt::Key_Tab), seen << focusedControl(w);
        QCOMPARE(seen, forward);
        seen.clear();
        for (int i = 0; i < forward.size(); ++i)
            key(Qt::Key_Backtab, Qt::ShiftModifier), seen << focusedControl(w);
        QStringList backward(forward.rbegin() + 1, forward.rend());
        QCOMPARE(seen, backward << "txtTitle");
        QCOMPARE(w->txtText->Text(), u"");
    }

    // The arrow keys move the choice through the group as the user sees it, top to bottom and
    // round; each choice raises Click, so the icon value follows.
    void arrowKeysChooseTheIcon() {
        w->txtText->SetFocus();
        key(Qt::Key_Tab);
        key(Qt::Key_Tab);
        QCOMPARE(focusedControl(w), QStringLiteral("pctNone_4"));
        QList<int> styles;
        QStringList focused;
        for (int k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down,
                      Qt::Key_Up, Qt::Key_Left, Qt::Key_Up}) {
            key(k);
            styles << w->iconStyle();
            focused << focusedControl(w);
        }
        QCOMPARE(styles, (QList<int>{16, 32, 48, 64, 0, 64, 48, 32}));
        QCOMPARE(focused, (QStringList{"pct_0", "pct_1", "pct_2", "pct_3", "pctNone_4", "pct_3",
                                       "pct_2", "pct_1"}));
        // Space chooses a focused option button that is not chosen.
        w->pct[3]->SetFocus();
        key(Qt::Key_Space);
        QCOMPARE(int(w->iconStyle()), 64);
    }

    // F10, or Alt pressed alone, puts the keyboard on the menu bar's first menu; Down opens it,
    // the separator is skipped on the way to "Выход", Enter chooses it.
    void menuBarByKeyboard_data() {
        QTest::addColumn<int>("opener");
        QTest::newRow("F10") << int(Qt::Key_F10);
        QTest::newRow("Alt alone") << int(Qt::Key_Alt);
    }
    void menuBarByKeyboard() {
        QFETCH(int, opener);
        frmMsgGen* second = openWindow();
        QVERIFY(second);
        const forms::Alive alive(second->lifetime());
        QMenuBar* bar = windowOf(*second)->menuBar();
        key(opener);
        QCOMPARE(bar->activeAction(), menuOf(*second->message)->menuAction());
        key(Qt::Key_Right);
        QCOMPARE(bar->activeAction(), menuOf(*second->options)->menuAction());
        key(Qt::Key_Left);
        key(Qt::Key_Down);
        QTRY_VERIFY(menuOf(*second->message)->isVisible());
        for (int i = 0; i < 3; ++i)
            key(Qt::Key_Down);
        QCOMPARE(menuOf(*second->message)->activeAction(), actionOf(*second->finish));
        key(Qt::Key_Return);
        QTRY_VERIFY(!alive);
    }

    void copyOfATooLongMessageIsRefused() {
        const std::u16string text(40000, u'x');
        w->txtText->setText(text);
        actionOf(*w->Put)->trigger();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].prompt.find(u"слишком длинный") != std::u16string::npos);
        QVERIFY(shown[0].prompt.find(u"1023") != std::u16string::npos);
        QCOMPARE(shown[0].icon, forms::MsgBoxIcon::Exclamation);
        QCOMPARE(clipboardLines(), QStringList{Untouched});
        QVERIFY(!windowOf(*w)->isMinimized());
        QCOMPARE(w->txtText->Text(), text);
    }

    // A click on a picture chooses the option button beside it, and only that one.
    void picturesChooseTheirOptionButtons() {
        for (int i = 0; i < 4; ++i) {
            const forms::PixelRect r = w->img[i]->pixelRect();
            QTest::mouseClick(widgetOf(*w), Qt::LeftButton, {},
                              QPoint(r.x + r.width / 2, r.y + r.height / 2));
            QCOMPARE(int(w->iconStyle()), 16 * (i + 1));
            QCOMPARE(
                std::count_if(w->pct.begin(), w->pct.end(), [](auto* o) { return o->Value(); }), 1);
            QVERIFY(w->pct[i]->Value() && !w->pctNone->Value());
        }
        QTest::mouseClick(widgetOf(*w->pctNone), Qt::LeftButton, {}, QPoint(6, 8));
        QCOMPARE(int(w->iconStyle()), 0);
    }

    // By F5 and by the button, with the text's line break as typed.
    void previewShowsTheMessageAndCopiesNothing() {
        typeText(widgetOf(*w->txtTitle), QStringLiteral("Ошибка"));
        typeText(widgetOf(*w->txtText), QStringLiteral("Диск не найден.\nЧто делать?"));
        QTest::mouseClick(widgetOf(*w->pct[0]), Qt::LeftButton, {}, QPoint(18, 8));
        w->cmbButtons->setListIndex(2);
        clickButton(w->cmdPreview);
        QTest::keyClick(windowOf(*w), Qt::Key_F5);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].prompt, shown[0].prompt);
        QCOMPARE(shown[0].style, 18);
        QCOMPARE(shown[0].prompt, u"Диск не найден.\r\nЧто делать?");
        QCOMPARE(shown[0].title, u"Ошибка");
        QCOMPARE(shown[0].buttons,
                 (std::vector<std::u16string>{u"Прервать", u"Повтор", u"Пропустить"}));
        QCOMPARE(shown[0].icon, forms::MsgBoxIcon::Critical);
        QCOMPARE(clipboardLines(), QStringList{Untouched});
        QVERIFY(!windowOf(*w)->isMinimized());
    }

    // The options as the user picks them from the menu shape the code and the preview; nothing
    // picked writes what the window always wrote.
    void optionsShapeTheCodeAndThePreview_data() {
        QTest::addColumn<int>("defaultButton");
        QTest::addColumn<QStringList>("checked"); // captions of the check items chosen
        QTest::addColumn<QString>("call");        // the code's first line
        QTest::addColumn<int>("style");
        // clang-format off
        QTest::newRow("nothing chosen") << 1 << QStringList{} << "Select Case MsgBox (\"Удалить файл?\", 36, \"Заголовок\")" << 36;
        QTest::newRow("second default, right, constants") << 2 << QStringList{"Текст по правому краю", "Имена констант вместо чисел"} << "Select Case MsgBox (\"Удалить файл?\", vbYesNo + vbQuestion + vbDefaultButton2 + vbMsgBoxRight, \"Заголовок\")" << 4 + 32 + 256 + 524288;
        QTest::newRow("on top, help, right to left") << 2 << QStringList{"Поверх всех окон", "Кнопка «Справка»", "Справа налево"} << "Select Case MsgBox (\"Удалить файл?\", 1069348, \"Заголовок\")" << 1069348;
        // clang-format on
    }
    void optionsShapeTheCodeAndThePreview() {
        QFETCH(int, defaultButton);
        QFETCH(QStringList, checked);
        w->txtTitle->setText(u"Заголовок");
        w->txtText->setText(u"Удалить файл?");
        w->pct[1]->setValue(true);
        w->cmbButtons->setListIndex(4); // Да, Нет
        actionOf(*w->defaultButton[defaultButton - 1])->trigger();
        for (QAction* a : menuOf(*w->options)->actions())
            if (checked.contains(a->text()))
                a->trigger();
        actionOf(*w->Preview)->trigger();
        actionOf(*w->Put)->trigger();
        QTEST(clipboardLines().value(0), "call");
        QCOMPARE(clipboardLines().value(1), checked.contains("Имена констант вместо чисел")
                                                ? "Case vbYes ' Да"
                                                : "Case 6 ' Да");
        QVERIFY(!shown.isEmpty());
        QTEST(shown[0].style, "style");
    }

    // Only the default buttons the chosen set has can be picked; a set with fewer falls back to
    // the first.
    void defaultButtonFollowsTheButtonSet() {
        const auto states = [this] {
            QString s;
            for (auto* item : w->defaultButton)
                s += item->Checked() ? 'x' : item->Enabled() ? 'o' : '-';
            return s;
        };
        QCOMPARE(states(), "x--");      // OK only
        w->cmbButtons->setListIndex(3); // Да, Нет, Отмена
        actionOf(*w->defaultButton[2])->trigger();
        QCOMPARE(states(), "oox");
        w->cmbButtons->setListIndex(4); // Да, Нет
        QCOMPARE(states(), "xo-");
    }

    // Code on the clipboard fills the window as if the user had chosen its parts; what the window
    // cannot keep is named first, and unreadable code changes nothing.
    void takeCodeFromTheClipboard_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("answer");     // to the box naming what is not kept
        QTest::addColumn<QString>("window"); // title|text|icon|list|default|options, or unchanged
        QTest::addColumn<QString>("said");   // a part of the box's text; empty: no box
        const QString own = "Select Case MsgBox (\"Удалить файл?\", vbYesNo + vbQuestion + "
                            "vbDefaultButton2 + vbMsgBoxRight, \"Заголовок\")\r\nCase vbYes ' "
                            "Да\r\n\t\r\nCase vbNo ' Нет\r\n\t\r\nEnd Select";
        const QString unchanged = "||0|0|1|";
        // clang-format off
        QTest::newRow("the tool's own block") << own << 0 << "Заголовок|Удалить файл?|32|4|2|right constants" << "";
        QTest::newRow("a call by hand") << "x = MsgBox(\"Привет\" & vbCrLf & \"мир\", 48 + 4 + 4096, \"Т\")" << 0 << "Т|Привет\r\nмир|48|4|1|on-top" << "";
        QTest::newRow("a help file: Cancel keeps the window") << "MsgBox \"a\", 0, \"b\", \"help.hlp\", 10" << int(forms::vbCancel) << unchanged << "файл справки";
        QTest::newRow("a help file: OK takes the rest") << "MsgBox \"a\", 0, \"b\", \"help.hlp\", 10" << int(forms::vbOK) << "b|a|0|0|1|" << "файл справки";
        QTest::newRow("a variable") << "MsgBox strPrompt" << 0 << unchanged << "строка 1, столбец 8";
        // clang-format on
    }
    void takeCodeFromTheClipboard() {
        QFETCH(QString, code);
        QFETCH(int, answer);
        QFETCH(QString, said);
        this->answer = answer;
        QGuiApplication::clipboard()->setText(code);
        QTest::keyClick(windowOf(*w), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        const codegen::StyleParts p = w->styleParts();
        QString options;
        for (const auto& [on, name] : {std::pair{p.systemModal, "on-top"},
                                       {p.helpButton, "help"},
                                       {p.right, "right"},
                                       {p.rtl, "rtl"},
                                       {w->constants(), "constants"}})
            options += on ? QString(options.isEmpty() ? "" : " ") + name : QString();
        QTEST(QStringList({QString::fromStdU16String(w->txtTitle->Text()),
                           QString::fromStdU16String(w->txtText->Text()),
                           QString::number(w->iconStyle()),
                           QString::number(w->cmbButtons->ListIndex()),
                           QString::number(p.defaultButton), options})
                  .join('|'),
              "window");
        QCOMPARE(shown.size(), said.isEmpty() ? 0 : 1);
        if (!said.isEmpty())
            QVERIFY2(shown[0].prompt.find(said.toStdU16String()) != std::u16string::npos,
                     qPrintable(QString::fromStdU16String(shown[0].prompt)));
        if (QTest::currentDataTag() == QStringLiteral("the tool's own block")) {
            actionOf(*w->Put)->trigger(); // copied back byte for byte
            QCOMPARE(QGuiApplication::clipboard()->text(), code);
        }
    }

    // The toolkit's own texts, such as a text box's context menu, are Russian.
    void toolkitTextsAreRussian() {
        auto* edit = widgetOf(*w->txtTitle)->findChild<QLineEdit*>();
        std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
        const QString first = menu->actions().value(0)->text();
        QVERIFY2(first.contains(QRegularExpression(QStringLiteral("[А-Яа-я]"))), qPrintable(first));
    }
};

// The program's application object: its look and its language, as the user gets them.
int main(int argc, char** argv) {
    forms::Application application(argc, argv);
    tst_frmMsgGen test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_frmmsggen.moc"
