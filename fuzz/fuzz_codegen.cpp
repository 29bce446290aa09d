// Any title, text, style and button set: the generated code is valid Visual Basic (lines within
// 1023 characters, at most 24 continuations, every literal closed, no raw line break inside one,
// nothing on a line that code page 1251 lacks, ChrW$ only for what a literal cannot hold) and
// reading its string expressions back gives exactly the input; or the message is refused.
#include "codegen/buttonsets.h"
#include "codegen/messagecode.h"
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    // Byte 0: set position, byte 1: icon, byte 2: where the title ends, byte 3: how often the
    // text repeats (so that short inputs reach the 25-line limit); the rest: UTF-16 units.
    const int position = data[0] % 6;
    const std::int16_t icon = static_cast<std::int16_t>((data[1] % 5) * 16);
    std::u16string units;
    for (std::size_t i = 4; i + 1 < size; i += 2)
        units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    // Bias towards the characters that matter: quotes, line breaks, control characters, what
    // code page 1251 holds above ASCII and what it lacks, surrogates.
    constexpr char16_t special[] = {u'"', u'\r', u'\n',  0,      u'\t', 0x7F,
                                    0x85, 0xE9,  0x20AC, 0xD83D, 0xDE00};
    for (auto& u : units)
        if (u % 23 < std::size(special))
            u = special[u % 23];
    const std::size_t split = units.empty() ? 0 : data[2] % (units.size() + 1);

    const auto set = codegen::buttonSetAt(static_cast<std::int16_t>(position));
    codegen::MessageSpec msg;
    msg.title = units.substr(0, split);
    for (int i = 0; i <= data[3] % 64; ++i)
        msg.text += units.substr(split);
    msg.styleValue = static_cast<std::int16_t>(icon + position);
    msg.buttonNames = set->buttonNames;
    msg.returnCodes = set->returnCodes;

    std::u16string code;
    try {
        code = codegen::buildMessageCode(msg);
    } catch (const codegen::MessageTooLong&) {
        return 0;
    }
    const auto reading = vbreader::read(code);
    if (!reading.error.empty())
        fail("invalid code", reading.error);
    if (reading.text != msg.text)
        fail("text does not read back", std::to_string(msg.text.size()) + " units");
    if (reading.title != msg.title)
        fail("title does not read back", std::to_string(msg.title.size()) + " units");
    if (reading.styleValue != msg.styleValue)
        fail("style value does not read back", std::to_string(reading.styleValue));
    if (reading.caseCodes != set->returnCodes)
        fail("wrong Case lines", std::to_string(reading.caseCodes.size()));
    return 0;
}
