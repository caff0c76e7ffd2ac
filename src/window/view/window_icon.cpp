#include "window_icon.h"

#include <QList>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace lorvane {
namespace {

// The sixteen standard colours, then the transparent background.
QList<QRgb> IconPalette() {
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),     qRgb(0, 128, 0),     qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128),   qRgb(0, 128, 128),   qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),     qRgb(0, 255, 0),     qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255),   qRgb(0, 255, 255),   qRgb(255, 255, 255),
            qRgba(0, 0, 0, 0)};
}

}  // namespace

QImage PyramidImage(int size) {
    QImage canvas(size, size, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    const qreal u = size / 32.0;  // drawn on a 32-unit grid
    const QPointF apex(16 * u, 2 * u);
    const QPointF baseLeft(1 * u, 25 * u);
    const QPointF baseRight(31 * u, 25 * u);
    const QPointF edge(20 * u, 25 * u);  // where the two faces meet at the base

    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(192, 192, 192));
    painter.drawPolygon(QPolygonF({apex, baseLeft, edge}));
    painter.setBrush(QColor(0, 0, 0));
    painter.drawPolygon(QPolygonF({apex, edge, baseRight}));
    painter.setBrush(QColor(128, 128, 128));
    painter.drawPolygon(QPolygonF({baseLeft, baseRight, QPointF(29 * u, 29 * u), QPointF(3 * u, 29 * u)}));
    painter.end();

    // Every pixel drawn above is one of the palette's colours, so this keeps them exactly.
    return canvas.convertToFormat(QImage::Format_Indexed8, IconPalette(), Qt::ThresholdDither);
}

QIcon WindowIcon() {
    QIcon icon;
    for (const int size : {32, 16}) icon.addPixmap(QPixmap::fromImage(PyramidImage(size)));
    return icon;
}

}  // namespace lorvane
