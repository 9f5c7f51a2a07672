// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/gridpath.h"

#include "geometry/cubegeometry.h"
#include "geometry/isospace.h"

#include <algorithm>
#include <cmath>

namespace {

// One step of each neighbour direction in half-cell columns and rows.
constexpr int StepHalf[NeighbourCount] = {0, 1, 1, 0, -1, -1};
constexpr int StepRow[NeighbourCount] = {-2, -1, 1, 2, 1, -1};

bool InGrid(const QPoint &cell, const QSize &grid)
{
    return CellExists(cell.x(), cell.y(), grid.width(), grid.height());
}

// The offset from one cell's centre to another's in pixels at the given pitch.
QPointF PixelOffset(const QPoint &from, const QPoint &to, const CellPitch &pitch)
{
    return QPointF((CGridPath::HalfColumn(to) - CGridPath::HalfColumn(from)) * pitch.Px / 2.0,
                   (to.y() - from.y()) * double(pitch.Py));
}

QPointF StepPixels(int direction, const CellPitch &pitch)
{
    return QPointF(StepHalf[direction] * pitch.Px / 2.0, StepRow[direction] * double(pitch.Py));
}

double Length(const QPointF &v)
{
    return std::hypot(v.x(), v.y());
}

} // namespace

int CGridPath::BeamDirection(const QPoint &start, const QPoint &end, int cubeSize)
{
    const CellPitch pitch = ComputeCellPitch(cubeSize);
    const QPointF offset = PixelOffset(start, end, pitch);
    int best = Bottom;
    double bestCos = -2.0;
    for (int d = 0; d < NeighbourCount; ++d) {
        const QPointF u = StepPixels(d, pitch);
        const double cosine = (offset.x() * u.x() + offset.y() * u.y()) / (Length(u) * qMax(1e-9, Length(offset)));
        if (cosine > bestCos + 1e-9) {
            bestCos = cosine;
            best = d;
        }
    }
    return best;
}

int CGridPath::BeamLength(const QPoint &start, const QPoint &end, int cubeSize)
{
    const CellPitch pitch = ComputeCellPitch(cubeSize);
    const QPointF u = StepPixels(BeamDirection(start, end, cubeSize), pitch);
    const QPointF offset = PixelOffset(start, end, pitch);
    const double steps = (offset.x() * u.x() + offset.y() * u.y()) / (u.x() * u.x() + u.y() * u.y());
    return int(qBound(0.0, std::round(steps), double(1 << 20)));
}

QVector<QPoint> CGridPath::Beam(const QPoint &start, const QPoint &end, const QSize &grid, int cubeSize, int thickness)
{
    if (!InGrid(start, grid))
        return {};
    // No beam reaches farther than across the grid.
    const int length = qMin(BeamLength(start, end, cubeSize), 2 * (grid.width() + grid.height()));
    const QVector<CIsoSpace::Point> bar = CIsoSpace::Bar(BeamDirection(start, end, cubeSize), length + 1,
                                                         qBound(1, thickness, 3));
    return CIsoSpace::PlacingOrder(start, bar, grid);
}

QPoint CGridPath::BeamEnd(const QPoint &start, const QPoint &end, const QSize &grid, int cubeSize)
{
    const int direction = BeamDirection(start, end, cubeSize);
    const int length = qMin(BeamLength(start, end, cubeSize), 2 * (grid.width() + grid.height()));
    QPoint cell = start;
    for (int k = 0; k < length; ++k) {
        const QPoint next = NeighbourCell(cell.x(), cell.y(), direction);
        if (!InGrid(next, grid))
            break;
        cell = next;
    }
    return cell;
}

int CGridPath::StepCount(const QPoint &from, const QPoint &to)
{
    // Diagonal steps cover a half column and a row each, vertical ones two rows.
    const int dh = std::abs(HalfColumn(to) - HalfColumn(from));
    const int dr = std::abs(to.y() - from.y());
    return dh + qMax(0, (dr - dh) / 2);
}

QPoint CGridPath::NeighbourStep(const QPoint &cell, int direction, const QSize &grid)
{
    const QPoint next = NeighbourCell(cell.x(), cell.y(), direction);
    return InGrid(next, grid) ? next : cell;
}

QVector<QPoint> CGridPath::JoinCells(const QPoint &from, const QPoint &to, const QSize &grid, int cubeSize)
{
    QVector<QPoint> cells;
    const CellPitch pitch = ComputeCellPitch(cubeSize);
    const QPointF line = PixelOffset(from, to, pitch);
    const double length = qMax(1e-9, Length(line));
    QPoint cell = from;
    for (int left = StepCount(from, to); left > 0; --left) {
        // Of the steps that bring the cell one nearer, the one nearest the line (and
        // inside the grid, where one is).
        QPoint best = cell;
        double bestScore = 0;
        for (int d = 0; d < NeighbourCount; ++d) {
            const QPoint next = NeighbourCell(cell.x(), cell.y(), d);
            if (StepCount(next, to) != left - 1)
                continue;
            const QPointF p = PixelOffset(from, next, pitch);
            double score = std::abs(p.x() * line.y() - p.y() * line.x()) / length;
            if (!InGrid(next, grid))
                score += 1e6;
            if (best == cell || score < bestScore) {
                best = next;
                bestScore = score;
            }
        }
        cell = best;
        if (InGrid(cell, grid))
            cells.append(cell);
    }
    return cells;
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

QVector<QPoint> CGridPath::StrokeCells(QPoint &current, const QPointF &from, const QPointF &to, const QSize &grid,
                                       int cubeSize)
{
    QVector<QPoint> cells;
    const CellPitch pitch = ComputeCellPitch(cubeSize);
    const double h = cubeSize / 2;
    auto centre = [&](const QPoint &cell) {
        return QPointF(CellOrigin(cell.x(), cell.y(), pitch)) + QPointF(h, h);
    };
    // Sampled a quarter of a row apart, as SegmentCells does.
    const double step = qMax(0.5, pitch.Py / 4.0);
    const int samples = int(std::ceil(Length(to - from) / step));
    for (int i = 0; i <= samples; ++i) {
        const QPointF point = from + (to - from) * (samples > 0 ? double(i) / samples : 0.0);
        const QPoint nearest = CellAt(point, grid, cubeSize);
        if (nearest.x() < 0 || nearest == current)
            continue;
        if (!InGrid(current, grid)) {
            current = nearest;
            cells.append(nearest);
            continue;
        }
        // Clearly nearer the other centre: by more than a quarter of the cube.
        if (Length(point - centre(current)) - Length(point - centre(nearest)) <= cubeSize / 4.0)
            continue;
        cells += JoinCells(current, nearest, grid, cubeSize);
        current = nearest;
    }
    return cells;
}
