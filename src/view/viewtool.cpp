// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/viewtool.h"

#include "geometry/viewmapping.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QPen>
#include <QPolygon>
#include <QtMath>

void PaintCellOutline(QPainter &painter, const CViewMapping &mapping, const QPoint &cell, const QColor &inner,
                      qreal lineWidth)
{
    const QPoint origin = mapping.CellOrigin(cell);
    const CubePoints p = ComputeCubePoints(origin.x(), origin.y(), mapping.DisplaySize());
    const QPolygon hexagon({QPoint(p.X[2], p.Y[0]), QPoint(p.X[4], p.Y[2]), QPoint(p.X[4], p.Y[7]),
                            QPoint(p.X[2], p.Y[9]), QPoint(p.X[0], p.Y[7]), QPoint(p.X[0], p.Y[2])});
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 3 * lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolygon(hexagon);
    painter.setPen(QPen(inner, lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolygon(hexagon);
}

qreal CellOutlineWidth(const CViewMapping &mapping)
{
    return qMax<qreal>(1.0, mapping.Ratio());
}

QRect CellOutlineBounds(const CViewMapping &mapping, const QVector<QPoint> &cells, qreal lineWidth)
{
    // The hexagon's corners lie on the cube's square; the white line reaches half its
    // width (1.5 lines) past them, rounded up, and a pixel more for the rasterizing.
    const int size = mapping.DisplaySize();
    const int reach = qCeil(1.5 * lineWidth) + 1;
    QRect bounds;
    for (const QPoint &cell : cells)
        bounds |= QRect(mapping.CellOrigin(cell), QSize(size + 1, size + 1)).adjusted(-reach, -reach, reach, reach);
    return bounds;
}

QCursor ViewCursor(CViewTool::CursorId id, qreal ratio)
{
    // The 2x pictures (named @2x, so they carry the ratio 2) on screens denser than 1.
    auto picture = [ratio](const char *name) {
        const QString base = QStringLiteral(":/pictures/") + QLatin1String(name);
        if (ratio > 1.0) {
            const QPixmap dense(base + QStringLiteral("@2x.png"));
            if (!dense.isNull())
                return dense;
        }
        return QPixmap(base + QStringLiteral(".png"));
    };
    // The hot spot is given in logical pixels. The X11 platform hands it to the server
    // as it is, in the picture's own pixels (measured with Qt 6.4: a 64 x 64 picture of
    // ratio 2 with hot spot (10, 9) points with its pixel (10, 9)), so there it is
    // scaled by the picture's ratio; the other platforms scale it themselves.
    auto cursor = [](const QPixmap &pixmap, int x, int y) {
        const qreal scale = QGuiApplication::platformName() == QLatin1String("xcb") ? pixmap.devicePixelRatio() : 1.0;
        return QCursor(pixmap, qRound(x * scale), qRound(y * scale));
    };
    switch (id) {
    case CViewTool::CubeCursor:
        return cursor(picture("cursor-cube"), 10, 10);
    case CViewTool::NoCellCursor:
        return cursor(picture("cursor-nocell"), 10, 9);
    case CViewTool::CopyCursor:
        return cursor(picture("cursor-copy"), 0, 0);
    case CViewTool::ArrowCursor:
        break;
    }
    return cursor(picture("cursor-arrow"), 0, 0);
}
