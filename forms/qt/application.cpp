// The Qt backend's application: QApplication with the catch that keeps errors out of the event
// loop, the look and language set once at start-up, the log, and the clipboard.

#include "forms/application.h"

#include "forms/appinfo.h"
#include "forms/error.h"
#include "forms/qt/convert.h"
#include "forms/qt/idlecaret.h"

#include <QApplication>
#include <QClipboard>
#include <QLibraryInfo>
#include <QMimeData>
#include <QPalette>
#include <QTranslator>

namespace forms::qt {

namespace {

class QtApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            Application::reportCurrentException();
        }
        return false;
    }
};

// The toolkit's own Russian texts (context menus of the text boxes, standard dialogs), so that
// every text a user reads is Russian; without the translation installed they stay English.
void installRussianTranslation(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ru"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

// The program's look, set once before the first window is built: the classic button face grey
// of the windows and one face for every text.
void applyDesktopLook() {
    // The pictures beside the option buttons are drawn on the classic button face; the windows
    // use the same grey, so the pictures sit on them without a visible box.
    QPalette palette = QApplication::palette();
    const QColor buttonFace(212, 208, 200);
    palette.setColor(QPalette::Window, buttonFace);
    palette.setColor(QPalette::Button, buttonFace);
    QApplication::setPalette(palette);
    // One face for menus, controls and the buttons' captions: one font to load at start-up.
    QApplication::setFont(toQFont(*defaultFont()));
}

class QtApplicationPeer : public ApplicationPeer {
public:
    QtApplicationPeer(int& argc, char** argv) : m_app(argc, argv) {
        // The title of the run-time error boxes. No display name: Qt would append it to every
        // window title, the previews' too.
        QApplication::setApplicationName(QString::fromStdU16String(AppTitle()));
        // The forms decide when the program ends: when the last one is unloaded.
        QApplication::setQuitOnLastWindowClosed(false);
        applyDesktopLook();
        installRussianTranslation(m_app);
        // After 10 s without a key or a click the caret stops blinking: an idle window does no
        // work.
        m_caret = std::make_unique<IdleCaret>(std::chrono::seconds(10));
    }

    int run() override { return QApplication::exec(); }

private:
    QtApplication m_app;
    std::unique_ptr<IdleCaret> m_caret;
};

QClipboard& clipboard() {
    QClipboard* cb = QGuiApplication::clipboard();
    if (!cb)
        throw RuntimeError(u"Can't open Clipboard: no clipboard is available");
    return *cb;
}

} // namespace

} // namespace forms::qt

namespace forms::backend {

std::unique_ptr<ApplicationPeer> createApplicationPeer(int& argc, char** argv) {
    return std::make_unique<qt::QtApplicationPeer>(argc, argv);
}

void quit(int code) {
    QCoreApplication::exit(code);
}

void writeLog(const std::u16string& line) {
    qWarning("%s", qUtf8Printable(QString::fromStdU16String(line)));
}

void clipboardClear() {
    qt::clipboard().clear(QClipboard::Clipboard);
}

void clipboardSetText(const std::u16string& text) {
    qt::clipboard().setText(QString::fromStdU16String(text), QClipboard::Clipboard);
}

bool clipboardEmpty() {
    const QMimeData* data = qt::clipboard().mimeData(QClipboard::Clipboard);
    return !data || data->formats().isEmpty();
}

std::optional<std::u16string> clipboardText() {
    const QMimeData* data = qt::clipboard().mimeData(QClipboard::Clipboard);
    if (!data || !data->hasText())
        return std::nullopt;
    return data->text().toStdU16String();
}

} // namespace forms::backend
