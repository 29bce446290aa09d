#include "forms/error.h"

#include <array>
#include <utility>

namespace forms {

namespace {

// English names that existing throw sites start their detail with.
ErrorKind kindOf(const QString& detail) {
    static const std::array<std::pair<QLatin1String, ErrorKind>, 8> names = {{
        {QLatin1String("Overflow"), ErrorKind::Overflow},
        {QLatin1String("Type mismatch"), ErrorKind::TypeMismatch},
        {QLatin1String("Invalid property value"), ErrorKind::InvalidPropertyValue},
        {QLatin1String("Invalid procedure call or argument"), ErrorKind::InvalidCall},
        {QLatin1String("Invalid argument"), ErrorKind::InvalidCall},
        {QLatin1String("Invalid picture"), ErrorKind::InvalidPicture},
        {QLatin1String("Invalid use of Nothing"), ErrorKind::ObjectNotSet},
        {QLatin1String("Can't open Clipboard"), ErrorKind::ClipboardBusy},
    }};
    for (const auto& [name, kind] : names)
        if (detail.startsWith(name) &&
            (detail.size() == name.size() || detail.at(name.size()) == QLatin1Char(':')))
            return kind;
    return ErrorKind::Unknown;
}

} // namespace

QString russianPhrase(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::Unknown:
        break;
    case ErrorKind::InvalidCall:
        return QStringLiteral("недопустимый вызов процедуры или аргумент");
    case ErrorKind::Overflow:
        return QStringLiteral("переполнение");
    case ErrorKind::TypeMismatch:
        return QStringLiteral("несоответствие типов");
    case ErrorKind::InvalidPropertyValue:
        return QStringLiteral("недопустимое значение свойства");
    case ErrorKind::ObjectNotSet:
        return QStringLiteral("объект не задан");
    case ErrorKind::InvalidPicture:
        return QStringLiteral("недопустимый рисунок");
    case ErrorKind::ClipboardBusy:
        return QStringLiteral("не удаётся открыть буфер обмена");
    case ErrorKind::FileNotFound:
        return QStringLiteral("файл не найден");
    case ErrorKind::NotARegularFile:
        return QStringLiteral("путь ведёт не к обычному файлу");
    case ErrorKind::OutsideFolder:
        return QStringLiteral("путь выходит за пределы папки файла формы");
    case ErrorKind::FileAccess:
        return QStringLiteral("ошибка доступа к файлу");
    case ErrorKind::FileTooLarge:
        return QStringLiteral("файл слишком велик");
    case ErrorKind::BadFileFormat:
        return QStringLiteral("недопустимый формат файла");
    case ErrorKind::GivenTwice:
        return QStringLiteral("значение задано дважды");
    }
    return QStringLiteral("непредвиденная ошибка выполнения");
}

RuntimeError::RuntimeError(const QString& detail) : RuntimeError(kindOf(detail), detail) {}

RuntimeError::RuntimeError(ErrorKind kind, const QString& detail)
    : std::runtime_error(detail.toStdString()), m_kind(kind), m_message(detail) {}

QString RuntimeError::userMessage() const {
    const QString phrase = russianPhrase(m_kind);
    return phrase.left(1).toUpper() + phrase.mid(1);
}

} // namespace forms
