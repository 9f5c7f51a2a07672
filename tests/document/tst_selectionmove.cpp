// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/tarvexdoc.h"
#include "geometry/dragoffset.h"
#include "support/testdocument.h"

#include <QtTest>
#include <QRandomGenerator>

class TestSelectionMove : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clicks_data();
    void clicks();
    void oneRowDownKeepsPixelShift();
    void moveAndCopy();
    void dropInPlaceReplacesAndCutsAgain();
    void deleteSelection();
    void targetsAlwaysInsideGrid();
    void staleEntriesAreSkipped_data();
    void staleEntriesAreSkipped();
};

void TestSelectionMove::clicks_data()
{
    QTest::addColumn<QPoint>("click");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<QVector<QPoint>>("expected");
    // Cubes at (2, 2) and (5, 8), (2, 2) selected beforehand.
    const QPoint a(2 * 42 + 16, 2 * 12 + 16);
    const QPoint b(5 * 42 + 16, 8 * 12 + 16);
    QTest::newRow("plain on other") << b << false << QVector<QPoint>{QPoint(5, 8)};
    QTest::newRow("ctrl on other") << b << true << QVector<QPoint>{QPoint(2, 2), QPoint(5, 8)};
    QTest::newRow("plain on selected") << a << false << QVector<QPoint>{QPoint(2, 2)};
    QTest::newRow("ctrl on selected") << a << true << QVector<QPoint>{};
    QTest::newRow("beside") << QPoint(600, 400) << false << QVector<QPoint>{};
    QTest::newRow("ctrl beside") << QPoint(600, 400) << true << QVector<QPoint>{};
}

void TestSelectionMove::clicks()
{
    QFETCH(QPoint, click);
    QFETCH(bool, ctrl);
    QFETCH(QVector<QPoint>, expected);
    CTestDocument doc({{2, 2}, {5, 8}});
    doc.ToggleSelectMode();
    doc.SelectCells({QPoint(2, 2)}, true);
    doc.ClickSelect(doc.Figure().CubeFromPoint(click.x(), click.y()), ctrl);
    QCOMPARE(doc.Selection()->Cells(), expected);
    QVERIFY(!doc.CanUndo());
}

void TestSelectionMove::oneRowDownKeepsPixelShift()
{
    CTestDocument doc({{4, 10}, {4, 13}});
    SelectEveryCube(doc);
    const QPoint before[] = {doc.Figure().GetCellOrigin(4, 10), doc.Figure().GetCellOrigin(4, 13)};
    doc.DropSelection(QPoint(0, 1), false);
    QCOMPARE(doc.Selection()->Cells(), (QVector<QPoint>{QPoint(4, 11), QPoint(5, 14)}));
    QCOMPARE(doc.Figure().GetCellOrigin(4, 11) - before[0], QPoint(21, 12));
    QCOMPARE(doc.Figure().GetCellOrigin(5, 14) - before[1], QPoint(21, 12));
    QCOMPARE(doc.Figure().Cell(4, 10), -1);
    QCOMPARE(doc.Figure().Cell(4, 13), -1);
}

void TestSelectionMove::moveAndCopy()
{
    for (bool copy : {false, true}) {
        CTestDocument doc({{3, 4}}, 5);
        PlaceCube(doc, 3, 6, 0); // cuts the bottom of (3, 4): it holds 13 now
        MarkSaved(doc);
        SelectEveryCube(doc);
        doc.DropSelection(QPoint(2, 0), copy);
        QCOMPARE(doc.UndoCount(), 1);
        QCOMPARE(doc.IsSaved(), 0);
        QCOMPARE(doc.Selection()->Cells(), (QVector<QPoint>{QPoint(5, 4), QPoint(5, 6)}));
        // Captured values are placed; the later cube cuts the earlier one again.
        QCOMPARE(doc.Figure().Cell(5, 4), 13);
        QCOMPARE(doc.Figure().Cell(5, 6), 0);
        QCOMPARE(doc.Figure().Cell(3, 4) >= 0, copy);
        QCOMPARE(doc.Figure().Cell(3, 6) >= 0, copy);
        doc.Undo(true);
        QCOMPARE(doc.Figure().Cell(3, 4), 13);
        QCOMPARE(doc.Figure().Cell(5, 4), -1);
        QCOMPARE(doc.Selection()->Cells(), (QVector<QPoint>{QPoint(3, 4), QPoint(3, 6)}));
    }
}

void TestSelectionMove::dropInPlaceReplacesAndCutsAgain()
{
    CTestDocument doc({{3, 4}});
    SelectEveryCube(doc);
    PlaceCube(doc, 3, 2, 0); // not selected; its bottom is cut, it cuts (3, 4)'s top
    QCOMPARE(doc.Figure().Cell(3, 4), 1);
    QCOMPARE(doc.Figure().Cell(3, 2), 0);
    doc.DropSelection(QPoint(0, 0), false);
    QCOMPARE(doc.UndoCount(), 1);
    QCOMPARE(doc.Figure().Cell(3, 4), 0); // the captured value
    QCOMPARE(doc.Figure().Cell(3, 2), 8); // the neighbour is cut again
}

void TestSelectionMove::deleteSelection()
{
    CTestDocument doc({{3, 4}, {3, 6}});
    doc.ToggleSelectMode();
    doc.DeleteSelection(); // empty selection: no snapshot
    QVERIFY(!doc.CanUndo());
    doc.SelectCells({QPoint(3, 6)}, true);
    doc.DeleteSelection();
    QCOMPARE(doc.UndoCount(), 1);
    QCOMPARE(doc.Figure().Cell(3, 6), -1);
    QCOMPARE(doc.Figure().Cell(3, 4), 8); // keeps the corner the deleted cube had cut
    QVERIFY(doc.Selection()->IsEmpty());
}

void TestSelectionMove::targetsAlwaysInsideGrid()
{
    QRandomGenerator random(2024);
    int clamped = 0;
    for (int round = 0; round < 3000; ++round) {
        const int w = 3 + int(random.bounded(12));
        const int n = 2 + int(random.bounded(12));
        CTestDocument doc(w, n, {}, 0, 16 + int(random.bounded(60)));
        doc.ToggleSelectMode();
        const int kind = int(random.bounded(4));
        // Random selections, whole even rows, and the last cells of odd rows.
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < RowLength(w, r); ++c) {
                bool pick = false;
                if (kind == 0)
                    pick = random.bounded(100) < 15;
                else if (kind == 1)
                    pick = r == 2 % n && !(r & 1);
                else if (kind == 2)
                    pick = (r & 1) && c == w - 2 && random.bounded(2);
                else
                    pick = random.bounded(100) < 60;
                if (pick) {
                    PlaceCube(doc, c, r, int(random.bounded(64)));
                    doc.SelectCells({QPoint(c, r)}, true);
                }
            }
        if (doc.Selection()->IsEmpty())
            continue;
        const QSize ws = doc.Figure().GetWorkspaceSize();
        const QPoint start(int(random.bounded(ws.width())), int(random.bounded(ws.height())));
        const QPoint point(int(random.bounded(3 * ws.width())) - ws.width(),
                           int(random.bounded(3 * ws.height())) - ws.height());
        const QPoint offset = DragOffset(doc, start, point);
        for (const QPoint &cell : doc.Selection()->Cells()) {
            const QPoint t = CDragOffset::DropTarget(cell, offset);
            if (!CellExists(t.x(), t.y(), w, n))
                QFAIL(qPrintable(QString("round %1: (%2,%3) + (%4,%5) leaves the %6x%7 grid")
                                     .arg(round)
                                     .arg(cell.x())
                                     .arg(cell.y())
                                     .arg(offset.x())
                                     .arg(offset.y())
                                     .arg(w)
                                     .arg(n)));
        }
        clamped += offset != QPoint(0, 0);
        // The drop moves every selected cube: the group stays whole.
        const int count = doc.Selection()->Count();
        doc.DropSelection(offset, false);
        int occupied = 0;
        for (const QPoint &cell : doc.Selection()->Cells())
            occupied += doc.Figure().Cell(cell.x(), cell.y()) >= 0;
        QCOMPARE(occupied, count);
    }
    QVERIFY(clamped > 1000); // the rounds really moved things
}

void TestSelectionMove::staleEntriesAreSkipped_data()
{
    QTest::addColumn<QVector<QPoint>>("cubes"); // all selected
    QTest::addColumn<QVector<QSize>>("grids");  // chosen in turn in Options with the selection held
    QTest::addColumn<int>("dragX");             // pixels
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<QPoint>("landed"); // where the cube left on the grid lands
    QTest::newRow("cut off, dragged along")
        << QVector<QPoint>{{18, 30}, {1, 1}} << QVector<QSize>{{10, 10}} << 42 << QPoint(1, 0) << QPoint(2, 1);
    // The cut-off cube's entry would land inside the grid: nothing may appear there.
    QTest::newRow("cut off, dragged back in")
        << QVector<QPoint>{{8, 2}, {12, 2}} << QVector<QSize>{{10, 10}} << -168 << QPoint(-4, 0) << QPoint(4, 2);
    QTest::newRow("cut off, grid grown again") << QVector<QPoint>{{8, 2}, {12, 2}} << QVector<QSize>{{10, 10}, {20, 40}}
                                               << -168 << QPoint(-4, 0) << QPoint(4, 2);
}

void TestSelectionMove::staleEntriesAreSkipped()
{
    QFETCH(QVector<QPoint>, cubes);
    QFETCH(QVector<QSize>, grids);
    QFETCH(int, dragX);
    QFETCH(QPoint, offset);
    QFETCH(QPoint, landed);
    CTestDocument doc;
    PlaceCubes(doc, cubes);
    SelectEveryCube(doc);
    for (const QSize &grid : grids) {
        COptions options = doc.Options();
        options.Width = grid.width();
        options.Height = grid.height();
        doc.SetOptions(options);
    }
    QCOMPARE(DragOffset(doc, QPoint(200, 30), QPoint(200 + dragX, 30)), offset);
    doc.DropSelection(offset, false);
    const CFigure &f = doc.Figure();
    for (int r = 0; r < f.Grid.size(); ++r)
        for (int c = 0; c < f.Grid[r].size(); ++c)
            QCOMPARE(f.Cell(c, r), QPoint(c, r) == landed ? 0 : EmptyCell);
    doc.DeleteSelection();
    QVERIFY(doc.Figure().IsEmpty());
}

QTEST_GUILESS_MAIN(TestSelectionMove)
#include "tst_selectionmove.moc"
