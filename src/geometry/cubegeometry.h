// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Cube kinds and the isometric geometry of a cube and of the staggered grid.
// Everything here is integer arithmetic around one stored projection angle.

#include <QtGlobal>
#include <QPoint>
#include <QPolygon>
#include <QRegion>

// A cube kind 0..63: bit i set means corner part i is cut away. Negative values are
// empty grid cells; EmptyCubeIndex is the eraser offered by the pickers.
using CubeIndex = qint32;
constexpr CubeIndex EmptyCell = -1;
constexpr CubeIndex EmptyCubeIndex = 64;
constexpr int CubeKindCount = 64;

// A grid cell's value: the kind in bits 0..5 and the colouring the cube is painted in
// (0..15, an index into the figure's palette) in bits 8..11. Every other bit is clear.
constexpr qint32 CubeKindMask = 0x3F;
constexpr int CubePaintShift = 8;
constexpr qint32 CubePaintMask = 0xF << CubePaintShift;
constexpr int MaxColourings = 16;

// The kind 0..63 of an occupied cell's value.
constexpr CubeIndex KindOfCell(qint32 value)
{
    return value & CubeKindMask;
}
// The colouring 0..15 of an occupied cell's value.
constexpr int PaintOfCell(qint32 value)
{
    return (value & CubePaintMask) >> CubePaintShift;
}
// The value of a cube of kind (0..63) painted in colouring (0..15).
constexpr qint32 CellValue(CubeIndex kind, int paint)
{
    return (kind & CubeKindMask) | ((paint << CubePaintShift) & CubePaintMask);
}
// Whether value is an occupied cell: a kind with a colouring and no other bit.
constexpr bool IsCubeValue(qint32 value)
{
    return value >= 0 && (value & ~(CubeKindMask | CubePaintMask)) == 0;
}
// The same cube in another colouring; empty cells stay empty.
constexpr qint32 RepaintCell(qint32 value, int paint)
{
    return value < 0 ? value : CellValue(KindOfCell(value), paint);
}

// The seven parts of a cube's hexagon; corner part i belongs to bit i.
enum CubePart : int {
    Top = 0,
    UpperRight = 1,
    LowerRight = 2,
    Bottom = 3,
    LowerLeft = 4,
    UpperLeft = 5,
    Centre = 6,
    CubePartCount = 7
};

// The projection angle as stored: close to, but not exactly, pi / 6.
extern const double CubeAngle;

// Rounds a double the way all geometry does: add 0.5 and truncate toward zero.
int Rnd(double value);

// The reference points of a cube drawn in the square (left, top, size, size).
struct CubePoints
{
    int X[5];
    int Y[10];
};

CubePoints ComputeCubePoints(int left, int top, int size);

// The polygon of one part, vertices in their fixed order.
QPolygon PartPolygon(const CubePoints &points, int part);
QRegion GetPartRegion(int left, int top, int size, int part);
// The Centre plus every corner part whose bit is clear in index.
QRegion GetCubeRegion(int left, int top, int size, CubeIndex index);

// Distance between neighbouring cells of one row (Px, always even) and between
// successive rows (Py).
struct CellPitch
{
    int Px = 0;
    int Py = 0;
};

CellPitch ComputeCellPitch(int cubeSize, int scale = 1);

// Top-left corner of the bounding square of the cube in cell (column, row).
QPoint CellOrigin(int column, int row, CellPitch pitch);

// Number of cells in a row of a grid whose even rows hold width cells.
inline int RowLength(int width, int row)
{
    return (row & 1) ? width - 1 : width;
}

// The six neighbour directions in corner order: up, upper right, lower right, down,
// lower left, upper left. Direction d faces this cube's corner d and the neighbour's
// opposite corner (d + 3) % 6.
constexpr int NeighbourCount = 6;
inline int OppositeCorner(int corner)
{
    return (corner + 3) % 6;
}

// The cell of the neighbour in direction d of (column, row), whether or not it exists.
QPoint NeighbourCell(int column, int row, int direction);

// Whether (column, row) is a cell of a grid of the given width and row count.
inline bool CellExists(int column, int row, int width, int rows)
{
    return row >= 0 && row < rows && column >= 0 && column < RowLength(width, row);
}
