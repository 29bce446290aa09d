#include "forms/error.h"
#include "forms/usercontrol.h"

#include <QSignalSpy>
#include <QTest>

using namespace forms;

namespace {

// Records which lifecycle handlers ran, in order.
class Probe : public UserControl {
    Q_OBJECT
public:
    using UserControl::UserControl;
    QStringList log;
    QString readCaption;

protected:
    void UserControl_InitProperties() override { log << "InitProperties"; }
    void UserControl_ReadProperties(const PropertyBag& bag) override {
        log << "ReadProperties";
        readCaption = toString(bag.ReadProperty(QStringLiteral("Caption"), QStringLiteral("x")));
    }
    void UserControl_WriteProperties(PropertyBag& bag) override {
        log << "WriteProperties";
        bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("Выход"), QStringLiteral("x"));
    }
    void UserControl_Show() override { log << "Show"; }
    void UserControl_Resize() override {
        log << QStringLiteral("Resize %1x%2").arg(ScaleWidth()).arg(ScaleHeight());
    }
};

} // namespace

class TestUserControl : public QObject {
    Q_OBJECT
private slots:
    void newInstanceLifecycle();
    void storedInstanceLifecycle();
    void exactlyOneSetUp();
    void showBeforeSetUpIsAnError();
    void propertyChangedMarksForSave();
    void ambientFontAndName();
    void paintsBackColor();
};

void TestUserControl::newInstanceLifecycle() {
    QWidget window;
    Probe p(&window);
    p.InitNew();
    p.placeTwips(990, 3510, 1695, 375);
    QCOMPARE(p.geometry(), QRect(66, 234, 113, 25));
    window.show();
    p.resize(120, 30);
    p.hide();
    p.show();
    QCOMPARE(p.log,
             (QStringList{"InitProperties", "Resize 113x25", "Show", "Resize 120x30", "Show"}));
}

void TestUserControl::storedInstanceLifecycle() {
    PropertyBag stored;
    stored.setRaw(QStringLiteral("caption"), QStringLiteral("Проба"));
    Probe p;
    p.ReadFrom(stored);
    QCOMPARE(p.readCaption, QStringLiteral("Проба"));
    PropertyBag saved;
    p.WriteTo(saved);
    p.WriteTo(saved); // any number of saves
    QCOMPARE(toString(saved.ReadProperty(QStringLiteral("caption"), QString())),
             QStringLiteral("Выход"));
    QCOMPARE(p.log, (QStringList{"ReadProperties", "WriteProperties", "WriteProperties"}));
}

void TestUserControl::exactlyOneSetUp() {
    Probe p;
    p.InitNew();
    QVERIFY_THROWS_EXCEPTION(RuntimeError, p.ReadFrom(PropertyBag()));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, p.InitNew());
    QCOMPARE(p.log, QStringList{"InitProperties"});
}

void TestUserControl::showBeforeSetUpIsAnError() {
    QWidget window;
    window.show();
    Probe p(&window);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, p.show());
    QVERIFY(!p.log.contains("Show"));
}

void TestUserControl::propertyChangedMarksForSave() {
    Probe p;
    QSignalSpy spy(&p, &UserControl::propertyChanged);
    QVERIFY(!p.needsSave());
    p.PropertyChanged(QStringLiteral("Caption"));
    QVERIFY(p.needsSave());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("Caption"));
    p.clearNeedsSave();
    QVERIFY(!p.needsSave());
}

void TestUserControl::ambientFontAndName() {
    Probe p;
    p.setObjectName(QStringLiteral("cmdCopy"));
    QCOMPARE(*p.AmbientFont(), StdFont{});
    const FontRef container = makeFont(QStringLiteral("Tahoma"), 10);
    p.setAmbientFont(container);
    QCOMPARE(p.AmbientFont().get(), container.get());
    QCOMPARE(p.AmbientDisplayName(), QStringLiteral("cmdCopy"));
    p.setDisplayName(QStringLiteral("cmdPreview"));
    QCOMPARE(p.AmbientDisplayName(), QStringLiteral("cmdPreview"));
}

void TestUserControl::paintsBackColor() {
    Probe p;
    p.InitNew();
    p.resize(20, 10);
    p.setBackColor(0x00E0E0E0);
    QCOMPARE(p.grab().toImage().pixel(10, 5), qRgb(0xE0, 0xE0, 0xE0));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, p.setBackColor(0x80000040u));
    QCOMPARE(p.BackColor(), 0x00E0E0E0u);
}

QTEST_MAIN(TestUserControl)
#include "tst_usercontrol.moc"
