// The Windows program under Wine on a private X server, in Russian and a fresh prefix, used only
// from outside as tst_e2e uses the Linux one. Wine hands CR LF to X as LF and shows its dialogs
// as one X window, so the clipboard and a box's buttons are read inside Wine by small helpers.
#include "x11session.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <memory>

namespace {

constexpr int kTimeout = 15000;
const QString kBin = QStringLiteral(WINDOWS_BIN);
const QString kProgram = kBin + "/alertwright.exe";

// Client coordinates below the menu bar, from the window's layout.
const QPoint kQuestionPicture = QRect(336, 60, 41, 35).center();
const QPoint kPreviewButton = QRect(66, 234, 256, 28).center();
const QPoint kPreviewFace = QPoint(66 + 244, 234 + 6); // right of the caption, clear of the border
const QPoint kExitButton = QRect(66, 294, 256, 28).center();
const QPoint kTitleLabel = QRect(4, 28, 61, 17).center();
const QColor kLitFace(182, 191, 216); // 0x00D8BFB6

} // namespace

class tst_E2EWine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void window_titledWithClientAreaBelowMenuBar_centred();
    void typedQuestion_ctrlS_putsExactCodeOnClipboardAndMinimizes();
    void hoveringButton_lightsFaceAndLeavingRestoresIt();
    void f5_showsSystemBoxWithTitleAndYesNo_answeredByEnter();
    void f1_opensAbout_clickIntoMainWindowClosesIt();
    void exitButton_endsWithStatusZero();

private:
    QPoint toScreen(QPoint client) const { return m_origin + client; }
    int runQuietly(const QString& program, const QStringList& args, int timeoutMs) const;
    QByteArray wine(const QString& helper, const QStringList& args = {}) const;
    void typeQuestionChoosingYesNo(const QString& title, const QString& firstLine);
    QColor pixel(QPoint screen) const { return m_x->screenshot().pixelColor(screen); }

    std::unique_ptr<X11Session> m_x;
    std::unique_ptr<QProcess> m_app;
    QString m_wine, m_wineserver, m_window;
    QDir m_rig{QStringLiteral(WINE_RIG_DIR)};
    QPoint m_origin; // top left of the area below the menu bar, in root coordinates
};

void tst_E2EWine::initTestCase() {
    if (!QFileInfo::exists(kProgram))
        QSKIP(qPrintable(kProgram + " is not built (cmake --build --preset windows)"));
    m_wine = QStandardPaths::findExecutable("wine64", {"/usr/lib/wine"});
    if (m_wine.isEmpty())
        m_wine = QStandardPaths::findExecutable("wine64");
    if (m_wine.isEmpty() || QStandardPaths::findExecutable("Xvfb").isEmpty())
        QSKIP("wine64 or Xvfb is not installed (make test installs them)");
    m_wineserver = QFileInfo(m_wine).dir().filePath("wineserver");

    m_x = std::make_unique<X11Session>();
    const QString error = m_x->start();
    QVERIFY2(error.isEmpty(), qPrintable(error));
    // Wine's own dialogs speak the language of LANG, Russian only where the locale exists.
    m_x->setVariable("LANG", "ru_RU.UTF-8");
    if (m_x->run("locale", {"charmap"}).out.trimmed() != "UTF-8") {
        const QString locales = m_rig.filePath("locale");
        QDir().mkpath(locales);
        m_x->run("localedef", {"-i", "ru_RU", "-f", "UTF-8", locales + "/ru_RU.UTF-8"}, 60000);
        m_x->setVariable("LOCPATH", locales);
    }
    QDir prefix(m_rig.filePath("prefix"));
    prefix.removeRecursively();
    QVERIFY(prefix.mkpath("."));
    m_x->setVariable("WINEPREFIX", prefix.path());
    m_x->setVariable("WINEDEBUG", "-all");
    m_x->setVariable("WINEDLLOVERRIDES", "mscoree,mshtml=");
    // Wine's services inherit the streams of the call that starts them: they get none of ours.
    QCOMPARE(runQuietly(m_wineserver, {"-p"}, kTimeout), 0);
    QCOMPARE(runQuietly(m_wine, {"wineboot", "-i"}, 180000), 0);
}

void tst_E2EWine::cleanupTestCase() {
    if (!m_x)
        return;
    runQuietly(m_wineserver, {"-k"}, kTimeout);
    QDir(m_rig.filePath("prefix")).removeRecursively();
}

int tst_E2EWine::runQuietly(const QString& program, const QStringList& args, int timeoutMs) const {
    QProcess p;
    p.setProcessEnvironment(m_x->environment());
    p.setStandardInputFile(QProcess::nullDevice());
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        return -1;
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// What a Windows helper of the test writes to standard output, empty when it fails.
QByteArray tst_E2EWine::wine(const QString& helper, const QStringList& args) const {
    const auto r = m_x->run(m_wine, QStringList{kBin + "/" + helper} + args);
    return r.exitCode == 0 ? r.out : QByteArray();
}

void tst_E2EWine::init() {
    m_app = std::make_unique<QProcess>();
    m_app->setProcessEnvironment(m_x->environment());
    m_app->setStandardOutputFile(QProcess::nullDevice());
    m_app->setStandardErrorFile(QProcess::nullDevice());
    m_app->start(m_wine, {kProgram});
    QVERIFY2(m_app->waitForStarted(kTimeout), "wine64 did not start");
    QVERIFY2(waitUntil(
                 [&] {
                     m_window = m_x->findWindow("^Alertwright$");
                     return !m_window.isEmpty() && m_x->isViewable(m_window);
                 },
                 kTimeout),
             "the window \"Alertwright\" was not mapped within 15 s");
    // Wine's X window holds the menu bar, which Wine draws, above the client area.
    const QRect inside = m_x->clientGeometry(m_window);
    m_origin = QPoint(inside.x(), inside.bottom() + 1 - 333);
    m_x->focus(m_window);
}

void tst_E2EWine::cleanup() {
    if (m_app && m_app->state() != QProcess::NotRunning) {
        m_app->kill();
        m_app->waitForFinished(3000);
    }
    m_app.reset();
    QVERIFY2(waitUntil([&] { return m_x->findWindow("^Alertwright$").isEmpty(); }, kTimeout),
             "the program's window is still there after the program ended");
}

void tst_E2EWine::window_titledWithClientAreaBelowMenuBar_centred() {
    const QRect inside = m_x->clientGeometry(m_window);
    QCOMPARE(inside.width(), 388);
    const int menuBar = inside.height() - 333;
    QVERIFY2(menuBar >= 15 && menuBar <= 30,
             qPrintable(QString("%1 pixels above the 333-pixel client area, not one menu bar row")
                            .arg(menuBar)));
    const QRect frame = m_x->frameGeometry(m_window);
    const QPoint centre = QRect(QPoint(0, 0), m_x->screenshot().size()).center();
    QVERIFY2((frame.center() - centre).manhattanLength() <= 2,
             qPrintable(QString("the frame's centre (%1, %2) is not the screen's (%3, %4)")
                            .arg(frame.center().x())
                            .arg(frame.center().y())
                            .arg(centre.x())
                            .arg(centre.y())));
}

// The title box has the focus at start; Tab leads on to the text box, and on to the list of
// button sets, where Down moves the choice to "Да, Нет", the fifth.
void tst_E2EWine::typeQuestionChoosingYesNo(const QString& title, const QString& firstLine) {
    m_x->type(title);
    m_x->key("Tab");
    m_x->type(firstLine);
    m_x->key("Return");
    m_x->type("Вторая");
    m_x->key("Tab");
    for (int i = 0; i < 4; ++i)
        m_x->key("Down");
}

void tst_E2EWine::typedQuestion_ctrlS_putsExactCodeOnClipboardAndMinimizes() {
    typeQuestionChoosingYesNo("Привет", "Первая строка");
    m_x->click(toScreen(kQuestionPicture));
    m_x->key("ctrl+s");
    QVERIFY2(waitUntil([&] { return m_x->isMinimized(m_window); }, kTimeout),
             "the window was not minimized after Ctrl+S");
    const auto expected =
        m_x->run(ALERTWRIGHT_GEN, {"--title", "Привет", "--text", "Первая строка\r\nВторая",
                                   "--icon", "question", "--buttons", "4"});
    QCOMPARE(expected.exitCode, 0);
    waitUntil([&] { return wine("wclip.exe") == expected.out; }, kTimeout);
    QCOMPARE(wine("wclip.exe"), expected.out);
}

void tst_E2EWine::hoveringButton_lightsFaceAndLeavingRestoresIt() {
    const QPoint face = toScreen(kPreviewFace);
    m_x->hover(toScreen(kTitleLabel));
    QColor resting;
    QVERIFY2(waitUntil(
                 [&] {
                     resting = pixel(face);
                     return resting.isValid() && resting != kLitFace;
                 },
                 kTimeout),
             "no screenshot, or the preview button's face is lit before the pointer visits it");
    m_x->hover(toScreen(kPreviewButton));
    QVERIFY2(waitUntil([&] { return pixel(face) == kLitFace; }, kTimeout),
             "the preview button's face did not turn the lit colour under the pointer");
    m_x->hover(toScreen(kTitleLabel));
    QVERIFY2(waitUntil([&] { return pixel(face) == resting; }, kTimeout),
             "the preview button's face did not return to its resting colour");
}

void tst_E2EWine::f5_showsSystemBoxWithTitleAndYesNo_answeredByEnter() {
    typeQuestionChoosingYesNo("Проверка", "Текст сообщения");
    m_x->key("F5");
    QString box;
    QVERIFY2(waitUntil([&] { return !(box = m_x->findWindow("^Проверка$")).isEmpty(); }, kTimeout),
             "F5 did not show a message box titled \"Проверка\"");
    waitUntil([&] { return wine("wbuttons.exe", {"Проверка"}) == "Да\nНет\n"; }, kTimeout);
    QCOMPARE(wine("wbuttons.exe", {"Проверка"}), QByteArray("Да\nНет\n"));
    m_x->focus(box);
    m_x->key("Return");
    QVERIFY2(waitUntil([&] { return m_x->findWindow("^Проверка$").isEmpty(); }, kTimeout),
             "the message box did not close on Enter");
    QVERIFY(!m_x->isMinimized(m_window));
    QCOMPARE(m_app->state(), QProcess::Running);
}

void tst_E2EWine::f1_opensAbout_clickIntoMainWindowClosesIt() {
    m_x->key("F1");
    QString about;
    QVERIFY2(
        waitUntil([&] { return !(about = m_x->findWindow("^О программе\\.\\.\\.$")).isEmpty(); },
                  kTimeout),
        "F1 did not open the About window");
    // Click a spot of the generator window that the About window does not cover.
    QPoint spot = toScreen(kTitleLabel);
    if (m_x->clientGeometry(about).adjusted(-10, -40, 10, 10).contains(spot))
        spot = toScreen(QPoint(8, 320));
    m_x->click(spot);
    QVERIFY2(
        waitUntil([&] { return m_x->findWindow("^О программе\\.\\.\\.$").isEmpty(); }, kTimeout),
        "the About window stayed open after a click into the generator window");
    QCOMPARE(m_app->state(), QProcess::Running);
}

void tst_E2EWine::exitButton_endsWithStatusZero() {
    m_x->click(toScreen(kExitButton));
    QVERIFY2(m_app->waitForFinished(kTimeout),
             "the program did not end after a click on \"Выход\"");
    QCOMPARE(m_app->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_app->exitCode(), 0);
}

QTEST_GUILESS_MAIN(tst_E2EWine)
#include "tst_e2e_wine.moc"
