#include "codegen/messagecode.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace codegen {

MessageTooLong::MessageTooLong()
    : std::runtime_error("message too long: its statement would need more than " +
                         std::to_string(maxLineContinuations) +
                         " line continuations, the most Visual Basic allows (each line holds at "
                         "most " +
                         std::to_string(maxSourceLineLength) + " characters)") {}

namespace {

// The line-break tokens: each ends the literal, names the break and opens a new literal.
constexpr std::u16string_view crLfToken = u"\" & vbCrLf & \"";
constexpr std::u16string_view crToken = u"\" & vbCr & \"";
constexpr std::u16string_view lfToken = u"\" & vbLf & \"";
constexpr std::size_t longestToken = crLfToken.size();

// A line broken inside a literal ends with `" & _`; the next one starts with `"`.
constexpr std::u16string_view literalBreak = u"\" & _\r\n\"";
constexpr std::size_t literalBreakWidth = literalBreak.find(u'\r');
// A line broken after a token keeps the token but its last quotation mark, which moves to the
// start of the next line: `" & vbCrLf & _` CR LF `"`.
constexpr std::u16string_view tokenBreak = u"_\r\n\"";

// What a scan over literal content stops at.
enum Stop : unsigned { StopQuote = 1, StopLineBreak = 2, StopSurrogate = 4 };
constexpr unsigned StopAll = StopQuote | StopLineBreak | StopSurrogate;

constexpr bool isSurrogate(char16_t c) {
    return (c & 0xF800) == 0xD800;
}
constexpr bool isHighSurrogate(char16_t c) {
    return (c & 0xFC00) == 0xD800;
}
constexpr bool isLowSurrogate(char16_t c) {
    return (c & 0xFC00) == 0xDC00;
}

template <unsigned Stops> constexpr bool stopsAt(char16_t c) {
    return ((Stops & StopQuote) && c == u'"') ||
           ((Stops & StopLineBreak) && (c == u'\r' || c == u'\n')) ||
           ((Stops & StopSurrogate) && isSurrogate(c));
}

#if defined(__SSE2__)
// 0xFFFF in every lane of `v` that the scan stops at.
template <unsigned Stops> __m128i stopLanes(__m128i v) {
    __m128i hit = _mm_setzero_si128();
    if constexpr ((Stops & StopQuote) != 0)
        hit = _mm_or_si128(hit, _mm_cmpeq_epi16(v, _mm_set1_epi16(u'"')));
    if constexpr ((Stops & StopLineBreak) != 0) {
        hit = _mm_or_si128(hit, _mm_cmpeq_epi16(v, _mm_set1_epi16(u'\r')));
        hit = _mm_or_si128(hit, _mm_cmpeq_epi16(v, _mm_set1_epi16(u'\n')));
    }
    if constexpr ((Stops & StopSurrogate) != 0) {
        const __m128i top = _mm_and_si128(v, _mm_set1_epi16(static_cast<short>(0xF800)));
        hit = _mm_or_si128(hit, _mm_cmpeq_epi16(top, _mm_set1_epi16(static_cast<short>(0xD800))));
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
    void rewind(std::size_t size) { m_p = m_s.data() + size; }
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

std::u16string decimal(std::int16_t value) {
    char digits[8];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::u16string(digits, end);
}

// Writes the statement line (`MsgBox ...` or `Select Case MsgBox (...)`), continued over as many
// physical lines as its length needs. The line is seen as five pieces: fixed code, text, fixed
// code, title, fixed code; only the two literal pieces are escaped, and only they may be broken.
//
// One pass: it writes while it counts columns and remembers the latest places a line may end.
// When a line overflows it cuts the output back to the chosen place, ends the line there and
// carries on from the matching input position. A line ends after the last line-break token
// that fits, else inside a literal as late as possible; a break inside a literal keeps at least
// one character of that literal on either side and never falls inside a doubled quotation
// mark, a token or a surrogate pair. What is written twice is at most one line, so the work
// stays linear, and a message too long is refused after 25 lines whatever its size.
class StatementWriter {
public:
    struct Piece {
        std::u16string_view chars; // fixed pieces are ASCII
        bool literal;
    };

    StatementWriter(const std::array<Piece, 5>& pieces, std::u16string& out)
        : m_pieces(pieces), m_out(out) {
        // Room for one physical line: at most two units per column (surrogate pairs), plus the
        // piece that overflows it; little more than the whole input for a short message.
        std::size_t input = 0;
        for (const Piece& piece : pieces)
            input += piece.chars.size();
        m_lineRoom = std::min(2 * (limit + longestToken), input * longestToken) + 64;
    }

    void write() {
        m_out.ensure(m_lineRoom);
        while (m_at.piece < m_pieces.size()) {
            const Piece& piece = m_pieces[m_at.piece];
            const bool done = piece.literal ? writeLiteral(piece.chars) : writeFixed(piece.chars);
            if (done) {
                m_at = {m_at.piece + 1, 0};
                m_afterChar = false;
            } else {
                breakLine();
            }
        }
    }

private:
    static constexpr std::size_t limit = maxSourceLineLength;

    struct Cursor {
        std::size_t piece;
        std::size_t offset; // in UTF-16 units of the unescaped piece
    };
    // A place where the current line may end: the input position and the output written so far.
    struct Mark {
        Cursor at;
        std::size_t written;
    };

    // Each returns false when the line overflows.
    bool writeFixed(std::u16string_view chars) {
        m_out.cursor() = put(m_out.cursor(), chars);
        m_width += chars.size();
        return m_width <= limit;
    }

    bool writeLiteral(std::u16string_view chars) {
        const char16_t* s = chars.data();
        const std::size_t n = chars.size();
        char16_t*& out = m_out.cursor();
        std::size_t& i = m_at.offset;
        while (i < n) {
            const char16_t ch = s[i];
            if (!stopsAt<StopAll>(ch)) {
                // Ordinary characters, one column per unit; no need to look past the limit.
                const std::size_t start = i;
                i = copyRun<StopAll>(s, i, std::min(n, i + (limit - m_width) + 1), out);
                const std::size_t run = i - start;
                if (m_width + literalBreakWidth <= limit) {
                    const std::size_t last = std::min(run - 1, limit - literalBreakWidth - m_width);
                    if (last >= (m_afterChar ? 0U : 1U))
                        m_inLiteral =
                            Mark{{m_at.piece, start + last}, m_out.written() - run + last};
                }
                m_width += run;
                m_afterChar = true;
            } else if (ch == u'\r' || ch == u'\n') {
                const std::size_t before = m_out.written();
                i = putEscape(s, i, n, out);
                m_width += m_out.written() - before;
                if (m_width > limit)
                    return false;
                m_afterToken = Mark{m_at, m_out.written()};
                m_afterChar = false;
            } else {
                if (m_afterChar && m_width + literalBreakWidth <= limit)
                    m_inLiteral = Mark{m_at, m_out.written()};
                // A doubled quotation mark takes two columns; a surrogate pair (or a stray
                // surrogate) is one code point and takes one.
                if (ch == u'"') {
                    i = putEscape(s, i, n, out);
                    m_width += 2;
                } else {
                    *out++ = s[i++];
                    if (isHighSurrogate(ch) && i < n && isLowSurrogate(s[i]))
                        *out++ = s[i++];
                    m_width += 1;
                }
                m_afterChar = true;
            }
            if (m_width > limit)
                return false;
        }
        return true;
    }

    void breakLine() {
        const bool afterToken = m_afterToken.has_value();
        if (!afterToken && !m_inLiteral) // break points lie a few columns apart on a long line
            throw std::logic_error("statement line without a break point");
        if (m_continuations == maxLineContinuations)
            throw MessageTooLong();
        ++m_continuations;
        const Mark mark = afterToken ? *m_afterToken : *m_inLiteral;
        m_out.rewind(mark.written);
        char16_t*& out = m_out.cursor();
        out = afterToken ? put(out - 1, tokenBreak) : put(out, literalBreak);
        m_at = mark.at;
        m_width = 1; // the opening quotation mark
        m_afterChar = false;
        m_afterToken.reset();
        m_inLiteral.reset();
        m_out.ensure(m_lineRoom);
    }

    std::array<Piece, 5> m_pieces;
    Sink m_out;
    std::size_t m_lineRoom;
    Cursor m_at{0, 0};
    std::size_t m_width = 0; // columns on the current line
    int m_continuations = 0;
    bool m_afterChar = false; // the unit before m_at is a character of the same literal, this line
    std::optional<Mark> m_afterToken, m_inLiteral;
};

} // namespace

std::u16string escapeLineBreaks(std::u16string_view text) {
    return escaped<StopLineBreak>(text);
}

std::u16string doubleQuotes(std::u16string_view text) {
    return escaped<StopQuote>(text);
}

std::u16string buildMessageCode(const MessageSpec& msg) {
    const bool block = !msg.returnCodes.empty();
    const std::u16string middle = u"\", " + decimal(msg.styleValue) + u", \"";
    // Enough for most statements in one go: ordinary text grows little, and whatever the
    // input, a statement within the continuation limit is bounded.
    constexpr std::size_t longestStatement =
        (maxLineContinuations + 1) * (2 * maxSourceLineLength + 8);
    const std::size_t input = msg.text.size() + msg.title.size();
    std::u16string out;
    out.reserve(std::min(input + input / 4, longestStatement) + 256);
    {
        const std::array<StatementWriter::Piece, 5> pieces{{
            {block ? u"Select Case MsgBox (\"" : u"MsgBox \"", false},
            {msg.text, true},
            {middle, false},
            {msg.title, true},
            {block ? u"\")" : u"\"", false},
        }};
        StatementWriter(pieces, out).write();
    }
    if (!block)
        return out;

    // One Case per digit, commented with the name at the same position (none if names run out).
    std::u16string_view names = msg.buttonNames;
    for (const char16_t code : msg.returnCodes) {
        const std::size_t bar = names.find(u'|');
        const std::u16string_view name = names.substr(0, bar);
        names = bar == std::u16string_view::npos ? std::u16string_view{} : names.substr(bar + 1);
        out.append(u"\r\nCase ").append(1, code).append(u" ' ").append(name).append(u"\r\n\t");
    }
    out.append(u"\r\nEnd Select");
    return out;
}

} // namespace codegen
