// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/tarvexview.h"

#include "document/tarvexdoc.h"
#include "geometry/gridpath.h"
#include "geometry/workspacerenderer.h"
#include "view/cellcursor.h"
#include "view/pantool.h"
#include "view/placecubehandler.h"
#include "view/selectmovehandler.h"
#include "view/tarvexviewaccessible.h"
#include "view/viewpainter.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPainter>
#include <QPaintEvent>
#include <QPrinter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

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
    , m_painter(std::make_unique<CViewPainter>())
    , m_placeCube(std::make_unique<CPlaceCubeHandler>(doc, this))
    , m_selectMove(std::make_unique<CSelectMoveHandler>(doc, *this))
    , m_cellCursor(std::make_unique<CCellCursor>(doc, *this, *m_placeCube))
    , m_pan(std::make_unique<CPanTool>(*this))
    , m_zoomPercent(100)
{
    InitViewResources();
    // Before anything asks for the view's accessible interface (a name change does).
    CTarvexViewAccessible::Install();
    m_selectMove->SetMappingSource([this] { return Mapping(); });
    m_selectMove->SetRubberBandCursors(CursorFor(CopyCursor, DevicePixelRatio()),
                                       CursorFor(ArrowCursor, DevicePixelRatio()));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Workspace"));
    viewport()->setMouseTracking(true);
    // The view paints every pixel of the viewport itself.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(CursorFor(m_cursorId, DevicePixelRatio()));
    connect(&m_doc, &CTarvexDoc::UpdateAllViews, this, &CTarvexView::OnUpdate);
    // Assistive technology hears of every edit and every move of the cell cursor.
    connect(&m_doc, &CTarvexDoc::UpdateAllViews, this,
            [this] { CTarvexViewAccessible::Notify(this, CTarvexViewAccessible::Change::Figure); });
    UpdateScrollRange();
}

CTarvexView::~CTarvexView() = default;

void CTarvexView::SetCurrentCubeSource(std::function<int()> source)
{
    m_placeCube->SetCurrentCubeSource(std::move(source));
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
    m_painter->FigureChanged();
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
    const CViewPainter::Area area{device, all.size(),     event->region().rectCount() == 1,
                                  d,      DeviceScroll(), mapping.Scale()};
    m_painter->Paint(painter, area, m_doc.Figure(), m_doc.Selection(), [this](QPainter &overlay) {
        ActiveTool()->PaintFeedback(overlay);
        m_cellCursor->Paint(overlay, palette().color(QPalette::Active, QPalette::Highlight));
    });
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

CViewTool *CTarvexView::ActiveTool() const
{
    if (m_doc.IsSelectMode())
        return m_selectMove.get();
    return m_drawingTool ? m_drawingTool : static_cast<CViewTool *>(m_placeCube.get());
}

void CTarvexView::SetDrawingTool(CViewTool *tool)
{
    if (m_drawingTool == tool)
        return;
    ActiveTool()->Leave();
    m_pressTool = nullptr;
    m_drawingTool = tool;
    UpdateCursor(QGuiApplication::queryKeyboardModifiers());
}

void CTarvexView::mousePressEvent(QMouseEvent *event)
{
    const bool pan = CPanTool::Starts(event, m_spaceDown);
    if (event->button() != Qt::LeftButton && !pan) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    m_pressTool = pan ? m_pan.get() : ActiveTool();
    if (!m_pressTool->MousePress(event))
        QAbstractScrollArea::mousePressEvent(event);
}

void CTarvexView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pan->IsPanning())
        SetCursorId(ChooseCursor(event->position().toPoint(), event->modifiers()));
    CViewTool *tool = m_pressTool ? m_pressTool : ActiveTool();
    if (!tool->MouseMove(event))
        QAbstractScrollArea::mouseMoveEvent(event);
}

void CTarvexView::mouseReleaseEvent(QMouseEvent *event)
{
    CViewTool *tool = m_pressTool ? m_pressTool : ActiveTool();
    if (tool == m_pan.get() && !m_pan->IsPanning())
        tool = ActiveTool();
    if (tool->MouseRelease(event)) {
        if (tool == m_pan.get() && !m_pan->IsPanning())
            viewport()->setCursor(CursorFor(m_cursorId, DevicePixelRatio()));
    } else {
        QAbstractScrollArea::mouseReleaseEvent(event);
    }
    if (event->buttons() == Qt::NoButton)
        m_pressTool = nullptr;
}

bool CTarvexView::ZoomKeyPress(QKeyEvent *event)
{
    // Ctrl++ (or Ctrl+=, as on keyboards where + needs Shift), Ctrl+-, Ctrl+0, Ctrl+9
    // to fit the window.
    if (!(event->modifiers() & Qt::ControlModifier))
        return false;
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        ZoomIn();
        return true;
    case Qt::Key_Minus:
        ZoomOut();
        return true;
    case Qt::Key_0:
        ResetZoom();
        return true;
    case Qt::Key_9:
        ZoomToFit();
        return true;
    default:
        return false;
    }
}

void CTarvexView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space) {
        // Held for a drag that pans: its repeats do nothing more.
        m_spaceDown = true;
        if (event->isAutoRepeat()) {
            event->accept();
            return;
        }
    }
    if (ZoomKeyPress(event) || m_cellCursor->KeyPress(event) || ActiveTool()->KeyPress(event)) {
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
    if (event->key() == Qt::Key_Control)
        UpdateCursor(event->modifiers() | Qt::ControlModifier);
}

void CTarvexView::keyReleaseEvent(QKeyEvent *event)
{
    QAbstractScrollArea::keyReleaseEvent(event);
    if (event->key() == Qt::Key_Control)
        UpdateCursor(event->modifiers() & ~Qt::ControlModifier);
    if (event->key() == Qt::Key_Shift && !event->isAutoRepeat())
        m_cellCursor->EndKeyStroke();
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        m_spaceDown = false;
    ActiveTool()->KeyRelease(event);
}

void CTarvexView::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        m_cellCursor->Show();
    UpdateCells({m_cellCursor->Cell()});
}

void CTarvexView::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_cellCursor->EndKeyStroke();
    m_spaceDown = false;
    UpdateCells({m_cellCursor->Cell()});
    ActiveTool()->Leave();
}

void CTarvexView::leaveEvent(QEvent *event)
{
    QAbstractScrollArea::leaveEvent(event);
    ActiveTool()->Leave();
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
    return ActiveTool()->Cursor(viewportPoint, modifiers);
}

QCursor CTarvexView::CursorFor(CursorId id)
{
    return CursorFor(id, 1.0);
}

QCursor CTarvexView::CursorFor(CursorId id, qreal ratio)
{
    return ViewCursor(id, ratio);
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

void CTarvexView::enterEvent(QEnterEvent *event)
{
    QAbstractScrollArea::enterEvent(event);
    UpdateCursor(QGuiApplication::queryKeyboardModifiers());
}

// ---------------------------------------------------------------- what the tools ask

QRect CTarvexView::CellArea(const QPoint &cell) const
{
    // The cell's square at the display size, with room for outlines drawn around it.
    const CViewMapping mapping = Mapping();
    const int size = mapping.DisplaySize();
    return QRect(mapping.CellOrigin(cell), QSize(size + 1, size + 1)).adjusted(-3, -3, 3, 3);
}

void CTarvexView::UpdateCells(const QVector<QPoint> &cells)
{
    // Many cells (a box's outline) as the one rectangle around them: a region of
    // hundreds of squares costs more to build than the few more pixels cost to paint.
    if (cells.size() > 64) {
        QRect area;
        for (const QPoint &cell : cells)
            area |= CellArea(cell);
        viewport()->update(ToViewport(area));
        return;
    }
    for (const QPoint &cell : cells)
        viewport()->update(ToViewport(CellArea(cell)));
}

QPoint CTarvexView::PointerPosition() const
{
    return viewport()->mapFromGlobal(QCursor::pos());
}

bool CTarvexView::IsOnViewport(const QPoint &viewportPoint) const
{
    return viewport()->rect().contains(viewportPoint);
}

void CTarvexView::CellPlaced(const QPoint &cell)
{
    m_cellCursor->SetCell(cell, false);
}

QPoint CTarvexView::CellCursor() const
{
    return m_cellCursor->Cell();
}

bool CTarvexView::IsCellCursorShown() const
{
    return m_cellCursor->IsShown();
}

const QVector<QPoint> &CTarvexView::BeamOutline() const
{
    return m_placeCube->BeamOutline();
}

QPoint CTarvexView::CellUnderPointer() const
{
    const QPoint pointer = PointerPosition();
    if (!IsOnViewport(pointer))
        return QPoint(-1, -1);
    return CGridPath::CellAt(ToWorkspace(pointer), m_doc.Figure().GridSize(), DisplaySize());
}

// ---------------------------------------------------------------- printing

void CTarvexView::PrintPage(QPrinter *printer) const
{
    QPainter painter(printer);
    m_doc.PrintFigure(painter, printer->pageLayout().paintRectPixels(printer->resolution()).size());
}
