#pragma once

#include "forms/propertybag.h"
#include "forms/stdfont.h"
#include "forms/vbtypes.h"

#include <QString>
#include <QWidget>

namespace forms {

class UserControl : public QWidget {
    Q_OBJECT
public:
    explicit UserControl(QWidget* parent = nullptr);

    OleColor BackColor() const { return m_backColor; }
    void setBackColor(OleColor c);
    float ScaleWidth() const { return static_cast<float>(width()); }
    float ScaleHeight() const { return static_cast<float>(height()); }

    // Lifecycle entry points for the host. Exactly one of InitNew/ReadFrom, once, before the first
    // show (RuntimeError otherwise).
    void InitNew();
    void ReadFrom(const PropertyBag& bag);
    void WriteTo(PropertyBag& bag);
    bool initialized() const { return m_initialized; }

    void PropertyChanged(const QString& propertyName);
    bool needsSave() const { return m_needsSave; }
    void clearNeedsSave() { m_needsSave = false; }

    FontRef AmbientFont() const;
    void setAmbientFont(FontRef font);
    QString AmbientDisplayName() const;
    void setDisplayName(const QString& name);

    void placeTwips(int left, int top, int width, int height);

signals:
    void propertyChanged(const QString& propertyName);

protected:
    virtual void UserControl_InitProperties() {}
    virtual void UserControl_ReadProperties(const PropertyBag&) {}
    virtual void UserControl_WriteProperties(PropertyBag&) {}
    virtual void UserControl_Show() {}
    virtual void UserControl_Resize() {}

    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void beginLifecycle(const char* entry);

    OleColor m_backColor = 0x8000000F;
    bool m_initialized = false;
    bool m_needsSave = false;
    FontRef m_ambientFont;
    QString m_displayName;
};

struct StoredControl;

// Re-creates a control from its stored entry in the form file `file`: reads its properties and
// places it. Any error, also one the control raises on a value it cannot take, is a
// FormFileError naming the file, the control and the property.
void readStoredControl(UserControl& control, const StoredControl& stored,
                       const std::u16string& file);

} // namespace forms
