// The generator window, driven through its controls as a user would.
#include "app/frmmsggen.h"
#include "controls/kxbutton/kxbutton.h"
#include "forms/cursor.h"
#include "forms/image.h"
#include "forms/label.h"
#include "forms/msgbox.h"
#include "forms/stockcontrols.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <algorithm>

using app::frmMsgGen;

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
void clickButton(kxButton* button) {
    const QPoint centre = button->rect().center();
    QWidget* part = button->childAt(centre);
    QVERIFY(part);
    forms::setCursorPosOverride(button->mapToGlobal(centre));
    QTest::mouseClick(part, Qt::LeftButton, {}, part->mapFrom(button, centre));
    forms::setCursorPosOverride(std::nullopt);
}

void chooseListEntry(forms::ComboBox* list, int position) {
    list->setFocus();
    while (list->ListIndex() != position)
        QTest::keyClick(list, list->ListIndex() < position ? Qt::Key_Down : Qt::Key_Up);
}

// The control of the window's client area that a focused widget belongs to.
QWidget* controlOf(QWidget* focused, QWidget* client) {
    while (focused && focused->parentWidget() != client)
        focused = focused->parentWidget();
    return focused;
}

QStringList clipboardLines() {
    return QGuiApplication::clipboard()->text().split(QStringLiteral("\r\n"));
}

} // namespace

class tst_frmMsgGen : public QObject {
    Q_OBJECT

    QPointer<frmMsgGen> w;
    QList<forms::MsgBoxRequest> shown;

private slots:
    void initTestCase() {
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
    void init() {
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

    void cleanupTestCase() {
        forms::setMsgBoxPresenter({});
        delete w.data();
    }

    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels"); // the twips of the design at 15 twips per pixel
        QTest::addColumn<QString>("caption");
        QTest::newRow("txtText") << "txtText" << QRect(68, 60, 221, 134) << QString();
        QTest::newRow("cmbButtons") << "cmbButtons" << QRect(69, 198, 223, 21) << "Ok";
        QTest::newRow("pctNone") << "pctNone_4" << QRect(312, 195, 64, 16) << "    None";
        QTest::newRow("pct 3") << "pct_3" << QRect(300, 153, 25, 16) << QString();
        QTest::newRow("lblTitle") << "lblTitle" << QRect(4, 28, 61, 17) << "Заголовок:";
        QTest::newRow("cmdPutToClip")
            << "cmdPutToClip" << QRect(66, 264, 256, 28) << "Скопировать в буфер обмена";
        QTest::newRow("cmdExit") << "cmdExit" << QRect(66, 294, 256, 28) << "Выход";
        QTest::newRow("img 1, question") << "img_1" << QRect(336, 60, 41, 35) << QString();
    }

    void layout() {
        QFETCH(QString, name);
        QFETCH(QRect, pixels);
        QFETCH(QString, caption);
        QCOMPARE(w->client()->size(), QSize(388, 333));
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
        else if (auto* image = qobject_cast<forms::Image*>(control))
            QCOMPARE(image->Picture()->image().size(), pixels.size());
    }

    void menuItemsAndShortcuts() {
        QStringList items;
        for (QAction* menu : w->menuBar()->actions()) {
            items << menu->text();
            for (QAction* a : menu->menu()->actions())
                items << (a->isSeparator()
                              ? QStringLiteral("-")
                              : a->text() + u'|' +
                                    a->shortcut().toString(QKeySequence::PortableText));
        }
        QCOMPARE(items, (QStringList{"Сообщение", "Предварительный просмотр|F5",
                                     "Скопировать в буфер обмена|Ctrl+S", "-", "Выход|", "Помощь",
                                     "О программе...|F1"}));
    }

    // The focus chain holds the controls in the designed order (Qt makes the option buttons one
    // Tab stop); a Tab in the text box moves on instead of typing a tab.
    void tabOrder() {
        QStringList chain;
        for (QWidget* x = w->nextInFocusChain(); x != w; x = x->nextInFocusChain()) {
            if (!(x->focusPolicy() & Qt::TabFocus) || !x->isVisibleTo(w) || !x->isEnabled())
                continue;
            if (QWidget* control = controlOf(x, w->client());
                control && (chain.isEmpty() || chain.last() != control->objectName()))
                chain << control->objectName();
        }
        QCOMPARE(chain,
                 (QStringList{"txtTitle", "txtText", "cmbButtons", "pct_0", "pctNone_4", "pct_1",
                              "pct_2", "pct_3", "cmdPreview", "cmdPutToClip", "cmdExit"}));
        w->txtText->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(controlOf(QApplication::focusWidget(), w->client()), w->cmbButtons);
        QCOMPARE(w->txtText->Text(), QString());
    }

    void copyRightAfterStartUp() {
        w->Put->trigger();
        QCOMPARE(clipboardLines(), QStringList{"MsgBox \"\", 0, \"\""});
        QVERIFY(w->isMinimized());
    }

    void copyYesNoWithQuestion() {
        typeText(w->txtTitle, QStringLiteral("Вопрос"));
        typeText(w->txtText, QStringLiteral("Первая строка\nВторая"));
        QTest::mouseClick(w->img[1], Qt::LeftButton);
        chooseListEntry(w->cmbButtons, 4);
        QCOMPARE(w->cmbButtons->currentText(), QStringLiteral("Да, Нет"));
        clickButton(w->cmdPutToClip);
        QCOMPARE(clipboardLines(),
                 (QStringList{"Select Case MsgBox (\"Первая строка\" & vbCrLf & \"Вторая\", 36, "
                              "\"Вопрос\")",
                              "Case 6 ' Да", "\t", "Case 7 ' Нет", "\t", "End Select"}));
        QVERIFY(w->isMinimized());
    }

    void copyOfATooLongMessageIsRefused() {
        const QString text(40000, QLatin1Char('x'));
        w->txtText->setText(text);
        w->Put->trigger();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].prompt.contains(QStringLiteral("слишком длинный")));
        QCOMPARE(shown[0].icon, QMessageBox::Warning);
        QCOMPARE(clipboardLines(), QStringList{Untouched});
        QVERIFY(!w->isMinimized());
        QCOMPARE(w->txtText->Text(), text);
    }

    void pictureChoosesItsOptionButton_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("iconStyle");
        QTest::newRow("stop") << 0 << 16;
        QTest::newRow("question") << 1 << 32;
        QTest::newRow("exclamation") << 2 << 48;
        QTest::newRow("information") << 3 << 64;
    }

    void pictureChoosesItsOptionButton() {
        QFETCH(int, index);
        QFETCH(int, iconStyle);
        QTest::mouseClick(w->img[index], Qt::LeftButton);
        QCOMPARE(int(w->iconStyle()), iconStyle);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(w->pct[i]->Value(), i == index);
        QVERIFY(!w->pctNone->Value());
        QTest::mouseClick(w->pctNone, Qt::LeftButton, {}, QPoint(6, 8));
        QCOMPARE(int(w->iconStyle()), 0);
    }

    void previewShowsTheMessageAndCopiesNothing_data() {
        QTest::addColumn<bool>("byButton");
        QTest::newRow("F5") << false;
        QTest::newRow("button") << true;
    }

    void previewShowsTheMessageAndCopiesNothing() {
        QFETCH(bool, byButton);
        typeText(w->txtTitle, QStringLiteral("Ошибка"));
        typeText(w->txtText, QStringLiteral("Диск не найден.\nЧто делать?"));
        QTest::mouseClick(w->pct[0], Qt::LeftButton, {}, QPoint(18, 8));
        chooseListEntry(w->cmbButtons, 2);
        if (byButton)
            clickButton(w->cmdPreview);
        else
            QTest::keyClick(w, Qt::Key_F5);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].style, 18);
        QCOMPARE(shown[0].prompt, QStringLiteral("Диск не найден.\r\nЧто делать?"));
        QCOMPARE(shown[0].title, QStringLiteral("Ошибка"));
        QCOMPARE(shown[0].buttons, (QStringList{"Прервать", "Повтор", "Пропустить"}));
        QCOMPARE(shown[0].icon, QMessageBox::Critical);
        QCOMPARE(clipboardLines(), QStringList{Untouched});
        QVERIFY(!w->isMinimized());
    }

    // The names and codes are those of the last entry chosen.
    void secondListChoiceWins() {
        chooseListEntry(w->cmbButtons, 3);
        chooseListEntry(w->cmbButtons, 5);
        w->Put->trigger();
        QCOMPARE(clipboardLines(),
                 (QStringList{"Select Case MsgBox (\"\", 5, \"\")", "Case 4 ' Повтор", "\t",
                              "Case 2 ' Отмена", "\t", "End Select"}));
    }

    void exit_data() {
        QTest::addColumn<bool>("byButton");
        QTest::newRow("menu item") << false;
        QTest::newRow("cmdExit") << true;
    }

    // Unloading the window ends the program: no window of it is left. (Qt's lastWindowClosed
    // needs a running exec(); the end-to-end tests see the exit.)
    void exit() {
        QFETCH(bool, byButton);
        w->hide();
        QPointer<frmMsgGen> second = new frmMsgGen();
        second->Load();
        second->Show();
        QVERIFY(QTest::qWaitForWindowActive(second));
        if (byButton)
            clickButton(second->cmdExit);
        else
            second->finish->trigger();
        QTRY_VERIFY(second.isNull());
        const QWidgetList windows = QApplication::topLevelWidgets();
        QVERIFY(std::none_of(windows.begin(), windows.end(),
                             [](QWidget* x) { return x->isVisible(); }));
    }
};

QTEST_MAIN(tst_frmMsgGen)
#include "tst_frmmsggen.moc"
