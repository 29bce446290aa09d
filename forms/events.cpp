#include "forms/events.h"

#include <QCoreApplication>
namespace forms {
void DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
} // namespace forms
