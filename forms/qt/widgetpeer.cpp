#include "forms/qt/widgetpeer.h"

#include "forms/qt/convert.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTimer>

namespace forms::qt {

// --- WidgetPeer ---

WidgetPeer::WidgetPeer(QWidget* widget) : m_widget(widget) {
    // A child added to a window already on the screen is not shown with it.
    if (QWidget* parent = widget->parentWidget(); parent && parent->isVisible())
        widget->show();
}

WidgetPeer::~WidgetPeer() {
    delete m_widget.data();
}

void WidgetPeer::setGeometry(const PixelRect& r) {
    if (m_widget)
        m_widget->setGeometry(toQRect(r));
}

void WidgetPeer::setVisible(bool visible) {
    if (m_widget)
        m_widget->setVisible(visible);
}

void WidgetPeer::setEnabled(bool enabled) {
    if (m_widget)
        m_widget->setEnabled(enabled);
}

void WidgetPeer::invalidate(const PixelRect& r) {
    if (m_widget)
        m_widget->update(toQRect(r));
}

void WidgetPeer::repaintNow() {
    if (m_widget)
        m_widget->repaint();
}

void WidgetPeer::raise() {
    if (m_widget)
        m_widget->raise();
}

void WidgetPeer::setFocusable(bool focusable) {
    if (m_widget)
        m_widget->setFocusPolicy(focusable ? Qt::StrongFocus : Qt::NoFocus);
}

void WidgetPeer::setFocus() {
    if (m_widget)
        m_widget->setFocus(Qt::OtherFocusReason);
}

bool WidgetPeer::hasFocus() const {
    return m_widget && m_widget->hasFocus();
}

PixelPoint WidgetPeer::screenToClient(PixelPoint screen) const {
    if (!m_widget)
        return screen;
    const QPoint p = m_widget->mapFromGlobal(QPoint(screen.x, screen.y));
    return {p.x(), p.y()};
}

void WidgetPeer::setName(const std::u16string& name) {
    if (m_widget)
        m_widget->setObjectName(QString::fromStdU16String(name));
}

QWidget* widgetOf(const WindowedControl& control) {
    const auto* peer = dynamic_cast<const WidgetPeer*>(control.peer());
    return peer ? peer->widget() : nullptr;
}

// --- Input ---

MouseInput mouseInputOf(const QMouseEvent& e, MouseInput::Kind kind) {
    MouseInput in;
    in.kind = kind;
    in.button = buttonsOf(e.button());
    in.buttons = buttonsOf(e.buttons());
    in.modifiers = modifiersOf(e.modifiers());
    in.x = static_cast<float>(e.position().x());
    in.y = static_cast<float>(e.position().y());
    return in;
}

KeyInput keyInputOf(const QKeyEvent& e) {
    KeyInput in;
    in.keyCode = virtualKeyFromQt(e.key(), e.modifiers());
    in.modifiers = modifiersOf(e.modifiers());
    in.text = e.text().toStdU16String();
    in.autoRepeat = e.isAutoRepeat();
    return in;
}

// --- HostWidget ---

HostWidget::HostWidget(WindowSink& sink, QWidget* parent) : QWidget(parent), m_sink(sink) {
    setMouseTracking(true);
    // The control paints every pixel, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool HostWidget::event(QEvent* e) {
    switch (e->type()) {
    case QEvent::WindowBlocked:
    case QEvent::WindowDeactivate:
    case QEvent::UngrabMouse:
        m_sink.pressCancelled();
        break;
    default:
        break;
    }
    return QWidget::event(e);
}

void HostWidget::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    p.setClipRegion(e->region());
    PainterSurface surface(p);
    m_sink.paintWindow(surface);
}

void HostWidget::mousePressEvent(QMouseEvent* e) {
    m_sink.mouseInput(mouseInputOf(*e, MouseInput::Kind::Press));
}

void HostWidget::mouseMoveEvent(QMouseEvent* e) {
    m_sink.mouseInput(mouseInputOf(*e, MouseInput::Kind::Move));
}

void HostWidget::mouseReleaseEvent(QMouseEvent* e) {
    m_sink.mouseInput(mouseInputOf(*e, MouseInput::Kind::Release));
}

void HostWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    m_sink.mouseInput(mouseInputOf(*e, MouseInput::Kind::DoubleClick));
}

void HostWidget::keyPressEvent(QKeyEvent* e) {
    m_sink.keyDown(keyInputOf(*e));
}

void HostWidget::keyReleaseEvent(QKeyEvent* e) {
    m_sink.keyUp(keyInputOf(*e));
}

void HostWidget::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    m_sink.focusChanged(true);
}

void HostWidget::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    m_sink.pressCancelled();
    m_sink.focusChanged(false);
}

void HostWidget::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // A window being restored from the task bar is not the control becoming visible.
    if (!e->spontaneous())
        m_sink.shown();
}

// --- PainterSurface ---

void PainterSurface::fillRect(const PixelRect& r, std::uint32_t argb) {
    m_painter.fillRect(toQRect(r), QColor::fromRgba(argb));
}

void PainterSurface::drawImage(const PixelImage& image, int x, int y) {
    if (!image.isNull())
        m_painter.drawImage(x, y, toQImage(image));
}

void PainterSurface::drawText(const StdFont& font, const std::u16string& text,
                              const PixelRect& area, std::uint32_t argb) {
    m_painter.setFont(toQFont(font));
    m_painter.setPen(QColor::fromRgba(argb));
    m_painter.drawText(QRectF(toQRect(area)), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                       QString::fromStdU16String(text));
}

void PainterSurface::drawLine(int x1, int y1, int x2, int y2, int width, std::uint32_t argb) {
    const QColor c = QColor::fromRgba(argb);
    if (width == 1) {
        m_painter.setPen(QPen(c, 0));
        m_painter.drawLine(x1, y1, x2, y2);
        return;
    }
    m_painter.setPen(QPen(c, width, Qt::SolidLine, Qt::SquareCap));
    m_painter.drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
}

void PainterSurface::save(const PixelRect& r) {
    m_painter.save();
    m_painter.translate(r.x, r.y);
    m_painter.setClipRect(0, 0, r.width, r.height, Qt::IntersectClip);
}

void PainterSurface::restore() {
    m_painter.restore();
}

} // namespace forms::qt

// --- What the backend creates ---

namespace forms {

namespace {

class QtTimerPeer : public TimerPeer {
public:
    explicit QtTimerPeer(std::function<void()> tick) {
        QObject::connect(&m_timer, &QTimer::timeout, [tick = std::move(tick)] { tick(); });
    }
    void start(int ms) override { m_timer.start(ms); }
    void stop() override { m_timer.stop(); }
    bool running() const override { return m_timer.isActive(); }
    int interval() const override { return m_timer.interval(); }

private:
    QTimer m_timer;
};

} // namespace

namespace backend {

std::unique_ptr<WindowPeer> createWindowPeer(WindowSink& sink, WindowPeer* parent) {
    auto* parentPeer = dynamic_cast<qt::WidgetPeer*>(parent);
    return std::make_unique<qt::WidgetPeer>(
        new qt::HostWidget(sink, parentPeer ? parentPeer->widget() : nullptr));
}

std::unique_ptr<TimerPeer> createTimerPeer(std::function<void()> tick) {
    return std::make_unique<QtTimerPeer>(std::move(tick));
}

PixelPoint cursorPos() {
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void post(std::function<void()> task) {
    QMetaObject::invokeMethod(qApp, std::move(task), Qt::QueuedConnection);
}

void setTabOrder(const std::vector<WindowPeer*>& order) {
    QWidget* previous = nullptr;
    for (WindowPeer* peer : order) {
        auto* p = dynamic_cast<qt::WidgetPeer*>(peer);
        QWidget* w = p ? p->widget() : nullptr;
        if (!w)
            continue;
        if (previous) {
            // Qt puts the next window right after the part of the previous one that takes the
            // focus, ahead of that one's other parts; Shift+Tab would then land on those parts
            // (which hand the focus to the wrong control). Chain from its last part instead.
            QWidget* last = previous;
            for (QWidget* next = last->nextInFocusChain(); previous->isAncestorOf(next);
                 next = next->nextInFocusChain())
                last = next;
            QWidget::setTabOrder(last, w);
        }
        previous = w;
    }
}

} // namespace backend

void DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace forms
