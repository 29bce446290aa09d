// The real program on a real X server, used only from outside: keys and the mouse through
// xdotool, the clipboard through xclip, colours from screenshots.
#include "x11session.h"

#include <QProcess>
#include <QTest>
#include <memory>

namespace {

constexpr int kTimeout = 10000;
constexpr int kTwipsPerPixel = 15; // Xvfb reports 96 dots per inch

// Centre of a control placed in twips, in the window's client coordinates below the menu bar.
QPoint centreTwips(int left, int top, int width, int height) {
    return QPoint((left + width / 2) / kTwipsPerPixel, (top + height / 2) / kTwipsPerPixel);
}

const QPoint kCombo = centreTwips(1035, 2970, 3345, 315);
const QPoint kQuestionPicture = centreTwips(5040, 900, 615, 525);
const QPoint kPreviewButton = centreTwips(990, 3510, 3840, 420);
const QPoint kCopyButton = centreTwips(990, 3960, 3840, 420);
const QPoint kExitButton = centreTwips(990, 4410, 3840, 420);
const QPoint kTitleLabel = centreTwips(60, 420, 915, 255);
// A point of cmdPreview's face right of its caption, clear of picture, caption and border.
const QPoint kPreviewFace = QPoint((990 + 3840) / kTwipsPerPixel - 12, 3510 / kTwipsPerPixel + 6);

const QColor kLitFace(182, 191, 216);     // 0x00D8BFB6
const QColor kRestingFace(224, 224, 224); // 0x00E0E0E0

const QByteArray kTwoLineText = "Первая строка\r\nВторая";

} // namespace

class tst_E2E : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void keyboardOnly_tabsArrowsAndCtrlS_copyTheMessage();
    void copyButton_copiesTypedMessageAndMinimizes();
    void hoveringButton_lightsFaceAndLeavingRestoresIt();
    void f5_showsPreviewWithTitle_answeredByKey();
    void f1_opensAbout_clickIntoMainWindowClosesIt();
    void takeCodeWithCtrlShiftV_copiesItBackWithCtrlS();
    void exitByF10AndArrows_endsWithStatusZero();
    void exitButton_endsWithStatusZero();

private:
    QPoint toScreen(QPoint client) const { return m_origin + client; }
    void startProgram();
    void typeTitleAndTwoLines();
    void chooseYesNoAndQuestionWithMouse();
    void verifyYesNoQuestionCopied() const;
    bool pixelIs(QPoint screen, const QColor& colour) const;
    QString openPopup() const;

    std::unique_ptr<X11Session> m_x;
    std::unique_ptr<QProcess> m_app;
    QString m_window;
    QPoint m_origin; // top left of the area below the menu bar, in root coordinates
};

void tst_E2E::initTestCase() {
    m_x = std::make_unique<X11Session>();
    const QString error = m_x->start();
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void tst_E2E::init() {
    startProgram();
}

void tst_E2E::cleanup() {
    if (m_app && m_app->state() != QProcess::NotRunning) {
        m_app->kill();
        m_app->waitForFinished(3000);
    }
    m_app.reset();
    // The next program must not find a window left over from this one.
    QVERIFY2(waitUntil([&] { return m_x->findWindow("^Alertwright$").isEmpty(); }, kTimeout),
             "the program's window is still there after the program ended");
}

void tst_E2E::startProgram() {
    m_app = std::make_unique<QProcess>();
    m_app->setProcessEnvironment(m_x->environment());
    m_app->setProcessChannelMode(QProcess::ForwardedChannels);
    m_app->start(QStringLiteral(ALERTWRIGHT_BIN), {});
    QVERIFY2(m_app->waitForStarted(kTimeout), "the program did not start");
    QVERIFY2(waitUntil(
                 [&] {
                     m_window = m_x->findWindow("^Alertwright$");
                     return !m_window.isEmpty() && m_x->isViewable(m_window);
                 },
                 kTimeout),
             "the window \"Alertwright\" was not mapped within 10 s");
    const QRect client = m_x->clientGeometry(m_window);
    QCOMPARE(client.width(), 388);
    QVERIFY2(client.height() > 333, "no room for the menu bar above the 333-pixel client area");
    const int menuBarHeight = client.height() - 333;
    // Centred on the 1024 x 768 screen with its frame included.
    QVERIFY2(waitUntil(
                 [&] {
                     const QRect frame = m_x->frameGeometry(m_window);
                     return qAbs(frame.center().x() - 512) <= 1 &&
                            qAbs(frame.center().y() - 384) <= 1;
                 },
                 kTimeout),
             "the window's frame is not centred on the screen");
    m_origin = QPoint(client.x(), client.y() + menuBarHeight);
    m_x->focus(m_window);
}

void tst_E2E::typeTitleAndTwoLines() {
    // The title box has the focus at start; Tab leads on to the text box.
    m_x->type("Привет");
    m_x->key("Tab");
    m_x->type("Первая строка");
    m_x->key("Return");
    m_x->type("Вторая");
}

void tst_E2E::chooseYesNoAndQuestionWithMouse() {
    m_x->click(toScreen(kQuestionPicture));
    m_x->click(toScreen(kCombo));
    // The list opens as a popup window of its own; its six rows share its height.
    QString popup;
    QVERIFY2(waitUntil([&] { return !(popup = openPopup()).isEmpty(); }, kTimeout),
             "the button-set list did not open");
    const QRect list = m_x->clientGeometry(popup);
    const int row = list.height() / 6;
    m_x->click(QPoint(list.center().x(), list.top() + row * 4 + row / 2));
    QVERIFY2(waitUntil([&] { return !m_x->isViewable(popup); }, kTimeout),
             "the button-set list did not close after the click on \"Да, Нет\"");
}

// The copy minimizes the window and leaves the code of the typed question on the clipboard.
void tst_E2E::verifyYesNoQuestionCopied() const {
    QVERIFY2(waitUntil([&] { return m_x->isMinimized(m_window); }, kTimeout),
             "the window was not minimized after the copy");
    QVERIFY2(waitUntil([&] { return m_x->clipboardHasOwner(); }, kTimeout),
             "the clipboard has no owner");
    QCOMPARE(m_x->clipboard(),
             "Select Case MsgBox (\"Первая строка\" & vbCrLf & \"Вторая\", 36, \"Привет\")\r\n"
             "Case 6 ' Да\r\n\t\r\nCase 7 ' Нет\r\n\t\r\nEnd Select");
}

// A list or a menu opens as a window of its own, beside the program's main window.
QString tst_E2E::openPopup() const {
    const auto r =
        m_x->xdotool({"search", "--onlyvisible", "--pid", QString::number(m_app->processId())});
    for (const auto& id : QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts))
        if (id.trimmed() != m_window)
            return id.trimmed();
    return {};
}

bool tst_E2E::pixelIs(QPoint screen, const QColor& colour) const {
    const QImage shot = m_x->screenshot();
    return !shot.isNull() && shot.pixelColor(screen).rgb() == colour.rgb();
}

// Tab leads from the text to the list, whose Down key moves the choice, then to the icon group,
// which it enters at "None"; Down wraps to the stop picture, then the question.
void tst_E2E::keyboardOnly_tabsArrowsAndCtrlS_copyTheMessage() {
    typeTitleAndTwoLines();
    m_x->key("Tab");
    for (int i = 0; i < 4; ++i)
        m_x->key("Down");
    m_x->key("Tab");
    m_x->key("Down");
    m_x->key("Down");
    m_x->key("ctrl+s");
    verifyYesNoQuestionCopied();
}

void tst_E2E::copyButton_copiesTypedMessageAndMinimizes() {
    typeTitleAndTwoLines();
    chooseYesNoAndQuestionWithMouse();
    m_x->click(toScreen(kCopyButton));
    verifyYesNoQuestionCopied();
}

void tst_E2E::hoveringButton_lightsFaceAndLeavingRestoresIt() {
    const QPoint face = toScreen(kPreviewFace);
    QVERIFY2(waitUntil([&] { return pixelIs(face, kRestingFace); }, kTimeout),
             "the preview button's face is not in its resting colour before the visit");
    m_x->hover(toScreen(kPreviewButton));
    QVERIFY2(waitUntil([&] { return pixelIs(face, kLitFace); }, kTimeout),
             "the preview button's face did not turn the lit colour under the pointer");
    m_x->hover(toScreen(kTitleLabel));
    QVERIFY2(waitUntil([&] { return pixelIs(face, kRestingFace); }, kTimeout),
             "the preview button's face did not return to its resting colour");
}

void tst_E2E::f5_showsPreviewWithTitle_answeredByKey() {
    m_x->type("Проверка");
    m_x->key("Tab");
    m_x->type("Текст сообщения");
    m_x->key("F5");
    QString preview;
    QVERIFY2(
        waitUntil([&] { return !(preview = m_x->findWindow("^Проверка$")).isEmpty(); }, kTimeout),
        "F5 did not show a message box titled \"Проверка\"");
    m_x->focus(preview);
    m_x->key("Return");
    QVERIFY2(waitUntil([&] { return m_x->findWindow("^Проверка$").isEmpty(); }, kTimeout),
             "the message box did not close on Enter");
    QVERIFY(!m_x->isMinimized(m_window));
}

void tst_E2E::f1_opensAbout_clickIntoMainWindowClosesIt() {
    m_x->key("F1");
    QString about;
    QVERIFY2(
        waitUntil([&] { return !(about = m_x->findWindow("^О программе\\.\\.\\.$")).isEmpty(); },
                  kTimeout),
        "F1 did not open the About window");
    // Click a spot of the generator window that the About window does not cover.
    const QRect a = m_x->clientGeometry(about);
    QPoint spot = toScreen(kTitleLabel);
    if (a.adjusted(-10, -40, 10, 10).contains(spot))
        spot = toScreen(QPoint(8, 320));
    m_x->click(spot);
    QVERIFY2(
        waitUntil([&] { return m_x->findWindow("^О программе\\.\\.\\.$").isEmpty(); }, kTimeout),
        "the About window stayed open after a click into the generator window");
    QCOMPARE(m_app->state(), QProcess::Running);
}

// A call written by hand comes in with Ctrl+Shift+V, every part chosen as in it, and goes back out
// with Ctrl+S in the tool's own form, with the constants it was written with.
void tst_E2E::takeCodeWithCtrlShiftV_copiesItBackWithCtrlS() {
    m_x->setClipboard("If MsgBox(\"Удалить файл?\", vbYesNo + vbQuestion + vbDefaultButton2, "
                      "\"Вопрос\") = vbYes Then");
    m_x->key("ctrl+shift+v");
    m_x->key("ctrl+s");
    QVERIFY2(waitUntil([&] { return m_x->isMinimized(m_window); }, kTimeout),
             "the window was not minimized after the copy");
    QCOMPARE(m_x->clipboard(), "Select Case MsgBox (\"Удалить файл?\", vbYesNo + vbQuestion + "
                               "vbDefaultButton2, \"Вопрос\")\r\nCase vbYes ' Да\r\n\t\r\n"
                               "Case vbNo ' Нет\r\n\t\r\nEnd Select");
}

// F10 puts the keyboard on "Сообщение"; Down opens it, three more pass the separator to "Выход".
void tst_E2E::exitByF10AndArrows_endsWithStatusZero() {
    m_x->key("F10");
    for (int i = 0; i < 4; ++i)
        m_x->key("Down");
    m_x->key("Return");
    QVERIFY2(m_app->waitForFinished(kTimeout), "the program did not end after F10, Down x4, Enter");
    QCOMPARE(m_app->exitCode(), 0);
}

void tst_E2E::exitButton_endsWithStatusZero() {
    m_x->click(toScreen(kExitButton));
    QVERIFY2(m_app->waitForFinished(kTimeout),
             "the program did not end after a click on \"Выход\"");
    QCOMPARE(m_app->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_app->exitCode(), 0);
}

QTEST_GUILESS_MAIN(tst_E2E)
#include "tst_e2e.moc"
