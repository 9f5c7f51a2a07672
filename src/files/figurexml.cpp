#include "files/figurexml.h"

#include "document/tarvexdoc.h"

#include <QCoreApplication>

// Placeholder until the figure file format lands.
bool CFigureXml::Save(const CTarvexDoc &, const QString &, QString *error)
{
    if (error)
        *error = QStringLiteral("Figure files are not supported yet.");
    return false;
}

bool CFigureXml::Load(CTarvexDoc &, const QString &, QString *error)
{
    if (error)
        *error = QStringLiteral("Figure files are not supported yet.");
    return false;
}
