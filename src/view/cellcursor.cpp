// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/cellcursor.h"

#include "document/tarvexdoc.h"
#include "geometry/gridpath.h"
#include "view/placecubehandler.h"
#include "view/tarvexview.h"
#include "view/tarvexviewaccessible.h"

#include <QKeyEvent>
#include <QScrollBar>

CCellCursor::CCellCursor(CTarvexDoc &doc, CTarvexView &view, CPlaceCubeHandler &placer)
    : m_doc(doc)
    , m_view(view)
    , m_placer(placer)
{
}

void CCellCursor::SetCell(const QPoint &cell, bool show)
{
    const QSize grid = m_doc.Figure().GridSize();
    if (!CellExists(cell.x(), cell.y(), grid.width(), grid.height()))
        return;
    // Only a cursor on screen needs repainting.
    const bool onScreen = m_shown && m_view.hasFocus();
    if (onScreen)
        m_view.UpdateCells({m_cell});
    m_cell = cell;
    m_shown = m_shown || show;
    if (m_shown && m_view.hasFocus())
        m_view.UpdateCells({m_cell});
    CTarvexViewAccessible::Notify(&m_view, CTarvexViewAccessible::Change::CellCursor);
    if (show) {
        // Scroll just enough to show the cell.
        const QRect area = m_view.ToViewport(m_view.CellArea(cell));
        const QRect room = m_view.viewport()->rect();
        QScrollBar *h = m_view.horizontalScrollBar();
        QScrollBar *v = m_view.verticalScrollBar();
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

void CCellCursor::Paint(QPainter &painter, const QColor &colour) const
{
    if (!m_shown || !m_view.hasFocus())
        return;
    const CViewMapping mapping = m_view.Mapping();
    PaintCellOutline(painter, mapping, m_cell, colour, CellOutlineWidth(mapping));
}

QRect CCellCursor::Bounds() const
{
    if (!m_shown || !m_view.hasFocus())
        return QRect();
    const CViewMapping mapping = m_view.Mapping();
    return CellOutlineBounds(mapping, {m_cell}, CellOutlineWidth(mapping));
}

bool CCellCursor::KeyPress(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool selectMode = m_doc.IsSelectMode();
    // A smaller grid (another figure, the options) may have lost the cursor's cell.
    const QSize grid = m_doc.Figure().GridSize();
    if (!CellExists(m_cell.x(), m_cell.y(), grid.width(), grid.height()))
        m_cell = QPoint(0, 0);
    // Left and Right along the row; the other moves to a neighbour: Up and Down two
    // rows, the keypad's 7, 9, 1 and 3 (with or without Num Lock) the diagonals.
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    int dx = 0;
    int direction = -1;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -1;
        break;
    case Qt::Key_Right:
        dx = 1;
        break;
    case Qt::Key_Up:
        direction = Top;
        break;
    case Qt::Key_Down:
        direction = Bottom;
        break;
    case Qt::Key_7:
    case Qt::Key_Home:
    case Qt::Key_9:
    case Qt::Key_PageUp:
    case Qt::Key_1:
    case Qt::Key_End:
    case Qt::Key_3:
    case Qt::Key_PageDown: {
        if (!keypad)
            return false;
        const int key = event->key();
        direction = (key == Qt::Key_7 || key == Qt::Key_Home)     ? UpperLeft
                    : (key == Qt::Key_9 || key == Qt::Key_PageUp) ? UpperRight
                    : (key == Qt::Key_1 || key == Qt::Key_End)    ? LowerLeft
                                                                  : LowerRight;
        break;
    }
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (mods != Qt::NoModifier)
            return false;
        SetCell(m_cell, true);
        if (selectMode) {
            // Space toggles the cube under the cursor in the selection.
            if (event->key() == Qt::Key_Space && m_doc.Figure().Cell(m_cell.x(), m_cell.y()) >= 0)
                m_doc.ClickSelect(m_cell, true);
        } else if (!m_view.ActiveTool()->CellCursorPress(m_cell)) {
            m_placer.PlaceAt(m_cell);
        }
        return true;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        // In select-and-move mode Delete removes the selection (the select tool).
        if (selectMode || mods != Qt::NoModifier)
            return false;
        SetCell(m_cell, true);
        // An empty cell stays as it is: no undo step that changes nothing.
        if (m_doc.Figure().HasCell(m_cell.x(), m_cell.y()) && m_doc.Figure().Cell(m_cell.x(), m_cell.y()) >= 0)
            m_doc.PlaceCube(m_cell, EmptyCell);
        return true;
    default:
        return false;
    }
    if (mods == Qt::ControlModifier) {
        // Ctrl+arrows move the selection by one cell: along the row, or straight up or
        // down (two rows, the up and down neighbours). A held key's repeats join the
        // press's undo step.
        if (!selectMode || !m_doc.Selection() || m_doc.Selection()->IsEmpty())
            return true;
        if (direction != Top && direction != Bottom && dx == 0)
            return true; // the selection moves along the row and straight up and down
        const QPoint offset(dx, direction == Top ? -2 : direction == Bottom ? 2 : 0);
        if (m_doc.ClampDragOffset(offset) != offset)
            return true; // a cube would leave the grid
        if (event->isAutoRepeat())
            m_doc.JoinNextEdit();
        m_doc.DropSelection(offset, false);
        return true;
    }
    if (mods != Qt::NoModifier && mods != Qt::ShiftModifier)
        return false;
    QPoint next = m_cell;
    if (dx != 0) {
        if (CellExists(m_cell.x() + dx, m_cell.y(), grid.width(), grid.height()))
            next.rx() += dx;
    } else {
        next = CGridPath::NeighbourStep(m_cell, direction, grid);
    }
    SetCell(next, true);
    m_view.ActiveTool()->CellCursorMoved(next);
    // Shift+moves paint with the cube placing tool only; another drawing tool (the box)
    // takes the moves as they are.
    if (mods == Qt::ShiftModifier && !selectMode && m_view.ActiveTool() == &m_placer) {
        // A keyboard stroke: one undo step while Shift stays down.
        if (m_keyStroke)
            m_doc.JoinNextEdit();
        m_keyStroke = m_placer.PlaceAt(next) || m_keyStroke;
    }
    return true;
}
