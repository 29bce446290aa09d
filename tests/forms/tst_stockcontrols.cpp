#include "forms/error.h"
#include "forms/stockcontrols.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

using namespace forms;

namespace {

// A shown, active top-level window to put the controls on.
struct Window {
    QWidget w;
    Window() { w.resize(400, 300); }
    bool open() {
        w.show();
        w.activateWindow();
        return QTest::qWaitForWindowActive(&w);
    }
};

// QTest::keyClicks takes Latin-1 only; this types any text, one code point per key.
void type(QWidget* w, const QString& text) {
    for (const char32_t cp : text.toUcs4()) {
        const QString ch = QString::fromUcs4(&cp, 1);
        QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, ch, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, ch, Qt::NoModifier);
    }
}

} // namespace

class TestStockControls : public QObject {
    Q_OBJECT

private slots:
    void multiLineTextIsRawWithCrLf_data();
    void multiLineTextIsRawWithCrLf();
    void typedLineBreaksBecomeCrLf();
    void textBoxKeysAndFocus();
    void textBoxBackColor();
    void comboClickOnEveryChangeOfPosition();
    void optionButtonsChooseExactlyOne();
    void commandButtonDefaultAndCancel();
};

void TestStockControls::multiLineTextIsRawWithCrLf_data() {
    QTest::addColumn<QString>("set");
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("LF") << QStringLiteral("a\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("lone CR") << QStringLiteral("a\rb") << QStringLiteral("a\r\nb");
    QTest::newRow("empty lines, trailing break")
        << QStringLiteral("\r\na\r\n\r\nb\r\n") << QStringLiteral("\r\na\r\n\r\nb\r\n");
    QTest::newRow("no-break space stays")
        << QStringLiteral("a\u00A0b  c\t") << QStringLiteral("a\u00A0b  c\t");
    QTest::newRow("line separator") << QStringLiteral("a\u2028b") << QStringLiteral("a\r\nb");
    QTest::newRow("outside cp1251, emoji")
        << QStringLiteral("€ ẞ \U0001F600\r\n漢字") << QStringLiteral("€ ẞ \U0001F600\r\n漢字");
    QTest::newRow("empty") << QString() << QString();
}

void TestStockControls::multiLineTextIsRawWithCrLf() {
    QFETCH(QString, set);
    TextBox box(nullptr, true);
    QVERIFY(box.MultiLine());
    box.setText(set);
    QTEST(box.Text(), "text");
}

void TestStockControls::typedLineBreaksBecomeCrLf() {
    Window win;
    auto* box = new TextBox(&win.w, true);
    QVERIFY(win.open());
    box->setFocus();
    // Keys sent to the box itself reach its editor.
    type(box, QStringLiteral("Да"));
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, QStringLiteral("x"));
    QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier); // line separator U+2028
    type(box->editor(), QStringLiteral("\u00A0y\U0001F600"));
    QCOMPARE(box->Text(), QStringLiteral("Да\r\nx\r\n\u00A0y\U0001F600"));
}

void TestStockControls::textBoxKeysAndFocus() {
    Window win;
    auto* title = new TextBox(&win.w);
    auto* text = new TextBox(&win.w, true);
    auto* address = new TextBox(&win.w);
    auto* after = new QLineEdit(&win.w);
    QWidget::setTabOrder(title, text);
    QWidget::setTabOrder(text, address);
    QWidget::setTabOrder(address, after);
    QVERIFY(!title->MultiLine());
    QCOMPARE(text->plainTextEdit()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(text->plainTextEdit()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    // The editor fills the box exactly, even below its own minimum size hint.
    title->setGeometry(68, 24, 221, 21);
    text->setGeometry(68, 60, 221, 134);
    address->setText(QStringLiteral("mail@example.org"));
    address->setLocked(true);
    address->setTabStop(false);
    QVERIFY(win.open());
    QCOMPARE(title->editor()->geometry(), QRect(0, 0, 221, 21));
    QCOMPARE(text->editor()->geometry(), QRect(0, 0, 221, 134));

    title->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), title->editor());
    type(title, QStringLiteral("Заголовок"));
    QCOMPARE(title->Text(), QStringLiteral("Заголовок"));

    // Tab leaves the multi-line box instead of being typed into it, and skips the address.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), text->editor());
    QTest::keyClicks(text, QStringLiteral("a"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), after);
    QCOMPARE(text->Text(), QStringLiteral("a"));

    // A locked box keeps its text but can still take the focus by a click.
    address->setFocus();
    QTest::keyClicks(address, QStringLiteral("zz"));
    QCOMPARE(address->Text(), QStringLiteral("mail@example.org"));
    QVERIFY(address->Locked());
}

void TestStockControls::textBoxBackColor() {
    TextBox box(nullptr, true);
    box.setBackColor(0x00E7F0FA);
    QCOMPARE(box.BackColor(), OleColor(0x00E7F0FA));
    QCOMPARE(box.editor()->palette().color(QPalette::Base), QColor(250, 240, 231));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, box.setBackColor(0x80000040));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, box.setBackColor(0x01000000));
    QCOMPARE(box.BackColor(), OleColor(0x00E7F0FA));
    QCOMPARE(box.editor()->palette().color(QPalette::Base), QColor(250, 240, 231));

    ComboBox combo;
    combo.setBackColor(0x00EAF7EA);
    QCOMPARE(combo.palette().color(QPalette::Base), QColor(234, 247, 234));
}

void TestStockControls::comboClickOnEveryChangeOfPosition() {
    Window win;
    auto* combo = new ComboBox(&win.w);
    QVERIFY(!combo->isEditable());
    QCOMPARE(combo->ListIndex(), -1);
    // The handler sees the new position already.
    QList<int> clicks;
    connect(combo, &ComboBox::Click, this, [&] { clicks << combo->ListIndex(); });
    for (const char* item : {"OK", "OK, Отмена", "Да, Нет"})
        combo->AddItem(QString::fromUtf8(item));
    combo->AddItem(QStringLiteral("first"), 0);
    QCOMPARE(combo->ListCount(), 4);
    QCOMPARE(combo->itemText(0), QStringLiteral("first"));
    // Adding entries chooses none and raises nothing.
    QCOMPARE(combo->ListIndex(), -1);
    QVERIFY(clicks.isEmpty());

    combo->setListIndex(0); // raised inside the setter, before it returns
    QCOMPARE(clicks, QList<int>{0});
    combo->setListIndex(2);
    QCOMPARE(clicks, (QList<int>{0, 2}));
    combo->setListIndex(2);
    QCOMPARE(clicks, (QList<int>{0, 2}));
    // An entry inserted before the chosen one keeps that entry chosen, silently.
    combo->AddItem(QStringLiteral("zero"), 0);
    QCOMPARE(combo->ListIndex(), 3);
    QCOMPARE(combo->currentText(), QStringLiteral("OK, Отмена"));
    QCOMPARE(clicks, (QList<int>{0, 2}));
    clicks.clear();

    QVERIFY_THROWS_EXCEPTION(RuntimeError, combo->setListIndex(5));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, combo->setListIndex(-2));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, combo->AddItem(QStringLiteral("x"), 9));
    QCOMPARE(combo->ListIndex(), 3);
    QCOMPARE(combo->ListCount(), 5);

    // The user moving the position raises it too.
    QVERIFY(win.open());
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(clicks, QList<int>{4});
    combo->setListIndex(-1);
    QCOMPARE(clicks, (QList<int>{4, -1}));
}

void TestStockControls::optionButtonsChooseExactlyOne() {
    Window win;
    QList<OptionButton*> options;
    QList<int> clicks;
    for (int i = 0; i < 5; ++i) {
        auto* o = new OptionButton(i == 4 ? QStringLiteral("    None") : QString(), &win.w);
        o->setGeometry(10, 10 + 30 * i, 100, 24);
        connect(o, &OptionButton::Click, this, [&clicks, i] { clicks << i; });
        options << o;
    }
    auto chosen = [&] {
        QList<int> on;
        for (int i = 0; i < options.size(); ++i) {
            if (options[i]->Value())
                on << i;
        }
        return on;
    };
    options[4]->setValue(true); // raised inside the setter
    QCOMPARE(clicks, QList<int>{4});
    options[4]->setValue(true);
    QCOMPARE(clicks, QList<int>{4});
    options[2]->setValue(true);
    QCOMPARE(clicks, (QList<int>{4, 2}));
    QCOMPARE(chosen(), QList<int>{2});

    QVERIFY(win.open());
    QStyleOptionButton opt;
    opt.initFrom(options[0]);
    const QRect mark =
        options[0]->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &opt, options[0]);
    QTest::mouseClick(options[0], Qt::LeftButton, {}, mark.center());
    QCOMPARE(clicks, (QList<int>{4, 2, 0}));
    QCOMPARE(chosen(), QList<int>{0});

    options[0]->setValue(false);
    QCOMPARE(chosen(), QList<int>{});
    QCOMPARE(clicks.size(), 3);
    options[3]->setValue(true);
    QCOMPARE(chosen(), QList<int>{3});
}

void TestStockControls::commandButtonDefaultAndCancel() {
    Window win;
    auto* edit = new QLineEdit(&win.w);
    auto* ok = new CommandButton(QStringLiteral("OK"), &win.w);
    auto* cancel = new CommandButton(QStringLiteral("Отмена"), &win.w);
    auto* other = new CommandButton(QStringLiteral("Другая"), &win.w);
    ok->setDefault(true);
    cancel->setCancel(true);
    QSignalSpy okSpy(ok, &CommandButton::Click);
    QSignalSpy cancelSpy(cancel, &CommandButton::Click);
    QSignalSpy otherSpy(other, &CommandButton::Click);
    QVERIFY(win.open());
    edit->setFocus();

    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(okSpy.count(), 1);
    QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(okSpy.count(), 2);
    QTest::keyClick(edit, Qt::Key_Escape);
    QCOMPARE(cancelSpy.count(), 1);

    // Enter on a focused button clicks that button, not the default one.
    other->setFocus();
    QTest::keyClick(other, Qt::Key_Return);
    QCOMPARE(otherSpy.count(), 1);
    QCOMPARE(okSpy.count(), 2);

    // One default per window: making another one default takes the flag away.
    other->setDefault(true);
    QVERIFY(!ok->Default());
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(otherSpy.count(), 2);
    QCOMPARE(okSpy.count(), 2);

    // A disabled default button is not clicked.
    other->setEnabled(false);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(otherSpy.count(), 2);

    // One button both default and cancel (the About window's OK).
    ok->setDefault(true);
    ok->setCancel(true);
    QVERIFY(!cancel->Cancel());
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Escape);
    QCOMPARE(okSpy.count(), 4);
    QCOMPARE(cancelSpy.count(), 1);

    // Keys in another window leave these buttons alone.
    Window second;
    auto* elsewhere = new QLineEdit(&second.w);
    QVERIFY(second.open());
    elsewhere->setFocus();
    QTest::keyClick(elsewhere, Qt::Key_Return);
    QTest::keyClick(elsewhere, Qt::Key_Escape);
    QCOMPARE(okSpy.count(), 4);
}

QTEST_MAIN(TestStockControls)
#include "tst_stockcontrols.moc"
