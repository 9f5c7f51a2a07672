// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/figurexml.h"

#include "geometry/figure.h"
#include "files/fileexception.h"
#include "files/xmlelement.h"

#include <QCoreApplication>

namespace {

const char *const ApplicationText = "Tarvex";
const char *const VersionText = "1.0";

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
        throw CFileException(CFigureXml::tr("%1 is %2; it must lie between %3 and %4.")
                                 .arg(QString::fromLatin1(name))
                                 .arg(value)
                                 .arg(low)
                                 .arg(high));
}

} // namespace

CXmlElement CFigureXml::BuildTree(const CFigure &figure)
{
    CXmlElement root;
    root.Name = "xml";
    AddTextChild(root, "Application", ApplicationText);
    AddTextChild(root, "Version", VersionText);

    const QSize grid = figure.GridSize();
    CXmlElement &settings = root.AddChild("Settings");
    AddIntChild(settings, "Color1", qint32(figure.Color1));
    AddIntChild(settings, "Color2", qint32(figure.Color2));
    AddIntChild(settings, "Color3", qint32(figure.Color3));
    AddIntChild(settings, "BkColor", qint32(figure.BkColor));
    AddIntChild(settings, "WorkspaceWidth", grid.width());
    AddIntChild(settings, "WorkspaceHeight", grid.height());
    AddIntChild(settings, "CubeSize", figure.CubeSize);
    // Colourings beyond the first only when there are any, so a figure in one
    // colouring is written exactly as before.
    if (!figure.Palette.isEmpty()) {
        CXmlElement &palette = settings.AddChild("Palette");
        for (const CColouring &colouring : figure.Palette) {
            CXmlElement &entry = palette.AddChild("Colouring");
            entry.SetAttributeInt("Color1", qint32(colouring.Top));
            entry.SetAttributeInt("Color2", qint32(colouring.Right));
            entry.SetAttributeInt("Color3", qint32(colouring.Left));
        }
    }

    CXmlElement &workspace = root.AddChild("Workspace");
    const CubeGrid &cells = figure.Grid;
    for (int r = 0; r < cells.size(); ++r) {
        for (int c = 0; c < cells[r].size(); ++c) {
            const qint32 value = cells[r][c];
            if (value < 0)
                continue;
            CXmlElement &cube = workspace.AddChild("Cube");
            cube.SetAttributeInt("Col", c);
            cube.SetAttributeInt("Row", r);
            cube.SetAttributeInt("Index", KindOfCell(value));
            if (PaintOfCell(value) != 0)
                cube.SetAttributeInt("Paint", PaintOfCell(value));
        }
    }
    return root;
}

bool CFigureXml::Save(const CFigure &figure, const QString &path, QString *error)
{
    return CFileException::Guard(error, [&] { return BuildTree(figure).SaveToFile(path, error); });
}

bool CFigureXml::Load(const QString &path, CFigure &figure, QString *error)
{
    return CFileException::Guard(error, [&] {
        CXmlElement root;
        if (!root.LoadFromFile(path, error))
            return false;
        figure = Read(root);
        return true;
    });
}

bool CFigureXml::LoadFromData(const QByteArray &data, CFigure &figure, QString *error, const QString &path)
{
    return CFileException::Guard(error, [&] {
        CXmlElement root;
        if (!root.ParseDocument(data))
            throw CFileException(path.isEmpty() ? CFigureXml::tr("The text is not a well-formed figure file.")
                                                : CFigureXml::tr("%1 is not a well-formed figure file.").arg(path));
        figure = Read(root);
        return true;
    });
}

CFigure CFigureXml::Read(const CXmlElement &root)
{
    // Everything is read and checked first; a missing element throws.
    // The root's own name is not looked at.
    if (root.GetChild("Application").Text.compare(ApplicationText, Qt::CaseInsensitive) != 0)
        throw CFileException(CFigureXml::tr("The file was not written by Tarvex."));
    if (root.GetChild("Version").Text.compare(VersionText, Qt::CaseInsensitive) != 0)
        throw CFileException(CFigureXml::tr("The file's version is not supported (only 1.0 is)."));
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
    CheckRange("WorkspaceWidth", width, CFigure::MinGridWidth, CFigure::MaxGridWidth);
    CheckRange("WorkspaceHeight", height, CFigure::MinGridHeight, CFigure::MaxGridHeight);
    CheckRange("CubeSize", cubeSize, CFigure::MinCubeSize, CFigure::MaxCubeSize);

    CFigure figure;
    figure.Color1 = StoredColorRef(color1);
    figure.Color2 = StoredColorRef(color2);
    figure.Color3 = StoredColorRef(color3);
    figure.BkColor = StoredColorRef(bkColor);
    figure.CubeSize = cubeSize;
    figure.Resize(width, height);

    if (const CXmlElement *palette = settings.FindChild("Palette")) {
        int count = 0;
        for (const CXmlElement &entry : palette->Children)
            count += entry.Name.compare("Colouring", Qt::CaseInsensitive) == 0 ? 1 : 0;
        CheckRange("Palette", count, 0, MaxColourings - 1);
        for (const CXmlElement &entry : palette->Children) {
            if (entry.Name.compare("Colouring", Qt::CaseInsensitive) != 0)
                continue;
            CColouring colouring;
            ColorRef *faces[3] = {&colouring.Top, &colouring.Right, &colouring.Left};
            const char *names[3] = {"Color1", "Color2", "Color3"};
            for (int f = 0; f < 3; ++f) {
                const qint32 value = entry.GetAttributeInt(names[f], 0);
                CheckRange(names[f], value, 0, 0xFFFFFF);
                *faces[f] = ColorRef(value);
            }
            figure.Palette.append(colouring);
        }
    }

    for (const CXmlElement &cube : workspace.Children) {
        if (cube.Name.compare("Cube", Qt::CaseInsensitive) != 0)
            continue;
        const qint32 row = cube.GetAttributeInt("Row", 0);
        const qint32 column = cube.GetAttributeInt("Col", 0);
        const qint32 index = cube.GetAttributeInt("Index", 0);
        const qint32 paint = cube.GetAttributeInt("Paint", 0);
        // Cubes outside the grid, and values that are neither a cube kind nor the empty
        // cell, are skipped. An empty cell is placed like any cube: it erases the cell.
        if (!figure.HasCell(column, row) || index < EmptyCell || index >= CubeKindCount)
            continue;
        // A colouring the palette lacks would be shown as another one: not this
        // program's file.
        CheckRange("Paint", paint, 0, figure.ColouringCount() - 1);
        figure.PlaceCube(column, row, index < 0 ? index : CellValue(index, paint));
    }
    return figure;
}
