// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/cubegeometry.h"
#include "geometry/surface.h"

#include <QPoint>
#include <QSize>
#include <QVector>

// The workspace grid: rows of cells, even rows one cell longer than odd rows.
// Rows are implicitly shared, so a copy costs only the rows changed after it.
using CubeRow = QVector<qint32>;
using CubeGrid = QVector<CubeRow>;

// One colouring of cubes: the colours of the three faces.
struct CColouring
{
    ColorRef Top = 0;
    ColorRef Right = 0;
    ColorRef Left = 0;
    bool operator==(const CColouring &o) const { return Top == o.Top && Right == o.Right && Left == o.Left; }
    bool operator!=(const CColouring &o) const { return !(*this == o); }
    // Three shades of one colour, as iso pictures are shaded: the top face lighter,
    // the right-hand face the colour itself, the left-hand face darker (HSL lightness
    // steps, hue and saturation kept).
    static CColouring Shaded(ColorRef base);
};

// What a figure is: its four colours, its palette of further colourings, its cube size and its grid of cells. A plain
// value with no signals and no settings; the document owns the figure being edited,
// the file layer reads and writes these values and the renderer draws them.
class CFigure
{
public:
    // Ranges the program keeps to for the grid and the cube size.
    static constexpr int MinGridWidth = 10;
    static constexpr int MaxGridWidth = 100;
    static constexpr int MinGridHeight = 10;
    static constexpr int MaxGridHeight = 100;
    static constexpr int MinCubeSize = 16;
    static constexpr int MaxCubeSize = 200;

    static constexpr ColorRef DefaultBkColor = 0xFFFFFF;
    static constexpr ColorRef DefaultColor1 = 0x0000FF;
    static constexpr ColorRef DefaultColor2 = 0x00EE00;
    static constexpr ColorRef DefaultColor3 = 0xFF0000;
    static constexpr int DefaultCubeSize = 32;
    static constexpr int DefaultWidth = 20;
    static constexpr int DefaultHeight = 40;

    // Refusal of an empty figure wherever a picture of it is asked for.
    static constexpr const char *EmptyFigureText = QT_TRANSLATE_NOOP(
        "CFigure", "There's no blocks at the workspace so it is impossible to save empty image.");

    // The box around the occupied cells: each cube's square widened by 2 pixels to the
    // right and below. All -1 for an empty figure.
    struct Bounds
    {
        int left = -1;
        int top = -1;
        int right = -1;
        int bottom = -1;
        bool IsEmpty() const { return left < 0 && right < 0; }
        int Width() const { return right - left; }
        int Height() const { return bottom - top; }
    };

    ColorRef BkColor = DefaultBkColor;
    ColorRef Color1 = DefaultColor1; // top face
    ColorRef Color2 = DefaultColor2; // right-hand side face
    ColorRef Color3 = DefaultColor3; // left-hand side face
    int CubeSize = DefaultCubeSize;
    // Colourings 1.. of the palette (at most MaxColourings - 1); colouring 0 is
    // Color1..Color3. A cell names its colouring in its value (PaintOfCell); one beyond
    // the palette is drawn in colouring 0.
    QVector<CColouring> Palette;
    CubeGrid Grid;

    int ColouringCount() const { return 1 + int(Palette.size()); }
    // Colouring index, or colouring 0 for an index beyond the palette.
    CColouring Colouring(int index) const;
    // Every colouring, 0 first.
    QVector<CColouring> Colourings() const;
    // Sets colouring index (0 sets Color1..Color3); an index beyond the palette is ignored.
    void SetColouring(int index, const CColouring &colouring);
    // A value as the grid may hold it: empty for anything negative or no cube, the
    // colouring 0 where the value's colouring is beyond the palette.
    qint32 CheckedValue(qint32 value) const;

    // Gives the grid width cells in even rows and height rows; cells that stay keep
    // their values, new cells are empty.
    void Resize(int width, int height);
    static void Resize(CubeGrid &grid, int width, int height);
    QSize GridSize() const; // (cells in row 0, number of rows)
    bool HasCell(int column, int row) const;
    qint32 Cell(int column, int row) const { return Grid[row][column]; }
    bool IsEmpty() const;

    // The placing rule: stores value in the cell, then for every neighbour facing a
    // corner the value does not cut, cuts the neighbour's opposite corner (the newer
    // cube is seen in front). Only cells whose value changes are written.
    void PlaceCube(int column, int row, qint32 value);
    static void PlaceCube(CubeGrid &grid, int column, int row, qint32 value);

    CellPitch GetCellPitch(int scale = 1) const { return ComputeCellPitch(CubeSize, scale); }
    QPoint GetCellOrigin(int column, int row) const { return CellOrigin(column, row, GetCellPitch()); }
    QSize GetWorkspaceSize() const;
    Bounds GetBounds() const;

    // The first cell in row order whose centre lies within 5 pixels of (x, y) in both
    // directions, or (-1, -1); with box, within box pixels (a figure drawn at another
    // size scales its centre box with it).
    QPoint CellFromPoint(int x, int y) const { return CellFromPoint(x, y, 5); }
    QPoint CellFromPoint(int x, int y, int box) const;
    // The first occupied cell in row order whose visible region holds (x, y), or (-1, -1).
    QPoint CubeFromPoint(int x, int y) const;
    // The occupied cells, in row order, whose visible region lies wholly inside the
    // rectangle with the corners a and b (b's row and column of pixels left out);
    // none when it has no width or height.
    QVector<QPoint> CubesInRect(const QPoint &a, const QPoint &b) const;

    bool operator==(const CFigure &other) const;
    bool operator!=(const CFigure &other) const { return !(*this == other); }
};

// Integer division rounding toward minus infinity / plus infinity (b > 0).
inline int FloorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

inline int CeilDiv(int a, int b)
{
    return -FloorDiv(-a, b);
}
