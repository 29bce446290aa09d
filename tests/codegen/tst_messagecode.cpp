#include "codegen/buttonsets.h"
#include "codegen/messagecode.h"
#include "vbreader.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using codegen::MessageSpec;

namespace {

QString qs(std::u16string_view s) {
    return QString::fromStdU16String(std::u16string(s));
}
std::u16string u16(const QString& s) {
    return s.toStdU16String();
}

MessageSpec message(const QString& title, const QString& text, int styleValue, int setPosition) {
    const auto set = codegen::buttonSetAt(static_cast<std::int16_t>(setPosition)).value();
    return {u16(title), u16(text), static_cast<std::int16_t>(styleValue), set.buttonNames,
            set.returnCodes};
}

} // namespace

class TestMessageCode : public QObject {
    Q_OBJECT

private slots:
    void buildMessageCodeWritesTheExactSource_data();
    void buildMessageCodeWritesTheExactSource();
    void escapeLineBreaksTurnsEveryBreakIntoItsToken_data();
    void escapeLineBreaksTurnsEveryBreakIntoItsToken();
    void doubleQuotesDoublesOnlyQuotationMarks_data();
    void doubleQuotesDoublesOnlyQuotationMarks();
    void hostileTextStaysInsideItsLiteral_data();
    void hostileTextStaysInsideItsLiteral();
    void casesTakeNamesByPosition_data();
    void casesTakeNamesByPosition();
};

void TestMessageCode::buildMessageCodeWritesTheExactSource_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("styleValue");
    QTest::addColumn<int>("setPosition");
    QTest::addColumn<QString>("expected");

    // The four worked examples.
    QTest::newRow("one line, exclamation, OK only")
        << u"Заголовок"_s << u"Всё готово"_s << 48 << 0
        << u"MsgBox \"Всё готово\", 48, \"Заголовок\""_s;
    QTest::newRow("two lines, question, Yes/No")
        << u"Вопрос"_s << u"Строка 1\r\nСтрока 2"_s << 36 << 4
        << u"Select Case MsgBox (\"Строка 1\" & vbCrLf & \"Строка 2\", 36, \"Вопрос\")\r\n"
           "Case 6 ' Да\r\n\t\r\nCase 7 ' Нет\r\n\t\r\nEnd Select"_s;
    QTest::newRow("all empty") << QString() << QString() << 0 << 0 << u"MsgBox \"\", 0, \"\""_s;
    QTest::newRow("Yes/No/Cancel, Cancel last")
        << u"T"_s << u"X"_s << 3 << 3
        << u"Select Case MsgBox (\"X\", 3, \"T\")\r\nCase 6 ' Да\r\n\t\r\nCase 7 ' Нет\r\n\t\r\n"
           "Case 2 ' Отмена\r\n\t\r\nEnd Select"_s;

    // Line breaks at the edges and in runs.
    QTest::newRow("text ending in CR LF ends with an empty literal")
        << QString() << u"a\r\n"_s << 0 << 0 << u"MsgBox \"a\" & vbCrLf & \"\", 0, \"\""_s;
    QTest::newRow("text starting with CR LF starts with an empty literal")
        << QString() << u"\r\na"_s << 0 << 0 << u"MsgBox \"\" & vbCrLf & \"a\", 0, \"\""_s;
    QTest::newRow("two CR LF in a row")
        << QString() << u"a\r\n\r\nb"_s << 0 << 0
        << u"MsgBox \"a\" & vbCrLf & \"\" & vbCrLf & \"b\", 0, \"\""_s;
    QTest::newRow("CR CR LF: vbCr then vbCrLf")
        << QString() << u"a\r\r\nb"_s << 0 << 0
        << u"MsgBox \"a\" & vbCr & \"\" & vbCrLf & \"b\", 0, \"\""_s;
    QTest::newRow("LF CR is two breaks, not a pair")
        << QString() << u"a\n\rb"_s << 0 << 0
        << u"MsgBox \"a\" & vbLf & \"\" & vbCr & \"b\", 0, \"\""_s;
    QTest::newRow("title line breaks become tokens too")
        << u"a\r\nb\nc"_s << QString() << 0 << 0
        << u"MsgBox \"\", 0, \"a\" & vbCrLf & \"b\" & vbLf & \"c\""_s;

    // Quotation marks.
    QTest::newRow("quotation marks doubled in text and title")
        << u"\"T\""_s << u"say \"hi\""_s << 0 << 0
        << u"MsgBox \"say \"\"hi\"\"\", 0, \"\"\"T\"\"\""_s;
    QTest::newRow("quotation mark next to a line break")
        << QString() << u"\"\r\n\""_s << 0 << 0
        << u"MsgBox \"\"\"\" & vbCrLf & \"\"\"\", 0, \"\""_s;

    // Style values as written by the window, including the ones only a cleared list gives.
    QTest::newRow("style -1: nothing chosen")
        << QString() << QString() << -1 << 0 << u"MsgBox \"\", -1, \"\""_s;
    QTest::newRow("style 15: stop icon, list cleared")
        << QString() << QString() << 15 << 0 << u"MsgBox \"\", 15, \"\""_s;
    QTest::newRow("lowest 16-bit style")
        << QString() << QString() << -32768 << 0 << u"MsgBox \"\", -32768, \"\""_s;
    QTest::newRow("highest 16-bit style")
        << QString() << QString() << 32767 << 0 << u"MsgBox \"\", 32767, \"\""_s;

    QTest::newRow("OK/Cancel comments with Cyrillic Ok, empty title keeps its quotes")
        << QString() << u"X"_s << 1 << 1
        << u"Select Case MsgBox (\"X\", 1, \"\")\r\nCase 1 ' \u041E\u043A\r\n\t\r\n"
           "Case 2 ' Отмена\r\n\t\r\nEnd Select"_s;
    QTest::newRow("Abort/Retry/Ignore with information icon")
        << u"T"_s << u"X"_s << 66 << 2
        << u"Select Case MsgBox (\"X\", 66, \"T\")\r\nCase 3 ' Прервать\r\n\t\r\n"
           "Case 4 ' Повтор\r\n\t\r\nCase 5 ' Пропустить\r\n\t\r\nEnd Select"_s;
    QTest::newRow("Retry/Cancel with stop icon")
        << u"T"_s << u"X"_s << 21 << 5
        << u"Select Case MsgBox (\"X\", 21, \"T\")\r\nCase 4 ' Повтор\r\n\t\r\n"
           "Case 2 ' Отмена\r\n\t\r\nEnd Select"_s;
}

void TestMessageCode::buildMessageCodeWritesTheExactSource() {
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(int, styleValue);
    QFETCH(int, setPosition);
    QFETCH(QString, expected);
    const std::u16string code =
        codegen::buildMessageCode(message(title, text, styleValue, setPosition));
    QCOMPARE(qs(code), expected);

    const auto back = vbreader::read(code);
    QVERIFY2(back.error.empty(), back.error.c_str());
    QCOMPARE(qs(back.text), text);
    QCOMPARE(qs(back.title), title);
    QCOMPARE(back.styleValue, long(styleValue));
}

void TestMessageCode::escapeLineBreaksTurnsEveryBreakIntoItsToken_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("no breaks, quotes untouched") << u"a \"b\""_s << u"a \"b\""_s;
    QTest::newRow("CR LF") << u"a\r\nb"_s << u"a\" & vbCrLf & \"b"_s;
    QTest::newRow("lone CR") << u"a\rb"_s << u"a\" & vbCr & \"b"_s;
    QTest::newRow("lone LF") << u"a\nb"_s << u"a\" & vbLf & \"b"_s;
    QTest::newRow("CR CR LF") << u"\r\r\n"_s << u"\" & vbCr & \"\" & vbCrLf & \""_s;
    QTest::newRow("CR LF LF") << u"\r\n\n"_s << u"\" & vbCrLf & \"\" & vbLf & \""_s;
    QTest::newRow("trailing CR") << u"a\r"_s << u"a\" & vbCr & \""_s;
    // Long enough for the wide scan, with breaks at the edges of its blocks.
    const QString run = QString(15, u'x');
    QTest::newRow("breaks around 16-unit blocks")
        << run + u"\r\n"_s + run + u"\n"_s + QString(40, u'y')
        << run + u"\" & vbCrLf & \""_s + run + u"\" & vbLf & \""_s + QString(40, u'y');
}

void TestMessageCode::escapeLineBreaksTurnsEveryBreakIntoItsToken() {
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(qs(codegen::escapeLineBreaks(u16(input))), expected);
}

void TestMessageCode::doubleQuotesDoublesOnlyQuotationMarks_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("one") << u"\""_s << u"\"\""_s;
    QTest::newRow("already doubled is doubled again") << u"\"\""_s << u"\"\"\"\""_s;
    QTest::newRow("line breaks untouched") << u"a\"\r\n\"b"_s << u"a\"\"\r\n\"\"b"_s;
    QTest::newRow("typographic quotes are ordinary characters") << u"«„“”»"_s << u"«„“”»"_s;
    QTest::newRow("quote after 20 plain units")
        << QString(20, u'z') + u'"' << QString(20, u'z') + u"\"\""_s;
}

void TestMessageCode::doubleQuotesDoublesOnlyQuotationMarks() {
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(qs(codegen::doubleQuotes(u16(input))), expected);
}

void TestMessageCode::hostileTextStaysInsideItsLiteral_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("call injected between quotes") << u"\" & Shell(\"calc.exe\") & \""_s;
    QTest::newRow("statement injected after a line break")
        << u"x\")\r\nKill \"C:\\*.*\"\r\nMsgBox (\""_s;
    QTest::newRow("comment and continuation characters") << u"' _\r\n_"_s;
}

void TestMessageCode::hostileTextStaysInsideItsLiteral() {
    QFETCH(QString, text);
    for (const int set : {0, 4}) {
        const auto code = codegen::buildMessageCode(message(text, text, 0, set));
        const auto back = vbreader::read(code);
        QVERIFY2(back.error.empty(), back.error.c_str());
        QCOMPARE(qs(back.text), text);
        QCOMPARE(qs(back.title), text);
    }
}

void TestMessageCode::casesTakeNamesByPosition_data() {
    QTest::addColumn<QString>("buttonNames");
    QTest::addColumn<QString>("returnCodes");
    QTest::addColumn<QString>("caseLines");
    QTest::newRow("empty names are kept")
        << u"a||c"_s << u"123"_s << u"Case 1 ' a|Case 2 ' |Case 3 ' c"_s;
    QTest::newRow("missing names leave the comment empty")
        << u"a"_s << u"12"_s << u"Case 1 ' a|Case 2 ' "_s;
    QTest::newRow("surplus names are not written") << u"a|b|c"_s << u"7"_s << u"Case 7 ' a"_s;
}

void TestMessageCode::casesTakeNamesByPosition() {
    QFETCH(QString, buttonNames);
    QFETCH(QString, returnCodes);
    QFETCH(QString, caseLines);
    const MessageSpec spec{u"T", u"X", 0, u16(buttonNames), u16(returnCodes)};
    QStringList lines = qs(codegen::buildMessageCode(spec)).split(u"\r\n"_s);
    QStringList cases;
    for (const QString& line : lines)
        if (line.startsWith(u"Case "_s))
            cases << line;
    QCOMPARE(cases.join(u'|'), caseLines);
}

QTEST_APPLESS_MAIN(TestMessageCode)
#include "tst_messagecode.moc"
