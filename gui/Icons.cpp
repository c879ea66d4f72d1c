#include "gui/Icons.h"

#include <array>

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// The application icon on a 64 x 64 design grid, scaled to side pixels: a winding
// dashed route across a green map tile, and a red pin standing on the route.
QPixmap DrawAppIcon(int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 64.0, side / 64.0);

    // Map tile.
    QLinearGradient land(0, 0, 64, 64);
    land.setColorAt(0, QColor(0xcf, 0xe8, 0xb0));
    land.setColorAt(1, QColor(0x9c, 0xcc, 0x7c));
    p.setPen(QPen(QColor(0x5d, 0x8a, 0x45), 2));
    p.setBrush(land);
    p.drawRoundedRect(QRectF(3, 7, 58, 54), 9, 9);

    // The route, wider and plainer at small sizes so that it still reads.
    QPainterPath route;
    route.moveTo(7, 52);
    route.cubicTo(20, 58, 22, 38, 33, 42);
    route.cubicTo(44, 46, 46, 28, 58, 24);
    const bool small = side < 24;
    QPen routePen(QColor(0x1d, 0x4e, 0x89), small ? 6 : 4, small ? Qt::SolidLine : Qt::DashLine,
                  Qt::RoundCap, Qt::RoundJoin);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, small ? 9 : 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(route);
    p.setPen(routePen);
    p.drawPath(route);

    // Pin: a circle head drawn into a point at (33, 42), on the route.
    QPainterPath pin;
    pin.moveTo(33, 43);
    pin.cubicTo(30, 34, 19, 27, 19, 17);
    pin.arcTo(QRectF(19, 3, 28, 28), 180, -180);
    pin.cubicTo(47, 27, 36, 34, 33, 43);
    pin.closeSubpath();
    QLinearGradient red(19, 3, 47, 43);
    red.setColorAt(0, QColor(0xf0, 0x5a, 0x4f));
    red.setColorAt(1, QColor(0xb7, 0x1c, 0x1c));
    p.setPen(QPen(QColor(0x7f, 0x12, 0x12), small ? 2.5 : 1.8, Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.setBrush(red);
    p.drawPath(pin);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const double r = small ? 6.5 : 5.5;
    p.drawEllipse(QPointF(33, 17), r, r);
    return pixmap;
}

QPixmap DrawRowIcon(int index, int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    if (index != 1 && index != 2)
        return pixmap;
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 16.0, side / 16.0);
    if (index == 1) {
        QPainterPath tick;
        tick.moveTo(3, 8.5);
        tick.lineTo(6.5, 12);
        tick.lineTo(13, 4);
        p.setPen(QPen(QColor(0x1b, 0x7a, 0x2b), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(tick);
        p.setPen(QPen(QColor(0x3c, 0xb8, 0x4e), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(tick);
    } else {
        QPainterPath cross;
        cross.moveTo(4, 4);
        cross.lineTo(12, 12);
        cross.moveTo(12, 4);
        cross.lineTo(4, 12);
        p.setPen(QPen(QColor(0x9e, 0x16, 0x16), 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(cross);
        p.setPen(QPen(QColor(0xe5, 0x39, 0x35), 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(cross);
    }
    return pixmap;
}

}  // namespace

QIcon AppIcon()
{
    static const QIcon icon = [] {
        QIcon result;
        for (int side : {16, 24, 32, 48, 64, 128, 256})
            result.addPixmap(DrawAppIcon(side));
        return result;
    }();
    return icon;
}

QIcon RowStatusIcon(int index)
{
    static const std::array<QIcon, 3> icons = [] {
        std::array<QIcon, 3> result;
        for (int i = 0; i < 3; ++i)
            for (int side : {16, 32})
                result[static_cast<size_t>(i)].addPixmap(DrawRowIcon(i, side));
        return result;
    }();
    return index >= 1 && index <= 2 ? icons[static_cast<size_t>(index)] : icons[0];
}
