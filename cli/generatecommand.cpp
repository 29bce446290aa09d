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

// A user's value inside a message: control characters would break the one line, and a long
// value would drown it.
std::string quoted(std::string_view value) {
    constexpr std::size_t longest = 60;
    std::string out = "'";
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto byte = static_cast<unsigned char>(value[i]);
        if (i >= longest && (byte & 0xC0) != 0x80) {
            out += "...";
            break;
        }
        out += byte < 0x20 || byte == 0x7F ? '?' : value[i];
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
    long long number = 0;
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, number);
    if (value.empty() || stop != end ||
        (error != std::errc{} && error != std::errc::result_out_of_range))
        throw BadInput{"--buttons takes a button-set number from 0 to 5, not " + quoted(value)};
    if (error == std::errc::result_out_of_range || number < 0 ||
        number >= static_cast<long long>(codegen::buttonSetCount))
        throw BadInput{"button set " + quoted(value) + " is outside 0 to 5"};
    return static_cast<std::int16_t>(number);
}

enum class Action { Generate, Help, Version };

// Reads the arguments left to right; --help and --version answer at once.
Action parseArguments(const std::vector<std::string>& args, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view name = args[i];
        std::optional<std::string_view> attached; // --name=value
        if (name.starts_with("--")) {
            if (const std::size_t eq = name.find('='); eq != std::string_view::npos) {
                attached = name.substr(eq + 1);
                name = name.substr(0, eq);
            }
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
            return name == "--help" ? Action::Help : Action::Version;
        }
        if (name == "--title")
            options.title = value();
        else if (name == "--text")
            options.text = value();
        else if (name == "--text-file")
            options.textFile = value();
        else if (name == "--icon")
            options.iconValue = parseIcon(value());
        else if (name == "--buttons")
            options.buttonSet = parseButtonSet(value());
        else if (name.starts_with("-") && name != "-")
            throw BadInput{"unknown option " + quoted(name) + " (see --help)"};
        else
            throw BadInput{"unexpected argument " + quoted(name) + " (see --help)"};
    }
    if (options.text && options.textFile)
        throw BadInput{"--text and --text-file cannot be used together"};
    return Action::Generate;
}

std::string readFile(const std::string& path) {
    const auto fail = [&] {
        return BadInput{"cannot read " + quoted(path) + ": " + std::strerror(errno)};
    };
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file)
        throw fail();
    std::string bytes;
    char buffer[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.append(buffer, got);
    if (std::ferror(file.get()))
        throw fail();
    return bytes;
}

std::string readAll(std::istream& in) {
    std::ostringstream bytes;
    if (in.peek() != std::istream::traits_type::eof())
        bytes << in.rdbuf();
    if (in.bad())
        throw BadInput{"cannot read standard input"};
    return std::move(bytes).str();
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
        msg.text = checkedUtf16(readAll(standardInput), "the text from standard input");
    else if (options.textFile)
        msg.text =
            checkedUtf16(readFile(*options.textFile), "the text in " + quoted(*options.textFile));
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
           "the last one counts. Title and text must be UTF-8; line breaks in them (CR LF,\n"
           "CR or LF) become vbCrLf, vbCr or vbLf.\n"
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
