// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QVector>

// The cubes picked in select-and-move mode: cells in the order they were added, each
// with the cube kind it held at that moment. A cell is never listed twice.
class CCubeSelection
{
public:
    QVector<QPoint> Cells; // (column, row)
    QVector<qint32> Values;

    bool Contains(int column, int row) const;
    void Add(int column, int row, qint32 value);
    void Toggle(int column, int row, qint32 value);
    void Clear();
    int Count() const { return int(Cells.size()); }
    bool IsEmpty() const { return Cells.isEmpty(); }

private:
    int IndexOf(int column, int row) const;
};
