// The About window: its version line, and when it unloads itself.
#include "about/frmabout.h"
#include "forms/application.h"
#include "forms/label.h"
#include "forms/qt/convert.h"
#include "forms/qt/formpeer.h"
#include "forms/stockcontrols.h"

#include <QTest>

using about::frmAbout;
using forms::qt::widgetOf;
using forms::qt::windowOf;

class tst_frmAbout : public QObject {
    Q_OBJECT

    static frmAbout* openActive() {
        frmAbout* w = frmAbout::showAbout();
        windowOf(*w)->activateWindow();
        return QTest::qWaitForWindowActive(windowOf(*w)) ? w : nullptr;
    }

private slots:
    void cleanup() {
        if (frmAbout* w = frmAbout::instance()) {
            const forms::Alive alive(w->lifetime());
            w->Unload();
            QTRY_VERIFY(!alive);
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
        QCOMPARE(widgetOf(*w)->size(), QSize(323, 221));
        const forms::Control* control = w->child(name.toStdU16String());
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(forms::qt::toQRect(control->pixelRect()), pixels);
        if (auto* label = dynamic_cast<const forms::Label*>(control))
            QCOMPARE(QString::fromStdU16String(label->Caption()), caption);
        else if (auto* button = dynamic_cast<const forms::CommandButton*>(control))
            QCOMPARE(QString::fromStdU16String(button->Caption()), caption);
    }

    // The etched separator (white over grey) and the address box, which reads like a label.
    void separatorAndAddressBox() {
        frmAbout* w = openActive();
        QVERIFY(w);
        const QImage shot = widgetOf(*w)->grab().toImage();
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
        frmAbout* w = openActive();
        QVERIFY(w);
        const forms::Alive alive(w->lifetime());
        QCOMPARE(frmAbout::showAbout(), w); // one at a time
        QWidget other;
        if (how == "click") {
            QTest::mouseClick(widgetOf(*w->cmdOK), Qt::LeftButton);
        } else if (how == "enter" || how == "escape") {
            QTest::keyClick(widgetOf(*w->cmdOK), how == "enter" ? Qt::Key_Return : Qt::Key_Escape);
        } else if (how == "enter elsewhere") {
            w->Text1->SetFocus(); // the default button takes Enter wherever the focus is
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else {
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        }
        QTRY_VERIFY(!alive);
        QVERIFY(!frmAbout::instance());
    }

    // Switching to another program leaves the application without an active window: the About
    // window waits for the user to come back.
    void staysWhenTheApplicationLosesActivation() {
        frmAbout* w = openActive();
        QVERIFY(w);
        const forms::Alive alive(w->lifetime());
        QApplication::setActiveWindow(nullptr);
        QTRY_VERIFY(!windowOf(*w)->isActiveWindow());
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QVERIFY(alive);
    }

    // The version line is built when the window loads; the next opening loads a fresh window.
    void reopensFresh() {
        frmAbout* first = openActive();
        QVERIFY(first);
        const forms::Alive alive(first->lifetime());
        QCOMPARE(first->lblVersion->Caption(), u"Version 1.3.0");
        first->lblVersion->setCaption(u"changed");
        QTest::keyClick(widgetOf(*first->cmdOK), Qt::Key_Escape);
        QTRY_VERIFY(!alive);
        frmAbout* second = openActive();
        QVERIFY(second);
        QCOMPARE(second->lblVersion->Caption(), u"Version 1.3.0");
        QCOMPARE(QApplication::focusWidget(), widgetOf(*second->cmdOK));
    }
};

int main(int argc, char** argv) {
    forms::Application application(argc, argv);
    tst_frmAbout test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_frmabout.moc"
