// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/cubeselection.h"

int CCubeSelection::IndexOf(int column, int row) const
{
    return int(Cells.indexOf(QPoint(column, row)));
}

bool CCubeSelection::Contains(int column, int row) const
{
    return IndexOf(column, row) >= 0;
}

void CCubeSelection::Add(int column, int row, qint32 value)
{
    if (Contains(column, row))
        return;
    Cells.append(QPoint(column, row));
    Values.append(value);
}

void CCubeSelection::Toggle(int column, int row, qint32 value)
{
    const int i = IndexOf(column, row);
    if (i >= 0) {
        Cells.remove(i);
        Values.remove(i);
    } else {
        Cells.append(QPoint(column, row));
        Values.append(value);
    }
}

void CCubeSelection::Clear()
{
    Cells.clear();
    Values.clear();
}
