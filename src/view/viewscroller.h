// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/viewmapping.h"

#include <QPoint>
#include <QPointF>
#include <QVector>

class CTarvexDoc;
class QAbstractScrollArea;

// A workspace view's zoom and scrolling: the zoom levels and the steps between them,
// the zoom at which the workspace fits, the scroll bars' range for the workspace at
// the zoom, and where the workspace lies in the viewport. On an axis where it is
// smaller than the viewport it is drawn centred, as image editors show a small
// picture; the mapping (Mapping) carries that offset, so every turn of a viewport
// point into a workspace point and back follows it.
class CViewScroller
{
public:
    CViewScroller(QAbstractScrollArea &area, const CTarvexDoc &doc);

    // Zoom levels in percent, smallest first; 100 % is DefaultZoomIndex.
    static const QVector<int> &ZoomLevels();
    static int DefaultZoomIndex();
    int ZoomPercent() const { return m_zoomPercent; }
    // The level of ZoomPercent, or the level below it when the zoom lies between two.
    int ZoomIndex() const;
    // The zoom steps levels up (positive) or down from the current one; from between
    // two levels the first step goes to the neighbouring one.
    int SteppedPercent(int steps) const;
    // The largest zoom at which the whole workspace fits the viewport.
    int FitPercent() const;
    // Moves to percent (kept within the levels), keeping the workspace point under
    // the viewport point anchor where it is as far as the scroll range allows; false
    // when the zoom stays as it was.
    bool SetZoomPercent(int percent, const QPointF &anchor);

    // The scroll bars' position (logical pixels).
    QPoint ScrollPosition() const;
    // Where the workspace's corner is drawn in the viewport (logical pixels) when it is
    // centred on an axis; 0 on an axis that scrolls.
    QPoint CentringOffset() const;
    // How the view shows the figure now: scroll position less the centring offset,
    // device pixel ratio, zoom.
    CViewMapping Mapping() const;

    // Sets the scroll range to the workspace at the zoom.
    void UpdateScrollRange();
    // Whether the scale differs from the one the scroll range was last set for (the
    // window moved to a screen of another device pixel ratio).
    bool ScaleChanged() const { return Mapping().Scale() != m_shownScale; }

private:
    qreal Ratio() const;

    QAbstractScrollArea &m_area;
    const CTarvexDoc &m_doc;
    int m_zoomPercent = 100;
    double m_shownScale = 0; // scale the scroll range was last set for
};
