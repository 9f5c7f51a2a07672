// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/tarvexdoc.h"
#include "support/scriptedui.h"

#include <QPoint>
#include <functional>
#include <initializer_list>

// Sets a document's figure up the way a file would: the edited figure is taken over
// whole, with no undo step (and, when it holds cubes, as a change not yet saved).
void EditFigure(CTarvexDoc &doc, const std::function<void(CFigure &)> &edit);
// Places one cube (or, with a value that is no cube, erases) with the placing rule that way.
void PlaceCube(CTarvexDoc &doc, int column, int row, qint32 value);
// Places cubes of one kind on cells in order that way.
void PlaceCubes(CTarvexDoc &doc, const QVector<QPoint> &cells, qint32 value = 0);
// The same for a figure value.
CFigure FigureWith(std::initializer_list<QPoint> cells, qint32 value, int cubeSize = CFigure::DefaultCubeSize);

// A document without the settings store that asks its questions through a scripted
// user interface (ui), holding cubes of one kind placed in order as a file would hold
// them (no undo step): the usual set-up of a test.
class CTestDocument : public CTarvexDoc
{
public:
    explicit CTestDocument(std::initializer_list<QPoint> cubes = {}, qint32 kind = 0);
    // The same on a grid of width by height cells, with cubes of cubeSize.
    explicit CTestDocument(int width, int height, std::initializer_list<QPoint> cubes = {}, qint32 kind = 0,
                           int cubeSize = CFigure::DefaultCubeSize);
    CScriptedUi ui;
};

// Select-and-move mode on (when it is off), every cube selected.
void SelectEveryCube(CTarvexDoc &doc);

// The document's figure as it is now counts as saved (as if just opened): history,
// selection and file name start afresh.
void MarkSaved(CTarvexDoc &doc);

// The offset a drag of the selection from start to point (workspace points at the
// figure's own size) moves it by, kept to the grid.
QPoint DragOffset(const CTarvexDoc &doc, const QPoint &start, const QPoint &point);

// Reads a figure file into the document as a file's figure (see EditFigure).
bool LoadFigure(CTarvexDoc &doc, const QString &path, QString *error = nullptr);
