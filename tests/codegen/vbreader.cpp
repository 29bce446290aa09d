#include "vbreader.h"

#include <iconv.h>

namespace vbreader {

namespace {

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
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
                std::size_t end = i; // upper-case digits, no leading zeros
                while (end < s.size() && (isDigit(s[end]) || (s[end] >= u'A' && s[end] <= u'F')))
                    ++end;
                if (end == i || end > i + 4 || (s[i] == u'0' && end > i + 1))
                    return false;
                const auto unit = static_cast<char16_t>(
                    std::stoul(std::string(s.begin() + i, s.begin() + end), nullptr, 16));
                i = end;
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

    bool number(long& value) {
        const bool negative = take(u"-");
        const std::size_t start = i;
        for (value = 0; i < s.size() && isDigit(s[i]); ++i)
            value = value * 10 + (s[i] - u'0');
        value = negative ? -value : value;
        return i > start;
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
        if (lines.back().find_first_of(u"\r\n") != std::u16string_view::npos)
            return fail("raw CR or LF outside a CR LF line break");
        // The editor holds one byte of code page 1251 per character.
        if (!editorKeeps(lines.back()))
            return fail("character the editor cannot hold");
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
        !p.number(r.styleValue) || !p.take(u",") || !p.expression(r.title) ||
        (r.selectCase && !p.take(u")")) || (p.take(u""), p.i != statement.size()))
        return fail("statement does not parse");
    if (!r.selectCase)
        return next == lines.size() ? r : fail("lines after the MsgBox statement");
    // Case lines, each followed by a line holding one tab, then End Select as the last line.
    for (; next + 1 < lines.size(); next += 2) {
        const auto line = lines[next];
        if (line.size() < 9 || !line.starts_with(u"Case ") || line.substr(6, 3) != u" ' " ||
            lines[next + 1] != u"\t")
            return fail("malformed Case line");
        r.cases.push_back({line[5], std::u16string(line.substr(9))});
    }
    return next + 1 == lines.size() && lines[next] == u"End Select"
               ? r
               : fail("block does not end with End Select");
}

} // namespace vbreader
