#include "view/cubepicturecache.h"

#include "document/tarvexdoc.h"
#include "geometry/cubepainter.h"

#include <QPainter>
#include <QRegion>
#include <vector>

namespace {

// Integer division rounding toward minus infinity / plus infinity (b > 0).
int FloorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

int CeilDiv(int a, int b)
{
    return -FloorDiv(-a, b);
}

// Room around a cube's square in which its pictures are drawn before they are cropped;
// the one-pixel pens of the faces reach one pixel past the square.
constexpr int Margin = 2;

} // namespace

CCubePictureCache::CCubePictureCache() = default;
CCubePictureCache::~CCubePictureCache() = default;

void CCubePictureCache::Prepare(int size, ColorRef top, ColorRef right, ColorRef left)
{
    if (size == m_size && top == m_top && right == m_right && left == m_left)
        return;
    m_size = size;
    m_top = top;
    m_right = right;
    m_left = left;
    m_extent = QRect(-Margin, -Margin, size + 2 * Margin + 1, size + 2 * Margin + 1);
    for (auto &kind : m_pictures)
        for (Picture &p : kind)
            p = Picture();
    m_built = 0;
}

const CCubePictureCache::Picture &CCubePictureCache::Get(int kind, Variant variant)
{
    Picture &p = m_pictures[kind][variant];
    if (p.Image.isNull()) {
        p = Build(kind, variant);
        ++m_built;
    }
    return p;
}

CCubePictureCache::Picture CCubePictureCache::Build(int kind, Variant variant) const
{
    QImage image(m_extent.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        CCubePainter cube;
        cube.Left = -m_extent.left();
        cube.Top = -m_extent.top();
        cube.Size = m_size;
        cube.Index = kind;
        cube.TopColor = m_top;
        cube.RightColor = m_right;
        cube.LeftColor = m_left;
        cube.Draw(painter);
        if (variant != Plain) {
            // Greying ORs the cube's region with the grey pattern: white where the
            // workspace x + y is odd, unchanged elsewhere. The picture sits at a cell
            // whose origin has the given parity; the origin is at -m_extent.topLeft().
            const int originParity = variant == SelectedOdd ? 1 : 0;
            const QRegion region = cube.GetCubeRegion();
            painter.end();
            for (const QRect &r : region) {
                for (int y = r.top(); y <= r.bottom(); ++y) {
                    auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
                    for (int x = r.left(); x <= r.right(); ++x) {
                        const int wx = x + m_extent.left();   // relative to the cell origin
                        const int wy = y + m_extent.top();
                        if (((wx + wy + originParity) & 1) != 0)
                            line[x] = 0xFFFFFFFF;
                    }
                }
            }
        }
    }
    // Crop to what the cube covers, so every copy moves as few pixels as possible.
    int x0 = image.width(), y0 = image.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) != 0) {
                x0 = qMin(x0, x);
                x1 = qMax(x1, x);
                y0 = qMin(y0, y);
                y1 = qMax(y1, y);
            }
        }
    }
    Picture picture;
    if (x1 < 0) {
        picture.Image = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
        picture.Image.fill(Qt::transparent);
        picture.Offset = QPoint(0, 0);
    } else {
        picture.Image = image.copy(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
        picture.Offset = QPoint(x0, y0) + m_extent.topLeft();
    }
    return picture;
}

void CCubePictureCache::PaintArea(QPainter &painter, const CTarvexDoc &doc, const QRect &area)
{
    Prepare(doc.CubeSize, doc.Color1, doc.Color2, doc.Color3);
    const CubeGrid &grid = doc.Grid();
    const int rows = int(grid.size());
    const CellPitch pitch = doc.GetCellPitch();
    if (rows == 0 || pitch.Px <= 0 || pitch.Py <= 0 || area.isEmpty())
        return;
    const int half = doc.CubeSize / 2;
    PreparePainter(painter);

    // Rows and columns whose pictures can reach into the area.
    const int rowFirst = qMax(0, CeilDiv(area.top() - m_extent.bottom(), pitch.Py));
    const int rowLast = qMin(rows - 1, FloorDiv(area.bottom() - m_extent.top(), pitch.Py));
    if (rowFirst > rowLast)
        return;
    int colSpan = 0;
    for (int r = rowFirst; r <= rowLast; ++r)
        colSpan = qMax(colSpan, int(grid[r].size()));

    // The selected cells among them, looked up once instead of per cell.
    std::vector<bool> selected;
    const CCubeSelection *selection = doc.Selection();
    if (selection && !selection->IsEmpty()) {
        selected.assign(size_t(rowLast - rowFirst + 1) * size_t(colSpan), false);
        for (const QPoint &cell : selection->Cells) {
            if (cell.y() >= rowFirst && cell.y() <= rowLast && cell.x() >= 0 && cell.x() < colSpan)
                selected[size_t(cell.y() - rowFirst) * size_t(colSpan) + size_t(cell.x())] = true;
        }
    }

    for (int r = rowFirst; r <= rowLast; ++r) {
        const CubeRow &row = grid[r];
        const int offset = (r & 1) ? pitch.Px / 2 : 0;
        const int y = r * pitch.Py;
        const int colFirst = qMax(0, CeilDiv(area.left() - m_extent.right() - offset, pitch.Px));
        const int colLast = qMin(int(row.size()) - 1, FloorDiv(area.right() - m_extent.left() - offset, pitch.Px));
        for (int c = colFirst; c <= colLast; ++c) {
            const int x = c * pitch.Px + offset;
            const qint32 value = row[c];
            if (value >= 0) {
                const bool isSelected =
                    !selected.empty() && selected[size_t(r - rowFirst) * size_t(colSpan) + size_t(c)];
                if (value >= CubeKindCount) {
                    // Not a cube kind (a damaged figure): drawn directly, as the document would.
                    CCubePainter cube;
                    cube.Left = x;
                    cube.Top = y;
                    cube.Size = doc.CubeSize;
                    cube.Index = value;
                    cube.TopColor = doc.Color1;
                    cube.RightColor = doc.Color2;
                    cube.LeftColor = doc.Color3;
                    cube.Draw(painter);
                    if (isSelected)
                        cube.FillSelected(painter);
                    continue;
                }
                const Variant variant = !isSelected ? Plain : ((x + y) & 1) ? SelectedOdd : SelectedEven;
                const Picture &p = Get(int(value), variant);
                painter.drawImage(x + p.Offset.x(), y + p.Offset.y(), p.Image);
            } else {
                painter.fillRect(QRect(x + half, y + half, 1, 1), Qt::black);
            }
        }
    }
}
