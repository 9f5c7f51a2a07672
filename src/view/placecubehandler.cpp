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
    if (event->button() != Qt::LeftButton || m_doc.IsSelectMode())
        return false;
    PlaceAt(workspacePoint);
    return true;
}

bool CPlaceCubeHandler::PlaceAt(const QPoint &workspacePoint)
{
    return m_doc.ClickPlaceCube(workspacePoint.x(), workspacePoint.y(), CurrentCube());
}
