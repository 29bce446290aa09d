#include "forms/formfile.h"
namespace forms {
FormFileError::FormFileError(const QString& m, const QString& f, const QString& c, const QString& p)
    : RuntimeError(m), m_file(f), m_control(c), m_property(p) {}
const StoredControl* FormFile::find(const QString&) const {
    return nullptr;
}
FormFile readFormFile(const QString&) {
    return {};
}
FormFile parseFormFile(const QByteArray&, const QString&) {
    return {};
}
} // namespace forms
