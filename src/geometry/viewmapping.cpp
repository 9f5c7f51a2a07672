// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/viewmapping.h"

#include "geometry/dragoffset.h"
#include "geometry/workspacerenderer.h"

#include <QRectF>

#include <cmath>

CViewMapping::CViewMapping(int cubeSize, const QPoint &scroll, qreal ratio, int zoomPercent)
    : m_cubeSize(cubeSize)
    , m_scroll(scroll)
    , m_ratio(ratio)
    , m_zoomPercent(zoomPercent)
{
}

double CViewMapping::Scale() const
{
    if (m_zoomPercent == 100)
        return m_ratio;
    return m_zoomPercent * m_ratio / 100.0;
}

int CViewMapping::Scaled(int value) const
{
    return CWorkspaceRenderer::Zoomed(value, Scale());
}

QPoint CViewMapping::ToFigure(const QPoint &point) const
{
    const double scale = Scale();
    if (scale == 1.0)
        return point;
    // A point of the figure is drawn at its position times the scale, rounded: the
    // device pixel shows the points around its position divided by the scale.
    return QPoint(int(std::floor(point.x() / scale + 0.5)), int(std::floor(point.y() / scale + 0.5)));
}

int CViewMapping::DisplaySize() const
{
    CWorkspaceRenderer::Params params;
    params.CubeSize = m_cubeSize;
    params.Zoom = Scale();
    return CWorkspaceRenderer::DrawnSize(params);
}

QPoint CViewMapping::DeviceScroll() const
{
    return QPoint(qRound(m_scroll.x() * m_ratio), qRound(m_scroll.y() * m_ratio));
}

QPoint CViewMapping::ToWorkspace(const QPointF &viewportPoint) const
{
    // Qt hands on the native position divided by the ratio, so multiplying back and
    // rounding finds the device pixel again.
    if (m_ratio == 1.0)
        return viewportPoint.toPoint() + m_scroll;
    return QPoint(qRound(viewportPoint.x() * m_ratio), qRound(viewportPoint.y() * m_ratio)) + DeviceScroll();
}

QRect CViewMapping::ToViewport(const QRect &workspaceRect) const
{
    if (m_ratio == 1.0)
        return workspaceRect.translated(-m_scroll);
    if (workspaceRect.isEmpty())
        return QRect();
    const QPoint corner = workspaceRect.topLeft() - DeviceScroll();
    return QRectF(QPointF(corner) / m_ratio, QSizeF(workspaceRect.size()) / m_ratio).toAlignedRect();
}

QSize CViewMapping::WorkspaceSize(const CFigure &figure) const
{
    const QSize size = figure.GetWorkspaceSize();
    return QSize(Scaled(size.width()), Scaled(size.height()));
}

QPoint CViewMapping::CellOrigin(const QPoint &cell) const
{
    const QPoint origin = ::CellOrigin(cell.x(), cell.y(), ComputeCellPitch(m_cubeSize));
    return QPoint(Scaled(origin.x()), Scaled(origin.y()));
}

int CViewMapping::CentreBox() const
{
    // 5 pixels of the figure, or where a device pixel covers more, what a click on
    // the pixel showing a cell's centre may land off it (half a pixel and the rounding).
    const double scale = Scale();
    if (scale >= 1.0)
        return 5;
    return qMax(5, int(std::ceil(0.5 / scale + 0.5)));
}

QPoint CViewMapping::CellAt(const CFigure &figure, const QPoint &point) const
{
    const QPoint p = ToFigure(point);
    return figure.CellFromPoint(p.x(), p.y(), CentreBox());
}

QPoint CViewMapping::CubeAt(const CFigure &figure, const QPoint &point) const
{
    const QPoint p = ToFigure(point);
    return figure.CubeFromPoint(p.x(), p.y());
}

QVector<QPoint> CViewMapping::CubesInRect(const CFigure &figure, const QPoint &a, const QPoint &b) const
{
    return figure.CubesInRect(ToFigure(a), ToFigure(b));
}

QPoint CViewMapping::DragOffset(const QPoint &start, const QPoint &point) const
{
    return CDragOffset::Snap(ToFigure(point) - ToFigure(start), ComputeCellPitch(m_cubeSize));
}

QPoint CViewMapping::ShiftOf(const QPoint &offset) const
{
    const CellPitch pitch = ComputeCellPitch(m_cubeSize);
    return QPoint(Scaled(offset.x() * pitch.Px + ((offset.y() & 1) ? pitch.Px / 2 : 0)), Scaled(offset.y() * pitch.Py));
}
