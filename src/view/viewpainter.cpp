// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/viewpainter.h"

#include "document/cubeselection.h"

#include "geometry/figure.h"
#include "geometry/surface.h"

#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <thread>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// Device pixels from which a repaint is drawn on two threads.
constexpr qint64 ParallelPixels = 1 << 21;
constexpr int BandRows = CViewPainter::BandRows;

// The window's image is the same image while the upper half of its cache key, its
// serial number, stays; the lower half counts the changes made to it.
qint64 ImageSerial(const QImage &image)
{
    return image.cacheKey() >> 32;
}

QImage *WindowImage(QPainter &painter, qreal d, QPoint *at)
{
    // The painter of a widget on screen writes into the window's backing store; when
    // that is a 32-bit image reached at exactly d device pixels per logical pixel and a
    // whole-pixel offset, the view's device pixels are a rectangle of it, from at.
    const QPaintEngine *engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice()
        || engine->paintDevice()->devType() != QInternal::Image)
        return nullptr;
    auto *image = static_cast<QImage *>(engine->paintDevice());
    if ((image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32_Premultiplied)
        || !image->isDetached())
        return nullptr;
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxScale || t.m11() != d || t.m22() != d)
        return nullptr;
    *at = QPoint(qRound(t.dx()), qRound(t.dy()));
    if (at->x() != t.dx() || at->y() != t.dy())
        return nullptr;
    return image;
}

// Streaming stores write whole cache lines to memory without reading them first
// and without pushing other data out of the cache: the right stores for pixels
// written once and not read again during the repaint.
#ifdef __SSE2__
void StreamCopy(uchar *to, const uchar *from, size_t pixels)
{
    size_t i = 0;
    for (; i < pixels && (quintptr(to + i * 4) & 15); ++i)
        std::memcpy(to + i * 4, from + i * 4, 4);
    for (; i + 4 <= pixels; i += 4)
        _mm_stream_si128(reinterpret_cast<__m128i *>(to + i * 4),
                         _mm_loadu_si128(reinterpret_cast<const __m128i *>(from + i * 4)));
    std::memcpy(to + i * 4, from + i * 4, (pixels - i) * 4);
}

void StreamFill(uchar *to, quint32 pixel, size_t pixels)
{
    auto *line = reinterpret_cast<quint32 *>(to);
    size_t i = 0;
    for (; i < pixels && (quintptr(line + i) & 15); ++i)
        line[i] = pixel;
    const __m128i four = _mm_set1_epi32(int(pixel));
    for (; i + 4 <= pixels; i += 4)
        _mm_stream_si128(reinterpret_cast<__m128i *>(line + i), four);
    std::fill(line + i, line + pixels, pixel);
}

void StreamEnd()
{
    // Streamed stores are ordered before whatever the thread writes next.
    _mm_sfence();
}
#else
void StreamCopy(uchar *to, const uchar *from, size_t pixels)
{
    std::memcpy(to, from, pixels * 4);
}

void StreamFill(uchar *to, quint32 pixel, size_t pixels)
{
    auto *line = reinterpret_cast<quint32 *>(to);
    std::fill(line, line + pixels, pixel);
}

void StreamEnd()
{
}
#endif

} // namespace

CViewPainter::CViewPainter()
    : m_renderer(std::make_unique<CWorkspaceRenderer>())
{
}

CViewPainter::~CViewPainter() = default;

void CViewPainter::DrawBands(QImage &part, const CFigure &figure, const QColor &background,
                             const CWorkspaceRenderer::Params &params, const QRect &drawn, int top, const uchar *keep)
{
    uchar *const bits = part.bits();
    const qsizetype stride = part.bytesPerLine();
    const int width = part.width();
    const int height = part.height();
    const quint32 pixel = background.rgb();
    // The part's rows cut where the view's bands begin, without the bands that show
    // their drawing already.
    struct Rows
    {
        int Top;
        int Bottom;
    };
    std::vector<Rows> jobs;
    qint64 pixels = 0;
    for (int y = 0; y < height;) {
        const int band = (top + y) / BandRows;
        const int end = qMin(height, (band + 1) * BandRows - top);
        if (!keep || !keep[band]) {
            jobs.push_back({y, end});
            pixels += qint64(end - y) * width;
        }
        y = end;
    }
    // Band by band: filled and drawn in a scratch band that stays in the processor's
    // cache, then streamed into the window's pixels, which are thus written once and
    // never read. Rows without cells are streamed the background straight away.
    auto drawRows = [&](QImage &scratch, size_t first, size_t last) {
        for (size_t job = first; job < last; ++job) {
            const int y = jobs[job].Top;
            const int end = jobs[job].Bottom;
            if (end <= drawn.top() || y > drawn.bottom()) {
                for (int row = y; row < end; ++row)
                    StreamFill(bits + row * stride, pixel, size_t(width));
                continue;
            }
            if (scratch.width() < width || scratch.format() != part.format())
                scratch = QImage(width, BandRows, part.format());
            QImage band(scratch.bits(), width, end - y, scratch.bytesPerLine(), part.format());
            band.fill(background);
            CWorkspaceRenderer::Params rows = params;
            rows.Offset.ry() -= y;
            rows.PatternOrigin.ry() -= y;
            m_renderer->DrawImage(band, figure, rows);
            for (int row = y; row < end; ++row)
                StreamCopy(bits + row * stride, band.constScanLine(row - y), size_t(width));
        }
        StreamEnd();
    };
    // Much to draw (a high-density screen) is drawn in two halves at once once every
    // picture it needs exists; each half gives the same pixels as the whole.
    const size_t half = jobs.size() / 2;
    if (pixels >= ParallelPixels && std::thread::hardware_concurrency() > 1
        && m_renderer->PreparePictures(figure, part.size(), params)) {
        std::thread lower([&] { drawRows(m_bands[1], half, jobs.size()); });
        drawRows(m_bands[0], 0, half);
        lower.join();
    } else {
        drawRows(m_bands[0], 0, jobs.size());
    }
}

void CViewPainter::Paint(QPainter &painter, const Area &area, const CFigure &figure, const CCubeSelection *selection,
                         const std::function<void(QPainter &)> &feedback)
{
    const QRect device = area.Device;
    const qreal d = area.Ratio;
    const QColor background = ColorFromRef(figure.BkColor);
    // Straight into the window's pixels when the painter writes into them one to one;
    // otherwise into an image of our own, copied onto the screen afterwards.
    QPoint at;
    QImage *window = area.OneRectangle ? WindowImage(painter, d, &at) : nullptr;
    if (window && !window->rect().contains(device.translated(at)))
        window = nullptr;
    QImage part;
    if (window) {
        const qint64 serial = ImageSerial(*window);
        const qsizetype stride = window->bytesPerLine();
        const uchar *const viewOrigin = window->constBits() + at.y() * stride + at.x() * 4;
        // What the window shows stays known while the window's image is the same,
        // nothing else changed its pixels (Forget), the view kept its place in them and
        // the background its colour.
        if (!m_shown.Known || serial != m_shown.Serial || viewOrigin != m_shown.Origin || stride != m_shown.Stride
            || area.ViewportSize != m_shown.Size || background.rgb() != m_shown.Background)
            StartShown(viewOrigin, stride, area.ViewportSize, background.rgb());
        uchar *const bits = window->bits(); // the same pixels, as writable
        part = QImage(bits + (at.y() + device.y()) * stride + (at.x() + device.x()) * 4, device.width(),
                      device.height(), stride, window->format());
    } else {
        m_shown = Shown();
        if (m_buffer.width() < device.width() || m_buffer.height() < device.height())
            m_buffer = QImage(area.ViewportSize.expandedTo(device.size()), QImage::Format_RGB32);
        part = QImage(m_buffer.bits(), device.width(), device.height(), m_buffer.bytesPerLine(), QImage::Format_RGB32);
    }
    const QPoint origin = area.Scroll + device.topLeft(); // workspace point at part's corner
    CWorkspaceRenderer::Params params;
    params.CubeSize = figure.CubeSize;
    params.Zoom = area.Scale;
    params.Dots = true;
    params.Selected = selection ? &selection->Cells() : nullptr;
    params.SelectedSet = selection ? &selection->Members() : nullptr;
    params.Offset = -origin;
    // Greying anchored at the workspace origin, wherever the view is scrolled.
    params.PatternOrigin = -origin;
    // The part's rows that cells may draw in; the others show the background alone.
    QRect drawn = part.rect();
    // Per band of the view: its first row and the end of its rows in the part (either
    // may lie outside it), whether no cell draws in it, whether the feedback may paint
    // in it (on rows of the part).
    const int bands = int(m_shown.Bands.size());
    auto bandTop = [&](int band) {
        return band * BandRows - device.top();
    };
    auto bandEnd = [&](int band) {
        return qMin(area.ViewportSize.height(), (band + 1) * BandRows) - device.top();
    };
    auto blank = [&](int band) {
        return bandEnd(band) <= drawn.top() || bandTop(band) > drawn.bottom();
    };
    const QRect feedbackRows = area.Feedback.translated(-origin);
    auto feedbackIn = [&](int band) {
        const int top = qMax(0, bandTop(band));
        const int end = qMin(part.height(), bandEnd(band));
        return top < end && !feedbackRows.isEmpty() && top <= feedbackRows.bottom() && end > feedbackRows.top();
    };
    // Per band of the view: before the paint it showed what it should show now.
    std::vector<uchar> same;
    if (CWorkspaceRenderer::DrawnSize(params) < CWorkspaceRenderer::MinCrispSize) {
        // Cubes too small to keep their shape: the true drawing averaged, made once
        // for the whole workspace until the figure or the scale changes.
        if (m_averaged.isNull() || m_averagedScale != params.Zoom) {
            m_averaged = m_renderer->DrawAveraged(figure, QRect(QPoint(0, 0), figure.GetWorkspaceSize()),
                                                  background.rgb(), params);
            m_averagedScale = params.Zoom;
        }
        part.fill(background);
        QPainter copy(&part);
        copy.setCompositionMode(QPainter::CompositionMode_Source);
        copy.drawImage(-origin, m_averaged);
    } else {
        drawn = CWorkspaceRenderer::WholeArea(figure, params).translated(params.Offset);
        if (window && QRect(QPoint(0, 0), area.ViewportSize).contains(device)) {
            const Shown::Key key{figure.CubeSize, area.Scale, area.Scroll, figure.Colourings()};
            std::vector<uchar> blanks(static_cast<size_t>(bands));
            for (int band = 0; band < bands; ++band)
                blanks[size_t(band)] = blank(band);
            same = BandsStillShown(figure, selection, key, params, area.Scroll, blanks);
        }
        // Feedback may paint over bands left alone: they show no feedback of an
        // earlier paint, whose bands are not known to show their drawing.
        DrawBands(part, figure, background, params, drawn, device.top(), same.empty() ? nullptr : same.data());
    }
    {
        QPainter overlay(&part);
        overlay.translate(-origin);
        feedback(overlay);
    }
    if (!window) {
        part.setDevicePixelRatio(d);
        painter.drawImage(QPointF(device.topLeft()) / d, part);
        return;
    }
    // A band shows what it should where no feedback painted in it, when it did before
    // or was drawn now across the view: the background alone where no cell draws.
    const bool wholeWidth = device.left() <= 0 && device.right() >= area.ViewportSize.width() - 1;
    for (int band = 0; band < bands; ++band) {
        const bool whole = wholeWidth && bandTop(band) >= 0 && bandEnd(band) <= part.height();
        const bool was = size_t(band) < same.size() && same[size_t(band)];
        const bool right = !feedbackIn(band) && (was || (whole && !same.empty()));
        m_shown.Bands[size_t(band)] = !right ? Unknown : blank(band) ? Background : Drawing;
    }
    m_shown.Serial = ImageSerial(*window);
    m_shown.Known = true;
}

void CViewPainter::StartShown(const uchar *origin, qsizetype stride, const QSize &size, QRgb background)
{
    m_shown.Known = false;
    m_shown.Origin = origin;
    m_shown.Stride = stride;
    m_shown.Size = size;
    m_shown.Background = background;
    m_shown.Drawing = Shown::Key();
    m_shown.Grid.clear();
    m_shown.Selected.clear();
    m_shown.Bands.assign(size_t(qMax(0, (size.height() + BandRows - 1) / BandRows)), Unknown);
}

std::vector<uchar> CViewPainter::BandsStillShown(const CFigure &figure, const CCubeSelection *selection,
                                                 const Shown::Key &key, const CWorkspaceRenderer::Params &params,
                                                 const QPoint &scroll, const std::vector<uchar> &blank)
{
    const QSize size = m_shown.Size;
    // The background alone stays right where no cell draws, whatever else changed.
    std::vector<uchar> same(m_shown.Bands.size(), 0);
    for (size_t band = 0; band < same.size(); ++band)
        same[band] = m_shown.Bands[band] == Background && blank[band];
    const QVector<QPoint> selected = selection ? selection->Cells() : QVector<QPoint>();
    const CubeGrid &grid = figure.Grid;
    if (m_shown.Drawing == key && m_shown.Grid.size() == grid.size()) {
        // The rows of the grid whose cells may be drawn otherwise than at the last
        // paint: a cell changed, or was selected or unselected; counted up to each row.
        const int rows = int(grid.size());
        std::vector<int> changedBefore(size_t(rows) + 1, 0);
        for (int r = 0; r < rows; ++r)
            changedBefore[size_t(r) + 1] = grid[r] != m_shown.Grid[r];
        if (selected != m_shown.Selected) {
            for (const QVector<QPoint> *cells : {&selected, static_cast<const QVector<QPoint> *>(&m_shown.Selected)})
                for (const QPoint &cell : *cells)
                    if (cell.y() >= 0 && cell.y() < rows)
                        changedBefore[size_t(cell.y()) + 1] = 1;
        }
        for (int r = 0; r < rows; ++r)
            changedBefore[size_t(r) + 1] += changedBefore[size_t(r)];
        for (size_t band = 0; band < same.size(); ++band) {
            if (m_shown.Bands[band] != Drawing)
                continue;
            const int top = int(band) * BandRows;
            const QRect area(scroll.x(), scroll.y() + top, size.width(), qMin(BandRows, size.height() - top));
            const CWorkspaceRenderer::RowRange reached = CWorkspaceRenderer::RowsReaching(figure, area, params);
            same[band] = reached.IsEmpty()
                         || changedBefore[size_t(reached.Last) + 1] == changedBefore[size_t(reached.First)];
        }
    }
    m_shown.Drawing = key;
    m_shown.Grid = grid;
    m_shown.Selected = selected;
    return same;
}
