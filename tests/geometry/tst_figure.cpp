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
    void cubesInRect();
    void dragOffsetSnaps_data();
    void dragOffsetSnaps();
    void dragOffsetClamps_data();
    void dragOffsetClamps();
    void viewMapping_data();
    void viewMapping();
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
    QTest::addColumn<QList<int>>("existing"); // directions whose neighbour exists
    QTest::newRow("even row 0 col 0") << QPoint(0, 0) << QList<int>{LowerRight, Bottom};
    QTest::newRow("even last column") << QPoint(19, 4) << QList<int>{Top, Bottom, LowerLeft, UpperLeft};
    QTest::newRow("odd first column") << QPoint(0, 5)
                                      << QList<int>{Top, UpperRight, LowerRight, Bottom, LowerLeft, UpperLeft};
    QTest::newRow("odd last column") << QPoint(18, 5)
                                     << QList<int>{Top, UpperRight, LowerRight, Bottom, LowerLeft, UpperLeft};
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
    figure.PlaceCube(3, 4, 0); // cuts the bottom of the upper cube, is cut by nothing
    QCOMPARE(figure.Cell(3, 2), 8);
    figure.PlaceCube(3, 2, 0); // placed again: own bits reset, neighbour cut
    QCOMPARE(figure.Cell(3, 2), 0);
    QCOMPARE(figure.Cell(3, 4), 1);
    figure.PlaceCube(3, 6, 1); // top corner cut: the cube above is unchanged
    QCOMPARE(figure.Cell(3, 4), 1);
    figure.PlaceCube(3, 4, -1); // erasing changes no neighbour
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
    QTest::addColumn<int>("fill"); // percent of cells holding a cube
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
    figure.PlaceCube(0, 1, 0); // lower-right neighbour of (0, 0): cuts its LowerRight corner
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
void TestFigure::cubesInRect()
{
    CFigure figure = NewFigure();
    figure.PlaceCube(1, 1, 0);
    figure.PlaceCube(3, 3, 0);
    figure.PlaceCube(2, 10, 0);
    // A cube lies inside only with its whole region: its square and one pixel more.
    const QPoint o = figure.GetCellOrigin(1, 1);
    QCOMPARE(figure.CubesInRect(QPoint(0, 0), QPoint(200, 80)), (QVector<QPoint>{{1, 1}, {3, 3}}));
    QCOMPARE(figure.CubesInRect(QPoint(200, 80), QPoint(0, 0)), (QVector<QPoint>{{1, 1}, {3, 3}}));
    QCOMPARE(figure.CubesInRect(o, o + QPoint(33, 33)), QVector<QPoint>{QPoint(1, 1)});
    QCOMPARE(figure.CubesInRect(o, o + QPoint(16, 33)), QVector<QPoint>());
    QCOMPARE(figure.CubesInRect(QPoint(0, 0), QPoint(0, 500)), QVector<QPoint>());
}

void TestFigure::dragOffsetSnaps_data()
{
    QTest::addColumn<QPoint>("move");
    QTest::addColumn<QPoint>("offset");
    QTest::newRow("30 right 20 down") << QPoint(30, 20) << QPoint(0, 2);
    QTest::newRow("50 right 13 down") << QPoint(50, 13) << QPoint(1, 1);
    QTest::newRow("25 left 13 down") << QPoint(-25, 13) << QPoint(-1, 1);
    QTest::newRow("still") << QPoint(0, 0) << QPoint(0, 0);
    QTest::newRow("12 down") << QPoint(0, 12) << QPoint(0, 1);
    QTest::newRow("60 left 40 up") << QPoint(-60, -40) << QPoint(-2, -3);
}

void TestFigure::dragOffsetSnaps()
{
    QFETCH(QPoint, move);
    QFETCH(QPoint, offset);
    // A cube at (8, 20) of the default figure, dragged by move pixels.
    QCOMPARE(CDragOffset::Clamp({QPoint(8, 20)}, CDragOffset::Snap(move, ComputeCellPitch(32)), QSize(20, 40)), offset);
}

void TestFigure::dragOffsetClamps_data()
{
    // In a 20 x 40 grid: even rows hold columns 0..19, odd rows 0..18.
    QTest::addColumn<QVector<QPoint>>("cells");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("inside") << QVector<QPoint>{{5, 5}} << QPoint(2, 2) << QPoint(2, 2);
    QTest::newRow("left edge") << QVector<QPoint>{{1, 4}} << QPoint(-5, 0) << QPoint(-1, 0);
    QTest::newRow("bottom edge") << QVector<QPoint>{{3, 38}} << QPoint(0, 5) << QPoint(0, 1);
    QTest::newRow("top edge") << QVector<QPoint>{{3, 2}} << QPoint(1, -6) << QPoint(1, -2);
    QTest::newRow("odd row's last cell") << QVector<QPoint>{{18, 5}} << QPoint(1, 0) << QPoint(0, 0);
    QTest::newRow("even last cell one row down") << QVector<QPoint>{{19, 4}} << QPoint(0, 1) << QPoint(-1, 1);
    QTest::newRow("group held by its widest cube") << QVector<QPoint>{{0, 4}, {19, 4}} << QPoint(1, 0) << QPoint(0, 0);
    // Upwards to the nearest row that holds the whole group, exactly as wide as the grid.
    QTest::newRow("fits a row exactly") << QVector<QPoint>{{0, 4}, {19, 4}} << QPoint(0, -3) << QPoint(0, -2);
    QTest::newRow("cells outside the grid left out")
        << QVector<QPoint>{{1, 1}, {25, 50}} << QPoint(3, 0) << QPoint(3, 0);
}

void TestFigure::dragOffsetClamps()
{
    QFETCH(QVector<QPoint>, cells);
    QFETCH(QPoint, offset);
    QFETCH(QPoint, expected);
    const QPoint clamped = CDragOffset::Clamp(cells, offset, QSize(20, 40));
    QCOMPARE(clamped, expected);
    for (const QPoint &cell : cells) {
        const QPoint t = CDragOffset::DropTarget(cell, clamped);
        QVERIFY(!CellExists(cell.x(), cell.y(), 20, 40) || CellExists(t.x(), t.y(), 20, 40));
    }
}

void TestFigure::viewMapping_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("displaySize");
    QTest::newRow("1:1") << 1.0 << 100 << 32;
    QTest::newRow("ratio 2") << 2.0 << 100 << 64;
    QTest::newRow("200 %") << 1.0 << 200 << 64;
    QTest::newRow("400 %") << 1.0 << 400 << 128;
    QTest::newRow("250 %") << 1.0 << 250 << 80;
    QTest::newRow("ratio 1.5, 50 %") << 1.5 << 50 << 24;
    QTest::newRow("33 %") << 1.0 << 33 << 11;
    QTest::newRow("7 %") << 1.0 << 7 << 2;
}

void TestFigure::viewMapping()
{
    QFETCH(qreal, ratio);
    QFETCH(int, zoom);
    QFETCH(int, displaySize);
    const CViewMapping mapping(32, QPoint(10, 20), ratio, zoom);
    const double scale = ratio * zoom / 100.0;
    QCOMPARE(mapping.DisplaySize(), displaySize);
    // Viewport points land on device pixels of the drawn workspace and back.
    const QPoint device = mapping.ToWorkspace(QPointF(5, 6));
    QCOMPARE(device, QPoint(qRound(5 * ratio), qRound(6 * ratio)) + mapping.DeviceScroll());
    QVERIFY(mapping.ToViewport(QRect(device, QSize(1, 1))).contains(QPoint(5, 6)));
    // A cell is drawn at its true position times the scale, however far out.
    const CellPitch pitch = ComputeCellPitch(32);
    for (const QPoint &cell : {QPoint(2, 3), QPoint(99, 98)}) {
        const QPoint o = CellOrigin(cell.x(), cell.y(), pitch);
        QCOMPARE(mapping.CellOrigin(cell), QPoint(qRound(o.x() * scale), qRound(o.y() * scale)));
    }
    QCOMPARE(mapping.WorkspaceSize(NewFigure()), QSize(qRound(NewFigure().GetWorkspaceSize().width() * scale),
                                                       qRound(NewFigure().GetWorkspaceSize().height() * scale)));
    // A click at a cell's drawn centre finds it; the click box is 5 pixels of the figure.
    CFigure figure = NewFigure();
    figure.PlaceCube(2, 3, 0);
    const QPoint o = CellOrigin(2, 3, pitch);
    const QPoint centre(qRound((o.x() + 16) * scale), qRound((o.y() + 16) * scale));
    QCOMPARE(mapping.CellAt(figure, centre), QPoint(2, 3));
    QCOMPARE(mapping.CubeAt(figure, centre), QPoint(2, 3));
    if (scale >= 0.5) { // smaller cubes' boxes overlap their neighbours'
        QCOMPARE(mapping.CellAt(figure, centre + QPoint(qRound(4 * scale), -qRound(4 * scale))), QPoint(2, 3));
        QCOMPARE(mapping.CellAt(figure, centre + QPoint(qRound(7 * scale), 0)), QPoint(-1, -1));
    }
    const int whole = int(scale);
    if (whole == scale && whole % 2 == 0) {
        // A device pixel between two of the figure's shows the nearer: 5.5 pixels of the
        // figure right of the centre lie outside the box, 5.5 left of it inside.
        QCOMPARE(mapping.CellAt(figure, centre + QPoint(5 * whole + whole / 2, 0)), QPoint(-1, -1));
        QCOMPARE(mapping.CellAt(figure, centre - QPoint(5 * whole + whole / 2, 0)), QPoint(2, 3));
    }
    // A drag by two rows moves two rows, shown two rows further.
    QCOMPARE(mapping.DragOffset(centre, centre + QPoint(0, qRound(2 * pitch.Py * scale))), QPoint(0, 2));
    QCOMPARE(mapping.ShiftOf(QPoint(1, 1)),
             QPoint(qRound((pitch.Px + pitch.Px / 2) * scale), qRound(pitch.Py * scale)));
}

QTEST_GUILESS_MAIN(TestFigure)
#include "tst_figure.moc"
