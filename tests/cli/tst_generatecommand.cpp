#include "cli/generatecommand.h"

#include <QtTest>
#include <sstream>

namespace {

const QByteArray tooLong =
    "alertwright-gen: message too long: its statement would need more than 24 line "
    "continuations, the most Visual Basic allows (each line holds at most 1023 characters)\n";

} // namespace

class TestGenerateCommand : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void generatesCodeFromTheOptions_data();
    void generatesCodeFromTheOptions();
    void badInputGivesOneLineAndStatus2_data();
    void badInputGivesOneLineAndStatus2();

private:
    void addRows(bool success);
    cli::CommandResult run(const QByteArrayList& args, const QByteArray& input) const;

    QTemporaryDir m_dir;
};

void TestGenerateCommand::initTestCase() {
    QVERIFY(m_dir.isValid());
    const auto write = [&](const char* name, const QByteArray& bytes) {
        QFile file(m_dir.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write("lf.txt", "L1\nL2 \"q\"");
    write("crlf.txt", "Строка 1\r\nСтрока 2");
    write("bad.txt", "ok\xFF");
    write("empty.txt", "");
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder")));
}

cli::CommandResult TestGenerateCommand::run(const QByteArrayList& args,
                                            const QByteArray& input) const {
    std::vector<std::string> argv;
    for (QByteArray arg : args)
        argv.push_back(arg.replace("@DIR@", m_dir.path().toUtf8()).toStdString());
    std::istringstream in(input.toStdString());
    return cli::runGenerateCommand(argv, in);
}

void TestGenerateCommand::generatesCodeFromTheOptions_data() {
    QTest::addColumn<QByteArrayList>("args");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");

    QTest::newRow("no options: empty OK-only message")
        << QByteArrayList{} << QByteArray() << QByteArray("MsgBox \"\", 0, \"\"");
    QTest::newRow("title, text, icon")
        << QByteArrayList{"--title", "Заголовок", "--text", "Готово", "--icon", "exclamation"}
        << QByteArray() << QByteArray("MsgBox \"Готово\", 48, \"Заголовок\"");
    QTest::newRow("style is icon value plus set position")
        << QByteArrayList{"--title", "T",        "--text",    "L1\r\nL2",
                          "--icon",  "question", "--buttons", "4"}
        << QByteArray()
        << QByteArray("Select Case MsgBox (\"L1\" & vbCrLf & \"L2\", 36, \"T\")\r\n"
                      "Case 6 ' Да\r\n\t\r\nCase 7 ' Нет\r\n\t\r\nEnd Select");
    QTest::newRow("stop icon, Retry/Cancel")
        << QByteArrayList{"--icon", "stop", "--buttons", "5"} << QByteArray()
        << QByteArray("Select Case MsgBox (\"\", 21, \"\")\r\nCase 4 ' Повтор\r\n\t\r\n"
                      "Case 2 ' Отмена\r\n\t\r\nEnd Select");
    QTest::newRow("information icon, OK only")
        << QByteArrayList{"--icon", "information", "--buttons", "0"} << QByteArray()
        << QByteArray("MsgBox \"\", 64, \"\"");
    QTest::newRow("none icon") << QByteArrayList{"--icon", "none"} << QByteArray()
                               << QByteArray("MsgBox \"\", 0, \"\"");
    QTest::newRow("the last of a repeated option counts")
        << QByteArrayList{"--title", "A", "--icon", "stop", "--title", "B", "--icon", "none"}
        << QByteArray() << QByteArray("MsgBox \"\", 0, \"B\"");
    QTest::newRow("attached values")
        << QByteArrayList{"--title=a=b", "--text=", "--buttons=1"} << QByteArray()
        << QByteArray("Select Case MsgBox (\"\", 1, \"a=b\")\r\nCase 1 ' Ок\r\n\t\r\n"
                      "Case 2 ' Отмена\r\n\t\r\nEnd Select");
    QTest::newRow("values that look like options")
        << QByteArrayList{"--title", "-x", "--text", "--help"} << QByteArray()
        << QByteArray("MsgBox \"--help\", 0, \"-x\"");
    QTest::newRow("lone LF and quotation marks from the command line")
        << QByteArrayList{"--text", "a\nb \"c\""} << QByteArray()
        << QByteArray("MsgBox \"a\" & vbLf & \"b \"\"c\"\"\", 0, \"\"");
    QTest::newRow("text file with LF line ends, byte for byte")
        << QByteArrayList{"--text-file", "@DIR@/lf.txt"} << QByteArray()
        << QByteArray("MsgBox \"L1\" & vbLf & \"L2 \"\"q\"\"\", 0, \"\"");
    QTest::newRow("text file with CR LF")
        << QByteArrayList{"--text-file", "@DIR@/crlf.txt"} << QByteArray()
        << QByteArray("MsgBox \"Строка 1\" & vbCrLf & \"Строка 2\", 0, \"\"");
    QTest::newRow("empty text file") << QByteArrayList{"--text-file", "@DIR@/empty.txt"}
                                     << QByteArray() << QByteArray("MsgBox \"\", 0, \"\"");
    QTest::newRow("text from standard input")
        << QByteArrayList{"--text-file", "-"} << QByteArray("из\r\nstdin\r")
        << QByteArray("MsgBox \"из\" & vbCrLf & \"stdin\" & vbCr & \"\", 0, \"\"");
    QTest::newRow("long text is continued")
        << QByteArrayList{"--text-file", "-"} << QByteArray(1008, 'a')
        << QByteArray("MsgBox \"") + QByteArray(1007, 'a') + "\" & _\r\n\"a\", 0, \"\"";
    QTest::newRow("version") << QByteArrayList{"--version"} << QByteArray()
                             << QByteArray("alertwright-gen 1.3.0\n");
    QTest::newRow("help answers before later arguments are looked at")
        << QByteArrayList{"--help", "--bogus"} << QByteArray()
        << QByteArray::fromStdString(cli::usageText());
}

void TestGenerateCommand::generatesCodeFromTheOptions() {
    QFETCH(QByteArrayList, args);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);
    const auto result = run(args, input);
    QCOMPARE(QByteArray::fromStdString(result.standardError), QByteArray());
    QCOMPARE(QByteArray::fromStdString(result.standardOutput), output);
    QCOMPARE(result.exitStatus, 0);
}

void TestGenerateCommand::badInputGivesOneLineAndStatus2_data() {
    QTest::addColumn<QByteArrayList>("args");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("error");

    const QByteArray icons = "; valid icons: none, stop, question, exclamation, information\n";
    QTest::newRow("unknown option")
        << QByteArrayList{"--colour", "red"} << QByteArray()
        << QByteArray("alertwright-gen: unknown option '--colour' (see --help)\n");
    QTest::newRow("unknown short option")
        << QByteArrayList{"-t", "T"} << QByteArray()
        << QByteArray("alertwright-gen: unknown option '-t' (see --help)\n");
    QTest::newRow("stray argument")
        << QByteArrayList{"hello"} << QByteArray()
        << QByteArray("alertwright-gen: unexpected argument 'hello' (see --help)\n");
    QTest::newRow("option without its value")
        << QByteArrayList{"--text", "x", "--title"} << QByteArray()
        << QByteArray("alertwright-gen: option '--title' needs a value\n");
    QTest::newRow("value given to --version")
        << QByteArrayList{"--version=2"} << QByteArray()
        << QByteArray("alertwright-gen: option '--version' takes no value\n");
    QTest::newRow("unknown icon") << QByteArrayList{"--icon", "warning"} << QByteArray()
                                  << "alertwright-gen: unknown icon 'warning'" + icons;
    QTest::newRow("icon names are exact") << QByteArrayList{"--icon", "Stop"} << QByteArray()
                                          << "alertwright-gen: unknown icon 'Stop'" + icons;
    QTest::newRow("control characters are not echoed")
        << QByteArrayList{"--icon", "a\nb\x1b"} << QByteArray()
        << "alertwright-gen: unknown icon 'a?b?'" + icons;
    QTest::newRow("button set 6") << QByteArrayList{"--buttons", "6"} << QByteArray()
                                  << QByteArray(
                                         "alertwright-gen: button set '6' is outside 0 to 5\n");
    QTest::newRow("button set -1")
        << QByteArrayList{"--buttons", "-1"} << QByteArray()
        << QByteArray("alertwright-gen: button set '-1' is outside 0 to 5\n");
    QTest::newRow("button set beyond 64 bits")
        << QByteArrayList{"--buttons", "99999999999999999999"} << QByteArray()
        << QByteArray("alertwright-gen: button set '99999999999999999999' is outside 0 to 5\n");
    const QByteArray notNumber =
        "alertwright-gen: --buttons takes a button-set number from 0 to 5, not ";
    QTest::newRow("button set not a number")
        << QByteArrayList{"--buttons", "two"} << QByteArray() << notNumber + "'two'\n";
    QTest::newRow("button set with trailing junk")
        << QByteArrayList{"--buttons", "1x"} << QByteArray() << notNumber + "'1x'\n";
    QTest::newRow("button set empty")
        << QByteArrayList{"--buttons="} << QByteArray() << notNumber + "''\n";
    QTest::newRow("--text with --text-file")
        << QByteArrayList{"--text", "a", "--text-file", "-"} << QByteArray()
        << QByteArray("alertwright-gen: --text and --text-file cannot be used together\n");
    QTest::newRow("--text-file with --text, either order")
        << QByteArrayList{"--text-file", "-", "--text", "a"} << QByteArray()
        << QByteArray("alertwright-gen: --text and --text-file cannot be used together\n");
    QTest::newRow("title not UTF-8")
        << QByteArrayList{"--title", "Ok\xC3\x28"} << QByteArray()
        << QByteArray("alertwright-gen: the title is not valid UTF-8 (bad byte at offset 2)\n");
    QTest::newRow("text not UTF-8: Windows-1251 bytes")
        << QByteArrayList{"--text", "\xC4\xE0"} << QByteArray()
        << QByteArray("alertwright-gen: the text is not valid UTF-8 (bad byte at offset 0)\n");
    QTest::newRow("standard input not UTF-8")
        << QByteArrayList{"--text-file", "-"} << QByteArray("abc\xED\xA0\x80")
        << QByteArray("alertwright-gen: the text from standard input is not valid UTF-8 (bad "
                      "byte at offset 3)\n");
    QTest::newRow("file not UTF-8")
        << QByteArrayList{"--text-file", "@DIR@/bad.txt"} << QByteArray()
        << "alertwright-gen: the text in '" + m_dir.filePath(QStringLiteral("bad.txt")).toUtf8() +
               "' is not valid UTF-8 (bad byte at offset 2)\n";
    QTest::newRow("missing file") << QByteArrayList{"--text-file", "@DIR@/none.txt"} << QByteArray()
                                  << "alertwright-gen: cannot read '" +
                                         m_dir.filePath(QStringLiteral("none.txt")).toUtf8() +
                                         "': No such file or directory\n";
    QTest::newRow("folder instead of a file")
        << QByteArrayList{"--text-file", "@DIR@/folder"} << QByteArray()
        << "alertwright-gen: cannot read '" + m_dir.filePath(QStringLiteral("folder")).toUtf8() +
               "': Is a directory\n";
    QTest::newRow("message too long")
        << QByteArrayList{"--text-file", "-"} << QByteArray(30000, 'a') << tooLong;
}

void TestGenerateCommand::badInputGivesOneLineAndStatus2() {
    QFETCH(QByteArrayList, args);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, error);
    const auto result = run(args, input);
    QCOMPARE(QByteArray::fromStdString(result.standardError), error);
    QCOMPARE(QByteArray::fromStdString(result.standardOutput), QByteArray());
    QCOMPARE(result.exitStatus, 2);
}

QTEST_APPLESS_MAIN(TestGenerateCommand)
#include "tst_generatecommand.moc"
