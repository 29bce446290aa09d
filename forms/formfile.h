#pragma once

#include "forms/error.h"
#include "forms/propertybag.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace forms {

// A damaged or hand-edited form file; both messages name the file and, where it applies, the
// control and the property.
class FormFileError : public RuntimeError {
public:
    FormFileError(const std::u16string& message, const std::u16string& file,
                  const std::u16string& control = {}, const std::u16string& property = {});
    FormFileError(ErrorKind kind, const std::u16string& message, const std::u16string& file,
                  const std::u16string& control = {}, const std::u16string& property = {});
    // An error raised while a control took in what the reader had let through.
    FormFileError(const RuntimeError& cause, const std::u16string& file,
                  const std::u16string& control, const std::u16string& property = {});
    std::u16string file() const { return m_file; }
    std::u16string control() const { return m_control; }
    std::u16string property() const { return m_property; }
    std::u16string userMessage() const override;

private:
    std::u16string m_file, m_control, m_property;
};

struct StoredControl {
    std::u16string name;
    std::u16string className;
    int left = 0, top = 0, width = 0, height = 0; // twips
    PropertyBag properties;
};

struct FormFile {
    std::u16string formName;
    std::vector<StoredControl> controls;
    // Case-insensitive; nullptr if none.
    const StoredControl* find(const std::u16string& name) const;
};

// Form files are a few kilobytes; the reader takes none larger than this.
inline constexpr std::size_t maxFormFileSize = 16 * 1024 * 1024;

// A file, or a resource built into the program (a path starting with ':').
FormFile readFormFile(const std::u16string& path);
// Never crashes on any input; throws FormFileError for anything it cannot use. Pictures are
// files in the folder of `path` or below it.
FormFile parseFormFile(std::string_view json, const std::u16string& path);

} // namespace forms
