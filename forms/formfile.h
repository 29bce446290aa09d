#pragma once

#include "forms/error.h"
#include "forms/propertybag.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace forms {

// A damaged or hand-edited form file; the message names the file and, where it applies, the
// control and the property.
class FormFileError : public RuntimeError {
public:
    FormFileError(const QString& message, const QString& file, const QString& control = {},
                  const QString& property = {});
    QString file() const { return m_file; }
    QString control() const { return m_control; }
    QString property() const { return m_property; }

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

FormFile readFormFile(const QString& path);
// Never crashes on any input; throws FormFileError for anything it cannot use.
FormFile parseFormFile(const QByteArray& json, const QString& path);

} // namespace forms
