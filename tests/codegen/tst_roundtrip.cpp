#include "codegen/buttonsets.h"
#include "codegen/messagecode.h"
#include "vbreader.h"

#include <QtTest>
#include <array>

using namespace Qt::StringLiterals;

namespace {

QString qs(std::u16string_view s) {
    return QString::fromStdU16String(std::u16string(s));
}

// Columns a literal's content takes once escaped, worked out apart from the generator.
std::size_t escapedColumns(std::u16string_view s) {
    std::size_t columns = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        const bool pairFollows =
            i + 1 < s.size() && ((c == u'\r' && s[i + 1] == u'\n') ||
                                 ((c & 0xFC00) == 0xD800 && (s[i + 1] & 0xFC00) == 0xDC00));
        if (c == u'"')
            columns += 2;
        else if (c == u'\r' || c == u'\n')
            columns += pairFollows ? 14 : 12; // vbCrLf or vbCr / vbLf
        else
            columns += 1; // a surrogate pair is one code point too
        if (pairFollows)
            ++i;
    }
    return columns;
}

// Pieces a text is made of: ordinary characters most of the time, and everything the generator
// has to treat specially.
const std::array<std::u16string_view, 16> pieces{
    u"a", u"Я", u" ",  u"\"",         u"\r\n",   u"\r",     u"\n",     u"_",
    u"&", u"'", u"\t", u"\U0001F600", u"\xD83D", u"\xDE00", u"vbCrLf", u"\"\"",
};

std::u16string randomText(QRandomGenerator& random, int length, int specialPercent) {
    std::u16string text;
    for (int i = 0; i < length; ++i) {
        const bool special = random.bounded(100) < specialPercent;
        text += special ? pieces[random.bounded(2, int(pieces.size()))] : pieces[random.bounded(2)];
    }
    return text;
}

} // namespace

class TestRoundTrip : public QObject {
    Q_OBJECT

private slots:
    void generatedCodeGivesBackTitleAndTextExactly();
};

void TestRoundTrip::generatedCodeGivesBackTitleAndTextExactly() {
    QRandomGenerator random(20240611);
    int single = 0, continued = 0, refused = 0;
    for (int round = 0; round < 600; ++round) {
        // Short texts, texts around one line's limit, and texts of many lines.
        const int kind = random.bounded(3);
        const int length = kind == 0   ? random.bounded(40)
                           : kind == 1 ? random.bounded(950, 1100)
                                       : random.bounded(1000, 30000);
        const int specialPercent = random.bounded(1, 60);
        codegen::MessageSpec spec;
        spec.text = randomText(random, length, specialPercent);
        spec.title =
            randomText(random, random.bounded(10) == 0 ? random.bounded(3000) : random.bounded(20),
                       specialPercent);
        const auto set = codegen::buttonSetCatalogue()[std::size_t(random.bounded(6))];
        spec.buttonNames = set.buttonNames;
        spec.returnCodes = set.returnCodes;
        spec.styleValue = static_cast<std::int16_t>(random.bounded(-32768, 32768));
        const auto context = QByteArray("round ") + QByteArray::number(round);

        const std::size_t oneLine = (set.returnCodes.empty() ? 8 : 21) + escapedColumns(spec.text) +
                                    QByteArray::number(spec.styleValue).size() + 6 +
                                    escapedColumns(spec.title) + (set.returnCodes.empty() ? 1 : 2);
        std::u16string code;
        try {
            code = codegen::buildMessageCode(spec);
        } catch (const codegen::MessageTooLong&) {
            // 25 lines of 1023 columns hold at least a dozen thousand columns.
            QVERIFY2(oneLine > 12000, context);
            ++refused;
            continue;
        }
        const auto back = vbreader::read(code);
        QVERIFY2(back.error.empty(), context + ": " + back.error.c_str());
        QVERIFY2(back.text == spec.text, context);
        QVERIFY2(back.title == spec.title, context);
        QCOMPARE(back.styleValue, long(spec.styleValue));
        QCOMPARE(back.selectCase, !set.returnCodes.empty());
        QCOMPARE(back.cases.size(), set.returnCodes.size());
        for (std::size_t i = 0; i < back.cases.size(); ++i)
            QCOMPARE(back.cases[i].code, set.returnCodes[i]);

        // Continued only when the one line would be too long, and only in the two forms.
        const auto& lines = back.statementLines;
        QCOMPARE(lines.size() > 1, oneLine > codegen::maxSourceLineLength);
        for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
            const QString line = qs(lines[i]);
            QVERIFY2(line.endsWith(u"\" & _"_s) || line.endsWith(u"\" & vbCrLf & _"_s) ||
                         line.endsWith(u"\" & vbCr & _"_s) || line.endsWith(u"\" & vbLf & _"_s),
                     context);
            QVERIFY2(lines[i + 1].starts_with(u'"'), context);
        }
        ++(lines.size() > 1 ? continued : single);
    }
    // The inputs reached every outcome.
    QVERIFY(single > 50);
    QVERIFY(continued > 50);
    QVERIFY(refused > 20);
}

QTEST_APPLESS_MAIN(TestRoundTrip)
#include "tst_roundtrip.moc"
