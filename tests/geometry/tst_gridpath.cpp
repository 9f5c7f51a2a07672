// SPDX-License-Identifier: GPL-3.0-or-later
// Beams along the six neighbour directions, joined strokes, neighbour steps and the
// cells a pointer crosses.

#include "geometry/cubegeometry.h"
#include "geometry/gridpath.h"

#include <QtTest>

using Cells = QVector<QPoint>;

namespace {

const QSize Grid(20, 40);
constexpr int Size = 32; // pitch 42 x 12

QPointF CellCentre(const QPoint &cell)
{
    return QPointF(CellOrigin(cell.x(), cell.y(), ComputeCellPitch(Size)) + QPoint(Size / 2, Size / 2));
}

} // namespace

class TestGridPath : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void beam_data();
    void beam();
    void strokeIsAChainOfNeighbours_data();
    void strokeIsAChainOfNeighbours();
    void segment_data();
    void segment();
    void cellAtLeavesTheGrid();
    void neighbourSteps_data();
    void neighbourSteps();
};

void TestGridPath::beam_data()
{
    QTest::addColumn<QPoint>("end");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("length");
    // From (5, 10); a step up or down is two rows (24 px), a diagonal one 21 x 12 px.
    QTest::newRow("up") << QPoint(5, 4) << int(Top) << 3;
    QTest::newRow("down") << QPoint(5, 16) << int(Bottom) << 3;
    QTest::newRow("lower right") << QPoint(7, 14) << int(LowerRight) << 4;
    QTest::newRow("upper left") << QPoint(3, 6) << int(UpperLeft) << 4;
    QTest::newRow("lower left") << QPoint(4, 12) << int(LowerLeft) << 2;
    QTest::newRow("upper right") << QPoint(6, 8) << int(UpperRight) << 2;
    QTest::newRow("23 degrees off up stays up") << QPoint(6, 2) << int(Top) << 4;
    QTest::newRow("49 degrees up goes upper right") << QPoint(6, 6) << int(UpperRight) << 2;
    QTest::newRow("5 degrees below the row: lower right") << QPoint(8, 11) << int(LowerRight) << 6;
    QTest::newRow("behind the start: no steps") << QPoint(5, 10) << int(Bottom) << 0;
    QTest::newRow("stops at the top") << QPoint(5, -10) << int(Top) << 5;
}

void TestGridPath::beam()
{
    QFETCH(QPoint, end);
    QFETCH(int, direction);
    QFETCH(int, length);
    const QPoint start(5, 10);
    if (length > 0)
        QCOMPARE(CGridPath::BeamDirection(start, end, Size), direction);
    // Thickness 1: the chain of neighbours from the start, each cell once.
    Cells chain{start};
    while (chain.size() <= length) {
        const QPoint next = NeighbourCell(chain.last().x(), chain.last().y(), direction);
        if (!CellExists(next.x(), next.y(), Grid.width(), Grid.height()))
            break;
        chain.append(next);
    }
    Cells beam = CGridPath::Beam(start, end, Grid, Size);
    QCOMPARE(CGridPath::BeamEnd(start, end, Grid, Size), chain.last());
    std::sort(beam.begin(), beam.end(), [](const QPoint &a, const QPoint &b) { return a.y() < b.y(); });
    std::sort(chain.begin(), chain.end(), [](const QPoint &a, const QPoint &b) { return a.y() < b.y(); });
    QCOMPARE(beam, chain);
    // Thickness 3: the bar holds the thin beam as its front edge, and every cube behind
    // a front cube (its upper left and upper right neighbours, and the one above for a
    // beam along a row-crossing axis) is placed before it.
    const Cells thick = CGridPath::Beam(start, end, Grid, Size, 3);
    for (const QPoint &front : std::as_const(chain)) {
        const qsizetype at = thick.indexOf(front);
        QVERIFY(at >= 0);
        for (const int behind : {int(UpperLeft), int(UpperRight)}) {
            const QPoint back = NeighbourCell(front.x(), front.y(), behind);
            const qsizetype b = thick.indexOf(back);
            QVERIFY2(b < at, qPrintable(QStringLiteral("(%1, %2)").arg(back.x()).arg(back.y())));
        }
    }
    QVERIFY(thick.size() > chain.size());
    QCOMPARE(CGridPath::Beam(QPoint(30, 2), end, Grid, Size), Cells{});
}

void TestGridPath::strokeIsAChainOfNeighbours_data()
{
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<double>("wobble");
    QTest::addColumn<Cells>("expected"); // empty: any chain of neighbours
    // 8 px off the column of dots on alternate sides: still the column.
    QTest::newRow("down a column, 8 px wobble")
        << CellCentre({6, 2}) << CellCentre({6, 12}) << 8.0 << Cells{{6, 2}, {6, 4}, {6, 6}, {6, 8}, {6, 10}, {6, 12}};
    QTest::newRow("down a diagonal, 6 px wobble")
        << CellCentre({3, 4}) << CellCentre({5, 8}) << 6.0 << Cells{{3, 4}, {3, 5}, {4, 6}, {4, 7}, {5, 8}};
    QTest::newRow("along a row: a zigzag of neighbours")
        << CellCentre({2, 10}) << CellCentre({9, 10}) << 3.0 << Cells{};
    QTest::newRow("one fast jump across") << CellCentre({2, 2}) << CellCentre({12, 30}) << 0.0 << Cells{};
}

void TestGridPath::strokeIsAChainOfNeighbours()
{
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(double, wobble);
    QFETCH(Cells, expected);
    QPoint current(-1, -1);
    Cells stroke = CGridPath::StrokeCells(current, from, from, Grid, Size);
    // The pointer in 12 moves (one for a jump), each pushed sideways the other way.
    const int moves = wobble > 0 ? 12 : 1;
    const QPointF across = QPointF(-(to - from).y(), (to - from).x()) / std::hypot((to - from).x(), (to - from).y());
    QPointF last = from;
    for (int i = 1; i <= moves; ++i) {
        const QPointF next = from + (to - from) * i / moves + across * (i < moves ? (i % 2 ? wobble : -wobble) : 0);
        stroke += CGridPath::StrokeCells(current, last, next, Grid, Size);
        last = next;
    }
    QCOMPARE(stroke.first(), CGridPath::CellAt(from, Grid, Size));
    QCOMPARE(stroke.last(), CGridPath::CellAt(to, Grid, Size));
    for (int i = 1; i < stroke.size(); ++i)
        QVERIFY2(CGridPath::StepCount(stroke[i - 1], stroke[i]) == 1, qPrintable(QString::number(i)));
    if (!expected.isEmpty())
        QCOMPARE(stroke, expected);
}

void TestGridPath::segment_data()
{
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<Cells>("expected");
    QTest::newRow("down a diagonal, centre to centre")
        << CellCentre({3, 4}) << CellCentre({5, 8}) << Cells{{3, 4}, {3, 5}, {4, 6}, {4, 7}, {5, 8}};
    QTest::newRow("straight down, two rows a step")
        << CellCentre({6, 2}) << CellCentre({6, 8}) << Cells{{6, 2}, {6, 4}, {6, 6}, {6, 8}};
    QTest::newRow("within one cube") << CellCentre({6, 2}) << CellCentre({6, 2}) + QPointF(3, 4) << Cells{{6, 2}};
    // Sampled finer than the row pitch: a cell crossed only briefly is kept.
    QTest::newRow("up and to the left, every cell crossed")
        << QPointF(100, 60) << QPointF(70, 20) << Cells{{2, 4}, {2, 2}, {1, 3}, {1, 1}};
    QTest::newRow("within a cube of the last row")
        << CellCentre({4, 39}) << CellCentre({4, 39}) + QPointF(3, 2) << Cells{{4, 39}};
    QTest::newRow("from beside the grid into it")
        << QPointF(-60, CellCentre({0, 0}).y()) << CellCentre({1, 0}) << Cells{{0, 0}, {0, 1}, {1, 0}};
}

void TestGridPath::segment()
{
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(Cells, expected);
    QCOMPARE(CGridPath::SegmentCells(from, to, Grid, Size), expected);
}

void TestGridPath::cellAtLeavesTheGrid()
{
    QCOMPARE(CGridPath::CellAt(CellCentre({19, 38}), Grid, Size), QPoint(19, 38));
    QCOMPARE(CGridPath::CellAt(CellCentre({19, 38}) + QPointF(17, 0), Grid, Size), QPoint(-1, -1));
    QCOMPARE(CGridPath::CellAt(QPointF(-20, -20), Grid, Size), QPoint(-1, -1));
}

void TestGridPath::neighbourSteps_data()
{
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QPoint>("expected");
    // Up and down two rows in the same column; the diagonals half a cell aside; the
    // edges stop the cursor.
    QTest::newRow("up") << QPoint(4, 5) << int(Top) << QPoint(4, 3);
    QTest::newRow("down") << QPoint(4, 4) << int(Bottom) << QPoint(4, 6);
    QTest::newRow("keypad 7 from an odd row") << QPoint(4, 5) << int(UpperLeft) << QPoint(4, 4);
    QTest::newRow("keypad 9 from an even row") << QPoint(4, 4) << int(UpperRight) << QPoint(4, 3);
    QTest::newRow("keypad 1 from an even row") << QPoint(4, 4) << int(LowerLeft) << QPoint(3, 5);
    QTest::newRow("keypad 3 from an odd row") << QPoint(4, 5) << int(LowerRight) << QPoint(5, 6);
    QTest::newRow("up at row 1 stays") << QPoint(3, 1) << int(Top) << QPoint(3, 1);
    QTest::newRow("left edge") << QPoint(0, 2) << int(LowerLeft) << QPoint(0, 2);
    QTest::newRow("bottom") << QPoint(3, 39) << int(LowerRight) << QPoint(3, 39);
}

void TestGridPath::neighbourSteps()
{
    QFETCH(QPoint, start);
    QFETCH(int, direction);
    QFETCH(QPoint, expected);
    QCOMPARE(CGridPath::NeighbourStep(start, direction, Grid), expected);
}

QTEST_APPLESS_MAIN(TestGridPath)
#include "tst_gridpath.moc"
