// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/testdocument.h"

#include "files/figurexml.h"
#include "geometry/dragoffset.h"

void EditFigure(CTarvexDoc &doc, const std::function<void(CFigure &)> &edit)
{
    CFigure figure = doc.Figure();
    edit(figure);
    doc.ApplyFigure(figure);
}

void PlaceCube(CTarvexDoc &doc, int column, int row, qint32 value)
{
    EditFigure(doc, [&](CFigure &f) { f.PlaceCube(column, row, f.CheckedValue(value)); });
}

void PlaceCubes(CTarvexDoc &doc, const QVector<QPoint> &cells, qint32 value)
{
    EditFigure(doc, [&](CFigure &f) {
        for (const QPoint &cell : cells)
            f.PlaceCube(cell.x(), cell.y(), value);
    });
}

CFigure FigureWith(std::initializer_list<QPoint> cells, qint32 value, int cubeSize)
{
    CFigure figure;
    figure.CubeSize = cubeSize;
    figure.Resize(CFigure::DefaultWidth, CFigure::DefaultHeight);
    for (const QPoint &cell : cells)
        figure.PlaceCube(cell.x(), cell.y(), value);
    return figure;
}

CTestDocument::CTestDocument(std::initializer_list<QPoint> cubes, qint32 kind)
    : CTarvexDoc(false)
{
    SetUi(&ui);
    if (cubes.size() > 0)
        ::PlaceCubes(*this, cubes, kind);
}

CTestDocument::CTestDocument(int width, int height, std::initializer_list<QPoint> cubes, qint32 kind, int cubeSize)
    : CTestDocument()
{
    ResizeGrid(width, height);
    if (cubeSize != Figure().CubeSize)
        EditFigure(*this, [&](CFigure &f) { f.CubeSize = cubeSize; });
    if (cubes.size() > 0)
        ::PlaceCubes(*this, cubes, kind);
}

void SelectEveryCube(CTarvexDoc &doc)
{
    if (!doc.IsSelectMode())
        doc.ToggleSelectMode();
    doc.SelectAll();
}

void MarkSaved(CTarvexDoc &doc)
{
    doc.TakeFigure(doc.Figure(), QString(), true);
}

QPoint DragOffset(const CTarvexDoc &doc, const QPoint &start, const QPoint &point)
{
    return doc.ClampDragOffset(CDragOffset::Snap(point - start, doc.Figure().GetCellPitch()));
}

bool LoadFigure(CTarvexDoc &doc, const QString &path, QString *error)
{
    CFigure figure;
    if (!CFigureXml::Load(path, figure, error))
        return false;
    doc.ApplyFigure(figure);
    return true;
}
