// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QSize>
#include <QVector>

// Paths over the staggered grid: the straight runs of cells a beam covers and the
// cells a pointer crosses while it moves. Cells are (column, row); a grid is given as
// (cells in even rows, number of rows), points as workspace pixels drawn with cubes of
// a given size.
class CGridPath
{
public:
    // The three straight directions of the grid: along a row, and the two diagonals
    // that step one row down and half a cell right or left.
    enum Direction { Horizontal = 0, FallingDiagonal = 1, RisingDiagonal = 2 };

    // The cells from start along whichever straight direction lies nearest to the
    // direction from start to end, as many steps as end lies along it; start first.
    // The run stops at the grid's edge. A start outside the grid gives no cells.
    static QVector<QPoint> Beam(const QPoint &start, const QPoint &end, const QSize &grid, int cubeSize);
    // The direction Beam takes from start to end.
    static Direction BeamDirection(const QPoint &start, const QPoint &end, int cubeSize);

    // A cell's column counted in half cells from the left edge (rows are staggered by
    // half a cell), the x a cursor keeps while it goes up and down.
    static int HalfColumn(const QPoint &cell) { return 2 * cell.x() + (cell.y() & 1); }
    // Where an arrow key moves a cell cursor: dx -1 or 1 along the row; dy -1 or 1 one
    // row up or down, to whichever of the two cells there lies nearer to halfColumn
    // (the right one on a tie). The cursor stays where it is at the grid's edge.
    static QPoint CursorStep(const QPoint &cell, int dx, int dy, int halfColumn, const QSize &grid);

    // The cell a point lies in: the cell whose centre is nearest, when that centre is
    // within half a cube; (-1, -1) otherwise (beside the grid).
    static QPoint CellAt(const QPointF &point, const QSize &grid, int cubeSize);
    // The cells the segment from one point to another crosses, in the order crossed,
    // each run of the same cell given once. The first is the cell at from.
    static QVector<QPoint> SegmentCells(const QPointF &from, const QPointF &to, const QSize &grid, int cubeSize);
};
