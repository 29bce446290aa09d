#include "codegen/messagereader.h"

#include "codegen/buttonsets.h"
#include "codegen/codepage1251.h"

#include <array>
#include <cstdint>
#include <limits>
#include <optional>

namespace codegen {

namespace {

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}
bool isLineEnd(char16_t c) {
    return c == u'\r' || c == u'\n';
}
bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
int hexDigit(char16_t c) {
    return isDigit(c)                                 ? c - u'0'
           : (c | 0x20) >= u'a' && (c | 0x20) <= u'f' ? (c | 0x20) - u'a' + 10
                                                      : -1;
}
// Letters of any alphabet may stand in a name (a Cyrillic variable, say).
bool isWordChar(char16_t c) {
    return isDigit(c) || ((c | 0x20) >= u'a' && (c | 0x20) <= u'z') || c == u'_' || c >= 0x80;
}
// Visual Basic's names ignore letter case.
bool sameWord(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && (a[i] | 0x20) != (b[i] | 0x20))
            return false;
    return true;
}

// A whole number with its Visual Basic type: Integer (16 bits) unless Long (32 bits).
struct Number {
    std::int64_t value = 0;
    bool isLong = false;
};

std::optional<Number> typed(std::int64_t value, bool isLong) {
    const std::int64_t low = isLong ? std::numeric_limits<std::int32_t>::min() : -32768,
                       high = isLong ? std::numeric_limits<std::int32_t>::max() : 32767;
    if (value < low || value > high)
        return std::nullopt;
    return Number{value, isLong};
}

enum class Kind { End, LineEnd, Comment, String, Word, Number, Symbol, Unclosed };

struct Token {
    Kind kind = Kind::End;
    std::size_t start = 0, end = 0;
    std::u16string string;        // a String's value
    std::optional<Number> number; // a Number's value; nothing when malformed or out of range
    bool outOfRange = false;      // a Number too large for a Long
};

bool isSymbol(const Token& t, char16_t c) {
    return t.kind == Kind::Symbol && t.end == t.start + 1 && t.string[0] == c;
}

class Lexer {
public:
    explicit Lexer(std::u16string_view s) : m_s(s) {}

    std::size_t position() const { return m_i; }
    void seek(std::size_t i) { m_i = i; }

    // The next token; spaces, tabs and line continuations are skipped.
    Token next() {
        skipBlanks();
        Token t;
        t.start = m_i;
        if (m_i == m_s.size()) {
            t.end = m_i;
            return t;
        }
        const char16_t c = m_s[m_i];
        if (isLineEnd(c)) {
            t.kind = Kind::LineEnd;
            m_i = pastLineEnd(m_i);
        } else if (c == u'\'') {
            t.kind = Kind::Comment;
            skipComment();
        } else if (c == u'"') {
            t.kind = stringLiteral(t.string) ? Kind::String : Kind::Unclosed;
        } else if (isDigit(c) || (c == u'&' && m_i + 2 < m_s.size() &&
                                  (m_s[m_i + 1] | 0x20) == u'h' && hexDigit(m_s[m_i + 2]) >= 0)) {
            t.kind = Kind::Number;
            number(t);
        } else if (isWordChar(c)) {
            t.kind = Kind::Word;
            while (m_i < m_s.size() && isWordChar(m_s[m_i]))
                ++m_i;
            if (m_i < m_s.size() && m_s[m_i] == u'$')
                ++m_i;
            if (sameWord(m_s.substr(t.start, m_i - t.start), u"Rem")) {
                t.kind = Kind::Comment;
                skipComment();
            }
        } else {
            t.kind = Kind::Symbol;
            t.string.assign(1, c);
            ++m_i;
        }
        t.end = m_i;
        return t;
    }

private:
    std::size_t pastLineEnd(std::size_t i) const {
        return i + (m_s.substr(i, 2) == u"\r\n" ? 2 : 1);
    }

    // A line ends at i + 1 with " _", blanks allowed after it: where the line is continued.
    std::optional<std::size_t> continuationEnd(std::size_t i) const {
        if (m_s[i] != u'_' || i == 0 || !isBlank(m_s[i - 1]))
            return std::nullopt;
        std::size_t j = i + 1;
        while (j < m_s.size() && isBlank(m_s[j]))
            ++j;
        if (j == m_s.size() || !isLineEnd(m_s[j]))
            return std::nullopt;
        return pastLineEnd(j);
    }

    void skipBlanks() {
        while (m_i < m_s.size()) {
            if (isBlank(m_s[m_i]))
                ++m_i;
            else if (const auto next = continuationEnd(m_i))
                m_i = *next;
            else
                return;
        }
    }

    // To the end of the line; a continued comment goes on on the next line, as in the editor.
    void skipComment() {
        for (;;) {
            std::size_t end = m_i;
            while (end < m_s.size() && !isLineEnd(m_s[end]))
                ++end;
            std::size_t last = end;
            while (last > m_i && isBlank(m_s[last - 1]))
                --last;
            if (last > m_i && end < m_s.size() && continuationEnd(last - 1)) {
                m_i = pastLineEnd(end);
            } else {
                m_i = end;
                return;
            }
        }
    }

    // "" stands for one quotation mark; a literal ends on its line.
    bool stringLiteral(std::u16string& value) {
        for (++m_i; m_i < m_s.size() && !isLineEnd(m_s[m_i]); ++m_i) {
            if (m_s[m_i] == u'"') {
                if (m_i + 1 == m_s.size() || m_s[m_i + 1] != u'"') {
                    ++m_i;
                    return true;
                }
                ++m_i;
            }
            value += m_s[m_i];
        }
        return false;
    }

    // Decimal digits or &H and hexadecimal ones, each perhaps with the Long suffix &. A hexadecimal
    // number up to &HFFFF without it is an Integer, so &HFFFF is -1.
    void number(Token& t) {
        const bool hex = m_s[m_i] == u'&';
        m_i += hex ? 2 : 0;
        std::uint64_t value = 0;
        for (; m_i < m_s.size() && (hex ? hexDigit(m_s[m_i]) >= 0 : isDigit(m_s[m_i])); ++m_i) {
            value = value * (hex ? 16 : 10) +
                    static_cast<unsigned>(hex ? hexDigit(m_s[m_i]) : m_s[m_i] - u'0');
            t.outOfRange = t.outOfRange || value > (hex ? 0xFFFFFFFFu : 0x7FFFFFFFu);
            value = std::min<std::uint64_t>(value, 1ull << 33);
        }
        const bool suffix = m_i < m_s.size() && m_s[m_i] == u'&';
        m_i += suffix;
        if (m_i < m_s.size() && (isWordChar(m_s[m_i]) || m_s[m_i] == u'.')) {
            while (m_i < m_s.size() && (isWordChar(m_s[m_i]) || m_s[m_i] == u'.'))
                ++m_i;
            t.outOfRange = false; // malformed: 1.5, 1e3, 12abc
            return;
        }
        if (t.outOfRange)
            return;
        if (!hex)
            t.number = typed(static_cast<std::int64_t>(value), suffix || value > 32767);
        else if (!suffix && value <= 0xFFFF)
            t.number = Number{static_cast<std::int16_t>(value), false};
        else
            t.number = Number{static_cast<std::int32_t>(value), true};
    }

    std::u16string_view m_s;
    std::size_t m_i = 0;
};

// What was expected where reading failed, in English and in Russian.
enum class Want { Call, String, Style, ChrCode, Open, Close, CommaOrClose, CommaOrEnd, End };

struct Text {
    std::u16string_view english, russian;
};

constexpr std::array<Text, 9> wanted{{
    {u"a MsgBox call", u"вызов MsgBox"},
    {u"a string (a literal, a constant such as vbCrLf, or Chr or ChrW of a number)",
     u"текст в кавычках, константа вроде vbCrLf или Chr, ChrW от числа"},
    {u"a number or a message box constant such as vbYesNo",
     u"число или константа окна сообщения вроде vbYesNo"},
    {u"a character code (a decimal or &H number)", u"код символа (десятичное число или &H)"},
    {u"\"(\"", u"«(»"},
    {u"\")\"", u"«)»"},
    {u"\",\" or \")\"", u"«,» или «)»"},
    {u"\",\" or the end of the statement", u"«,» или конец инструкции"},
    {u"the end of the statement", u"конец инструкции"},
}};

// Thrown inside the reader, caught by readMessageCode.
struct Failure {
    std::size_t at = 0;
    std::u16string english, russian;
};

// The string constants a prompt or title may use.
struct StringConstant {
    std::u16string_view name, value;
};
constexpr std::array<StringConstant, 7> stringConstants{{
    {u"vbCrLf", u"\r\n"},
    {u"vbNewLine", u"\r\n"},
    {u"vbCr", u"\r"},
    {u"vbLf", u"\n"},
    {u"vbTab", u"\t"},
    {u"vbNullChar", std::u16string_view(u"\0", 1)},
    {u"vbNullString", u""},
}};

struct Arguments {
    std::u16string prompt, title;
    Number style;
    bool constants = false; // the style names a constant
    bool helpFile = false, context = false;
};

class Parser {
public:
    explicit Parser(std::u16string_view code) : m_code(code), m_lex(code) {}

    Arguments read() {
        for (Token t = take(); !(t.kind == Kind::Word && sameWord(text(t), u"MsgBox")); t = take())
            if (t.kind == Kind::End)
                fail(t, Want::Call);
        const std::size_t after = m_lex.position();
        if (!isSymbol(peek(), u'('))
            return arguments(false);
        // A call, or a statement whose prompt starts with a parenthesis: MsgBox ("a") & "b", 1.
        // Of two failures the one that read further names the fault.
        Failure callFailure;
        try {
            take();
            Arguments call = arguments(true);
            if (!isSymbol(peek(), u',') && !isSymbol(peek(), u'&') && !isSymbol(peek(), u'+'))
                return call;
            seek(after);
            try {
                return arguments(false);
            } catch (const Failure&) {
                return call;
            }
        } catch (const Failure& failure) {
            callFailure = failure;
        }
        seek(after);
        try {
            return arguments(false);
        } catch (const Failure& failure) {
            throw failure.at > callFailure.at ? failure : callFailure;
        }
    }

private:
    const Token& peek() {
        if (!m_peeked) {
            const std::size_t here = m_lex.position();
            m_peeked = m_lex.next();
            m_afterPeeked = m_lex.position();
            m_lex.seek(here);
        }
        return *m_peeked;
    }
    Token take() {
        peek();
        Token t = std::move(*m_peeked);
        m_peeked.reset();
        m_lex.seek(m_afterPeeked);
        return t;
    }
    void seek(std::size_t i) {
        m_peeked.reset();
        m_lex.seek(i);
    }
    std::u16string_view text(const Token& t) const {
        return m_code.substr(t.start, t.end - t.start);
    }

    [[noreturn]] void fail(const Token& t, Want want) const {
        std::u16string english, russian;
        switch (t.kind) {
        case Kind::End:
            english = u"the end of the code", russian = u"конец кода";
            break;
        case Kind::LineEnd:
            english = u"the end of the line", russian = u"конец строки";
            break;
        case Kind::Comment:
            english = u"a comment", russian = u"комментарий";
            break;
        case Kind::Unclosed:
            english = u"a string literal not closed on its line", russian = u"незакрытые кавычки";
            break;
        default:
            english = u"\"" + shortText(t) + u"\"", russian = u"«" + shortText(t) + u"»";
        }
        const Text& w = wanted[static_cast<std::size_t>(want)];
        throw Failure{t.start, u"expected " + std::u16string(w.english) + u", found " + english,
                      u"ожидается " + std::u16string(w.russian) + u"; найдено: " + russian};
    }
    [[noreturn]] void failRange(std::size_t at, std::u16string_view what) const {
        const std::u16string found(what);
        throw Failure{at, u"number out of range: \"" + found + u"\"",
                      u"число вне допустимых пределов: «" + found + u"»"};
    }
    std::u16string shortText(const Token& t) const {
        const std::u16string_view s = text(t);
        return s.size() <= 40 ? std::u16string(s) : std::u16string(s.substr(0, 40)) + u"…";
    }

    // Parentheses inside an argument, each a level of the reader's recursion: bounded, so that
    // no input runs the stack out.
    class Nesting {
    public:
        Nesting(Parser& parser, const Token& open) : m_parser(parser) {
            if (++m_parser.m_depth > 64)
                throw Failure{open.start, u"parentheses nested more than 64 deep",
                              u"скобки вложены глубже 64 уровней"};
        }
        ~Nesting() { --m_parser.m_depth; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        Parser& m_parser;
    };

    Token expect(char16_t symbol, Want want) {
        Token t = take();
        if (!isSymbol(t, symbol))
            fail(t, want);
        return t;
    }

    static bool endsStatement(const Token& t) {
        return t.kind == Kind::End || t.kind == Kind::LineEnd || t.kind == Kind::Comment ||
               isSymbol(t, u':');
    }
    bool closes(const Token& t, bool parens) const {
        return parens ? isSymbol(t, u')')
                      : endsStatement(t) || (t.kind == Kind::Word && sameWord(text(t), u"Else"));
    }

    // Prompt, Buttons, Title, HelpFile, Context: all but the prompt may be left out.
    Arguments arguments(bool parens) {
        Arguments a;
        m_constants = false;
        if (isSymbol(peek(), u',') || closes(peek(), parens))
            fail(peek(), Want::String);
        a.prompt = stringExpression();
        for (int k = 1; isSymbol(peek(), u','); ++k) {
            const Token comma = take();
            if (k == 5)
                fail(comma, parens ? Want::Close : Want::End);
            if (isSymbol(peek(), u',') || closes(peek(), parens))
                continue;
            if (k == 1)
                a.style = styleExpression();
            else if (k == 2)
                a.title = stringExpression();
            else
                skipArgument(parens);
            a.helpFile = a.helpFile || k == 3;
            a.context = a.context || k == 4;
        }
        const Token end = parens ? take() : peek();
        if (!closes(end, parens))
            fail(end, parens ? Want::CommaOrClose : Want::CommaOrEnd);
        a.constants = m_constants;
        return a;
    }

    // The help file and context are not kept, so any expression will do there.
    void skipArgument(bool parens) {
        for (int depth = 0;;) {
            const Token& t = peek();
            if (depth == 0 && (isSymbol(t, u',') || closes(t, parens)))
                return;
            if (t.kind == Kind::End || t.kind == Kind::LineEnd || t.kind == Kind::Comment ||
                t.kind == Kind::Unclosed)
                fail(t, Want::CommaOrClose);
            depth += isSymbol(t, u'(') - isSymbol(t, u')');
            take();
        }
    }

    std::u16string stringExpression() {
        std::u16string value = stringTerm();
        while (isSymbol(peek(), u'&') || isSymbol(peek(), u'+')) {
            take();
            value += stringTerm();
        }
        return value;
    }

    std::u16string stringTerm() {
        const Token t = take();
        if (t.kind == Kind::String)
            return t.string;
        if (isSymbol(t, u'(')) {
            const Nesting nesting(*this, t);
            std::u16string value = stringExpression();
            expect(u')', Want::Close);
            return value;
        }
        if (t.kind == Kind::Word) {
            const std::u16string_view name = text(t);
            for (const StringConstant& c : stringConstants)
                if (sameWord(name, c.name))
                    return std::u16string(c.value);
            for (const std::u16string_view chr : {u"Chr", u"Chr$", u"ChrW", u"ChrW$"})
                if (sameWord(name, chr))
                    return character(t, name.size() >= 4 && (name[3] | 0x20) == u'w');
        }
        fail(t, Want::String);
    }

    // Chr takes a byte of code page 1251, ChrW a UTF-16 unit (negative ones counting from 65536).
    std::u16string character(const Token& name, bool wide) {
        expect(u'(', Want::Open);
        const Number code = signedNumber(Want::ChrCode);
        const Token close = expect(u')', Want::Close);
        const std::u16string call(m_code.substr(name.start, close.end - name.start));
        std::optional<char16_t> c;
        if (wide && code.value >= -32768 && code.value <= 65535)
            c = static_cast<char16_t>(code.value & 0xFFFF);
        else if (!wide && code.value >= 0 && code.value <= 255)
            c = fromCodePage1251(static_cast<unsigned char>(code.value));
        if (!c)
            throw Failure{name.start, u"no character has the code of \"" + call + u"\"",
                          u"нет символа с кодом из «" + call + u"»"};
        return std::u16string(1, *c);
    }

    // A number, perhaps negated.
    Number signedNumber(Want want) {
        const Token first = take();
        const bool negative = isSymbol(first, u'-');
        const Token t = negative ? take() : first;
        if (t.kind != Kind::Number || !t.number) {
            if (t.outOfRange)
                failRange(t.start, text(t));
            fail(t, want);
        }
        if (!negative)
            return *t.number;
        const auto negated = typed(-t.number->value, t.number->isLong);
        if (!negated)
            failRange(first.start, m_code.substr(first.start, t.end - first.start));
        return *negated;
    }

    // Sums joined by Or; + binds closer. An Integer sum leaving 16 bits overflows, as it does
    // in Visual Basic.
    Number styleExpression() {
        Number value = styleSum();
        while (peek().kind == Kind::Word && sameWord(text(peek()), u"Or")) {
            take();
            const Number right = styleSum();
            value = {value.value | right.value, value.isLong || right.isLong};
        }
        return value;
    }

    Number styleSum() {
        Number value = styleTerm();
        while (isSymbol(peek(), u'+')) {
            const Token plus = take();
            const Number right = styleTerm();
            const auto sum = typed(value.value + right.value, value.isLong || right.isLong);
            if (!sum)
                throw Failure{plus.start,
                              u"overflow: the sum leaves the range of its type "
                              u"(Integer or Long)",
                              u"переполнение: сумма выходит за пределы своего типа (Integer или "
                              u"Long)"};
            value = *sum;
        }
        return value;
    }

    Number styleTerm() {
        const Token& t = peek();
        if (isSymbol(t, u'(')) {
            const Nesting nesting(*this, take());
            const Number value = styleExpression();
            expect(u')', Want::Close);
            return value;
        }
        if (t.kind == Kind::Word) {
            for (const StyleConstant& c : styleConstants())
                if (sameWord(text(t), c.name)) {
                    take();
                    m_constants = true;
                    return {c.value, true};
                }
        }
        return signedNumber(Want::Style);
    }

    std::u16string_view m_code;
    Lexer m_lex;
    std::optional<Token> m_peeked;
    std::size_t m_afterPeeked = 0;
    bool m_constants = false;
    int m_depth = 0;
};

// Line and column of code[at], counting from 1; a surrogate pair is one column.
std::pair<std::size_t, std::size_t> lineAndColumn(std::u16string_view code, std::size_t at) {
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < at && i < code.size(); ++i) {
        if (code[i] == u'\n' || (code[i] == u'\r' && code.substr(i, 2) != u"\r\n")) {
            ++line;
            column = 1;
        } else if (code[i] != u'\r' && !(code[i] >= 0xDC00 && code[i] <= 0xDFFF && i > 0 &&
                                         code[i - 1] >= 0xD800 && code[i - 1] <= 0xDBFF)) {
            ++column;
        }
    }
    return {line, column};
}

std::u16string decimal(std::size_t n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

} // namespace

ReadResult readMessageCode(std::u16string_view code) {
    Arguments a;
    try {
        a = Parser(code).read();
    } catch (const Failure& failure) {
        const auto [line, column] = lineAndColumn(code, failure.at);
        return ReadError{line, column, failure.english, failure.russian};
    }
    MessageReading r;
    StyleSplit split = splitStyle(static_cast<std::int32_t>(a.style.value));
    r.message = composeMessage(std::move(a.title), std::move(a.prompt), split.parts, a.constants);
    r.message.styleValue = static_cast<std::int32_t>(a.style.value);
    r.parts = split.parts;
    r.ignored = std::move(split.ignored);
    if (a.helpFile)
        r.ignored.emplace_back("HelpFile");
    if (a.context)
        r.ignored.emplace_back("Context");
    return r;
}

std::u16string readErrorText(const ReadError& error) {
    return u"Код не удалось прочитать: строка " + decimal(error.line) + u", столбец " +
           decimal(error.column) + u": " + error.whatRussian + u".";
}

std::u16string ignoredPartsText(const std::vector<std::string>& ignored) {
    std::u16string list;
    for (const std::string& name : ignored) {
        list += list.empty() ? u"" : u", ";
        list += name == "HelpFile"  ? u"файл справки (HelpFile)"
                : name == "Context" ? u"раздел справки (Context)"
                                    : std::u16string(name.begin(), name.end());
    }
    return u"Окно не сохранит из этого кода: " + list + u".";
}

} // namespace codegen
