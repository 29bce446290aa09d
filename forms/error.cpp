#include "forms/error.h"

#include "forms/text.h"

#include <array>
#include <string_view>
#include <utility>

namespace forms {

namespace {

// English names that existing throw sites start their detail with.
ErrorKind kindOf(std::u16string_view detail) {
    static constexpr std::array<std::pair<std::u16string_view, ErrorKind>, 8> names = {{
        {u"Overflow", ErrorKind::Overflow},
        {u"Type mismatch", ErrorKind::TypeMismatch},
        {u"Invalid property value", ErrorKind::InvalidPropertyValue},
        {u"Invalid procedure call or argument", ErrorKind::InvalidCall},
        {u"Invalid argument", ErrorKind::InvalidCall},
        {u"Invalid picture", ErrorKind::InvalidPicture},
        {u"Invalid use of Nothing", ErrorKind::ObjectNotSet},
        {u"Can't open Clipboard", ErrorKind::ClipboardBusy},
    }};
    for (const auto& [name, kind] : names)
        if (detail.starts_with(name) &&
            (detail.size() == name.size() || detail[name.size()] == u':'))
            return kind;
    return ErrorKind::Unknown;
}

} // namespace

std::u16string russianPhrase(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::Unknown:
        break;
    case ErrorKind::InvalidCall:
        return u"недопустимый вызов процедуры или аргумент";
    case ErrorKind::Overflow:
        return u"переполнение";
    case ErrorKind::TypeMismatch:
        return u"несоответствие типов";
    case ErrorKind::InvalidPropertyValue:
        return u"недопустимое значение свойства";
    case ErrorKind::ObjectNotSet:
        return u"объект не задан";
    case ErrorKind::InvalidPicture:
        return u"недопустимый рисунок";
    case ErrorKind::ClipboardBusy:
        return u"не удаётся открыть буфер обмена";
    case ErrorKind::FileNotFound:
        return u"файл не найден";
    case ErrorKind::NotARegularFile:
        return u"путь ведёт не к обычному файлу";
    case ErrorKind::OutsideFolder:
        return u"путь выходит за пределы папки файла формы";
    case ErrorKind::FileAccess:
        return u"ошибка доступа к файлу";
    case ErrorKind::FileTooLarge:
        return u"файл слишком велик";
    case ErrorKind::BadFileFormat:
        return u"недопустимый формат файла";
    case ErrorKind::GivenTwice:
        return u"значение задано дважды";
    }
    return u"непредвиденная ошибка выполнения";
}

RuntimeError::RuntimeError(const std::u16string& detail) : RuntimeError(kindOf(detail), detail) {}

RuntimeError::RuntimeError(ErrorKind kind, const std::u16string& detail)
    : std::runtime_error(toUtf8(detail)), m_kind(kind), m_message(detail) {}

std::u16string RuntimeError::userMessage() const {
    std::u16string sentence = russianPhrase(m_kind);
    // Every phrase starts with a lower-case letter of а..я.
    if (!sentence.empty() && sentence[0] >= u'а' && sentence[0] <= u'я')
        sentence[0] = static_cast<char16_t>(sentence[0] - 0x20);
    return sentence;
}

} // namespace forms
