#include "files/bitmapexport.h"

#include "document/tarvexdoc.h"

#include <QPainter>
#include <QSize>

// Placeholder until bitmap export lands.
bool CBitmapExport::Export(const CTarvexDoc &, const QString &, QString *error)
{
    if (error)
        *error = QStringLiteral("Bitmap export is not supported yet.");
    return false;
}

void CBitmapExport::Print(const CTarvexDoc &doc, QPainter &painter, const QSize &printable)
{
    const CTarvexDoc::Bounds b = doc.GetFigureBounds();
    const int x = (printable.width() - (b.right - b.left)) / 2 - b.left;
    const int y = (printable.height() - (b.bottom - b.top)) / 2 - b.top;
    doc.DrawWorkspace(painter, false, 1, x, y, true);
}
