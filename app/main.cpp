// Alertwright: writes the Visual Basic code of a message box. The generator window is the whole
// program; unloading it ends the program.

#include "app/frmmsggen.h"
#include "forms/application.h"
#include "forms/error.h"
#include "forms/msgbox.h"
#include "forms/stdfont.h"

#include <QColor>
#include <QPalette>
#include <exception>

int main(int argc, char** argv) {
    forms::Application application(argc, argv);
    // The title of the run-time error boxes. No display name: Qt would append it to every window
    // title, the previews' too.
    QApplication::setApplicationName(QStringLiteral("Alertwright"));
    // The pictures beside the option buttons are drawn on the classic button face; the windows
    // use the same grey, so the pictures sit on them without a visible box.
    QPalette palette = QApplication::palette();
    const QColor buttonFace(212, 208, 200);
    palette.setColor(QPalette::Window, buttonFace);
    palette.setColor(QPalette::Button, buttonFace);
    QApplication::setPalette(palette);
    // One face for menus, controls and the buttons' captions: one font to load at start-up.
    QApplication::setFont(forms::defaultFont()->toQFont());
    try {
        auto* window = new app::frmMsgGen();
        window->Load();
        window->Show();
    } catch (const forms::RuntimeError& e) {
        forms::MsgBox(QStringLiteral("Не удалось открыть окно программы: %1").arg(e.message()),
                      forms::vbCritical, QApplication::applicationName());
        return 1;
    } catch (const std::exception& e) {
        forms::MsgBox(QStringLiteral("Не удалось открыть окно программы: %1")
                          .arg(QString::fromUtf8(e.what())),
                      forms::vbCritical, QApplication::applicationName());
        return 1;
    }
    return application.exec();
}
