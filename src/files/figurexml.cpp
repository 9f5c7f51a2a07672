#include "files/figurexml.h"

#include "document/tarvexdoc.h"
#include "files/fileexception.h"
#include "files/xmlelement.h"

#include <QCoreApplication>

namespace {

const char *const ApplicationText = "Tarvex";
const char *const VersionText = "1.0";

QString Tr(const char *text)
{
    return QCoreApplication::translate("CFigureXml", text);
}

void AddTextChild(CXmlElement &parent, const char *name, const QByteArray &text)
{
    parent.AddChild(name).Text = text;
}

void AddIntChild(CXmlElement &parent, const char *name, qint32 value)
{
    AddTextChild(parent, name, CXmlElement::IntToText(value));
}

qint32 ReadIntChild(const CXmlElement &parent, const char *name)
{
    return CXmlElement::TextToInt(parent.GetChild(name).Text);
}

void CheckRange(const char *name, qint32 value, int low, int high)
{
    if (value < low || value > high)
        throw CFileException(Tr("%1 is %2; it must lie between %3 and %4.")
                                 .arg(QString::fromLatin1(name))
                                 .arg(value)
                                 .arg(low)
                                 .arg(high));
}

} // namespace

CXmlElement CFigureXml::BuildTree(const CTarvexDoc &doc)
{
    CXmlElement root;
    root.Name = "xml";
    AddTextChild(root, "Application", ApplicationText);
    AddTextChild(root, "Version", VersionText);

    const QSize grid = doc.GetGridSize();
    CXmlElement &settings = root.AddChild("Settings");
    AddIntChild(settings, "Color1", qint32(doc.Color1));
    AddIntChild(settings, "Color2", qint32(doc.Color2));
    AddIntChild(settings, "Color3", qint32(doc.Color3));
    AddIntChild(settings, "BkColor", qint32(doc.BkColor));
    AddIntChild(settings, "WorkspaceWidth", grid.width());
    AddIntChild(settings, "WorkspaceHeight", grid.height());
    AddIntChild(settings, "CubeSize", doc.CubeSize);

    CXmlElement &workspace = root.AddChild("Workspace");
    const CubeGrid &cells = doc.Grid();
    for (int r = 0; r < cells.size(); ++r) {
        for (int c = 0; c < cells[r].size(); ++c) {
            const qint32 value = cells[r][c];
            if (value < 0)
                continue;
            CXmlElement &cube = workspace.AddChild("Cube");
            cube.SetAttributeInt("Col", c);
            cube.SetAttributeInt("Row", r);
            cube.SetAttributeInt("Index", value);
        }
    }
    return root;
}

bool CFigureXml::Save(const CTarvexDoc &doc, const QString &path, QString *error)
{
    return CFileException::Guard(error, [&] { return BuildTree(doc).SaveToFile(path, error); });
}

bool CFigureXml::Load(CTarvexDoc &doc, const QString &path, QString *error)
{
    return CFileException::Guard(error, [&] {
        CXmlElement root;
        if (!root.LoadFromFile(path, error))
            return false;
        Apply(doc, root);
        return true;
    });
}

bool CFigureXml::LoadFromData(CTarvexDoc &doc, const QByteArray &data, QString *error)
{
    return CFileException::Guard(error, [&] {
        CXmlElement root;
        if (!root.ParseDocument(data))
            throw CFileException(Tr("The text is not a well-formed figure file."));
        Apply(doc, root);
        return true;
    });
}

void CFigureXml::Apply(CTarvexDoc &doc, const CXmlElement &root)
{
    // Everything is read and checked first; a missing element throws.
    // The root's own name is not looked at.
    if (root.GetChild("Application").Text.compare(ApplicationText, Qt::CaseInsensitive) != 0)
        throw CFileException(Tr("The file was not written by Tarvex."));
    if (root.GetChild("Version").Text.compare(VersionText, Qt::CaseInsensitive) != 0)
        throw CFileException(Tr("The file's version is not supported (only 1.0 is)."));
    const CXmlElement &settings = root.GetChild("Settings");
    const CXmlElement &workspace = root.GetChild("Workspace");
    const qint32 color1 = ReadIntChild(settings, "Color1");
    const qint32 color2 = ReadIntChild(settings, "Color2");
    const qint32 color3 = ReadIntChild(settings, "Color3");
    const qint32 bkColor = ReadIntChild(settings, "BkColor");
    const qint32 width = ReadIntChild(settings, "WorkspaceWidth");
    const qint32 height = ReadIntChild(settings, "WorkspaceHeight");
    const qint32 cubeSize = ReadIntChild(settings, "CubeSize");
    // The grid and the painter are made for the sizes the Options dialog allows;
    // anything else is not a figure this program wrote.
    CheckRange("WorkspaceWidth", width, CTarvexDoc::MinGridWidth, CTarvexDoc::MaxGridWidth);
    CheckRange("WorkspaceHeight", height, CTarvexDoc::MinGridHeight, CTarvexDoc::MaxGridHeight);
    CheckRange("CubeSize", cubeSize, CTarvexDoc::MinCubeSize, CTarvexDoc::MaxCubeSize);

    // Only now is the document changed.
    doc.Color1 = ColorRef(color1);
    doc.Color2 = ColorRef(color2);
    doc.Color3 = ColorRef(color3);
    doc.BkColor = ColorRef(bkColor);
    doc.CubeSize = cubeSize;
    doc.ResizeGrid(width, height);
    doc.SaveSettings();
    doc.UpdateBarColors();

    for (const CXmlElement &cube : workspace.Children) {
        if (cube.Name.compare("Cube", Qt::CaseInsensitive) != 0)
            continue;
        const qint32 row = cube.GetAttributeInt("Row", 0);
        const qint32 column = cube.GetAttributeInt("Col", 0);
        const qint32 index = cube.GetAttributeInt("Index", 0);
        // Cubes outside the grid, and values that are no cube kind, are skipped.
        if (!doc.HasCell(column, row) || index < 0 || index >= CubeKindCount)
            continue;
        doc.PlaceCube(column, row, index);
    }
}
