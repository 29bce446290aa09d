// The About window: its layout and texts, the version line, and when it unloads itself.
#include "about/frmabout.h"
#include "forms/image.h"
#include "forms/label.h"
#include "forms/stdpicture.h"
#include "forms/stockcontrols.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>

using about::frmAbout;

class tst_frmAbout : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void window();
    void layout_data();
    void layout();
    void addressReadsLikeALabel();
    void singleInstance();
    void unloads_data();
    void unloads();
    void staysWhenTheApplicationLosesActivation();
    void reopensFresh();

private:
    frmAbout* openActive();
};

frmAbout* tst_frmAbout::openActive() {
    frmAbout* w = frmAbout::showAbout();
    if (w) {
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w))
            return nullptr;
    }
    return w;
}

void tst_frmAbout::init() {
    QVERIFY(!frmAbout::instance());
}

void tst_frmAbout::cleanup() {
    if (QPointer<frmAbout> w = frmAbout::instance()) {
        w->Unload();
        QTRY_VERIFY(w.isNull());
    }
}

void tst_frmAbout::window() {
    frmAbout* w = openActive();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("О программе..."));
    QCOMPARE(w->client()->size(), QSize(323, 221));
    // A fixed dialog frame that the taskbar does not list, and no minimize or maximize button.
    QCOMPARE(w->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    QVERIFY(!(w->windowFlags() & Qt::WindowMinMaxButtonsHint));
    QVERIFY(!w->windowIcon().isNull());
    // OK is first in the tab order and has the focus; nothing else takes it with Tab.
    QCOMPARE(QApplication::focusWidget(), w->cmdOK);
    QTest::keyClick(w->cmdOK, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w->cmdOK);
}

void tst_frmAbout::layout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels"); // the twips of the design at 15 twips per pixel
    QTest::addColumn<QString>("text");

    QTest::newRow("Image1") << "Image1" << QRect(15, 18, 41, 35) << QString();
    QTest::newRow("lblTitle") << "lblTitle" << QRect(70, 24, 217, 17) << "Alertwright";
    // Built from the version numbers when the window loads; the minor number has no leading zero.
    QTest::newRow("lblVersion") << "lblVersion" << QRect(70, 48, 215, 15) << "Version 1.3.0";
    QTest::newRow("lblDescription")
        << "lblDescription" << QRect(69, 72, 220, 39) << "Автор: команда Alertwright";
    QTest::newRow("Text1") << "Text1" << QRect(9, 189, 154, 16) << "alertwright@example.org";
    QTest::newRow("cmdOK") << "cmdOK" << QRect(225, 183, 84, 23) << "OK";
}

void tst_frmAbout::layout() {
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    QFETCH(QString, text);
    frmAbout* w = openActive();
    QVERIFY(w);
    auto* control = w->client()->findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->geometry(), pixels);
    if (auto* label = qobject_cast<forms::Label*>(control))
        QCOMPARE(label->Caption(), text);
    else if (auto* box = qobject_cast<forms::TextBox*>(control))
        QCOMPARE(box->Text(), text);
    else if (auto* button = qobject_cast<forms::CommandButton*>(control))
        QCOMPARE(button->text(), text);
    else if (auto* image = qobject_cast<forms::Image*>(control))
        QVERIFY(forms::hasImage(image->Picture()));
}

void tst_frmAbout::addressReadsLikeALabel() {
    frmAbout* w = openActive();
    QVERIFY(w);
    QCOMPARE(w->Text1->BackColor(), forms::OleColor{0x8000000F});
    // It can be selected, but not changed.
    QTest::mouseClick(w->Text1, Qt::LeftButton);
    QTest::keyClicks(w->Text1, QStringLiteral("x"));
    QCOMPARE(w->Text1->Text(), QStringLiteral("alertwright@example.org"));
    QVERIFY(w->Text1->Locked());
    QVERIFY(!w->Text1->TabStop());
}

void tst_frmAbout::singleInstance() {
    frmAbout* first = openActive();
    QVERIFY(first);
    QCOMPARE(frmAbout::showAbout(), first);
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(),
                           [](QWidget* w) { return qobject_cast<frmAbout*>(w) != nullptr; }),
             1);
}

void tst_frmAbout::unloads_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("OK clicked") << "click";
    QTest::newRow("Enter") << "enter";
    QTest::newRow("Esc") << "escape";
    QTest::newRow("another window of the program becomes active") << "other";
}

void tst_frmAbout::unloads() {
    QFETCH(QString, how);
    QPointer<frmAbout> w = openActive();
    QVERIFY(w);
    QWidget other;
    if (how == "click") {
        QTest::mouseClick(w->cmdOK, Qt::LeftButton);
    } else if (how == "enter") {
        QTest::keyClick(w->cmdOK, Qt::Key_Return);
    } else if (how == "escape") {
        QTest::keyClick(w->cmdOK, Qt::Key_Escape);
    } else {
        other.setWindowTitle(QStringLiteral("the generator window"));
        other.resize(200, 100);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
    }
    QTRY_VERIFY(w.isNull());
    QVERIFY(!frmAbout::instance());
}

// Switching to another program leaves the application without an active window: the About
// window waits for the user to come back.
void tst_frmAbout::staysWhenTheApplicationLosesActivation() {
    QPointer<frmAbout> w = openActive();
    QVERIFY(w);
    QApplication::setActiveWindow(nullptr);
    QTRY_VERIFY(!w->isActiveWindow());
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!w.isNull());
    QCOMPARE(frmAbout::instance(), w.data());
}

void tst_frmAbout::reopensFresh() {
    QPointer<frmAbout> first = openActive();
    QVERIFY(first);
    first->lblVersion->setCaption(QStringLiteral("changed"));
    QTest::keyClick(first->cmdOK, Qt::Key_Escape);
    QTRY_VERIFY(first.isNull());

    frmAbout* second = openActive();
    QVERIFY(second);
    QCOMPARE(second->lblVersion->Caption(), QStringLiteral("Version 1.3.0"));
    QCOMPARE(QApplication::focusWidget(), second->cmdOK);
}

QTEST_MAIN(tst_frmAbout)
#include "tst_frmabout.moc"
