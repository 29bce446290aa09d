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
QString rep(char16_t c, int n) {
    return QString(n, QChar(c));
}

codegen::MessageSpec message(const QString& title, const QString& text, int style, int set) {
    const auto s = codegen::buttonSetAt(static_cast<std::int16_t>(set)).value();
    return {title.toStdU16String(), text.toStdU16String(), static_cast<std::int16_t>(style),
            s.buttonNames, s.returnCodes};
}

// A Select Case block: the statement's arguments, then "<code> <name>" per case.
QStringList block(const QString& arguments, const QStringList& cases) {
    QStringList lines{u"Select Case MsgBox ("_s + arguments + u')'};
    for (const QString& c : cases)
        lines << u"Case "_s + c.left(1) + u" ' "_s + c.mid(2) << u"\t"_s;
    return lines << u"End Select"_s;
}

// The escapes written plainly: quotation marks doubled, or line breaks as tokens.
std::u16string escapeModel(std::u16string_view s, bool breaks) {
    std::u16string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const bool pair = breaks && s[i] == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n';
        if (breaks && (s[i] == u'\r' || s[i] == u'\n'))
            out += pair            ? u"\" & vbCrLf & \""
                   : s[i] == u'\r' ? u"\" & vbCr & \""
                                   : u"\" & vbLf & \"";
        else
            out += s[i];
        if (!breaks && s[i] == u'"')
            out += u'"';
        i += pair;
    }
    return out;
}

// What random texts are made of: mostly ordinary characters, and all that needs care.
const std::array<std::u16string_view, 16> pieces{
    u"a", u"Я", u" ",  u"\"",         u"\r\n",   u"\r",     u"\n",     u"_",
    u"&", u"'", u"\t", u"\U0001F600", u"\xD83D", u"\xDE00", u"vbCrLf", u"\"\"",
};

std::u16string randomText(QRandomGenerator& random, int length, int specialPercent) {
    std::u16string text;
    for (int i = 0; i < length; ++i)
        text += random.bounded(100) < specialPercent ? pieces[random.bounded(2, 16)]
                                                     : pieces[random.bounded(2)];
    return text;
}

} // namespace

class TestCodegen : public QObject {
    Q_OBJECT

private slots:
    void writesTheExactCode_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("set");
        QTest::addColumn<QStringList>("lines");
        const QString M = u"MsgBox \""_s, E = u"\", 0, \"\""_s, C = u"\" & _"_s,
                      CrLf = u"\" & vbCrLf & _"_s, a1001 = rep(u'a', 1001), b10 = rep(u'b', 10),
                      b100 = rep(u'b', 100), smile = u"\U0001F600"_s;

        QTest::newRow("example 1: one line")
            << u"Заголовок"_s << u"Всё готово"_s << 48 << 0
            << QStringList{M + u"Всё готово\", 48, \"Заголовок\""_s};
        QTest::newRow("example 2: Yes/No, question")
            << u"Вопрос"_s << u"Строка 1\r\nСтрока 2"_s << 36 << 4
            << block(u"\"Строка 1\" & vbCrLf & \"Строка 2\", 36, \"Вопрос\""_s,
                     {u"6 Да"_s, u"7 Нет"_s});
        QTest::newRow("example 3: all empty")
            << QString() << QString() << 0 << 0 << QStringList{M + E};
        QTest::newRow("example 4: Yes/No/Cancel, Cancel last")
            << u"T"_s << u"X"_s << 3 << 3
            << block(u"\"X\", 3, \"T\""_s, {u"6 Да"_s, u"7 Нет"_s, u"2 Отмена"_s});
        QTest::newRow("OK/Cancel: Cyrillic Ok in the comment")
            << QString() << u"X"_s << 1 << 1
            << block(u"\"X\", 1, \"\""_s, {u"1 \u041E\u043A"_s, u"2 Отмена"_s});
        QTest::newRow("Abort/Retry/Ignore")
            << u"T"_s << u"X"_s << 66 << 2
            << block(u"\"X\", 66, \"T\""_s, {u"3 Прервать"_s, u"4 Повтор"_s, u"5 Пропустить"_s});
        QTest::newRow("Retry/Cancel")
            << u"T"_s << u"X"_s << 21 << 5
            << block(u"\"X\", 21, \"T\""_s, {u"4 Повтор"_s, u"2 Отмена"_s});
        QTest::newRow("quotation marks doubled in text and title, lowest style")
            << u"\"T\""_s << u"say \"hi\""_s << -32768 << 0
            << QStringList{M + u"say \"\"hi\"\"\", -32768, \"\"\"T\"\"\""_s};
        QTest::newRow("text breaks: at the edges, CR CR LF, LF CR")
            << QString() << u"\r\na\r\r\nb\n\rc\r\n"_s << 0 << 0
            << QStringList{M +
                           u"\" & vbCrLf & \"a\" & vbCr & \"\" & vbCrLf & \"b\" & vbLf & \"\" "
                           "& vbCr & \"c\" & vbCrLf & \""_s +
                           E};
        QTest::newRow("title breaks: CR CR LF, LF")
            << u"a\r\r\nb\nc"_s << QString() << 0 << 0
            << QStringList{M + u"\", 0, \"a\" & vbCr & \"\" & vbCrLf & \"b\" & vbLf & \"c\""_s};

        // Continued lines; 1023 columns is the most a line holds.
        QTest::newRow("1023 columns stay on one line")
            << QString() << rep(u'a', 1007) << 0 << 0 << QStringList{M + rep(u'a', 1007) + E};
        QTest::newRow("1024 columns: broken inside the literal")
            << QString() << rep(u'a', 1008) << 0 << 0
            << QStringList{M + rep(u'a', 1007) + C, u"\"a"_s + E};
        QTest::newRow("token ending at column 1023 ends the line")
            << QString() << a1001 + u"\r\n"_s + b10 << 0 << 0
            << QStringList{M + a1001 + CrLf, u"\""_s + b10 + E};
        QTest::newRow("token one column too long is not split")
            << QString() << a1001 + u"a\r\n"_s + b10 << 0 << 0
            << QStringList{M + a1001 + C, u"\"a\" & vbCrLf & \""_s + b10 + E};
        QTest::newRow("text ending in a break at the limit")
            << QString() << a1001 + u"\r\n"_s << 0 << 0
            << QStringList{M + a1001 + CrLf, u"\""_s + E};
        QTest::newRow("an early token wins over a later break inside the literal")
            << QString() << u"aaaaaaaaaa\r\n"_s + rep(u'b', 2000) << 0 << 0
            << QStringList{M + u"aaaaaaaaaa"_s + CrLf, u"\""_s + rep(u'b', 1017) + C,
                           u"\""_s + rep(u'b', 983) + E};
        QTest::newRow("of several tokens the last that fits")
            << QString() << rep(u'a', 500) + u"\r\n"_s + rep(u'b', 400) + u"\r\n"_s + rep(u'c', 400)
            << 0 << 0
            << QStringList{M + rep(u'a', 500) + u"\" & vbCrLf & \""_s + rep(u'b', 400) + CrLf,
                           u"\""_s + rep(u'c', 400) + E};
        QTest::newRow("doubled quotation mark is never split")
            << QString() << rep(u'a', 1009) + u"\""_s + b100 << 0 << 0
            << QStringList{M + rep(u'a', 1009) + C, u"\"\"\""_s + b100 + E};
        QTest::newRow("doubled quotation mark ending at the limit stays on the line")
            << QString() << rep(u'a', 1008) + u"\""_s + b100 << 0 << 0
            << QStringList{M + rep(u'a', 1008) + u"\"\""_s + C, u"\""_s + b100 + E};
        QTest::newRow("surrogate pair is one column")
            << QString() << rep(u'a', 1009) + smile + smile + smile + b100 << 0 << 0
            << QStringList{M + rep(u'a', 1009) + smile + C, u"\""_s + smile + smile + b100 + E};
        QTest::newRow("surrogate pair is never split")
            << QString() << rep(u'a', 1010) + smile + b100 << 0 << 0
            << QStringList{M + rep(u'a', 1010) + C, u"\""_s + smile + b100 + E};
        // The title opens at column 1019: a break right after its opening quotation mark would
        // fit but leave an empty literal.
        QTest::newRow("no break right after a literal's opening quotation mark")
            << b100 << rep(u'a', 1003) << 0 << 0
            << QStringList{M + rep(u'a', 1002) + C, u"\"a\", 0, \""_s + b100 + u"\""_s};
        QTest::newRow("no break before a quotation mark that opens a literal")
            << u"\""_s + b100 << rep(u'a', 1003) << 0 << 0
            << QStringList{M + rep(u'a', 1002) + C, u"\"a\", 0, \"\"\""_s + b100 + u"\""_s};
        QTest::newRow("title is broken like the text")
            << rep(u'c', 2000) << QString() << 0 << 0
            << QStringList{M + u"\", 0, \""_s + rep(u'c', 1003) + C,
                           u"\""_s + rep(u'c', 997) + u"\""_s};
        QTest::newRow("Select Case line is continued, Case lines are not")
            << u"T"_s << rep(u'a', 2000) << 4 << 4
            << block(u"\""_s + rep(u'a', 997) + C + u"\r\n\""_s + rep(u'a', 1003) +
                         u"\", 4, \"T\""_s,
                     {u"6 Да"_s, u"7 Нет"_s});
    }

    void writesTheExactCode() {
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(int, style);
        QFETCH(int, set);
        QFETCH(QStringList, lines);
        const auto code = codegen::buildMessageCode(message(title, text, style, set));
        QCOMPARE(qs(code), lines.join(u"\r\n"_s));
        const auto back = vbreader::read(code);
        QVERIFY2(back.error.empty(), back.error.c_str());
        QCOMPARE(qs(back.text), text);
        QCOMPARE(qs(back.title), title);
        QCOMPARE(back.styleValue, long(style));
    }

    void at24ContinuationsTheMessageIsRefused() {
        // Every line full: the first after `MsgBox "`, the last before `", 0, ""`, all but the
        // last ending in `" & _`.
        const int most = (1023 - 8 - 5) + 23 * (1023 - 1 - 5) + (1023 - 1 - 8);
        const auto back =
            vbreader::read(codegen::buildMessageCode(message({}, rep(u'a', most), 0, 0)));
        QVERIFY2(back.error.empty(), back.error.c_str());
        QCOMPARE(back.statementLines.size(), std::size_t(25));
        QCOMPARE(qs(back.text), rep(u'a', most));
        QVERIFY_THROWS_EXCEPTION(codegen::MessageTooLong,
                                 codegen::buildMessageCode(message({}, rep(u'a', most + 1), 0, 0)));
        // Dense with escapes, far beyond what 25 lines hold.
        QVERIFY_THROWS_EXCEPTION(
            codegen::MessageTooLong,
            codegen::buildMessageCode(message({}, u"ab\"\r\n"_s.repeated(1 << 18), 0, 0)));
    }

    void okIsLatinInTheListButCyrillicInTheCode() {
        // As code units: the two words look the same on screen.
        const auto& sets = codegen::buttonSetCatalogue();
        QCOMPARE(sets[0].listText, std::u16string({0x4F, 0x6B}));
        QCOMPARE(sets[1].listText.substr(0, 2), std::u16string({0x4F, 0x6B}));
        QCOMPARE(sets[1].buttonNames.substr(0, 2), std::u16string({0x41E, 0x43A}));
        QVERIFY(!codegen::buttonSetAt(-1) && !codegen::buttonSetAt(6));
    }

    void randomMessagesReadBackExactly() {
        QRandomGenerator random(20240611);
        int single = 0, continued = 0, refused = 0;
        for (int round = 0; round < 200; ++round) {
            // Short texts, texts around one line's limit, and texts of many lines.
            const int kind = random.bounded(3);
            const int length = kind == 0   ? random.bounded(40)
                               : kind == 1 ? random.bounded(950, 1100)
                                           : random.bounded(1000, 30000);
            const int specialPercent = random.bounded(1, 60);
            codegen::MessageSpec msg;
            msg.text = randomText(random, length, specialPercent);
            msg.title =
                randomText(random, random.bounded(10) ? random.bounded(20) : random.bounded(3000),
                           specialPercent);
            const auto set = codegen::buttonSetCatalogue()[std::size_t(random.bounded(6))];
            msg.buttonNames = set.buttonNames;
            msg.returnCodes = set.returnCodes;
            msg.styleValue = static_cast<std::int16_t>(random.bounded(-32768, 32768));
            const auto context = QByteArray("round ") + QByteArray::number(round);

            QVERIFY2(codegen::doubleQuotes(msg.text) == escapeModel(msg.text, false), context);
            QVERIFY2(codegen::escapeLineBreaks(msg.text) == escapeModel(msg.text, true), context);
            const auto columns = [](const std::u16string& s) {
                return vbreader::codePoints(escapeModel(escapeModel(s, false), true));
            };
            const bool block = !set.returnCodes.empty();
            const std::size_t oneLine = (block ? 23 : 9) + columns(msg.text) + columns(msg.title) +
                                        QByteArray::number(msg.styleValue).size() + 6;
            std::u16string code;
            try {
                code = codegen::buildMessageCode(msg);
            } catch (const codegen::MessageTooLong&) {
                QVERIFY2(oneLine > 12000, context); // 25 lines hold at least a dozen thousand
                ++refused;
                continue;
            }
            const auto back = vbreader::read(code);
            QVERIFY2(back.error.empty(), context + ": " + back.error.c_str());
            QVERIFY2(back.text == msg.text && back.title == msg.title, context);
            QCOMPARE(back.styleValue, long(msg.styleValue));
            QCOMPARE(back.selectCase, block);
            QCOMPARE(back.cases.size(), set.returnCodes.size());
            for (std::size_t i = 0; i < back.cases.size(); ++i)
                QCOMPARE(back.cases[i].code, set.returnCodes[i]);
            // Continued only when one line would be too long.
            QCOMPARE(back.statementLines.size() > 1, oneLine > 1023);
            ++(back.statementLines.size() > 1 ? continued : single);
        }
        // The inputs reached every outcome.
        QVERIFY(single > 15 && continued > 15 && refused > 5);
    }
};

QTEST_APPLESS_MAIN(TestCodegen)
#include "tst_codegen.moc"
