// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/workspacerenderer.h"

#include "geometry/cellset.h"
#include "geometry/cubepainter.h"
#include "geometry/figure.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Room around a cube's square in which its pictures are drawn before they are cropped;
// the one-pixel pens of the faces reach one pixel past the square.
constexpr int Margin = 2;

QRect PictureExtent(int size)
{
    return QRect(-Margin, -Margin, size + 2 * Margin + 1, size + 2 * Margin + 1);
}

// The cube painter at a drawn size with the three face colours.
CCubePainter FacePainter(int size, ColorRef top, ColorRef right, ColorRef left)
{
    CCubePainter cube;
    cube.Size = size;
    cube.TopColor = top;
    cube.RightColor = right;
    cube.LeftColor = left;
    return cube;
}

CCubePainter FacePainter(int size, const CColouring &colouring)
{
    return FacePainter(size, colouring.Top, colouring.Right, colouring.Left);
}

// The colouring a cell value is drawn in: its own, or colouring 0 when the palette
// has no such colouring or the value is no cube.
int PaintIndex(qint32 value, int colourings)
{
    const int paint = IsCubeValue(value) ? PaintOfCell(value) : 0;
    return paint < colourings ? paint : 0;
}

// The colouring the shapes of the kinds are drawn in: three colours no cube picture
// holds otherwise (not white, the grey's), so each pixel tells which face it shows.
const CColouring ShapeColouring{0x000001, 0x000002, 0x000003};

// What the cube painter is given for a cell value: its kind, or for a value that is no
// cube (a damaged figure) the value itself, which the painter leaves out.
int PainterIndex(qint32 value)
{
    return IsCubeValue(value) ? KindOfCell(value) : value;
}

// A premultiplied picture in the byte order of an image format drawn into; the 32-bit
// formats take its pixels as they are (cube pixels are opaque).
QImage InFormat(const QImage &premultiplied, QImage::Format format)
{
    if (format == QImage::Format_RGB888 || format == QImage::Format_BGR888 || format == QImage::Format_RGBA8888)
        return premultiplied.convertToFormat(format);
    return premultiplied;
}

// The one black pixel that marks the empty cell at (x, y) on a painter.
void PaintDot(QPainter &painter, int x, int y, int half)
{
    painter.fillRect(QRect(x + half, y + half, 1, 1), Qt::black);
}

} // namespace

CWorkspaceRenderer::CWorkspaceRenderer() = default;
CWorkspaceRenderer::~CWorkspaceRenderer() = default;

int CWorkspaceRenderer::Zoomed(int value, double zoom)
{
    return int(std::floor(value * zoom + 0.5));
}

int CWorkspaceRenderer::DrawnSize(const Params &params)
{
    const int size = params.CubeSize * params.Scale;
    return params.Zoom == 1.0 ? size : qMax(1, Zoomed(size, params.Zoom));
}

namespace {

// Where in its square a cell's dot goes.
int DotOffset(const CWorkspaceRenderer::Params &params)
{
    return params.Zoom == 1.0 ? (params.CubeSize / 2) * params.Scale : CWorkspaceRenderer::DrawnSize(params) / 2;
}

} // namespace

QRect CWorkspaceRenderer::ZoomedRect(const QRect &area, double zoom)
{
    return QRect(QPoint(Zoomed(area.left(), zoom), Zoomed(area.top(), zoom)),
                 QPoint(Zoomed(area.right() + 1, zoom) - 1, Zoomed(area.bottom() + 1, zoom) - 1));
}

QRect CWorkspaceRenderer::WholeArea(const CFigure &figure, const Params &params)
{
    const QSize grid = figure.GridSize();
    const CellPitch pitch = ComputeCellPitch(params.CubeSize, params.Scale);
    const QRect extent = PictureExtent(DrawnSize(params));
    return QRect(extent.topLeft(),
                 QSize(Zoomed(grid.width() * pitch.Px, params.Zoom), Zoomed(grid.height() * pitch.Py, params.Zoom))
                     + extent.size());
}

template <typename CellFn>
void CWorkspaceRenderer::VisitCells(const CFigure &figure, const QRect &area, const Params &params, CellFn cell) const
{
    const CubeGrid &grid = figure.Grid;
    const int rows = int(grid.size());
    const CellPitch pitch = ComputeCellPitch(params.CubeSize, params.Scale);
    if (rows == 0 || pitch.Px <= 0 || pitch.Py <= 0 || area.isEmpty())
        return;
    // Everything a cell draws (faces with their pens, the grey, the dot) lies in this
    // rectangle around its origin.
    const QRect extent = PictureExtent(DrawnSize(params));
    const double zoom = params.Zoom;
    const bool zoomed = zoom != 1.0;
    if (zoomed && !(zoom > 0.0))
        return;
    // A position p is drawn within half a pixel of p times the zoom.
    auto at = [&](int value) {
        return zoomed ? Zoomed(value, zoom) : value;
    };

    // Rows and columns whose drawing can reach into the area.
    const int rowFirst = qMax(0, zoomed ? int(std::ceil((area.top() - extent.bottom() - 0.5) / zoom / pitch.Py - 1e-9))
                                        : CeilDiv(area.top() - extent.bottom(), pitch.Py));
    const int rowLast = qMin(rows - 1,
                             zoomed ? int(std::floor((area.bottom() - extent.top() + 0.5) / zoom / pitch.Py + 1e-9))
                                    : FloorDiv(area.bottom() - extent.top(), pitch.Py));
    if (rowFirst > rowLast)
        return;
    int colSpan = 0;
    for (int r = rowFirst; r <= rowLast; ++r)
        colSpan = qMax(colSpan, int(grid[r].size()));

    // The selected cells among them, looked up once instead of per cell.
    std::vector<bool> selected;
    const CCellSet *set = params.SelectedSet && !params.SelectedSet->IsEmpty() ? params.SelectedSet : nullptr;
    if (!set && params.Selected && !params.Selected->isEmpty()) {
        selected.assign(size_t(rowLast - rowFirst + 1) * size_t(colSpan), false);
        for (const QPoint &c : *params.Selected) {
            if (c.y() >= rowFirst && c.y() <= rowLast && c.x() >= 0 && c.x() < colSpan)
                selected[size_t(c.y() - rowFirst) * size_t(colSpan) + size_t(c.x())] = true;
        }
    }

    for (int r = rowFirst; r <= rowLast; ++r) {
        const CubeRow &row = grid[r];
        const int shift = (r & 1) ? pitch.Px / 2 : 0;
        const int colFirst = qMax(
            0, zoomed ? int(std::ceil(((area.left() - extent.right() - 0.5) / zoom - shift) / pitch.Px - 1e-9))
                      : CeilDiv(area.left() - extent.right() - shift, pitch.Px));
        const int colLast = qMin(
            int(row.size()) - 1,
            zoomed ? int(std::floor(((area.right() - extent.left() + 0.5) / zoom - shift) / pitch.Px + 1e-9))
                   : FloorDiv(area.right() - extent.left() - shift, pitch.Px));
        const int y = params.Offset.y() + at(r * pitch.Py);
        const size_t base = size_t(r - rowFirst) * size_t(colSpan);
        for (int c = colFirst; c <= colLast; ++c) {
            const bool isSelected = set ? set->Contains(c, r) : !selected.empty() && selected[base + size_t(c)];
            cell(row[c], params.Offset.x() + at(c * pitch.Px + shift), y, isSelected);
        }
    }
}

void CWorkspaceRenderer::Draw(QPainter &painter, const CFigure &figure, const QRect &area, const Params &params)
{
    const QPaintEngine *engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster) {
        DrawVector(painter, figure, area, params);
        return;
    }
    PreparePainter(painter);
    if (DrawnSize(params) > MaxCachedSize) {
        DrawEachCell(painter, figure, area, params);
        return;
    }
    const int half = DotOffset(params);
    Prepare(figure, DrawnSize(params));
    VisitCells(figure, area, params, [&](qint32 value, int x, int y, bool isSelected) {
        if (value < 0) {
            if (params.Dots)
                PaintDot(painter, x, y, half);
            return;
        }
        const Picture &p = Get(value, VariantAt(isSelected, x, y, 0));
        painter.drawImage(x + p.Offset.x(), y + p.Offset.y(), p.Image);
    });
}

void CWorkspaceRenderer::DrawEachCell(QPainter &painter, const CFigure &figure, const QRect &area,
                                      const Params &params) const
{
    const int half = DotOffset(params);
    const QVector<CColouring> colourings = figure.Colourings();
    CCubePainter cube = FacePainter(DrawnSize(params), colourings[0]);
    VisitCells(figure, area, params, [&](qint32 value, int x, int y, bool isSelected) {
        if (value < 0) {
            if (params.Dots)
                PaintDot(painter, x, y, half);
            return;
        }
        const CColouring &colouring = colourings[PaintIndex(value, int(colourings.size()))];
        cube.TopColor = colouring.Top;
        cube.RightColor = colouring.Right;
        cube.LeftColor = colouring.Left;
        cube.Index = PainterIndex(value);
        cube.Left = x;
        cube.Top = y;
        cube.Draw(painter);
        if (isSelected)
            cube.FillSelected(painter);
    });
}

void CWorkspaceRenderer::DrawVector(QPainter &painter, const CFigure &figure, const QRect &area, const Params &params)
{
    PreparePainter(painter);
    const int half = DotOffset(params);
    const QVector<CColouring> colourings = figure.Colourings();
    const int count = int(colourings.size());
    CCubePainter cube = FacePainter(DrawnSize(params), colourings[0]);
    // The cubes of one row never touch each other (the pitch is wider than a cube), so
    // within a row the faces of one colour can go out as one path without changing
    // what covers what; rows still go out in order, later rows over earlier ones.
    auto faces = std::vector<std::array<QPainterPath, 3>>(size_t(count));
    int pathRow = std::numeric_limits<int>::min();
    auto flush = [&] {
        for (int paint = 0; paint < count; ++paint) {
            const CColouring &c = colourings[paint];
            const QColor colors[3] = {ColorFromRef(c.Top), ColorFromRef(c.Right), ColorFromRef(c.Left)};
            for (int f = 0; f < 3; ++f) {
                QPainterPath &path = faces[size_t(paint)][size_t(f)];
                if (path.isEmpty())
                    continue;
                painter.setPen(SolidPen(colors[f]));
                painter.setBrush(colors[f]);
                painter.drawPath(path);
                path = QPainterPath();
            }
        }
    };
    Params unselected = params;
    unselected.Selected = nullptr;
    unselected.SelectedSet = nullptr;
    VisitCells(figure, area, unselected, [&](qint32 value, int x, int y, bool) {
        // Every row has a y of its own.
        if (y != pathRow) {
            flush();
            pathRow = y;
        }
        if (value < 0) {
            if (params.Dots)
                PaintDot(painter, x, y, half);
            return;
        }
        cube.Index = PainterIndex(value);
        cube.Left = x;
        cube.Top = y;
        if (IsCubeValue(value)) {
            auto &paths = faces[size_t(PaintIndex(value, count))];
            for (int f = 0; f < 3; ++f) {
                paths[size_t(f)].addPolygon(cube.FacePolygon(f));
                paths[size_t(f)].closeSubpath();
            }
        } else {
            cube.Draw(painter); // the empty cube's wire frame, or nothing
        }
    });
    flush();
}

const QImage &CWorkspaceRenderer::Pixels(Picture &p, QImage::Format format)
{
    if (format == QImage::Format_Indexed8) {
        if (p.Indexed8.isNull()) {
            // Opaque pixels only are ever copied; they take the index of their colour
            // (0 where the table lacks it: Colors names every colour a cube uses).
            p.Indexed8 = QImage(p.Image.size(), QImage::Format_Indexed8);
            p.Indexed8.setColorTable(m_table);
            const int width = p.Image.width();
            // A picture holds a few colours (its faces, the grey's white): they are
            // looked up in the table once each.
            QRgb seen[4] = {};
            uchar indices[4] = {};
            int known = 0;
            auto indexOf = [&](QRgb color) {
                for (int i = 0; i < known; ++i)
                    if (seen[i] == color)
                        return indices[i];
                const uchar index = uchar(qMax(0, int(m_table.indexOf(color))));
                const int slot = known < 4 ? known++ : 3;
                seen[slot] = color;
                indices[slot] = index;
                return index;
            };
            for (int y = 0; y < p.Image.height(); ++y) {
                const auto *from = reinterpret_cast<const QRgb *>(p.Image.constScanLine(y));
                uchar *to = p.Indexed8.scanLine(y);
                QRgb last = 0;
                uchar index = 0;
                for (int x = 0; x < width; ++x) {
                    const QRgb color = from[x] | 0xFF000000u;
                    if (color != last || x == 0) {
                        last = color;
                        index = indexOf(color);
                    }
                    to[x] = index;
                }
            }
        }
        return p.Indexed8;
    }
    // The 24-bit copies are made on first use; the opaque runs are all that is read.
    if (format == QImage::Format_RGB888) {
        if (p.Rgb888.isNull())
            p.Rgb888 = p.Image.convertToFormat(QImage::Format_RGB888);
        return p.Rgb888;
    }
    if (format == QImage::Format_BGR888) {
        if (p.Bgr888.isNull())
            p.Bgr888 = p.Image.convertToFormat(QImage::Format_BGR888);
        return p.Bgr888;
    }
    if (format == QImage::Format_RGBA8888) {
        if (p.Rgba8888.isNull())
            p.Rgba8888 = p.Image.convertToFormat(QImage::Format_RGBA8888);
        return p.Rgba8888;
    }
    return p.Image;
}

void CWorkspaceRenderer::DrawImage(QImage &image, const CFigure &figure, const Params &params)
{
    const QImage::Format format = image.format();
    const int bytes = image.depth() / 8;
    Q_ASSERT(format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
             || format == QImage::Format_ARGB32_Premultiplied || format == QImage::Format_RGB888
             || format == QImage::Format_BGR888 || format == QImage::Format_RGBA8888
             || format == QImage::Format_Indexed8);
    const int size = DrawnSize(params);
    const int half = DotOffset(params);
    const int width = image.width();
    const int height = image.height();
    const QRect area(-params.Offset, image.size());
    const int parity = params.PatternOrigin.x() + params.PatternOrigin.y();
    if (size > MaxCachedSize) {
        // Few cubes, each huge: the painter's polygons, pattern anchored as asked.
        Q_ASSERT(format != QImage::Format_RGB888 && format != QImage::Format_BGR888 && format != QImage::Format_RGBA8888
                 && format != QImage::Format_Indexed8 && !params.BottomUp);
        // Selected cubes are greyed straight in the image's pixels from the kind's
        // kept outline, as the painter's raster operation would grey them.
        Q_ASSERT(bytes == 4);
        Prepare(figure, size);
        QPainter painter(&image);
        PreparePainter(painter);
        CCubePainter cube = FacePainter(size, m_colourings[0]);
        VisitCells(figure, area, params, [&](qint32 value, int x, int y, bool isSelected) {
            if (value < 0) {
                if (params.Dots)
                    PaintDot(painter, x, y, half);
                return;
            }
            const CColouring &colouring = m_colourings[PaintIndex(value, int(m_colourings.size()))];
            cube.TopColor = colouring.Top;
            cube.RightColor = colouring.Right;
            cube.LeftColor = colouring.Left;
            cube.Index = PainterIndex(value);
            cube.Left = x;
            cube.Top = y;
            cube.Draw(painter);
            if (isSelected)
                Grey(image, value, QPoint(x, y), parity);
        });
        return;
    }
    Prepare(figure, size);
    int black = 0;
    if (format == QImage::Format_Indexed8) {
        UseTable(image.colorTable());
        black = qMax(0, int(m_table.indexOf(0xFF000000u)));
    }
    std::array<FaceTable, MaxColourings> tables{};
    std::array<bool, MaxColourings> tableMade{};
    // Row addresses without QImage::scanLine(), which checks for sharing on every call.
    uchar *const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    auto line = [&](int y) {
        return bits + qsizetype(params.BottomUp ? height - 1 - y : y) * stride;
    };
    VisitCells(figure, area, params, [&](qint32 value, int x, int y, bool isSelected) {
        if (value < 0) {
            const int dx = x + half;
            const int dy = y + half;
            if (params.Dots && dx >= 0 && dx < width && dy >= 0 && dy < height) {
                uchar *pixel = line(dy) + dx * bytes;
                if (bytes == 4)
                    *reinterpret_cast<quint32 *>(pixel) = 0xFF000000u;
                else if (bytes == 1)
                    *pixel = uchar(black);
                else
                    std::memset(pixel, 0, 3);
            }
            return;
        }
        const Variant variant = VariantAt(isSelected, x, y, parity);
        // Colourings past the first are drawn from the kind's shape through the
        // colouring's face pixels: one set of pictures serves every colouring, so the
        // pictures stay few and in the processor's caches however many are in use.
        // Small cubes keep a picture per colouring: those all fit the caches, and a
        // copy of a picture is faster than filling its runs.
        const int paint = PaintIndex(value, int(m_colourings.size()));
        Picture *shape = paint > 0 && size >= ShapesFromSize ? &Shape(KindOfCell(value), variant) : nullptr;
        if (shape && shape->RowRuns.empty())
            shape = nullptr;
        Picture &p = shape ? *shape : Get(value, variant);
        if (p.Spans.empty())
            return;
        const FaceTable *faceTable = nullptr;
        if (shape) {
            if (!tableMade[size_t(paint)]) {
                tables[size_t(paint)] = FacePixels(m_colourings[paint], format);
                tableMade[size_t(paint)] = true;
            }
            faceTable = &tables[size_t(paint)];
        }
        const QImage &pixels = shape ? p.Image : Pixels(p, format);
        const uchar *const sourceBits = pixels.constBits();
        const qsizetype sourceStride = pixels.bytesPerLine();
        const int px = x + p.Offset.x();
        const int py = y + p.Offset.y();
        // Only the picture rows that fall inside the image; spans are clipped only
        // where the picture crosses the image's left or right edge.
        const int rowFirst = qMax(0, -py);
        const int rowLast = qMin(p.Image.height(), height - py);
        if (rowFirst >= rowLast)
            return;
        const bool clip = px < 0 || px + p.Image.width() > width;
        // Each run of the rows in the image, clipped, goes to write(target, its
        // first pixel's column in the picture, pixel count, run).
        auto eachRun = [&](const auto &runs, const std::vector<int> &rowStart, auto write) {
            const auto end = runs.begin() + rowStart[size_t(rowLast)];
            for (auto run = runs.begin() + rowStart[size_t(rowFirst)]; run != end; ++run) {
                int from = px + run->Left;
                int to = from + run->Length;
                if (clip) {
                    from = qMax(0, from);
                    to = qMin(width, to);
                    if (from >= to)
                        continue;
                }
                write(line(py + run->Row) + qsizetype(from) * bytes, from - px, to - from, *run);
            }
        };
        if (!faceTable) {
            eachRun(p.Spans, p.RowSpans, [&](uchar *target, int column, int count, const Span &span) {
                std::memcpy(target, sourceBits + span.Row * sourceStride + qsizetype(column) * bytes,
                            size_t(count) * size_t(bytes));
            });
            return;
        }
        // A run shows one face: whole copies of the face's repeated pixels, then the rest.
        const size_t chunk = size_t(48 / bytes) * size_t(bytes);
        eachRun(p.Runs, p.RowRuns, [&](uchar *target, int, int count, const FaceRun &run) {
            const uchar *pattern = (*faceTable)[size_t(run.Face)].data();
            size_t left = size_t(count) * size_t(bytes);
            for (; left >= chunk; left -= chunk, target += chunk)
                std::memcpy(target, pattern, chunk);
            std::memcpy(target, pattern, left);
        });
    });
}

const std::vector<QRect> &CWorkspaceRenderer::Outline(qint32 value)
{
    // The outline depends on the kind only, not on the colouring.
    value = PainterIndex(value);
    if (value >= CubeKindCount) {
        m_scratchOutline.clear();
        const QRegion region = GetCubeRegion(0, 0, m_size, value);
        m_scratchOutline.assign(region.begin(), region.end());
        return m_scratchOutline;
    }
    std::vector<QRect> &outline = m_outlines[size_t(value)];
    if (outline.empty()) {
        const QRegion region = GetCubeRegion(0, 0, m_size, value);
        outline.assign(region.begin(), region.end());
    }
    return outline;
}

void CWorkspaceRenderer::Grey(QImage &image, qint32 value, const QPoint &origin, int parity)
{
    // White where x + y - parity is odd, within the cube's outline: the grey pattern
    // ORed over the cube.
    uchar *const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const int width = image.width();
    const int height = image.height();
    // The outline's rectangles run top to bottom: only those that reach the image.
    const std::vector<QRect> &outline = Outline(value);
    auto part = std::lower_bound(outline.begin(), outline.end(), -origin.y(),
                                 [](const QRect &r, int top) { return r.bottom() < top; });
    for (; part != outline.end() && part->top() + origin.y() < height; ++part) {
        const int left = qMax(0, part->left() + origin.x());
        const int right = qMin(width - 1, part->right() + origin.x());
        if (left > right)
            continue;
        const QRect r(QPoint(left, qMax(0, part->top() + origin.y())),
                      QPoint(right, qMin(height - 1, part->bottom() + origin.y())));
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto *line = reinterpret_cast<quint32 *>(bits + qsizetype(y) * stride);
            for (int x = r.left() + ((r.left() + y - parity + 1) & 1); x <= r.right(); x += 2)
                line[x] = 0xFFFFFFFFu;
        }
    }
}

bool CWorkspaceRenderer::PreparePictures(const CFigure &figure, const QSize &imageSize, const Params &params)
{
    const int size = DrawnSize(params);
    if (size > MaxCachedSize)
        return false;
    Prepare(figure, size);
    const int parity = params.PatternOrigin.x() + params.PatternOrigin.y();
    bool ready = true;
    VisitCells(figure, QRect(-params.Offset, imageSize), params, [&](qint32 value, int x, int y, bool isSelected) {
        if (value < 0)
            return;
        if (!IsCubeValue(value)) {
            ready = false;
            return;
        }
        const Variant variant = VariantAt(isSelected, x, y, parity);
        if (PaintIndex(value, int(m_colourings.size())) == 0 || size < ShapesFromSize
            || Shape(KindOfCell(value), variant).RowRuns.empty())
            Get(value, variant);
    });
    return ready;
}

QVector<QRgb> CWorkspaceRenderer::Colors(const CFigure &figure, const Params &params)
{
    QVector<QRgb> colors;
    const int size = DrawnSize(params);
    if (size <= 0)
        return colors;
    // Which values occur: the kinds in each colouring drawn, the empty cube, and one
    // value for all other values that are no cube (the painter draws none of them).
    const int count = figure.ColouringCount();
    std::vector<bool> present(size_t(count) * CubeKindCount, false);
    bool emptyCube = false;
    bool damaged = false;
    for (const CubeRow &row : figure.Grid)
        for (qint32 value : row) {
            if (IsCubeValue(value))
                present[size_t(PaintIndex(value, count) * CubeKindCount + KindOfCell(value))] = true;
            else if (value == EmptyCubeIndex)
                emptyCube = true;
            else if (value >= 0)
                damaged = true;
        }
    Prepare(figure, qMin(size, MaxCachedSize));
    QVector<qint32> values;
    for (int i = 0; i < int(present.size()); ++i)
        if (present[size_t(i)])
            values.append(CellValue(i % CubeKindCount, i / CubeKindCount));
    if (emptyCube)
        values.append(EmptyCubeIndex);
    if (damaged)
        values.append(EmptyCubeIndex + 1);
    // The colours of a kind's picture in a colouring are its shape's colours, each face
    // in the colouring's colour: each kind's shape is scanned once for the faces it
    // shows, in the order they first appear.
    std::array<std::vector<int>, CubeKindCount> faceOrder;
    std::array<bool, CubeKindCount> scanned{};
    auto add = [&](QRgb color) {
        if (!colors.contains(color))
            colors.push_back(color);
    };
    for (qint32 value : values) {
        if (!IsCubeValue(value)) {
            const QImage &image = Get(value, Plain).Image;
            for (int y = 0; y < image.height(); ++y) {
                const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
                for (int x = 0; x < image.width(); ++x)
                    if (qAlpha(line[x]) != 0)
                        add(line[x]);
            }
            continue;
        }
        const CubeIndex kind = KindOfCell(value);
        std::vector<int> &order = faceOrder[size_t(kind)];
        if (!scanned[size_t(kind)]) {
            scanned[size_t(kind)] = true;
            const QImage &image = Shape(kind, Plain).Image;
            for (int y = 0; y < image.height() && order.size() < 3; ++y) {
                const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
                for (int x = 0; x < image.width(); ++x) {
                    const int face = qAlpha(line[x]) != 0 ? ShapeFace(line[x]) : -1;
                    if (face >= 0 && std::find(order.begin(), order.end(), face) == order.end())
                        order.push_back(face);
                }
            }
        }
        const CColouring &colouring = m_colourings[PaintIndex(value, count)];
        const ColorRef faces[3] = {colouring.Top, colouring.Right, colouring.Left};
        for (int face : order)
            add(ColorFromRef(faces[face]).rgb());
    }
    const bool anySelected = (params.Selected && !params.Selected->isEmpty())
                             || (params.SelectedSet && !params.SelectedSet->IsEmpty());
    if (anySelected && !colors.contains(0xFFFFFFFFu))
        colors.push_back(0xFFFFFFFFu);
    return colors;
}

void CWorkspaceRenderer::UseTable(const QVector<QRgb> &table)
{
    if (table == m_table)
        return;
    m_table = table;
    for (auto &colouring : m_pictures)
        for (auto &kind : colouring)
            for (Picture &p : kind)
                p.Indexed8 = QImage();
}

QImage CWorkspaceRenderer::DrawAveraged(const CFigure &figure, const QRect &area, QRgb background, const Params &params)
{
    const double zoom = params.Zoom;
    const int size = params.CubeSize * params.Scale;
    if (area.isEmpty() || size <= 0 || !(zoom > 0.0))
        return QImage();
    const QRect target = ZoomedRect(area, zoom);
    if (target.isEmpty())
        return QImage();
    // The true drawing, or the smallest one whose cubes still have their shape: the
    // average of that over each target pixel differs from the true drawing's only
    // along the edges of faces.
    const double drawnZoom = qMax(zoom, qMin(1.0, double(AveragedFromSize) / size));
    const QRect drawnRect = ZoomedRect(area, drawnZoom);
    QImage drawn(drawnRect.size(), QImage::Format_RGB32);
    if (drawn.isNull())
        return QImage();
    drawn.fill(background);
    Params at = params;
    at.Zoom = drawnZoom;
    at.Offset = -drawnRect.topLeft();
    at.PatternOrigin = -drawnRect.topLeft();
    at.BottomUp = false;
    DrawImage(drawn, figure, at);
    if (drawn.size() == target.size())
        return drawn;
    return drawn.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

qint64 CWorkspaceRenderer::CacheBytes() const
{
    qint64 bytes = 0;
    for (const auto &colouring : m_pictures)
        for (const auto &kind : colouring)
            for (const Picture &p : kind)
                bytes += p.Image.sizeInBytes() + qint64(p.Spans.size() * sizeof(Span));
    for (const auto &kind : m_shapes)
        for (const Picture &p : kind)
            bytes += p.Image.sizeInBytes() + qint64(p.Spans.size() * sizeof(Span));
    return bytes;
}

void CWorkspaceRenderer::Prepare(const CFigure &figure, int size)
{
    const bool same = size == m_size && !m_colourings.isEmpty() && m_colourings[0] == figure.Colouring(0)
                      && m_colourings.size() == figure.ColouringCount()
                      && std::equal(figure.Palette.begin(), figure.Palette.end(), m_colourings.begin() + 1);
    if (same)
        return;
    if (size != m_size) {
        for (auto &kind : m_shapes)
            for (Picture &p : kind)
                p = Picture();
        for (auto &outline : m_outlines)
            outline.clear();
    }
    m_size = size;
    m_colourings = figure.Colourings();
    m_extent = PictureExtent(size);
    // One set of pictures per colouring; a set is only drawn as its cubes are met.
    m_pictures.resize(size_t(m_colourings.size()));
    for (auto &colouring : m_pictures)
        for (auto &kind : colouring)
            for (Picture &p : kind)
                p = Picture();
    m_built = 0;
}

CWorkspaceRenderer::Variant CWorkspaceRenderer::VariantAt(bool selected, int x, int y, int parity)
{
    // The grey pattern is white where x + y - parity is odd.
    return !selected ? Plain : ((x + y - parity) & 1) ? SelectedOdd : SelectedEven;
}

CWorkspaceRenderer::Picture &CWorkspaceRenderer::Get(qint32 value, Variant variant)
{
    if (!IsCubeValue(value)) {
        // Not a cube (a damaged figure): drawn as the painter draws it, not kept.
        m_scratch = Build(value, m_colourings[0], variant);
        return m_scratch;
    }
    const int paint = PaintIndex(value, int(m_colourings.size()));
    const CubeIndex kind = KindOfCell(value);
    Picture &p = m_pictures[size_t(paint)][size_t(kind)][variant];
    if (p.Image.isNull()) {
        p = Recoloured(Shape(kind, variant), m_colourings[paint]);
        ++m_built;
    }
    return p;
}

CWorkspaceRenderer::Picture &CWorkspaceRenderer::Shape(CubeIndex kind, Variant variant)
{
    Picture &shape = m_shapes[size_t(kind)][variant];
    if (shape.Image.isNull()) {
        shape = Build(kind, ShapeColouring, variant);
        shape.RowRuns.reserve(shape.RowSpans.size());
        for (const Span &span : shape.Spans) {
            while (int(shape.RowRuns.size()) <= span.Row)
                shape.RowRuns.push_back(int(shape.Runs.size()));
            const auto *line = reinterpret_cast<const QRgb *>(shape.Image.constScanLine(span.Row));
            for (int x = span.Left; x < span.Left + span.Length; ++x) {
                int face = ShapeFace(line[x]);
                if (face < 0 && line[x] != 0xFFFFFFFFu) {
                    // A colour no colouring swaps: this kind keeps pictures per colouring.
                    shape.Runs.clear();
                    shape.RowRuns.clear();
                    return shape;
                }
                face = face < 0 ? 3 : face;
                if (x > span.Left && shape.Runs.back().Face == face)
                    ++shape.Runs.back().Length;
                else
                    shape.Runs.push_back(FaceRun{span.Row, x, 1, face});
            }
        }
        while (shape.RowRuns.size() < shape.RowSpans.size())
            shape.RowRuns.push_back(int(shape.Runs.size()));
    }
    return shape;
}

CWorkspaceRenderer::FaceTable CWorkspaceRenderer::FacePixels(const CColouring &colouring, QImage::Format format) const
{
    const QRgb colors[4] = {ColorFromRef(colouring.Top).rgb(), ColorFromRef(colouring.Right).rgb(),
                            ColorFromRef(colouring.Left).rgb(), 0xFFFFFFFFu};
    FaceTable table{};
    uchar pixel[4] = {};
    int bytes = 1;
    QImage converted;
    if (format != QImage::Format_Indexed8) {
        // Converted as the pictures are (Pixels), so both give the same bytes.
        QImage four(4, 1, QImage::Format_ARGB32_Premultiplied);
        for (int i = 0; i < 4; ++i)
            four.setPixel(i, 0, colors[i]);
        converted = InFormat(four, format);
        bytes = converted.depth() / 8;
    }
    for (int i = 0; i < 4; ++i) {
        if (format == QImage::Format_Indexed8)
            pixel[0] = uchar(qMax(0, int(m_table.indexOf(colors[i]))));
        else
            std::memcpy(pixel, converted.constScanLine(0) + i * bytes, size_t(bytes));
        for (size_t at = 0; at + size_t(bytes) <= table[size_t(i)].size(); at += size_t(bytes))
            std::memcpy(table[size_t(i)].data() + at, pixel, size_t(bytes));
    }
    return table;
}

int CWorkspaceRenderer::ShapeFace(QRgb pixel)
{
    // Opaque pixels of a shape: the face colours 1..3 (red 1..3 in a ColorRef) or white.
    const int red = qRed(pixel);
    return (pixel & 0x00FFFFu) == 0 && red >= 1 && red <= 3 ? red - 1 : -1;
}

CWorkspaceRenderer::Picture CWorkspaceRenderer::Recoloured(const Picture &shape, const CColouring &colouring)
{
    // The painter fills every face in one colour with a pen of that colour and no
    // smoothing, so a kind's picture in any colouring is its shape with the face
    // colours swapped: the same pixels as drawing it, without a painter.
    Picture p;
    p.Image = shape.Image.copy();
    p.Offset = shape.Offset;
    p.Spans = shape.Spans;
    p.RowSpans = shape.RowSpans;
    const QRgb faces[3] = {ColorFromRef(colouring.Top).rgb(), ColorFromRef(colouring.Right).rgb(),
                           ColorFromRef(colouring.Left).rgb()};
    for (const Span &span : p.Spans) {
        auto *line = reinterpret_cast<QRgb *>(p.Image.scanLine(span.Row)) + span.Left;
        for (int x = 0; x < span.Length; ++x) {
            const int face = ShapeFace(line[x]);
            if (face >= 0)
                line[x] = faces[face];
        }
    }
    return p;
}

CWorkspaceRenderer::Picture CWorkspaceRenderer::Build(qint32 value, const CColouring &colouring, Variant variant) const
{
    QImage image(m_extent.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        CCubePainter cube = FacePainter(m_size, colouring);
        cube.Left = -m_extent.left();
        cube.Top = -m_extent.top();
        cube.Index = value;
        cube.Draw(painter);
        painter.end();
        if (variant != Plain) {
            // Greying ORs the cube's region with the grey pattern: white where x + y is
            // odd, unchanged elsewhere. The picture sits at a cell whose drawn origin has
            // the given parity; that origin is at -m_extent.topLeft() in the picture.
            const int originParity = variant == SelectedOdd ? 1 : 0;
            const QRegion region = cube.GetCubeRegion();
            for (const QRect &r : region) {
                for (int y = qMax(0, r.top()); y <= qMin(image.height() - 1, r.bottom()); ++y) {
                    auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
                    for (int x = qMax(0, r.left()); x <= qMin(image.width() - 1, r.right()); ++x) {
                        const int wx = x + m_extent.left(); // relative to the cell origin
                        const int wy = y + m_extent.top();
                        if (((wx + wy + originParity) & 1) != 0)
                            line[x] = 0xFFFFFFFF;
                    }
                }
            }
        }
    }
    // Crop to what the cube covers, so every copy moves as few pixels as possible, and
    // note the opaque runs of each row for copies without a painter.
    const int imageWidth = image.width();
    int x0 = imageWidth, y0 = image.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < imageWidth; ++x) {
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
        return picture;
    }
    picture.Image = image.copy(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
    picture.Offset = QPoint(x0, y0) + m_extent.topLeft();
    picture.RowSpans.reserve(size_t(picture.Image.height()) + 1);
    for (int y = 0; y < picture.Image.height(); ++y) {
        picture.RowSpans.push_back(int(picture.Spans.size()));
        const auto *line = reinterpret_cast<const QRgb *>(picture.Image.constScanLine(y));
        int x = 0;
        const int w = picture.Image.width();
        while (x < w) {
            while (x < w && qAlpha(line[x]) == 0)
                ++x;
            const int start = x;
            while (x < w && qAlpha(line[x]) != 0)
                ++x;
            if (x > start)
                picture.Spans.push_back(Span{y, start, x - start});
        }
    }
    picture.RowSpans.push_back(int(picture.Spans.size()));
    return picture;
}
