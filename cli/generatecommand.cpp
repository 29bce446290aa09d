#include "cli/generatecommand.h"

#include "alertwright_version.h"
#include "cli/utf8.h"
#include "codegen/buttonsets.h"
#include "codegen/messagecode.h"
#include "codegen/messagereader.h"

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
    int defaultButton = 1;
    bool systemModal = false, helpButton = false, right = false, rtl = false, constants = false;
    bool messageOptions = false; // any of the above given
    bool read = false;
    std::optional<std::string> codeFile; // "-" for standard input
};

// Ends the run with one line on standard error.
struct BadInput {
    std::string message;
};

CommandResult failure(const BadInput& bad) {
    return {exitBadInput, {}, std::string(programName) + ": " + bad.message + "\n"};
}

// Text inside a message, shown on one line: control characters, C1 controls, bidirectional
// controls (which would reorder the terminal's line) and bytes that are not UTF-8 are escaped,
// and a value longer than `longest` bytes is cut short.
std::string shown(std::string_view value, std::size_t longest) {
    std::string out;
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
    return out;
}

// A user's value inside a message.
std::string quoted(std::string_view value) {
    // Appended, not "'" + ...: GCC 12 warns wrongly about the inlined insert at the front.
    std::string out(1, '\'');
    out += shown(value, 60);
    out += '\'';
    return out;
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

int parseDefaultButton(std::string_view value) {
    if (value != "1" && value != "2" && value != "3")
        throw BadInput{"--default-button takes 1, 2 or 3, not " + quoted(value)};
    return value[0] - '0';
}

// The option that sets `flag`, or nothing.
bool* flagOf(std::string_view name, Options& options) {
    const std::array<std::pair<std::string_view, bool*>, 6> flags{{
        {"--system-modal", &options.systemModal},
        {"--help-button", &options.helpButton},
        {"--right", &options.right},
        {"--rtl", &options.rtl},
        {"--constants", &options.constants},
        {"--read", &options.read},
    }};
    for (const auto& [flagName, flag] : flags)
        if (name == flagName)
            return flag;
    return nullptr;
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
        bool* const flag = flagOf(name, options);
        if (name == "--help" || name == "--version" || flag) {
            if (attached)
                throw BadInput{"option " + quoted(name) + " takes no value"};
            if (flag)
                *flag = true;
            else if (action == Action::Generate)
                action = name == "--help" ? Action::Help : Action::Version;
            options.messageOptions = options.messageOptions || (flag && name != "--read");
            continue;
        }
        options.messageOptions = options.messageOptions || name != "--code-file";
        if (name == "--title") {
            options.title = value();
        } else if (name == "--text") {
            options.text = value();
        } else if (name == "--text-file") {
            options.textFile = value();
        } else if (name == "--icon") {
            options.iconValue = parseIcon(value());
        } else if (name == "--buttons") {
            options.buttonSet = parseButtonSet(value());
        } else if (name == "--default-button") {
            options.defaultButton = parseDefaultButton(value());
        } else if (name == "--code-file") {
            options.codeFile = value();
        } else {
            throw BadInput{"unknown option " + quoted(name) + " (see --help)"};
        }
    }
    if (options.text && options.textFile)
        throw BadInput{"--text and --text-file cannot be used together"};
    if (options.read && options.messageOptions)
        throw BadInput{"--read takes no option but --code-file"};
    if (!options.read && options.codeFile)
        throw BadInput{"--code-file is read only with --read"};
    if (const int buttons = codegen::buttonCount(options.buttonSet);
        options.defaultButton > buttons)
        throw BadInput{"button set " + std::to_string(options.buttonSet) + " has " +
                       std::to_string(buttons) + (buttons == 1 ? " button" : " buttons") +
                       ", so there is no default button " + std::to_string(options.defaultButton)};
    return action;
}

// Every character of a text takes at least one column of the statement and at most three bytes
// of UTF-8 (one of four becomes two ChrW$ tokens), so no longer text can make a message that
// fits; a byte-order mark may come before it.
constexpr std::size_t longestText =
    3 * codegen::maxStatementLines * codegen::maxSourceLineLength + 3;

// Reading code stops here: a module may hold much before its MsgBox call, but not this much.
constexpr std::size_t longestCode = std::size_t{1} << 24;

// What is read and how much of it can be of use.
struct Source {
    std::string noun;   // "the text", "the code"
    std::size_t limit;  // bytes
    std::string beyond; // why no more is read
};
const Source textSource{"the text", longestText,
                        ", more than any message Visual Basic code can hold"};
const Source codeSource{"the code", longestCode, ""};

// Reads through `read` (bytes got, 0 at the end) and stops as soon as the bytes cannot be of use:
// longer than the source's limit, or not UTF-8. A byte-order mark is not part of what is read.
template <class Read>
std::u16string readText(Read read, const Source& source, const std::string& what) {
    std::string bytes;
    std::size_t checked = 0; // well-formed so far
    char buffer[1 << 16];
    const auto badByte = [&] {
        return BadInput{what + " is not valid UTF-8 (bad byte at offset " +
                        std::to_string(checked) + ")"};
    };
    while (const std::size_t got =
               read(buffer, std::min(sizeof buffer, source.limit + 1 - bytes.size()))) {
        bytes.append(buffer, got);
        const Utf8Prefix prefix = wellFormedUtf8Prefix(std::string_view(bytes).substr(checked));
        checked += prefix.length;
        if (checked < bytes.size() && !prefix.cutShort)
            throw badByte();
        if (bytes.size() > source.limit)
            throw BadInput{what + " is too long: over " + std::to_string(source.limit) + " bytes" +
                           source.beyond};
    }
    if (checked < bytes.size())
        throw badByte();
    const std::size_t start = std::string_view(bytes).starts_with("\xEF\xBB\xBF") ? 3 : 0;
    return utf8ToUtf16(std::string_view(bytes).substr(start));
}

std::u16string readFile(const std::string& path, const Source& source) {
    const auto fail = [&] {
        return BadInput{"cannot read " + quoted(path) + ": " + std::strerror(errno)};
    };
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file)
        throw fail();
    std::u16string text = readText(
        [&](char* buffer, std::size_t size) { return std::fread(buffer, 1, size, file.get()); },
        source, source.noun + " in " + quoted(path));
    if (std::ferror(file.get()))
        throw fail();
    return text;
}

// Takes what standard input has as it comes, so that a pipe's bad first bytes end the run at once.
std::u16string readStandardInput(std::istream& in, const Source& source) {
    std::streambuf& input = *in.rdbuf();
    return readText(
        [&input](char* buffer, std::size_t size) -> std::size_t {
            if (input.sgetc() == std::streambuf::traits_type::eof()) // waits for a byte
                return 0;
            const std::streamsize ready = std::max<std::streamsize>(1, input.in_avail());
            return static_cast<std::size_t>(
                input.sgetn(buffer, std::min(ready, static_cast<std::streamsize>(size))));
        },
        source, source.noun + " from standard input");
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
        msg.text = readStandardInput(standardInput, textSource);
    else if (options.textFile)
        msg.text = readFile(*options.textFile, textSource);
    else if (options.text)
        msg.text = checkedUtf16(*options.text, "the text");
    msg = codegen::composeMessage(std::move(msg.title), std::move(msg.text),
                                  {options.iconValue, options.buttonSet, options.defaultButton,
                                   options.systemModal, options.helpButton, options.right,
                                   options.rtl},
                                  options.constants);
    try {
        return utf16ToUtf8(codegen::buildMessageCode(msg));
    } catch (const codegen::MessageTooLong& tooLong) {
        throw BadInput{tooLong.what()};
    }
}

// A JSON string: UTF-8, with what JSON must escape escaped, and a lone surrogate as \uXXXX.
std::string jsonString(std::u16string_view s) {
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
                          s[i + 1] <= 0xDFFF;
        char escape[8] = "";
        if (c == u'"' || c == u'\\')
            std::snprintf(escape, sizeof escape, "\\%c", static_cast<char>(c));
        else if (const auto at = std::string_view("\b\t\n\f\r").find(static_cast<char>(c));
                 c < 0x20 && at != std::string_view::npos)
            std::snprintf(escape, sizeof escape, "\\%c", "btnfr"[at]);
        else if (c < 0x20 || (c >= 0xD800 && c <= 0xDFFF && !pair))
            std::snprintf(escape, sizeof escape, "\\u%04X", unsigned{c});
        out += escape[0] != '\0' ? std::string(escape) : utf16ToUtf8(s.substr(i, pair ? 2 : 1));
        i += pair;
    }
    return out + "\"";
}

// One line of JSON that the generating options can be read from again.
std::string readCode(const Options& options, std::istream& standardInput) {
    const std::u16string code = options.codeFile && options.codeFile != "-"
                                    ? readFile(*options.codeFile, codeSource)
                                    : readStandardInput(standardInput, codeSource);
    const codegen::ReadResult result = codegen::readMessageCode(code);
    if (!result)
        throw BadInput{"line " + std::to_string(result.error().line) + ", column " +
                       std::to_string(result.error().column) + ": " +
                       shown(utf16ToUtf8(result.error().what), std::string::npos)};
    const codegen::StyleParts& parts = result->parts;
    const auto flag = [](bool on) { return on ? "true" : "false"; };
    std::string ignored;
    for (const std::string& name : result->ignored)
        ignored += (ignored.empty() ? "\"" : ", \"") + name + "\"";
    return "{\"title\": " + jsonString(result->message.title) +
           ", \"text\": " + jsonString(result->message.text) + ", \"icon\": \"" +
           std::string(icons[static_cast<std::size_t>(parts.icon / 16)].name) +
           "\", \"buttons\": " + std::to_string(parts.buttonSet) +
           ", \"default\": " + std::to_string(parts.defaultButton) +
           ", \"system-modal\": " + flag(parts.systemModal) +
           ", \"help-button\": " + flag(parts.helpButton) + ", \"right\": " + flag(parts.right) +
           ", \"rtl\": " + flag(parts.rtl) + ", \"constants\": " + flag(result->message.constants) +
           ", \"style\": " + std::to_string(result->message.styleValue) + ", \"ignored\": [" +
           ignored + "]}\n";
}

} // namespace

std::string usageText() {
    return "Usage: alertwright-gen [--title TEXT] [--text TEXT | --text-file PATH|-]\n"
           "                       [--icon none|stop|question|exclamation|information]\n"
           "                       [--buttons 0-5] [--default-button 1-3] [--system-modal]\n"
           "                       [--help-button] [--right] [--rtl] [--constants]\n"
           "       alertwright-gen --read [--code-file PATH|-]\n"
           "\n"
           "Writes the Visual Basic code that shows the described message box to standard\n"
           "output, as UTF-8 and with no newline after it. With --read, reads such code and\n"
           "writes what it shows as one line of JSON.\n"
           "\n"
           "  --title TEXT        title of the message box (default: empty)\n"
           "  --text TEXT         message text, taken byte for byte (default: empty)\n"
           "  --text-file PATH    read the message text from a file; - reads standard input\n"
           "  --icon NAME         none (default), stop, question, exclamation, information\n"
           "  --buttons N         button set: 0 OK (default), 1 OK and Cancel,\n"
           "                      2 Abort, Retry and Ignore, 3 Yes, No and Cancel,\n"
           "                      4 Yes and No, 5 Retry and Cancel\n"
           "  --default-button N  the button that Enter presses: 1 (default), 2 or 3, no\n"
           "                      more than the set has\n"
           "  --system-modal      the message box stays above every window\n"
           "  --help-button       adds a Help button\n"
           "  --right             text aligned to the right\n"
           "  --rtl               text read from right to left\n"
           "  --constants         the style and the Case lines as named constants\n"
           "                      (vbYesNo + vbQuestion, Case vbYes) instead of numbers\n"
           "  --read              read the first MsgBox call of Visual Basic code instead\n"
           "  --code-file PATH    the code to read; - or none reads standard input\n"
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
           "--read understands string literals joined with & or +, the constants vbCrLf,\n"
           "vbCr, vbLf, vbNewLine, vbTab, vbNullChar and vbNullString, Chr and ChrW of a\n"
           "number, and buttons as a number or a sum (+, Or) of numbers and message box\n"
           "constants. It writes {\"title\", \"text\", \"icon\", \"buttons\", \"default\",\n"
           "\"system-modal\", \"help-button\", \"right\", \"rtl\", \"constants\"} as the options\n"
           "above take them, \"style\" (the buttons argument's value) and \"ignored\" (the\n"
           "parts of it and the arguments that these options cannot give). The code must be\n"
           "UTF-8 (convert a code page 1251 module with iconv first), at most " +
           std::to_string(longestCode) +
           "\n"
           "bytes; code that cannot be read gives its line and column on standard error.\n"
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
        return {exitSuccess,
                options.read ? readCode(options, standardInput) : generate(options, standardInput),
                {}};
    } catch (const BadInput& bad) {
        return failure(bad);
    }
}

} // namespace cli
