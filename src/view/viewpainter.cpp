// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/viewpainter.h"

#include "geometry/figure.h"
#include "geometry/surface.h"

#include <QPaintEngine>
#include <QPainter>

#include <thread>

namespace {

// Device pixels from which a repaint is drawn on two threads.
constexpr qint64 ParallelPixels = 1 << 21;
// Rows filled and drawn together: a band of a 4K row stays in the processor's cache.
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
    // Band by band, each filled and drawn while its pixels are still in the cache.
    auto drawRows = [&](int top, int bottom) {
        for (int y = top; y < bottom; y += BandRows) {
            const int end = qMin(bottom, y + BandRows);
            QImage band(bits + y * stride, part.width(), end - y, stride, part.format());
            band.fill(background);
            CWorkspaceRenderer::Params rows = params;
            rows.Offset.ry() -= y;
            rows.PatternOrigin.ry() -= y;
            m_renderer->DrawImage(band, figure, rows);
        }
    };
    // A large area (a high-density screen) is drawn in two halves at once once every
    // picture it needs exists; each half gives the same pixels as the whole.
    const int height = part.height();
    const int half = height / 2;
    if (qint64(part.width()) * height >= ParallelPixels && std::thread::hardware_concurrency() > 1
        && m_renderer->PreparePictures(figure, part.size(), params)) {
        std::thread lower(drawRows, half, height);
        drawRows(0, half);
        lower.join();
    } else {
        drawRows(0, height);
    }
}

void CViewPainter::Paint(QPainter &painter, const Area &area, const CFigure &figure, const QVector<QPoint> *selected,
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
    params.Selected = selected;
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
