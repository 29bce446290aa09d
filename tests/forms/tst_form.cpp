#include "forms/error.h"
#include "forms/form.h"
#include "forms/units.h"

#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace forms;

namespace {

class TestForm : public Form {
public:
    int loads = 0;
    int deactivates = 0;
    int unloads = 0;
    std::function<void()> onLoad;
    std::function<void()> onDeactivate;
    std::function<void()> onUnload;

    using Form::Form;

protected:
    void Form_Load() override {
        ++loads;
        if (onLoad)
            onLoad();
    }
    void Form_Deactivate() override {
        ++deactivates;
        if (onDeactivate)
            onDeactivate();
    }
    void Form_Unload() override {
        ++unloads;
        if (onUnload)
            onUnload();
    }
};

// Runs the posted activation checks.
void settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

bool activate(QWidget* w) {
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}

} // namespace

class TestFormClass : public QObject {
    Q_OBJECT

private slots:
    void loadRunsOnceAndShowLoads();
    void clientAreaIsFixedInTwips_data();
    void clientAreaIsFixedInTwips();
    void borderStyles_data();
    void borderStyles();
    void showCentresFrameOnScreen();
    void minimizeSetsWindowState();
    void unloadClosesAndDeletes();
    void deactivateOnlyForAnotherWindowOfOurs();
    void lastUnloadEndsTheApplication();
};

void TestFormClass::loadRunsOnceAndShowLoads() {
    auto* f = new TestForm;
    QPointer<Form> guard = f;
    f->Load();
    f->Load();
    QCOMPARE(f->loads, 1);
    QVERIFY(!f->isVisible());

    // Show loads a form not loaded yet; a Show inside Form_Load does not load it again.
    auto* g = new TestForm;
    g->onLoad = [g] { g->Show(); };
    g->Show();
    QCOMPARE(g->loads, 1);
    QVERIFY(g->isVisible());
    QVERIFY(!g->parentWidget());
    QCOMPARE(g->windowModality(), Qt::NonModal);
    f->Unload();
    g->Unload();
    QTRY_VERIFY(!guard);
}

void TestFormClass::clientAreaIsFixedInTwips_data() {
    QTest::addColumn<int>("twipsW");
    QTest::addColumn<int>("twipsH");
    QTest::addColumn<bool>("menu");
    QTest::newRow("generator window, menu bar") << 5820 << 4995 << true;
    QTest::newRow("About window") << 4845 << 3315 << false;
}

void TestFormClass::clientAreaIsFixedInTwips() {
    QFETCH(int, twipsW);
    QFETCH(int, twipsH);
    QFETCH(bool, menu);
    const QSize px(qRound(twipsW / twipsPerPixelX()), qRound(twipsH / twipsPerPixelY()));
    if (qFuzzyCompare(twipsPerPixelX(), 15.0f) && twipsW == 5820)
        QCOMPARE(px, QSize(388, 333));

    TestForm f;
    f.setAttribute(Qt::WA_DeleteOnClose, false);
    f.setClientSizeTwips(twipsW, twipsH);
    if (menu) {
        QMenu* m = f.menuBar()->addMenu(QStringLiteral("Сообщение"));
        m->addAction(QStringLiteral("Выход"));
    }
    f.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.client()->size(), px);
    QCOMPARE(f.centralWidget(), f.client());
    const int top = menu ? f.menuBar()->geometry().bottom() + 1 : 0;
    QCOMPARE(f.client()->geometry().topLeft(), QPoint(0, top));
    QCOMPARE(f.size(), QSize(px.width(), px.height() + top));
    QCOMPARE(f.minimumSize(), f.maximumSize());

    // A bad size is refused and changes nothing.
    QVERIFY_THROWS_EXCEPTION(RuntimeError, f.setClientSizeTwips(-15, 300));
    QCOMPARE(f.client()->size(), px);
}

void TestFormClass::borderStyles_data() {
    QTest::addColumn<Form::BorderStyle>("style");
    QTest::addColumn<Qt::WindowType>("type");
    QTest::newRow("fixed single") << Form::BorderStyle::FixedSingle << Qt::Window;
    QTest::newRow("fixed dialog, not in taskbar") << Form::BorderStyle::FixedDialog << Qt::Tool;
}

void TestFormClass::borderStyles() {
    QFETCH(Form::BorderStyle, style);
    TestForm f;
    f.setAttribute(Qt::WA_DeleteOnClose, false);
    f.setBorderStyle(style);
    f.setClientSizeTwips(1500, 1500);
    QCOMPARE(f.borderStyle(), style);
    QTEST(f.windowType(), "type");
    const Qt::WindowFlags flags = f.windowFlags();
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    f.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.minimumSize(), f.maximumSize());
}

void TestFormClass::showCentresFrameOnScreen() {
    TestForm f;
    f.setAttribute(Qt::WA_DeleteOnClose, false);
    f.setClientSizeTwips(5820, 4995);
    f.menuBar()->addMenu(QStringLiteral("Помощь"));
    f.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QRect screen = f.screen()->geometry();
    auto offCentre = [&] {
        const QRect frame = f.frameGeometry();
        const int dx = (frame.left() - screen.left()) - (screen.right() - frame.right());
        const int dy = (frame.top() - screen.top()) - (screen.bottom() - frame.bottom());
        return qMax(qAbs(dx), qAbs(dy));
    };
    // Centring the client area before the frame is known leaves it off by the frame.
    QVERIFY(f.frameGeometry() != f.geometry());
    QTRY_VERIFY(offCentre() <= 1);

    // A later Show leaves a moved window where it is.
    f.hide();
    f.move(screen.topLeft() + QPoint(5, 7));
    f.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    settle();
    QCOMPARE(f.frameGeometry().topLeft(), screen.topLeft() + QPoint(5, 7));
}

void TestFormClass::minimizeSetsWindowState() {
    TestForm f;
    f.setAttribute(Qt::WA_DeleteOnClose, false);
    f.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Minimize();
    QVERIFY(f.windowState() & Qt::WindowMinimized);
    QTRY_VERIFY(f.isMinimized());
}

void TestFormClass::unloadClosesAndDeletes() {
    auto* f = new TestForm;
    QPointer<TestForm> guard = f;
    f->Show();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    // Unloading from the form's own handler, twice over, is safe; Form_Unload runs once.
    QTimer::singleShot(0, f, [f] {
        f->Unload();
        QCOMPARE(f->unloads, 1);
        f->Unload();
        QVERIFY(!f->isVisible());
    });
    QTRY_VERIFY(!guard);

    // The close box unloads too.
    auto* g = new TestForm;
    QPointer<TestForm> gGuard = g;
    int unloads = 0;
    g->onUnload = [&] { ++unloads; };
    g->Show();
    QVERIFY(QTest::qWaitForWindowExposed(g));
    g->close();
    QTRY_VERIFY(!gGuard);
    QCOMPARE(unloads, 1);
}

void TestFormClass::deactivateOnlyForAnotherWindowOfOurs() {
    TestForm a;
    TestForm b;
    for (TestForm* f : {&a, &b}) {
        f->setAttribute(Qt::WA_DeleteOnClose, false);
        f->Show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
    }
    QVERIFY(activate(&a));
    settle();
    a.deactivates = b.deactivates = 0;

    // Another window of ours becomes active: a is told, once.
    QVERIFY(activate(&b));
    QTRY_COMPARE(a.deactivates, 1);
    settle();
    QCOMPARE(a.deactivates, 1);
    QCOMPARE(b.deactivates, 0);

    // The user goes to another application (no active window of ours): nothing.
    QApplication::setActiveWindow(nullptr);
    settle();
    QCOMPARE(b.deactivates, 0);
    // ... and comes back to the same window: still nothing.
    QVERIFY(activate(&b));
    settle();
    QCOMPARE(b.deactivates, 0);

    // Away to another application, then straight into another window of ours: b is told then.
    QApplication::setActiveWindow(nullptr);
    settle();
    QVERIFY(activate(&a));
    QTRY_COMPARE(b.deactivates, 1);
    QCOMPARE(a.deactivates, 1);

    // The form's own message box does not take its place.
    auto* box =
        new QMessageBox(QMessageBox::NoIcon, QString(), QStringLiteral("x"), QMessageBox::Ok, &a);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
    QVERIFY(activate(box));
    settle();
    QCOMPARE(a.deactivates, 1);
    box->close();

    // A form that unloads itself on deactivation (the About window) does so safely.
    auto* about = new TestForm;
    QPointer<TestForm> aboutGuard = about;
    about->setBorderStyle(Form::BorderStyle::FixedDialog);
    about->onDeactivate = [about] { about->Unload(); };
    about->Show();
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QVERIFY(activate(about));
    settle();
    QVERIFY(activate(&a));
    QTRY_VERIFY(!aboutGuard);
}

void TestFormClass::lastUnloadEndsTheApplication() {
    auto* f = new TestForm;
    f->Show();
    QTimer::singleShot(0, f, [f] { f->Unload(); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
    watchdog.start(5000);
    QCOMPARE(QCoreApplication::exec(), 0);
}

QTEST_MAIN(TestFormClass)
#include "tst_form.moc"
