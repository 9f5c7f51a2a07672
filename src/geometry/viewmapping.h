// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/cubegeometry.h"
#include "geometry/figure.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QVector>

// How a scrolling view shows a figure: its scroll position (logical pixels), the
// screen's device pixel ratio and the view's zoom. The view draws the workspace in
// device pixels with cubes of DisplaySize() pixels, each at its own cell pitch, and
// the view's workspace points are device pixels of that drawn workspace. Every turn of
// a pointer position into a cell goes through here, so the view and its input handlers
// agree on what lies under the pointer.
class CViewMapping
{
public:
    // The figure's own cube size shown 1:1 with nothing scrolled.
    CViewMapping() = default;
    CViewMapping(int cubeSize, const QPoint &scroll, qreal ratio = 1.0, int zoomPercent = 100);

    int CubeSize() const { return m_cubeSize; }
    QPoint Scroll() const { return m_scroll; }
    qreal Ratio() const { return m_ratio; }
    int ZoomPercent() const { return m_zoomPercent; }

    // The drawn cube size in device pixels: round(cube size x zoom x ratio), at least 4.
    int DisplaySize() const;
    CellPitch Pitch() const { return ComputeCellPitch(DisplaySize()); }
    // The scroll position in device pixels: the workspace point at the viewport's corner.
    QPoint DeviceScroll() const;
    // The device pixel under a viewport point (logical pixels), in the drawn workspace.
    QPoint ToWorkspace(const QPointF &viewportPoint) const;
    // A rectangle of the drawn workspace as the viewport rectangle covering it.
    QRect ToViewport(const QRect &workspaceRect) const;

    // The figure as it is drawn: the same cells with cubes of the display size.
    CFigure Displayed(const CFigure &figure) const;
    QSize WorkspaceSize(const CFigure &figure) const;
    // The top left corner of a cell's square in the drawn workspace.
    QPoint CellOrigin(const QPoint &cell) const;

    // Hit tests at workspace points. CellAt: the cell whose centre is within the click
    // box (5 pixels at the figure's own size, scaled with the display size), or
    // (-1, -1). CubeAt: the occupied cell whose visible cube holds the point, or
    // (-1, -1). CubesInRect: the cubes wholly inside the rectangle from a to b.
    QPoint CellAt(const CFigure &figure, const QPoint &point) const;
    QPoint CubeAt(const CFigure &figure, const QPoint &point) const;
    QVector<QPoint> CubesInRect(const CFigure &figure, const QPoint &a, const QPoint &b) const;
    // The cell offset a drag from start to point snaps to (not yet kept to the grid).
    QPoint DragOffset(const QPoint &start, const QPoint &point) const;
    // The workspace shift that moves a cube by a cell offset.
    QPoint ShiftOf(const QPoint &offset) const;

private:
    // Half the side of the box around a cell's centre that a click must hit.
    int CentreBox() const;

    int m_cubeSize = CFigure::DefaultCubeSize;
    QPoint m_scroll;
    qreal m_ratio = 1.0;
    int m_zoomPercent = 100;
};
