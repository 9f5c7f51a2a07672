// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/viewmapping.h"
#include "view/viewtool.h"

#include <QPoint>
#include <QSet>
#include <QVector>
#include <functional>

class CTarvexDoc;
class QMouseEvent;

// The drawing tool. A left click places the cube kind picked in the cube selection bar
// on the cell under the pointer (the empty cube erases it), one undo step per click; a
// plain press never paints more than that.
//
// With Shift held, a press that moves on to other cells paints a stroke: every cell
// the pointer crosses gets the kind, in the order crossed, each cell once, the whole
// stroke one undo step. A Shift press released on its cell draws a beam instead: the
// cells from the last placed cube along the nearest straight direction of the grid to
// that cell, also one undo step; while Shift is held the beam a click would draw is
// outlined. Shift-gestures find cells by the nearest centre, so no pixel of the
// workspace is left between cells.
//
// The tool turns the view's points into cells through its mapping and the document
// does the edits and announces them.
class CPlaceCubeHandler : public CViewTool
{
public:
    // Without a host: the figure at its own size, nothing scrolled, no feedback shown.
    explicit CPlaceCubeHandler(CTarvexDoc &doc, CViewToolHost *host = nullptr);

    // Where the picked cube kind comes from (the main frame's GetCurrentCube): the
    // cell value to place, or EmptyCubeIndex for the empty cube. Without a source
    // clicks erase.
    void SetCurrentCubeSource(std::function<int()> source) { m_currentCube = std::move(source); }
    int CurrentCube() const;

    bool MousePress(QMouseEvent *event) override;
    bool MouseMove(QMouseEvent *event) override;
    bool MouseRelease(QMouseEvent *event) override;
    // Shift shows and hides the beam outline.
    bool KeyPress(QKeyEvent *event) override;
    bool KeyRelease(QKeyEvent *event) override;
    void Leave() override;
    void PaintFeedback(QPainter &painter) const override;
    CursorId Cursor(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers) const override;

    // Places the picked cube (or erases) on a cell; true when the grid has the cell.
    bool PlaceAt(const QPoint &cell);

    // The cell of the cube placed last (a beam starts there); (-1, -1) for none.
    QPoint LastPlaced() const { return m_lastPlaced; }
    void SetLastPlaced(const QPoint &cell) { m_lastPlaced = cell; }
    // The cells a Shift+click at a workspace point would fill; empty when it would fill
    // none or only the cell under the pointer.
    QVector<QPoint> BeamAt(const QPoint &workspacePoint) const;
    bool IsStroking() const { return m_gesture == Stroke; }
    // The cells outlined while Shift is held: where a Shift+click would draw a beam.
    const QVector<QPoint> &BeamOutline() const { return m_beamOutline; }

private:
    enum Gesture { None, ShiftPress, Stroke };

    CViewMapping Mapping() const;
    QPoint ToWorkspace(const QPointF &viewportPoint) const;
    QPoint NearestCell(const QPoint &workspacePoint) const;
    // Places the cells of the stroke not yet visited; the first call starts the undo step.
    void Paint(const QVector<QPoint> &cells);
    void Placed(const QPoint &cell);
    // Outlines the beam a Shift+click at viewportPoint would draw (nothing without Shift).
    void UpdateBeamOutline(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers);

    CTarvexDoc &m_doc;
    CViewToolHost *m_host;
    std::function<int()> m_currentCube;
    QPoint m_lastPlaced{-1, -1};
    Gesture m_gesture = None;
    QPoint m_pressCell{-1, -1};
    QPoint m_lastPoint;
    QSet<quint32> m_visited; // cells of the stroke, as row * 65536 + column
    QVector<QPoint> m_beamOutline;
};
