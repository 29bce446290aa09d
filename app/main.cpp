// Alertwright: writes the Visual Basic code of a message box. The generator window is the whole
// program; unloading it ends the program.

#include "app/frmmsggen.h"
#include "forms/appinfo.h"
#include "forms/application.h"
#include "forms/error.h"
#include "forms/msgbox.h"
#include "forms/text.h"

#include <exception>
#include <string>

namespace {

int refuseToStart(const std::u16string& why) {
    forms::MsgBox(u"Не удалось открыть окно программы: " + why, forms::vbCritical,
                  forms::AppTitle());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    forms::Application application(argc, argv);
    try {
        auto* window = new app::frmMsgGen();
        window->Load();
        window->Show();
    } catch (const forms::RuntimeError& e) {
        return refuseToStart(e.userMessage());
    } catch (const std::exception& e) {
        return refuseToStart(forms::fromUtf8(e.what()));
    }
    return application.Run();
}
