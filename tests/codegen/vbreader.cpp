#include "vbreader.h"

namespace vbreader {

namespace {

struct Token {
    enum Kind { String, Name, Number, Punct } kind;
    std::u16string value;
};

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool isWordChar(char16_t c) {
    return isDigit(c) || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Lexes one physical line onto `tokens`; `continues` tells whether it ends in " _".
std::string lexLine(std::u16string_view line, std::vector<Token>& tokens, bool& continues) {
    continues = false;
    for (std::size_t i = 0; i < line.size();) {
        const char16_t c = line[i];
        if (c == u' ') {
            ++i;
        } else if (c == u'"') {
            std::u16string value;
            for (++i;; ++i) {
                if (i == line.size())
                    return "string literal not closed on its line";
                if (line[i] == u'"' && (i + 1 == line.size() || line[i + 1] != u'"'))
                    break;
                if (line[i] == u'"')
                    ++i; // "" stands for one quotation mark
                value += line[i];
            }
            ++i;
            tokens.push_back({Token::String, std::move(value)});
        } else if (c == u'_') {
            if (i == 0 || line[i - 1] != u' ' || i + 1 != line.size())
                return "_ that is not a line continuation";
            continues = true;
            return {};
        } else if (std::u16string_view(u"&,()-").find(c) != std::u16string_view::npos) {
            tokens.push_back({Token::Punct, std::u16string(1, c)});
            ++i;
        } else if (isWordChar(c)) {
            const bool number = isDigit(c);
            std::size_t j = i;
            while (j < line.size() && (number ? isDigit(line[j]) : isWordChar(line[j])))
                ++j;
            tokens.push_back(
                {number ? Token::Number : Token::Name, std::u16string(line.substr(i, j - i))});
            i = j;
        } else {
            return "unexpected character outside a string literal";
        }
    }
    return {};
}

struct Parser {
    const std::vector<Token>& tokens;
    std::size_t pos = 0;

    bool accept(Token::Kind kind, std::u16string_view value) {
        if (pos == tokens.size() || tokens[pos].kind != kind || tokens[pos].value != value)
            return false;
        ++pos;
        return true;
    }

    // term { & term }, where a term is a string literal or one of the line-break constants.
    bool expression(std::u16string& value) {
        do {
            if (pos == tokens.size())
                return false;
            const Token& t = tokens[pos++];
            if (t.kind == Token::String)
                value += t.value;
            else if (t.kind == Token::Name && t.value == u"vbCrLf")
                value += u"\r\n";
            else if (t.kind == Token::Name && (t.value == u"vbCr" || t.value == u"vbLf"))
                value += t.value == u"vbCr" ? u'\r' : u'\n';
            else
                return false;
        } while (accept(Token::Punct, u"&"));
        return true;
    }

    bool number(long& value) {
        const bool negative = accept(Token::Punct, u"-");
        if (pos == tokens.size() || tokens[pos].kind != Token::Number)
            return false;
        value = 0;
        for (const char16_t d : tokens[pos++].value)
            value = value * 10 + (d - u'0');
        value = negative ? -value : value;
        return true;
    }
};

} // namespace

std::size_t codePoints(std::u16string_view s) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); ++i, ++count)
        if ((s[i] & 0xFC00) == 0xD800 && i + 1 < s.size() && (s[i + 1] & 0xFC00) == 0xDC00)
            ++i;
    return count;
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
    std::size_t start = 0;
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (code[i] == u'\r' && i + 1 < code.size() && code[i + 1] == u'\n') {
            lines.push_back(code.substr(start, i - start));
            start = ++i + 1;
        } else if (code[i] == u'\r' || code[i] == u'\n') {
            return fail("raw CR or LF outside a CR LF line break");
        }
    }
    lines.push_back(code.substr(start));
    for (const auto line : lines)
        if (codePoints(line) > 1023)
            return fail("physical line longer than 1023 characters");

    std::vector<Token> tokens;
    std::size_t next = 0;
    for (bool continues = true; continues; ++next) {
        if (next == lines.size())
            return fail("continuation on the last line");
        r.statementLines.emplace_back(lines[next]);
        r.error = lexLine(lines[next], tokens, continues);
        if (!r.error.empty())
            return r;
    }
    if (r.statementLines.size() > 25)
        return fail("more than 24 line continuations");

    Parser p{tokens};
    r.selectCase = p.accept(Token::Name, u"Select");
    const bool head = r.selectCase
                          ? p.accept(Token::Name, u"Case") && p.accept(Token::Name, u"MsgBox") &&
                                p.accept(Token::Punct, u"(")
                          : p.accept(Token::Name, u"MsgBox");
    if (!head || !p.expression(r.text) || !p.accept(Token::Punct, u",") ||
        !p.number(r.styleValue) || !p.accept(Token::Punct, u",") || !p.expression(r.title) ||
        (r.selectCase && !p.accept(Token::Punct, u")")) || p.pos != tokens.size())
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
