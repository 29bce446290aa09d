#include "forms/error.h"
#include "forms/msgbox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>

using namespace forms;

namespace {

const QString OK = QStringLiteral("OK");
const QString Cancel = QStringLiteral("Отмена");
const QString Abort = QStringLiteral("Прервать");
const QString Retry = QStringLiteral("Повтор");
const QString Ignore = QStringLiteral("Пропустить");
const QString Yes = QStringLiteral("Да");
const QString No = QStringLiteral("Нет");

// What a script saw in the real box while it was open.
struct Seen {
    bool found = false;
    QStringList captionsLeftToRight;
    QString defaultCaption;
    QString focusCaption;
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::WindowModality modality = Qt::NonModal;
    bool openAfterEsc = false;
    bool openAfterClose = false;
};

QMessageBox* activeBox() {
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
}

QList<QPushButton*> buttonsLeftToRight(QMessageBox* box) {
    QList<QPushButton*> buttons = box->findChildren<QPushButton*>();
    std::sort(buttons.begin(), buttons.end(), [box](QPushButton* a, QPushButton* b) {
        return a->mapTo(box, QPoint()).x() < b->mapTo(box, QPoint()).x();
    });
    return buttons;
}

} // namespace

class TestMsgBox : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { setMsgBoxPresenter({}); }

    void describesButtonSets_data();
    void describesButtonSets();
    void rejectsInvalidStyles_data();
    void rejectsInvalidStyles();
    void promptLineBreaks_data();
    void promptLineBreaks();
    void presenterSeesRequestWithoutBlocking();
    void realBoxAnswers_data();
    void realBoxAnswers();
};

void TestMsgBox::describesButtonSets_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QList<int>>("results");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("defaultIndex");
    QTest::addColumn<int>("escapeIndex");

    QTest::newRow("OK") << 0 << QStringList{OK} << QList<int>{vbOK} << int(QMessageBox::NoIcon) << 0
                        << 0;
    QTest::newRow("OK/Cancel, stop") << 17 << QStringList{OK, Cancel} << QList<int>{vbOK, vbCancel}
                                     << int(QMessageBox::Critical) << 0 << 1;
    QTest::newRow("Abort/Retry/Ignore, stop")
        << 18 << QStringList{Abort, Retry, Ignore} << QList<int>{vbAbort, vbRetry, vbIgnore}
        << int(QMessageBox::Critical) << 0 << -1;
    QTest::newRow("Yes/No/Cancel, question, 3rd default")
        << 3 + 32 + 512 << QStringList{Yes, No, Cancel} << QList<int>{vbYes, vbNo, vbCancel}
        << int(QMessageBox::Question) << 2 << 2;
    QTest::newRow("Yes/No, question") << 36 << QStringList{Yes, No} << QList<int>{vbYes, vbNo}
                                      << int(QMessageBox::Question) << 0 << -1;
    QTest::newRow("Retry/Cancel, exclamation, 2nd default")
        << 5 + 48 + 256 << QStringList{Retry, Cancel} << QList<int>{vbRetry, vbCancel}
        << int(QMessageBox::Warning) << 1 << 1;
    QTest::newRow("OK, information")
        << 64 << QStringList{OK} << QList<int>{vbOK} << int(QMessageBox::Information) << 0 << 0;
    // A default button the set does not have falls back to the first.
    QTest::newRow("OK, 2nd default")
        << 256 << QStringList{OK} << QList<int>{vbOK} << int(QMessageBox::NoIcon) << 0 << 0;
    QTest::newRow("Yes/No, 3rd default")
        << 4 + 512 << QStringList{Yes, No} << QList<int>{vbYes, vbNo} << int(QMessageBox::NoIcon)
        << 0 << -1;
    QTest::newRow("Abort/Retry/Ignore, 4th default")
        << 2 + 768 << QStringList{Abort, Retry, Ignore} << QList<int>{vbAbort, vbRetry, vbIgnore}
        << int(QMessageBox::NoIcon) << 0 << -1;
}

void TestMsgBox::describesButtonSets() {
    QFETCH(int, style);
    const MsgBoxRequest r = describeMsgBox(QStringLiteral("p"), style, QStringLiteral("t"));
    QCOMPARE(r.style, style);
    QCOMPARE(r.prompt, QStringLiteral("p"));
    QCOMPARE(r.title, QStringLiteral("t"));
    QTEST(r.buttons, "buttons");
    QTEST(r.results, "results");
    QTEST(int(r.icon), "icon");
    QTEST(r.defaultIndex, "defaultIndex");
    QTEST(r.escapeIndex, "escapeIndex");
}

void TestMsgBox::rejectsInvalidStyles_data() {
    QTest::addColumn<int>("style");
    QTest::newRow("negative (no list entry chosen)") << -1;
    QTest::newRow("button set 6") << 6;
    QTest::newRow("button set 8") << 8;
    QTest::newRow("icon 0x50") << 0x50;
    QTest::newRow("user icon 0x80") << 0x80;
    QTest::newRow("default 0x400") << 0x400;
    QTest::newRow("system modal") << 4096;
}

void TestMsgBox::rejectsInvalidStyles() {
    QFETCH(int, style);
    int shown = 0;
    setMsgBoxPresenter([&](const MsgBoxRequest&) { return ++shown, vbOK; });
    QVERIFY_THROWS_EXCEPTION(RuntimeError, MsgBox(QStringLiteral("p"), style, QString()));
    QCOMPARE(shown, 0);
}

void TestMsgBox::promptLineBreaks_data() {
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("shown");
    QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << QStringLiteral("a\nb");
    QTest::newRow("CR") << QStringLiteral("a\rb") << QStringLiteral("a\nb");
    QTest::newRow("LF") << QStringLiteral("a\nb") << QStringLiteral("a\nb");
    QTest::newRow("empty line between") << QStringLiteral("a\r\n\r\nb") << QStringLiteral("a\n\nb");
    QTest::newRow("LF CR is two breaks") << QStringLiteral("a\n\rb") << QStringLiteral("a\n\nb");
    QTest::newRow("markup stays text")
        << QStringLiteral("<b>x</b>&amp;") << QStringLiteral("<b>x</b>&amp;");
}

void TestMsgBox::promptLineBreaks() {
    QFETCH(QString, prompt);
    QTEST(describeMsgBox(prompt, 0, QString()).shownText(), "shown");
}

void TestMsgBox::presenterSeesRequestWithoutBlocking() {
    QList<MsgBoxRequest> seen;
    setMsgBoxPresenter([&](const MsgBoxRequest& r) {
        seen << r;
        return vbNo;
    });
    QCOMPARE(MsgBox(QStringLiteral("Текст\r\nстрока"), 36, QStringLiteral("Заголовок")), vbNo);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen[0].prompt, QStringLiteral("Текст\r\nстрока"));
    QCOMPARE(seen[0].title, QStringLiteral("Заголовок"));
    QCOMPARE(seen[0].buttons, (QStringList{Yes, No}));
    QVERIFY(!activeBox());
}

void TestMsgBox::realBoxAnswers_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QString>("defaultCaption");
    QTest::addColumn<bool>("escCloses");
    QTest::addColumn<QString>("press"); // "esc", "enter", or a caption to click
    QTest::addColumn<int>("answer");

    QTest::newRow("OK: Esc answers OK") << 0 << QStringList{OK} << OK << true << "esc" << int(vbOK);
    QTest::newRow("OK/Cancel: Esc answers Cancel")
        << 1 << QStringList{OK, Cancel} << OK << true << "esc" << int(vbCancel);
    QTest::newRow("Yes/No/Cancel: Esc answers Cancel")
        << 35 << QStringList{Yes, No, Cancel} << Yes << true << "esc" << int(vbCancel);
    QTest::newRow("Retry/Cancel: Esc answers Cancel")
        << 5 << QStringList{Retry, Cancel} << Retry << true << "esc" << int(vbCancel);
    QTest::newRow("Yes/No: Esc does nothing, then No")
        << 36 << QStringList{Yes, No} << Yes << false << No << int(vbNo);
    QTest::newRow("Abort/Retry/Ignore: Esc does nothing, then Ignore")
        << 18 << QStringList{Abort, Retry, Ignore} << Abort << false << Ignore << int(vbIgnore);
    QTest::newRow("Yes/No, 2nd default: Enter answers No")
        << 4 + 256 << QStringList{Yes, No} << No << false << "enter" << int(vbNo);
    QTest::newRow("Abort/Retry/Ignore, 2nd default: click Retry")
        << 2 + 256 << QStringList{Abort, Retry, Ignore} << Retry << false << Retry << int(vbRetry);
    QTest::newRow("OK/Cancel: click OK")
        << 65 << QStringList{OK, Cancel} << OK << true << OK << int(vbOK);
}

void TestMsgBox::realBoxAnswers() {
    QFETCH(int, style);
    QFETCH(bool, escCloses);
    QFETCH(QString, press);

    Seen seen;
    QTimer::singleShot(0, [&] {
        QMessageBox* box = activeBox();
        if (!box)
            return;
        seen.found = QTest::qWaitForWindowActive(box);
        for (QPushButton* b : buttonsLeftToRight(box))
            seen.captionsLeftToRight << b->text();
        seen.defaultCaption = box->defaultButton() ? box->defaultButton()->text() : QString();
        seen.focusCaption = QApplication::focusWidget()
                                ? QApplication::focusWidget()->property("text").toString()
                                : QString();
        seen.text = box->text();
        seen.title = box->windowTitle();
        seen.icon = box->icon();
        seen.modality = box->windowModality();

        auto focused = [box] {
            QWidget* w = QApplication::focusWidget();
            return w && box->isAncestorOf(w) ? w : static_cast<QWidget*>(box);
        };
        if (!escCloses) {
            // Neither Esc nor the close box may end a box without a Cancel or OK-only button.
            QTest::keyClick(focused(), Qt::Key_Escape);
            QCoreApplication::processEvents();
            seen.openAfterEsc = box->isVisible();
            box->close();
            QCoreApplication::processEvents();
            seen.openAfterClose = box->isVisible();
        }
        if (press == QLatin1String("esc")) {
            QTest::keyClick(focused(), Qt::Key_Escape);
        } else if (press == QLatin1String("enter")) {
            QTest::keyClick(focused(), Qt::Key_Return);
        } else {
            for (QPushButton* b : buttonsLeftToRight(box)) {
                if (b->text() == press)
                    QTest::mouseClick(b, Qt::LeftButton);
            }
        }
        // Never leave the test hanging in the box's loop.
        if (box->isVisible())
            box->done(0);
    });

    const int answer = MsgBox(QStringLiteral("Первая\r\nвторая"), style, QStringLiteral("Проба"));
    QVERIFY(seen.found);
    QTEST(seen.captionsLeftToRight, "captions");
    QTEST(seen.defaultCaption, "defaultCaption");
    QTEST(seen.focusCaption, "defaultCaption");
    QCOMPARE(seen.text, QStringLiteral("Первая\nвторая"));
    QCOMPARE(seen.title, QStringLiteral("Проба"));
    QCOMPARE(int(seen.icon), int(describeMsgBox(QString(), style, QString()).icon));
    QCOMPARE(seen.modality, Qt::ApplicationModal);
    if (!escCloses) {
        QVERIFY(seen.openAfterEsc);
        QVERIFY(seen.openAfterClose);
    }
    QTEST(answer, "answer");
    QTRY_VERIFY(!activeBox());
}

QTEST_MAIN(TestMsgBox)
#include "tst_msgbox.moc"
