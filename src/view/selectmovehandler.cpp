// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/selectmovehandler.h"

#include "document/tarvexdoc.h"
#include "geometry/cubepainter.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

namespace {

// Inverts the pixels of a horizontal or vertical line from a to b, leaving out b.
void XorLineWithoutEnd(QPainter &painter, const QPoint &a, const QPoint &b)
{
    QRect line;
    if (a.y() == b.y() && a.x() != b.x())
        line = a.x() < b.x() ? QRect(a.x(), a.y(), b.x() - a.x(), 1) : QRect(b.x() + 1, a.y(), a.x() - b.x(), 1);
    else if (a.x() == b.x() && a.y() != b.y())
        line = a.y() < b.y() ? QRect(a.x(), a.y(), 1, b.y() - a.y()) : QRect(a.x(), b.y() + 1, 1, a.y() - b.y());
    if (!line.isEmpty())
        painter.fillRect(line, Qt::white);
}

Qt::DropAction ActionFor(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction;
}

} // namespace

void DrawXorRect(QPainter &painter, int x1, int y1, int x2, int y2)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    // Side by side, as a polyline through the corners back to the first one. Where
    // the rectangle has no width or height, two sides cover the same pixels and cancel.
    const QPoint corners[] = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}};
    for (int i = 0; i < 4; ++i)
        XorLineWithoutEnd(painter, corners[i], corners[i + 1]);
    painter.restore();
}

CSelectMoveHandler::CSelectMoveHandler(CTarvexDoc &doc, QAbstractScrollArea &view, QObject *parent)
    : QObject(parent)
    , m_doc(doc)
    , m_view(view)
    // Until the main window names the format, one that is still unique to this process.
    , m_format(QStringLiteral("application/x-tarvex-DragCube-%1").arg(QCoreApplication::applicationPid()))
    , m_autoScroll(new QTimer(this))
{
    Viewport()->setAcceptDrops(true);
    m_autoScroll->setInterval(AutoScrollInterval);
    connect(m_autoScroll, &QTimer::timeout, this, &CSelectMoveHandler::OnAutoScroll);
}

CSelectMoveHandler::~CSelectMoveHandler() = default;

void CSelectMoveHandler::SetRubberBandCursors(const QCursor &copy, const QCursor &move)
{
    m_copyCursor = DragCursorPicture(copy);
    m_moveCursor = DragCursorPicture(move);
}

QPixmap CSelectMoveHandler::DragCursorPicture(const QCursor &cursor)
{
    const QPixmap picture = cursor.pixmap();
    if (picture.isNull() || QGuiApplication::platformName() == QLatin1String("windows"))
        return picture;
    const QPoint hot = cursor.hotSpot();
    const QSize size(2 * qMax(hot.x(), picture.width() - hot.x()), 2 * qMax(hot.y(), picture.height() - hot.y()));
    QPixmap widened(size);
    widened.fill(Qt::transparent);
    QPainter painter(&widened);
    painter.drawPixmap(size.width() / 2 - hot.x(), size.height() / 2 - hot.y(), picture);
    return widened;
}

QWidget *CSelectMoveHandler::Viewport() const
{
    return m_view.viewport();
}

CViewMapping CSelectMoveHandler::Mapping() const
{
    if (m_mapping)
        return m_mapping();
    return CViewMapping(m_doc.Figure().CubeSize,
                        QPoint(m_view.horizontalScrollBar()->value(), m_view.verticalScrollBar()->value()));
}

// ---------------------------------------------------------------- mouse and keyboard

bool CSelectMoveHandler::MousePress(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_doc.IsSelectMode())
        return false;
    // The drag begins once the pointer has moved far enough with the button held.
    m_pressPending = true;
    m_pressPoint = event->position().toPoint();
    m_pressPosition = event->position();
    return true;
}

bool CSelectMoveHandler::MouseMove(QMouseEvent *event)
{
    if (!m_pressPending)
        return false;
    if (!(event->buttons() & Qt::LeftButton)) {
        // The release went elsewhere; this press is over.
        m_pressPending = false;
        return false;
    }
    if ((event->position().toPoint() - m_pressPoint).manhattanLength() < QApplication::startDragDistance())
        return true;
    m_pressPending = false;
    RunDrag();
    return true;
}

bool CSelectMoveHandler::MouseRelease(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressPending)
        return false;
    m_pressPending = false;
    Click(Mapping().ToWorkspace(event->position()), event->modifiers() & Qt::ControlModifier);
    return true;
}

bool CSelectMoveHandler::KeyPress(QKeyEvent *event)
{
    if (!m_doc.IsSelectMode())
        return false;
    const Qt::KeyboardModifiers others = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (event->key() == Qt::Key_Delete) {
        event->accept();
        m_doc.DeleteSelection();
        return true;
    }
    // M mirrors the selection, R turns it a third of a turn clockwise, Shift+R back.
    if (others != Qt::NoModifier || (event->key() != Qt::Key_M && event->key() != Qt::Key_R))
        return false;
    event->accept();
    if (event->key() == Qt::Key_M)
        m_doc.TransformSelection(CGridTransform::Mirror);
    else
        m_doc.TransformSelection((event->modifiers() & Qt::ShiftModifier) ? CGridTransform::RotateAnticlockwise
                                                                          : CGridTransform::RotateClockwise);
    return true;
}

CViewTool::CursorId CSelectMoveHandler::Cursor(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers) const
{
    Q_UNUSED(viewportPoint);
    return (modifiers & Qt::ControlModifier) ? CopyCursor : ArrowCursor;
}

void CSelectMoveHandler::Click(const QPoint &point, bool ctrl)
{
    m_doc.ClickSelect(Mapping().CubeAt(m_doc.Figure(), point), ctrl);
}

// ---------------------------------------------------------------- the drag

void CSelectMoveHandler::RunDrag()
{
    const CCubeSelection *selection = m_doc.Selection();
    if (!selection)
        return;
    const CViewMapping mapping = Mapping();
    const QPoint start = mapping.ToWorkspace(m_pressPosition);
    const int size = mapping.DisplaySize();
    const QPoint cube = mapping.CubeAt(m_doc.Figure(), start);

    // The data only marks the drag as ours; what moves is the document's selection.
    auto *data = new QMimeData;
    data->setData(m_format, QByteArray(16, '\0'));
    auto *drag = new QDrag(Viewport());
    drag->setMimeData(data);
    // Only the cursor shows the drag. Without a picture of its own the drag would put
    // an empty one-pixel window next to the pointer.
    QPixmap nothing(1, 1);
    nothing.fill(Qt::transparent);
    drag->setPixmap(nothing);

    m_dragStart = start;
    m_lastFeedback = NoFeedback;
    if (cube.x() >= 0 && selection->Contains(cube.x(), cube.y())) {
        m_dragMode = MoveSelection;
        // The squares of the cubes the outlines are drawn for.
        m_selectionBounds = QRect();
        const QSize square(size + 1, size + 1);
        for (const QPoint &cell : m_doc.MovableCells())
            m_selectionBounds |= QRect(mapping.CellOrigin(cell), square);
    } else {
        m_dragMode = RubberBand;
        if (!m_copyCursor.isNull())
            drag->setDragCursor(m_copyCursor, Qt::CopyAction);
        if (!m_moveCursor.isNull())
            drag->setDragCursor(m_moveCursor, Qt::MoveAction);
    }

    const Qt::DropAction result = m_runDrag ? m_runDrag(*drag)
                                            : drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);

    StopAutoScroll();
    SetFeedback(NoFeedback);
    m_dragMode = NoDrag;
    drag->deleteLater();

    // Cancelled, or dropped where nothing took it: the press was a click after all.
    if (result == Qt::IgnoreAction) {
        const QPoint pointer = Mapping().ToWorkspace(Viewport()->mapFromGlobal(QCursor::pos()));
        Click(pointer, QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier);
    }
}

bool CSelectMoveHandler::IsOwnDrag(const QMimeData *data) const
{
    return m_dragMode != NoDrag && m_doc.IsSelectMode() && data && data->hasFormat(m_format);
}

bool CSelectMoveHandler::DragEnter(QDragEnterEvent *event)
{
    return DragMove(event);
}

bool CSelectMoveHandler::DragMove(QDragMoveEvent *event)
{
    if (!IsOwnDrag(event->mimeData())) {
        event->ignore();
        return false;
    }
    const QPointF point = event->position();
    m_dragPoint = point;
    m_dragModifiers = event->modifiers();
    event->setDropAction(OnDragOver(Mapping().ToWorkspace(point), event->modifiers()));
    event->accept();
    UpdateAutoScroll(point.toPoint());
    return true;
}

bool CSelectMoveHandler::DragLeave(QDragLeaveEvent *)
{
    if (m_dragMode == NoDrag)
        return false;
    StopAutoScroll();
    SetFeedback(NoFeedback);
    return true;
}

bool CSelectMoveHandler::Drop(QDropEvent *event)
{
    if (!IsOwnDrag(event->mimeData())) {
        event->ignore();
        return false;
    }
    StopAutoScroll();
    const Qt::DropAction action = ActionFor(event->modifiers());
    event->setDropAction(action);
    event->accept();
    OnDrop(Mapping().ToWorkspace(event->position()), action);
    return true;
}

Qt::DropAction CSelectMoveHandler::OnDragOver(const QPoint &point, Qt::KeyboardModifiers modifiers)
{
    if (m_dragMode == MoveSelection) {
        // The outlines jump from cell to cell: the press point moved by the snapped
        // offset, half a pitch further right after an odd number of rows.
        const CViewMapping mapping = Mapping();
        const QPoint offset = m_doc.ClampDragOffset(mapping.DragOffset(m_dragStart, point));
        SetFeedback(m_dragStart + mapping.ShiftOf(offset));
    } else if (m_dragMode == RubberBand) {
        SetFeedback(point);
    }
    return ActionFor(modifiers);
}

void CSelectMoveHandler::OnDrop(const QPoint &point, Qt::DropAction action)
{
    SetFeedback(NoFeedback);
    const bool copy = action == Qt::CopyAction;
    const CViewMapping mapping = Mapping();
    if (m_dragMode == MoveSelection)
        m_doc.DropSelection(mapping.DragOffset(m_dragStart, point), copy);
    else if (m_dragMode == RubberBand)
        m_doc.SelectCells(mapping.CubesInRect(m_doc.Figure(), m_dragStart, point), copy);
}

// ---------------------------------------------------------------- feedback

QRect CSelectMoveHandler::FeedbackRect() const
{
    if (m_lastFeedback == NoFeedback)
        return QRect();
    if (m_dragMode == MoveSelection)
        return m_selectionBounds.translated(m_lastFeedback - m_dragStart);
    if (m_dragMode == RubberBand)
        return QRect(QPoint(qMin(m_dragStart.x(), m_lastFeedback.x()), qMin(m_dragStart.y(), m_lastFeedback.y())),
                     QPoint(qMax(m_dragStart.x(), m_lastFeedback.x()), qMax(m_dragStart.y(), m_lastFeedback.y())));
    return QRect();
}

void CSelectMoveHandler::SetFeedback(const QPoint &feedback)
{
    if (feedback == m_lastFeedback)
        return;
    // Qt paints only in paint events: repaint where the old feedback was and where the
    // new one goes; the paint draws the current feedback over the workspace.
    QRect dirty = FeedbackRect();
    m_lastFeedback = feedback;
    dirty |= FeedbackRect();
    if (!dirty.isEmpty())
        Viewport()->update(Mapping().ToViewport(dirty));
}

void CSelectMoveHandler::PaintFeedback(QPainter &painter) const
{
    if (m_lastFeedback == NoFeedback)
        return;
    if (m_dragMode == MoveSelection) {
        const QPoint shift = m_lastFeedback - m_dragStart;
        const CViewMapping mapping = Mapping();
        CCubePainter cube;
        cube.Size = mapping.DisplaySize();
        const CFigure &figure = m_doc.Figure();
        for (const QPoint &cell : m_doc.MovableCells()) {
            const QPoint origin = mapping.CellOrigin(cell);
            cube.Index = KindOfCell(figure.Cell(cell.x(), cell.y()));
            cube.Left = origin.x();
            cube.Top = origin.y();
            cube.DrawFrameXor(painter, shift.x(), shift.y());
        }
    } else if (m_dragMode == RubberBand) {
        DrawXorRect(painter, m_dragStart.x(), m_dragStart.y(), m_lastFeedback.x(), m_lastFeedback.y());
    }
}

QRect CSelectMoveHandler::FeedbackBounds() const
{
    if (m_lastFeedback == NoFeedback)
        return QRect();
    if (m_dragMode == MoveSelection) {
        // Each frame lies on its cube's square, moved.
        const QPoint shift = m_lastFeedback - m_dragStart;
        const CViewMapping mapping = Mapping();
        const int size = mapping.DisplaySize();
        QRect bounds;
        for (const QPoint &cell : m_doc.MovableCells())
            bounds |= QRect(mapping.CellOrigin(cell) + shift, QSize(size + 1, size + 1));
        return bounds.isNull() ? bounds : bounds.adjusted(-1, -1, 1, 1);
    }
    if (m_dragMode == RubberBand)
        return QRect(m_dragStart, m_lastFeedback).normalized().adjusted(-1, -1, 1, 1);
    return QRect();
}

// ---------------------------------------------------------------- scrolling while dragging

QPoint CSelectMoveHandler::AutoScrollStep() const
{
    const QRect area = Viewport()->rect();
    const QScrollBar *h = m_view.horizontalScrollBar();
    const QScrollBar *v = m_view.verticalScrollBar();
    int dx = 0;
    int dy = 0;
    if (m_dragPoint.x() < area.left() + AutoScrollMargin && h->value() > h->minimum())
        dx = -1;
    else if (m_dragPoint.x() > area.right() - AutoScrollMargin && h->value() < h->maximum())
        dx = 1;
    if (m_dragPoint.y() < area.top() + AutoScrollMargin && v->value() > v->minimum())
        dy = -1;
    else if (m_dragPoint.y() > area.bottom() - AutoScrollMargin && v->value() < v->maximum())
        dy = 1;
    return QPoint(dx, dy);
}

void CSelectMoveHandler::UpdateAutoScroll(const QPoint &viewportPoint)
{
    if (m_dragPoint.toPoint() != viewportPoint)
        m_dragPoint = viewportPoint;
    if (AutoScrollStep().isNull())
        StopAutoScroll();
    else if (!m_autoScroll->isActive())
        m_autoScroll->start();
}

void CSelectMoveHandler::StopAutoScroll()
{
    m_autoScroll->stop();
}

bool CSelectMoveHandler::IsAutoScrolling() const
{
    return m_autoScroll->isActive();
}

void CSelectMoveHandler::OnAutoScroll()
{
    const QPoint step = AutoScrollStep();
    if (step.isNull() || m_dragMode == NoDrag) {
        StopAutoScroll();
        return;
    }
    QScrollBar *h = m_view.horizontalScrollBar();
    QScrollBar *v = m_view.verticalScrollBar();
    h->setValue(h->value() + step.x() * h->singleStep());
    v->setValue(v->value() + step.y() * v->singleStep());
    // The pointer stands still over a workspace that moved under it; the feedback
    // follows the workspace point now under the pointer. The whole viewport is painted
    // again so that no feedback carried along by the scroll is left behind.
    Viewport()->update();
    OnDragOver(Mapping().ToWorkspace(m_dragPoint), m_dragModifiers);
}
