// Any title, text, style, button set and option: the generated code is valid Visual Basic (lines
// within 1023 characters, at most 24 continuations, every literal closed, no raw line break
// inside one, nothing on a line that code page 1251 lacks, ChrW$ only for what a literal cannot
// hold) and reading its string expressions back gives exactly the input; or the message is
// refused. The message reader gives the message back too, and the code it gives is the same code.
// The input read as code: the reader ends with a reading or an error, and the code of a reading
// reads back to it.
#include "codegen/buttonsets.h"
#include "codegen/messagecode.h"
#include "codegen/messagereader.h"
#include "vbreader.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

namespace {

[[noreturn]] void fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "fuzz_codegen: %s: %s\n", what, detail.c_str());
    std::abort();
}

std::u16string codeOrNothing(const codegen::MessageSpec& msg) {
    try {
        return codegen::buildMessageCode(msg);
    } catch (const codegen::MessageTooLong&) {
        return {};
    }
}

// The code of whatever the input reads as reads back to the same message.
void readAsCode(std::u16string_view input) {
    const auto reading = codegen::readMessageCode(input);
    if (!reading) {
        if (reading.error().line == 0 || reading.error().column == 0 ||
            reading.error().what.empty())
            fail("error without a place", std::to_string(reading.error().line));
        return;
    }
    const std::u16string code = codeOrNothing(reading->message);
    if (code.empty())
        return;
    // Constants are written only for a style that has them.
    codegen::MessageSpec expected = reading->message;
    expected.constants = expected.constants && codegen::styleConstantNames(expected.styleValue);
    const auto again = codegen::readMessageCode(code);
    if (!again || !(again->message == expected) ||
        again->ignored != codegen::splitStyle(expected.styleValue).ignored)
        fail("the code of a reading reads otherwise", std::to_string(code.size()) + " units");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5)
        return 0;
    // Byte 0: set position, byte 1: icon, byte 2: where the title ends, byte 3: how often the
    // text repeats (so that short inputs reach the 25-line limit), byte 4: the default button,
    // the options, constants, and whether bytes 1-4 are a style value of their own; the rest:
    // UTF-16 units.
    const auto position = static_cast<std::int16_t>(data[0] % 6);
    const std::uint8_t options = data[4];
    std::u16string units;
    for (std::size_t i = 5; i + 1 < size; i += 2)
        units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    readAsCode(units);
    // Bias towards the characters that matter: quotes, line breaks, control characters, what
    // code page 1251 holds above ASCII and what it lacks, surrogates.
    constexpr char16_t special[] = {u'"', u'\r', u'\n',  0,      u'\t', 0x7F,
                                    0x85, 0xE9,  0x20AC, 0xD83D, 0xDE00};
    for (auto& u : units)
        if (u % 23 < std::size(special))
            u = special[u % 23];
    const std::size_t split = units.empty() ? 0 : data[2] % (units.size() + 1);

    const codegen::StyleParts parts{static_cast<std::int16_t>((data[1] % 5) * 16),
                                    position,
                                    1 + (options & 3) % codegen::buttonCount(position),
                                    (options & 4) != 0,
                                    (options & 8) != 0,
                                    (options & 16) != 0,
                                    (options & 32) != 0};
    const bool constants = (options & 64) != 0, rawStyle = (options & 128) != 0;
    std::u16string text;
    for (int i = 0; i <= data[3] % 64; ++i)
        text += units.substr(split);
    codegen::MessageSpec msg =
        codegen::composeMessage(units.substr(0, split), std::move(text), parts, constants);
    if (rawStyle) { // the Case lines of the set it keeps
        msg.styleValue = static_cast<std::int32_t>((std::uint32_t{data[1]} << 24) |
                                                   (data[2] << 16) | (data[3] << 8) | options);
        const auto kept =
            codegen::composeMessage({}, {}, codegen::splitStyle(msg.styleValue).parts);
        msg.buttonNames = kept.buttonNames;
        msg.returnCodes = kept.returnCodes;
    }

    const std::u16string code = codeOrNothing(msg);
    if (code.empty())
        return 0;
    const auto reading = vbreader::read(code);
    if (!reading.error.empty())
        fail("invalid code", reading.error);
    if (reading.text != msg.text)
        fail("text does not read back", std::to_string(msg.text.size()) + " units");
    if (reading.title != msg.title)
        fail("title does not read back", std::to_string(msg.title.size()) + " units");
    if (reading.styleValue != msg.styleValue)
        fail("style value does not read back", std::to_string(reading.styleValue));
    if (reading.caseCodes != msg.returnCodes)
        fail("wrong Case lines", std::to_string(reading.caseCodes.size()));

    const auto back = codegen::readMessageCode(code);
    if (!back)
        fail("the reader refuses the code",
             std::string(back.error().what.begin(), back.error().what.end()));
    codegen::MessageSpec expected = msg;
    expected.constants = constants && codegen::styleConstantNames(msg.styleValue);
    if (!(back->message == expected))
        fail("the reader reads another message", std::to_string(back->message.styleValue));
    if (!rawStyle && (!(back->parts == parts) || !back->ignored.empty()))
        fail("the reader does not keep the parts", std::to_string(msg.styleValue));
    if (codegen::buildMessageCode(back->message) != code)
        fail("the reading writes other code", std::to_string(code.size()) + " units");
    return 0;
}
