// SPDX-License-Identifier: GPL-3.0-or-later
// Mirroring and turning the selection: one undo step, the selection kept, the result
// against a figure placed by hand.

#include "document/tarvexdoc.h"
#include "geometry/figuregenerator.h"
#include "support/testdocument.h"

#include <QtTest>

using T = CGridTransform;

class TestSelectionTransform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void againstHandMade_data();
    void againstHandMade();
    void backAfterThreeTurns();
    void cubesAroundAreCut();
    void keptInsideOrRefused();
    void generatedFigureReplaces();
};

void TestSelectionTransform::againstHandMade_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVector<QPoint>>("cells");
    QTest::addColumn<QVector<QPoint>>("expected"); // the same cubes placed by hand, in the same order
    // An L from an even row: down, then to the lower right.
    const QVector<QPoint> ell{{4, 6}, {4, 8}, {4, 10}, {4, 11}};
    QTest::newRow("mirror") << int(T::Mirror) << ell << QVector<QPoint>{{4, 6}, {4, 8}, {4, 10}, {3, 11}};
    QTest::newRow("turn clockwise") << int(T::RotateClockwise) << ell
                                    << QVector<QPoint>{{5, 10}, {4, 9}, {4, 8}, {3, 9}};
}

void TestSelectionTransform::againstHandMade()
{
    QFETCH(int, kind);
    QFETCH(QVector<QPoint>, cells);
    QFETCH(QVector<QPoint>, expected);
    CTestDocument doc;
    PlaceCubes(doc, cells);
    SelectEveryCube(doc);
    QVERIFY(doc.TransformSelection(T::Kind(kind)));
    QCOMPARE(doc.UndoCount(), 1);
    QCOMPARE(*doc.SelectedCells(), expected);
    CFigure byHand = doc.Figure();
    for (CubeRow &row : byHand.Grid)
        row.fill(EmptyCell);
    for (const QPoint &cell : expected)
        byHand.PlaceCube(cell.x(), cell.y(), 0);
    QVERIFY(doc.Figure() == byHand);
}

void TestSelectionTransform::backAfterThreeTurns()
{
    CTestDocument doc;
    PlaceCubes(doc, {{6, 10}, {6, 12}, {7, 13}, {7, 14}, {5, 11}});
    const CFigure start = doc.Figure();
    SelectEveryCube(doc);
    for (int i = 0; i < 3; ++i)
        QVERIFY(doc.TransformSelection(T::RotateAnticlockwise));
    QVERIFY(doc.Figure() == start);
    QCOMPARE(doc.Selection()->Count(), 5);
    QCOMPARE(doc.UndoCount(), 3);
    doc.OnEditUndo();
    QVERIFY(doc.Figure() != start);
}

void TestSelectionTransform::cubesAroundAreCut()
{
    // (5, 10) stays; the column right of it is turned about (6, 12), its lowest cube
    // landing at (5, 11), lower right of (5, 10).
    CTestDocument doc({{5, 10}});
    PlaceCubes(doc, {{6, 10}, {6, 12}, {6, 14}});
    doc.ToggleSelectMode();
    doc.SelectCells({{6, 10}, {6, 12}, {6, 14}}, false);
    QVERIFY(doc.TransformSelection(T::RotateClockwise));
    QCOMPARE(*doc.SelectedCells(), (QVector<QPoint>{{6, 13}, {6, 12}, {5, 11}}));
    QCOMPARE(doc.Figure().Cell(6, 10), EmptyCell);
    QCOMPARE(doc.Figure().Cell(6, 14), EmptyCell);
    // The cut bottoms turned to upper left corners; the cube beside is cut by the newer one.
    QCOMPARE(doc.Figure().Cell(6, 13), 1 << UpperLeft);
    QCOMPARE(doc.Figure().Cell(6, 12), 1 << UpperLeft);
    QCOMPARE(doc.Figure().Cell(5, 11), 0);
    QCOMPARE(doc.Figure().Cell(5, 10), 1 << LowerRight);
}

void TestSelectionTransform::keptInsideOrRefused()
{
    // A column at the left edge turns into a diagonal that would leave the grid.
    CTestDocument doc(10, 10, {{0, 0}, {0, 2}, {0, 4}, {0, 6}});
    SelectEveryCube(doc);
    QVERIFY(doc.TransformSelection(T::RotateAnticlockwise));
    for (const QPoint &cell : *doc.SelectedCells())
        QVERIFY(doc.Figure().HasCell(cell.x(), cell.y()) && doc.Figure().Cell(cell.x(), cell.y()) >= 0);
    // A full-height column cannot lie down in a grid this narrow.
    CTestDocument tall(10, 60, {});
    QVector<QPoint> column;
    for (int r = 0; r < 60; r += 2)
        column.append({0, r});
    PlaceCubes(tall, column);
    SelectEveryCube(tall);
    QVERIFY(!tall.TransformSelection(T::RotateClockwise));
    QCOMPARE(tall.UndoCount(), 0);
}

// A generated figure is a new untitled, unsaved figure, one undo step away from the old.
void TestSelectionTransform::generatedFigureReplaces()
{
    CTestDocument doc({{3, 4}});
    doc.SavedAs(QStringLiteral("/tmp/old.xml"));
    SelectEveryCube(doc);
    const CFigure old = doc.Figure();
    const std::optional<CFigure> made = CFigureGenerator::Make({}, old);
    QVERIFY(made);
    doc.ReplaceFigure(*made);
    QVERIFY(doc.Figure() == *made);
    QVERIFY(doc.PathName().isEmpty());
    QVERIFY(!doc.IsSaved());
    QVERIFY(!doc.IsSelectMode());
    QCOMPARE(doc.UndoCount(), 1);
    doc.OnEditUndo();
    QVERIFY(doc.Figure() == old);
}

QTEST_GUILESS_MAIN(TestSelectionTransform)
#include "tst_selectiontransform.moc"
