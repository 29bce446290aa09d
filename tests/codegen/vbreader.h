#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Reads generated Visual Basic back the way the compiler would, for the small subset the
// generator writes: string literals with "" escapes, & concatenation, vbCrLf, vbCr, vbLf,
// ChrW$(&HXXXX), " _" line continuations, the MsgBox statement and the Select Case block, the
// style as a number or as message-box constants, the Case lines' answers as digits or constants. It
// shares no code with the generator, so it can judge it.
namespace vbreader {

struct Reading {
    std::string error; // empty when the code is valid and reads back
    bool selectCase = false;
    std::u16string text;                        // value of the first argument
    long styleValue = 0;                        // the second
    std::u16string title;                       // value of the third
    std::u16string caseCodes;                   // the digit of each Case line
    std::vector<std::u16string> statementLines; // the statement's physical lines
};

Reading read(std::u16string_view code);

// Whether the Visual Basic editor keeps `line` as written: code page 1251 holds every character
// and none is a control character but Tab. Asks the C library, not the generator.
bool editorKeeps(std::u16string_view line);

} // namespace vbreader
