#include "forms/error.h"
#include "forms/form.h"
#include "forms/qt/formpeer.h"
#include "forms/qt/idlecaret.h"
#include "forms/stockcontrols.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace forms;
using qt::widgetOf;

namespace {

struct TestForm : Form {
    int loads = 0, deactivates = 0;
    std::function<void()> onLoad = [] {};
    void Form_Load() override { ++loads, onLoad(); }
    void Form_Deactivate() override { ++deactivates; }
};

// Runs the posted activation checks.
void settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

bool activate(QWidget* w) {
    w->show();
    w->activateWindow();
    const bool active = QTest::qWaitForWindowActive(w);
    settle();
    return active;
}

} // namespace

class TestFormClass : public QObject {
    Q_OBJECT
private slots:
    void loadRunsOnce() {
        TestForm f;
        f.Load();
        f.Load();
        QCOMPARE(f.loads, 1);
        TestForm g; // a Show inside Form_Load does not load again
        g.onLoad = [&g] { g.Show(); };
        g.Show();
        QCOMPARE(g.loads, 1);
        QVERIFY(qt::windowOf(g)->isVisible());
    }

    void clientAreaBelowMenuBarAndShortcuts() {
        TestForm f;
        f.setClientSizeTwips(5820, 4995);
        Menu* menu = f.addMenu(u"Сообщение");
        QList<int> log;
        for (int i : {0, 1}) // F5, Ctrl+S
            menu->addItem(u"x", {i ? std::int16_t('S') : vkFunction(5), {.control = i == 1}})
                ->Click.connect([&log, i] { log << i; });
        f.Show();
        QMainWindow* w = qt::windowOf(f);
        QVERIFY(QTest::qWaitForWindowActive(w));
        const int top = w->menuBar()->geometry().bottom() + 1;
        QVERIFY(top > 1);
        QCOMPARE(widgetOf(f)->geometry(), QRect(0, top, 388, 333));
        QCOMPARE(w->size(), QSize(388, 333 + top));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QVERIFY_THROWS_EXCEPTION(RuntimeError, f.setClientSizeTwips(-15, 300));
        QCOMPARE(widgetOf(f)->size(), QSize(388, 333));
        QTest::keyClick(widgetOf(f), Qt::Key_F5);
        QTest::keyClick(widgetOf(f), Qt::Key_S, Qt::ControlModifier);
        menu->items()[0]->setEnabled(false);
        QTest::keyClick(widgetOf(f), Qt::Key_F5);
        QCOMPARE(log, (QList<int>{0, 1}));
        // A checked item in a submenu: choosing it raises Click and leaves the mark to the code.
        MenuItem* check = menu->addSubmenu(u"Кнопка")->addItem(u"Вторая");
        check->setChecked(true);
        check->Click.connect([&log] { log << 2; });
        QAction* action = qt::actionOf(*check);
        action->trigger();
        QVERIFY(action->isChecked() && check->Checked());
        QCOMPARE(log.last(), 2);
        QCOMPARE(qt::menuOf(*menu)->actions().last()->menu()->actions(), QList<QAction*>{action});
    }

    void deactivateOnlyForAnotherWindowOfOurs() {
        TestForm a, b;
        QVERIFY(activate(qt::windowOf(a)));
        QVERIFY(activate(qt::windowOf(b)));
        QCOMPARE(a.deactivates, 1);
        QApplication::setActiveWindow(nullptr); // away to another application and back
        settle();
        QVERIFY(activate(qt::windowOf(b)));
        QCOMPARE(a.deactivates + b.deactivates, 1);
    }

    void textBoxText_data() {
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("LF, lone CR, CR LF") << "a\nb\rc\r\n" << "a\r\nb\r\nc\r\n";
        QTest::newRow("no-break space, tab") << "a\u00A0b  c\t" << "a\u00A0b  c\t";
        QTest::newRow("U+2028, U+2029") << "a\u2028b\u2029c" << "a\r\nb\r\nc";
        QTest::newRow("outside cp1251") << "€ ẞ \U0001F600 漢字" << "€ ẞ \U0001F600 漢字";
        // clang-format on
    }
    void textBoxText() {
        QFETCH(QString, set);
        TextBox box(nullptr, true);
        box.setText(set.toStdU16String());
        QTEST(QString::fromStdU16String(box.Text()), "text");
    }

    void comboClicks() {
        TestForm win;
        auto* combo = win.make<ComboBox>();
        QList<int> clicks; // the handler sees the new position already
        combo->Click.connect([&] { clicks << combo->ListIndex(); });
        for (const char16_t* item : {u"OK", u"OK, Отмена", u"Да, Нет"})
            combo->AddItem(item);
        combo->setListIndex(0);
        combo->setListIndex(2);
        combo->setListIndex(2);
        combo->AddItem(u"zero", 0); // keeps the chosen entry, silently
        auto* shown = qobject_cast<QComboBox*>(widgetOf(*combo));
        QCOMPARE(shown->currentText(), QStringLiteral("Да, Нет"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, combo->setListIndex(4));
        QVERIFY(activate(qt::windowOf(win)));
        combo->SetFocus();
        QTest::keyClick(shown, Qt::Key_Up); // the user moving it
        combo->setListIndex(-1);
        QCOMPARE(clicks, (QList<int>{0, 2, 2, -1}));
        QCOMPARE(shown->currentIndex(), -1);
    }

    // With none chosen, Tab reaches the group at its first button in tab order; the arrow keys
    // choose in the order the user sees, skipping hidden and disabled buttons.
    void optionButtonGroup_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("to");
        QTest::newRow("down skips the hidden one") << 2 << int(Qt::Key_Down) << 0;
        QTest::newRow("down wraps past the disabled one") << 0 << int(Qt::Key_Down) << 1;
        QTest::newRow("space keeps the chosen one") << 1 << int(Qt::Key_Space) << 1;
    }
    void optionButtonGroup() {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, to);
        TestForm win;
        auto* edit = win.make<TextBox>();
        std::vector<OptionButton*> b; // seen top to bottom: 1 2 (one row), 3, 0, 4
        for (const auto& [x, y] : {std::pair{0, 40}, {0, 0}, {30, 0}, {0, 20}, {0, 60}})
            b.push_back(win.make<OptionButton>(u"x")), b.back()->Move(x, y, 20, 10);
        b[3]->setVisible(false);
        b[4]->setEnabled(false);
        Form::setTabOrder({edit, b[2], b[0], b[1]});
        QVERIFY(activate(qt::windowOf(win)));
        edit->SetFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), widgetOf(*b[2]));
        b[from]->setValue(true);
        b[from]->SetFocus();
        QTest::keyClick(widgetOf(*b[from]), Qt::Key(key));
        QCOMPARE(QApplication::focusWidget(), widgetOf(*b[to]));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(qobject_cast<QRadioButton*>(widgetOf(*b[i]))->isChecked(), i == to);
    }

    void commandButtonDefaultAndCancel() {
        TestForm win, second;
        auto* edit = win.make<TextBox>();
        auto *ok = win.make<CommandButton>(u"OK"), *cancel = win.make<CommandButton>(u"Отмена"),
             *other = win.make<CommandButton>(u"Другая");
        ok->setDefault(true);
        cancel->setCancel(true);
        QStringList log;
        for (auto* b : {ok, cancel, other})
            b->Click.connect([&log, b] { log << QString::fromStdU16String(b->Caption()); });
        QVERIFY(activate(qt::windowOf(win)));
        edit->SetFocus();
        QTest::keyClick(widgetOf(*edit), Qt::Key_Return);
        QTest::keyClick(widgetOf(*edit), Qt::Key_Escape);
        other->SetFocus();
        QTest::keyClick(widgetOf(*other), Qt::Key_Return); // Enter on a focused button clicks it
        ok->setCancel(true);                               // the About window's OK is both
        edit->SetFocus();
        QTest::keyClick(widgetOf(*edit), Qt::Key_Escape);
        QVERIFY(activate(qt::windowOf(second))); // keys in another window leave these buttons alone
        QTest::keyClick(widgetOf(second), Qt::Key_Return);
        QTest::keyClick(widgetOf(second), Qt::Key_Escape);
        QCOMPARE(log, (QStringList{"OK", "Отмена", "Другая", "OK"}));
    }

    // The caret stops blinking after the idle time and blinks again at the next key or click.
    void caretBlinksOnlyAfterInput() {
        QWidget win;
        auto* edit = new QLineEdit(&win);
        QVERIFY(activate(&win));
        const int period = QApplication::cursorFlashTime();
        QVERIFY(period > 0);
        {
            qt::IdleCaret caret(std::chrono::milliseconds(50));
            QTRY_COMPARE(QApplication::cursorFlashTime(), 0);
            QTest::keyClick(edit, Qt::Key_A);
            QCOMPARE(QApplication::cursorFlashTime(), period);
            QTRY_COMPARE(QApplication::cursorFlashTime(), 0);
            QTest::mouseClick(edit, Qt::LeftButton);
            QCOMPARE(QApplication::cursorFlashTime(), period);
        }
        QCOMPARE(QApplication::cursorFlashTime(), period);
    }

    void lastUnloadEndsTheApplication() { // ends the event loop: keep last
        auto* f = new Form;
        f->Show();
        QTimer::singleShot(0, qApp, [f] { f->Unload(); });
        QTimer watchdog;
        connect(&watchdog, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
        watchdog.start(5000);
        QCOMPARE(QCoreApplication::exec(), 0);
    }
};

QTEST_MAIN(TestFormClass)
#include "tst_form.moc"
