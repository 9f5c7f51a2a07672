// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/isospace.h"
#include "view/viewtool.h"

#include <QPoint>
#include <QPointF>
#include <QVector>
#include <functional>

class CTarvexDoc;

// The box tool: a drag lays out a box of cubes of the picked kind. The press sets one
// corner on the cell under the pointer; moving on, the pointer's offset along the two
// lower diagonals gives the floor's edges (x along the lower right, y along the lower
// left neighbours, either way from the corner), and while Shift is held its vertical
// movement gives the height instead (z, up or down), the floor staying as it was.
// The border of the cells the box covers is outlined while dragging; the release places the box
// back to front, one undo step, cells outside the workspace left out. A plate is a box
// one cube high. Escape cancels.
//
// From the keyboard: Space or Enter at the cell cursor sets the corner, the cursor's
// moves give the floor, Page Up and Page Down the height, and Space or Enter again
// places the box.
class CBoxTool : public CViewTool
{
public:
    CBoxTool(CTarvexDoc &doc, CViewToolHost &host);

    // Where the picked cube kind comes from (as the drawing tool's); without a source
    // the box erases.
    void SetCurrentCubeSource(std::function<int()> source) { m_currentCube = std::move(source); }

    bool MousePress(QMouseEvent *event) override;
    bool MouseMove(QMouseEvent *event) override;
    bool MouseRelease(QMouseEvent *event) override;
    // Escape, Shift (floor or height) and, laying out from the keyboard, Page Up and
    // Page Down.
    bool KeyPress(QKeyEvent *event) override;
    bool KeyRelease(QKeyEvent *event) override;
    bool CellCursorPress(const QPoint &cell) override;
    void CellCursorMoved(const QPoint &cell) override;
    void Leave() override;
    void PaintFeedback(QPainter &painter) const override;
    QRect FeedbackBounds() const override;
    CursorId Cursor(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers) const override;

    bool IsLayingOut() const { return m_gesture != None; }
    // The box's far corner from the corner cell's point (0, 0, 0).
    CIsoSpace::Point FarCorner() const { return m_far; }
    // The cells the box would fill, in placing order (outlined while laying out).
    const QVector<QPoint> &Outline() const { return m_outline; }

private:
    enum Gesture { None, Drag, Keys };

    void Start(Gesture gesture, const QPoint &cell);
    // The box follows the pointer at a workspace point (Shift: its height).
    void Follow(const QPointF &workspacePoint, bool height);
    void SetFarCorner(const CIsoSpace::Point &far);
    void Place();
    void Cancel();

    CTarvexDoc &m_doc;
    CViewToolHost &m_host;
    std::function<int()> m_currentCube;
    Gesture m_gesture = None;
    QPoint m_corner{-1, -1};
    CIsoSpace::Point m_far;
    QPointF m_centre;      // the corner cell's centre in workspace points
    QPointF m_floorShift;  // pointer movement made while setting the height
    bool m_height = false; // the pointer sets the height (Shift held)
    QPointF m_heightStart; // where it started to
    int m_heightBase = 0;  // the height then
    QVector<QPoint> m_outline;
    QVector<QPoint> m_edge; // the outline's cells on its border: the ones outlined
};
