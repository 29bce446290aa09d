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

MessageSpec message(const QString& title, const QString& text, int styleValue, int setPosition) {
    const auto set = codegen::buttonSetAt(static_cast<std::int16_t>(setPosition)).value();
    return {title.toStdU16String(), text.toStdU16String(), static_cast<std::int16_t>(styleValue),
            set.buttonNames, set.returnCodes};
}

QString rep(char16_t c, int n) {
    return QString(n, QChar(c));
}

// Columns a plain MsgBox with style 0 and an empty title spends around its text.
constexpr int head = 8; // MsgBox "
constexpr int tail = 8; // ", 0, ""
constexpr int brk = 5;  // " & _
constexpr int limit = 1023;
constexpr int firstLineChars = limit - head - brk;
constexpr int middleLineChars = limit - 1 - brk;
constexpr int lastLineChars = limit - 1 - tail;

} // namespace

class TestContinuation : public QObject {
    Q_OBJECT

private slots:
    void longStatementIsContinuedAtTheRightPlace_data();
    void longStatementIsContinuedAtTheRightPlace();
    void atMost24ContinuationsAreWritten_data();
    void atMost24ContinuationsAreWritten();
    void hugeMessageIsRefusedWithAClearReason();
};

void TestContinuation::longStatementIsContinuedAtTheRightPlace_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("setPosition");
    QTest::addColumn<QStringList>("lines");
    const QString a1001 = rep(u'a', 1001), b10 = rep(u'b', 10), smile = u"\U0001F600"_s;

    QTest::newRow("1023 columns stay on one line")
        << QString() << rep(u'a', 1007) << 0
        << QStringList{u"MsgBox \""_s + rep(u'a', 1007) + u"\", 0, \"\""_s};
    QTest::newRow("1024 columns: broken inside the literal, one character carried over")
        << QString() << rep(u'a', 1008) << 0
        << QStringList{u"MsgBox \""_s + rep(u'a', 1007) + u"\" & _"_s, u"\"a\", 0, \"\""_s};
    QTest::newRow("long literal broken at column 1023")
        << QString() << rep(u'a', 2000) << 0
        << QStringList{u"MsgBox \""_s + rep(u'a', 1010) + u"\" & _"_s,
                       u"\""_s + rep(u'a', 990) + u"\", 0, \"\""_s};
    QTest::newRow("token ending at column 1023 ends the line")
        << QString() << a1001 + u"\r\n"_s + b10 << 0
        << QStringList{u"MsgBox \""_s + a1001 + u"\" & vbCrLf & _"_s,
                       u"\""_s + b10 + u"\", 0, \"\""_s};
    QTest::newRow("token one column too long is not split")
        << QString() << a1001 + u"a\r\n"_s + b10 << 0
        << QStringList{u"MsgBox \""_s + a1001 + u"\" & _"_s,
                       u"\"a\" & vbCrLf & \""_s + b10 + u"\", 0, \"\""_s};
    QTest::newRow("vbCr token at the limit")
        << QString() << rep(u'a', 1003) + u"\r"_s + b10 << 0
        << QStringList{u"MsgBox \""_s + rep(u'a', 1003) + u"\" & vbCr & _"_s,
                       u"\""_s + b10 + u"\", 0, \"\""_s};
    QTest::newRow("vbLf token at the limit")
        << QString() << rep(u'a', 1003) + u"\n"_s + b10 << 0
        << QStringList{u"MsgBox \""_s + rep(u'a', 1003) + u"\" & vbLf & _"_s,
                       u"\""_s + b10 + u"\", 0, \"\""_s};
    QTest::newRow("text ending in a line break at the limit")
        << QString() << a1001 + u"\r\n"_s << 0
        << QStringList{u"MsgBox \""_s + a1001 + u"\" & vbCrLf & _"_s, u"\"\", 0, \"\""_s};
    QTest::newRow("an early token wins over a later break inside the literal")
        << QString() << rep(u'a', 10) + u"\r\n"_s + rep(u'b', 2000) << 0
        << QStringList{u"MsgBox \"aaaaaaaaaa\" & vbCrLf & _"_s,
                       u"\""_s + rep(u'b', 1017) + u"\" & _"_s,
                       u"\""_s + rep(u'b', 983) + u"\", 0, \"\""_s};
    QTest::newRow("of several tokens the last that fits")
        << QString() << rep(u'a', 500) + u"\r\n"_s + rep(u'b', 400) + u"\r\n"_s + rep(u'c', 400)
        << 0
        << QStringList{u"MsgBox \""_s + rep(u'a', 500) + u"\" & vbCrLf & \""_s + rep(u'b', 400) +
                           u"\" & vbCrLf & _"_s,
                       u"\""_s + rep(u'c', 400) + u"\", 0, \"\""_s};
    QTest::newRow("doubled quotation mark is never split")
        << QString() << rep(u'a', 1009) + u"\""_s + rep(u'b', 100) << 0
        << QStringList{u"MsgBox \""_s + rep(u'a', 1009) + u"\" & _"_s,
                       u"\"\"\""_s + rep(u'b', 100) + u"\", 0, \"\""_s};
    QTest::newRow("doubled quotation mark ending at the limit stays on the line")
        << QString() << rep(u'a', 1008) + u"\""_s + rep(u'b', 100) << 0
        << QStringList{u"MsgBox \""_s + rep(u'a', 1008) + u"\"\"\" & _"_s,
                       u"\""_s + rep(u'b', 100) + u"\", 0, \"\""_s};
    QTest::newRow("surrogate pair is one column")
        << QString() << rep(u'a', 1009) + smile + smile + smile + rep(u'b', 100) << 0
        << QStringList{u"MsgBox \""_s + rep(u'a', 1009) + smile + u"\" & _"_s,
                       u"\""_s + smile + smile + rep(u'b', 100) + u"\", 0, \"\""_s};
    QTest::newRow("surrogate pair is never split")
        << QString() << rep(u'a', 1010) + smile + rep(u'b', 100) << 0
        << QStringList{u"MsgBox \""_s + rep(u'a', 1010) + u"\" & _"_s,
                       u"\""_s + smile + rep(u'b', 100) + u"\", 0, \"\""_s};
    // The title literal opens at column 1019 here: a break right after its opening quotation
    // mark would fit but leave an empty literal, so the text is broken instead.
    QTest::newRow("no break right after a literal's opening quotation mark")
        << rep(u'b', 100) << rep(u'a', 1003) << 0
        << QStringList{u"MsgBox \""_s + rep(u'a', 1002) + u"\" & _"_s,
                       u"\"a\", 0, \""_s + rep(u'b', 100) + u"\""_s};
    QTest::newRow("no break before a quotation mark that opens a literal")
        << u"\""_s + rep(u'b', 100) << rep(u'a', 1003) << 0
        << QStringList{u"MsgBox \""_s + rep(u'a', 1002) + u"\" & _"_s,
                       u"\"a\", 0, \"\"\""_s + rep(u'b', 100) + u"\""_s};
    QTest::newRow("title is broken like the text")
        << rep(u'c', 2000) << QString() << 0
        << QStringList{u"MsgBox \"\", 0, \""_s + rep(u'c', 1003) + u"\" & _"_s,
                       u"\""_s + rep(u'c', 997) + u"\""_s};
    QTest::newRow("Select Case line is continued, Case lines are not")
        << u"T"_s << rep(u'a', 2000) << 4
        << QStringList{u"Select Case MsgBox (\""_s + rep(u'a', 997) + u"\" & _"_s,
                       u"\""_s + rep(u'a', 1003) + u"\", 4, \"T\")"_s,
                       u"Case 6 ' Да"_s,
                       u"\t"_s,
                       u"Case 7 ' Нет"_s,
                       u"\t"_s,
                       u"End Select"_s};
}

void TestContinuation::longStatementIsContinuedAtTheRightPlace() {
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(int, setPosition);
    QFETCH(QStringList, lines);
    const auto code = codegen::buildMessageCode(message(title, text, setPosition, setPosition));
    QCOMPARE(qs(code).split(u"\r\n"_s), lines);

    const auto back = vbreader::read(code);
    QVERIFY2(back.error.empty(), back.error.c_str());
    QCOMPARE(qs(back.text), text);
    QCOMPARE(qs(back.title), title);
}

void TestContinuation::atMost24ContinuationsAreWritten_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("continuations"); // -1: refused
    QTest::newRow("one line") << limit - head - tail << 0;
    QTest::newRow("two lines, second one full") << firstLineChars + lastLineChars << 1;
    QTest::newRow("three lines") << firstLineChars + lastLineChars + 1 << 2;
    QTest::newRow("24 continuations, every line full")
        << firstLineChars + 23 * middleLineChars + lastLineChars << 24;
    QTest::newRow("one character more: refused")
        << firstLineChars + 23 * middleLineChars + lastLineChars + 1 << -1;
}

void TestContinuation::atMost24ContinuationsAreWritten() {
    QFETCH(int, length);
    QFETCH(int, continuations);
    const auto spec = message(QString(), rep(u'a', length), 0, 0);
    if (continuations < 0) {
        QVERIFY_THROWS_EXCEPTION(codegen::MessageTooLong, codegen::buildMessageCode(spec));
        return;
    }
    const auto back = vbreader::read(codegen::buildMessageCode(spec));
    QVERIFY2(back.error.empty(), back.error.c_str());
    QCOMPARE(int(back.statementLines.size()) - 1, continuations);
    QCOMPARE(back.text.size(), std::size_t(length));
}

void TestContinuation::hugeMessageIsRefusedWithAClearReason() {
    // Dense with quotation marks and line breaks, far beyond what 25 lines hold.
    std::u16string text;
    for (int i = 0; i < (1 << 20); ++i)
        text += u"ab\"\r\n";
    try {
        codegen::buildMessageCode({u"T", text, 0, {}, {}});
        QFAIL("a message of 5 MiB was accepted");
    } catch (const codegen::MessageTooLong& e) {
        const QString reason = QString::fromUtf8(e.what());
        QVERIFY2(reason.contains(u"too long"_s) && reason.contains(u"24"_s), e.what());
    }
}

QTEST_APPLESS_MAIN(TestContinuation)
#include "tst_continuation.moc"
