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
// Rows filled and drawn together: a band of 4K rows stays in the processor's cache.
constexpr int BandRows = 32;

QImage WindowPixels(QPainter &painter, const QRect &device, qreal d)
{
    // The painter of a widget on screen writes into the window's backing store; when
    // that is a 32-bit image reached at exactly d device pixels per logical pixel and a
    // whole-pixel offset, the view's device pixels are a rectangle of it.
    const QPaintEngine *engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice()
        || engine->paintDevice()->devType() != QInternal::Image)
        return QImage();
    auto *image = static_cast<QImage *>(engine->paintDevice());
    if ((image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32_Premultiplied)
        || !image->isDetached())
        return QImage();
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxScale || t.m11() != d || t.m22() != d)
        return QImage();
    const QPoint at(qRound(t.dx()), qRound(t.dy()));
    if (at.x() != t.dx() || at.y() != t.dy())
        return QImage();
    const QRect target = device.translated(at);
    if (!image->rect().contains(target))
        return QImage();
    const qsizetype stride = image->bytesPerLine();
    return QImage(image->bits() + target.y() * stride + target.x() * 4, target.width(), target.height(), stride,
                  image->format());
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
                             const CWorkspaceRenderer::Params &params)
{
    uchar *const bits = part.bits();
    const qsizetype stride = part.bytesPerLine();
    const int width = part.width();
    const quint32 pixel = background.rgb();
    // Rows the cells can draw in; the others show the background alone.
    const QRect drawn = CWorkspaceRenderer::WholeArea(figure, params).translated(params.Offset);
    // Band by band: filled and drawn in a scratch band that stays in the processor's
    // cache, then streamed into the window's pixels, which are thus written once and
    // never read. Rows without cells are streamed the background straight away.
    auto drawRows = [&](QImage &scratch, int top, int bottom) {
        for (int y = top; y < bottom; y += BandRows) {
            const int end = qMin(bottom, y + BandRows);
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
    // A large area (a high-density screen) is drawn in two halves at once once every
    // picture it needs exists; each half gives the same pixels as the whole.
    const int height = part.height();
    const int half = height / 2;
    if (qint64(part.width()) * height >= ParallelPixels && std::thread::hardware_concurrency() > 1
        && m_renderer->PreparePictures(figure, part.size(), params)) {
        std::thread lower([&] { drawRows(m_bands[1], half, height); });
        drawRows(m_bands[0], 0, half);
        lower.join();
    } else {
        drawRows(m_bands[0], 0, height);
    }
}

void CViewPainter::Paint(QPainter &painter, const Area &area, const CFigure &figure, const CCubeSelection *selection,
                         const std::function<void(QPainter &)> &feedback)
{
    const QRect device = area.Device;
    const qreal d = area.Ratio;
    // Straight into the window's pixels when the painter writes into them one to one;
    // otherwise into an image of our own, copied onto the screen afterwards.
    QImage part = area.OneRectangle ? WindowPixels(painter, device, d) : QImage();
    const bool direct = !part.isNull();
    if (!direct) {
        if (m_buffer.width() < device.width() || m_buffer.height() < device.height())
            m_buffer = QImage(area.ViewportSize.expandedTo(device.size()), QImage::Format_RGB32);
        part = QImage(m_buffer.bits(), device.width(), device.height(), m_buffer.bytesPerLine(), QImage::Format_RGB32);
    }
    const QPoint origin = area.Scroll + device.topLeft(); // workspace point at part's corner
    const QColor background = ColorFromRef(figure.BkColor);
    CWorkspaceRenderer::Params params;
    params.CubeSize = figure.CubeSize;
    params.Zoom = area.Scale;
    params.Dots = true;
    params.Selected = selection ? &selection->Cells() : nullptr;
    params.SelectedSet = selection ? &selection->Members() : nullptr;
    params.Offset = -origin;
    // Greying anchored at the workspace origin, wherever the view is scrolled.
    params.PatternOrigin = -origin;
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
        DrawBands(part, figure, background, params);
    }
    {
        QPainter overlay(&part);
        overlay.translate(-origin);
        feedback(overlay);
    }
    if (direct)
        return;
    part.setDevicePixelRatio(d);
    painter.drawImage(QPointF(device.topLeft()) / d, part);
}
