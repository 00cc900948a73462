#include "ui/qt/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace zk::ui {

namespace {

QPixmap draw_icon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    // Rounded dark-blue body: the controller box.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x4e, 0x8c));
    painter.drawRoundedRect(QRectF(0.04 * s, 0.04 * s, 0.92 * s, 0.92 * s), 0.18 * s, 0.18 * s);

    // A light beam fanning out from the lens to the right.
    QPainterPath beam;
    beam.moveTo(0.42 * s, 0.44 * s);
    beam.lineTo(0.90 * s, 0.20 * s);
    beam.lineTo(0.90 * s, 0.68 * s);
    beam.closeSubpath();
    painter.setBrush(QColor(0xff, 0xd5, 0x4f, 0xd0));
    painter.drawPath(beam);

    // The lens.
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(0.34 * s, 0.44 * s), 0.17 * s, 0.17 * s);
    painter.setBrush(QColor(0x1f, 0x4e, 0x8c));
    painter.drawEllipse(QPointF(0.34 * s, 0.44 * s), 0.07 * s, 0.07 * s);

    // Three status lamps along the bottom edge.
    painter.setBrush(QColor(0x7c, 0xd9, 0x92));
    for (int i = 0; i < 3; ++i)
        painter.drawEllipse(QPointF((0.26 + 0.16 * i) * s, 0.78 * s), 0.05 * s, 0.05 * s);
    return pixmap;
}

} // namespace

QIcon app_icon()
{
    QIcon icon;
    for (int size : {16, 20, 24, 32, 40, 48, 64, 96, 128, 256})
        icon.addPixmap(draw_icon(size));
    return icon;
}

} // namespace zk::ui
