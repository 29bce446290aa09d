#include "forms/clipboard.h"
#include "forms/error.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>

using namespace forms;

class TestClipboard : public QObject {
    Q_OBJECT

private slots:
    void setTextRoundTrips_data();
    void setTextRoundTrips();
    void clearEmptiesIt();
    void failureIsReported_data();
    void failureIsReported();
};

void TestClipboard::setTextRoundTrips_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QStringLiteral("MsgBox \"\", 0, \"\"");
    QTest::newRow("Cyrillic, CR LF, tab") << QStringLiteral("Select Case MsgBox (\"Текст\")\r\n"
                                                            "    Case 6 ' Да\r\n\t\r\nEnd Select");
    QTest::newRow("trailing CR LF") << QStringLiteral("a\r\n");
    QTest::newRow("outside cp1251") << QStringLiteral("€ — \U0001F600 \u00A0");
    QTest::newRow("empty") << QString();
}

void TestClipboard::setTextRoundTrips() {
    QFETCH(QString, text);
    ClipboardSetText(QStringLiteral("something else"));
    ClipboardSetText(text);
    QCOMPARE(QGuiApplication::clipboard()->text(), text);
}

void TestClipboard::clearEmptiesIt() {
    ClipboardSetText(QStringLiteral("x"));
    ClipboardClear();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(!data || data->formats().isEmpty());
}

// Another program takes the clipboard the moment it changes: the caller must hear of it.
void TestClipboard::failureIsReported_data() {
    QTest::addColumn<bool>("clear");
    QTest::newRow("set text") << false;
    QTest::newRow("clear") << true;
}

void TestClipboard::failureIsReported() {
    QFETCH(bool, clear);
    QClipboard* cb = QGuiApplication::clipboard();
    bool stolen = false;
    auto thief = connect(cb, &QClipboard::dataChanged, this, [&] {
        if (stolen)
            return;
        stolen = true;
        auto* other = new QMimeData;
        other->setData(QStringLiteral("application/x-other"), "data");
        cb->setMimeData(other);
    });
    if (clear)
        QVERIFY_THROWS_EXCEPTION(RuntimeError, ClipboardClear());
    else
        QVERIFY_THROWS_EXCEPTION(RuntimeError, ClipboardSetText(QStringLiteral("code")));
    disconnect(thief);
    QVERIFY(stolen);
}

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
