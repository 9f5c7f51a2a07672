// SPDX-License-Identifier: GPL-3.0-or-later
// Mirror and third-turn rotation of cube kinds and cells on the staggered grid.

#include "geometry/cubegeometry.h"
#include "geometry/figure.h"
#include "geometry/gridtransform.h"

#include <QtTest>

using Cells = QVector<QPoint>;
using T = CGridTransform;

class TestGridTransform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void kinds();
    void cornerMoves_data();
    void cornerMoves();
    void cells_data();
    void cells();
    void fitInside();
};

// Every kind: three turns and two mirrors give it back, a turn moves each corner by
// two places, and the bits above the corners stay.
void TestGridTransform::kinds()
{
    for (int kind = 0; kind < CubeKindCount; ++kind) {
        int turned = kind, back = kind;
        for (int i = 0; i < 3; ++i) {
            turned = T::TransformKind(T::RotateClockwise, turned);
            back = T::TransformKind(T::RotateAnticlockwise, back);
        }
        QCOMPARE(turned, kind);
        QCOMPARE(back, kind);
        QCOMPARE(T::TransformKind(T::Mirror, T::TransformKind(T::Mirror, kind)), kind);
        QCOMPARE(T::TransformKind(T::RotateAnticlockwise, T::TransformKind(T::RotateClockwise, kind)), kind);
        QCOMPARE(qPopulationCount(quint32(T::TransformKind(T::RotateClockwise, kind))),
                 qPopulationCount(quint32(kind)));
        const qint32 coloured = (5 << 6) | kind;
        QCOMPARE(T::TransformValue(T::Mirror, coloured), (5 << 6) | T::TransformKind(T::Mirror, kind));
    }
    QCOMPARE(T::TransformValue(T::RotateClockwise, EmptyCell), EmptyCell);
}

void TestGridTransform::cornerMoves_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("corner");
    QTest::addColumn<int>("expected");
    QTest::newRow("mirror top") << int(T::Mirror) << int(Top) << int(Top);
    QTest::newRow("mirror bottom") << int(T::Mirror) << int(Bottom) << int(Bottom);
    QTest::newRow("mirror upper right") << int(T::Mirror) << int(UpperRight) << int(UpperLeft);
    QTest::newRow("mirror lower right") << int(T::Mirror) << int(LowerRight) << int(LowerLeft);
    QTest::newRow("clockwise top") << int(T::RotateClockwise) << int(Top) << int(LowerRight);
    QTest::newRow("clockwise upper left") << int(T::RotateClockwise) << int(UpperLeft) << int(UpperRight);
    QTest::newRow("anticlockwise top") << int(T::RotateAnticlockwise) << int(Top) << int(LowerLeft);
}

// A corner goes where its neighbour goes: the cell of the neighbour in that direction
// is moved by the same transform to the neighbour in the transformed direction.
void TestGridTransform::cornerMoves()
{
    QFETCH(int, kind);
    QFETCH(int, corner);
    QFETCH(int, expected);
    QCOMPARE(T::TransformKind(T::Kind(kind), 1 << corner), 1 << expected);
    for (const QPoint &cube : {QPoint(6, 10), QPoint(6, 11)}) {
        const QPoint neighbour = NeighbourCell(cube.x(), cube.y(), corner);
        const Cells moved = T::TransformCells(T::Kind(kind), {cube, neighbour});
        QCOMPARE(moved[1], NeighbourCell(moved[0].x(), moved[0].y(), expected));
    }
}

void TestGridTransform::cells_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<Cells>("cells");
    QTest::addColumn<Cells>("expected");
    // A chain from an even row: upper right, then lower right, mirrored in place.
    QTest::newRow("mirror, even row") << int(T::Mirror) << Cells{{4, 6}, {4, 5}, {5, 6}}
                                      << Cells{{5, 6}, {4, 5}, {4, 6}};
    QTest::newRow("mirror, odd row") << int(T::Mirror) << Cells{{4, 5}, {4, 4}, {4, 3}}
                                     << Cells{{3, 5}, {4, 4}, {3, 3}};
    QTest::newRow("turn a column, even") << int(T::RotateClockwise) << Cells{{4, 4}, {4, 6}, {4, 8}}
                                         << Cells{{4, 7}, {4, 6}, {3, 5}};
    QTest::newRow("turn a column, odd") << int(T::RotateClockwise) << Cells{{4, 5}, {4, 7}, {4, 9}}
                                        << Cells{{5, 8}, {4, 7}, {4, 6}};
}

void TestGridTransform::cells()
{
    QFETCH(int, kind);
    QFETCH(Cells, cells);
    QFETCH(Cells, expected);
    QCOMPARE(T::TransformCells(T::Kind(kind), cells), expected);
    // Back again: three turns, two mirrors.
    Cells again = cells;
    for (int i = 0; i < (kind == T::Mirror ? 2 : 3); ++i)
        again = T::TransformCells(T::Kind(kind), again);
    QCOMPARE(again, cells);
}

void TestGridTransform::fitInside()
{
    const QSize grid(10, 10);
    QCOMPARE(*T::FitInside({{0, 2}, {9, 2}}, grid), (Cells{{0, 2}, {9, 2}}));
    QCOMPARE(*T::FitInside({{-1, -1}, {0, 1}}, grid), (Cells{{0, 0}, {1, 2}}));
    QCOMPARE(*T::FitInside({{9, 11}}, grid), (Cells{{8, 9}}));
    QVERIFY(!T::FitInside({{0, 0}, {0, 10}}, grid));
}

QTEST_GUILESS_MAIN(TestGridTransform)
#include "tst_gridtransform.moc"
