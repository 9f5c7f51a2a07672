// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>

class CPlaceCubeHandler;
class QColor;
class CTarvexDoc;
class CTarvexView;
class QKeyEvent;
class QPainter;

// The keyboard's cell cursor of a workspace view: where Space places and the arrows
// start from. It shows from the first key that uses it while the view has the focus;
// placements by the pointer move it along.
//
// Left and Right move along the row, Up and Down to the cell two rows up or down (the
// cube's upper and lower neighbour), the keypad's 7, 9, 1 and 3 to the four diagonal
// neighbours. Space and Enter place the picked cube (in
// select-and-move mode Space toggles the cube there in the selection), Delete and
// Backspace erase; Shift with a move places on the way, one undo step while Shift
// stays down; Ctrl+arrows move the selection by one cell.
class CCellCursor
{
public:
    CCellCursor(CTarvexDoc &doc, CTarvexView &view, CPlaceCubeHandler &placer);

    QPoint Cell() const { return m_cell; }
    // A rectangle holding all that Paint paints now (empty: nothing).
    QRect Bounds() const;
    bool IsShown() const { return m_shown; }
    // Moves the cursor; with show it appears and the view scrolls to it.
    void SetCell(const QPoint &cell, bool show);

    // The keys above; true when the key was used.
    bool KeyPress(QKeyEvent *event);
    // Shift went up: the next Shift+move starts a new undo step.
    void EndKeyStroke() { m_keyStroke = false; }
    // The view got the focus by Tab: the cursor shows.
    void Show() { m_shown = true; }

    // Paints the cursor (when shown) in the given colour; the painter is in workspace
    // coordinates.
    void Paint(QPainter &painter, const QColor &colour) const;

private:
    CTarvexDoc &m_doc;
    CTarvexView &m_view;
    CPlaceCubeHandler &m_placer;
    QPoint m_cell{0, 0};
    bool m_shown = false;
    bool m_keyStroke = false; // Shift+arrows placed since Shift went down
};
