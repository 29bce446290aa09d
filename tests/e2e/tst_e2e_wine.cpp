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
const QString kAbout = QStringLiteral("^О программе\\.\\.\\.$");

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

    std::unique_ptr<X11Session> m_x;
    std::unique_ptr<QProcess> m_app;
    QString m_wine, m_wineserver, m_window;
    QDir m_prefix{QStringLiteral(WINE_RIG_DIR "/prefix")};
    QPoint m_origin; // top left of the area below the menu bar, in root coordinates

    QPoint toScreen(QPoint client) const { return m_origin + client; }
    QColor pixel(QPoint screen) const { return m_x->screenshot().pixelColor(screen); }

    // Wine's services inherit the streams of the call that starts them: they get none of ours.
    QProcess* startQuietly(const QString& program, const QStringList& args) {
        auto* p = new QProcess;
        p->setProcessEnvironment(m_x->environment());
        p->setStandardInputFile(QProcess::nullDevice());
        p->setStandardOutputFile(QProcess::nullDevice());
        p->setStandardErrorFile(QProcess::nullDevice());
        p->start(program, args);
        return p;
    }
    bool runQuietly(const QString& program, const QStringList& args, int timeoutMs) {
        std::unique_ptr<QProcess> p(startQuietly(program, args));
        return p->waitForFinished(timeoutMs) && p->exitCode() == 0;
    }
    // What a Windows helper of the test writes to standard output, empty when it fails.
    QByteArray helper(const QString& exe, const QStringList& args = {}) const {
        const auto r = m_x->run(m_wine, QStringList{kBin + "/" + exe} + args);
        return r.exitCode == 0 ? r.out : QByteArray();
    }

    // The title box has the focus at start; Tab leads on to the text box, and on to the list of
    // button sets, where Down moves the choice to "Да, Нет", the fifth.
    void typeQuestionChoosingYesNo(const QString& title, const QString& firstLine) {
        m_x->type(title);
        m_x->key("Tab");
        m_x->type(firstLine);
        m_x->key("Return");
        m_x->type("Вторая");
        m_x->key("Tab");
        for (int i = 0; i < 4; ++i)
            m_x->key("Down");
    }

private slots:
    void initTestCase() {
        if (!QFileInfo::exists(kProgram))
            QSKIP(qPrintable(kProgram + " is not built (cmake --build --preset windows)"));
        m_wine = QStandardPaths::findExecutable("wine64", {"/usr/lib/wine"});
        if (m_wine.isEmpty() || QStandardPaths::findExecutable("Xvfb").isEmpty())
            QSKIP("wine64 or Xvfb is not installed (make test installs them)");
        m_x = std::make_unique<X11Session>();
        const QString error = m_x->start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        // Wine's own dialogs speak the language of LANG, Russian only where the locale exists.
        m_x->setVariable("LANG", "ru_RU.UTF-8");
        m_x->setVariable("LC_ALL", ""); // empty counts as unset
        if (m_x->run("locale", {"charmap"}).out.trimmed() != "UTF-8") {
            const QString locales = QStringLiteral(WINE_RIG_DIR "/locale");
            QDir().mkpath(locales);
            m_x->run("localedef", {"-i", "ru_RU", "-f", "UTF-8", locales + "/ru_RU.UTF-8"}, 60000);
            m_x->setVariable("LOCPATH", locales);
        }
        m_prefix.removeRecursively();
        QVERIFY(m_prefix.mkpath("."));
        m_x->setVariable("WINEPREFIX", m_prefix.path());
        m_x->setVariable("WINEDEBUG", "-all");
        m_x->setVariable("WINEDLLOVERRIDES", "mscoree,mshtml=");
        m_wineserver = QFileInfo(m_wine).dir().filePath("wineserver");
        QVERIFY(runQuietly(m_wineserver, {"-p"}, kTimeout));
        QVERIFY2(runQuietly(m_wine, {"wineboot", "-i"}, 180000), "wineboot made no prefix");
    }

    void cleanupTestCase() {
        if (m_x)
            runQuietly(m_wineserver, {"-k"}, kTimeout);
        m_prefix.removeRecursively();
    }

    void init() {
        m_app.reset(startQuietly(m_wine, {kProgram}));
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

    void cleanup() {
        if (m_app) { // a program that has ended ignores both
            m_app->kill();
            m_app->waitForFinished(3000);
        }
        QVERIFY2(waitUntil([&] { return m_x->findWindow("^Alertwright$").isEmpty(); }, kTimeout),
                 "the program's window is still there after the program ended");
    }

    void window_hasClientAreaBelowOneMenuBarRow_centredWithFrame() {
        const QRect inside = m_x->clientGeometry(m_window);
        QCOMPARE(inside.width(), 388);
        const int menuBar = inside.height() - 333;
        QVERIFY2(
            menuBar >= 15 && menuBar <= 30,
            qPrintable(QString("%1 pixels above the client area, not one menu row").arg(menuBar)));
        // The screen is 1024 x 768; the frame is openbox's, Wine's own frame metrics differ.
        const QPoint off = m_x->frameGeometry(m_window).center() - QRect(0, 0, 1024, 768).center();
        QVERIFY2(qAbs(off.x()) <= 1 && qAbs(off.y()) <= 1,
                 qPrintable(QString("the frame is %1, %2 off centre").arg(off.x()).arg(off.y())));
    }

    void typedQuestion_ctrlS_putsExactCodeOnClipboardAndMinimizes() {
        typeQuestionChoosingYesNo("Привет", "Первая строка");
        m_x->click(toScreen(kQuestionPicture));
        m_x->key("ctrl+s");
        QVERIFY2(waitUntil([&] { return m_x->isMinimized(m_window); }, kTimeout),
                 "the window was not minimized after Ctrl+S");
        const auto expected =
            m_x->run(ALERTWRIGHT_GEN, {"--title", "Привет", "--text", "Первая строка\r\nВторая",
                                       "--icon", "question", "--buttons", "4"});
        QCOMPARE(expected.exitCode, 0);
        QCOMPARE(helper("wclip.exe"), expected.out);
    }

    // A call written by hand comes in with Ctrl+Shift+V and goes back out with Ctrl+S in the tool's
    // own form, byte for byte what the command line writes for the same choices.
    void takenCode_ctrlS_copiesItBackInTheToolsForm() {
        QProcess set;
        set.setProcessEnvironment(m_x->environment());
        set.start(m_wine, {kBin + "/wclip.exe", "--set"});
        set.write("x = MsgBox(\"Удалить файл?\", vbYesNo + vbQuestion + vbDefaultButton2, "
                  "\"Вопрос\")");
        set.closeWriteChannel();
        QVERIFY(set.waitForFinished(kTimeout) && set.exitCode() == 0);
        m_x->key("ctrl+shift+v");
        m_x->key("ctrl+s");
        QVERIFY2(waitUntil([&] { return m_x->isMinimized(m_window); }, kTimeout),
                 "the window was not minimized after Ctrl+S");
        const auto expected = m_x->run(
            ALERTWRIGHT_GEN, {"--title", "Вопрос", "--text", "Удалить файл?", "--icon", "question",
                              "--buttons", "4", "--default-button", "2", "--constants"});
        QCOMPARE(helper("wclip.exe"), expected.out);
    }

    void hoveringButton_lightsFaceAndLeavingRestoresIt() {
        const QPoint face = toScreen(kPreviewFace);
        m_x->hover(toScreen(kTitleLabel));
        const QColor resting = pixel(face);
        QVERIFY2(resting.isValid() && resting != kLitFace, "no screenshot, or the face is lit");
        m_x->hover(toScreen(kPreviewButton));
        QVERIFY2(waitUntil([&] { return pixel(face) == kLitFace; }, kTimeout),
                 "the preview button's face did not turn the lit colour under the pointer");
        m_x->hover(toScreen(kTitleLabel));
        QVERIFY2(waitUntil([&] { return pixel(face) == resting; }, kTimeout),
                 "the preview button's face did not return to its resting colour");
    }

    void f5_showsSystemBoxWithTitleAndYesNo_answeredByEnter() {
        typeQuestionChoosingYesNo("Проверка", "Текст сообщения");
        m_x->key("F5");
        QString box;
        QVERIFY2(
            waitUntil([&] { return !(box = m_x->findWindow("^Проверка$")).isEmpty(); }, kTimeout),
            "F5 did not show a message box titled \"Проверка\"");
        QCOMPARE(helper("wbuttons.exe", {"Проверка"}), QByteArray("Да\nНет\n"));
        m_x->focus(box);
        m_x->key("Return");
        QVERIFY2(waitUntil([&] { return m_x->findWindow("^Проверка$").isEmpty(); }, kTimeout),
                 "the message box did not close on Enter");
        QVERIFY(!m_x->isMinimized(m_window));
        QCOMPARE(m_app->state(), QProcess::Running);
    }

    void f1_opensAbout_clickIntoMainWindowClosesIt() {
        m_x->key("F1");
        QString about;
        QVERIFY2(waitUntil([&] { return !(about = m_x->findWindow(kAbout)).isEmpty(); }, kTimeout),
                 "F1 did not open the About window");
        // Click a spot of the generator window that the About window does not cover.
        QPoint spot = toScreen(kTitleLabel);
        if (m_x->clientGeometry(about).adjusted(-10, -40, 10, 10).contains(spot))
            spot = toScreen(QPoint(8, 320));
        m_x->click(spot);
        QVERIFY2(waitUntil([&] { return m_x->findWindow(kAbout).isEmpty(); }, kTimeout),
                 "the About window stayed open after a click into the generator window");
        QCOMPARE(m_app->state(), QProcess::Running);
    }

    // wine64 ends with the program's own exit status.
    void exitButton_endsWithStatusZero() {
        m_x->click(toScreen(kExitButton));
        QVERIFY2(m_app->waitForFinished(kTimeout),
                 "the program did not end after a click on \"Выход\"");
        QCOMPARE(m_app->exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_app->exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_E2EWine)
#include "tst_e2e_wine.moc"
