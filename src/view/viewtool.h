// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QVector>
#include <Qt>

class CViewMapping;
class QCursor;
class QKeyEvent;
class QMouseEvent;
class QPainter;

// One gesture of the workspace view: drawing cubes, selecting and moving them, or any
// later one (a box, a fill). The view keeps scrolling, zoom and painting; it forwards
// the pointer and the keys it does not use itself to the active tool, and the press's
// tool gets the moves and the release that follow, even if the mode changes meanwhile.
//
// Every entry point returns true when the tool used the event. A tool finds cells
// through the view's mapping and asks the document for the edits; what it shows while
// a gesture runs (outlines, a rubber band) it paints in PaintFeedback, over the
// freshly painted workspace, and it asks its view to repaint the cells it changes.
class CViewTool
{
public:
    // Cursor ids of the view's cursors.
    enum CursorId {
        CubeCursor = 135,   // drawing, over a cell
        NoCellCursor = 136, // drawing, over no cell
        CopyCursor = 172,   // select-and-move, Ctrl held
        ArrowCursor = 173   // select-and-move
    };

    virtual ~CViewTool() = default;

    virtual bool MousePress(QMouseEvent *event) = 0;
    virtual bool MouseMove(QMouseEvent *event) = 0;
    virtual bool MouseRelease(QMouseEvent *event) = 0;
    // Keys the view and its cell cursor left alone, and their releases.
    virtual bool KeyPress(QKeyEvent *event)
    {
        Q_UNUSED(event);
        return false;
    }
    virtual bool KeyRelease(QKeyEvent *event)
    {
        Q_UNUSED(event);
        return false;
    }
    // The keyboard's cell cursor: Space or Enter on a cell (true when the tool used it;
    // the cursor places nothing then), and a move of it by the keys.
    virtual bool CellCursorPress(const QPoint &cell)
    {
        Q_UNUSED(cell);
        return false;
    }
    virtual void CellCursorMoved(const QPoint &cell) { Q_UNUSED(cell); }
    // The pointer left the view or the view lost the keyboard: hover feedback goes.
    virtual void Leave() { }
    // Paints the tool's feedback; the painter is in workspace coordinates (device
    // pixels of the drawn workspace) and the workspace has just been painted under it.
    virtual void PaintFeedback(QPainter &painter) const { Q_UNUSED(painter); }
    // A rectangle holding all that PaintFeedback paints now, in its painter's
    // coordinates (empty: it paints nothing). By default it may paint anywhere.
    virtual QRect FeedbackBounds() const { return Anywhere(); }
    static QRect Anywhere() { return QRect(QPoint(-(1 << 28), -(1 << 28)), QPoint(1 << 28, 1 << 28)); }
    // The cursor for a pointer at a viewport point with the given keys held.
    virtual CursorId Cursor(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers) const = 0;
};

// What a tool may ask of the view it works in.
class CViewToolHost
{
public:
    // How the view shows the figure now: scroll position, device pixel ratio, zoom.
    virtual CViewMapping Mapping() const = 0;
    // The pointer's position in the viewport, and whether a viewport point lies on it.
    virtual QPoint PointerPosition() const = 0;
    virtual bool IsOnViewport(const QPoint &viewportPoint) const = 0;
    // Repaints around cells (their squares with room for outlines).
    virtual void UpdateCells(const QVector<QPoint> &cells) = 0;
    virtual qreal DevicePixelRatio() const = 0;
    // A gesture of the pointer placed on a cell: the keyboard's cell cursor follows.
    virtual void CellPlaced(const QPoint &cell) = 0;

protected:
    ~CViewToolHost() = default;
};

// The outline of one cell's hexagon at the mapping's display size: a white line under
// a line of the inner colour, so it shows on any background and on any cube. The
// painter is in workspace coordinates; lineWidth is one line in device pixels.
void PaintCellOutline(QPainter &painter, const CViewMapping &mapping, const QPoint &cell, const QColor &inner,
                      qreal lineWidth);
// The width of one line of a tool's cell outline: a device pixel, or more on denser screens.
qreal CellOutlineWidth(const CViewMapping &mapping);
// A rectangle holding all that PaintCellOutline paints for the cells.
QRect CellOutlineBounds(const CViewMapping &mapping, const QVector<QPoint> &cells, qreal lineWidth);

// The picture of a view cursor for a screen of the given device pixel ratio (the 2x
// pictures above 1), with its hot spot.
QCursor ViewCursor(CViewTool::CursorId id, qreal ratio);
