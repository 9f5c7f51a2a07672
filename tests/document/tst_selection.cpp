// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/tarvexdoc.h"
#include "geometry/cubepainter.h"
#include "support/testdocument.h"

#include <QtTest>
#include <QImage>
#include <QPainter>

class TestSelection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void setOperations();
    void modeToggle();
    void selectAll();
    void rectangle_data();
    void rectangle();
    void rectangleCountsVisiblePartsOnly();
};

void TestSelection::setOperations()
{
    CCubeSelection s;
    s.Add(1, 1, 10);
    s.Add(2, 2, 20);
    s.Add(3, 3, 30);
    s.Add(2, 2, 99); // present: not added again
    QCOMPARE(s.Count(), 3);
    QCOMPARE(s.Values()[1], 20);
    s.Toggle(2, 2, 0); // removing the middle keeps the order of the others
    QCOMPARE(s.Cells(), (QVector<QPoint>{QPoint(1, 1), QPoint(3, 3)}));
    QCOMPARE(s.Values(), (QVector<qint32>{10, 30}));
    s.Toggle(2, 2, 21);
    QCOMPARE(s.Cells().last(), QPoint(2, 2));
    QCOMPARE(s.Values().last(), 21);
    const CCubeSelection copy = s;
    s.Clear();
    QVERIFY(s.IsEmpty());
    QCOMPARE(copy.Count(), 3);
    QVERIFY(copy.Contains(3, 3));
    QVERIFY(!copy.Contains(3, 2));
    // Moved cells are found at their new places only; a place taken twice is kept once.
    CCubeSelection moved = copy;
    moved.MoveCells({QPoint(5, 5), QPoint(6, 6), QPoint(5, 5)});
    QCOMPARE(moved.Cells(), (QVector<QPoint>{QPoint(5, 5), QPoint(6, 6)}));
    QCOMPARE(moved.Values(), (QVector<qint32>{10, 30}));
    QVERIFY(moved.Contains(6, 6) && !moved.Contains(1, 1) && !moved.Contains(3, 3));
}

void TestSelection::modeToggle()
{
    CTestDocument doc;
    QVERIFY(!doc.IsSelectModeEnabled()); // nothing to select in an empty figure
    PlaceCube(doc, 1, 1, 0);
    QSignalSpy updates(&doc, &CTarvexDoc::UpdateAllViews);
    QVERIFY(doc.IsSelectModeEnabled());
    QVERIFY(!doc.IsSelectModeChecked());
    doc.ToggleSelectMode();
    QVERIFY(doc.IsSelectModeChecked());
    doc.SelectCells({QPoint(1, 1)}, true);
    doc.ToggleSelectMode();
    doc.ToggleSelectMode();
    QVERIFY(doc.Selection()->IsEmpty());
    QCOMPARE(updates.count(), 4); // three toggles and the selection each repaint
    QVERIFY(!doc.CanUndo());
    // Deleting every cube leaves the mode checked but disabled.
    PlaceCube(doc, 1, 1, -1);
    QVERIFY(doc.IsSelectModeChecked());
    QVERIFY(!doc.IsSelectModeEnabled());
}

void TestSelection::selectAll()
{
    CTestDocument doc;
    doc.SelectAll(); // mode off: nothing happens
    QVERIFY(!doc.IsSelectMode());
    doc.ToggleSelectMode();
    doc.SelectAll();
    QVERIFY(doc.Selection()->IsEmpty());
    PlaceCube(doc, 5, 9, 0);
    PlaceCube(doc, 1, 2, 3);
    PlaceCube(doc, 7, 2, 12);
    doc.SelectCells({QPoint(0, 0)}, true);
    doc.SelectAll();
    QCOMPARE(doc.Selection()->Cells(), (QVector<QPoint>{QPoint(1, 2), QPoint(7, 2), QPoint(5, 9)}));
    QCOMPARE(doc.Selection()->Values(), (QVector<qint32>{3, 12, 0}));
}

void TestSelection::rectangle_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<int>("expected");
    // Cubes at (1, 1) and (3, 1): squares (63, 12)-(95, 44) and (147, 12)-(179, 44).
    QTest::newRow("both") << QRect(QPoint(50, 0), QPoint(200, 60)) << 2;
    QTest::newRow("first") << QRect(QPoint(50, 0), QPoint(120, 60)) << 1;
    QTest::newRow("top edge cuts both") << QRect(QPoint(50, 20), QPoint(200, 60)) << 0;
    QTest::newRow("second") << QRect(QPoint(140, 5), QPoint(190, 50)) << 1;
    QTest::newRow("zero width") << QRect(QPoint(50, 0), QPoint(50, 60)) << 0;
    QTest::newRow("zero height") << QRect(QPoint(50, 30), QPoint(200, 30)) << 0;
}

void TestSelection::rectangle()
{
    QFETCH(QRect, rect);
    QFETCH(int, expected);
    CTestDocument doc({{1, 1}, {3, 1}});
    doc.SelectCells(doc.Figure().CubesInRect(QPoint(rect.left(), rect.top()), QPoint(rect.right(), rect.bottom())),
                    true); // mode off
    QVERIFY(!doc.IsSelectMode());
    doc.ToggleSelectMode();
    doc.SelectCells(doc.Figure().CubesInRect(QPoint(rect.left(), rect.top()), QPoint(rect.right(), rect.bottom())),
                    true);
    QCOMPARE(doc.Selection()->Count(), expected);
    // Drawn the other way round, the same cubes.
    CTestDocument reverse({{1, 1}, {3, 1}});
    reverse.ToggleSelectMode();
    reverse.SelectCells(
        reverse.Figure().CubesInRect(QPoint(rect.right(), rect.bottom()), QPoint(rect.left(), rect.top())), true);
    QCOMPARE(reverse.Selection()->Cells(), doc.Selection()->Cells());
    // Nothing is removed by a second rectangle.
    doc.SelectCells(doc.Figure().CubesInRect(QPoint(0, 0), QPoint(1, 1)), true);
    QCOMPARE(doc.Selection()->Count(), expected);
}

void TestSelection::rectangleCountsVisiblePartsOnly()
{
    CTestDocument doc;
    doc.ToggleSelectMode();
    PlaceCube(doc, 2, 2, 1); // top corner cut
    const QPoint o = doc.Figure().GetCellOrigin(2, 2);
    CCubePainter cube;
    cube.Left = o.x();
    cube.Top = o.y();
    cube.Size = 32;
    cube.Index = 1;
    const QRect visible = cube.GetCubeRegion().boundingRect();
    // Exactly the visible bounds: selected although the whole hexagon is taller.
    doc.SelectCells(doc.Figure().CubesInRect(QPoint(visible.left(), visible.top()),
                                             QPoint(visible.right() + 1, visible.bottom() + 1)),
                    true);
    QCOMPARE(doc.Selection()->Count(), 1);
    doc.SelectCells({}, false);
    // One visible pixel outside: not selected.
    doc.SelectCells(doc.Figure().CubesInRect(QPoint(visible.left(), visible.top() + 1),
                                             QPoint(visible.right() + 1, visible.bottom() + 1)),
                    true);
    QCOMPARE(doc.Selection()->Count(), 0);
    doc.SelectCells(
        doc.Figure().CubesInRect(QPoint(visible.left(), visible.top()), QPoint(visible.right(), visible.bottom() + 1)),
        true);
    QCOMPARE(doc.Selection()->Count(), 0);
}

QTEST_MAIN(TestSelection)
#include "tst_selection.moc"
