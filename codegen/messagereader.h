#pragma once

#include "codegen/messagecode.h"
#include "codegen/style.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace codegen {

// What a MsgBox call in Visual Basic code shows.
struct MessageReading {
    // Title, text and style value as the code gives them, `constants` when the style names a
    // constant, and the names and return codes of the button set kept in `parts`.
    MessageSpec message;
    // The style's parts that the window and the command line can hold.
    StyleParts parts;
    // What they cannot: style parts as splitStyle names them, then "HelpFile" and "Context" when
    // the call gives them. Empty when `parts` is the whole style.
    std::vector<std::string> ignored;
};

// Why code could not be read, and where: line and column (in characters) count from 1.
struct ReadError {
    std::size_t line = 1;
    std::size_t column = 1;
    std::u16string what;        // English: what was expected there and what was found
    std::u16string whatRussian; // the same for the window
};

// The reading, or why there is none; shaped like std::expected.
class ReadResult {
public:
    ReadResult(MessageReading reading) : m_result(std::move(reading)) {}
    ReadResult(ReadError error) : m_result(std::move(error)) {}

    bool has_value() const { return m_result.index() == 0; }
    explicit operator bool() const { return has_value(); }
    const MessageReading& value() const { return std::get<MessageReading>(m_result); }
    const MessageReading& operator*() const { return value(); }
    const MessageReading* operator->() const { return &value(); }
    const ReadError& error() const { return std::get<ReadError>(m_result); }

private:
    std::variant<MessageReading, ReadError> m_result;
};

// Reads the first MsgBox call in `code` (any letter case; a statement, a call in an expression,
// `Call MsgBox(...)`, the generator's `Select Case MsgBox (...)`): its prompt and title as string
// expressions (literals, & and +, vbCrLf, vbCr, vbLf, vbNewLine, vbTab, vbNullChar, vbNullString,
// Chr, Chr$, ChrW, ChrW$ of a number), its buttons as a number or a sum (+, Or) of numbers and
// message-box constants. A missing buttons argument is 0, a missing title empty. Anything else in
// those arguments is an error; nothing is guessed. Lines end at CR LF, LF or CR; " _" continues
// one.
ReadResult readMessageCode(std::u16string_view code);

// The error for the window, in Russian, with its line and column.
std::u16string readErrorText(const ReadError& error);

// The window's warning before it takes a reading whose `ignored` is not empty, in Russian.
std::u16string ignoredPartsText(const std::vector<std::string>& ignored);

} // namespace codegen
