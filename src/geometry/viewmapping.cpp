// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/viewmapping.h"

#include "geometry/dragoffset.h"

#include <QRectF>

CViewMapping::CViewMapping(int cubeSize, const QPoint &scroll, qreal ratio, int zoomPercent)
    : m_cubeSize(cubeSize)
    , m_scroll(scroll)
    , m_ratio(ratio)
    , m_zoomPercent(zoomPercent)
{
}

int CViewMapping::DisplaySize() const
{
    if (m_zoomPercent == 100 && m_ratio == 1.0)
        return m_cubeSize;
    // A cube of fewer than 4 pixels has no shape left; the pitch needs at least that.
    return qMax(4, qRound(m_cubeSize * m_zoomPercent * m_ratio / 100.0));
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

CFigure CViewMapping::Displayed(const CFigure &figure) const
{
    CFigure shown = figure;
    shown.CubeSize = DisplaySize();
    return shown;
}

QSize CViewMapping::WorkspaceSize(const CFigure &figure) const
{
    return Displayed(figure).GetWorkspaceSize();
}

QPoint CViewMapping::CellOrigin(const QPoint &cell) const
{
    return ::CellOrigin(cell.x(), cell.y(), Pitch());
}

int CViewMapping::CentreBox() const
{
    const int size = DisplaySize();
    if (m_cubeSize <= 0 || size == m_cubeSize)
        return 5;
    return qMax(1, (5 * size + m_cubeSize / 2) / m_cubeSize);
}

QPoint CViewMapping::CellAt(const CFigure &figure, const QPoint &point) const
{
    return Displayed(figure).CellFromPoint(point.x(), point.y(), CentreBox());
}

QPoint CViewMapping::CubeAt(const CFigure &figure, const QPoint &point) const
{
    return Displayed(figure).CubeFromPoint(point.x(), point.y());
}

QVector<QPoint> CViewMapping::CubesInRect(const CFigure &figure, const QPoint &a, const QPoint &b) const
{
    return Displayed(figure).CubesInRect(a, b);
}

QPoint CViewMapping::DragOffset(const QPoint &start, const QPoint &point) const
{
    return CDragOffset::Snap(point - start, Pitch());
}

QPoint CViewMapping::ShiftOf(const QPoint &offset) const
{
    const CellPitch pitch = Pitch();
    return QPoint(offset.x() * pitch.Px + ((offset.y() & 1) ? pitch.Px / 2 : 0), offset.y() * pitch.Py);
}
