#include "cli/generatecommand.h"
#include "cli/utf8.h"

#include <QtTest>
#include <sstream>

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QFile file(m_dir.filePath(QStringLiteral("crlf.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Строка 1\r\nСтрока 2");
    }

    // Code on standard output and status 0, or one line on standard error and status 2. Rows
    // marked [program] also run the built program, as a script would.
    void commandWritesCodeOrOneErrorLine_data() {
        QTest::addColumn<QByteArrayList>("args");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray none, gen = "alertwright-gen: ";

        QTest::newRow("Cyrillic options, no newline after the code [program]")
            << QByteArrayList{"--title", "Вопрос",   "--text",    "Да или нет?",
                              "--icon",  "question", "--buttons", "4"}
            << none
            << QByteArray("Select Case MsgBox (\"Да или нет?\", 36, \"Вопрос\")\r\n"
                          "Case 6 ' Да\r\n\t\r\nCase 7 ' Нет\r\n\t\r\nEnd Select");
        QTest::newRow("text file with CR LF")
            << QByteArrayList{"--text-file", "@DIR@/crlf.txt", "--icon", "stop"} << none
            << QByteArray("MsgBox \"Строка 1\" & vbCrLf & \"Строка 2\", 16, \"\"");
        QTest::newRow("standard input: lone CR, four-byte character")
            << QByteArrayList{"--text-file", "-"} << QByteArray("из\r\n😀\r")
            << QByteArray("MsgBox \"из\" & vbCrLf & \"😀\" & vbCr & \"\", 0, \"\"");
        QTest::newRow("help") << QByteArrayList{"--help"} << none
                              << QByteArray::fromStdString(cli::usageText());
        QTest::newRow("version") << QByteArrayList{"--version"} << none
                                 << QByteArray("alertwright-gen 1.3.0\n");

        QTest::newRow("unknown option") << QByteArrayList{"--colour", "red"} << none
                                        << gen + "unknown option '--colour' (see --help)\n";
        QTest::newRow("bad icon") << QByteArrayList{"--icon", "Stop"} << none
                                  << gen + "unknown icon 'Stop'; valid icons: none, stop, "
                                           "question, exclamation, information\n";
        QTest::newRow("button set outside the list") << QByteArrayList{"--buttons", "6"} << none
                                                     << gen + "button set '6' is outside 0 to 5\n";
        QTest::newRow("button set not a number")
            << QByteArrayList{"--buttons", "1x"} << none
            << gen + "--buttons takes a button-set number from 0 to 5, not '1x'\n";
        QTest::newRow("--text with --text-file")
            << QByteArrayList{"--text", "a", "--text-file", "-"} << none
            << gen + "--text and --text-file cannot be used together\n";
        QTest::newRow("text not UTF-8: Windows-1251 bytes")
            << QByteArrayList{"--text", "\xC4\xE0"} << none
            << gen + "the text is not valid UTF-8 (bad byte at offset 0)\n";
        QTest::newRow("standard input not UTF-8: encoded surrogate [program]")
            << QByteArrayList{"--text-file", "-"} << QByteArray("abc\xED\xA0\x80")
            << gen + "the text from standard input is not valid UTF-8 (bad byte at offset 3)\n";
        QTest::newRow("unreadable file")
            << QByteArrayList{"--text-file", "@DIR@/none.txt"} << none
            << gen + "cannot read '@DIR@/none.txt': No such file or directory\n";
        QTest::newRow("message too long")
            << QByteArrayList{"--text-file", "-"} << QByteArray(30000, 'a')
            << gen + "message too long: its statement would need more than 24 line continuations, "
                     "the most Visual Basic allows (each line holds at most 1023 characters)\n";
    }

    void commandWritesCodeOrOneErrorLine() {
        QFETCH(QByteArrayList, args);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        const QByteArray dir = m_dir.path().toUtf8();
        expected.replace("@DIR@", dir);
        const bool bad = expected.startsWith("alertwright-gen: ");
        const QByteArray output = bad ? QByteArray() : expected,
                         error = bad ? expected : QByteArray();
        const int status = bad ? 2 : 0;
        std::vector<std::string> argv;
        for (QByteArray& arg : args)
            argv.push_back(arg.replace("@DIR@", dir).toStdString());
        std::istringstream in(input.toStdString());
        const auto result = cli::runGenerateCommand(argv, in);
        QCOMPARE(QByteArray::fromStdString(result.standardError), error);
        QCOMPARE(QByteArray::fromStdString(result.standardOutput), output);
        QCOMPARE(result.exitStatus, status);
        if (!QByteArray(QTest::currentDataTag()).endsWith("[program]"))
            return;

        QProcess program;
        QStringList programArgs;
        for (const QByteArray& arg : args)
            programArgs << QString::fromUtf8(arg);
        program.start(QStringLiteral(ALERTWRIGHT_GEN_PATH), programArgs);
        QVERIFY(program.waitForStarted());
        program.write(input);
        program.closeWriteChannel();
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.readAllStandardError(), error);
        QCOMPARE(program.readAllStandardOutput(), output);
        QCOMPARE(program.exitCode(), status);
    }

    void invalidUtf8OffsetFindsTheFirstBadSequence_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("offset"); // -1: valid
        QTest::newRow("valid: 2, 3 and 4 bytes, U+D7FF, U+10FFFF")
            << QByteArray("a\0Д€😀\xED\x9F\xBF\xF4\x8F\xBF\xBF", 18) << -1;
        QTest::newRow("overlong, three bytes") << QByteArray("x\xE0\x80\xAF") << 1;
        QTest::newRow("overlong, four bytes") << QByteArray("\xF0\x8F\xBF\xBF") << 0;
        QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << 0;
        QTest::newRow("truncated at the end") << QByteArray("ab\xE2\x82") << 2;
    }

    void invalidUtf8OffsetFindsTheFirstBadSequence() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, offset);
        const auto found =
            cli::invalidUtf8Offset(std::string_view(bytes.constData(), bytes.size()));
        QCOMPARE(found ? int(*found) : -1, offset);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
