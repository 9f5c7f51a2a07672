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

// A wider pen (a zoomed cube's faces) reaches half its width further.
QRect PictureExtent(int size, int pen = 1)
{
    const int margin = pen > 1 ? Margin + pen / 2 + 1 : Margin;
    return QRect(-margin, -margin, size + 2 * margin + 1, size + 2 * margin + 1);
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

// Writes count 32-bit pixels, 16 bytes at a time (the last store overlapping the one
// before): a copy of the pixels at from, or with Repeat the pixel repeated at the start
// of from (at least 16 bytes of it).
template <bool Repeat> inline void WritePixels(uchar *to, const uchar *from, size_t count)
{
    const size_t n = count * 4;
    auto source = [&](size_t at) {
        return Repeat ? from : from + at;
    };
    if (n < 16) {
        for (size_t i = 0; i < n; i += 4)
            std::memcpy(to + i, source(i), 4);
        return;
    }
    for (size_t i = 0; i + 16 < n; i += 16)
        std::memcpy(to + i, source(i), 16);
    std::memcpy(to + n - 16, source(n - 16), 16);
}

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

int CWorkspaceRenderer::FacePen(const Params &params)
{
    // Pixels side by side at the figure's own size are up to ceil(zoom) apart zoomed.
    return params.Zoom > 1.0 ? int(std::ceil(params.Zoom - 1e-9)) : 1;
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
    const QRect extent = PictureExtent(DrawnSize(params), FacePen(params));
    return QRect(extent.topLeft(),
                 QSize(Zoomed(grid.width() * pitch.Px, params.Zoom), Zoomed(grid.height() * pitch.Py, params.Zoom))
                     + extent.size());
}

CWorkspaceRenderer::RowRange CWorkspaceRenderer::RowsReaching(const CFigure &figure, const QRect &area,
                                                              const Params &params)
{
    const int rows = int(figure.Grid.size());
    const CellPitch pitch = ComputeCellPitch(params.CubeSize, params.Scale);
    const double zoom = params.Zoom;
    const bool zoomed = zoom != 1.0;
    if (rows == 0 || pitch.Px <= 0 || pitch.Py <= 0 || area.isEmpty() || (zoomed && !(zoom > 0.0)))
        return {};
    // Everything a cell draws (faces with their pens, the grey, the dot) lies in this
    // rectangle around its origin, and a row's origins are at its row times the pitch
    // (zoomed: within half a pixel of that times the zoom).
    const QRect extent = PictureExtent(DrawnSize(params), FacePen(params));
    RowRange range;
    range.First = qMax(0, zoomed ? int(std::ceil((area.top() - extent.bottom() - 0.5) / zoom / pitch.Py - 1e-9))
                                 : CeilDiv(area.top() - extent.bottom(), pitch.Py));
    range.Last = qMin(rows - 1, zoomed ? int(std::floor((area.bottom() - extent.top() + 0.5) / zoom / pitch.Py + 1e-9))
                                       : FloorDiv(area.bottom() - extent.top(), pitch.Py));
    return range;
}

template <typename CellFn>
void CWorkspaceRenderer::VisitCells(const CFigure &figure, const QRect &area, const Params &params, CellFn cell) const
{
    const RowRange reached = RowsReaching(figure, area, params);
    if (reached.IsEmpty())
        return;
    const CubeGrid &grid = figure.Grid;
    const CellPitch pitch = ComputeCellPitch(params.CubeSize, params.Scale);
    const QRect extent = PictureExtent(DrawnSize(params), FacePen(params));
    const double zoom = params.Zoom;
    const bool zoomed = zoom != 1.0;
    auto at = [&](int value) {
        return zoomed ? Zoomed(value, zoom) : value;
    };
    const int rowFirst = reached.First;
    const int rowLast = reached.Last;
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
        // Zoomed, the cube's points come from the row's and the column's (PreparePhases).
        const bool phased = zoomed && size_t(r) < m_rowPhase.size();
        const int rowPhase = phased ? 1 + m_rowPhase[size_t(r)] * ColumnPointKinds : 0;
        const std::vector<int> &columns = m_columnPhase[size_t(r & 1)];
        for (int c = colFirst; c <= colLast; ++c) {
            const bool isSelected = set ? set->Contains(c, r) : !selected.empty() && selected[base + size_t(c)];
            const int phase = phased && size_t(c) < columns.size() ? rowPhase + columns[size_t(c)] : 0;
            cell(row[c], params.Offset.x() + at(c * pitch.Px + shift), y, isSelected, phase);
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
        PreparePhases(figure, params);
        DrawEachCell(painter, figure, area, params);
        return;
    }
    const int half = DotOffset(params);
    Prepare(figure, DrawnSize(params), FacePen(params));
    PreparePhases(figure, params);
    VisitCells(figure, area, params, [&](qint32 value, int x, int y, bool isSelected, int phase) {
        if (value < 0) {
            if (params.Dots)
                PaintDot(painter, x, y, half);
            return;
        }
        const Picture &p = Get(value, VariantAt(isSelected, x, y, 0), phase);
        painter.drawImage(x + p.Offset.x(), y + p.Offset.y(), p.Image);
    });
}

void CWorkspaceRenderer::DrawEachCell(QPainter &painter, const CFigure &figure, const QRect &area,
                                      const Params &params) const
{
    const int half = DotOffset(params);
    const QVector<CColouring> colourings = figure.Colourings();
    VisitCells(figure, area, params, [&](qint32 value, int x, int y, bool isSelected, int phase) {
        if (value < 0) {
            if (params.Dots)
                PaintDot(painter, x, y, half);
            return;
        }
        CCubePainter cube = PhasePainter(params, phase);
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
    PreparePhases(figure, params);
    const int half = DotOffset(params);
    const QVector<CColouring> colourings = figure.Colourings();
    const int count = int(colourings.size());
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
                QPen pen = SolidPen(colors[f]);
                pen.setWidth(FacePen(params));
                painter.setPen(pen);
                painter.setBrush(colors[f]);
                painter.drawPath(path);
                path = QPainterPath();
            }
        }
    };
    Params unselected = params;
    unselected.Selected = nullptr;
    unselected.SelectedSet = nullptr;
    VisitCells(figure, area, unselected, [&](qint32 value, int x, int y, bool, int phase) {
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
        CCubePainter cube = PhasePainter(params, phase);
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
        Prepare(figure, size, FacePen(params));
        PreparePhases(figure, params);
        QPainter painter(&image);
        PreparePainter(painter);
        VisitCells(figure, area, params, [&](qint32 value, int x, int y, bool isSelected, int phase) {
            if (value < 0) {
                if (params.Dots)
                    PaintDot(painter, x, y, half);
                return;
            }
            CCubePainter cube = PhasePainter(params, phase);
            const CColouring &colouring = m_colourings[PaintIndex(value, int(m_colourings.size()))];
            cube.TopColor = colouring.Top;
            cube.RightColor = colouring.Right;
            cube.LeftColor = colouring.Left;
            cube.Index = PainterIndex(value);
            cube.Left = x;
            cube.Top = y;
            cube.Draw(painter);
            if (isSelected)
                Grey(image, value, phase, QPoint(x, y), parity);
        });
        return;
    }
    Prepare(figure, size, FacePen(params));
    PreparePhases(figure, params);
    int black = 0;
    if (format == QImage::Format_Indexed8) {
        UseTable(image.colorTable());
        black = qMax(0, int(m_table.indexOf(0xFF000000u)));
    }
    // With a palette every cube is drawn from its kind's shape through its
    // colouring's face pixels: one set of pictures serves every colouring, so the
    // pictures stay few and in the processor's caches however many are in use. A
    // figure in one colouring copies its pictures, which is faster still.
    const bool shapes = m_colourings.size() > 1;
    std::array<Found, CubeKindCount> plainFound{};
    Found otherFound;
    std::array<FaceTable, MaxColourings> tables; // made when first used
    std::array<bool, MaxColourings> tableMade{};
    // Row addresses without QImage::scanLine(), which checks for sharing on every call.
    uchar *const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    auto line = [&](int y) {
        return bits + qsizetype(params.BottomUp ? height - 1 - y : y) * stride;
    };
    VisitCells(figure, area, params, [&](qint32 value, int x, int y, bool isSelected, int phase) {
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
        const int paint = PaintIndex(value, int(m_colourings.size()));
        // Unzoomed and unselected, as nearly every cube is, what a kind is drawn from
        // is looked up once per drawing (unless it is a picture of one colouring of a
        // palette).
        const bool plain = phase == 0 && variant == Plain && IsCubeValue(value);
        Found *const kept = plain ? &plainFound[size_t(KindOfCell(value))] : nullptr;
        const Found *found = kept && kept->Drawn ? kept : nullptr;
        if (!found) {
            otherFound = Find(value, variant, phase, shapes, format);
            found = &otherFound;
            if (kept && otherFound.ServesKind(shapes))
                *kept = otherFound;
        }
        Picture &p = *found->Drawn;
        if (p.Spans.empty())
            return;
        const FaceTable *faceTable = nullptr;
        if (found->Shape) {
            if (!tableMade[size_t(paint)]) {
                tables[size_t(paint)] = FacePixels(m_colourings[paint], format);
                tableMade[size_t(paint)] = true;
            }
            faceTable = &tables[size_t(paint)];
        }
        const uchar *const sourceBits = found->Bits;
        const qsizetype sourceStride = found->Stride;
        const int px = x + p.Offset.x();
        const int py = y + p.Offset.y();
        // Only the picture rows that fall inside the image; spans are clipped only
        // where the picture crosses the image's left or right edge.
        const int rowFirst = qMax(0, -py);
        const int rowLast = qMin(int(p.RowSpans.size()) - 1, height - py);
        if (rowFirst >= rowLast)
            return;
        const bool clip = px < 0 || px + p.Width > width;
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
        if (bytes == 4 && !clip && !params.BottomUp) {
            // The common case, whole rows of a 32-bit image: 16 bytes at a time (the last
            // store overlapping the one before), without a call per run.
            uchar *const target = bits + qsizetype(py) * stride + qsizetype(px) * 4;
            if (!faceTable) {
                const auto end = p.Spans.begin() + p.RowSpans[size_t(rowLast)];
                for (auto span = p.Spans.begin() + p.RowSpans[size_t(rowFirst)]; span != end; ++span)
                    WritePixels<false>(target + qsizetype(span->Row) * stride + qsizetype(span->Left) * 4,
                                       sourceBits + qsizetype(span->Row) * sourceStride + qsizetype(span->Left) * 4,
                                       size_t(span->Length));
                return;
            }
            const auto end = p.Runs.begin() + p.RowRuns[size_t(rowLast)];
            for (auto run = p.Runs.begin() + p.RowRuns[size_t(rowFirst)]; run != end; ++run)
                WritePixels<true>(target + qsizetype(run->Row) * stride + qsizetype(run->Left) * 4,
                                  (*faceTable)[size_t(run->Face)].data(), size_t(run->Length));
            return;
        }
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

CWorkspaceRenderer::Found CWorkspaceRenderer::Find(qint32 value, Variant variant, int phase, bool shapes,
                                                   QImage::Format format)
{
    Found found;
    if (shapes && IsCubeValue(value)) {
        Picture &shape = Shape(KindOfCell(value), variant, phase);
        if (!shape.RowRuns.empty()) {
            found.Drawn = &shape;
            found.Shape = true;
            return found;
        }
    }
    found.Drawn = &Get(value, variant, phase);
    const QImage &pixels = Pixels(*found.Drawn, format);
    found.Bits = pixels.constBits();
    found.Stride = pixels.bytesPerLine();
    return found;
}

const std::vector<QRect> &CWorkspaceRenderer::Outline(qint32 value, int phase)
{
    // The outline depends on the kind only, not on the colouring.
    value = PainterIndex(value);
    if (value >= CubeKindCount) {
        m_scratchOutline.clear();
        const QRegion region = GetCubeRegion(PhasePoints(phase, m_size), value);
        m_scratchOutline.assign(region.begin(), region.end());
        return m_scratchOutline;
    }
    std::vector<QRect> &outline = PhaseAt(phase).Outlines[size_t(value)];
    if (outline.empty()) {
        const QRegion region = GetCubeRegion(PhasePoints(phase, m_size), value);
        outline.assign(region.begin(), region.end());
    }
    return outline;
}

void CWorkspaceRenderer::Grey(QImage &image, qint32 value, int phase, const QPoint &origin, int parity)
{
    // White where x + y - parity is odd, within the cube's outline: the grey pattern
    // ORed over the cube.
    uchar *const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const int width = image.width();
    const int height = image.height();
    // The outline's rectangles run top to bottom: only those that reach the image.
    const std::vector<QRect> &outline = Outline(value, phase);
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
    Prepare(figure, size, FacePen(params));
    PreparePhases(figure, params);
    const int parity = params.PatternOrigin.x() + params.PatternOrigin.y();
    const bool shapes = m_colourings.size() > 1;
    bool ready = true;
    // Unzoomed cubes need one picture per kind and variant (with a palette, as long as
    // the kind has a shape): those already seen are passed over.
    std::array<std::array<bool, VariantCount>, CubeKindCount> seen{};
    VisitCells(figure, QRect(-params.Offset, imageSize), params,
               [&](qint32 value, int x, int y, bool isSelected, int phase) {
                   if (value < 0)
                       return;
                   if (!IsCubeValue(value)) {
                       ready = false;
                       return;
                   }
                   const Variant variant = VariantAt(isSelected, x, y, parity);
                   const CubeIndex kind = KindOfCell(value);
                   if (phase == 0 && seen[size_t(kind)][variant])
                       return;
                   // The view draws into 32-bit pixels, which the pictures are.
                   const Found found = Find(value, variant, phase, shapes, QImage::Format_ARGB32_Premultiplied);
                   if (phase == 0 && found.ServesKind(shapes))
                       seen[size_t(kind)][variant] = true;
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
    Prepare(figure, qMin(size, MaxCachedSize), 1);
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
            const QImage &image = Get(value, Plain, 0).Image;
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
            const QImage &image = Shape(kind, Plain, 0).Image;
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
    for (const auto &phase : m_phases)
        if (phase)
            for (auto &colouring : phase->Pictures)
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
    auto add = [&bytes](const auto &kinds) {
        for (const auto &kind : kinds)
            for (const Picture &p : kind)
                bytes += p.Image.sizeInBytes() + qint64(p.Spans.size() * sizeof(Span));
    };
    for (const auto &phase : m_phases) {
        if (!phase)
            continue;
        for (const auto &colouring : phase->Pictures)
            add(colouring);
        add(phase->Shapes);
    }
    return bytes;
}

void CWorkspaceRenderer::Prepare(const CFigure &figure, int size, int pen)
{
    const bool same = size == m_size && pen == m_pen && !m_colourings.isEmpty()
                      && m_colourings[0] == figure.Colouring(0) && m_colourings.size() == figure.ColouringCount()
                      && std::equal(figure.Palette.begin(), figure.Palette.end(), m_colourings.begin() + 1);
    if (same)
        return;
    m_colourings = figure.Colourings();
    if (size != m_size || pen != m_pen) {
        // Shapes, outlines and the zoomed points are the size's and the pen's.
        m_phases.clear();
        m_phases.resize(1 + ColumnPointKinds * RowPointKinds);
        m_columnPoints.clear();
        m_rowPoints.clear();
        m_rowPhase.clear();
        m_phaseSize = 0;
    }
    m_size = size;
    m_pen = pen;
    m_extent = PictureExtent(size, pen);
    // One set of pictures per colouring; a set is only drawn as its cubes are met.
    for (const auto &phase : m_phases)
        if (phase)
            ResetPictures(*phase);
    m_built = 0;
}

void CWorkspaceRenderer::ResetPictures(Phase &phase) const
{
    phase.Pictures.resize(size_t(m_colourings.size()));
    for (auto &colouring : phase.Pictures)
        for (auto &kind : colouring)
            for (Picture &p : kind)
                p = Picture();
}

void CWorkspaceRenderer::PreparePhases(const CFigure &figure, const Params &params)
{
    const int size = params.CubeSize * params.Scale;
    if (params.Zoom == 1.0
        || (params.Zoom == m_phaseZoom && size == m_phaseSize && m_rowPhase.size() == size_t(figure.Grid.size())))
        return;
    const CellPitch pitch = ComputeCellPitch(params.CubeSize, params.Scale);
    int columns = 0;
    for (const CubeRow &row : figure.Grid)
        columns = qMax(columns, int(row.size()));
    // Where an entry of the table is, adding it when it is new.
    auto entry = [](auto &table, const auto &points) {
        const auto found = std::find(table.begin(), table.end(), points);
        if (found != table.end())
            return int(found - table.begin());
        table.push_back(points);
        return int(table.size()) - 1;
    };
    for (int attempt = 0; attempt < 2; ++attempt) {
        m_rowPhase.assign(figure.Grid.size(), 0);
        bool full = false;
        for (int r = 0; r < int(figure.Grid.size()) && !full; ++r) {
            const CubePoints p = ZoomedCubePoints(QPoint(0, r * pitch.Py), size, params.Zoom);
            std::array<int, 10> y;
            std::copy(std::begin(p.Y), std::end(p.Y), y.begin());
            m_rowPhase[size_t(r)] = entry(m_rowPoints, y);
            full = m_rowPoints.size() > size_t(RowPointKinds);
        }
        for (int parity = 0; parity < 2 && !full; ++parity) {
            m_columnPhase[size_t(parity)].assign(size_t(columns), 0);
            for (int c = 0; c < columns && !full; ++c) {
                const int x = c * pitch.Px + (parity ? pitch.Px / 2 : 0);
                const CubePoints p = ZoomedCubePoints(QPoint(x, 0), size, params.Zoom);
                std::array<int, 5> points;
                std::copy(std::begin(p.X), std::end(p.X), points.begin());
                m_columnPhase[size_t(parity)][size_t(c)] = entry(m_columnPoints, points);
                full = m_columnPoints.size() > size_t(ColumnPointKinds);
            }
        }
        if (!full)
            break;
        // Points of earlier zooms fill the tables: forget them and their pictures.
        m_columnPoints.clear();
        m_rowPoints.clear();
        for (size_t i = 1; i < m_phases.size(); ++i)
            m_phases[i].reset();
        if (attempt == 1)
            m_rowPhase.clear(); // never at one zoom; then the cubes of the drawn size
    }
    m_phaseZoom = params.Zoom;
    m_phaseSize = size;
}

CubePoints CWorkspaceRenderer::PhasePoints(int phase, int size) const
{
    if (phase <= 0)
        return ComputeCubePoints(0, 0, size);
    CubePoints p;
    const auto &x = m_columnPoints[size_t((phase - 1) % ColumnPointKinds)];
    const auto &y = m_rowPoints[size_t((phase - 1) / ColumnPointKinds)];
    std::copy(x.begin(), x.end(), std::begin(p.X));
    std::copy(y.begin(), y.end(), std::begin(p.Y));
    return p;
}

CCubePainter CWorkspaceRenderer::PhasePainter(const Params &params, int phase) const
{
    CCubePainter cube;
    cube.Size = DrawnSize(params);
    if (phase > 0) {
        cube.Points = PhasePoints(phase, cube.Size);
        cube.PenWidth = FacePen(params);
    }
    return cube;
}

CWorkspaceRenderer::Phase &CWorkspaceRenderer::PhaseAt(int phase)
{
    std::unique_ptr<Phase> &slot = m_phases[size_t(phase)];
    if (!slot) {
        slot = std::make_unique<Phase>();
        ResetPictures(*slot);
    }
    return *slot;
}

CWorkspaceRenderer::Variant CWorkspaceRenderer::VariantAt(bool selected, int x, int y, int parity)
{
    // The grey pattern is white where x + y - parity is odd.
    return !selected ? Plain : ((x + y - parity) & 1) ? SelectedOdd : SelectedEven;
}

CWorkspaceRenderer::Picture &CWorkspaceRenderer::Get(qint32 value, Variant variant, int phase)
{
    if (!IsCubeValue(value)) {
        // Not a cube (a damaged figure): drawn as the painter draws it, not kept.
        m_scratch = Build(value, m_colourings[0], variant, phase);
        return m_scratch;
    }
    const int paint = PaintIndex(value, int(m_colourings.size()));
    const CubeIndex kind = KindOfCell(value);
    Picture &p = PhaseAt(phase).Pictures[size_t(paint)][size_t(kind)][variant];
    if (p.Image.isNull()) {
        p = Recoloured(Shape(kind, variant, phase), m_colourings[paint]);
        ++m_built;
    }
    return p;
}

CWorkspaceRenderer::Picture &CWorkspaceRenderer::Shape(CubeIndex kind, Variant variant, int phase)
{
    Picture &shape = PhaseAt(phase).Shapes[size_t(kind)][variant];
    if (shape.Image.isNull()) {
        shape = Build(kind, ShapeColouring, variant, phase);
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
    if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
        || format == QImage::Format_ARGB32_Premultiplied) {
        // Opaque colours are these formats' pixels as they are.
        for (int i = 0; i < 4; ++i)
            for (size_t at = 0; at < table[size_t(i)].size(); at += 4)
                std::memcpy(table[size_t(i)].data() + at, &colors[i], 4);
        return table;
    }
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
    p.Width = shape.Width;
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

CWorkspaceRenderer::Picture CWorkspaceRenderer::Build(qint32 value, const CColouring &colouring, Variant variant,
                                                      int phase) const
{
    QImage image(m_extent.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        CCubePainter cube = FacePainter(m_size, colouring);
        if (phase > 0) {
            cube.Points = PhasePoints(phase, m_size);
            cube.PenWidth = m_pen;
        }
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
    picture.Width = picture.Image.width();
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
