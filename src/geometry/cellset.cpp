// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/cellset.h"

bool CCellSet::Insert(int column, int row)
{
    const qsizetype before = m_cells.size();
    m_cells.insert(Key(column, row));
    return m_cells.size() != before;
}
