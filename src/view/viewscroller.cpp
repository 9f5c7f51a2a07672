// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/viewscroller.h"

#include "document/tarvexdoc.h"

#include <QAbstractScrollArea>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

CViewScroller::CViewScroller(QAbstractScrollArea &area, const CTarvexDoc &doc)
    : m_area(area)
    , m_doc(doc)
{
}

const QVector<int> &CViewScroller::ZoomLevels()
{
    // Down to where the largest figure (100 x 100 cells at cube size 200) fits a
    // full-HD screen, up to four times.
    static const QVector<int> levels{7, 10, 15, 20, 25, 33, 50, 67, 75, 100, 125, 150, 200, 250, 300, 400};
    return levels;
}

int CViewScroller::DefaultZoomIndex()
{
    return int(ZoomLevels().indexOf(100));
}

int CViewScroller::ZoomIndex() const
{
    // Between two levels: the lower one.
    const QVector<int> &levels = ZoomLevels();
    int index = 0;
    while (index + 1 < levels.size() && levels[index + 1] <= m_zoomPercent)
        ++index;
    return index;
}

int CViewScroller::SteppedPercent(int steps) const
{
    const QVector<int> &levels = ZoomLevels();
    int percent = m_zoomPercent;
    for (; steps > 0; --steps) {
        auto up = std::upper_bound(levels.cbegin(), levels.cend(), percent);
        percent = up == levels.cend() ? levels.last() : *up;
    }
    for (; steps < 0; ++steps) {
        auto down = std::lower_bound(levels.cbegin(), levels.cend(), percent);
        percent = down == levels.cbegin() ? levels.first() : *(down - 1);
    }
    return percent;
}

int CViewScroller::FitPercent() const
{
    // The largest zoom at which the whole workspace fits the viewport without scroll
    // bars; the cell pitch is rounded at every size, so the estimate is checked.
    const QSize room = m_area.maximumViewportSize();
    const CFigure &figure = m_doc.Figure();
    const QSize full = figure.GetWorkspaceSize();
    if (full.isEmpty() || room.isEmpty())
        return 100;
    const qreal d = Ratio();
    int percent = int(100.0 * qMin(qreal(room.width()) / full.width(), qreal(room.height()) / full.height()));
    percent = qBound(ZoomLevels().first(), percent, ZoomLevels().last());
    for (; percent > ZoomLevels().first(); --percent) {
        const QSize device = CViewMapping(figure.CubeSize, QPoint(), d, percent).WorkspaceSize(figure);
        if (std::ceil(device.width() / d) <= room.width() && std::ceil(device.height() / d) <= room.height())
            break;
    }
    return percent;
}

bool CViewScroller::SetZoomPercent(int percent, const QPointF &anchor)
{
    percent = qBound(ZoomLevels().first(), percent, ZoomLevels().last());
    if (percent == m_zoomPercent)
        return false;
    // The figure's point under the anchor stays under it: every point of the figure
    // is drawn at its position times the scale.
    const qreal d = Ratio();
    const QPoint device(qRound(anchor.x() * d), qRound(anchor.y() * d));
    const CViewMapping before = Mapping();
    const QPointF figurePoint = QPointF(device + before.DeviceScroll()) / before.Scale();
    m_zoomPercent = percent;
    UpdateScrollRange();
    // Where the workspace is centred the scroll bar's range is empty.
    const double newScale = Mapping().Scale();
    m_area.horizontalScrollBar()->setValue(qRound((figurePoint.x() * newScale - device.x()) / d));
    m_area.verticalScrollBar()->setValue(qRound((figurePoint.y() * newScale - device.y()) / d));
    return true;
}

QPoint CViewScroller::ScrollPosition() const
{
    return QPoint(m_area.horizontalScrollBar()->value(), m_area.verticalScrollBar()->value());
}

qreal CViewScroller::Ratio() const
{
    return m_area.viewport()->devicePixelRatioF();
}

QPoint CViewScroller::CentringOffset() const
{
    const qreal d = Ratio();
    const QSize device = CViewMapping(m_doc.Figure().CubeSize, QPoint(), d, m_zoomPercent)
                             .WorkspaceSize(m_doc.Figure());
    const QSize view = m_area.viewport()->size();
    return QPoint(qMax(0, (view.width() - int(std::ceil(device.width() / d))) / 2),
                  qMax(0, (view.height() - int(std::ceil(device.height() / d))) / 2));
}

CViewMapping CViewScroller::Mapping() const
{
    return CViewMapping(m_doc.Figure().CubeSize, ScrollPosition() - CentringOffset(), Ratio(), m_zoomPercent);
}

void CViewScroller::UpdateScrollRange()
{
    // The viewport the workspace gets: all of it when the workspace fits, less the
    // room of each scroll bar it needs otherwise. The workspace is drawn in device
    // pixels; the scroll bars count logical pixels.
    const CViewMapping mapping = Mapping();
    m_shownScale = mapping.Scale();
    const qreal d = Ratio();
    const QSize device = mapping.WorkspaceSize(m_doc.Figure());
    const QSize total(int(std::ceil(device.width() / d)), int(std::ceil(device.height() / d)));
    const QSize room = m_area.maximumViewportSize();
    QScrollBar *h = m_area.horizontalScrollBar();
    QScrollBar *v = m_area.verticalScrollBar();
    bool needH = total.width() > room.width();
    bool needV = total.height() > room.height();
    if (needH && !needV)
        needV = total.height() > room.height() - h->sizeHint().height();
    if (needV && !needH)
        needH = total.width() > room.width() - v->sizeHint().width();
    const QSize page(room.width() - (needV ? v->sizeHint().width() : 0),
                     room.height() - (needH ? h->sizeHint().height() : 0));
    h->setRange(0, qMax(0, total.width() - page.width()));
    v->setRange(0, qMax(0, total.height() - page.height()));
    h->setPageStep(qMax(1, page.width()));
    v->setPageStep(qMax(1, page.height()));
    // A line is a tenth of a page, as scrolling views usually step.
    h->setSingleStep(qMax(1, page.width() / 10));
    v->setSingleStep(qMax(1, page.height() / 10));
}
