// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <functional>

class CTarvexDoc;
class QMouseEvent;

// The mouse side of drawing mode: a left click places the cube kind picked in the
// cube selection bar on the cell under the pointer (the empty cube erases it), one
// undo step per click. The view finds the cell; the document does the edit and
// announces it.
class CPlaceCubeHandler
{
public:
    explicit CPlaceCubeHandler(CTarvexDoc &doc);

    // Where the picked cube kind comes from (the main frame's GetCurrentCube): 0..63,
    // or 64 for the empty cube. Without a source clicks erase.
    void SetCurrentCubeSource(std::function<int()> source) { m_currentCube = std::move(source); }
    int CurrentCube() const;

    // A left press on a cell ((-1, -1) for none) while select-and-move mode is off;
    // true when it was handled.
    bool MousePress(QMouseEvent *event, const QPoint &cell);
    // Places the picked cube (or erases) on a cell; true when the grid has the cell.
    bool PlaceAt(const QPoint &cell);

private:
    CTarvexDoc &m_doc;
    std::function<int()> m_currentCube;
};
