// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/cubeselection.h"

void CCubeSelection::Add(int column, int row, qint32 value)
{
    if (!m_members.Insert(column, row))
        return;
    m_cells.append(QPoint(column, row));
    m_values.append(value);
}

void CCubeSelection::Toggle(int column, int row, qint32 value)
{
    if (!m_members.Remove(column, row)) {
        Add(column, row, value);
        return;
    }
    const qsizetype i = m_cells.indexOf(QPoint(column, row));
    m_cells.remove(i);
    m_values.remove(i);
}

void CCubeSelection::Clear()
{
    m_cells.clear();
    m_values.clear();
    m_members.Clear();
}

void CCubeSelection::Reserve(int count)
{
    m_cells.reserve(count);
    m_values.reserve(count);
    m_members.Reserve(count);
}

void CCubeSelection::MoveCells(const QVector<QPoint> &cells)
{
    Q_ASSERT(cells.size() == m_cells.size());
    const QVector<qint32> values = m_values;
    Clear();
    Reserve(int(cells.size()));
    for (qsizetype i = 0; i < cells.size(); ++i)
        Add(cells[i].x(), cells[i].y(), values[i]);
}
