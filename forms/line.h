#pragma once

#include "forms/vbtypes.h"

#include <QPoint>
#include <QWidget>

namespace forms {

// A straight line between two points in the parent's pixels; takes no mouse input.
class Line : public QWidget {
    Q_OBJECT
public:
    explicit Line(QWidget* parent = nullptr);

    void setPoints(int x1, int y1, int x2, int y2);
    QPoint point1() const { return m_p1; }
    QPoint point2() const { return m_p2; }
    OleColor BorderColor() const { return m_borderColor; }
    void setBorderColor(OleColor c);
    int BorderWidth() const { return m_borderWidth; }
    void setBorderWidth(int w);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void place();
    QPoint origin() const;

    QPoint m_p1, m_p2;
    OleColor m_borderColor = 0x80000008;
    int m_borderWidth = 1;
};

} // namespace forms
