// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QSet>

// A set of grid cells (column, row): adding, removing and testing a cell cost the
// same however many cells it holds. The selection keeps its membership in one, and
// the renderer asks it for each cell it draws.
class CCellSet
{
public:
    bool Contains(int column, int row) const { return m_cells.contains(Key(column, row)); }
    // True when the cell was not in the set before.
    bool Insert(int column, int row);
    // True when the cell was in the set.
    bool Remove(int column, int row) { return m_cells.remove(Key(column, row)); }
    void Clear() { m_cells.clear(); }
    void Reserve(int count) { m_cells.reserve(count); }
    int Count() const { return int(m_cells.size()); }
    bool IsEmpty() const { return m_cells.isEmpty(); }

private:
    static quint64 Key(int column, int row) { return (quint64(quint32(row)) << 32) | quint32(column); }

    QSet<quint64> m_cells;
};
