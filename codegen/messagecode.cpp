#include "codegen/messagecode.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
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

constexpr std::u16string_view crLfToken = u"\" & vbCrLf & \"";
constexpr std::u16string_view crToken = u"\" & vbCr & \"";
constexpr std::u16string_view lfToken = u"\" & vbLf & \"";
static_assert(crToken.size() == lfToken.size());

// A line broken inside a literal ends with `" & _`; the next one starts with `"`.
constexpr std::u16string_view literalBreak = u"\" & _\r\n\"";
constexpr std::size_t literalBreakWidth = literalBreak.find(u'\r'); // `" & _`
// A line broken after a token keeps the token but its last quotation mark, which moves to the
// start of the next line: `" & vbCrLf & _` CR LF `"`.
constexpr std::u16string_view tokenBreak = u"_\r\n\"";

// What a scan over literal content stops at.
enum Stop : unsigned { StopQuote = 1, StopLineBreak = 2, StopSurrogate = 4 };

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
template <unsigned Stops> inline unsigned stopBits(const char16_t* s) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
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
    return static_cast<unsigned>(_mm_movemask_epi8(hit));
}
#endif

// Index of the first unit in [i, end) that the scan stops at, or end. Texts are mostly long runs
// of ordinary characters, so those are skipped sixteen units at a time where the CPU allows.
template <unsigned Stops> std::size_t findStop(const char16_t* s, std::size_t i, std::size_t end) {
#if defined(__SSE2__)
    for (; i + 16 <= end; i += 16) {
        const unsigned bits = stopBits<Stops>(s + i) | (stopBits<Stops>(s + i + 8) << 16);
        if (bits != 0)
            return i + static_cast<std::size_t>(std::countr_zero(bits)) / 2;
    }
    if (i + 8 <= end) {
        if (const unsigned bits = stopBits<Stops>(s + i); bits != 0)
            return i + static_cast<std::size_t>(std::countr_zero(bits)) / 2;
        i += 8;
    }
#endif
    while (i < end && !stopsAt<Stops>(s[i]))
        ++i;
    return i;
}

// Size of `s` once appendEscaped<Stops> has replaced what it stops at.
template <unsigned Stops> std::size_t escapedSize(std::u16string_view s) {
    const char16_t* p = s.data();
    const std::size_t n = s.size();
    std::size_t size = n;
    for (std::size_t i = findStop<Stops>(p, 0, n); i < n; i = findStop<Stops>(p, i, n)) {
        if (p[i] == u'"') {
            size += 1;
            ++i;
        } else if (p[i] == u'\r' && i + 1 < n && p[i + 1] == u'\n') {
            size += crLfToken.size() - 2;
            i += 2;
        } else {
            size += crToken.size() - 1;
            ++i;
        }
    }
    return size;
}

// Appends `s` as string-literal content: with StopQuote every quotation mark doubled, with
// StopLineBreak every line break as its token.
template <unsigned Stops> void appendEscaped(std::u16string& out, std::u16string_view s) {
    const char16_t* p = s.data();
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n) {
        const std::size_t stop = findStop<Stops>(p, i, n);
        out.append(p + i, stop - i);
        if (stop == n)
            break;
        i = stop + 1;
        if (p[stop] == u'"') {
            out.append(u"\"\"", 2);
        } else if (p[stop] == u'\n') {
            out.append(lfToken);
        } else if (i < n && p[i] == u'\n') {
            out.append(crLfToken);
            ++i;
        } else {
            out.append(crToken);
        }
    }
}

template <unsigned Stops> std::u16string escaped(std::u16string_view s) {
    std::u16string out;
    out.reserve(escapedSize<Stops>(s));
    appendEscaped<Stops>(out, s);
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
class StatementWriter {
public:
    struct Piece {
        std::u16string_view chars; // fixed pieces are ASCII
        bool literal;
    };
    explicit StatementWriter(const std::array<Piece, 5>& pieces) : m_pieces(pieces) {}

    void write(std::u16string& out) const {
        Cursor start{0, 0};
        std::size_t width = 0;
        for (int continuations = 0;; ++continuations) {
            const LineEnd end = scanLine(start, width);
            if (end.kind != BreakKind::None && continuations == maxLineContinuations)
                throw MessageTooLong();
            emit(out, start, end.at);
            if (end.kind == BreakKind::None)
                return;
            if (end.kind == BreakKind::AfterToken) {
                out.pop_back();
                out.append(tokenBreak);
            } else {
                out.append(literalBreak);
            }
            start = end.at;
            width = 1; // the opening quotation mark
        }
    }

private:
    struct Cursor {
        std::size_t piece;
        std::size_t offset; // in UTF-16 units of the unescaped piece
    };
    enum class BreakKind { None, AfterToken, InLiteral };
    struct LineEnd {
        Cursor at;
        BreakKind kind;
    };

    // Finds where the physical line that starts at `c` (with `width` columns already on it) has
    // to end: nowhere if the rest fits, else after the last line-break token that fits, else
    // inside a literal as late as possible. A break inside a literal keeps at least one character
    // of that literal on either side and never falls inside a doubled quotation mark, a token or
    // a surrogate pair. Looks at no more than one line's worth of input, so even a huge message
    // is refused in bounded time.
    LineEnd scanLine(Cursor c, std::size_t width) const {
        constexpr std::size_t limit = maxSourceLineLength;
        std::optional<Cursor> afterToken, inLiteral;
        const auto overflow = [&] {
            if (afterToken)
                return LineEnd{*afterToken, BreakKind::AfterToken};
            if (inLiteral)
                return LineEnd{*inLiteral, BreakKind::InLiteral};
            // Break points lie a few columns apart wherever a line is long; cannot happen.
            throw std::logic_error("statement line without a break point");
        };
        // afterChar: the unit before `c` is a character of the same literal on this line.
        for (bool afterChar = false; c.piece < m_pieces.size();
             ++c.piece, c.offset = 0, afterChar = false) {
            const Piece& piece = m_pieces[c.piece];
            if (!piece.literal) {
                width += piece.chars.size();
                if (width > limit)
                    return overflow();
                continue;
            }
            const char16_t* s = piece.chars.data();
            const std::size_t n = piece.chars.size();
            while (c.offset < n) {
                const char16_t ch = s[c.offset];
                if (ch == u'\r' || ch == u'\n') {
                    const bool crLf = ch == u'\r' && c.offset + 1 < n && s[c.offset + 1] == u'\n';
                    width += crLf ? crLfToken.size() : crToken.size();
                    if (width > limit)
                        return overflow();
                    c.offset += crLf ? 2 : 1;
                    afterToken = c;
                    afterChar = false;
                } else if (ch == u'"' || isSurrogate(ch)) {
                    if (afterChar && width + literalBreakWidth <= limit)
                        inLiteral = c;
                    // A doubled quotation mark takes two columns; a surrogate pair (or a stray
                    // surrogate) is one code point and takes one.
                    std::size_t units = 1;
                    if (ch == u'"') {
                        width += 2;
                    } else {
                        width += 1;
                        if (isHighSurrogate(ch) && c.offset + 1 < n &&
                            isLowSurrogate(s[c.offset + 1]))
                            units = 2;
                    }
                    if (width > limit)
                        return overflow();
                    c.offset += units;
                    afterChar = true;
                } else {
                    // Ordinary characters, one column per unit; no need to look past the limit.
                    const std::size_t room = limit - width;
                    const std::size_t end = findStop<StopQuote | StopLineBreak | StopSurrogate>(
                        s, c.offset, std::min(n, c.offset + room + 1));
                    const std::size_t run = end - c.offset;
                    if (width + literalBreakWidth <= limit) {
                        const std::size_t last =
                            std::min(run - 1, limit - literalBreakWidth - width);
                        if (last >= (afterChar ? 0U : 1U))
                            inLiteral = Cursor{c.piece, c.offset + last};
                    }
                    width += run;
                    if (width > limit)
                        return overflow();
                    c.offset = end;
                    afterChar = true;
                }
            }
        }
        return {c, BreakKind::None};
    }

    void emit(std::u16string& out, Cursor from, Cursor to) const {
        for (std::size_t p = from.piece; p < m_pieces.size() && p <= to.piece; ++p) {
            const Piece& piece = m_pieces[p];
            const std::size_t begin = p == from.piece ? from.offset : 0;
            const std::size_t end = p == to.piece ? to.offset : piece.chars.size();
            const std::u16string_view part = piece.chars.substr(begin, end - begin);
            if (piece.literal)
                appendEscaped<StopQuote | StopLineBreak>(out, part);
            else
                out.append(part);
        }
    }

    std::array<Piece, 5> m_pieces;
};

} // namespace

std::u16string escapeLineBreaks(std::u16string_view text) {
    return escaped<StopLineBreak>(text);
}

std::u16string doubleQuotes(std::u16string_view text) {
    return escaped<StopQuote>(text);
}

std::u16string buildMessageCode(const MessageSpec& spec) {
    const bool block = !spec.returnCodes.empty();
    const std::u16string middle = u"\", " + decimal(spec.styleValue) + u", \"";
    const StatementWriter statement({{
        {block ? u"Select Case MsgBox (\"" : u"MsgBox \"", false},
        {spec.text, true},
        {middle, false},
        {spec.title, true},
        {block ? u"\")" : u"\"", false},
    }});

    // Enough for the statement in one go: each input unit grows at most to a 12-unit token, and
    // a statement that fits the continuation limit is bounded whatever the input.
    constexpr std::size_t longestStatement =
        (maxLineContinuations + 1) * (2 * maxSourceLineLength + 2);
    const std::size_t statementSize =
        std::min((spec.text.size() + spec.title.size()) * crToken.size() + 32, longestStatement);
    const std::size_t caseSize = spec.returnCodes.size() * 16 + spec.buttonNames.size() + 16;
    std::u16string out;
    out.reserve(statementSize + (block ? caseSize : 0));

    statement.write(out);
    if (!block)
        return out;

    // One Case per digit, commented with the name at the same position (none if names run out).
    std::u16string_view names = spec.buttonNames;
    for (const char16_t code : spec.returnCodes) {
        const std::size_t bar = names.find(u'|');
        const std::u16string_view name = names.substr(0, bar);
        names = bar == std::u16string_view::npos ? std::u16string_view{} : names.substr(bar + 1);
        out.append(u"\r\nCase ").append(1, code).append(u" ' ").append(name).append(u"\r\n\t");
    }
    out.append(u"\r\nEnd Select");
    return out;
}

} // namespace codegen
