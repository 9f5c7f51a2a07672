#pragma once

#include <QString>

class CTarvexDoc;

// Figure files: the document's settings and occupied cells as XML-like text.
class CFigureXml
{
public:
    static bool Save(const CTarvexDoc &doc, const QString &path, QString *error);
    static bool Load(CTarvexDoc &doc, const QString &path, QString *error);
};
