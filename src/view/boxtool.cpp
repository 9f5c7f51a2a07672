// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/boxtool.h"

#include "document/tarvexdoc.h"
#include "geometry/cubegeometry.h"
#include "geometry/gridpath.h"
#include "geometry/viewmapping.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSet>

#include <cmath>

CBoxTool::CBoxTool(CTarvexDoc &doc, CViewToolHost &host)
    : m_doc(doc)
    , m_host(host)
{
}

void CBoxTool::Start(Gesture gesture, const QPoint &cell)
{
    Cancel();
    m_gesture = gesture;
    m_corner = cell;
    const CViewMapping mapping = m_host.Mapping();
    const qreal half = mapping.DisplaySize() / 2.0;
    m_centre = QPointF(mapping.CellOrigin(cell)) + QPointF(half, half);
    m_floorShift = QPointF();
    m_height = false;
    m_far = {};
    SetFarCorner(m_far);
}

void CBoxTool::Follow(const QPointF &workspacePoint, bool height)
{
    if (height && !m_height) {
        m_heightStart = workspacePoint;
        m_heightBase = m_far.z;
    } else if (!height && m_height) {
        // The floor goes on from where it was when Shift went down.
        m_floorShift += workspacePoint - m_heightStart;
    }
    m_height = height;
    // The pitch of the drawn cells: half columns across, rows down.
    const CViewMapping mapping = m_host.Mapping();
    const CellPitch pitch = ComputeCellPitch(mapping.CubeSize());
    const double halfColumn = pitch.Px * mapping.Scale() / 2;
    const double row = pitch.Py * mapping.Scale();
    CIsoSpace::Point far = m_far;
    if (height) {
        // A cube up is two rows up.
        far.z = m_heightBase + int(std::lround((m_heightStart.y() - workspacePoint.y()) / (2 * row)));
    } else {
        const QPointF offset = workspacePoint - m_floorShift - m_centre;
        const CIsoSpace::Point floor = CIsoSpace::FloorPointAt(offset.x() / halfColumn, offset.y() / row);
        far.x = floor.x;
        far.y = floor.y;
    }
    SetFarCorner(far);
}

void CBoxTool::SetFarCorner(const CIsoSpace::Point &far)
{
    // Never larger than the grid has room for: z a cube per two rows, x and y a step
    // per half column or row.
    const QSize grid = m_doc.Figure().GridSize();
    const int reach = 2 * grid.width() + grid.height();
    m_far = {qBound(-reach, far.x, reach), qBound(-reach, far.y, reach),
             qBound(-grid.height() / 2, far.z, grid.height() / 2)};
    QVector<QPoint> outline;
    if (m_gesture != None)
        outline = CIsoSpace::PlacingOrder(m_corner, CIsoSpace::BoxFront({}, m_far), grid);
    if (outline == m_outline)
        return;
    m_host.UpdateCells(m_outline);
    m_outline = outline;
    // Only the cells with a neighbour outside the box are outlined: its border shows
    // its shape (and where the workspace cuts it) without a honeycomb over its inside.
    QSet<QPoint> inside(m_outline.begin(), m_outline.end());
    m_edge.clear();
    for (const QPoint &cell : std::as_const(m_outline)) {
        for (int d = 0; d < NeighbourCount; ++d) {
            if (!inside.contains(NeighbourCell(cell.x(), cell.y(), d))) {
                m_edge.append(cell);
                break;
            }
        }
    }
    m_host.UpdateCells(m_outline);
}

void CBoxTool::Place()
{
    const QVector<QPoint> cells = m_outline;
    Cancel();
    if (cells.isEmpty())
        return;
    const int kind = m_currentCube ? m_currentCube() : EmptyCubeIndex;
    QVector<CPlacedCube> cubes;
    cubes.reserve(cells.size());
    for (const QPoint &cell : cells)
        cubes.append({cell, kind});
    m_doc.PlaceCubes(cubes);
    m_host.CellPlaced(cells.last());
}

void CBoxTool::Cancel()
{
    if (m_gesture == None)
        return;
    m_gesture = None;
    SetFarCorner({});
}

bool CBoxTool::MousePress(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_doc.IsSelectMode())
        return false;
    const CViewMapping mapping = m_host.Mapping();
    const QPoint cell = CGridPath::CellAt(mapping.ToWorkspace(event->position()), m_doc.Figure().GridSize(),
                                          mapping.DisplaySize());
    if (cell.x() < 0) {
        Cancel();
        return true;
    }
    Start(Drag, cell);
    // A press with Shift held starts at the height.
    if (event->modifiers() & Qt::ShiftModifier) {
        m_height = true;
        m_heightStart = mapping.ToWorkspace(event->position());
    }
    return true;
}

bool CBoxTool::MouseMove(QMouseEvent *event)
{
    if (m_gesture != Drag || !(event->buttons() & Qt::LeftButton))
        return false;
    Follow(m_host.Mapping().ToWorkspace(event->position()), event->modifiers() & Qt::ShiftModifier);
    return true;
}

bool CBoxTool::MouseRelease(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    // A drag cancelled by Escape ends here with nothing placed.
    if (m_gesture == Drag) {
        Follow(m_host.Mapping().ToWorkspace(event->position()), event->modifiers() & Qt::ShiftModifier);
        Place();
    }
    return true;
}

bool CBoxTool::KeyPress(QKeyEvent *event)
{
    if (m_gesture == None)
        return false;
    switch (event->key()) {
    case Qt::Key_Escape:
        Cancel();
        return true;
    case Qt::Key_Shift:
        if (m_gesture == Drag)
            Follow(m_host.Mapping().ToWorkspace(m_host.PointerPosition()), true);
        return false;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (m_gesture != Keys || (event->modifiers() & Qt::KeypadModifier))
            return false;
        SetFarCorner({m_far.x, m_far.y, m_far.z + (event->key() == Qt::Key_PageUp ? 1 : -1)});
        return true;
    default:
        return false;
    }
}

bool CBoxTool::KeyRelease(QKeyEvent *event)
{
    if (m_gesture == Drag && event->key() == Qt::Key_Shift && !event->isAutoRepeat())
        Follow(m_host.Mapping().ToWorkspace(m_host.PointerPosition()), false);
    return false;
}

bool CBoxTool::CellCursorPress(const QPoint &cell)
{
    if (m_doc.IsSelectMode())
        return false;
    if (m_gesture == Keys)
        Place();
    else
        Start(Keys, cell);
    return true;
}

void CBoxTool::CellCursorMoved(const QPoint &cell)
{
    if (m_gesture != Keys)
        return;
    // The floor point of the cursor's cell: x - y half columns right, x + y rows down.
    const int halfColumns = CGridPath::HalfColumn(cell) - CGridPath::HalfColumn(m_corner);
    const int rows = cell.y() - m_corner.y();
    const CIsoSpace::Point floor = CIsoSpace::FloorPointAt(halfColumns, rows);
    SetFarCorner({floor.x, floor.y, m_far.z});
}

void CBoxTool::Leave()
{
    Cancel();
}

void CBoxTool::PaintFeedback(QPainter &painter) const
{
    const CViewMapping mapping = m_host.Mapping();
    const qreal width = CellOutlineWidth(mapping);
    for (const QPoint &cell : m_edge)
        PaintCellOutline(painter, mapping, cell, Qt::black, width);
}

QRect CBoxTool::FeedbackBounds() const
{
    const CViewMapping mapping = m_host.Mapping();
    return CellOutlineBounds(mapping, m_edge, CellOutlineWidth(mapping));
}

CViewTool::CursorId CBoxTool::Cursor(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers) const
{
    Q_UNUSED(modifiers);
    const CViewMapping mapping = m_host.Mapping();
    return CGridPath::CellAt(mapping.ToWorkspace(viewportPoint), m_doc.Figure().GridSize(), mapping.DisplaySize()).x()
                   >= 0
               ? CubeCursor
               : NoCellCursor;
}
