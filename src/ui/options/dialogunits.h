// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

class QFont;

// Converts dialog-template units to pixels for a given dialog font. A horizontal unit
// is a quarter of the font's average character width and a vertical unit an eighth
// of its height, so a layout drawn up in these units scales with the font.
class CDialogUnits
{
public:
    explicit CDialogUnits(const QFont &font);

    int X(int units) const;
    int Y(int units) const;
    QRect Rect(int x, int y, int width, int height) const;
    QSize Size(int width, int height) const;
    // The rectangle of a right-aligned label: when the text is wider than the mapped
    // rectangle the rectangle grows to the left, so the text keeps its place next to
    // the control it names and is not cut off.
    QRect LabelRect(int x, int y, int width, int height, int textWidth) const;

    int BaseWidth() const { return m_baseX; }
    int BaseHeight() const { return m_baseY; }

private:
    int m_baseX;
    int m_baseY;
};
