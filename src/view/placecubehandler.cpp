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

bool CPlaceCubeHandler::MousePress(QMouseEvent *event, const QPoint &workspacePoint)
{
    return MousePress(event, workspacePoint, m_doc.CubeSize);
}

bool CPlaceCubeHandler::MousePress(QMouseEvent *event, const QPoint &workspacePoint, int displaySize)
{
    if (event->button() != Qt::LeftButton || m_doc.IsSelectMode())
        return false;
    PlaceAt(workspacePoint, displaySize);
    return true;
}

bool CPlaceCubeHandler::PlaceAt(const QPoint &workspacePoint)
{
    return PlaceAt(workspacePoint, m_doc.CubeSize);
}

bool CPlaceCubeHandler::PlaceAt(const QPoint &workspacePoint, int displaySize)
{
    return m_doc.ClickPlaceCube(workspacePoint.x(), workspacePoint.y(), CurrentCube(), displaySize);
}
