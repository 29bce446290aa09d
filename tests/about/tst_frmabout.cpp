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

    void unloads_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK clicked") << "click";
        QTest::newRow("Enter") << "enter";
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
