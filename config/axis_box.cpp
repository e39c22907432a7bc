#include "config/axis_box.h"

#include <QPainter>

#include <algorithm>

namespace orvane {

AxisBox::AxisBox(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setMinimumSize(90, 18);
}

void AxisBox::setFill(double fraction) {
    const double clamped = std::clamp(fraction, 0.0, 1.0);
    if (clamped == fill_) return;
    fill_ = clamped;
    update();
}

void AxisBox::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        const QRect inside = contentsRect();
        const int width = static_cast<int>(fill_ * inside.width());
        painter.fillRect(QRect(inside.topLeft(), QSize(width, inside.height())),
                         palette().color(QPalette::Highlight));
    }
    QFrame::paintEvent(event);
}

} // namespace orvane
