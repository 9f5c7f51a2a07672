// SPDX-License-Identifier: GPL-3.0-or-later
// Beams along the grid's three straight directions and the cells a pointer crosses.

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
    void segment_data();
    void segment();
    void cellAtLeavesTheGrid();
    void cursorSteps_data();
    void cursorSteps();
};

void TestGridPath::beam_data()
{
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QPoint>("end");
    QTest::addColumn<Cells>("expected");
    QTest::newRow("along the row") << QPoint(2, 4) << QPoint(6, 4) << Cells{{2, 4}, {3, 4}, {4, 4}, {5, 4}, {6, 4}};
    QTest::newRow("along the row, leftwards from an odd row")
        << QPoint(5, 7) << QPoint(3, 7) << Cells{{5, 7}, {4, 7}, {3, 7}};
    QTest::newRow("nearly along the row") << QPoint(2, 4) << QPoint(5, 6) << Cells{{2, 4}, {3, 4}, {4, 4}, {5, 4}};
    QTest::newRow("down to the right") << QPoint(3, 4) << QPoint(5, 8) << Cells{{3, 4}, {3, 5}, {4, 6}, {4, 7}, {5, 8}};
    QTest::newRow("up to the left") << QPoint(5, 8) << QPoint(3, 4) << Cells{{5, 8}, {4, 7}, {4, 6}, {3, 5}, {3, 4}};
    QTest::newRow("down to the left") << QPoint(5, 4) << QPoint(3, 8) << Cells{{5, 4}, {4, 5}, {4, 6}, {3, 7}, {3, 8}};
    QTest::newRow("up to the right, end off the line")
        << QPoint(3, 9) << QPoint(5, 6) << Cells{{3, 9}, {4, 8}, {4, 7}, {5, 6}};
    QTest::newRow("one cell") << QPoint(4, 4) << QPoint(4, 4) << Cells{{4, 4}};
    QTest::newRow("stops at the left edge") << QPoint(1, 2) << QPoint(-3, 2) << Cells{{1, 2}, {0, 2}};
    QTest::newRow("stops at the last odd cell") << QPoint(17, 1) << QPoint(19, 1) << Cells{{17, 1}, {18, 1}};
    QTest::newRow("stops at the top") << QPoint(4, 2) << QPoint(2, -2) << Cells{{4, 2}, {3, 1}, {3, 0}};
    QTest::newRow("start outside") << QPoint(30, 2) << QPoint(3, 2) << Cells{};
}

void TestGridPath::beam()
{
    QFETCH(QPoint, start);
    QFETCH(QPoint, end);
    QFETCH(Cells, expected);
    QCOMPARE(CGridPath::Beam(start, end, Grid, Size), expected);
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

void TestGridPath::cursorSteps_data()
{
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QString>("keys"); // l, r, u, d
    QTest::addColumn<Cells>("expected");
    // Up and down keep to the column the cursor started from, zigzagging between the
    // staggered rows; left and right stay in the row; the edges stop the cursor.
    QTest::newRow("down keeps the column") << QPoint(4, 4) << "dddd" << Cells{{4, 5}, {4, 6}, {4, 7}, {4, 8}};
    QTest::newRow("up from an odd row") << QPoint(4, 5) << "uu" << Cells{{5, 4}, {4, 3}};
    QTest::newRow("right then down") << QPoint(4, 4) << "rd" << Cells{{5, 4}, {5, 5}};
    QTest::newRow("left edge") << QPoint(0, 2) << "ld" << Cells{{0, 2}, {0, 3}};
    QTest::newRow("end of an odd row") << QPoint(18, 1) << "ru" << Cells{{18, 1}, {19, 0}};
    QTest::newRow("top and bottom") << QPoint(3, 0) << "u" << Cells{{3, 0}};
    QTest::newRow("bottom") << QPoint(3, 39) << "d" << Cells{{3, 39}};
}

void TestGridPath::cursorSteps()
{
    QFETCH(QPoint, start);
    QFETCH(QString, keys);
    QFETCH(Cells, expected);
    QPoint cell = start;
    int column = CGridPath::HalfColumn(cell);
    Cells visited;
    for (const QChar key : keys) {
        const int dx = key == QLatin1Char('l') ? -1 : key == QLatin1Char('r') ? 1 : 0;
        const int dy = key == QLatin1Char('u') ? -1 : key == QLatin1Char('d') ? 1 : 0;
        cell = CGridPath::CursorStep(cell, dx, dy, column, Grid);
        if (dx != 0)
            column = CGridPath::HalfColumn(cell);
        visited.append(cell);
    }
    QCOMPARE(visited, expected);
}

QTEST_APPLESS_MAIN(TestGridPath)
#include "tst_gridpath.moc"
