// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/dragoffset.h"

#include <climits>

QPoint CDragOffset::DropTarget(const QPoint &cell, const QPoint &offset)
{
    const int row = cell.y() + offset.y();
    int column = cell.x() + offset.x();
    if ((offset.y() & 1) && !(row & 1))
        ++column;
    return QPoint(column, row);
}

QPoint CDragOffset::Snap(const QPoint &delta, const CellPitch &pitch)
{
    if (pitch.Px <= 0 || pitch.Py <= 0)
        return QPoint(0, 0);
    int ox = delta.x();
    int oy = delta.y();
    if (oy < -pitch.Py)
        oy -= pitch.Py / 2;
    if (oy > pitch.Py)
        oy += pitch.Py / 2;
    const int drow = oy / pitch.Py;
    if (ox < -pitch.Px)
        ox -= pitch.Px / 4;
    if (ox > pitch.Px)
        ox += pitch.Px / 4;
    if (ox > pitch.Px && !(drow & 1))
        ox += pitch.Px / 2;
    if (ox < -(pitch.Px / 2) && (drow & 1))
        ox -= pitch.Px / 2;
    return QPoint(ox / pitch.Px, drow);
}

QPoint CDragOffset::Clamp(const QVector<QPoint> &allCells, const QPoint &offset, const QSize &grid)
{
    const int w = grid.width();
    const int n = grid.height();
    int dcol = offset.x();
    int drow = offset.y();

    // Only cells that exist can be moved (a resize may have left stale entries).
    QVector<QPoint> cells;
    for (const QPoint &cell : allCells)
        if (CellExists(cell.x(), cell.y(), w, n))
            cells.append(cell);

    // Entry by entry, pull the offset back into the grid.
    for (const QPoint &cell : cells) {
        const int c = cell.x();
        const int r = cell.y();
        const int nr = r + drow;
        const int nc = c + dcol;
        if (nr < 0)
            drow = -r;
        if (nr >= n)
            drow = n - 1 - r;
        if (nc < 0)
            dcol = -c;
        if ((r + drow) & 1) {
            if (nc >= w - 1)
                dcol = w - 2 - c;
        } else if (nc >= w) {
            dcol = w - 1 - c;
        }
    }

    // That pass neither counts the extra column of odd row offsets nor revisits
    // earlier entries. Where it leaves a cube outside, reduce the offset further: the
    // rows toward zero until some column offset fits every cube, then the nearest such
    // column offset.
    auto fits = [&](int dc, int dr) {
        for (const QPoint &cell : cells) {
            const QPoint t = DropTarget(cell, QPoint(dc, dr));
            if (!CellExists(t.x(), t.y(), w, n))
                return false;
        }
        return true;
    };
    if (fits(dcol, drow))
        return QPoint(dcol, drow);
    for (int dr = drow;; dr += (dr > 0 ? -1 : 1)) {
        int low = INT_MIN;
        int high = INT_MAX;
        bool rowsInside = true;
        for (const QPoint &cell : cells) {
            const int r = cell.y() + dr;
            if (r < 0 || r >= n) {
                rowsInside = false;
                break;
            }
            const int shift = DropTarget(cell, QPoint(0, dr)).x() - cell.x();
            low = qMax(low, -cell.x() - shift);
            high = qMin(high, RowLength(w, r) - 1 - cell.x() - shift);
        }
        if (rowsInside && low <= high)
            return QPoint(qBound(low, dcol, high), dr);
        if (dr == 0)
            return QPoint(0, 0);
    }
}

QPoint CDragOffset::PasteOffset(const QVector<QPoint> &cells, const QPoint &target, const QSize &grid)
{
    QPoint offset(0, 0);
    if (!cells.isEmpty() && CellExists(target.x(), target.y(), grid.width(), grid.height())) {
        QPoint anchor = cells.first();
        for (const QPoint &cell : cells) {
            if (cell.y() < anchor.y() || (cell.y() == anchor.y() && cell.x() < anchor.x()))
                anchor = cell;
        }
        const int rows = target.y() - anchor.y();
        // A move by an odd number of rows onto an even row takes one more column.
        const int extra = (rows & 1) && !(target.y() & 1) ? 1 : 0;
        offset = QPoint(target.x() - anchor.x() - extra, rows);
    }
    return Clamp(cells, offset, grid);
}
