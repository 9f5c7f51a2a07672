// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/figure.h"

#include "geometry/cubepainter.h"

#include <QRegion>

namespace {

// Order in which placing a cube visits its neighbours.
const int PlaceOrder[NeighbourCount] = {UpperRight, UpperLeft, LowerRight, LowerLeft, Top, Bottom};

} // namespace

CColouring CColouring::Shaded(ColorRef base)
{
    const QColor hsl = ColorFromRef(base).toHsl();
    const float lightness = hsl.lightnessF();
    auto shade = [&](float l) {
        return RefFromColor(QColor::fromHslF(qMax(0.0f, hsl.hslHueF()), hsl.hslSaturationF(), qBound(0.0f, l, 1.0f)));
    };
    // Halfway to white for the lit face, halfway to black for the one in shadow.
    return CColouring{shade(lightness + (1.0f - lightness) * 0.5f), base & 0xFFFFFF, shade(lightness * 0.5f)};
}

CColouring CFigure::Colouring(int index) const
{
    if (index >= 1 && index <= Palette.size())
        return Palette[index - 1];
    return CColouring{Color1, Color2, Color3};
}

QVector<CColouring> CFigure::Colourings() const
{
    QVector<CColouring> all{Colouring(0)};
    all += Palette;
    return all;
}

void CFigure::SetColouring(int index, const CColouring &colouring)
{
    if (index == 0) {
        Color1 = colouring.Top;
        Color2 = colouring.Right;
        Color3 = colouring.Left;
    } else if (index >= 1 && index <= Palette.size()) {
        Palette[index - 1] = colouring;
    }
}

qint32 CFigure::CheckedValue(qint32 value) const
{
    if (!IsCubeValue(value))
        return EmptyCell;
    return PaintOfCell(value) < ColouringCount() ? value : KindOfCell(value);
}

void CFigure::Resize(int width, int height)
{
    Resize(Grid, width, height);
}

void CFigure::Resize(CubeGrid &grid, int width, int height)
{
    height = qMax(0, height);
    grid.resize(height);
    for (int r = 0; r < height; ++r) {
        const int length = qMax(0, RowLength(width, r));
        if (grid[r].size() != length)
            grid[r].resize(length, EmptyCell);
    }
}

QSize CFigure::GridSize() const
{
    return QSize(Grid.isEmpty() ? 0 : int(Grid[0].size()), int(Grid.size()));
}

bool CFigure::HasCell(int column, int row) const
{
    return row >= 0 && row < Grid.size() && column >= 0 && column < Grid[row].size();
}

bool CFigure::IsEmpty() const
{
    for (const CubeRow &row : Grid)
        for (qint32 cell : row)
            if (cell >= 0)
                return false;
    return true;
}

void CFigure::PlaceCube(int column, int row, qint32 value)
{
    PlaceCube(Grid, column, row, value);
}

void CFigure::PlaceCube(CubeGrid &grid, int column, int row, qint32 value)
{
    // Writing only real changes keeps unchanged rows shared with earlier copies.
    if (grid.at(row).at(column) != value)
        grid[row][column] = value;
    for (int direction : PlaceOrder) {
        if (value & (1 << direction))
            continue;
        const QPoint n = NeighbourCell(column, row, direction);
        if (n.y() < 0 || n.y() >= grid.size() || n.x() < 0 || n.x() >= grid.at(n.y()).size())
            continue;
        const qint32 bit = 1 << OppositeCorner(direction);
        const qint32 current = grid.at(n.y()).at(n.x());
        if (current >= 0 && !(current & bit))
            grid[n.y()][n.x()] = current | bit;
    }
}

QSize CFigure::GetWorkspaceSize() const
{
    const QSize grid = GridSize();
    const CellPitch pitch = GetCellPitch();
    return QSize(grid.width() * pitch.Px, CubeSize + grid.height() * pitch.Py);
}

CFigure::Bounds CFigure::GetBounds() const
{
    Bounds b;
    const CellPitch pitch = GetCellPitch();
    for (int r = 0; r < Grid.size(); ++r) {
        for (int c = 0; c < Grid[r].size(); ++c) {
            if (Grid[r][c] < 0)
                continue;
            const QPoint o = CellOrigin(c, r, pitch);
            if (b.left == -1 || o.x() < b.left)
                b.left = o.x();
            if (b.right == -1 || o.x() + CubeSize + 2 > b.right)
                b.right = o.x() + CubeSize + 2;
            if (b.top == -1 || o.y() < b.top)
                b.top = o.y();
            if (b.bottom == -1 || o.y() + CubeSize + 2 > b.bottom)
                b.bottom = o.y() + CubeSize + 2;
        }
    }
    return b;
}

QPoint CFigure::CellFromPoint(int x, int y, int box) const
{
    const CellPitch pitch = GetCellPitch();
    const int h = CubeSize / 2;
    const int rows = int(Grid.size());
    if (pitch.Px <= 0 || pitch.Py <= 0)
        return QPoint(-1, -1);
    // Only cells whose centre lies within box pixels can hold the point; visit them in
    // row order so the first match is the one a full row-order scan would find.
    const int rowFirst = qMax(0, CeilDiv(y - h - box, pitch.Py));
    const int rowLast = qMin(rows - 1, FloorDiv(y - h + box, pitch.Py));
    for (int r = rowFirst; r <= rowLast; ++r) {
        const int offset = (r & 1) ? pitch.Px / 2 : 0;
        const int colFirst = qMax(0, CeilDiv(x - offset - h - box, pitch.Px));
        const int colLast = qMin(int(Grid[r].size()) - 1, FloorDiv(x - offset - h + box, pitch.Px));
        if (colFirst <= colLast)
            return QPoint(colFirst, r);
    }
    return QPoint(-1, -1);
}

QPoint CFigure::CubeFromPoint(int x, int y) const
{
    const CellPitch pitch = GetCellPitch();
    const int rows = int(Grid.size());
    if (pitch.Px <= 0 || pitch.Py <= 0)
        return QPoint(-1, -1);
    CCubePainter painter;
    painter.Size = CubeSize;
    // A cube can only hit points inside its bounding square; visit the cells whose
    // square holds the point, in row order.
    const int rowFirst = qMax(0, CeilDiv(y - CubeSize, pitch.Py));
    const int rowLast = qMin(rows - 1, FloorDiv(y, pitch.Py));
    for (int r = rowFirst; r <= rowLast; ++r) {
        const int offset = (r & 1) ? pitch.Px / 2 : 0;
        const int colFirst = qMax(0, CeilDiv(x - offset - CubeSize, pitch.Px));
        const int colLast = qMin(int(Grid[r].size()) - 1, FloorDiv(x - offset, pitch.Px));
        for (int c = colFirst; c <= colLast; ++c) {
            const qint32 value = Grid[r][c];
            if (value < 0)
                continue;
            const QPoint origin = CellOrigin(c, r, pitch);
            painter.Left = origin.x();
            painter.Top = origin.y();
            painter.Index = KindOfCell(value);
            if (painter.HitPart(x, y, false) >= 0)
                return QPoint(c, r);
        }
    }
    return QPoint(-1, -1);
}

QVector<QPoint> CFigure::CubesInRect(const QPoint &a, const QPoint &b) const
{
    QVector<QPoint> cells;
    if (a.x() == b.x() || a.y() == b.y())
        return cells;
    const QRect rect(QPoint(qMin(a.x(), b.x()), qMin(a.y(), b.y())),
                     QPoint(qMax(a.x(), b.x()) - 1, qMax(a.y(), b.y()) - 1));
    const QRegion region(rect);
    const CellPitch pitch = GetCellPitch();
    CCubePainter painter;
    painter.Size = CubeSize;
    for (int r = 0; r < Grid.size(); ++r) {
        for (int c = 0; c < Grid[r].size(); ++c) {
            const qint32 value = Grid[r][c];
            if (value < 0)
                continue;
            const QPoint origin = CellOrigin(c, r, pitch);
            // A cube's visible region always holds its centre, so a cube whose square
            // misses the rectangle cannot lie inside it.
            if (!rect.intersects(QRect(origin, QSize(CubeSize + 1, CubeSize + 1))))
                continue;
            painter.Left = origin.x();
            painter.Top = origin.y();
            painter.Index = KindOfCell(value);
            if (painter.IsInsideRegion(region))
                cells.append(QPoint(c, r));
        }
    }
    return cells;
}

bool CFigure::operator==(const CFigure &other) const
{
    return BkColor == other.BkColor && Color1 == other.Color1 && Color2 == other.Color2 && Color3 == other.Color3
           && CubeSize == other.CubeSize && Palette == other.Palette && Grid == other.Grid;
}
