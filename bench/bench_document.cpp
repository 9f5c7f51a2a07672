// SPDX-License-Identifier: GPL-3.0-or-later
// Hit tests and undo memory of the figure document at the largest workspace.

#include "benchmark.h"

#include "document/cubeselection.h"
#include "document/tarvexdoc.h"
#include "support/referencescan.h"
#include "support/testdocument.h"

#include <QRandomGenerator>
#include <QSet>

namespace {

void FillGrid(CTarvexDoc &doc, QRandomGenerator &random)
{
    const QSize size = doc.Figure().GridSize();
    for (int r = 0; r < size.height(); ++r)
        for (int c = 0; c < RowLength(size.width(), r); ++c)
            PlaceCube(doc, c, r, int(random.bounded(64)));
}

void HitTests()
{
    CTarvexDoc doc(false);
    doc.ResizeGrid(100, 100);
    QRandomGenerator random(7);
    FillGrid(doc, random);
    const QSize ws = doc.Figure().GetWorkspaceSize();
    QVector<QPoint> points;
    for (int i = 0; i < 2000; ++i)
        points << QPoint(int(random.bounded(ws.width())), int(random.bounded(ws.height())));

    volatile int sink = 0;
    // Per-query time at points spread over the whole workspace.
    const double fastCube = MedianNanoseconds(15,
                                              [&] {
                                                  for (const QPoint &p : points)
                                                      sink += doc.Figure().CubeFromPoint(p.x(), p.y()).x();
                                              })
                            / points.size();
    const double fastCell = MedianNanoseconds(15,
                                              [&] {
                                                  for (const QPoint &p : points)
                                                      sink += doc.Figure().CellFromPoint(p.x(), p.y()).x();
                                              })
                            / points.size();
    const QVector<QPoint> few = points.mid(0, 40);
    const double scanCube = MedianNanoseconds(3,
                                              [&] {
                                                  for (const QPoint &p : few)
                                                      sink += CubeFromPointByScan(doc.Figure(), p.x(), p.y()).x();
                                              })
                            / few.size();
    const double scanCell = MedianNanoseconds(3,
                                              [&] {
                                                  for (const QPoint &p : few)
                                                      sink += CellFromPointByScan(doc.Figure(), p.x(), p.y()).x();
                                              })
                            / few.size();
    // The worst place for a row-order scan: the bottom right corner.
    const QPoint corner(ws.width() - 20, ws.height() - 20);
    const double fastCorner = MedianNanoseconds(
        2001, [&] { sink += doc.Figure().CubeFromPoint(corner.x(), corner.y()).x(); });

    CBenchmark::Report("CubeFromPoint 100x100 full, per query", fastCube / 1000.0, "us", scanCube / fastCube,
                       "x faster than row-order scan");
    CBenchmark::Report("CubeFromPoint 100x100 bottom-right corner", fastCorner / 1000.0, "us");
    CBenchmark::Report("CellFromPoint 100x100 full, per query", fastCell / 1000.0, "us", scanCell / fastCell,
                       "x faster than row-order scan");
}

void UndoMemory()
{
    CTarvexDoc doc(false);
    doc.ResizeGrid(100, 100);
    QRandomGenerator random(11);
    const QSize grid = doc.Figure().GridSize();
    const int clicks = 1000;
    for (int i = 0; i < clicks; ++i) {
        const int r = int(random.bounded(grid.height()));
        const int c = int(random.bounded(RowLength(grid.width(), r)));
        doc.PlaceCube(QPoint(c, r), int(random.bounded(65)) - 1);
    }
    // Storage the history holds of its own: every row buffer not shared with the
    // current figure, counted once, plus each snapshot's table of rows.
    QSet<const void *> current;
    for (const CubeRow &row : doc.Figure().Grid)
        current.insert(row.constData());
    QSet<const void *> seen;
    qint64 bytes = 0;
    // Walk the history by undoing; each restored grid was a snapshot.
    CTarvexDoc *d = &doc;
    int steps = 0;
    while (d->CanUndo()) {
        const CubeGrid &g = d->UndoTop().Figure.Grid;
        bytes += qint64(sizeof(CubeRow)) * g.size() + 16;
        for (const CubeRow &row : g) {
            const void *data = row.constData();
            if (!current.contains(data) && !seen.contains(data)) {
                seen.insert(data);
                bytes += qint64(row.size()) * qint64(sizeof(qint32)) + 16;
            }
        }
        d->Undo(false);
        ++steps;
    }
    const double perStep = double(bytes) / steps;
    const double fullCopy = double(grid.height()) * sizeof(CubeRow) + 16
                            + (grid.height() / 2.0) * (grid.width() + grid.width() - 1) * sizeof(qint32)
                            + grid.height() * 16.0;
    CBenchmark::Report("Undo storage per click, 100x100, 1000 clicks", perStep, "bytes", fullCopy / perStep,
                       QString("x smaller than a full grid copy (%1 bytes)").arg(qint64(fullCopy)));
}

// The straightforward selection: one list searched for every cell added.
void AddBySearch(QVector<QPoint> &cells, QVector<qint32> &values, const QPoint &cell, qint32 value)
{
    if (cells.contains(cell))
        return;
    cells.append(cell);
    values.append(value);
}

// Every cell of a staggered grid of the given size (as Select all adds them).
QVector<QPoint> GridCells(int width, int height)
{
    QVector<QPoint> cells;
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < RowLength(width, r); ++c)
            cells.append(QPoint(c, r));
    return cells;
}

void SelectionGrowth()
{
    {
        CTarvexDoc doc(false);
        doc.ResizeGrid(100, 100);
        QRandomGenerator random(5);
        FillGrid(doc, random);
        doc.ToggleSelectMode();
        const double all = MedianNanoseconds(11, [&] { doc.SelectAll(); });
        QVector<CPlacedCube> cubes;
        for (const QPoint &cell : GridCells(100, 100))
            cubes.append({cell, doc.Figure().Cell(cell.x(), cell.y())});
        const double paste = MedianNanoseconds(11, [&] { doc.PasteCubes(cubes); });
        const QVector<QPoint> cells = GridCells(100, 100);
        const double search = MedianNanoseconds(3, [&] {
            QVector<QPoint> list;
            QVector<qint32> values;
            for (const QPoint &cell : cells)
                AddBySearch(list, values, cell, 0);
        });
        CBenchmark::Report(QStringLiteral("Select all, %1 cubes").arg(doc.Selection()->Count()), all / 1e6, "ms",
                           search / all, "x faster than a searched list");
        CBenchmark::Report(QStringLiteral("Paste of %1 cubes (all selected)").arg(cubes.size()), paste / 1e6, "ms");
    }
    // Larger grids than the editor makes, for the growth: the selection alone.
    for (const int side : {200, 400}) {
        const QVector<QPoint> cells = GridCells(side, side);
        const double set = MedianNanoseconds(5, [&] {
            CCubeSelection selection;
            for (const QPoint &cell : cells)
                selection.Add(cell.x(), cell.y(), 0);
        });
        const double search = side > 200 ? 0.0 : MedianNanoseconds(1, [&] {
            QVector<QPoint> list;
            QVector<qint32> values;
            for (const QPoint &cell : cells)
                AddBySearch(list, values, cell, 0);
        });
        CBenchmark::Report(QStringLiteral("Selecting %1 cubes one by one").arg(cells.size()), set / 1e6, "ms",
                           search / set, "x faster than a searched list");
    }
}

CBenchmark hitTests("document-hit-tests", HitTests);
CBenchmark undoMemory("document-undo-memory", UndoMemory);
CBenchmark selectionGrowth("document-selection", SelectionGrowth);

} // namespace
