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
// With Shift held, a press that moves on to other cells paints a joined stroke: each
// cell it enters is a neighbour of the one before (gaps of fast moves filled along
// neighbour directions), it keeps its cell until the pointer is clearly nearer another
// centre (by a quarter of the cube), each cell once, the whole stroke one undo step. A
// Shift press released on its cell draws a beam instead: from the last cube placed
// along whichever of the six neighbour directions lies nearest the pointer, 1 to 3
// cubes thick, placed back to front, also one undo step; while Shift is held the beam
// a click would draw is outlined.
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
    QRect FeedbackBounds() const override;
    CursorId Cursor(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers) const override;

    // Places the picked cube (or erases) on a cell; true when the grid has the cell.
    bool PlaceAt(const QPoint &cell);

    // Where a beam starts: the last cube placed that is still on the workspace (after
    // an undo, the one now last); erasing, the cell emptied last. (-1, -1) for none.
    QPoint BeamStart() const;
    // How many cubes thick a beam is, 1 to MaxBeamThickness (the keys 1, 2 and 3 set it
    // too; the listener hears every change).
    static constexpr int MaxBeamThickness = 3;
    int BeamThickness() const { return m_thickness; }
    void SetBeamThickness(int thickness);
    void SetBeamThicknessListener(std::function<void(int)> listener) { m_thicknessChanged = std::move(listener); }
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
    // Notes a cell placed on (the beam start's history).
    void Remember(const QPoint &cell);
    // Outlines the beam a Shift+click at viewportPoint would draw (nothing without Shift).
    void UpdateBeamOutline(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers);

    CTarvexDoc &m_doc;
    CViewToolHost *m_host;
    std::function<int()> m_currentCube;
    QPoint m_lastPlaced{-1, -1};
    QVector<QPoint> m_placed; // cells placed on, oldest first
    int m_thickness = 1;
    std::function<void(int)> m_thicknessChanged;
    QPoint m_strokeCell{-1, -1}; // the cell a stroke is on
    Gesture m_gesture = None;
    QPoint m_pressCell{-1, -1};
    QPoint m_lastPoint;
    QSet<quint32> m_visited; // cells of the stroke, as row * 65536 + column
    QVector<QPoint> m_beamOutline;
};
