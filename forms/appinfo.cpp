#include "forms/appinfo.h"

#include "alertwright_version.h"

namespace forms {

int AppMajor() {
    return ALERTWRIGHT_VERSION_MAJOR;
}
int AppMinor() {
    return ALERTWRIGHT_VERSION_MINOR;
}
int AppRevision() {
    return ALERTWRIGHT_VERSION_PATCH;
}
std::u16string AppTitle() {
    return u"Alertwright";
}

} // namespace forms
