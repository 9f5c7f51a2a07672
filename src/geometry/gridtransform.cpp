// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/gridtransform.h"

#include "geometry/cubegeometry.h"

#include <QtGlobal>

#include <climits>

namespace {

constexpr int CornerMask = (1 << NeighbourCount) - 1;

int HalfColumn(const QPoint &cell)
{
    return 2 * cell.x() + (cell.y() & 1);
}

QPoint CellAt(int half, int row)
{
    return QPoint((half - (row & 1)) / 2, row);
}

// An even number near sum, chosen so that mirroring twice comes back: of the two
// even neighbours of an odd sum, the one divisible by 4.
int MirrorAxis(int sum)
{
    if (!(sum & 1))
        return sum;
    return ((sum - 1) % 4 == 0) ? sum - 1 : sum + 1;
}

QVector<QPoint> MirrorCells(const QVector<QPoint> &cells)
{
    int low = INT_MAX;
    int high = INT_MIN;
    for (const QPoint &cell : cells) {
        low = qMin(low, HalfColumn(cell));
        high = qMax(high, HalfColumn(cell));
    }
    const int axis = MirrorAxis(low + high);
    QVector<QPoint> result;
    result.reserve(cells.size());
    for (const QPoint &cell : cells)
        result.append(CellAt(axis - HalfColumn(cell), cell.y()));
    return result;
}

// Turns the offset (dh3, dr) from a centre, with half columns counted in thirds, by a
// third of a turn clockwise on the screen: up becomes lower right.
void TurnClockwise(qint64 &dh3, qint64 &dr)
{
    const qint64 h = -(dh3 + 3 * dr) / 2;
    const qint64 r = (dh3 - dr) / 2;
    dh3 = h;
    dr = r;
}

// Whether the point (h3 / 3, row) is a centre of third turns of the lattice: a cell's
// centre or the middle of three neighbouring cells. Turning the cell (0, 0) about it
// must land on a cell.
bool IsTurnCentre(qint64 h3, qint64 row)
{
    qint64 dh3 = -h3;
    qint64 dr = -row;
    if ((dh3 + 3 * dr) % 2 != 0 || (dh3 - dr) % 2 != 0)
        return false;
    TurnClockwise(dh3, dr);
    const qint64 h = h3 + dh3;
    const qint64 r = row + dr;
    return h % 3 == 0 && ((h / 3 - r) % 2 == 0);
}

QVector<QPoint> RotateCells(const QVector<QPoint> &cells, bool clockwise)
{
    // The mean position, times the count n; half columns in thirds.
    const qint64 n = cells.size();
    qint64 sumH3 = 0;
    qint64 sumR = 0;
    for (const QPoint &cell : cells) {
        sumH3 += 3 * HalfColumn(cell);
        sumR += cell.y();
    }
    // The nearest centre of third turns; its neighbourhood is turned onto itself, so
    // the turned cells have the same nearest centre. On the screen a half column is
    // sqrt(3) times as wide as a row is high.
    const qint64 h3Mid = sumH3 / n;
    const qint64 rMid = sumR / n;
    qint64 bestH3 = 0;
    qint64 bestR = 0;
    qint64 bestDistance = -1;
    for (qint64 r = rMid - 3; r <= rMid + 3; ++r) {
        for (qint64 h3 = h3Mid - 9; h3 <= h3Mid + 9; ++h3) {
            if (!IsTurnCentre(h3, r))
                continue;
            const qint64 dh = sumH3 - n * h3; // thirds of half columns, times n
            const qint64 dr = sumR - n * r;
            const qint64 distance = dh * dh + 3 * dr * dr;
            if (bestDistance < 0 || distance < bestDistance) {
                bestDistance = distance;
                bestH3 = h3;
                bestR = r;
            }
        }
    }
    QVector<QPoint> result;
    result.reserve(cells.size());
    for (const QPoint &cell : cells) {
        qint64 dh3 = 3 * HalfColumn(cell) - bestH3;
        qint64 dr = cell.y() - bestR;
        // Two clockwise thirds are one anticlockwise.
        for (int i = clockwise ? 1 : 2; i > 0; --i)
            TurnClockwise(dh3, dr);
        result.append(CellAt(int((bestH3 + dh3) / 3), int(bestR + dr)));
    }
    return result;
}

} // namespace

int CGridTransform::TransformKind(Kind kind, int cubeKind)
{
    const int bits = cubeKind & CornerMask;
    switch (kind) {
    case Mirror: {
        // Top and bottom stay; 1 <-> 5 and 2 <-> 4.
        int result = bits & ((1 << Top) | (1 << Bottom));
        for (int corner : {UpperRight, LowerRight, LowerLeft, UpperLeft})
            if (bits & (1 << corner))
                result |= 1 << (NeighbourCount - corner);
        return result;
    }
    case RotateClockwise:
        return ((bits << 2) | (bits >> 4)) & CornerMask;
    case RotateAnticlockwise:
        return ((bits >> 2) | (bits << 4)) & CornerMask;
    }
    return bits;
}

qint32 CGridTransform::TransformValue(Kind kind, qint32 value)
{
    if (value < 0)
        return value;
    return (value & ~CornerMask) | TransformKind(kind, value & CornerMask);
}

QVector<QPoint> CGridTransform::TransformCells(Kind kind, const QVector<QPoint> &cells)
{
    if (cells.isEmpty())
        return cells;
    if (kind == Mirror)
        return MirrorCells(cells);
    return RotateCells(cells, kind == RotateClockwise);
}

std::optional<QVector<QPoint>> CGridTransform::FitInside(const QVector<QPoint> &cells, const QSize &grid)
{
    if (cells.isEmpty())
        return cells;
    // A cell (h, r) exists when 0 <= h <= 2 * width - 2 and 0 <= r < rows.
    int hLow = INT_MAX, hHigh = INT_MIN, rLow = INT_MAX, rHigh = INT_MIN;
    for (const QPoint &cell : cells) {
        hLow = qMin(hLow, HalfColumn(cell));
        hHigh = qMax(hHigh, HalfColumn(cell));
        rLow = qMin(rLow, cell.y());
        rHigh = qMax(rHigh, cell.y());
    }
    const int dhMin = -hLow, dhMax = 2 * grid.width() - 2 - hHigh;
    const int drMin = -rLow, drMax = grid.height() - 1 - rHigh;
    if (dhMin > dhMax || drMin > drMax)
        return std::nullopt;
    int dh = qBound(dhMin, 0, dhMax);
    int dr = qBound(drMin, 0, drMax);
    // A shift keeps the cells on the lattice when its two parts share their parity.
    if ((dh - dr) & 1) {
        int best = INT_MAX;
        int bestDh = 0, bestDr = 0;
        for (const QPoint &step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const int h = dh + step.x(), r = dr + step.y();
            if (h < dhMin || h > dhMax || r < drMin || r > drMax)
                continue;
            const int cost = qAbs(h) + qAbs(r);
            if (cost < best) {
                best = cost;
                bestDh = h;
                bestDr = r;
            }
        }
        if (best == INT_MAX)
            return std::nullopt;
        dh = bestDh;
        dr = bestDr;
    }
    QVector<QPoint> result;
    result.reserve(cells.size());
    for (const QPoint &cell : cells)
        result.append(CellAt(HalfColumn(cell) + dh, cell.y() + dr));
    return result;
}
