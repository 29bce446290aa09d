#include "codegen/messagecode.h"

#include "codegen/buttonsets.h"
#include "codegen/codepage1251.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace codegen {

MessageTooLong::MessageTooLong()
    : std::runtime_error("message too long: its code would not fit in one Visual Basic statement, "
                         "which holds at most " +
                         std::to_string(maxStatementLines) + " lines of " +
                         std::to_string(maxSourceLineLength) + " characters") {}

std::u16string messageTooLongText() {
    // The numbers' Russian word forms ("строк", "символа") fit these two values only.
    static_assert(maxStatementLines == 25 && maxSourceLineLength == 1023);
    return u"Текст сообщения слишком длинный: его код не помещается в одну инструкцию Visual "
           u"Basic, а в ней не больше 25 строк по 1023 символа. Сократите текст и скопируйте код "
           u"снова.";
}

namespace {

// The line-break tokens: each ends the literal, names the break and opens a new literal.
constexpr std::u16string_view crLfToken = u"\" & vbCrLf & \"";
constexpr std::u16string_view crToken = u"\" & vbCr & \"";
constexpr std::u16string_view lfToken = u"\" & vbLf & \"";
constexpr std::size_t longestToken = crLfToken.size();
// Any other character a literal cannot hold: `" & ChrW$(&HE9) & "`, the hexadecimal part one to
// four digits.
constexpr std::u16string_view chrWHead = u"\" & ChrW$(&H";
constexpr std::u16string_view chrWTail = u") & \"";
constexpr std::size_t longestChrWToken = chrWHead.size() + 4 + chrWTail.size();

constexpr bool isMainCyrillic(char16_t c) {
    return c >= 0x0410 && c <= 0x044F;
}

// Whether `c` may stand as itself inside a string literal: the editor's code page holds it and
// it is no control character but Tab. (Quotation marks stand doubled; line breaks never stand.)
bool standsInLiteral(char16_t c) {
    if (c < 0x80)
        return c >= 0x20 ? c != 0x7F : c == u'\t';
    return isMainCyrillic(c) ||
           std::find(codePage1251High.begin(), codePage1251High.end(), c) != codePage1251High.end();
}

// What a scan over literal content stops at. StopUnusual is coarse: every unit but printable
// ASCII and the main Cyrillic letters, so that the common text runs on; the caller looks closer.
enum Stop : unsigned { StopQuote = 1, StopLineBreak = 2, StopUnusual = 4 };
constexpr unsigned StopLiteral = StopQuote | StopLineBreak | StopUnusual;

template <unsigned Stops> constexpr bool stopsAt(char16_t c) {
    return ((Stops & StopQuote) && c == u'"') ||
           ((Stops & StopLineBreak) && (c == u'\r' || c == u'\n')) ||
           ((Stops & StopUnusual) && (c < 0x20 || (c >= 0x7F && !isMainCyrillic(c))));
}

#if defined(__SSE2__)
// 0xFFFF in every lane of `v` that the scan stops at.
template <unsigned Stops> [[gnu::always_inline]] inline __m128i stopLanes(__m128i v) {
    __m128i hit = _mm_setzero_si128();
    if constexpr ((Stops & StopQuote) != 0)
        hit = _mm_or_si128(hit, _mm_cmpeq_epi16(v, _mm_set1_epi16(u'"')));
    if constexpr ((Stops & StopUnusual) != 0) {
        // Outside U+0020-U+007E and U+0410-U+044F, each tested as an unsigned v - low <= span
        // (a saturated subtraction that gives 0); this takes in CR and LF.
        const auto within = [v](short low, short span) {
            const __m128i above =
                _mm_subs_epu16(_mm_sub_epi16(v, _mm_set1_epi16(low)), _mm_set1_epi16(span));
            return _mm_cmpeq_epi16(above, _mm_setzero_si128());
        };
        const __m128i usual = _mm_or_si128(within(0x20, 0x5E), within(0x410, 0x3F));
        hit = _mm_or_si128(hit, _mm_xor_si128(usual, _mm_set1_epi16(static_cast<short>(0xFFFF))));
    } else if constexpr ((Stops & StopLineBreak) != 0) {
        hit = _mm_or_si128(hit, _mm_cmpeq_epi16(v, _mm_set1_epi16(u'\r')));
        hit = _mm_or_si128(hit, _mm_cmpeq_epi16(v, _mm_set1_epi16(u'\n')));
    }
    return hit;
}
#endif

// Copies units from s[i] on to `out` until the first unit the scan stops at, or until `end`;
// returns the index reached and advances `out`. Writes nothing at or beyond out + (end - i).
// Texts are mostly long runs of ordinary characters, so those go sixteen units at a time where
// the CPU allows.
template <unsigned Stops>
std::size_t copyRun(const char16_t* s, std::size_t i, std::size_t end, char16_t*& out) {
#if defined(__SSE2__)
    for (; i + 16 <= end; i += 16, out += 16) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), high);
        // One bit per unit.
        const auto bits = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_packs_epi16(stopLanes<Stops>(low), stopLanes<Stops>(high))));
        if (bits != 0) {
            const auto k = static_cast<std::size_t>(std::countr_zero(bits));
            out += k;
            return i + k;
        }
    }
#endif
    for (; i < end && !stopsAt<Stops>(s[i]); ++i)
        *out++ = s[i];
    return i;
}

char16_t* put(char16_t* out, std::u16string_view chars) {
    return std::copy(chars.begin(), chars.end(), out);
}

// Writes the escape of the stop at s[i] (a doubled quotation mark or a line-break token) and
// returns the index after it.
std::size_t putEscape(const char16_t* s, std::size_t i, std::size_t n, char16_t*& out) {
    if (s[i] == u'"') {
        *out++ = u'"';
        *out++ = u'"';
        return i + 1;
    }
    if (s[i] == u'\r' && i + 1 < n && s[i + 1] == u'\n') {
        out = put(out, crLfToken);
        return i + 2;
    }
    out = put(out, s[i] == u'\r' ? crToken : lfToken);
    return i + 1;
}

// Output written through a raw pointer into a string kept longer than what is written; the
// destructor trims it. Saves a size check and a call per piece on texts with many short lines.
class Sink {
public:
    explicit Sink(std::u16string& s) : m_s(s), m_p(s.data() + s.size()), m_end(m_p) {}
    ~Sink() { m_s.resize(written()); }
    Sink(const Sink&) = delete;
    Sink& operator=(const Sink&) = delete;

    // Makes room for `room` more units. Grows the string only by what is asked (it is
    // zero-filled), its capacity geometrically.
    void ensure(std::size_t room) {
        if (static_cast<std::size_t>(m_end - m_p) < room) {
            const std::size_t used = written();
            m_s.resize(used + room);
            m_p = m_s.data() + used;
            m_end = m_s.data() + m_s.size();
        }
    }
    std::size_t room() const { return static_cast<std::size_t>(m_end - m_p); }
    std::size_t written() const { return static_cast<std::size_t>(m_p - m_s.data()); }
    char16_t*& cursor() { return m_p; }

private:
    std::u16string& m_s;
    char16_t* m_p;
    char16_t* m_end;
};

// Appends `text` as string-literal content: with StopQuote every quotation mark doubled, with
// StopLineBreak every line break as its token.
template <unsigned Stops> void escapeInto(Sink& out, std::u16string_view text) {
    const char16_t* s = text.data();
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        out.ensure(std::min<std::size_t>(n - i, 1 << 14) + longestToken);
        const std::size_t end = std::min(n, i + out.room() - longestToken);
        i = copyRun<Stops>(s, i, end, out.cursor());
        if (i < end)
            i = putEscape(s, i, n, out.cursor());
    }
}

// Size of `text` once escaped, counted without branching on the text so that it costs little
// next to the escaping itself.
template <unsigned Stops> std::size_t escapedSize(std::u16string_view text) {
    const char16_t* s = text.data();
    const std::size_t n = text.size();
    std::size_t quotes = 0, breaks = 0, pairs = 0; // breaks: CR and LF units; pairs: CR LF
    std::size_t i = 0;
#if defined(__SSE2__)
    const auto sum = [](__m128i lanes) { // eight 16-bit counters
        alignas(16) std::uint16_t c[8];
        _mm_store_si128(reinterpret_cast<__m128i*>(c), lanes);
        return std::size_t{c[0]} + c[1] + c[2] + c[3] + c[4] + c[5] + c[6] + c[7];
    };
    while (i + 9 <= n) {
        __m128i q = _mm_setzero_si128(), b = q, p = q;
        // A lane counts at most one per round; empty the counters before they overflow.
        for (std::size_t rounds = 0; i + 9 <= n && rounds < 0xFFFF; i += 8, ++rounds) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
            if constexpr ((Stops & StopQuote) != 0)
                q = _mm_sub_epi16(q, _mm_cmpeq_epi16(v, _mm_set1_epi16(u'"')));
            if constexpr ((Stops & StopLineBreak) != 0) {
                const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 1));
                const __m128i cr = _mm_cmpeq_epi16(v, _mm_set1_epi16(u'\r'));
                const __m128i lf = _mm_cmpeq_epi16(v, _mm_set1_epi16(u'\n'));
                b = _mm_sub_epi16(b, _mm_or_si128(cr, lf));
                p = _mm_sub_epi16(p,
                                  _mm_and_si128(cr, _mm_cmpeq_epi16(next, _mm_set1_epi16(u'\n'))));
            }
        }
        quotes += sum(q);
        breaks += sum(b);
        pairs += sum(p);
    }
#endif
    for (; i < n; ++i) {
        quotes += s[i] == u'"';
        breaks += s[i] == u'\r' || s[i] == u'\n';
        pairs += s[i] == u'\r' && i + 1 < n && s[i + 1] == u'\n';
    }
    // A quotation mark doubles; a lone CR or LF becomes a 12-unit token, a CR LF pair a 14-unit
    // one.
    std::size_t size = n;
    if constexpr ((Stops & StopQuote) != 0)
        size += quotes;
    if constexpr ((Stops & StopLineBreak) != 0)
        size += breaks * (crToken.size() - 1) - pairs * (2 * crToken.size() - crLfToken.size());
    return size;
}

template <unsigned Stops> std::u16string escaped(std::u16string_view text) {
    std::u16string out;
    {
        Sink sink(out);
        sink.ensure(escapedSize<Stops>(text) + longestToken);
        escapeInto<Stops>(sink, text);
    }
    return out;
}

std::u16string decimal(std::int32_t value) {
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::u16string(digits, end);
}

// How a unit of the one-line statement lets a physical line end near it.
enum Unit : std::uint8_t {
    Fixed,     // code; no line ends right before it
    Space,     // a space in the code; a line may end after it, with "_"
    TokenEnd,  // the space before a token's last quotation mark: where a line ends best
    Edge,      // code that a line may end right before, with " _"
    Content,   // a character of a literal; a line may end between two, with `" & _`
    QuoteTail, // the second quotation mark of a doubled one
};

// Code of at most 24 units, each unit's Unit worked out once: with `breakable`, spaces and the
// places before ",", ")" and a `&H` number are where a line may end; in a token, the space before
// its last quotation mark is TokenEnd.
struct Code {
    std::u16string_view chars;
    std::array<Unit, 24> units{};
};

constexpr Code classify(std::u16string_view chars, bool breakable, bool token = false) {
    Code code{chars};
    for (std::size_t k = 0; k < chars.size(); ++k) {
        const char16_t c = chars[k];
        const bool edge = c == u',' || c == u')' || (c == u'&' && k > 0 && chars[k - 1] == u'(');
        code.units[k] = !breakable ? Fixed : c == u' ' ? Space : edge ? Edge : Fixed;
    }
    if (token)
        code.units[chars.size() - 2] = TokenEnd;
    return code;
}

constexpr Code crLfCode = classify(crLfToken, true, true), crCode = classify(crToken, true, true),
               lfCode = classify(lfToken, true, true), chrWHeadCode = classify(chrWHead, true),
               chrWTailCode = classify(chrWTail, true, true);

// The statement (`MsgBox ...` or `Select Case MsgBox (...)`) written on one line, each unit
// marked with its Unit. Continuing a line only adds to the statement, so one longer than
// maxStatementLines full lines cannot fit: the writing stops there, and a message far too long
// costs no more than one that just fits.
class OneLine {
public:
    static constexpr std::size_t most = maxStatementLines * maxSourceLineLength;

    OneLine(std::size_t inputUnits, std::size_t codeUnits)
        : m_room(std::min(most, longestChrWToken * inputUnits) + codeUnits),
          m_chars(std::make_unique_for_overwrite<char16_t[]>(m_room)),
          m_units(std::make_unique_for_overwrite<Unit[]>(m_room)) {}

    bool full() const { return m_size > most; }
    std::size_t size() const { return m_size; }
    const char16_t* chars() const { return m_chars.get(); }
    Unit unit(std::size_t i) const { return m_units[i]; }
    const std::vector<std::size_t>& tokenEnds() const { return m_tokenEnds; }

    // Code around the literals, at most 24 units at a time.
    void code(std::u16string_view chars, bool breakable) {
        if (!full())
            put(classify(chars, breakable));
    }

    // `text` as literal content: quotation marks doubled; line breaks, control characters but
    // Tab and what code page 1251 lacks as tokens.
    void literal(std::u16string_view text) {
        const char16_t* s = text.data();
        const std::size_t n = text.size();
        for (std::size_t i = 0; i < n && !full();) {
            const std::size_t end = std::min(n, i + (most + 1 - m_size));
            char16_t* out = m_chars.get() + m_size;
            const std::size_t stop = copyRun<StopLiteral>(s, i, end, out);
            std::fill_n(m_units.get() + m_size, stop - i, Content);
            m_size += stop - i;
            if ((i = stop) == end)
                continue;
            const char16_t c = s[i++];
            if (c == u'"') {
                push(u'"', Content);
                push(u'"', QuoteTail);
            } else if (c == u'\r' && i < n && s[i] == u'\n') {
                ++i;
                token(crLfCode);
            } else if (c == u'\r' || c == u'\n') {
                token(c == u'\r' ? crCode : lfCode);
            } else if (standsInLiteral(c)) {
                push(c, Content);
            } else {
                char hex[4];
                const auto digits = std::to_chars(hex, hex + 4, unsigned{c}, 16).ptr;
                put(chrWHeadCode);
                for (const char* h = hex; h != digits; ++h)
                    push(static_cast<char16_t>(*h >= 'a' ? *h - 'a' + 'A' : *h), Fixed);
                token(chrWTailCode);
            }
        }
    }

private:
    void push(char16_t c, Unit unit) {
        m_chars[m_size] = c;
        m_units[m_size++] = unit;
    }
    void put(const Code& code) {
        std::copy(code.chars.begin(), code.chars.end(), m_chars.get() + m_size);
        std::copy_n(code.units.begin(), code.chars.size(), m_units.get() + m_size);
        m_size += code.chars.size();
    }
    void token(const Code& code) {
        put(code);
        m_tokenEnds.push_back(m_size - 2);
    }

    std::size_t m_room; // never reached: a unit of input gives at most one token
    std::unique_ptr<char16_t[]> m_chars;
    std::unique_ptr<Unit[]> m_units;
    std::size_t m_size = 0;
    std::vector<std::size_t> m_tokenEnds;
};

// A physical line holds the one line's units from where the previous one ended up to `end`, then
// "_" after a Space, " _" before an Edge, or `" & _` inside a literal (Content), which the next
// line reopens with `"`.
struct LineEnd {
    std::size_t end;
    Unit kind;
};

// Where the statement's lines end, or nothing when it needs more than maxStatementLines. The
// preferred layout ends a line after the last token that fits, else inside a literal as late as
// possible, keeping a character of the literal on either side. The dense one takes, line by line,
// the end that lets the next line start furthest on; since a later start never lets a line reach
// less far, no layout that ends its lines at these places needs fewer.
std::optional<std::vector<LineEnd>> layOut(const OneLine& line, bool dense) {
    constexpr std::size_t width = maxSourceLineLength;
    const std::size_t n = line.size();
    const auto insideLiteral = [&line](std::size_t i) {
        return line.unit(i) == Content &&
               (line.unit(i - 1) == Content || line.unit(i - 1) == QuoteTail);
    };
    std::vector<LineEnd> ends;
    std::size_t start = 0, reach = 0; // reach: start less the reopening quotation mark, if any
    std::size_t token = 0;            // tokens before it end before this line's last place
    while (n - reach > width) {
        if (ends.size() == maxLineContinuations)
            return std::nullopt;
        // The last unit a line may end after ("_") or before (" _"), and the last unit a literal
        // may be broken before (`" & _`).
        const std::size_t lastCode = reach + width - 2, lastInLiteral = reach + width - 5;
        std::optional<LineEnd> end;
        if (!dense) {
            const auto& tokens = line.tokenEnds();
            while (token < tokens.size() && tokens[token] <= lastCode)
                ++token;
            if (token > 0 && tokens[token - 1] >= start)
                end = LineEnd{tokens[token - 1] + 1, Space};
            for (std::size_t i = std::min(lastInLiteral, n - 1); !end && i > start; --i)
                if (insideLiteral(i))
                    end = LineEnd{i, Content};
            if (!end)
                return std::nullopt;
        } else {
            std::size_t furthest = 0; // the next line's reach
            for (std::size_t i = std::min(lastCode, n - 1); i > start && i + 1 >= furthest; --i) {
                const Unit unit = line.unit(i);
                std::optional<LineEnd> here;
                if (unit == Space || unit == TokenEnd)
                    here = LineEnd{i + 1, Space};
                else if (unit == Edge)
                    here = LineEnd{i, Edge};
                else if (i <= lastInLiteral && insideLiteral(i))
                    here = LineEnd{i, Content};
                if (here && here->end - (unit == Content) > furthest) {
                    furthest = here->end - (unit == Content);
                    end = here;
                }
            }
            if (!end) // places to end a line lie a few units apart
                throw std::logic_error("statement line without a place to end it");
        }
        ends.push_back(*end);
        start = end->end;
        reach = start - (end->kind == Content);
    }
    return ends;
}

// The statement's physical lines, separated by CR LF.
void writeLines(const OneLine& line, const std::vector<LineEnd>& ends, std::u16string& out) {
    std::size_t start = 0;
    for (const LineEnd& end : ends) {
        out.append(line.chars() + start, end.end - start);
        out.append(end.kind == Space ? u"_\r\n" : end.kind == Edge ? u" _\r\n" : u"\" & _\r\n\"");
        start = end.end;
    }
    out.append(line.chars() + start, line.size() - start);
}
} // namespace

std::u16string escapeLineBreaks(std::u16string_view text) {
    return escaped<StopLineBreak>(text);
}

std::u16string doubleQuotes(std::u16string_view text) {
    return escaped<StopQuote>(text);
}

MessageSpec composeMessage(std::u16string title, std::u16string text, const StyleParts& parts,
                           bool constants) {
    const auto set = buttonSetAt(parts.buttonSet);
    return {std::move(title),
            std::move(text),
            styleValue(parts),
            set ? set->buttonNames : u"",
            set ? set->returnCodes : u"",
            constants};
}

std::u16string buildMessageCode(const MessageSpec& msg) {
    const bool block = !msg.returnCodes.empty();
    const auto constantNames = msg.constants ? styleConstantNames(msg.styleValue) : std::nullopt;
    std::size_t namesSize = 0; // with " + " between them
    if (constantNames)
        for (const std::u16string_view name : *constantNames)
            namesSize += name.size() + 3;
    OneLine line(msg.text.size() + msg.title.size(), 64 + namesSize);
    line.code(block ? u"Select Case MsgBox (\"" : u"MsgBox \"", false);
    line.literal(msg.text);
    if (!constantNames) {
        line.code(u"\", " + decimal(msg.styleValue) + u", \"", true);
    } else {
        line.code(u"\", ", true);
        for (std::size_t i = 0; i < constantNames->size(); ++i) {
            if (i > 0)
                line.code(u" + ", true);
            line.code((*constantNames)[i], true);
        }
        line.code(u", \"", true);
    }
    line.literal(msg.title);
    line.code(block ? u"\")" : u"\"", true);
    auto ends = line.full() ? std::nullopt : layOut(line, false);
    if (!line.full() && !ends)
        ends = layOut(line, true);
    if (!ends)
        throw MessageTooLong();

    std::u16string out;
    out.reserve(line.size() + 8 * ends->size() + 32 * (msg.returnCodes.size() + 1) +
                msg.buttonNames.size());
    writeLines(line, *ends, out);
    if (!block)
        return out;

    // One Case per digit, commented with the name at the same position (none if names run out).
    std::u16string_view names = msg.buttonNames;
    for (const char16_t code : msg.returnCodes) {
        const std::size_t bar = names.find(u'|');
        const std::u16string_view name = names.substr(0, bar);
        names = bar == std::u16string_view::npos ? std::u16string_view{} : names.substr(bar + 1);
        const auto answer = constantNames ? answerConstant(code) : std::nullopt;
        out.append(u"\r\nCase ");
        answer ? out.append(*answer) : out.append(1, code);
        out.append(u" ' ").append(name).append(u"\r\n\t");
    }
    out.append(u"\r\nEnd Select");
    return out;
}

} // namespace codegen
