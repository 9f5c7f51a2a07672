#include "view/tarvexview.h"

#include "document/tarvexdoc.h"
#include "geometry/workspacerenderer.h"
#include "view/placecubehandler.h"
#include "view/selectmovehandler.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPainter>
#include <QPaintEvent>
#include <QPixmap>
#include <QPrinter>
#include <QPrintPreviewDialog>
#include <QScrollBar>

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
{
    InitViewResources();
    m_selectMove->SetRubberBandCursors(CursorFor(CopyCursor), CursorFor(ArrowCursor));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    // The view paints every pixel of the viewport itself.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(CursorFor(m_cursorId));
    connect(&m_doc, &CTarvexDoc::UpdateAllViews, this, &CTarvexView::OnUpdate);
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

QPoint CTarvexView::ToWorkspace(const QPoint &viewportPoint) const
{
    return viewportPoint + ScrollPosition();
}

void CTarvexView::UpdateScrollRange()
{
    // The viewport the workspace gets: all of it when the workspace fits, less the
    // room of each scroll bar it needs otherwise.
    const QSize total = m_doc.GetWorkspaceSize();
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
    UpdateScrollRange();
    viewport()->update();
    // The mode or the cells under the pointer may have changed.
    if (viewport()->underMouse())
        UpdateCursor(QGuiApplication::queryKeyboardModifiers());
}

// ---------------------------------------------------------------- painting

void CTarvexView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    painter.fillRect(exposed, ColorFromRef(m_doc.BkColor));
    const QPoint scroll = ScrollPosition();
    painter.translate(-scroll);
    CWorkspaceRenderer::Params params;
    params.CubeSize = m_doc.CubeSize;
    params.Dots = true;
    params.Selected = m_doc.SelectedCells();
    m_renderer->Draw(painter, m_doc.Figure(), exposed.translated(scroll), params);
    m_selectMove->PaintFeedback(painter);
}

void CTarvexView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void CTarvexView::scrollContentsBy(int dx, int dy)
{
    // Moves what is already on screen and repaints only the strip that comes into view.
    viewport()->scroll(dx, dy);
}

// ---------------------------------------------------------------- placing cubes

bool CTarvexView::PlaceCubeAt(const QPoint &workspacePoint)
{
    return m_placeCube->PlaceAt(workspacePoint);
}

void CTarvexView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    if (!m_selectMove->MousePress(event))
        m_placeCube->MousePress(event, ToWorkspace(event->position().toPoint()));
}

void CTarvexView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    m_selectMove->MouseRelease(event);
}

void CTarvexView::keyPressEvent(QKeyEvent *event)
{
    QAbstractScrollArea::keyPressEvent(event);
    if (event->key() == Qt::Key_Control)
        UpdateCursor(event->modifiers() | Qt::ControlModifier);
    else
        m_selectMove->KeyPress(event);
}

void CTarvexView::keyReleaseEvent(QKeyEvent *event)
{
    QAbstractScrollArea::keyReleaseEvent(event);
    if (event->key() == Qt::Key_Control)
        UpdateCursor(event->modifiers() & ~Qt::ControlModifier);
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

CTarvexView::CursorId CTarvexView::ChooseCursor(const QPoint &viewportPoint,
                                                Qt::KeyboardModifiers modifiers) const
{
    if (m_doc.IsSelectMode())
        return (modifiers & Qt::ControlModifier) ? CopyCursor : ArrowCursor;
    const QPoint p = ToWorkspace(viewportPoint);
    return m_doc.CellFromPoint(p.x(), p.y()).x() >= 0 ? CubeCursor : NoCellCursor;
}

QCursor CTarvexView::CursorFor(CursorId id)
{
    switch (id) {
    case CubeCursor:
        return QCursor(QPixmap(QStringLiteral(":/pictures/cursor-cube.png")), 10, 10);
    case NoCellCursor:
        return QCursor(QPixmap(QStringLiteral(":/pictures/cursor-nocell.png")), 10, 9);
    case CopyCursor:
        return QCursor(QPixmap(QStringLiteral(":/pictures/cursor-copy.png")), 0, 0);
    case ArrowCursor:
        break;
    }
    return QCursor(QPixmap(QStringLiteral(":/pictures/cursor-arrow.png")), 0, 0);
}

void CTarvexView::SetCursorId(CursorId id)
{
    if (id == m_cursorId)
        return;
    m_cursorId = id;
    viewport()->setCursor(CursorFor(id));
}

void CTarvexView::UpdateCursor(Qt::KeyboardModifiers modifiers)
{
    SetCursorId(ChooseCursor(viewport()->mapFromGlobal(QCursor::pos()), modifiers));
}

void CTarvexView::mouseMoveEvent(QMouseEvent *event)
{
    SetCursorId(ChooseCursor(event->position().toPoint(), event->modifiers()));
    if (!m_selectMove->MouseMove(event))
        QAbstractScrollArea::mouseMoveEvent(event);
}

void CTarvexView::enterEvent(QEnterEvent *event)
{
    QAbstractScrollArea::enterEvent(event);
    UpdateCursor(QGuiApplication::queryKeyboardModifiers());
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
