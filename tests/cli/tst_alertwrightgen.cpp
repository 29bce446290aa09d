#include "cli/generatecommand.h"

#include <QtTest>

using namespace Qt::StringLiterals;

// The installed program as a script sees it: bytes on standard output, one line on standard
// error, the exit status.
class TestAlertwrightGen : public QObject {
    Q_OBJECT

private slots:
    void programWritesCodeOrOneErrorLine_data();
    void programWritesCodeOrOneErrorLine();
};

void TestAlertwrightGen::programWritesCodeOrOneErrorLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QByteArray>("error");

    QTest::newRow("Cyrillic arguments, no newline after the code")
        << QStringList{u"--title"_s, u"Вопрос"_s,   u"--text"_s,    u"Да или нет?"_s,
                       u"--icon"_s,  u"question"_s, u"--buttons"_s, u"4"_s}
        << QByteArray() << 0
        << QByteArray("Select Case MsgBox (\"Да или нет?\", 36, \"Вопрос\")\r\n"
                      "Case 6 ' Да\r\n\t\r\nCase 7 ' Нет\r\n\t\r\nEnd Select")
        << QByteArray();
    QTest::newRow("text from standard input")
        << QStringList{u"--text-file"_s, u"-"_s} << QByteArray("a\nb") << 0
        << QByteArray("MsgBox \"a\" & vbLf & \"b\", 0, \"\"") << QByteArray();
    QTest::newRow("standard input not UTF-8")
        << QStringList{u"--text-file"_s, u"-"_s} << QByteArray("\xC4\xE0") << 2 << QByteArray()
        << QByteArray("alertwright-gen: the text from standard input is not valid UTF-8 (bad "
                      "byte at offset 0)\n");
    QTest::newRow("message too long")
        << QStringList{u"--text-file"_s, u"-"_s} << QByteArray(1 << 20, '"') << 2 << QByteArray()
        << QByteArray("alertwright-gen: message too long: its statement would need more than 24 "
                      "line continuations, the most Visual Basic allows (each line holds at most "
                      "1023 characters)\n");
    QTest::newRow("unknown option")
        << QStringList{u"--bogus"_s} << QByteArray() << 2 << QByteArray()
        << QByteArray("alertwright-gen: unknown option '--bogus' (see --help)\n");
    QTest::newRow("help") << QStringList{u"--help"_s} << QByteArray() << 0
                          << QByteArray::fromStdString(cli::usageText()) << QByteArray();
    QTest::newRow("version") << QStringList{u"--version"_s} << QByteArray() << 0
                             << QByteArray("alertwright-gen 1.3.0\n") << QByteArray();
}

void TestAlertwrightGen::programWritesCodeOrOneErrorLine() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, input);
    QFETCH(int, exitStatus);
    QFETCH(QByteArray, output);
    QFETCH(QByteArray, error);

    QProcess process;
    process.start(QStringLiteral(ALERTWRIGHT_GEN_PATH), args);
    QVERIFY(process.waitForStarted());
    process.write(input);
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.readAllStandardError(), error);
    QCOMPARE(process.readAllStandardOutput(), output);
    QCOMPARE(process.exitCode(), exitStatus);
}

QTEST_GUILESS_MAIN(TestAlertwrightGen)
#include "tst_alertwrightgen.moc"
