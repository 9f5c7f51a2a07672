// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/surface.h"

#include <QBrush>
#include <QImage>
#include <QPen>
#include <QRegion>

QColor ColorFromRef(ColorRef color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

ColorRef RefFromColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return MakeColorRef(rgb.red(), rgb.green(), rgb.blue());
}

QPen SolidPen(const QColor &color)
{
    QPen pen(color);
    pen.setWidth(1);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

void PreparePainter(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

void FillRegionWithOp(QPainter &painter, const QRegion &region, const QBrush &brush, QPainter::CompositionMode op)
{
    if (region.isEmpty())
        return;
    painter.save();
    painter.setCompositionMode(op);
    if (painter.hasClipping())
        painter.setClipRegion(region, Qt::IntersectClip);
    else
        painter.setClipRegion(region);
    painter.fillRect(region.boundingRect(), brush);
    painter.restore();
}

QRegion RegionBorder(const QRegion &region)
{
    QRegion inner = region;
    inner &= region.translated(1, 0);
    inner &= region.translated(-1, 0);
    inner &= region.translated(0, 1);
    inner &= region.translated(0, -1);
    return region.subtracted(inner);
}

QImage CreateCheckerImage(const QColor &even, const QColor &odd)
{
    QImage image(8, 8, QImage::Format_RGB32);
    const QRgb a = even.rgb();
    const QRgb b = odd.rgb();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixel(x, y, ((x + y) & 1) ? b : a);
    return image;
}
