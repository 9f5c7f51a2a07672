#pragma once

#include <QByteArray>
#include <QString>

class CTarvexDoc;
class CXmlElement;

// Figure files: the document's settings and occupied cells as XML-like text.
class CFigureXml
{
public:
    static bool Save(const CTarvexDoc &doc, const QString &path, QString *error);
    // Expects an emptied document. The file is checked completely (application,
    // version, every setting present and within the ranges the program allows)
    // before the document is changed, so a refused file leaves it as it was.
    static bool Load(CTarvexDoc &doc, const QString &path, QString *error);
    // The same, from the file's bytes (ending at the first zero byte).
    static bool LoadFromData(CTarvexDoc &doc, const QByteArray &data, QString *error);

    // The element tree of a figure.
    static CXmlElement BuildTree(const CTarvexDoc &doc);

private:
    // Checks the tree and applies it to the document; throws CFileException for a
    // tree that is no acceptable figure, before the document is changed.
    static void Apply(CTarvexDoc &doc, const CXmlElement &root);
};
