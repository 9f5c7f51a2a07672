// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/cubegeometry.h"

#include <QtTest>
#include <cmath>

class TestCubeGeometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void referencePoints_data();
    void referencePoints();
    void storedAngleMatchesExactFromFour();
    void smallSizesDifferFromExactAngle();
    void cellPitch_data();
    void cellPitch();
    void cubeRegion_data();
    void cubeRegion();
    void partsTileHexagon();
    void facingCornersCoincideAtDefaultSize();
    void neighbours_data();
    void neighbours();
};

void TestCubeGeometry::referencePoints_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<int>>("xs");
    QTest::addColumn<QList<int>>("ys");
    // The stored angle flattens the smallest cubes: no rise to the top corner.
    QTest::newRow("2, flat") << 2 << QList<int>{0, 1, 1, 1, 2} << QList<int>{0, 0, 0, 0, 0, 0, 0, 1, 2, 2};
    QTest::newRow("3 like 2") << 3 << QList<int>{0, 1, 1, 1, 2} << QList<int>{0, 0, 0, 0, 0, 0, 0, 1, 2, 2};
    QTest::newRow("16") << 16 << QList<int>{1, 5, 8, 11, 15} << QList<int>{0, 2, 4, 6, 8, 8, 10, 12, 14, 16};
    QTest::newRow("20") << 20 << QList<int>{1, 6, 10, 14, 19} << QList<int>{0, 2, 5, 7, 10, 10, 12, 15, 18, 20};
    QTest::newRow("32") << 32 << QList<int>{2, 9, 16, 23, 30} << QList<int>{0, 4, 8, 12, 16, 16, 20, 24, 28, 32};
    QTest::newRow("33 like 32") << 33 << QList<int>{2, 9, 16, 23, 30}
                                << QList<int>{0, 4, 8, 12, 16, 16, 20, 24, 28, 32};
    QTest::newRow("100") << 100 << QList<int>{7, 29, 50, 71, 93} << QList<int>{0, 12, 25, 37, 50, 50, 62, 75, 88, 100};
}

void TestCubeGeometry::referencePoints()
{
    QFETCH(int, size);
    QFETCH(QList<int>, xs);
    QFETCH(QList<int>, ys);
    const CubePoints p = ComputeCubePoints(0, 0, size);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(p.X[i], xs[i]);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(p.Y[i], ys[i]);
    // Moving the square moves every point by the same amount.
    const CubePoints q = ComputeCubePoints(7, -3, size);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(q.X[i], xs[i] + 7);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(q.Y[i], ys[i] - 3);
}

void TestCubeGeometry::storedAngleMatchesExactFromFour()
{
    const double exact = M_PI / 6;
    auto rnd = [](double v) {
        return int(v + 0.5);
    };
    for (int size = 4; size <= 2001; ++size) {
        const int h = size / 2;
        const CubePoints p = ComputeCubePoints(0, 0, size);
        QCOMPARE(p.X[4] - p.X[2], rnd(h * std::cos(exact)));
        QCOMPARE(p.Y[2], rnd(h * std::sin(exact)));
        const CellPitch pitch = ComputeCellPitch(size);
        QCOMPARE(pitch.Px, 2 * rnd(1.5 * std::cos(exact) * h));
        QCOMPARE(pitch.Py, rnd(1.5 * std::sin(exact) * h));
        QVERIFY(pitch.Px % 2 == 0);
    }
}

void TestCubeGeometry::smallSizesDifferFromExactAngle()
{
    for (int size : {2, 3}) {
        const CubePoints p = ComputeCubePoints(0, 0, size);
        QCOMPARE(p.Y[2] - p.Y[0], 0); // Hy is 0; the exact angle would give 1
        QCOMPARE(int(0.5 + std::sin(M_PI / 6) * (size / 2)), 1);
    }
}

void TestCubeGeometry::cellPitch_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("px");
    QTest::addColumn<int>("py");
    QTest::newRow("16") << 16 << 20 << 6;
    QTest::newRow("20") << 20 << 26 << 7;
    QTest::newRow("32") << 32 << 42 << 12;
    QTest::newRow("40") << 40 << 52 << 15;
    QTest::newRow("64") << 64 << 84 << 24;
    QTest::newRow("200") << 200 << 260 << 75;
}

void TestCubeGeometry::cellPitch()
{
    QFETCH(int, size);
    QFETCH(int, px);
    QFETCH(int, py);
    const CellPitch pitch = ComputeCellPitch(size);
    QCOMPARE(pitch.Px, px);
    QCOMPARE(pitch.Py, py);
    // The scale multiplies the halved size: scale 2 is a cube of size 4 * (size / 2).
    const CellPitch twice = ComputeCellPitch(size, 2);
    const CellPitch doubled = ComputeCellPitch(4 * (size / 2));
    QCOMPARE(twice.Px, doubled.Px);
    QCOMPARE(twice.Py, doubled.Py);
    QCOMPARE(CellOrigin(3, 0, pitch), QPoint(3 * px, 0));
    QCOMPARE(CellOrigin(3, 5, pitch), QPoint(3 * px + px / 2, 5 * py));
}

void TestCubeGeometry::cubeRegion_data()
{
    QTest::addColumn<int>("index");
    for (int index : {0, 1, 8, 21, 42, 63})
        QTest::addRow("%d", index) << index;
}

void TestCubeGeometry::cubeRegion()
{
    QFETCH(int, index);
    const QRegion region = GetCubeRegion(0, 0, 32, index);
    const QRegion centre = GetPartRegion(0, 0, 32, Centre);
    QVERIFY(centre.subtracted(region).isEmpty());
    for (int part = 0; part < 6; ++part) {
        const QRegion corner = GetPartRegion(0, 0, 32, part);
        const QRegion outsideCentre = corner.subtracted(centre);
        if (index & (1 << part))
            QVERIFY2((outsideCentre & region).isEmpty(), qPrintable(QString("corner %1").arg(part)));
        else
            QVERIFY2(corner.subtracted(region).isEmpty(), qPrintable(QString("corner %1").arg(part)));
    }
}

void TestCubeGeometry::partsTileHexagon()
{
    const CubePoints p = ComputeCubePoints(0, 0, 32);
    const QPolygon hexagon{QPoint(p.X[2], p.Y[0]), QPoint(p.X[4], p.Y[2]), QPoint(p.X[4], p.Y[7]),
                           QPoint(p.X[2], p.Y[9]), QPoint(p.X[0], p.Y[7]), QPoint(p.X[0], p.Y[2])};
    QCOMPARE(GetCubeRegion(0, 0, 32, 0), QRegion(hexagon, Qt::WindingFill));
    QCOMPARE(GetCubeRegion(0, 0, 32, 63), GetPartRegion(0, 0, 32, Centre));
    // Index 8 lacks exactly the bottom rhombus.
    const QPolygon bottom{QPoint(p.X[1], p.Y[8]), QPoint(p.X[2], p.Y[7]), QPoint(p.X[3], p.Y[8]),
                          QPoint(p.X[2], p.Y[9])};
    QCOMPARE(PartPolygon(p, Bottom).boundingRect(), bottom.boundingRect());
    const QRegion missing = GetCubeRegion(0, 0, 32, 0).subtracted(GetCubeRegion(0, 0, 32, 8));
    QVERIFY(!missing.isEmpty());
    QVERIFY(missing.subtracted(QRegion(bottom, Qt::WindingFill)).isEmpty());
}

void TestCubeGeometry::facingCornersCoincideAtDefaultSize()
{
    const CellPitch pitch = ComputeCellPitch(32);
    QCOMPARE(CellOrigin(0, 1, pitch), QPoint(21, 12));
    const QPolygon expected{QPoint(30, 16), QPoint(30, 24), QPoint(23, 28), QPoint(23, 20)};
    QCOMPARE(PartPolygon(ComputeCubePoints(0, 0, 32), LowerRight), expected);
    QCOMPARE(QRegion(PartPolygon(ComputeCubePoints(21, 12, 32), UpperLeft), Qt::WindingFill),
             QRegion(expected, Qt::WindingFill));
    // Every direction: a corner part covers the same pixels as the neighbour's facing part.
    const QPoint cell(4, 6);
    for (int d = 0; d < 6; ++d) {
        const QPoint n = NeighbourCell(cell.x(), cell.y(), d);
        const QPoint a = CellOrigin(cell.x(), cell.y(), pitch);
        const QPoint b = CellOrigin(n.x(), n.y(), pitch);
        QCOMPARE(GetPartRegion(a.x(), a.y(), 32, d), GetPartRegion(b.x(), b.y(), 32, OppositeCorner(d)));
    }
}

void TestCubeGeometry::neighbours_data()
{
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("odd up") << QPoint(3, 5) << int(Top) << QPoint(3, 3);
    QTest::newRow("odd upper right") << QPoint(3, 5) << int(UpperRight) << QPoint(4, 4);
    QTest::newRow("odd lower right") << QPoint(3, 5) << int(LowerRight) << QPoint(4, 6);
    QTest::newRow("odd down") << QPoint(3, 5) << int(Bottom) << QPoint(3, 7);
    QTest::newRow("odd lower left") << QPoint(3, 5) << int(LowerLeft) << QPoint(3, 6);
    QTest::newRow("odd upper left") << QPoint(3, 5) << int(UpperLeft) << QPoint(3, 4);
    QTest::newRow("even upper right") << QPoint(3, 4) << int(UpperRight) << QPoint(3, 3);
    QTest::newRow("even lower right") << QPoint(3, 4) << int(LowerRight) << QPoint(3, 5);
    QTest::newRow("even lower left") << QPoint(3, 4) << int(LowerLeft) << QPoint(2, 5);
    QTest::newRow("even upper left") << QPoint(3, 4) << int(UpperLeft) << QPoint(2, 3);
}

void TestCubeGeometry::neighbours()
{
    QFETCH(QPoint, cell);
    QFETCH(int, direction);
    QFETCH(QPoint, expected);
    QCOMPARE(NeighbourCell(cell.x(), cell.y(), direction), expected);
    // The pixel offset between the two cells matches the direction.
    const CellPitch pitch = ComputeCellPitch(32);
    const QPoint offset = CellOrigin(expected.x(), expected.y(), pitch) - CellOrigin(cell.x(), cell.y(), pitch);
    const QPoint offsets[6] = {{0, -2 * pitch.Py}, {pitch.Px / 2, -pitch.Py}, {pitch.Px / 2, pitch.Py},
                               {0, 2 * pitch.Py},  {-pitch.Px / 2, pitch.Py}, {-pitch.Px / 2, -pitch.Py}};
    QCOMPARE(offset, offsets[direction]);
}

QTEST_APPLESS_MAIN(TestCubeGeometry)
#include "tst_cubegeometry.moc"
