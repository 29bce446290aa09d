#include "codegen/buttonsets.h"

#include <QtTest>
#include <limits>

using namespace Qt::StringLiterals;

using codegen::buttonSetAt;
using codegen::buttonSetCatalogue;

class TestButtonSets : public QObject {
    Q_OBJECT

private slots:
    void catalogueHoldsTheSixSetsInListOrder_data();
    void catalogueHoldsTheSixSetsInListOrder();
    void okIsLatinInTheListButCyrillicInTheButtonName();
    void everySetHasOneNamePerReturnCode();
    void buttonSetAtYieldsNothingOutsideTheList_data();
    void buttonSetAtYieldsNothingOutsideTheList();
};

void TestButtonSets::catalogueHoldsTheSixSetsInListOrder_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("listText");
    QTest::addColumn<QString>("buttonNames");
    QTest::addColumn<QString>("returnCodes");
    QTest::newRow("0 OK only") << 0 << u"Ok"_s << QString() << QString();
    QTest::newRow("1 OK, Cancel") << 1 << u"Ok, Отмена"_s << u"Ок|Отмена"_s << u"12"_s;
    QTest::newRow("2 Abort, Retry, Ignore")
        << 2 << u"Прервать, Повтор, Пропустить"_s << u"Прервать|Повтор|Пропустить"_s << u"345"_s;
    QTest::newRow("3 Yes, No, Cancel: Cancel last")
        << 3 << u"Да, Нет, Отмена"_s << u"Да|Нет|Отмена"_s << u"672"_s;
    QTest::newRow("4 Yes, No") << 4 << u"Да, Нет"_s << u"Да|Нет"_s << u"67"_s;
    QTest::newRow("5 Retry, Cancel") << 5 << u"Повтор, Отмена"_s << u"Повтор|Отмена"_s << u"42"_s;
}

void TestButtonSets::catalogueHoldsTheSixSetsInListOrder() {
    QFETCH(int, position);
    QFETCH(QString, listText);
    QFETCH(QString, buttonNames);
    QFETCH(QString, returnCodes);
    const auto& set = buttonSetCatalogue().at(static_cast<std::size_t>(position));
    QCOMPARE(QString::fromStdU16String(set.listText), listText);
    QCOMPARE(QString::fromStdU16String(set.buttonNames), buttonNames);
    QCOMPARE(QString::fromStdU16String(set.returnCodes), returnCodes);

    const auto looked = buttonSetAt(static_cast<std::int16_t>(position));
    QVERIFY(looked.has_value());
    QCOMPARE(QString::fromStdU16String(looked->buttonNames), buttonNames);
    QCOMPARE(QString::fromStdU16String(looked->returnCodes), returnCodes);
}

void TestButtonSets::okIsLatinInTheListButCyrillicInTheButtonName() {
    // Spelled out as code units: the two words look the same on screen.
    const auto& set = buttonSetCatalogue()[1];
    QCOMPARE(set.listText.substr(0, 2), std::u16string({0x004F, 0x006B}));
    QCOMPARE(set.buttonNames.substr(0, 3), std::u16string({0x041E, 0x043A, u'|'}));
    QCOMPARE(buttonSetCatalogue()[0].listText, std::u16string({0x004F, 0x006B}));
}

void TestButtonSets::everySetHasOneNamePerReturnCode() {
    for (const auto& set : buttonSetCatalogue()) {
        const auto names = QString::fromStdU16String(set.buttonNames);
        const qsizetype nameCount = names.isEmpty() ? 0 : names.count(u'|') + 1;
        QCOMPARE(nameCount, qsizetype(set.returnCodes.size()));
        for (const char16_t code : set.returnCodes)
            QVERIFY(code >= u'1' && code <= u'7');
    }
}

void TestButtonSets::buttonSetAtYieldsNothingOutsideTheList_data() {
    QTest::addColumn<int>("position");
    QTest::newRow("-1: nothing chosen in the list") << -1;
    QTest::newRow("6: one past the end") << 6;
    QTest::newRow("lowest 16-bit value") << int(std::numeric_limits<std::int16_t>::min());
    QTest::newRow("highest 16-bit value") << int(std::numeric_limits<std::int16_t>::max());
}

void TestButtonSets::buttonSetAtYieldsNothingOutsideTheList() {
    QFETCH(int, position);
    QVERIFY(!buttonSetAt(static_cast<std::int16_t>(position)).has_value());
}

QTEST_APPLESS_MAIN(TestButtonSets)
#include "tst_buttonsets.moc"
