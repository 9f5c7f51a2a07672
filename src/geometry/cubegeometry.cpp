// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/cubegeometry.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

double AngleFromBits()
{
    const std::uint64_t bits = 0x3FE0C1514ABD0449ULL;
    double angle;
    std::memcpy(&angle, &bits, sizeof angle);
    return angle;
}

} // namespace

const double CubeAngle = AngleFromBits();

int Rnd(double value)
{
    return static_cast<int>(value + 0.5);
}

CubePoints ComputeCubePoints(int left, int top, int size)
{
    const int h = size / 2;
    const int hx = Rnd(h * std::cos(CubeAngle));
    const int hy = Rnd(h * std::sin(CubeAngle));
    CubePoints p;
    p.X[0] = left + h - hx;
    p.X[1] = left + h - hx / 2;
    p.X[2] = left + h;
    p.X[3] = left + h + hx / 2;
    p.X[4] = left + h + hx;
    p.Y[0] = top;
    p.Y[1] = top + hy / 2;
    p.Y[2] = top + hy;
    p.Y[3] = top + hy + hy / 2;
    p.Y[4] = top + 2 * hy;
    p.Y[5] = top + hy + h / 2;
    p.Y[6] = top + hy + hy / 2 + h / 2;
    p.Y[7] = top + hy + h;
    p.Y[8] = top + 2 * h - hy / 2;
    p.Y[9] = top + 2 * h;
    return p;
}

CubePoints ZoomedCubePoints(const QPoint &origin, int size, double zoom)
{
    const CubePoints own = ComputeCubePoints(origin.x(), origin.y(), size);
    auto zoomed = [zoom](int value) {
        return int(std::floor(value * zoom + 0.5));
    };
    const int left = zoomed(origin.x());
    const int top = zoomed(origin.y());
    CubePoints p;
    for (int i = 0; i < 5; ++i)
        p.X[i] = zoomed(own.X[i]) - left;
    for (int i = 0; i < 10; ++i)
        p.Y[i] = zoomed(own.Y[i]) - top;
    return p;
}

CubePoints MovedCubePoints(const CubePoints &points, int dx, int dy)
{
    CubePoints p = points;
    for (int &x : p.X)
        x += dx;
    for (int &y : p.Y)
        y += dy;
    return p;
}

QPolygon PartPolygon(const CubePoints &p, int part)
{
    // Vertex lists as (x index, y index) pairs.
    static const int corners[6][4][2] = {
        {{1, 1}, {2, 0}, {3, 1}, {2, 2}}, {{3, 1}, {4, 2}, {4, 5}, {3, 3}}, {{4, 5}, {4, 7}, {3, 8}, {3, 6}},
        {{3, 8}, {2, 9}, {1, 8}, {2, 7}}, {{1, 8}, {0, 7}, {0, 5}, {1, 6}}, {{0, 5}, {0, 2}, {1, 1}, {1, 3}},
    };
    static const int centre[12][2] = {
        {2, 2}, {3, 1}, {3, 3}, {4, 5}, {3, 6}, {3, 8}, {2, 7}, {1, 8}, {1, 6}, {0, 5}, {1, 3}, {1, 1},
    };
    QPolygon polygon;
    if (part >= 0 && part < 6) {
        for (const auto &v : corners[part])
            polygon << QPoint(p.X[v[0]], p.Y[v[1]]);
    } else if (part == Centre) {
        for (const auto &v : centre)
            polygon << QPoint(p.X[v[0]], p.Y[v[1]]);
    }
    return polygon;
}

QRegion GetPartRegion(int left, int top, int size, int part)
{
    return QRegion(PartPolygon(ComputeCubePoints(left, top, size), part), Qt::WindingFill);
}

QRegion GetCubeRegion(int left, int top, int size, CubeIndex index)
{
    return GetCubeRegion(ComputeCubePoints(left, top, size), index);
}

QRegion GetCubeRegion(const CubePoints &points, CubeIndex index)
{
    QRegion region(PartPolygon(points, Centre), Qt::WindingFill);
    for (int i = 0; i < 6; ++i) {
        if (!(index & (1 << i)))
            region = region.united(QRegion(PartPolygon(points, i), Qt::WindingFill));
    }
    return region;
}

CellPitch ComputeCellPitch(int cubeSize, int scale)
{
    const int h = scale * (cubeSize / 2);
    CellPitch pitch;
    pitch.Px = 2 * Rnd(1.5 * std::cos(CubeAngle) * h);
    pitch.Py = Rnd(1.5 * std::sin(CubeAngle) * h);
    return pitch;
}

QPoint CellOrigin(int column, int row, CellPitch pitch)
{
    return QPoint(column * pitch.Px + ((row & 1) ? pitch.Px / 2 : 0), row * pitch.Py);
}

QPoint NeighbourCell(int column, int row, int direction)
{
    const bool odd = row & 1;
    switch (direction) {
    case Top:
        return QPoint(column, row - 2);
    case UpperRight:
        return QPoint(odd ? column + 1 : column, row - 1);
    case LowerRight:
        return QPoint(odd ? column + 1 : column, row + 1);
    case Bottom:
        return QPoint(column, row + 2);
    case LowerLeft:
        return QPoint(odd ? column : column - 1, row + 1);
    case UpperLeft:
        return QPoint(odd ? column : column - 1, row - 1);
    default:
        return QPoint(-1, -1);
    }
}
