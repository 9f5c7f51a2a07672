// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/tarvexview.h"

#include "document/tarvexdoc.h"
#include "geometry/gridpath.h"
#include "geometry/workspacerenderer.h"
#include "view/cellcursor.h"
#include "view/paintwatch.h"
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
#include <QWheelEvent>

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
    , m_scroller(std::make_unique<CViewScroller>(*this, doc))
    , m_painter(std::make_unique<CViewPainter>())
    , m_paintWatch(std::make_unique<CPaintWatch>(*viewport(), [this] { m_painter->Forget(); }))
    , m_placeCube(std::make_unique<CPlaceCubeHandler>(doc, this))
    , m_selectMove(std::make_unique<CSelectMoveHandler>(doc, *this))
    , m_cellCursor(std::make_unique<CCellCursor>(doc, *this, *m_placeCube))
    , m_pan(std::make_unique<CPanTool>(*this))
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
    m_scroller->UpdateScrollRange();
}

CTarvexView::~CTarvexView() = default;

void CTarvexView::SetCurrentCubeSource(std::function<int()> source)
{
    m_placeCube->SetCurrentCubeSource(std::move(source));
}

void CTarvexView::SetZoomIndex(int index, const QPointF &anchor)
{
    SetZoomPercent(ZoomLevels().at(qBound(0, index, int(ZoomLevels().size()) - 1)), anchor);
}

void CTarvexView::SetZoomPercent(int percent, const QPointF &anchor)
{
    if (!m_scroller->SetZoomPercent(percent, anchor))
        return;
    viewport()->update();
    if (viewport()->underMouse())
        UpdateCursor(QGuiApplication::queryKeyboardModifiers());
    Q_EMIT ZoomChanged(ZoomPercent());
}

void CTarvexView::StepZoom(int steps, const QPointF &anchor)
{
    SetZoomPercent(m_scroller->SteppedPercent(steps), anchor);
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

void CTarvexView::OnUpdate()
{
    m_painter->FigureChanged();
    // Cubes placed on a few cells (a click, a stroke's next cells) change only those
    // cells and the corners of their neighbours: only that is drawn again.
    const QVector<QPoint> *changed = m_doc.ChangedCells();
    const CViewMapping mapping = Mapping();
    if (changed && !m_scroller->ScaleChanged()) {
        const CellPitch figurePitch = m_doc.Figure().GetCellPitch();
        const CellPitch pitch{mapping.Scaled(figurePitch.Px) + 1, mapping.Scaled(figurePitch.Py) + 1};
        for (const QPoint &cell : *changed)
            viewport()->update(
                ToViewport(CellArea(cell).adjusted(-pitch.Px / 2, -2 * pitch.Py, pitch.Px / 2, 2 * pitch.Py)));
    } else {
        m_scroller->UpdateScrollRange();
        viewport()->update();
    }
    // The mode or the cells under the pointer may have changed.
    if (viewport()->underMouse())
        UpdateCursor(QGuiApplication::queryKeyboardModifiers());
}

// ---------------------------------------------------------------- painting

void CTarvexView::paintEvent(QPaintEvent *event)
{
    if (m_scroller->ScaleChanged()) {
        // The ratio changed (the window moved to another screen).
        m_scroller->UpdateScrollRange();
    }
    const CViewMapping mapping = Mapping();
    const qreal d = DevicePixelRatio();
    // The device pixels of the exposed area are drawn at the view's scale and land 1:1
    // on the screen, so every edge is a device pixel edge.
    const QRect exposed = event->rect();
    const QRect all = QRectF(QPointF(0, 0), QSizeF(viewport()->size()) * d).toAlignedRect();
    const QRect device = QRectF(QPointF(exposed.topLeft()) * d, QSizeF(exposed.size()) * d).toAlignedRect() & all;
    if (device.isEmpty())
        return;
    QPainter painter(viewport());
    const CViewPainter::Area area{device,
                                  all.size(),
                                  event->region().rectCount() == 1,
                                  d,
                                  DeviceScroll(),
                                  mapping.Scale(),
                                  ActiveTool()->FeedbackBounds() | m_cellCursor->Bounds()};
    m_painter->Paint(painter, area, m_doc.Figure(), m_doc.Selection(), [this](QPainter &overlay) {
        ActiveTool()->PaintFeedback(overlay);
        m_cellCursor->Paint(overlay, palette().color(QPalette::Active, QPalette::Highlight));
    });
}

void CTarvexView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    m_scroller->UpdateScrollRange();
}

void CTarvexView::scrollContentsBy(int dx, int dy)
{
    // Moves what is already on screen and repaints only the strip that comes into view;
    // at a fractional ratio a logical step is no whole number of device pixels, so all
    // of it is drawn again.
    const qreal d = DevicePixelRatio();
    m_painter->Forget();
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
