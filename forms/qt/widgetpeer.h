#pragma once

#include "forms/control.h"
#include "forms/peer.h"
#include "forms/surface.h"

#include <QPainter>
#include <QPointer>
#include <QWidget>

// The Qt backend's native windows: a peer wraps one QWidget.
namespace forms::qt {

// The peer of a windowed control: the neutral operations on its QWidget, which it owns.
class WidgetPeer : public WindowPeer {
public:
    // Takes `widget`, which must already have the parent's widget as its parent.
    explicit WidgetPeer(QWidget* widget);
    ~WidgetPeer() override;

    QWidget* widget() const { return m_widget; }

    void setGeometry(const PixelRect& r) override;
    void setVisible(bool visible) override;
    bool isShown() const override { return m_widget && m_widget->isVisible(); }
    void setEnabled(bool enabled) override;
    void invalidate(const PixelRect& r) override;
    void repaintNow() override;
    void raise() override;
    void setFocusable(bool focusable) override;
    void setFocus() override;
    bool hasFocus() const override;
    PixelPoint screenToClient(PixelPoint screen) const override;
    void setName(const std::u16string& name) override;

private:
    QPointer<QWidget> m_widget;
};

// A widget that paints and takes input through a windowed control.
class HostWidget : public QWidget {
public:
    HostWidget(WindowSink& sink, QWidget* parent);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    WindowSink& m_sink;
};

// A surface over a QPainter.
class PainterSurface : public Surface {
public:
    explicit PainterSurface(QPainter& painter) : m_painter(painter) {}
    void fillRect(const PixelRect& r, std::uint32_t argb) override;
    void drawImage(const PixelImage& image, int x, int y) override;
    void drawText(const StdFont& font, const std::u16string& text, const PixelRect& area,
                  std::uint32_t argb) override;
    void drawLine(int x1, int y1, int x2, int y2, int width, std::uint32_t argb) override;
    void save(const PixelRect& r) override;
    void restore() override;

private:
    QPainter& m_painter;
};

// The widget of a windowed control (for the backend's own code and for tests).
QWidget* widgetOf(const WindowedControl& control);

// The input a Qt mouse or key event carries.
MouseInput mouseInputOf(const QMouseEvent& e, MouseInput::Kind kind);
KeyInput keyInputOf(const QKeyEvent& e);

} // namespace forms::qt
