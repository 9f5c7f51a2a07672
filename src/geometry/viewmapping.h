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
// device pixels at Scale() (zoom times ratio) device pixels per pixel of the figure:
// every cell at its true position times the scale, rounded once, with cubes of
// DisplaySize() pixels, so the figure keeps its proportions at every zoom. The view's
// workspace points are device pixels of that drawn workspace; every turn of a pointer
// position into a cell goes through here (back to the figure's own pixels), so the
// view and its input handlers agree on what lies under the pointer.
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

    // Device pixels per pixel of the figure: zoom times ratio.
    double Scale() const;
    // A length or coordinate of the figure in device pixels: times the scale, rounded.
    int Scaled(int value) const;
    // The figure's point under a device pixel of the drawn workspace.
    QPoint ToFigure(const QPoint &point) const;
    // The drawn cube size in device pixels: round(cube size x zoom x ratio).
    int DisplaySize() const;
    // The scroll position in device pixels: the workspace point at the viewport's corner.
    QPoint DeviceScroll() const;
    // The device pixel under a viewport point (logical pixels), in the drawn workspace.
    QPoint ToWorkspace(const QPointF &viewportPoint) const;
    // A rectangle of the drawn workspace as the viewport rectangle covering it.
    QRect ToViewport(const QRect &workspaceRect) const;

    // The drawn workspace's size.
    QSize WorkspaceSize(const CFigure &figure) const;
    // The top left corner of a cell's square in the drawn workspace.
    QPoint CellOrigin(const QPoint &cell) const;

    // Hit tests at workspace points, made on the figure at its own size. CellAt: the
    // cell whose centre is within the click box (5 pixels of the figure, at least a
    // device pixel), or (-1, -1). CubeAt: the occupied cell whose visible cube holds
    // the point, or (-1, -1). CubesInRect: the cubes wholly inside the rectangle from
    // a to b.
    QPoint CellAt(const CFigure &figure, const QPoint &point) const;
    QPoint CubeAt(const CFigure &figure, const QPoint &point) const;
    QVector<QPoint> CubesInRect(const CFigure &figure, const QPoint &a, const QPoint &b) const;
    // The cell offset a drag from start to point snaps to (not yet kept to the grid).
    QPoint DragOffset(const QPoint &start, const QPoint &point) const;
    // The workspace shift that moves a cube by a cell offset.
    QPoint ShiftOf(const QPoint &offset) const;

private:
    // Half the side of the box around a cell's centre that a click must hit, in
    // pixels of the figure.
    int CentreBox() const;

    int m_cubeSize = CFigure::DefaultCubeSize;
    QPoint m_scroll;
    qreal m_ratio = 1.0;
    int m_zoomPercent = 100;
};
