// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/tarvexview.h"

#include "document/tarvexdoc.h"
#include "files/figurefragment.h"
#include "geometry/dragoffset.h"
#include "geometry/gridpath.h"
#include "geometry/workspacerenderer.h"
#include "view/placecubehandler.h"
#include "view/selectmovehandler.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPageLayout>
#include <QPainter>
#include <QPaintEvent>
#include <QPixmap>
#include <QPrinter>
#include <QPrintPreviewDialog>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
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

void InitViewResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(view);
        return true;
    }();
    Q_UNUSED(registered);
}

CTarvexView::CTarvexView(CTarvexDoc &doc, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_doc(doc)
    , m_renderer(std::make_unique<CWorkspaceRenderer>())
    , m_placeCube(std::make_unique<CPlaceCubeHandler>(doc))
    , m_selectMove(std::make_unique<CSelectMoveHandler>(doc, *this))
    , m_zoomPercent(100)
{
    InitViewResources();
    m_selectMove->SetMappingSource([this] { return Mapping(); });
    m_placeCube->SetMappingSource([this] { return Mapping(); });
    m_selectMove->SetRubberBandCursors(CursorFor(CopyCursor, DevicePixelRatio()),
                                       CursorFor(ArrowCursor, DevicePixelRatio()));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Workspace"));
    viewport()->setMouseTracking(true);
    // The view paints every pixel of the viewport itself.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(CursorFor(m_cursorId, DevicePixelRatio()));
    connect(&m_doc, &CTarvexDoc::UpdateAllViews, this, &CTarvexView::OnUpdate);
    UpdateScrollRange();
}

CTarvexView::~CTarvexView() = default;

void CTarvexView::SetCurrentCubeSource(std::function<int()> source)
{
    m_placeCube->SetCurrentCubeSource(std::move(source));
}

void CTarvexView::SetCurrentPaintSource(std::function<int()> source)
{
    m_currentPaint = std::move(source);
}

QPoint CTarvexView::ScrollPosition() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

CViewMapping CTarvexView::Mapping() const
{
    return CViewMapping(m_doc.Figure().CubeSize, ScrollPosition(), DevicePixelRatio(), ZoomPercent());
}

QPoint CTarvexView::DeviceScroll() const
{
    return Mapping().DeviceScroll();
}

QPoint CTarvexView::ToWorkspace(const QPointF &viewportPoint) const
{
    return Mapping().ToWorkspace(viewportPoint);
}

QRect CTarvexView::ToViewport(const QRect &workspaceRect) const
{
    return workspaceRect.isEmpty() ? QRect() : Mapping().ToViewport(workspaceRect);
}

qreal CTarvexView::DevicePixelRatio() const
{
    return viewport()->devicePixelRatioF();
}

const QVector<int> &CTarvexView::ZoomLevels()
{
    // Down to where the largest figure (100 x 100 cells at cube size 200) fits a
    // full-HD screen, up to four times.
    static const QVector<int> levels{7, 10, 15, 20, 25, 33, 50, 67, 75, 100, 125, 150, 200, 250, 300, 400};
    return levels;
}

int CTarvexView::DefaultZoomIndex()
{
    return int(ZoomLevels().indexOf(100));
}

int CTarvexView::ZoomPercent() const
{
    return m_zoomPercent;
}

int CTarvexView::ZoomIndex() const
{
    // Between two levels: the lower one.
    const QVector<int> &levels = ZoomLevels();
    int index = 0;
    while (index + 1 < levels.size() && levels[index + 1] <= m_zoomPercent)
        ++index;
    return index;
}

int CTarvexView::DisplaySize() const
{
    return Mapping().DisplaySize();
}

void CTarvexView::SetZoomIndex(int index, const QPointF &anchor)
{
    SetZoomPercent(ZoomLevels().at(qBound(0, index, int(ZoomLevels().size()) - 1)), anchor);
}

void CTarvexView::SetZoomPercent(int percent, const QPointF &anchor)
{
    percent = qBound(ZoomLevels().first(), percent, ZoomLevels().last());
    if (percent == m_zoomPercent)
        return;
    // The figure's point under the anchor stays under it: every point of the figure
    // is drawn at its position times the scale.
    const qreal d = DevicePixelRatio();
    const QPoint device(qRound(anchor.x() * d), qRound(anchor.y() * d));
    const double oldScale = Mapping().Scale();
    const QPointF figurePoint = QPointF(device + DeviceScroll()) / oldScale;
    m_zoomPercent = percent;
    const double newScale = Mapping().Scale();
    UpdateScrollRange();
    horizontalScrollBar()->setValue(qRound((figurePoint.x() * newScale - device.x()) / d));
    verticalScrollBar()->setValue(qRound((figurePoint.y() * newScale - device.y()) / d));
    viewport()->update();
    if (viewport()->underMouse())
        UpdateCursor(QGuiApplication::queryKeyboardModifiers());
    Q_EMIT ZoomChanged(m_zoomPercent);
}

void CTarvexView::StepZoom(int steps, const QPointF &anchor)
{
    // From between two levels the first step goes to the neighbouring level.
    const QVector<int> &levels = ZoomLevels();
    int percent = m_zoomPercent;
    for (; steps > 0; --steps) {
        auto up = std::upper_bound(levels.cbegin(), levels.cend(), percent);
        percent = up == levels.cend() ? levels.last() : *up;
    }
    for (; steps < 0; ++steps) {
        auto down = std::lower_bound(levels.cbegin(), levels.cend(), percent);
        percent = down == levels.cbegin() ? levels.first() : *(down - 1);
    }
    SetZoomPercent(percent, anchor);
}

void CTarvexView::ZoomIn()
{
    StepZoom(1, QRectF(viewport()->rect()).center());
}

void CTarvexView::ZoomOut()
{
    StepZoom(-1, QRectF(viewport()->rect()).center());
}

void CTarvexView::ResetZoom()
{
    SetZoomPercent(100, QRectF(viewport()->rect()).center());
}

int CTarvexView::FitPercent() const
{
    // The largest zoom at which the whole workspace fits the viewport without scroll
    // bars; the cell pitch is rounded at every size, so the estimate is checked.
    const QSize room = maximumViewportSize();
    const CFigure &figure = m_doc.Figure();
    const QSize full = figure.GetWorkspaceSize();
    if (full.isEmpty() || room.isEmpty())
        return 100;
    const qreal d = DevicePixelRatio();
    int percent = int(100.0 * qMin(qreal(room.width()) / full.width(), qreal(room.height()) / full.height()));
    percent = qBound(ZoomLevels().first(), percent, ZoomLevels().last());
    for (; percent > ZoomLevels().first(); --percent) {
        const QSize device = CViewMapping(figure.CubeSize, QPoint(), d, percent).WorkspaceSize(figure);
        if (std::ceil(device.width() / d) <= room.width() && std::ceil(device.height() / d) <= room.height())
            break;
    }
    return percent;
}

void CTarvexView::ZoomToFit()
{
    SetZoomPercent(FitPercent(), QPointF(0, 0));
}

void CTarvexView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        m_wheelAngle = 0;
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // One level per notch (120 eighths of a degree); finer wheels add up.
    m_wheelAngle += event->angleDelta().y();
    const int steps = m_wheelAngle / 120;
    m_wheelAngle -= steps * 120;
    if (steps != 0)
        StepZoom(steps, event->position());
    event->accept();
}

void CTarvexView::UpdateScrollRange()
{
    // The viewport the workspace gets: all of it when the workspace fits, less the
    // room of each scroll bar it needs otherwise. The workspace is drawn in device
    // pixels; the scroll bars count logical pixels.
    m_shownScale = Mapping().Scale();
    const qreal d = DevicePixelRatio();
    const QSize device = Mapping().WorkspaceSize(m_doc.Figure());
    const QSize total(int(std::ceil(device.width() / d)), int(std::ceil(device.height() / d)));
    const QSize room = maximumViewportSize();
    QScrollBar *h = horizontalScrollBar();
    QScrollBar *v = verticalScrollBar();
    bool needH = total.width() > room.width();
    bool needV = total.height() > room.height();
    if (needH && !needV)
        needV = total.height() > room.height() - h->sizeHint().height();
    if (needV && !needH)
        needH = total.width() > room.width() - v->sizeHint().width();
    const QSize page(room.width() - (needV ? v->sizeHint().width() : 0),
                     room.height() - (needH ? h->sizeHint().height() : 0));
    h->setRange(0, qMax(0, total.width() - page.width()));
    v->setRange(0, qMax(0, total.height() - page.height()));
    h->setPageStep(qMax(1, page.width()));
    v->setPageStep(qMax(1, page.height()));
    // A line is a tenth of a page, as scrolling views usually step.
    h->setSingleStep(qMax(1, page.width() / 10));
    v->setSingleStep(qMax(1, page.height() / 10));
}

void CTarvexView::OnUpdate()
{
    m_averaged = QImage();
    // Cubes placed on a few cells (a click, a stroke's next cells) change only those
    // cells and the corners of their neighbours: only that is drawn again.
    const QVector<QPoint> *changed = m_doc.ChangedCells();
    const CViewMapping mapping = Mapping();
    if (changed && m_shownScale == mapping.Scale()) {
        const CellPitch figurePitch = m_doc.Figure().GetCellPitch();
        const CellPitch pitch{mapping.Scaled(figurePitch.Px) + 1, mapping.Scaled(figurePitch.Py) + 1};
        for (const QPoint &cell : *changed)
            viewport()->update(
                ToViewport(CellArea(cell).adjusted(-pitch.Px / 2, -2 * pitch.Py, pitch.Px / 2, 2 * pitch.Py)));
    } else {
        UpdateScrollRange();
        viewport()->update();
    }
    // The mode or the cells under the pointer may have changed.
    if (viewport()->underMouse())
        UpdateCursor(QGuiApplication::queryKeyboardModifiers());
}

// ---------------------------------------------------------------- painting

void CTarvexView::DrawBands(QImage &part, const CFigure &figure, const QColor &background,
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

void CTarvexView::paintEvent(QPaintEvent *event)
{
    const CViewMapping mapping = Mapping();
    if (mapping.Scale() != m_shownScale) {
        // The ratio changed (the window moved to another screen).
        UpdateScrollRange();
    }
    const qreal d = DevicePixelRatio();
    // The device pixels of the exposed area are drawn at the view's scale and land 1:1
    // on the screen, so every edge is a device pixel edge.
    const QRect exposed = event->rect();
    const QRect all = QRectF(QPointF(0, 0), QSizeF(viewport()->size()) * d).toAlignedRect();
    const QRect device = QRectF(QPointF(exposed.topLeft()) * d, QSizeF(exposed.size()) * d).toAlignedRect() & all;
    if (device.isEmpty())
        return;
    QPainter painter(viewport());
    // Straight into the window's pixels when the painter writes into them one to one;
    // otherwise into an image of our own, copied onto the screen afterwards.
    QImage part = event->region().rectCount() == 1 ? WindowPixels(painter, device, d) : QImage();
    const bool direct = !part.isNull();
    if (!direct) {
        if (m_buffer.width() < device.width() || m_buffer.height() < device.height())
            m_buffer = QImage(all.size().expandedTo(device.size()), QImage::Format_RGB32);
        part = QImage(m_buffer.bits(), device.width(), device.height(), m_buffer.bytesPerLine(), QImage::Format_RGB32);
    }
    const QPoint origin = DeviceScroll() + device.topLeft(); // workspace point at part's corner
    const CFigure figure = m_doc.Figure();
    const QColor background = ColorFromRef(figure.BkColor);
    CWorkspaceRenderer::Params params;
    params.CubeSize = figure.CubeSize;
    params.Zoom = mapping.Scale();
    params.Dots = true;
    params.Selected = m_doc.SelectedCells();
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
        QPainter feedback(&part);
        feedback.translate(-origin);
        m_selectMove->PaintFeedback(feedback);
        for (const QPoint &cell : std::as_const(m_beamOutline))
            PaintCellOutline(feedback, cell, Qt::black);
        if (m_showCellCursor && hasFocus())
            PaintCellOutline(feedback, m_cellCursor, palette().color(QPalette::Active, QPalette::Highlight));
    }
    if (direct)
        return;
    part.setDevicePixelRatio(d);
    painter.drawImage(QPointF(device.topLeft()) / d, part);
}

void CTarvexView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void CTarvexView::scrollContentsBy(int dx, int dy)
{
    // Moves what is already on screen and repaints only the strip that comes into view;
    // at a fractional ratio a logical step is no whole number of device pixels, so all
    // of it is drawn again.
    const qreal d = DevicePixelRatio();
    if (d == std::floor(d))
        viewport()->scroll(dx, dy);
    else
        viewport()->update();
}

// ---------------------------------------------------------------- placing cubes

bool CTarvexView::PlaceCubeAt(const QPoint &workspacePoint)
{
    return m_placeCube->PlaceAt(Mapping().CellAt(m_doc.Figure(), workspacePoint));
}

void CTarvexView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    if (!m_selectMove->MousePress(event)) {
        m_placeCube->MousePress(event, ToWorkspace(event->position()));
        SetCellCursor(m_placeCube->LastPlaced(), false);
        UpdateBeamOutline(event->position().toPoint(), event->modifiers());
    }
}

void CTarvexView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    m_selectMove->MouseRelease(event);
    if (m_placeCube->MouseRelease(event, ToWorkspace(event->position()))) {
        SetCellCursor(m_placeCube->LastPlaced(), false);
        UpdateBeamOutline(event->position().toPoint(), event->modifiers());
    }
}

void CTarvexView::keyPressEvent(QKeyEvent *event)
{
    // Zoom: Ctrl++ (or Ctrl+=, as on keyboards where + needs Shift), Ctrl+-, Ctrl+0,
    // Ctrl+9 to fit the window.
    if (event->modifiers() & Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            ZoomIn();
            event->accept();
            return;
        case Qt::Key_Minus:
            ZoomOut();
            event->accept();
            return;
        case Qt::Key_0:
            ResetZoom();
            event->accept();
            return;
        case Qt::Key_9:
            ZoomToFit();
            event->accept();
            return;
        default:
            break;
        }
    }
    // The clipboard: copy and paste anywhere, cut in select-and-move mode.
    if (event->matches(QKeySequence::Copy) || (event->matches(QKeySequence::Cut) && m_doc.IsSelectMode())) {
        Copy(event->matches(QKeySequence::Cut));
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        Paste();
        event->accept();
        return;
    }
    // "Paint selection": the selected cubes take the colouring picked in the palette.
    if (event->key() == Qt::Key_P && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        && m_doc.IsSelectMode()) {
        m_doc.PaintSelection(m_currentPaint ? m_currentPaint() : 0);
        event->accept();
        return;
    }
    if (CellKeyPress(event)) {
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
    if (event->key() == Qt::Key_Control)
        UpdateCursor(event->modifiers() | Qt::ControlModifier);
    else if (event->key() == Qt::Key_Shift)
        UpdateBeamOutline(viewport()->mapFromGlobal(QCursor::pos()), event->modifiers() | Qt::ShiftModifier);
    else
        m_selectMove->KeyPress(event);
}

void CTarvexView::keyReleaseEvent(QKeyEvent *event)
{
    QAbstractScrollArea::keyReleaseEvent(event);
    if (event->key() == Qt::Key_Control)
        UpdateCursor(event->modifiers() & ~Qt::ControlModifier);
    if (event->key() == Qt::Key_Shift && !event->isAutoRepeat()) {
        m_keyStroke = false;
        UpdateBeamOutline(viewport()->mapFromGlobal(QCursor::pos()), event->modifiers() & ~Qt::ShiftModifier);
    }
}

void CTarvexView::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        m_showCellCursor = true;
    UpdateCells({m_cellCursor});
}

void CTarvexView::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_keyStroke = false;
    UpdateCells({m_cellCursor});
    UpdateBeamOutline(QPoint(-1, -1), Qt::NoModifier);
}

void CTarvexView::leaveEvent(QEvent *event)
{
    QAbstractScrollArea::leaveEvent(event);
    UpdateBeamOutline(QPoint(-1, -1), Qt::NoModifier);
}

void CTarvexView::dragEnterEvent(QDragEnterEvent *event)
{
    m_selectMove->DragEnter(event);
}

void CTarvexView::dragMoveEvent(QDragMoveEvent *event)
{
    m_selectMove->DragMove(event);
}

void CTarvexView::dragLeaveEvent(QDragLeaveEvent *event)
{
    m_selectMove->DragLeave(event);
}

void CTarvexView::dropEvent(QDropEvent *event)
{
    m_selectMove->Drop(event);
}

// ---------------------------------------------------------------- cursors

CTarvexView::CursorId CTarvexView::ChooseCursor(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers) const
{
    if (m_doc.IsSelectMode())
        return (modifiers & Qt::ControlModifier) ? CopyCursor : ArrowCursor;
    const CViewMapping mapping = Mapping();
    return mapping.CellAt(m_doc.Figure(), mapping.ToWorkspace(viewportPoint)).x() >= 0 ? CubeCursor : NoCellCursor;
}

QCursor CTarvexView::CursorFor(CursorId id)
{
    return CursorFor(id, 1.0);
}

QCursor CTarvexView::CursorFor(CursorId id, qreal ratio)
{
    // The 2x pictures (named @2x, so they carry the ratio 2) on screens denser than 1.
    auto picture = [ratio](const char *name) {
        const QString base = QStringLiteral(":/pictures/") + QLatin1String(name);
        if (ratio > 1.0) {
            const QPixmap dense(base + QStringLiteral("@2x.png"));
            if (!dense.isNull())
                return dense;
        }
        return QPixmap(base + QStringLiteral(".png"));
    };
    // The hot spot is given in logical pixels. The X11 platform hands it to the server
    // as it is, in the picture's own pixels (measured with Qt 6.4: a 64 x 64 picture of
    // ratio 2 with hot spot (10, 9) points with its pixel (10, 9)), so there it is
    // scaled by the picture's ratio; the other platforms scale it themselves.
    auto cursor = [](const QPixmap &pixmap, int x, int y) {
        const qreal scale = QGuiApplication::platformName() == QLatin1String("xcb") ? pixmap.devicePixelRatio() : 1.0;
        return QCursor(pixmap, qRound(x * scale), qRound(y * scale));
    };
    switch (id) {
    case CubeCursor:
        return cursor(picture("cursor-cube"), 10, 10);
    case NoCellCursor:
        return cursor(picture("cursor-nocell"), 10, 9);
    case CopyCursor:
        return cursor(picture("cursor-copy"), 0, 0);
    case ArrowCursor:
        break;
    }
    return cursor(picture("cursor-arrow"), 0, 0);
}

void CTarvexView::SetCursorId(CursorId id)
{
    if (id == m_cursorId)
        return;
    m_cursorId = id;
    viewport()->setCursor(CursorFor(id, DevicePixelRatio()));
}

void CTarvexView::UpdateCursor(Qt::KeyboardModifiers modifiers)
{
    SetCursorId(ChooseCursor(viewport()->mapFromGlobal(QCursor::pos()), modifiers));
}

void CTarvexView::mouseMoveEvent(QMouseEvent *event)
{
    SetCursorId(ChooseCursor(event->position().toPoint(), event->modifiers()));
    if (!m_selectMove->MouseMove(event) && !m_placeCube->MouseMove(event, ToWorkspace(event->position())))
        QAbstractScrollArea::mouseMoveEvent(event);
    UpdateBeamOutline(event->position().toPoint(), event->modifiers());
}

void CTarvexView::enterEvent(QEnterEvent *event)
{
    QAbstractScrollArea::enterEvent(event);
    UpdateCursor(QGuiApplication::queryKeyboardModifiers());
}

// ---------------------------------------------------------------- cell cursor, beam outline

QRect CTarvexView::CellArea(const QPoint &cell) const
{
    // The cell's square at the display size, with room for outlines drawn around it.
    const CViewMapping mapping = Mapping();
    const int size = mapping.DisplaySize();
    return QRect(mapping.CellOrigin(cell), QSize(size + 1, size + 1)).adjusted(-3, -3, 3, 3);
}

void CTarvexView::UpdateCells(const QVector<QPoint> &cells)
{
    for (const QPoint &cell : cells)
        viewport()->update(ToViewport(CellArea(cell)));
}

void CTarvexView::SetCellCursor(const QPoint &cell, bool show)
{
    const QSize grid = m_doc.Figure().GridSize();
    if (!CellExists(cell.x(), cell.y(), grid.width(), grid.height()))
        return;
    // Only a cursor on screen needs repainting.
    if (m_showCellCursor && hasFocus())
        UpdateCells({m_cellCursor});
    m_cellCursor = cell;
    m_showCellCursor = m_showCellCursor || show;
    if (m_showCellCursor && hasFocus())
        UpdateCells({m_cellCursor});
    if (show) {
        // Scroll just enough to show the cell.
        const QRect area = ToViewport(CellArea(cell));
        const QRect room = viewport()->rect();
        QScrollBar *h = horizontalScrollBar();
        QScrollBar *v = verticalScrollBar();
        if (area.left() < room.left())
            h->setValue(h->value() + area.left() - room.left());
        else if (area.right() > room.right())
            h->setValue(h->value() + area.right() - room.right());
        if (area.top() < room.top())
            v->setValue(v->value() + area.top() - room.top());
        else if (area.bottom() > room.bottom())
            v->setValue(v->value() + area.bottom() - room.bottom());
    }
}

void CTarvexView::UpdateBeamOutline(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers)
{
    QVector<QPoint> beam;
    if ((modifiers & Qt::ShiftModifier) && !m_doc.IsSelectMode() && !m_placeCube->IsStroking()
        && viewport()->rect().contains(viewportPoint))
        beam = m_placeCube->BeamAt(ToWorkspace(viewportPoint));
    if (beam == m_beamOutline)
        return;
    UpdateCells(m_beamOutline);
    m_beamOutline = beam;
    UpdateCells(m_beamOutline);
}

void CTarvexView::PaintCellOutline(QPainter &painter, const QPoint &cell, const QColor &inner) const
{
    // The hexagon of the cell, a white line under a darker one, so that it shows on
    // any background and on any cube.
    const CViewMapping mapping = Mapping();
    const QPoint origin = mapping.CellOrigin(cell);
    const CubePoints p = ComputeCubePoints(origin.x(), origin.y(), mapping.DisplaySize());
    const QPolygon hexagon({QPoint(p.X[2], p.Y[0]), QPoint(p.X[4], p.Y[2]), QPoint(p.X[4], p.Y[7]),
                            QPoint(p.X[2], p.Y[9]), QPoint(p.X[0], p.Y[7]), QPoint(p.X[0], p.Y[2])});
    const qreal width = qMax<qreal>(1.0, DevicePixelRatio());
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 3 * width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolygon(hexagon);
    painter.setPen(QPen(inner, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolygon(hexagon);
}

bool CTarvexView::CellKeyPress(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool selectMode = m_doc.IsSelectMode();
    // A smaller grid (another figure, the options) may have lost the cursor's cell.
    const QSize size = m_doc.Figure().GridSize();
    if (!CellExists(m_cellCursor.x(), m_cellCursor.y(), size.width(), size.height()))
        m_cellCursor = QPoint(0, 0);
    int dx = 0;
    int dy = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -1;
        break;
    case Qt::Key_Right:
        dx = 1;
        break;
    case Qt::Key_Up:
        dy = -1;
        break;
    case Qt::Key_Down:
        dy = 1;
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (mods != Qt::NoModifier)
            return false;
        SetCellCursor(m_cellCursor, true);
        if (selectMode) {
            // Space toggles the cube under the cursor in the selection.
            if (event->key() == Qt::Key_Space && m_doc.Figure().Cell(m_cellCursor.x(), m_cellCursor.y()) >= 0)
                m_doc.ClickSelect(m_cellCursor, true);
        } else {
            m_placeCube->PlaceAt(m_cellCursor);
        }
        return true;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        // In select-and-move mode Delete removes the selection (the select handler).
        if (selectMode || mods != Qt::NoModifier)
            return false;
        SetCellCursor(m_cellCursor, true);
        m_doc.PlaceCube(m_cellCursor, EmptyCell);
        return true;
    default:
        return false;
    }
    if (mods == Qt::ControlModifier) {
        // Ctrl+arrows move the selection by one cell: along the row, or straight up or
        // down (two rows, the up and down neighbours). A held key's repeats join the
        // press's undo step.
        if (!selectMode || !m_doc.Selection() || m_doc.Selection()->Cells.isEmpty())
            return true;
        const QPoint offset(dx, 2 * dy);
        if (m_doc.ClampDragOffset(offset) != offset)
            return true; // a cube would leave the grid
        if (event->isAutoRepeat())
            m_doc.JoinNextEdit();
        m_doc.DropSelection(offset, false);
        return true;
    }
    if (mods != Qt::NoModifier && mods != Qt::ShiftModifier)
        return false;
    const QSize grid = m_doc.Figure().GridSize();
    if (m_cursorColumnFor != m_cellCursor)
        m_cursorColumn = CGridPath::HalfColumn(m_cellCursor);
    const QPoint next = CGridPath::CursorStep(m_cellCursor, dx, dy, m_cursorColumn, grid);
    SetCellCursor(next, true);
    if (dx != 0)
        m_cursorColumn = CGridPath::HalfColumn(next);
    m_cursorColumnFor = next;
    if (mods == Qt::ShiftModifier && !selectMode) {
        // A keyboard stroke: one undo step while Shift stays down.
        if (m_keyStroke)
            m_doc.JoinNextEdit();
        m_keyStroke = m_placeCube->PlaceAt(next) || m_keyStroke;
    }
    return true;
}

// ---------------------------------------------------------------- clipboard

void CTarvexView::Copy(bool cut)
{
    const CCubeSelection *selection = m_doc.Selection();
    const bool selected = selection && !selection->Cells.isEmpty();
    const CFigureFragment fragment = CFigureFragment::FromFigure(m_doc.Figure(),
                                                                 selected ? &selection->Cells : nullptr);
    if (fragment.IsEmpty())
        return;
    QGuiApplication::clipboard()->setMimeData(fragment.ToMimeData());
    if (cut && selected)
        m_doc.DeleteSelection();
}

void CTarvexView::Paste()
{
    CFigureFragment fragment;
    if (!CFigureFragment::FromMimeData(QGuiApplication::clipboard()->mimeData(), fragment) || fragment.IsEmpty())
        return;
    const QSize grid = m_doc.Figure().GridSize();
    QPoint offset(0, 0);
    // Under the pointer when it is over the workspace: the fragment's top left cube
    // (the first in row order) lands on the cell there.
    const QPoint pointer = viewport()->mapFromGlobal(QCursor::pos());
    const QPoint target = viewport()->rect().contains(pointer)
                              ? CGridPath::CellAt(ToWorkspace(pointer), grid, DisplaySize())
                              : QPoint(-1, -1);
    if (target.x() >= 0) {
        QPoint anchor = fragment.Cells.first();
        for (const QPoint &cell : std::as_const(fragment.Cells)) {
            if (cell.y() < anchor.y() || (cell.y() == anchor.y() && cell.x() < anchor.x()))
                anchor = cell;
        }
        const int rows = target.y() - anchor.y();
        // A move by an odd number of rows onto an even row takes one more column.
        const int extra = (rows & 1) && !(target.y() & 1) ? 1 : 0;
        offset = QPoint(target.x() - anchor.x() - extra, rows);
    }
    offset = CDragOffset::Clamp(fragment.Cells, offset, grid);
    QVector<CPlacedCube> cubes;
    for (int i = 0; i < fragment.Cells.size(); ++i)
        cubes.append({CDragOffset::DropTarget(fragment.Cells[i], offset), fragment.Values[i]});
    const QVector<CColouring> colourings = fragment.ToFigure().Colourings();
    m_doc.PasteCubes(cubes, &colourings);
}

// ---------------------------------------------------------------- printing

void CTarvexView::PrintPage(QPrinter *printer) const
{
    QPainter painter(printer);
    m_doc.PrintFigure(painter, printer->pageLayout().paintRectPixels(printer->resolution()).size());
}

void CTarvexView::OnFilePrintPreview()
{
    QPrinter printer;
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, &CTarvexView::PrintPage);
    preview.exec();
}
