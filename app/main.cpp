// Alertwright: writes the Visual Basic code of a message box. The generator window is the whole
// program; unloading it ends the program.

#include "app/frmmsggen.h"
#include "app/look.h"
#include "forms/application.h"
#include "forms/error.h"
#include "forms/idlecaret.h"
#include "forms/msgbox.h"

#include <exception>

int main(int argc, char** argv) {
    forms::Application application(argc, argv);
    // The title of the run-time error boxes. No display name: Qt would append it to every window
    // title, the previews' too.
    QApplication::setApplicationName(QStringLiteral("Alertwright"));
    app::applyDesktopLook();
    // After 10 s without a key or a click the caret stops blinking: an idle window does no work.
    forms::IdleCaret caret(std::chrono::seconds(10));
    try {
        auto* window = new app::frmMsgGen();
        window->Load();
        window->Show();
    } catch (const forms::RuntimeError& e) {
        forms::MsgBox(u"Не удалось открыть окно программы: " + e.userMessage(), forms::vbCritical,
                      QApplication::applicationName().toStdU16String());
        return 1;
    } catch (const std::exception& e) {
        forms::MsgBox(QStringLiteral("Не удалось открыть окно программы: %1")
                          .arg(QString::fromUtf8(e.what()))
                          .toStdU16String(),
                      forms::vbCritical, QApplication::applicationName().toStdU16String());
        return 1;
    }
    return application.exec();
}
