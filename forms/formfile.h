#pragma once

#include "forms/error.h"
#include "forms/propertybag.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace forms {

class UserControl;

// A damaged or hand-edited form file; both messages name the file and, where it applies, the
// control and the property.
class FormFileError : public RuntimeError {
public:
    FormFileError(const QString& message, const QString& file, const QString& control = {},
                  const QString& property = {});
    FormFileError(ErrorKind kind, const QString& message, const QString& file,
                  const QString& control = {}, const QString& property = {});
    // An error raised while a control took in what the reader had let through.
    FormFileError(const RuntimeError& cause, const QString& file, const QString& control,
                  const QString& property = {});
    QString file() const { return m_file; }
    QString control() const { return m_control; }
    QString property() const { return m_property; }
    std::u16string userMessage() const override;

private:
    QString m_file, m_control, m_property;
};

struct StoredControl {
    QString name;
    QString className;
    int left = 0, top = 0, width = 0, height = 0; // twips
    PropertyBag properties;
};

struct FormFile {
    QString formName;
    QList<StoredControl> controls;
    const StoredControl* find(const QString& name) const; // case-insensitive; nullptr if none
};

// Form files are a few kilobytes; the reader takes none larger than this.
inline constexpr qsizetype maxFormFileSize = 16 * 1024 * 1024;

FormFile readFormFile(const QString& path);
// Never crashes on any input; throws FormFileError for anything it cannot use. Pictures are
// files in the folder of `path` or below it.
FormFile parseFormFile(const QByteArray& json, const QString& path);

// Re-creates a control from its stored entry in `file`: reads its properties and places it. Any
// error, also one the control raises on a value it cannot take, is a FormFileError naming the
// file, the control and the property.
void readStoredControl(UserControl& control, const StoredControl& stored, const QString& file);

} // namespace forms
