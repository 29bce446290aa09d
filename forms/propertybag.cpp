#include "forms/propertybag.h"

#include "forms/error.h"
namespace forms {
bool sameValue(const PropertyValue&, const PropertyValue&) {
    return false;
}
QString typeName(const PropertyValue&) {
    return {};
}
PropertyValue PropertyBag::ReadProperty(const QString& n, const PropertyValue& d) const {
    int i = indexOf(n);
    return i < 0 ? d : m_entries[i].second;
}
void PropertyBag::WriteProperty(const QString& n, const PropertyValue& v, const PropertyValue&) {
    setRaw(n, v);
}
bool PropertyBag::contains(const QString& n) const {
    return indexOf(n) >= 0;
}
QStringList PropertyBag::names() const {
    QStringList r;
    for (auto& e : m_entries)
        r << e.first;
    return r;
}
void PropertyBag::setRaw(const QString& n, const PropertyValue& v) {
    int i = indexOf(n);
    if (i < 0)
        m_entries.append({n, v});
    else
        m_entries[i].second = v;
}
int PropertyBag::indexOf(const QString& n) const {
    for (int i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].first.compare(n, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
std::int32_t toLong(const PropertyValue&) {
    return 0;
}
std::int16_t toInteger(const PropertyValue&) {
    return 0;
}
Boolean toBoolean(const PropertyValue&) {
    return 0;
}
QString toString(const PropertyValue&) {
    return {};
}
FontRef toFont(const PropertyValue&) {
    return {};
}
PictureRef toPicture(const PropertyValue&) {
    return {};
}
OleColor toColor(const PropertyValue&) {
    return 0;
}
PropertyValue colorValue(OleColor c) {
    return static_cast<std::int32_t>(c);
}
} // namespace forms
