// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/viewmapping.h"

#include <QPoint>
#include <QSet>
#include <QVector>
#include <functional>

class CTarvexDoc;
class QMouseEvent;

// The mouse side of drawing mode. A left click places the cube kind picked in the
// cube selection bar on the cell under the pointer (the empty cube erases it), one
// undo step per click; a plain press never paints more than that.
//
// With Shift held, a press that moves on to other cells paints a stroke: every cell
// the pointer crosses gets the kind, in the order crossed, each cell once, the whole
// stroke one undo step. A Shift press released on its cell draws a beam instead: the
// cells from the last placed cube along the nearest straight direction of the grid to
// that cell, also one undo step. Shift-gestures find cells by the nearest centre, so
// no pixel of the workspace is left between cells.
//
// The view finds points; the handler turns them into cells through the view's
// mapping and the document does the edits and announces them.
class CPlaceCubeHandler
{
public:
    explicit CPlaceCubeHandler(CTarvexDoc &doc);

    // Where the picked cube kind comes from (the main frame's GetCurrentCube): 0..63,
    // or 64 for the empty cube. Without a source clicks erase.
    void SetCurrentCubeSource(std::function<int()> source) { m_currentCube = std::move(source); }
    int CurrentCube() const;
    // How the view shows the figure (unset: the figure's own size, nothing scrolled).
    using MappingSource = std::function<CViewMapping()>;
    void SetMappingSource(MappingSource source) { m_mapping = std::move(source); }

    // Mouse events at workspace points while select-and-move mode is off; true when
    // the event was handled.
    bool MousePress(QMouseEvent *event, const QPoint &workspacePoint);
    bool MouseMove(QMouseEvent *event, const QPoint &workspacePoint);
    bool MouseRelease(QMouseEvent *event, const QPoint &workspacePoint);
    // Places the picked cube (or erases) on a cell; true when the grid has the cell.
    bool PlaceAt(const QPoint &cell);

    // The cell of the cube placed last (a beam starts there); (-1, -1) for none.
    QPoint LastPlaced() const { return m_lastPlaced; }
    void SetLastPlaced(const QPoint &cell) { m_lastPlaced = cell; }
    // The cells a Shift+click at a workspace point would fill; empty when it would fill
    // none or only the cell under the pointer.
    QVector<QPoint> BeamAt(const QPoint &workspacePoint) const;
    bool IsStroking() const { return m_gesture == Stroke; }

private:
    enum Gesture { None, ShiftPress, Stroke };

    CViewMapping Mapping() const;
    QPoint NearestCell(const QPoint &workspacePoint) const;
    // Places the cells of the stroke not yet visited; the first call starts the undo step.
    void Paint(const QVector<QPoint> &cells);

    CTarvexDoc &m_doc;
    std::function<int()> m_currentCube;
    MappingSource m_mapping;
    QPoint m_lastPlaced{-1, -1};
    Gesture m_gesture = None;
    QPoint m_pressCell{-1, -1};
    QPoint m_lastPoint;
    QSet<quint32> m_visited; // cells of the stroke, as row * 65536 + column
};
