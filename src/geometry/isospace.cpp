// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/isospace.h"

#include "geometry/cubegeometry.h"

#include <QHash>

#include <algorithm>
#include <cmath>

CIsoSpace::Point CIsoSpace::DirectionStep(int direction)
{
    switch (direction) {
    case Top:
        return {0, 0, 1};
    case UpperRight:
        return {0, -1, 0};
    case LowerRight:
        return {1, 0, 0};
    case Bottom:
        return {0, 0, -1};
    case LowerLeft:
        return {0, 1, 0};
    case UpperLeft:
        return {-1, 0, 0};
    default:
        return {};
    }
}

QPoint CIsoSpace::CellOf(const QPoint &origin, const Point &p)
{
    // +x: half column +1, row +1; +y: half column -1, row +1; +z: row -2.
    const int half = 2 * origin.x() + (origin.y() & 1) + p.x - p.y;
    const int row = origin.y() + p.x + p.y - 2 * p.z;
    // half and row always share their parity, so the floor division is exact.
    return QPoint((half - (row & 1)) / 2, row);
}

QVector<CIsoSpace::Point> CIsoSpace::Box(const Point &corner, int sizeX, int sizeY, int sizeZ)
{
    QVector<Point> points;
    if (sizeX < 1 || sizeY < 1 || sizeZ < 1)
        return points;
    points.reserve(sizeX * sizeY * sizeZ);
    const int depths = sizeX + sizeY + sizeZ - 2;
    for (int d = 0; d < depths; ++d) {
        for (int x = 0; x < sizeX; ++x) {
            for (int y = 0; y < sizeY; ++y) {
                const int z = d - x - y;
                if (z >= 0 && z < sizeZ)
                    points.append({corner.x + x, corner.y + y, corner.z + z});
            }
        }
    }
    return points;
}

QVector<CIsoSpace::Point> CIsoSpace::BoxBetween(const Point &a, const Point &b)
{
    return Box({qMin(a.x, b.x), qMin(a.y, b.y), qMin(a.z, b.z)}, qAbs(a.x - b.x) + 1, qAbs(a.y - b.y) + 1,
               qAbs(a.z - b.z) + 1);
}

QVector<CIsoSpace::Point> CIsoSpace::BoxFront(const Point &a, const Point &b)
{
    const Point low{qMin(a.x, b.x), qMin(a.y, b.y), qMin(a.z, b.z)};
    const Point high{qMax(a.x, b.x), qMax(a.y, b.y), qMax(a.z, b.z)};
    QVector<Point> points;
    for (int x = low.x; x <= high.x; ++x) {
        for (int y = low.y; y <= high.y; ++y) {
            if (x == high.x || y == high.y) {
                for (int z = low.z; z <= high.z; ++z)
                    points.append({x, y, z});
            } else {
                points.append({x, y, high.z});
            }
        }
    }
    std::stable_sort(points.begin(), points.end(),
                     [](const Point &p, const Point &q) { return p.Depth() < q.Depth(); });
    return points;
}

CIsoSpace::Point CIsoSpace::FloorPointAt(double halfColumns, double rows)
{
    // On the floor a cell is x - y half columns right and x + y rows down of the
    // origin; rounding x and y on their own picks the cell whose diamond of half a
    // step each way holds the offset, the nearest centre.
    return {int(std::lround((rows + halfColumns) / 2)), int(std::lround((rows - halfColumns) / 2)), 0};
}

QVector<CIsoSpace::Point> CIsoSpace::Bar(int direction, int length, int thickness)
{
    const Point step = DirectionStep(direction);
    if (length < 1 || thickness < 1 || step == Point())
        return {};
    int size[3] = {thickness, thickness, thickness};
    int corner[3] = {1 - thickness, 1 - thickness, 1 - thickness};
    const int axis = AxisOf(step);
    const int sign = step.x + step.y + step.z;
    size[axis] = length;
    corner[axis] = sign > 0 ? 0 : 1 - length;
    return Box({corner[0], corner[1], corner[2]}, size[0], size[1], size[2]);
}

QVector<QPoint> CIsoSpace::PlacingOrder(const QPoint &origin, QVector<Point> points, const QSize &grid)
{
    std::stable_sort(points.begin(), points.end(),
                     [](const Point &a, const Point &b) { return a.Depth() < b.Depth(); });
    // Keep each cell's last (frontmost) place only.
    QVector<QPoint> cells;
    cells.reserve(points.size());
    QHash<quint64, int> last;
    for (const Point &p : std::as_const(points)) {
        const QPoint cell = CellOf(origin, p);
        if (!CellExists(cell.x(), cell.y(), grid.width(), grid.height()))
            continue;
        const quint64 key = (quint64(quint32(cell.y())) << 32) | quint32(cell.x());
        last.insert(key, cells.size());
        cells.append(cell);
    }
    QVector<QPoint> order;
    order.reserve(last.size());
    for (int i = 0; i < cells.size(); ++i) {
        const QPoint &cell = cells[i];
        const quint64 key = (quint64(quint32(cell.y())) << 32) | quint32(cell.x());
        if (last.value(key) == i)
            order.append(cell);
    }
    return order;
}
