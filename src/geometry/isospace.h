// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QSize>
#include <QVector>

// The 3-D space the isometric cubes picture, laid over the staggered grid.
//
// A unit step along x is a cube's lower-right neighbour, along y its lower-left
// neighbour and along z its upper neighbour; one step along each of x, y and z together
// lands on the same cell (that is the line of sight). The cube of (x, y, z) lies in
// front of every cube with a smaller x + y + z, so placing cubes in increasing
// x + y + z draws a solid back to front with the placing rule. Cubes of equal
// x + y + z never share a cell nor touch, so their order among themselves is free.
//
// Cells are (column, row) of the grid; a point is placed relative to an origin cell,
// the cell of (0, 0, 0). Half columns count half cells from the grid's left edge
// (2 * column + row parity), so a cell is (half column, row) with equal parities.
class CIsoSpace
{
public:
    struct Point
    {
        int x = 0;
        int y = 0;
        int z = 0;
        int Depth() const { return x + y + z; }
        bool operator==(const Point &o) const { return x == o.x && y == o.y && z == o.z; }
        bool operator!=(const Point &o) const { return !(*this == o); }
    };

    // The three axes.
    enum Axis { X = 0, Y = 1, Z = 2 };

    // The unit step of each of the six neighbour directions (cubegeometry's corner
    // order: up, upper right, lower right, down, lower left, upper left): +z, -y, +x,
    // -z, +y, -x.
    static Point DirectionStep(int direction);
    // The axis a neighbour direction runs along.
    static Axis DirectionAxis(int direction) { return static_cast<Axis>(AxisOf(DirectionStep(direction))); }

    // The cell of p with the origin's cell at (0, 0, 0); it may lie outside any grid.
    static QPoint CellOf(const QPoint &origin, const Point &p);

    // The points of the box with its least corner at corner and the given sizes along
    // x, y and z (each at least 1), in back-to-front order.
    static QVector<Point> Box(const Point &corner, int sizeX, int sizeY, int sizeZ);

    // The points of the box with corners a and b (both inside it, in any order), in
    // back-to-front order.
    static QVector<Point> BoxBetween(const Point &a, const Point &b);

    // Only the points of that box on its three front faces (largest x, y or z), back to
    // front: every other point lies on the line of sight of one of them, in front of
    // it, so their placing order is the whole box's, for far fewer points.
    static QVector<Point> BoxFront(const Point &a, const Point &b);

    // The point of the plane z = 0 whose cell lies nearest an offset from the origin
    // cell's centre, given in half columns and rows (fractions of them).
    static Point FloorPointAt(double halfColumns, double rows);

    // The points of a square bar of thickness x thickness cubes along the axis of
    // direction, length cubes long from (0, 0, 0) in that direction. Its cross-section
    // lies towards the back (smaller coordinates) of the two other axes, so the bar's
    // front edge runs through the cells of a thickness-1 beam. Back to front.
    static QVector<Point> Bar(int direction, int length, int thickness);

    // The cells of points (relative to origin) in placing order: sorted back to front
    // (a stable sort, so points of equal depth keep their order), cells outside the
    // grid left out, and a cell reached twice placed only where it is seen, at its
    // frontmost point (placing it there alone gives the same figure as placing it at
    // every point). grid is (cells in even rows, number of rows).
    static QVector<QPoint> PlacingOrder(const QPoint &origin, QVector<Point> points, const QSize &grid);

private:
    static int AxisOf(const Point &step) { return step.x != 0 ? X : step.y != 0 ? Y : Z; }
};
