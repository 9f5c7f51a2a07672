// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/placecubehandler.h"

#include "document/tarvexdoc.h"
#include "geometry/gridpath.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

CPlaceCubeHandler::CPlaceCubeHandler(CTarvexDoc &doc, CViewToolHost *host)
    : m_doc(doc)
    , m_host(host)
{
}

int CPlaceCubeHandler::CurrentCube() const
{
    return m_currentCube ? m_currentCube() : EmptyCubeIndex;
}

CViewMapping CPlaceCubeHandler::Mapping() const
{
    return m_host ? m_host->Mapping() : CViewMapping(m_doc.Figure().CubeSize, QPoint());
}

QPoint CPlaceCubeHandler::ToWorkspace(const QPointF &viewportPoint) const
{
    return Mapping().ToWorkspace(viewportPoint);
}

void CPlaceCubeHandler::Remember(const QPoint &cell)
{
    m_lastPlaced = cell;
    if (!m_placed.isEmpty() && m_placed.last() == cell)
        return;
    // Enough to go back over any run of undos a hand makes.
    if (m_placed.size() >= 4096)
        m_placed.remove(0, 2048);
    m_placed.append(cell);
}

QPoint CPlaceCubeHandler::BeamStart() const
{
    // Erasing goes on from the cell emptied last; placing from the last cube placed
    // that is still there (an undo took the later ones away).
    if (CurrentCube() == EmptyCubeIndex)
        return m_lastPlaced;
    const CFigure &figure = m_doc.Figure();
    for (auto it = m_placed.crbegin(); it != m_placed.crend(); ++it) {
        if (figure.HasCell(it->x(), it->y()) && figure.Cell(it->x(), it->y()) >= 0)
            return *it;
    }
    return QPoint(-1, -1);
}

void CPlaceCubeHandler::SetBeamThickness(int thickness)
{
    thickness = qBound(1, thickness, MaxBeamThickness);
    if (thickness == m_thickness)
        return;
    m_thickness = thickness;
    if (m_host)
        UpdateBeamOutline(m_host->PointerPosition(), QGuiApplication::queryKeyboardModifiers());
    if (m_thicknessChanged)
        m_thicknessChanged(thickness);
}

void CPlaceCubeHandler::Placed(const QPoint &cell)
{
    Remember(cell);
    if (m_host)
        m_host->CellPlaced(cell);
}

QPoint CPlaceCubeHandler::NearestCell(const QPoint &workspacePoint) const
{
    return CGridPath::CellAt(workspacePoint, m_doc.Figure().GridSize(), Mapping().DisplaySize());
}

bool CPlaceCubeHandler::MousePress(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_doc.IsSelectMode())
        return false;
    const QPoint workspacePoint = ToWorkspace(event->position());
    if (event->modifiers() & Qt::ShiftModifier) {
        // Nothing yet: moving on makes it a stroke, releasing here a beam.
        m_gesture = ShiftPress;
        m_pressCell = NearestCell(workspacePoint);
        m_strokeCell = m_pressCell;
        m_lastPoint = workspacePoint;
        m_visited.clear();
        return true;
    }
    m_gesture = None;
    const QPoint cell = Mapping().CellAt(m_doc.Figure(), workspacePoint);
    if (PlaceAt(cell))
        Placed(cell);
    UpdateBeamOutline(event->position().toPoint(), event->modifiers());
    return true;
}

bool CPlaceCubeHandler::MouseMove(QMouseEvent *event)
{
    UpdateBeamOutline(event->position().toPoint(), event->modifiers());
    if (m_gesture == None || !(event->buttons() & Qt::LeftButton) || m_doc.IsSelectMode())
        return false;
    const QPoint workspacePoint = ToWorkspace(event->position());
    // The cells the stroke enters, each a neighbour of the one before.
    const QVector<QPoint> crossed = CGridPath::StrokeCells(m_strokeCell, m_lastPoint, workspacePoint,
                                                           m_doc.Figure().GridSize(), Mapping().DisplaySize());
    m_lastPoint = workspacePoint;
    if (m_gesture == ShiftPress) {
        if (crossed.isEmpty())
            return true;
        m_gesture = Stroke;
        QVector<QPoint> cells;
        if (m_pressCell.x() >= 0)
            cells.append(m_pressCell);
        cells += crossed;
        Paint(cells);
        UpdateBeamOutline(event->position().toPoint(), event->modifiers());
        return true;
    }
    Paint(crossed);
    return true;
}

bool CPlaceCubeHandler::MouseRelease(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_gesture == None)
        return false;
    const Gesture gesture = m_gesture;
    m_gesture = None;
    m_visited.clear();
    if (gesture == Stroke || m_doc.IsSelectMode()) {
        UpdateBeamOutline(event->position().toPoint(), event->modifiers());
        return true;
    }
    // A Shift+click: the beam from the last placed cube, or the one cell when there is
    // none yet.
    if (m_pressCell.x() < 0)
        return true;
    const QSize grid = m_doc.Figure().GridSize();
    const QPoint start = BeamStart();
    QVector<QPoint> cells;
    QPoint end = m_pressCell;
    if (CellExists(start.x(), start.y(), grid.width(), grid.height())) {
        cells = CGridPath::Beam(start, m_pressCell, grid, Mapping().DisplaySize(), m_thickness);
        end = CGridPath::BeamEnd(start, m_pressCell, grid, Mapping().DisplaySize());
    }
    if (cells.isEmpty())
        cells.append(m_pressCell);
    const int kind = CurrentCube();
    QVector<CPlacedCube> cubes;
    for (const QPoint &cell : std::as_const(cells))
        cubes.append({cell, kind});
    m_doc.PlaceCubes(cubes);
    Placed(end);
    UpdateBeamOutline(event->position().toPoint(), event->modifiers());
    return true;
}

void CPlaceCubeHandler::Paint(const QVector<QPoint> &cells)
{
    QVector<CPlacedCube> cubes;
    const int kind = CurrentCube();
    for (const QPoint &cell : cells) {
        const quint32 key = quint32(cell.y()) * 65536u + quint32(cell.x());
        if (cell.x() < 0 || m_visited.contains(key))
            continue;
        m_visited.insert(key);
        cubes.append({cell, kind});
    }
    if (cubes.isEmpty())
        return;
    // The stroke's first cells start its undo step; the later ones join it.
    if (m_visited.size() > cubes.size())
        m_doc.JoinNextEdit();
    m_doc.PlaceCubes(cubes);
    Placed(cubes.last().Cell);
}

bool CPlaceCubeHandler::PlaceAt(const QPoint &cell)
{
    if (!m_doc.PlaceCube(cell, CurrentCube()))
        return false;
    Remember(cell);
    return true;
}

QVector<QPoint> CPlaceCubeHandler::BeamAt(const QPoint &workspacePoint) const
{
    const QSize grid = m_doc.Figure().GridSize();
    const QPoint start = BeamStart();
    if (!CellExists(start.x(), start.y(), grid.width(), grid.height()))
        return {};
    const QPoint end = NearestCell(workspacePoint);
    if (end.x() < 0)
        return {};
    return CGridPath::Beam(start, end, grid, Mapping().DisplaySize(), m_thickness);
}

void CPlaceCubeHandler::UpdateBeamOutline(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers)
{
    if (!m_host)
        return;
    QVector<QPoint> beam;
    if ((modifiers & Qt::ShiftModifier) && !m_doc.IsSelectMode() && m_gesture != Stroke
        && m_host->IsOnViewport(viewportPoint))
        beam = BeamAt(ToWorkspace(viewportPoint));
    if (beam == m_beamOutline)
        return;
    m_host->UpdateCells(m_beamOutline);
    m_beamOutline = beam;
    m_host->UpdateCells(m_beamOutline);
}

bool CPlaceCubeHandler::KeyPress(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Shift && m_host)
        UpdateBeamOutline(m_host->PointerPosition(), event->modifiers() | Qt::ShiftModifier);
    // 1, 2 and 3 of the main keys choose the beam thickness (the keypad's move the
    // cell cursor).
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::KeypadModifier));
    if (plain && event->key() >= Qt::Key_1 && event->key() <= Qt::Key_3) {
        SetBeamThickness(event->key() - Qt::Key_0);
        return true;
    }
    return false;
}

bool CPlaceCubeHandler::KeyRelease(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Shift && !event->isAutoRepeat() && m_host)
        UpdateBeamOutline(m_host->PointerPosition(), event->modifiers() & ~Qt::ShiftModifier);
    return false;
}

void CPlaceCubeHandler::Leave()
{
    UpdateBeamOutline(QPoint(-1, -1), Qt::NoModifier);
}

void CPlaceCubeHandler::PaintFeedback(QPainter &painter) const
{
    const CViewMapping mapping = Mapping();
    const qreal width = CellOutlineWidth(mapping);
    for (const QPoint &cell : std::as_const(m_beamOutline))
        PaintCellOutline(painter, mapping, cell, Qt::black, width);
}

QRect CPlaceCubeHandler::FeedbackBounds() const
{
    const CViewMapping mapping = Mapping();
    return CellOutlineBounds(mapping, m_beamOutline, CellOutlineWidth(mapping));
}

CViewTool::CursorId CPlaceCubeHandler::Cursor(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers) const
{
    Q_UNUSED(modifiers);
    const CViewMapping mapping = Mapping();
    return mapping.CellAt(m_doc.Figure(), mapping.ToWorkspace(viewportPoint)).x() >= 0 ? CubeCursor : NoCellCursor;
}
