// The About window: its version line, and when it unloads itself.
#include "about/frmabout.h"
#include "forms/label.h"
#include "forms/stockcontrols.h"

#include <QPointer>
#include <QTest>

using about::frmAbout;

class tst_frmAbout : public QObject {
    Q_OBJECT

    static frmAbout* openActive() {
        frmAbout* w = frmAbout::showAbout();
        w->activateWindow();
        return QTest::qWaitForWindowActive(w) ? w : nullptr;
    }

private slots:
    void cleanup() {
        if (QPointer<frmAbout> w = frmAbout::instance()) {
            w->Unload();
            QTRY_VERIFY(w.isNull());
        }
    }

    // Every control where the design puts it, with its text.
    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels");
        QTest::addColumn<QString>("caption");
        // clang-format off
        QTest::newRow("Image1") << "Image1" << QRect(15, 18, 41, 35) << "";
        QTest::newRow("lblTitle") << "lblTitle" << QRect(70, 24, 217, 17) << "Alertwright";
        QTest::newRow("lblVersion") << "lblVersion" << QRect(70, 48, 215, 15) << "Version 1.3.0";
        QTest::newRow("lblDescription") << "lblDescription" << QRect(69, 72, 220, 39) << "Автор: команда Alertwright";
        QTest::newRow("Text1") << "Text1" << QRect(9, 189, 154, 16) << "";
        QTest::newRow("cmdOK") << "cmdOK" << QRect(225, 183, 84, 23) << "OK";
        // clang-format on
    }
    void layout() {
        QFETCH(QString, name);
        QFETCH(QRect, pixels);
        QFETCH(QString, caption);
        frmAbout* w = openActive();
        QVERIFY(w);
        QCOMPARE(w->client()->size(), QSize(323, 221));
        auto* control = w->client()->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(control->geometry(), pixels);
        if (auto* label = qobject_cast<forms::Label*>(control))
            QCOMPARE(label->Caption(), caption);
        else if (auto* button = qobject_cast<forms::CommandButton*>(control))
            QCOMPARE(button->text(), caption);
    }

    // The etched separator (white over grey) and the address box, which reads like a label.
    void separatorAndAddressBox() {
        frmAbout* w = openActive();
        QVERIFY(w);
        const QImage shot = w->client()->grab().toImage();
        const QColor background = shot.pixelColor(2, 2);
        QCOMPARE(shot.pixelColor(150, 165), QColor(Qt::white));
        QCOMPARE(shot.pixelColor(150, 166), QColor(128, 128, 128));
        QCOMPARE(shot.pixelColor(150, 167), background);
        QCOMPARE(shot.pixelColor(150, 201), background); // inside the address box
        QVERIFY(w->Text1->Locked() && !w->Text1->TabStop());
    }

    void unloads_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK clicked") << "click";
        QTest::newRow("Enter") << "enter";
        QTest::newRow("Enter in the address box") << "enter elsewhere";
        QTest::newRow("Esc") << "escape";
        QTest::newRow("another window of the program becomes active") << "other";
    }

    void unloads() {
        QFETCH(QString, how);
        QPointer<frmAbout> w = openActive();
        QVERIFY(w);
        QCOMPARE(frmAbout::showAbout(), w.data()); // one at a time
        QWidget other;
        if (how == "click") {
            QTest::mouseClick(w->cmdOK, Qt::LeftButton);
        } else if (how == "enter" || how == "escape") {
            QTest::keyClick(w->cmdOK, how == "enter" ? Qt::Key_Return : Qt::Key_Escape);
        } else if (how == "enter elsewhere") {
            w->Text1->setFocus(); // the default button takes Enter wherever the focus is
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else {
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        }
        QTRY_VERIFY(w.isNull());
        QVERIFY(!frmAbout::instance());
    }

    // Switching to another program leaves the application without an active window: the About
    // window waits for the user to come back.
    void staysWhenTheApplicationLosesActivation() {
        QPointer<frmAbout> w = openActive();
        QVERIFY(w);
        QApplication::setActiveWindow(nullptr);
        QTRY_VERIFY(!w->isActiveWindow());
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w.isNull());
    }

    // The version line is built when the window loads; the next opening loads a fresh window.
    void reopensFresh() {
        QPointer<frmAbout> first = openActive();
        QVERIFY(first);
        QCOMPARE(first->lblVersion->Caption(), QStringLiteral("Version 1.3.0"));
        first->lblVersion->setCaption(QStringLiteral("changed"));
        QTest::keyClick(first->cmdOK, Qt::Key_Escape);
        QTRY_VERIFY(first.isNull());
        frmAbout* second = openActive();
        QVERIFY(second);
        QCOMPARE(second->lblVersion->Caption(), QStringLiteral("Version 1.3.0"));
        QCOMPARE(QApplication::focusWidget(), second->cmdOK);
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmabout.moc"
