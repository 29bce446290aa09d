// kxButton's public face: parts, property accessors and their notifications, descriptions.
#include "forms/error.h"
#include "kxbutton_test_support.h"

#include <QMetaMethod>
#include <QSignalSpy>
#include <QtTest>

using namespace kxtest;
using forms::VbFalse;
using forms::VbTrue;

namespace {

// One row per property: set a new value, then tell whether the getter returns it.
struct PropertyCase {
    const char* name;
    std::function<void(TestButton&)> set;
    std::function<bool(const TestButton&)> holdsNewValue;
};

const forms::FontRef BigFont = forms::makeFont(QStringLiteral("Arial"), 12.0f, 700);
const forms::PictureRef RedDot = makePicture(17, 17, Grey, [](QImage& i) { put(i, 8, 8, 0xFF); });

const std::vector<PropertyCase>& propertyCases() {
    static const std::vector<PropertyCase> cases = {
        {"ForeColor", [](TestButton& b) { b.setForeColor(0x000000FF); },
         [](const TestButton& b) { return b.ForeColor() == 0x000000FFu; }},
        {"Enabled", [](TestButton& b) { b.setEnabled(VbFalse); },
         [](const TestButton& b) { return b.Enabled() == VbFalse; }},
        {"Font", [](TestButton& b) { b.setFont(BigFont); },
         [](const TestButton& b) { return b.Font().get() == BigFont.get(); }},
        {"Picture", [](TestButton& b) { b.setPicture(RedDot); },
         [](const TestButton& b) { return pixel(b.Picture(), 8, 8) == 0xFFu; }},
        {"Toggle", [](TestButton& b) { b.setToggle(VbTrue); },
         [](const TestButton& b) { return b.Toggle() == VbTrue; }},
        {"Value",
         [](TestButton& b) {
             b.m_Toggle = VbTrue;
             b.setValue(VbTrue);
         },
         [](const TestButton& b) { return b.Value() == VbTrue; }},
        {"Caption", [](TestButton& b) { b.setCaption(QStringLiteral("Копировать")); },
         [](const TestButton& b) { return b.Caption() == QStringLiteral("Копировать"); }},
        {"MaskColor", [](TestButton& b) { b.setMaskColor(0x00FF00FF); },
         [](const TestButton& b) { return b.MaskColor() == 0x00FF00FFu; }},
        {"BorderColor", [](TestButton& b) { b.setBorderColor(0x80000008); },
         [](const TestButton& b) { return b.BorderColor() == 0x80000008u; }},
    };
    return cases;
}

} // namespace

class TestKxButtonModel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pinTimerAndCursor(); }

    void eachLetStoresThenNotifiesItsName_data();
    void eachLetStoresThenNotifiesItsName();
    void valueLet_data();
    void valueLet();
    void toggleFalseBringsADownSwitchUpWithoutNotifyingValue();
    void toggleTrueOnAnUpButtonChangesNothingElse();
    void enabledSwitchesTheFaceAndItsPartsAndTheDisabledFrame();
    void maskColorAppliesFromTheNextPictureOnly();
    void partsStackingAndMouseTargets();
    void tabOrder();
    void descriptionsCoverPropertiesAndEventsInOrder();
    void wholeAndHalf_data();
    void wholeAndHalf();
};

void TestKxButtonModel::eachLetStoresThenNotifiesItsName_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(propertyCases().size()); ++i)
        QTest::newRow(propertyCases()[i].name) << i;
}

void TestKxButtonModel::eachLetStoresThenNotifiesItsName() {
    QFETCH(int, row);
    const PropertyCase& c = propertyCases()[row];
    auto b = shownButton(113, 25);
    b->clearNeedsSave();

    bool storedWhenNotified = false;
    connect(b.get(), &forms::UserControl::propertyChanged, b.get(), [&](const QString& name) {
        if (name == QLatin1String(c.name))
            storedWhenNotified = c.holdsNewValue(*b);
    });
    QSignalSpy spy(b.get(), &forms::UserControl::propertyChanged);
    c.set(*b);

    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QString::fromLatin1(c.name));
    QVERIFY(c.holdsNewValue(*b));
    QVERIFY2(storedWhenNotified, "the container must see the new value when it is told");
    QVERIFY(b->needsSave());
}

void TestKxButtonModel::valueLet_data() {
    QTest::addColumn<forms::Boolean>("toggle");
    QTest::addColumn<forms::Boolean>("newValue");
    QTest::addColumn<forms::Boolean>("expectedValue");

    QTest::newRow("plain button, True is forced to False") << VbFalse << VbTrue << VbFalse;
    QTest::newRow("switch, True puts it down") << VbTrue << VbTrue << VbTrue;
    QTest::newRow("switch, False keeps it up") << VbTrue << VbFalse << VbFalse;
    QTest::newRow("switch, 1 is not True") << VbTrue << forms::Boolean(1) << forms::Boolean(1);
}

void TestKxButtonModel::valueLet() {
    QFETCH(forms::Boolean, toggle);
    QFETCH(forms::Boolean, newValue);
    QFETCH(forms::Boolean, expectedValue);

    auto b = shownButton(113, 25);
    b->setMaskColor(Grey);
    b->setPicture(RedDot);
    b->m_Toggle = toggle;
    QSignalSpy spy(b.get(), &forms::UserControl::propertyChanged);
    b->setValue(newValue);

    QCOMPARE(b->Value(), expectedValue);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("Value"));
    if (expectedValue == VbTrue) {
        QCOMPARE(b->Picture1.BackColor(), kxButton::DownFaceColor);
        QVERIFY(b->Shape1.Visible());
        QCOMPARE(b->Shape1.BorderColor(), kxButton::DownFrameColor);
        QCOMPARE(QRectF(b->Shape1.Left(), b->Shape1.Top(), b->Shape1.Width(), b->Shape1.Height()),
                 QRectF(0, 0, 113, 25));
        QCOMPARE(b->Picture()->image(), b->Picture4.Image()->image()); // the down picture
        QCOMPARE(b->Picture()->width(), 22);
    } else {
        QCOMPARE(b->Picture1.BackColor(), Resting);
        QVERIFY(!b->Shape1.Visible());
        // The picture as set, without the preparation: its mask pixels show again.
        QCOMPARE(b->Picture().get(), RedDot.get());
        QCOMPARE(pixel(b->Picture(), 0, 0), Grey);
    }
}

void TestKxButtonModel::toggleFalseBringsADownSwitchUpWithoutNotifyingValue() {
    auto b = shownButton(113, 25);
    b->setPicture(RedDot);
    b->setToggle(VbTrue);
    b->setValue(VbTrue);
    QSignalSpy spy(b.get(), &forms::UserControl::propertyChanged);

    b->setToggle(VbFalse);

    QCOMPARE(b->Value(), VbFalse);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("Toggle"));
    QCOMPARE(b->Picture1.BackColor(), Resting);
    QVERIFY(!b->Shape1.Visible());
    QCOMPARE(b->Picture().get(), RedDot.get());
}

void TestKxButtonModel::toggleTrueOnAnUpButtonChangesNothingElse() {
    auto b = shownButton(113, 25);
    b->setPicture(RedDot);
    const forms::PictureRef shown = b->Picture();
    b->setToggle(VbTrue);
    QCOMPARE(b->Value(), VbFalse);
    QCOMPARE(b->Picture().get(), shown.get());
    QCOMPARE(b->Picture1.BackColor(), Resting);
    QVERIFY(!b->Shape1.Visible());
    b->setToggle(true); // a C++ bool arrives as the control's True
    QCOMPARE(b->Toggle(), VbTrue);
}

void TestKxButtonModel::enabledSwitchesTheFaceAndItsPartsAndTheDisabledFrame() {
    auto b = shownButton(113, 25);
    b->setEnabled(VbFalse);
    for (QWidget* part :
         std::initializer_list<QWidget*>{&b->Picture1, &b->Image1, &b->Label1, &b->Label2})
        QVERIFY(!part->isEnabled());
    QVERIFY(b->DisBorder.Visible());
    QVERIFY(b->isEnabled()); // the surface itself stays enabled

    b->setEnabled(VbTrue);
    for (QWidget* part :
         std::initializer_list<QWidget*>{&b->Picture1, &b->Image1, &b->Label1, &b->Label2})
        QVERIFY(part->isEnabled());
    QVERIFY(!b->DisBorder.Visible());
}

void TestKxButtonModel::maskColorAppliesFromTheNextPictureOnly() {
    auto b = shownButton(113, 25);
    b->setMaskColor(Grey);
    b->setPicture(RedDot);
    const forms::PictureRef shown = b->Picture();

    b->setMaskColor(0x000000FF); // the red dot's colour
    QCOMPARE(b->Picture().get(), shown.get());
    QCOMPARE(pixel(b->Picture(), 8, 8), 0x000000FFu);

    b->setPicture(RedDot);
    QCOMPARE(pixel(b->Picture(), 8, 8), Resting);
    QCOMPARE(pixel(b->Picture(), 0, 0), Grey); // no longer the mask
}

void TestKxButtonModel::partsStackingAndMouseTargets() {
    auto b = shownButton(113, 25);
    b->setPicture(RedDot);
    b->setValue(VbFalse); // any look: the frames are shapes and take no mouse input
    b->Shape1.setVisible(true);
    b->DisBorder.setVisible(true);

    const QPoint overPicture = b->Image1.geometry().center();
    const QPoint overCaption = b->Label1.geometry().center();
    QCOMPARE(b->Picture1.childAt(overPicture), &b->Image1);
    QCOMPARE(b->Picture1.childAt(overCaption), &b->Label2);
    QCOMPARE(b->Picture1.childAt(QPoint(0, 0)), &b->Label2);

    // Front first within the face; children() lists back first.
    QList<QObject*> expectedBackFirst = {&b->Label1, &b->Label2, &b->Image1,
                                         &b->Shape2, &b->Shape1, &b->DisBorder};
    QCOMPARE(b->Picture1.children(), expectedBackFirst);
}

void TestKxButtonModel::tabOrder() {
    TestButton b;
    // Labels take no focus; of the parts that can, the face comes first.
    const QList<QWidget*> order = {&b.Picture1, &b.Picture2, &b.Picture3, &b.Picture4, &b.Picture5};
    QList<QWidget*> chain;
    QWidget* w = &b.Picture1;
    do {
        if (order.contains(w))
            chain << w;
        w = w->nextInFocusChain();
    } while (w != &b.Picture1);
    QCOMPARE(chain, order);
    for (QWidget* label : std::initializer_list<QWidget*>{&b.Label1, &b.Label2})
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    QCOMPARE(b.Picture1.focusPolicy(), Qt::StrongFocus);
}

void TestKxButtonModel::descriptionsCoverPropertiesAndEventsInOrder() {
    const QStringList properties = {"ForeColor", "Enabled", "Font",      "Picture",    "Toggle",
                                    "Value",     "Caption", "MaskColor", "BorderColor"};
    QStringList tableNames;
    for (const auto& p : kxButton::propertyDescriptions())
        tableNames << QLatin1String(p.name);
    QCOMPARE(tableNames, properties);

    // The event number is the position among the control's own signals.
    QStringList signalNames;
    const QMetaObject& mo = kxButton::staticMetaObject;
    for (int i = mo.methodOffset(); i < mo.methodCount(); ++i)
        if (mo.method(i).methodType() == QMetaMethod::Signal)
            signalNames << QString::fromLatin1(mo.method(i).name());
    QStringList eventNames;
    for (const auto& e : kxButton::eventDescriptions())
        eventNames << QLatin1String(e.name);
    QCOMPARE(signalNames, eventNames);
    QCOMPARE(eventNames.size(), 9);

    QCOMPARE(kxButton::description(QStringLiteral("toggle")),
             QStringLiteral("Устанавливает статус кнопки (обычная, переключатель)."));
    QCOMPARE(kxButton::description(QStringLiteral("Value")),
             QStringLiteral("Устанавливает состояние кнопки."));
    QCOMPARE(kxButton::description(QStringLiteral("Font")),
             QStringLiteral("Returns a Font object."));
    QVERIFY(kxButton::description(QStringLiteral("BorderColor")).isEmpty());
    QVERIFY(kxButton::description(QStringLiteral("MouseOut")).isEmpty());
    QCOMPARE(kxButton::description(QStringLiteral("KeyPress")),
             QStringLiteral("Occurs when the user presses and releases an ANSI key."));
}

void TestKxButtonModel::wholeAndHalf_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("whole");
    QTest::addColumn<int>("halfOfWhole");
    QTest::newRow("2.5 to even") << 2.5 << 2 << 1;
    QTest::newRow("3.5 to even") << 3.5 << 4 << 2;
    QTest::newRow("-2.5 to even") << -2.5 << -2 << -1;
    QTest::newRow("-5 halves toward zero") << -5.0 << -5 << -2;
    QTest::newRow("-1 halves to zero") << -1.0 << -1 << 0;
    QTest::newRow("9.4 nearest") << 9.4 << 9 << 4;
    QTest::newRow("-0.5 to even") << -0.5 << 0 << 0;
}

void TestKxButtonModel::wholeAndHalf() {
    QFETCH(double, x);
    QFETCH(int, whole);
    QFETCH(int, halfOfWhole);
    QCOMPARE(TestButton::whole(x), whole);
    QCOMPARE(TestButton::half(TestButton::whole(x)), halfOfWhole);
    QVERIFY_THROWS_EXCEPTION(forms::RuntimeError, TestButton::whole(3e9));
}

QTEST_MAIN(TestKxButtonModel)
#include "tst_kxbutton_model.moc"
