// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "view/viewtool.h"

#include <QPointF>

class QAbstractScrollArea;

// Moving the view by hand: a drag with the middle button, or with the left one while
// Space is held, scrolls the view so that the workspace point under the pointer stays
// under it. The view hands it those presses and what follows them.
class CPanTool : public CViewTool
{
public:
    explicit CPanTool(QAbstractScrollArea &view);

    // Whether a press starts a pan: the middle button, or the left one with Space down.
    static bool Starts(const QMouseEvent *event, bool spaceDown);

    bool MousePress(QMouseEvent *event) override;
    bool MouseMove(QMouseEvent *event) override;
    bool MouseRelease(QMouseEvent *event) override;
    bool IsPanning() const { return m_button != Qt::NoButton; }
    // The closed hand while panning (set on the viewport itself; the view's own ids
    // stay for the other tools).
    CursorId Cursor(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers) const override;
    QRect FeedbackBounds() const override { return QRect(); } // paints none

private:
    QAbstractScrollArea &m_view;
    Qt::MouseButton m_button = Qt::NoButton;
    QPointF m_from;  // where the pan started (viewport)...
    QPoint m_scroll; // ...and the scroll bars' values then
};
