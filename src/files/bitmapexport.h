#pragma once

#include <QString>

class CTarvexDoc;
class QPainter;
class QSize;

// The figure as a 24-bit Windows bitmap cropped to its cubes, and its placement on a
// printed page.
class CBitmapExport
{
public:
    static bool Export(const CTarvexDoc &doc, const QString &path, QString *error);
    static void Print(const CTarvexDoc &doc, QPainter &painter, const QSize &printable);
};
