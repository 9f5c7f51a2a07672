// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/gridpath.h"

#include "geometry/cubegeometry.h"

#include <algorithm>
#include <cmath>

namespace {

// A cell in half-cell columns: x counts half pitches from the left edge, so the row's
// stagger disappears and every straight direction is a constant step.
struct HalfCell
{
    int X;
    int Row;
};

HalfCell ToHalf(const QPoint &cell)
{
    return {2 * cell.x() + (cell.y() & 1), cell.y()};
}

// One step of each direction in half-cell columns and rows.
constexpr int StepX[3] = {2, 1, -1};
constexpr int StepRow[3] = {0, 1, 1};

} // namespace

CGridPath::Direction CGridPath::BeamDirection(const QPoint &start, const QPoint &end, int cubeSize)
{
    const CellPitch pitch = ComputeCellPitch(cubeSize);
    const HalfCell a = ToHalf(start);
    const HalfCell b = ToHalf(end);
    // The offset in pixels, against each direction's unit vector: the nearest line is
    // the one with the largest projection either way.
    const double dx = double(b.X - a.X) * pitch.Px / 2.0;
    const double dy = double(b.Row - a.Row) * pitch.Py;
    Direction best = Horizontal;
    double bestDot = -1.0;
    for (int d = 0; d < 3; ++d) {
        const double ux = StepX[d] * pitch.Px / 2.0;
        const double uy = StepRow[d] * pitch.Py;
        const double dot = std::abs(dx * ux + dy * uy) / std::hypot(ux, uy);
        if (dot > bestDot + 1e-9) {
            bestDot = dot;
            best = Direction(d);
        }
    }
    return best;
}

QVector<QPoint> CGridPath::Beam(const QPoint &start, const QPoint &end, const QSize &grid, int cubeSize)
{
    QVector<QPoint> cells;
    if (!CellExists(start.x(), start.y(), grid.width(), grid.height()))
        return cells;
    const CellPitch pitch = ComputeCellPitch(cubeSize);
    const Direction d = BeamDirection(start, end, cubeSize);
    const HalfCell a = ToHalf(start);
    const HalfCell b = ToHalf(end);
    const double ux = StepX[d] * pitch.Px / 2.0;
    const double uy = StepRow[d] * pitch.Py;
    const double dx = double(b.X - a.X) * pitch.Px / 2.0;
    const double dy = double(b.Row - a.Row) * pitch.Py;
    const double length = ux * ux + uy * uy;
    const long long steps = length > 0 ? std::llround((dx * ux + dy * uy) / length) : 0;
    const int sign = steps < 0 ? -1 : 1;
    const long long count = std::min<long long>(std::llabs(steps), 2LL * (grid.width() + grid.height()));
    for (long long k = 0; k <= count; ++k) {
        const int x = a.X + int(sign * k * StepX[d]);
        const int row = a.Row + int(sign * k * StepRow[d]);
        // Half columns of a row have the row's parity; the steps keep it.
        const QPoint cell((x - (row & 1)) / 2, row);
        if (x < 0 || !CellExists(cell.x(), cell.y(), grid.width(), grid.height()))
            break;
        cells.append(cell);
    }
    return cells;
}

QPoint CGridPath::CursorStep(const QPoint &cell, int dx, int dy, int halfColumn, const QSize &grid)
{
    auto exists = [&grid](const QPoint &c) {
        return CellExists(c.x(), c.y(), grid.width(), grid.height());
    };
    if (dy == 0) {
        const QPoint next(cell.x() + dx, cell.y());
        return exists(next) ? next : cell;
    }
    // The two cells of the next row touching this one, the nearer to halfColumn first.
    const int row = cell.y() + dy;
    const int here = HalfColumn(cell);
    int first = here + 1;
    int second = here - 1;
    if (std::abs(second - halfColumn) < std::abs(first - halfColumn))
        std::swap(first, second);
    for (const int x : {first, second}) {
        const QPoint next((x - (row & 1)) / 2, row);
        if (x >= 0 && exists(next))
            return next;
    }
    return cell;
}

QPoint CGridPath::CellAt(const QPointF &point, const QSize &grid, int cubeSize)
{
    const CellPitch pitch = ComputeCellPitch(cubeSize);
    if (pitch.Px <= 0 || pitch.Py <= 0 || grid.width() < 1 || grid.height() < 1)
        return QPoint(-1, -1);
    const double h = cubeSize / 2;
    // Rows are close together and cells of a row far apart: the nearest centre lies in
    // one of the rows around the point, at the column nearest in that row.
    const int around = int(std::floor((point.y() - h) / pitch.Py));
    QPoint best(-1, -1);
    double bestDistance = h * h;
    for (int row = qMax(0, around - 2); row <= qMin(grid.height() - 1, around + 3); ++row) {
        const int length = RowLength(grid.width(), row);
        if (length < 1)
            continue;
        const double shift = (row & 1) ? pitch.Px / 2 : 0;
        const int column = qBound(0, int(std::lround((point.x() - h - shift) / pitch.Px)), length - 1);
        const double cx = column * pitch.Px + shift + h;
        const double cy = row * pitch.Py + h;
        const double distance = (point.x() - cx) * (point.x() - cx) + (point.y() - cy) * (point.y() - cy);
        if (distance <= bestDistance) {
            bestDistance = distance;
            best = QPoint(column, row);
        }
    }
    return best;
}

QVector<QPoint> CGridPath::SegmentCells(const QPointF &from, const QPointF &to, const QSize &grid, int cubeSize)
{
    QVector<QPoint> cells;
    // Sampled a quarter of a row apart, finer than any cell is thin, so no cell the
    // segment passes through is stepped over.
    const CellPitch pitch = ComputeCellPitch(cubeSize);
    const double step = qMax(0.5, pitch.Py / 4.0);
    const double length = std::hypot(to.x() - from.x(), to.y() - from.y());
    const int samples = int(std::ceil(length / step));
    QPoint last(-1, -1);
    for (int i = 0; i <= samples; ++i) {
        const double t = samples > 0 ? double(i) / samples : 0.0;
        const QPoint cell = CellAt(from + (to - from) * t, grid, cubeSize);
        if (cell.x() >= 0 && cell != last)
            cells.append(cell);
        if (cell.x() >= 0)
            last = cell;
    }
    return cells;
}
