#pragma once

#include <QWidget>
#include <cstdint>

namespace forms {

// Base of the lightweight parts that live inside a UserControl or a Form. Keeps the float geometry
// it was given and places the widget at the nearest whole pixel.
class Control : public QWidget {
    Q_OBJECT
public:
    explicit Control(QWidget* parent = nullptr);

    // The float last given, as long as the widget still stands where it put it (a caller that
    // moved the QWidget directly reads the widget's whole pixels).
    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;

    void Move(float left, float top);
    void Move(float left, float top, float width, float height);
    void setLeft(float left);
    void setTop(float top);
    void setWidth(float width);
    void setHeight(float height);

    // The state the code set, not whether an ancestor happens to be disabled too.
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
    void setEnabled(bool on) { QWidget::setEnabled(on); }
    // The flag the code set, not whether an ancestor is shown.
    bool Visible() const;
    void setVisible(bool on) override { QWidget::setVisible(on); }

    void setMouseTransparent(bool on);
    bool mouseTransparent() const;

    // Forgets a press whose release is no longer wanted: that release then raises no Click.
    void forgetPress() { m_pressedHere = false; }

signals:
    void MouseDown(std::int16_t& Button, std::int16_t& Shift, float& x, float& y);
    void MouseMove(std::int16_t& Button, std::int16_t& Shift, float& x, float& y);
    void MouseUp(std::int16_t& Button, std::int16_t& Shift, float& x, float& y);
    void Click();
    void DblClick();

protected:
    bool event(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

    // Called after the float geometry changed and the widget was placed.
    virtual void geometryChanged() {}

private:
    void applyGeometry(float left, float top, float width, float height);

    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    bool m_pressedHere = false;
};

// Places a widget from a rectangle in twips (for stock widgets in windows).
void placeTwips(QWidget* w, int left, int top, int width, int height);

} // namespace forms
