// SPDX-License-Identifier: GPL-3.0-or-later
// The 3-D space over the staggered grid: steps, line of sight, back-to-front order.

#include "geometry/cubegeometry.h"
#include "geometry/figure.h"
#include "geometry/isospace.h"

#include <QtTest>

using Cells = QVector<QPoint>;
Q_DECLARE_METATYPE(CIsoSpace::Point)

class TestIsoSpace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stepsAreNeighbours_data();
    void stepsAreNeighbours();
    void lineOfSight();
    void placingOrder_data();
    void placingOrder();
    void boxFront_data();
    void boxFront();
    void floorPointAt_data();
    void floorPointAt();
};

void TestIsoSpace::stepsAreNeighbours_data()
{
    QTest::addColumn<QPoint>("origin");
    QTest::newRow("even row") << QPoint(5, 8);
    QTest::newRow("odd row") << QPoint(5, 9);
}

void TestIsoSpace::stepsAreNeighbours()
{
    QFETCH(QPoint, origin);
    for (int d = 0; d < NeighbourCount; ++d)
        QCOMPARE(CIsoSpace::CellOf(origin, CIsoSpace::DirectionStep(d)), NeighbourCell(origin.x(), origin.y(), d));
}

void TestIsoSpace::lineOfSight()
{
    const QPoint origin(4, 7);
    QCOMPARE(CIsoSpace::CellOf(origin, {1, 1, 1}), origin);
    QCOMPARE(CIsoSpace::CellOf(origin, {-2, -2, -2}), origin);
    QCOMPARE(CIsoSpace::CellOf(origin, {3, 1, 1}), CIsoSpace::CellOf(origin, {2, 0, 0}));
}

// Placing the order's cells gives the same figure as placing every point back to front,
// and no cell is placed twice.
void TestIsoSpace::placingOrder_data()
{
    QTest::addColumn<QVector<CIsoSpace::Point>>("points");
    QTest::newRow("box 3x2x4") << CIsoSpace::Box({0, 0, 0}, 3, 2, 4);
    QTest::newRow("thick bar up") << CIsoSpace::Bar(Top, 5, 3);
    QTest::newRow("thick bar upper left") << CIsoSpace::Bar(UpperLeft, 6, 2);
    QTest::newRow("bar off the grid") << CIsoSpace::Bar(LowerRight, 40, 2);
    QTest::newRow("box between, any corner order") << CIsoSpace::BoxBetween({2, -1, 0}, {-1, 1, -2});
}

void TestIsoSpace::placingOrder()
{
    QFETCH(QVector<CIsoSpace::Point>, points);
    const QPoint origin(8, 20);
    CFigure all, ordered;
    all.Resize(20, 40);
    ordered.Resize(20, 40);
    for (int i = 1; i < points.size(); ++i)
        QVERIFY(points[i - 1].Depth() <= points[i].Depth());
    for (const CIsoSpace::Point &p : std::as_const(points)) {
        const QPoint cell = CIsoSpace::CellOf(origin, p);
        if (all.HasCell(cell.x(), cell.y()))
            all.PlaceCube(cell.x(), cell.y(), 0);
    }
    const Cells order = CIsoSpace::PlacingOrder(origin, points, all.GridSize());
    for (const QPoint &cell : order)
        ordered.PlaceCube(cell.x(), cell.y(), 0);
    QCOMPARE(QSet<QPoint>(order.begin(), order.end()).size(), order.size());
    QVERIFY(!order.isEmpty());
    QVERIFY(ordered == all);
}

// The front faces of a box place the cells the whole box places, in the same order.
void TestIsoSpace::boxFront_data()
{
    QTest::addColumn<CIsoSpace::Point>("a");
    QTest::addColumn<CIsoSpace::Point>("b");
    QTest::newRow("one cube") << CIsoSpace::Point{0, 0, 0} << CIsoSpace::Point{0, 0, 0};
    QTest::newRow("plate") << CIsoSpace::Point{0, 0, 0} << CIsoSpace::Point{4, -3, 0};
    QTest::newRow("box") << CIsoSpace::Point{-2, 3, 5} << CIsoSpace::Point{3, 0, 1};
    QTest::newRow("tall, off the grid") << CIsoSpace::Point{0, 0, -12} << CIsoSpace::Point{6, 7, 12};
}

void TestIsoSpace::boxFront()
{
    QFETCH(CIsoSpace::Point, a);
    QFETCH(CIsoSpace::Point, b);
    const QPoint origin(5, 12);
    const QSize grid(20, 40);
    QCOMPARE(CIsoSpace::PlacingOrder(origin, CIsoSpace::BoxFront(a, b), grid),
             CIsoSpace::PlacingOrder(origin, CIsoSpace::BoxBetween(a, b), grid));
}

// A pointer offset (half columns, rows) to the floor point of the cell it lies in:
// exact at every centre, rounded within the cell's diamond.
void TestIsoSpace::floorPointAt_data()
{
    QTest::addColumn<double>("halfColumns");
    QTest::addColumn<double>("rows");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::newRow("origin") << 0.0 << 0.0 << 0 << 0;
    QTest::newRow("lower right") << 1.0 << 1.0 << 1 << 0;
    QTest::newRow("lower left") << -1.0 << 1.0 << 0 << 1;
    QTest::newRow("two rows down") << 0.0 << 2.0 << 1 << 1;
    QTest::newRow("along the row, left") << -2.0 << 0.0 << -1 << 1;
    QTest::newRow("near the lower right centre") << 3.3 << 2.6 << 3 << 0;
    QTest::newRow("up and left") << -2.8 << -3.2 << -3 << 0;
}

void TestIsoSpace::floorPointAt()
{
    QFETCH(double, halfColumns);
    QFETCH(double, rows);
    QFETCH(int, x);
    QFETCH(int, y);
    const CIsoSpace::Point p = CIsoSpace::FloorPointAt(halfColumns, rows);
    QCOMPARE(p, (CIsoSpace::Point{x, y, 0}));
    // The point's cell is the one at that offset.
    const QPoint origin(6, 10);
    const QPoint cell = CIsoSpace::CellOf(origin, p);
    QVERIFY(qAbs(2 * cell.x() + (cell.y() & 1) - 12 - halfColumns) + qAbs(cell.y() - 10 - rows) <= 1.0);
}

QTEST_APPLESS_MAIN(TestIsoSpace)
#include "tst_isospace.moc"
