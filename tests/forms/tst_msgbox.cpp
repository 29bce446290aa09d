#include "forms/error.h"
#include "forms/msgbox.h"
#include "forms/qt/convert.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace forms;

namespace {

const QString OK = "OK", Cancel = "Отмена", Abort = "Прервать", Retry = "Повтор",
              Ignore = "Пропустить", Yes = "Да", No = "Нет";

} // namespace

class TestMsgBox : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { setMsgBoxPresenter({}); }

    void buttonSetsReachThePresenter_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QList<int>>("results");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("defaultIndex");
        QTest::addColumn<int>("escapeIndex");
        using L = QList<int>;
        // clang-format off
        QTest::newRow("OK, information") << 64 << QStringList{OK} << L{vbOK} << int(MsgBoxIcon::Information) << 0 << 0;
        QTest::newRow("OK/Cancel, stop") << 17 << QStringList{OK, Cancel} << L{vbOK, vbCancel} << int(MsgBoxIcon::Critical) << 0 << 1;
        QTest::newRow("Abort/Retry/Ignore") << 2 << QStringList{Abort, Retry, Ignore} << L{vbAbort, vbRetry, vbIgnore} << int(MsgBoxIcon::None) << 0 << -1;
        QTest::newRow("Yes/No/Cancel, question, 3rd default") << 3 + 32 + 512 << QStringList{Yes, No, Cancel} << L{vbYes, vbNo, vbCancel} << int(MsgBoxIcon::Question) << 2 << 2;
        QTest::newRow("Yes/No, 3rd default falls back") << 4 + 512 << QStringList{Yes, No} << L{vbYes, vbNo} << int(MsgBoxIcon::None) << 0 << -1;
        QTest::newRow("Retry/Cancel, exclamation, 2nd default") << 5 + 48 + 256 << QStringList{Retry, Cancel} << L{vbRetry, vbCancel} << int(MsgBoxIcon::Exclamation) << 1 << 1;
        QTest::newRow("Yes/No, help button, 3rd default is help") << 4 + 16384 + 512 << QStringList{Yes, No, "Справка"} << L{vbYes, vbNo, 0} << int(MsgBoxIcon::None) << 2 << -1;
        QTest::newRow("OK, system modal, right, rtl, foreground") << 4096 + 524288 + 1048576 + 65536 << QStringList{OK} << L{vbOK} << int(MsgBoxIcon::None) << 0 << 0;
        // clang-format on
    }
    void buttonSetsReachThePresenter() {
        QFETCH(int, style);
        QList<MsgBoxRequest> seen;
        setMsgBoxPresenter([&](const MsgBoxRequest& r) { return seen << r, vbNo; });
        QCOMPARE(MsgBox(u"Текст\rстрока", style, u"Заголовок"), vbNo);
        QCOMPARE(seen.size(), 1);
        const MsgBoxRequest& r = seen[0];
        QCOMPARE(r.title, u"Заголовок");
        QCOMPARE(r.shownText(), u"Текст\nстрока");
        QTEST(qt::toQStringList(r.buttons), "buttons");
        QTEST(QList(r.results.begin(), r.results.end()), "results");
        QTEST(int(r.icon), "icon");
        QTEST(r.defaultIndex, "defaultIndex");
        QTEST(r.escapeIndex, "escapeIndex");
        QCOMPARE(r.helpIndex, (style & vbMsgBoxHelpButton) ? int(r.buttons.size()) - 1 : -1);
        QCOMPARE((QList<bool>{r.systemModal, r.setForeground, r.rightAligned, r.rtlReading}),
                 (QList<bool>{bool(style & 4096), bool(style & 65536), bool(style & 524288),
                              bool(style & 1048576)}));
    }

    void invalidStylesShowNothing() {
        int shown = 0;
        setMsgBoxPresenter([&](const MsgBoxRequest&) { return ++shown, vbOK; });
        for (int bad : {-1, 6, 0x80, 0x400, 8192, 32768, 2097152})
            QVERIFY_THROWS_EXCEPTION(RuntimeError, MsgBox({}, bad, {}));
        QCOMPARE(shown, 0);
    }

    void realBoxAnswers_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<bool>("escCloses");
        QTest::addColumn<QString>("click"); // clicked after Esc if Esc leaves the box open
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("text");  // if too long, cut: box and buttons stay on the screen
        QTest::addColumn<QString>("title"); // an empty one stays blank, not the program's name
        // clang-format off
        QTest::newRow("OK/Cancel: Esc answers Cancel") << 1 << QStringList{OK, Cancel} << true << OK << int(vbCancel) << "Первая" << "Проба";
        QTest::newRow("OK/Cancel, one line of words") << 1 << QStringList{OK, Cancel} << true << OK << int(vbCancel) << QString("слово ").repeated(20000) << "Проба";
        QTest::newRow("Yes/No: Esc does nothing") << 36 << QStringList{Yes, No} << false << No << int(vbNo) << QString("Строка\r\n").repeated(200) << QString();
        QTest::newRow("Yes/No/Help: Help leaves the box open") << 4 + 16384 << QStringList{Yes, No, "Справка"} << false << "Справка" << int(vbYes) << "Удалить?" << "Проба";
        QTest::newRow("Abort/Retry/Ignore: Esc does nothing") << 2 + 256 << QStringList{Abort, Retry, Ignore} << false << Ignore << int(vbIgnore) << QString(100000, u'ж') << "Проба";
        // clang-format on
    }

    void realBoxAnswers() {
        QFETCH(int, style);
        QFETCH(QString, click);
        QFETCH(QString, text);
        QFETCH(QString, title);
        QStringList captions;
        QString defaultCaption, shown, shownTitle;
        bool closedByEsc = false, onScreen = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box && QTest::qWaitForWindowActive(box));
            QList<QPushButton*> buttons = box->findChildren<QPushButton*>();
            std::sort(buttons.begin(), buttons.end(), [](QPushButton* a, QPushButton* b) {
                return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
            });
            onScreen = box->screen()->availableGeometry().contains(box->frameGeometry());
            for (QPushButton* b : buttons) {
                captions << b->text();
                onScreen &= box->rect().contains(QRect(b->mapTo(box, QPoint()), b->size()));
            }
            shown = box->findChild<QLabel*>("qt_msgbox_label")->text();
            shownTitle = box->windowHandle()->title(); // the one the window manager gets
            defaultCaption = box->defaultButton()->text();
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus && box->isAncestorOf(focus) ? focus : box, Qt::Key_Escape);
            box->close(); // the close box is Esc too
            closedByEsc = !box->isVisible();
            for (QPushButton* b : buttons)
                if (box->isVisible() && b->text() == click)
                    QTest::mouseClick(b, Qt::LeftButton);
            if (box->isVisible())
                box->done(0); // never leave the test hanging in the box's loop
        });
        const int answer = MsgBox(text.toStdU16String(), style, title.toStdU16String());
        QTEST(captions, "captions");
        QCOMPARE(defaultCaption, captions.value(describeMsgBox({}, style, {}).defaultIndex));
        QTEST(closedByEsc, "escCloses");
        QTEST(answer, "answer");
        QVERIFY(onScreen);
        QCOMPARE(shown.endsWith(u'…'), text.size() > 1000);
        QCOMPARE(shownTitle.isEmpty() ? qAppName() : shownTitle.trimmed(), title); // as on X11
        QTRY_VERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(TestMsgBox)
#include "tst_msgbox.moc"
