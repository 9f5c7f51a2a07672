// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/referencescan.h"

#include "geometry/cubepainter.h"
#include "geometry/figure.h"

#include <QPainter>

#include <cmath>

QPoint CellFromPointByScan(const CFigure &figure, int x, int y)
{
    const CellPitch pitch = figure.GetCellPitch();
    const int h = figure.CubeSize / 2;
    const CubeGrid &grid = figure.Grid;
    for (int r = 0; r < grid.size(); ++r) {
        for (int c = 0; c < grid[r].size(); ++c) {
            const int cx = c * pitch.Px + ((r & 1) ? pitch.Px / 2 : 0) + h;
            const int cy = r * pitch.Py + h;
            if (cx - 5 <= x && x <= cx + 5 && cy - 5 <= y && y <= cy + 5)
                return QPoint(c, r);
        }
    }
    return QPoint(-1, -1);
}

QPoint CubeFromPointByScan(const CFigure &figure, int x, int y)
{
    const CubeGrid &grid = figure.Grid;
    for (int r = 0; r < grid.size(); ++r) {
        for (int c = 0; c < grid[r].size(); ++c) {
            const qint32 value = grid[r][c];
            if (value < 0)
                continue;
            const QPoint o = figure.GetCellOrigin(c, r);
            // Regions tested one by one, in part order, as the painter describes them.
            for (int part = 0; part < CubePartCount; ++part) {
                if (part != Centre && (value & (1 << part)))
                    continue;
                if (GetPartRegion(o.x(), o.y(), figure.CubeSize, part).contains(QPoint(x, y)))
                    return QPoint(c, r);
            }
        }
    }
    return QPoint(-1, -1);
}

void DrawFigureByPainter(QPainter &painter, const CFigure &figure, int cubeSize, const QPoint &offset, bool dots,
                         const QVector<QPoint> *selected, double scale)
{
    PreparePainter(painter);
    const CellPitch pitch = ComputeCellPitch(cubeSize);
    auto scaled = [scale](int value) {
        return scale == 1.0 ? value : int(std::floor(value * scale + 0.5));
    };
    const int size = qMax(1, scaled(cubeSize));
    CCubePainter cube;
    cube.Size = size;
    cube.TopColor = figure.Color1;
    cube.RightColor = figure.Color2;
    cube.LeftColor = figure.Color3;
    for (int r = 0; r < figure.Grid.size(); ++r) {
        for (int c = 0; c < figure.Grid[r].size(); ++c) {
            const QPoint at = CellOrigin(c, r, pitch);
            const QPoint origin = offset + QPoint(scaled(at.x()), scaled(at.y()));
            const qint32 value = figure.Grid[r][c];
            if (value < 0) {
                if (dots)
                    painter.fillRect(QRect(origin + QPoint(size / 2, size / 2), QSize(1, 1)), Qt::black);
                continue;
            }
            // Each cube in its own colouring (colouring 0 for one the palette lacks).
            const CColouring colouring = figure.Colouring(IsCubeValue(value) ? PaintOfCell(value) : 0);
            cube.TopColor = colouring.Top;
            cube.RightColor = colouring.Right;
            cube.LeftColor = colouring.Left;
            cube.Index = IsCubeValue(value) ? KindOfCell(value) : value;
            cube.Left = origin.x();
            cube.Top = origin.y();
            cube.Draw(painter);
            if (selected && selected->contains(QPoint(c, r)))
                cube.FillSelected(painter);
        }
    }
}
