#pragma once

#include "forms/stdfont.h"
#include "forms/stdpicture.h"
#include "forms/vbtypes.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

namespace forms {

// monostate is "no object" (Nothing).
using PropertyValue = std::variant<std::monostate, std::int32_t, std::int16_t, bool, std::u16string,
                                   FontRef, PictureRef>;

// Equality as the bag uses it for default elision: numbers by value across widths, fonts by
// fields, pictures without image equal, else same image data.
bool sameValue(const PropertyValue& a, const PropertyValue& b);

// "Long", "Integer", "Boolean", "String", "Font", "Picture", "Nothing".
std::u16string typeName(const PropertyValue& v);

class PropertyBag {
public:
    // The stored value, or defaultValue when the name is not stored. Names match regardless of
    // case.
    PropertyValue ReadProperty(const std::u16string& name, const PropertyValue& defaultValue) const;
    // The name last asked for (as stored, if it is), so that an error in converting or applying
    // what was read can name the property.
    std::u16string lastRead() const { return m_lastRead; }
    // Stores the value; stores nothing (and removes an earlier entry) when it equals the default.
    void WriteProperty(const std::u16string& name, const PropertyValue& value,
                       const PropertyValue& defaultValue);
    bool contains(const std::u16string& name) const;
    // Names in the order first written, in the case they were written.
    std::vector<std::u16string> names() const;
    // Stores without default elision (for readers of stored forms).
    void setRaw(const std::u16string& name, const PropertyValue& value);
    void clear();
    int size() const { return static_cast<int>(m_entries.size()); }

private:
    std::ptrdiff_t indexOf(const std::u16string& name) const;
    void reindex();
    std::vector<std::pair<std::u16string, PropertyValue>> m_entries;
    // Case-folded name -> position in m_entries: a stored form may hold many properties.
    std::unordered_map<std::u16string, std::size_t> m_index;
    mutable std::u16string m_lastRead;
};

// Conversions; RuntimeError("Type mismatch: ...") where none exists, "Overflow: ..." when out of
// range.
std::int32_t toLong(const PropertyValue& v);
std::int16_t toInteger(const PropertyValue& v);
Boolean toBoolean(const PropertyValue& v);
std::u16string toString(const PropertyValue& v);
FontRef toFont(const PropertyValue& v);
PictureRef toPicture(const PropertyValue& v);
// A colour value: a Long read as its 32-bit pattern, then checked (invalid -> RuntimeError).
OleColor toColor(const PropertyValue& v);
// A colour as the bag stores it: a Long holding the 32-bit pattern.
PropertyValue colorValue(OleColor c);

} // namespace forms
