// kxButton stored properties: defaults, names in any case, errors that end a read, the picture
// and its mask on loading, a switch stored down, and a save / re-create round trip.
#include "forms/error.h"
#include "forms/propertybag.h"
#include "kxbutton_test_support.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QtTest>

using namespace kxtest;
using forms::VbFalse;
using forms::VbTrue;

namespace {

constexpr forms::OleColor Magenta = 0x00FF00FF;

// A picture as the generator window stores them: silver background, grey and dark pixels.
const forms::PictureRef Stored = makePicture(17, 17, Silver, [](QImage& i) {
    for (int x = 3; x < 14; ++x)
        put(i, x, 8, 0x00000080);
    put(i, 5, 5, Grey);
    put(i, 6, 6, Magenta);
});

std::unique_ptr<TestButton> readButton(const forms::PropertyBag& bag, QSignalSpy** spy = nullptr) {
    auto b = std::make_unique<TestButton>();
    if (spy)
        *spy = new QSignalSpy(b.get(), &forms::UserControl::propertyChanged);
    b->ReadFrom(bag);
    return b;
}

void showAt(TestButton& b, int w = 113, int h = 25) {
    b.resize(w, h);
    b.show();
}

// The nine stored properties of a button whose every property differs from its default and
// from a fresh button's design value.
struct Entry {
    const char* name;
    forms::PropertyValue value;
    forms::PropertyValue bad; // a value of a type that cannot be converted
};

const forms::FontRef StoredFont = forms::makeFont(QStringLiteral("Arial"), 10.0f, 700);

const std::vector<Entry>& fullEntries() {
    static const std::vector<Entry> entries = {
        {"ForeColor", forms::colorValue(0x000000FF), QStringLiteral("red")},
        {"BorderColor", forms::colorValue(0x00FF0000), QStringLiteral("blue")},
        {"Enabled", false, QStringLiteral("maybe")},
        {"Font", StoredFont, QStringLiteral("Arial")},
        {"Picture", Stored, QStringLiteral("cmdPreview.png")},
        {"Toggle", true, StoredFont},
        {"Value", true, QStringLiteral("down")},
        {"Caption", QStringLiteral("Проба"), StoredFont},
        {"MaskColor", forms::colorValue(Magenta), QStringLiteral("grey")},
    };
    return entries;
}

// Whether property i holds the stored value (true) or still its design value (false).
bool holdsStoredValue(const TestButton& b, int i) {
    switch (i) {
    case 0:
        return b.ForeColor() == 0x000000FFu;
    case 1:
        return b.BorderColor() == 0x00FF0000u;
    case 2:
        return b.Enabled() == VbFalse;
    case 3:
        return b.Font().get() == StoredFont.get();
    case 4:
        return b.Picture2.Picture().get() == Stored.get();
    case 5:
        return b.Toggle() == VbTrue;
    case 6:
        return b.Value() == VbTrue;
    case 7:
        return b.Caption() == QStringLiteral("Проба");
    case 8:
        return b.MaskColor() == Magenta;
    }
    return false;
}

} // namespace

class TestKxButtonPersistence : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pinTimerAndCursor(); }

    void initPropertiesStartsUpAndQuiet();
    void anEmptyBagGivesTheDefaults();
    void theGeneratorWindowsButtonsLoadFromLowerCaseNames();
    void aReadErrorEndsAtTheFailingProperty_data();
    void aReadErrorEndsAtTheFailingProperty();
    void aLoadedPictureIsPreparedWithTheStoredMask_data();
    void aLoadedPictureIsPreparedWithTheStoredMask();
    void aSwitchStoredDownLooksDownOnceShown();
    void aButtonStoredDisabledGetsTheDisabledLookWhenShown();
    void defaultsAreNotWritten();
    void writesInOrderWithTheirTypes();
    void savingWhileHoveredStoresThePictureAsSet();
    void saveAndRecreateGiveTheSamePropertiesAndLook_data();
    void saveAndRecreateGiveTheSamePropertiesAndLook();
};

void TestKxButtonPersistence::initPropertiesStartsUpAndQuiet() {
    TestButton b;
    QSignalSpy spy(&b, &forms::UserControl::propertyChanged);
    b.Picture1.setBackColor(Lit);
    b.Shape1.setVisible(true);
    b.InitNew();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(b.Toggle(), VbFalse);
    QCOMPARE(b.Value(), VbFalse);
    QCOMPARE(b.Picture1.BackColor(), Resting);
    QVERIFY(!b.Shape1.Visible());
    QCOMPARE(b.Caption(), QStringLiteral("kxButton")); // the design values stay
    QCOMPARE(b.MaskColor(), Grey);
}

void TestKxButtonPersistence::anEmptyBagGivesTheDefaults() {
    TestButton b;
    const forms::FontRef ambient = forms::makeFont(QStringLiteral("Tahoma"), 9.0f);
    b.setAmbientFont(ambient);
    QSignalSpy spy(&b, &forms::UserControl::propertyChanged);
    b.ReadFrom(forms::PropertyBag());

    QCOMPARE(b.ForeColor(), 0x80000012u);
    QCOMPARE(b.BorderColor(), 0x80000012u);
    QCOMPARE(b.Enabled(), VbTrue);
    QCOMPARE(b.Font().get(), ambient.get());
    QVERIFY(!forms::hasImage(b.Picture()));
    QCOMPARE(b.Toggle(), VbFalse);
    QCOMPARE(b.Value(), VbFalse);
    QCOMPARE(b.Caption(), QStringLiteral("kxFlashButton"));
    QCOMPARE(b.MaskColor(), Silver);
    // Only the picture set tells the container anything.
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("Picture"));
}

void TestKxButtonPersistence::theGeneratorWindowsButtonsLoadFromLowerCaseNames() {
    forms::PropertyBag bag;
    bag.setRaw(QStringLiteral("bordercolor"), forms::colorValue(0x80000008));
    bag.setRaw(QStringLiteral("font"), StoredFont);
    bag.setRaw(QStringLiteral("picture"), Stored);
    bag.setRaw(QStringLiteral("caption"), QStringLiteral("Копировать"));
    QSignalSpy* spy = nullptr;
    auto b = readButton(bag, &spy);
    std::unique_ptr<QSignalSpy> owned(spy);

    QCOMPARE(b->BorderColor(), 0x80000008u);
    QCOMPARE(b->Font().get(), StoredFont.get());
    QCOMPARE(b->Caption(), QStringLiteral("Копировать"));
    QCOMPARE(b->Picture2.Picture().get(), Stored.get());
    QCOMPARE(b->ForeColor(), 0x80000012u);
    QCOMPARE(b->Enabled(), VbTrue);
    QCOMPARE(b->Toggle(), VbFalse);
    QCOMPARE(b->Value(), VbFalse);
    QCOMPARE(b->MaskColor(), Silver);
    // Prepared against the default mask: no silver is left, and the grey is part of the picture.
    const QImage normal = b->Picture()->image();
    for (int x = 0; x < 17; ++x)
        for (int y = 0; y < 17; ++y)
            QVERIFY(oleOf(normal.pixel(x, y)) != Silver);
    QCOMPARE(oleOf(normal.pixel(0, 0)), Resting);
    QCOMPARE(oleOf(normal.pixel(5, 5)), Grey);
    QCOMPARE(owned->count(), 1);
}

void TestKxButtonPersistence::aReadErrorEndsAtTheFailingProperty_data() {
    QTest::addColumn<int>("failing");
    for (int i = 0; i < int(fullEntries().size()); ++i)
        QTest::newRow(qPrintable(QStringLiteral("bad %1").arg(fullEntries()[i].name))) << i;
}

void TestKxButtonPersistence::aReadErrorEndsAtTheFailingProperty() {
    QFETCH(int, failing);
    forms::PropertyBag bag;
    for (int i = 0; i < int(fullEntries().size()); ++i) {
        const Entry& e = fullEntries()[i];
        bag.setRaw(QLatin1String(e.name), i == failing ? e.bad : e.value);
    }
    TestButton b;
    try {
        b.ReadFrom(bag);
        QFAIL("the read should have failed");
    } catch (const forms::RuntimeError& e) {
        QVERIFY2(e.message().contains(QLatin1String("Type mismatch")), qPrintable(e.message()));
    }
    for (int i = 0; i < int(fullEntries().size()); ++i)
        QVERIFY2(holdsStoredValue(b, i) == (i < failing), fullEntries()[i].name);
}

void TestKxButtonPersistence::aLoadedPictureIsPreparedWithTheStoredMask_data() {
    QTest::addColumn<bool>("maskStored");
    QTest::addColumn<forms::OleColor>("mask");
    QTest::newRow("stored magenta mask") << true << Magenta;
    QTest::newRow("no stored mask: its default silver") << false << Silver;
}

void TestKxButtonPersistence::aLoadedPictureIsPreparedWithTheStoredMask() {
    QFETCH(bool, maskStored);
    QFETCH(forms::OleColor, mask);
    forms::PropertyBag bag;
    bag.setRaw(QStringLiteral("Picture"), Stored);
    if (maskStored)
        bag.setRaw(QStringLiteral("MaskColor"), forms::colorValue(mask));
    QSignalSpy* spy = nullptr;
    auto b = readButton(bag, &spy);
    std::unique_ptr<QSignalSpy> owned(spy);

    // The same as setting the picture by code once the mask colour is in force.
    TestButton reference;
    reference.InitNew();
    reference.setMaskColor(mask);
    reference.setPicture(Stored);
    QCOMPARE(b->Picture()->image(), reference.Picture()->image());
    QCOMPARE(b->Picture3.drawnImage(), reference.Picture3.drawnImage());
    QCOMPARE(b->Picture4.drawnImage(), reference.Picture4.drawnImage());
    QCOMPARE(b->Picture5.drawnImage(), reference.Picture5.drawnImage());
    QCOMPARE(oleOf(b->Picture()->image().pixel(5, 5)), Grey); // the design mask is not used
    QCOMPARE(owned->count(), 1);
}

void TestKxButtonPersistence::aSwitchStoredDownLooksDownOnceShown() {
    forms::PropertyBag bag;
    bag.setRaw(QStringLiteral("Picture"), Stored);
    bag.setRaw(QStringLiteral("Toggle"), true);
    bag.setRaw(QStringLiteral("Value"), true);
    QSignalSpy* spy = nullptr;
    auto b = readButton(bag, &spy);
    std::unique_ptr<QSignalSpy> owned(spy);
    showAt(*b, 256, 28);

    QCOMPARE(b->Value(), VbTrue);
    QCOMPARE(b->Picture1.BackColor(), kxButton::DownFaceColor);
    QVERIFY(b->Shape1.Visible());
    QCOMPARE(b->Shape1.BorderColor(), kxButton::DownFrameColor);
    QCOMPARE(QRectF(b->Shape1.Left(), b->Shape1.Top(), b->Shape1.Width(), b->Shape1.Height()),
             QRectF(0, 0, 256, 28));
    QCOMPARE(b->Picture()->image(), b->Picture4.drawnImage());
    for (const QList<QVariant>& args : *owned)
        QVERIFY(args.at(0).toString() != QLatin1String("Value"));

    // Its first click beside the picture brings it up.
    forms::setCursorPosOverride(b->mapToGlobal(QPoint(100, 10)));
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(t, QPointF(100, 10), QPointF(b->mapToGlobal(QPoint(100, 10))), Qt::LeftButton,
                      t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(&b->Label2, &e);
    }
    forms::setCursorPosOverride(Elsewhere);
    QCOMPARE(b->Value(), VbFalse);
}

void TestKxButtonPersistence::aButtonStoredDisabledGetsTheDisabledLookWhenShown() {
    forms::PropertyBag bag;
    bag.setRaw(QStringLiteral("Enabled"), false);
    auto b = readButton(bag);
    QVERIFY(!b->Picture1.isEnabled());
    // Qt disables children with their parent; the parts' own flags are untouched until shown.
    for (QWidget* part : std::initializer_list<QWidget*>{&b->Image1, &b->Label1, &b->Label2})
        QVERIFY(!part->testAttribute(Qt::WA_ForceDisabled));
    QVERIFY(!b->DisBorder.Visible());

    showAt(*b);
    for (QWidget* part : std::initializer_list<QWidget*>{&b->Image1, &b->Label1, &b->Label2})
        QVERIFY(part->testAttribute(Qt::WA_ForceDisabled));
    QVERIFY(b->DisBorder.Visible());
}

void TestKxButtonPersistence::defaultsAreNotWritten() {
    auto b = shownButton(113, 25);
    b->setMaskColor(Silver);
    b->setCaption(QStringLiteral("kxFlashButton"));
    b->setBorderColor(0x80000012);
    forms::PropertyBag bag;
    b->WriteTo(bag);
    QCOMPARE(bag.names(), QStringList());
}

void TestKxButtonPersistence::writesInOrderWithTheirTypes() {
    forms::PropertyBag in;
    for (const Entry& e : fullEntries())
        in.setRaw(QLatin1String(e.name), e.value);
    auto b = readButton(in);
    showAt(*b);
    forms::PropertyBag out;
    b->WriteTo(out);

    QStringList names;
    for (const Entry& e : fullEntries())
        names << QLatin1String(e.name);
    QCOMPARE(out.names(), names);
    const auto read = [&](const char* name) {
        return out.ReadProperty(QLatin1String(name), std::monostate{});
    };
    QCOMPARE(std::get<std::int32_t>(read("ForeColor")), 0x000000FF);
    QCOMPARE(std::get<std::int32_t>(read("BorderColor")), 0x00FF0000);
    QCOMPARE(std::get<bool>(read("Enabled")), false);
    QCOMPARE(std::get<forms::FontRef>(read("Font")).get(), StoredFont.get());
    QCOMPARE(std::get<forms::PictureRef>(read("Picture")).get(), Stored.get());
    QCOMPARE(std::get<bool>(read("Toggle")), true);
    QCOMPARE(std::get<bool>(read("Value")), true);
    QCOMPARE(std::get<QString>(read("Caption")), QStringLiteral("Проба"));
    QCOMPARE(std::get<std::int32_t>(read("MaskColor")), std::int32_t(Magenta));
}

void TestKxButtonPersistence::savingWhileHoveredStoresThePictureAsSet() {
    auto b = shownButton(113, 25);
    b->setPicture(Stored);
    forms::setCursorPosOverride(b->mapToGlobal(QPoint(60, 12)));
    QMouseEvent move(QEvent::MouseMove, QPointF(60, 12), QPointF(b->mapToGlobal(QPoint(60, 12))),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&b->Label2, &move);
    forms::setCursorPosOverride(Elsewhere);
    QCOMPARE(b->Picture()->image(), b->Picture3.drawnImage()); // lit, with its shadow

    forms::PropertyBag bag;
    b->WriteTo(bag);
    QCOMPARE(std::get<forms::PictureRef>(bag.ReadProperty(QStringLiteral("Picture"), {})).get(),
             Stored.get());

    // An empty picture is saved as none.
    b->setPicture(std::make_shared<forms::StdPicture>());
    b->WriteTo(bag);
    QVERIFY(!bag.contains(QStringLiteral("Picture")));
}

void TestKxButtonPersistence::saveAndRecreateGiveTheSamePropertiesAndLook_data() {
    QTest::addColumn<bool>("toggle");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("plain button") << false << false << true;
    QTest::newRow("switch, up") << true << false << true;
    QTest::newRow("switch, down") << true << true << true;
    QTest::newRow("disabled") << false << false << false;
}

void TestKxButtonPersistence::saveAndRecreateGiveTheSamePropertiesAndLook() {
    QFETCH(bool, toggle);
    QFETCH(bool, down);
    QFETCH(bool, enabled);

    auto original = shownButton(256, 28);
    original->setForeColor(0x00400000);
    original->setBorderColor(0x80000008);
    original->setFont(StoredFont);
    original->setMaskColor(Silver);
    original->setPicture(Stored);
    // Only what differs from a fresh button: an up look set from code would show the picture
    // as set rather than the prepared one.
    if (toggle)
        original->setToggle(VbTrue);
    original->setCaption(QStringLiteral("Копировать"));
    original->setEnabled(enabled);
    // Put down after the caption's layout, as a container would on a button it shows.
    if (down)
        original->setValue(VbTrue);
    forms::PropertyBag bag;
    original->WriteTo(bag);

    TestButton copy;
    copy.ReadFrom(bag);
    showAt(copy, 256, 28);

    QCOMPARE(copy.ForeColor(), original->ForeColor());
    QCOMPARE(copy.BorderColor(), original->BorderColor());
    QCOMPARE(copy.Enabled(), original->Enabled());
    QCOMPARE(*copy.Font(), *original->Font());
    QCOMPARE(copy.Picture2.Picture()->image(), original->Picture2.Picture()->image());
    QCOMPARE(copy.Toggle(), original->Toggle());
    QCOMPARE(copy.Value(), original->Value());
    QCOMPARE(copy.Caption(), original->Caption());
    QCOMPARE(copy.MaskColor(), original->MaskColor());
    QCOMPARE(copy.grab().toImage(), original->grab().toImage());
}

QTEST_MAIN(TestKxButtonPersistence)
#include "tst_kxbutton_persistence.moc"
