// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/cellset.h"

#include <QPoint>
#include <QVector>

// The cubes picked in select-and-move mode: cells in the order they were added, each
// with the cube kind it held at that moment. A cell is never listed twice. Membership
// is kept in a set of cells beside the ordered lists, so adding, testing and clearing
// cost the same for every cell however many are selected.
class CCubeSelection
{
public:
    const QVector<QPoint> &Cells() const { return m_cells; } // (column, row)
    const QVector<qint32> &Values() const { return m_values; }

    bool Contains(int column, int row) const { return m_members.Contains(column, row); }
    // The selected cells as a set, for lookups by cell.
    const CCellSet &Members() const { return m_members; }
    void Add(int column, int row, qint32 value);
    // Removes a selected cell (the others keep their order) or adds one that is not.
    void Toggle(int column, int row, qint32 value);
    void Clear();
    void Reserve(int count);
    // Gives every cell a new place (cells[i] for the i-th cell), keeping the order and
    // the values; a place taken twice is kept once, for its first cell.
    void MoveCells(const QVector<QPoint> &cells);
    // The value kept for the i-th cell (its cube repainted, say); the cell stays.
    void SetValue(int i, qint32 value) { m_values[i] = value; }
    int Count() const { return int(m_cells.size()); }
    bool IsEmpty() const { return m_cells.isEmpty(); }

private:
    QVector<QPoint> m_cells;
    QVector<qint32> m_values;
    CCellSet m_members;
};
