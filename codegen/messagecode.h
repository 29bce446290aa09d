#pragma once

#include "codegen/style.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace codegen {

// Visual Basic reads at most this many characters (bytes of code page 1251, line break not
// counted) on one physical source line...
inline constexpr std::size_t maxSourceLineLength = 1023;
// ...and at most this many physical lines in one statement, that is 24 line continuations (" _").
inline constexpr int maxStatementLines = 25;
inline constexpr int maxLineContinuations = maxStatementLines - 1;

// What the generated code shows.
struct MessageSpec {
    std::u16string title;
    std::u16string text;
    std::int32_t styleValue = 0; // icon value plus button-set position plus the other parts
    std::u16string buttonNames;  // "|"-separated, as in ButtonSet
    std::u16string returnCodes;  // empty: a plain MsgBox statement
    // Write the style as its constants (`vbYesNo + vbQuestion`) and the Case lines with the
    // answers' constants (`Case vbYes ' Да`) instead of numbers; but all as numbers when some
    // part of the style has no constant.
    bool constants = false;

    bool operator==(const MessageSpec&) const = default;
};

// The message with the style of `parts`, and the names and return codes of its button set (none
// outside 0-5).
MessageSpec composeMessage(std::u16string title, std::u16string text, const StyleParts& parts,
                           bool constants = false);

// Thrown by buildMessageCode when the message's code fits in no statement of maxStatementLines
// lines of maxSourceLineLength characters. what() says so in English, for the command line.
class MessageTooLong : public std::runtime_error {
public:
    MessageTooLong();
};

// The same refusal for the window, in Russian like its other texts: it names the limits.
std::u16string messageTooLongText();

// Every line break as a token that ends the literal, names the break and opens a new literal:
// CR LF as `" & vbCrLf & "`, a lone CR as `" & vbCr & "`, a lone LF as `" & vbLf & "`.
// Quotation marks are left alone.
std::u16string escapeLineBreaks(std::u16string_view text);

// Every quotation mark doubled, as a Visual Basic string literal needs it.
std::u16string doubleQuotes(std::u16string_view text);

// The Visual Basic source that shows the message box: a `MsgBox` statement, or a
// `Select Case MsgBox (...)` block with one commented Case per return code. Lines are separated
// by CR LF; the result does not end with one. In text and title quotation marks are doubled, and
// every line break (as vbCrLf, vbCr or vbLf), every control character but Tab and every character
// that code page 1251 lacks (as `ChrW$(&HXXXX)`, one per UTF-16 unit) becomes a token that ends
// the literal and opens the next, so that the Visual Basic editor keeps every character. A
// statement longer than maxSourceLineLength is continued with " _", preferably after a token.
// With `constants` the style and the Case lines name their constants.
// Throws MessageTooLong when it cannot be laid out in maxStatementLines lines.
std::u16string buildMessageCode(const MessageSpec& msg);

} // namespace codegen
