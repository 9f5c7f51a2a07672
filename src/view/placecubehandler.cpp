// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/placecubehandler.h"

#include "document/tarvexdoc.h"

#include <QMouseEvent>

CPlaceCubeHandler::CPlaceCubeHandler(CTarvexDoc &doc)
    : m_doc(doc)
{
}

int CPlaceCubeHandler::CurrentCube() const
{
    return m_currentCube ? m_currentCube() : EmptyCubeIndex;
}

bool CPlaceCubeHandler::MousePress(QMouseEvent *event, const QPoint &cell)
{
    if (event->button() != Qt::LeftButton || m_doc.IsSelectMode())
        return false;
    PlaceAt(cell);
    return true;
}

bool CPlaceCubeHandler::PlaceAt(const QPoint &cell)
{
    return m_doc.PlaceCube(cell, CurrentCube());
}
