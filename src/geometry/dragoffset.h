// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/cubegeometry.h"

#include <QPoint>
#include <QSize>
#include <QVector>

// Moving a group of cells by whole cells: where a cell lands, how a dragged distance
// snaps to a cell offset, and how far a group may move and stay inside the grid.
class CDragOffset
{
public:
    // The cell a cell lands on when moved by offset (columns, rows). The column shifts
    // by one more when an odd row moves to an even one, keeping the pixel shift equal.
    static QPoint DropTarget(const QPoint &cell, const QPoint &offset);
    // The cell offset a drag of delta pixels snaps to, on a grid of the given pitch.
    static QPoint Snap(const QPoint &delta, const CellPitch &pitch);
    // offset pulled back so that every one of cells that exists in a grid of
    // grid.width() cells by grid.height() rows lands inside it; cells outside the grid
    // are left out. (0, 0) always fits, so the group always stays whole.
    static QPoint Clamp(const QVector<QPoint> &cells, const QPoint &offset, const QSize &grid);
    // The offset that pastes cells with their top left one (the first in row order) on
    // target, kept to the grid as Clamp does; a target outside the grid pastes the
    // cells where they are (kept to the grid too).
    static QPoint PasteOffset(const QVector<QPoint> &cells, const QPoint &target, const QSize &grid);
};
