#include "codegen/buttonsets.h"
#include "codegen/messagecode.h"
#include "codegen/messagereader.h"
#include "vbreader.h"

#include <QtTest>
#include <array>

using namespace Qt::StringLiterals;
using namespace std::string_view_literals;

namespace {

QString qs(std::u16string_view s) {
    return QString::fromStdU16String(std::u16string(s));
}
QString rep(char16_t c, int n) {
    return QString(n, QChar(c));
}

codegen::MessageSpec message(const QString& title, const QString& text, int style = 0,
                             int set = 0) {
    const auto s = codegen::buttonSetAt(static_cast<std::int16_t>(set)).value();
    return {title.toStdU16String(), text.toStdU16String(), style, s.buttonNames, s.returnCodes};
}

// A Select Case block: the statement's arguments, then "<code> <name>" per case.
QStringList block(const QString& arguments, const QStringList& cases) {
    QStringList lines{u"Select Case MsgBox ("_s + arguments + u')'};
    for (const QString& c : cases)
        lines << u"Case "_s + c.left(1) + u" ' "_s + c.mid(2) << u"\t"_s;
    return lines << u"End Select"_s;
}

// Columns a text takes on one line, its escapes written plainly.
std::size_t columns(std::u16string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const bool pair = s.substr(i, 2) == u"\r\n";
        n += s[i] == u'"'                            ? 2
             : s[i] == u'\r' || s[i] == u'\n'        ? 12 + 2 * pair
             : vbreader::editorKeeps(s.substr(i, 1)) ? 1
                                                     : 17 + QString::number(s[i], 16).size();
        i += pair;
    }
    return n;
}

// What random texts are made of: mostly ordinary characters, and all that needs care.
const std::array<std::u16string_view, 19> pieces{
    u"a",      u"Я",      u" ",      u"\"",     u"\r\n",     u"\r",     u"\n",
    u"_",      u"&",      u"\t",     u"\u00E9", u"\u20AC",   u"\u0085", u"\U0001F600",
    u"\xD83D", u"\xDE00", u"vbCrLf", u"\"\"",   u"\0\x7F"sv,
};

// Stretches of rare, some and many special pieces: rare tokens make the preferred line ends
// waste the most, many tokens leave few places to end a line.
std::u16string randomText(QRandomGenerator& random, int length) {
    std::u16string text;
    for (int i = 0, perMille = 1; i < length; ++i) {
        if (random.bounded(400) == 0)
            perMille = std::array{1, 30, 700}[random.bounded(3)];
        text += pieces[random.bounded(1000) < perMille ? random.bounded(2, 19) : random.bounded(2)];
    }
    return text;
}

// A block whose Case lines name their answers: "<label> <name>" per case.
QStringList namedBlock(const QString& arguments, const QStringList& cases) {
    QStringList lines{u"Select Case MsgBox ("_s + arguments + u')'};
    for (const QString& c : cases)
        lines << u"Case "_s + c.section(u' ', 0, 0) + u" ' "_s + c.section(u' ', 1) << u"\t"_s;
    return lines << u"End Select"_s;
}

// What a reading shows, on one line: "[text] [title] style, constants, parts, -ignored", or
// "line:column what".
QString describe(const codegen::ReadResult& r) {
    if (!r)
        return u"%1:%2 %3"_s.arg(r.error().line).arg(r.error().column).arg(qs(r.error().what));
    const codegen::StyleParts& p = r->parts;
    QString s = u"[%1] [%2] "_s.arg(qs(r->message.text), qs(r->message.title)) +
                QString::number(r->message.styleValue) +
                u"%1 set %2 icon %3 default %4"_s.arg(r->message.constants ? " constants" : "")
                    .arg(p.buttonSet)
                    .arg(p.icon)
                    .arg(p.defaultButton);
    for (const char* flag : {p.systemModal ? " modal" : "", p.helpButton ? " help" : "",
                             p.right ? " right" : "", p.rtl ? " rtl" : ""})
        s += QLatin1String(flag);
    for (const std::string& ignored : r->ignored)
        s += u" -"_s + QString::fromStdString(ignored);
    return s;
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
        const auto row = [](const char* name, const QString& title, const QString& text,
                            const QStringList& lines, int style = 0, int set = 0) {
            QTest::newRow(name) << title << text << style << set << lines;
        };
        const QString M = u"MsgBox \""_s, E = u"\", 0, \"\""_s, C = u"\" & _"_s,
                      CrLf = u"\" & vbCrLf & _"_s, a1001 = rep(u'a', 1001), b10 = rep(u'b', 10),
                      b100 = rep(u'b', 100);
        const auto chrW = [](const char* hex) { return u"\" & ChrW$(&H"_s + hex + u") & \""_s; };

        row("example 1: one line", u"Заголовок"_s, u"Всё готово"_s,
            {M + u"Всё готово\", 48, \"Заголовок\""_s}, 48);
        row("example 2: Yes/No, question", u"Вопрос"_s, u"Строка 1\r\nСтрока 2"_s,
            block(u"\"Строка 1\" & vbCrLf & \"Строка 2\", 36, \"Вопрос\""_s,
                  {u"6 Да"_s, u"7 Нет"_s}),
            36, 4);
        row("example 3: all empty", {}, {}, {M + E});
        row("example 4: Yes/No/Cancel, Cancel last", u"T"_s, u"X"_s,
            block(u"\"X\", 3, \"T\""_s, {u"6 Да"_s, u"7 Нет"_s, u"2 Отмена"_s}), 3, 3);
        row("OK/Cancel: Cyrillic Ok in the comment", {}, u"X"_s,
            block(u"\"X\", 1, \"\""_s, {u"1 \u041E\u043A"_s, u"2 Отмена"_s}), 1, 1);
        row("Abort/Retry/Ignore", u"T"_s, u"X"_s,
            block(u"\"X\", 66, \"T\""_s, {u"3 Прервать"_s, u"4 Повтор"_s, u"5 Пропустить"_s}), 66,
            2);
        row("quotation marks doubled in text and title, lowest style", u"\"T\""_s, u"say \"hi\""_s,
            {M + u"say \"\"hi\"\"\", -32768, \"\"\"T\"\"\""_s}, -32768);
        row("text breaks: at the edges, CR CR LF, LF CR", {}, u"\r\na\r\r\nb\n\rc\r\n"_s,
            {M +
             u"\" & vbCrLf & \"a\" & vbCr & \"\" & vbCrLf & \"b\" & vbLf & \"\" & vbCr & "
             "\"c\" & vbCrLf & \""_s +
             E});
        row("Café: what code page 1251 lacks as ChrW$", {}, u"Café"_s,
            {M + u"Caf"_s + chrW("E9") + E});
        // Tab, the euro sign, No., no-break space and Cyrillic stay; a pair gives two tokens.
        row("control and unheld characters in text and title", u"\u202E\u0085ё\xD800"_s,
            u"\0\t\x7F€№\u00A0Ё\U0001F600"_s,
            {M + chrW("0") + u"\t"_s + chrW("7F") + u"€№\u00A0Ё"_s + chrW("D83D") + chrW("DE00") +
             u"\", 0, \""_s + chrW("202E") + chrW("85") + u"ё"_s + chrW("D800") + u"\""_s});

        // Continued lines; 1023 columns is the most a line holds.
        row("1023 columns stay on one line", {}, rep(u'a', 1007), {M + rep(u'a', 1007) + E});
        row("1024 columns: broken inside the literal", {}, rep(u'a', 1008),
            {M + rep(u'a', 1007) + C, u"\"a"_s + E});
        row("token ending at column 1023 ends the line", {}, a1001 + u"\r\n"_s + b10,
            {M + a1001 + CrLf, u"\""_s + b10 + E});
        row("ChrW$ token ending at column 1023 ends the line", {}, rep(u'a', 996) + u"é"_s + b10,
            {M + rep(u'a', 996) + chrW("E9").chopped(1) + u"_"_s, u"\""_s + b10 + E});
        row("token one column too long is not split", {}, a1001 + u"a\r\n"_s + b10,
            {M + a1001 + C, u"\"a\" & vbCrLf & \""_s + b10 + E});
        row("an early token wins over a later break inside the literal", {},
            u"aaaaaaaaaa\r\n"_s + rep(u'b', 2000),
            {M + u"aaaaaaaaaa"_s + CrLf, u"\""_s + rep(u'b', 1017) + C,
             u"\""_s + rep(u'b', 983) + E});
        row("of several tokens the last that fits", {},
            rep(u'a', 500) + u"\r\n"_s + rep(u'b', 400) + u"\r\n"_s + rep(u'c', 400),
            {M + rep(u'a', 500) + u"\" & vbCrLf & \""_s + rep(u'b', 400) + CrLf,
             u"\""_s + rep(u'c', 400) + E});
        row("doubled quotation mark is never split", {}, rep(u'a', 1009) + u"\""_s + b100,
            {M + rep(u'a', 1009) + C, u"\"\"\""_s + b100 + E});
        // The title opens at column 1019: a break right after its opening quotation mark would
        // fit but leave an empty literal.
        row("no break right after a literal's opening quotation mark", b100, rep(u'a', 1003),
            {M + rep(u'a', 1002) + C, u"\"a\", 0, \""_s + b100 + u"\""_s});
        row("title is broken like the text", rep(u'c', 2000), {},
            {M + u"\", 0, \""_s + rep(u'c', 1003) + C, u"\""_s + rep(u'c', 997) + u"\""_s});
        row("Select Case line is continued, Case lines are not", u"T"_s, rep(u'a', 2000),
            block(u"\""_s + rep(u'a', 997) + C + u"\r\n\""_s + rep(u'a', 1003) + u"\", 4, \"T\""_s,
                  {u"6 Да"_s, u"7 Нет"_s}),
            4, 4);
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
        QVERIFY(qs(back.text) == text && qs(back.title) == title && back.styleValue == style);
    }

    void refusedOnlyWhenNoLayoutFits25Lines() {
        // Every line full: the first after `MsgBox "`, the last before `", 0, ""`, all but the
        // last ending in `" & _`.
        const int most = (1023 - 8 - 5) + 23 * (1023 - 1 - 5) + (1023 - 1 - 8);
        // Ending each line after its first token would take over 25 lines. The densest layout
        // fills every line instead, ending it inside a token where that holds more.
        const QString wasteful = (u"\r\n"_s + rep(u'b', 1015)).repeated(12) + u"é"_s.repeated(400);
        for (const QString& text : {rep(u'a', most), wasteful}) {
            const auto back = vbreader::read(codegen::buildMessageCode(message({}, text)));
            QVERIFY2(back.error.empty(), back.error.c_str());
            QCOMPARE(qs(back.text), text);
            for (std::size_t i = 0; i + 1 < back.statementLines.size(); ++i)
                QVERIFY(back.statementLines[i].size() >= 1023 - 7);
        }
        QVERIFY_THROWS_EXCEPTION(codegen::MessageTooLong,
                                 codegen::buildMessageCode(message({}, rep(u'a', most + 1))));
        // Dense with escapes, far beyond what 25 lines hold.
        QVERIFY_THROWS_EXCEPTION(
            codegen::MessageTooLong,
            codegen::buildMessageCode(message({}, u"ab\"\r\né"_s.repeated(1 << 18))));
        const QString limits = qs(codegen::messageTooLongText());
        QVERIFY(limits.contains(u" 25 "_s) && limits.contains(u" 1023 "_s));
    }

    void okIsLatinInTheListButCyrillicInTheCode() {
        // As code units: the two words look the same on screen.
        const auto& set = codegen::buttonSetCatalogue()[1];
        QCOMPARE(set.listText.substr(0, 2) + set.buttonNames.substr(0, 2),
                 std::u16string({0x4F, 0x6B, 0x41E, 0x43A}));
        QVERIFY(!codegen::buttonSetAt(-1) && !codegen::buttonSetAt(6));
    }

    void randomMessagesReadBackExactly() {
        QRandomGenerator random(20240611);
        int single = 0, continued = 0, refused = 0;
        for (int round = 0; round < 200; ++round) {
            // Short texts, texts around one line's limit, and texts of many lines.
            const int length = std::array{random.bounded(40), random.bounded(950, 1100),
                                          random.bounded(1000, 30000)}[random.bounded(3)];
            const auto set = codegen::buttonSetCatalogue()[std::size_t(random.bounded(6))];
            const codegen::MessageSpec msg{
                randomText(random, random.bounded(10) ? random.bounded(20) : random.bounded(3000)),
                randomText(random, length), std::int16_t(random.bounded(-32768, 32768)),
                set.buttonNames, set.returnCodes};
            const auto context = QByteArray("round ") + QByteArray::number(round);
            const bool block = !set.returnCodes.empty();
            const std::size_t oneLine = (block ? 23 : 9) + columns(msg.text) + columns(msg.title) +
                                        QByteArray::number(msg.styleValue).size() + 6;
            std::u16string code;
            try {
                code = codegen::buildMessageCode(msg);
            } catch (const codegen::MessageTooLong&) {
                QVERIFY2(oneLine > 25 * 1000, context); // lines end a few columns short at most
                ++refused;
                continue;
            }
            const auto back = vbreader::read(code);
            QVERIFY2(back.error.empty(), context + ": " + back.error.c_str());
            QVERIFY2(back.text == msg.text && back.title == msg.title, context);
            QCOMPARE(back.styleValue, long(msg.styleValue));
            QVERIFY2(back.selectCase == block && back.caseCodes == set.returnCodes, context);
            // Continued only when one line would be too long.
            QCOMPARE(back.statementLines.size() > 1, oneLine > 1023);
            ++(back.statementLines.size() > 1 ? continued : single);
        }
        // The inputs reached every outcome.
        QVERIFY(single > 15 && continued > 15 && refused > 5);
    }

    void namesTheStyleAndTheAnswers_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("set");
        QTest::addColumn<bool>("constants");
        QTest::addColumn<QStringList>("lines");
        const auto row = [](const char* name, int style, int set, bool constants,
                            const QStringList& lines) {
            QTest::newRow(name) << style << set << constants << lines;
        };
        const int all = 16 + 512 + 4096 + 16384 + 524288 + 1048576;
        row("Yes/No, question, the second button the default", 4 + 32 + 256, 4, true,
            namedBlock(u"\"X\", vbYesNo + vbQuestion + vbDefaultButton2, \"T\""_s,
                       {u"vbYes Да"_s, u"vbNo Нет"_s}));
        row("OK with an icon: the icon alone", 64, 0, true,
            {u"MsgBox \"X\", vbInformation, \"T\""_s});
        row("every part zero: vbOKOnly", 0, 0, true, {u"MsgBox \"X\", vbOKOnly, \"T\""_s});
        row("every part, in order", 3 + all, 3, true,
            namedBlock(u"\"X\", vbYesNoCancel + vbCritical + vbDefaultButton3 + vbSystemModal + "
                       "vbMsgBoxHelpButton + vbMsgBoxRight + vbMsgBoxRtlReading, \"T\""_s,
                       {u"vbYes Да"_s, u"vbNo Нет"_s, u"vbCancel Отмена"_s}));
        row("OK/Cancel", 1, 1, true,
            namedBlock(u"\"X\", vbOKCancel, \"T\""_s,
                       {u"vbOK \u041E\u043A"_s, u"vbCancel Отмена"_s}));
        row("Abort/Retry/Ignore", 2 + 48, 2, true,
            namedBlock(u"\"X\", vbAbortRetryIgnore + vbExclamation, \"T\""_s,
                       {u"vbAbort Прервать"_s, u"vbRetry Повтор"_s, u"vbIgnore Пропустить"_s}));
        row("every part as a number without constants", 3 + all, 3, false,
            block(u"\"X\", 1593875, \"T\""_s, {u"6 Да"_s, u"7 Нет"_s, u"2 Отмена"_s}));
        row("8192 has no constant: numbers all the same", 4 + 8192, 4, true,
            block(u"\"X\", 8196, \"T\""_s, {u"6 Да"_s, u"7 Нет"_s}));
        row("-1 has none either", -1, 0, true, {u"MsgBox \"X\", -1, \"T\""_s});
    }

    void namesTheStyleAndTheAnswers() {
        QFETCH(int, style);
        QFETCH(int, set);
        QFETCH(bool, constants);
        QFETCH(QStringList, lines);
        auto msg = message(u"T"_s, u"X"_s, style, set);
        msg.constants = constants;
        const auto code = codegen::buildMessageCode(msg);
        QCOMPARE(qs(code), lines.join(u"\r\n"_s));
        const auto back = vbreader::read(code);
        QVERIFY2(back.error.empty(), back.error.c_str());
        QCOMPARE(back.styleValue, long(style));
    }

    void readsTheFirstMsgBoxCall_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("reading");
        const auto row = [](const char* name, const QString& code, const QString& reading) {
            QTest::newRow(name) << code << reading;
        };
        const QString
            plain = u" set 0 icon 0 default 1"_s,
            expectString =
                u"expected a string (a literal, a constant such as vbCrLf, or Chr or ChrW of a number), found "_s;
        row("statement", u"MsgBox \"Hello\""_s, u"[Hello] [] 0"_s + plain);
        row("call in an assignment, any letter case, the style's constants",
            u"x = msgbox(\"Да?\", VBYESNO + vbQuestion + vbDefaultButton2, \"T\")"_s,
            u"[Да?] [T] 292 constants set 4 icon 32 default 2"_s);
        row("Call: help file and context not kept",
            u"Call MsgBox(\"a\", , \"t\", App.Path & \"x.hlp\", 10)"_s,
            u"[a] [t] 0"_s + plain + u" -HelpFile -Context"_s);
        row("in an If, with Or", u"If MsgBox(\"a\", vbYesNo Or vbCritical Or 4) = vbYes Then"_s,
            u"[a] [] 20 constants set 4 icon 16 default 1"_s);
        row("the tool's block: continued with CR LF and LF, the Case lines not read",
            u"Select Case MsgBox (\"a\" & _\r\n\"b\", _\n36, \"T\")\r\nCase 6 ' Да\r\n\t\r\nCase x"_s,
            u"[ab] [T] 36 set 4 icon 32 default 1"_s);
        row("statement whose prompt opens with a parenthesis", u"MsgBox (\"a\") & \"b\", 64"_s,
            u"[ab] [] 64 set 0 icon 64 default 1"_s);
        row("after comments, strings and another statement",
            u"' MsgBox \"no\" _\r\nMsgBox \"no\"\r\nRem MsgBox \"no\"\rs = \"MsgBox(1)\": MsgBox \"yes\" Else"_s,
            u"[yes] [] 0"_s + plain);
        row("string constants, + and Chr in every spelling; a ChrW$ pair",
            u"MsgBox \"\"\"q\"\"\" + vbTab & vbNullChar & vbNullString & vbNewLine & vbCr & vbLf & "
            "Chr(65) & Chr$(&HB9) & chrw(1025) & ChrW$(&HD83D) & ChrW(-8704) & (\"z\")"_s,
            u"[\"q\"\t\0\r\n\r\nA№Ё\U0001F600z] [] 0"_s + plain);
        row("hexadecimal: Integer up to &HFFFF, Long with &",
            u"MsgBox \"a\", &H4 + &H20& + &HFFFF"_s, u"[a] [] 35 set 3 icon 32 default 1"_s);
        row("every part kept", u"MsgBox \"a\", 1593875, \"t\""_s,
            u"[a] [t] 1593875 set 3 icon 16 default 3 modal help right rtl"_s);
        row("not kept: beyond the set's buttons, no constant, foreground",
            u"MsgBox \"a\", vbYesNo + vbDefaultButton3 + vbMsgBoxSetForeground + 8192"_s,
            u"[a] [] 74244 constants set 4 icon 0 default 1 -vbDefaultButton3 -8192 -vbMsgBoxSetForeground"_s);
        row("not kept: no such set, icon or default button", u"MsgBox \"a\", 7 + 80 + 768"_s,
            u"[a] [] 855"_s + plain + u" -7 -80 -vbDefaultButton4"_s);

        row("a variable", u"x = 1\r\nMsgBox strPrompt"_s,
            u"2:8 "_s + expectString + u"\"strPrompt\""_s);
        row("another function", u"MsgBox \"a\" & Format(x)"_s,
            u"1:14 "_s + expectString + u"\"Format\""_s);
        row("a variable as the style", u"MsgBox \"a\", n"_s,
            u"1:13 expected a number or a message box constant such as vbYesNo, found \"n\""_s);
        row("a comment inside the call", u"MsgBox(\"a\", _\r\n ' b\r\n)"_s,
            u"2:2 expected a number or a message box constant such as vbYesNo, found a comment"_s);
        row("the line ends inside the call", u"MsgBox(\"a\"\n)"_s,
            u"1:11 expected \",\" or \")\", found the end of the line"_s);
        row("an unterminated literal; a column is a character", u"s = \"😀\": MsgBox \"abc"_s,
            u"1:17 "_s + expectString + u"a string literal not closed on its line"_s);
        row("no MsgBox call", u"Beep\r\n"_s,
            u"2:1 expected a MsgBox call, found the end of the code"_s);
        row("code after the statement", u"MsgBox \"a\" \"b\""_s,
            u"1:12 expected \",\" or the end of the statement, found \"\"b\"\""_s);
        row("six arguments", u"MsgBox(\"a\", , , , , 1)"_s, u"1:19 expected \")\", found \",\""_s);
        row("an Integer sum overflows", u"MsgBox \"a\", 16384 + 16384"_s,
            u"1:19 overflow: the sum leaves the range of its type (Integer or Long)"_s);
        row("a number beyond a Long", u"MsgBox \"a\", 2147483648"_s,
            u"1:13 number out of range: \"2147483648\""_s);
        row("too deep for the reader", u"MsgBox \"a\", "_s + QString(65, u'('),
            u"1:77 parentheses nested more than 64 deep"_s);
        row("no character for the code", u"MsgBox Chr(152)"_s,
            u"1:8 no character has the code of \"Chr(152)\""_s);
    }

    void readsTheFirstMsgBoxCall() {
        QFETCH(QString, code);
        QFETCH(QString, reading);
        const auto result = codegen::readMessageCode(code.toStdU16String());
        QCOMPARE(describe(result), reading);
        if (result)
            QCOMPARE(result->message.returnCodes,
                     codegen::buttonSetAt(result->parts.buttonSet)->returnCodes);
    }

    void tellsTheWindowInRussian() {
        QCOMPARE(qs(codegen::readErrorText(codegen::readMessageCode(u"\r\nMsgBox x").error())),
                 u"Код не удалось прочитать: строка 2, столбец 8: ожидается текст в кавычках, "
                 "константа вроде vbCrLf или Chr, ChrW от числа; найдено: «x»."_s);
        QCOMPARE(qs(codegen::ignoredPartsText({"vbMsgBoxSetForeground", "HelpFile"})),
                 u"Окно не сохранит из этого кода: vbMsgBoxSetForeground, файл справки "
                 "(HelpFile)."_s);
    }

    // Every set, icon, default button and option, with and without constants, each with a random
    // message; then random style values. The code is valid, reads back exactly and, read, writes
    // the same code again.
    void everyChoiceReadsBackAndWritesTheSameCode() {
        QRandomGenerator random(20250301);
        std::vector<std::pair<codegen::StyleParts, bool>> choices;
        for (int set = 0; set < 6; ++set)
            for (int button = 1; button <= codegen::buttonCount(std::int16_t(set)); ++button)
                for (int k = 0; k < 5 * 32; ++k) // icon, options, constants
                    choices.push_back({{std::int16_t(k / 32 * 16), std::int16_t(set), button,
                                        bool(k & 1), bool(k & 2), bool(k & 4), bool(k & 8)},
                                       bool(k & 16)});
        for (int i = 0; i < 1000; ++i)
            choices.push_back({{}, random.bounded(2) != 0});
        for (std::size_t round = 0; round < choices.size(); ++round) {
            const auto& [parts, constants] = choices[round];
            const int length = random.bounded(8) ? random.bounded(30) : random.bounded(3000);
            auto msg = codegen::composeMessage(randomText(random, random.bounded(10)),
                                               randomText(random, length), parts, constants);
            const bool randomStyle = round >= choices.size() - 1000;
            if (randomStyle) { // the parts it keeps give the Case lines
                msg.styleValue = std::int32_t(random.generate());
                const auto kept =
                    codegen::composeMessage({}, {}, codegen::splitStyle(msg.styleValue).parts);
                std::tie(msg.buttonNames, msg.returnCodes) =
                    std::tie(kept.buttonNames, kept.returnCodes);
            }
            const auto context = QByteArray("round ") + QByteArray::number(qsizetype(round));
            std::u16string code;
            try {
                code = codegen::buildMessageCode(msg);
            } catch (const codegen::MessageTooLong&) {
                continue;
            }
            const auto judged = vbreader::read(code);
            QVERIFY2(judged.error.empty(), context + ": " + judged.error.c_str());
            QVERIFY2(judged.text == msg.text && judged.styleValue == msg.styleValue, context);
            const auto back = codegen::readMessageCode(code);
            QVERIFY2(back, context + ": " + describe(back).toUtf8());
            auto expected = msg;
            expected.constants = constants && codegen::styleConstantNames(msg.styleValue);
            QVERIFY2(back->message == expected, context);
            QVERIFY2(randomStyle || (back->parts == parts && back->ignored.empty()), context);
            QVERIFY2(codegen::buildMessageCode(back->message) == code, context);
        }
    }
};

QTEST_APPLESS_MAIN(TestCodegen)
#include "tst_codegen.moc"
