#include "cli/generatecommand.h"

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
        QFile code(m_dir.filePath(QStringLiteral("code.bas")));
        QVERIFY(code.open(QIODevice::WriteOnly));
        code.write("MsgBox \"a\" & vbTab & _\r\n ChrW(&HD800) & \"\"\"\", vbDefaultButton2 + "
                   "vbMsgBoxSetForeground, , \"x.hlp\", 1");
    }

    // Code on standard output and status 0, or one line on standard error and status 2. Rows
    // marked [program] also run the built program, as a script would; [open] ones keep its
    // standard input open, so it must stop by itself.
    void commandWritesCodeOrOneErrorLine_data() {
        QTest::addColumn<QByteArrayList>("args");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray none,
            gen = "alertwright-gen: ", stdinText = "the text from standard input",
            tooLong = " is too long: over 76728 bytes, more than any message "
                      "Visual Basic code can hold\n";
        const auto row = [](const char* name, const QByteArrayList& args, const QByteArray& input,
                            const QByteArray& expected) {
            QTest::newRow(name) << args << input << expected;
        };

        row("Cyrillic options, no newline after the code [program]",
            {"--title", "Вопрос", "--text", "Да или нет?", "--icon", "question", "--buttons", "4"},
            none,
            "Select Case MsgBox (\"Да или нет?\", 36, \"Вопрос\")\r\n"
            "Case 6 ' Да\r\n\t\r\nCase 7 ' Нет\r\n\t\r\nEnd Select");
        row("text file with CR LF", {"--text-file", "@DIR@/crlf.txt", "--icon", "stop"}, none,
            "MsgBox \"Строка 1\" & vbCrLf & \"Строка 2\", 16, \"\"");
        row("standard input: byte-order mark skipped, lone CR, é, U+10FFFF and U+D7FF as ChrW$ "
            "[program]",
            {"--text-file", "-"}, "\xEF\xBB\xBFиз\r\né\xF4\x8F\xBF\xBF\r\xED\x9F\xBF",
            "MsgBox \"из\" & vbCrLf & \"\" & ChrW$(&HE9) & \"\" & ChrW$(&HDBFF) & \"\" & "
            "ChrW$(&HDFFF) & \"\" & vbCr & \"\" & ChrW$(&HD7FF) & \"\", 0, \"\"");
        row("-- ends the options; values may start with -", {"--title", "--", "--text=-", "--"},
            none, "MsgBox \"-\", 0, \"--\"");
        row("help", {"--help", "--title", "x"}, none, QByteArray::fromStdString(cli::usageText()));
        row("version", {"--version"}, none, "alertwright-gen 1.3.0\n");

        row("argument after --", {"--", "--help"}, none,
            gen + "unexpected argument '--help' (see --help)\n");
        row("--version takes nothing else", {"--version", "extra"}, none,
            gen + "unexpected argument 'extra' (see --help)\n");
        row("--help takes no unknown option", {"--help", "--bogus"}, none,
            gen + "unknown option '--bogus' (see --help)\n");
        row("bad icon; control, C1, bidirectional and non-UTF-8 bytes escaped",
            {"--icon", "\x1B[2J\xE2\x80\xAE\xC2\x85\\\xFF"}, none,
            gen + "unknown icon '\\x1B[2J\\u202E\\u0085\\\\\\xFF'; valid icons: none, stop, "
                  "question, exclamation, information\n");
        row("button set outside the list", {"--buttons", "6"}, none,
            gen + "button set '6' is outside 0 to 5\n");
        row("button set with a sign", {"--buttons", "-0"}, none,
            gen + "--buttons takes a button-set number from 0 to 5, not '-0'\n");
        row("--text with --text-file", {"--text", "a", "--text-file", "-"}, none,
            gen + "--text and --text-file cannot be used together\n");
        row("text not UTF-8: Windows-1251 bytes", {"--text", "\xC4\xE0"}, none,
            gen + "the text is not valid UTF-8 (bad byte at offset 0)\n");
        row("title not UTF-8: overlong form", {"--title", "x\xE0\x80\xAF"}, none,
            gen + "the title is not valid UTF-8 (bad byte at offset 1)\n");
        row("text not UTF-8: above U+10FFFF", {"--text", "\xF4\x90\x80\x80"}, none,
            gen + "the text is not valid UTF-8 (bad byte at offset 0)\n");
        row("standard input not UTF-8: stops at the bad byte [program][open]", {"--text-file", "-"},
            "abc\xED\xA0\x80", gen + stdinText + " is not valid UTF-8 (bad byte at offset 3)\n");
        row("standard input ends inside a character", {"--text-file", "-"}, "ab\xE2\x82",
            gen + stdinText + " is not valid UTF-8 (bad byte at offset 2)\n");
        row("standard input longer than any message: stops reading [program][open]",
            {"--text-file", "-"}, QByteArray("y\n").repeated(40000), gen + stdinText + tooLong);
        row("endless file", {"--text-file", "/dev/zero"}, none,
            gen + "the text in '/dev/zero'" + tooLong);
        row("unreadable file", {"--text-file", "@DIR@/none.txt"}, none,
            gen + "cannot read '@DIR@/none.txt': No such file or directory\n");
        row("every new option, constants [program]",
            {"--text", "?", "--icon", "stop", "--buttons", "3", "--default-button", "3",
             "--system-modal", "--help-button", "--right", "--rtl", "--constants"},
            none,
            "Select Case MsgBox (\"?\", vbYesNoCancel + vbCritical + vbDefaultButton3 + "
            "vbSystemModal + vbMsgBoxHelpButton + vbMsgBoxRight + vbMsgBoxRtlReading, \"\")\r\n"
            "Case vbYes ' Да\r\n\t\r\nCase vbNo ' Нет\r\n\t\r\nCase vbCancel ' Отмена\r\n\t\r\nEnd "
            "Select");
        row("read from standard input [program]", {"--read"},
            "If MsgBox(\"Да?\", vbYesNo Or vbQuestion, \"T\") = vbYes Then",
            "{\"title\": \"T\", \"text\": \"Да?\", \"icon\": \"question\", \"buttons\": 4, "
            "\"default\": 1, \"system-modal\": false, \"help-button\": false, \"right\": false, "
            "\"rtl\": false, \"constants\": true, \"style\": 36, \"ignored\": []}\n");
        row("read a file: escapes, and what cannot be kept",
            {"--read", "--code-file", "@DIR@/code.bas"}, none,
            "{\"title\": \"\", \"text\": \"a\\t\\uD800\\\"\", \"icon\": \"none\", \"buttons\": 0, "
            "\"default\": 1, \"system-modal\": false, \"help-button\": false, \"right\": false, "
            "\"rtl\": false, \"constants\": true, \"style\": 65792, \"ignored\": "
            "[\"vbDefaultButton2\", \"vbMsgBoxSetForeground\", \"HelpFile\", \"Context\"]}\n");
        row("code that cannot be read [program]", {"--read", "--code-file", "-"},
            "\r\nMsgBox \xE2\x80\xAEx",
            gen +
                "line 2, column 8: expected a string (a literal, a constant such as vbCrLf, or Chr "
                "or ChrW of a number), found \"\\u202Ex\"\n");
        row("default button beyond the set", {"--default-button", "3", "--buttons", "4"}, none,
            gen + "button set 4 has 2 buttons, so there is no default button 3\n");
        row("a switch takes no value", {"--rtl=1"}, none, gen + "option '--rtl' takes no value\n");
        row("--read makes no code", {"--read", "--icon", "stop"}, none,
            gen + "--read takes no option but --code-file\n");
        row("--code-file without --read", {"--code-file", "-"}, none,
            gen + "--code-file is read only with --read\n");
        row("message too long", {"--text-file", "-"}, QByteArray(30000, 'a'),
            gen + "message too long: its code would not fit in one Visual Basic statement, which "
                  "holds at most 25 lines of 1023 characters\n");
    }

    void commandWritesCodeOrOneErrorLine() {
        QFETCH(QByteArrayList, args);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        const QByteArray dir = m_dir.path().toUtf8(), tag = QTest::currentDataTag();
        expected.replace("@DIR@", dir);
        const bool bad = expected.startsWith("alertwright-gen: ");
        const QByteArray output = bad ? QByteArray() : expected,
                         error = bad ? expected : QByteArray();
        std::vector<std::string> argv;
        for (QByteArray& arg : args)
            argv.push_back(arg.replace("@DIR@", dir).toStdString());
        std::istringstream in(input.toStdString());
        const auto result = cli::runGenerateCommand(argv, in);
        QCOMPARE(QByteArray::fromStdString(result.standardError), error);
        QCOMPARE(QByteArray::fromStdString(result.standardOutput), output);
        QCOMPARE(result.exitStatus, bad ? 2 : 0);
        if (!tag.contains("[program]"))
            return;

        QProcess program;
        QStringList programArgs;
        for (const QByteArray& arg : args)
            programArgs << QString::fromLocal8Bit(arg);
        program.start(QStringLiteral(ALERTWRIGHT_GEN_PATH), programArgs);
        QVERIFY(program.waitForStarted());
        program.write(input);
        if (!tag.contains("[open]"))
            program.closeWriteChannel();
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.readAllStandardError(), error);
        QCOMPARE(program.readAllStandardOutput(), output);
        QCOMPARE(program.exitCode(), bad ? 2 : 0);
    }

    // What --read writes, given back as options, writes the same code.
    void readingGivesTheOptionsBack() {
        for (const std::vector<std::string>& args : std::initializer_list<std::vector<std::string>>{
                 {"--title", "Т", "--text", "a\"\r\nb", "--icon", "stop", "--buttons", "3",
                  "--default-button", "3", "--system-modal", "--help-button", "--rtl",
                  "--constants"},
                 {"--text", "Café", "--buttons", "5", "--default-button", "2", "--right"},
                 {}}) {
            std::istringstream none, code(cli::runGenerateCommand(args, none).standardOutput);
            const auto read = cli::runGenerateCommand({"--read"}, code).standardOutput;
            const QJsonObject json =
                QJsonDocument::fromJson(QByteArray::fromStdString(read)).object();
            std::vector<std::string> again;
            for (const char* key : {"title", "text", "icon", "buttons", "default"})
                again.insert(again.end(),
                             {std::string("--") + key + (key[0] == 'd' ? "-button" : ""),
                              json[QLatin1String(key)].toVariant().toString().toStdString()});
            for (const char* key : {"system-modal", "help-button", "right", "rtl", "constants"})
                if (json[QLatin1String(key)].toBool())
                    again.push_back(std::string("--") + key);
            QCOMPARE(cli::runGenerateCommand(again, none).standardOutput, code.str());
        }
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
