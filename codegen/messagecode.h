#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace codegen {

// Visual Basic reads at most this many characters (code points, line break not counted) on one
// physical source line...
inline constexpr std::size_t maxSourceLineLength = 1023;
// ...and at most this many line continuations (" _") in one statement.
inline constexpr int maxLineContinuations = 24;

// What the generated code shows.
struct MessageSpec {
    std::u16string title;
    std::u16string text;
    std::int16_t styleValue = 0; // icon value plus button-set position
    std::u16string buttonNames;  // "|"-separated, as in ButtonSet
    std::u16string returnCodes;  // empty: a plain MsgBox statement
};

// Thrown by buildMessageCode when even the longest allowed statement cannot hold the message.
class MessageTooLong : public std::runtime_error {
public:
    MessageTooLong();
};

// Every line break as a token that ends the literal, names the break and opens a new literal:
// CR LF as `" & vbCrLf & "`, a lone CR as `" & vbCr & "`, a lone LF as `" & vbLf & "`.
// Quotation marks are left alone.
std::u16string escapeLineBreaks(std::u16string_view text);

// Every quotation mark doubled, as a Visual Basic string literal needs it.
std::u16string doubleQuotes(std::u16string_view text);

// The Visual Basic source that shows the message box: a `MsgBox` statement, or a
// `Select Case MsgBox (...)` block with one commented Case per return code. Lines are separated
// by CR LF; the result does not end with one. Text and title have their quotation marks doubled
// and their line breaks turned into tokens; a statement line longer than maxSourceLineLength is
// continued with " _". Throws MessageTooLong when that would take more than
// maxLineContinuations continuations.
std::u16string buildMessageCode(const MessageSpec& msg);

} // namespace codegen
