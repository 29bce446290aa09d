#include "vbreader.h"

namespace vbreader {

namespace {

constexpr std::size_t maxLineLength = 1023;
constexpr std::size_t maxContinuations = 24;

struct Token {
    enum Kind { String, Ampersand, Comma, Open, Close, Minus, Number, Name } kind;
    std::u16string value;
};

bool isLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Lexes one physical line onto `tokens`; `continues` tells whether it ends in " _".
std::string lexLine(std::u16string_view line, std::vector<Token>& tokens, bool& continues) {
    continues = false;
    std::size_t i = 0;
    while (i < line.size()) {
        const char16_t c = line[i];
        if (c == u' ') {
            ++i;
        } else if (c == u'"') {
            std::u16string value;
            for (++i;; ++i) {
                if (i >= line.size())
                    return "string literal not closed on its line";
                if (line[i] == u'"') {
                    if (i + 1 < line.size() && line[i + 1] == u'"')
                        ++i; // "" stands for one quotation mark
                    else
                        break;
                }
                value += line[i];
            }
            ++i;
            tokens.push_back({Token::String, value});
        } else if (c == u'_') {
            if (i == 0 || line[i - 1] != u' ' || i + 1 != line.size())
                return "_ that is not a line continuation";
            continues = true;
            return {};
        } else if (c == u'&' || c == u',' || c == u'(' || c == u')' || c == u'-') {
            const Token::Kind kind = c == u'&'   ? Token::Ampersand
                                     : c == u',' ? Token::Comma
                                     : c == u'(' ? Token::Open
                                     : c == u')' ? Token::Close
                                                 : Token::Minus;
            tokens.push_back({kind, {}});
            ++i;
        } else if (isDigit(c)) {
            std::size_t j = i;
            while (j < line.size() && isDigit(line[j]))
                ++j;
            tokens.push_back({Token::Number, std::u16string(line.substr(i, j - i))});
            i = j;
        } else if (isLetter(c)) {
            std::size_t j = i;
            while (j < line.size() && (isLetter(line[j]) || isDigit(line[j])))
                ++j;
            tokens.push_back({Token::Name, std::u16string(line.substr(i, j - i))});
            i = j;
        } else {
            return "unexpected character outside a string literal";
        }
    }
    return {};
}

class Parser {
public:
    explicit Parser(const std::vector<Token>& tokens) : m_tokens(tokens) {}

    bool name(std::u16string_view word) { return accept(Token::Name, word); }
    bool accept(Token::Kind kind, std::u16string_view value = {}) {
        if (m_pos < m_tokens.size() && m_tokens[m_pos].kind == kind &&
            (value.empty() || m_tokens[m_pos].value == value)) {
            ++m_pos;
            return true;
        }
        return false;
    }
    bool atEnd() const { return m_pos == m_tokens.size(); }

    // term { & term }, where a term is a string literal or one of the line-break constants.
    bool expression(std::u16string& value) {
        do {
            if (m_pos >= m_tokens.size())
                return false;
            const Token& t = m_tokens[m_pos++];
            if (t.kind == Token::String)
                value += t.value;
            else if (t.kind == Token::Name && t.value == u"vbCrLf")
                value += u"\r\n";
            else if (t.kind == Token::Name && t.value == u"vbCr")
                value += u'\r';
            else if (t.kind == Token::Name && t.value == u"vbLf")
                value += u'\n';
            else
                return false;
        } while (accept(Token::Ampersand));
        return true;
    }

    bool number(long& value) {
        const bool negative = accept(Token::Minus);
        if (m_pos >= m_tokens.size() || m_tokens[m_pos].kind != Token::Number)
            return false;
        value = 0;
        for (const char16_t d : m_tokens[m_pos++].value)
            value = value * 10 + (d - u'0');
        if (negative)
            value = -value;
        return true;
    }

private:
    const std::vector<Token>& m_tokens;
    std::size_t m_pos = 0;
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
    // Visual Basic ends a line at CR LF, and at a lone CR or LF too; the generator must write
    // only the first.
    std::vector<std::u16string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (code[i] == u'\r' && i + 1 < code.size() && code[i + 1] == u'\n') {
            lines.push_back(code.substr(start, i - start));
            start = ++i + 1;
        } else if (code[i] == u'\r' || code[i] == u'\n') {
            r.error = "raw CR or LF outside a CR LF line break";
            return r;
        }
    }
    lines.push_back(code.substr(start));
    for (const auto line : lines)
        if (codePoints(line) > maxLineLength) {
            r.error = "physical line longer than 1023 characters";
            return r;
        }

    std::vector<Token> tokens;
    std::size_t next = 0;
    for (bool continues = true; continues; ++next) {
        if (next == lines.size()) {
            r.error = "continuation on the last line";
            return r;
        }
        r.statementLines.emplace_back(lines[next]);
        r.error = lexLine(lines[next], tokens, continues);
        if (!r.error.empty())
            return r;
    }
    if (r.statementLines.size() - 1 > maxContinuations) {
        r.error = "more than 24 line continuations";
        return r;
    }

    Parser p(tokens);
    r.selectCase = p.name(u"Select");
    const bool head = r.selectCase ? p.name(u"Case") && p.name(u"MsgBox") && p.accept(Token::Open)
                                   : p.name(u"MsgBox");
    if (!head || !p.expression(r.text) || !p.accept(Token::Comma) || !p.number(r.styleValue) ||
        !p.accept(Token::Comma) || !p.expression(r.title) ||
        (r.selectCase && !p.accept(Token::Close)) || !p.atEnd()) {
        r.error = "statement does not parse";
        return r;
    }
    if (!r.selectCase) {
        if (next != lines.size())
            r.error = "lines after the MsgBox statement";
        return r;
    }
    // Case lines, each followed by a line holding one tab, then End Select as the last line.
    for (; next + 1 < lines.size(); next += 2) {
        const auto line = lines[next];
        if (line.size() < 9 || !line.starts_with(u"Case ") || line.substr(6, 3) != u" ' " ||
            lines[next + 1] != u"\t") {
            r.error = "malformed Case line";
            return r;
        }
        r.cases.push_back({line[5], std::u16string(line.substr(9))});
    }
    if (next + 1 != lines.size() || lines[next] != u"End Select")
        r.error = "block does not end with End Select";
    return r;
}

} // namespace vbreader
