#include "vbreader.h"

#include <iconv.h>
#include <map>
#include <optional>

namespace vbreader {

namespace {

// The value of a message-box constant as documented, or nothing.
std::optional<long> constant(std::string_view name) {
    // clang-format off
    static const std::map<std::string_view, long> values{
        {"vbOKOnly", 0}, {"vbOKCancel", 1}, {"vbAbortRetryIgnore", 2}, {"vbYesNoCancel", 3},
        {"vbYesNo", 4}, {"vbRetryCancel", 5}, {"vbCritical", 16}, {"vbQuestion", 32},
        {"vbExclamation", 48}, {"vbInformation", 64}, {"vbDefaultButton2", 256},
        {"vbDefaultButton3", 512}, {"vbDefaultButton4", 768}, {"vbSystemModal", 4096},
        {"vbMsgBoxHelpButton", 16384}, {"vbMsgBoxSetForeground", 65536},
        {"vbMsgBoxRight", 524288}, {"vbMsgBoxRtlReading", 1048576}, {"vbOK", 1}, {"vbCancel", 2},
        {"vbAbort", 3}, {"vbRetry", 4}, {"vbIgnore", 5}, {"vbYes", 6}, {"vbNo", 7}};
    // clang-format on
    const auto it = values.find(name);
    return it == values.end() ? std::nullopt : std::optional(it->second);
}

// The statement with each line continuation as '\n', which may stand wherever a space may.
struct Cursor {
    std::u16string_view s;
    std::size_t i = 0;

    bool take(std::u16string_view word) {
        while (i < s.size() && (s[i] == u' ' || s[i] == u'\n'))
            ++i;
        if (!s.substr(i).starts_with(word))
            return false;
        i += word.size();
        return true;
    }

    // term { & term }: a string literal, a line-break constant or ChrW$(&HXXXX).
    bool expression(std::u16string& value) {
        do {
            if (take(u"\"")) {
                for (;; value += s[i++]) {
                    if (i == s.size() || s[i] == u'\n')
                        return false;
                    if (s[i] == u'"' && s.substr(i++, 2) != u"\"\"") // "" stands for one
                        break;
                }
            } else if (take(u"vbCrLf")) {
                value += u"\r\n";
            } else if (take(u"vbCr") || take(u"vbLf")) {
                value += s[i - 1] == u'r' ? u'\r' : u'\n';
            } else if (take(u"ChrW$") && take(u"(") && take(u"&H")) {
                const std::string hex = digits(u"0123456789ABCDEF"); // no leading zeros
                if (hex.empty() || hex.size() > 4 || (hex[0] == '0' && hex.size() > 1))
                    return false;
                const auto unit = static_cast<char16_t>(std::stoul(hex, nullptr, 16));
                // Only what a literal cannot hold; a line break has its own constant.
                if (editorKeeps({&unit, 1}) || unit == u'\r' || unit == u'\n' || !take(u")"))
                    return false;
                value += unit;
            } else {
                return false;
            }
        } while (take(u"&"));
        return true;
    }

    // The characters of `set` from here on.
    std::string digits(std::u16string_view set) {
        const std::size_t end = std::min(s.find_first_not_of(set, i), s.size());
        std::string out(s.begin() + i, s.begin() + end);
        i = end;
        return out;
    }

    bool number(long& value) {
        const bool negative = take(u"-");
        const std::string decimal = digits(u"0123456789");
        value = decimal.empty() ? 0 : (negative ? -1 : 1) * std::stol(decimal);
        return !decimal.empty();
    }

    // A number, or message-box constants joined by " + ".
    bool style(long& value) {
        if (number(value))
            return true;
        do {
            take(u"");
            const auto name =
                constant(digits(u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
            if (!name)
                return false;
            value += *name;
        } while (take(u"+"));
        return true;
    }
};

} // namespace

bool editorKeeps(std::u16string_view line) {
    for (const char16_t c : line)
        if ((c < 0x20 && c != u'\t') || c == 0x7F)
            return false;
    static const iconv_t toCodePage1251 = iconv_open("CP1251", "UTF-16LE");
    auto* in = reinterpret_cast<char*>(const_cast<char16_t*>(line.data()));
    std::string bytes(line.size(), '\0');
    char* out = bytes.data();
    std::size_t inLeft = 2 * line.size(), outLeft = bytes.size();
    iconv(toCodePage1251, nullptr, nullptr, nullptr, nullptr);
    return iconv(toCodePage1251, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1);
}

Reading read(std::u16string_view code) {
    Reading r;
    const auto fail = [&r](const char* error) {
        r.error = error;
        return r;
    };
    // Visual Basic ends a line at CR LF, and at a lone CR or LF too; the generator must write
    // only the first.
    std::vector<std::u16string_view> lines;
    for (std::size_t start = 0, end = 0; end != std::u16string_view::npos; start = end + 2) {
        end = code.find(u"\r\n", start);
        lines.push_back(code.substr(start, end == code.npos ? code.npos : end - start));
        // The editor holds one byte of code page 1251 per character; no CR or LF stands alone.
        if (!editorKeeps(lines.back()))
            return fail("raw CR or LF, or a character the editor cannot hold");
        if (lines.back().size() > 1023)
            return fail("physical line longer than 1023 characters");
    }

    std::u16string statement;
    std::size_t next = 0;
    for (bool continues = true; continues; ++next) {
        if (next == lines.size())
            return fail("continuation on the last line");
        const auto line = lines[next];
        r.statementLines.emplace_back(line);
        continues = line.ends_with(u" _");
        statement.append(line.substr(0, line.size() - continues)).append(continues, u'\n');
    }
    if (r.statementLines.size() > 25)
        return fail("more than 24 line continuations");
    Cursor p{statement};
    r.selectCase = p.take(u"Select Case MsgBox (");
    if (!(r.selectCase || p.take(u"MsgBox")) || !p.expression(r.text) || !p.take(u",") ||
        !p.style(r.styleValue) || !p.take(u",") || !p.expression(r.title) ||
        (r.selectCase && !p.take(u")")) || (p.take(u""), p.i != statement.size()))
        return fail("statement does not parse");
    if (!r.selectCase)
        return next == lines.size() ? r : fail("lines after the MsgBox statement");
    // Case lines, each followed by a line holding one tab, then End Select as the last line.
    for (; next + 1 < lines.size(); next += 2) {
        const auto line = lines[next];
        const std::size_t comment = line.find(u" ' ");
        if (!line.starts_with(u"Case ") || comment == line.npos || comment < 5 ||
            lines[next + 1] != u"\t")
            return fail("malformed Case line");
        const std::string label(line.begin() + 5, line.begin() + comment);
        const auto answer = constant(label);
        if (label.size() != 1 && !answer)
            return fail("unknown answer in a Case line");
        r.caseCodes += label.size() == 1 ? label[0] : static_cast<char16_t>(u'0' + *answer);
    }
    return next + 1 == lines.size() && lines[next] == u"End Select"
               ? r
               : fail("block does not end with End Select");
}

} // namespace vbreader
