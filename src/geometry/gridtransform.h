// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QSize>
#include <QVector>
#include <optional>

// Mirror and third-turn rotation of cubes on the staggered grid.
//
// The picture of an isometric cube is the same after a mirror about the vertical line
// and after a third of a turn (120 degrees) about its centre, so a group of cubes can
// be mirrored or turned and still lie on the grid. Cells are handled in half columns
// (2 * column + row parity) and rows: there the six neighbour steps are (0, -2),
// (1, -1), (1, 1), (0, 2), (-1, 1), (-1, -1), a triangular lattice.
//
// A cell value keeps its sign and every bit above the six corner bits; only the
// corner bits move (a cube's colourings stay with it).
class CGridTransform
{
public:
    enum Kind {
        Mirror,          // about the vertical middle line
        RotateClockwise, // a third of a turn clockwise on the screen
        RotateAnticlockwise
    };

    // The cube kind (0..63) after the transform: mirrored, upper right and upper left
    // swap places, as do lower right and lower left; turned clockwise, corner i
    // becomes corner i + 2.
    static int TransformKind(Kind kind, int cubeKind);
    // A cell value after the transform: negative values (empty cells) stay, the corner
    // bits are transformed and all other bits kept.
    static qint32 TransformValue(Kind kind, qint32 value);

    // The cells after the transform, in the same order: mirrored about the vertical
    // middle line of their bounding box, or turned about the centre of rotation
    // nearest to their mean position (which stays where it is, so three turns give
    // the cells back). The cells may lie outside any grid.
    static QVector<QPoint> TransformCells(Kind kind, const QVector<QPoint> &cells);

    // The cells moved whole, by the shortest shift, so that every one lies inside a
    // grid of grid.width() cells in even rows by grid.height() rows; empty when they
    // cannot all fit.
    static std::optional<QVector<QPoint>> FitInside(const QVector<QPoint> &cells, const QSize &grid);
};
