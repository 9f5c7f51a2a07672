// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/pantool.h"

#include <QAbstractScrollArea>
#include <QMouseEvent>
#include <QScrollBar>

CPanTool::CPanTool(QAbstractScrollArea &view)
    : m_view(view)
{
}

bool CPanTool::Starts(const QMouseEvent *event, bool spaceDown)
{
    return event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && spaceDown);
}

bool CPanTool::MousePress(QMouseEvent *event)
{
    if (IsPanning())
        return true;
    m_button = event->button();
    m_from = event->position();
    m_scroll = QPoint(m_view.horizontalScrollBar()->value(), m_view.verticalScrollBar()->value());
    m_view.viewport()->setCursor(Qt::ClosedHandCursor);
    return true;
}

bool CPanTool::MouseMove(QMouseEvent *event)
{
    if (!IsPanning())
        return false;
    const QPoint moved = (event->position() - m_from).toPoint();
    m_view.horizontalScrollBar()->setValue(m_scroll.x() - moved.x());
    m_view.verticalScrollBar()->setValue(m_scroll.y() - moved.y());
    return true;
}

bool CPanTool::MouseRelease(QMouseEvent *event)
{
    if (!IsPanning() || event->button() != m_button)
        return IsPanning();
    m_button = Qt::NoButton;
    return true;
}

CViewTool::CursorId CPanTool::Cursor(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers) const
{
    Q_UNUSED(viewportPoint);
    Q_UNUSED(modifiers);
    return ArrowCursor;
}
