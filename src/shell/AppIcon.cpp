#include "shell/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace AppIcon {

QIcon icon()
{
    QIcon result;
    for (const int size : {16, 22, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const double s = size / 32.0;
        painter.setPen(QPen(Qt::white, 1.5 * s));
        painter.setBrush(QColor(0x2f, 0x6f, 0xb5));
        painter.drawEllipse(QRectF(1 * s, 1 * s, 30 * s, 30 * s));
        QPainterPath chart;
        chart.moveTo(7 * s, 20 * s);
        chart.lineTo(12 * s, 14 * s);
        chart.lineTo(16 * s, 17 * s);
        chart.lineTo(21 * s, 10 * s);
        chart.lineTo(25 * s, 13 * s);
        painter.setPen(QPen(Qt::white, 2.5 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(chart);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xff, 0xd1, 0x66));
        painter.drawEllipse(QPointF(25 * s, 13 * s), 2 * s, 2 * s);
        painter.end();
        result.addPixmap(pixmap);
    }
    return result;
}

} // namespace AppIcon
