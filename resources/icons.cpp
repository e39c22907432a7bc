#include "resources/icons.h"

#include <QPainter>

namespace orvane {

QPixmap germanFlag(QSize size) {
    QPixmap pm(size);
    QPainter p(&pm);
    const int h = size.height();
    p.fillRect(0, 0, size.width(), h / 3, QColor(0, 0, 0));
    p.fillRect(0, h / 3, size.width(), h - 2 * (h / 3), QColor(221, 0, 0));
    p.fillRect(0, h - h / 3, size.width(), h / 3, QColor(255, 206, 0));
    return pm;
}

QPixmap englishFlag(QSize size) {
    QPixmap pm(size);
    pm.fill(QColor(1, 33, 105));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    // Diagonals: white, then a thinner red over them.
    p.setPen(QPen(Qt::white, h / 5.0));
    p.drawLine(QPointF(0, 0), QPointF(w, h));
    p.drawLine(QPointF(w, 0), QPointF(0, h));
    p.setPen(QPen(QColor(200, 16, 46), h / 15.0));
    p.drawLine(QPointF(0, 0), QPointF(w, h));
    p.drawLine(QPointF(w, 0), QPointF(0, h));
    // Upright cross: white border, red centre.
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(w / 2 - h / 6, 0, h / 3, h), Qt::white);
    p.fillRect(QRectF(0, h / 3, w, h / 3), Qt::white);
    p.fillRect(QRectF(w / 2 - h / 10, 0, h / 5, h), QColor(200, 16, 46));
    p.fillRect(QRectF(0, h / 2 - h / 10, w, h / 5), QColor(200, 16, 46));
    return pm;
}

QPixmap programIcon(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // A small transmitter: body, antenna and two sticks.
    p.setPen(QPen(QColor(40, 40, 40), s / 32.0));
    p.setBrush(QColor(70, 110, 170));
    p.drawRoundedRect(QRectF(s * 0.1, s * 0.3, s * 0.8, s * 0.6), s * 0.1, s * 0.1);
    p.setPen(QPen(QColor(40, 40, 40), s / 16.0));
    p.drawLine(QPointF(s * 0.75, s * 0.3), QPointF(s * 0.85, s * 0.05));
    p.setBrush(QColor(230, 230, 230));
    p.setPen(QPen(QColor(40, 40, 40), s / 32.0));
    p.drawEllipse(QPointF(s * 0.32, s * 0.6), s * 0.12, s * 0.12);
    p.drawEllipse(QPointF(s * 0.68, s * 0.6), s * 0.12, s * 0.12);
    return pm;
}

QIcon programWindowIcon() {
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(programIcon(size));
    return icon;
}

} // namespace orvane
