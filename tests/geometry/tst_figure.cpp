// SPDX-License-Identifier: GPL-3.0-or-later
// The figure value: the grid, the placing rule and the hit tests, plus the cell
// geometry of moving a selection and of turning view points into cells.
#include "geometry/cubepainter.h"
#include "geometry/dragoffset.h"
#include "geometry/figure.h"
#include "geometry/viewmapping.h"
#include "support/referencescan.h"

#include <QtTest>
#include <QRandomGenerator>

namespace {

// The default figure: 20 x 40 cells of size 32, all empty.
CFigure NewFigure()
{
    CFigure figure;
    figure.Resize(CFigure::DefaultWidth, CFigure::DefaultHeight);
    return figure;
}

} // namespace

class TestFigure : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workspaceSize_data();
    void workspaceSize();
    void placeJoinsNeighbours_data();
    void placeJoinsNeighbours();
    void placeAtGridEdges_data();
    void placeAtGridEdges();
    void replacingKeepsNeighbourBits();
    void cellFromPointBox();
    void hitTestsMatchRowOrderScan_data();
    void hitTestsMatchRowOrderScan();
    void cubeFromPointSeesThroughCutCorners();
    void figureBounds();
    void emptiness();
};

void TestFigure::workspaceSize_data()
{
    QTest::addColumn<int>("cubeSize");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("16") << 16 << QSize(400, 256);
    QTest::newRow("20") << 20 << QSize(520, 300);
    QTest::newRow("32") << 32 << QSize(840, 512);
    QTest::newRow("33") << 33 << QSize(840, 513);
    QTest::newRow("40") << 40 << QSize(1040, 640);
    QTest::newRow("64") << 64 << QSize(1680, 1024);
    QTest::newRow("200") << 200 << QSize(5200, 3200);
}
void TestFigure::workspaceSize()
{
    QFETCH(int, cubeSize);
    QFETCH(QSize, expected);
    CFigure figure = NewFigure();
    figure.CubeSize = cubeSize;
    QCOMPARE(figure.GetWorkspaceSize(), expected);
}
void TestFigure::placeJoinsNeighbours_data()
{
    // A cube at the centre cell (5, 10) or (5, 11) and all six neighbours present.
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<int>("kind");
    for (int row : {10, 11})
        for (int kind : {0, 1, 2, 4, 8, 16, 32, 63, 21, -1})
            QTest::addRow("row %d kind %d", row, kind) << QPoint(5, row) << kind;
}
void TestFigure::placeJoinsNeighbours()
{
    QFETCH(QPoint, cell);
    QFETCH(int, kind);
    CFigure figure = NewFigure();
    for (int d = 0; d < 6; ++d) {
        const QPoint n = NeighbourCell(cell.x(), cell.y(), d);
        figure.PlaceCube(n.x(), n.y(), 63 & ~(1 << OppositeCorner(d)));
    }
    // An empty cell among the neighbours' neighbours stays empty.
    figure.PlaceCube(cell.x(), cell.y(), kind);
    QCOMPARE(figure.Cell(cell.x(), cell.y()), kind);
    for (int d = 0; d < 6; ++d) {
        const QPoint n = NeighbourCell(cell.x(), cell.y(), d);
        const bool cornerShown = !(kind & (1 << d));
        QCOMPARE(figure.Cell(n.x(), n.y()) == 63, cornerShown);
    }
}
void TestFigure::placeAtGridEdges_data()
{
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<QList<int>>("existing");   // directions whose neighbour exists
    QTest::newRow("even row 0 col 0") << QPoint(0, 0) << QList<int>{LowerRight, Bottom};
    QTest::newRow("even last column") << QPoint(19, 4) << QList<int>{Top, Bottom, LowerLeft, UpperLeft};
    QTest::newRow("odd first column") << QPoint(0, 5) << QList<int>{Top, UpperRight, LowerRight, Bottom, LowerLeft, UpperLeft};
    QTest::newRow("odd last column") << QPoint(18, 5) << QList<int>{Top, UpperRight, LowerRight, Bottom, LowerLeft, UpperLeft};
    QTest::newRow("row n-2") << QPoint(4, 38) << QList<int>{Top, UpperRight, LowerRight, LowerLeft, UpperLeft};
    QTest::newRow("row n-1") << QPoint(4, 39) << QList<int>{Top, UpperRight, UpperLeft};
    QTest::newRow("row 1") << QPoint(4, 1) << QList<int>{UpperRight, LowerRight, Bottom, LowerLeft, UpperLeft};
}
void TestFigure::placeAtGridEdges()
{
    QFETCH(QPoint, cell);
    QFETCH(QList<int>, existing);
    CFigure figure = NewFigure();
    // Fill everything with whole cubes, then place one more in the middle of them.
    const QSize size = figure.GridSize();
    for (int r = 0; r < size.height(); ++r)
        for (int c = 0; c < RowLength(size.width(), r); ++c)
            figure.PlaceCube(c, r, 63);
    const CubeGrid before = figure.Grid;
    figure.PlaceCube(cell.x(), cell.y(), 0);
    int changed = 0;
    for (int r = 0; r < size.height(); ++r)
        for (int c = 0; c < before[r].size(); ++c)
            changed += before[r][c] != figure.Cell(c, r);
    // Only the cell itself changes (63 neighbours already have every bit).
    QCOMPARE(changed, 1);
    // With neighbours that show every corner, exactly the existing ones are cut.
    CFigure fresh = NewFigure();
    for (int r = 0; r < size.height(); ++r)
        for (int c = 0; c < RowLength(size.width(), r); ++c)
            fresh.PlaceCube(c, r, 0);
    CFigure blank = NewFigure();
    for (int d = 0; d < 6; ++d) {
        const QPoint n = NeighbourCell(cell.x(), cell.y(), d);
        if (CellExists(n.x(), n.y(), size.width(), size.height()))
            blank.PlaceCube(n.x(), n.y(), 0);
    }
    blank.PlaceCube(cell.x(), cell.y(), 0);
    QList<int> cut;
    for (int d = 0; d < 6; ++d) {
        const QPoint n = NeighbourCell(cell.x(), cell.y(), d);
        if (CellExists(n.x(), n.y(), size.width(), size.height())
            && blank.Cell(n.x(), n.y()) & (1 << OppositeCorner(d)))
            cut << d;
    }
    QCOMPARE(cut, existing);
}
void TestFigure::replacingKeepsNeighbourBits()
{
    CFigure figure = NewFigure();
    figure.PlaceCube(3, 2, 0);
    figure.PlaceCube(3, 4, 0);      // cuts the bottom of the upper cube, is cut by nothing
    QCOMPARE(figure.Cell(3, 2), 8);
    figure.PlaceCube(3, 2, 0);      // placed again: own bits reset, neighbour cut
    QCOMPARE(figure.Cell(3, 2), 0);
    QCOMPARE(figure.Cell(3, 4), 1);
    figure.PlaceCube(3, 6, 1);      // top corner cut: the cube above is unchanged
    QCOMPARE(figure.Cell(3, 4), 1);
    figure.PlaceCube(3, 4, -1);     // erasing changes no neighbour
    QCOMPARE(figure.Cell(3, 2), 0);
    QCOMPARE(figure.Cell(3, 6), 1);
    // Placing kind 0 between two cubes two rows apart cuts both facing corners.
    CFigure between = NewFigure();
    between.PlaceCube(6, 6, 0);
    between.PlaceCube(6, 10, 0);
    between.PlaceCube(6, 8, 0);
    QCOMPARE(between.Cell(6, 6), 8);
    QCOMPARE(between.Cell(6, 10), 1);
}
void TestFigure::cellFromPointBox()
{
    CFigure figure = NewFigure();
    // Cell (2, 3) has its centre at (2 * 42 + 21 + 16, 3 * 12 + 16) = (121, 52).
    QCOMPARE(figure.CellFromPoint(121, 52), QPoint(2, 3));
    QCOMPARE(figure.CellFromPoint(126, 57), QPoint(2, 3));
    QCOMPARE(figure.CellFromPoint(116, 47), QPoint(2, 3));
    QCOMPARE(figure.CellFromPoint(127, 52), QPoint(-1, -1));
    QCOMPARE(figure.CellFromPoint(121, 46), QPoint(-1, -1));
    QCOMPARE(figure.CellFromPoint(-100, -100), QPoint(-1, -1));
    QCOMPARE(figure.CellFromPoint(100000, 100000), QPoint(-1, -1));
}
void TestFigure::hitTestsMatchRowOrderScan_data()
{
    QTest::addColumn<int>("cubeSize");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("fill");   // percent of cells holding a cube
    QTest::newRow("16 dense") << 16 << 8 << 12 << 90;
    QTest::newRow("32 sparse") << 32 << 6 << 9 << 30;
    QTest::newRow("33 dense") << 33 << 5 << 8 << 100;
    QTest::newRow("57 half") << 57 << 4 << 7 << 50;
}
void TestFigure::hitTestsMatchRowOrderScan()
{
    QFETCH(int, cubeSize);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, fill);
    CFigure figure = NewFigure();
    figure.CubeSize = cubeSize;
    figure.Resize(width, height);
    QRandomGenerator random(quint32(cubeSize * 1000 + fill));
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < RowLength(width, r); ++c)
            if (int(random.bounded(100)) < fill)
                figure.PlaceCube(c, r, int(random.bounded(64)));
    // The visible region of every cube, once; then the plain row-order scan per pixel.
    QVector<QPair<QPoint, QRegion>> cubes;
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < RowLength(width, r); ++c)
            if (figure.Cell(c, r) >= 0) {
                const QPoint o = figure.GetCellOrigin(c, r);
                cubes.append({QPoint(c, r), GetCubeRegion(o.x(), o.y(), cubeSize, figure.Cell(c, r))});
            }
    QCOMPARE(CubeFromPointByScan(figure, cubes.first().second.boundingRect().center().x(),
                                 cubes.first().second.boundingRect().center().y()),
             cubes.first().first);
    const QSize ws = figure.GetWorkspaceSize();
    for (int y = -3; y < ws.height() + 3; ++y) {
        for (int x = -3; x < ws.width() + 3; ++x) {
            const QPoint cube = figure.CubeFromPoint(x, y);
            QPoint expected(-1, -1);
            for (const auto &entry : cubes)
                if (entry.second.contains(QPoint(x, y))) {
                    expected = entry.first;
                    break;
                }
            if (cube != expected)
                QFAIL(qPrintable(QString("CubeFromPoint(%1, %2)").arg(x).arg(y)));
            if (figure.CellFromPoint(x, y) != CellFromPointByScan(figure, x, y))
                QFAIL(qPrintable(QString("CellFromPoint(%1, %2)").arg(x).arg(y)));
        }
    }
}
void TestFigure::cubeFromPointSeesThroughCutCorners()
{
    CFigure figure = NewFigure();
    figure.PlaceCube(0, 0, 0);
    figure.PlaceCube(0, 1, 0);    // lower-right neighbour of (0, 0): cuts its LowerRight corner
    QCOMPARE(figure.Cell(0, 0), 4);
    // The shared corner quadrilateral (30, 16), (30, 24), (23, 28), (23, 20).
    QCOMPARE(figure.CubeFromPoint(27, 22), QPoint(0, 1));
    QCOMPARE(figure.CubeFromPoint(16, 16), QPoint(0, 0));
    QCOMPARE(figure.CubeFromPoint(500, 400), QPoint(-1, -1));
}
void TestFigure::figureBounds()
{
    CFigure figure = NewFigure();
    CFigure::Bounds b = figure.GetBounds();
    QCOMPARE(QList<int>({b.left, b.top, b.right, b.bottom}), QList<int>({-1, -1, -1, -1}));
    figure.PlaceCube(0, 0, 0);
    b = figure.GetBounds();
    QCOMPARE(QList<int>({b.left, b.top, b.right, b.bottom}), QList<int>({0, 0, 34, 34}));
    figure.PlaceCube(0, 0, -1);
    figure.PlaceCube(0, 1, 0);
    b = figure.GetBounds();
    QCOMPARE(QList<int>({b.left, b.top, b.right, b.bottom}), QList<int>({21, 12, 55, 46}));
    figure.PlaceCube(5, 20, 3);
    b = figure.GetBounds();
    QCOMPARE(QList<int>({b.left, b.top, b.right, b.bottom}), QList<int>({21, 12, 5 * 42 + 34, 240 + 34}));
}
void TestFigure::emptiness()
{
    CFigure figure = NewFigure();
    QVERIFY(figure.IsEmpty());
    figure.PlaceCube(4, 7, 12);
    QVERIFY(!figure.IsEmpty());
    figure.PlaceCube(4, 7, -1);
    QVERIFY(figure.IsEmpty());
}

QTEST_GUILESS_MAIN(TestFigure)
#include "tst_figure.moc"
