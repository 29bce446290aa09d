#include "cli/generatecommand.h"

#include "alertwright_version.h"
#include "cli/utf8.h"
#include "codegen/buttonsets.h"
#include "codegen/messagecode.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <istream>
#include <memory>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>

namespace cli {

namespace {

constexpr std::string_view programName = "alertwright-gen";

struct Icon {
    std::string_view name;
    std::int16_t value;
};
constexpr std::array<Icon, 5> icons{{
    {"none", 0},
    {"stop", 16},
    {"question", 32},
    {"exclamation", 48},
    {"information", 64},
}};

struct Options {
    std::string title;
    std::optional<std::string> text;
    std::optional<std::string> textFile; // "-" for standard input
    std::int16_t iconValue = 0;
    std::int16_t buttonSet = 0;
};

// Ends the run with one line on standard error.
struct BadInput {
    std::string message;
};

CommandResult failure(const BadInput& bad) {
    return {exitBadInput, {}, std::string(programName) + ": " + bad.message + "\n"};
}

// A user's value inside a message, as one line that shows what was given: control characters,
// C1 controls, bidirectional controls (which would reorder the terminal's line) and bytes that
// are not UTF-8 are escaped, and a long value is cut short.
std::string quoted(std::string_view value) {
    constexpr std::size_t longest = 60;
    std::string out = "'";
    for (std::size_t i = 0; i < value.size();) {
        if (i >= longest) {
            out += "...";
            break;
        }
        const auto lead = static_cast<unsigned char>(value[i]);
        const std::size_t size = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::string_view character = value.substr(i, size);
        const bool wellFormed = wellFormedUtf8Prefix(character).length == size;
        const char16_t c = !wellFormed ? 0 : size == 4 ? u'\uFFFD' : utf8ToUtf16(character)[0];
        char escape[8] = "";
        if (!wellFormed || c < 0x20 || c == 0x7F)
            std::snprintf(escape, sizeof escape, "\\x%02X", unsigned{lead});
        else if ((c >= 0x80 && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
                 (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069))
            std::snprintf(escape, sizeof escape, "\\u%04X", unsigned{c});
        else if (c == u'\\')
            std::snprintf(escape, sizeof escape, "\\\\");
        out += escape[0] != '\0' ? std::string_view(escape) : character;
        i += wellFormed ? size : 1;
    }
    return out + "'";
}

std::int16_t parseIcon(std::string_view value) {
    for (const Icon& icon : icons)
        if (value == icon.name)
            return icon.value;
    std::string valid;
    for (const Icon& icon : icons)
        valid += (valid.empty() ? "" : ", ") + std::string(icon.name);
    throw BadInput{"unknown icon " + quoted(value) + "; valid icons: " + valid};
}

std::int16_t parseButtonSet(std::string_view value) {
    // Digits only: no sign, so "-0" is no number of a set.
    if (value.empty() || value.find_first_not_of("0123456789") != std::string_view::npos)
        throw BadInput{"--buttons takes a button-set number from 0 to 5, not " + quoted(value)};
    long long number = 0;
    const auto error = std::from_chars(value.data(), value.data() + value.size(), number).ec;
    if (error == std::errc::result_out_of_range ||
        number >= static_cast<long long>(codegen::buttonSetCount))
        throw BadInput{"button set " + quoted(value) + " is outside 0 to 5"};
    return static_cast<std::int16_t>(number);
}

enum class Action { Generate, Help, Version };

// Reads and checks every argument, left to right; then the first --help or --version answers.
// "--" ends the options; the program takes no other arguments.
Action parseArguments(const std::vector<std::string>& args, Options& options) {
    Action action = Action::Generate;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view name = args[i];
        if (optionsEnded || !name.starts_with("-") || name == "-")
            throw BadInput{"unexpected argument " + quoted(name) + " (see --help)"};
        if (name == "--") {
            optionsEnded = true;
            continue;
        }
        std::optional<std::string_view> attached; // --name=value
        if (const std::size_t eq = name.find('='); name.starts_with("--") && eq != name.npos) {
            attached = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        const auto value = [&]() -> std::string {
            if (attached)
                return std::string(*attached);
            if (i + 1 >= args.size())
                throw BadInput{"option " + quoted(name) + " needs a value"};
            return args[++i];
        };
        if (name == "--help" || name == "--version") {
            if (attached)
                throw BadInput{"option " + quoted(name) + " takes no value"};
            if (action == Action::Generate)
                action = name == "--help" ? Action::Help : Action::Version;
        } else if (name == "--title") {
            options.title = value();
        } else if (name == "--text") {
            options.text = value();
        } else if (name == "--text-file") {
            options.textFile = value();
        } else if (name == "--icon") {
            options.iconValue = parseIcon(value());
        } else if (name == "--buttons") {
            options.buttonSet = parseButtonSet(value());
        } else {
            throw BadInput{"unknown option " + quoted(name) + " (see --help)"};
        }
    }
    if (options.text && options.textFile)
        throw BadInput{"--text and --text-file cannot be used together"};
    return action;
}

// Every character of a text takes at least one column of the statement and at most three bytes
// of UTF-8 (one of four becomes two ChrW$ tokens), so no longer text can make a message that
// fits; a byte-order mark may come before it.
constexpr std::size_t longestText =
    3 * codegen::maxStatementLines * codegen::maxSourceLineLength + 3;

// Reads a text through `read` (bytes got, 0 at the end) and stops as soon as the bytes cannot be
// a message: longer than longestText, or not UTF-8. A byte-order mark is not part of the text.
template <class Read> std::u16string readText(Read read, const std::string& what) {
    std::string bytes;
    std::size_t checked = 0; // well-formed so far
    char buffer[1 << 16];
    const auto badByte = [&] {
        return BadInput{what + " is not valid UTF-8 (bad byte at offset " +
                        std::to_string(checked) + ")"};
    };
    while (const std::size_t got =
               read(buffer, std::min(sizeof buffer, longestText + 1 - bytes.size()))) {
        bytes.append(buffer, got);
        const Utf8Prefix prefix = wellFormedUtf8Prefix(std::string_view(bytes).substr(checked));
        checked += prefix.length;
        if (checked < bytes.size() && !prefix.cutShort)
            throw badByte();
        if (bytes.size() > longestText)
            throw BadInput{what + " is too long: over " + std::to_string(longestText) +
                           " bytes, more than any message Visual Basic code can hold"};
    }
    if (checked < bytes.size())
        throw badByte();
    const std::size_t start = std::string_view(bytes).starts_with("\xEF\xBB\xBF") ? 3 : 0;
    return utf8ToUtf16(std::string_view(bytes).substr(start));
}

std::u16string readFile(const std::string& path) {
    const auto fail = [&] {
        return BadInput{"cannot read " + quoted(path) + ": " + std::strerror(errno)};
    };
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file)
        throw fail();
    std::u16string text = readText(
        [&](char* buffer, std::size_t size) { return std::fread(buffer, 1, size, file.get()); },
        "the text in " + quoted(path));
    if (std::ferror(file.get()))
        throw fail();
    return text;
}

// Takes what standard input has as it comes, so that a pipe's bad first bytes end the run at once.
std::u16string readStandardInput(std::istream& in) {
    std::streambuf& input = *in.rdbuf();
    return readText(
        [&input](char* buffer, std::size_t size) -> std::size_t {
            if (input.sgetc() == std::streambuf::traits_type::eof()) // waits for a byte
                return 0;
            const std::streamsize ready = std::max<std::streamsize>(1, input.in_avail());
            return static_cast<std::size_t>(
                input.sgetn(buffer, std::min(ready, static_cast<std::streamsize>(size))));
        },
        "the text from standard input");
}

std::u16string checkedUtf16(std::string_view bytes, std::string_view what) {
    if (const auto offset = invalidUtf8Offset(bytes))
        throw BadInput{std::string(what) + " is not valid UTF-8 (bad byte at offset " +
                       std::to_string(*offset) + ")"};
    return utf8ToUtf16(bytes);
}

std::string generate(const Options& options, std::istream& standardInput) {
    codegen::MessageSpec msg;
    msg.title = checkedUtf16(options.title, "the title");
    if (options.textFile == "-")
        msg.text = readStandardInput(standardInput);
    else if (options.textFile)
        msg.text = readFile(*options.textFile);
    else if (options.text)
        msg.text = checkedUtf16(*options.text, "the text");
    // The style value is formed as the window forms it: icon value plus set position.
    msg.styleValue = static_cast<std::int16_t>(options.iconValue + options.buttonSet);
    const codegen::ButtonSet& set =
        codegen::buttonSetCatalogue()[static_cast<std::size_t>(options.buttonSet)];
    msg.buttonNames = set.buttonNames;
    msg.returnCodes = set.returnCodes;
    try {
        return utf16ToUtf8(codegen::buildMessageCode(msg));
    } catch (const codegen::MessageTooLong& tooLong) {
        throw BadInput{tooLong.what()};
    }
}

} // namespace

std::string usageText() {
    return "Usage: alertwright-gen [--title TEXT] [--text TEXT | --text-file PATH|-]\n"
           "                       [--icon none|stop|question|exclamation|information]\n"
           "                       [--buttons 0-5]\n"
           "\n"
           "Writes the Visual Basic code that shows the described message box to standard\n"
           "output, as UTF-8 and with no newline after it.\n"
           "\n"
           "  --title TEXT        title of the message box (default: empty)\n"
           "  --text TEXT         message text, taken byte for byte (default: empty)\n"
           "  --text-file PATH    read the message text from a file; - reads standard input\n"
           "  --icon NAME         none (default), stop, question, exclamation, information\n"
           "  --buttons N         button set: 0 OK (default), 1 OK and Cancel,\n"
           "                      2 Abort, Retry and Ignore, 3 Yes, No and Cancel,\n"
           "                      4 Yes and No, 5 Retry and Cancel\n"
           "  --help              print this help and exit\n"
           "  --version           print the version and exit\n"
           "\n"
           "An option's value may also be attached: --icon=stop. When an option is repeated,\n"
           "the last one counts; -- ends the options. Title and text must be UTF-8; line\n"
           "breaks in them (CR LF, CR or LF) become vbCrLf, vbCr or vbLf, and control\n"
           "characters and characters that code page 1251 lacks become ChrW$(&H...). A\n"
           "byte-order mark at the start of a text file is skipped. Reading a text file stops\n"
           "as soon as it is not UTF-8 or longer than any message can be (" +
           std::to_string(longestText) +
           " bytes).\n"
           "\n"
           "Exit status: 0 on success; 2 on bad input, with one line on standard error;\n"
           "1 when standard output cannot be written.\n";
}

CommandResult runGenerateCommand(const std::vector<std::string>& args,
                                 std::istream& standardInput) {
    try {
        Options options;
        switch (parseArguments(args, options)) {
        case Action::Help:
            return {exitSuccess, usageText(), {}};
        case Action::Version:
            return {exitSuccess,
                    std::string(programName) + " " + ALERTWRIGHT_VERSION_STRING + "\n",
                    {}};
        case Action::Generate:
            break;
        }
        return {exitSuccess, generate(options, standardInput), {}};
    } catch (const BadInput& bad) {
        return failure(bad);
    }
}

} // namespace cli
