// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QVector>

// Paths over the staggered grid along the cube's own axes: beams along the six
// neighbour directions (up and down two rows a step, and the four diagonals), the
// joined cells of a stroke, and the cells a pointer crosses. Cells are (column, row); a
// grid is given as (cells in even rows, number of rows), points as workspace pixels
// drawn with cubes of a given size. Directions are cubegeometry's neighbour order.
class CGridPath
{
public:
    // The neighbour direction whose line from start lies nearest to the direction from
    // start to end (by angle on screen).
    static int BeamDirection(const QPoint &start, const QPoint &end, int cubeSize);
    // The steps along BeamDirection that bring start nearest to end (0 when end lies
    // behind start).
    static int BeamLength(const QPoint &start, const QPoint &end, int cubeSize);
    // The cells of a beam from start towards end, thickness (1 to 3) cubes thick: the
    // picture of a square bar of cubes along the direction's axis, whose front edge runs
    // from start, in placing order (back to front). Cells outside the grid are left
    // out; a start outside the grid gives no cells.
    static QVector<QPoint> Beam(const QPoint &start, const QPoint &end, const QSize &grid, int cubeSize,
                                int thickness = 1);
    // The last cell of the beam's front edge that lies in the grid (where the next beam
    // starts); start itself for a beam of no steps.
    static QPoint BeamEnd(const QPoint &start, const QPoint &end, const QSize &grid, int cubeSize);

    // A cell's column counted in half cells from the left edge (rows are staggered by
    // half a cell).
    static int HalfColumn(const QPoint &cell) { return 2 * cell.x() + (cell.y() & 1); }
    // The number of neighbour steps from one cell to another.
    static int StepCount(const QPoint &from, const QPoint &to);
    // The neighbour of cell in direction, or cell itself when the grid has no such cell.
    static QPoint NeighbourStep(const QPoint &cell, int direction, const QSize &grid);
    // Cells from one cell to another, each a neighbour of the one before, keeping near
    // the straight line between their centres (drawn with cubes of cubeSize): to last,
    // from left out. Steps that would leave the grid go round inside it where they can.
    static QVector<QPoint> JoinCells(const QPoint &from, const QPoint &to, const QSize &grid, int cubeSize = 32);

    // The cell a point lies in: the cell whose centre is nearest, when that centre is
    // within half a cube; (-1, -1) otherwise (beside the grid).
    static QPoint CellAt(const QPointF &point, const QSize &grid, int cubeSize);
    // The cells the segment from one point to another crosses, in the order crossed,
    // each run of the same cell given once. The first is the cell at from.
    static QVector<QPoint> SegmentCells(const QPointF &from, const QPointF &to, const QSize &grid, int cubeSize);
    // A stroke's move from one point to another: current keeps its cell until the
    // pointer is nearer another cell's centre by more than a quarter of the cube size
    // (a current outside the grid takes the first cell under the pointer). Gives the
    // cells the stroke enters on the way, each a neighbour of the one before (gaps of
    // fast moves filled along neighbour directions), and updates current.
    static QVector<QPoint> StrokeCells(QPoint &current, const QPointF &from, const QPointF &to, const QSize &grid,
                                       int cubeSize);
};
