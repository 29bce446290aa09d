#include "forms/error.h"
#include "forms/form.h"
#include "forms/idlecaret.h"
#include "forms/stockcontrols.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace forms;

namespace {

struct TestForm : Form {
    int loads = 0, deactivates = 0;
    std::function<void()> onLoad = [] {};
    TestForm() { setAttribute(Qt::WA_DeleteOnClose, false); }
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
        QVERIFY(g.isVisible());
    }

    void clientAreaBelowMenuBar() {
        TestForm f;
        f.setClientSizeTwips(5820, 4995);
        f.menuBar()->addMenu(QStringLiteral("Сообщение"))->addAction(QStringLiteral("Выход"));
        f.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const int top = f.menuBar()->geometry().bottom() + 1;
        QVERIFY(top > 1);
        QCOMPARE(f.client()->geometry(), QRect(0, top, 388, 333));
        QCOMPARE(f.size(), QSize(388, 333 + top));
        QCOMPARE(f.minimumSize(), f.maximumSize());
        QVERIFY_THROWS_EXCEPTION(RuntimeError, f.setClientSizeTwips(-15, 300));
        QCOMPARE(f.client()->size(), QSize(388, 333));
    }

    void deactivateOnlyForAnotherWindowOfOurs() {
        TestForm a, b;
        QVERIFY(activate(&a));
        QVERIFY(activate(&b));
        QCOMPARE(a.deactivates, 1);
        QApplication::setActiveWindow(nullptr); // away to another application and back
        settle();
        QVERIFY(activate(&b));
        QCOMPARE(a.deactivates + b.deactivates, 1);
    }

    void textBoxTextIsRaw_data() {
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("LF, lone CR, CR LF") << "a\nb\rc\r\n" << "a\r\nb\r\nc\r\n";
        QTest::newRow("no-break space, tab") << "a\u00A0b  c\t" << "a\u00A0b  c\t";
        QTest::newRow("U+2028, U+2029") << "a\u2028b\u2029c" << "a\r\nb\r\nc";
        QTest::newRow("outside cp1251") << "€ ẞ \U0001F600 漢字" << "€ ẞ \U0001F600 漢字";
        // clang-format on
    }
    void textBoxTextIsRaw() {
        QFETCH(QString, set);
        TextBox box(nullptr, true);
        box.setText(set);
        QTEST(box.Text(), "text");
    }

    void comboClicks() {
        QWidget win;
        auto* combo = new ComboBox(&win);
        QList<int> clicks; // the handler sees the new position already
        connect(combo, &ComboBox::Click, this, [&] { clicks << combo->ListIndex(); });
        for (const char* item : {"OK", "OK, Отмена", "Да, Нет"})
            combo->AddItem(QString::fromUtf8(item));
        combo->setListIndex(0);
        combo->setListIndex(2);
        combo->setListIndex(2);
        combo->AddItem(QStringLiteral("zero"), 0); // keeps the chosen entry, silently
        QCOMPARE(combo->currentText(), QStringLiteral("Да, Нет"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, combo->setListIndex(4));
        QVERIFY(activate(&win));
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Up); // the user moving it
        combo->setListIndex(-1);
        QCOMPARE(clicks, (QList<int>{0, 2, 2, -1}));
    }

    void commandButtonDefaultAndCancel() {
        QWidget win, second;
        auto* edit = new QLineEdit(&win);
        auto* elsewhere = new QLineEdit(&second);
        auto* ok = new CommandButton(QStringLiteral("OK"), &win);
        auto* cancel = new CommandButton(QStringLiteral("Отмена"), &win);
        auto* other = new CommandButton(QStringLiteral("Другая"), &win);
        ok->setDefault(true);
        cancel->setCancel(true);
        QStringList log;
        for (auto* b : {ok, cancel, other})
            connect(b, &CommandButton::Click, this, [&log, b] { log << b->text(); });
        QVERIFY(activate(&win));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClick(edit, Qt::Key_Escape);
        other->setFocus();
        QTest::keyClick(other, Qt::Key_Return); // Enter on a focused button clicks that one
        ok->setCancel(true);                    // the About window's OK is both
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(activate(&second)); // keys in another window leave these buttons alone
        QTest::keyClick(elsewhere, Qt::Key_Return);
        QTest::keyClick(elsewhere, Qt::Key_Escape);
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
            IdleCaret caret(std::chrono::milliseconds(50));
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
        QTimer::singleShot(0, f, [f] { f->Unload(); });
        QTimer watchdog;
        connect(&watchdog, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
        watchdog.start(5000);
        QCOMPARE(QCoreApplication::exec(), 0);
    }
};

QTEST_MAIN(TestFormClass)
#include "tst_form.moc"
