// Alertwright: writes the Visual Basic code of a message box. The generator window is the whole
// program; unloading it ends the program.

#include "app/frmmsggen.h"
#include "forms/application.h"
#include "forms/error.h"
#include "forms/msgbox.h"

#include <exception>

int main(int argc, char** argv) {
    forms::Application application(argc, argv);
    try {
        auto* window = new app::frmMsgGen();
        window->Load();
        window->Show();
    } catch (const forms::RuntimeError& e) {
        forms::MsgBox(QStringLiteral("Не удалось открыть окно программы: %1").arg(e.message()),
                      forms::vbCritical, QStringLiteral("Alertwright"));
        return 1;
    } catch (const std::exception& e) {
        forms::MsgBox(QStringLiteral("Не удалось открыть окно программы: %1")
                          .arg(QString::fromUtf8(e.what())),
                      forms::vbCritical, QStringLiteral("Alertwright"));
        return 1;
    }
    return application.exec();
}
