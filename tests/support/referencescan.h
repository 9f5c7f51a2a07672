// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QVector>

class CFigure;
class QPainter;

// The straightforward hit tests: every cell in row order, a region per cube. The
// figure's fast lookups must give the same answers; the benchmark measures both.
QPoint CellFromPointByScan(const CFigure &figure, int x, int y);
QPoint CubeFromPointByScan(const CFigure &figure, int x, int y);

// The straightforward drawing: every cell in row order with the cube painter at
// cubeSize, selected cubes greyed, empty cells as a black dot when dots is set, the
// workspace origin at offset. The renderer must give the same pixels. At another
// scale each cell goes to its position at cubeSize times the scale, rounded, and so
// does every point of its cube, with pens as wide as a pixel at cubeSize is drawn.
void DrawFigureByPainter(QPainter &painter, const CFigure &figure, int cubeSize, const QPoint &offset, bool dots,
                         const QVector<QPoint> *selected, double scale = 1.0);
